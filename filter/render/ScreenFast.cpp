// The screening the filter runs. It sets exactly the dots of the reference, but works row by row
// instead of dot by dot:
//   - white is found by 16-byte scans: an all-white row costs one pass over its bytes, and only
//     the pixels between the first and the last non-white byte are looked at;
//   - the final values of a row are laid out once per plane in dot order (white and the dots
//     around the row's ends hold 0, which never prints), so a row that repeats the previous one,
//     as an enlarged image's rows do, reuses them, and so do the doubled rows of a 2x resolution;
//   - runs of equal pixels take the previous pixel's values; other pixels go through the colour
//     cache as in the reference;
//   - each plane row is then screened sixteen dots at a time: one compare of values against
//     thresholds gives sixteen dot bits, OR-ed into two bitmap bytes.
#include "filter/render/ScreenFrame.h"
#include "filter/render/Screening.h"

#include <emmintrin.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// _mm_movemask_epi8 puts dot n of a 16-dot group into bit n; the bitmap wants the leftmost dot in
// bit 7 of its byte.
struct BitReverse {
    BYTE v[256];
    constexpr BitReverse() : v{}
    {
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b) {
                r |= ((i >> b) & 1) << (7 - b);
            }
            v[i] = static_cast<BYTE>(r);
        }
    }
};
constexpr BitReverse kReverse;

// Index of the first byte that is not 255, or n.
size_t FirstNonWhite(const BYTE* p, size_t n)
{
    const __m128i white = _mm_set1_epi8(-1);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const int same = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), white));
        if (same != 0xFFFF) {
            return i + static_cast<size_t>(__builtin_ctz(~same & 0xFFFF));
        }
    }
    for (; i < n; ++i) {
        if (p[i] != 255) {
            return i;
        }
    }
    return n;
}

// Index of the last byte that is not 255; the caller knows there is one.
size_t LastNonWhite(const BYTE* p, size_t n)
{
    const __m128i white = _mm_set1_epi8(-1);
    size_t end = n;
    for (; end >= 16; end -= 16) {
        const int same =
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + end - 16)), white));
        if (same != 0xFFFF) {
            return end - 16 + static_cast<size_t>(31 - __builtin_clz(~same & 0xFFFF));
        }
    }
    while (end > 0 && p[end - 1] == 255) {
        --end;
    }
    return end - 1;
}

// Sets the dots of one plane row where the threshold is below the value. `values` holds the value
// of dot `base` + i at i for the dots from `first` (a multiple of 8) to `last` rounded up to a
// multiple of 8; the dots of that span that belong to no pixel of the row hold 0.
void ScreenPlaneRow(const BYTE* values, size_t base, size_t first, size_t last, const BYTE* thresholds,
                    size_t thresholdDots, BYTE* out)
{
    const __m128i bias = _mm_set1_epi8(-128);  // unsigned order through a signed compare
    const size_t alignedLast = (last + 7) & ~static_cast<size_t>(7);
    const size_t vectorEnd = alignedLast < thresholdDots ? alignedLast : thresholdDots;
    size_t dot = first;
    for (; dot + 16 <= vectorEnd; dot += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + (dot - base)));
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(thresholds + dot));
        const int bits = _mm_movemask_epi8(_mm_cmpgt_epi8(_mm_xor_si128(v, bias), _mm_xor_si128(t, bias)));
        if (bits != 0) {
            out[dot / 8] |= kReverse.v[bits & 0xFF];
            out[dot / 8 + 1] |= kReverse.v[bits >> 8];
        }
    }
    for (; dot < last; ++dot) {
        if (thresholds[dot] < values[dot - base]) {
            out[dot / 8] |= static_cast<BYTE>(0x80 >> (dot % 8));
        }
    }
}

