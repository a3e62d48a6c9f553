#include "gui/TabOutput.h"

#include "core/codec/FinishingMaps.h"
#include "core/dialog/DialogInfo.h"
#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOption.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/printerinfo/StaplePosition.h"
#include "gui/DlgAdvance.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

#include <cstdint>

namespace {

// Section-0 format of the copies range label.
constexpr WORD IDS_COPIES_RANGE_FORMAT = 6000;

constexpr int kDefaultMaxCopies = 999;
// The copies spin button takes at most this many characters (the default maximum has three).
constexpr int kCopiesMaxChars = 3;

// Model data the page asks.
constexpr LONG kSortBitGroupsView = 1;
constexpr DWORD kSortBitGroups[] = {0x3, 0xC, 0x30};
constexpr DWORD kPrintFeatureDriverCopies = 0x4;
constexpr DWORD kBlankPagesOffered = 0x1;

// Validity bits of the settings record that make a row apply.
constexpr DWORD kSortOffered = DMX1_SORT;
constexpr DWORD kMirrorOffered = DMX1_MIRROR;
constexpr DWORD kReverseOffered = DMX1_REVERSE_ORDER;
constexpr DWORD kCollateOffered = DM_COLLATE;

// Layout.
constexpr unsigned kPageBorder = 6;
constexpr unsigned kTableRows = 8;
constexpr unsigned kTableColumns = 2;
constexpr unsigned kColumnSpacing = 6;
constexpr unsigned kCellPadding = 2;
constexpr int kCopiesFrameWidth = 300;
constexpr int kCopiesBoxSpacing = 10;
constexpr unsigned kCopiesBoxBorder = 4;

// Pictures of the built-in image table.
constexpr unsigned short kSortImageBase = 2100;
constexpr unsigned short kStapleImageBase = 2300;
constexpr unsigned short kStapleTurnedImage = 2307;
constexpr unsigned short kPunchNoneImage = 2320;

gpointer ItemData(long value)
{
    return reinterpret_cast<gpointer>(static_cast<intptr_t>(value));
}

tagDIALOGINFO* LoadedDialogInfo()
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

const char* PageText(WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(IDS_OUTPUT_SECTION, wID) : nullptr;
}

// The first record of (capability, item 0, view) as T, if the model answers one whole.
template <typename T>
bool FirstModelRecord(tagDIALOGINFO* pInfo, SHORT sCapId, LONG lView, T* pRecord)
{
    CPrinterInfo info(&pInfo->mh, sCapId, 0, lView);
    const T* pFirst = info.First<T>();
    if (pFirst == nullptr) {
        return false;
    }
    *pRecord = *pFirst;
    return true;
}

int AtomCount(CKinsokuList* pList, SHORT sItemId)
{
    CKinsokuItem* pItem = pList != nullptr ? pList->GetItem(sItemId) : nullptr;
    return pItem != nullptr ? pItem->GetAtomArray().GetSize() : 0;
}

bool IsAllowed(CKinsokuList* pList, SHORT sItemId, LONG lValue)
{
    return pList == nullptr || pList->IsValueDisabled(sItemId, lValue) == 0;
}

void AttachRow(xTable* pTable, xWidget* pChild, unsigned nLeft, unsigned nTop, unsigned nColumns)
{
    const GtkAttachOptions fill = static_cast<GtkAttachOptions>(GTK_FILL);
    pTable->Attach(pChild, nLeft, nTop, nColumns, 1, fill, fill, kCellPadding, kCellPadding);
}

}  // namespace

CTabOutput::CTabOutput(xWidget* pNoteBook, const char* pszLabel, int nID) : xTabBase(pNoteBook, pszLabel, nID)
{
    m_bUpdating = -1;
    Attach(gtk_vbox_new(FALSE, 0));
    gtk_container_set_border_width(GTK_CONTAINER(m_pWidget), kPageBorder);
    BuildControls();
    LayOut();
    // The notebook shows a page's tab only while the page's widget is visible.
    ShowAll();
    m_bUpdating = 0;
}

