// File-descriptor helpers.
#pragma once

// dup2(fd, fd2), repeated while it fails with EINTR; the last result (fd2, or -1 with errno set).
int Dup2Retry(int fd, int fd2);
