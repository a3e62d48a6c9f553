// Growable array of 32-bit values.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/TypedArray.h"

class CDWordArray : public orv::detail::TypedArray<DWORD, orv::detail::ArrayAlloc::NewArray, true> {
};
