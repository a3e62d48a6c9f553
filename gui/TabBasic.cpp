#include "gui/TabBasic.h"

#include "core/dialog/DialogInfo.h"
#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/mdutil/MdUtil.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/printerinfo/ZoomRange.h"
#include "gui/ComboTypes.h"
#include "gui/DlgCustom.h"
#include "gui/DlgBooklet.h"
#include "gui/DlgFitPage.h"
#include "gui/DlgNup.h"
#include "gui/DlgPoster.h"
#include "gui/DlgZoom.h"
#include "gui/MainWin.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialog.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xSeparator.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace {

// Texts of the page's own section.
enum {
    IDS_BASIC_PAPERSIZE = 111,
    IDS_BASIC_CUSTOMPAPER = 113,
    IDS_BASIC_ORIENTATION = 114,
    IDS_BASIC_OUTPUTPAPER = 116,
    IDS_BASIC_MEDIATYPE = 119,
    IDS_BASIC_SOURCE = 121,
    IDS_BASIC_DUPLEX = 124,
    IDS_BASIC_MARGIN = 126,
    IDS_BASIC_MARGIN_RANGE = 129,
    IDS_BASIC_LAYOUT = 131,
};

// Section-0 texts: the range of the margin in either unit.
constexpr WORD kIdsRangeMM = 4551;
constexpr WORD kIdsRangeInch = 4552;

// Orientation rows: dmOrientation in the high word, dmRotateOrient in the low word. The two
// reverse rows come last so that a model without them offers the first two.
const tagCOMBOITEM kOrientationRows[] = {
    {4050, 0x10000},  // Portrait
    {4051, 0x20000},  // Landscape
    {4052, 0x10001},  // Reverse Portrait
    {4053, 0x20001},  // Reverse Landscape
};
constexpr int kPlainOrientationRows = 2;

// The layout toggles, left to right: dmLayoutPrint value, picture and the section-0 name shown
// after the layout label.
struct LayoutToggle {
    WORD wLayout;
    int nImage;
    WORD wName;
};
const LayoutToggle kLayouts[] = {
    {0, 2200, 4400},   // None
    {1, 2201, 4600},   // Pages per Sheet
    {2, 2202, 4550},   // Booklet
    {8, 2203, 4500},   // Fit to Output Paper Size
    {16, 2204, 4450},  // Zoom
    {4, 2205, 4650},   // Poster
};
enum { TOGGLE_NONE = 0, TOGGLE_NUP = 1, TOGGLE_BOOKLET = 2, TOGGLE_FIT = 3, TOGGLE_ZOOM = 4, TOGGLE_POSTER = 5 };

// Paper ids above this are the queue's custom papers.
constexpr SHORT kLastStandardPaper = 455;
// The size an output paper above 455 gets when the PPD no longer holds it: A4, in 0.1 mm.
constexpr SHORT kFallbackOutputWidth = 2100;
constexpr SHORT kFallbackOutputLength = 2970;
// The duplex-margin value of a forbidding rule that still leaves the margin to the duplex choices.
constexpr SHORT kMarginChoiceKey = 225;
// A duplex value with this bit is a duplex choice with a binding margin.
constexpr long kDuplexWithMargin = 0x10000;

// The margin spin's range when the model gives none.
constexpr double kDefaultMarginMaxMM = 50.0;
constexpr double kDefaultMarginMaxInch = 2.0;
constexpr int kMarginMaxChars = 3;

// Table layout.
constexpr unsigned int kTableRows = 13;
constexpr unsigned int kBorder = 6;
constexpr unsigned int kCellPadding = 2;

gpointer ItemData(long value)
{
    return reinterpret_cast<gpointer>(static_cast<intptr_t>(value));
}

long SelectedValue(xComboBox* pCombo)
{
    return static_cast<long>(reinterpret_cast<intptr_t>(pCombo->GetCurSelData()));
}

const char* PageText(WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(kBasicPageSection, wID) : GetBuiltinString(kBasicPageSection, wID);
}

const char* CommonText(WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadCommonString(wID) : GetBuiltinString(0, wID);
}

bool IsSelectable(const tagDIALOGINFO* pInfo, SHORT sItem, LONG lValue)
{
    return pInfo->pKinsokuList == nullptr || pInfo->pKinsokuList->IsValueDisabled(sItem, lValue) == 0;
}

// A length in millimetres from the PPD (untrusted) as the record's 0.1 mm, truncated and held to
// the positive range of the field.
SHORT TenthsOfMM(double dMM)
{
    const double tenths = dMM * 10.0;
    if (!(tenths >= 1.0)) {
        return 1;
    }
    return tenths >= 32767.0 ? 32767 : static_cast<SHORT>(tenths);
}

