#include "gui/DlgBooklet.h"

#include "core/dialog/DialogInfo.h"
#include "gui/LayoutDialogSupport.h"
#include "gui/LayoutLength.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

#include <cstdio>

namespace {

constexpr WORD kSection = 650;
constexpr WORD kLayoutBooklet = 2;
constexpr SHORT kBindingLeft = 1;
constexpr SHORT kBindingRight = 2;
constexpr WORD kMetricMM = 0x2;

enum : WORD {
    IDS_BINDING = 661,
    IDS_UNIT = 664,
    IDS_GUTTER = 666,
    IDS_OUTPUT_PAPER = 672,
};

}  // namespace

CDlgBooklet::CDlgBooklet(xWidget* pParent) : xDialog(pParent)
{
    m_bUpdating = 0xFFFF;
    SetTitle(LayoutDialogText(kSection, 0));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    CopyWorkingSettings(&m_dm);
    m_dm.priv.dmLayoutPrint = kLayoutBooklet;

    m_MMMetric = (m_dm.priv.dmMetric & kMetricMM) != 0 ? 1 : 0;
    m_mmInch.SetDpi(static_cast<SHORT>(m_dm.priv.dmUnitOfLayout));
    const bool bMM = m_MMMetric != 0;
    const tagDIALOGINFO* pInfo = LoadedDialogInfo();
    const double dMax = GetLayoutLengthMax(pInfo != nullptr ? &pInfo->mh : nullptr, LayoutLength::Gutter, bMM);

    m_pBindingFrame = new xFrame(LayoutDialogText(kSection, IDS_BINDING));
    m_pLeftToggle = new xToggleButton(this, IDC_BOOKLET_LEFT, nullptr, 2230);
    m_pRightToggle = new xToggleButton(this, IDC_BOOKLET_RIGHT, nullptr, 2231);
    m_pUnitLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_UNIT), this);
    m_pUnitCombo = new xComboBox(this, IDC_BOOKLET_UNIT);
    m_pGutterLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_GUTTER), this);
    m_pGutterSpin = CreateLayoutLengthSpin(this, IDC_BOOKLET_GUTTER, bMM, dMax);
    gchar* pszRange = FormatLayoutLengthRange(bMM, dMax);
    m_pGutterRange = NewFieldLabel(pszRange, this);
    g_free(pszRange);
    m_pOutputLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OUTPUT_PAPER), this);
    m_pOutputCombo = new xComboBox(this, IDC_BOOKLET_OUTPUTPAPER);

    auto* pBindingBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    pBindingBox->SetBorderWidth(kLayoutBorder);
    pBindingBox->PackStart(m_pLeftToggle, 0, 0, 0);
    pBindingBox->PackStart(m_pRightToggle, 0, 0, 0);
    m_pBindingFrame->Add(pBindingBox);
    delete pBindingBox;

    auto* pGutterBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    pGutterBox->SetBorderWidth(kLayoutBorder);
    pGutterBox->PackStart(m_pGutterSpin, 0, 0, 0);
    pGutterBox->PackStart(m_pGutterRange, 0, 0, 0);

    auto* pTable = new xTable(5, 2, 0, this, -1);
    pTable->SetBorderWidth(kLayoutBorder);
    pTable->Attach(m_pBindingFrame, 0, 0, 2, 1, GTK_FILL, GTK_FILL, 3, 3);
    AttachLabelled(pTable, 1, m_pUnitLabel, m_pUnitCombo);
    AttachLabelled(pTable, 2, m_pGutterLabel, pGutterBox, m_pGutterSpin);
    AttachLabelled(pTable, 3, m_pOutputLabel, m_pOutputCombo);
    GetContentBox()->PackStart(pTable, 0, 0, 0);
    delete pGutterBox;
    delete pTable;

    m_bUpdating = 0;
}

