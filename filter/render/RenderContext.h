// The renderer's per-job state: created by RendererCreate, freed by RendererFree.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/OutputBuffer.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/screen/ScreenSimd.h"

#include <cstddef>

struct tagCOLORTABLEIMAGE;
struct tagSCREENSCRATCH;

// Language flags of the context.
inline constexpr DWORD TONERSAVE_SUPPORTED = 0x10000;
inline constexpr DWORD TONERSAVE_IN_TABLE = 0x20000;  // toner save chooses its own screens

// Band flags.
inline constexpr WORD BAND_FIRST = 0x1;
inline constexpr WORD BAND_LAST = 0x2;

// Colour LUT geometry: 17 nodes per axis (node n stands for input level 16 n), 4 bytes a node
// (C, M, Y, K); node (i, j, k) at byte 4 x (289 i + 17 j + k).
inline constexpr int LUT_AXIS_NODES = 17;
inline constexpr int LUT_NODE_COUNT = LUT_AXIS_NODES * LUT_AXIS_NODES * LUT_AXIS_NODES;
inline constexpr size_t LUT_BYTES = 4 * LUT_NODE_COUNT;
inline constexpr size_t LutNodeOffset(int i, int j, int k)
{
    return 4 * static_cast<size_t>(289 * i + 17 * j + k);
}

// Threshold-matrix and tone-curve slots; the monochrome path uses the black slots.
enum PLANESLOT { SLOT_CYAN = 0, SLOT_MAGENTA = 1, SLOT_YELLOW = 2, SLOT_BLACK = 3, SLOT_COUNT = 4 };
inline constexpr size_t TONE_CURVE_BYTES = 256;

// The per-job table area, allocated zeroed at the first page's colour set-up.
struct tagCOLORBLOCK {
    BYTE abLut[LUT_BYTES];       // rewritten in place by the colour adjustment
    BYTE abLutKey[16];           // key of the matched LUT entry: byte 7 flags, bytes 8 and 9 UCR and BG
    BYTE* apMatrix[SLOT_COUNT];  // tiled threshold rows, dwMatrixRowBytes each; nullptr = none
    DWORD adwMatrixHeight[SLOT_COUNT];
    DWORD dwMatrixRowBytes;         // common tiled row length (a multiple of 4)
    BYTE* apToneCurve[SLOT_COUNT];  // TONE_CURVE_BYTES each; nullptr = none
};

// One colour-cache entry, indexed by R + G + B: the colour cached there and its final values.
struct tagCOLORCACHEENTRY {
    BYTE bRed, bGreen, bBlue;
    BYTE bCyan, bYellow, bMagenta, bBlack;
};
inline constexpr size_t COLOR_CACHE_ENTRIES = 768;

struct tagRENDERCONTEXT {
    tagOUTPUTBUFFER* pOutput;      // created on first use by any writer
    DWORD dwLangFlags;             // TONERSAVE_SUPPORTED, TONERSAVE_IN_TABLE
    LONG lPageWidth, lPageHeight;  // dots, from the page header
    LONG lPrintOffsetX, lPrintOffsetY;
    LONG lPageInSet;
    LONG lCopyNumber;
    LONG lBandWidthMultiple;                // 0 when the model does not give it
    LONG lShiftX, lShiftY;                  // binding shift, dots
    LONG lResMultiplierX, lResMultiplierY;  // 1 or 2 each
    // Page-header memo of the GDI page header.
    SHORT sMemoMediaCode, sMemoSourceCode, sMemoRasterCode, sMemoPaperCode, sMemoPaperWidth, sMemoPaperLength;
    LONG lRasterWidth, lRasterHeight, lRasterLeft, lRasterTop;
    SHORT sFirstPageDuplex;
    SHORT sFrontCover, sBackCover;  // 0xFFFF when a blank cover sheet is due
    SHORT sBackCoverSource;
    // Page-header values: current (GDI) or last sent (PCL-style).
    SHORT sQuality, sPaperSize, sPaperWidth, sPaperLength, sMediaType, sPaperSource;
    DWORD dwInkMask;
    PFNCOMPRESS pfnCompress;
    DWORD dwCompressOption;
    DWORD dwStripeRows;
    WORD wBandFlags;
    SHORT asGrayWeight[3];  // red, green, blue
    SHORT sTonerSaveLevel;
    tagCOLORCACHEENTRY* pColorCache;  // COLOR_CACHE_ENTRIES, types 1 and 2 only
    tagCOLORTABLEIMAGE* pColorTable;  // the colour-table file, read at creation
    tagCOLORBLOCK* pColorBlock;
    tagSCREENSCRATCH* pScreenScratch;  // the fast screening's working memory, grown on use
    BYTE* pSpareBits;                  // the planes of the last page's bitmap, kept for the next page
    size_t cbSpareBits;
    // The fast screening's vector level: the best the CPU runs unless pinned (held to the best).
    bool bScreenSimdPinned;
    ScreenSimd eScreenSimd;
};
