// The secure-print spool file: the job's printer bytes kept under
// <spool dir>/secureprint/<user>/<queue>/ for a program outside the driver to collect. The file is
// written as "YYYYMMDDhhmmssNNN.tmp" and renamed to ".prn" when the job has succeeded.
#pragma once

#include "filter/JobInfo.h"

#include <cstdint>

// Free space of the file system holding pszDir, in KB; false when it cannot be measured.
typedef bool (*PFNSPOOLSPACEPROBE)(const char* pszDir, uint64_t* pqwFreeKb);

// Replaces the free-space probe (NULL restores the statvfs probe); for tests.
void SetSpoolSpaceProbe(PFNSPOOLSPACEPROBE pfnProbe);

// Makes the job's spool file. The open stream; NULL when the model offers no secure print or the
// directories or the file cannot be made (the job then goes to standard output); SPOOL_REFUSED
// when the free space is below the model's minimum (reported on standard error).
FILE* CreateSpoolFile(tagJOBINFO* pJob);

// Full path of the last spool file made ("" before the first one).
const char* GetSpoolFilePath();

// Renames the spool file from ".tmp" to ".prn". -1 on success, 0 on failure.
int CommitSpoolFile();

// Deletes the spool file. -1 on success, 0 on failure.
int RemoveSpoolFile();

// End of the job's spool: closes the stream, then gives the file its final name when every write
// went through and the job succeeded, else removes it. Returns the job's exit status for the
// spool: 1 when the spool was refused or the file was removed, 0 otherwise (also when no spool
// file was in use). The spool field is NULL afterwards.
int FinishSpoolFile(tagJOBINFO* pJob, bool bJobSucceeded);
