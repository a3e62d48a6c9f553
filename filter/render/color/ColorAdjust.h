// The user's colour adjustments (brightness, saturation, RGB and CMYK balance), the monochrome
// brightness and contrast, and toner save, applied once per page by rewriting the page's tables:
// the colour LUT node by node, or the monochrome tone curve. Screening then needs no per-pixel
// adjustment.
#pragma once

#include "core/WinTypes.h"

struct DRVDEVMODE;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

// Adjustment flags.
inline constexpr BYTE ADJUST_RGB = 0x01;  // brightness or RGB balance
inline constexpr BYTE ADJUST_SATURATION = 0x02;
inline constexpr BYTE ADJUST_CMYK = 0x04;
inline constexpr BYTE ADJUST_TONER_SAVE = 0x08;
inline constexpr BYTE ADJUST_BLACK_CORNER = 0x10;     // node (0, 0, 0) in black only
inline constexpr BYTE ADJUST_GRAY_AXIS_BLACK = 0x20;  // every gray node in black only

// The adjustment of one page, built on the stack.
struct tagCOLORADJUST {
    BYTE bFlags;
    double dBrightnessExponent;              // monochrome curve
    double dRedGain, dGreenGain, dBlueGain;  // gamma gains of the input colour
    double dSaturation;
    double dCyanGain, dMagentaGain, dYellowGain, dBlackGain;  // gamma gains of the inks
    double dTonerFactor;                                      // multiplier of every ink
};

// Fills `params` from slider values (-50..50, 0 neutral; beyond that they act as -50 or 50), the
// toner-save level (non-zero: toner save alone, every slider ignored) and byte 7 of the matched
// LUT entry's key (its bits 4 and 5 pass into the flags). 0xFFFF.
WORD SetAdjustParams(tagCOLORADJUST* params, int red, int green, int blue, int brightness, int saturation, int cyan,
                     int magenta, int yellow, int black, int tonerLevel, BYTE lutKeyFlags);

// Colour pages: the sliders the settings choose, then the LUT rebuilt. 0xFFFF, 0 without context,
// settings or colour block.
WORD BuildAdjustedLut(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Rewrites the colour block's LUT in place when any flag is set. 0xFFFF, 0 without a colour block.
WORD RebuildLut(const tagCOLORADJUST* params, tagRENDERCONTEXT* context);

// Monochrome pages: gray brightness (or the contrast setting) and toner save applied to the black
// tone curve. 0xFFFF, 0 without context, settings or curve.
WORD BuildMonoCurve(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Rewrites the black tone curve in place. The file's monochrome curve is indexed by darkness
// (0 white); afterwards it is indexed by the gray level of the pixel (0 black), so the curve is
// always reversed, adjusted or not. 0xFFFF, 0 without a curve.
WORD RemapMonoCurve(const tagCOLORADJUST* params, tagRENDERCONTEXT* context);
