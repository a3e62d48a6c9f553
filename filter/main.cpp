// gdi-filter: the CUPS filter that turns a PostScript job into the printer's PJL and GDI stream.
// CUPS starts it with job-id user title copies options [file] and the queue name in PRINTER.

#include "filter/FilterLog.h"
#include "filter/JobContext.h"
#include "filter/JobProcesses.h"
#include "filter/JobRun.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    // The scheduler reads both streams as they come.
    setvbuf(stdout, nullptr, _IONBF, 0);
    setvbuf(stderr, nullptr, _IONBF, 0);
    const char* pszProgram = argc > 0 && argv[0] != nullptr ? argv[0] : "gdi-filter";
    LogDebug("Start Orvalen GDI filter on %s\n", pszProgram);

    tagJOBINFO* pJob = CreateJobInfo(argc, argv);
    if (pJob == nullptr) return 1;  // the reason is logged
    OpenJobOutput(pJob);

    // The Ghostscript child renders into the pipe, this process prints what arrives.
    bool bSent = RunJobProcesses(pJob) != 0;
    CloseBrokenJob(pJob);

    LogDebug("End Orvalen GDI filter on %s\n", pszProgram);
    return EndJob(pJob, bSent);
}
