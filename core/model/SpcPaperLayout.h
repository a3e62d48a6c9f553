// File layouts of the paper, media and source records: where each part of a variable record
// lies. The cursor steps by these lengths and the readers take their fields from these offsets,
// so stepping and reading cannot disagree.
#pragma once

#include "core/model/SpcBytes.h"

#include <cstdint>

// Name block of paper and media records (144 bytes) and of sources (80 bytes).
struct SpcNameBlock {
    static constexpr uint64_t kA = 0, kB = 4, kName1 = 8, kName2 = 40, kC = 72, kD = 76, kName3 = 80, kName4 = 112;
    static constexpr uint64_t kSize = 144;
    static constexpr uint64_t kHalfSize = 72;  // {a, b, name 1, name 2}: the custom-limit records hold this alone
};
struct SpcSourceNameBlock {
    static constexpr uint64_t kA = 0, kB = 4, kName1 = 8, kC = 40, kD = 44, kName2 = 48;
    static constexpr uint64_t kSize = 80;
};

// Paper record (capability 20): fixed words to 84, valued list A, valued list B, name block,
// counted list of word pairs, counted list, three closing words.
struct SpcPaperLayout {
    static constexpr uint64_t kId = 0, kValue2 = 4, kKind = 8, kWidthMm = 12, kLengthMm = 16, kWidthDots = 20,
                              kLengthDots = 24, kMargins = 28, kTurnedMargins = 44, kPassed = 60, kListA = 84;
    uint64_t listA, listB, names, pairs, tail, closing, end;
};
bool SpcLocatePaper(const SpcImage& img, uint64_t record, SpcPaperLayout* pLayout);

// Media record (22): id, value, six words from 8, valued list A at 32, valued list B, name block,
// counted list, three closing words.
struct SpcMediaLayout {
    static constexpr uint64_t kId = 0, kValue = 4, kWords = 8, kListA = 32;
    uint64_t listA, listB, names, tail, closing, end;
};
bool SpcLocateMedia(const SpcImage& img, uint64_t record, SpcMediaLayout* pLayout);

// Source record (24): id, value, six words, valued list A, valued list B, source name block,
// counted list, three words, name 3 and name 4 (char[32] each). A group source entry is the same
// record with one extra word after the value, which moves everything behind it by 4.
struct SpcSourceLayout {
    uint64_t id, value, extra, words, listA, listB, names, tail, closing, names34, end;
};
bool SpcLocateSource(const SpcImage& img, uint64_t record, bool bGroupEntry, SpcSourceLayout* pLayout);

// Source group record (26): group id, kind, two words, char[16] name, counted list, u32 number
// of sources, that many group source entries.
struct SpcGroupLayout {
    static constexpr uint64_t kId = 0, kKind = 4, kWord8 = 8, kWord12 = 12, kName = 16, kNameSize = 16, kTail = 32;
    uint64_t sourceCount, firstEntry, end;
};
bool SpcLocateGroup(const SpcImage& img, uint64_t record, SpcGroupLayout* pLayout);

// Custom paper limits (21, 75, 101, 102), one record: flag, sixteen limits, six words, valued
// list A at 92, valued list B, the name half. Views 4 and 6 read a counted list 72 bytes behind
// the start of the name half, view 5 one 144 bytes behind it.
struct SpcCustomLayout {
    static constexpr uint64_t kFlags = 0, kLimits = 4, kPassed = 68, kListA = 92;
    static constexpr uint64_t kNearListFromHalf = 72, kFarListFromHalf = 144;
    uint64_t listA, listB, half;
};
bool SpcLocateCustom(const SpcImage& img, uint64_t section, SpcCustomLayout* pLayout);

// Record lengths for the cursor.
bool SpcPaperRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcMediaRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcSourceRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcGroupRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
// Long text (18): u32 id, u32 length, the text; the next record 8 + length bytes further.
bool SpcLongTextLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
