#include "filter/render/PrefaultedMemory.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

void* CallocPrefaulted(size_t count, size_t size)
{
    if (size != 0 && count > SIZE_MAX / size) {
        return nullptr;  // refused here rather than left to the allocator, which a checking build aborts on
    }
    void* memory = std::calloc(count, size);
#ifdef MADV_POPULATE_WRITE
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (memory != nullptr && pageSize > 0) {
        // Only the whole pages inside the block: the allocator's own bytes around it stay as they are.
        const uintptr_t page = static_cast<uintptr_t>(pageSize);
        const uintptr_t start = reinterpret_cast<uintptr_t>(memory);
        const uintptr_t first = (start + page - 1) & ~(page - 1);
        const uintptr_t end = (start + count * size) & ~(page - 1);
        if (end > first) {
            (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
        }
    }
#endif
    return memory;
}
