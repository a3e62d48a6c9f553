// The CUPS file API for plain files and descriptors, used when the bound libcups lacks part of it.
//
// Reads are buffered (lines are read a byte at a time); writes go straight to the descriptor, so
// nothing is lost when a caller never closes the file. Results follow the libcups functions of the
// same names: a read at end of file answers -1, seeking and rewinding are for read mode only, and
// writing refuses to follow a symbolic link or to open a file with more than one link.
#include "core/binding/CupsFallbacks.h"

#include "core/binding/CupsFileState.h"
#include "core/util/Descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

using orv::FallbackFile;

namespace {

FallbackFile* State(cups_file_t* fp)
{
    return reinterpret_cast<FallbackFile*>(fp);
}

cups_file_t* Handle(FallbackFile* file)
{
    return reinterpret_cast<cups_file_t*>(file);
}

// "r", "w" (a compression level may follow and is ignored) or "a" (no level: libcups cannot
// append to a compressed file and refuses it).
bool IsOpenMode(const char* mode)
{
    if (mode[0] == 'a') {
        return !(mode[1] >= '0' && mode[1] <= '9');
    }
    return mode[0] == 'r' || mode[0] == 'w';
}

// Opens a file for writing the way libcups does: never through a symbolic link and never a file
// that has other names. The file is only truncated after those checks, so a refused target keeps
// its contents.
int OpenForWriting(const char* filename, int flags)
{
    int fd = open(filename, flags | O_CREAT | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return -1;
    }
    struct stat opened {};
    struct stat named {};
    if (fstat(fd, &opened) != 0 || lstat(filename, &named) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    if (opened.st_nlink != 1 || S_ISLNK(named.st_mode) || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
        close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

// Refills the read buffer; the number of bytes now buffered, 0 at end of file, -1 on error.
ssize_t Fill(FallbackFile& file)
{
    if (file.eof) {
        return 0;
    }
    ssize_t got;
    do {
        got = read(file.fd, file.buf, sizeof file.buf);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        file.bufLen = 0;
        file.bufIndex = 0;
        file.bufStart = file.pos;
        if (got == 0) {
            file.eof = true;
        }
        return got;
    }
    file.bufStart = file.pos;
    file.bufIndex = 0;
    file.bufLen = static_cast<size_t>(got);
    return got;
}

bool Buffered(const FallbackFile& file)
{
    return file.bufIndex < file.bufLen;
}

void DropBuffer(FallbackFile& file)
{
    file.bufIndex = 0;
    file.bufLen = 0;
}

}  // namespace

namespace orv {

cups_file_t* NewFallbackFile(int fd, char mode)
{
    auto* file = new (std::nothrow) FallbackFile{};
    if (file == nullptr) {
        return nullptr;
    }
    file->fd = fd;
    if (mode == 'a') {
        off_t end = lseek(fd, 0, SEEK_END);
        file->pos = end < 0 ? 0 : end;
        mode = 'w';
    }
    file->mode = mode;
    return Handle(file);
}

}  // namespace orv

extern "C" {

cups_file_t* my_cupsFileOpen(const char* filename, const char* mode)
{
    if (filename == nullptr || mode == nullptr || !IsOpenMode(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    int fd;
    switch (mode[0]) {
    case 'r':
        fd = open(filename, O_RDONLY);
        break;
    case 'w':
        fd = OpenForWriting(filename, O_WRONLY);
        if (fd >= 0 && ftruncate(fd, 0) != 0) {
            close(fd);
            fd = -1;
        }
        break;
    default:  // 'a'
        fd = OpenForWriting(filename, O_RDWR | O_APPEND);
        break;
    }
    if (fd < 0) {
        return nullptr;
    }
    cups_file_t* fp = orv::NewFallbackFile(fd, mode[0]);
    if (fp == nullptr) {
        close(fd);
    }
    return fp;
}

cups_file_t* my_cupsFileOpenFd(int fd, const char* mode)
{
    if (fd < 0 || mode == nullptr || !IsOpenMode(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    return orv::NewFallbackFile(fd, mode[0]);
}

cups_file_t* my_cupsFileStdin(void)
{
    // One process-wide object, as libcups keeps; closing it neither closes descriptor 0 nor frees
    // the object, so every later caller still gets a valid file.
    static FallbackFile* const stdinFile = [] {
        cups_file_t* fp = orv::NewFallbackFile(0, 'r');
        if (fp != nullptr) {
            State(fp)->isStdin = true;
        }
        return State(fp);
    }();
    return Handle(stdinFile);
}

int my_cupsFileClose(cups_file_t* fp)
{
    if (fp == nullptr) {
        return -1;
    }
    FallbackFile* file = State(fp);
    if (file->isStdin) {
        return 0;
    }
    int status = close(file->fd) < 0 ? -1 : 0;
    delete file;
    return status;
}

size_t my_cupsFileGetLine(cups_file_t* fp, char* buf, size_t buflen)
{
    // Room is kept for a CR LF pair and the terminator.
    if (fp == nullptr || buf == nullptr || buflen < 3 || State(fp)->mode != 'r') {
        return 0;
    }
    FallbackFile& file = *State(fp);
    char* out = buf;
    char* const end = buf + buflen - 2;
    while (out < end) {
        if (!Buffered(file) && Fill(file) <= 0) {
            break;
        }
        char ch = file.buf[file.bufIndex++];
        *out++ = ch;
        ++file.pos;
        if (ch == '\r') {
            if (!Buffered(file) && Fill(file) <= 0) {
                break;
            }
            if (file.buf[file.bufIndex] == '\n') {
                *out++ = file.buf[file.bufIndex++];
                ++file.pos;
            }
            break;
        }
        if (ch == '\n') {
            break;
        }
    }
    *out = '\0';
    return static_cast<size_t>(out - buf);
}

ssize_t my_cupsFileRead(cups_file_t* fp, char* buf, size_t bytes)
{
    if (fp == nullptr || buf == nullptr || State(fp)->mode != 'r') {
        return -1;
    }
    if (bytes == 0) {
        return 0;
    }
    FallbackFile& file = *State(fp);
    size_t total = 0;
    while (total < bytes) {
        if (!Buffered(file) && Fill(file) <= 0) {
            break;
        }
        size_t count = file.bufLen - file.bufIndex;
        if (count > bytes - total) {
            count = bytes - total;
        }
        std::memcpy(buf + total, file.buf + file.bufIndex, count);
        file.bufIndex += count;
        file.pos += static_cast<off_t>(count);
        total += count;
    }
    return total > 0 ? static_cast<ssize_t>(total) : -1;
}

ssize_t my_cupsFileWrite(cups_file_t* fp, const char* buf, size_t bytes)
{
    if (fp == nullptr || buf == nullptr || State(fp)->mode != 'w') {
        return -1;
    }
    if (bytes == 0) {
        return 0;
    }
    FallbackFile& file = *State(fp);
    if (int err = WriteAll(file.fd, buf, bytes); err != 0) {
        errno = err;
        return -1;
    }
    file.pos += static_cast<off_t>(bytes);
    return static_cast<ssize_t>(bytes);
}

off_t my_cupsFileTell(cups_file_t* fp)
{
    return fp != nullptr ? State(fp)->pos : 0;
}

off_t my_cupsFileSeek(cups_file_t* fp, off_t pos)
{
    if (fp == nullptr || pos < 0 || State(fp)->mode != 'r') {
        return -1;
    }
    FallbackFile& file = *State(fp);
    file.eof = false;
    // Inside what is buffered: move within the buffer (this also works on pipes).
    if (file.bufLen > 0 && pos >= file.bufStart &&
        pos < file.bufStart + static_cast<off_t>(file.bufLen)) {
        file.bufIndex = static_cast<size_t>(pos - file.bufStart);
        file.pos = pos;
        return pos;
    }
    if (lseek(file.fd, pos, SEEK_SET) < 0) {
        return -1;
    }
    DropBuffer(file);
    file.pos = pos;
    file.bufStart = pos;
    return pos;
}

off_t my_cupsFileRewind(cups_file_t* fp)
{
    if (fp == nullptr || State(fp)->mode != 'r') {
        return -1;
    }
    FallbackFile& file = *State(fp);
    if (lseek(file.fd, 0, SEEK_SET) < 0) {
        return -1;
    }
    DropBuffer(file);
    file.pos = 0;
    file.bufStart = 0;
    file.eof = false;
    return 0;
}

}  // extern "C"
