#include "gui/DlgAdvance.h"

#include "core/dialog/DialogInfo.h"
#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PrinterInfo.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr WORD kUpdating = 0xFFFF;
// SPCID_PRINTFEATURES flag: the copies may be made by the driver.
constexpr DWORD kPrintFeatureDriverCopies = 0x4;

constexpr unsigned kTableBorder = 6;
constexpr unsigned kCellPadding = 2;

tagDIALOGINFO* LoadedDialogInfo()
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

CKinsokuList* LoadedConstraints()
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    return pInfo != nullptr ? pInfo->pKinsokuList : nullptr;
}

const char* DialogText(WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(IDS_ADVANCE_SECTION, wID) : nullptr;
}

gpointer ItemData(long value)
{
    return reinterpret_cast<gpointer>(static_cast<intptr_t>(value));
}

}  // namespace

CDlgAdvance::CDlgAdvance(xWidget* pParent) : xDialog(pParent)
{
    SetTitle(DialogText(IDS_ADVANCE_TITLE));
    AddButton(GTK_STOCK_OK, IDOK);
    AddButton(GTK_STOCK_CANCEL, IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    m_bUpdating = kUpdating;
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr) {
        std::memcpy(&m_dm, &pInfo->psdm, sizeof(m_dm));
    } else {
        std::memset(&m_dm, 0, sizeof(m_dm));
    }

    m_pCopiesLabel = new xLabel(DialogText(IDS_ADVANCE_COPIES), this, -1, 0.0f, 0.5f);
    m_pCopiesCombo = new xComboBox(this, IDC_ADVANCE_COPIES);
    m_pCopiesLabel->SetMnemonicWidget(m_pCopiesCombo);
    m_pBlankPagesCheck = new xCheckBox(this, IDC_ADVANCE_BLANK_PAGES, DialogText(IDS_ADVANCE_BLANK_PAGES));

    // Row 0 stays empty; row 1 the copies label and combo box; row 2 the check box.
    xTable* pTable = new xTable(3, 2, 0, nullptr, -1);
    pTable->SetBorderWidth(kTableBorder);
    const GtkAttachOptions fill = static_cast<GtkAttachOptions>(GTK_FILL);
    pTable->Attach(m_pCopiesLabel, 0, 1, 1, 1, fill, fill, kCellPadding, kCellPadding);
    pTable->Attach(m_pCopiesCombo, 1, 1, 1, 1, fill, fill, 0, kCellPadding);
    pTable->Attach(m_pBlankPagesCheck, 0, 2, 2, 1, fill, fill, kCellPadding, kCellPadding);
    GetContentBox()->PackStart(pTable, -1, -1, 0);
    delete pTable;
    m_bUpdating = 0;
}

CDlgAdvance::~CDlgAdvance()
{
    delete m_pCopiesLabel;
    m_pCopiesLabel = nullptr;
    delete m_pCopiesCombo;
    m_pCopiesCombo = nullptr;
    delete m_pBlankPagesCheck;
    m_pBlankPagesCheck = nullptr;
}

void CDlgAdvance::OnInitDialog()
{
    m_bUpdating = kUpdating;
    m_bShowCopies = 0;
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr) {
        CPrinterInfo features(&pInfo->mh, SPCID_PRINTFEATURES, 0, 1);
        const tagFEATURERECORD* pFeatures = features.First<tagFEATURERECORD>();
        if (pFeatures != nullptr && (pFeatures->dwFlags & kPrintFeatureDriverCopies) != 0) {
            m_bShowCopies = kUpdating;
            tagVALUELIST* pList = pInfo->pKinsokuList != nullptr
                                      ? pInfo->pKinsokuList->GetValueList(KINSOKU_ITEM_COPIES_BY_DRIVER)
                                      : nullptr;
            GetMainWindow()->FillComboFromList(m_pCopiesCombo, pList, nullptr, nullptr, nullptr, nullptr);
        }
    }
    m_bShowBlankPages = (m_dm.priv.dmFieldsExtra1 & DMX1_SKIP_BLANK) != 0 ? 0xFFFF : 0;
    // The label stays even when its combo box is not offered.
    m_pCopiesCombo->Show(m_bShowCopies);
    m_pBlankPagesCheck->Show(m_bShowBlankPages);
    m_bUpdating = 0;
    SetResizable(0);
    UpdateStatus();
}

void CDlgAdvance::UpdateStatus()
{
    m_bUpdating = kUpdating;
    m_pCopiesCombo->SelectItemData(ItemData(m_dm.priv.dmCopiesByDriver));
    m_pBlankPagesCheck->SetCheck(m_dm.priv.dmSkipBlankPages == 0 ? 1 : 0);

    // The constraint list is asked as it stands: the dialog does not run it over its copy.
    CKinsokuList* pList = LoadedConstraints();
    const bool bEitherForbidden = pList != nullptr && (pList->IsValueDisabled(KINSOKU_ITEM_SKIP_BLANK, 0) != 0 ||
                                                       pList->IsValueDisabled(KINSOKU_ITEM_SKIP_BLANK, 1) != 0);
    m_pBlankPagesCheck->Enable(!bEitherForbidden && m_bShowBlankPages != 0 ? 1 : 0);
    m_bUpdating = 0;
}

void CDlgAdvance::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_ADVANCE_COPIES || m_pCopiesCombo->GetCurSel() < 0) {
        return;
    }
    m_dm.priv.dmCopiesByDriver = static_cast<WORD>(reinterpret_cast<intptr_t>(m_pCopiesCombo->GetCurSelData()));
    UpdateStatus();
}

void CDlgAdvance::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_ADVANCE_BLANK_PAGES) {
        return;
    }
    m_dm.priv.dmSkipBlankPages = m_pBlankPagesCheck->GetCheck() != 0 ? 0 : 1;
    UpdateStatus();
}

void CDlgAdvance::OnEndDialog(int nResult)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (nResult != IDOK || pInfo == nullptr) {
        return;
    }
    std::memcpy(&pInfo->psdm, &m_dm, sizeof(m_dm));
}
