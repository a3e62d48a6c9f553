// Where the encoder's bytes go: the caller's output buffer, never written past its size. The first
// write that does not fit marks the sink as overflowed and records the row being encoded then, so
// that the library can retry with fewer rows; everything after it is dropped.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/WinTypes.h"

struct BoundedSink {
    BYTE* pOut = nullptr;
    size_t cbCapacity = 0;
    size_t cbUsed = 0;
    bool bOverflow = false;
    unsigned long ulRow = 0;          // row being encoded when the last write happened
    unsigned long ulOverflowRow = 0;  // row being encoded when the first write did not fit

    void Restart()
    {
        cbUsed = 0;
        bOverflow = false;
        ulRow = 0;
        ulOverflowRow = 0;
    }

    // A block (header, marker) goes in whole or not at all.
    void Write(const BYTE* pStart, size_t cbLength)
    {
        if (bOverflow) {
            return;
        }
        if (cbLength > cbCapacity - cbUsed) {
            MarkOverflow();
            return;
        }
        std::memcpy(pOut + cbUsed, pStart, cbLength);
        cbUsed += cbLength;
    }

    void Put(BYTE b)
    {
        if (cbUsed < cbCapacity && !bOverflow) {
            pOut[cbUsed++] = b;
        } else if (!bOverflow) {
            MarkOverflow();
        }
    }

private:
    void MarkOverflow()
    {
        bOverflow = true;
        ulOverflowRow = ulRow;
    }
};
