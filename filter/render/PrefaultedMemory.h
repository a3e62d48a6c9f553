// Zeroed memory whose pages are mapped when it is allocated, for the large buffers a job writes
// while its threads run (the page bitmap, the band buffers).
#pragma once

#include <cstddef>

// As calloc (nullptr when count * size overflows or memory is short; freed with free), with the
// memory's pages mapped writable at once. Left to fault in one at a time, each page of fresh
// memory is mapped read-only at its first read and faulted again at its first write, interrupting
// every processor that runs the process's threads: measured on a virtual machine, 16 MB faulted in
// so took over ten times as long as mapped here. Without the system call (an older kernel) the
// pages fault in as they are used.
void* CallocPrefaulted(size_t count, size_t size);
