#include "gui/TabQuality.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/model/SpcListAnswers.h"
#include "gui/MainWin.h"
#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xRange.h"
#include "gui/widgets/xSeparator.h"

#include <cstddef>

namespace {

// Texts of section 200.
enum : WORD {
    IDS_COLORMODE = 211,
    IDS_COLORMANAGE = 213,
    IDS_DETAIL = 215,
    IDS_TONERSAVE = 218,
    IDS_HALFTONE = 224,
    IDS_CONTRAST = 230,
    IDS_LIGHTER = 232,
    IDS_DARKER = 233,
    IDS_QUALITY = 235,
};

// Constraint items of the page.
constexpr SHORT kItemHalftone = 32;
constexpr SHORT kItemQuality = 34;
constexpr SHORT kItemTonerSave = 35;
constexpr SHORT kItemContrastAllowed = 42;

constexpr SHORT kColorModeMono = 1;
constexpr SHORT kColorModePhoto = 3;
constexpr SHORT kPrintStyleColorMatch = 3;

// The one colour management row: brightness adjustment in monochrome, device colour otherwise.
const tagCOMBOITEM kMonoManagement[] = {{5110, 1}};
const tagCOMBOITEM kColorManagement[] = {{5112, 0}};

tagDIALOGINFO* LoadedDialogInfo()
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

DWORD ColorMatchFor(const DRVDEVMODE& dm)
{
    return dm.priv.dmColor != kColorModeMono && dm.priv.dmPrintStyle == kPrintStyleColorMatch ? 2 : 1;
}

}  // namespace

CTabQuality::CTabQuality(xWidget* pNoteBook, const char* pszLabel, int nID)
    : xTabBase(pNoteBook, pszLabel, nID),
      m_wUpdating(0),
      m_sColorFlag(0),
      m_sHalftoneFlag(0),
      m_sQualityFlag(0),
      m_sContrastFlag(0),
      m_sTonerFlag(0),
      m_sLastColorMode(0)
{
    m_pColorModeLabel = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pColorMode = new xComboBox(this, IDC_QUALITY_COLORMODE);
    m_pColorManageLabel = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pColorManage = new xComboBox(this, IDC_QUALITY_COLORMANAGE);
    m_pDetail = new xButton(this, IDC_QUALITY_DETAIL, "", 0, nullptr);
    m_pSeparator = new xSeparator(XORIENT_HORIZONTAL, this, -1);
    m_pQualityLabel = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pQuality = new xComboBox(this, IDC_QUALITY_QUALITY);
    m_pHalftoneLabel = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pHalftone = new xComboBox(this, IDC_QUALITY_HALFTONE);
    m_pContrastLabel = new xLabel(nullptr, this, -1, 0.5f, 0.5f);
    m_pContrastFrame = new xFrame(m_pContrastLabel);
    m_pLighter = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pDarker = new xLabel(nullptr, this, -1, 1.0f, 0.5f);
    m_pContrast = new xSlider(XORIENT_HORIZONTAL, this, IDC_QUALITY_CONTRAST, 0, 1, 15, 1);
    m_pTonerSave = new xCheckBox(this, IDC_QUALITY_TONERSAVE, "");

    m_pColorModeLabel->SetMnemonicWidget(m_pColorMode);
    m_pColorManageLabel->SetMnemonicWidget(m_pColorManage);
    m_pQualityLabel->SetMnemonicWidget(m_pQuality);
    m_pHalftoneLabel->SetMnemonicWidget(m_pHalftone);
    m_pContrastLabel->SetMnemonicWidget(m_pContrast);

    auto* pTable = new xTable(8, 3, FALSE, nullptr, -1);
    m_layout.emplace_back(pTable);
    pTable->SetBorderWidth(6);
    Attach(pTable->GetGtkWidget());
    const GtkAttachOptions fill = GTK_FILL;
    const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    pTable->Attach(m_pColorModeLabel, 0, 0, 1, 1, fill, fill, 2, 2);
    pTable->Attach(m_pColorMode, 1, 0, 2, 1, grow, fill, 2, 2);
    pTable->Attach(m_pColorManageLabel, 0, 1, 1, 1, fill, fill, 2, 2);
    pTable->Attach(m_pColorManage, 1, 1, 2, 1, grow, fill, 2, 2);
    pTable->Attach(m_pDetail, 2, 2, 1, 1, fill, fill, 2, 2);
    pTable->Attach(m_pSeparator, 0, 3, 3, 1, fill, fill, 0, 2);
    pTable->Attach(m_pQualityLabel, 0, 4, 1, 1, fill, fill, 2, 2);
    pTable->Attach(m_pQuality, 1, 4, 2, 1, grow, fill, 2, 2);
    pTable->Attach(m_pHalftoneLabel, 0, 5, 1, 1, fill, fill, 2, 2);
    pTable->Attach(m_pHalftone, 1, 5, 2, 1, grow, fill, 2, 2);

    // The contrast frame: "Lighter" and "Darker" over the slider.
    m_pContrastFrame->SetSize(300, -1);
    auto* pContrastBox = new xBox(XORIENT_VERTICAL, 0, 4);
    m_layout.emplace_back(pContrastBox);
    pContrastBox->SetBorderWidth(10);
    auto* pEnds = new xBox(XORIENT_HORIZONTAL, 1, 0);
    m_layout.emplace_back(pEnds);
    pEnds->PackStart(m_pLighter, TRUE, TRUE, 0);
    pEnds->PackStart(m_pDarker, TRUE, TRUE, 0);
    pContrastBox->PackStart(pEnds, FALSE, FALSE, 0);
    pContrastBox->PackStart(m_pContrast, FALSE, FALSE, 0);
    m_pContrastFrame->Add(pContrastBox);
    pTable->Attach(m_pContrastFrame, 0, 6, 3, 1, fill, fill, 2, 2);
    pTable->Attach(m_pTonerSave, 0, 7, 3, 1, fill, fill, 2, 2);
}

