// The Ghostscript (libgs) function table and its loader. The filter renders PostScript in-process
// through these entries; libgs is opened at run time, never linked.
#pragma once

#include <ghostscript/iapi.h>

#include <cstddef>

struct tagGSFUNC {
    void* handle;
    PFN_gsapi_revision gsapi_revision;
    PFN_gsapi_new_instance gsapi_new_instance;
    PFN_gsapi_delete_instance gsapi_delete_instance;
    PFN_gsapi_set_stdio gsapi_set_stdio;
    PFN_gsapi_set_poll gsapi_set_poll;
    PFN_gsapi_set_display_callback gsapi_set_display_callback;
    PFN_gsapi_init_with_args gsapi_init_with_args;
    PFN_gsapi_run_string gsapi_run_string;
    PFN_gsapi_run_string_with_length gsapi_run_string_with_length;
    PFN_gsapi_run_string_begin gsapi_run_string_begin;
    PFN_gsapi_run_string_continue gsapi_run_string_continue;
    PFN_gsapi_run_string_end gsapi_run_string_end;
    PFN_gsapi_exit gsapi_exit;
};

inline constexpr size_t kGsFuncSlots = 13;
static_assert(sizeof(tagGSFUNC) == (kGsFuncSlots + 1) * sizeof(void*),
              "tagGSFUNC is the handle followed by 13 function pointers");

// The revision record that libgs fills; the binding asks for it with exactly this length.
static_assert(sizeof(gsapi_revision_t) == 32, "libgs revision record is 32 bytes");

// Binds libgs from the fixed list of library paths. 0 on success, 1 on failure (table all zero).
// The table may hold anything on entry (zeroed, never initialised, bound before): a library that a
// binder opened into this table is released first, anything else is overwritten unused.
// The library must answer its revision call with 0 before any other entry is looked up.
int LoadGhostscriptLibrary(tagGSFUNC* gs);

// The same from a given candidate list (the first library that opens is the one used).
int LoadGhostscriptLibraryFrom(tagGSFUNC* gs, const char* const* candidates, size_t count);

// Closes the library when a binder opened it into this very table, and zeroes the table; a table
// whose handle is no such open (garbage, a copy of a bound table) is only zeroed; nothing for NULL
// or a table without a handle.
void UnloadGhostscriptLibrary(tagGSFUNC* gs);
