// Working memory of the fast screening, kept in the renderer context from band to band so that
// screening a band allocates nothing: it grows only for a band wider than any before it, and is
// freed with the context.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

struct tagRENDERCONTEXT;

struct tagSCREENSCRATCH {
    BYTE* pBytes;  // 64-byte aligned
    size_t cbBytes;
};

// At least `bytes` bytes of the context's scratch memory, their contents left over from the last
// band; nullptr without a context or when they cannot be allocated.
BYTE* ScreenScratchBytes(tagRENDERCONTEXT* context, size_t bytes);

// Frees the scratch memory; nullptr is harmless.
void FreeScreenScratch(tagSCREENSCRATCH* scratch);
