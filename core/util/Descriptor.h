// File-descriptor helpers.
#pragma once

#include <sys/types.h>

#include <cstddef>

// dup2(fd, fd2), repeated while it fails with EINTR; the last result (fd2, or -1 with errno set).
int Dup2Retry(int fd, int fd2);

// Writes all cb bytes to fd, through short writes and interrupted calls. 0 when every byte went
// out, else the errno of the failing write (ENOSPC when a write made no progress).
int WriteAll(int fd, const void* pv, size_t cb);

// Reads from fd until cb bytes arrived or the file ended, through short reads and interrupted
// calls. The number of bytes read (fewer than cb only at the end of the file), or -1 with errno set
// when a read fails.
ssize_t ReadUpTo(int fd, void* pv, size_t cb);
