// The size-first answer protocol shared by the capability readers.
//
// A caller asks once without a buffer to learn the size, then again with a buffer of that size.
// Answers are host-order records of a fixed size per (capability, view), written one after
// another into the caller's buffer.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcFrame.h"

#include <cstdint>
#include <cstring>

// Signature of every capability reader and of SpcQuery.
typedef DWORD (*SpcReaderFn)(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer,
                             DWORD* pcbSize, DWORD* pdwCount);

// What a record filler sees: the image, the section and the record being answered.
struct SpcRecordRef {
    const SpcImage& img;
    uint64_t section;  // offset of the section
    uint64_t record;   // offset of the record
    DWORD dwVersion;   // the header's whole version word
};

// Builds one answer record (cbRecord bytes, already zero) from a file record.
typedef void (*SpcFillFn)(const SpcRecordRef& ref, BYTE* pbOut);

// One view of a list reader: its answer record size and filler.
struct SpcListView {
    LONG lView;
    DWORD cbRecord;
    SpcFillFn pfnFill;
    bool bSectionLevel;  // one answer from the section whatever the item is
};

inline void SpcSetCount(DWORD* pdwCount, DWORD dwCount)
{
    if (pdwCount != nullptr) {
        *pdwCount = dwCount;
    }
}

// The view's row in a reader's table, or NULL.
const SpcListView* SpcFindView(const SpcListView* pViews, size_t cViews, LONG lView);

// Answers one list view on a positioned cursor: records wanted = 1 with an item (else the count
// word), or one answer for a section-level view; no buffer: the size; a short buffer: 122 with the
// size; else the area is cleared and filled, the count set, and 1168 when an item matches nothing.
DWORD SpcAnswerListView(const tagSPCDATA* pData, tagSPCCURSOR& cursor, const SpcListView& view, SHORT sItem,
                        void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount);

// The common list reader: positions the cursor (its failure is the answer, size and count
// untouched), looks up the view (unknown: 50, count 0) and answers it.
DWORD SpcAnswerList(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer,
                    DWORD* pcbSize, DWORD* pdwCount, const SpcListView* pViews, size_t cViews);

// Size check of the protocol for an answer of cbNeed bytes: 0 when the caller gave a buffer that
// holds it, else the answer to return (size and count already written).
DWORD SpcCheckRoom(uint64_t cbNeed, const void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount, bool* pbDone);

// Host-order answer fields, written at a byte offset of a (possibly unaligned) answer record.
inline void SpcPutI16(BYTE* pbOut, size_t off, DWORD dwFileWord)
{
    SHORT s = SpcLow16(dwFileWord);
    memcpy(pbOut + off, &s, sizeof s);
}
inline void SpcPutU32(BYTE* pbOut, size_t off, DWORD dw)
{
    memcpy(pbOut + off, &dw, sizeof dw);
}
// Copies up to cbMax bytes of a fixed char array of the file, stopping at its first zero byte;
// adds no terminator of its own (a name that fills its field has none in the answer).
void SpcPutText(const SpcImage& img, uint64_t off, BYTE* pbOut, size_t outOff, size_t cbMax);
