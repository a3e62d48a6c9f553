// The renderer's only way into the model data file.
#pragma once

#include "core/WinTypes.h"

struct tagRENDEROPTIONS;
struct tagSPCDATA;

// A zeroed copy of the records of (capability, item, view) that the caller frees with free(), or
// nullptr when the option block has no model data or the model does not answer (any result code
// other than 0, a size of 0 or a count of 0). The record count goes to `count` and the byte size
// to `size` when they are given; readers check the size before they read a field.
BYTE* QueryModelData(WORD capability, WORD item, DWORD view, DWORD* count, const tagRENDEROPTIONS* options,
                     DWORD* size = nullptr);

// Little-endian fields of an answer, read only when the answer holds them.
bool ModelDataWord(const BYTE* record, DWORD size, DWORD offset, WORD* value);
bool ModelDataDword(const BYTE* record, DWORD size, DWORD offset, DWORD* value);

// The model data reader's query (size first, then into a buffer) that QueryModelData asks, unless
// the option block names another (tests answer for a model of their own through it).
typedef DWORD (*PFNMODELQUERY)(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, void* buffer,
                               DWORD* size, DWORD* count);
