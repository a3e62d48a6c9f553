#include "filter/render/language/PrinterLookups.h"
#include "core/model/ModelAnswer.h"

#include "core/settings/DevMode.h"
#include "filter/render/RenderOptions.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kViewPaperDefaults = 1;
constexpr DWORD kViewPaperResolution = 2;  // one SHORT: dots per inch of the paper records
constexpr DWORD kViewPaperInfo = 4;
constexpr DWORD kViewPrinterPaper = 11;
constexpr DWORD kViewCustomLimits = 1;
constexpr DWORD kViewCustomPrinterPaper = 7;
constexpr DWORD kViewPrinterMedia = 8;
constexpr DWORD kViewPrinterSource = 8;
constexpr DWORD kViewGroupPrinterSource = 9;
constexpr DWORD kViewPrinterDuplex = 5;

constexpr SHORT kLastStandardPaper = 455;
constexpr SHORT kMetricFallbackPaper = 9;
constexpr SHORT kInchFallbackPaper = 1;
constexpr LONG kDefaultCustomMargin = 100;
// Custom sizes come in 0.1 mm and are turned into dots with this divisor (16000 / 63), which the
// printer's own geometry is built on, not with 254.
constexpr double kCustomTenthMmPerInch = 253.96825396825398;

// The answer of (capability, item, view) in the job's model data.
ModelAnswer AskModel(WORD capability, WORD item, DWORD view, const tagRENDEROPTIONS* options)
{
    return ModelAnswer(RenderModelData(options), static_cast<SHORT>(capability), static_cast<SHORT>(item),
                       static_cast<LONG>(view), RenderModelQuery(options));
}

// Copies a whole answer record into `out`; false when the model does not answer with one.
template <typename Record>
bool QueryRecord(WORD capability, WORD item, DWORD view, Record* out, const tagRENDEROPTIONS* options)
{
    const ModelAnswer answer = AskModel(capability, item, view, options);
    const bool whole = answer.Found() && answer.Count() != 0 && answer.Size() >= sizeof(Record);
    if (whole) {
        *out = answer.Record<Record>();
    }
    return whole;
}

}  // namespace

LONG GetPaperBaseResolution(const tagRENDEROPTIONS* options)
{
    SHORT value = 0;
    const LONG base = QueryRecord(SPCID_PAPERSIZE, 0, kViewPaperResolution, &value, options) ? value : 0;
    return base > 0 ? base : kFallbackResolution;
}

bool GetCustomLimits(tagCUSTOMLIMITS* limits, const tagRENDEROPTIONS* options)
{
    return limits != nullptr && QueryRecord(SPCID_CUSTOMSIZE, 0, kViewCustomLimits, limits, options);
}

