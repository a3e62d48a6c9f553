#include "gui/DlgPoster.h"

#include "core/dialog/DialogInfo.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/printerinfo/LayoutRules.h"
#include "gui/LayoutDialogSupport.h"
#include "gui/LayoutLength.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

namespace {

constexpr WORD kSection = 800;
constexpr WORD kLayoutPoster = 4;
constexpr WORD kMetricMM = 0x2;

enum : WORD {
    IDS_OUTPUT_PAPER = 672,
    IDS_STYLE = 811,
    IDS_OVERLAP = 816,
};

// One poster style: its tiles across and down, and the fewest tiles the printer must be able to
// join across (first) and down (second) for it.
struct PosterStyle {
    SHORT sTilesX;
    SHORT sTilesY;
    SHORT sNeedFirst;
    SHORT sNeedSecond;
};

// The styles of toggles 0 to 3 in an orientation: the two-tile style runs along the length.
PosterStyle StyleOf(int nIndex, bool bPortrait)
{
    switch (nIndex) {
    case 0:
        return bPortrait ? PosterStyle{1, 2, 1, 2} : PosterStyle{2, 1, 1, 2};
    case 1:
        return {2, 2, 2, 2};
    case 2:
        return {3, 3, 3, 3};
    default:
        return {4, 4, 4, 4};
    }
}

}  // namespace

CDlgPoster::CDlgPoster(xWidget* pParent) : xDialog(pParent)
{
    m_bUpdating = 0xFFFF;
    SetTitle(LayoutDialogText(kSection, 0));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    CopyWorkingSettings(&m_dm);
    m_dm.priv.dmLayoutPrint = kLayoutPoster;

    if (!IsPosterTilesValid(&m_dm)) {
        ResetPosterTiles(&m_dm.priv.dmPosterX, &m_dm.priv.dmPosterY);
    }
    m_MMMetric = (m_dm.priv.dmMetric & kMetricMM) != 0 ? 1 : 0;
    m_mmInch.SetDpi(static_cast<SHORT>(m_dm.priv.dmUnitOfLayout));
    const bool bMM = m_MMMetric != 0;
    const tagDIALOGINFO* pInfo = LoadedDialogInfo();
    const double dMax = GetLayoutLengthMax(pInfo != nullptr ? &pInfo->mh : nullptr, LayoutLength::Overlap, bMM);

    const bool bPortrait = m_dm.dm.dmOrientation == 1;
    const int nImages[kStyleCount] = {bPortrait ? 2261 : 2262, 2263, 2264, 2265};
    m_pStyleFrame = new xFrame(LayoutDialogText(kSection, IDS_STYLE));
    m_pStyleFrame->SetBorderWidth(kLayoutBorder);
    for (int i = 0; i < kStyleCount; ++i) {
        m_pStyleToggles[i] = new xToggleButton(this, IDC_POSTER_1X2 + i, nullptr, nImages[i]);
    }
    m_pOverlapLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OVERLAP), this);
    m_pOverlapSpin = CreateLayoutLengthSpin(this, IDC_POSTER_OVERLAP, bMM, dMax);
    gchar* pszRange = FormatLayoutLengthRange(bMM, dMax);
    m_pOverlapRange = NewFieldLabel(pszRange, this);
    g_free(pszRange);
    m_pOutputLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OUTPUT_PAPER), this);
    m_pOutputCombo = new xComboBox(this, IDC_POSTER_OUTPUTPAPER);
    m_pOverlapLabel->SetMnemonicWidget(m_pOverlapSpin);
    m_pOutputLabel->SetMnemonicWidget(m_pOutputCombo);

    auto* pStyleBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    pStyleBox->SetBorderWidth(kLayoutBorder);
    for (xToggleButton* pToggle : m_pStyleToggles) {
        pStyleBox->PackStart(pToggle, 0, 0, 0);
    }
    m_pStyleFrame->Add(pStyleBox);
    delete pStyleBox;
    GetContentBox()->PackStart(m_pStyleFrame, 0, 0, 0);

    auto* pOverlapBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    pOverlapBox->SetBorderWidth(kLayoutBorder);
    pOverlapBox->PackStart(m_pOverlapLabel, 0, 0, 0);
    pOverlapBox->PackStart(m_pOverlapSpin, 0, 0, 0);
    pOverlapBox->PackStart(m_pOverlapRange, 0, 0, 0);
    GetContentBox()->PackStart(pOverlapBox, 0, 0, 0);
    delete pOverlapBox;

    auto* pOutputBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    pOutputBox->SetBorderWidth(kLayoutBorder);
    pOutputBox->PackStart(m_pOutputLabel, 0, 0, 0);
    pOutputBox->PackStart(m_pOutputCombo, 0, 0, 0);
    GetContentBox()->PackStart(pOutputBox, 0, 0, 0);
    delete pOutputBox;

    m_bUpdating = 0;
}

