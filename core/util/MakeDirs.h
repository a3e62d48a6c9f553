// Creating a directory together with its missing parents.
#pragma once

#include <sys/types.h>

// Creates every missing directory of pszPath with the given mode (the process umask applies).
// Runs of slashes and trailing slashes are skipped; a relative path is taken from the working
// directory. 0, or -1 with errno set: EINVAL for a NULL or empty path, ENOTDIR when a component
// exists and is not a directory, else the errno of the failing mkdir.
int MakeDirs(const char* pszPath, mode_t mode);
