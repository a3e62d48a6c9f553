#include "core/binding/CupsLibrary.h"

#include "core/binding/CupsFallbacks.h"
#include "core/binding/SharedObject.h"

#include <cstddef>
#include <cstring>
#include <iterator>

namespace {

// Where libcups is looked for, in order.
const char* const kCupsCandidates[] = {
    "/usr/local/lib/libcups.so",
    "/usr/local/lib/libcups.so.2",
    "/usr/lib/libcups.so",
    "/usr/lib/libcups.so.2",
    "/usr/lib/i386-linux-gnu/libcups.so",
    "/usr/lib/i386-linux-gnu/libcups.so.2",
    "/usr/local/lib64/libcups.so",
    "/usr/local/lib64/libcups.so.2",
    "/usr/lib64/libcups.so",
    "/usr/lib64/libcups.so.2",
    "/usr/lib/x86_64-linux-gnu/libcups.so",
    "/usr/lib/x86_64-linux-gnu/libcups.so.2",
    "/usr/lib64/x86_64-linux-gnu/libcups.so",
    "/usr/lib64/x86_64-linux-gnu/libcups.so.2",
};

#define ORV_CUPS_SLOT(name) orv::SymbolSlot{#name, offsetof(tagCUPSFUNC, name)}

// The 41 entries in slot order.
constexpr orv::SymbolSlot kCupsSlots[] = {
    ORV_CUPS_SLOT(cupsGetDests),        ORV_CUPS_SLOT(cupsSetDests),
    ORV_CUPS_SLOT(cupsFreeDests),       ORV_CUPS_SLOT(cupsGetDest),
    ORV_CUPS_SLOT(cupsAddOption),       ORV_CUPS_SLOT(cupsParseOptions),
    ORV_CUPS_SLOT(cupsMarkOptions),     ORV_CUPS_SLOT(cupsGetOption),
    ORV_CUPS_SLOT(cupsFreeOptions),     ORV_CUPS_SLOT(cupsGetPPD),
    ORV_CUPS_SLOT(cupsTempFd),          ORV_CUPS_SLOT(cupsTempFile2),
    ORV_CUPS_SLOT(ppdOpenFile),         ORV_CUPS_SLOT(ppdClose),
    ORV_CUPS_SLOT(ppdMarkDefaults),     ORV_CUPS_SLOT(ppdFindOption),
    ORV_CUPS_SLOT(ppdFindChoice),       ORV_CUPS_SLOT(ppdMarkOption),
    ORV_CUPS_SLOT(ppdFindMarkedChoice), ORV_CUPS_SLOT(ppdPageSize),
    ORV_CUPS_SLOT(ppdFindAttr),         ORV_CUPS_SLOT(ppdFindNextAttr),
    ORV_CUPS_SLOT(ppdIsMarked),         ORV_CUPS_SLOT(ppdLocalize),
    ORV_CUPS_SLOT(cupsFileClose),       ORV_CUPS_SLOT(cupsFileGetLine),
    ORV_CUPS_SLOT(cupsFileOpen),        ORV_CUPS_SLOT(cupsFileOpenFd),
    ORV_CUPS_SLOT(cupsFileStdin),       ORV_CUPS_SLOT(cupsFileWrite),
    ORV_CUPS_SLOT(cupsFileTell),        ORV_CUPS_SLOT(cupsFileRead),
    ORV_CUPS_SLOT(cupsFileSeek),        ORV_CUPS_SLOT(cupsFileRewind),
    ORV_CUPS_SLOT(cupsArrayAdd),        ORV_CUPS_SLOT(cupsArrayNew),
    ORV_CUPS_SLOT(cupsArrayCount),      ORV_CUPS_SLOT(cupsArrayFirst),
    ORV_CUPS_SLOT(cupsArrayLast),       ORV_CUPS_SLOT(cupsArrayIndex),
    ORV_CUPS_SLOT(cupsLangDefault),
};

#undef ORV_CUPS_SLOT

constexpr bool SlotsAreInTableOrder()
{
    for (size_t i = 0; i < std::size(kCupsSlots); ++i) {
        if (kCupsSlots[i].offset != (i + 1) * sizeof(void*)) {
            return false;
        }
    }
    return std::size(kCupsSlots) == kCupsFuncSlots;
}
static_assert(SlotsAreInTableOrder(), "kCupsSlots lists every slot once, in slot order");

bool FileSetComplete(const tagCUPSFUNC& t)
{
    return t.cupsTempFile2 && t.cupsFileClose && t.cupsFileGetLine && t.cupsFileOpen &&
           t.cupsFileOpenFd && t.cupsFileStdin && t.cupsFileWrite && t.cupsFileTell &&
           t.cupsFileRead && t.cupsFileSeek && t.cupsFileRewind;
}

// One implementation must serve the whole file set: a cups_file_t made by one library cannot be
// read by the other, so a partial set is replaced as a whole.
void UseFileFallbacks(tagCUPSFUNC& t)
{
    t.cupsTempFile2 = my_cupsTempFile2;
    t.cupsFileClose = my_cupsFileClose;
    t.cupsFileGetLine = my_cupsFileGetLine;
    t.cupsFileOpen = my_cupsFileOpen;
    t.cupsFileOpenFd = my_cupsFileOpenFd;
    t.cupsFileStdin = my_cupsFileStdin;
    t.cupsFileWrite = my_cupsFileWrite;
    t.cupsFileTell = my_cupsFileTell;
    t.cupsFileRead = my_cupsFileRead;
    t.cupsFileSeek = my_cupsFileSeek;
    t.cupsFileRewind = my_cupsFileRewind;
}

bool ArraySetComplete(const tagCUPSFUNC& t)
{
    return t.cupsArrayAdd && t.cupsArrayNew && t.cupsArrayCount && t.cupsArrayFirst &&
           t.cupsArrayLast && t.cupsArrayIndex;
}

void UseArrayFallbacks(tagCUPSFUNC& t)
{
    t.cupsArrayAdd = my_cupsArrayAdd;
    t.cupsArrayNew = my_cupsArrayNew;
    t.cupsArrayCount = my_cupsArrayCount;
    t.cupsArrayFirst = my_cupsArrayFirst;
    t.cupsArrayLast = my_cupsArrayLast;
    t.cupsArrayIndex = my_cupsArrayIndex;
}

bool AllSlotsSet(const tagCUPSFUNC& t)
{
    for (const orv::SymbolSlot& slot : kCupsSlots) {
        if (!orv::SlotIsSet(&t, slot.offset)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int LoadCupsLibrary(tagCUPSFUNC* cups)
{
    return LoadCupsLibraryFrom(cups, kCupsCandidates, std::size(kCupsCandidates));
}

int LoadCupsLibraryFrom(tagCUPSFUNC* cups, const char* const* candidates, size_t count)
{
    if (cups == nullptr) {
        return 1;
    }
    // The table may be fresh, garbage or bound: a library a binder opened into this table is
    // released (a second bind must not leak the first), anything else is only overwritten.
    UnloadCupsLibrary(cups);
    std::memset(cups, 0, sizeof *cups);

    cups->handle = orv::OpenFirstCandidateFor(cups, candidates, count);
    if (cups->handle == nullptr) {
        return 1;
    }
    orv::BindSymbols(cups->handle, cups, kCupsSlots, std::size(kCupsSlots));
    if (!cups->ppdLocalize) {
        cups->ppdLocalize = my_ppdLocalize;
    }
    if (!FileSetComplete(*cups)) {
        UseFileFallbacks(*cups);
    }
    if (!ArraySetComplete(*cups)) {
        UseArrayFallbacks(*cups);
    }
    if (!cups->cupsLangDefault) {
        cups->cupsLangDefault = my_cupsLangDefault;
    }
    if (!AllSlotsSet(*cups)) {
        UnloadCupsLibrary(cups);
        return 1;
    }
    return 0;
}

void UnloadCupsLibrary(tagCUPSFUNC* cups)
{
    if (cups == nullptr || cups->handle == nullptr) {
        return;
    }
    orv::CloseBoundHandle(cups, cups->handle);
    std::memset(cups, 0, sizeof *cups);
}
