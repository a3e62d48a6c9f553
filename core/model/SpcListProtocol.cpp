#include "core/model/SpcListProtocol.h"

DWORD SpcAnswerFixed(const void* pvAnswer, DWORD cbAnswer, DWORD cbWritten, void* pvBuffer, DWORD* pcbSize,
                     DWORD* pdwCount)
{
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(cbAnswer, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    memcpy(pvBuffer, pvAnswer, cbWritten < cbAnswer ? cbWritten : cbAnswer);
    SpcSetCount(pdwCount, 1);
    return ERROR_SUCCESS;
}

DWORD SpcExpandResult(const SpcExpander& out, SpcExpandEnd end, SHORT sItem, bool bDamaged, DWORD* pcbSize,
                      DWORD* pdwCount)
{
    if (bDamaged) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    bool bNothing = (end == SpcExpandEnd::NotFoundWhenEmpty && out.Total() == 0) ||
                    (end == SpcExpandEnd::NotFoundWhenItemEmpty && sItem != 0 && out.Total() == 0);
    if (!out.HasBuffer()) {
        SpcSetCount(pdwCount, 0);
        if (bNothing) {
            *pcbSize = 0;
            return ERROR_NOT_FOUND;
        }
        if (out.Need() > UINT32_MAX) {
            return ERROR_INVALID_DATA;
        }
        *pcbSize = static_cast<DWORD>(out.Need());
        return ERROR_SUCCESS;
    }
    if (!out.Fits()) {
        if (out.Need() > UINT32_MAX) {
            SpcSetCount(pdwCount, 0);
            return ERROR_INVALID_DATA;
        }
        *pcbSize = static_cast<DWORD>(out.Need());
        SpcSetCount(pdwCount, end == SpcExpandEnd::PartialCount ? out.Written() : 0);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    SpcSetCount(pdwCount, out.Written());
    bool bNoneWritten = (end == SpcExpandEnd::NotFoundWhenNoneWritten || end == SpcExpandEnd::PartialCount) &&
                        out.Written() == 0;
    return bNothing || bNoneWritten ? ERROR_NOT_FOUND : ERROR_SUCCESS;
}