// Width and length of the queue's custom paper nID, read from a fresh copy of its PPD. False
// when the PPD cannot be had or no longer holds that paper.
bool FindCustomPaperSize(int nID, SHORT* psWidth, SHORT* psLength)
{
    CMainWin* pMain = GetMainWindow();
    const char* pszCopy = pMain != nullptr ? pMain->GetPPDFile() : nullptr;
    if (pszCopy == nullptr) {
        return false;
    }
    int nCount = 0;
    tagCUSTOMPAPER* pPapers = ReadCustomPapersFromPpd(pszCopy, &nCount);
    unlink(pszCopy);
    bool bFound = false;
    for (int i = 0; i < nCount && !bFound; ++i) {
        if (pPapers[i].nID == nID) {
            *psWidth = TenthsOfMM(pPapers[i].dWidth);
            *psLength = TenthsOfMM(pPapers[i].dLength);
            bFound = true;
        }
    }
    free(pPapers);
    return bFound;
}

// The dpi the converter works at for a layout unit (0 or less counts as 600, as in CMMInch).
SHORT LayoutDpi(WORD wUnitOfLayout)
{
    const SHORT sDpi = static_cast<SHORT>(wUnitOfLayout);
    return sDpi > 0 ? sDpi : 600;
}

}  // namespace

unsigned short DuplexIconCallback(long lValue, void* pContext)
{
    const DRVDEVMODE* pdm = static_cast<const DRVDEVMODE*>(pContext);
    if (pdm == nullptr) {
        return 0;
    }
    // The sheet turns for a booklet and for 2, 6 or 8 pages per sheet.
    SHORT sOrientation = pdm->dm.dmOrientation;
    const WORD wLayout = pdm->priv.dmLayoutPrint;
    const SHORT sNup = pdm->priv.dmNup;
    if (wLayout == 2 || (wLayout == 1 && (sNup == 2 || sNup == 6 || sNup == 8))) {
        if (sOrientation == 1) {
            sOrientation = 2;
        } else if (sOrientation == 2) {
            sOrientation = 1;
        }
    }
    const bool bLandscape = sOrientation != 1;
    switch (lValue) {
    case 1:
    case kDuplexWithMargin | 1:
        return bLandscape ? 2113 : 2110;
    case 2:
        return bLandscape ? 2114 : 2111;
    case 3:
        return bLandscape ? 2115 : 2112;
    case kDuplexWithMargin | 2:
        return bLandscape ? 2119 : 2116;
    case kDuplexWithMargin | 3:
        return bLandscape ? 2118 : 2117;
    default:
        return 0;
    }
}

WORD DuplexMarginDots(double dLength, bool bMM, SHORT sDpi)
{
    const double dpi = sDpi > 0 ? sDpi : 600;
    const double dots = std::floor((bMM ? dLength * dpi / 25.4 : dLength * dpi) + 0.5);
    if (!(dots > 0.0)) {
        return 0;
    }
    return dots >= 65535.0 ? 0xFFFF : static_cast<WORD>(dots);
}

CTabBasic::CTabBasic(xWidget* pNoteBook) : xTabBase(pNoteBook, PageText(0), kBasicPageSection)
{
    BuildControls();
}

CTabBasic::~CTabBasic()
{
    delete m_pPaperLabel;
    delete m_pPaperCombo;
    delete m_pCustomBox;
    delete m_pCustomButton;
    delete m_pOrientLabel;
    delete m_pOrientCombo;
    delete m_pOutputLabel;
    delete m_pOutputCombo;
    delete m_pPaperSeparator;
    delete m_pMediaLabel;
    delete m_pMediaCombo;
    delete m_pSourceLabel;
    delete m_pSourceCombo;
    delete m_pDuplexSeparator;
    delete m_pDuplexLabel;
    delete m_pDuplexCombo;
    delete m_pMarginLabel;
    delete m_pMarginBox;
    delete m_pMarginSpin;
    delete m_pMarginRange;
    delete m_pLayoutSeparator;
    delete m_pLayoutLabel;
    for (xToggleButton*& pToggle : m_pLayoutToggles) {
        delete pToggle;
        pToggle = nullptr;
    }
}

