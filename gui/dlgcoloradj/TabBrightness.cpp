#include "gui/dlgcoloradj/TabBrightness.h"

#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xRange.h"

namespace {

constexpr double kSliderMin = -50;
constexpr double kSliderMax = 50;
constexpr unsigned short IDS_RESTORE_DEFAULTS = 1409;

}  // namespace

CDlgColorAdj::CTabBrightness::CTabBrightness(CDlgColorAdj* pDialog, const char* pszLabel, int nID)
    : xTabBase(pDialog, pszLabel, nID),
      m_pDialog(pDialog),
      m_pPreview(nullptr),
      m_pSlider(nullptr),
      m_pSpin(nullptr),
      m_pDefaults(nullptr),
      m_wUpdating(0xFFFF),
      m_picture(GetBuiltinImage(kPreviewPictureId)),
      m_nLastRendered(kNotRendered)
{
    // The preview, below it the slider with its spin, at the bottom the Restore Defaults button.
    auto* pPage = new xBox(XORIENT_VERTICAL, 0, 6);
    m_layout.emplace_back(pPage);
    pPage->SetBorderWidth(6);
    Attach(pPage->GetGtkWidget());

    m_pPreview = new xImage(m_picture.Working(), this, -1);
    pPage->PackStart(m_pPreview, FALSE, FALSE, 0);

    m_pSlider = new xSlider(XORIENT_HORIZONTAL, this, IDC_CLRADJ_GRAY_SLIDER, 0, kSliderMin, kSliderMax, 1);
    m_pSpin = new xSpinButton(this, IDC_CLRADJ_GRAY_SPIN, 0, kSliderMin, kSliderMax, 1);
    m_pSpin->SetMaxLength(3);
    auto* pValueRow = new xBox(XORIENT_HORIZONTAL, 0, 6);
    m_layout.emplace_back(pValueRow);
    pValueRow->PackStart(m_pSlider, TRUE, TRUE, 0);
    pValueRow->PackEnd(m_pSpin, FALSE, FALSE, 0);
    pPage->PackStart(pValueRow, FALSE, FALSE, 0);

    m_pDefaults = new xButton(this, IDC_CLRADJ_GRAY_DEFAULTS,
                              CDlgColorAdj::Text(IDS_SECTION_BRIGHTNESS, IDS_RESTORE_DEFAULTS), 0, "gtk-redo");
    auto* pButtonRow = new xBox(XORIENT_HORIZONTAL, 0, 6);
    m_layout.emplace_back(pButtonRow);
    pButtonRow->PackEnd(m_pDefaults, FALSE, FALSE, 0);
    pPage->PackEnd(pButtonRow, FALSE, FALSE, 0);

    m_wUpdating = 0;
}

CDlgColorAdj::CTabBrightness::~CTabBrightness()
{
    delete m_pPreview;
    delete m_pSlider;
    delete m_pSpin;
    delete m_pDefaults;
}

SHORT& CDlgColorAdj::CTabBrightness::GrayBrightness()
{
    return m_pDialog->WorkingCopy().priv.dmClrCtrl.sGrayBrightness;
}

void CDlgColorAdj::CTabBrightness::OnInitPage()
{
    m_nLastRendered = kNotRendered;
    UpdateStatus();
}

void CDlgColorAdj::CTabBrightness::UpdateStatus()
{
    m_wUpdating = 0xFFFF;
    m_pSlider->SetValue(GrayBrightness());
    m_pSpin->SetValue(GrayBrightness());
    RenderPreview();
    m_wUpdating = 0;
}

void CDlgColorAdj::CTabBrightness::RenderPreview()
{
    const SHORT sValue = GrayBrightness();
    if (sValue == m_nLastRendered) {
        return;
    }
    m_nLastRendered = sValue;
    if (RenderGrayPreview(sValue, m_picture.Pictures())) {
        m_pPreview->SetPixbuf(m_picture.Working());
    }
}

void CDlgColorAdj::CTabBrightness::OnNofityValueChanged(int nID)
{
    if (m_wUpdating != 0) {
        return;
    }
    int value = 0;
    if (nID == IDC_CLRADJ_GRAY_SLIDER) {
        value = m_pSlider->GetValueInt();
    } else if (nID == IDC_CLRADJ_GRAY_SPIN) {
        value = m_pSpin->GetValueInt();
    } else {
        return;
    }
    if (value != GrayBrightness()) {
        GrayBrightness() = static_cast<SHORT>(value);
        UpdateStatus();
    }
}

void CDlgColorAdj::CTabBrightness::OnNofityBtnClicked(int nID)
{
    if (m_wUpdating != 0 || nID != IDC_CLRADJ_GRAY_DEFAULTS) {
        return;
    }
    GrayBrightness() = m_pDialog->Defaults().priv.dmClrCtrl.sGrayBrightness;
    UpdateStatus();
}
