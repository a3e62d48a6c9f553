#include "filter/job/SpoolFile.h"

#include "core/InstallPaths.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/util/SafeName.h"
#include "filter/job/FilterHooks.h"
#include "filter/log/FilterLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr size_t kSpoolPathSize = 512;
// The path of the current spool file, for the log and the tests.
char g_szSpoolPath[kSpoolPathSize];
// The current spool file's directory, held open from its creation, and the file's name in it:
// CommitSpoolFile and RemoveSpoolFile work on these, so that a directory swapped while the job
// runs cannot redirect them.
int g_spoolDirFd = -1;
char g_szSpoolName[kSpoolPathSize];

// Only the scheduler's user and group (which an outside collector of the jobs runs with) may read
// the held jobs, which carry their passwords, or change them.
constexpr mode_t kSpoolDirMode = 0770;
constexpr mode_t kSpoolFileMode = 0660;

constexpr LONG kSecurePrintView = 2;  // tagSECUREPRINT
constexpr DWORD kSecurePrintOffered = 0x1;
constexpr uint64_t kDefaultMinimumKb = 10240;
// Sequence numbers tried within one second before giving up.
constexpr int kMaxSequence = 100000;

const char kNoSpaceMessage[] =
    "ERROR: There are not enough space in system drive.Increase the disk space on the system drive (to "
    "remove unnecessary files) and try again. \n";
static_assert(sizeof(kNoSpaceMessage) - 1 == 140, "the spool refusal message is 140 bytes");

bool StatvfsProbe(const char* pszDir, uint64_t* pqwFreeKb)
{
    struct statvfs fs;
    if (statvfs(pszDir, &fs) != 0) {
        return false;
    }
    uint64_t qwBlockSize = fs.f_bsize;
    uint64_t qwKb = static_cast<uint64_t>(fs.f_bfree) * qwBlockSize / 1024;
    if (qwKb == 0) {
        qwKb = static_cast<uint64_t>(fs.f_bavail) * qwBlockSize / 1024;
    }
    *pqwFreeKb = qwKb;
    return true;
}

// One directory level under the open directory dirFd: created when missing and opened without
// following a symbolic link. A level must belong to this process's user (it then gets the spool's
// mode) or to root (and then must not be writable by everyone). The open level; -1 when it cannot
// be made or opened; -2 with *pstrWhy set when it is refused: a symbolic link, or a directory that
// another local user made or everyone can write to, so that the job cannot land where that user
// reads it.
int OpenSpoolLevel(int dirFd, const std::string& name, std::string* pstrWhy)
{
    if (mkdirat(dirFd, name.c_str(), kSpoolDirMode) != 0 && errno != EEXIST) {
        return -1;
    }
    int fd = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        struct stat link;
        if (fstatat(dirFd, name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode)) {
            *pstrWhy = name + " is a symbolic link";
            return -2;
        }
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        close(fd);
        return -1;
    }
    std::string why;
    if (st.st_uid == geteuid()) {
        if ((st.st_mode & 07777) != kSpoolDirMode && fchmod(fd, kSpoolDirMode) != 0) {
            close(fd);
            return -1;
        }
    } else if (st.st_uid != 0) {
        why = name + " belongs to user id " + std::to_string(st.st_uid);
    } else if ((st.st_mode & S_IWOTH) != 0) {
        why = name + " is writable by every user";
    }
    if (!why.empty()) {
        close(fd);
        *pstrWhy = why;
        return -2;
    }
    return fd;
}

// A secure-print job whose spool directory is refused is not printed in the open: it is refused
// like a job without disk space, and the log says why.
FILE* RefuseSpool(const std::string& why)
{
    LogMessage(LOG_ERROR, "Secure print spool refused (%s): the job is not printed\n", why.c_str());
    return SPOOL_REFUSED;
}

void ForgetSpoolDir()
{
    if (g_spoolDirFd >= 0) {
        close(g_spoolDirFd);
    }
    g_spoolDirFd = -1;
    g_szSpoolName[0] = '\0';
}

std::string WithoutTrailingSlash(std::string s)
{
    while (s.size() > 1 && s.back() == '/') {
        s.pop_back();
    }
    return s;
}

// The directory itself, or while it does not exist yet (the first secure-print job) the nearest
// directory above it: the file system the spool file will be written to.
std::string ExistingDirOf(std::string dir)
{
    dir = WithoutTrailingSlash(dir);
    while (access(dir.c_str(), F_OK) != 0) {
        size_t slash = dir.rfind('/');
        if (slash == std::string::npos) {
            break;
        }
        dir = slash == 0 ? "/" : dir.substr(0, slash);
    }
    return dir;
}

// Closes a descriptor at the end of a scope.
struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) {
            close(fd);
        }
    }
};

}  // namespace

const char* GetSpoolFilePath()
{
    return g_szSpoolPath;
}

