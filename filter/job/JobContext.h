// Building and freeing the job context (filter/job/JobInfo.h) from the command line CUPS starts the
// filter with: job-id user title copies options [file], and the queue name in PRINTER.
#pragma once

#include "filter/job/FilterHooks.h"
#include "filter/job/JobInfo.h"

// A new job context: arguments checked, libcups and libgs bound, the input opened, the job's
// options, the queue's PPD, the model data and the job's settings loaded, the model's band height,
// duplex capabilities and keep-alive interval read. NULL after logging the reason at level 6.
tagJOBINFO* CreateJobInfo(int argc, char* argv[]);

// The same with the hooks the job runs with: their binders of libcups and libgs, their call on the
// bound libcups table (tests replace the queue's PPD fetch through it), and everything the later
// stages take from them. The context keeps a pointer to the hooks, which must outlive it.
tagJOBINFO* CreateJobInfo(int argc, char* argv[], const FilterHooks& hooks);

// Stops a keep-alive thread that still runs, closes the input and the PPD, frees everything the
// context owns, unbinds the three libraries and frees the record. NULL is accepted.
void FreeJobInfo(tagJOBINFO* pJob);

// The Ghostscript output device the job is rendered with.
const char* GetRenderDevice(tagJOBINFO* pJob);

// The job's copies (argv[4]): decimal digits only, 1 to 32767 (the settings record holds copies in
// a signed 16-bit word). False for anything else.
bool ParseJobCopies(const char* pszCopies, int* piCopies);
