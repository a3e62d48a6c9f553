#include "core/printerinfo/CustomSizes.h"

#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PaperIds.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cmath>
#include <cstdint>

namespace {

// Positions of the limits in tagCUSTOMLIMITS::sLimits.
enum LimitIndex {
    kMaxWidthMm = 0,
    kMaxLengthMm = 1,
    kMaxWidthDots = 2,
    kMaxLengthDots = 3,
    kMinWidthMm = 4,
    kMinLengthMm = 5,
    kMinWidthDots = 6,
    kMinLengthDots = 7,
};

// A side in the unit of the limits: 0.1 mm from millimetres, 1/600 inch from inches, the integer
// part held to the 32-bit range so that a huge or broken input cannot wrap into the limits.
int32_t ToLimitUnits(bool bMetric, double dSide)
{
    const double scaled = dSide * (bMetric ? 10.0 : 600.0);
    if (std::isnan(scaled)) {
        return 0;
    }
    if (scaled >= static_cast<double>(INT32_MAX)) {
        return INT32_MAX;
    }
    if (scaled <= static_cast<double>(INT32_MIN)) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(scaled);
}

bool Inside(const tagCUSTOMLIMITS& limits, bool bMetric, int32_t width, int32_t length)
{
    const int32_t maxW = limits.sLimits[bMetric ? kMaxWidthMm : kMaxWidthDots];
    const int32_t maxL = limits.sLimits[bMetric ? kMaxLengthMm : kMaxLengthDots];
    const int32_t minW = limits.sLimits[bMetric ? kMinWidthMm : kMinWidthDots];
    const int32_t minL = limits.sLimits[bMetric ? kMinLengthMm : kMinLengthDots];
    return maxW >= width && width >= minW && maxL >= length && length >= minL;
}

}  // namespace

SHORT ClassifyCustomSize(const tagMODELHANDLE* pHandle, bool bMetric, double dWidth, double dLength)
{
    const int32_t width = ToLimitUnits(bMetric, dWidth);
    const int32_t length = ToLimitUnits(bMetric, dLength);
    CPrinterInfo class1(pHandle, SPCID_CUSTOMCLASS1, 0, 1);
    const tagCUSTOMLIMITS* limits1 = class1.First<tagCUSTOMLIMITS>();
    if (limits1 != nullptr && Inside(*limits1, bMetric, width, length)) {
        return kPaperClassCustom1;
    }
    CPrinterInfo class2(pHandle, SPCID_CUSTOMCLASS2, 0, 1);
    const tagCUSTOMLIMITS* limits2 = class2.First<tagCUSTOMLIMITS>();
    if (limits2 != nullptr && Inside(*limits2, bMetric, width, length)) {
        return kPaperClassCustom2;
    }
    return kPaperClassCustom;
}

WORD IsPaperTooLarge(const tagMODELHANDLE* pHandle, SHORT sPaperId)
{
    if (sPaperId >= kFirstUserPaperId) {
        return FLAG_FALSE;
    }
    CPrinterInfo custom(pHandle, SPCID_CUSTOMSIZE, 0, 1);
    const tagCUSTOMLIMITS* limits = custom.First<tagCUSTOMLIMITS>();
    tagPAPERINFO paper;
    if (limits == nullptr || !GetPaperInfo(pHandle, nullptr, sPaperId, &paper)) {
        return FLAG_FALSE;
    }
    if (paper.sWidthDots <= limits->sLimits[kMaxWidthDots] && paper.sLengthDots <= limits->sLimits[kMaxLengthDots]) {
        return FLAG_FALSE;
    }
    CPrinterInfo longPaper(pHandle, SPCID_CUSTOMLONG, 0, 1);
    const tagCUSTOMLIMITS* longLimits = longPaper.First<tagCUSTOMLIMITS>();
    if (longLimits != nullptr && paper.sWidthDots <= longLimits->sLimits[kMaxWidthDots] &&
        paper.sLengthDots <= longLimits->sLimits[kMaxLengthDots]) {
        return FLAG_FALSE;
    }
    return FLAG_TRUE;
}

WORD IsLongPaper(const tagMODELHANDLE* pHandle, bool bMetric, double dWidth, double dLength)
{
    CPrinterInfo longPaper(pHandle, SPCID_CUSTOMLONG, 0, 1);
    CPrinterInfo custom(pHandle, SPCID_CUSTOMSIZE, 0, 1);
    const tagCUSTOMLIMITS* longLimits = longPaper.First<tagCUSTOMLIMITS>();
    const tagCUSTOMLIMITS* limits = custom.First<tagCUSTOMLIMITS>();
    if (longLimits == nullptr || limits == nullptr) {
        return FLAG_FALSE;
    }
    const int32_t width = ToLimitUnits(bMetric, dWidth);
    const int32_t length = ToLimitUnits(bMetric, dLength);
    const int32_t longer = width > length ? width : length;
    const int32_t maxLength = limits->sLimits[bMetric ? kMaxLengthMm : kMaxLengthDots];
    return longer > maxLength ? FLAG_TRUE : FLAG_FALSE;
}

WORD GetCustomSizeMaximum(const tagMODELHANDLE* pHandle, SHORT* psMaxWidth, SHORT* psMaxLength, bool bLongPaper)
{
    if (psMaxWidth == nullptr || psMaxLength == nullptr) {
        return FLAG_FALSE;
    }
    bool found = false;
    CPrinterInfo custom(pHandle, SPCID_CUSTOMSIZE, 0, 1);
    if (const tagCUSTOMLIMITS* limits = custom.First<tagCUSTOMLIMITS>()) {
        *psMaxWidth = limits->sLimits[kMaxWidthMm];
        *psMaxLength = limits->sLimits[kMaxLengthMm];
        found = true;
    }
    if (bLongPaper) {
        CPrinterInfo longPaper(pHandle, SPCID_CUSTOMLONG, 0, 1);
        if (const tagCUSTOMLIMITS* longLimits = longPaper.First<tagCUSTOMLIMITS>()) {
            if (!found || longLimits->sLimits[kMaxWidthMm] > *psMaxWidth) {
                *psMaxWidth = longLimits->sLimits[kMaxWidthMm];
            }
            if (!found || longLimits->sLimits[kMaxLengthMm] > *psMaxLength) {
                *psMaxLength = longLimits->sLimits[kMaxLengthMm];
            }
            found = true;
        }
    }
    return found ? FLAG_TRUE : FLAG_FALSE;
}
