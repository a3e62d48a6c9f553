// The fill protocols shared by the table lists and the finishing lists.
//
// Protocol A answers one record per selected file record: the size is counted first (record size
// x 1 with an item, else x the count word), the area is cleared and filled in file order.
// Protocol B expands each selected record into one answer per entry of a sub-list: entries are
// counted while they are written, and only those that still fit are written.
#pragma once

#include "core/model/SpcAnswer.h"
#include "core/model/SpcFrame.h"

#include <cstring>

// How protocol A picks its records for a nonzero item.
enum class SpcSelect : BYTE {
    ById,        // word 0, as signed 16 bits, equals the item
    ByPosition,  // the item-th record in file order (1, 2, 3 ...)
};

// How protocol A counts the size it needs.
enum class SpcNeed : BYTE {
    PerItem,    // 1 record with an item, else the count word
    WholeList,  // always the count word, also with an item
};

// Protocol A over a positioned cursor. fill(record offset, answer slot) writes one answer into a
// cleared slot of cbRecord bytes. A read past the image answers 13.
template <class Fill>
DWORD SpcProtocolA(const tagSPCDATA* pData, tagSPCCURSOR& cursor, DWORD cbRecord, SHORT sItem, SpcSelect select,
                   SpcNeed need, void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount, Fill fill)
{
    SpcImage img = SpcImageOf(pData);
    uint64_t records = sItem != 0 && need == SpcNeed::PerItem ? 1 : SpcCursorCount(cursor);
    uint64_t cbNeed = records * cbRecord;
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(cbNeed, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    auto* pbOut = static_cast<BYTE*>(pvBuffer);
    memset(pbOut, 0, static_cast<size_t>(cbNeed));

    DWORD dwFilled = 0;
    LONG lPosition = 0;
    for (const BYTE* pRecord = cursor.pCurrent; pRecord != nullptr; pRecord = SpcCursorNext(pData, &cursor)) {
        uint64_t record = img.OffsetOf(pRecord);
        ++lPosition;
        if (sItem != 0) {
            bool bMatch = select == SpcSelect::ById ? SpcLow16(img.Dword(record)) == sItem : lPosition == sItem;
            if (!bMatch) {
                continue;
            }
        }
        fill(img, record, pbOut + static_cast<size_t>(dwFilled) * cbRecord);
        ++dwFilled;
        if (sItem != 0) {
            break;
        }
    }
    if (img.Failed()) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    SpcSetCount(pdwCount, dwFilled);
    return sItem != 0 && dwFilled == 0 ? ERROR_NOT_FOUND : ERROR_SUCCESS;
}

// One answer built from section words whatever the item is: the size protocol, then the first
// cbWritten bytes of the built answer are copied (a fixed view writes only its own fields).
DWORD SpcAnswerFixed(const void* pvAnswer, DWORD cbAnswer, DWORD cbWritten, void* pvBuffer, DWORD* pcbSize,
                     DWORD* pdwCount);

// Protocol B's running total and its writer: every entry adds to the total; an entry is written
// only while a buffer is given and record size x total still fits in the caller's size.
class SpcExpander {
public:
    SpcExpander(void* pvBuffer, DWORD cbBuffer, DWORD cbRecord, bool bZeroSlot)
        : m_pbOut(static_cast<BYTE*>(pvBuffer)), m_cbBuffer(cbBuffer), m_cbRecord(cbRecord), m_bZeroSlot(bZeroSlot)
    {
    }

    // Counts one entry; the slot to fill, or NULL when it is not written.
    BYTE* Next()
    {
        ++m_total;
        if (m_pbOut == nullptr || m_total * m_cbRecord > m_cbBuffer) {
            return nullptr;
        }
        BYTE* pbSlot = m_pbOut + (m_total - 1) * m_cbRecord;
        if (m_bZeroSlot) {
            memset(pbSlot, 0, m_cbRecord);
        }
        ++m_written;
        return pbSlot;
    }

    uint64_t Total() const { return m_total; }
    uint64_t Need() const { return m_total * m_cbRecord; }
    DWORD Written() const { return static_cast<DWORD>(m_written); }
    bool HasBuffer() const { return m_pbOut != nullptr; }
    bool Fits() const { return Need() <= m_cbBuffer; }

private:
    BYTE* m_pbOut;
    uint64_t m_cbBuffer;
    uint64_t m_cbRecord;
    bool m_bZeroSlot;
    uint64_t m_total = 0;
    uint64_t m_written = 0;
};

// How protocol B ends when nothing came out, and what a short buffer leaves in the count.
enum class SpcExpandEnd : BYTE {
    NotFoundWhenEmpty,        // 1168 when the total is 0, on the size call too (27)
    NotFoundWhenItemEmpty,    // 1168 when an item was asked for and the total is 0 (95)
    NotFoundWhenNoneWritten,  // 1168 when a buffer was given and nothing was written (65 view 4)
    PartialCount,             // as NotFoundWhenNoneWritten, and a short buffer reports what fitted (34)
    NeverNotFound,            // 37
};

// Protocol B's end: the size on a size call, 122 on a short buffer, the count, and 1168 by the
// member's rule. bDamaged: a read ran past the image (13).
DWORD SpcExpandResult(const SpcExpander& out, SpcExpandEnd end, SHORT sItem, bool bDamaged, DWORD* pcbSize,
                      DWORD* pdwCount);