CTabOutput::~CTabOutput()
{
    delete m_pCopiesFrame;
    delete m_pCopiesLabel;
    delete m_pCopiesSpin;
    delete m_pRangeLabel;
    delete m_pCollateCheck;
    delete m_pSortLabel;
    delete m_pSortCombo;
    delete m_pTrayLabel;
    delete m_pTrayCombo;
    delete m_pStapleLabel;
    delete m_pStapleCombo;
    delete m_pPunchLabel;
    delete m_pPunchCombo;
    delete m_pMirrorCheck;
    delete m_pReverseCheck;
    delete m_pButtonBox;
    delete m_pOptionsButton;
}

void CTabOutput::BuildControls()
{
    m_pCopiesLabel = new xLabel(PageText(IDS_OUTPUT_COPIES), this, -1, 0.0f, 0.5f);
    m_pCopiesFrame = new xFrame(m_pCopiesLabel);
    m_pCopiesSpin = new xSpinButton(this, IDC_OUTPUT_COPIES, 0, 1, kDefaultMaxCopies, 1);
    m_pCopiesSpin->SetMaxLength(kCopiesMaxChars);
    m_pCopiesLabel->SetMnemonicWidget(m_pCopiesSpin);
    m_pRangeLabel = new xLabel(PageText(IDS_OUTPUT_COPIES_RANGE), this, -1, 0.0f, 0.5f);
    m_pCollateCheck = new xCheckBox(this, IDC_OUTPUT_COLLATE, PageText(IDS_OUTPUT_COLLATE));

    struct ComboRow {
        xLabel** ppLabel;
        xComboBox** ppCombo;
        int nID;
        WORD wText;
    };
    const ComboRow rows[] = {
        {&m_pSortLabel, &m_pSortCombo, IDC_OUTPUT_SORT, IDS_OUTPUT_SORT},
        {&m_pTrayLabel, &m_pTrayCombo, IDC_OUTPUT_TRAY, IDS_OUTPUT_TRAY},
        {&m_pStapleLabel, &m_pStapleCombo, IDC_OUTPUT_STAPLE, IDS_OUTPUT_STAPLE},
        {&m_pPunchLabel, &m_pPunchCombo, IDC_OUTPUT_PUNCH, IDS_OUTPUT_PUNCH},
    };
    for (const ComboRow& row : rows) {
        *row.ppLabel = new xLabel(PageText(row.wText), this, -1, 0.0f, 0.5f);
        *row.ppCombo = new xComboBox(this, row.nID);
        (*row.ppLabel)->SetMnemonicWidget(*row.ppCombo);
    }

    m_pMirrorCheck = new xCheckBox(this, IDC_OUTPUT_MIRROR, PageText(IDS_OUTPUT_MIRROR));
    m_pReverseCheck = new xCheckBox(this, IDC_OUTPUT_REVERSE, PageText(IDS_OUTPUT_REVERSE));
    m_pButtonBox = new xBox(XORIENT_HORIZONTAL, 0, 0);
    m_pOptionsButton = new xButton(this, IDC_OUTPUT_OPTIONS, PageText(IDS_OUTPUT_OPTIONS), 0, nullptr);
}

