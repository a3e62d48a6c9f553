// String capabilities: one NUL-terminated string, or for capability 14 one of two.
#include "core/model/SpcReaders.h"

#include <cstring>

SPC_READER(SpcGetString)
{
    tagSPCCURSOR cursor{};
    cursor.sSelector = sCapId == 14 ? static_cast<SHORT>(lView) : 0;
    if (sCapId == 14 && (lView < 0 || lView > 2)) {
        cursor.sSelector = -1;  // no string of 14 for this view: the framing answers 50
    }
    (void)sItem;
    DWORD dwResult = SpcCursorFirst(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (cursor.pCurrent == nullptr) {
        return ERROR_NOT_SUPPORTED;
    }
    // The terminator must lie inside the file: a string that runs to the end is damage.
    SpcImage img = SpcImageOf(pData);
    uint64_t start = img.OffsetOf(cursor.pCurrent);
    const void* pvNul = memchr(cursor.pCurrent, 0, static_cast<size_t>(img.Limit() - start));
    if (pvNul == nullptr) {
        return ERROR_INVALID_DATA;
    }
    uint64_t cbAnswer = static_cast<const BYTE*>(pvNul) - cursor.pCurrent + 1;

    DWORD cbGiven = *pcbSize;
    *pcbSize = static_cast<DWORD>(cbAnswer);
    if (pvBuffer == nullptr) {
        SpcSetCount(pdwCount, 0);
        return ERROR_SUCCESS;
    }
    if (cbGiven < cbAnswer) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    memcpy(pvBuffer, cursor.pCurrent, static_cast<size_t>(cbAnswer));
    SpcSetCount(pdwCount, 1);
    return ERROR_SUCCESS;
}
