#include "core/binding/SharedObject.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

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

namespace {

// One open made by a binder: the table it was made for and the handle it gave.
struct Binding {
    const void* table;
    void* handle;
};

// The opens made by the binders and not yet closed. Reached through a pointer that is never
// freed, so a table unbound from a static destructor at exit still finds it.
struct Bindings {
    std::mutex lock;
    std::vector<Binding> open;
};

Bindings& Bound()
{
    static Bindings* bound = new Bindings;
    return *bound;
}

// False when the record cannot grow.
bool Record(const void* table, void* handle)
{
    Bindings& bound = Bound();
    std::lock_guard<std::mutex> guard(bound.lock);
    try {
        bound.open.push_back({table, handle});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

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

void* OpenFirstCandidateFor(const void* pTable, const char* const* candidates, size_t count)
{
    void* handle = OpenFirstCandidate(candidates, count);
    if (handle != nullptr && !Record(pTable, handle)) {
        dlclose(handle);
        return nullptr;
    }
    return handle;
}

bool CloseBoundHandle(const void* pTable, void* handle)
{
    if (handle == nullptr) {
        return false;
    }
    Bindings& bound = Bound();
    {
        std::lock_guard<std::mutex> guard(bound.lock);
        auto it = std::find_if(bound.open.begin(), bound.open.end(), [&](const Binding& b) {
            return b.table == pTable && b.handle == handle;
        });
        if (it == bound.open.end()) {
            return false;
        }
        bound.open.erase(it);
    }
    dlclose(handle);
    return true;
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
