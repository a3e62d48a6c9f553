// The validation service: a settings record from outside merged into a record the model accepts.
#include "core/settings/DevModeService.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

namespace {

constexpr SHORT kLastStandardPaperId = 455;
constexpr SHORT kCustomPaperId = 256;
// Custom sizes are accepted 0.3 mm beyond the model's limits.
constexpr int kPaperTolerance = 3;

constexpr DWORD kSupported = 0x1;


// 1/600 inch to 0.1 mm as the limits are compared: (v / 6) x 254 / 100, both truncating.
int DotsToTenthsMm(SHORT v)
{
    return (v / 6) * 254 / 100;
}

// Whether the size fits one custom-limit record (custom size or long paper).
bool FitsCustomLimits(const tagSPCDATA* pSpc, SHORT capability, SHORT width, SHORT length)
{
    const ModelAnswer answer(pSpc, capability, 0, 1, sizeof(tagCUSTOMLIMITS));
    if (!answer.Found())
        return false;
    // sLimits: max width/length 0.1 mm, max 1/600 inch, min 0.1 mm, min 1/600 inch.
    const tagCUSTOMLIMITS record = answer.Record<tagCUSTOMLIMITS>();
    const SHORT* limits = record.sLimits;
    const int maxWidthMm = limits[0];
    const int maxLengthMm = limits[1];
    const int maxWidthIn = DotsToTenthsMm(limits[2]);
    const int maxLengthIn = DotsToTenthsMm(limits[3]);
    const int minWidthMm = limits[4];
    const int minLengthMm = limits[5];
    const int minWidthIn = DotsToTenthsMm(limits[6]);
    const int minLengthIn = DotsToTenthsMm(limits[7]);
    const int minWidth = std::min(minWidthMm, minWidthIn);
    const int minLength = std::min(minLengthMm, minLengthIn);
    const int maxWidth = std::max(maxWidthMm, maxWidthIn);
    const int maxLength = std::max(maxLengthMm, maxLengthIn);
    return minWidth - kPaperTolerance <= width && width <= maxWidth + kPaperTolerance &&
           minLength - kPaperTolerance <= length && length <= maxLength + kPaperTolerance;
}

bool InSet(DWORD value, std::initializer_list<DWORD> allowed)
{
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// Replaces a value outside [lo, hi] by the default.
template <typename T>
void KeepInRange(T& value, T lo, T hi, T fallback)
{
    if (value < lo || value > hi)
        value = fallback;
}

// Every fixed text field of a record ends with a terminator, whatever the bytes it came with.
void TerminateTexts(DRVDEVMODE& d)
{
    d.dm.dmFormName[sizeof d.dm.dmFormName - 1] = '\0';
    PRIVDM& p = d.priv;
    p.dmDeptCode[sizeof p.dmDeptCode - 1] = '\0';
    p.dmMailBox_UserID[sizeof p.dmMailBox_UserID - 1] = '\0';
    p.dmPassword[sizeof p.dmPassword - 1] = '\0';
    p.dmText460[sizeof p.dmText460 - 1] = '\0';
    p.dmText588[sizeof p.dmText588 - 1] = '\0';
    p.dmWMInfo.String[sizeof p.dmWMInfo.String - 1] = '\0';
    p.dmJobName[sizeof p.dmJobName - 1] = '\0';
    p.dmUserName[sizeof p.dmUserName - 1] = '\0';
}

bool IsValidRecordSize(const DRVDEVMODE* d)
{
    return d->dm.dmSize == kDevmodePublicSize && d->dm.dmDriverExtra == kDevmodePrivateSize;
}

// The public part: each field flagged in the input's dmFields is kept when valid, else the default.
// `in` and `out` may be the same record, so the input is read where the order below reads it.
void ValidatePublic(const tagSPCDATA* pSpc, const DRVDEVMODE* in, DRVDEVMODE* out, const DRVDEVMODE& def)
{
    const DEVMODE& i = in->dm;
    DEVMODE& o = out->dm;
    const DEVMODE& d = def.dm;

    if (i.dmFields & DM_ORIENTATION) {
        o.dmOrientation = (i.dmOrientation == 1 || i.dmOrientation == 2) ? i.dmOrientation : d.dmOrientation;
        o.dmFields |= DM_ORIENTATION;
    }

    if (i.dmFields & (DM_PAPERSIZE | DM_FORMNAME)) {
        int r = 0;
        if ((i.dmFields & DM_PAPERLENGTH) && (i.dmFields & DM_PAPERWIDTH) && i.dmPaperWidth > 0 &&
            i.dmPaperLength > 0) {
            r = CheckPaperSize(pSpc, in, i.dmPaperSize, i.dmPaperWidth, i.dmPaperLength);
        } else if (i.dmFields & DM_PAPERSIZE) {
            r = CheckPaperSize(pSpc, in, i.dmPaperSize, 0, 0);
            if (r == 0)
                r = CheckPaperSize(pSpc, in, i.dmPaperSize, i.dmPaperWidth, i.dmPaperLength);
        }
        if (r == 1) {
            o.dmPaperSize = i.dmPaperSize;
            o.dmFields |= DM_PAPERSIZE;
            o.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
            o.dmPaperWidth = 0;
            o.dmPaperLength = 0;
        } else if (r == 2) {
            o.dmPaperSize = i.dmPaperSize;
            o.dmPaperLength = i.dmPaperLength;
            o.dmPaperWidth = i.dmPaperWidth;
            o.dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
            o.dmFields &= ~DM_FORMNAME;
        } else {
            o.dmPaperSize = d.dmPaperSize;
            o.dmFields |= DM_PAPERSIZE;
            o.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
            o.dmPaperWidth = 0;
            o.dmPaperLength = 0;
        }
        // A standard paper always ends with the model's own width and length.
        GetStandardPaperDims(pSpc, o.dmPaperSize, &o.dmPaperWidth, &o.dmPaperLength);
    }

    if (i.dmFields & DM_SCALE) {
        o.dmScale = (i.dmScale >= 1 && i.dmScale <= 1000) ? i.dmScale : d.dmScale;
        o.dmFields |= DM_SCALE;
    }

    if (i.dmFields & DM_COPIES) {
        const ModelAnswer copies(pSpc, SPCID_MAXCOPIES, 0, 1, sizeof(tagMAXCOPIES));
        if (!copies.Found()) {
            o.dmCopies = 1;
        } else {
            const SHORT maximum = static_cast<SHORT>(copies.Record<tagMAXCOPIES>().dwMaximum & 0xFFFF);
            o.dmCopies = (i.dmCopies >= 1 && i.dmCopies <= maximum) ? i.dmCopies : d.dmCopies;
        }
        o.dmFields |= DM_COPIES;
    }

    if (i.dmFields & DM_DEFAULTSOURCE) {
        o.dmDefaultSource =
            IsSourceSupported(pSpc, in, i.dmDefaultSource) ? i.dmDefaultSource : d.dmDefaultSource;
        o.dmFields |= DM_DEFAULTSOURCE;
    }

    if (i.dmFields & DM_PRINTQUALITY) {
        const SHORT mode = in->priv.dmQuality;
        bool answered = false;
        if (mode >= 1 && mode <= 4) {
            // The resolution entry, else the mode's pair of the resolution list.
            DWORD dpi[2] = {};
            const ModelAnswer entry(pSpc, SPCID_RESOLUTION, mode, 1, sizeof(tagSPCRESOLUTION));
            if (entry.Found()) {
                const tagSPCRESOLUTION r = entry.Record<tagSPCRESOLUTION>();
                dpi[0] = r.dwNumber1;
                dpi[1] = r.dwNumber2;
                answered = true;
            } else {
                const ModelAnswer pair(pSpc, SPCID_RESOLUTIONLIST, mode, 2, sizeof(tagSPCRESDPI));
                const tagSPCRESDPI r = pair.Record<tagSPCRESDPI>();
                dpi[0] = r.dwNumber1;
                dpi[1] = r.dwNumber2;
                answered = pair.Found();
            }
            if (answered) {
                o.dmPrintQuality = static_cast<SHORT>(dpi[0]);
                o.dmYResolution = static_cast<SHORT>(dpi[1]);
                out->priv.dmQuality = mode;
                o.dmFields |= DM_YRESOLUTION;
            }
        }
        if (!answered) {
            o.dmPrintQuality = d.dmPrintQuality;
            o.dmYResolution = d.dmYResolution;
            out->priv.dmQuality = def.priv.dmQuality;
        }
        o.dmFields |= DM_PRINTQUALITY;
    }

    if (i.dmFields & DM_COLOR) {
        const ModelAnswer colour(pSpc, SPCID_COLOR, 0, 1, sizeof(tagFLAGWORD));
        if (!colour.Found() || colour.Record<tagFLAGWORD>().dwFlags == 0)
            o.dmColor = 1;
        else
            o.dmColor = (i.dmColor >= 1 && i.dmColor <= 3) ? i.dmColor : d.dmColor;
        o.dmFields |= DM_COLOR;
    }

    if (i.dmFields & DM_DUPLEX) {
        o.dmDuplex = (i.dmDuplex >= 1 && i.dmDuplex <= 3) ? i.dmDuplex : d.dmDuplex;
        o.dmFields |= DM_DUPLEX;
    }
    if (i.dmFields & DM_TTOPTION) {
        o.dmTTOption = i.dmTTOption;
        o.dmFields |= DM_TTOPTION;
    }
    if (i.dmFields & DM_COLLATE) {
        o.dmCollate = (i.dmCollate == 0 || i.dmCollate == 1) ? i.dmCollate : d.dmCollate;
        o.dmFields |= DM_COLLATE;
    }
    if (i.dmFields & DM_LOGPIXELS) {
        o.dmLogPixels = static_cast<WORD>(o.dmPrintQuality);
        o.dmFields |= DM_LOGPIXELS;
    }
    if (i.dmFields & DM_BITSPERPEL) {
        o.dmBitsPerPel = i.dmBitsPerPel;
        o.dmFields |= DM_BITSPERPEL;
    }
    if (i.dmFields & DM_PELSWIDTH) {
        o.dmPelsWidth = i.dmPelsWidth;
        o.dmFields |= DM_PELSWIDTH;
    }
    if (i.dmFields & DM_PELSHEIGHT) {
        o.dmPelsHeight = i.dmPelsHeight;
        o.dmFields |= DM_PELSHEIGHT;
    }

    // The last four fields exist only in a public part long enough to hold them.
    if ((i.dmFields & DM_ICMMETHOD) && offsetof(DEVMODE, dmICMMethod) < i.dmSize) {
        o.dmICMMethod = (i.dmICMMethod == 1 || i.dmICMMethod == 2) ? i.dmICMMethod : d.dmICMMethod;
        o.dmFields |= DM_ICMMETHOD;
    }
    if ((i.dmFields & DM_ICMINTENT) && offsetof(DEVMODE, dmICMIntent) < i.dmSize) {
        o.dmICMIntent = (i.dmICMIntent >= 1 && i.dmICMIntent <= 4) ? i.dmICMIntent : d.dmICMIntent;
        o.dmFields |= DM_ICMINTENT;
    }
    if ((i.dmFields & DM_MEDIATYPE) && offsetof(DEVMODE, dmMediaType) < i.dmSize) {
        o.dmMediaType = IsMediaSupported(pSpc, in, i.dmMediaType) ? i.dmMediaType : d.dmMediaType;
        o.dmFields |= DM_MEDIATYPE;
    }
    if ((i.dmFields & DM_DITHERTYPE) && offsetof(DEVMODE, dmDitherType) < i.dmSize) {
        const DWORD t = i.dmDitherType;
        o.dmDitherType = ((t >= 1 && t <= 5) || t == 10 || t > 255) ? t : d.dmDitherType;
        o.dmFields |= DM_DITHERTYPE;
    }
}

// Zoom limits of the model, or 25..400 when it gives none that make sense.
void ZoomLimits(const tagSPCDATA* pSpc, SHORT* lo, SHORT* hi)
{
    *lo = 25;
    *hi = 400;
    const ModelAnswer zoom(pSpc, SPCID_ZOOM, 0, 1, sizeof(tagZOOMLIMITS));
    const tagZOOMLIMITS limits = zoom.Record<tagZOOMLIMITS>();
    if (!zoom.Found() || !(limits.dwFlags & kSupported))
        return;
    const SHORT mn = limits.sMinPercent;
    const SHORT mx = limits.sMaxPercent;
    if (mn < 1 || mx <= mn)
        return;
    *lo = mn;
    *hi = mx;
}

// Density limits of the model, or 1..5.
void DensityLimits(const tagSPCDATA* pSpc, WORD* lo, WORD* hi)
{
    *lo = 1;
    *hi = 5;
    const ModelAnswer flags(pSpc, SPCID_DENSITY, 0, 1, sizeof(tagFLAGWORD));
    const ModelAnswer range(pSpc, SPCID_DENSITY, 0, 2, sizeof(tagDENSITYRANGE));
    if (!flags.Found() || !range.Found() || !(flags.Record<tagFLAGWORD>().dwFlags & kSupported))
        return;
    const SHORT mn = range.Record<tagDENSITYRANGE>().sMinimum;
    const SHORT mx = range.Record<tagDENSITYRANGE>().sMaximum;
    if (mn < 1 || mx <= mn)
        return;
    *lo = static_cast<WORD>(mn);
    *hi = static_cast<WORD>(mx);
}

// The private part, for an input that carries the signature.
void ValidatePrivate(const tagSPCDATA* pSpc, const DRVDEVMODE* in, DRVDEVMODE* out, const DRVDEVMODE& def)
{
    const PRIVDM& i = in->priv;
    PRIVDM& o = out->priv;
    const PRIVDM& d = def.priv;

    // The model's capability bits. When in and out are one record, the checks below are gated by
    // these (the input's words now hold them).
    o.dmFieldsExtra1 = d.dmFieldsExtra1;
    o.dmFieldsExtra2 = d.dmFieldsExtra2;
    o.dmFieldsExtra3 = d.dmFieldsExtra3;
    o.dmFieldsExtra4 = d.dmFieldsExtra4;
    o.dmExtraPrint = d.dmExtraPrint;
    o.dmReserved40 = i.dmReserved40;

    if ((i.dmFieldsExtra1 & DMX1_FIRSTPAGE_SOURCE) && !IsSourceSupported(pSpc, in, o.dmFirstPagePaperSource))
        o.dmFirstPagePaperSource = d.dmFirstPagePaperSource;
    if ((i.dmFieldsExtra1 & DMX1_FIRSTPAGE_MEDIA) && !IsMediaSupported(pSpc, in, o.dmFirstPageMediaType))
        o.dmFirstPageMediaType = d.dmFirstPageMediaType;

    // Output paper.
    if (i.dmOutputPaperSize == 0) {
        o.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
        o.dmOutputPaperWidth = 0;
        o.dmOutputPaperLength = 0;
    } else if (i.dmLayoutPrint == 0) {
        // Without a layout the output paper follows the paper.
        o.dmOutputPaperSize = out->dm.dmPaperSize;
        if (out->dm.dmFields & DM_PAPERLENGTH) {
            o.dmFieldsExtra1 |= DMX1_OUTPUT_PAPER_DIMS;
            o.dmOutputPaperWidth = out->dm.dmPaperWidth;
            o.dmOutputPaperLength = out->dm.dmPaperLength;
        } else {
            o.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
            o.dmOutputPaperWidth = 0;
            o.dmOutputPaperLength = 0;
        }
    } else {
        const int r = CheckPaperSize(pSpc, in, i.dmOutputPaperSize, i.dmOutputPaperWidth, i.dmOutputPaperLength);
        if (r == 1) {
            o.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
            o.dmOutputPaperWidth = 0;
            o.dmOutputPaperLength = 0;
        } else if (r == 2) {
            o.dmFieldsExtra1 |= DMX1_OUTPUT_PAPER_DIMS;
        } else {
            o.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
            o.dmOutputPaperSize = 0;
            o.dmOutputPaperWidth = 0;
            o.dmOutputPaperLength = 0;
        }
    }

    // Units always follow the current locale.
    o.dmMetric = d.dmMetric;
    if (i.dmBaseResolution == 0)
        o.dmBaseResolution = static_cast<WORD>(out->dm.dmPrintQuality);

    auto fixedSet = [](DWORD gate, WORD& field, std::initializer_list<DWORD> allowed, WORD fallback) {
        if (gate && !InSet(field, allowed))
            field = fallback;
    };
    const DWORD x1 = i.dmFieldsExtra1;
    fixedSet(x1 & DMX1_OPTION74, o.dmOption74, {0, 1}, d.dmOption74);
    fixedSet(x1 & DMX1_DUPLEX_OPTION, o.dmDuplexOption, {0, 1}, d.dmDuplexOption);
    fixedSet(x1 & DMX1_REVERSE_ORDER, o.dmReverseOrder, {0, 1}, d.dmReverseOrder);
    fixedSet(x1 & DMX1_MIRROR, o.dmMirror, {0, 1, 2}, d.dmMirror);
    fixedSet(x1 & DMX1_STAPLE, o.dmStaple, {0, 1, 2, 3, 4, 5, 6}, d.dmStaple);
    fixedSet(x1 & DMX1_FINISHER, o.dmFinisher, {0, 1, 2, 257, 258, 513, 514, 769, 770, 771}, d.dmFinisher);
    fixedSet(x1 & DMX1_PUNCH, o.dmPunch, {0, 1, 2, 3}, d.dmPunch);
    fixedSet(x1 & DMX1_SORT, o.dmSort, {0, 1, 2, 3, 4, 5}, d.dmSort);
    fixedSet(1, o.dmLayoutPrint, {0, 1, 2, 4, 8, 16}, d.dmLayoutPrint);

    if (i.dmUnitOfLayout == 0)
        o.dmUnitOfLayout = static_cast<WORD>(out->dm.dmPrintQuality);

    if (i.dmFieldsExtra2 & DMX2_NUP) {
        KeepInRange<SHORT>(o.dmNupOrder, 0, 3, d.dmNupOrder);
        KeepInRange<SHORT>(o.dmNupBorder, 0, 2, d.dmNupBorder);
    }
    if (i.dmFieldsExtra2 & DMX2_BOOKLET)
        KeepInRange<SHORT>(o.dmBookletBinding, 0, 2, d.dmBookletBinding);

    if (i.dmFieldsExtra2 & DMX2_ZOOM) {
        SHORT lo = 0;
        SHORT hi = 0;
        ZoomLimits(pSpc, &lo, &hi);
        KeepInRange<SHORT>(o.dmScaleTo, lo, hi, d.dmScaleTo);
        if ((o.dmAlign & 0xF) > 8)
            o.dmAlign = d.dmAlign;
    }

    if (i.dmFieldsExtra2 & DMX2_PRINT_STYLE) {
        KeepInRange<SHORT>(o.dmPrintStyle, 0, 3, d.dmPrintStyle);
        if (offsetof(DEVMODE, dmICMMethod) < out->dm.dmSize && (out->dm.dmFields & DM_ICMMETHOD) &&
            o.dmPrintStyle != 3)
            out->dm.dmICMMethod = 1;
    }

    if (i.dmFieldsExtra2 & DMX2_DENSITY) {
        WORD lo = 0;
        WORD hi = 0;
        DensityLimits(pSpc, &lo, &hi);
        KeepInRange<WORD>(o.dmDensity, lo, hi, d.dmDensity);
    }
    if (i.dmFieldsExtra2 & DMX2_ALL_TEXT_BLACK)
        KeepInRange<WORD>(o.dmAllTextBlack, 0, 1, d.dmAllTextBlack);
    if (i.dmFieldsExtra2 & DMX2_CONTRAST) {
        const ModelAnswer contrast(pSpc, SPCID_CONTRAST, 0, 1, sizeof(tagCONTRASTRANGE));
        const tagCONTRASTRANGE range = contrast.Record<tagCONTRASTRANGE>();
        if (contrast.Found() && (range.dwFlags & kSupported))
            KeepInRange<SHORT>(o.dmContrast, range.sMinimum, range.sMaximum, d.dmContrast);
    }
    if (i.dmFieldsExtra2 & DMX2_OPTION338)
        KeepInRange<WORD>(o.dmOption338, 0, 2, d.dmOption338);
    if (i.dmFieldsExtra2 & DMX2_OPTION342)
        KeepInRange<WORD>(o.dmOption342, 0, 1, d.dmOption342);
    if (i.dmFieldsExtra2 & DMX2_OPTION346)
        KeepInRange<WORD>(o.dmOption346, 0, 1, d.dmOption346);
    else
        o.dmOption346 = d.dmOption346;

    if (i.dmFieldsExtra3 & DMX3_OPTION1004)
        KeepInRange<WORD>(o.dmOption1004, 0, 3, d.dmOption1004);
    if (i.dmFieldsExtra3 & DMX3_OPTION1006)
        KeepInRange<WORD>(o.dmOption1006, 1, 3, d.dmOption1006);
}

}  // namespace

int CheckPaperSize(const tagSPCDATA* pSpc, const DRVDEVMODE* /*pdm*/, SHORT paperId, SHORT width, SHORT length)
{
    if (paperId == 0)
        return 0;
    const bool custom = paperId > kLastStandardPaperId || (paperId == kCustomPaperId && width > 0 && length > 0);
    if (!custom) {
        return ModelAnswer(pSpc, SPCID_PAPERSIZE, paperId, 3, sizeof(tagSPCIDVALUE)).Found() ? 1 : 0;
    }
    if (FitsCustomLimits(pSpc, SPCID_CUSTOMSIZE, width, length) ||
        FitsCustomLimits(pSpc, SPCID_CUSTOMLONG, width, length))
        return 2;
    return 0;
}

WORD IsSourceSupported(const tagSPCDATA* pSpc, const DRVDEVMODE* /*pdm*/, SHORT sourceId)
{
    const ModelAnswer source(pSpc, SPCID_PAPERSOURCE, sourceId, 1, sizeof(tagSPCIDVALUE));
    if (source.Found() && source.Count() == 1 && source.Record<tagSPCIDVALUE>().sId == sourceId)
        return FLAG_TRUE;

    // Sources that an optional unit adds are listed in its source group.
    const ModelAnswer groups(pSpc, SPCID_SOURCEGROUP, 0, 2);
    for (const tagSOURCEGROUP& group : groups.Records<tagSOURCEGROUP>()) {
        const int n = std::clamp<int>(group.sSourceCount, 0, static_cast<int>(std::size(group.sSources)));
        for (int k = 0; k < n; ++k) {
            if (group.sSources[k] == sourceId)
                return FLAG_TRUE;
        }
    }
    return FLAG_FALSE;
}

WORD IsMediaSupported(const tagSPCDATA* pSpc, const DRVDEVMODE* /*pdm*/, DWORD mediaId)
{
    const ModelAnswer media(pSpc, SPCID_MEDIATYPE, static_cast<SHORT>(mediaId), 1, sizeof(tagSPCIDVALUE));
    if (media.Found() && media.Count() == 1 && static_cast<WORD>(media.Record<tagSPCIDVALUE>().sId) == mediaId)
        return FLAG_TRUE;
    return FLAG_FALSE;
}

DWORD SpcValidateDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int /*mode*/)
{
    if (pIn == nullptr || pOut == nullptr || !IsValidRecordSize(pIn) || !IsValidRecordSize(pOut))
        return ERROR_INVALID_PARAMETER;

    std::unique_ptr<DRVDEVMODE> defaults(new (std::nothrow) DRVDEVMODE);
    if (!defaults)
        return ERROR_OUTOFMEMORY;
    std::memset(defaults.get(), 0, sizeof *defaults);
    defaults->dm.dmSize = pOut->dm.dmSize;
    defaults->dm.dmDriverExtra = pOut->dm.dmDriverExtra;
    const DWORD rc = SpcDefaultDevmode(pSpc, nullptr, defaults.get(), DEVMODE_SERVICE_DEFAULTS);
    if (rc != ERROR_SUCCESS)
        return rc;

    const bool signedInput = pIn->priv.dwPrivDATA == kDevmodeSignature;
    if (signedInput && pIn != pOut)
        std::memcpy(&pOut->priv, &pIn->priv, sizeof pOut->priv);

    ValidatePublic(pSpc, pIn, pOut, *defaults);
    if (signedInput)
        ValidatePrivate(pSpc, pIn, pOut, *defaults);
    TerminateTexts(*pOut);
    return ERROR_SUCCESS;
}
