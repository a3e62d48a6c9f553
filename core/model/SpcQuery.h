// The one query through which every part of the system reads the model data file.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcData.h"
#include "core/model/SpcIds.h"

// Answers capability sCapId (0 to 102) in view lView, for all records (item 0) or for the record
// whose id is sItem, into pvBuffer. Without a buffer it reports the size the answer needs in
// *pcbSize (count 0). Results: 0; 13 damaged or missing image; 50 capability or view not there;
// 87 no size pointer; 122 buffer too small (needed size written); 1168 the item is not listed.
DWORD SpcQuery(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer, DWORD* pcbSize,
               DWORD* pdwCount);

// Asks for the size, then fills a zeroed heap block with the answer; the caller frees it with
// free(). NULL on any failure of either query or of the allocation.
void* SpcQueryAlloc(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, DWORD* pdwCount);
