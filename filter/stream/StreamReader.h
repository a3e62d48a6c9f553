// The parent's reading of the pipe stream (PipeStream.h), record by record: settings records
// replace the job's settings, PNM pages go to the renderer band by band.
#pragma once

#include "filter/job/JobInfo.h"
#include "filter/stream/PipeStream.h"

#include <cstddef>

// n bytes into pv: n, or 0 when the stream ends or fails first (interrupted reads are retried).
size_t ReadFull(int fd, void* pv, size_t n);

// Reads and drops n bytes: n, or 0 when the stream ends or fails first.
size_t SkipBytes(int fd, size_t n);

// The PNM header fields after the 3 magic bytes: comment lines, width, one separator, height, one
// separator, maximum value, one separator. 1 when the width and height are within 1 and
// kMaxPnmDimension and the maximum value is kPnmMaxValue (so that a page reaching the renderer is
// one it can screen), else 0. pInfo's width and height are filled.
int ParsePnmHeader(int fd, tagPAGEBITMAPINFO* pInfo);

// One record of the stream: 1 when a page was read and handed to the renderer, 0 at the end of the
// stream, -1 on an error (logged). Settings records are applied on the way.
int ReadStreamRecord(tagJOBINFO* pJob, int fd);

// The parent's side of the job: sets up the renderer, reads the whole stream and frames the job.
// -1 when the renderer cannot be set up, else the last result of ReadStreamRecord (0 or -1).
int RunBackend(tagJOBINFO* pJob, int fd);
