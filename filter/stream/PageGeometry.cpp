// Where a rendered page lies on the printer's sheet: the paper's size, printable area and margins
// from the model data, in dots of the job's resolution.
#include "filter/stream/PipeStream.h"
#include "filter/stream/PageGeometry.h"

#include "core/model/SpcPaperAnswers.h"
#include "core/model/ModelAnswer.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr LONG kDefaultUnitsPerInch = 600;
constexpr WORD kCustomPaperId = 256;
constexpr LONG kViewResolution = 2;
constexpr LONG kViewPaperInfo = 4;
constexpr LONG kViewCustomLimits = 1;

// Fields of the paper answer (view 4), each a pair across and down: first pair, printable size,
// sheet size, margins; the turned sheet's values for every orientation but portrait.
struct tagGEOMETRYFIELDS {
    SHORT tagPAPERINFO::*first[2];
    SHORT tagPAPERINFO::*printable[2];
    SHORT tagPAPERINFO::*sheet[2];
    SHORT (tagPAPERINFO::*margins)[4];
};
constexpr tagGEOMETRYFIELDS kPortraitFields = {{&tagPAPERINFO::sPrintWidthMm, &tagPAPERINFO::sPrintLengthMm},
                                               {&tagPAPERINFO::sPrintWidthDots, &tagPAPERINFO::sPrintLengthDots},
                                               {&tagPAPERINFO::sWidthDots, &tagPAPERINFO::sLengthDots},
                                               &tagPAPERINFO::sMargins};
constexpr tagGEOMETRYFIELDS kTurnedFields = {
    {&tagPAPERINFO::sTurnedPrintWidthMm, &tagPAPERINFO::sTurnedPrintLengthMm},
    {&tagPAPERINFO::sTurnedPrintWidthDots, &tagPAPERINFO::sTurnedPrintLengthDots},
    {&tagPAPERINFO::sTurnedWidthDots, &tagPAPERINFO::sTurnedLengthDots},
    &tagPAPERINFO::sTurnedMargins};

// Margins of the custom-size limits (view 1), entries of tagCUSTOMLIMITS::sLimits: left and top,
// portrait and turned.
constexpr size_t kCustomLeftPortrait = 8;
constexpr size_t kCustomTopPortrait = 9;
constexpr size_t kCustomLeftTurned = 12;
constexpr size_t kCustomTopTurned = 13;

// value x dpi / units, or -1 when the model's value is negative or the result is too large to be a
// page measure.
int64_t Scale(int64_t value, int64_t dpi, int64_t units)
{
    if (value < 0) {
        return -1;
    }
    int64_t result = value * dpi / units;
    return result > kMaxPnmDimension ? -1 : result;
}

bool AllPlaced(const tagPAGEGEOMETRY& g)
{
    return g.lPrintableWidth > 0 && g.lPrintableHeight > 0 && g.lPaperWidth > 0 && g.lPaperHeight > 0 &&
           g.lLeftOffset >= 0 && g.lTopOffset >= 0 && g.lFirstX >= 0 && g.lFirstY >= 0;
}

}  // namespace

