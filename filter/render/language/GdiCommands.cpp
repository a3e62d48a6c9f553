#include "filter/render/language/GdiCommands.h"

#include "core/settings/DevMode.h"
#include "filter/render/encode/BandCompress.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/language/PrinterLookups.h"
#include "filter/render/encode/RasterBlockLayout.h"
#include "filter/render/encode/RasterBlockWriter.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr WORD kPjlItemDuplexFirst = 94;
constexpr WORD kPjlItemDuplexSecond = 96;
constexpr DWORD kViewPjlTexts = 4;
constexpr SHORT kPaperCodeCustomSent = 101;
constexpr SHORT kSheetControlLastSheet = 2;
constexpr SHORT kRotationTurned = 3;
constexpr SHORT kCoverDue = static_cast<SHORT>(0xFFFF);

// The page is turned by 180 degrees.
bool PageTurned(const DRVDEVMODE* settings)
{
    return (settings->priv.dmFieldsExtra1 & DMX1_ROTATE180) != 0 &&
           (settings->priv.dmExtraPrint & DMXP_ROTATE180) != 0 && settings->priv.dmRotateOrient == 1;
}

// Ink bits of the screening (bit 0 black, 1 cyan, 2 magenta, 3 yellow) as the printer numbers the
// planes in the page trailer.
LONG TrailerInkPlanes(DWORD inkMask)
{
    LONG planes = 0;
    planes |= (inkMask & 0x1) != 0 ? 1 : 0;
    planes |= (inkMask & 0x8) != 0 ? 2 : 0;
    planes |= (inkMask & 0x4) != 0 ? 4 : 0;
    planes |= (inkMask & 0x2) != 0 ? 8 : 0;
    return planes;
}

// The raster window of the page header: the page in dots and the paper's margins, stored at the
// resolution multipliers.
void SetRasterWindow(tagRENDERCONTEXT* context, const tagPAGEGEOMETRY& geometry)
{
    context->lRasterWidth = context->lPageWidth * context->lResMultiplierX;
    context->lRasterHeight = context->lPageHeight * context->lResMultiplierY;
    context->lRasterLeft = geometry.lMarginX * context->lResMultiplierX;
    context->lRasterTop = geometry.lMarginY * context->lResMultiplierY;
}

void AppendPjlDuplexLine(tagOUTPUTBUFFER* out, WORD item, SHORT duplex, const tagRENDEROPTIONS* options)
{
    void* list = nullptr;
    const DWORD count = GetPjlLineList(item, kViewPjlTexts, &list, options);
    std::unique_ptr<void, decltype(&std::free)> owned(list, &std::free);
    const auto* records = static_cast<const tagPJLFORMAT*>(list);
    for (DWORD i = 0; i < count; ++i) {
        if (static_cast<LONG>(records[i].dwValueKey) != duplex) {
            continue;
        }
        // The model's text fills its field and may lack the terminator.
        const size_t length = FieldTextLength(records[i].szFormat, sizeof(records[i].szFormat));
        if (length > 0) {
            OutputBufferPrintf(out, "@PJL %.*s\n", static_cast<int>(length), records[i].szFormat);
        }
        break;
    }
}

}  // namespace

void QualityResolution(SHORT quality, LONG* across, LONG* down)
{
    switch (quality) {
    case 3:
        *across = 1200;
        *down = 600;
        break;
    case 4:
        *across = 1200;
        *down = 1200;
        break;
    case 1:
        *across = 300;
        *down = 300;
        break;
    default:
        *across = 600;
        *down = 600;
        break;
    }
}

