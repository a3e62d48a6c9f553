// The model answers that the rule builders read and that no other part of the core has a record
// for: the one-record capabilities of layouts, sorting, covers and print modes, and the
// finisher's link record. Each is the answer of one (capability, view) as the model data reader
// hands it out; layouts are pinned by the asserts.
//
// RuleRecords<T> and ReadRuleRecord<T> read an answer through the printer-information object, so
// a record is used only when the answer holds it whole.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstring>
#include <vector>

// 28 view 1: pages per sheet.
struct tagNUPINFO {
    DWORD dwFlags;          // bit 2: reverse order not allowed with pages per sheet
};
SPC_ANSWER_LAYOUT(tagNUPINFO, 4);

// 29 view 1: booklet.
struct tagBOOKLETINFO {
    DWORD dwFlags;          // bit 0 offered, bit 3 reverse order not allowed in booklets
    DWORD dwSortBits;       // the sort values a booklet allows
    DWORD dwConditions;     // bit 0: a booklet is printed short-edge (duplex 3), else long-edge (2)
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagBOOKLETINFO, 16);
SPC_ANSWER_AT(tagBOOKLETINFO, dwConditions, 8);

// 38 view 1: driver copies and collation.
struct tagCOPYFEATURES {
    DWORD dwFlags;          // bit 2: driver copies selectable; bit 3: driver copies need collation
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagCOPYFEATURES, 8);

// 50 view 2: reverse output order.
struct tagREVERSEORDERINFO {
    DWORD dwFlags;
    DWORD dwDefault;
};
SPC_ANSWER_LAYOUT(tagREVERSEORDERINFO, 8);

// 56 view 1: blank pages.
struct tagBLANKPAGEINFO {
    DWORD dwFlags;
    SHORT sWord4;           // bit 0: blank pages are printed by default
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagBLANKPAGEINFO, 8);
SPC_ANSWER_AT(tagBLANKPAGEINFO, sWord4, 4);

// 57 view 2: covers.
struct tagCOVERINFO {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwFrontFlags;     // bit 9: driver copies not allowed with a front cover
    DWORD dwWord12;
    DWORD dwBackFlags;      // bit 9: the same with a back cover
};
SPC_ANSWER_LAYOUT(tagCOVERINFO, 20);
SPC_ANSWER_AT(tagCOVERINFO, dwFrontFlags, 8);
SPC_ANSWER_AT(tagCOVERINFO, dwBackFlags, 16);

// 64 view 2: sorting.
struct tagSORTINFO {
    DWORD dwSortBits;
    DWORD dwDefault;
};
SPC_ANSWER_LAYOUT(tagSORTINFO, 8);

// 66 view 1: all text in black; 67 view 1: poster.
struct tagFLAGWORD {
    DWORD dwFlags;
};
SPC_ANSWER_LAYOUT(tagFLAGWORD, 4);

// 77 view 1: the print modes offered and what each forbids.
struct tagPRINTMODEINFO {
    DWORD dwFlags;          // bit 0 vector mode offered, bit 1 raster mode offered
    DWORD dwMaskMode0;      // for dmOption342 = 0: bit 1 item 36 not allowed, bit 2 toner save not allowed
    DWORD dwMaskMode1;      // the same for dmOption342 = 1
};
SPC_ANSWER_LAYOUT(tagPRINTMODEINFO, 12);

// 42 view 2 and the default views of 22 and 24: one 16-bit word.
struct tagDEFAULTWORD {
    SHORT sValue;
};
SPC_ANSWER_LAYOUT(tagDEFAULTWORD, 2);

// 47 view 6: the default halftone and its companion word.
struct tagHALFTONEDEFAULT {
    SHORT sDefault;
    SHORT sWord;
};
SPC_ANSWER_LAYOUT(tagHALFTONEDEFAULT, 4);

// The whole records of one (capability, view), all items, copied out of the answer.
template <typename T>
std::vector<T> RuleRecords(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, SHORT sItem = 0)
{
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    DWORD dwCount = 0;
    const T* pRecords = info.Records<T>(&dwCount);
    std::vector<T> records(dwCount);
    if (dwCount != 0) {
        memcpy(records.data(), pRecords, dwCount * sizeof(T));
    }
    return records;
}

// The first record of one (capability, view); false (and *pOut zeroed) without one.
template <typename T>
bool ReadRuleRecord(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, T* pOut, SHORT sItem = 0)
{
    memset(pOut, 0, sizeof(T));
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    const T* pFirst = info.First<T>();
    if (pFirst == nullptr) {
        return false;
    }
    memcpy(pOut, pFirst, sizeof(T));
    return true;
}

// A counted list of a model record, its count held to the slots the record has (a negative count
// holds nothing).
inline DWORD ListCount(SHORT sCount, DWORD dwSlots)
{
    if (sCount <= 0) {
        return 0;
    }
    return static_cast<DWORD>(sCount) < dwSlots ? static_cast<DWORD>(sCount) : dwSlots;
}
