#include "gui/LayoutLength.h"

#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PrinterInfo.h"
#include "gui/MainWin.h"
#include "gui/widgets/xEntry.h"

#include <cmath>

namespace {

constexpr double kDefaultMaxMM = 50.0;
constexpr double kDefaultMaxInch = 2.0;
constexpr LONG kLengthView = 3;
constexpr SHORT kMaxStored = 32767;

// The model's largest length in its stored units (0.1 mm or 0.01 inch); 0 when it gives none.
SHORT ModelMax(const tagMODELHANDLE* pHandle, LayoutLength which, bool bMM)
{
    if (which == LayoutLength::Gutter) {
        CPrinterInfo info(pHandle, SPCID_BOOKLET, 0, kLengthView);
        const tagBOOKLETUNIT* pRec = info.First<tagBOOKLETUNIT>();
        return pRec == nullptr ? 0 : bMM ? pRec->sMaxTenthsMm : pRec->sMaxHundredths;
    }
    CPrinterInfo info(pHandle, SPCID_POSTER, 0, kLengthView);
    const tagPOSTERUNIT* pRec = info.First<tagPOSTERUNIT>();
    return pRec == nullptr ? 0 : bMM ? pRec->sMaxTenthsMm : pRec->sMaxHundredths;
}

const char* TextOrEmpty(const char* pszText)
{
    return pszText != nullptr ? pszText : "";
}

}  // namespace

double GetLayoutLengthMax(const tagMODELHANDLE* pHandle, LayoutLength which, bool bMM)
{
    const SHORT sMax = pHandle != nullptr ? ModelMax(pHandle, which, bMM) : 0;
    if (sMax <= 0) {
        return bMM ? kDefaultMaxMM : kDefaultMaxInch;
    }
    return bMM ? sMax / 10.0 : sMax / 100.0;
}

xSpinButton* CreateLayoutLengthSpin(xWidget* pOwner, int nID, bool bMM, double dMax)
{
    auto* pSpin = new xSpinButton(pOwner, nID, bMM ? 0 : 1, 0.0, dMax > 0.0 ? dMax : 0.0, bMM ? 1.0 : 0.1);
    pSpin->SetMaxLength(3);
    return pSpin;
}

gchar* FormatLayoutLengthRange(bool bMM, double dMax)
{
    CMainWin* pMain = GetMainWindow();
    if (pMain == nullptr) {
        return g_strdup("");
    }
    // The looked-up format has the same conversions as the program's own text.
    if (bMM) {
        return g_strdup_printf(TextOrEmpty(pMain->LoadCommonString(4551)), 0, static_cast<int>(dMax));
    }
    return g_strdup_printf(TextOrEmpty(pMain->LoadCommonString(4552)), 0.0, dMax);
}

void ShowLayoutLength(xSpinButton* pSpin, CMMInch* pConv, bool bMM, SHORT sStored)
{
    pConv->SetDots(sStored, true);
    pSpin->SetValue(pConv->GetLength(bMM));
}

SHORT LayoutLengthToUnits(SHORT sUnit, bool bMM, double dLength)
{
    const double dUnit = sUnit > 0 ? sUnit : 600;
    const double dUnits = std::floor((bMM ? dLength * dUnit / 25.4 : dLength * dUnit) + 0.5);
    if (!(dUnits > 0.0)) {
        return 0;
    }
    return dUnits >= kMaxStored ? kMaxStored : static_cast<SHORT>(dUnits);
}

SHORT ReadLayoutLength(xSpinButton* pSpin, CMMInch* pConv, bool bMM, SHORT sUnit)
{
    const double dValue = pSpin->GetValue();
    pConv->SetLength(bMM, true, dValue);
    const SHORT sStored = LayoutLengthToUnits(sUnit, bMM, dValue);
    pConv->SetDots(sStored, false);
    return sStored;
}
