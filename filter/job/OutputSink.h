// The one writer of printer bytes: standard output, or the secure-print spool file of the job.
// Every write happens under the job's output lock and marks the output as active for the
// keep-alive thread.
#pragma once

#include "filter/job/JobInfo.h"

#include <cstddef>

// Writes cb bytes. To standard output (or the descriptor the job's hooks name in its place): every byte, retrying short writes and interrupted calls;
// returns cb, or -1 when the descriptor fails. To the spool file: returns cb; a short write clears
// the spool-ok flag, reports the lack of space once on standard error and returns 0, as does every
// write after it and every write of a job whose spool was refused.
long OutputWrite(tagJOBINFO* pJob, const void* pvBytes, size_t cb);

// Formats into a heap buffer and writes the text; the result of OutputWrite, or a negative value
// when formatting or the buffer fails (nothing written then).
long OutputPrintf(tagJOBINFO* pJob, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

// The string without its terminator.
long OutputPuts(tagJOBINFO* pJob, const char* psz);

// One byte.
long OutputPutc(tagJOBINFO* pJob, int c);

// The output lock and the page lock of a new context; destroyed only after the keep-alive thread
// has been stopped.
void InitJobLocks(tagJOBINFO* pJob);
void DestroyJobLocks(tagJOBINFO* pJob);
