// The defaults service: a settings record filled from one model's data and the user's locale.
#include "core/settings/DevModeService.h"

#include "core/model/SpcIds.h"
#include "core/model/SpcQuery.h"
#include "core/settings/AnswerFields.h"
#include "core/settings/DevModeRules.h"
#include "core/settings/MeasurementLocale.h"
#include "core/model/ModelAnswer.h"
#include "core/settings/ModelAnswers.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr DWORD kSupported = 0x1;  // bit 0 of the flag word that starts a fixed record

// Bits of the local feature mask the job-kind rule compares against.
constexpr DWORD kFeature35 = 0x1;
constexpr DWORD kFeature36 = 0x2;
constexpr DWORD kFeature25 = 0x4;
constexpr DWORD kFeature27 = 0x8;

bool IsSupportedFlag(const BYTE* answer)
{
    return (AnswerDword(answer, 0) & kSupported) != 0;
}

bool Supported(const ModelAnswer& a)
{
    return a.Found() && IsSupportedFlag(a.Bytes());
}

// Which of the capabilities 35, 36, 25 and 27 the model has: first from its list of option
// capabilities, then, for each still missing, from a size-only query.
DWORD FeatureMask(const tagSPCDATA* pSpc)
{
    DWORD mask = 0;
    DWORD count = 0;
    std::unique_ptr<BYTE, decltype(&std::free)> list(
        static_cast<BYTE*>(SpcQueryAlloc(pSpc, SPCID_OPTIONLIST, 0, 1, &count)), &std::free);
    if (list) {
        for (DWORD i = 0; i < count; ++i) {
            switch (AnswerShort(list.get(), 4 * i)) {
            case 35: mask |= kFeature35; break;
            case 36: mask |= kFeature36; break;
            case 25: mask |= kFeature25; break;
            case 27: mask |= kFeature27; break;
            default: break;
            }
        }
    }
    const struct {
        DWORD bit;
        SHORT capability;
    } probes[] = {{kFeature35, 35}, {kFeature25, 25}, {kFeature27, 27}, {kFeature36, 36}};
    for (const auto& p : probes) {
        if (!(mask & p.bit) && AnswersWithSize(pSpc, p.capability))
            mask |= p.bit;
    }
    return mask;
}

// Unit kind of the pages-per-sheet and booklet views: 0 for kind word 1, 1 for 2, else 2.
WORD UnitKind(DWORD kindWord)
{
    return kindWord == 1 ? 0 : kindWord == 2 ? 1 : 2;
}

// The views of a layout length (gutter or overlap) of one capability.
LayoutLengthViews LengthViews(const tagSPCDATA* pSpc, SHORT capability, DWORD view1Size, DWORD view3Size,
                              size_t view3TenthsMmAt, size_t view3HundredthsAt, DWORD* view1FlagsOut)
{
    LayoutLengthViews v;
    BYTE view1[16] = {};
    BYTE view2[8] = {};
    BYTE view3[32] = {};
    v.view1Present = QueryAnswer(pSpc, capability, 0, 1, view1, view1Size);
    v.view1Flags = v.view1Present ? AnswerDword(view1, 0) : 0;
    v.view2Present = QueryAnswer(pSpc, capability, 0, 2, view2, sizeof view2);
    v.view2Flags = v.view2Present ? AnswerDword(view2, 0) : 0;
    v.view2Hundredths = AnswerShort(view2, 4);
    v.view3Present = QueryAnswer(pSpc, capability, 0, 3, view3, view3Size);
    v.view3Flags = v.view3Present ? AnswerDword(view3, 0) : 0;
    v.view3TenthsMm = AnswerShort(view3, view3TenthsMmAt);
    v.view3Hundredths = AnswerShort(view3, view3HundredthsAt);
    *view1FlagsOut = v.view1Flags;
    return v;
}

}  // namespace

