#include "filter/render/ColorConvert.h"

#include "filter/render/ColorTableFile.h"
#include "filter/render/RenderContext.h"
#include "core/settings/DevMode.h"

#include <algorithm>
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

void ConvertRgbToCmyk(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue,
                      BYTE* cmyk)
{
    const tagCOLORBLOCK* block = context->pColorBlock;
    if (block == nullptr) {
        std::memset(cmyk, 0, 4);
        return;
    }
    if (settings->priv.dmClrCtrl.wInterpolation != 0) {
        InterpolateTetrahedral(red, green, blue, cmyk, block->abLut);
    } else {
        InterpolateTrilinear(red, green, blue, cmyk, block->abLut);
    }
    if ((block->abLutKey[CT_KEY_LUTFLAGS] & CT_LUT_UCR_BG) != 0) {
        ApplyUcrBg(block->abLutKey[CT_KEY_UCR], block->abLutKey[CT_KEY_BG], cmyk);
    }
}
