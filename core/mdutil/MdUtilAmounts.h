// What the capability predicates share about the amounts the model data answers.
#pragma once

#include "core/WinTypes.h"

// Amounts come from the model file: a sum that would wrap stays at the largest amount instead of
// turning small and failing a minimum it meets.
inline DWORD SaturatingAdd(DWORD a, DWORD b)
{
    return a > 0xFFFFFFFFu - b ? 0xFFFFFFFFu : a + b;
}