CTabQuality::~CTabQuality()
{
    delete m_pColorModeLabel;
    delete m_pColorMode;
    delete m_pColorManageLabel;
    delete m_pColorManage;
    delete m_pDetail;
    delete m_pSeparator;
    delete m_pQualityLabel;
    delete m_pQuality;
    delete m_pHalftoneLabel;
    delete m_pHalftone;
    delete m_pContrastFrame;
    delete m_pContrastLabel;
    delete m_pLighter;
    delete m_pDarker;
    delete m_pContrast;
    delete m_pTonerSave;
}

unsigned short CTabQuality::ColorModeImage(long lValue, void*)
{
    switch (lValue) {
    case 1:
        return 2162;
    case 2:
        return 2160;
    case 3:
        return 2161;
    default:
        return 0;
    }
}

unsigned short CTabQuality::HalftoneImage(long lValue, void*)
{
    switch (lValue) {
    case 1:
        return 2154;
    case 2:
        return 2150;
    case 3:
        return 2151;
    case 6:
        return 2155;
    case 8:
        return 2153;
    default:
        return 2152;
    }
}

unsigned short CTabQuality::QualityImage(long lValue, void* pValueList)
{
    static constexpr unsigned short kPictures[] = {2170, 2171, 2172, 2172};
    long lowest = 1;
    bool first = true;
    for (const tagVALUELIST* pNode = static_cast<const tagVALUELIST*>(pValueList); pNode != nullptr;
         pNode = pNode->pNext) {
        if (first || pNode->wValue < lowest) {
            lowest = pNode->wValue;
            first = false;
        }
    }
    const long step = lValue - lowest;
    return step >= 0 && step < 4 ? kPictures[step] : 0;
}

