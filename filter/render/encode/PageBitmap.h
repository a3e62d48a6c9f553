// The page bitmap that the band screening fills and the page encoding consumes: one bit-plane
// (monochrome) or four (cyan, magenta, yellow, black), bit 7 of a byte the leftmost dot, a set bit
// prints. It keeps its own geometry, so that every writer and reader of the planes addresses them
// with one set of figures and clips to them.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>
#include <cstdint>

struct DRVDEVMODE;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

struct tagPAGEBITMAP {
    DWORD dwWidth;          // dots per row: page width less the binding shift, times the x multiplier
    DWORD dwHeight;         // rows: page height less the binding shift, times the y multiplier
    DWORD dwPlanes;         // 1 monochrome, 4 colour
    size_t cbRowBytes;      // (dwWidth + 7) / 8
    LONG lShiftX, lShiftY;  // the binding shift the page was laid out with, in page pixels
    BYTE* pBits;            // dwPlanes planes of dwHeight rows of cbRowBytes bytes; nullptr when empty
};

inline constexpr DWORD PAGE_PLANES_MONO = 1;
inline constexpr DWORD PAGE_PLANES_COLOR = 4;

inline size_t PagePlaneBytes(const tagPAGEBITMAP* bitmap)
{
    return bitmap->cbRowBytes * bitmap->dwHeight;
}

// The resolution multipliers as the page is drawn: 2 doubles every pixel in that direction,
// anything else draws it once.
LONG PageMultiplierX(const tagRENDERCONTEXT* context);
LONG PageMultiplierY(const tagRENDERCONTEXT* context);

// The page a binding shift is laid out for: its 1-based number within the copy set (odd pages
// shift one way, even pages the other) and its orientation.
struct tagBINDINGPAGE {
    DWORD dwPageInSet;
    SHORT sOrientation;
};

// The duplex binding margin as a shift of the page image, in pixels, into the context's shift
// fields (at most one of them non-zero). 0xFFFF, or 0 when an argument is missing (the shifts are
// then 0). Laid out for the page the option block holds, or for the page given.
WORD ComputeBindingShift(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD ComputeBindingShift(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                         const tagBINDINGPAGE& page);

// Per page: the binding shift, then a zeroed bitmap for a page of `width` x `height` pixels into
// the option block (a previous one is given up, as ReleasePageBitmap does). 0xFFFF when allocated, 0
// without context or option block, or when the bitmap is too large to allocate. The shift is laid
// out for the page the option block holds, or for the page given.
WORD AllocPageBitmap(DWORD width, DWORD height, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     tagRENDEROPTIONS* options);
WORD AllocPageBitmap(DWORD width, DWORD height, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     tagRENDEROPTIONS* options, const tagBINDINGPAGE& page);

// The bitmap rows that a band placed at page row `pageY` (as the screening is given it) or below
// can no longer draw into: those above where such a band lands after the binding shift and the
// row multiplier, at most the bitmap's height.
DWORD PageRowsAbove(const tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, int64_t pageY);

// Frees a bitmap and its planes; nullptr is harmless.
void FreePageBitmap(tagPAGEBITMAP* bitmap);

// The option block's bitmap given up (it may have none): its planes are kept in the context for the
// next page's bitmap of the same size, which then reuses memory already mapped and written instead
// of faulting fresh pages in while the page is screened; without a context they are freed.
void ReleasePageBitmap(tagRENDERCONTEXT* context, tagRENDEROPTIONS* options);

// Frees the planes kept for the next page; at the end of the context.
void FreeSparePageBits(tagRENDERCONTEXT* context);
