// Stand-ins for the compression library's entry, set into the renderer context as the front end
// sets the bound entry: each call follows the next step of a script (the package's library, a
// library that stops early, encodes nothing, fails, or reports what cannot be true), and every
// parameter block is recorded as the call saw it.
#pragma once

#include "platform/compress/CompressParams.h"
#include "support/CompressLibrary.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace encodetest {

enum class Act {
    Real,         // the package's library
    Partial,      // the library on at most `rows` rows; the header still announces all rows asked
    ZeroRows,     // success with no row encoded
    Fail,         // a failure code
    Overlong,     // the library's result, but more bytes written than the buffer holds
    ExtraRows,    // the library's result, but one row more than asked
    ShortHeader,  // success with every row "encoded" in fewer bytes than a JBIG header
    Scribble,     // ones written over the whole output buffer and every work row, then a failure
};

struct Step {
    Act act = Act::Real;
    DWORD rows = 0;  // Partial: the most rows to encode
};

// What a call was given: the block, and what its pointers showed at the time of the call.
struct SeenCall {
    tagCOMPRESSPARAMS params{};
    std::vector<BYTE> firstRow;   // the first row's bytes
    bool workRowsZeroed = false;  // the first max(row bytes, 2048) bytes of every work row
    bool outputZeroed = false;    // the whole output buffer, as its size says
};

class CompressScript {
public:
    // `real` is the package's library entry; the script repeats when `cycle` is set, else it ends
    // in calls of the real library.
    static void Start(PFNCOMPRESS real, std::vector<Step> steps, bool cycle = false)
    {
        State& s = state();
        s.real = real;
        s.steps = std::move(steps);
        s.cycle = cycle;
        s.next = 0;
        s.seen.clear();
    }
    static const std::vector<SeenCall>& Seen() { return state().seen; }

    static int Entry(tagCOMPRESSPARAMS* p)
    {
        State& s = state();
        Record(*p);
        Step step;
        if (s.next < s.steps.size()) {
            step = s.steps[s.next++];
            if (s.cycle && s.next == s.steps.size()) {
                s.next = 0;
            }
        }
        switch (step.act) {
        case Act::Real:
            return s.real(p);
        case Act::Partial: {
            const DWORD asked = p->dwRows;
            const DWORD rows = std::min(asked, step.rows);
            const DWORD stripe = p->dwStripeRows;
            p->dwRows = rows;
            p->wRows = static_cast<WORD>(rows);
            p->dwStripeRows = std::min(stripe, rows);
            const int status = s.real(p);
            p->dwRows = asked;
            p->wRows = static_cast<WORD>(asked);
            p->dwStripeRows = stripe;
            // The header as a library that meant to encode every row asked writes it: the image
            // height asked, stripes of the rows it was given (one stripe when they cover the image).
            if (status == COMPRESS_OK && p->qwBytesWritten >= 16) {
                PutBe32(p->pOutput + 8, asked);
                PutBe32(p->pOutput + 12, std::min(stripe, asked));
            }
            return status;
        }
        case Act::ZeroRows:
            p->qwBytesWritten = 0;
            p->dwRowsEncoded = 0;
            return COMPRESS_OK;
        case Act::Fail:
            return COMPRESS_NO_ROOM;
        case Act::Overlong: {
            const int status = s.real(p);
            p->qwBytesWritten = p->qwOutputSize + 1;
            return status;
        }
        case Act::ExtraRows: {
            const int status = s.real(p);
            p->dwRowsEncoded = p->dwRows + 1;
            return status;
        }
        case Act::ShortHeader:
            std::memset(p->pOutput, 0, 19);
            p->qwBytesWritten = 19;
            p->dwRowsEncoded = p->dwRows;
            return COMPRESS_OK;
        case Act::Scribble: {
            const size_t workBytes = std::max((static_cast<size_t>(p->wWidth2) + 7) / 8, kCompressMinWorkRowBytes);
            std::memset(p->pOutput, 0xFF, p->qwOutputSize);
            for (BYTE* row : p->apWorkRow) {
                std::memset(row, 0xFF, workBytes);
            }
            return COMPRESS_NO_ROOM;
        }
        }
        return COMPRESS_BAD_PARAMS;
    }

private:
    struct State {
        PFNCOMPRESS real = nullptr;
        std::vector<Step> steps;
        bool cycle = false;
        size_t next = 0;
        std::vector<SeenCall> seen;
    };
    static State& state()
    {
        static State s;
        return s;
    }
    static void PutBe32(BYTE* at, DWORD value)
    {
        at[0] = static_cast<BYTE>(value >> 24);
        at[1] = static_cast<BYTE>(value >> 16);
        at[2] = static_cast<BYTE>(value >> 8);
        at[3] = static_cast<BYTE>(value);
    }
    static void Record(const tagCOMPRESSPARAMS& p)
    {
        SeenCall call;
        call.params = p;
        const size_t rowBytes = (static_cast<size_t>(p.wWidth2) + 7) / 8;
        if (p.pFirstRow != nullptr) {
            call.firstRow.assign(p.pFirstRow, p.pFirstRow + rowBytes);
        }
        const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
        call.workRowsZeroed = true;
        for (BYTE* row : p.apWorkRow) {
            call.workRowsZeroed = call.workRowsZeroed && row != nullptr &&
                                  std::all_of(row, row + workBytes, [](BYTE b) { return b == 0; });
        }
        call.outputZeroed = p.pOutput != nullptr && std::all_of(p.pOutput, p.pOutput + p.qwOutputSize,
                                                                [](BYTE b) { return b == 0; });
        state().seen.push_back(std::move(call));
    }
};

}  // namespace encodetest