void CTabBasic::BuildControls()
{
    m_pPaperLabel = new xLabel(PageText(IDS_BASIC_PAPERSIZE), this, -1, 0.0f, 0.5f);
    m_pPaperCombo = new xComboBox(this, IDC_BASIC_PAPERSIZE);
    m_pCustomBox = new xBox(XORIENT_HORIZONTAL, 0, 0);
    m_pCustomButton = new xButton(this, IDC_BASIC_CUSTOMPAPER, PageText(IDS_BASIC_CUSTOMPAPER), 0, nullptr);
    m_pOrientLabel = new xLabel(PageText(IDS_BASIC_ORIENTATION), this, -1, 0.0f, 0.5f);
    m_pOrientCombo = new xComboBox(this, IDC_BASIC_ORIENTATION);
    m_pOutputLabel = new xLabel(PageText(IDS_BASIC_OUTPUTPAPER), this, -1, 0.0f, 0.5f);
    m_pOutputCombo = new xComboBox(this, IDC_BASIC_OUTPUTPAPER);
    m_pPaperSeparator = new xSeparator(XORIENT_HORIZONTAL, this, -1);
    m_pMediaLabel = new xLabel(PageText(IDS_BASIC_MEDIATYPE), this, -1, 0.0f, 0.5f);
    m_pMediaCombo = new xComboBox(this, IDC_BASIC_MEDIATYPE);
    m_pSourceLabel = new xLabel(PageText(IDS_BASIC_SOURCE), this, -1, 0.0f, 0.5f);
    m_pSourceCombo = new xComboBox(this, IDC_BASIC_SOURCE);
    m_pDuplexSeparator = new xSeparator(XORIENT_HORIZONTAL, this, -1);
    m_pDuplexLabel = new xLabel(PageText(IDS_BASIC_DUPLEX), this, -1, 0.0f, 0.5f);
    m_pDuplexCombo = new xComboBox(this, IDC_BASIC_DUPLEX);
    m_pMarginLabel = new xLabel(PageText(IDS_BASIC_MARGIN), this, -1, 0.0f, 0.5f);
    m_pMarginBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    m_pMarginSpin = new xSpinButton(this, IDC_BASIC_MARGIN, 0, 0.0, kDefaultMarginMaxMM, 1.0);
    m_pMarginSpin->SetMaxLength(kMarginMaxChars);
    m_pMarginRange = new xLabel(PageText(IDS_BASIC_MARGIN_RANGE), this, -1, 0.0f, 0.5f);
    m_pLayoutSeparator = new xSeparator(XORIENT_HORIZONTAL, this, -1);
    m_pLayoutLabel = new xLabel(PageText(IDS_BASIC_LAYOUT), this, -1, 0.0f, 0.5f);
    for (int i = 0; i < kLayoutCount; ++i) {
        m_pLayoutToggles[i] = new xToggleButton(this, IDC_BASIC_LAYOUT_NONE + i, nullptr, kLayouts[i].nImage);
    }

    m_pPaperLabel->SetMnemonicWidget(m_pPaperCombo);
    m_pOrientLabel->SetMnemonicWidget(m_pOrientCombo);
    m_pOutputLabel->SetMnemonicWidget(m_pOutputCombo);
    m_pMediaLabel->SetMnemonicWidget(m_pMediaCombo);
    m_pSourceLabel->SetMnemonicWidget(m_pSourceCombo);
    m_pDuplexLabel->SetMnemonicWidget(m_pDuplexCombo);
    m_pMarginLabel->SetMnemonicWidget(m_pMarginSpin);

    m_pCustomBox->PackStart(m_pCustomButton, 0, 0, 0);
    m_pMarginBox->PackStart(m_pMarginSpin, 0, 0, 0);
    m_pMarginBox->PackStart(m_pMarginRange, 0, 0, 0);

    // The page: a box holding a two-column table, labels on the left, controls on the right.
    xBox* pPage = new xBox(XORIENT_VERTICAL, 0, 0);
    pPage->SetBorderWidth(kBorder);
    Attach(pPage->GetGtkWidget());
    xTable* pTable = new xTable(kTableRows, 2, 0, nullptr, -1);
    pTable->SetColSpacing(-1, kBorder);
    const GtkAttachOptions fill = GTK_FILL;
    const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    auto row = [&](xWidget* pLabel, xWidget* pControl, unsigned int nRow) {
        if (pLabel != nullptr) {
            pTable->Attach(pLabel, 0, nRow, 1, 1, fill, fill, kCellPadding, kCellPadding);
        }
        pTable->Attach(pControl, 1, nRow, 1, 1, grow, fill, kCellPadding, kCellPadding);
    };
    auto separator = [&](xWidget* pLine, unsigned int nRow) {
        pTable->Attach(pLine, 0, nRow, 2, 1, grow, fill, 0, 0);
    };
    row(m_pPaperLabel, m_pPaperCombo, 0);
    row(nullptr, m_pCustomBox, 1);
    row(m_pOrientLabel, m_pOrientCombo, 2);
    row(m_pOutputLabel, m_pOutputCombo, 3);
    separator(m_pPaperSeparator, 4);
    row(m_pMediaLabel, m_pMediaCombo, 5);
    row(m_pSourceLabel, m_pSourceCombo, 6);
    separator(m_pDuplexSeparator, 7);
    row(m_pDuplexLabel, m_pDuplexCombo, 8);
    row(m_pMarginLabel, m_pMarginBox, 9);
    separator(m_pLayoutSeparator, 10);
    pTable->Attach(m_pLayoutLabel, 0, 11, 2, 1, fill, fill, kCellPadding, kCellPadding);
    xBox* pToggles = new xBox(XORIENT_HORIZONTAL, 0, 0);
    for (xToggleButton* pToggle : m_pLayoutToggles) {
        pToggles->PackStart(pToggle, 0, 0, 0);
    }
    pTable->Attach(pToggles, 0, 12, 2, 1, fill, fill, kCellPadding, kCellPadding);
    pPage->PackStart(pTable, 0, 0, 0);
    ShowAll();
    // The layout widgets are GTK's alone once packed.
    delete pToggles;
    delete pTable;
    delete pPage;
}