void CTabOutput::LayOut()
{
    xTable* pTable = new xTable(kTableRows, kTableColumns, 0, nullptr, -1);
    pTable->SetColSpacing(-1, kColumnSpacing);

    // Row 0: the copies frame: spin button and range at the start, collation at the end.
    m_pCopiesFrame->SetSize(kCopiesFrameWidth, -1);
    xBox* pCopiesBox = new xBox(XORIENT_HORIZONTAL, 0, kCopiesBoxSpacing);
    pCopiesBox->SetBorderWidth(kCopiesBoxBorder);
    pCopiesBox->PackStart(m_pCopiesSpin, 0, 0, 0);
    pCopiesBox->PackStart(m_pRangeLabel, 0, 0, 0);
    pCopiesBox->PackEnd(m_pCollateCheck, 0, 0, 0);
    m_pCopiesFrame->Add(pCopiesBox);
    AttachRow(pTable, m_pCopiesFrame, 0, 0, 2);

    // Rows 1 to 4: a label and its combo box.
    const struct {
        xLabel* pLabel;
        xComboBox* pCombo;
    } rows[] = {{m_pSortLabel, m_pSortCombo},
                {m_pTrayLabel, m_pTrayCombo},
                {m_pStapleLabel, m_pStapleCombo},
                {m_pPunchLabel, m_pPunchCombo}};
    unsigned nRow = 1;
    for (const auto& row : rows) {
        AttachRow(pTable, row.pLabel, 0, nRow, 1);
        AttachRow(pTable, row.pCombo, 1, nRow, 1);
        ++nRow;
    }

    // Rows 5 and 6 the two check boxes, row 7 the Output Options button at the end of its box.
    AttachRow(pTable, m_pMirrorCheck, 0, 5, 2);
    AttachRow(pTable, m_pReverseCheck, 0, 6, 2);
    m_pButtonBox->PackEnd(m_pOptionsButton, 0, 0, 0);
    AttachRow(pTable, m_pButtonBox, 1, 7, 1);

    // The page's own box is held by this wrapper: packed into directly, not wrapped again.
    gtk_box_pack_start(GTK_BOX(m_pWidget), pTable->GetGtkWidget(), FALSE, FALSE, 0);

    // The table and the copies box are GTK's alone once packed.
    delete pCopiesBox;
    delete pTable;
}

void CTabOutput::OnInitPage()
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    m_bUpdating = -1;
    ProbeCapabilities(pInfo);

    // The model's resource file may have its own texts.
    m_pCopiesLabel->SetText(PageText(IDS_OUTPUT_COPIES));
    m_pCollateCheck->SetText(PageText(IDS_OUTPUT_COLLATE));
    m_pSortLabel->SetText(PageText(IDS_OUTPUT_SORT));
    m_pTrayLabel->SetText(PageText(IDS_OUTPUT_TRAY));
    m_pStapleLabel->SetText(PageText(IDS_OUTPUT_STAPLE));
    m_pPunchLabel->SetText(PageText(IDS_OUTPUT_PUNCH));
    m_pMirrorCheck->SetText(PageText(IDS_OUTPUT_MIRROR));
    m_pReverseCheck->SetText(PageText(IDS_OUTPUT_REVERSE));
    m_pOptionsButton->SetText(PageText(IDS_OUTPUT_OPTIONS));

    SetCopiesRange(pInfo);
    m_wMirrorOn = 1;
    ShowRows();
    m_bUpdating = 0;
    UpdateStatus();
}

void CTabOutput::ProbeCapabilities(tagDIALOGINFO* pInfo)
{
    const DWORD dwExtra1 = pInfo->psdm.priv.dmFieldsExtra1;
    CKinsokuList* pList = pInfo->pKinsokuList;

    // Sorting is offered when the model names more than one sort mode.
    m_bSort = 0;
    if ((dwExtra1 & kSortOffered) != 0) {
        m_bSort = -1;
        tagFLAGWORD modes;
        if (FirstModelRecord(pInfo, SPCID_SORT, kSortBitGroupsView, &modes)) {
            int nGroups = 0;
            for (DWORD group : kSortBitGroups) {
                nGroups += (modes.dwFlags & group) != 0 ? 1 : 0;
            }
            if (nGroups <= 1) {
                m_bSort = 0;
            }
        }
    }
    m_bCollate = (pInfo->psdm.dm.dmFields & kCollateOffered) != 0 ? 1 : 0;
    m_bMirror = (dwExtra1 & kMirrorOffered) != 0 ? -1 : 0;
    m_bReverse = (dwExtra1 & kReverseOffered) != 0 ? -1 : 0;
    m_bTray = AtomCount(pList, KINSOKU_ITEM_FINISHER) > 0 ? 1 : 0;
    m_bStaple = AtomCount(pList, KINSOKU_ITEM_STAPLE) > 1 ? 1 : 0;
    m_bPunch = AtomCount(pList, KINSOKU_ITEM_PUNCH) > 1 ? 1 : 0;

    tagFEATURERECORD features;
    tagFLAGVALUE blankPages;
    if (FirstModelRecord(pInfo, SPCID_PRINTFEATURES, 1, &features) &&
        (features.dwFlags & kPrintFeatureDriverCopies) != 0) {
        m_bOptions = -1;
    } else if (FirstModelRecord(pInfo, SPCID_BLANKPAGES, 1, &blankPages) &&
               (blankPages.dwFlags & kBlankPagesOffered) != 0) {
        m_bOptions = -1;
    } else {
        m_bOptions = 0;
    }
}

