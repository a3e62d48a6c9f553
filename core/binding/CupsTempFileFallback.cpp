// cupsTempFile2 for the file-set fallbacks: a new, empty file only the caller can read, created in
// TMPDIR (when set and writable) or /tmp and opened for writing.
#include "core/binding/CupsFallbacks.h"

#include "core/binding/CupsFileState.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

const char* TempDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    if (dir != nullptr && dir[0] != '\0' && access(dir, W_OK) == 0) {
        return dir;
    }
    return "/tmp";
}

// Creates the file under a fresh name in filename; the descriptor or -1. The name is never
// truncated: a buffer too short for it fails with ENAMETOOLONG and creates nothing.
int CreateTempFile(char* filename, int len)
{
    const char* dir = TempDirectory();
    constexpr int kTries = 1000;
    for (int tries = 0; tries < kTries; ++tries) {
        timeval now {};
        gettimeofday(&now, nullptr);
        unsigned stamp = static_cast<unsigned>(now.tv_sec + now.tv_usec + tries);
        int need = std::snprintf(filename, static_cast<size_t>(len), "%s/%05x%08x", dir,
                                 static_cast<unsigned>(getpid()), stamp);
        if (need < 0 || need >= len) {
            filename[0] = '\0';
            errno = ENAMETOOLONG;
            return -1;
        }
        int fd = open(filename, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

extern "C" cups_file_t* my_cupsTempFile2(char* filename, int len)
{
    if (filename == nullptr || len < 1) {
        errno = EINVAL;
        return nullptr;
    }
    int fd = CreateTempFile(filename, len);
    if (fd < 0) {
        return nullptr;
    }
    cups_file_t* fp = orv::NewFallbackFile(fd, 'w');
    if (fp == nullptr) {
        close(fd);
        unlink(filename);
    }
    return fp;
}
