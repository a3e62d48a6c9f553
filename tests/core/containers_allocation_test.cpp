#include "core/containers/DWordArray.h"
#include "core/containers/MapWordToOb.h"
#include "core/containers/MapWordToPtr.h"
#include "core/containers/ObArray.h"
#include "core/containers/WordArray.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ORV_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORV_TEST_UNDER_ASAN 1
#endif
#endif

namespace {

// Address space of this process now, in bytes (0 when it cannot be read).
unsigned long long CurrentAddressSpace()
{
    FILE* status = fopen("/proc/self/status", "r");
    if (status == nullptr)
        return 0;
    unsigned long long kib = 0;
    char line[256];
    while (fgets(line, sizeof line, status) != nullptr) {
        if (sscanf(line, "VmSize: %llu kB", &kib) == 1)
            break;
    }
    fclose(status);
    return kib * 1024;
}

// The containers one case works on; the map's block size makes its first block 3 GiB.
struct Containers {
    CWordArray words;
    CDWordArray dwords;
    CObArray objects;
    CObject object;
    CMapWordToPtr hugeBlocks{1 << 27};
    CMapWordToOb objectMap;
};

struct Case {
    const char* what;
    std::function<void(Containers&)> prepare;
    std::function<void(Containers&)> request;  // asks for 2 GiB or more
    std::function<bool(Containers&)> unchanged;
};

// Runs in the death-test child: prepares, caps the address space 256 MiB above what is in use,
// makes the request, and exits 0 only when it threw std::bad_alloc and left the container as
// it was.
void RunInChild(const Case& c)
{
    Containers containers;
    c.prepare(containers);
    const unsigned long long used = CurrentAddressSpace();
    if (used == 0)
        std::_Exit(3);
    const rlimit limit{used + (256ull << 20), used + (256ull << 20)};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        std::_Exit(4);
    try {
        c.request(containers);
    } catch (const std::bad_alloc&) {
        std::_Exit(c.unchanged(containers) ? 0 : 5);
    } catch (...) {
        std::_Exit(2);
    }
    std::_Exit(1);
}

TEST(ContainersAllocationDeathTest, FailedAllocationThrowsBadAllocAndChangesNothing)
{
#ifdef ORV_TEST_UNDER_ASAN
    GTEST_SKIP() << "the address sanitizer aborts on a failed allocation instead of failing it";
#endif
    const auto nothing = [](Containers&) {};
    const Case cases[] = {
        {"CWordArray first allocation", nothing,
         [](Containers& c) { c.words.SetSize(1 << 30); },
         [](Containers& c) { return c.words.GetSize() == 0; }},
        {"CWordArray growth",
         [](Containers& c) {
             c.words.Add(1);
             c.words.Add(2);
         },
         [](Containers& c) { c.words.SetSize(1 << 30); },
         [](Containers& c) { return c.words.GetSize() == 2 && c.words[0] == 1 && c.words[1] == 2; }},
        {"CDWordArray growth",
         [](Containers& c) {
             c.dwords.Add(0x10001);
             c.dwords.Add(0x20002);
         },
         [](Containers& c) { c.dwords.SetSize(1 << 29); },
         [](Containers& c) { return c.dwords.GetSize() == 2 && c.dwords[0] == 0x10001 && c.dwords[1] == 0x20002; }},
        {"CObArray growth kept its grow-by",
         [](Containers& c) {
             c.objects.SetSize(1, 0);
             c.objects[0] = &c.object;
         },
         [](Containers& c) { c.objects.SetSize(1 << 28, 1 << 28); },
         [](Containers& c) {
             // Still grow-by 0: growing by one takes the automatic step, not 2^28.
             if (c.objects.GetSize() != 1 || c.objects[0] != &c.object)
                 return false;
             c.objects.Add(nullptr);
             return c.objects.GetSize() == 2;
         }},
        {"association block", nothing,
         [](Containers& c) { c.hugeBlocks[1] = nullptr; },
         [](Containers& c) { return c.hugeBlocks.GetCount() == 0 && c.hugeBlocks.GetStartPosition() == nullptr; }},
        {"bucket table",
         [](Containers& c) { c.objectMap.SetAt(0x0012, &c.object); },
         [](Containers& c) { c.objectMap.InitHashTable(1u << 28, true); },
         [](Containers& c) {
             CObject* value = nullptr;
             return c.objectMap.Lookup(0x0012, value) != 0 && value == &c.object;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(RunInChild(c), ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
