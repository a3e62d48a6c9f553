// The run of one job after its context is built: where its output goes, the two processes that
// render and send it, and its end with the exit status.
#pragma once

#include "filter/JobInfo.h"

#include <sys/types.h>

// A secure-print job gets its spool file, or is refused for lack of disk space (its bytes are then
// dropped). Every other job, and a secure-print job whose spool file cannot be made, writes to
// standard output.
void OpenJobOutput(tagJOBINFO* pJob);

// The bodies of the job's two processes.
struct tagJOBSTAGES {
    // The child: renders the job into its standard output, which is the pipe. Its result is not used.
    int (*pfnRender)(tagJOBINFO* pJob);
    // The parent: reads the pipe from fdPipe and sends the job; 0 when the whole stream was handled.
    int (*pfnSend)(tagJOBINFO* pJob, int fdPipe);
};

enum class JobProcess {
    Sent,    // the parent, the job went out whole
    Failed,  // the parent, the job failed (logged at level 6)
    Child,   // the child, its work done: end the job and exit 0
};

// Splits the job in two processes joined by a pipe. The child points its standard output at the
// pipe and renders; the parent closes the input (only the child reads it), runs the keep-alive
// thread when the model asks for one, sends what the pipe brings and stops the thread again. A job
// whose header went out is always closed with the UEL, also when sending broke off.
JobProcess RunJobProcesses(tagJOBINFO* pJob, const tagJOBSTAGES* pStages);

// The system calls the split is made with; tests make them fail. NULL restores the real one.
typedef int (*PFNJOBPIPE)(int fds[2]);
typedef pid_t (*PFNJOBFORK)();
void SetJobProcessCalls(PFNJOBPIPE pfnPipe, PFNJOBFORK pfnFork);

// Ends the job: the spool file is given its final name when the job was sent and every write went
// through, else removed; the context is freed. The exit status: 0, or 1 when the job was not sent,
// its spool was refused or the spool file failed.
int EndJob(tagJOBINFO* pJob, bool bSent);
