#include "core/printerinfo/PaperLookup.h"

#include "core/model/SpcIds.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperIds.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/util/DoublePair.h"

#include <cmath>

namespace {

constexpr WORD kMetricBit = 0x2;

// Points to 0.1 mm, multiplied, divided and multiplied in that order; the integer part held to
// the range of the 16-bit size fields.
SHORT PointsToTenthsMm(double dPoints)
{
    const double tenths = dPoints * 25.4 / 72.0 * 10.0;
    if (std::isnan(tenths)) {
        return 0;
    }
    if (tenths >= 32767.0) {
        return 32767;
    }
    if (tenths <= -32768.0) {
        return -32768;
    }
    return static_cast<SHORT>(tenths);
}

}  // namespace

SHORT GetDefaultPaperId(const tagMODELHANDLE* pHandle, bool bMetric)
{
    CPrinterInfo defaults(pHandle, SPCID_PAPERSIZE, 0, 1);
    const tagPAPERDEFAULTS* record = defaults.First<tagPAPERDEFAULTS>();
    if (record == nullptr) {
        return 1;
    }
    return bMetric ? record->sMetricDefault : record->sInchDefault;
}

WORD GetPaperInfo(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, SHORT sPaperId,
                  tagPAPERINFO* pInfo)
{
    if (pInfo == nullptr) {
        return FLAG_FALSE;
    }
    if (sPaperId >= kFirstUserPaperId) {
        // A user paper would be built from the store's paper of that id; the store holds none.
        (void)pUserPaper;
        return FLAG_FALSE;
    }
    // Item 0 asks for every paper; an id below 1 is no paper at all.
    if (sPaperId < 1) {
        return FLAG_FALSE;
    }
    CPrinterInfo papers(pHandle, SPCID_PAPERSIZE, sPaperId, 4);
    const tagPAPERINFO* record = papers.First<tagPAPERINFO>();
    if (record == nullptr) {
        return FLAG_FALSE;
    }
    *pInfo = *record;
    return FLAG_TRUE;
}

WORD GetPaperSizeById(const tagMODELHANDLE* pHandle, SHORT sPaperId, SHORT* psWidth, SHORT* psLength)
{
    if (pHandle == nullptr || psWidth == nullptr || psLength == nullptr) {
        return FLAG_FALSE;
    }
    if (sPaperId == kDefaultSizePaperId) {
        double first = 0.0;
        double second = 0.0;
        GetDoublePair(&first, &second);
        const SHORT width = PointsToTenthsMm(second);
        const SHORT length = PointsToTenthsMm(first);
        if (width != 0 || length != 0) {
            *psWidth = width;
            *psLength = length;
        }
        return FLAG_TRUE;
    }
    if (sPaperId < 1 || sPaperId > kLastStandardPaperId) {
        return FLAG_FALSE;
    }
    *psWidth = 0;
    *psLength = 0;
    tagPAPERINFO paper;
    if (!GetPaperInfo(pHandle, nullptr, sPaperId, &paper)) {
        return FLAG_FALSE;
    }
    *psWidth = paper.sWidthMm;
    *psLength = paper.sLengthMm;
    return FLAG_TRUE;
}

WORD GetPaperDimensions(const tagMODELHANDLE* pHandle, const DRVDEVMODE* pdm, SHORT* psWidth, SHORT* psLength)
{
    if (pHandle == nullptr || pdm == nullptr || psWidth == nullptr || psLength == nullptr) {
        return FLAG_FALSE;
    }
    const PRIVDM& priv = pdm->priv;
    if (priv.dmOutputPaperSize != 0) {
        if (priv.dmFieldsExtra1 & DMX1_OUTPUT_PAPER_DIMS) {
            *psWidth = priv.dmOutputPaperWidth;
            *psLength = priv.dmOutputPaperLength;
            return FLAG_TRUE;
        }
    } else if (pdm->dm.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) {
        *psWidth = pdm->dm.dmPaperWidth;
        *psLength = pdm->dm.dmPaperLength;
        return FLAG_TRUE;
    }
    tagPAPERINFO paper;
    if (!GetPaperInfo(pHandle, nullptr, GetEffectivePaperId(pdm), &paper)) {
        return FLAG_FALSE;
    }
    *psWidth = paper.sWidthMm;
    *psLength = paper.sLengthMm;
    return FLAG_TRUE;
}

void ReplaceUnsupportedOutputPaper(const tagMODELHANDLE* pHandle, const CUserPaper* /*pUserPaper*/, DRVDEVMODE* pdm)
{
    if (pdm == nullptr || !IsPaperTooLarge(pHandle, GetEffectivePaperId(pdm))) {
        return;
    }
    const SHORT defaultId = GetDefaultPaperId(pHandle, (pdm->priv.dmMetric & kMetricBit) != 0);
    if (defaultId == 0) {
        return;
    }
    pdm->priv.dmOutputPaperSize = defaultId;
    pdm->priv.dmOutputPaperWidth = 0;
    pdm->priv.dmOutputPaperLength = 0;
    pdm->priv.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
}
