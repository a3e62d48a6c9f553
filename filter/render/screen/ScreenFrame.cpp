#include "filter/render/screen/ScreenFrame.h"

#include "filter/render/color/ColorConvert.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/screen/Screening.h"
#include "core/settings/DevMode.h"

#include <algorithm>

bool BuildScreenFrame(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                      const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagPAGEBITMAP* bitmap,
                      tagSCREENFRAME* frame)
{
    *frame = tagSCREENFRAME{};
    if (settings == nullptr || context == nullptr || bitmap == nullptr || context->pColorBlock == nullptr) {
        return false;
    }
    const tagCOLORBLOCK* block = context->pColorBlock;
    frame->nPlanes = mono ? 1 : SLOT_COUNT;
    if (bitmap->dwPlanes < frame->nPlanes) {
        return false;
    }
    const int firstSlot = mono ? SLOT_BLACK : SLOT_CYAN;
    for (size_t p = 0; p < frame->nPlanes; ++p) {
        const int slot = firstSlot + static_cast<int>(p);
        if (block->apMatrix[slot] == nullptr || block->adwMatrixHeight[slot] == 0 ||
            block->apToneCurve[slot] == nullptr) {
            return false;
        }
        frame->apMatrix[p] = block->apMatrix[slot];
        frame->anMatrixHeight[p] = block->adwMatrixHeight[slot];
        frame->apCurve[p] = block->apToneCurve[slot];
        frame->apPlane[p] = bitmap->pBits == nullptr ? nullptr : bitmap->pBits + p * PagePlaneBytes(bitmap);
    }
    frame->cbMatrixRow = block->dwMatrixRowBytes;
    frame->cbPlaneRow = bitmap->cbRowBytes;
    frame->nMulX = static_cast<size_t>(PageMultiplierX(context));
    frame->nMulY = static_cast<size_t>(PageMultiplierY(context));
    frame->pSettings = settings;
    frame->pContext = context;
    frame->pCache = context->pColorCache;
    frame->pPixels = pixels;

    const int64_t width = PairLow(bandSize);
    const int64_t rows = PairHigh(bandSize);
    const int64_t x = PairLow(position);
    const int64_t y = PairHigh(position);
    if (width <= 0 || rows <= 0 || pixels == nullptr || bitmap->pBits == nullptr) {
        return true;  // nothing lands on the page
    }
    frame->cbStride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);

    // The page as far as the bitmap and the threshold rows reach.
    const int64_t mulX = static_cast<int64_t>(frame->nMulX);
    const int64_t mulY = static_cast<int64_t>(frame->nMulY);
    int64_t pageWidth = PairLow(pageSize);
    pageWidth = std::min(
        {pageWidth, static_cast<int64_t>(bitmap->dwWidth) / mulX, static_cast<int64_t>(frame->cbMatrixRow) / mulX});
    const int64_t pageHeight = std::min<int64_t>(PairHigh(pageSize), static_cast<int64_t>(bitmap->dwHeight) / mulY);

    const int64_t rowFirst = std::max<int64_t>(0, -y);
    const int64_t rowEnd = std::min(rows, pageHeight - y);
    const int64_t colFirst = std::max<int64_t>(0, -x);
    const int64_t colEnd = std::min(width, pageWidth - x);
    if (rowFirst >= rowEnd || colFirst >= colEnd) {
        return true;
    }
    frame->nRowFirst = static_cast<size_t>(rowFirst);
    frame->nRowEnd = static_cast<size_t>(rowEnd);
    frame->nColFirst = static_cast<size_t>(colFirst);
    frame->nColEnd = static_cast<size_t>(colEnd);
    frame->nDstRow = static_cast<size_t>(y + rowFirst);
    frame->nDstCol = static_cast<size_t>(x + colFirst);
    return true;
}

BYTE MonoValue(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue)
{
    tagCOLORCACHEENTRY* entry = frame.pCache == nullptr ? nullptr : &frame.pCache[red + green + blue];
    if (entry != nullptr && entry->bRed == red && entry->bGreen == green && entry->bBlue == blue) {
        return entry->bBlack;
    }
    const BYTE value = frame.apCurve[0][GrayFromRgb(frame.pContext, red, green, blue)];
    if (entry != nullptr) {
        *entry = tagCOLORCACHEENTRY{red, green, blue, 0, 0, 0, value};
    }
    return value;
}

void ColorValues(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue, BYTE* cmyk)
{
    tagCOLORCACHEENTRY* entry = frame.pCache == nullptr ? nullptr : &frame.pCache[red + green + blue];
    if (entry != nullptr && entry->bRed == red && entry->bGreen == green && entry->bBlue == blue) {
        cmyk[0] = entry->bCyan, cmyk[1] = entry->bMagenta, cmyk[2] = entry->bYellow, cmyk[3] = entry->bBlack;
        return;
    }
    ConvertRgbToCmyk(frame.pSettings, frame.pContext, red, green, blue, cmyk);
    for (size_t p = 0; p < SLOT_COUNT; ++p) {
        cmyk[p] = frame.apCurve[p][cmyk[p]];
    }
    if (entry != nullptr) {
        *entry = tagCOLORCACHEENTRY{red, green, blue, cmyk[0], cmyk[2], cmyk[1], cmyk[3]};
    }
}

BYTE MonoValueUncached(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue)
{
    return frame.apCurve[0][GrayFromRgb(frame.pContext, red, green, blue)];
}

void ColorValuesUncached(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue, BYTE* cmyk)
{
    BYTE inks[SLOT_COUNT];
    ConvertRgbToCmykFast(frame.pSettings, frame.pContext, red, green, blue, inks);
    for (size_t p = 0; p < SLOT_COUNT; ++p) {
        cmyk[p] = frame.apCurve[p][inks[p]];
    }
}
