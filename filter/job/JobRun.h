// The run of one job around its two processes (filter/job/JobProcesses.h): where its output goes, the
// close of a job that broke off, and its end with the exit status; and the whole run of the filter
// program from its command line.
#pragma once

#include "filter/job/FilterHooks.h"
#include "filter/job/JobInfo.h"

// A secure-print job gets its spool file, or is refused for lack of disk space (its bytes are then
// dropped). Every other job, and a secure-print job whose spool file cannot be made, writes to
// standard output.
void OpenJobOutput(tagJOBINFO* pJob);

// A job whose header went out but whose end did not (the stream or the renderer failed on the way)
// still gets the UEL, so that the printer does not wait for the rest of it. Nothing otherwise.
void CloseBrokenJob(tagJOBINFO* pJob);

// Ends the job: the spool file is given its final name when the job was sent and every write went
// through, else removed; the context is freed. The exit status: 0, or 1 when the job was not sent,
// its spool was refused or the spool file failed.
int EndJob(tagJOBINFO* pJob, bool bSent);

// The filter program's run after its standard streams are set up: the job context from the command
// line and environment, the job's output, the two processes, the job's end. The exit status: 0
// when the job was sent, 1 when its context could not be built, its processes could not be made,
// it failed on the way, or its spool was refused or failed. Every stage runs with the hooks, which
// the filter program leaves unset.
int RunFilterJob(int argc, char* argv[], const FilterHooks& hooks);
