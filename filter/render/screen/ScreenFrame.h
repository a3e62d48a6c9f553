// What both screening implementations share: the part of a band that lands on the page bitmap,
// the tables of the page's planes, and the final value of one pixel.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderContext.h"

#include <cstddef>
#include <cstdint>

struct DRVDEVMODE;
struct tagPAGEBITMAP;

struct tagSCREENFRAME {
    const BYTE* pPixels;
    size_t cbStride;  // bytes per band row: 3 x width rounded up to 4
    // Source rows and columns that land on the page, [first, end); empty when first >= end.
    size_t nRowFirst, nRowEnd;
    size_t nColFirst, nColEnd;
    // Destination row and column (page pixels) of the first source row and column.
    size_t nDstRow, nDstCol;
    size_t nMulX, nMulY;               // 1 or 2
    size_t nPlanes;                    // 1 (the black slot) or 4 (cyan, magenta, yellow, black)
    const BYTE* apMatrix[SLOT_COUNT];  // tiled threshold rows by plane
    size_t anMatrixHeight[SLOT_COUNT];
    size_t cbMatrixRow;  // dots a tiled threshold row holds
    const BYTE* apCurve[SLOT_COUNT];
    BYTE* apPlane[SLOT_COUNT];  // the bitmap's planes in the same order
    size_t cbPlaneRow;
    // For the pixel values.
    const DRVDEVMODE* pSettings;
    const tagRENDERCONTEXT* pContext;
    tagCOLORCACHEENTRY* pCache;  // nullptr: a model without a colour cache
};

// Fills the frame; false when a table of the page is missing or the bitmap lacks the planes.
bool BuildScreenFrame(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                      const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagPAGEBITMAP* bitmap,
                      tagSCREENFRAME* frame);

// The final value of a monochrome pixel: black curve [gray level], through the colour cache.
BYTE MonoValue(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue);

// The four final values (C, M, Y, K) of a colour pixel through the colour cache.
void ColorValues(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue, BYTE* cmyk);

// The same values computed afresh, without the colour cache, the colour through
// ConvertRgbToCmykFast: the fast screening's. It looks a colour up only when a pixel's colour is
// not the one before it, and then the cache misses about as often as it hits on an image; a
// mispredicted cache check costs more than the conversion it saves.
BYTE MonoValueUncached(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue);
void ColorValuesUncached(const tagSCREENFRAME& frame, BYTE red, BYTE green, BYTE blue, BYTE* cmyk);

// The frame of one band built and handed to `screen(frame, &ink)`, which gives the band's result
// and collects its ink mask; that mask goes to `inkMask` when given. 0, with the mask 0, when the
// frame cannot be built.
template <typename Screen>
WORD ScreenInFrame(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                   const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagPAGEBITMAP* bitmap, DWORD* inkMask,
                   Screen screen)
{
    DWORD ink = 0;
    WORD result = FLAG_FALSE;
    tagSCREENFRAME f;
    if (BuildScreenFrame(mono, bandSize, pageSize, position, pixels, settings, context, bitmap, &f)) {
        result = screen(f, &ink);
    }
    if (inkMask != nullptr) {
        *inkMask = ink;
    }
    return result;
}

inline bool IsWhite(const BYTE* pixel)
{
    return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
}
