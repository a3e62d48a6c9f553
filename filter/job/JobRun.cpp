#include "filter/job/JobRun.h"

#include "filter/log/FilterLog.h"
#include "filter/job/JobContext.h"
#include "filter/job/JobProcesses.h"
#include "filter/frame/JobFraming.h"
#include "filter/job/SpoolFile.h"

void OpenJobOutput(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->dwSecurePrint == 0) {
        return;
    }
    pJob->spool = CreateSpoolFile(pJob);
    pJob->dwSpoolOk = 1;
}

void CloseBrokenJob(tagJOBINFO* pJob)
{
    // The same close as when the stream breaks off inside the parent's reading.
    AbortJob(pJob);
}

int EndJob(tagJOBINFO* pJob, bool bSent)
{
    int iStatus = bSent ? 0 : 1;
    if (FinishSpoolFile(pJob, bSent) != 0) {
        iStatus = 1;
    }
    FreeJobInfo(pJob);
    return iStatus;
}

int RunFilterJob(int argc, char* argv[], const FilterHooks& hooks)
{
    const char* pszProgram = argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : "gdi-filter";
    LogDebug("Start Orvalen GDI filter on %s\n", pszProgram);

    tagJOBINFO* pJob = CreateJobInfo(argc, argv, hooks);
    if (pJob == nullptr) {
        return 1;  // the reason is logged
    }
    OpenJobOutput(pJob);

    // The Ghostscript child renders into the pipe, this process prints what arrives.
    bool bSent = RunJobProcesses(pJob) != 0;
    CloseBrokenJob(pJob);

    LogDebug("End Orvalen GDI filter on %s\n", pszProgram);
    return EndJob(pJob, bSent);
}
