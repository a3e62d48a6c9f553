// The filter's two processes: the Ghostscript child renders the job into a pipe, the parent reads
// the pipe and prints the pages. The parent waits for the child, so a job is printed only when
// both sides succeeded.
#pragma once

#include "filter/job/JobInfo.h"

#include <sys/types.h>

// Creates the pipe and the child, runs the parent's side (with the keep-alive thread when the
// model asks for one) and waits for the child. -1 when the stream was read to its end and the
// child ended with status 0; 0 when the pipe or the child could not be made, the stream failed, or
// the child failed (the reason is logged).
int RunJobProcesses(tagJOBINFO* pJob);

// The child's side on the pipe's write end: standard output becomes the pipe, the job is rendered.
// The child's exit status: 0 when the job was rendered, else 1.
int RunChildProcess(tagJOBINFO* pJob, int fdWrite);

// The calls the two processes are made with: pipe(2) and fork(2) unless a test puts its own in
// their place to make the split fail. NULL restores the system's call.
typedef int (*PFNMAKEPIPE)(int fds[2]);
typedef pid_t (*PFNFORKPROCESS)();
void SetJobProcessCalls(PFNMAKEPIPE pfnPipe, PFNFORKPROCESS pfnFork);