namespace {

void DefaultPrinterPaper(tagPRINTERPAPER* paper)
{
    std::memset(paper, 0, sizeof(*paper));
    paper->sC = 1;
    paper->sA = 1;
    paper->sPrinterCode = SPC_PRINTER_PAPER_CUSTOM;
    paper->sB = SPC_PRINTER_PAPER_CUSTOM;
}

void FillDerived(tagPAGEGEOMETRY* g)
{
    g->lPrintableWidth = g->lWidth - 2 * g->lMarginX;
    g->lPrintableLength = g->lLength - 2 * g->lMarginY;
    g->lInnerWidth = g->lWidth - 2 * g->lSecondMarginX;
    g->lInnerLength = g->lLength - 2 * g->lSecondMarginY;
}

void SetGeometry(tagPAGEGEOMETRY* g, SHORT id, LONG width, LONG length, const SHORT margins[4])
{
    g->sPaperSize = id;
    g->lWidth = width;
    g->lLength = length;
    g->lMarginX = margins[0];
    g->lMarginY = margins[1];
    g->lSecondMarginX = margins[2] != 0 ? margins[2] : margins[0];
    g->lSecondMarginY = margins[3] != 0 ? margins[3] : margins[1];
    FillDerived(g);
}

// A custom size from the settings record's width and length, margins from the custom limits.
void CustomGeometry(SHORT orientation, LONG base, const DRVDEVMODE* settings, tagPAGEGEOMETRY* g,
                    tagPRINTERPAPER* paper, const tagRENDEROPTIONS* options)
{
    if (paper != nullptr && !QueryRecord(SPCID_CUSTOMSIZE, 0, kViewCustomPrinterPaper, paper, options)) {
        DefaultPrinterPaper(paper);
    }
    const LONG across = static_cast<LONG>(0.5 + settings->dm.dmPaperWidth / kCustomTenthMmPerInch * base);
    const LONG down = static_cast<LONG>(0.5 + settings->dm.dmPaperLength / kCustomTenthMmPerInch * base);
    SHORT margins[4] = {kDefaultCustomMargin, kDefaultCustomMargin, kDefaultCustomMargin, kDefaultCustomMargin};
    tagCUSTOMLIMITS limits{};
    if (GetCustomLimits(&limits, options)) {
        const int first = orientation == 1 ? kCustomMarginsPortrait : kCustomMarginsLandscape;
        for (int i = 0; i < 4; ++i) {
            margins[i] = limits.sLimits[first + i];
        }
    }
    if (orientation == 1) {
        SetGeometry(g, SPC_PRINTER_PAPER_CUSTOM, across, down, margins);
    } else {
        SetGeometry(g, SPC_PRINTER_PAPER_CUSTOM, down, across, margins);
    }
}

LONG Scale(LONG value, LONG dpi, LONG base)
{
    return static_cast<LONG>(static_cast<int64_t>(value) * dpi / base);
}

}  // namespace

size_t FieldTextLength(const char* field, size_t fieldSize)
{
    const void* end = std::memchr(field, '\0', fieldSize);
    return end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - field) : fieldSize;
}

WORD GetPaperRecordDots(SHORT paperId, SHORT orientation, tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper,
                        const tagRENDEROPTIONS* options)
{
    if (paper != nullptr &&
        !QueryRecord(SPCID_PAPERSIZE, static_cast<WORD>(paperId), kViewPrinterPaper, paper, options)) {
        DefaultPrinterPaper(paper);
    }
    if (paperId < 1 || paperId > kLastStandardPaper) {
        return FLAG_FALSE;
    }
    tagPAPERINFO info{};
    if (!QueryRecord(SPCID_PAPERSIZE, static_cast<WORD>(paperId), kViewPaperInfo, &info, options)) {
        return FLAG_FALSE;
    }
    if (geometry != nullptr) {
        if (orientation == 2) {
            SetGeometry(geometry, paperId, info.sTurnedWidthDots, info.sTurnedLengthDots, info.sTurnedMargins);
        } else {
            SetGeometry(geometry, paperId, info.sWidthDots, info.sLengthDots, info.sMargins);
        }
    }
    return FLAG_TRUE;
}

