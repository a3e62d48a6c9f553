// The maker's compression library: a shared library named by the queue's PPD (attribute
// OrvalenAttr, keyword LIBJBIG) whose one entry COMPRESS encodes a band. The raster renderer owns
// the entry's parameter block and calls it; this only binds it.
#pragma once

#include <cstddef>

// COMPRESS: one call per band with the renderer's parameter block (defined with the renderer,
// platform/compress/CompressParams.h); 192 means success. The same type as the renderer's PFNCOMPRESS,
// so the bound entry is handed over without a cast.
struct tagCOMPRESSPARAMS;
typedef int (*PFNCOMPRESS)(tagCOMPRESSPARAMS* pParams);

struct tagCOMPRESSFUNC {
    void* handle;
    PFNCOMPRESS COMPRESS;
};

static_assert(sizeof(tagCOMPRESSFUNC) == 2 * sizeof(void*),
              "tagCOMPRESSFUNC is the handle followed by one function pointer");

// Whether a LIBJBIG value may name the library: not empty, at most 250 characters, only
// [A-Za-z0-9._+-], no "/" and no "..". The value comes from the PPD and names code to load, so it
// may only ever pick a file inside the library directory.
bool IsCompressLibraryName(const char* baseName);

// Binds <library dir>/<baseName>.so.1, else <library dir>/<baseName>.so (the library directory is
// kCompressLibDir of core/InstallPaths.h). 0 on success, 1 on failure. With a NULL table or name the
// table is left as it was; otherwise it is unbound first and all zero after a failure, also for a
// name that IsCompressLibraryName refuses. The table may hold anything on entry (zeroed, never
// initialised, bound before): only a library that a binder opened into it is released.
int LoadCompressLibrary(tagCOMPRESSFUNC* compress, const char* baseName);

// The entry the package's own compression library exports to say that COMPRESS may be called from
// several threads at once: `int ORV_COMPRESS_REENTRANT(void)`, answering 1.
inline constexpr char kCompressReentrantEntry[] = "ORV_COMPRESS_REENTRANT";

// Whether the bound library says it may be called from several threads at once. Any other
// library (a maker's, which promises nothing of the kind) is called from one thread only; false
// also for a NULL or unbound table.
bool IsCompressLibraryReentrant(const tagCOMPRESSFUNC* compress);

// Closes the library when a binder opened it into this very table, and zeroes the table; a table
// whose handle is no such open (garbage, a copy of a bound table) is only zeroed; nothing for NULL
// or a table without a handle.
void UnloadCompressLibrary(tagCOMPRESSFUNC* compress);
