// Growable array of 16-bit values.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/TypedArray.h"

class CWordArray : public orv::detail::TypedArray<WORD, orv::detail::ArrayAlloc::Calloc, true> {
};