WORD GetPaperGeometryDots(SHORT paperId, SHORT orientation, LONG dpi, const DRVDEVMODE* settings,
                          tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper, const tagRENDEROPTIONS* options)
{
    if (geometry == nullptr || settings == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const LONG base = GetPaperBaseResolution(options);
    tagPAGEGEOMETRY found{};
    bool ok = GetPaperRecordDots(paperId, orientation, &found, paper, options) != FLAG_FALSE;
    if (!ok && (paperId == SPC_PRINTER_PAPER_CUSTOM || paperId > kLastStandardPaper)) {
        CustomGeometry(orientation, base, settings, &found, paper, options);
        ok = true;
    } else if (!ok) {
        const bool metric = (settings->priv.dmMetric & 0x1) != 0;
        tagPAPERDEFAULTS defaults{};
        if (QueryRecord(SPCID_PAPERSIZE, 0, kViewPaperDefaults, &defaults, options)) {
            const SHORT id = metric ? defaults.sMetricDefault : defaults.sInchDefault;
            ok = GetPaperRecordDots(id, orientation, &found, paper, options) != FLAG_FALSE;
        }
        if (!ok) {
            ok = GetPaperRecordDots(metric ? kMetricFallbackPaper : kInchFallbackPaper, orientation, &found, paper,
                                    options) != FLAG_FALSE;
        }
    }
    if (!ok) {
        return FLAG_FALSE;
    }
    if (dpi < 1) {
        dpi = base;
    }
    if (dpi != base) {
        LONG* fields[] = {&found.lWidth,         &found.lLength,       &found.lPrintableWidth, &found.lPrintableLength,
                          &found.lMarginX,       &found.lMarginY,      &found.lInnerWidth,     &found.lInnerLength,
                          &found.lSecondMarginX, &found.lSecondMarginY};
        for (LONG* field : fields) {
            *field = Scale(*field, dpi, base);
        }
    }
    *geometry = found;
    return FLAG_TRUE;
}

WORD GetMediaRecord(SHORT mediaId, tagPRINTERMEDIA* media, const tagRENDEROPTIONS* options)
{
    if (media == nullptr) {
        return FLAG_FALSE;
    }
    std::memset(media, 0, sizeof(*media));
    if (!QueryRecord(SPCID_MEDIATYPE, static_cast<WORD>(mediaId), kViewPrinterMedia, media, options)) {
        std::memset(media, 0, sizeof(*media));
        media->sA = 2;
        media->sC = 2;
        std::strcpy(media->szName2, "Plain");
        std::strcpy(media->szName4, "Plain");
    }
    return FLAG_TRUE;
}

WORD GetSourceRecord(SHORT sourceId, tagPRINTERSOURCE* source, const tagRENDEROPTIONS* options)
{
    if (source == nullptr) {
        return FLAG_FALSE;
    }
    std::memset(source, 0, sizeof(*source));
    if (!QueryRecord(SPCID_PAPERSOURCE, static_cast<WORD>(sourceId), kViewPrinterSource, source, options) &&
        !QueryRecord(SPCID_SOURCEGROUP, static_cast<WORD>(sourceId), kViewGroupPrinterSource, source, options)) {
        std::memset(source, 0, sizeof(*source));
        source->sA = 1;
        source->sB = 7;
        source->sC = 7;
        source->sPrinterCode = 7;
    }
    return FLAG_TRUE;
}

WORD GetDuplexRecord(SHORT duplexMode, tagPRINTERDUPLEX* duplex, const tagRENDEROPTIONS* options)
{
    if (duplex == nullptr) {
        return FLAG_FALSE;
    }
    std::memset(duplex, 0, sizeof(*duplex));
    if (!QueryRecord(SPCID_DUPLEX, static_cast<WORD>(duplexMode), kViewPrinterDuplex, duplex, options)) {
        std::memset(duplex, 0, sizeof(*duplex));
        duplex->sC = 1;
        duplex->sA = 1;
        duplex->sPrinterCode = 0;
        duplex->sB = 0;
    }
    return FLAG_TRUE;
}

DWORD GetPjlLineList(WORD item, DWORD view, void** list, const tagRENDEROPTIONS* options)
{
    if (list == nullptr) {
        return 0;
    }
    *list = nullptr;
    if (view != 4 && view != 3) {
        return 0;
    }
    const ModelAnswer answer = AskModel(SPCID_PJLITEMS, item, view, options);
    // Only whole records are handed out, whatever count the answer claims.
    const DWORD count = view == 4 ? answer.WholeRecords<tagPJLFORMAT>() : answer.WholeRecords<tagPJLITEM>();
    if (!answer.Found() || count == 0) {
        return 0;
    }
    // The caller frees the list with free().
    void* copy = std::calloc(1, answer.Size());
    if (copy == nullptr) {
        return 0;
    }
    std::memcpy(copy, answer.Bytes(), answer.Size());
    *list = copy;
    return count;
}

WORD GetPagePaperDots(const DRVDEVMODE* settings, tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper,
                      const tagRENDEROPTIONS* options)
{
    return GetPaperGeometryDots(options->sPaperSize, settings->dm.dmOrientation, settings->dm.dmPrintQuality, settings,
                                geometry, paper, options);
}
