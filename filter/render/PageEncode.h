// Page encoding of the GDI language: the page bitmap cut into bands, every band of every plane
// compressed (or sent raw) as raster blocks into the renderer's output buffer.
#pragma once

#include "core/WinTypes.h"

struct DRVDEVMODE;
struct tagPAGEBITMAP;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

// Band height when the model gives none (0 or less).
inline constexpr LONG kDefaultBandRows = 512;

// The page bitmap of the option block as raster blocks (language type 2 only), then the bitmap is
// freed and the option block's pointer cleared, whatever the outcome. `pageWidth` and `pageHeight`
// are the page as the front end knows it; the bitmap's own geometry (its width and height after the
// binding shift, its planes) is what is encoded, so that the encoder never reads past what the
// screening drew into. 0xFFFF after type-2 output; 0 without a bitmap, for another language type,
// or when the output buffer cannot be created.
WORD EncodePage(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows,
                const DRVDEVMODE* settings, tagRENDEROPTIONS* options);

// EncodePage with the page's bands compressed on up to `threads` threads (at most
// kEncodeThreadsMax; 1 or 0 is EncodePage) ahead of the one that puts their blocks into the output
// buffer: the same bytes in the same order. The threads have ended when it returns.
WORD EncodePageAhead(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows,
                     const DRVDEVMODE* settings, tagRENDEROPTIONS* options, unsigned threads);

// The one plane of a monochrome bitmap as plane 0, band by band. Bands of `bandRows` rows (0 or
// less: kDefaultBandRows; at most 65535, the raster block's row count). The output buffer is reset
// first. 0xFFFF, or 0 when the output buffer cannot be created or the bitmap has no plane.
WORD EncodeMonoPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows);

// The four planes of a colour bitmap (cyan, magenta, yellow, black), each band sent as planes 1,
// 2, 3, 0 in that order. Results as EncodeMonoPage; a bitmap of fewer than four planes gives 0.
WORD EncodeColorPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows);
