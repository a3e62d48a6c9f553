#include "core/binding/SharedObject.h"

#include <dlfcn.h>

#include <cstring>

// The tables store what dlsym returns in function pointer slots; POSIX guarantees that a data
// pointer from dlsym converts to a function pointer of the same size and representation.
using AnyFunction = void (*)();
static_assert(sizeof(AnyFunction) == sizeof(void*), "function and data pointers differ in size");

void* LoadSharedObject(const char* path)
{
    if (path == nullptr) {
        return nullptr;
    }
    return dlopen(path, RTLD_NOW);
}

namespace orv {

void* OpenFirstCandidate(const char* const* candidates, size_t count)
{
    if (candidates == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; i < count; ++i) {
        if (candidates[i] == nullptr) {
            continue;
        }
        if (void* handle = LoadSharedObject(candidates[i])) {
            return handle;
        }
    }
    return nullptr;
}

bool BindSymbols(void* handle, void* table, const SymbolSlot* slots, size_t count)
{
    bool all = true;
    for (size_t i = 0; i < count; ++i) {
        void* symbol = dlsym(handle, slots[i].name);
        std::memcpy(static_cast<char*>(table) + slots[i].offset, &symbol, sizeof symbol);
        all = all && symbol != nullptr;
    }
    return all;
}

bool SlotIsSet(const void* table, size_t offset)
{
    void* slot = nullptr;
    std::memcpy(&slot, static_cast<const char*>(table) + offset, sizeof slot);
    return slot != nullptr;
}

}  // namespace orv