void AppendPaperCommands(tagOUTPUTBUFFER* out, SHORT paperCode, LONG widthTenthMm, LONG lengthTenthMm, LONG across,
                         LONG down, const tagRENDEROPTIONS* options)
{
    if (paperCode != SPC_PRINTER_PAPER_CUSTOM) {
        OutputBufferPrintf(out, "\033&l%dA", paperCode);
        return;
    }
    LONG width = static_cast<LONG>(0.5 + widthTenthMm * static_cast<double>(across) / 254);
    LONG length = static_cast<LONG>(0.5 + lengthTenthMm * static_cast<double>(down) / 254);
    tagCUSTOMLIMITS limits{};
    if (GetCustomLimits(&limits, options)) {
        // The limits are in dots at the paper records' resolution: widths scale with the
        // horizontal resolution, lengths with the vertical one.
        const int64_t base = GetPaperBaseResolution(options);
        const LONG minWidth = static_cast<LONG>(limits.sLimits[kCustomMinWidthDots] * int64_t(across) / base);
        const LONG maxWidth = static_cast<LONG>(limits.sLimits[kCustomMaxWidthDots] * int64_t(across) / base);
        const LONG minLength = static_cast<LONG>(limits.sLimits[kCustomMinLengthDots] * int64_t(down) / base);
        const LONG maxLength = static_cast<LONG>(limits.sLimits[kCustomMaxLengthDots] * int64_t(down) / base);
        width = std::min(std::max(width, minWidth), maxWidth);
        length = std::min(std::max(length, minLength), maxLength);
    }
    OutputBufferPrintf(out, "\033&l%dA\033&f%dI\033&f%dJ", kPaperCodeCustomSent, width, length);
}

WORD GdiBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    // With collation the filter makes the copies itself, so the printer prints each page once.
    const bool driverCollates = (settings->dm.dmFields & DM_COPIES) != 0 && (settings->dm.dmFields & DM_COLLATE) != 0 &&
                                settings->dm.dmCollate == 1 && settings->dm.dmCopies > 1;
    OutputBufferPrintf(out, "@PJL SET COPIES=%d\n", driverCollates ? 1 : settings->dm.dmCopies);
    if ((options->dwCapabilityMask & RENDERCAPS_ECONOMODE) != 0 &&
        (settings->priv.dmFieldsExtra2 & DMX2_TONER_SAVE) != 0) {
        OutputBufferAppendString(out, "@PJL SET ECONOMODE=OFF\n");
    }
    AppendPjlDuplexLine(out, kPjlItemDuplexFirst, settings->dm.dmDuplex, options);
    AppendPjlDuplexLine(out, kPjlItemDuplexSecond, settings->dm.dmDuplex, options);
    return FLAG_TRUE;
}

WORD GdiSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (StartCommandOutput(context, settings, options) == nullptr) {
        return FLAG_FALSE;
    }
    ForgetPageHeaderValues(context);
    return FLAG_TRUE;
}

