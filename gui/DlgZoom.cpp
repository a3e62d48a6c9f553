#include "gui/DlgZoom.h"

#include "core/dialog/DialogInfo.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/ZoomRange.h"
#include "gui/LayoutDialogSupport.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

namespace {

constexpr WORD kSection = 850;
constexpr WORD kLayoutZoom = 16;
constexpr int kFirstPositionImage = 2240;

enum : WORD {
    IDS_OUTPUT_PAPER = 672,
    IDS_ZOOM = 861,
    IDS_IMAGE_POSITION = 864,
    IDS_ZOOM_RANGE = 874,
    IDS_ZOOM_RANGE_FORMAT = 4451,  // section 0
};

const char* TextOrEmpty(const char* pszText)
{
    return pszText != nullptr ? pszText : "";
}

}  // namespace

CDlgZoom::CDlgZoom(xWidget* pParent) : xDialog(pParent)
{
    m_bUpdating = 0xFFFF;
    SetTitle(LayoutDialogText(kSection, 0));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    CopyWorkingSettings(&m_dm);
    m_dm.priv.dmLayoutPrint = kLayoutZoom;

    m_pZoomLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_ZOOM), this);
    m_pZoomSpin = new xSpinButton(this, IDC_ZOOM_SCALE, 0, 25, 400, 1);
    m_pZoomSpin->SetMaxLength(3);
    m_pZoomRange = NewFieldLabel(LayoutDialogText(kSection, IDS_ZOOM_RANGE), this);
    m_pPositionFrame = new xFrame(LayoutDialogText(kSection, IDS_IMAGE_POSITION));
    m_pPositionFrame->SetBorderWidth(kLayoutBorder);
    for (int i = 0; i < kPositionCount; ++i) {
        m_pPositionToggles[i] = new xToggleButton(this, IDC_ZOOM_POSITION_FIRST + i, nullptr, kFirstPositionImage + i);
    }
    m_pOutputLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OUTPUT_PAPER), this);
    m_pOutputCombo = new xComboBox(this, IDC_ZOOM_OUTPUTPAPER);
    m_pZoomLabel->SetMnemonicWidget(m_pZoomSpin);
    m_pOutputLabel->SetMnemonicWidget(m_pOutputCombo);

    auto* pZoomBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    pZoomBox->SetBorderWidth(kLayoutBorder);
    pZoomBox->PackStart(m_pZoomLabel, 0, 0, 0);
    pZoomBox->PackStart(m_pZoomSpin, 0, 0, 0);
    pZoomBox->PackStart(m_pZoomRange, 0, 0, 0);
    GetContentBox()->PackStart(pZoomBox, 0, 0, 0);
    delete pZoomBox;

    auto* pGrid = new xTable(3, 3, 0, this, -1);
    pGrid->SetBorderWidth(kLayoutBorder);
    for (int i = 0; i < kPositionCount; ++i) {
        pGrid->Attach(m_pPositionToggles[i], i % 3, i / 3, 1, 1, GTK_FILL, GTK_FILL, 2, 2);
    }
    m_pPositionFrame->Add(pGrid);
    delete pGrid;
    GetContentBox()->PackStart(m_pPositionFrame, 0, 0, 0);

    auto* pOutputBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    pOutputBox->SetBorderWidth(kLayoutBorder);
    pOutputBox->PackStart(m_pOutputLabel, 0, 0, 0);
    pOutputBox->PackStart(m_pOutputCombo, 0, 0, 0);
    GetContentBox()->PackStart(pOutputBox, 0, 0, 0);
    delete pOutputBox;

    m_bUpdating = 0;
}

CDlgZoom::~CDlgZoom()
{
    delete m_pZoomLabel;
    m_pZoomLabel = nullptr;
    delete m_pZoomSpin;
    m_pZoomSpin = nullptr;
    delete m_pZoomRange;
    m_pZoomRange = nullptr;
    delete m_pPositionFrame;
    m_pPositionFrame = nullptr;
    for (xToggleButton*& pToggle : m_pPositionToggles) {
        delete pToggle;
        pToggle = nullptr;
    }
    delete m_pOutputLabel;
    m_pOutputLabel = nullptr;
    delete m_pOutputCombo;
    m_pOutputCombo = nullptr;
}

void CDlgZoom::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID >= IDC_ZOOM_POSITION_FIRST && nID <= IDC_ZOOM_POSITION_LAST) {
        m_dm.priv.dmAlign = static_cast<SHORT>(nID - IDC_ZOOM_POSITION_FIRST);
    }
    UpdateStatus();
}

void CDlgZoom::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_ZOOM_OUTPUTPAPER) {
        m_dm.priv.dmOutputPaperSize = static_cast<SHORT>(SelectedValue(m_pOutputCombo));
    }
}

void CDlgZoom::OnNofityValueChanged(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_ZOOM_SCALE) {
        return;
    }
    m_dm.priv.dmScaleTo = static_cast<SHORT>(m_pZoomSpin->GetValueInt());
}

void CDlgZoom::OnInitDialog()
{
    m_bUpdating = 0xFFFF;
    SHORT sMin = 100;
    SHORT sMax = 100;
    const tagDIALOGINFO* pInfo = LoadedDialogInfo();
    const WORD bKnown = pInfo != nullptr ? GetZoomRange(&pInfo->mh, pInfo->pUserPaper, &m_dm, m_dm.dm.dmPrintQuality,
                                                        &sMin, &sMax)
                                         : 0;
    // A very long paper at a high resolution brings the page limit below the model's smallest
    // zoom (and a model may give its limits the wrong way round): the page limit wins, so the
    // range becomes the one value that still fits, never an inverted one; at least 1 percent.
    if (sMax < 1) {
        sMax = 1;
    }
    if (sMin < 1) {
        sMin = 1;
    }
    if (sMin > sMax) {
        sMin = sMax;
    }
    if (bKnown != 0) {
        ClampScaleTo(&m_dm, sMin, sMax);
    }

    gchar* pszRange = g_strdup_printf(TextOrEmpty(GetMainWindow() != nullptr
                                                      ? GetMainWindow()->LoadCommonString(IDS_ZOOM_RANGE_FORMAT)
                                                      : nullptr),
                                      static_cast<int>(sMin), static_cast<int>(sMax));
    m_pZoomRange->SetText(pszRange);
    g_free(pszRange);
    m_pZoomSpin->SetRange(sMin, sMax);

    if (CMainWin* pMain = GetMainWindow()) {
        pMain->FillPaperSizeCombo(m_pOutputCombo, &m_dm, -1, 0);
    }
    SetResizable(0);
    m_bUpdating = 0;
    UpdateStatus();
}

void CDlgZoom::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        WriteWorkingSettings(m_dm);
    }
}

void CDlgZoom::UpdateStatus()
{
    m_bUpdating = 0xFFFF;
    m_pZoomSpin->SetValue(m_dm.priv.dmScaleTo);
    for (int i = 0; i < kPositionCount; ++i) {
        const bool bActive = m_dm.priv.dmAlign == i;
        m_pPositionToggles[i]->SetCheckSilently(bActive ? 1 : 0);
        if (bActive) {
            m_pPositionFrame->SetMnemonicWidget(m_pPositionToggles[i]);
        }
    }
    m_pOutputCombo->SelectItemData(ValueData(m_dm.priv.dmOutputPaperSize));
    m_bUpdating = 0;
}