FILE* CreateSpoolFile(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->pSpcData == nullptr) {
        return nullptr;
    }
    const ModelAnswer answer(pJob->pSpcData, SPCID_SECUREPRINT, 0, kSecurePrintView);
    if (!answer.Answered()) {
        return nullptr;
    }
    const tagSECUREPRINT record = answer.Record<tagSECUREPRINT>();
    if ((record.dwFlags & kSecurePrintOffered) == 0) {
        return nullptr;
    }
    uint64_t qwMinimumKb = record.dwMinimumFreeKb != 0 ? record.dwMinimumFreeKb : kDefaultMinimumKb;

    // The user and queue names become path components: nothing that could leave the tree.
    if (!IsSafeNameComponent(pJob->pszUser) || !IsSafeNameComponent(pJob->pszPrinter)) {
        return nullptr;
    }

    std::string root = orv::InstalledPath(orv::kSpoolDir);
    uint64_t qwFreeKb = 0;
    PFNSPOOLSPACEPROBE pfnProbe = JobHooks(pJob).pfnSpoolSpace;
    if (pfnProbe == nullptr) {
        pfnProbe = StatvfsProbe;
    }
    if (pfnProbe(ExistingDirOf(root).c_str(), &qwFreeKb) && qwMinimumKb > qwFreeKb) {
        ssize_t n = write(STDERR_FILENO, kNoSpaceMessage, sizeof(kNoSpaceMessage) - 1);
        (void)n;
        return SPOOL_REFUSED;
    }

    // The parent of the spool directory is the system's; every level from the spool directory down
    // is walked by descriptor.
    std::string spoolDir = WithoutTrailingSlash(root);
    size_t slash = spoolDir.rfind('/');
    if (slash == std::string::npos) {
        return nullptr;
    }
    FdCloser parent{open(slash == 0 ? "/" : spoolDir.substr(0, slash).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (parent.fd < 0) {
        return nullptr;
    }
    std::string why;
    FdCloser spool{OpenSpoolLevel(parent.fd, spoolDir.substr(slash + 1), &why)};
    if (spool.fd < 0) {
        return spool.fd == -2 ? RefuseSpool(why) : nullptr;
    }
    FdCloser secure{OpenSpoolLevel(spool.fd, WithoutTrailingSlash(orv::kSecurePrintSubdir), &why)};
    if (secure.fd < 0) {
        return secure.fd == -2 ? RefuseSpool(why) : nullptr;
    }
    FdCloser user{OpenSpoolLevel(secure.fd, pJob->pszUser, &why)};
    if (user.fd < 0) {
        return user.fd == -2 ? RefuseSpool(why) : nullptr;
    }
    FdCloser queue{OpenSpoolLevel(user.fd, pJob->pszPrinter, &why)};
    if (queue.fd < 0) {
        return queue.fd == -2 ? RefuseSpool(why) : nullptr;
    }
    std::string dir = root + orv::kSecurePrintSubdir + pJob->pszUser + "/" + pJob->pszPrinter + "/";

    time_t now = time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local) == nullptr) {
        return nullptr;
    }
    char szPath[kSpoolPathSize];
    for (int iSeq = 0; iSeq < kMaxSequence; ++iSeq) {
        char szName[96];  // room for any int the fields can hold
        snprintf(szName, sizeof szName, "%04d%02d%02d%02d%02d%02d%03d.tmp", local.tm_year + 1900, local.tm_mon + 1,
                 local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, iSeq);
        int n = snprintf(szPath, sizeof szPath, "%s%s", dir.c_str(), szName);
        if (n < 0 || static_cast<size_t>(n) >= sizeof szPath) {
            return nullptr;
        }
        int fd = openat(queue.fd, szName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kSpoolFileMode);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        fchmod(fd, kSpoolFileMode);
        FILE* pFile = fdopen(fd, "w+");
        if (pFile == nullptr) {
            close(fd);
            unlinkat(queue.fd, szName, 0);
            return nullptr;
        }
        ForgetSpoolDir();
        g_spoolDirFd = queue.fd;
        queue.fd = -1;
        std::memcpy(g_szSpoolName, szName, std::strlen(szName) + 1);
        std::memcpy(g_szSpoolPath, szPath, sizeof szPath);
        return pFile;
    }
    return nullptr;
}

int CommitSpoolFile()
{
    size_t cch = strnlen(g_szSpoolName, kSpoolPathSize);
    if (g_spoolDirFd < 0 || cch < 3 || cch >= kSpoolPathSize) {
        return 0;
    }
    char szFinal[kSpoolPathSize];
    std::memcpy(szFinal, g_szSpoolName, cch + 1);
    std::memcpy(szFinal + cch - 3, "prn", 3);
    return renameat(g_spoolDirFd, g_szSpoolName, g_spoolDirFd, szFinal) == 0 ? -1 : 0;
}

int RemoveSpoolFile()
{
    if (g_spoolDirFd < 0 || g_szSpoolName[0] == '\0') {
        return 0;
    }
    return unlinkat(g_spoolDirFd, g_szSpoolName, 0) == 0 ? -1 : 0;
}

int FinishSpoolFile(tagJOBINFO* pJob, bool bJobSucceeded)
{
    if (pJob == nullptr || pJob->spool == nullptr) {
        return 0;
    }
    if (pJob->spool == SPOOL_REFUSED) {
        pJob->spool = nullptr;
        return 1;
    }
    // Buffered bytes that cannot reach the disk make the file as broken as a short write.
    if (fclose(pJob->spool) != 0) {
        pJob->dwSpoolOk = 0;
    }
    pJob->spool = nullptr;
    int iStatus = 0;
    if (pJob->dwSpoolOk == 0 || !bJobSucceeded || CommitSpoolFile() == 0) {
        RemoveSpoolFile();
        iStatus = 1;
    }
    ForgetSpoolDir();
    return iStatus;
}
