// Hash map from a 16-bit key to a CObject pointer. It does not own the values: the owner
// deletes them before it empties or destroys the map.
#pragma once

#include "core/containers/WordKeyMap.h"

class CMapWordToOb : public orv::detail::WordKeyMap<CObject*> {
public:
    // A block size of 0 or less means 10 associations per allocation.
    explicit CMapWordToOb(int nBlockSize = 10) : WordKeyMap(nBlockSize) {}
};