void CTabOutput::SetCopiesRange(tagDIALOGINFO* pInfo)
{
    const int nMin = 1;
    int nMax = kDefaultMaxCopies;
    tagMAXCOPIES copies;
    if (FirstModelRecord(pInfo, SPCID_MAXCOPIES, 1, &copies)) {
        const SHORT sModelMax = static_cast<SHORT>(copies.dwMaximum & 0xFFFF);
        // A limit below the minimum would give the spin button an empty range (which GTK refuses)
        // and the user no copy count at all: such a model value is not used.
        if (sModelMax >= nMin) {
            nMax = sModelMax;
        }
    }
    m_pCopiesSpin->SetRange(nMin, nMax);
    CMainWin* pMain = GetMainWindow();
    const char* pszFormat = pMain != nullptr ? pMain->LoadCommonString(IDS_COPIES_RANGE_FORMAT) : nullptr;
    gchar* pszRange = pszFormat != nullptr ? g_strdup_printf(pszFormat, nMin, nMax) : nullptr;
    m_pRangeLabel->SetText(pszRange);
    g_free(pszRange);
}

void CTabOutput::ShowRows()
{
    m_pSortLabel->Show(m_bSort);
    m_pSortCombo->Show(m_bSort);
    m_pTrayLabel->Show(m_bTray);
    m_pTrayCombo->Show(m_bTray);
    m_pStapleLabel->Show(m_bStaple);
    m_pStapleCombo->Show(m_bStaple);
    m_pPunchLabel->Show(m_bPunch);
    m_pPunchCombo->Show(m_bPunch);
    m_pMirrorCheck->Show(m_bMirror);
    m_pReverseCheck->Show(m_bReverse);
    m_pButtonBox->Show(m_bOptions);
}

void CTabOutput::OnSetActive()
{
    UpdateStatus();
}

void CTabOutput::Refresh()
{
    UpdateStatus();
}

void CTabOutput::UpdateStatus()
{
    CMainWin* pMain = GetMainWindow();
    tagDIALOGINFO* pInfo = pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
    if (pInfo == nullptr) {
        return;
    }
    m_bUpdating = -1;
    DRVDEVMODE* pdm = &pInfo->psdm;
    CKinsokuList* pList = pInfo->pKinsokuList;

    m_pCopiesSpin->SetValue(pdm->dm.dmCopies);

    const bool bCollated = pdm->dm.dmCollate == 1;
    m_pCollateCheck->SetCheck(bCollated ? 1 : 0);
    m_pCollateCheck->Enable(m_bCollate != 0 && IsAllowed(pList, KINSOKU_ITEM_COLLATE, bCollated ? 0 : 1));

    if (m_bSort != 0) {
        pMain->FillComboFromPpdOption(m_pSortCombo, pInfo->pSortList, "SortMethod", pdm, &CTabOutput::SortImage,
                                      &CTabOutput::MapSortValue);
        m_pSortCombo->SelectItemData(ItemData(MapSortValue(pdm->priv.dmSort, nullptr)));
    }
    if (m_bTray != 0) {
        FillTrayCombo(pInfo);
    }
    if (m_bStaple != 0) {
        tagVALUELIST* pStaples = pList != nullptr ? pList->GetValueList(KINSOKU_ITEM_STAPLE) : nullptr;
        pMain->FillComboFromPpdOption(m_pStapleCombo, pStaples, "Staple", pdm, &CTabOutput::StapleImage, nullptr);
        m_pStapleCombo->SelectItemData(ItemData(pdm->priv.dmStaple));
    }
    if (m_bPunch != 0) {
        tagVALUELIST* pPunches = pList != nullptr ? pList->GetValueList(KINSOKU_ITEM_PUNCH) : nullptr;
        pMain->FillComboFromPpdOption(m_pPunchCombo, pPunches, "Puncher", pInfo, &CTabOutput::PunchImage, nullptr);
        m_pPunchCombo->SelectItemData(ItemData(pdm->priv.dmPunch));
    }
    if (m_bReverse != 0) {
        m_pReverseCheck->SetCheck(pdm->priv.dmReverseOrder == 1 ? 1 : 0);
        m_pReverseCheck->Enable(IsAllowed(pList, KINSOKU_ITEM_REVERSE_ORDER, 1));
    }
    if (m_bMirror != 0) {
        m_pMirrorCheck->SetCheck(pdm->priv.dmMirror != 0 ? 1 : 0);
        m_pMirrorCheck->Enable(IsAllowed(pList, KINSOKU_ITEM_MIRROR, m_wMirrorOn));
    }
    m_bUpdating = 0;
}

