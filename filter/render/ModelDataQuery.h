// The test seam of the renderer's model data reads: every read goes through a ModelAnswer
// (core/model/ModelAnswer.h), which asks the model data reader's query.
#pragma once

#include "core/WinTypes.h"

struct tagSPCDATA;

// The model data reader's query (size first, then into a buffer) that every ModelAnswer asks.
typedef DWORD (*PFNMODELQUERY)(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, void* buffer,
                               DWORD* size, DWORD* count);

// Tests put a query of their own in place of the reader's and get the previous one back; nullptr
// restores the reader's.
PFNMODELQUERY SetModelDataQueryForTest(PFNMODELQUERY query);
