// Where a rendered page lies on the printer's sheet: the paper's size, printable area and margins
// from the model data, in dots of the job's resolution.
#include "filter/stream/PipeStream.h"
#include "filter/stream/PageGeometry.h"

#include "core/model/SpcPaperAnswers.h"
#include "core/model/SpcQuery.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr LONG kDefaultUnitsPerInch = 600;
constexpr WORD kCustomPaperId = 256;
constexpr LONG kViewResolution = 2;
constexpr LONG kViewPaperInfo = 4;
constexpr LONG kViewCustomLimits = 1;

// Offsets in the paper answer (view 4): first pair, printable size, margins, sheet size; the
// turned sheet's values for every orientation but portrait.
struct tagGEOMETRYFIELDS {
    size_t offFirst, offPrintable, offMargins, offSheet;
};
constexpr tagGEOMETRYFIELDS kPortraitFields = {offsetof(tagPAPERINFO, sPrintWidthMm),
                                               offsetof(tagPAPERINFO, sPrintWidthDots),
                                               offsetof(tagPAPERINFO, sMargins),
                                               offsetof(tagPAPERINFO, sWidthDots)};
constexpr tagGEOMETRYFIELDS kTurnedFields = {offsetof(tagPAPERINFO, sTurnedPrintWidthMm),
                                             offsetof(tagPAPERINFO, sTurnedPrintWidthDots),
                                             offsetof(tagPAPERINFO, sTurnedMargins),
                                             offsetof(tagPAPERINFO, sTurnedWidthDots)};
static_assert(kPortraitFields.offFirst == 16 && kPortraitFields.offPrintable == 20 &&
                  kPortraitFields.offMargins == 24 && kPortraitFields.offSheet == 12,
              "portrait geometry fields of the paper answer");
static_assert(kTurnedFields.offFirst == 40 && kTurnedFields.offPrintable == 44 && kTurnedFields.offMargins == 48 &&
                  kTurnedFields.offSheet == 36,
              "turned geometry fields of the paper answer");

// Margins of the custom-size limits (view 1): left and top, portrait and turned.
constexpr size_t kCustomLeftPortrait = 20;
constexpr size_t kCustomTopPortrait = 22;
constexpr size_t kCustomLeftTurned = 28;
constexpr size_t kCustomTopTurned = 30;

SHORT I16At(const BYTE* pb, size_t off) {
    SHORT s;
    std::memcpy(&s, pb + off, sizeof s);
    return s;
}

// value x dpi / units, or -1 when the model's value is negative or the result is too large to be a
// page measure.
int64_t Scale(int64_t value, int64_t dpi, int64_t units) {
    if (value < 0) return -1;
    int64_t result = value * dpi / units;
    return result > kMaxPnmDimension ? -1 : result;
}

bool AllPlaced(const tagPAGEGEOMETRY& g) {
    return g.lPrintableWidth > 0 && g.lPrintableHeight > 0 && g.lPaperWidth > 0 && g.lPaperHeight > 0 &&
           g.lLeftOffset >= 0 && g.lTopOffset >= 0 && g.lFirstX >= 0 && g.lFirstY >= 0;
}

}  // namespace

