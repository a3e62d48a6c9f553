#include "core/model/SpcAnswer.h"

const SpcListView* SpcFindView(const SpcListView* pViews, size_t cViews, LONG lView)
{
    for (size_t i = 0; i < cViews; ++i) {
        if (pViews[i].lView == lView) {
            return &pViews[i];
        }
    }
    return nullptr;
}

DWORD SpcCheckRoom(uint64_t cbNeed, const void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount, bool* pbDone)
{
    *pbDone = true;
    if (cbNeed > UINT32_MAX) {
        // No file that fits the format's 32-bit sizes can honestly ask for this much.
        return ERROR_INVALID_DATA;
    }
    if (pvBuffer == nullptr) {
        *pcbSize = static_cast<DWORD>(cbNeed);
        SpcSetCount(pdwCount, 0);
        return ERROR_SUCCESS;
    }
    if (*pcbSize < cbNeed) {
        *pcbSize = static_cast<DWORD>(cbNeed);
        SpcSetCount(pdwCount, 0);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    *pbDone = false;
    return ERROR_SUCCESS;
}

DWORD SpcAnswerListView(const tagSPCDATA* pData, tagSPCCURSOR& cursor, const SpcListView& view, SHORT sItem,
                        void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount)
{
    SpcImage img = SpcImageOf(pData);
    uint64_t section = img.OffsetOf(cursor.pSection);
    uint64_t records = view.bSectionLevel || sItem != 0 ? 1 : SpcCursorCount(cursor);
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(records * view.cbRecord, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    auto* pbOut = static_cast<BYTE*>(pvBuffer);
    memset(pbOut, 0, static_cast<size_t>(records * view.cbRecord));

    if (view.bSectionLevel) {
        view.pfnFill(SpcRecordRef{img, section, section, cursor.dwVersion}, pbOut);
        if (img.Failed()) {
            SpcSetCount(pdwCount, 0);
            return ERROR_INVALID_DATA;
        }
        SpcSetCount(pdwCount, 1);
        return ERROR_SUCCESS;
    }

    DWORD dwFilled = 0;
    for (const BYTE* pRecord = cursor.pCurrent; pRecord != nullptr; pRecord = SpcCursorNext(pData, &cursor)) {
        uint64_t record = img.OffsetOf(pRecord);
        if (sItem != 0 && SpcLow16(img.Dword(record)) != sItem) {
            continue;
        }
        view.pfnFill(SpcRecordRef{img, section, record, cursor.dwVersion}, pbOut + dwFilled * view.cbRecord);
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

DWORD SpcAnswerList(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer,
                    DWORD* pcbSize, DWORD* pdwCount, const SpcListView* pViews, size_t cViews)
{
    tagSPCCURSOR cursor{};
    DWORD dwResult = SpcCursorFirst(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    const SpcListView* pView = SpcFindView(pViews, cViews, lView);
    if (pView == nullptr) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_SUPPORTED;
    }
    return SpcAnswerListView(pData, cursor, *pView, sItem, pvBuffer, pcbSize, pdwCount);
}

void SpcPutText(const SpcImage& img, uint64_t off, BYTE* pbOut, size_t outOff, size_t cbMax)
{
    if (!img.Contains(off, cbMax)) {
        img.Fail();
        return;
    }
    const BYTE* pb = img.At(off);
    for (size_t i = 0; i < cbMax && pb[i] != 0; ++i) {
        pbOut[outOff + i] = pb[i];
    }
}
