#include "filter/JobRun.h"

#include "core/util/Descriptor.h"
#include "filter/FilterLog.h"
#include "filter/JobContext.h"
#include "filter/KeepAlive.h"
#include "filter/OutputSink.h"
#include "filter/SpoolFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Universal exit language: returns the printer to its job-level state.
const char kUel[] = "\x1B%-12345X";

PFNJOBPIPE g_pfnPipe = pipe;
PFNJOBFORK g_pfnFork = fork;

JobProcess RunChild(tagJOBINFO* pJob, const tagJOBSTAGES* pStages, int fdRead, int fdWrite) {
    close(fdRead);
    // Only the parent writes, finishes or removes the spool file.
    pJob->spool = nullptr;
    if (Dup2Retry(fdWrite, STDOUT_FILENO) < 0)
        LogDebug("ERROR: redirect stdout: %s\n", std::strerror(errno));
    else if (pStages->pfnRender != nullptr)
        pStages->pfnRender(pJob);
    close(fdWrite);
    return JobProcess::Child;
}

JobProcess RunParent(tagJOBINFO* pJob, const tagJOBSTAGES* pStages, int fdRead, int fdWrite) {
    close(fdWrite);
    if (pJob->input != nullptr && pJob->cups.cupsFileClose != nullptr) pJob->cups.cupsFileClose(pJob->input);
    pJob->input = nullptr;
    StartKeepAliveThread(pJob);
    int iSent = pStages->pfnSend != nullptr ? pStages->pfnSend(pJob, fdRead) : 0;
    close(fdRead);
    StopKeepAliveThread(pJob);
    if ((pJob->dwJobState & JOBSTATE_HEADER_SENT) != 0) {
        // Sending broke off inside the job: the printer must not wait for the rest of it.
        OutputPuts(pJob, kUel);
        pJob->dwJobState &= ~JOBSTATE_HEADER_SENT;
    }
    return iSent == 0 ? JobProcess::Sent : JobProcess::Failed;
}

}  // namespace

void SetJobProcessCalls(PFNJOBPIPE pfnPipe, PFNJOBFORK pfnFork) {
    g_pfnPipe = pfnPipe != nullptr ? pfnPipe : pipe;
    g_pfnFork = pfnFork != nullptr ? pfnFork : fork;
}

void OpenJobOutput(tagJOBINFO* pJob) {
    if (pJob == nullptr || pJob->dwSecurePrint == 0) return;
    pJob->spool = CreateSpoolFile(pJob);
    pJob->dwSpoolOk = 1;
}

JobProcess RunJobProcesses(tagJOBINFO* pJob, const tagJOBSTAGES* pStages) {
    if (pJob == nullptr || pStages == nullptr) return JobProcess::Failed;
    int fds[2];
    if (g_pfnPipe(fds) != 0) {
        LogMessage(LOG_ERROR, "Cannot create the pipe to the renderer: %s\n", std::strerror(errno));
        return JobProcess::Failed;
    }
    pid_t pid = g_pfnFork();
    if (pid < 0) {
        LogMessage(LOG_ERROR, "Cannot start the renderer process: %s\n", std::strerror(errno));
        close(fds[0]);
        close(fds[1]);
        return JobProcess::Failed;
    }
    if (pid == 0) return RunChild(pJob, pStages, fds[0], fds[1]);
    return RunParent(pJob, pStages, fds[0], fds[1]);
}

int EndJob(tagJOBINFO* pJob, bool bSent) {
    int iStatus = bSent ? 0 : 1;
    if (FinishSpoolFile(pJob, bSent) != 0) iStatus = 1;
    FreeJobInfo(pJob);
    return iStatus;
}
