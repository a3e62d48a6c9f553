#include "gui/DlgFitPage.h"

#include "core/dialog/DialogInfo.h"
#include "core/dialog/TrackDM.h"
#include "core/printerinfo/PaperLookup.h"
#include "gui/LayoutDialogSupport.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

namespace {

constexpr WORD kSection = 700;
constexpr WORD kLayoutFit = 8;
constexpr WORD kStretch = 1;  // dmFittoPageRatio: 0 keeps the aspect ratio

enum : WORD {
    IDS_OUTPUT_PAPER = 672,
    IDS_KEEP_RATIO = 711,
};

enum : int {
    IDI_FIT_STRETCHED = 2250,
    IDI_FIT_KEEPS_RATIO = 2251,
};

}  // namespace

CDlgFitPage::CDlgFitPage(xWidget* pParent) : xDialog(pParent)
{
    m_bUpdating = 0xFFFF;
    SetTitle(LayoutDialogText(kSection, 0));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    CopyWorkingSettings(&m_dm);
    m_dm.priv.dmLayoutPrint = kLayoutFit;

    m_pRatioCheck = new xCheckBox(this, IDC_FIT_RATIO, LayoutDialogText(kSection, IDS_KEEP_RATIO));
    m_pPicture = new xImage(IDI_FIT_STRETCHED, this, -1);
    m_pOutputLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OUTPUT_PAPER), this);
    m_pOutputCombo = new xComboBox(this, IDC_FIT_OUTPUTPAPER);
    m_pOutputLabel->SetMnemonicWidget(m_pOutputCombo);

    auto* pRatioBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    pRatioBox->SetBorderWidth(kLayoutBorder);
    pRatioBox->PackStart(m_pRatioCheck, 0, 0, 0);
    pRatioBox->PackStart(m_pPicture, 0, 0, 0);
    GetContentBox()->PackStart(pRatioBox, 0, 0, 0);
    delete pRatioBox;

    auto* pOutputBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    pOutputBox->SetBorderWidth(kLayoutBorder);
    pOutputBox->PackStart(m_pOutputLabel, 0, 0, 0);
    pOutputBox->PackStart(m_pOutputCombo, 0, 0, 0);
    GetContentBox()->PackStart(pOutputBox, 0, 0, 0);
    delete pOutputBox;

    m_bUpdating = 0;
}

CDlgFitPage::~CDlgFitPage()
{
    delete m_pRatioCheck;
    m_pRatioCheck = nullptr;
    delete m_pPicture;
    m_pPicture = nullptr;
    delete m_pOutputLabel;
    m_pOutputLabel = nullptr;
    delete m_pOutputCombo;
    m_pOutputCombo = nullptr;
}

void CDlgFitPage::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_FIT_RATIO) {
        return;
    }
    m_dm.priv.dmFittoPageRatio = m_pRatioCheck->GetCheck() != 0 ? 0 : kStretch;
    UpdateStatus();
}

void CDlgFitPage::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_FIT_OUTPUTPAPER) {
        m_dm.priv.dmOutputPaperSize = static_cast<SHORT>(SelectedValue(m_pOutputCombo));
    }
}

void CDlgFitPage::OnInitDialog()
{
    m_bUpdating = 0xFFFF;
    PRIVDM& priv = m_dm.priv;
    // Fitting needs an output paper: the paper itself, with its own size when it is a custom one.
    if (priv.dmOutputPaperSize == 0) {
        priv.dmOutputPaperSize = m_dm.dm.dmPaperSize;
        priv.dmOutputPaperWidth = m_dm.dm.dmPaperWidth;
        priv.dmOutputPaperLength = m_dm.dm.dmPaperLength;
        if ((m_dm.dm.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) != 0) {
            priv.dmFieldsExtra1 |= DMX1_OUTPUT_PAPER_DIMS;
        } else {
            priv.dmFieldsExtra1 &= ~DMX1_OUTPUT_PAPER_DIMS;
        }
    }
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr) {
        ReplaceUnsupportedOutputPaper(&pInfo->mh, pInfo->pUserPaper, &m_dm);
        if (pInfo->pTrackDM != nullptr) {
            pInfo->pTrackDM->OnDevmodeChanged(&m_dm);
        }
    }
    CMainWin* pMain = GetMainWindow();
    if (pMain != nullptr) {
        pMain->RunKinsoku(&m_dm, 0);
        pMain->FillPaperSizeCombo(m_pOutputCombo, &m_dm, 0, 0);
    }
    SetResizable(0);
    m_bUpdating = 0;
    UpdateStatus();
}

void CDlgFitPage::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        WriteWorkingSettings(m_dm);
        return;
    }
    // The engine last ran over the discarded copy; its value lists must describe the working
    // settings again before a page fills a combo from them.
    if (CMainWin* pMain = GetMainWindow()) {
        pMain->RunKinsoku(nullptr, 0);
    }
}

void CDlgFitPage::UpdateStatus()
{
    m_bUpdating = 0xFFFF;
    const bool bKeepRatio = m_dm.priv.dmFittoPageRatio != kStretch;
    m_pRatioCheck->SetCheck(bKeepRatio ? 1 : 0);
    m_pPicture->SetImage(bKeepRatio ? IDI_FIT_KEEPS_RATIO : IDI_FIT_STRETCHED);
    m_pOutputCombo->SelectItemData(ValueData(m_dm.priv.dmOutputPaperSize));
    m_bUpdating = 0;
}
