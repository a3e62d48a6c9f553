// The overlay lock: an empty file that processes of any user lock exclusively while they move
// files out of the temporary overlay directory.
#pragma once

// Creates the parent directories of pszPath (mode 0777) and the lock file (mode 0666) when missing,
// whatever the caller's umask, and waits for an exclusive lock on the whole file.
// The descriptor, or -1 with errno set. A symbolic link at the path is never followed (ELOOP) and
// anything but a regular file is refused (EINVAL).
int OpenLockFile(const char* pszPath);

// Releases the lock and closes the descriptor; nothing for a negative descriptor.
void CloseLockFile(int fd);
