// Zeroed allocations with their pages mapped at once: zeroed and writable at every size, refused on
// an overflowing size, and resident before anything touched them.
#include "filter/render/PrefaultedMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The whole pages inside [p, p + bytes) that are resident.
size_t ResidentInnerPages(const void* p, size_t bytes, size_t* inner)
{
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t first = (start + page - 1) & ~(page - 1);
    const uintptr_t end = (start + bytes) & ~(page - 1);
    *inner = end > first ? (end - first) / page : 0;
    if (*inner == 0) {
        return 0;
    }
    std::vector<unsigned char> map(*inner);
    if (mincore(reinterpret_cast<void*>(first), end - first, map.data()) != 0) {
        return 0;
    }
    return static_cast<size_t>(std::count_if(map.begin(), map.end(), [](unsigned char m) { return (m & 1) != 0; }));
}

#ifdef MADV_POPULATE_WRITE
// Whether the running kernel knows the call (older ones refuse it).
bool KernelMapsAhead()
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* p = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        return false;
    }
    const bool known = madvise(p, page, MADV_POPULATE_WRITE) == 0;
    munmap(p, page);
    return known;
}
#endif

TEST(CallocPrefaulted, ZeroedAndWritableAtEverySize)
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const struct {
        size_t count, size;
    } cases[] = {{1, 1}, {page - 1, 1}, {page + 1, 1}, {3, page + 5}, {128, 14208}, {16u << 20, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " x " + std::to_string(c.size));
        auto* p = static_cast<unsigned char*>(CallocPrefaulted(c.count, c.size));
        ASSERT_NE(p, nullptr);
        const size_t bytes = c.count * c.size;
        EXPECT_TRUE(std::all_of(p, p + bytes, [](unsigned char b) { return b == 0; }));
        p[0] = 1;
        p[bytes - 1] = 2;
        std::free(p);
    }
}

TEST(CallocPrefaulted, OverflowingSizeIsRefused)
{
    EXPECT_EQ(CallocPrefaulted(SIZE_MAX / 2 + 2, 2), nullptr);
}

// The point of it: a large block's pages are there before the first write (a plain calloc of the
// same size leaves them unmapped until touched).
TEST(CallocPrefaulted, LargeBlockIsResidentBeforeItIsTouched)
{
#ifdef MADV_POPULATE_WRITE
    if (!KernelMapsAhead()) {
        GTEST_SKIP() << "this kernel cannot map pages ahead";
    }
#endif
    const size_t bytes = 8u << 20;
    void* p = CallocPrefaulted(bytes, 1);
    ASSERT_NE(p, nullptr);
    size_t inner = 0;
    const size_t resident = ResidentInnerPages(p, bytes, &inner);
    std::free(p);
#ifdef MADV_POPULATE_WRITE
    EXPECT_GT(inner, 0u);
    EXPECT_EQ(resident, inner);
#else
    GTEST_SKIP() << "this system cannot map pages ahead";
#endif
}

}  // namespace