CDlgBooklet::~CDlgBooklet()
{
    delete m_pBindingFrame;
    m_pBindingFrame = nullptr;
    delete m_pLeftToggle;
    m_pLeftToggle = nullptr;
    delete m_pRightToggle;
    m_pRightToggle = nullptr;
    delete m_pUnitLabel;
    m_pUnitLabel = nullptr;
    delete m_pUnitCombo;
    m_pUnitCombo = nullptr;
    delete m_pGutterLabel;
    m_pGutterLabel = nullptr;
    delete m_pGutterSpin;
    m_pGutterSpin = nullptr;
    delete m_pGutterRange;
    m_pGutterRange = nullptr;
    delete m_pOutputLabel;
    m_pOutputLabel = nullptr;
    delete m_pOutputCombo;
    m_pOutputCombo = nullptr;
}

void CDlgBooklet::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_BOOKLET_LEFT) {
        m_dm.priv.dmBookletBinding = kBindingLeft;
    } else if (nID == IDC_BOOKLET_RIGHT) {
        m_dm.priv.dmBookletBinding = kBindingRight;
    }
    UpdateStatus();
}

void CDlgBooklet::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_BOOKLET_UNIT) {
        m_dm.priv.dmBookletUnit = static_cast<SHORT>(SelectedValue(m_pUnitCombo));
    } else if (nID == IDC_BOOKLET_OUTPUTPAPER) {
        m_dm.priv.dmOutputPaperSize = static_cast<SHORT>(SelectedValue(m_pOutputCombo));
    }
}

void CDlgBooklet::OnNofityValueChanged(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_BOOKLET_GUTTER) {
        return;
    }
    m_dm.priv.dmGutter =
        ReadLayoutLength(m_pGutterSpin, &m_mmInch, m_MMMetric != 0, static_cast<SHORT>(m_dm.priv.dmUnitOfLayout));
}

void CDlgBooklet::OnInitDialog()
{
    m_bUpdating = 0xFFFF;
    if (CMainWin* pMain = GetMainWindow()) {
        pMain->FillPaperSizeCombo(m_pOutputCombo, &m_dm, -1, 0);
        pMain->FillComboFromPpdOption(m_pUnitCombo, nullptr, "BookletUnit", nullptr, nullptr, nullptr);
    }
    SetResizable(0);
    m_bUpdating = 0;
    UpdateStatus();
}

void CDlgBooklet::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        WriteWorkingSettings(m_dm);
    }
}

void CDlgBooklet::UpdateStatus()
{
    m_bUpdating = 0xFFFF;
    PRIVDM& priv = m_dm.priv;

    m_pLeftToggle->SetCheckSilently(priv.dmBookletBinding == kBindingLeft ? 1 : 0);
    m_pRightToggle->SetCheckSilently(priv.dmBookletBinding == kBindingRight ? 1 : 0);
    m_pBindingFrame->SetMnemonicWidget(priv.dmBookletBinding == kBindingLeft ? m_pLeftToggle : m_pRightToggle);

    ShowLayoutLength(m_pGutterSpin, &m_mmInch, m_MMMetric != 0, priv.dmGutter);
    m_pUnitCombo->SelectItemData(ValueData(priv.dmBookletUnit));

    // An output paper the list does not hold gives way to the model's default paper.
    if (m_pOutputCombo->FindItemData(ValueData(priv.dmOutputPaperSize)) < 0) {
        const tagDIALOGINFO* pInfo = LoadedDialogInfo();
        if (pInfo != nullptr) {
            priv.dmOutputPaperSize = pInfo->dmDefault.dm.dmPaperSize;
        }
        const int nRow = m_pOutputCombo->FindItemData(ValueData(priv.dmOutputPaperSize));
        std::printf("UpdateStatus cursel=%d\n", nRow);
        std::fflush(stdout);
        m_pOutputCombo->SetCurSel(nRow);
    } else {
        m_pOutputCombo->SelectItemData(ValueData(priv.dmOutputPaperSize));
    }
    m_bUpdating = 0;
}
