// The defaults service: a settings record filled from one model's data and the user's locale.
#include "core/settings/DevModeService.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/model/SpcQuery.h"
#include "core/settings/DevModeRules.h"
#include "core/settings/MeasurementLocale.h"

#include <cstring>

namespace {

constexpr DWORD kSupported = 0x1;  // bit 0 of the flag word that starts a fixed record

// Bits of the local feature mask the job-kind rule compares against.
constexpr DWORD kFeature35 = 0x1;
constexpr DWORD kFeature36 = 0x2;
constexpr DWORD kFeature25 = 0x4;
constexpr DWORD kFeature27 = 0x8;

// Copies the record T of (capability, item 0, view) into *record: one query into a zeroed buffer
// of exactly T's size, so an answer of another size is not found, and a record not found reads
// as zeros. True when found.
template <typename T>
bool ReadRecord(const tagSPCDATA* pSpc, SHORT capability, LONG view, T* record)
{
    const ModelAnswer answer(pSpc, capability, 0, view, sizeof(T));
    *record = answer.Record<T>();
    return answer.Found();
}

// As ReadRecord, and true only when the record's leading flag word also has bit 0.
template <typename T>
bool ReadSupported(const tagSPCDATA* pSpc, SHORT capability, LONG view, T* record)
{
    return ReadRecord(pSpc, capability, view, record) && (record->dwFlags & kSupported) != 0;
}

// Whether the record T of (capability, view) is found with bit 0 of its leading flag word.
template <typename T>
bool Supported(const tagSPCDATA* pSpc, SHORT capability, LONG view)
{
    T record;
    return ReadSupported(pSpc, capability, view, &record);
}

// True when the capability answers view 1 for all items with at least one record: a size query,
// then the records fetched into a buffer of that size.
bool HasRecords(const tagSPCDATA* pSpc, SHORT capability)
{
    return ModelAnswer(pSpc, capability, 0, 1).Count() != 0;
}

// True when a size-only query of view 1 succeeds with a nonzero size; the records are not
// fetched, so a list that reports a size counts even if reading its records would fail.
bool ReportsAnswer(const tagSPCDATA* pSpc, SHORT capability)
{
    DWORD size = 0;
    return SpcQuery(pSpc, capability, 0, 1, nullptr, &size, nullptr) == ERROR_SUCCESS && size != 0;
}

// Which of the capabilities 35, 36, 25 and 27 the model has: first from its list of option
// capabilities, then, for each still missing, from a size-only query.
DWORD FeatureMask(const tagSPCDATA* pSpc)
{
    const struct {
        DWORD bit;
        SHORT capability;
    } probes[] = {{kFeature35, SPCID_INSTALLBASE1},
                  {kFeature25, SPCID_DUPLEX},
                  {kFeature27, SPCID_FINISHER},
                  {kFeature36, SPCID_INSTALLBASE2}};
    DWORD mask = 0;
    const ModelAnswer list(pSpc, SPCID_OPTIONLIST, 0, 1);
    for (const tagOPTIONCAP& listed : list.Records<tagOPTIONCAP>()) {
        for (const auto& p : probes) {
            if (static_cast<SHORT>(listed.wCapId) == p.capability)
                mask |= p.bit;
        }
    }
    for (const auto& p : probes) {
        if (!(mask & p.bit) && ReportsAnswer(pSpc, p.capability))
            mask |= p.bit;
    }
    return mask;
}

// Unit kind of the pages-per-sheet and booklet views: 0 for kind word 1, 1 for 2, else 2.
WORD UnitKind(DWORD kindWord)
{
    return kindWord == 1 ? 0 : kindWord == 2 ? 1 : 2;
}

// The views of a layout length (gutter or overlap) of one capability: view 1 of layout View1,
// view 2 a tagLAYOUTLENGTH, view 3 of layout View3 with the length in both units. A view not
// found reads as zeros.
template <typename View1, typename View3>
LayoutLengthViews LengthViews(const tagSPCDATA* pSpc, SHORT capability)
{
    LayoutLengthViews v;
    View1 view1;
    v.view1Present = ReadRecord(pSpc, capability, 1, &view1);
    v.view1Flags = v.view1Present ? view1.dwFlags : 0;
    tagLAYOUTLENGTH view2;
    v.view2Present = ReadRecord(pSpc, capability, 2, &view2);
    v.view2Flags = v.view2Present ? view2.dwFlags : 0;
    v.view2Hundredths = view2.sHundredths;
    View3 view3;
    v.view3Present = ReadRecord(pSpc, capability, 3, &view3);
    v.view3Flags = v.view3Present ? view3.dwFlags : 0;
    v.view3TenthsMm = view3.sTenthsMm;
    v.view3Hundredths = view3.sHundredths;
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
    const ModelAnswer paper(pSpc, SPCID_PAPERSIZE, paperId, 4, sizeof(tagPAPERINFO));
    if (!paper.Found())
        return FLAG_FALSE;
    const tagPAPERINFO info = paper.Record<tagPAPERINFO>();
    *pWidth = info.sWidthMm;
    *pLength = info.sLengthMm;
    return FLAG_TRUE;
}

DWORD SpcDefaultPublicDevmode(const tagSPCDATA* pSpc, DRVDEVMODE* pOut)
{
    const bool metric = IsMetricLocale() != FLAG_FALSE;
    DEVMODE& dm = pOut->dm;

    dm.dmFields = DM_ORIENTATION;
    dm.dmOrientation = 1;

    // Default papers: {inch, metric}.
    const ModelAnswer papers(pSpc, SPCID_PAPERSIZE, 0, 1, sizeof(tagPAPERDEFAULTS));
    if (!papers.Answered())
        return papers.Result();
    const tagPAPERDEFAULTS paperDefaults = papers.Record<tagPAPERDEFAULTS>();
    dm.dmFields |= DM_PAPERSIZE;
    dm.dmPaperSize = metric ? paperDefaults.sMetricDefault : paperDefaults.sInchDefault;
    dm.dmPaperWidth = 0;
    dm.dmPaperLength = 0;
    GetStandardPaperDims(pSpc, dm.dmPaperSize, &dm.dmPaperWidth, &dm.dmPaperLength);

    dm.dmScale = 100;
    dm.dmFields |= DM_COPIES;
    dm.dmCopies = 1;

    const ModelAnswer source(pSpc, SPCID_PAPERSOURCE, 0, 2, sizeof(tagDEFAULTWORD));
    if (!source.Answered())
        return source.Result();
    dm.dmFields |= DM_DEFAULTSOURCE;
    dm.dmDefaultSource = source.Record<tagDEFAULTWORD>().sValue;

    // Resolution: the model's default resolution entry, else its resolution mode, else 600 dpi.
    DWORD xDpi = 600;
    DWORD yDpi = 600;
    SHORT quality = 2;
    bool fromModel = false;
    tagDEFAULTWORD defaultItem;
    if (ReadRecord(pSpc, SPCID_RESOLUTION, 2, &defaultItem)) {
        const SHORT item = defaultItem.sValue != 0 ? defaultItem.sValue : 1;
        const ModelAnswer entry(pSpc, SPCID_RESOLUTION, item, 1, sizeof(tagSPCRESOLUTION));
        if (entry.Found()) {
            const tagSPCRESOLUTION resolution = entry.Record<tagSPCRESOLUTION>();
            quality = resolution.sMode;
            xDpi = resolution.dwNumber1;
            yDpi = resolution.dwNumber2;
            fromModel = true;
        }
    }
    tagSPCRESDEFAULT modeDefault;
    if (!fromModel && ReadRecord(pSpc, SPCID_RESOLUTIONLIST, 1, &modeDefault)) {
        quality = static_cast<SHORT>(modeDefault.wMode);
        xDpi = modeDefault.dwNumber1;
        yDpi = modeDefault.dwNumber2;
        fromModel = true;
    }
    dm.dmPrintQuality = static_cast<SHORT>(xDpi);
    dm.dmYResolution = static_cast<SHORT>(yDpi);
    pOut->priv.dmQuality = (fromModel && (quality == 1 || quality == 3 || quality == 4)) ? quality : 2;
    dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;

    tagFLAGWORD colour;
    dm.dmColor = (ReadRecord(pSpc, SPCID_COLOR, 1, &colour) && colour.dwFlags != 0) ? 2 : 1;
    dm.dmFields |= DM_COLOR;

    dm.dmFields |= DM_DUPLEX;
    dm.dmDuplex = 1;
    tagDUPLEXFLAGS duplex;
    if (ReadRecord(pSpc, SPCID_DUPLEX, 6, &duplex) && duplex.sWord >= 1 && duplex.sWord <= 3)
        dm.dmDuplex = duplex.sWord;

    dm.dmFields |= DM_TTOPTION;
    dm.dmTTOption = 2;
    dm.dmCollate = 1;
    tagFEATURERECORD features;
    if (ReadRecord(pSpc, SPCID_PRINTFEATURES, 1, &features) && features.dwFlags != 0)
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

    tagFLAGWORD firstPage;
    if (ReadSupported(pSpc, SPCID_FIRSTPAGE, 1, &firstPage)) {
        p.dmExtraPrint |= DMXP_FIRSTPAGE;
        if (firstPage.dwFlags & 0x4)
            p.dmFieldsExtra1 |= DMX1_FIRSTPAGE_MEDIA;
        if (firstPage.dwFlags & 0x8)
            p.dmFieldsExtra1 |= DMX1_FIRSTPAGE_SOURCE;
    }

    p.dmOutputPaperSize = p.dmOutputPaperWidth = p.dmOutputPaperLength = 0;
    p.dmRotateOrient = 0;
    if (Supported<tagFLAGWORD>(pSpc, SPCID_PAPERSIZE, 5)) {
        p.dmExtraPrint |= DMXP_ROTATE180;
        p.dmFieldsExtra1 |= DMX1_ROTATE180;
    }

    p.dmMetric = metric ? 3 : 0;
    p.dmBaseResolution = static_cast<WORD>(dm.dmPrintQuality);
    p.dmOption74 = 0;
    tagOPTIONFLAGS optionFlags;
    const DWORD optFlags = ReadRecord(pSpc, SPCID_OPTIONFLAGS, 1, &optionFlags) ? optionFlags.dwFlags : 0;
    if (optFlags & 0x10)
        p.dmFieldsExtra1 |= DMX1_OPTION74;

    p.dmInstalledDuplex = 0;
    p.dmWords1008[1] = 0;  // private 1010
    tagDUPLEXINFO duplex;
    const bool duplexPresent = ReadRecord(pSpc, SPCID_DUPLEX, 1, &duplex);
    const DuplexRuleResult d = DuplexRule(duplexPresent, duplex.dwFlags);
    p.dmFieldsExtra1 |= d.fieldsExtra1;
    p.dmFieldsExtra3 |= d.fieldsExtra3;
    p.dmDuplexOption = d.duplexOption;
    p.dmInstalledDuplex = d.installedDuplex;

    p.dmFieldsExtra1 |= DMX1_ALWAYS_400;
    p.dmDuplexMargin = 0;
    p.dmFieldsExtra1 |= DMX1_ALWAYS_800;
    p.dmOption80 = 1;
    p.dmReverseOrder = 0;
    if (Supported<tagFLAGWORD>(pSpc, SPCID_REVERSEORDER, 1))
        p.dmFieldsExtra1 |= DMX1_REVERSE_ORDER;
    tagREVERSEORDERINFO reverse;
    if ((p.dmFieldsExtra1 & DMX1_REVERSE_ORDER) && ReadRecord(pSpc, SPCID_REVERSEORDER, 2, &reverse) &&
        reverse.dwDefault == 1)
        p.dmReverseOrder = 1;

    p.dmMirror = 0;
    if (Supported<tagFLAGPAIR>(pSpc, SPCID_MIRROR, 1)) {
        p.dmFieldsExtra1 |= DMX1_MIRROR;
        p.dmExtraPrint |= DMXP_MIRROR;
    }

    p.dmFieldsExtra1 |= DMX1_ALWAYS_2000;
    p.dmOption86 = 0;
    p.dmSkipBlankPages = 0;
    tagFLAGVALUE blank;
    if (ReadSupported(pSpc, SPCID_BLANKPAGES, 1, &blank)) {
        p.dmFieldsExtra1 |= DMX1_SKIP_BLANK;
        p.dmSkipBlankPages = blank.sValue == 2 ? 1 : 0;
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
    tagSORTINFO sort;
    if (ReadRecord(pSpc, SPCID_SORT, 2, &sort) && sort.dwSortBits != 0) {
        p.dmFieldsExtra1 |= DMX1_SORT;
        p.dmSort = static_cast<WORD>(sort.dwDefault);
    }

    p.dmCoverPage = p.dmFrontCoverFile = p.dmBackCoverFile = 0;
    p.dmFrontCoverSource = p.dmBackCoverSource = 0;

    tagFLAGWORD jobOptions;
    if (ReadRecord(pSpc, SPCID_JOBOPTIONS, 1, &jobOptions)) {
        p.dmFieldsExtra1 |= DMX1_JOB_OPTIONS;
        if (jobOptions.dwFlags & 0x1)
            p.dmFieldsExtra1 |= DMX1_FRONT_COVER;
        if (jobOptions.dwFlags & 0x2)
            p.dmFieldsExtra1 |= DMX1_BACK_COVER;
    }
    p.dmJobSpool = 0;
    p.dmWords1008[0] = 0;  // private 1008
    if (Supported<tagFEATURERECORD>(pSpc, SPCID_JOBSPOOL1, 1))
        p.dmFieldsExtra1 |= DMX1_JOBKIND1;
    auto jobKind = [&](SHORT capability, DWORD bit) {
        tagFEATURERECORD kind;
        const bool present = ReadRecord(pSpc, capability, 1, &kind);
        if (JobKindRule(present, kind.dwFlags, kind.dwRequirements, featureMask))
            p.dmFieldsExtra1 |= bit;
    };
    jobKind(SPCID_JOBSPOOL4, DMX1_JOBKIND4);

    p.dmUseDeptCode = 0;
    tagFLAGPAIR dept;
    if (ReadRecord(pSpc, SPCID_DEPTCODE, 1, &dept)) {
        if (dept.dwFlags & 0x1)
            p.dmFieldsExtra1 |= DMX1_DEPT_CODE;
        if (dept.dwFlags & 0x4)
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
    if (Supported<tagNUPINFO>(pSpc, SPCID_NUP, 1))
        p.dmFieldsExtra2 |= DMX2_NUP;
    tagNUPBORDER nupBorder;
    if (ReadSupported(pSpc, SPCID_NUP, 2, &nupBorder)) {
        if (nupBorder.sBorder >= 0 && nupBorder.sBorder <= 5)
            p.dmNupBorder = nupBorder.sBorder;
        if (nupBorder.sBorderWidth > 0)
            p.dmNupBorderWidth = nupBorder.sBorderWidth;
    }
    tagNUPUNIT nupUnit;
    if (ReadSupported(pSpc, SPCID_NUP, 3, &nupUnit))
        p.dmNupUnitKind = UnitKind(nupUnit.dwUnitKind);

    // Booklet.
    p.dmBookletBinding = 1;
    p.dmBookletUnit = 0;
    p.dmGutter = 0;
    const LayoutLengthViews gutter = LengthViews<tagBOOKLETINFO, tagBOOKLETUNIT>(pSpc, SPCID_BOOKLET);
    if (gutter.view1Present && (gutter.view1Flags & kSupported))
        p.dmFieldsExtra2 |= DMX2_BOOKLET;
    p.dmGutter = LayoutLengthRule(p.dmGutter, p.dmUnitOfLayout, metric, gutter);
    tagBOOKLETUNIT bookletUnit;
    if (ReadSupported(pSpc, SPCID_BOOKLET, 3, &bookletUnit))
        p.dmBookletUnitKind = UnitKind(bookletUnit.dwUnitKind);

    // Zoom and fit to output paper.
    p.dmScaleTo = 100;
    p.dmAlign = 4;
    if (Supported<tagZOOMLIMITS>(pSpc, SPCID_ZOOM, 1))
        p.dmFieldsExtra2 |= DMX2_ZOOM;
    tagZOOMALIGN align;
    if (ReadSupported(pSpc, SPCID_ZOOM, 2, &align) && align.sAlign >= 0 && align.sAlign <= 8)
        p.dmAlign = align.sAlign;
    p.dmFittoPageRatio = 0;
    if (Supported<tagFLAGWORD>(pSpc, SPCID_FITTOPAPER, 1))
        p.dmFieldsExtra2 |= DMX2_FIT;

    // Poster.
    p.dmPosterX = 2;
    p.dmPosterY = 2;
    p.dmOverlap = 0;
    const LayoutLengthViews overlap = LengthViews<tagFLAGWORD, tagPOSTERUNIT>(pSpc, SPCID_POSTER);
    if (overlap.view1Present && (overlap.view1Flags & kSupported))
        p.dmFieldsExtra2 |= DMX2_POSTER;
    p.dmOverlap = LayoutLengthRule(p.dmOverlap, p.dmUnitOfLayout, metric, overlap);

    tagSPCCOLORDEFAULTS colour;
    ColourRule(p, ReadRecord(pSpc, SPCID_COLORDEFAULTS, 1, &colour) ? &colour : nullptr);

    p.dmDensity = 0;
    if (Supported<tagFLAGWORD>(pSpc, SPCID_DENSITY, 1))
        p.dmFieldsExtra2 |= DMX2_DENSITY;
    tagDENSITYRANGE density;
    if (ReadRecord(pSpc, SPCID_DENSITY, 2, &density))
        p.dmDensity = static_cast<WORD>(density.sDefault);
    p.dmAllTextBlack = 0;
    if (Supported<tagFLAGWORD>(pSpc, SPCID_ALLTEXTBLACK, 1))
        p.dmFieldsExtra2 |= DMX2_ALL_TEXT_BLACK;
    p.dmContrast = 0;
    tagCONTRASTRANGE contrast;
    if (ReadSupported(pSpc, SPCID_CONTRAST, 1, &contrast)) {
        p.dmFieldsExtra2 |= DMX2_CONTRAST;
        p.dmContrast = contrast.sDefault;
    }

    p.dmFieldsExtra2 |= DMX2_SCREEN;
    tagSPCSCREENINFO screen;
    const bool screenPresent = ReadRecord(pSpc, SPCID_SCREENLIST, 1, &screen);
    if (screenPresent)
        p.dmFieldsExtra2 |= DMX2_SCREEN_LIST;
    p.dmScreenMode = ScreenModeRule(screenPresent, screen.dwFlags, screen.sCount);

    p.dmOption334 = 0xFFFF;
    p.dmTonerSave = 0;
    tagSPCLIST46INFO tonerSave;
    if (ReadRecord(pSpc, SPCID_TONERSAVE, 1, &tonerSave) && tonerSave.dwWord0 != 0)
        p.dmFieldsExtra2 |= DMX2_TONER_SAVE;
    p.dmOption346 = 0;
    if (optFlags & 0x100)
        p.dmFieldsExtra2 |= DMX2_OPTION346;
    p.dmOption338 = 0;
    if (Supported<tagOPTIONFLAGS>(pSpc, SPCID_OPTION338, 1))
        p.dmFieldsExtra2 |= DMX2_OPTION338;
    p.dmOption340 = 0;
    tagFLAGVALUE option340;
    if (ReadSupported(pSpc, SPCID_OPTION340, 1, &option340)) {
        p.dmFieldsExtra1 |= DMX1_OPTION340;
        p.dmExtraPrint |= DMXP_OPTION340;
        p.dmOption340 = static_cast<WORD>(option340.sValue);
    }
    p.dmOption342 = 0;
    tagPRINTMODEINFO printModes;
    if (ReadRecord(pSpc, SPCID_RENDERPARAMS, 1, &printModes)) {
        p.dmFieldsExtra2 |= DMX2_OPTION342;
        if (printModes.dwFlags & 0x4)
            p.dmOption342 = 1;
    }
    p.dmHalftone = 0;
    tagDEFAULTWORD halftone;
    if (ReadRecord(pSpc, SPCID_HALFTONE, 1, &halftone)) {
        p.dmFieldsExtra2 |= DMX2_HALFTONE;
        p.dmHalftone = static_cast<WORD>(halftone.sValue);
    }

    p.dmOptionBits356 = 0;
    tagFLAGWORD bits356;
    if (ReadRecord(pSpc, SPCID_OPTIONBITS356, 1, &bits356) && bits356.dwFlags != 0)
        p.dmFieldsExtra2 |= DMX2_OPTIONBITS356;
    p.dmOptionBits620 = 0;
    tagFLAGWORD bits620;
    if (ReadRecord(pSpc, SPCID_OPTIONBITS620, 1, &bits620) && bits620.dwFlags != 0)
        p.dmFieldsExtra2 |= DMX2_OPTIONBITS620;
    p.dmFieldsExtra2 |= DMX2_ALWAYS_100000;
    p.dmWord972 = 0;
    p.dmWord976 = 0;
    p.dmInstalledValue35 = 0;
    tagSPCBASE35 base35;
    if (ReadRecord(pSpc, SPCID_INSTALLBASE1, 1, &base35) && base35.dwBase != 0) {
        p.dmFieldsExtra2 |= DMX2_INSTALLED35;
        p.dmInstalledValue35 = base35.dwBase;
    }
    p.dmInstalledValue36 = 0;
    tagSPCBASE36 base36;
    if (ReadRecord(pSpc, SPCID_INSTALLBASE2, 1, &base36) && base36.dwValues[0] != 0) {
        p.dmFieldsExtra2 |= DMX2_INSTALLED36;
        p.dmInstalledValue36 = base36.dwValues[0];
    }
    p.dmInstalledSummary[2] = 0;  // private 994
    // The first 16-bit word of each group entry (its id; the group kind is the word behind it) is
    // compared with 5, the large-capacity mark.
    const ModelAnswer groups(pSpc, SPCID_SOURCEGROUP, 0, 1);
    for (const tagSPCIDVALUE& group : groups.Records<tagSPCIDVALUE>()) {
        if (group.sId == 5) {
            p.dmFieldsExtra2 |= DMX2_LARGE_TRAY;
            break;
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
    tagSPCLIST53INFO option1006;
    if (ReadSupported(pSpc, SPCID_OPTION1006, 1, &option1006)) {
        p.dmFieldsExtra3 |= DMX3_OPTION1006;
        p.dmOption1006 = option1006.wWord1;
    }
    if (Supported<tagSPCLIST71INFO>(pSpc, SPCID_FEATUREPAIRS, 1))
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
