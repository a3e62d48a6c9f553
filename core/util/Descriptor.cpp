#include "core/util/Descriptor.h"

#include <cerrno>
#include <unistd.h>

int Dup2Retry(int fd, int fd2)
{
    int rc;
    do {
        rc = dup2(fd, fd2);
    } while (rc == -1 && errno == EINTR);
    return rc;
}

int WriteAll(int fd, const void* pv, size_t cb)
{
    const unsigned char* pb = static_cast<const unsigned char*>(pv);
    while (cb > 0) {
        const ssize_t n = write(fd, pb, cb);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno != 0 ? errno : EIO;
        }
        if (n == 0) {
            return ENOSPC;
        }
        pb += n;
        cb -= static_cast<size_t>(n);
    }
    return 0;
}

ssize_t ReadUpTo(int fd, void* pv, size_t cb)
{
    unsigned char* pb = static_cast<unsigned char*>(pv);
    size_t total = 0;
    while (total < cb) {
        const ssize_t n = read(fd, pb + total, cb - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (n == 0) {
            break;
        }
        total += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(total);
}
