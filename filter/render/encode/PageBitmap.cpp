#include "filter/render/encode/PageBitmap.h"

#include "filter/render/PrefaultedMemory.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "core/settings/DevMode.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The page is turned by 180 degrees: the binding edge changes sides.
bool PageRotated(const DRVDEVMODE* settings)
{
    return (settings->priv.dmFieldsExtra1 & DMX1_ROTATE180) != 0 &&
           (settings->priv.dmExtraPrint & DMXP_ROTATE180) != 0 && settings->priv.dmRotateOrient == 1;
}

// The extent left after a shift of `shift` pixels; never negative.
uint64_t ShiftedExtent(DWORD extent, LONG shift)
{
    const uint64_t magnitude = shift < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(shift)) : shift;
    return magnitude >= extent ? 0 : extent - magnitude;
}

}  // namespace

LONG PageMultiplierX(const tagRENDERCONTEXT* context)
{
    return context != nullptr && context->lResMultiplierX == 2 ? 2 : 1;
}

LONG PageMultiplierY(const tagRENDERCONTEXT* context)
{
    return context != nullptr && context->lResMultiplierY == 2 ? 2 : 1;
}

WORD ComputeBindingShift(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (options == nullptr) {
        return ComputeBindingShift(settings, context, options, tagBINDINGPAGE{});
    }
    return ComputeBindingShift(settings, context, options, tagBINDINGPAGE{options->dwPageInSet, options->sOrientation});
}

WORD ComputeBindingShift(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                         const tagBINDINGPAGE& page)
{
    if (context == nullptr) {
        return FLAG_FALSE;
    }
    context->lShiftX = 0;
    context->lShiftY = 0;
    if (settings == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const int64_t margin = options->wDuplexMargin;
    const int64_t unit = settings->priv.dmUnitOfLayout;
    const int64_t dpi = settings->dm.dmPrintQuality;
    if (margin == 0 || unit == 0 || dpi <= 0) {
        return FLAG_TRUE;
    }
    int64_t shift = margin * dpi / unit;  // layout units to pixels
    if (shift <= 0) {
        return FLAG_TRUE;
    }
    const bool longEdge = options->wDuplex == 2;
    if (!longEdge && options->wDuplex != 3) {
        return FLAG_TRUE;  // simplex pages have no binding edge
    }
    const int64_t multiple = context->lBandWidthMultiple;
    if (multiple != 0) {
        shift = (shift / multiple) * multiple;  // the band width must stay a whole multiple
    }
    if (PageRotated(settings)) {
        shift = -shift;
    }

    const bool portrait = page.sOrientation == 1;
    const bool odd = (page.dwPageInSet & 1) != 0;
    const bool settingsPortrait = settings->dm.dmOrientation == 1;
    bool positive;
    if (longEdge) {
        positive = odd;
    } else if (portrait) {
        positive = odd == settingsPortrait;
    } else {
        positive = odd != settingsPortrait;
    }
    const LONG signedShift = static_cast<LONG>(positive ? shift : -shift);
    if (longEdge == settingsPortrait) {
        context->lShiftX = signedShift;
    } else {
        context->lShiftY = signedShift;
    }
    return FLAG_TRUE;
}

WORD AllocPageBitmap(DWORD width, DWORD height, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    return AllocPageBitmap(width, height, settings, context, options,
                           tagBINDINGPAGE{options->dwPageInSet, options->sOrientation});
}

WORD AllocPageBitmap(DWORD width, DWORD height, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     tagRENDEROPTIONS* options, const tagBINDINGPAGE& page)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    ComputeBindingShift(settings, context, options, page);
    ReleasePageBitmap(context, options);

    const DWORD planes = settings != nullptr && settings->priv.dmColor == 1 ? PAGE_PLANES_MONO : PAGE_PLANES_COLOR;
    const uint64_t dots = ShiftedExtent(width, context->lShiftX) * PageMultiplierX(context);
    const uint64_t rows = ShiftedExtent(height, context->lShiftY) * PageMultiplierY(context);
    if (dots > UINT32_MAX || rows > UINT32_MAX) {
        return FLAG_FALSE;
    }
    const uint64_t rowBytes = (dots + 7) / 8;
    // Both factors are below 2^32 and 2^29, so the product needs at most 61 bits.
    const uint64_t planeBytes = rowBytes * rows;
    if (planeBytes > SIZE_MAX / planes) {
        return FLAG_FALSE;
    }

    auto* bitmap = static_cast<tagPAGEBITMAP*>(std::calloc(1, sizeof(tagPAGEBITMAP)));
    if (bitmap == nullptr) {
        return FLAG_FALSE;
    }
    bitmap->dwWidth = static_cast<DWORD>(dots);
    bitmap->dwHeight = static_cast<DWORD>(rows);
    bitmap->dwPlanes = planes;
    bitmap->cbRowBytes = static_cast<size_t>(rowBytes);
    bitmap->lShiftX = context->lShiftX;
    bitmap->lShiftY = context->lShiftY;
    const size_t total = static_cast<size_t>(planeBytes) * planes;
    if (total != 0) {
        if (context->pSpareBits != nullptr && context->cbSpareBits == total) {
            // The last page's planes: cleared here, they take no page faults while screened.
            bitmap->pBits = context->pSpareBits;
            context->pSpareBits = nullptr;
            context->cbSpareBits = 0;
            std::memset(bitmap->pBits, 0, total);
        } else {
            FreeSparePageBits(context);
            bitmap->pBits = static_cast<BYTE*>(CallocPrefaulted(total, 1));
        }
        if (bitmap->pBits == nullptr) {
            std::free(bitmap);
            return FLAG_FALSE;
        }
    }
    options->pPageBitmap = bitmap;
    return FLAG_TRUE;
}

void FreePageBitmap(tagPAGEBITMAP* bitmap)
{
    if (bitmap != nullptr) {
        std::free(bitmap->pBits);
        std::free(bitmap);
    }
}

void ReleasePageBitmap(tagRENDERCONTEXT* context, tagRENDEROPTIONS* options)
{
    if (options == nullptr || options->pPageBitmap == nullptr) {
        return;
    }
    tagPAGEBITMAP* bitmap = options->pPageBitmap;
    options->pPageBitmap = nullptr;
    if (context != nullptr && bitmap->pBits != nullptr) {
        FreeSparePageBits(context);
        context->pSpareBits = bitmap->pBits;
        context->cbSpareBits = PagePlaneBytes(bitmap) * bitmap->dwPlanes;
        bitmap->pBits = nullptr;
    }
    FreePageBitmap(bitmap);
}

void FreeSparePageBits(tagRENDERCONTEXT* context)
{
    if (context == nullptr) {
        return;
    }
    std::free(context->pSpareBits);
    context->pSpareBits = nullptr;
    context->cbSpareBits = 0;
}

DWORD PageRowsAbove(const tagRENDERCONTEXT* context, const tagPAGEBITMAP* bitmap, int64_t pageY)
{
    if (context == nullptr || bitmap == nullptr) {
        return 0;
    }
    // The screening moves a band up by a negative binding shift, and draws page row r into bitmap
    // rows r * multiplier and on.
    const int64_t y = pageY + std::min<LONG>(bitmap->lShiftY, 0);
    if (y <= 0) {
        return 0;
    }
    const uint64_t rows = static_cast<uint64_t>(y) * static_cast<uint64_t>(PageMultiplierY(context));
    return rows < bitmap->dwHeight ? static_cast<DWORD>(rows) : bitmap->dwHeight;
}