tagDIALOGINFO* CTabBasic::DialogInfo() const
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

void CTabBasic::PrepareMarginSpin()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    double dMax = m_bMetric != 0 ? kDefaultMarginMaxMM : kDefaultMarginMaxInch;
    CPrinterInfo duplex(&pInfo->mh, SPCID_DUPLEX, 0, 4);
    if (const tagDUPLEXMARGINS* pMargins = duplex.First<tagDUPLEXMARGINS>()) {
        const double dModelMax = m_bMetric != 0 ? pMargins->sWords[3] / 10.0 : pMargins->sWords[1] / 100.0;
        // A model limit of 0 or below would give an empty or inverted range: the default stays.
        if (dModelMax > 0.0) {
            dMax = dModelMax;
        }
    }
    // No longer than the field can hold at the layout resolution, so what is shown is what is
    // stored.
    const double dDpi = LayoutDpi(pInfo->psdm.priv.dmUnitOfLayout);
    const double dFieldMax = m_bMetric != 0 ? 65535.0 * 25.4 / dDpi : 65535.0 / dDpi;
    dMax = std::min(dMax, dFieldMax);

    m_pMarginSpin->SetDigits(m_bMetric != 0 ? 0 : 1);
    m_pMarginSpin->SetRange(0.0, dMax);
    if (m_bMetric != 0) {
        m_pMarginSpin->SetIncrements(1.0, 10.0);
    } else {
        m_pMarginSpin->SetIncrements(0.1, 1.0);
    }
    gchar* pszRange = m_bMetric != 0 ? g_strdup_printf(CommonText(kIdsRangeMM) != nullptr ? CommonText(kIdsRangeMM) : "",
                                                       0, static_cast<int>(dMax))
                                     : g_strdup_printf(CommonText(kIdsRangeInch) != nullptr ? CommonText(kIdsRangeInch) : "",
                                                       0.0, dMax);
    m_pMarginRange->SetText(pszRange);
    g_free(pszRange);
}

