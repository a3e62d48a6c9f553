#include "core/util/FileUtil.h"

#include "core/util/Descriptor.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor on every way out of the reader.
class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser()
    {
        if (m_fd >= 0) {
            int saved = errno;  // the caller reports the reader's errno, not close()'s
            close(m_fd);
            errno = saved;
        }
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// Reads exactly cb bytes; false when the file ends early or a read fails.
bool ReadExactly(int fd, unsigned char* pb, size_t cb)
{
    const ssize_t got = ReadUpTo(fd, pb, cb);
    if (got < 0) {
        return false;
    }
    if (static_cast<size_t>(got) < cb) {
        errno = EIO;  // shorter than its size said: the file changed under us
        return false;
    }
    return true;
}

}  // namespace

void* ReadWholeFileSized(const char* pszDir, const char* pszName, size_t* pcbSize)
{
    if (pcbSize != nullptr) {
        *pcbSize = 0;
    }
    if (pszName == nullptr) {
        errno = EINVAL;
        return nullptr;
    }

    std::string path;
    try {
        path = std::string(pszDir != nullptr ? pszDir : "") + pszName;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return nullptr;
    }

    // O_NONBLOCK so that a FIFO planted under the name cannot stall the open; it is refused
    // below like every other file that is not regular.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    FdCloser closer(fd);

    struct stat st;
    if (fstat(fd, &st) != 0) {
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    if (st.st_size <= 0) {
        errno = ENODATA;
        return nullptr;
    }
    if (static_cast<uintmax_t>(st.st_size) > SIZE_MAX) {
        errno = EFBIG;
        return nullptr;
    }
    size_t cb = static_cast<size_t>(st.st_size);

    void* pv = calloc(cb, 1);
    if (pv == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    if (!ReadExactly(fd, static_cast<unsigned char*>(pv), cb)) {
        int saved = errno;
        free(pv);
        errno = saved;
        return nullptr;
    }
    if (pcbSize != nullptr) {
        *pcbSize = cb;
    }
    return pv;
}

void* ReadWholeFile(const char* pszDir, const char* pszName)
{
    return ReadWholeFileSized(pszDir, pszName, nullptr);
}

void FreeIfSet(void* pv)
{
    if (pv != nullptr) {
        free(pv);
    }
}
