// Working memory of the fast screening, kept from band to band so that screening a band allocates
// nothing: it grows only for a band wider than any before it. The renderer context keeps one for
// the bands screened on the job's thread; bands screened at the same time on several threads each
// have their own.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

struct tagRENDERCONTEXT;

struct tagSCREENSCRATCH {
    BYTE* pBytes;  // 64-byte aligned
    size_t cbBytes;
};

// The context's scratch memory, made empty on first use; nullptr without a context or when it
// cannot be allocated.
tagSCREENSCRATCH* ContextScreenScratch(tagRENDERCONTEXT* context);

// Empty scratch memory of its own; nullptr when it cannot be allocated.
tagSCREENSCRATCH* CreateScreenScratch();

// At least `bytes` bytes of the scratch memory, their contents left over from the last band;
// nullptr without scratch memory or when they cannot be allocated.
BYTE* ScreenScratchBytes(tagSCREENSCRATCH* scratch, size_t bytes);

// Frees the scratch memory; nullptr is harmless.
void FreeScreenScratch(tagSCREENSCRATCH* scratch);