void CTabBasic::OnInitPage()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    CMainWin* pMain = GetMainWindow();
    if (pInfo == nullptr || pMain == nullptr) {
        return;
    }
    m_bBusy = 0xFFFF;
    DRVDEVMODE* pdm = &pInfo->psdm;
    const CMdUtil* pMd = pInfo->pMdUtil;

    m_bRotation = (pdm->priv.dmFieldsExtra1 & DMX1_ROTATE180) != 0 ? -1 : 0;
    m_bDuplex = pMd != nullptr && pMd->IsDuplexCapable() != 0 ? -1 : 0;
    m_bMedia = pMd == nullptr || pMd->IsCapability22Kind9Bit0Clear() != 0 ? -1 : 0;
    m_bNup = (pdm->priv.dmFieldsExtra2 & DMX2_NUP) != 0 ? -1 : 0;
    m_bBooklet = (pdm->priv.dmFieldsExtra2 & DMX2_BOOKLET) != 0 && pMd != nullptr && pMd->IsCapability29Available() != 0
                     ? -1
                     : 0;
    m_bFit = (pdm->priv.dmFieldsExtra2 & DMX2_FIT) != 0 ? -1 : 0;
    m_bZoom = (pdm->priv.dmFieldsExtra2 & DMX2_ZOOM) != 0 ? -1 : 0;
    m_bPoster = (pdm->priv.dmFieldsExtra2 & DMX2_POSTER) != 0 ? -1 : 0;
    m_bCustomPaper = pMd != nullptr && pMd->HasCapability21() != 0 ? 1 : 0;
    m_bMarginByChoice = pMd != nullptr && pMd->HasDuplexBit8() != 0 ? -1 : 0;
    m_bMetric = (pdm->priv.dmMetric & 0x2) != 0 ? 1 : 0;
    m_Margin.SetDpi(static_cast<SHORT>(pdm->priv.dmUnitOfLayout));

    // A model resource file may word the labels its own way.
    m_pPaperLabel->SetText(PageText(IDS_BASIC_PAPERSIZE));
    m_pOutputLabel->SetText(PageText(IDS_BASIC_OUTPUTPAPER));
    m_pCustomButton->SetText(PageText(IDS_BASIC_CUSTOMPAPER));
    m_pOrientLabel->SetText(PageText(IDS_BASIC_ORIENTATION));
    m_pMediaLabel->SetText(PageText(IDS_BASIC_MEDIATYPE));
    m_pSourceLabel->SetText(PageText(IDS_BASIC_SOURCE));
    m_pDuplexLabel->SetText(PageText(IDS_BASIC_DUPLEX));
    m_pMarginLabel->SetText(PageText(IDS_BASIC_MARGIN));
    m_pMarginRange->SetText(PageText(IDS_BASIC_MARGIN_RANGE));
    m_pLayoutLabel->SetText(PageText(IDS_BASIC_LAYOUT));

    if (m_bMarginByChoice == 0) {
        PrepareMarginSpin();
    }

    pMain->FillPaperSizeCombo(m_pPaperCombo, pdm, 0, -1);
    pMain->FillPaperSizeCombo(m_pOutputCombo, pdm, -1, 0);

    m_pCustomBox->Show(m_bCustomPaper);
    m_pMediaLabel->Show(m_bMedia);
    m_pMediaCombo->Show(m_bMedia);
    if (m_bMedia != 0) {
        pMain->FillComboFromPpdOption(m_pMediaCombo, pInfo->pMediaList, "MediaType", pdm, nullptr, nullptr);
    }
    pMain->FillComboFromPpdOption(m_pSourceCombo, pInfo->pSourceList, "InputSlot", pdm, nullptr, nullptr);
    m_pDuplexSeparator->Show(m_bDuplex);
    m_pDuplexLabel->Show(m_bDuplex);
    m_pDuplexCombo->Show(m_bDuplex);
    const int bMarginShown = m_bDuplex != 0 && m_bMarginByChoice == 0;
    m_pMarginLabel->Show(bMarginShown);
    m_pMarginBox->Show(bMarginShown);
    m_pLayoutToggles[TOGGLE_BOOKLET]->Show(m_bDuplex);

    m_bBusy = 0;
    UpdateStatus();
}

void CTabBasic::OnSetActive()
{
    UpdateStatus();
}

void CTabBasic::Refresh()
{
    UpdateStatus();
}

bool CTabBasic::IsLayoutSensitive(int nToggle, tagDIALOGINFO* pInfo) const
{
    switch (nToggle) {
    case TOGGLE_NONE:
        return IsPaperTooLarge(&pInfo->mh, pInfo->psdm.dm.dmPaperSize) == 0;
    case TOGGLE_NUP:
        return m_bNup != 0 && IsSelectable(pInfo, KINSOKU_ITEM_NUP, 1);
    case TOGGLE_BOOKLET:
        return m_bBooklet != 0 && IsSelectable(pInfo, KINSOKU_ITEM_BOOKLET, 2);
    case TOGGLE_FIT:
        return m_bFit != 0 && IsSelectable(pInfo, KINSOKU_ITEM_FIT, 8);
    case TOGGLE_ZOOM:
        return m_bZoom != 0 && IsSelectable(pInfo, KINSOKU_ITEM_ZOOM, 16);
    case TOGGLE_POSTER:
        return m_bPoster != 0 && IsSelectable(pInfo, KINSOKU_ITEM_POSTER, 4);
    default:
        return false;
    }
}