void CTabQuality::OnInitPage()
{
    CMainWin* pMain = GetMainWindow();
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    m_pColorModeLabel->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_COLORMODE));
    m_pColorManageLabel->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_COLORMANAGE));
    m_pQualityLabel->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_QUALITY));
    m_pHalftoneLabel->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_HALFTONE));
    m_pDetail->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_DETAIL));
    m_pContrastLabel->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_CONTRAST));
    m_pLighter->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_LIGHTER));
    m_pDarker->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_DARKER));
    m_pTonerSave->SetText(pMain->LoadString(IDS_SECTION_QUALITY, IDS_TONERSAVE));
    m_wUpdating = 0xFFFF;

    CPrinterInfo colour(&pInfo->mh, SPCID_COLOR, 0, 1);
    const tagFLAGWORD* pColour = colour.First<tagFLAGWORD>();
    m_sColorFlag = pColour != nullptr && pColour->dwFlags != 0 ? -1 : 0;

    const DWORD dwExtra2 = pInfo->psdm.priv.dmFieldsExtra2;
    m_sHalftoneFlag = (dwExtra2 & DMX2_HALFTONE) != 0 ? -1 : 0;
    m_sTonerFlag = (dwExtra2 & DMX2_TONER_SAVE) != 0 ? -1 : 0;
    m_sContrastFlag = (dwExtra2 & DMX2_CONTRAST) != 0 ? -1 : 0;

    CPrinterInfo qualities(&pInfo->mh, SPCID_RESOLUTIONLIST, 0, 2);
    m_sQualityFlag = qualities.GetCount() > 0 ? 1 : 0;

    m_pColorModeLabel->Show(m_sColorFlag);
    m_pColorMode->Show(m_sColorFlag);
    m_pColorManageLabel->Show(m_sColorFlag);
    m_pColorManage->Show(m_sColorFlag);
    m_pDetail->Show(m_sColorFlag);
    m_pSeparator->Show(m_sColorFlag);
    m_pQualityLabel->Show(m_sQualityFlag);
    m_pQuality->Show(m_sQualityFlag);
    m_pHalftoneLabel->Show(m_sHalftoneFlag);
    m_pHalftone->Show(m_sHalftoneFlag);
    m_pTonerSave->Show(m_sTonerFlag);

    if (m_sContrastFlag != 0) {
        CPrinterInfo contrast(&pInfo->mh, SPCID_CONTRAST, 0, 1);
        const tagCONTRASTRANGE* pRange = contrast.First<tagCONTRASTRANGE>();
        // The range comes from the model file: one that is empty or reversed cannot make a
        // slider, and the contrast row is left out as without a record.
        if (pRange != nullptr && pRange->sMinimum < pRange->sMaximum) {
            m_pContrast->SetDigits(0);
            m_pContrast->SetRange(pRange->sMinimum, pRange->sMaximum);
            m_pContrast->SetIncrements(1, pRange->sPageStep);
        } else {
            m_sContrastFlag = 0;
        }
    }
    m_pContrastFrame->Show(m_sContrastFlag);

    m_sLastColorMode = pInfo->psdm.priv.dmColor;
    m_wUpdating = 0;
    UpdateStatus();
}

void CTabQuality::OnSetActive()
{
    UpdateStatus();
}

void CTabQuality::Refresh()
{
    UpdateStatus();
}

void CTabQuality::UpdateStatus()
{
    CMainWin* pMain = GetMainWindow();
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    m_wUpdating = 0xFFFF;
    PRIVDM& priv = pInfo->psdm.priv;
    CKinsokuList* pKinsoku = pInfo->pKinsokuList;

    if (m_sColorFlag != 0) {
        pMain->FillComboFromPpdOption(m_pColorMode, nullptr, "ColorMode", nullptr, &CTabQuality::ColorModeImage,
                                      nullptr);
        m_pColorMode->SelectItemData(GINT_TO_POINTER(priv.dmColor));
        const bool mono = priv.dmColor == kColorModeMono;
        pMain->FillComboFromTable(m_pColorManage, mono ? kMonoManagement : kColorManagement, 1);
        m_pColorManage->SelectItemData(GINT_TO_POINTER(mono ? priv.dmColorManagement : priv.dmPrintStyle));
    }

    tagVALUELIST* pQualities = pKinsoku != nullptr ? pKinsoku->GetValueList(kItemQuality) : nullptr;
    pMain->FillComboFromPpdOption(m_pQuality, pQualities, "Resolution", pQualities, &CTabQuality::QualityImage,
                                  nullptr);
    m_pQuality->SelectItemData(GINT_TO_POINTER(priv.dmQuality));

    if (m_sHalftoneFlag != 0) {
        tagVALUELIST* pHalftones = pKinsoku != nullptr ? pKinsoku->GetValueList(kItemHalftone) : nullptr;
        pMain->FillComboFromPpdOption(m_pHalftone, pHalftones, "Halftone", nullptr, &CTabQuality::HalftoneImage,
                                      nullptr);
        m_pHalftone->SelectItemData(GINT_TO_POINTER(priv.dmHalftone));
    }

    if (m_sContrastFlag != 0) {
        m_pContrast->SetValue(priv.dmContrast);
        const bool allowed = pKinsoku != nullptr && pKinsoku->IsValueDisabled(kItemContrastAllowed, 1) == 0;
        m_pContrastFrame->Enable(allowed ? -1 : 0);
    }

    if (m_sTonerFlag != 0) {
        m_pTonerSave->SetCheck(priv.dmTonerSave == 1 ? TRUE : FALSE);
        const bool allowed = pKinsoku != nullptr && pKinsoku->IsValueDisabled(kItemTonerSave, 1) == 0;
        m_pTonerSave->Enable(allowed ? -1 : 0);
    }
    m_wUpdating = 0;
}