WORD GetStandardPaperDims(const tagSPCDATA* pSpc, SHORT paperId, SHORT* pWidth, SHORT* pLength)
{
    if (pSpc == nullptr || pWidth == nullptr || pLength == nullptr)
        return FLAG_FALSE;
    if (paperId < 1 || paperId > 455 || paperId == 256)
        return FLAG_FALSE;
    *pWidth = 0;
    *pLength = 0;
    BYTE paper[192];
    if (!QueryAnswer(pSpc, SPCID_PAPERSIZE, paperId, 4, paper, sizeof paper))
        return FLAG_FALSE;
    *pWidth = AnswerShort(paper, 8);
    *pLength = AnswerShort(paper, 10);
    return FLAG_TRUE;
}

DWORD SpcDefaultPublicDevmode(const tagSPCDATA* pSpc, DRVDEVMODE* pOut)
{
    const bool metric = IsMetricLocale() != FLAG_FALSE;
    DEVMODE& dm = pOut->dm;

    dm.dmFields = DM_ORIENTATION;
    dm.dmOrientation = 1;

    // Default papers: {inch, metric}.
    BYTE papers[4] = {};
    DWORD cb = sizeof papers;
    DWORD rc = SpcQuery(pSpc, SPCID_PAPERSIZE, 0, 1, papers, &cb, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    dm.dmFields |= DM_PAPERSIZE;
    dm.dmPaperSize = AnswerShort(papers, metric ? 2 : 0);
    dm.dmPaperWidth = 0;
    dm.dmPaperLength = 0;
    GetStandardPaperDims(pSpc, dm.dmPaperSize, &dm.dmPaperWidth, &dm.dmPaperLength);

    dm.dmScale = 100;
    dm.dmFields |= DM_COPIES;
    dm.dmCopies = 1;

    BYTE source[2] = {};
    cb = sizeof source;
    rc = SpcQuery(pSpc, SPCID_PAPERSOURCE, 0, 2, source, &cb, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    dm.dmFields |= DM_DEFAULTSOURCE;
    dm.dmDefaultSource = AnswerShort(source, 0);

    // Resolution: the model's default resolution entry, else its resolution mode, else 600 dpi.
    DWORD xDpi = 600;
    DWORD yDpi = 600;
    SHORT quality = 2;
    bool fromModel = false;
    BYTE defaultItem[2] = {};
    if (QueryAnswer(pSpc, SPCID_RESOLUTION, 0, 2, defaultItem, sizeof defaultItem)) {
        SHORT item = AnswerShort(defaultItem, 0);
        if (item == 0)
            item = 1;
        BYTE entry[32];
        if (QueryAnswer(pSpc, SPCID_RESOLUTION, item, 1, entry, sizeof entry)) {
            quality = AnswerShort(entry, 0);
            xDpi = AnswerDword(entry, 4);
            yDpi = AnswerDword(entry, 8);
            fromModel = true;
        }
    }
    if (!fromModel) {
        BYTE entry[16];
        if (QueryAnswer(pSpc, SPCID_RESOLUTIONLIST, 0, 1, entry, sizeof entry)) {
            quality = AnswerShort(entry, 0);
            xDpi = AnswerDword(entry, 8);
            yDpi = AnswerDword(entry, 12);
            fromModel = true;
        }
    }
    dm.dmPrintQuality = static_cast<SHORT>(xDpi);
    dm.dmYResolution = static_cast<SHORT>(yDpi);
    pOut->priv.dmQuality = (fromModel && (quality == 1 || quality == 3 || quality == 4)) ? quality : 2;
    dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;

    const ModelAnswer colour(pSpc, SPCID_COLOR, 0, 1, 4);
    dm.dmColor = (colour.Found() && AnswerDword(colour.Bytes(), 0) != 0) ? 2 : 1;
    dm.dmFields |= DM_COLOR;

    dm.dmFields |= DM_DUPLEX;
    dm.dmDuplex = 1;
    const ModelAnswer duplex(pSpc, SPCID_DUPLEX, 0, 6, 8);
    if (duplex.Found()) {
        const SHORT mode = AnswerShort(duplex.Bytes(), 4);
        if (mode >= 1 && mode <= 3)
            dm.dmDuplex = mode;
    }

    dm.dmFields |= DM_TTOPTION;
    dm.dmTTOption = 2;
    dm.dmCollate = 1;
    const ModelAnswer features(pSpc, SPCID_PRINTFEATURES, 0, 1, 8);
    if (features.Found() && AnswerDword(features.Bytes(), 0) != 0)
        dm.dmFields |= DM_COLLATE;

    dm.dmLogPixels = static_cast<WORD>(dm.dmPrintQuality);
    dm.dmBitsPerPel = 0;
    dm.dmPelsWidth = 0;
    dm.dmPelsHeight = 0;
    return ERROR_SUCCESS;
}

DWORD SpcDefaultPrivateDevmode(const tagSPCDATA* pSpc, DRVDEVMODE* pOut)
{
    const bool metric = IsMetricLocale() != FLAG_FALSE;
    const DEVMODE& dm = pOut->dm;
    PRIVDM& p = pOut->priv;

    p.dwPrivDATA = kDevmodeSignature;
    p.dwFlags = 0;
    p.dmFieldsExtra1 = p.dmFieldsExtra2 = p.dmFieldsExtra3 = p.dmFieldsExtra4 = 0;
    p.dmExtraPrint = 0;

    const DWORD featureMask = FeatureMask(pSpc);

    p.dmReserved40 = 0;
    p.dmReserved44 = 0;
    p.dmSourceAndTypeFor1Page = 0;
    p.dmFirstPageMediaType = dm.dmMediaType;
    p.dmFirstPagePaperSource = dm.dmDefaultSource;

    const ModelAnswer firstPage(pSpc, SPCID_FIRSTPAGE, 0, 1, 4);
    if (Supported(firstPage)) {
        const DWORD f = AnswerDword(firstPage.Bytes(), 0);
        p.dmExtraPrint |= DMXP_FIRSTPAGE;
        if (f & 0x4)
            p.dmFieldsExtra1 |= DMX1_FIRSTPAGE_MEDIA;
        if (f & 0x8)
            p.dmFieldsExtra1 |= DMX1_FIRSTPAGE_SOURCE;
    }

    p.dmOutputPaperSize = p.dmOutputPaperWidth = p.dmOutputPaperLength = 0;
    p.dmRotateOrient = 0;
    const ModelAnswer paperFlags(pSpc, SPCID_PAPERSIZE, 0, 5, 4);
    if (Supported(paperFlags)) {
        p.dmExtraPrint |= DMXP_ROTATE180;
        p.dmFieldsExtra1 |= DMX1_ROTATE180;
    }

    p.dmMetric = metric ? 3 : 0;
    p.dmBaseResolution = static_cast<WORD>(dm.dmPrintQuality);
    p.dmOption74 = 0;
    const ModelAnswer optionFlags(pSpc, SPCID_OPTIONFLAGS, 0, 1, 16);
    const DWORD optFlags = optionFlags.Found() ? AnswerDword(optionFlags.Bytes(), 0) : 0;
    if (optFlags & 0x10)
        p.dmFieldsExtra1 |= DMX1_OPTION74;

    p.dmInstalledDuplex = 0;
    p.dmWords1008[1] = 0;  // private 1010
    const ModelAnswer duplex(pSpc, SPCID_DUPLEX, 0, 1, 24);
    const DuplexRuleResult d = DuplexRule(duplex.Found(), AnswerDword(duplex.Bytes(), 0));
    p.dmFieldsExtra1 |= d.fieldsExtra1;
    p.dmFieldsExtra3 |= d.fieldsExtra3;
    p.dmDuplexOption = d.duplexOption;
    p.dmInstalledDuplex = d.installedDuplex;

    p.dmFieldsExtra1 |= DMX1_ALWAYS_400;
    p.dmDuplexMargin = 0;
    p.dmFieldsExtra1 |= DMX1_ALWAYS_800;
    p.dmOption80 = 1;
    p.dmReverseOrder = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_REVERSEORDER, 0, 1, 4)))
        p.dmFieldsExtra1 |= DMX1_REVERSE_ORDER;
    if (p.dmFieldsExtra1 & DMX1_REVERSE_ORDER) {
        const ModelAnswer reverse(pSpc, SPCID_REVERSEORDER, 0, 2, 8);
        if (reverse.Found() && AnswerDword(reverse.Bytes(), 4) == 1)
            p.dmReverseOrder = 1;
    }

    p.dmMirror = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_MIRROR, 0, 1, 8))) {
        p.dmFieldsExtra1 |= DMX1_MIRROR;
        p.dmExtraPrint |= DMXP_MIRROR;
    }

    p.dmFieldsExtra1 |= DMX1_ALWAYS_2000;
    p.dmOption86 = 0;
    p.dmSkipBlankPages = 0;
    const ModelAnswer blank(pSpc, SPCID_BLANKPAGES, 0, 1, 8);
    if (Supported(blank)) {
        p.dmFieldsExtra1 |= DMX1_SKIP_BLANK;
        p.dmSkipBlankPages = AnswerShort(blank.Bytes(), 4) == 2 ? 1 : 0;
    }

    p.dmFieldsExtra1 |= DMX1_ALWAYS_8000;
    p.dmCopiesByDriver = 0;

    p.dmStaple = 0;
    if (HasRecords(pSpc, SPCID_STAPLELIST))
        p.dmFieldsExtra1 |= DMX1_STAPLE;
    p.dmFinisher = 0;
    if (HasRecords(pSpc, SPCID_FINISHERMODES))
        p.dmFieldsExtra1 |= DMX1_FINISHER;
    p.dmInstalledSummary[0] = 0;  // private 990
    if (HasRecords(pSpc, SPCID_FINISHER))
        p.dmFieldsExtra2 |= DMX2_FINISHER_UNITS;
    p.dmPunch = 0;
    p.dmInstalledSummary[1] = 0;  // private 992
    if (HasRecords(pSpc, SPCID_PUNCHLIST)) {
        p.dmFieldsExtra1 |= DMX1_PUNCH;
        p.dmFieldsExtra2 |= DMX2_PUNCH_UNITS;
    }
    p.dmOption98 = 0;
    if (p.dmFieldsExtra1 & DMX1_PUNCH)
        p.dmFieldsExtra1 |= DMX1_PUNCH_80000;

    p.dmSort = 0;
    const ModelAnswer sort(pSpc, SPCID_SORT, 0, 2, 8);
    if (sort.Found() && AnswerDword(sort.Bytes(), 0) != 0) {
        p.dmFieldsExtra1 |= DMX1_SORT;
        p.dmSort = static_cast<WORD>(AnswerDword(sort.Bytes(), 4));
    }

    p.dmCoverPage = p.dmFrontCoverFile = p.dmBackCoverFile = 0;
    p.dmFrontCoverSource = p.dmBackCoverSource = 0;

    const ModelAnswer jobOptions(pSpc, SPCID_JOBOPTIONS, 0, 1, 4);
    if (jobOptions.Found()) {
        const DWORD f = AnswerDword(jobOptions.Bytes(), 0);
        p.dmFieldsExtra1 |= DMX1_JOB_OPTIONS;
        if (f & 0x1)
            p.dmFieldsExtra1 |= DMX1_FRONT_COVER;
        if (f & 0x2)
            p.dmFieldsExtra1 |= DMX1_BACK_COVER;
    }
    p.dmJobSpool = 0;
    p.dmWords1008[0] = 0;  // private 1008
    if (Supported(ModelAnswer(pSpc, SPCID_JOBSPOOL1, 0, 1, 8)))
        p.dmFieldsExtra1 |= DMX1_JOBKIND1;
    auto jobKind = [&](SHORT capability, DWORD bit) {
        const ModelAnswer a(pSpc, capability, 0, 1, 8);
        if (JobKindRule(a.Found(), AnswerDword(a.Bytes(), 0), AnswerDword(a.Bytes(), 4), featureMask))
            p.dmFieldsExtra1 |= bit;
    };
    jobKind(SPCID_JOBSPOOL4, DMX1_JOBKIND4);

    p.dmUseDeptCode = 0;
    const ModelAnswer dept(pSpc, SPCID_DEPTCODE, 0, 1, 8);
    if (dept.Found()) {
        const DWORD f = AnswerDword(dept.Bytes(), 0);
        if (f & 0x1)
            p.dmFieldsExtra1 |= DMX1_DEPT_CODE;
        if (f & 0x4)
            p.dmUseDeptCode |= 0x1;
    }
    jobKind(SPCID_JOBSPOOL5, DMX1_JOBKIND5);
    jobKind(SPCID_JOBSPOOL2, DMX1_JOBKIND2);
    jobKind(SPCID_JOBSPOOL3, DMX1_JOBKIND3);

    // Pages per sheet.
    p.dmLayoutPrint = 0;
    p.dmUnitOfLayout = static_cast<WORD>(dm.dmPrintQuality);
    p.dmNup = 2;
    p.dmNupOrder = 0;
    p.dmNupBorder = 1;
    p.dmNupBorderWidth = 1;
    if (Supported(ModelAnswer(pSpc, SPCID_NUP, 0, 1, 4)))
        p.dmFieldsExtra2 |= DMX2_NUP;
    const ModelAnswer nupBorder(pSpc, SPCID_NUP, 0, 2, 8);
    if (Supported(nupBorder)) {
        const SHORT border = AnswerShort(nupBorder.Bytes(), 4);
        if (border >= 0 && border <= 5)
            p.dmNupBorder = border;
        const SHORT width = AnswerShort(nupBorder.Bytes(), 6);
        if (width > 0)
            p.dmNupBorderWidth = width;
    }
    const ModelAnswer nupUnit(pSpc, SPCID_NUP, 0, 3, 32);
    if (Supported(nupUnit))
        p.dmNupUnitKind = UnitKind(AnswerDword(nupUnit.Bytes(), 28));

    // Booklet.
    p.dmBookletBinding = 1;
    p.dmBookletUnit = 0;
    p.dmGutter = 0;
    DWORD bookletFlags = 0;
    const LayoutLengthViews gutter = LengthViews(pSpc, SPCID_BOOKLET, 16, 32, 12, 8, &bookletFlags);
    if (gutter.view1Present && (bookletFlags & kSupported))
        p.dmFieldsExtra2 |= DMX2_BOOKLET;
    p.dmGutter = LayoutLengthRule(p.dmGutter, p.dmUnitOfLayout, metric, gutter);
    const ModelAnswer bookletUnit(pSpc, SPCID_BOOKLET, 0, 3, 32);
    if (Supported(bookletUnit))
        p.dmBookletUnitKind = UnitKind(AnswerDword(bookletUnit.Bytes(), 28));

    // Zoom and fit to output paper.
    p.dmScaleTo = 100;
    p.dmAlign = 4;
    if (Supported(ModelAnswer(pSpc, SPCID_ZOOM, 0, 1, 8)))
        p.dmFieldsExtra2 |= DMX2_ZOOM;
    const ModelAnswer align(pSpc, SPCID_ZOOM, 0, 2, 8);
    if (Supported(align)) {
        const SHORT a = AnswerShort(align.Bytes(), 4);
        if (a >= 0 && a <= 8)
            p.dmAlign = a;
    }
    p.dmFittoPageRatio = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_FITTOPAPER, 0, 1, 4)))
        p.dmFieldsExtra2 |= DMX2_FIT;

    // Poster.
    p.dmPosterX = 2;
    p.dmPosterY = 2;
    p.dmOverlap = 0;
    DWORD posterFlags = 0;
    const LayoutLengthViews overlap = LengthViews(pSpc, SPCID_POSTER, 4, 12, 8, 4, &posterFlags);
    if (overlap.view1Present && (posterFlags & kSupported))
        p.dmFieldsExtra2 |= DMX2_POSTER;
    p.dmOverlap = LayoutLengthRule(p.dmOverlap, p.dmUnitOfLayout, metric, overlap);

    const ModelAnswer colour(pSpc, SPCID_COLORDEFAULTS, 0, 1, kColourDefaultsAnswerSize);
    ColourRule(p, colour.Found() ? colour.Bytes() : nullptr);

    p.dmDensity = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_DENSITY, 0, 1, 4)))
        p.dmFieldsExtra2 |= DMX2_DENSITY;
    const ModelAnswer density(pSpc, SPCID_DENSITY, 0, 2, 8);
    if (density.Found())
        p.dmDensity = static_cast<WORD>(AnswerShort(density.Bytes(), 6));
    p.dmAllTextBlack = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_ALLTEXTBLACK, 0, 1, 4)))
        p.dmFieldsExtra2 |= DMX2_ALL_TEXT_BLACK;
    p.dmContrast = 0;
    const ModelAnswer contrast(pSpc, SPCID_CONTRAST, 0, 1, 16);
    if (Supported(contrast)) {
        p.dmFieldsExtra2 |= DMX2_CONTRAST;
        p.dmContrast = AnswerShort(contrast.Bytes(), 12);
    }

    p.dmFieldsExtra2 |= DMX2_SCREEN;
    const ModelAnswer screen(pSpc, SPCID_SCREENLIST, 0, 1, 8);
    if (screen.Found())
        p.dmFieldsExtra2 |= DMX2_SCREEN_LIST;
    p.dmScreenMode = ScreenModeRule(screen.Found(), AnswerDword(screen.Bytes(), 0), AnswerShort(screen.Bytes(), 6));

    p.dmOption334 = 0xFFFF;
    p.dmTonerSave = 0;
    const ModelAnswer tonerSave(pSpc, SPCID_TONERSAVE, 0, 1, 4);
    if (tonerSave.Found() && AnswerDword(tonerSave.Bytes(), 0) != 0)
        p.dmFieldsExtra2 |= DMX2_TONER_SAVE;
    p.dmOption346 = 0;
    if (optFlags & 0x100)
        p.dmFieldsExtra2 |= DMX2_OPTION346;
    p.dmOption338 = 0;
    if (Supported(ModelAnswer(pSpc, SPCID_OPTION338, 0, 1, 16)))
        p.dmFieldsExtra2 |= DMX2_OPTION338;
    p.dmOption340 = 0;
    const ModelAnswer option340(pSpc, SPCID_OPTION340, 0, 1, 8);
    if (Supported(option340)) {
        p.dmFieldsExtra1 |= DMX1_OPTION340;
        p.dmExtraPrint |= DMXP_OPTION340;
        p.dmOption340 = static_cast<WORD>(AnswerShort(option340.Bytes(), 4));
    }
    p.dmOption342 = 0;
    const ModelAnswer renderParams(pSpc, SPCID_RENDERPARAMS, 0, 1, 12);
    if (renderParams.Found()) {
        p.dmFieldsExtra2 |= DMX2_OPTION342;
        if (AnswerDword(renderParams.Bytes(), 0) & 0x4)
            p.dmOption342 = 1;
    }
    p.dmHalftone = 0;
    const ModelAnswer halftone(pSpc, SPCID_HALFTONE, 0, 1, 2);
    if (halftone.Found()) {
        p.dmFieldsExtra2 |= DMX2_HALFTONE;
        p.dmHalftone = AnswerWord(halftone.Bytes(), 0);
    }

    p.dmOptionBits356 = 0;
    const ModelAnswer bits356(pSpc, SPCID_OPTIONBITS356, 0, 1, 4);
    if (bits356.Found() && AnswerDword(bits356.Bytes(), 0) != 0)
        p.dmFieldsExtra2 |= DMX2_OPTIONBITS356;
    p.dmOptionBits620 = 0;
    const ModelAnswer bits620(pSpc, SPCID_OPTIONBITS620, 0, 1, 4);
    if (bits620.Found() && AnswerDword(bits620.Bytes(), 0) != 0)
        p.dmFieldsExtra2 |= DMX2_OPTIONBITS620;
    p.dmFieldsExtra2 |= DMX2_ALWAYS_100000;
    p.dmWord972 = 0;
    p.dmWord976 = 0;
    p.dmInstalledValue35 = 0;
    const ModelAnswer base35(pSpc, SPCID_INSTALLBASE1, 0, 1, 4);
    if (base35.Found() && AnswerDword(base35.Bytes(), 0) != 0) {
        p.dmFieldsExtra2 |= DMX2_INSTALLED35;
        p.dmInstalledValue35 = AnswerDword(base35.Bytes(), 0);
    }
    p.dmInstalledValue36 = 0;
    const ModelAnswer base36(pSpc, SPCID_INSTALLBASE2, 0, 1, 24);
    if (base36.Found() && AnswerDword(base36.Bytes(), 0) != 0) {
        p.dmFieldsExtra2 |= DMX2_INSTALLED36;
        p.dmInstalledValue36 = AnswerDword(base36.Bytes(), 0);
    }
    p.dmInstalledSummary[2] = 0;  // private 994
    {
        DWORD count = 0;
        std::unique_ptr<BYTE, decltype(&std::free)> groups(
            static_cast<BYTE*>(SpcQueryAlloc(pSpc, SPCID_SOURCEGROUP, 0, 1, &count)), &std::free);
        // The first 16-bit word of each 4-byte group entry is compared with 5, the large-capacity mark.
        for (DWORD i = 0; groups && i < count; ++i) {
            if (AnswerShort(groups.get(), 4 * i) == 5) {
                p.dmFieldsExtra2 |= DMX2_LARGE_TRAY;
                break;
            }
        }
    }
    p.dmInstalledSummary[3] = 0;  // private 996
    p.dmFieldsExtra2 |= DMX2_ALWAYS_4000000;
    p.dmInstalledValue998 = 0;
    if (optFlags & 0x20) {
        p.dmInstalledValue998 = 0xFFFF;
        p.dmFieldsExtra2 |= DMX2_INSTALLED998;
    }

    p.dmFieldsExtra3 |= DMX3_ALWAYS_1 | DMX3_OPTION1004;
    p.dmOption1004 = 0;
    p.dmOption1006 = 1;
    const ModelAnswer option1006(pSpc, SPCID_OPTION1006, 0, 1, 8);
    if (Supported(option1006)) {
        p.dmFieldsExtra3 |= DMX3_OPTION1006;
        p.dmOption1006 = static_cast<WORD>(AnswerShort(option1006.Bytes(), 4));
    }
    if (Supported(ModelAnswer(pSpc, SPCID_FEATUREPAIRS, 0, 1, 8)))
        p.dmFieldsExtra3 |= DMX3_LIST71;
    p.dmWords1008[2] = 0;  // private 1012
    p.dmWords1008[4] = 0;  // private 1016
    p.dmWords1008[5] = 0;  // private 1018
    return ERROR_SUCCESS;
}