void CTabOutput::FillTrayCombo(tagDIALOGINFO* pInfo)
{
    CKinsokuList* pList = pInfo->pKinsokuList;
    tagVALUELIST* pTrays = pList != nullptr ? pList->GetValueList(KINSOKU_ITEM_FINISHER) : nullptr;
    // A tray whose finisher option the queue has not installed is not offered; a tray that needs
    // no option is.
    for (tagVALUELIST* pNode = pTrays; pNode != nullptr && pInfo->pInstallOption != nullptr; pNode = pNode->pNext) {
        const SHORT sModelId = static_cast<SHORT>(FinisherToModelId(pNode->wValue));
        const tagINSTALLENTRY* pEntry = pInfo->pInstallOption->FindInCategory(SPCID_FINISHERMODES, sModelId);
        if (pEntry != nullptr && pEntry->lInstalled == 0) {
            pNode->lDisabled = 1;
        }
    }
    GetMainWindow()->FillComboFromPpdOption(m_pTrayCombo, pTrays, "Finisher", nullptr, &CTabOutput::TrayImage, nullptr);
    m_pTrayCombo->SelectItemData(ItemData(pInfo->psdm.priv.dmFinisher));
}

void CTabOutput::ApplyChange()
{
    CMainWin* pMain = GetMainWindow();
    pMain->SetModified(-1);
    pMain->RunKinsoku(nullptr, 0);
    UpdateStatus();
}

bool CTabOutput::SelectedValue(xComboBox* pCombo, WORD* pwValue)
{
    if (pCombo->GetCurSel() < 0) {
        return false;
    }
    *pwValue = static_cast<WORD>(reinterpret_cast<intptr_t>(pCombo->GetCurSelData()));
    return true;
}

void CTabOutput::OnNofityValueChanged(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_bUpdating != 0 || pInfo == nullptr || nID != IDC_OUTPUT_COPIES) {
        return;
    }
    pInfo->psdm.dm.dmCopies = static_cast<SHORT>(m_pCopiesSpin->GetValueInt());
    ApplyChange();
}

void CTabOutput::OnNofityEditChanged(int nID)
{
    if (m_bUpdating != 0 || LoadedDialogInfo() == nullptr || nID != IDC_OUTPUT_COPIES) {
        return;
    }
    GetMainWindow()->SetModified(-1);
}