void CTabBasic::UpdateStatus()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    CMainWin* pMain = GetMainWindow();
    if (pInfo == nullptr || pMain == nullptr) {
        return;
    }
    m_bBusy = 0xFFFF;
    DRVDEVMODE* pdm = &pInfo->psdm;
    std::printf("UpdateStatus pdmPublic->dmPaperSize=%d\n", pdm->dm.dmPaperSize);

    // Paper: a paper the list no longer holds falls back to the model's default.
    pMain->FillPaperSizeCombo(m_pPaperCombo, pdm, 0, -1);
    int nCurSel = m_pPaperCombo->FindItemData(ItemData(pdm->dm.dmPaperSize));
    if (nCurSel < 0) {
        pdm->dm.dmPaperSize = pInfo->dmDefault.dm.dmPaperSize;
        pdm->dm.dmFields &= ~static_cast<DWORD>(DM_PAPERLENGTH | DM_PAPERWIDTH);
        nCurSel = m_pPaperCombo->SelectItemData(ItemData(pdm->dm.dmPaperSize));
        pdm->priv.dmOutputPaperSize = 0;
    } else {
        m_pPaperCombo->SetCurSel(nCurSel);
    }
    std::printf("UpdateStatus cursel=%d\n", nCurSel);

    // Orientation: the reverse rows only where the model turns pages and the engine allows it.
    const int nOrientRows =
        m_bRotation != 0 && IsSelectable(pInfo, KINSOKU_ITEM_ROTATE, 1) ? 4 : kPlainOrientationRows;
    pMain->FillComboFromTable(m_pOrientCombo, kOrientationRows, nOrientRows);
    m_pOrientCombo->SelectItemData(
        ItemData((static_cast<long>(pdm->dm.dmOrientation) << 16) | static_cast<WORD>(pdm->priv.dmRotateOrient)));

    // Output paper: one the list no longer holds becomes "Same as Paper Size".
    std::printf("UpdateStatus pdmPrivate->dmOutputPaperSize=%d\n", pdm->priv.dmOutputPaperSize);
    pMain->FillPaperSizeCombo(m_pOutputCombo, pdm, -1, 0);
    if (m_pOutputCombo->FindItemData(ItemData(pdm->priv.dmOutputPaperSize)) < 0) {
        pdm->priv.dmOutputPaperSize = 0;
    }
    m_pOutputCombo->SelectItemData(ItemData(pdm->priv.dmOutputPaperSize));

    // Media and source: refilled where another setting can forbid some of their values.
    CKinsokuList* pList = pInfo->pKinsokuList;
    if (m_bMedia != 0 && pList != nullptr && pList->IsAnyLinkTo(KINSOKU_ITEM_MEDIA) != 0) {
        pMain->FillComboFromPpdOption(m_pMediaCombo, pInfo->pMediaList, "MediaType", pdm, nullptr, nullptr);
    }
    m_pMediaCombo->SelectItemData(ItemData(static_cast<long>(pdm->dm.dmMediaType)));
    if (pList != nullptr && pList->IsAnyLinkTo(KINSOKU_ITEM_SOURCE) != 0) {
        pMain->FillComboFromPpdOption(m_pSourceCombo, pInfo->pSourceList, "InputSlot", pdm, nullptr, nullptr);
    }
    m_pSourceCombo->SelectItemData(ItemData(pdm->dm.dmDefaultSource));

    if (m_bDuplex != 0) {
        bool bMarginInChoices = false;
        if (m_bMarginByChoice != 0) {
            SHORT sKeys[2] = {0, 0};
            const int nKeys =
                pList != nullptr ? pList->GetRuleValues(KINSOKU_ITEM_DUPLEX_MARGIN, 1, sKeys, 2) : 0;
            bMarginInChoices = nKeys == 0 || (nKeys == 1 && sKeys[0] == kMarginChoiceKey);
        } else {
            m_Margin.SetDots(pdm->priv.dmDuplexMargin, true);
            m_pMarginSpin->SetValue(m_Margin.GetLength(m_bMetric != 0));
        }
        // The record's duplex head is the engine's latest list (fetched again after every run);
        // asking the engine for it here would free the chain the record still points at.
        pMain->FillComboFromPpdOption(m_pDuplexCombo, pInfo->pDuplexList, "Duplex", pdm, DuplexIconCallback, nullptr);
        long lDuplex = pdm->dm.dmDuplex;
        if (bMarginInChoices && pdm->dm.dmDuplex != 1 && pdm->priv.dmDuplexMargin != 0) {
            lDuplex |= kDuplexWithMargin;
        }
        m_pDuplexCombo->SelectItemData(ItemData(lDuplex));
        const int bMarginEnabled = IsSelectable(pInfo, KINSOKU_ITEM_DUPLEX_MARGIN, 1) ? -1 : 0;
        m_pMarginLabel->Enable(bMarginEnabled);
        m_pMarginSpin->Enable(bMarginEnabled);
        m_pMarginRange->Enable(bMarginEnabled);
    }

    const CMdUtil* pMd = pInfo->pMdUtil;
    m_bBooklet = (pdm->priv.dmFieldsExtra2 & DMX2_BOOKLET) != 0 && pMd != nullptr && pMd->IsCapability29Available() != 0
                     ? -1
                     : 0;
    for (int i = 0; i < kLayoutCount; ++i) {
        m_pLayoutToggles[i]->Enable(IsLayoutSensitive(i, pInfo) ? -1 : 0);
    }
    std::printf("UpdateStatus pdmPrivate->dmLayoutPrint=%d\n", pdm->priv.dmLayoutPrint);
    SelectLayout(pdm->priv.dmLayoutPrint);
    m_bBusy = 0;
}

