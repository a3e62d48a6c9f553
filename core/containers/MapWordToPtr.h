// Hash map from a 16-bit key to an untyped pointer. It never owns the values.
#pragma once

#include "core/containers/WordKeyMap.h"

class CMapWordToPtr : public orv::detail::WordKeyMap<void*> {
public:
    // A block size of 0 or less means 10 associations per allocation.
    explicit CMapWordToPtr(int nBlockSize = 10) : WordKeyMap(nBlockSize) {}
};
