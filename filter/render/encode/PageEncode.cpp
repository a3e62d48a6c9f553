#include "filter/render/encode/PageEncode.h"

#include "filter/render/encode/BandCompress.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/encode/PageEncodeAhead.h"
#include "filter/render/encode/RasterBlockLayout.h"
#include "filter/render/encode/RasterBlockWriter.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace {

// Bitmap plane i of a colour page goes out as plane number kColorPlaneOrder[i], in this order.
constexpr WORD kColorPlaneNumbers[PAGE_PLANES_COLOR] = {RASTER_PLANE_CYAN, RASTER_PLANE_MAGENTA, RASTER_PLANE_YELLOW,
                                                        RASTER_PLANE_BLACK};
constexpr WORD kMonoPlaneNumbers[PAGE_PLANES_MONO] = {RASTER_PLANE_BLACK};

DWORD BandRows(LONG bandRows)
{
    if (bandRows <= 0) {
        return kDefaultBandRows;
    }
    return static_cast<DWORD>(std::min<LONG>(bandRows, kCompressMaxRows));
}

// Whether the bitmap can be encoded with this many planes.
bool Encodable(const tagPAGEBITMAP* bitmap, DWORD planeCount)
{
    if (bitmap == nullptr || bitmap->dwPlanes < planeCount) {
        return false;
    }
    return bitmap->pBits != nullptr || PagePlaneBytes(bitmap) == 0;
}

// The page's band-planes in the order their blocks go out: band by band, each band's planes in
// the order of planeNumbers. The first band carries the first-band flag, the last one the
// last-band flag (a page of one band the last-band flag only).
std::vector<tagBANDPLANE> PageBandPlanes(const tagPAGEBITMAP* bitmap, LONG bandRows, const WORD* planeNumbers,
                                         DWORD planeCount)
{
    const DWORD rowsPerBand = BandRows(bandRows);
    const DWORD height = bitmap->dwHeight;
    std::vector<tagBANDPLANE> bandPlanes;
    bandPlanes.reserve((height / rowsPerBand + 1) * planeCount);
    WORD flags = BAND_FIRST;
    for (DWORD row = 0; row < height; row += std::min(rowsPerBand, height - row)) {
        const DWORD rows = std::min(rowsPerBand, height - row);
        if (static_cast<uint64_t>(row) + rowsPerBand >= height) {
            flags = BAND_LAST;
        }
        for (DWORD plane = 0; plane < planeCount; ++plane) {
            const BYTE* band = bitmap->pBits + plane * PagePlaneBytes(bitmap) + row * bitmap->cbRowBytes;
            bandPlanes.push_back(tagBANDPLANE{band, bitmap->dwWidth, rows, row + rows, planeNumbers[plane], flags});
        }
        flags = 0;
    }
    return bandPlanes;
}

// The context's band flags as the encoding of a page leaves them: none after a page with a band,
// still the first-band flag after a page without rows.
void SetBandFlagsAfterPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap)
{
    context->wBandFlags = bitmap->dwHeight > 0 ? 0 : BAND_FIRST;
}

WORD EncodePlanes(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows, const WORD* planeNumbers,
                  DWORD planeCount, WorkerPool* pool)
{
    if (context == nullptr || !Encodable(bitmap, planeCount)) {
        return FLAG_FALSE;
    }
    tagOUTPUTBUFFER* out = RendererStartOutput(context);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    EncodeBandPlanes(BandCompressorOf(context), PageBandPlanes(bitmap, bandRows, planeNumbers, planeCount), out, pool);
    SetBandFlagsAfterPage(context, bitmap);
    return FLAG_TRUE;
}

bool IsMono(const tagPAGEBITMAP* bitmap)
{
    return bitmap->dwPlanes == PAGE_PLANES_MONO;
}

}  // namespace

WORD EncodeMonoPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kMonoPlaneNumbers, PAGE_PLANES_MONO, nullptr);
}

WORD EncodeColorPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kColorPlaneNumbers, PAGE_PLANES_COLOR, nullptr);
}

