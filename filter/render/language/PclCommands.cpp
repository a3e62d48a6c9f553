#include "filter/render/language/PclCommands.h"

#include "core/settings/DevMode.h"
#include "filter/render/language/PrinterLookups.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <cstdint>

namespace {

constexpr SHORT kPaperCodeCustomSent = 101;
// Sizes of the headers go out in decipoints (720 a inch).
constexpr int64_t kDecipointsPerInch = 720;
constexpr int64_t kTenthMmPerInch = 254;

LONG Resolution(SHORT quality)
{
    switch (quality) {
    case 4:
        return 1200;
    case 1:
        return 300;
    default:
        return 600;  // quality 3 and any other
    }
}

// The page's resolution as the divisor of dots to decipoints; a record without one counts as
// the fallback resolution.
int64_t DotsPerInch(const DRVDEVMODE* settings)
{
    return settings->dm.dmPrintQuality > 0 ? settings->dm.dmPrintQuality : kFallbackResolution;
}

}  // namespace

WORD PclBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    if ((options->dwCapabilityMask & RENDERCAPS_ECONOMODE) != 0 &&
        (settings->priv.dmFieldsExtra2 & DMX2_TONER_SAVE) != 0) {
        OutputBufferAppendString(out, "@PJL SET ECONOMODE=OFF\n");
    }
    if (settings->priv.dmColor == 1) {
        OutputBufferAppendString(out, "@PJL SET RENDERMODE=GRAYSCALE\n");
    } else if (settings->priv.dmClrCtrl.wFourColor != 0) {
        OutputBufferAppendString(out, "@PJL SET ROPCOLORMODE=4COLOR\r\n");
    } else {
        OutputBufferAppendString(out, "@PJL SET ROPCOLORMODE=3COLOR\r\n");
    }
    return FLAG_TRUE;
}

WORD PclSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    const LONG resolution = Resolution(settings->priv.dmQuality);
    tagPRINTERDUPLEX duplex{};
    GetDuplexRecord(static_cast<SHORT>(options->wDuplex), &duplex, options);
    OutputBufferPrintf(out, "\033E\033*r%dF\033&u%dD\033*t%dR\033&l%dX\033&l%dS\033*v%dN\033*v%dO", 0, resolution,
                       resolution, (options->dwCopyFlags & 0x1) != 0 ? 1 : settings->dm.dmCopies, duplex.sPrinterCode,
                       1, 1);
    ForgetPageHeaderValues(context);
    return FLAG_TRUE;
}

WORD PclBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, settings, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    const SHORT color = settings->priv.dmColor;
    OutputBufferPrintf(out, "\033&b%dM", color == 1 ? 1 : color == 3 ? 128 : 0);
    context->sQuality = settings->priv.dmQuality;

    tagPAGEGEOMETRY geometry{};
    tagPRINTERPAPER paper{};
    GetPagePaperDots(settings, &geometry, &paper, options);
    context->lPageWidth = static_cast<LONG>(options->dwPageWidth);
    context->lPageHeight = static_cast<LONG>(options->dwPageHeight);
    context->lPrintOffsetX = geometry.lMarginX - geometry.lSecondMarginX;
    context->lPrintOffsetY = geometry.lMarginY - geometry.lSecondMarginY;
    const int64_t frameWidth = int64_t(context->lPageWidth) + 2 * int64_t(context->lPrintOffsetX);
    const int64_t frameHeight = int64_t(context->lPageHeight) + 2 * int64_t(context->lPrintOffsetY);

    if (options->sPaperSource != context->sPaperSource) {
        context->sPaperSource = options->sPaperSource;
        tagPRINTERSOURCE source{};
        GetSourceRecord(options->sPaperSource, &source, options);
        OutputBufferPrintf(out, "\033&l%dH", source.sPrinterCode);
    }
    if (options->sMediaType != context->sMediaType) {
        context->sMediaType = options->sMediaType;
        tagPRINTERMEDIA media{};
        GetMediaRecord(options->sMediaType, &media, options);
        // The name fills its field and may lack the terminator; the count covers the "d" before it.
        const size_t length = FieldTextLength(media.szName4, sizeof(media.szName4));
        if (length > 0) {
            OutputBufferPrintf(out, "\033&n%dWd%.*s", static_cast<int>(length + 1), static_cast<int>(length),
                               media.szName4);
        }
    }
    const SHORT width = static_cast<SHORT>(options->wPaperWidth);
    const SHORT length = static_cast<SHORT>(options->wPaperLength);
    const bool custom = paper.sPrinterCode == SPC_PRINTER_PAPER_CUSTOM;
    if (options->sPaperSize != context->sPaperSize ||
        (custom && (width != context->sPaperWidth || length != context->sPaperLength))) {
        context->sPaperSize = options->sPaperSize;
        context->sPaperWidth = width;
        context->sPaperLength = length;
        if (custom) {
            OutputBufferPrintf(out, "\033&f%di%dJ\033&l%dA",
                               static_cast<LONG>(options->wPaperWidth * kDecipointsPerInch / kTenthMmPerInch),
                               static_cast<LONG>(options->wPaperLength * kDecipointsPerInch / kTenthMmPerInch),
                               kPaperCodeCustomSent);
        } else {
            OutputBufferPrintf(out, "\033&l%dA", paper.sPrinterCode);
        }
    }
    OutputBufferPrintf(out, "\033&l%dO", settings->dm.dmOrientation == 1 ? 0 : 1);
    PclBindingShift(out, settings, context, options);
    OutputBufferPrintf(out, "\033&l%dD\033&l%dE\033*l%dO\033*l%dR\033*p%dx%dY", 6, 1, 204, 1, 0, 0);
    const int64_t dpi = DotsPerInch(settings);
    OutputBufferPrintf(out, "\033*c%lldx%lldY",
                       static_cast<long long>((frameWidth * kDecipointsPerInch + dpi / 2) / dpi),
                       static_cast<long long>((frameHeight * kDecipointsPerInch + dpi / 2) / dpi));
    OutputBufferAppendString(out, "\033*c0T");
    return FLAG_TRUE;
}

WORD PclEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    return WriteCommandText(context, options, "\f");
}

WORD PclEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    return WriteCommandText(context, options, "\033%-12345X");
}

WORD PclBindingShift(tagOUTPUTBUFFER* out, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     const tagRENDEROPTIONS* options)
{
    if (out == nullptr || settings == nullptr || context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const int64_t margin = options->wDuplexMargin;
    const int64_t unit = settings->priv.dmUnitOfLayout;
    const int64_t dpi = settings->dm.dmPrintQuality;
    if (options->dwPageInSet != 1 || margin == 0 || unit == 0 || dpi <= 0) {
        return FLAG_TRUE;
    }
    int64_t shift = dpi * margin / unit;
    if (shift <= 0 || (options->wDuplex != 2 && options->wDuplex != 3)) {
        return FLAG_TRUE;
    }
    if (options->sReverseOrder != 0) {
        shift = -shift;
    }
    if (settings->dm.dmOrientation == 2 && options->wDuplex == 3) {
        shift = -shift;
    }
    const LONG decipoints = static_cast<LONG>(shift * kDecipointsPerInch / dpi);
    OutputBufferPrintf(out, options->wDuplex == 2 ? "\033&l%dU" : "\033&l%dZ", decipoints);
    return FLAG_TRUE;
}
