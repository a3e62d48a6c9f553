// Page encoding of the GDI language: the page bitmap cut into bands, every band of every plane
// compressed (or sent raw) as raster blocks into the renderer's output buffer.
#pragma once

#include "core/WinTypes.h"

struct DRVDEVMODE;
struct tagPAGEBITMAP;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;
class WorkerPool;

// Band height when the model gives none (0 or less).
inline constexpr LONG kDefaultBandRows = 512;

// The page bitmap of the option block as raster blocks (language type 2 only), then the bitmap is
// freed and the option block's pointer cleared, whatever the outcome. `pageWidth` and `pageHeight`
// are the page as the front end knows it; the bitmap's own geometry (its width and height after the
// binding shift, its planes) is what is encoded, so that the encoder never reads past what the
// screening drew into. 0xFFFF after type-2 output; 0 without a bitmap, for another language type,
// or when the output buffer cannot be created.
WORD EncodePage(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows, const DRVDEVMODE* settings,
                tagRENDEROPTIONS* options);

// EncodePage with the page's bands compressed on the pool's workers and this thread ahead of the
// one that puts their blocks into the output buffer: the same bytes in the same order. Without a
// pool, or one without workers, it is EncodePage. None of its tasks is left in the pool when it
// returns.
WORD EncodePageAhead(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows,
                     const DRVDEVMODE* settings, tagRENDEROPTIONS* options, WorkerPool* pool);

// A page compressed while it is being screened: the job's workers compress its band-planes as soon
// as their rows are final, and the page's end appends them in order, the same bytes as EncodePage.
struct tagPAGEENCODER;

// Starts compressing the page bitmap of the option block on the pool's workers. nullptr, and the
// page is to be encoded whole at its end, without a bitmap, for another language than GDI, or
// without a pool that has workers. The bitmap and the pool must stay until PageEncoderFinish or
// PageEncoderFree.
tagPAGEENCODER* PageEncoderStart(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options, LONG bandRows,
                                 WorkerPool* pool);

// The bitmap's rows before `rows` are screened and will not be drawn into any more.
void PageEncoderRowsDone(tagPAGEENCODER* encoder, DWORD rows);

// The page's end: every row final, the page's blocks into the output buffer (emptied first) in
// order; then the encoder and the bitmap are freed and the option block's pointer cleared,
// whatever the outcome. Results as EncodePage; 0 also without an encoder.
WORD PageEncoderFinish(tagPAGEENCODER* encoder, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options);

// A page given up: its compression stops (a worker finishes the band-plane in hand) and none of its
// tasks is left in the pool, the encoder is freed; the bitmap stays. nullptr is harmless.
void PageEncoderFree(tagPAGEENCODER* encoder);

// The one plane of a monochrome bitmap as plane 0, band by band. Bands of `bandRows` rows (0 or
// less: kDefaultBandRows; at most 65535, the raster block's row count). The output buffer is reset
// first. 0xFFFF, or 0 when the output buffer cannot be created or the bitmap has no plane.
WORD EncodeMonoPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows);

// The four planes of a colour bitmap (cyan, magenta, yellow, black), each band sent as planes 1,
// 2, 3, 0 in that order. Results as EncodeMonoPage; a bitmap of fewer than four planes gives 0.
WORD EncodeColorPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows);
