// The reference screening: every pixel and every dot on its own, as the screening rules read.
// Slow, but plain enough to check the fast path against.
#include "filter/render/screen/ScreenReference.h"

#include "filter/render/screen/ScreenFrame.h"

namespace {

// Screens the frame's rows with `values` (pixel -> one final value per plane).
template <typename Values>
void ScreenRows(const tagSCREENFRAME& f, DWORD inkBits, DWORD* inkMask, Values values)
{
    BYTE v[SLOT_COUNT];
    for (size_t sr = f.nRowFirst; sr < f.nRowEnd; ++sr) {
        const BYTE* row = f.pPixels + sr * f.cbStride;
        // Leading white is skipped by a byte scan; the first byte that is not 255 starts the row.
        size_t start = f.nColEnd;
        for (size_t b = 3 * f.nColFirst; b < 3 * f.nColEnd; ++b) {
            if (row[b] != 255) {
                start = b / 3;
                break;
            }
        }
        if (start == f.nColEnd) {
            continue;
        }
        *inkMask |= inkBits;
        const size_t r = f.nDstRow + (sr - f.nRowFirst);
        for (size_t c = start; c < f.nColEnd; ++c) {
            const BYTE* px = row + 3 * c;
            if (IsWhite(px)) {
                continue;
            }
            values(px, v);
            const size_t d = f.nDstCol + (c - f.nColFirst);
            for (size_t p = 0; p < f.nPlanes; ++p) {
                for (size_t ky = 0; ky < f.nMulY; ++ky) {
                    const size_t bitmapRow = r * f.nMulY + ky;
                    const BYTE* thresholds = f.apMatrix[p] + (bitmapRow % f.anMatrixHeight[p]) * f.cbMatrixRow;
                    BYTE* out = f.apPlane[p] + bitmapRow * f.cbPlaneRow;
                    for (size_t kx = 0; kx < f.nMulX; ++kx) {
                        const size_t dot = d * f.nMulX + kx;
                        if (thresholds[dot] < v[p]) {
                            out[dot / 8] |= static_cast<BYTE>(0x80 >> (dot % 8));
                        }
                    }
                }
            }
        }
    }
}

WORD ScreenBand(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    return ScreenInFrame(mono, bandSize, pageSize, position, pixels, settings, context, bitmap, inkMask,
                         [mono](const tagSCREENFRAME& f, DWORD* ink) {
                             if (mono) {
                                 ScreenRows(f, INK_MASK_MONO, ink, [&f](const BYTE* px, BYTE* v) {
                                     v[0] = MonoValue(f, px[0], px[1], px[2]);
                                 });
                             } else {
                                 ScreenRows(f, INK_MASK_COLOR, ink,
                                            [&f](const BYTE* px, BYTE* v) { ColorValues(f, px[0], px[1], px[2], v); });
                             }
                             return FLAG_TRUE;
                         });
}

}  // namespace

WORD ScreenBandMonoReference(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                             const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                             tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    (void)options;
    return ScreenBand(true, bandSize, pageSize, position, pixels, settings, context, bitmap, inkMask);
}

WORD ScreenBandColorReference(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                              const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                              tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    (void)options;
    return ScreenBand(false, bandSize, pageSize, position, pixels, settings, context, bitmap, inkMask);
}