WORD EncodePageAhead(tagRENDERCONTEXT* context, DWORD /*pageWidth*/, DWORD /*pageHeight*/, LONG bandRows,
                     const DRVDEVMODE* /*settings*/, tagRENDEROPTIONS* options, WorkerPool* pool)
{
    if (options == nullptr || options->pPageBitmap == nullptr) {
        return FLAG_FALSE;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    WORD result = FLAG_FALSE;
    if (options->dwLangType == LANGTYPE_GDI && context != nullptr) {
        // The bitmap's planes decide, not the settings: a settings record that arrives between the
        // page's allocation and its encoding cannot make the encoder read planes that are not there.
        result = IsMono(bitmap) ? EncodePlanes(context, bitmap, bandRows, kMonoPlaneNumbers, PAGE_PLANES_MONO, pool)
                                : EncodePlanes(context, bitmap, bandRows, kColorPlaneNumbers, PAGE_PLANES_COLOR, pool);
    }
    ReleasePageBitmap(context, options);
    return result;
}

// The page's blocks gather in a buffer of the encoder's own until the page's end: the context's
// buffer carries the page's header before them.
struct OutputBufferDeleter {
    void operator()(tagOUTPUTBUFFER* buffer) const { OutputBufferFree(buffer); }
};

struct tagPAGEENCODER {
    std::unique_ptr<tagOUTPUTBUFFER, OutputBufferDeleter> page;
    std::unique_ptr<AheadEncoder> encoder;
};

tagPAGEENCODER* PageEncoderStart(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options, LONG bandRows,
                                 WorkerPool* pool)
{
    if (context == nullptr || options == nullptr || options->pPageBitmap == nullptr ||
        options->dwLangType != LANGTYPE_GDI || pool == nullptr || pool->Threads() == 0) {
        return nullptr;
    }
    const tagPAGEBITMAP* bitmap = options->pPageBitmap;
    const bool mono = IsMono(bitmap);
    const DWORD planeCount = mono ? PAGE_PLANES_MONO : PAGE_PLANES_COLOR;
    if (!Encodable(bitmap, planeCount)) {
        return nullptr;
    }
    std::unique_ptr<tagPAGEENCODER> encoder(new (std::nothrow) tagPAGEENCODER);
    if (encoder == nullptr) {
        return nullptr;
    }
    encoder->page.reset(OutputBufferCreate());
    if (encoder->page == nullptr) {
        return nullptr;
    }
    encoder->encoder.reset(new (std::nothrow) AheadEncoder(
        BandCompressorOf(context),
        PageBandPlanes(bitmap, bandRows, mono ? kMonoPlaneNumbers : kColorPlaneNumbers, planeCount),
        encoder->page.get(), pool));
    if (encoder->encoder == nullptr) {
        return nullptr;
    }
    return encoder.release();
}

void PageEncoderRowsDone(tagPAGEENCODER* encoder, DWORD rows)
{
    if (encoder != nullptr) {
        encoder->encoder->RowsReady(rows);
    }
}

WORD PageEncoderFinish(tagPAGEENCODER* encoder, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options)
{
    std::unique_ptr<tagPAGEENCODER> owned(encoder);
    if (options == nullptr) {
        return FLAG_FALSE;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    WORD result = FLAG_FALSE;
    if (owned != nullptr && bitmap != nullptr && context != nullptr) {
        if (tagOUTPUTBUFFER* out = RendererStartOutput(context)) {
            owned->encoder->Finish();
            for (const tagOUTPUTBLOCK* block = owned->page->pFirst; block != nullptr; block = block->pNext) {
                OutputBufferAppend(out, block->pData, block->dwUsed);
            }
            SetBandFlagsAfterPage(context, bitmap);
            result = FLAG_TRUE;
        }
    }
    owned.reset();  // its tasks are done before the bitmap goes
    ReleasePageBitmap(context, options);
    return result;
}

void PageEncoderFree(tagPAGEENCODER* encoder)
{
    delete encoder;
}

WORD EncodePage(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows, const DRVDEVMODE* settings,
                tagRENDEROPTIONS* options)
{
    return EncodePageAhead(context, pageWidth, pageHeight, bandRows, settings, options, nullptr);
}
