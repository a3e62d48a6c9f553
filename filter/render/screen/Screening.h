// Band screening: the filter hands the renderer each rendered band as 24-bit RGB rows, and the
// screening turns it into printer dots in the page bitmap, one bit-plane through the gray
// conversion, the black tone curve and the black threshold matrix (monochrome), or four through
// the colour LUT, four tone curves and four matrices (colour). A dot is set where its threshold is
// strictly below the pixel's final value; dots are OR-ed in, so bands may overlap.
//
// Two implementations screen alike, bit for bit: the plain reference, pixel by pixel and dot by
// dot (ScreenReference.h), and the fast path that the filter uses (ScreenFast.h).
#pragma once

#include "core/WinTypes.h"

#include <cstdint>

struct DRVDEVMODE;
struct tagPAGEBITMAP;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

// Sizes and positions travel as two signed 32-bit values in one 64-bit word, the first (width, x)
// in the low half.
inline uint64_t PackPair(LONG low, LONG high)
{
    return static_cast<uint64_t>(static_cast<uint32_t>(low)) |
           (static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32);
}
inline LONG PairLow(uint64_t pair)
{
    return static_cast<LONG>(static_cast<uint32_t>(pair));
}
inline LONG PairHigh(uint64_t pair)
{
    return static_cast<LONG>(static_cast<uint32_t>(pair >> 32));
}

// The only band format: 3 bytes a pixel (red, green, blue), rows padded to 4 bytes.
inline constexpr DWORD SCREEN_BITS_PER_PIXEL = 24;

// Ink mask bits a row with any non-white pixel reports.
inline constexpr DWORD INK_MASK_MONO = 1;
inline constexpr DWORD INK_MASK_COLOR = 15;

// Screens one band (size, position and page size in pixels) into the option block's page bitmap,
// after the bitmap's binding shift is applied to the page and the position, and collects the ink
// mask into the context. 0xFFFF, also when there is no bitmap (nothing is drawn) or a table is
// missing (the page stays blank); 0 for a band that is not 24 bits a pixel, or without pixels,
// settings or context.
WORD DrawRgbRect(DWORD bitsPerPixel, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                 const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options);

// What the monochrome and colour screening of both implementations (ScreenFast.h,
// ScreenReference.h) are: one band with its page size and position already shifted. 0xFFFF after
// screening (`inkMask` receives INK_MASK_MONO or INK_MASK_COLOR when any pixel was not white, else
// 0); 0 without touching the bitmap when a tone curve or a threshold matrix of the page is
// missing, or the bitmap has too few planes.
using ScreenBandFunction = WORD(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                                const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                                tagPAGEBITMAP* bitmap, DWORD* inkMask);
