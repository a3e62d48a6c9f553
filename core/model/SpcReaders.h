// The capability readers that SpcQuery dispatches to (all with SpcQuery's signature, reached only
// through it). A list family declares its readers here and adds its rows to SpcDispatch.cpp.
#pragma once

#include "core/model/SpcAnswer.h"

#define SPC_READER(name)                                                                                  \
    DWORD name(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer, DWORD* pcbSize, \
               DWORD* pdwCount)

// Strings (1-6, 10, 11, 14-17) and fixed records (every id without a reader of its own).
SPC_READER(SpcGetString);
SPC_READER(SpcGetFixedRecord);

// Paper, media and source lists.
SPC_READER(SpcGetNamedValues);   // 7
SPC_READER(SpcGetLongNames);     // 18
SPC_READER(SpcGetPaperSize);     // 20
SPC_READER(SpcGetCustomSize);    // 21, 75, 101, 102
SPC_READER(SpcGetMediaType);     // 22
SPC_READER(SpcGetPaperSource);   // 24
SPC_READER(SpcGetDuplex);        // 25
SPC_READER(SpcGetSourceGroup);   // 26
