// Growable array of CObject pointers. It does not own them: the owner deletes the elements
// before it empties or destroys the array. Appending an array onto itself throws "Invalid Arg!".
#pragma once

#include "core/containers/Object.h"
#include "core/containers/TypedArray.h"

class CObArray : public orv::detail::TypedArray<CObject*, orv::detail::ArrayAlloc::NewArray, false> {
};