DWORD SpcDefaultDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* /*pIn*/, DRVDEVMODE* pOut, int /*mode*/)
{
    if (pSpc == nullptr)
        return ERROR_INVALID_DATA;
    if (pOut == nullptr || pOut->dm.dmSize != kDevmodePublicSize || pOut->dm.dmDriverExtra != kDevmodePrivateSize)
        return ERROR_INVALID_PARAMETER;
    // Everything behind dmSize and dmDriverExtra starts at zero.
    BYTE* bytes = reinterpret_cast<BYTE*>(pOut);
    std::memset(bytes + 4, 0, kDevmodeSize - 4);
    const DWORD rc = SpcDefaultPublicDevmode(pSpc, pOut);
    if (rc != ERROR_SUCCESS)
        return rc;
    SpcDefaultPrivateDevmode(pSpc, pOut);
    return ERROR_SUCCESS;
}

DWORD SpcDevmodeService(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode)
{
    switch (mode) {
    case DEVMODE_SERVICE_DEFAULTS:
        return SpcDefaultDevmode(pSpc, pIn, pOut, mode);
    case DEVMODE_SERVICE_VALIDATE:
        return SpcValidateDevmode(pSpc, pIn, pOut, mode);
    default:
        return ERROR_NOT_SUPPORTED;
    }
}
