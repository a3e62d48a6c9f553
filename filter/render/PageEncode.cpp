#include "filter/render/PageEncode.h"

#include "filter/render/BandCompress.h"
#include "filter/render/PageBitmap.h"
#include "filter/render/PageEncodeAhead.h"
#include "filter/render/RasterBlockLayout.h"
#include "filter/render/RasterBlockWriter.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Bitmap plane i of a colour page goes out as plane number kColorPlaneOrder[i], in this order.
constexpr WORD kColorPlaneNumbers[PAGE_PLANES_COLOR] = {RASTER_PLANE_CYAN, RASTER_PLANE_MAGENTA,
                                                        RASTER_PLANE_YELLOW, RASTER_PLANE_BLACK};
constexpr WORD kMonoPlaneNumbers[PAGE_PLANES_MONO] = {RASTER_PLANE_BLACK};

DWORD BandRows(LONG bandRows)
{
    if (bandRows <= 0) {
        return kDefaultBandRows;
    }
    return static_cast<DWORD>(std::min<LONG>(bandRows, kCompressMaxRows));
}

WORD EncodePlanes(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows, const WORD* planeNumbers,
                  DWORD planeCount, unsigned threads)
{
    if (context == nullptr || bitmap == nullptr || bitmap->dwPlanes < planeCount) {
        return FLAG_FALSE;
    }
    if (bitmap->pBits == nullptr && PagePlaneBytes(bitmap) != 0) {
        return FLAG_FALSE;
    }
    tagOUTPUTBUFFER* out = RendererStartOutput(context);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    const DWORD rowsPerBand = BandRows(bandRows);
    const DWORD height = bitmap->dwHeight;
    std::vector<tagBANDPLANE> bandPlanes;
    bandPlanes.reserve((height / rowsPerBand + 1) * planeCount);
    context->wBandFlags = BAND_FIRST;
    for (DWORD row = 0; row < height; row += std::min(rowsPerBand, height - row)) {
        const DWORD rows = std::min(rowsPerBand, height - row);
        if (static_cast<uint64_t>(row) + rowsPerBand >= height) {
            context->wBandFlags = BAND_LAST;  // a page of one band carries the last-band flag only
        }
        for (DWORD plane = 0; plane < planeCount; ++plane) {
            const BYTE* band = bitmap->pBits + plane * PagePlaneBytes(bitmap) + row * bitmap->cbRowBytes;
            bandPlanes.push_back(tagBANDPLANE{band, bitmap->dwWidth, rows, planeNumbers[plane], context->wBandFlags});
        }
        context->wBandFlags = 0;
    }
    EncodeBandPlanes(BandCompressorOf(context), bandPlanes, out, threads);
    return FLAG_TRUE;
}

}  // namespace

WORD EncodeMonoPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kMonoPlaneNumbers, PAGE_PLANES_MONO, 1);
}

WORD EncodeColorPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kColorPlaneNumbers, PAGE_PLANES_COLOR, 1);
}

WORD EncodePageAhead(tagRENDERCONTEXT* context, DWORD /*pageWidth*/, DWORD /*pageHeight*/, LONG bandRows,
                     const DRVDEVMODE* /*settings*/, tagRENDEROPTIONS* options, unsigned threads)
{
    if (options == nullptr || options->pPageBitmap == nullptr) {
        return FLAG_FALSE;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    WORD result = FLAG_FALSE;
    if (options->dwLangType == LANGTYPE_GDI && context != nullptr) {
        // The bitmap's planes decide, not the settings: a settings record that arrives between the
        // page's allocation and its encoding cannot make the encoder read planes that are not there.
        result = bitmap->dwPlanes == PAGE_PLANES_MONO
                     ? EncodePlanes(context, bitmap, bandRows, kMonoPlaneNumbers, PAGE_PLANES_MONO, threads)
                     : EncodePlanes(context, bitmap, bandRows, kColorPlaneNumbers, PAGE_PLANES_COLOR, threads);
    }
    FreePageBitmap(bitmap);
    options->pPageBitmap = nullptr;
    return result;
}

WORD EncodePage(tagRENDERCONTEXT* context, DWORD pageWidth, DWORD pageHeight, LONG bandRows,
                const DRVDEVMODE* settings, tagRENDEROPTIONS* options)
{
    return EncodePageAhead(context, pageWidth, pageHeight, bandRows, settings, options, 1);
}
