// The filter's two processes: the Ghostscript child renders the job into a pipe, the parent reads
// the pipe and prints the pages. The parent waits for the child, so a job is printed only when
// both sides succeeded.
#pragma once

#include "filter/job/JobInfo.h"

// Creates the pipe and the child (with the job's hooks' pipe and fork calls when it names them), runs the parent's side (with the keep-alive thread when the
// model asks for one) and waits for the child. -1 when the stream was read to its end and the
// child ended with status 0; 0 when the pipe or the child could not be made, the stream failed, or
// the child failed (the reason is logged).
int RunJobProcesses(tagJOBINFO* pJob);

// The child's side on the pipe's write end: standard output becomes the pipe, the job is rendered.
// The child's exit status: 0 when the job was rendered, else 1.
int RunChildProcess(tagJOBINFO* pJob, int fdWrite);
