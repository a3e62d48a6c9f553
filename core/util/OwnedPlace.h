// Files that one user's settings keep in a tree every local user can write to (the saved-settings
// directory). A program reading them on that user's behalf takes only what the user (or root) put
// there; the user's own program makes its directory so that nobody else can.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

// The user id of a user name; false when the name is unknown (or NULL).
bool LookupUserId(const char* pszUser, uid_t* puid);

// Whether an opened file or directory may be trusted as the user's: owned by uid or by root, and
// writable by neither its group nor others. When not, *pstrWhy (if given) says why, naming pszWhat.
bool IsOwnedPlace(const struct stat& st, uid_t uid, const char* pszWhat, std::string* pstrWhy);

// Opens a directory of the user's: the last component is not followed when it is a symbolic link,
// and the directory must pass IsOwnedPlace. A descriptor (O_PATH, close-on-exec) to open its files
// by, or -1 with errno and *pstrWhy set: ENOENT when it does not exist, ELOOP or ENOTDIR for a
// link or something else, EPERM when IsOwnedPlace refuses it.
int OpenOwnedDir(const char* pszPath, uid_t uid, std::string* pstrWhy);

// Opens a regular file in an owned directory (openat, not following a symbolic link, without
// blocking on a FIFO) and checks it with IsOwnedPlace. The descriptor (close-on-exec), or -1 with
// errno set and *pstrWhy saying why: ENOENT when the file does not exist, ELOOP for a symbolic
// link, EINVAL for something other than a regular file, EPERM when IsOwnedPlace refuses it.
int OpenOwnedFileAt(int dirFd, const char* pszName, uid_t uid, std::string* pstrWhy);

// Makes the calling user's own directory pszPath (its parent must exist) with `mode`, or takes an
// existing one: it must be a directory owned by the effective user, not a symbolic link; its mode
// is tightened so that neither group nor others may write to it. 0, or an errno: EPERM for a
// directory owned by someone else, ELOOP for a symbolic link, ENOTDIR for something else.
int MakeOwnedDir(const char* pszPath, mode_t mode);