void CTabBasic::SelectLayout(int nLayout)
{
    int nPicked = -1;
    for (int i = 0; i < kLayoutCount; ++i) {
        if (kLayouts[i].wLayout == nLayout) {
            nPicked = i;
        }
    }
    const char* pszLabel = PageText(IDS_BASIC_LAYOUT);
    const char* pszName = nPicked >= 0 ? CommonText(kLayouts[nPicked].wName) : nullptr;
    gchar* pszText = g_strconcat(pszLabel != nullptr ? pszLabel : "", pszName, nullptr);
    m_pLayoutLabel->SetText(pszText);
    g_free(pszText);
    for (int i = 0; i < kLayoutCount; ++i) {
        m_pLayoutToggles[i]->SetCheckSilently(i == nPicked ? 1 : 0);
    }
    if (nPicked >= 0) {
        m_pLayoutLabel->SetMnemonicWidget(m_pLayoutToggles[nPicked]);
    }
}

void CTabBasic::AfterChange()
{
    CMainWin* pMain = GetMainWindow();
    pMain->SetModified(-1);
    pMain->RunKinsoku(nullptr, 0);
    UpdateStatus();
}

void CTabBasic::ClampZoom(tagDIALOGINFO* pInfo)
{
    DRVDEVMODE* pdm = &pInfo->psdm;
    SHORT sMin = 100;
    SHORT sMax = 100;
    if (GetZoomRange(&pInfo->mh, pInfo->pUserPaper, pdm, pdm->dm.dmPrintQuality, &sMin, &sMax) == 0) {
        return;
    }
    // A long paper at a high resolution can bring the page's limit below the model's smallest
    // zoom: the page's limit wins (at least 1 percent), never an inverted range.
    sMax = std::max<SHORT>(sMax, 1);
    sMin = std::min(std::max<SHORT>(sMin, 1), sMax);
    ClampScaleTo(pdm, sMin, sMax);
}

void CTabBasic::SetCustomOutputPaperSize(DRVDEVMODE* pdm)
{
    pdm->priv.dmFieldsExtra1 |= DMX1_OUTPUT_PAPER_DIMS;
    pdm->priv.dmOutputPaperWidth = kFallbackOutputWidth;
    pdm->priv.dmOutputPaperLength = kFallbackOutputLength;
    SHORT sWidth = 0;
    SHORT sLength = 0;
    if (FindCustomPaperSize(pdm->priv.dmOutputPaperSize, &sWidth, &sLength)) {
        pdm->priv.dmOutputPaperWidth = sWidth;
        pdm->priv.dmOutputPaperLength = sLength;
    }
}

void CTabBasic::OnNofitySelectChanged(int nID)
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (m_bBusy != 0 || pInfo == nullptr) {
        return;
    }
    DRVDEVMODE* pdm = &pInfo->psdm;
    switch (nID) {
    case IDC_BASIC_PAPERSIZE: {
        const long lValue = SelectedValue(m_pPaperCombo);
        std::printf("CTabBasic::OnNofitySelectChanged  pdmPublic->dmPaperSize=%d\n", pdm->dm.dmPaperSize);
        pdm->dm.dmPaperSize = static_cast<SHORT>(lValue);
        pdm->dm.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        SHORT sWidth = 0;
        SHORT sLength = 0;
        if (lValue > kLastStandardPaper && FindCustomPaperSize(static_cast<int>(lValue), &sWidth, &sLength)) {
            pdm->dm.dmPaperLength = sLength;
            pdm->dm.dmPaperWidth = sWidth;
        }
        pdm->priv.dmOutputPaperSize = 0;
        ReplaceUnsupportedOutputPaper(&pInfo->mh, pInfo->pUserPaper, pdm);
        SyncOutputPaperMode(pdm);
        ClampZoom(pInfo);
        break;
    }
    case IDC_BASIC_ORIENTATION: {
        const long lValue = SelectedValue(m_pOrientCombo);
        const SHORT sOrientation = static_cast<SHORT>(lValue >> 16);
        const bool bTurned = sOrientation != pdm->dm.dmOrientation;
        pdm->dm.dmOrientation = sOrientation;
        pdm->priv.dmRotateOrient = static_cast<SHORT>(lValue & 0xFFFF);
        // The 2-up orders of one orientation do not exist in the other.
        if (bTurned && pdm->priv.dmNup == 2) {
            pdm->priv.dmNupOrder = 0;
        }
        NormalisePosterTiles(pdm);
        break;
    }
    case IDC_BASIC_OUTPUTPAPER: {
        const long lValue = SelectedValue(m_pOutputCombo);
        pdm->priv.dmOutputPaperSize = static_cast<SHORT>(lValue);
        if (lValue != 0 && pdm->priv.dmLayoutPrint == 0) {
            pdm->priv.dmLayoutPrint = 8;
        } else if (lValue == 0 && pdm->priv.dmLayoutPrint == 8) {
            pdm->priv.dmLayoutPrint = 0;
        }
        if (lValue > kLastStandardPaper) {
            SetCustomOutputPaperSize(pdm);
        }
        ClampZoom(pInfo);
        break;
    }
    case IDC_BASIC_MEDIATYPE:
        pdm->dm.dmMediaType = static_cast<DWORD>(SelectedValue(m_pMediaCombo));
        break;
    case IDC_BASIC_SOURCE:
        pdm->dm.dmDefaultSource = static_cast<SHORT>(SelectedValue(m_pSourceCombo));
        break;
    case IDC_BASIC_DUPLEX: {
        const long lValue = SelectedValue(m_pDuplexCombo);
        pdm->dm.dmDuplex = static_cast<SHORT>(lValue & 0xFFFF);
        if (m_bMarginByChoice != 0) {
            if (lValue < kDuplexWithMargin) {
                pdm->priv.dmDuplexMargin = 0;
            } else if (pdm->priv.dmDuplexMargin == 0) {
                // A choice with a margin needs a nonzero margin to be recognised again: the
                // model's default margin, or one unit when the model has none.
                pdm->priv.dmDuplexMargin = pInfo->dmDefault.priv.dmDuplexMargin != 0
                                               ? pInfo->dmDefault.priv.dmDuplexMargin
                                               : 1;
            }
        }
        break;
    }
    default:
        return;
    }
    AfterChange();
}

