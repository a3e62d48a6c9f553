// The threads this test process has now, counted from /proc: what tests of thread lifetimes
// compare before and after.
#pragma once

#include <dirent.h>

#include <cstddef>

namespace orvtest {

inline size_t ProcessThreads()
{
    size_t count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir)) {
            count += entry->d_name[0] != '.';
        }
        closedir(dir);
    }
    return count;
}

}  // namespace orvtest
