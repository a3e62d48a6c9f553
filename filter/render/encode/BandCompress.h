// Compression of one band of one bit-plane through the compression library's `COMPRESS` entry,
// into raster blocks: one JBIG block when the library encodes the band whole, several when it
// stops early, and raw rows for whatever follows a failed call.
#pragma once

#include "core/WinTypes.h"
#include "platform/compress/CompressParams.h"
#include "filter/render/OutputBuffer.h"

struct tagRENDERCONTEXT;

// What every call of the entry shares within a job.
struct tagBANDCOMPRESSOR {
    PFNCOMPRESS pfnCompress;  // nullptr: the library is missing
    BYTE bOption;             // the option byte (the model's compression option)
    DWORD dwStripeRows;       // 0: one stripe of all the rows to encode
    void* pRenderContext;     // handed to the library, which does not use it
};

// The compressor of a renderer context.
tagBANDCOMPRESSOR BandCompressorOf(tagRENDERCONTEXT* context);

// The widest and tallest band the entry can take (its 16-bit width and row fields).
inline constexpr DWORD kCompressMaxWidth = 0xFFFF;
inline constexpr DWORD kCompressMaxRows = 0xFFFF;

// `rows` rows of `width` dots at `band` (rows of (width + 7) / 8 bytes) as raster blocks of plane
// `plane`, the first-band and last-band flags taken from `bandFlags` and put only on the first and
// the last block of the band. 0xFFFF when the band was written (compressed, partly raw or raw); 0
// when nothing was written: no entry, a band wider or taller than the entry can take, or no memory
// for its buffers. A result of the entry that cannot be true (more bytes than the buffer holds,
// more rows than asked, or encoded rows in fewer bytes than a JBIG header) counts as a failed call.
WORD CompressBandPlane(const tagBANDCOMPRESSOR& compressor, WORD bandFlags, tagOUTPUTBUFFER* out, const BYTE* band,
                       WORD plane, DWORD width, DWORD rows);

// CompressBandPlane with the compressor and the band flags of the context; the context's flags are
// as before afterwards.
WORD CompressBand(tagRENDERCONTEXT* context, tagOUTPUTBUFFER* out, const BYTE* band, WORD plane, DWORD width,
                  DWORD rows);
