// The child's settings record on the pipe: the page pass changes copies, duplex, collation and the
// page count of the job and tells the parent through this one record, ahead of the first page.
#pragma once

#include "filter/job/JobInfo.h"

#include <unistd.h>

// Writes the 14-byte stream header and the job's 1232-byte settings record to the descriptor
// (the pipe, which is the child's standard output). Anything the C library still buffers for
// standard output goes first, so the record cannot land inside earlier bytes. Every byte is
// written (short writes and interrupted calls are retried). -1 on success, 0 when the descriptor
// fails.
int WriteSettingsRecord(tagJOBINFO* pJob, int fd = STDOUT_FILENO);
