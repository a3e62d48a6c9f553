// Helpers shared by the binding tests: tables that unbind themselves, slot inspection that does not
// go through the code under test, and a scoped environment variable (support/ScopedEnv.h).
#pragma once

#include "core/binding/CairoLibrary.h"
#include "core/binding/CompressLibrary.h"
#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "support/PinnedLibrary.h"
#include "support/ScopedEnv.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace orvtest {

// Function pointer slots after the handle that hold NULL.
template <class Table>
size_t CountEmptySlots(const Table& table)
{
    size_t empty = 0;
    for (size_t off = sizeof(void*); off < sizeof(Table); off += sizeof(void*)) {
        void* slot = nullptr;
        std::memcpy(&slot, reinterpret_cast<const char*>(&table) + off, sizeof slot);
        empty += slot == nullptr ? 1 : 0;
    }
    return empty;
}

template <class Table>
bool IsAllZero(const Table& table)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&table);
    for (size_t i = 0; i < sizeof(Table); ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

// A zeroed table that is unbound when the test ends, whatever happened.
template <class Table, void (*Unload)(Table*)>
struct ScopedTable : Table {
    ScopedTable() : Table{} {}
    ~ScopedTable() { Unload(this); }
    ScopedTable(const ScopedTable&) = delete;
    ScopedTable& operator=(const ScopedTable&) = delete;
};

using ScopedCups = ScopedTable<tagCUPSFUNC, UnloadCupsLibrary>;
using ScopedGs = ScopedTable<tagGSFUNC, UnloadGhostscriptLibrary>;
using ScopedCairo = ScopedTable<tagCAIROFUNC, UnloadCairoLibrary>;
using ScopedCompress = ScopedTable<tagCOMPRESSFUNC, UnloadCompressLibrary>;

// Whether the library at this path is loaded in the process right now (without loading it).
inline bool IsLoaded(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return false;
    }
    dlclose(handle);
    return true;
}

// What dlsym finds for the name in the bound library.
inline void* Symbol(void* handle, const char* name)
{
    return dlsym(handle, name);
}

// The real libraries that the tests bind, kept mapped (see support/PinnedLibrary.h).
inline void PinRealLibcups() { PinSharedLibrary("libcups.so.2"); }
inline void PinRealLibgs() { PinSharedLibrary("libgs.so.10"); }
inline void PinRealLibcairo() { PinSharedLibrary("libcairo.so.2"); }

}  // namespace orvtest
