// The frame of the model data file: header, section table, section lookup, the cursor over one
// list section and the counted-list readers. Capability readers are built on these.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcBytes.h"
#include "core/model/SpcData.h"

#include <cstdint>

// Header tagSPCHEADER at file offset 0, read by these named offsets (all u32).
struct tagSPCHEADER {
    static constexpr uint64_t kMagicAt = 0;
    static constexpr uint64_t kFileSizeAt = 4;    // every section offset must be below it
    static constexpr uint64_t kTableEndAt = 8;    // an entry at or beyond it does not exist
    static constexpr uint64_t kTableStartAt = 12;
    static constexpr uint64_t kVersionAt = 20;    // high 16 bits: format version
    static constexpr uint64_t kSize = 56;         // words at 16, 24, 48, 52 and 20 bytes at 28 not read
};

inline constexpr DWORD SPC_MAGIC = 0x50534350;  // the bytes "PCSP"
inline constexpr WORD SPC_VERSION_MIN = 312;
inline constexpr WORD SPC_VERSION_MAX = 316;

// Bit 0 of the flag word that starts nearly every fixed record: the model has the feature.
inline constexpr DWORD SPC_FLAG_SUPPORTED = 0x1;

// Section lookup: 0 with *ppSection on the capability's section, 13 for a missing or damaged
// image (header, table or entry outside the file), 50 when the model lacks the capability.
DWORD SpcFindSection(const tagSPCDATA* pData, SHORT sCapId, const BYTE** ppSection);

// The readable extent of an image whose header SpcFindSection has accepted: the header's file size.
// Every section is read within it. The format stores no section lengths and sections may share
// bytes (a list whose count reaches into the next section, a record followed directly by
// another section), so the file's end is the only bound a read has.
SpcImage SpcImageOf(const tagSPCDATA* pData);

// The whole version word (high 16 bits: format version) of an accepted image.
DWORD SpcVersionWord(const tagSPCDATA* pData);
inline WORD SpcFormatVersion(DWORD dwVersionWord)
{
    return static_cast<WORD>(dwVersionWord >> 16);
}

// Cursor over one list section, on the caller's stack for one answer.
struct tagSPCCURSOR {
    DWORD dwVersion;       // the header's whole version word
    const BYTE* pSection;
    const BYTE* pCurrent;  // NULL when there is no current record
    DWORD dwLeft;          // records left after the current one
    SHORT sCapId;
    SHORT sSelector;       // set by the reader before positioning (view of 14, list number of 71)
};

// Positions the cursor on the first record of the capability's list (for string capabilities:
// on the string). Keeps the selector, clears everything else. 0 also for an empty list of the
// capabilities that allow one, and for capabilities without records (no current record then).
// Every record the count announces is checked to lie inside the file: 13 when one does not.
DWORD SpcCursorFirst(const tagSPCDATA* pData, SHORT sCapId, tagSPCCURSOR* pCursor);

// Steps to the next record; NULL (and no current record) when none is left.
const BYTE* SpcCursorNext(const tagSPCDATA* pData, tagSPCCURSOR* pCursor);

// Number of records of the list the cursor was positioned on (its count word, 0 when empty).
inline DWORD SpcCursorCount(const tagSPCCURSOR& cursor)
{
    return cursor.pCurrent == nullptr ? 0 : cursor.dwLeft + 1;
}

// Counted word list at off: u32 n, then n words. Stores min(n, max) (n taken unsigned, so a huge
// or "negative" count is clamped, never trusted) and the low 16 bits of that many words; with a
// count pointer alone the count is n itself. Answers the offset behind all n words; a list that
// runs past the image fails the image reader.
uint64_t SpcReadWordList(const SpcImage& img, uint64_t off, SHORT* psCount, SHORT* psValues, SHORT sMax);

// Counted list of fixed-size entries at off: u32 n, then n entries of cbEntry bytes. Reads one
// field per entry at byte position cbField (width code 1: a byte, 2: a 16-bit value, else a
// word, low 16 bits kept); count and clamping as SpcReadWordList. Answers off + 4 + n * cbEntry.
uint64_t SpcReadFieldList(const SpcImage& img, uint64_t off, SHORT cbEntry, SHORT cbField, SHORT sWidth,
                          SHORT* psCount, SHORT* psValues, SHORT sMax);
