// Reading fields out of a model-data answer record.
//
// A capability query writes its answer records into the caller's buffer in host order, packed at
// the byte positions that the query's view defines; nothing in them is aligned for the host. These
// helpers read one field at a byte position of such a buffer. Callers size their buffers to the
// view's record size, so every position they pass lies inside the buffer.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>
#include <cstring>

inline DWORD AnswerDword(const BYTE* answer, size_t offset)
{
    DWORD v;
    std::memcpy(&v, answer + offset, sizeof v);
    return v;
}

inline WORD AnswerWord(const BYTE* answer, size_t offset)
{
    WORD v;
    std::memcpy(&v, answer + offset, sizeof v);
    return v;
}

inline SHORT AnswerShort(const BYTE* answer, size_t offset)
{
    SHORT v;
    std::memcpy(&v, answer + offset, sizeof v);
    return v;
}
