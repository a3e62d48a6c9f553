#include "gui/DlgNup.h"

#include "gui/ComboTypes.h"
#include "gui/LayoutDialogSupport.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

namespace {

constexpr WORD kSection = 750;
constexpr WORD kLayoutNup = 1;

enum : WORD {
    IDS_OUTPUT_PAPER = 672,
    IDS_PAGES_PER_SHEET = 761,
    IDS_PAGE_ORDER = 768,
    IDS_PAGE_BORDER = 773,
};

// dmNup of the N-up toggles 0 to 4.
constexpr SHORT kNupValues[] = {2, 4, 6, 9, 16};

// dmNupOrder of the order toggles 6 to 9.
constexpr SHORT kOrderValues[] = {0, 1, 3, 2};

// The order toggles' pictures for one layout; 0 keeps the toggle's picture (hidden in 2-up).
struct OrderPictures {
    SHORT sNup;
    int nPortraitOnly;  // 1: only for dmOrientation 1, 0: only for any other, -1: both
    int nImages[4];     // toggles 6, 7, 8, 9
};

constexpr OrderPictures kOrderPictures[] = {
    {2, 1, {2273, 0, 2274, 0}},
    {2, 0, {2275, 0, 2276, 0}},
    {4, -1, {2278, 2280, 2277, 2279}},
    {6, -1, {2282, 2284, 2281, 2283}},
    {9, -1, {2290, 2292, 2289, 2291}},
    {16, -1, {2294, 2296, 2293, 2295}},
};

// The 4-up set, shown until the first refresh.
constexpr int kInitialOrderImages[] = {2278, 2280, 2277, 2279};

const tagCOMBOITEM kBorderRows[] = {{4616, 0}, {4617, 1}};

const OrderPictures* PicturesFor(SHORT sNup, SHORT sOrientation)
{
    for (const OrderPictures& row : kOrderPictures) {
        const bool bOrientationFits = row.nPortraitOnly < 0 || (row.nPortraitOnly == 1) == (sOrientation == 1);
        if (row.sNup == sNup && bOrientationFits) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

CDlgNup::CDlgNup(xWidget* pParent) : xDialog(pParent)
{
    m_bUpdating = 0xFFFF;
    SetTitle(LayoutDialogText(kSection, 0));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    CopyWorkingSettings(&m_dm);
    m_dm.priv.dmLayoutPrint = kLayoutNup;

    m_pNupFrame = new xFrame(LayoutDialogText(kSection, IDS_PAGES_PER_SHEET));
    m_pOrderFrame = new xFrame(LayoutDialogText(kSection, IDS_PAGE_ORDER));
    m_pBorderLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_PAGE_BORDER), this);
    m_pBorderCombo = new xComboBox(this, IDC_NUP_BORDER);
    m_pOutputLabel = NewFieldLabel(LayoutDialogText(kSection, IDS_OUTPUT_PAPER), this);
    m_pOutputCombo = new xComboBox(this, IDC_NUP_OUTPUTPAPER);

    const bool bPortrait = m_dm.dm.dmOrientation == 1;
    const int nNupImages[kNupCount] = {bPortrait ? 2210 : 2211, 2212, bPortrait ? 2213 : 2214, 2215, 2218};
    for (int i = 0; i < kNupCount; ++i) {
        m_pNupToggles[i] = new xToggleButton(this, IDC_NUP_2UP + i, nullptr, nNupImages[i]);
    }
    for (int i = 0; i < kOrderCount; ++i) {
        m_pOrderToggles[i] = new xToggleButton(this, IDC_NUP_ORDER_FIRST + i, nullptr, kInitialOrderImages[i]);
    }

    auto* pNupTable = new xTable(1, kNupCount, 0, this, -1);
    pNupTable->SetBorderWidth(kLayoutBorder);
    for (int i = 0; i < kNupCount; ++i) {
        pNupTable->Attach(m_pNupToggles[i], i, 0, 1, 1, GTK_FILL, GTK_FILL, 2, 2);
    }
    m_pNupFrame->Add(pNupTable);
    delete pNupTable;

    auto* pOrderTable = new xTable(1, kOrderCount, 0, this, -1);
    pOrderTable->SetBorderWidth(kLayoutBorder);
    for (int i = 0; i < kOrderCount; ++i) {
        pOrderTable->Attach(m_pOrderToggles[i], i, 0, 1, 1, GTK_FILL, GTK_FILL, 2, 2);
    }
    m_pOrderFrame->Add(pOrderTable);
    delete pOrderTable;

    auto* pTable = new xTable(4, 2, 0, this, -1);
    pTable->SetBorderWidth(kLayoutBorder);
    pTable->Attach(m_pNupFrame, 0, 0, 2, 1, GTK_FILL, GTK_FILL, 3, 3);
    pTable->Attach(m_pOrderFrame, 0, 1, 2, 1, GTK_FILL, GTK_FILL, 3, 3);
    AttachLabelled(pTable, 2, m_pBorderLabel, m_pBorderCombo);
    AttachLabelled(pTable, 3, m_pOutputLabel, m_pOutputCombo);
    GetContentBox()->PackStart(pTable, 0, 0, 0);
    delete pTable;

    m_bUpdating = 0;
}

CDlgNup::~CDlgNup()
{
    delete m_pNupFrame;
    m_pNupFrame = nullptr;
    delete m_pOrderFrame;
    m_pOrderFrame = nullptr;
    delete m_pBorderLabel;
    m_pBorderLabel = nullptr;
    delete m_pBorderCombo;
    m_pBorderCombo = nullptr;
    delete m_pOutputLabel;
    m_pOutputLabel = nullptr;
    delete m_pOutputCombo;
    m_pOutputCombo = nullptr;
    for (xToggleButton*& pToggle : m_pNupToggles) {
        delete pToggle;
        pToggle = nullptr;
    }
    for (xToggleButton*& pToggle : m_pOrderToggles) {
        delete pToggle;
        pToggle = nullptr;
    }
}

void CDlgNup::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    PRIVDM& priv = m_dm.priv;
    if (nID == IDC_NUP_2UP) {
        // 2-up offers only the first two orders: the vertical ones fold onto them.
        if (priv.dmNup != 2) {
            priv.dmNupOrder = 0;
        }
        priv.dmNup = 2;
        if (priv.dmNupOrder == 1) {
            priv.dmNupOrder = 0;
        } else if (priv.dmNupOrder == 2) {
            priv.dmNupOrder = 3;
        }
    } else if (nID > IDC_NUP_2UP && nID <= IDC_NUP_16UP) {
        if (priv.dmNup == 2) {
            priv.dmNupOrder = 0;
        }
        priv.dmNup = kNupValues[nID - IDC_NUP_2UP];
    } else if (nID >= IDC_NUP_ORDER_FIRST && nID <= IDC_NUP_ORDER_LAST) {
        priv.dmNupOrder = kOrderValues[nID - IDC_NUP_ORDER_FIRST];
    }
    UpdateStatus();
}