int GetPageGeometry(tagJOBINFO* pJob, SHORT sPaperId, SHORT sOrientation, tagPAGEGEOMETRY* pGeometry) {
    if (pJob == nullptr || pGeometry == nullptr || pJob->pSpcData == nullptr) return 0;
    const int64_t xDpi = pJob->devmode.dm.dmPrintQuality;
    const int64_t yDpi = pJob->devmode.dm.dmYResolution;
    if (xDpi <= 0 || yDpi <= 0) return 0;

    int64_t units = kDefaultUnitsPerInch;
    BYTE abUnits[2] = {};
    DWORD cb = sizeof abUnits;
    if (SpcQuery(pJob->pSpcData, SPCID_PAPERSIZE, 0, kViewResolution, abUnits, &cb, nullptr) == ERROR_SUCCESS &&
        I16At(abUnits, 0) > 0)
        units = I16At(abUnits, 0);

    std::memset(pGeometry, 0, sizeof *pGeometry);
    pGeometry->wOrientation = static_cast<WORD>(sOrientation);
    BYTE abPaper[sizeof(tagPAPERINFO)] = {};
    cb = sizeof abPaper;
    if (SpcQuery(pJob->pSpcData, SPCID_PAPERSIZE, sPaperId, kViewPaperInfo, abPaper, &cb, nullptr) == ERROR_SUCCESS) {
        const tagGEOMETRYFIELDS& f = sOrientation == 1 ? kPortraitFields : kTurnedFields;
        pGeometry->wPaperId = static_cast<WORD>(sPaperId);
        pGeometry->lFirstX = static_cast<LONG>(Scale(I16At(abPaper, f.offFirst), xDpi, units));
        pGeometry->lFirstY = static_cast<LONG>(Scale(I16At(abPaper, f.offFirst + 2), yDpi, units));
        pGeometry->lPrintableWidth = static_cast<LONG>(Scale(I16At(abPaper, f.offPrintable), xDpi, units));
        pGeometry->lPrintableHeight = static_cast<LONG>(Scale(I16At(abPaper, f.offPrintable + 2), yDpi, units));
        pGeometry->lLeftOffset = static_cast<LONG>(Scale(I16At(abPaper, f.offMargins), xDpi, units));
        pGeometry->lTopOffset = static_cast<LONG>(Scale(I16At(abPaper, f.offMargins + 2), yDpi, units));
        pGeometry->lPaperWidth = static_cast<LONG>(Scale(I16At(abPaper, f.offSheet), xDpi, units));
        pGeometry->lPaperHeight = static_cast<LONG>(Scale(I16At(abPaper, f.offSheet + 2), yDpi, units));
        return AllPlaced(*pGeometry) ? -1 : 0;
    }

    BYTE abLimits[sizeof(tagCUSTOMLIMITS)] = {};
    cb = sizeof abLimits;
    if (SpcQuery(pJob->pSpcData, SPCID_CUSTOMSIZE, 0, kViewCustomLimits, abLimits, &cb, nullptr) != ERROR_SUCCESS)
        return 0;
    const DEVMODE& dm = pJob->devmode.dm;
    if (dm.dmPaperWidth <= 0 || dm.dmPaperLength <= 0) return 0;
    bool bPortrait = sOrientation == 1;
    pGeometry->wPaperId = kCustomPaperId;
    // Sizes in 0.1 mm to dots, rounded half up.
    int64_t paperWidth = (int64_t{dm.dmPaperWidth} * xDpi + 127) / 254;
    int64_t paperHeight = (int64_t{dm.dmPaperLength} * yDpi + 127) / 254;
    int64_t left = Scale(I16At(abLimits, bPortrait ? kCustomLeftPortrait : kCustomLeftTurned), xDpi, units);
    int64_t top = Scale(I16At(abLimits, bPortrait ? kCustomTopPortrait : kCustomTopTurned), yDpi, units);
    if (paperWidth > kMaxPnmDimension || paperHeight > kMaxPnmDimension || left < 0 || top < 0) return 0;
    int64_t printableWidth = paperWidth - 2 * left;
    int64_t printableHeight = paperHeight - 2 * top;
    pGeometry->lPaperWidth = static_cast<LONG>(paperWidth);
    pGeometry->lPaperHeight = static_cast<LONG>(paperHeight);
    pGeometry->lLeftOffset = static_cast<LONG>(left);
    pGeometry->lTopOffset = static_cast<LONG>(top);
    pGeometry->lPrintableWidth = static_cast<LONG>(printableWidth);
    pGeometry->lPrintableHeight = static_cast<LONG>(printableHeight);
    if (printableWidth <= 0 || printableHeight <= 0) return 0;
    pGeometry->lFirstX = static_cast<LONG>(printableWidth * 254 / xDpi);
    pGeometry->lFirstY = static_cast<LONG>(printableHeight * 254 / yDpi);
    return -1;
}
