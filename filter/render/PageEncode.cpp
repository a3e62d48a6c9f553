#include "filter/render/PageEncode.h"

#include "filter/render/BandCompress.h"
#include "filter/render/PageBitmap.h"
#include "filter/render/RasterBlockLayout.h"
#include "filter/render/RasterBlockWriter.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <algorithm>
#include <cstdint>

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

// The band of plane `plane` as compressed or raw blocks.
void SendBandPlane(tagRENDERCONTEXT* context, tagOUTPUTBUFFER* out, const tagPAGEBITMAP* bitmap, DWORD plane,
                   DWORD firstRow, DWORD rows, WORD planeNumber)
{
    const BYTE* band = bitmap->pBits + plane * PagePlaneBytes(bitmap) + firstRow * bitmap->cbRowBytes;
    if (CompressBand(context, out, band, planeNumber, bitmap->dwWidth, rows) == FLAG_FALSE) {
        AppendRawRows(out, context->wBandFlags, band, bitmap->cbRowBytes, rows, planeNumber);
    }
}

WORD EncodePlanes(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows, const WORD* planeNumbers,
                  DWORD planeCount)
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
    context->wBandFlags = BAND_FIRST;
    for (DWORD row = 0; row < height; row += std::min(rowsPerBand, height - row)) {
        const DWORD rows = std::min(rowsPerBand, height - row);
        if (static_cast<uint64_t>(row) + rowsPerBand >= height) {
            context->wBandFlags = BAND_LAST;  // a page of one band carries the last-band flag only
        }
        for (DWORD plane = 0; plane < planeCount; ++plane) {
            SendBandPlane(context, out, bitmap, plane, row, rows, planeNumbers[plane]);
        }
        context->wBandFlags = 0;
    }
    return FLAG_TRUE;
}

}  // namespace

WORD EncodeMonoPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kMonoPlaneNumbers, PAGE_PLANES_MONO);
}

WORD EncodeColorPage(tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, LONG bandRows)
{
    return EncodePlanes(context, bitmap, bandRows, kColorPlaneNumbers, PAGE_PLANES_COLOR);
}

WORD EncodePage(tagRENDERCONTEXT* context, DWORD /*pageWidth*/, DWORD /*pageHeight*/, LONG bandRows,
                const DRVDEVMODE* /*settings*/, tagRENDEROPTIONS* options)
{
    if (options == nullptr || options->pPageBitmap == nullptr) {
        return FLAG_FALSE;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    WORD result = FLAG_FALSE;
    if (options->dwLangType == LANGTYPE_GDI && context != nullptr) {
        // The bitmap's planes decide, not the settings: a settings record that arrives between the
        // page's allocation and its encoding cannot make the encoder read planes that are not there.
        result = bitmap->dwPlanes == PAGE_PLANES_MONO ? EncodeMonoPage(context, bitmap, bandRows)
                                                      : EncodeColorPage(context, bitmap, bandRows);
    }
    FreePageBitmap(bitmap);
    options->pPageBitmap = nullptr;
    return result;
}
