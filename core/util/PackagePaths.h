// The per-user directories of the package: the conf directory (where the saved-settings files
// live), its overlay directory, and the temporary overlay directory.
//
// Each result is a new malloc'ed string that the caller frees (free() or FreeIfSet()), or NULL when
// no user name is found, the name fails IsSafeNameComponent, or memory runs out. The fixed parts
// come from core/InstallPaths.h.
#pragma once

// The conf directory followed by the user name, without a trailing slash. The user is pszUser,
// else the environment variable LOGNAME, else USER.
char* GetUserConfPath(const char* pszUser);

// GetUserConfPath followed by "/overlay" (same choice of user).
char* GetUserOverlayDir(const char* pszUser);

// The temporary overlay directory followed by the user name. The name must be given.
char* GetTmpOverlayPath(const char* pszUser);
