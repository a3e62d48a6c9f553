#include "core/model/SpcQuery.h"

#include "core/model/SpcListReaders.h"
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
    {27, 27, SpcGetFinisher},
    {32, 32, SpcGetList32},
    {33, 33, SpcGetList33},
    {34, 34, SpcGetFinishMode},
    {35, 35, SpcGetList35},
    {36, 36, SpcGetList36},
    {37, 37, SpcGetOptionList},
    {39, 39, SpcGetList39},
    {41, 41, SpcGetResolutionDpi},
    {42, 42, SpcGetResolution},
    {43, 43, SpcGetList43},
    {46, 46, SpcGetList46},
    {47, 47, SpcGetList47},
    {51, 51, SpcGetList51},
    {53, 53, SpcGetList53},
    {55, 55, SpcGetList55},
    {65, 65, SpcGetPjlItems},
    {69, 69, SpcGetList69},
    {70, 70, SpcGetList70},
    {71, 71, SpcGetList71},
    {76, 76, SpcGetList76},
    {80, 94, SpcGetIdList},
    {95, 95, SpcGetDependPairs},
    {99, 99, SpcGetList99},
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