template <size_t kPlanes, typename Values>
bool ScreenRowsFast(const tagSCREENFRAME& f, DWORD inkBits, DWORD* inkMask, Values values)
{
    if (f.nRowFirst >= f.nRowEnd || f.nColFirst >= f.nColEnd) {
        return true;
    }
    const size_t mulX = f.nMulX;
    const size_t columns = f.nColEnd - f.nColFirst;
    const size_t base = (f.nDstCol * mulX) & ~static_cast<size_t>(7);  // dot of values[p][0]
    const size_t span = (((f.nDstCol + columns) * mulX + 7) & ~static_cast<size_t>(7)) - base;
    const size_t stride = span + 16;
    std::unique_ptr<BYTE[]> scratch(new (std::nothrow) BYTE[kPlanes * stride]);
    if (!scratch) {
        return false;
    }
    BYTE* planeValues[kPlanes];
    for (size_t p = 0; p < kPlanes; ++p) {
        planeValues[p] = scratch.get() + p * stride;
    }

    const BYTE* previous = nullptr;  // the last row whose values were laid out
    size_t previousFirst = 0, previousEnd = 0;
    for (size_t sr = f.nRowFirst; sr < f.nRowEnd; ++sr) {
        const BYTE* row = f.pPixels + sr * f.cbStride + 3 * f.nColFirst;
        const size_t firstByte = FirstNonWhite(row, 3 * columns);
        if (firstByte == 3 * columns) {
            continue;
        }
        *inkMask |= inkBits;
        const size_t first = firstByte / 3;  // pixels [first, end) hold all the ink of the row
        const size_t end = LastNonWhite(row, 3 * columns) / 3 + 1;
        const size_t dotFirst = (f.nDstCol + first) * mulX - base;
        const size_t dotEnd = (f.nDstCol + end) * mulX - base;
        const size_t alignedFirst = dotFirst & ~static_cast<size_t>(7);
        const size_t alignedEnd = (dotEnd + 7) & ~static_cast<size_t>(7);

        const bool repeat = previous != nullptr && first == previousFirst && end == previousEnd &&
                            std::memcmp(row + 3 * first, previous + 3 * first, 3 * (end - first)) == 0;
        if (!repeat) {
            for (size_t p = 0; p < kPlanes; ++p) {
                std::memset(planeValues[p] + alignedFirst, 0, dotFirst - alignedFirst);
                std::memset(planeValues[p] + dotEnd, 0, alignedEnd - dotEnd);
            }
            BYTE v[kPlanes] = {};
            const BYTE* last = nullptr;  // the previous pixel, when its values are in v
            size_t dot = dotFirst;
            for (size_t c = first; c < end; ++c, dot += mulX) {
                const BYTE* px = row + 3 * c;
                if (last == nullptr || std::memcmp(px, last, 3) != 0) {
                    if (IsWhite(px)) {
                        std::memset(v, 0, kPlanes);  // 0 never prints
                    } else {
                        values(px, v);
                    }
                    last = px;
                }
                for (size_t p = 0; p < kPlanes; ++p) {
                    planeValues[p][dot] = v[p];
                    planeValues[p][dot + mulX - 1] = v[p];
                }
            }
            previous = row;
            previousFirst = first;
            previousEnd = end;
        }

        const size_t r = f.nDstRow + (sr - f.nRowFirst);
        for (size_t ky = 0; ky < f.nMulY; ++ky) {
            const size_t bitmapRow = r * f.nMulY + ky;
            for (size_t p = 0; p < kPlanes; ++p) {
                const BYTE* thresholds = f.apMatrix[p] + (bitmapRow % f.anMatrixHeight[p]) * f.cbMatrixRow;
                ScreenPlaneRow(planeValues[p], base, base + alignedFirst, base + dotEnd, thresholds, f.cbMatrixRow,
                               f.apPlane[p] + bitmapRow * f.cbPlaneRow);
            }
        }
    }
    return true;
}

}  // namespace

WORD ScreenBandMono(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                    const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                    tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    DWORD ink = 0;
    tagSCREENFRAME f;
    if (!BuildScreenFrame(true, bandSize, pageSize, position, pixels, settings, context, bitmap, &f)) {
        if (inkMask != nullptr) {
            *inkMask = 0;
        }
        return FLAG_FALSE;
    }
    const bool done = ScreenRowsFast<1>(f, INK_MASK_MONO, &ink,
                                        [&f](const BYTE* px, BYTE* v) { v[0] = MonoValue(f, px[0], px[1], px[2]); });
    if (!done) {
        // No memory for one row of values: the reference needs none.
        return ScreenBandMonoReference(bandSize, pageSize, position, pixels, settings, context, options, bitmap,
                                       inkMask);
    }
    if (inkMask != nullptr) {
        *inkMask = ink;
    }
    return FLAG_TRUE;
}

WORD ScreenBandColor(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                     const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                     tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    DWORD ink = 0;
    tagSCREENFRAME f;
    if (!BuildScreenFrame(false, bandSize, pageSize, position, pixels, settings, context, bitmap, &f)) {
        if (inkMask != nullptr) {
            *inkMask = 0;
        }
        return FLAG_FALSE;
    }
    const bool done = ScreenRowsFast<SLOT_COUNT>(
        f, INK_MASK_COLOR, &ink, [&f](const BYTE* px, BYTE* v) { ColorValues(f, px[0], px[1], px[2], v); });
    if (!done) {
        return ScreenBandColorReference(bandSize, pageSize, position, pixels, settings, context, options, bitmap,
                                        inkMask);
    }
    if (inkMask != nullptr) {
        *inkMask = ink;
    }
    return FLAG_TRUE;
}
