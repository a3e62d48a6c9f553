#include "gui/dlgcoloradj/TabColorSpace.h"

#include "gui/widgets/xButton.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

namespace {

constexpr unsigned short IDS_IMAGE = 1406;
constexpr unsigned short IDS_PROFILE = 1407;
constexpr unsigned short IDS_GRAY_REPRO = 1408;
constexpr unsigned short IDS_RESTORE_DEFAULTS = 1409;

// Section 0 texts of the list rows and the values they stand for.
struct Item {
    unsigned short wText;
    WORD wValue;
};
constexpr Item kProfiles[] = {{3293, 0}, {3294, 1}};    // sRGB, Vivid
constexpr Item kGrayRepros[] = {{3298, 0}, {3299, 1}};  // CMYK, Black

const char* PageText(unsigned short wID)
{
    return CDlgColorAdj::Text(IDS_SECTION_COLORSPACE, wID);
}

template <size_t N>
void Fill(xComboBox* pCombo, const Item (&items)[N])
{
    pCombo->ResetContent();
    for (const Item& item : items) {
        pCombo->AddString(CDlgColorAdj::Text(0, item.wText), GINT_TO_POINTER(item.wValue), 0);
    }
}

}  // namespace

CDlgColorAdj::CTabColorSpace::CTabColorSpace(CDlgColorAdj* pDialog, const char* pszLabel, int nID)
    : xTabBase(pDialog, pszLabel, nID),
      m_pDialog(pDialog),
      m_pFrame(nullptr),
      m_pProfileLabel(nullptr),
      m_pProfile(nullptr),
      m_pGrayReproLabel(nullptr),
      m_pGrayRepro(nullptr),
      m_pDefaults(nullptr),
      m_wUpdating(0)
{
    auto* pPage = new xBox(XORIENT_VERTICAL, 0, 6);
    m_layout.emplace_back(pPage);
    pPage->SetBorderWidth(6);
    Attach(pPage->GetGtkWidget());

    m_pFrame = new xFrame(PageText(IDS_IMAGE));
    auto* pTable = new xTable(2, 2, FALSE, nullptr, -1);
    m_layout.emplace_back(pTable);
    pTable->SetBorderWidth(6);
    pTable->SetColSpacing(-1, 6);
    m_pProfileLabel = new xLabel(PageText(IDS_PROFILE), this, -1, 0.0f, 0.5f);
    m_pProfile = new xComboBox(this, IDC_CLRADJ_PROFILE);
    m_pProfileLabel->SetMnemonicWidget(m_pProfile);
    m_pGrayReproLabel = new xLabel(PageText(IDS_GRAY_REPRO), this, -1, 0.0f, 0.5f);
    m_pGrayRepro = new xComboBox(this, IDC_CLRADJ_GRAYREPRO);
    m_pGrayReproLabel->SetMnemonicWidget(m_pGrayRepro);
    const GtkAttachOptions fill = GTK_FILL;
    const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    pTable->Attach(m_pProfileLabel, 0, 0, 1, 1, fill, fill, 0, 2);
    pTable->Attach(m_pProfile, 1, 0, 1, 1, grow, fill, 0, 2);
    pTable->Attach(m_pGrayReproLabel, 0, 1, 1, 1, fill, fill, 0, 2);
    pTable->Attach(m_pGrayRepro, 1, 1, 1, 1, grow, fill, 0, 2);
    m_pFrame->Add(pTable);
    pPage->PackStart(m_pFrame, FALSE, FALSE, 0);

    m_pDefaults = new xButton(this, IDC_CLRADJ_CS_DEFAULTS, PageText(IDS_RESTORE_DEFAULTS), 0, "gtk-redo");
    auto* pButtonRow = new xBox(XORIENT_HORIZONTAL, 0, 6);
    m_layout.emplace_back(pButtonRow);
    pButtonRow->PackEnd(m_pDefaults, FALSE, FALSE, 0);
    pPage->PackEnd(pButtonRow, FALSE, FALSE, 0);
}

CDlgColorAdj::CTabColorSpace::~CTabColorSpace()
{
    delete m_pFrame;
    delete m_pProfileLabel;
    delete m_pProfile;
    delete m_pGrayReproLabel;
    delete m_pGrayRepro;
    delete m_pDefaults;
}

CLRCTRL& CDlgColorAdj::CTabColorSpace::Block()
{
    return m_pDialog->WorkingCopy().priv.dmClrCtrl;
}

void CDlgColorAdj::CTabColorSpace::OnInitPage()
{
    m_wUpdating = 0xFFFF;
    Fill(m_pProfile, kProfiles);
    Fill(m_pGrayRepro, kGrayRepros);
    m_wUpdating = 0;
    UpdateStatus();
}

void CDlgColorAdj::CTabColorSpace::UpdateStatus()
{
    m_wUpdating = 0xFFFF;
    m_pProfile->SelectItemData(GINT_TO_POINTER(Block().wProfile));
    m_pGrayRepro->SelectItemData(GINT_TO_POINTER(Block().wGrayRepro));
    m_wUpdating = 0;
}

void CDlgColorAdj::CTabColorSpace::OnNofitySelectChanged(int nID)
{
    if (m_wUpdating != 0) {
        return;
    }
    xComboBox* pCombo = nID == IDC_CLRADJ_PROFILE ? m_pProfile : nID == IDC_CLRADJ_GRAYREPRO ? m_pGrayRepro : nullptr;
    if (pCombo == nullptr || pCombo->GetCurSel() < 0) {
        return;
    }
    const WORD wValue = static_cast<WORD>(GPOINTER_TO_INT(pCombo->GetCurSelData()));
    if (nID == IDC_CLRADJ_PROFILE) {
        Block().wProfile = wValue;
    } else {
        Block().wGrayRepro = wValue;
    }
    UpdateStatus();
}

void CDlgColorAdj::CTabColorSpace::OnNofityBtnClicked(int nID)
{
    if (m_wUpdating != 0 || nID != IDC_CLRADJ_CS_DEFAULTS) {
        return;
    }
    const CLRCTRL& defaults = m_pDialog->Defaults().priv.dmClrCtrl;
    Block().wProfile = defaults.wProfile;
    Block().wGrayRepro = defaults.wGrayRepro;
    UpdateStatus();
}
