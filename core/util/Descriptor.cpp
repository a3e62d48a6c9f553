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