int GetPageGeometry(tagJOBINFO* pJob, SHORT sPaperId, SHORT sOrientation, tagPAGEGEOMETRY* pGeometry)
{
    if (pJob == nullptr || pGeometry == nullptr || pJob->pSpcData == nullptr) {
        return 0;
    }
    const int64_t xDpi = pJob->devmode.dm.dmPrintQuality;
    const int64_t yDpi = pJob->devmode.dm.dmYResolution;
    if (xDpi <= 0 || yDpi <= 0) {
        return 0;
    }

    int64_t units = kDefaultUnitsPerInch;
    const ModelAnswer resolution(pJob->pSpcData, SPCID_PAPERSIZE, 0, kViewResolution, sizeof(SHORT));
    if (resolution.Found() && resolution.Record<SHORT>() > 0) {
        units = resolution.Record<SHORT>();
    }

    std::memset(pGeometry, 0, sizeof *pGeometry);
    pGeometry->wOrientation = static_cast<WORD>(sOrientation);
    const ModelAnswer paper(pJob->pSpcData, SPCID_PAPERSIZE, sPaperId, kViewPaperInfo, sizeof(tagPAPERINFO));
    if (paper.Found()) {
        const tagPAPERINFO info = paper.Record<tagPAPERINFO>();
        const tagGEOMETRYFIELDS& f = sOrientation == 1 ? kPortraitFields : kTurnedFields;
        pGeometry->wPaperId = static_cast<WORD>(sPaperId);
        pGeometry->lFirstX = static_cast<LONG>(Scale(info.*f.first[0], xDpi, units));
        pGeometry->lFirstY = static_cast<LONG>(Scale(info.*f.first[1], yDpi, units));
        pGeometry->lPrintableWidth = static_cast<LONG>(Scale(info.*f.printable[0], xDpi, units));
        pGeometry->lPrintableHeight = static_cast<LONG>(Scale(info.*f.printable[1], yDpi, units));
        pGeometry->lLeftOffset = static_cast<LONG>(Scale((info.*f.margins)[0], xDpi, units));
        pGeometry->lTopOffset = static_cast<LONG>(Scale((info.*f.margins)[1], yDpi, units));
        pGeometry->lPaperWidth = static_cast<LONG>(Scale(info.*f.sheet[0], xDpi, units));
        pGeometry->lPaperHeight = static_cast<LONG>(Scale(info.*f.sheet[1], yDpi, units));
        return AllPlaced(*pGeometry) ? -1 : 0;
    }

    const ModelAnswer custom(pJob->pSpcData, SPCID_CUSTOMSIZE, 0, kViewCustomLimits, sizeof(tagCUSTOMLIMITS));
    if (!custom.Found()) {
        return 0;
    }
    const tagCUSTOMLIMITS limits = custom.Record<tagCUSTOMLIMITS>();
    const DEVMODE& dm = pJob->devmode.dm;
    if (dm.dmPaperWidth <= 0 || dm.dmPaperLength <= 0) {
        return 0;
    }
    bool bPortrait = sOrientation == 1;
    pGeometry->wPaperId = kCustomPaperId;
    // Sizes in 0.1 mm to dots, rounded half up.
    int64_t paperWidth = (int64_t{dm.dmPaperWidth} * xDpi + 127) / 254;
    int64_t paperHeight = (int64_t{dm.dmPaperLength} * yDpi + 127) / 254;
    int64_t left = Scale(limits.sLimits[bPortrait ? kCustomLeftPortrait : kCustomLeftTurned], xDpi, units);
    int64_t top = Scale(limits.sLimits[bPortrait ? kCustomTopPortrait : kCustomTopTurned], yDpi, units);
    if (paperWidth > kMaxPnmDimension || paperHeight > kMaxPnmDimension || left < 0 || top < 0) {
        return 0;
    }
    int64_t printableWidth = paperWidth - 2 * left;
    int64_t printableHeight = paperHeight - 2 * top;
    pGeometry->lPaperWidth = static_cast<LONG>(paperWidth);
    pGeometry->lPaperHeight = static_cast<LONG>(paperHeight);
    pGeometry->lLeftOffset = static_cast<LONG>(left);
    pGeometry->lTopOffset = static_cast<LONG>(top);
    pGeometry->lPrintableWidth = static_cast<LONG>(printableWidth);
    pGeometry->lPrintableHeight = static_cast<LONG>(printableHeight);
    if (printableWidth <= 0 || printableHeight <= 0) {
        return 0;
    }
    pGeometry->lFirstX = static_cast<LONG>(printableWidth * 254 / xDpi);
    pGeometry->lFirstY = static_cast<LONG>(printableHeight * 254 / yDpi);
    return -1;
}
