#include "FailingNothrowNew.h"

#include <new>

namespace {

// The test program is single-threaded while the injector is armed.
long g_countdown = 0;
bool g_fired = false;
std::size_t g_failedSize = 0;

bool FailThisOne(std::size_t size)
{
    if (g_countdown <= 0 || --g_countdown != 0)
        return false;
    g_fired = true;
    g_failedSize = size;
    return true;
}

}  // namespace

namespace allocfail {

void FailNthNothrowAllocation(long n)
{
    g_countdown = n;
    g_fired = false;
    g_failedSize = 0;
}

bool Fired()
{
    return g_fired;
}

std::size_t FailedSize()
{
    return g_failedSize;
}

}  // namespace allocfail

// Served by the throwing forms, so whatever frees these blocks (plain delete) matches what
// allocated them, for the sanitizer's allocator too.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (FailThisOne(size))
        return nullptr;
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (FailThisOne(size))
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
