#include "filter/render/color/ColorConvert.h"

#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderContext.h"
#include "core/settings/DevMode.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

struct Corner {
    int di, dj, dk;
};

// Node offset of a corner of the cube at (i, j, k).
size_t CornerOffset(int i, int j, int k, Corner c)
{
    return LutNodeOffset(i + c.di, j + c.dj, k + c.dk);
}

BYTE TruncateToByte(double v)
{
    if (!(v > 0.0)) {
        return 0;
    }
    return v >= 255.0 ? 255 : static_cast<BYTE>(v);
}

// InterpolateTrilinear with the same sum taken axis by axis, four channels at once: the blue
// axis weighs the two nodes of each of the four lines of the cell (sums up to 16 x 255), the red
// and green axes then weigh those four sums by the products of their weights (up to 256). Every
// product and pair sum fits the 16-bit multiplies and 32-bit sums of pmaddwd, and the total is
// the scalar one, so the bytes are the same.
void InterpolateTrilinearVector(BYTE red, BYTE green, BYTE blue, BYTE* cmyk, const BYTE* lut)
{
    const int i = red >> 4, j = green >> 4, k = blue >> 4;
    const int fr = red & 15, fg = green & 15, fb = blue & 15;
    const BYTE* line = lut + LutNodeOffset(i, j, k);
    const __m128i zero = _mm_setzero_si128();
    // The two nodes (k, k + 1) of a line, 8 bytes: their channels paired, node k's first.
    auto pairs = [&](size_t offset) {
        const __m128i nodes = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + offset)), zero);
        return _mm_unpacklo_epi16(nodes, _mm_srli_si128(nodes, 8));
    };
    auto weights = [](int first, int second) { return _mm_set1_epi32(static_cast<int>((second << 16) | first)); };
    const __m128i alongBlue = weights(16 - fb, fb);
    const __m128i line00 = _mm_madd_epi16(pairs(0), alongBlue);
    const __m128i line01 = _mm_madd_epi16(pairs(LutNodeOffset(0, 1, 0)), alongBlue);
    const __m128i line10 = _mm_madd_epi16(pairs(LutNodeOffset(1, 0, 0)), alongBlue);
    const __m128i line11 = _mm_madd_epi16(pairs(LutNodeOffset(1, 1, 0)), alongBlue);
    // The lines j and j + 1 of each red node paired by channel.
    const __m128i red0 = _mm_packs_epi32(line00, line01);
    const __m128i red1 = _mm_packs_epi32(line10, line11);
    const int r0 = 16 - fr, r1 = fr, g0 = 16 - fg, g1 = fg;
    const __m128i sum =
        _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(red0, _mm_srli_si128(red0, 8)), weights(r0 * g0, r0 * g1)),
                      _mm_madd_epi16(_mm_unpacklo_epi16(red1, _mm_srli_si128(red1, 8)), weights(r1 * g0, r1 * g1)));
    const __m128i words = _mm_packs_epi32(_mm_srli_epi32(sum, 12), zero);  // the weights sum to 4096
    const uint32_t bytes = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, zero)));
    std::memcpy(cmyk, &bytes, 4);
}

// ApplyUcrBg in hundredths: for the byte inputs it takes here, c - ucr m / 100 is either a whole
// number or at least 1/100 away from one, far beyond a double's error, so the truncated values are
// the same.
void ApplyUcrBgInteger(int ucrPercent, int bgPercent, BYTE* cmyk)
{
    const int m = std::min({cmyk[0], cmyk[1], cmyk[2]});
    const int removed = ucrPercent * m;
    for (int c = 0; c < 3; ++c) {
        const int hundredths = 100 * cmyk[c] - removed;
        cmyk[c] = static_cast<BYTE>(hundredths > 0 ? hundredths / 100 : 0);
    }
    cmyk[3] = static_cast<BYTE>(std::min(bgPercent * m / 100, 255));
}

}  // namespace

BYTE GrayFromRgb(const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue)
{
    const int wr = context->asGrayWeight[0];
    const int wg = context->asGrayWeight[1];
    const int wb = context->asGrayWeight[2];
    const int sum = wr + wg + wb;
    if (sum == 0) {
        return 0;
    }
    // |each term| < 2^23, so neither the sum of terms nor the quotient can overflow.
    const int gray = (wr * red + wg * green + wb * blue) / sum;
    return static_cast<BYTE>(std::clamp(gray, 0, 255));
}

