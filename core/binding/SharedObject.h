// Opening shared libraries by path and filling function tables from them.
//
// Every function table of the core (libcups, libgs, libcairo, the compression library) is a plain
// structure: the dlopen handle, then one function pointer per entry point. The helpers here walk a
// candidate list and look symbols up into such a table by slot offset.
#pragma once

#include <cstddef>

// dlopen of the path with immediate binding; the handle, or NULL (also for a NULL path, which would
// otherwise hand back the running program itself).
void* LoadSharedObject(const char* path);

namespace orv {

// One entry point of a function table: its symbol and the byte offset of its slot.
struct SymbolSlot {
    const char* name;
    size_t offset;
};

// Tries the candidates in order with LoadSharedObject; the first handle that opens, or NULL.
// A NULL entry in the list is skipped.
void* OpenFirstCandidate(const char* const* candidates, size_t count);

// Looks every symbol up in the library and stores it (or NULL) in its slot of the table.
// Returns true when all of them were found.
bool BindSymbols(void* handle, void* table, const SymbolSlot* slots, size_t count);

// Whether the function pointer slot at this offset of a table holds something.
bool SlotIsSet(const void* table, size_t offset);

}  // namespace orv
