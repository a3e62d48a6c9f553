#include "core/util/LockFile.h"

#include "core/util/MakeDirs.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets the process umask for a scope and puts the old one back on every way out.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_old(umask(mask)) {}
    ~ScopedUmask() { umask(m_old); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_old;
};

// Every user must be able to create, open and lock the file, so the modes ignore the umask.
constexpr mode_t kLockDirMode = 0777;
constexpr mode_t kLockFileMode = 0666;

int FailClosing(int fd, int err)
{
    close(fd);
    errno = err;
    return -1;
}

}  // namespace

int OpenLockFile(const char* pszPath)
{
    if (pszPath == nullptr) {
        errno = EINVAL;
        return -1;
    }
    ScopedUmask mask(0);

    const char* lastSlash = strrchr(pszPath, '/');
    if (lastSlash != nullptr && lastSlash != pszPath) {
        try {
            std::string parent(pszPath, static_cast<size_t>(lastSlash - pszPath));
            (void)MakeDirs(parent.c_str(), kLockDirMode);  // a failure shows at open()
        } catch (const std::bad_alloc&) {
            errno = ENOMEM;
            return -1;
        }
    }

    // The lock lives in a world-writable tree: never follow a link planted at its name, and take
    // nothing but a regular file.
    int fd = open(pszPath, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kLockFileMode);
    if (fd < 0) {
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        return FailClosing(fd, errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return FailClosing(fd, EINVAL);
    }
    while (lockf(fd, F_LOCK, 0) != 0) {
        if (errno != EINTR) {
            return FailClosing(fd, errno);
        }
    }
    return fd;
}

void CloseLockFile(int fd)
{
    if (fd < 0) {
        return;
    }
    (void)lockf(fd, F_ULOCK, 0);
    close(fd);
}
