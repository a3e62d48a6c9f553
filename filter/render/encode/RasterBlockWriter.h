// Raster blocks of the GDI page language: "\033*b0W", the 16-byte header of RasterBlockLayout.h,
// then the data (one JBIG image or uncompressed rows).
#pragma once

#include "core/WinTypes.h"
#include "filter/render/OutputBuffer.h"

#include <cstddef>

struct tagRENDERCONTEXT;

// One block into `out`; bytes 4 and 6 of the header come from the context's band flags (last band,
// first band). 0xFFFF; 0 only without context or buffer. Failed appends are not reported: the
// bytes appended so far stay, as with every writer of the renderer.
WORD WriteRasterBlockType2(tagRENDERCONTEXT* context, tagOUTPUTBUFFER* out, const BYTE* data, DWORD length, WORD plane,
                           WORD rows, bool compressed);

// The same block with the band flags given, for writers that keep their own flags word.
void AppendRasterBlock(tagOUTPUTBUFFER* out, WORD bandFlags, const BYTE* data, DWORD length, WORD plane, WORD rows,
                       bool compressed);

// `rows` uncompressed rows of `rowBytes` bytes each as raw blocks. The header's 32-bit length
// bounds a block, so rows that would not fit one block are split over several (only with rows of
// more than 65 KB, far beyond any paper): then the first-band flag goes on the first of them and
// the last-band flag on the last, as for the pieces of a band.
void AppendRawRows(tagOUTPUTBUFFER* out, WORD bandFlags, const BYTE* rowData, size_t rowBytes, DWORD rows, WORD plane);
