// The libcups function table and its loader.
//
// Neither program links libcups: it is opened at run time from a fixed list of paths and every CUPS
// and PPD call goes through this table. Where the opened library lacks one of the file, array,
// localisation or language entries, the table holds the program's own fallback instead
// (core/binding/CupsFallbacks.h). A table is bound exactly when its handle is set.
#pragma once

#include <cups/cups.h>
#include <cups/ppd.h>

#include <cstddef>

// The PPD entry points are marked deprecated by libcups; naming their types is not a use of them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

struct tagCUPSFUNC {
    void* handle;                                                  // slot 0
    decltype(&::cupsGetDests) cupsGetDests;                        // 1
    decltype(&::cupsSetDests) cupsSetDests;                        // 2
    decltype(&::cupsFreeDests) cupsFreeDests;                      // 3
    decltype(&::cupsGetDest) cupsGetDest;                          // 4
    decltype(&::cupsAddOption) cupsAddOption;                      // 5
    decltype(&::cupsParseOptions) cupsParseOptions;                // 6
    decltype(&::cupsMarkOptions) cupsMarkOptions;                  // 7
    decltype(&::cupsGetOption) cupsGetOption;                      // 8
    decltype(&::cupsFreeOptions) cupsFreeOptions;                  // 9
    decltype(&::cupsGetPPD) cupsGetPPD;                            // 10
    decltype(&::cupsTempFd) cupsTempFd;                            // 11
    decltype(&::cupsTempFile2) cupsTempFile2;                      // 12, file set
    decltype(&::ppdOpenFile) ppdOpenFile;                          // 13
    decltype(&::ppdClose) ppdClose;                                // 14
    decltype(&::ppdMarkDefaults) ppdMarkDefaults;                  // 15
    decltype(&::ppdFindOption) ppdFindOption;                      // 16
    decltype(&::ppdFindChoice) ppdFindChoice;                      // 17
    decltype(&::ppdMarkOption) ppdMarkOption;                      // 18
    decltype(&::ppdFindMarkedChoice) ppdFindMarkedChoice;          // 19
    decltype(&::ppdPageSize) ppdPageSize;                          // 20
    decltype(&::ppdFindAttr) ppdFindAttr;                          // 21
    decltype(&::ppdFindNextAttr) ppdFindNextAttr;                  // 22
    decltype(&::ppdIsMarked) ppdIsMarked;                          // 23
    decltype(&::ppdLocalize) ppdLocalize;                          // 24
    decltype(&::cupsFileClose) cupsFileClose;                      // 25, file set
    decltype(&::cupsFileGetLine) cupsFileGetLine;                  // 26, file set
    decltype(&::cupsFileOpen) cupsFileOpen;                        // 27, file set
    decltype(&::cupsFileOpenFd) cupsFileOpenFd;                    // 28, file set
    decltype(&::cupsFileStdin) cupsFileStdin;                      // 29, file set
    decltype(&::cupsFileWrite) cupsFileWrite;                      // 30, file set
    decltype(&::cupsFileTell) cupsFileTell;                        // 31, file set
    decltype(&::cupsFileRead) cupsFileRead;                        // 32, file set
    decltype(&::cupsFileSeek) cupsFileSeek;                        // 33, file set
    decltype(&::cupsFileRewind) cupsFileRewind;                    // 34, file set
    decltype(&::cupsArrayAdd) cupsArrayAdd;                        // 35, array set
    decltype(&::cupsArrayNew) cupsArrayNew;                        // 36, array set
    decltype(&::cupsArrayCount) cupsArrayCount;                    // 37, array set
    decltype(&::cupsArrayFirst) cupsArrayFirst;                    // 38, array set
    decltype(&::cupsArrayLast) cupsArrayLast;                      // 39, array set
    decltype(&::cupsArrayIndex) cupsArrayIndex;                    // 40, array set
    decltype(&::cupsLangDefault) cupsLangDefault;                  // 41
};

#pragma GCC diagnostic pop

// Number of entry points after the handle.
inline constexpr size_t kCupsFuncSlots = 41;
static_assert(sizeof(tagCUPSFUNC) == (kCupsFuncSlots + 1) * sizeof(void*),
              "tagCUPSFUNC is the handle followed by 41 function pointers");

// Binds libcups from the fixed list of library paths. 0 on success, 1 on failure (table all zero).
// The table may hold anything on entry (zeroed, never initialised, bound before): a library that a
// binder opened into this table is released first, anything else is overwritten unused.
int LoadCupsLibrary(tagCUPSFUNC* cups);

// The same from a given candidate list, tried in order; the first library that opens is the one
// used, even when it then lacks a required entry.
int LoadCupsLibraryFrom(tagCUPSFUNC* cups, const char* const* candidates, size_t count);

// Closes the library when a binder opened it into this very table, and zeroes the table; a table
// whose handle is no such open (garbage, a copy of a bound table) is only zeroed; nothing for NULL
// or a table without a handle.
void UnloadCupsLibrary(tagCUPSFUNC* cups);
