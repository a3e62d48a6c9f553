// A page's raster blocks as a list of band-planes (one band of one bit-plane each, in the order
// their blocks go out) and the two ways of encoding the list: one after the other, or compressed on
// several threads ahead of the one that appends them in order. Both give the same bytes.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/BandCompress.h"
#include "filter/render/OutputBuffer.h"

#include <cstddef>
#include <vector>

// One band of one bit-plane.
struct tagBANDPLANE {
    const BYTE* pbBand;  // its first row in the page bitmap
    DWORD dwWidth;  // dots a row; rows are (dwWidth + 7) / 8 bytes
    DWORD dwRows;
    WORD wPlane;  // the plane number its blocks carry
    WORD wBandFlags;  // first-band and last-band flags of its band
};

// The most band-planes compressed ahead of the one being appended: bounds the memory of the
// waiting blocks to a few bands.
inline constexpr size_t kEncodeAheadBandPlanes = 8;

// The most threads that compress a page.
inline constexpr unsigned kEncodeThreadsMax = 4;

// The band-plane's blocks into `out`: compressed, or raw rows when the compressor writes nothing.
void EncodeBandPlane(const tagBANDCOMPRESSOR& compressor, const tagBANDPLANE& bandPlane, tagOUTPUTBUFFER* out);

// Every band-plane's blocks into `out` in the list's order, the same bytes as EncodeBandPlane on each
// in turn. With `threads` above 1, up to threads - 1 helper threads compress band-planes ahead, each
// into blocks of its own, while this thread appends them in order (and compresses the next one
// itself when no helper has taken it yet). A helper that cannot be started or cannot get blocks
// leaves its work to this thread. The helpers have ended when the call returns.
void EncodeBandPlanes(const tagBANDCOMPRESSOR& compressor, const std::vector<tagBANDPLANE>& bandPlanes,
                      tagOUTPUTBUFFER* out, unsigned threads);
