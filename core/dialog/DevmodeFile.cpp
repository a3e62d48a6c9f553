// Saving and loading the per-user saved-settings file.
#include "core/dialog/DevmodeFile.h"

#include "core/util/Descriptor.h"
#include "core/util/MakeDirs.h"
#include "core/util/OwnedPlace.h"
#include "core/util/PackagePaths.h"
#include "core/util/SafeName.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr DWORD kErrInvalidArgument = 22;  // EINVAL, as the callers expect it
constexpr DWORD kErrNoPath = 2;            // ENOENT
// The user's directory: only its owner writes to it, and the filter (another user) must be able
// to enter it.
constexpr mode_t kUserDirMode = 0755;

struct FreeOnExit {
    char* p;
    ~FreeOnExit() { free(p); }
};

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    int get() const { return m_fd; }
    // Closes now; the errno of a failing close, else 0.
    int CloseNow()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// An errno that is never 0, so a failure can never read as success.
DWORD FailureErrno()
{
    return errno != 0 ? static_cast<DWORD>(errno) : static_cast<DWORD>(EIO);
}

bool IsValidHeader(const tagDMFILEHEADER& header)
{
    return header.dwHeaderSize == sizeof(tagDMFILEHEADER) && header.dwSignature == kDevmodeSignature &&
           header.dwVersion == kDmFileVersion && header.dwDataSize == kDevmodeSize;
}

bool HasValidSizes(const DRVDEVMODE& record)
{
    return record.dm.dmSize == kDevmodePublicSize &&
           static_cast<DWORD>(record.dm.dmSize) + record.dm.dmDriverExtra == kDevmodeSize;
}

// The writer's temporary file beside the target: the rename that replaces the target cannot
// cross a file system.
DWORD WriteReplacing(const std::string& path, const BYTE* pBytes, size_t cb)
{
    std::string temp = path + ".XXXXXX";
    const int fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0)
        return kDmFileBadContents;
    FdCloser file(fd);
    int err = WriteAll(fd, pBytes, cb);
    if (err == 0 && fchmod(fd, kDmFileMode) != 0)
        err = static_cast<int>(FailureErrno());
    if (err == 0 && fsync(fd) != 0)
        err = static_cast<int>(FailureErrno());
    const int closeErr = file.CloseNow();
    if (err == 0)
        err = closeErr;
    if (err == 0 && rename(temp.c_str(), path.c_str()) != 0)
        err = static_cast<int>(FailureErrno());
    if (err != 0)
        unlink(temp.c_str());
    return static_cast<DWORD>(err);
}

// The name after the last slash of a path.
std::string LastComponent(const char* pszPath)
{
    const char* slash = strrchr(pszPath, '/');
    return slash != nullptr ? slash + 1 : pszPath;
}

}  // namespace

int MakeUserConfDir(const char* pszDir)
{
    if (pszDir == nullptr || pszDir[0] == '\0')
        return EINVAL;
    std::string parent(pszDir);
    const size_t slash = parent.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        parent.resize(slash);
        // The conf directory itself belongs to the package; only the user's level is made here.
        struct stat st;
        if (stat(parent.c_str(), &st) != 0 && MakeDirs(parent.c_str(), kUserDirMode) != 0)
            return errno != 0 ? errno : EIO;
    }
    return MakeOwnedDir(pszDir, kUserDirMode);
}

char* pszDevmodeFilePath(const char* pszUser, const char* pszPrinter)
{
    if (!IsSafeNameComponent(pszPrinter))
        return nullptr;
    FreeOnExit dir{GetUserConfPath(pszUser)};
    if (dir.p == nullptr || dir.p[0] == '\0')
        return nullptr;
    const size_t cbDir = strlen(dir.p);
    const bool needsSlash = dir.p[cbDir - 1] != '/';
    const size_t cb = cbDir + (needsSlash ? 1 : 0) + strlen(pszPrinter) + sizeof ".dm";
    char* path = static_cast<char*>(malloc(cb));
    if (path != nullptr)
        snprintf(path, cb, "%s%s%s.dm", dir.p, needsSlash ? "/" : "", pszPrinter);
    return path;
}

DWORD dwWriteDevmodeFile(const char* pszUser, const char* pszPrinter, const DRVDEVMODE* pdm)
{
    if (pszPrinter == nullptr || pdm == nullptr)
        return kErrInvalidArgument;
    FreeOnExit path{pszDevmodeFilePath(pszUser, pszPrinter)};
    if (path.p == nullptr)
        return kErrNoPath;
    FreeOnExit dir{GetUserConfPath(pszUser)};
    if (dir.p == nullptr || MakeUserConfDir(dir.p) != 0)
        return kErrNoPath;

    BYTE bytes[kDmFileSize];
    const tagDMFILEHEADER header = {sizeof(tagDMFILEHEADER), kDevmodeSignature, kDmFileVersion, kDevmodeSize};
    memcpy(bytes, &header, sizeof header);
    memcpy(bytes + sizeof header, pdm, sizeof *pdm);
    return WriteReplacing(path.p, bytes, sizeof bytes);
}

DWORD dwReadDevmodeFile(const char* pszUser, const char* pszPrinter, DRVDEVMODE* pdm, std::string* pstrRefusal)
{
    if (pszPrinter == nullptr || pdm == nullptr)
        return kErrInvalidArgument;
    FreeOnExit path{pszDevmodeFilePath(pszUser, pszPrinter)};
    if (path.p == nullptr)
        return kErrNoPath;
    FreeOnExit dir{GetUserConfPath(pszUser)};
    if (dir.p == nullptr)
        return kErrNoPath;

    // Every local user can make directories in the conf directory: the file counts as the user's
    // only when the user (or root) made both it and its directory and nobody else can change them.
    // A user name the system does not know has no files but root's.
    const std::string user = LastComponent(dir.p);
    uid_t uid = 0;
    if (!LookupUserId(user.c_str(), &uid))
        uid = 0;
    std::string why;
    FdCloser dirFd(OpenOwnedDir(dir.p, uid, &why));
    if (dirFd.get() < 0) {
        if (errno == ENOENT || errno == EACCES)
            return FailureErrno();
        if (pstrRefusal != nullptr)
            *pstrRefusal = why;
        return kDmFileUntrusted;
    }
    const std::string name = std::string(pszPrinter) + ".dm";
    FdCloser file(OpenOwnedFileAt(dirFd.get(), name.c_str(), uid, &why));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == EACCES)
            return FailureErrno();
        const int err = errno;
        if (pstrRefusal != nullptr)
            *pstrRefusal = why;
        return err == EINVAL ? kDmFileBadContents : kDmFileUntrusted;
    }

    // One byte more than the file may hold, so that an oversize file is seen.
    BYTE bytes[kDmFileSize + 1];
    if (ReadUpTo(file.get(), bytes, sizeof bytes) != static_cast<ssize_t>(kDmFileSize))
        return kDmFileBadContents;
    tagDMFILEHEADER header;
    memcpy(&header, bytes, sizeof header);
    DRVDEVMODE record;
    memcpy(&record, bytes + sizeof header, sizeof record);
    if (!IsValidHeader(header) || !HasValidSizes(record))
        return kDmFileBadContents;
    memcpy(pdm, &record, sizeof record);
    return ERROR_SUCCESS;
}
