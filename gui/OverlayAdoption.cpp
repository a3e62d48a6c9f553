#include "gui/OverlayAdoption.h"

#include "core/InstallPaths.h"
#include "core/util/Descriptor.h"
#include "core/util/FileUtil.h"
#include "core/util/LockFile.h"
#include "core/util/PackagePaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr size_t kCopyChunk = 4096;
constexpr mode_t kTargetMode = 0666;  // the umask applies, as for any file the user creates

struct FreeDeleter {
    void operator()(char* p) const { FreeIfSet(p); }
};
using HeapString = std::unique_ptr<char, FreeDeleter>;

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes it now; false when close reports an error (a write that did not reach the file).
    bool Reset()
    {
        bool ok = true;
        if (m_fd >= 0) {
            ok = close(m_fd) == 0;
            m_fd = -1;
        }
        return ok;
    }
    int Release()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

class LockHolder {
public:
    explicit LockHolder(int fd) : m_fd(fd) {}
    ~LockHolder() { CloseLockFile(m_fd); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

const char* CurrentUser()
{
    if (const char* logname = std::getenv("LOGNAME")) {
        return logname;
    }
    return std::getenv("USER");
}

// The source directory opened without following a link, when it is a directory owned by us. The
// check is made on the opened descriptor, so a directory swapped in after lstat is refused too.
DirHandle OpenOwnedDirectory(const char* path)
{
    struct stat before {};
    if (lstat(path, &before) != 0 || !S_ISDIR(before.st_mode) || before.st_uid != geteuid()) {
        return DirHandle();
    }
    Fd fd(open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (!fd.valid() || fstat(fd.get(), &opened) != 0 || opened.st_dev != before.st_dev ||
        opened.st_ino != before.st_ino || opened.st_uid != geteuid()) {
        return DirHandle();
    }
    DIR* dir = fdopendir(fd.get());
    if (dir != nullptr) {
        fd.Release();  // the directory stream owns it now
    }
    return DirHandle(dir);
}

mode_t CurrentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Copies the open source into a new file beside target and renames it over target. True only
// when every byte arrived and the file was closed without error.
bool CopyInto(int source, const std::string& target)
{
    std::string temp = target + ".XXXXXX";
    Fd out(mkstemp(temp.data()));
    if (!out.valid()) {
        return false;
    }
    bool ok = fchmod(out.get(), kTargetMode & ~CurrentUmask()) == 0;
    char buffer[kCopyChunk];
    while (ok) {
        const ssize_t got = ReadUpTo(source, buffer, sizeof buffer);
        if (got < 0) {
            ok = false;
        } else if (got == 0) {
            break;
        } else if (WriteAll(out.get(), buffer, static_cast<size_t>(got)) != 0) {
            ok = false;
        }
    }
    if (!out.Reset()) {
        ok = false;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
    }
    if (!ok) {
        unlink(temp.c_str());
    }
    return ok;
}

// One directory entry: moved when it is a regular file that copies completely.
bool AdoptEntry(int sourceDir, const char* name, const std::string& targetDir)
{
    Fd source(openat(sourceDir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!source.valid() || fstat(source.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    if (!CopyInto(source.get(), targetDir + "/" + name)) {
        return false;
    }
    return unlinkat(sourceDir, name, 0) == 0;
}

}  // namespace

int AdoptOverlayFiles()
{
    const char* user = CurrentUser();
    if (user == nullptr) {
        return 0;
    }
    HeapString source(GetTmpOverlayPath(user));
    HeapString target(GetUserOverlayDir(user));
    if (!source || !target) {
        return 0;
    }
    DirHandle dir = OpenOwnedDirectory(source.get());
    if (!dir) {
        return 0;
    }
    struct stat targetStat {};
    if (stat(target.get(), &targetStat) != 0 || !S_ISDIR(targetStat.st_mode)) {
        return 0;
    }
    LockHolder lock(OpenLockFile(orv::InstalledPath(orv::kOverlayLockPath).c_str()));
    if (!lock.held()) {
        return 0;
    }
    const std::string targetDir(target.get());
    int moved = 0;
    while (const dirent* entry = readdir(dir.get())) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        if (AdoptEntry(dirfd(dir.get()), entry->d_name, targetDir)) {
            ++moved;
        }
    }
    return moved;
}
