// The model data reader's query as the renderer calls it: the size-first protocol (without a
// buffer it reports the byte size and record count of the answer). The model data reader
// defines it.
#pragma once

#include "core/WinTypes.h"

struct tagSPCDATA;

DWORD SpcQuery(tagSPCDATA* data, SHORT capability, SHORT item, LONG view, void* buffer, DWORD* size,
               DWORD* count);
