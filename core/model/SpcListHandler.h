// The common start and small helpers of the list handlers: positioning the cursor, refusing an
// undefined view and answering a fixed view built from section words.
#pragma once

#include "core/model/SpcListFill.h"
#include "core/model/SpcListProtocol.h"

// The low 16 bits of the file word at off, unsigned.
inline WORD SpcU16(const SpcImage& img, uint64_t off)
{
    return static_cast<WORD>(img.Dword(off) & 0xFFFF);
}

// A view the capability does not define: 50, count 0.
inline DWORD SpcUnsupportedView(DWORD* pdwCount)
{
    SpcSetCount(pdwCount, 0);
    return ERROR_NOT_SUPPORTED;
}

// Positions a fresh cursor (with the given selector) on the capability's list; nonzero: the
// answer, with size and count untouched.
inline DWORD SpcStartList(const tagSPCDATA* pData, SHORT sCapId, tagSPCCURSOR* pCursor, SHORT sSelector = 0)
{
    *pCursor = tagSPCCURSOR{};
    pCursor->sSelector = sSelector;
    return SpcCursorFirst(pData, sCapId, pCursor);
}

// Offset of the positioned section. Handlers read through SpcImageOf, which ends at the file's
// end: a record or list may reach into the bytes of another section, one that runs past the file
// answers 13.
inline uint64_t SpcSectionOf(const tagSPCDATA* pData, const tagSPCCURSOR& cursor)
{
    return SpcImageOf(pData).OffsetOf(cursor.pSection);
}

// A fixed view: the answer built from section words, then the size protocol; only the first
// cbWritten bytes are written. A read past the image answers 13.
template <class T>
DWORD SpcAnswerFixedView(const SpcImage& img, const T& answer, void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount,
                         DWORD cbWritten = sizeof(T))
{
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    return SpcAnswerFixed(&answer, sizeof answer, cbWritten, pvBuffer, pcbSize, pdwCount);
}

// The count word of a list that may be empty, as a number of records (0 when not positive).
inline uint64_t SpcRecordsOf(const SpcImage& img, uint64_t countAt)
{
    LONG lCount = static_cast<LONG>(img.Dword(countAt));
    return lCount > 0 ? static_cast<uint64_t>(lCount) : 0;
}
