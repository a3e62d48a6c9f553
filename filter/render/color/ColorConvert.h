// Colour conversion of one pixel: RGB to a gray level for monochrome pages, and RGB to C, M, Y, K
// through the page's 17 x 17 x 17 LUT (tetrahedral or trilinear interpolation) with optional
// under-colour removal and black generation.
#pragma once

#include "core/WinTypes.h"

struct DRVDEVMODE;
struct tagRENDERCONTEXT;

// The gray level of a pixel with the context's red, green and blue weights:
// (wR R + wG G + wB B) / (wR + wG + wB) in integer division, 0 when the weights sum to 0. The
// weights come from the model's colour table and are signed, so the level is held to 0..255.
BYTE GrayFromRgb(const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue);

// C, M, Y, K of a colour through the colour block's LUT: tetrahedral interpolation when the
// settings ask for it (dmClrCtrl.wInterpolation non-zero), else trilinear; then under-colour
// removal and black generation when the matched LUT entry's flags ask for it. Zeros without a
// colour block.
void ConvertRgbToCmyk(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue,
                      BYTE* cmyk);

// ConvertRgbToCmyk as the fast screening runs it: the same bytes, the trilinear interpolation in
// 16-bit vector arithmetic and under-colour removal in integers.
void ConvertRgbToCmykFast(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context, BYTE red, BYTE green, BYTE blue,
                          BYTE* cmyk);

// Interpolation in a LUT of LUT_BYTES (RenderContext.h). Input level v falls between nodes v >> 4
// and (v >> 4) + 1 at the fraction (v & 15) / 16; `cmyk` receives four bytes C, M, Y, K.
void InterpolateTetrahedral(BYTE red, BYTE green, BYTE blue, BYTE* cmyk, const BYTE* lut);
void InterpolateTrilinear(BYTE red, BYTE green, BYTE blue, BYTE* cmyk, const BYTE* lut);

// Under-colour removal and black generation on `cmyk` (four bytes, in and out): with m the least
// of C, M and Y, each of those loses ucrPercent of m and K becomes bgPercent of m (at most 255).
void ApplyUcrBg(int ucrPercent, int bgPercent, BYTE* cmyk);