WORD GdiBlankPage(tagOUTPUTBUFFER* out, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                  const tagRENDEROPTIONS* options)
{
    if (out == nullptr || settings == nullptr || context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    // A sheet wider than a raster block row can describe, or of no width, cannot be sent.
    const LONG width = context->lRasterWidth;
    if (width <= 0 || width > static_cast<LONG>(kCompressMaxWidth)) {
        return FLAG_FALSE;
    }
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    const size_t bandBytes = rowBytes * kGdiBlankPageRows;
    std::unique_ptr<BYTE, decltype(&std::free)> band(static_cast<BYTE*>(std::calloc(1, bandBytes)), &std::free);
    if (!band) {
        return FLAG_FALSE;
    }
    LONG across = 0;
    LONG down = 0;
    QualityResolution(context->sQuality, &across, &down);
    OutputBufferPrintf(out, "\033&&%dS\033&r%dW\033&r%dL\033&&%dY", 0, across, down, context->sMemoMediaCode);
    AppendPaperCommands(out, context->sMemoPaperCode, options->wPaperWidth, options->wPaperLength, across, down,
                        options);
    OutputBufferPrintf(out, "\033&l%dH\033&&%dW\033*r%dT\033*r%dS\033&a%dL\033&l%dE\033&&%dT", context->sMemoSourceCode,
                       context->sMemoRasterCode, kGdiBlankPageRows, width, context->lRasterLeft, context->lRasterTop,
                       0);
    const WORD savedFlags = context->wBandFlags;
    context->wBandFlags = BAND_FIRST | BAND_LAST;
    if (CompressBand(context, out, band.get(), RASTER_PLANE_BLACK, static_cast<DWORD>(width), kGdiBlankPageRows) ==
        FLAG_FALSE) {
        WriteRasterBlockType2(context, out, band.get(), static_cast<DWORD>(bandBytes), RASTER_PLANE_BLACK,
                              kGdiBlankPageRows, false);
    }
    context->wBandFlags = savedFlags;
    OutputBufferPrintf(out, "\033&&%dR", 0);
    return FLAG_TRUE;
}

void SetupCoverPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (settings == nullptr || context == nullptr || options == nullptr) {
        return;
    }
    const PRIVDM& priv = settings->priv;
    context->sFrontCover = 0;
    context->sBackCover = 0;
    if ((priv.dmFieldsExtra1 & DMX1_FRONT_COVER) != 0 && (priv.dmCoverPage & 0x1) != 0 && priv.dmFrontCoverFile == 0) {
        context->sFrontCover = kCoverDue;
    }
    if ((priv.dmFieldsExtra1 & DMX1_BACK_COVER) != 0 && (priv.dmCoverPage & 0x2) != 0 && priv.dmBackCoverFile == 0) {
        context->sBackCover = kCoverDue;
    }
    if (context->sFrontCover != 0) {
        // The cover is blank but goes out on the coming page's paper, media and window.
        context->sQuality = priv.dmQuality;
        tagPAGEGEOMETRY geometry{};
        tagPRINTERPAPER paper{};
        GetPagePaperDots(settings, &geometry, &paper, options);
        context->sMemoPaperCode = paper.sPrinterCode;
        context->sMemoPaperWidth = static_cast<SHORT>(options->wPaperWidth);
        context->sMemoPaperLength = static_cast<SHORT>(options->wPaperLength);
        context->lPageWidth = static_cast<LONG>(options->dwPageWidth);
        context->lPageHeight = static_cast<LONG>(options->dwPageHeight);
        SetRasterWindow(context, geometry);
        tagPRINTERMEDIA media{};
        GetMediaRecord(options->sMediaType, &media, options);
        context->sMemoMediaCode = media.sPrinterCode;
        tagPRINTERSOURCE source{};
        GetSourceRecord(priv.dmFrontCoverSource, &source, options);
        context->sMemoSourceCode = source.sPrinterCode;
        context->sMemoRasterCode = kGdiRasterCode;
    }
    if (context->sBackCover != 0) {
        tagPRINTERSOURCE source{};
        GetSourceRecord(priv.dmBackCoverSource, &source, options);
        context->sBackCoverSource = source.sPrinterCode;
    }
}

