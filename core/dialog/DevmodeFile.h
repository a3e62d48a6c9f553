// The per-user saved-settings file ("<conf dir>/<user>/<queue>.dm"): a 16-byte header followed by
// one settings record, 1248 bytes in all. The settings program writes it at every save; the filter,
// running as the print system's user, reads it at every job, so the file stays readable by all.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

#include <cstddef>
#include <string>

// The header, four little-endian words.
struct tagDMFILEHEADER {
    DWORD dwHeaderSize;  // 16
    DWORD dwSignature;   // "DEMK" (kDevmodeSignature)
    DWORD dwVersion;     // 1
    DWORD dwDataSize;    // 1232, the size of the record behind the header
};
static_assert(sizeof(tagDMFILEHEADER) == 16, "the file header is 16 bytes");
static_assert(offsetof(tagDMFILEHEADER, dwSignature) == 4, "signature at 4");
static_assert(offsetof(tagDMFILEHEADER, dwVersion) == 8, "version at 8");
static_assert(offsetof(tagDMFILEHEADER, dwDataSize) == 12, "record size at 12");
static_assert(sizeof(DRVDEVMODE) == kDevmodeSize, "the file holds the whole record");

inline constexpr DWORD kDmFileVersion = 1;
inline constexpr size_t kDmFileSize = sizeof(tagDMFILEHEADER) + sizeof(DRVDEVMODE);  // 1248
inline constexpr unsigned kDmFileMode = 0644;

// Result of a file whose contents are refused.
inline constexpr DWORD kDmFileBadContents = static_cast<DWORD>(-1);
// Result of a file that someone other than its user (or root) made or can change.
inline constexpr DWORD kDmFileUntrusted = static_cast<DWORD>(-2);

// The file's path for the user (NULL: LOGNAME, else USER) and queue, in a new malloc'ed buffer the
// caller frees; NULL when no user is found, the user or queue name is unsafe as a path component
// (empty, ".", "..", or containing '/'), or memory runs out. Creates nothing.
char* pszDevmodeFilePath(const char* pszUser, const char* pszPrinter);

// Makes the calling user's directory in the conf directory (pszDir, from GetUserConfPath) with
// mode 0755, the conf directory too when it is missing, or takes the existing one when it belongs
// to the calling user and is no symbolic link (group and others lose any write permission). 0, or an
// errno: EPERM for a directory someone else made, ELOOP for a symbolic link.
int MakeUserConfDir(const char* pszDir);

// Writes the header and the record. The file is replaced whole: the bytes go to a temporary file
// beside it, which is flushed, closed, given mode 0644 and only then renamed over the old one, so
// a failed save leaves the previous file as it was. The user's directory is made by
// MakeUserConfDir; one that another user made is refused.
// 0; 22 for a NULL queue name or record; 2 when there is no path (see above) or the user's
// directory cannot be made; -1 when the temporary file cannot be created; else the errno of the
// failing write, flush, chmod, close or rename (a full disk is ENOSPC or EFBIG, never success).
DWORD dwWriteDevmodeFile(const char* pszUser, const char* pszPrinter, const DRVDEVMODE* pdm);

// Reads the file into *pdm. The user's directory and the file must belong to the user (the system's
// user of that name) or to root, be no symbolic links and be writable by neither group nor others;
// otherwise the file is refused as kDmFileUntrusted and *pstrRefusal (if given) says why. The file
// must be a regular file of exactly 1248 bytes whose header is {16, "DEMK", 1, 1232} and whose
// record has dmSize 96 and dmDriverExtra 1136. The record is read into a buffer of its own and
// copied out only when all of that holds, so a refused file never leaves part of itself in the
// caller's record.
// 0; 22 for a NULL queue name or record; 2 without a path; the errno of a failing open (ENOENT
// when the directory or the file is missing); kDmFileUntrusted; -1 for contents that are refused
// (including a file that is not a regular file).
DWORD dwReadDevmodeFile(const char* pszUser, const char* pszPrinter, DRVDEVMODE* pdm,
                        std::string* pstrRefusal = nullptr);
