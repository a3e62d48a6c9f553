#include "filter/render/screen/Screening.h"

#include "core/settings/DevMode.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/screen/ScreenFast.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// The page extent and band position after a binding shift: a positive shift narrows the page, a
// negative one moves the page image back by the shift (the part shifted off is lost). Held to the
// 32-bit range: a band moved beyond it lies wholly off the page anyway.
void ApplyShift(LONG shift, int64_t* extent, int64_t* position)
{
    if (shift > 0) {
        *extent -= shift;
    } else if (shift < 0) {
        *extent += shift;
        *position += shift;
    }
    *extent = std::max<int64_t>(*extent, 0);
    *position = std::max<int64_t>(*position, INT32_MIN);
}

}  // namespace

WORD DrawRgbRect(DWORD bitsPerPixel, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                 const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options)
{
    if (settings == nullptr || context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    if (bitmap == nullptr) {
        return FLAG_TRUE;
    }
    if (bitsPerPixel != SCREEN_BITS_PER_PIXEL || pixels == nullptr) {
        return FLAG_FALSE;  // the rows would be read at the wrong length
    }
    int64_t pageWidth = PairLow(pageSize), pageHeight = PairHigh(pageSize);
    int64_t x = PairLow(position), y = PairHigh(position);
    ApplyShift(bitmap->lShiftX, &pageWidth, &x);
    ApplyShift(bitmap->lShiftY, &pageHeight, &y);
    const uint64_t shiftedPage = PackPair(static_cast<LONG>(pageWidth), static_cast<LONG>(pageHeight));
    const uint64_t shiftedPosition = PackPair(static_cast<LONG>(x), static_cast<LONG>(y));

    DWORD ink = 0;
    if (settings->priv.dmColor == 1) {
        ScreenBandMono(bandSize, shiftedPage, shiftedPosition, pixels, settings, context, options, bitmap, &ink);
    } else {
        ScreenBandColor(bandSize, shiftedPage, shiftedPosition, pixels, settings, context, options, bitmap, &ink);
    }
    context->dwInkMask |= ink;
    return FLAG_TRUE;
}
