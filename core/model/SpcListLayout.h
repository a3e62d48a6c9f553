// File layouts of the capability lists beyond paper, media and sources: the finishing units and
// modes (27, 34), the installable-option list (37), resolutions (41, 42), the PJL items (65), the
// feature lists (71) and the dependency pairs (95), with the record lengths the cursor steps by.
// The readers take their fields from the same offsets, so stepping and reading cannot disagree.
#pragma once

#include "core/model/SpcBytes.h"

#include <cstdint>

// Word k of a record lies at byte 4k.
constexpr uint64_t SpcWordAt(uint64_t k)
{
    return 4 * k;
}

// Finishing-mode entry of a unit (27) and mode record of the flat table (34): words 0-20, for 34
// a 16-byte short text, then nP paper entries and nS second entries of 4 words each, then P0-P2.
struct SpcFinishModeLayout {
    static constexpr uint64_t kId = 0, kValue = 4, kFlags = 8, kPjlFlags = 12, kWord4 = 16, kText = 20,
                              kTextSize = 32, kWord13 = 52, kWord14 = 56, kWord17 = 68, kWord18 = 72;
    static constexpr uint64_t kShortText = 84, kShortTextSize = 16;  // 34 only
    static constexpr uint64_t kEntrySize = 16;                        // {paper id; flags; word 2; word 3}
    uint64_t papers;   // the nP word
    uint64_t seconds;  // the nS word
    uint64_t tail;     // P0, P1, P2
    uint64_t end;
};
// bShortText: the mode record of capability 34 (four more words before nP).
bool SpcLocateFinishMode(const SpcImage& img, uint64_t off, bool bShortText, SpcFinishModeLayout* pLayout);

// Finishing unit (27): words 0-23, the punch list, the staple list, the finishing-mode list.
struct SpcUnitLayout {
    static constexpr uint64_t kId = 0, kValue = 4, kName = 8, kNameSize = 32, kAvailability = 40, kOptionFlags = 44,
                              kWord12 = 48, kWord13 = 52, kWord14 = 56, kText2 = 60, kPunchPresence = 92,
                              kPunches = 96;
    static constexpr uint64_t kPunchSize = 72;    // 18 words
    static constexpr uint64_t kStapleSize = 92;   // 23 words
    uint64_t staplePresence;
    uint64_t staples;         // the nB word
    uint64_t modeListWord;
    uint64_t modes;           // the nC word
    uint64_t end;
};
bool SpcLocateUnit(const SpcImage& img, uint64_t off, SpcUnitLayout* pLayout);

// Punch entry (18 words) and staple entry (23 words) of a unit.
struct SpcPunchEntry {
    static constexpr uint64_t kId = 0, kValue = 4, kFlags = 8, kPjlFlags = 12, kWord4 = 16, kText = 20,
                              kWord13 = 52;
};
struct SpcStapleEntry {
    static constexpr uint64_t kId = 0, kValue = 4, kFlags = 8, kPjlFlags = 12, kWord4 = 16, kTextA = 20,
                              kTextB = 52, kWord21 = 84, kWord22 = 88;
};

// Resolution entry (42): 16 words, then three counted lists.
struct SpcResolutionLayout {
    static constexpr uint64_t kLists = 64;
};

// PJL item (65): words 0-4 (word 4 = n), then n texts {u32 value key; u32 length L; L bytes}.
struct SpcPjlItemLayout {
    static constexpr uint64_t kTextCount = 16, kTexts = 20;
};

// Feature list record (71): words 0-2, n at word 3, then n pairs {key; value}.
struct SpcFeatureLayout {
    static constexpr uint64_t kPairCount = 12, kPairs = 16;
    // Section: flag words 0-1, the two list counts, list 1 from +16, list 2 behind it.
    static constexpr uint64_t kList1CountAt = 8, kList2CountAt = 12, kList1At = 16;
};

// Record lengths for the cursor; false when the record runs past the image.
bool SpcUnitLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcFinishModeLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcOptionRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcResolutionLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcByteTableLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcPjlItemLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcFeatureLength(const SpcImage& img, uint64_t off, uint64_t* pcb);
bool SpcDependLength(const SpcImage& img, uint64_t off, uint64_t* pcb);

// Where the records of feature list 1 or 2 (the cursor's selector) begin; for another selector
// no list at all (the cursor answers 0 with no current record), 13 when list 1 runs past the image.
DWORD SpcLocateFeatureList(const SpcImage& img, uint64_t section, SHORT sSelector, uint64_t* pCountAt,
                           uint64_t* pFirstAt);
