#include "filter/SettingsRecord.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The header in front of the record, little-endian: the bytes "DM", the header size 14 as a 32-bit
// word, eight zero bytes. The 1232-byte record follows at once.
constexpr size_t kHeaderMagicAt = 0;
constexpr size_t kHeaderSizeAt = 2;
constexpr size_t kHeaderSize = 14;

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
    BYTE record[kHeaderSize + kDevmodeSize] = {};
    record[kHeaderMagicAt + 0] = 'D';
    record[kHeaderMagicAt + 1] = 'M';
    const DWORD headerSize = kHeaderSize;
    record[kHeaderSizeAt + 0] = static_cast<BYTE>(headerSize);
    record[kHeaderSizeAt + 1] = static_cast<BYTE>(headerSize >> 8);
    record[kHeaderSizeAt + 2] = static_cast<BYTE>(headerSize >> 16);
    record[kHeaderSizeAt + 3] = static_cast<BYTE>(headerSize >> 24);
    std::memcpy(record + kHeaderSize, &pJob->devmode, kDevmodeSize);

    if (fd == STDOUT_FILENO) fflush(stdout);
    return WriteAll(fd, record, sizeof record) ? -1 : 0;
}
