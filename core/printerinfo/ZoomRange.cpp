#include "core/printerinfo/ZoomRange.h"

#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstdint>

namespace {

constexpr SHORT kDefaultDpi = 600;
constexpr SHORT kDefaultMinZoom = 25;
constexpr SHORT kDefaultMaxZoom = 400;
// The longest side a page may have in device dots, times 100 for percent.
constexpr double kMaxDotsPercent = 3276700.0;
constexpr double kTenthsMmPerInch = 254.0;

}  // namespace

WORD GetZoomPaperSize(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, const DRVDEVMODE* pdm,
                      SHORT* psWidth, SHORT* psLength)
{
    if (pdm == nullptr || psWidth == nullptr || psLength == nullptr) {
        return FLAG_FALSE;
    }
    tagPAPERINFO paper;
    if (GetPaperInfo(pHandle, pUserPaper, pdm->dm.dmPaperSize, &paper)) {
        *psWidth = paper.sTurnedWidthMm;
        *psLength = paper.sTurnedLengthMm;
        return FLAG_TRUE;
    }
    const DWORD bothSizeBits = DM_PAPERLENGTH | DM_PAPERWIDTH;
    if ((pdm->dm.dmFields & bothSizeBits) == bothSizeBits) {
        *psWidth = pdm->dm.dmPaperWidth;
        *psLength = pdm->dm.dmPaperLength;
        return FLAG_TRUE;
    }
    return FLAG_FALSE;
}

WORD GetZoomRange(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, const DRVDEVMODE* pdm, SHORT sDpi,
                  SHORT* psMin, SHORT* psMax)
{
    if (psMin == nullptr || psMax == nullptr) {
        return FLAG_FALSE;
    }
    *psMin = 100;
    *psMax = 100;
    const SHORT dpi = sDpi > 0 ? sDpi : kDefaultDpi;
    SHORT width = 0;
    SHORT length = 0;
    if (!GetZoomPaperSize(pHandle, pUserPaper, pdm, &width, &length)) {
        return FLAG_FALSE;
    }
    SHORT minZoom = kDefaultMinZoom;
    SHORT maxZoom = kDefaultMaxZoom;
    CPrinterInfo zoom(pHandle, SPCID_ZOOM, 0, 1);
    if (const tagZOOMLIMITS* limits = zoom.First<tagZOOMLIMITS>()) {
        minZoom = limits->sMinPercent;
        maxZoom = limits->sMaxPercent;
    }
    // The largest zoom that keeps the longer side within the page's dots. A side of 0 or less
    // sets no such bound, and the quotient is held in 64 bits so a tiny side cannot wrap it.
    const int32_t longer = width > length ? width : length;
    if (longer > 0) {
        const double sideDots = longer / kTenthsMmPerInch * dpi;
        const int64_t largest = static_cast<int64_t>(kMaxDotsPercent / sideDots);
        if (largest < maxZoom) {
            maxZoom = static_cast<SHORT>(largest / 5 * 5);
        }
    }
    *psMin = minZoom;
    *psMax = maxZoom;
    return FLAG_TRUE;
}
