#include "gui/dlgcoloradj/TabAdjustment.h"

#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xRange.h"

#include <algorithm>
#include <cstring>

namespace {

// Every colour slider stores its value as shown; 0 is neutral.
constexpr double kSliderMin = -50;
constexpr double kSliderMax = 50;
constexpr int kSliderWidth = 120;

struct RowSpec {
    unsigned short wLabel;  // text id of the row label
    WORD wType;             // the adjustment type that shows the row
    SHORT CLRCTRL::*pField;
};

constexpr RowSpec kRowSpecs[CDlgColorAdj::CTabAdjustment::kRows] = {
    {1451, 1, &CLRCTRL::sSaturation}, {1452, 2, &CLRCTRL::sRed},     {1453, 2, &CLRCTRL::sGreen},
    {1454, 2, &CLRCTRL::sBlue},       {1455, 3, &CLRCTRL::sCyan},    {1456, 3, &CLRCTRL::sMagenta},
    {1457, 3, &CLRCTRL::sYellow},     {1458, 3, &CLRCTRL::sBlack},
};

// The type list: section 0 texts and the values they stand for.
struct TypeItem {
    unsigned short wText;
    WORD wType;
};
constexpr TypeItem kTypeItems[] = {{3371, 1}, {3372, 2}, {3373, 3}};

constexpr unsigned short IDS_BRIGHTNESS = 1459;
constexpr unsigned short IDS_RESTORE_DEFAULTS = 1409;

const char* PageText(unsigned short wID)
{
    return CDlgColorAdj::Text(IDS_SECTION_ADJUSTMENT, wID);
}

}  // namespace

template <typename T>
T* CDlgColorAdj::CTabAdjustment::Layout(T* pWidget)
{
    m_layout.emplace_back(pWidget);
    return pWidget;
}

