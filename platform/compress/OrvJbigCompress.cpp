// The package's compression library: `COMPRESS` encodes rows of one bit-plane as a JBIG bi-level
// image (ITU-T T.82, within the T.85 facsimile profile: one plane, one resolution layer) with the
// library's own line-by-line encoder (T85Encoder), into the caller's buffer and never past its size.
//
// When the image does not fit (JBIG can exceed the raw size on noise), the library encodes the
// longest prefix of rows that fits as an image of its own, with a header that says so, and reports
// that row count; the caller sends the rest in a later call or raw. Not even one row fitting is a
// failure. Everything lives on the caller's stack or in the block, so concurrent calls (planes
// compressed in parallel) are safe.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/compress/BoundedSink.h"
#include "platform/compress/CompressParams.h"
#include "platform/compress/T85Encoder.h"

namespace {

// What one call encodes, checked and decoded from the parameter block.
struct BandJob {
    const BYTE* pRows = nullptr;
    unsigned long ulWidth = 0;
    unsigned long ulRows = 0;
    size_t cbRow = 0;
    unsigned long ulStripeRows = 0;
    T85Options options;
    // The encoder reads rows with the bits past the width clear. The caller's rows are read-only
    // and may carry such bits, so rows of a width that is not a multiple of 8 are first copied
    // into the work rows (three rotate: the current row and the two above it), those bits cleared.
    BYTE* apWorkRow[3] = {nullptr, nullptr, nullptr};
    bool bMaskPadding = false;
    BYTE bPadMask = 0xFF;
};

bool ReadJob(const tagCOMPRESSPARAMS& params, BandJob& job)
{
    if (std::memcmp(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag)) != 0) {
        return false;
    }
    if (params.pOutput == nullptr || params.pFirstRow == nullptr) {
        return false;
    }
    if (params.wWidth == 0 || params.wWidth != params.wWidth2) {
        return false;
    }
    if (params.dwRows == 0 || params.wRows != static_cast<WORD>(params.dwRows)) {
        return false;
    }
    for (BYTE* pRow : params.apWorkRow) {
        if (pRow == nullptr) {
            return false;
        }
    }
    job.pRows = params.pFirstRow;
    job.ulWidth = params.wWidth2;
    job.ulRows = params.dwRows;
    job.cbRow = (job.ulWidth + 7) / 8;
    job.ulStripeRows = params.dwStripeRows == 0 ? job.ulRows : std::min<unsigned long>(params.dwStripeRows, job.ulRows);

    const BYTE bOption = params.bOption;
    if (bOption & COMPRESS_OPT_TWO_LINE_TEMPLATE) {
        job.options.bTwoLineTemplate = true;
    }
    if (bOption & COMPRESS_OPT_TYPICAL_PREDICTION) {
        job.options.bTypicalPrediction = true;
    }
    if (bOption & COMPRESS_OPT_FIXED_TEMPLATE) {
        job.options.nMaxAtShift = 0;
    } else if (bOption & COMPRESS_OPT_WIDE_TEMPLATE) {
        job.options.nMaxAtShift = 127;  // the largest shift the standard allows
    } else {
        job.options.nMaxAtShift = 8;
    }

    const unsigned long ulPadBits = job.ulWidth % 8;
    if (ulPadBits != 0) {
        job.bMaskPadding = true;
        job.bPadMask = static_cast<BYTE>(0xFF << (8 - ulPadBits));
        std::copy(std::begin(params.apWorkRow), std::end(params.apWorkRow), job.apWorkRow);
    }
    return true;
}

// Encodes the first ulRows rows in stripes of ulStripeRows; true when all of it fit into the sink.
bool EncodeRows(const BandJob& job, unsigned long ulRows, unsigned long ulStripeRows, BoundedSink& sink)
{
    sink.Restart();
    T85Options options = job.options;
    options.ulStripeRows = ulStripeRows;
    T85Encoder encoder(job.ulWidth, ulRows, options, sink);

    // Rows without padding bits are passed in place: the encoder then only reads them.
    const unsigned char* pPrev = nullptr;
    const unsigned char* pPrevPrev = nullptr;
    for (unsigned long y = 0; y < ulRows && !sink.bOverflow; ++y) {
        sink.ulRow = y;
        const BYTE* pSource = job.pRows + y * job.cbRow;
        const unsigned char* pLine;
        if (job.bMaskPadding) {
            BYTE* pWork = job.apWorkRow[y % 3];
            std::memcpy(pWork, pSource, job.cbRow);
            pWork[job.cbRow - 1] &= job.bPadMask;
            pLine = pWork;
        } else {
            pLine = pSource;
        }
        encoder.EncodeRow(pLine, pPrev, pPrevPrev);
        pPrevPrev = pPrev;
        pPrev = pLine;
    }
    return !sink.bOverflow;
}

// The row count to try next after an attempt ran out of room while encoding row ulOverflowRow:
// the rows before it fit except for the coder's last bytes, so one more row is dropped; after a
// few attempts the count is halved so that the search always ends quickly.
unsigned long NextPrefix(unsigned long ulTried, unsigned long ulOverflowRow, int nAttempt)
{
    unsigned long ulNext = ulOverflowRow > 0 ? ulOverflowRow - 1 : 0;
    if (nAttempt >= 2) {
        ulNext = std::min(ulNext, ulTried / 2);
    }
    return std::min(ulNext, ulTried > 0 ? ulTried - 1 : 0);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int COMPRESS(tagCOMPRESSPARAMS* pParams)
{
    if (pParams == nullptr) {
        return COMPRESS_BAD_PARAMS;
    }
    pParams->qwBytesWritten = 0;
    pParams->dwRowsEncoded = 0;

    BandJob job;
    if (!ReadJob(*pParams, job)) {
        return COMPRESS_BAD_PARAMS;
    }

    BoundedSink sink;
    sink.pOut = pParams->pOutput;
    sink.cbCapacity = static_cast<size_t>(pParams->qwOutputSize);

    unsigned long ulEncoded = 0;
    if (EncodeRows(job, job.ulRows, job.ulStripeRows, sink)) {
        ulEncoded = job.ulRows;
    } else {
        // A shorter image is one stripe, so that the caller's rewrite of the image and stripe
        // heights in the header (to the rows encoded) describes it exactly.
        unsigned long ulTry = NextPrefix(job.ulRows, sink.ulOverflowRow, 0);
        for (int nAttempt = 1; ulTry > 0; ++nAttempt) {
            if (EncodeRows(job, ulTry, ulTry, sink)) {
                ulEncoded = ulTry;
                break;
            }
            ulTry = NextPrefix(ulTry, sink.ulOverflowRow, nAttempt);
        }
        if (ulEncoded == 0) {
            return COMPRESS_NO_ROOM;
        }
    }
    pParams->qwBytesWritten = sink.cbUsed;
    pParams->dwRowsEncoded = static_cast<DWORD>(ulEncoded);
    return COMPRESS_OK;
}

// This library keeps no state between calls: the filter may compress a page's planes on several
// threads at once through it (and through no library that does not say so).
extern "C" __attribute__((visibility("default"))) int ORV_COMPRESS_REENTRANT(void)
{
    return 1;
}
