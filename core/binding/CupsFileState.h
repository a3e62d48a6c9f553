// What a cups_file_t made by the file-set fallbacks points at (shared by the file and the
// temporary-file fallbacks only).
#pragma once

#include <cups/file.h>
#include <sys/types.h>

#include <cstddef>

namespace orv {

struct FallbackFile {
    int fd;
    char mode;          // 'r' or 'w' ("a" is a 'w' file positioned at the end)
    bool isStdin;       // the process-wide standard-input object
    bool eof;           // a read has met the end of the file
    off_t pos;          // position of the next byte for the caller
    off_t bufStart;     // file position of buf[0]
    size_t bufIndex;    // next unread byte in buf
    size_t bufLen;      // bytes held in buf
    char buf[4096];
};

// A new file object over an open descriptor; 'a' positions it at the end. NULL when out of memory
// (the descriptor is left open).
cups_file_t* NewFallbackFile(int fd, char mode);

}  // namespace orv
