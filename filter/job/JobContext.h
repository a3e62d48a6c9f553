// Building and freeing the job context (filter/job/JobInfo.h) from the command line CUPS starts the
// filter with: job-id user title copies options [file], and the queue name in PRINTER.
#pragma once

#include "filter/job/JobInfo.h"

// A new job context: arguments checked, libcups and libgs bound, the input opened, the job's
// options, the queue's PPD, the model data and the job's settings loaded, the model's band height,
// duplex capabilities and keep-alive interval read. NULL after logging the reason at level 6.
tagJOBINFO* CreateJobInfo(int argc, char* argv[]);

// Stops a keep-alive thread that still runs, closes the input and the PPD, frees everything the
// context owns, unbinds the three libraries and frees the record. NULL is accepted.
void FreeJobInfo(tagJOBINFO* pJob);

// The Ghostscript output device the job is rendered with.
const char* GetRenderDevice(tagJOBINFO* pJob);

// The job's copies (argv[4]): decimal digits only, 1 to 32767 (the settings record holds copies in
// a signed 16-bit word). False for anything else.
bool ParseJobCopies(const char* pszCopies, int* piCopies);

// Called with the libcups table right after it is bound, before anything uses it (NULL: none).
// Tests replace the queue's PPD fetch through it.
typedef void (*PFNCUPSBOUNDHOOK)(tagCUPSFUNC* pCups);
void SetCupsBoundHook(PFNCUPSBOUNDHOOK pfnHook);

// The binders of libcups and libgs: LoadCupsLibrary and LoadGhostscriptLibrary, unless a test puts
// its own in their place to make a bind fail. NULL restores the real binder.
typedef int (*PFNBINDCUPS)(tagCUPSFUNC* pCups);
typedef int (*PFNBINDGS)(tagGSFUNC* pGs);
void SetLibraryBinders(PFNBINDCUPS pfnCups, PFNBINDGS pfnGs);
