// The colour model of the colour adjustment preview: CIE L*u*v* over NTSC primaries with
// illuminant C, its polar form, an optical-density model for CMYK, the tone curve of the RGB
// balance and the gray conversion of the Brightness page. Pure functions of doubles; the bytes the
// preview shows all pass through RoundToByte.
#pragma once

#include "core/WinTypes.h"

namespace preview {

struct Triple {
    double a, b, c;
};

// x + 0.5 truncated towards zero, clamped to 0..255. A value that is not finite (an overflowing
// or undefined intermediate) gives 0; the clamp is done in double precision, so no value outside
// the byte range ever reaches the conversion to an integer.
BYTE RoundToByte(double x);

// x clamped to lo..hi in double precision; a value that is not finite gives 0 (then clamped).
double ClampFinite(double x, double lo, double hi);

// The straight line through (x1, y1) and (x2, y2) at x, raised to at least y2 and lowered to at
// most y1.
double ClampLinear(double x1, double x2, double y1, double y2, double x);

// Byte value (0 black .. 255 white) to density 0 (white) .. 255 (black): reflectance
// 0.1 + 0.9 v / 255, density 255 x -log10(reflectance).
double ValueToDensity(double v);
// The inverse: 255 x (10^(-D / 255) - 0.1) / 0.9, within 0..255.
double DensityToValue(double d);

// R, G, B in 0..255 to (L, u, v).
Triple RgbToLuv(double r, double g, double b);
// (L, u, v) to R, G, B, unclamped. L near 0 gives black. A chromaticity v' of 0 divides by zero
// and gives values that are not finite; the callers' clamps map them to 0.
Triple LuvToRgb(double l, double u, double v);
// (L, u, v) to (hue in degrees 0..360, chroma, L).
Triple LuvToLch(double l, double u, double v);
// (hue in degrees, chroma, L) to (L, u, v); the angle is taken in single precision.
Triple LchToLuv(double hue, double chroma, double l);

// The balance curve: shifts the middle tones by s and joins them linearly to (0, 0) and
// (255, 255) through the knees 30 and 225.
double ToneCurve(double x, double s);

}  // namespace preview

// Gray of the Brightness page: the weighted gray (313 r + 562 g + 125 b) / 1000 through the gamma,
// 255 x (gray / 255)^gamma, clamped and rounded to a byte. Weights add up to 1000, so white stays
// white at any gamma.
BYTE GrayGamma(BYTE r, BYTE g, BYTE b, double gamma);
