#include "core/model/SpcFrame.h"
#include "core/model/SpcFraming.h"

namespace {

// Length of the record at off by the row's rule; false when it does not lie inside the image.
bool RecordLength(const SpcFramingRow& row, const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    uint64_t cb = row.cbRecord;
    if (row.pfnLength != nullptr && !row.pfnLength(img, off, &cb)) {
        return false;
    }
    *pcb = cb;
    return cb > 0 && img.Contains(off, cb);
}

}  // namespace

DWORD SpcCursorFirst(const tagSPCDATA* pData, SHORT sCapId, tagSPCCURSOR* pCursor)
{
    SHORT sSelector = pCursor->sSelector;
    *pCursor = tagSPCCURSOR{};
    pCursor->sSelector = sSelector;

    const BYTE* pSection = nullptr;
    DWORD dwResult = SpcFindSection(pData, sCapId, &pSection);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    pCursor->dwVersion = SpcVersionWord(pData);
    pCursor->sCapId = sCapId;
    pCursor->pSection = pSection;

    const SpcFramingRow* pRow = SpcFindFraming(sCapId);
    if (pRow == nullptr || pRow->kind == SpcFrameKind::Refused) {
        return ERROR_NOT_SUPPORTED;
    }
    if (pRow->kind == SpcFrameKind::NoRecords) {
        return ERROR_SUCCESS;
    }

    SpcImage img = SpcImageOf(pData);
    uint64_t section = img.OffsetOf(pSection);
    uint64_t countAt = pRow->countAt;
    uint64_t firstAt = pRow->firstAt;
    if (pRow->pfnLocate != nullptr) {
        dwResult = pRow->pfnLocate(img, section, sSelector, &countAt, &firstAt);
        if (dwResult == SPC_LOCATE_NO_RECORDS) {
            return ERROR_SUCCESS;
        }
        if (dwResult != ERROR_SUCCESS) {
            return dwResult;
        }
    }

    if (pRow->kind == SpcFrameKind::String) {
        if (!img.Contains(section + firstAt, 0)) {
            return ERROR_INVALID_DATA;
        }
        pCursor->pCurrent = img.At(section + firstAt);
        return ERROR_SUCCESS;
    }

    DWORD dwCount = img.Dword(section + countAt);
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    if (static_cast<LONG>(dwCount) <= 0) {
        return pRow->bEmptyAllowed ? ERROR_SUCCESS : ERROR_NOT_SUPPORTED;
    }
    // Every record the count announces must lie inside the file, so that the readers can trust
    // the count; a record is at least a word long, which bounds the walk by the file size.
    uint64_t first = section + firstAt;
    if (!img.Contains(first, 0) || static_cast<uint64_t>(dwCount) > (img.Limit() - first) / 4) {
        return ERROR_INVALID_DATA;
    }
    uint64_t off = first;
    for (DWORD i = 0; i < dwCount; ++i) {
        uint64_t cb = 0;
        if (!RecordLength(*pRow, img, off, &cb)) {
            return ERROR_INVALID_DATA;
        }
        off += cb;
    }
    pCursor->pCurrent = img.At(first);
    pCursor->dwLeft = dwCount - 1;
    return ERROR_SUCCESS;
}

const BYTE* SpcCursorNext(const tagSPCDATA* pData, tagSPCCURSOR* pCursor)
{
    const SpcFramingRow* pRow = SpcFindFraming(pCursor->sCapId);
    if (pCursor->pCurrent == nullptr || pCursor->dwLeft == 0 || pRow == nullptr || pRow->kind != SpcFrameKind::List) {
        pCursor->pCurrent = nullptr;
        return nullptr;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t off = img.OffsetOf(pCursor->pCurrent);
    uint64_t cb = 0;
    if (!RecordLength(*pRow, img, off, &cb)) {
        pCursor->pCurrent = nullptr;
        return nullptr;
    }
    pCursor->dwLeft--;
    pCursor->pCurrent = img.At(off + cb);
    return pCursor->pCurrent;
}