CDlgColorAdj::CTabAdjustment::CTabAdjustment(CDlgColorAdj* pDialog, const char* pszLabel, int nID)
    : xTabBase(pDialog, pszLabel, nID),
      m_pDialog(pDialog),
      m_pType(nullptr),
      m_pTypeFrame(nullptr),
      m_rows{},
      m_pBrightnessFrame(nullptr),
      m_pBrightnessSlider(nullptr),
      m_pBrightnessSpin(nullptr),
      m_pPreview(nullptr),
      m_pDefaults(nullptr),
      m_wUpdating(0xFFFF),
      m_picture(GetBuiltinImage(kPreviewPictureId)),
      m_lastRendered{}
{
    // The page: the type frame over the brightness frame on the left, the preview over the
    // Restore Defaults button on the right.
    xBox* pPage = Layout(new xBox(XORIENT_HORIZONTAL, 0, 6));
    pPage->SetBorderWidth(6);
    Attach(pPage->GetGtkWidget());
    xBox* pLeft = Layout(new xBox(XORIENT_VERTICAL, 0, 6));
    xBox* pRight = Layout(new xBox(XORIENT_VERTICAL, 0, 6));
    pPage->PackStart(pLeft, TRUE, TRUE, 0);
    pPage->PackStart(pRight, FALSE, FALSE, 0);

    // The type combo is the label of the frame around the rows.
    m_pType = new xComboBox(this, IDC_CLRADJ_TYPE);
    m_pTypeFrame = new xFrame(static_cast<xLabel*>(nullptr));
    gtk_frame_set_label_widget(GTK_FRAME(m_pTypeFrame->GetGtkWidget()), m_pType->GetGtkWidget());
    xTable* pRows = Layout(new xTable(kRows, 3, FALSE, nullptr, -1));
    pRows->SetBorderWidth(6);
    pRows->SetColSpacing(-1, 6);
    for (int r = 0; r < kRows; ++r) {
        Row& row = m_rows[r];
        row.pLabel = new xLabel(PageText(kRowSpecs[r].wLabel), this, -1, 0.0f, 0.5f);
        row.pSlider = new xSlider(XORIENT_HORIZONTAL, this, IDC_CLRADJ_SATURATION_SLIDER + 2 * r, 0, kSliderMin,
                                  kSliderMax, 1);
        row.pSlider->SetSize(kSliderWidth, -1);
        row.pSpin = new xSpinButton(this, IDC_CLRADJ_SATURATION_SPIN + 2 * r, 0, kSliderMin, kSliderMax, 1);
        row.pSpin->SetMaxLength(3);
        row.pLabel->SetMnemonicWidget(row.pSpin);
        const GtkAttachOptions fill = GTK_FILL;
        const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
        pRows->Attach(row.pLabel, 0, r, 1, 1, fill, fill, 0, 0);
        pRows->Attach(row.pSlider, 1, r, 1, 1, grow, fill, 0, 0);
        pRows->Attach(row.pSpin, 2, r, 1, 1, fill, fill, 0, 0);
    }
    m_pTypeFrame->Add(pRows);
    pLeft->PackStart(m_pTypeFrame, TRUE, TRUE, 0);

    // The brightness: one row with its slider and spin at the row's end.
    m_pBrightnessFrame = new xFrame(PageText(IDS_BRIGHTNESS));
    m_pBrightnessSlider = new xSlider(XORIENT_HORIZONTAL, this, IDC_CLRADJ_BRIGHTNESS_SLIDER, 0, kSliderMin,
                                      kSliderMax, 1);
    m_pBrightnessSlider->SetSize(kSliderWidth, -1);
    m_pBrightnessSpin = new xSpinButton(this, IDC_CLRADJ_BRIGHTNESS_SPIN, 0, kSliderMin, kSliderMax, 1);
    m_pBrightnessSpin->SetMaxLength(3);
    m_pBrightnessFrame->SetMnemonicWidget(m_pBrightnessSpin);
    xBox* pBrightnessRow = Layout(new xBox(XORIENT_HORIZONTAL, 0, 6));
    pBrightnessRow->SetBorderWidth(6);
    pBrightnessRow->PackEnd(m_pBrightnessSpin, FALSE, FALSE, 0);
    pBrightnessRow->PackEnd(m_pBrightnessSlider, FALSE, FALSE, 0);
    m_pBrightnessFrame->Add(pBrightnessRow);
    pLeft->PackStart(m_pBrightnessFrame, FALSE, FALSE, 0);

    // The preview shows the working picture; without a usable photograph it stays empty.
    m_pPreview = new xImage(m_picture.Working(), this, -1);
    pRight->PackStart(m_pPreview, FALSE, FALSE, 0);
    m_pDefaults = new xButton(this, IDC_CLRADJ_ADJ_DEFAULTS, PageText(IDS_RESTORE_DEFAULTS), 0, "gtk-redo");
    xBox* pButtonRow = Layout(new xBox(XORIENT_HORIZONTAL, 0, 6));
    pButtonRow->PackEnd(m_pDefaults, FALSE, FALSE, 0);
    pRight->PackEnd(pButtonRow, FALSE, FALSE, 0);

    m_wUpdating = 0;
}

CDlgColorAdj::CTabAdjustment::~CTabAdjustment()
{
    delete m_pType;
    delete m_pTypeFrame;
    for (Row& row : m_rows) {
        delete row.pLabel;
        delete row.pSlider;
        delete row.pSpin;
    }
    delete m_pBrightnessFrame;
    delete m_pBrightnessSlider;
    delete m_pBrightnessSpin;
    delete m_pPreview;
    delete m_pDefaults;
}

CLRCTRL& CDlgColorAdj::CTabAdjustment::Block()
{
    return m_pDialog->WorkingCopy().priv.dmClrCtrl;
}

SHORT* CDlgColorAdj::CTabAdjustment::FieldOfControl(int nID)
{
    if (nID == IDC_CLRADJ_BRIGHTNESS_SLIDER || nID == IDC_CLRADJ_BRIGHTNESS_SPIN) {
        return &Block().sBrightness;
    }
    const int row = (nID - IDC_CLRADJ_SATURATION_SLIDER) / 2;
    if (nID < IDC_CLRADJ_SATURATION_SLIDER || row >= kRows) {
        return nullptr;
    }
    return &(Block().*kRowSpecs[row].pField);
}