void CTabOutput::OnNofitySelectChanged(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_bUpdating != 0 || pInfo == nullptr) {
        return;
    }
    PRIVDM& priv = pInfo->psdm.priv;
    WORD* pwField = nullptr;
    xComboBox* pCombo = nullptr;
    switch (nID) {
    case IDC_OUTPUT_SORT:
        pwField = &priv.dmSort;
        pCombo = m_pSortCombo;
        break;
    case IDC_OUTPUT_TRAY:
        pwField = &priv.dmFinisher;
        pCombo = m_pTrayCombo;
        break;
    case IDC_OUTPUT_STAPLE:
        pwField = &priv.dmStaple;
        pCombo = m_pStapleCombo;
        break;
    case IDC_OUTPUT_PUNCH:
        pwField = &priv.dmPunch;
        pCombo = m_pPunchCombo;
        break;
    default:
        return;
    }
    WORD wValue = 0;
    if (!SelectedValue(pCombo, &wValue)) {
        return;
    }
    *pwField = wValue;
    ApplyChange();
}

void CTabOutput::OnNofityBtnClicked(int nID)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (m_bUpdating != 0 || pInfo == nullptr) {
        return;
    }
    DRVDEVMODE& dm = pInfo->psdm;
    switch (nID) {
    case IDC_OUTPUT_COLLATE:
        dm.dm.dmCollate = m_pCollateCheck->GetCheck() != 0 ? 1 : 0;
        ApplyChange();
        break;
    case IDC_OUTPUT_MIRROR:
        // The mirror is no key of the constraint engine: no constraint run.
        dm.priv.dmMirror = m_pMirrorCheck->GetCheck() != 0 ? m_wMirrorOn : 0;
        GetMainWindow()->SetModified(-1);
        UpdateStatus();
        break;
    case IDC_OUTPUT_REVERSE:
        dm.priv.dmReverseOrder = m_pReverseCheck->GetCheck() != 0 ? 1 : 0;
        ApplyChange();
        break;
    case IDC_OUTPUT_OPTIONS: {
        CDlgAdvance dialog(GetMainWindow());
        if (dialog.DoModal() == IDOK) {
            ApplyChange();
        }
        break;
    }
    default:
        break;
    }
}

unsigned short CTabOutput::SortImage(long lValue, void* pContext)
{
    const DRVDEVMODE* pdm = static_cast<const DRVDEVMODE*>(pContext);
    if (lValue != 0 && lValue != 2 && lValue != 4) {
        return 0;
    }
    const unsigned short collated = pdm != nullptr && pdm->dm.dmCollate != 0 ? 1 : 0;
    return static_cast<unsigned short>(kSortImageBase + lValue + collated);
}

unsigned short CTabOutput::TrayImage(long lValue, void*)
{
    switch (lValue) {
    case 0:
        return 2340;
    case 1:
    case 2:
        return 2341;
    case 257:
        return 2342;
    case 513:
    case 514:
    case 771:
        return 2343;
    case 769:
        return 2344;
    case 770:
        return 2345;
    default:
        return 0;
    }
}

unsigned short CTabOutput::StapleImage(long lValue, void* pContext)
{
    if (lValue >= 0 && lValue <= 5) {
        return static_cast<unsigned short>(kStapleImageBase + lValue);
    }
    if (lValue == 6) {
        const DRVDEVMODE* pdm = static_cast<const DRVDEVMODE*>(pContext);
        return GetEffectiveOrientation(pdm) == 2 ? kStapleTurnedImage : kStapleImageBase + 6;
    }
    return 0;
}

unsigned short CTabOutput::PunchImage(long lValue, void* pContext)
{
    tagDIALOGINFO* pInfo = static_cast<tagDIALOGINFO*>(pContext);
    if (pInfo == nullptr || lValue < 1 || lValue > 3) {
        return kPunchNoneImage;
    }
    const SHORT sPosition =
        GetStaplePosition(&pInfo->mh, pInfo->pInstallOption, &pInfo->psdm, static_cast<SHORT>(lValue));
    if (sPosition < 2 || sPosition > 4) {
        return kPunchNoneImage;
    }
    // Three pictures per punch value, one per hole position 2, 3 and 4.
    return static_cast<unsigned short>(kPunchNoneImage + 1 + (lValue - 1) * 3 + (sPosition - 2));
}

long CTabOutput::MapSortValue(long lValue, void*)
{
    switch (lValue) {
    case 1:
        return 0;
    case 3:
        return 2;
    case 5:
        return 4;
    default:
        return lValue;
    }
}