void InterpolateTetrahedral(BYTE red, BYTE green, BYTE blue, BYTE* cmyk, const BYTE* lut)
{
    const int i = red >> 4, j = green >> 4, k = blue >> 4;
    const int fr = red & 15, fg = green & 15, fb = blue & 15;
    // The tetrahedron of the cube that holds the point, by the order of the fractions; equal red
    // and green fractions take the green-first tetrahedra.
    Corner first, second;
    int w0, w1, w2, w3;
    if (fg < fr) {
        if (fb < fg) {
            first = {1, 0, 0}, second = {1, 1, 0};
            w0 = 16 - fr, w1 = fr - fg, w2 = fg - fb, w3 = fb;
        } else if (fb < fr) {
            first = {1, 0, 0}, second = {1, 0, 1};
            w0 = 16 - fr, w1 = fr - fb, w2 = fb - fg, w3 = fg;
        } else {
            first = {0, 0, 1}, second = {1, 0, 1};
            w0 = 16 - fb, w1 = fb - fr, w2 = fr - fg, w3 = fg;
        }
    } else {
        if (fb < fr) {
            first = {0, 1, 0}, second = {1, 1, 0};
            w0 = 16 - fg, w1 = fg - fr, w2 = fr - fb, w3 = fb;
        } else if (fb < fg) {
            first = {0, 1, 0}, second = {0, 1, 1};
            w0 = 16 - fg, w1 = fg - fb, w2 = fb - fr, w3 = fr;
        } else {
            first = {0, 0, 1}, second = {0, 1, 1};
            w0 = 16 - fb, w1 = fb - fg, w2 = fg - fr, w3 = fr;
        }
    }
    const BYTE* p0 = lut + LutNodeOffset(i, j, k);
    const BYTE* p1 = lut + CornerOffset(i, j, k, first);
    const BYTE* p2 = lut + CornerOffset(i, j, k, second);
    const BYTE* p3 = lut + LutNodeOffset(i + 1, j + 1, k + 1);
    for (int c = 0; c < 4; ++c) {
        cmyk[c] = static_cast<BYTE>((w0 * p0[c] + w1 * p1[c] + w2 * p2[c] + w3 * p3[c]) >> 4);
    }
}

void InterpolateTrilinear(BYTE red, BYTE green, BYTE blue, BYTE* cmyk, const BYTE* lut)
{
    const int i = red >> 4, j = green >> 4, k = blue >> 4;
    const int f[3] = {red & 15, green & 15, blue & 15};
    int sum[4] = {0, 0, 0, 0};
    for (int a = 0; a < 2; ++a) {
        const int wa = a ? f[0] : 16 - f[0];
        for (int b = 0; b < 2; ++b) {
            const int wb = b ? f[1] : 16 - f[1];
            for (int c = 0; c < 2; ++c) {
                const int w = wa * wb * (c ? f[2] : 16 - f[2]);
                const BYTE* node = lut + LutNodeOffset(i + a, j + b, k + c);
                for (int ch = 0; ch < 4; ++ch) {
                    sum[ch] += w * node[ch];
                }
            }
        }
    }
    for (int ch = 0; ch < 4; ++ch) {
        cmyk[ch] = static_cast<BYTE>(sum[ch] >> 12);  // the weights sum to 4096
    }
}

void ApplyUcrBg(int ucrPercent, int bgPercent, BYTE* cmyk)
{
    const double m = std::min({cmyk[0], cmyk[1], cmyk[2]});
    const double removed = ucrPercent * m / 100.0;
    for (int c = 0; c < 3; ++c) {
        cmyk[c] = TruncateToByte(cmyk[c] - removed);
    }
    cmyk[3] = TruncateToByte(bgPercent * m / 100.0);
}

namespace {

using Interpolation = void (*)(BYTE, BYTE, BYTE, BYTE*, const BYTE*);
using UcrBg = void (*)(int, int, BYTE*);

// The conversion with the given trilinear interpolation and under-colour removal.
template <Interpolation kTrilinear, UcrBg kUcrBg>
void Convert(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue, BYTE* cmyk)
{
    const tagCOLORBLOCK* block = context->pColorBlock;
    if (block == nullptr) {
        std::memset(cmyk, 0, 4);
        return;
    }
    if (settings->priv.dmClrCtrl.wInterpolation != 0) {
        InterpolateTetrahedral(red, green, blue, cmyk, block->abLut);
    } else {
        kTrilinear(red, green, blue, cmyk, block->abLut);
    }
    if ((block->abLutKey[CT_KEY_LUTFLAGS] & CT_LUT_UCR_BG) != 0) {
        kUcrBg(block->abLutKey[CT_KEY_UCR], block->abLutKey[CT_KEY_BG], cmyk);
    }
}

}  // namespace

void ConvertRgbToCmyk(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue,
                      BYTE* cmyk)
{
    Convert<InterpolateTrilinear, ApplyUcrBg>(settings, context, red, green, blue, cmyk);
}

void ConvertRgbToCmykFast(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue,
                          BYTE* cmyk)
{
    Convert<InterpolateTrilinearVector, ApplyUcrBgInteger>(settings, context, red, green, blue, cmyk);
}