void CDlgColorAdj::CTabAdjustment::OnInitPage()
{
    // One width for the row labels, so the sliders line up whichever rows are shown.
    int width = 0;
    for (const Row& row : m_rows) {
        GtkRequisition requisition{};
        gtk_widget_size_request(row.pLabel->GetGtkWidget(), &requisition);
        width = std::max(width, requisition.width);
    }
    for (const Row& row : m_rows) {
        row.pLabel->SetSize(width, -1);
    }
    std::memset(&m_lastRendered, 0, sizeof m_lastRendered);
    m_bRendered = false;
    m_wUpdating = 0xFFFF;
    m_pType->ResetContent();
    for (const TypeItem& item : kTypeItems) {
        m_pType->AddString(CDlgColorAdj::Text(0, item.wText), GINT_TO_POINTER(item.wType), 0);
    }
    m_wUpdating = 0;
    UpdateStatus();
}

void CDlgColorAdj::CTabAdjustment::ShowRow(const Row& row, int bShow)
{
    row.pLabel->Show(bShow);
    row.pSlider->Show(bShow);
    row.pSpin->Show(bShow);
}

void CDlgColorAdj::CTabAdjustment::SetRowValue(const Row& row, SHORT sValue)
{
    row.pSlider->SetValue(sValue);
    row.pSpin->SetValue(sValue);
}

void CDlgColorAdj::CTabAdjustment::UpdateStatus()
{
    m_wUpdating = 0xFFFF;
    const CLRCTRL& block = Block();
    m_pType->SelectItemData(GINT_TO_POINTER(block.wType));
    // Rows of the other types are hidden and keep whatever they showed; their fields stay too.
    for (int r = 0; r < kRows; ++r) {
        const bool shown = kRowSpecs[r].wType == block.wType;
        ShowRow(m_rows[r], shown ? -1 : 0);
        if (shown) {
            SetRowValue(m_rows[r], block.*kRowSpecs[r].pField);
        }
    }
    m_pBrightnessSlider->SetValue(block.sBrightness);
    m_pBrightnessSpin->SetValue(block.sBrightness);
    RenderPreview();
    m_wUpdating = 0;
}

void CDlgColorAdj::CTabAdjustment::RenderPreview()
{
    // Refilling the controls costs nothing: only a block that differs from the one shown renders.
    const CLRCTRL& block = Block();
    if (m_bRendered && std::memcmp(&block, &m_lastRendered, sizeof block) == 0) {
        return;
    }
    m_lastRendered = block;
    m_bRendered = true;
    if (RenderColorPreview(block, m_picture.Pictures())) {
        m_pPreview->SetPixbuf(m_picture.Working());
    }
}

void CDlgColorAdj::CTabAdjustment::OnNofitySelectChanged(int nID)
{
    if (m_wUpdating != 0 || nID != IDC_CLRADJ_TYPE) {
        return;
    }
    if (m_pType->GetCurSel() < 0) {
        return;
    }
    Block().wType = static_cast<WORD>(GPOINTER_TO_INT(m_pType->GetCurSelData()));
    UpdateStatus();
}

void CDlgColorAdj::CTabAdjustment::OnNofityValueChanged(int nID)
{
    if (m_wUpdating != 0) {
        return;
    }
    SHORT* pField = FieldOfControl(nID);
    if (pField == nullptr) {
        return;
    }
    // Odd ids are sliders (value truncated), even ids spins (value rounded).
    const int row = (nID - IDC_CLRADJ_SATURATION_SLIDER) / 2;
    const bool slider = (nID - IDC_CLRADJ_SATURATION_SLIDER) % 2 == 0;
    if (row < kRows) {
        *pField = static_cast<SHORT>(slider ? m_rows[row].pSlider->GetValueInt() : m_rows[row].pSpin->GetValueInt());
    } else {
        *pField = static_cast<SHORT>(slider ? m_pBrightnessSlider->GetValueInt() : m_pBrightnessSpin->GetValueInt());
    }
    UpdateStatus();
}

void CDlgColorAdj::CTabAdjustment::OnNofityBtnClicked(int nID)
{
    if (m_wUpdating != 0 || nID != IDC_CLRADJ_ADJ_DEFAULTS) {
        return;
    }
    // Only the values of the type shown and the brightness; the type and the other types' values
    // stay.
    CLRCTRL& block = Block();
    const CLRCTRL& defaults = m_pDialog->Defaults().priv.dmClrCtrl;
    for (const RowSpec& spec : kRowSpecs) {
        if (spec.wType == block.wType) {
            block.*spec.pField = defaults.*spec.pField;
        }
    }
    block.sBrightness = defaults.sBrightness;
    UpdateStatus();
}