WORD GdiBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    const bool turned = PageTurned(settings);

    // Blank sheets due before the page.
    if (context->lPageInSet == 1) {
        context->sFirstPageDuplex = static_cast<SHORT>(options->wDuplex);
        SetupCoverPages(settings, context, options);
        if (context->sFrontCover != 0) {
            GdiBlankPage(out, settings, context, options);
            if (context->sFirstPageDuplex != 1) {
                GdiBlankPage(out, settings, context, options);  // the cover's empty back
            }
        }
    } else {
        // A page that the front end counts further than the context missed a duplex side.
        if (context->sFirstPageDuplex != 1 && context->lPageInSet != static_cast<LONG>(options->dwPageInSet)) {
            GdiBlankPage(out, settings, context, options);
        }
        context->sFirstPageDuplex = static_cast<SHORT>(options->wDuplex);
        context->lPageInSet = static_cast<LONG>(options->dwPageInSet);
    }

    // The printer closes an odd duplex set itself when told that this is the last sheet.
    const bool lastSheet = (options->dwDuplexCaps & kDuplexCapsClosesLastSet) != 0 && context->sFirstPageDuplex != 1 &&
                           context->lCopyNumber == settings->dm.dmCopies &&
                           context->lPageInSet == static_cast<LONG>(options->dwPagesPerSet);
    OutputBufferPrintf(out, "\033&&%dS", lastSheet ? kSheetControlLastSheet : 0);

    context->sQuality = settings->priv.dmQuality;
    LONG across = 0;
    LONG down = 0;
    QualityResolution(context->sQuality, &across, &down);
    OutputBufferPrintf(out, "\033&r%dW\033&r%dL", across, down);

    tagPAGEGEOMETRY geometry{};
    tagPRINTERPAPER paper{};
    GetPagePaperDots(settings, &geometry, &paper, options);

    context->lPageWidth = static_cast<LONG>(options->dwPageWidth);
    context->lPageHeight = static_cast<LONG>(options->dwPageHeight);
    context->lPrintOffsetX = 0;
    context->lPrintOffsetY = 0;
    context->sMediaType = options->sMediaType;
    tagPRINTERMEDIA media{};
    GetMediaRecord(options->sMediaType, &media, options);
    OutputBufferPrintf(out, "\033&&%dY", media.sPrinterCode);
    context->sMemoMediaCode = media.sPrinterCode;

    context->sPaperSize = options->sPaperSize;
    context->sPaperWidth = static_cast<SHORT>(options->wPaperWidth);
    context->sPaperLength = static_cast<SHORT>(options->wPaperLength);
    AppendPaperCommands(out, paper.sPrinterCode, options->wPaperWidth, options->wPaperLength, across, down, options);
    context->sMemoPaperCode = paper.sPrinterCode;
    context->sMemoPaperWidth = static_cast<SHORT>(options->wPaperWidth);
    context->sMemoPaperLength = static_cast<SHORT>(options->wPaperLength);
    context->sPaperSource = options->sPaperSource;

    tagPRINTERSOURCE source{};
    GetSourceRecord(options->sPaperSource, &source, options);
    OutputBufferPrintf(out, "\033&l%dH", source.sPrinterCode);
    context->sMemoSourceCode = source.sPrinterCode;
    OutputBufferPrintf(out, "\033&&%dW", kGdiRasterCode);
    context->sMemoRasterCode = kGdiRasterCode;

    ComputeBindingShift(settings, context, options);
    SetRasterWindow(context, geometry);

    // The window sent leaves out the binding shift: the image moves away from the binding edge
    // and loses as much on the far side. A positive shift moves the window in from the left or top
    // edge; a negative one (a back side, bound on its right or bottom edge) keeps the window where
    // it is and only narrows it, as the screening has already moved the image back by the shift
    // (moving the window as well would undo that, and cut the shifted part without moving the ink).
    LONG width = context->lPageWidth;
    LONG height = context->lPageHeight;
    LONG left = geometry.lMarginX;
    LONG top = geometry.lMarginY;
    if (context->lShiftX > 0) {
        left += context->lShiftX;
        width -= context->lShiftX;
    } else if (context->lShiftX < 0) {
        width += context->lShiftX;
    }
    if (context->lShiftY > 0) {
        top += context->lShiftY;
        height -= context->lShiftY;
    } else if (context->lShiftY < 0) {
        height += context->lShiftY;
    }
    OutputBufferPrintf(out, "\033*r%dT\033*r%dS\033&a%dL\033&l%dE", height * context->lResMultiplierY,
                       width * context->lResMultiplierX, left * context->lResMultiplierX,
                       top * context->lResMultiplierY);

    // Long-edge duplex turns every back side; a page turned by the settings turns the other sides.
    bool rotate;
    if (options->wDuplex == 2) {
        const bool odd = (options->dwPageInSet & 1) != 0;
        rotate = odd == turned;
    } else {
        rotate = turned;
    }
    OutputBufferPrintf(out, "\033&&%dT", rotate ? kRotationTurned : 0);
    return FLAG_TRUE;
}

WORD GdiEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    OutputBufferPrintf(out, "\033&&%dR", TrailerInkPlanes(context->dwInkMask));
    return FLAG_TRUE;
}

WORD GdiFlushPendingPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    WORD result = FLAG_FALSE;
    // An odd duplex set needs its empty back side, unless the printer closes the last set itself.
    if ((context->lPageInSet & 1) != 0 && context->sFirstPageDuplex != 1 &&
        ((options->dwDuplexCaps & kDuplexCapsClosesLastSet) == 0 || context->lCopyNumber != settings->dm.dmCopies)) {
        result = GdiBlankPage(out, settings, context, options);
        ++context->lPageInSet;
    }
    if (context->sBackCover != 0) {
        const SHORT pageSource = context->sMemoSourceCode;
        context->sMemoSourceCode = context->sBackCoverSource;
        result = GdiBlankPage(out, settings, context, options);
        if (context->sFirstPageDuplex != 1) {
            result = GdiBlankPage(out, settings, context, options);
        }
        context->sMemoSourceCode = pageSource;
    }
    context->lPageInSet = 0;
    ++context->lCopyNumber;
    return result;
}

WORD GdiEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    return WriteCommandText(context, options, "\033%-12345X");
}