CDlgPoster::~CDlgPoster()
{
    delete m_pStyleFrame;
    m_pStyleFrame = nullptr;
    for (xToggleButton*& pToggle : m_pStyleToggles) {
        delete pToggle;
        pToggle = nullptr;
    }
    delete m_pOverlapLabel;
    m_pOverlapLabel = nullptr;
    delete m_pOverlapSpin;
    m_pOverlapSpin = nullptr;
    delete m_pOverlapRange;
    m_pOverlapRange = nullptr;
    delete m_pOutputLabel;
    m_pOutputLabel = nullptr;
    delete m_pOutputCombo;
    m_pOutputCombo = nullptr;
}

void CDlgPoster::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID >= IDC_POSTER_1X2 && nID <= IDC_POSTER_4X4) {
        const PosterStyle style = StyleOf(nID - IDC_POSTER_1X2, m_dm.dm.dmOrientation == 1);
        m_dm.priv.dmPosterX = style.sTilesX;
        m_dm.priv.dmPosterY = style.sTilesY;
    }
    UpdateStatus();
}

void CDlgPoster::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_POSTER_OUTPUTPAPER) {
        m_dm.priv.dmOutputPaperSize = static_cast<SHORT>(SelectedValue(m_pOutputCombo));
    }
}

void CDlgPoster::OnNofityValueChanged(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_POSTER_OVERLAP) {
        return;
    }
    m_dm.priv.dmOverlap =
        ReadLayoutLength(m_pOverlapSpin, &m_mmInch, m_MMMetric != 0, static_cast<SHORT>(m_dm.priv.dmUnitOfLayout));
}

void CDlgPoster::OnInitDialog()
{
    m_bUpdating = 0xFFFF;
    if (CMainWin* pMain = GetMainWindow()) {
        pMain->FillPaperSizeCombo(m_pOutputCombo, &m_dm, -1, 0);
    }
    SetResizable(0);
    m_bUpdating = 0;
    UpdateStatus();
}

void CDlgPoster::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        WriteWorkingSettings(m_dm);
    }
}

void CDlgPoster::UpdateStatus()
{
    m_bUpdating = 0xFFFF;
    const bool bPortrait = m_dm.dm.dmOrientation == 1;
    xToggleButton* pActive = nullptr;
    for (int i = 0; i < kStyleCount; ++i) {
        const PosterStyle style = StyleOf(i, bPortrait);
        const bool bActive = m_dm.priv.dmPosterX == style.sTilesX && m_dm.priv.dmPosterY == style.sTilesY;
        m_pStyleToggles[i]->SetCheckSilently(bActive ? 1 : 0);
        if (bActive) {
            pActive = m_pStyleToggles[i];
        }
    }

    // The most tiles the printer can join across and down; without an answer the toggles keep
    // their sensitivity.
    SHORT sFirst = 4;
    SHORT sSecond = 4;
    const tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr && pInfo->pKinsokuList != nullptr &&
        pInfo->pKinsokuList->GetMaxPosterTiles(&m_dm, &sFirst, &sSecond) != 0) {
        for (int i = 0; i < kStyleCount; ++i) {
            const PosterStyle style = StyleOf(i, bPortrait);
            m_pStyleToggles[i]->Enable(sFirst >= style.sNeedFirst && sSecond >= style.sNeedSecond ? 1 : 0);
        }
    }

    if (pActive != nullptr) {
        m_pStyleFrame->SetMnemonicWidget(pActive);
    }
    ShowLayoutLength(m_pOverlapSpin, &m_mmInch, m_MMMetric != 0, m_dm.priv.dmOverlap);
    m_pOutputCombo->SelectItemData(ValueData(m_dm.priv.dmOutputPaperSize));
    m_bUpdating = 0;
}
