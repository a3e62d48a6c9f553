#include "core/util/OwnedPlace.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;

// The errno of a failed open of a directory without following links: ELOOP for a symbolic link
// (which O_DIRECTORY may report as ENOTDIR), else the open's own.
int DirOpenError(const char* pszPath, int err)
{
    struct stat st;
    if (err == ENOTDIR && lstat(pszPath, &st) == 0 && S_ISLNK(st.st_mode)) {
        return ELOOP;
    }
    return err;
}

}  // namespace

bool LookupUserId(const char* pszUser, uid_t* puid)
{
    if (pszUser == nullptr || pszUser[0] == '\0' || puid == nullptr) {
        return false;
    }
    long cbBuffer = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(cbBuffer > 0 ? static_cast<size_t>(cbBuffer) : 16384);
    struct passwd pw;
    struct passwd* found = nullptr;
    while (getpwnam_r(pszUser, &pw, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (found == nullptr) {
        return false;
    }
    *puid = found->pw_uid;
    return true;
}

bool IsOwnedPlace(const struct stat& st, uid_t uid, const char* pszWhat, std::string* pstrWhy)
{
    std::string why;
    if (st.st_uid != uid && st.st_uid != 0) {
        why = std::string(pszWhat) + " belongs to user id " + std::to_string(st.st_uid);
    } else if ((st.st_mode & kWritableByOthers) != 0) {
        why = std::string(pszWhat) + " is writable by other users";
    } else {
        return true;
    }
    if (pstrWhy != nullptr) {
        *pstrWhy = why;
    }
    return false;
}

int OpenOwnedDir(const char* pszPath, uid_t uid, std::string* pstrWhy)
{
    // O_PATH: a directory its owner keeps unreadable (only enterable) is still the owner's.
    const int fd = open(pszPath, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int err = DirOpenError(pszPath, errno);
        if (pstrWhy != nullptr) {
            *pstrWhy = err == ELOOP     ? "the directory is a symbolic link"
                       : err == ENOTDIR ? "the directory is no directory"
                                        : "the directory cannot be opened";
        }
        errno = err;
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !IsOwnedPlace(st, uid, "the directory", pstrWhy)) {
        close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

int OpenOwnedFileAt(int dirFd, const char* pszName, uid_t uid, std::string* pstrWhy)
{
    const int fd = openat(dirFd, pszName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (pstrWhy != nullptr) {
            *pstrWhy = err == ELOOP ? "the file is a symbolic link" : "the file cannot be opened";
        }
        errno = err;
        return -1;
    }
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0) {
        err = errno;
    } else if (!S_ISREG(st.st_mode)) {
        if (pstrWhy != nullptr) {
            *pstrWhy = "the file is not a regular file";
        }
        err = EINVAL;
    } else if (!IsOwnedPlace(st, uid, "the file", pstrWhy)) {
        err = EPERM;
    }
    if (err != 0) {
        close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

int MakeOwnedDir(const char* pszPath, mode_t mode)
{
    if (pszPath == nullptr || pszPath[0] == '\0') {
        return EINVAL;
    }
    if (mkdir(pszPath, mode & ~kWritableByOthers) != 0 && errno != EEXIST) {
        return errno;
    }
    const int fd = open(pszPath, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return DirOpenError(pszPath, errno);
    }
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0) {
        err = errno;
    } else if (st.st_uid != geteuid()) {
        err = EPERM;
    } else if ((st.st_mode & kWritableByOthers) != 0 && fchmod(fd, st.st_mode & 07777 & ~kWritableByOthers) != 0) {
        err = errno;
    }
    close(fd);
    return err;
}
