#include "core/model/SpcListFill.h"

DWORD SpcAnswerOne(const void* pvAnswer, DWORD cbAnswer, void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount)
{
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(cbAnswer, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    memcpy(pvBuffer, pvAnswer, cbAnswer);
    SpcSetCount(pdwCount, 1);
    return ERROR_SUCCESS;
}
