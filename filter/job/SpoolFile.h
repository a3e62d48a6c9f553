// The secure-print spool file: the job's printer bytes kept under
// <spool dir>/secureprint/<user>/<queue>/ for a program outside the driver to collect. The file is
// written as "YYYYMMDDhhmmssNNN.tmp" and renamed to ".prn" when the job has succeeded.
#pragma once

#include "filter/job/JobInfo.h"

// Makes the job's spool file (mode 0660, directories 0770: the scheduler's user and group only).
// The open stream; NULL when the model offers no secure print or a directory or the file cannot be
// made (the job then goes to standard output); SPOOL_REFUSED when the free space is below the
// model's minimum (reported on standard error; the free space is measured with the job's hooks'
// probe when they name one) or a directory level is refused: a symbolic link,
// a directory of another user than this process's or root, or root's writable by everyone. That
// refusal is logged at the error level and the job is not printed.
FILE* CreateSpoolFile(tagJOBINFO* pJob);

// Full path of the last spool file made ("" before the first one).
const char* GetSpoolFilePath();

// Renames the spool file from ".tmp" to ".prn" inside the directory it was made in (held open since),
// wherever that directory is now. -1 on success, 0 on failure.
int CommitSpoolFile();

// Deletes the spool file from the directory it was made in. -1 on success, 0 on failure.
int RemoveSpoolFile();

// End of the job's spool: closes the stream, then gives the file its final name when every write
// went through and the job succeeded, else removes it. Returns the job's exit status for the
// spool: 1 when the spool was refused or the file was removed, 0 otherwise (also when no spool
// file was in use). The spool field is NULL afterwards.
int FinishSpoolFile(tagJOBINFO* pJob, bool bJobSucceeded);
