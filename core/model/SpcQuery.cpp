#include "core/model/SpcQuery.h"

#include "core/model/SpcReaders.h"

#include <cstdlib>

namespace {

struct DispatchRow {
    SHORT idFirst;
    SHORT idLast;
    SpcReaderFn pfnReader;
};

// Which reader answers which capability ids; every id without a row is a fixed record (or not
// there at all, which SpcGetFixedRecord answers with 50).
const DispatchRow kDispatch[] = {
    {1, 6, SpcGetString},
    {7, 7, SpcGetNamedValues},
    {10, 11, SpcGetString},
    {14, 17, SpcGetString},
    {18, 18, SpcGetLongNames},
    {20, 20, SpcGetPaperSize},
    {21, 21, SpcGetCustomSize},
    {22, 22, SpcGetMediaType},
    {24, 24, SpcGetPaperSource},
    {25, 25, SpcGetDuplex},
    {26, 26, SpcGetSourceGroup},
    {75, 75, SpcGetCustomSize},
    {101, 102, SpcGetCustomSize},
};

SpcReaderFn FindReader(SHORT sCapId)
{
    for (const DispatchRow& row : kDispatch) {
        if (sCapId >= row.idFirst && sCapId <= row.idLast) {
            return row.pfnReader;
        }
    }
    return SpcGetFixedRecord;
}

}  // namespace

DWORD SpcQuery(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer, DWORD* pcbSize,
               DWORD* pdwCount)
{
    if (pcbSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return FindReader(sCapId)(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount);
}

void* SpcQueryAlloc(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, DWORD* pdwCount)
{
    DWORD cbSize = 0;
    if (SpcQuery(pData, sCapId, sItem, lView, nullptr, &cbSize, pdwCount) != ERROR_SUCCESS) {
        return nullptr;
    }
    void* pvBlock = calloc(1, cbSize);
    if (pvBlock == nullptr) {
        return nullptr;
    }
    if (SpcQuery(pData, sCapId, sItem, lView, pvBlock, &cbSize, pdwCount) != ERROR_SUCCESS) {
        free(pvBlock);
        return nullptr;
    }
    return pvBlock;
}