void CDlgNup::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    if (nID == IDC_NUP_BORDER) {
        m_dm.priv.dmNupBorder = static_cast<SHORT>(SelectedValue(m_pBorderCombo));
    } else if (nID == IDC_NUP_OUTPUTPAPER) {
        m_dm.priv.dmOutputPaperSize = static_cast<SHORT>(SelectedValue(m_pOutputCombo));
    }
}

void CDlgNup::OnInitDialog()
{
    m_bUpdating = 0xFFFF;
    m_dm.priv.dmLayoutPrint = kLayoutNup;
    if (CMainWin* pMain = GetMainWindow()) {
        pMain->FillComboFromTable(m_pBorderCombo, kBorderRows, G_N_ELEMENTS(kBorderRows));
        pMain->FillPaperSizeCombo(m_pOutputCombo, &m_dm, -1, 0);
    }
    SetResizable(0);
    m_bUpdating = 0;
    UpdateStatus();
}

void CDlgNup::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        WriteWorkingSettings(m_dm);
    }
}

void CDlgNup::UpdateStatus()
{
    m_bUpdating = 0xFFFF;
    const PRIVDM& priv = m_dm.priv;

    for (int i = 0; i < kNupCount; ++i) {
        const bool bActive = priv.dmNup == kNupValues[i];
        m_pNupToggles[i]->SetCheckSilently(bActive ? 1 : 0);
        if (bActive) {
            m_pNupFrame->SetMnemonicWidget(m_pNupToggles[i]);
        }
    }

    // 2-up has only two orders: the toggles of the other two are hidden.
    const bool bTwoUp = priv.dmNup == 2;
    m_pOrderToggles[1]->Show(bTwoUp ? 0 : 1);
    m_pOrderToggles[3]->Show(bTwoUp ? 0 : 1);

    if (const OrderPictures* pPictures = PicturesFor(priv.dmNup, m_dm.dm.dmOrientation)) {
        for (int i = 0; i < kOrderCount; ++i) {
            if (pPictures->nImages[i] != 0) {
                m_pOrderToggles[i]->SetImage(pPictures->nImages[i]);
            }
        }
    }

    for (int i = 0; i < kOrderCount; ++i) {
        const bool bActive = priv.dmNupOrder == kOrderValues[i];
        m_pOrderToggles[i]->SetCheckSilently(bActive ? 1 : 0);
        if (bActive) {
            m_pOrderFrame->SetMnemonicWidget(m_pOrderToggles[i]);
        }
    }

    m_pBorderCombo->SelectItemData(ValueData(priv.dmNupBorder));
    m_pOutputCombo->SelectItemData(ValueData(priv.dmOutputPaperSize));
    m_bUpdating = 0;
}
