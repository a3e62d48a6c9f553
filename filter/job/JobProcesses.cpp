#include "filter/job/JobProcesses.h"

#include "filter/log/FilterLog.h"
#include "filter/child/GhostscriptChild.h"
#include "filter/job/FilterHooks.h"
#include "filter/job/KeepAlive.h"
#include "filter/stream/StreamReader.h"
#include "filter/job/StageTimes.h"

#include <fcntl.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPipeBytes = 1 << 20;

// Status of the child, or -1 when it cannot be learnt.
int WaitForChild(pid_t pid)
{
    int iStatus = 0;
    while (waitpid(pid, &iStatus, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFEXITED(iStatus)) {
        return WEXITSTATUS(iStatus);
    }
    LogMessage(LOG_ERROR, "Ghostscript process ended by signal %d\n", WIFSIGNALED(iStatus) ? WTERMSIG(iStatus) : 0);
    return -1;
}

}  // namespace

int RunChildProcess(tagJOBINFO* pJob, int fdWrite)
{
    // Only the parent finishes or removes the spool file.
    pJob->spool = nullptr;
    int iStatus = 1;
    if (dup2(fdWrite, STDOUT_FILENO) < 0) {
        LogMessage(1, "ERROR: redirect stdout: %s\n", std::strerror(errno));
    } else if (RunGhostscriptJob(pJob) == 0) {
        iStatus = 0;
    }
    std::fflush(stdout);
    close(fdWrite);
    return iStatus;
}

int RunJobProcesses(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    const FilterHooks& hooks = JobHooks(pJob);
    PFNMAKEPIPE pfnPipe = hooks.pfnPipe != nullptr ? hooks.pfnPipe : pipe;
    PFNFORKPROCESS pfnFork = hooks.pfnFork != nullptr ? hooks.pfnFork : fork;
    int fds[2];
    if (pfnPipe(fds) != 0) {
        LogMessage(LOG_ERROR, "Cannot create the pipe: %s\n", std::strerror(errno));
        return 0;
    }
    // 1 MB in the pipe rather than the system's 64 KB, so that Ghostscript goes on writing rows
    // while the parent encodes a page; a pipe the system keeps smaller still works.
    // The page crosses the pipe a row a call on both sides (about 7,000 writes and as many reads
    // for an A4 page at 600 dpi). A buffered standard output in the child with band-sized reads
    // in the parent cut that to about 150 calls a page and measured no faster: the buffer copies
    // every page once more in the child, and the coarser hand-over leaves each process waiting
    // on the other longer (much longer with a 64 KB pipe).
    (void)fcntl(fds[0], F_SETPIPE_SZ, kPipeBytes);
    ResetStageTimes();
    // Nothing buffered before the split may be written twice.
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = pfnFork();
    if (pid < 0) {
        LogMessage(LOG_ERROR, "Cannot start the Ghostscript process: %s\n", std::strerror(errno));
        close(fds[0]);
        close(fds[1]);
        return 0;
    }
    if (pid == 0) {
        close(fds[0]);
        // The child leaves without running the parent's exit handlers or flushing its buffers again.
        _exit(RunChildProcess(pJob, fds[1]));
    }

    close(fds[1]);
    if (pJob->input != nullptr && pJob->cups.cupsFileClose != nullptr) {
        pJob->cups.cupsFileClose(pJob->input);
    }
    pJob->input = nullptr;
    StartKeepAliveThread(pJob);
    int iBackend = RunBackend(pJob, fds[0]);
    // Closed before the wait: a child still writing to a parent that stopped reading ends at once.
    close(fds[0]);
    StopKeepAliveThread(pJob);
    int iChild = WaitForChild(pid);
    if (iChild > 0) {
        LogMessage(LOG_ERROR, "Ghostscript process failed (status %d)\n", iChild);
    }
    LogStageTimes(pJob->dwPageNumber);
    return iBackend == 0 && iChild == 0 ? -1 : 0;
}
