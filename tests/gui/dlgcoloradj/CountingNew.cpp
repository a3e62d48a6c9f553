#include "CountingNew.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ORV_COUNTING_NEW 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORV_COUNTING_NEW 0
#endif
#endif
#ifndef ORV_COUNTING_NEW
#define ORV_COUNTING_NEW 1
#endif

namespace {
long g_allocations = 0;
}  // namespace

namespace allocount {

bool Counting()
{
    return ORV_COUNTING_NEW != 0;
}

long Allocations()
{
    return g_allocations;
}

}  // namespace allocount

#if ORV_COUNTING_NEW
// Every form that allocates goes through malloc and every form that frees through free, so the
// pairs match whichever form a library uses.
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++g_allocations;
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return ::operator new(size, tag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
#endif
