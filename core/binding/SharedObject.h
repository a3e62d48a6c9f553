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

// OpenFirstCandidate for a binder filling the function table at pTable: the open is recorded
// under that table, so that CloseBoundHandle can tell it from whatever else a table's handle slot
// may hold. NULL when nothing opens (or the record cannot grow, the library then let go again).
void* OpenFirstCandidateFor(const void* pTable, const char* const* candidates, size_t count);

// Closes the open recorded under this table with this handle and not closed since; true when it
// did. Anything else (NULL, the garbage of a table that was never initialised, a copy of a bound
// table, a table already unbound) is left alone and gives false, so that binding or unbinding a
// table never hands dlclose a handle that this table does not hold. A table is therefore unbound
// through the very table it was bound into, not through a copy.
bool CloseBoundHandle(const void* pTable, void* handle);

// Looks every symbol up in the library and stores it (or NULL) in its slot of the table.
// Returns true when all of them were found.
bool BindSymbols(void* handle, void* table, const SymbolSlot* slots, size_t count);

// Whether the function pointer slot at this offset of a table holds something.
bool SlotIsSet(const void* table, size_t offset);

}  // namespace orv
