#include "filter/SettingsRecord.h"

#include "filter/StreamHeader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool WriteAll(int fd, const BYTE* pb, size_t cb)
{
    while (cb > 0) {
        const ssize_t n = write(fd, pb, cb);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        pb += n;
        cb -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int WriteSettingsRecord(tagJOBINFO* pJob, int fd)
{
    static_assert(sizeof(DRVDEVMODE) == kDevmodeSize, "the record travels as its 1232-byte image");
    if (pJob == nullptr) return 0;

    // One buffer, one write where the pipe allows it: the parent reads header and record as one.
    BYTE record[kStreamHeaderSize + kDevmodeSize] = {};
    std::memcpy(record + kStreamHeaderMagicAt, kStreamHeaderMagic, sizeof kStreamHeaderMagic);
    const DWORD headerSize = kStreamHeaderSize;
    record[kStreamHeaderSizeAt + 0] = static_cast<BYTE>(headerSize);
    record[kStreamHeaderSizeAt + 1] = static_cast<BYTE>(headerSize >> 8);
    record[kStreamHeaderSizeAt + 2] = static_cast<BYTE>(headerSize >> 16);
    record[kStreamHeaderSizeAt + 3] = static_cast<BYTE>(headerSize >> 24);
    std::memcpy(record + kStreamHeaderSize, &pJob->devmode, kDevmodeSize);

    if (fd == STDOUT_FILENO) fflush(stdout);
    return WriteAll(fd, record, sizeof record) ? -1 : 0;
}