void CTabBasic::OnNofityEditChanged(int nID)
{
    if (m_bBusy != 0 || nID != IDC_BASIC_MARGIN) {
        return;
    }
    if (CMainWin* pMain = GetMainWindow()) {
        pMain->SetModified(-1);
    }
}

void CTabBasic::OnNofityValueChanged(int nID)
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (m_bBusy != 0 || nID != IDC_BASIC_MARGIN || m_bMarginByChoice != 0 || pInfo == nullptr) {
        return;
    }
    GetMainWindow()->SetModified(-1);
    const bool bMM = m_bMetric != 0;
    const double dLength = m_pMarginSpin->GetValue();
    m_Margin.SetLength(bMM, true, dLength);
    // Rounded to the nearest unit in both units: an inch value truncated would store one unit
    // less than it shows whenever the product lands just below a whole number (0.7 in at 600).
    const WORD wDots = DuplexMarginDots(dLength, bMM, LayoutDpi(pInfo->psdm.priv.dmUnitOfLayout));
    m_Margin.SetDots(wDots, false);
    pInfo->psdm.priv.dmDuplexMargin = wDots;
}

int CTabBasic::RunLayoutDialog(int nLayout)
{
    // Each dialog edits a copy and writes it back whole, its layout included, only on OK.
    CMainWin* pMain = GetMainWindow();
    xDialog* pDialog = nullptr;
    switch (nLayout) {
    case 1:
        pDialog = new CDlgNup(pMain);
        break;
    case 2:
        pDialog = new CDlgBooklet(pMain);
        break;
    case 4:
        pDialog = new CDlgPoster(pMain);
        break;
    case 8:
        pDialog = new CDlgFitPage(pMain);
        break;
    case 16:
        pDialog = new CDlgZoom(pMain);
        break;
    default:
        return IDCANCEL;
    }
    const int nResult = pDialog->DoModal();
    delete pDialog;
    return nResult;
}

void CTabBasic::OnNofityBtnClicked(int nID)
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (m_bBusy != 0 || pInfo == nullptr) {
        return;
    }
    DRVDEVMODE* pdm = &pInfo->psdm;
    const WORD wOldLayout = pdm->priv.dmLayoutPrint;
    if (nID == IDC_BASIC_LAYOUT_NONE) {
        SelectLayout(0);
        if (wOldLayout != 0) {
            pdm->priv.dmLayoutPrint = 0;
            pdm->priv.dmOutputPaperSize = 0;
            AfterChange();
        }
        return;
    }
    if (nID == IDC_BASIC_CUSTOMPAPER) {
        // The dialog edits the working record itself, and deleting the paper in use replaces it
        // even when the dialog is cancelled: the page follows whatever changed.
        const DRVDEVMODE before = *pdm;
        CDlgCustom dialog(this);
        if (dialog.DoModal() == IDOK || std::memcmp(&before, pdm, sizeof(before)) != 0) {
            AfterChange();
        }
        return;
    }
    if (nID < IDC_BASIC_LAYOUT_NUP || nID > IDC_BASIC_LAYOUT_POSTER) {
        // The margin and any other id.
        return;
    }
    const int nLayout = kLayouts[nID - IDC_BASIC_LAYOUT_NONE].wLayout;
    SelectLayout(nLayout);
    if (RunLayoutDialog(nLayout) == IDOK) {
        if (pdm->priv.dmOutputPaperSize > kLastStandardPaper) {
            SetCustomOutputPaperSize(pdm);
        }
        AfterChange();
    } else {
        pdm->priv.dmLayoutPrint = wOldLayout;
        SelectLayout(wOldLayout);
    }
}