void CTabQuality::ChangedWithConstraints()
{
    CMainWin* pMain = GetMainWindow();
    pMain->SetModified(-1);
    pMain->RunKinsoku(&pMain->GetDialogInfo()->psdm, 0);
    UpdateStatus();
}

void CTabQuality::ChangedWithoutConstraints()
{
    GetMainWindow()->SetModified(-1);
    UpdateStatus();
}

void CTabQuality::OnNofitySelectChanged(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_wUpdating != 0 || pInfo == nullptr) {
        return;
    }
    xComboBox* pCombo = nullptr;
    switch (nID) {
    case IDC_QUALITY_COLORMODE:
        pCombo = m_pColorMode;
        break;
    case IDC_QUALITY_COLORMANAGE:
        pCombo = m_pColorManage;
        break;
    case IDC_QUALITY_QUALITY:
        pCombo = m_pQuality;
        break;
    case IDC_QUALITY_HALFTONE:
        pCombo = m_pHalftone;
        break;
    default:
        return;
    }
    if (pCombo->GetCurSel() < 0) {
        return;
    }
    const long lValue = static_cast<long>(reinterpret_cast<intptr_t>(pCombo->GetCurSelData()));
    DRVDEVMODE& dm = pInfo->psdm;
    PRIVDM& priv = dm.priv;
    switch (nID) {
    case IDC_QUALITY_COLORMODE:
        priv.dmColor = static_cast<SHORT>(lValue);
        if (priv.dmColor == kColorModeMono) {
            priv.dmColorManagement = 1;
            dm.dm.dmICMMethod = 1;
        } else {
            priv.dmColorManagement = 0;
            // Colour management of the photo mode and of a change from monochrome starts over.
            if (m_sLastColorMode == kColorModeMono || priv.dmColor == kColorModePhoto) {
                priv.dmPrintStyle = 0;
            }
            dm.dm.dmICMMethod = ColorMatchFor(dm);
        }
        m_sLastColorMode = priv.dmColor;
        break;
    case IDC_QUALITY_COLORMANAGE:
        if (priv.dmColor == kColorModeMono) {
            priv.dmColorManagement = static_cast<WORD>(lValue);
        } else {
            priv.dmPrintStyle = static_cast<SHORT>(lValue);
        }
        dm.dm.dmICMMethod = ColorMatchFor(dm);
        break;
    case IDC_QUALITY_QUALITY: {
        priv.dmQuality = static_cast<SHORT>(lValue);
        CPrinterInfo resolution(&pInfo->mh, SPCID_RESOLUTION, MapQualityMode(&pInfo->mh, priv.dmQuality), 1);
        const tagSPCRESOLUTION* pEntry = resolution.First<tagSPCRESOLUTION>();
        if (pEntry != nullptr) {
            dm.dm.dmPrintQuality = static_cast<SHORT>(pEntry->dwNumber1);
            dm.dm.dmYResolution = static_cast<SHORT>(pEntry->dwNumber2);
        }
        break;
    }
    case IDC_QUALITY_HALFTONE:
        priv.dmHalftone = static_cast<WORD>(lValue);
        break;
    default:
        return;
    }
    ChangedWithConstraints();
}

void CTabQuality::OnNofityValueChanged(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_wUpdating != 0 || pInfo == nullptr || nID != IDC_QUALITY_CONTRAST) {
        return;
    }
    const int value = m_pContrast->GetValueInt();
    if (value == pInfo->psdm.priv.dmContrast) {
        return;
    }
    pInfo->psdm.priv.dmContrast = static_cast<SHORT>(value);
    ChangedWithoutConstraints();
}

void CTabQuality::OnNofityBtnClicked(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_wUpdating != 0 || pInfo == nullptr) {
        return;
    }
    switch (nID) {
    case IDC_QUALITY_DETAIL: {
        CMainWin* pMain = GetMainWindow();
        CDlgColorAdj dialog(pMain, pInfo);
        if (dialog.DoModal() == IDOK) {
            ChangedWithConstraints();
        }
        break;
    }
    case IDC_QUALITY_TONERSAVE:
        pInfo->psdm.priv.dmTonerSave = m_pTonerSave->GetCheck() != 0 ? 1 : 0;
        ChangedWithoutConstraints();
        break;
    default:
        break;
    }
}
