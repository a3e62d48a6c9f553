#include "gui/MainWin.h"

#include "core/InstallPaths.h"
#include "core/codec/PpdChoiceId.h"
#include "core/util/StringUtil.h"
#include "gui/ConfDirs.h"
#include "gui/CustomPaperIds.h"
#include "gui/DriverQueues.h"
#include "gui/MainTabs.h"
#include "gui/OverlayAdoption.h"
#include "gui/PaperSizeRows.h"
#include "gui/widgets/UiTextLookup.h"
#include "gui/widgets/xApp.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xMessageBox.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kPrinterListWidth = 150;
constexpr int kSpacing = 10;
constexpr WORD kWindowIcon = 100;

gpointer ItemData(long long value)
{
    return reinterpret_cast<gpointer>(static_cast<intptr_t>(value));
}

}  // namespace

CMainWin* GetMainWindow()
{
    xApp* pApp = xApp::GetApp();
    return pApp != nullptr ? static_cast<CMainWin*>(pApp->GetMainWindow()) : nullptr;
}

CMainWin::CMainWin(tagCUPSFUNC* pCups)
    : xWindow(nullptr), m_pCups(pCups), m_CommonRct(pCups), m_ModelRct(pCups), m_queue(pCups)
{
    m_CommonRct.Load(orv::InstalledPath(orv::kModelDataDir).c_str(), kCommonRctName);
    SetTitle(LoadCommonString(IDS_MAIN_TITLE));
    SetIcon(kWindowIcon);
}

CMainWin::~CMainWin()
{
    UnloadPrinter();
    delete m_pTabs;
    delete m_pPrinterList;
    delete m_pBtnOK;
    delete m_pBtnCancel;
    delete m_pBtnApply;
    delete m_pBtnDefaults;
    delete m_pStatus;
    m_CommonRct.RemoveAll();
    m_ModelRct.RemoveAll();
}

void CMainWin::OnCreate()
{
    BuildLayout();
    MakeConfDirs();
    AdoptOverlayFiles();
}

void CMainWin::BuildLayout()
{
    m_pPrinterList = new xListBox(this, IDC_MAIN_PRINTERLIST, LoadCommonString(IDS_MAIN_PRINTERS));
    m_pPrinterList->SetSize(kPrinterListWidth, -1);
    m_pTabs = new CMainTabs(this, IDC_MAIN_TABS);
    m_pBtnOK = new xStockButton(this, IDC_MAIN_OK, GTK_STOCK_OK);
    m_pBtnCancel = new xStockButton(this, IDC_MAIN_CANCEL, GTK_STOCK_CANCEL);
    m_pBtnApply = new xStockButton(this, IDC_MAIN_APPLY, GTK_STOCK_APPLY);
    m_pBtnDefaults = new xButton(this, IDC_MAIN_DEFAULTS, LoadCommonString(IDS_MAIN_DEFAULTS), 0, GTK_STOCK_REDO);
    m_pStatus = new xEntry(this, 0, 1);

    // The boxes and the paned container are GTK's alone once built: their wrappers go.
    xBox* pMain = new xBox(XORIENT_VERTICAL, 0, kSpacing);
    pMain->SetBorderWidth(kSpacing);
    Add(pMain);
    xPaned* pPaned = new xPaned(XORIENT_HORIZONTAL);
    pPaned->Pack1(m_pPrinterList, 0, 0);
    pPaned->Pack2(m_pTabs, 0, 0);
    pMain->PackStart(pPaned, -1, -1, 0);

    xBox* pButtonRow = new xBox(XORIENT_HORIZONTAL, 0, kSpacing);
    xButtonBox* pButtons = new xButtonBox(XORIENT_HORIZONTAL, GTK_BUTTONBOX_END, kSpacing);
    pButtons->Add(m_pBtnApply);
    pButtons->Add(m_pBtnOK);
    pButtons->Add(m_pBtnCancel);
    pButtonRow->PackEnd(pButtons, 0, 0, 0);
    pButtonRow->PackEnd(m_pBtnDefaults, 0, 0, 0);
    pButtonRow->PackEnd(m_pStatus, 0, 0, 0);
    pMain->PackEnd(pButtonRow, 0, 0, 0);
    m_pBtnApply->Enable(0);

    delete pButtons;
    delete pButtonRow;
    delete pPaned;
    delete pMain;
}

void CMainWin::FillPrinterList()
{
    m_pStatus->Show(0);
    m_pPrinterList->ResetContent();
    if (m_pCups == nullptr || m_pCups->handle == nullptr) {
        std::printf("libcups could not be loaded: no printer can be listed\n");
        std::fflush(stdout);
        const char* pszText = LoadCommonString(IDS_FILES_MISSING);
        xMessageBox(this, MB_OK | MB_ICONERROR, nullptr, "%s", pszText != nullptr ? pszText : "");
    }
    for (const std::string& name : ListDriverQueues(m_pCups)) {
        m_pPrinterList->AddString(name.c_str(), nullptr, 0);
    }
    if (m_pPrinterList->GetCount() == 0) {
        m_pTabs->InitPages();
    } else {
        m_pPrinterList->SetCurSel(0);
    }
}

void CMainWin::OnNofitySelectChanged(int nID)
{
    if (nID != IDC_MAIN_PRINTERLIST) {
        return;
    }
    char* pszName = m_pPrinterList->GetCurSelText();
    // A failed load leaves nothing loaded; a cancelled prompt (or a failed save) keeps the queue
    // that was loaded, and its row is selected again.
    LoadPrinter(pszName);
    g_free(pszName);
}

const char* CMainWin::LoadString(WORD wSection, WORD wID)
{
    return LookupUiText(&m_ModelRct, &m_CommonRct, wSection, wID);
}

const char* CMainWin::GetPPDFile()
{
    if (!m_queue.IsLoaded() || m_pCups->cupsGetPPD == nullptr) {
        return nullptr;
    }
    return m_pCups->cupsGetPPD(m_queue.Name());
}

bool CMainWin::LoadPrinter(const char* pszName)
{
    if (pszName == nullptr && !m_queue.IsLoaded()) {
        return true;
    }
    if (m_queue.IsLoaded()) {
        if (SafeStrcmp(pszName, m_queue.Name()) == 0) {
            return true;
        }
        if (m_bModified != 0) {
            const int nStyle = m_pTabs->QuerySaveButtons(0) | MB_ICONQUESTION;
            const char* pszPrompt = LoadCommonString(IDS_MAIN_SAVE_PROMPT);
            const int nAnswer = xMessageBox(this, nStyle, nullptr, "%s", pszPrompt != nullptr ? pszPrompt : "");
            if (nAnswer == IDCANCEL || (nAnswer == IDYES && !SaveSettings())) {
                m_pPrinterList->SelectString(m_queue.Name());
                return false;
            }
        }
        UnloadPrinter();
    }
    bool loaded = true;
    if (pszName != nullptr) {
        loaded = m_queue.Load(pszName);
        if (loaded && !m_queue.ModelRctName().empty()) {
            m_ModelRct.Load(orv::InstalledPath(orv::kModelDataDir).c_str(), m_queue.ModelRctName().c_str());
        }
    }
    SetBusy(-1);
    m_pTabs->InitPages();
    SetBusy(0);
    SetModified(0);
    return loaded;
}

void CMainWin::UnloadPrinter()
{
    m_queue.Unload();
    // The next model may name no resource file of its own: none of this model's texts stay.
    m_ModelRct.RemoveAll();
}

void CMainWin::RunKinsoku(DRVDEVMODE* pdm, SHORT sMode)
{
    m_queue.RunKinsoku(pdm, sMode);
}

void CMainWin::SetModified(int bModified)
{
    if (m_bBusy != 0) {
        return;
    }
    m_queue.TrackChange();
    m_bModified = bModified;
    if (m_pBtnApply != nullptr) {
        m_pBtnApply->Enable(bModified != 0 ? -1 : 0);
    }
}

void CMainWin::ShowCannotSave()
{
    const char* pszText = LoadCommonString(IDS_CANNOT_SAVE);
    xMessageBox(this, MB_OK | MB_ICONERROR, nullptr, "%s", pszText != nullptr ? pszText : "");
}

bool CMainWin::SaveSettings()
{
    if (m_queue.Save()) {
        return true;
    }
    ShowCannotSave();
    return false;
}

void CMainWin::SaveCustomPaper(const char* pszPath)
{
    if (m_queue.IsLoaded() && !m_queue.SaveCustomPaper(pszPath)) {
        ShowCannotSave();
    }
}

void CMainWin::OnNofityBtnClicked(int nID)
{
    switch (nID) {
    case IDC_MAIN_DEFAULTS:
        if (m_queue.RestoreDefaults()) {
            SetModified(-1);
            RunKinsoku(nullptr, 0);
            m_pTabs->RefreshAll();
        }
        break;
    case IDC_MAIN_APPLY:
        // A failed save leaves the changes marked as unsaved.
        if (m_pTabs->ValidateAll() != 0 && SaveSettings()) {
            SetModified(0);
        }
        break;
    case IDC_MAIN_OK:
        if (m_pTabs->ValidateAll() != 0 && SaveSettings()) {
            SetModified(0);
            PostDeleteEvent();
        }
        break;
    case IDC_MAIN_CANCEL:
        PostDeleteEvent();
        break;
    default:
        break;
    }
}

int CMainWin::OnDeleteEvent()
{
    return LoadPrinter(nullptr) ? 0 : -1;
}

void CMainWin::FillComboFromTable(xComboBox* pCombo, const tagCOMBOITEM* pItems, int nCount)
{
    if (pCombo == nullptr) {
        return;
    }
    pCombo->ResetContent();
    for (int i = 0; i < nCount && pItems != nullptr; ++i) {
        const char* pszText = LoadCommonString(static_cast<WORD>(pItems[i].nStrID & 0xFFFF));
        if (pszText != nullptr) {
            pCombo->AddString(pszText, ItemData(pItems[i].llData), 0);
        }
    }
}

void CMainWin::FillComboFromList(xComboBox* pCombo, tagVALUELIST* pList, void* pContext, PFNVALUENAME pfnName,
                                 PFNVALUEIMAGE pfnImage, PFNMAPVALUE pfnMap)
{
    if (pCombo == nullptr) {
        return;
    }
    pCombo->ResetContent();
    for (tagVALUELIST* pNode = pList; pNode != nullptr; pNode = pNode->pNext) {
        if (pNode->lDisabled != 0) {
            continue;
        }
        const long lValue = pNode->wValue;
        const char* pszText = pfnName != nullptr ? pfnName(lValue, pContext)
                                                 : LoadCommonString(static_cast<WORD>(pNode->lData1 & 0xFFFF));
        long lRowValue = lValue;
        if (pfnMap != nullptr) {
            lRowValue = pfnMap(lValue, pContext);
            if (pCombo->FindItemData(ItemData(lRowValue)) >= 0) {
                continue;
            }
        }
        if (pszText != nullptr) {
            pCombo->AddString(pszText, ItemData(lRowValue), pfnImage != nullptr ? pfnImage(lValue, pContext) : 0);
        }
    }
}

void CMainWin::FillComboFromPpdOption(xComboBox* pCombo, tagVALUELIST* pList, const char* pszKeyword, void* pContext,
                                      PFNVALUEIMAGE pfnImage, PFNMAPVALUE pfnMap)
{
    if (pCombo == nullptr) {
        return;
    }
    pCombo->ResetContent();
    ppd_file_t* pPpd = m_queue.Ppd();
    if (pszKeyword == nullptr || pPpd == nullptr || m_pCups->ppdFindOption == nullptr) {
        return;
    }
    ppd_option_t* pOption = m_pCups->ppdFindOption(pPpd, pszKeyword);
    if (pOption == nullptr) {
        return;
    }
    if (pList != nullptr) {
        for (tagVALUELIST* pNode = pList; pNode != nullptr; pNode = pNode->pNext) {
            if (pNode->lDisabled != 0) {
                continue;
            }
            long lValue = pNode->wValue;
            if (pfnMap != nullptr) {
                lValue = pfnMap(lValue, pContext);
                if (pCombo->FindItemData(ItemData(lValue)) >= 0) {
                    continue;
                }
            }
            ppd_choice_t* pChoice = FindChoiceById(pOption, lValue);
            if (pChoice != nullptr) {
                pCombo->AddString(pChoice->text, ItemData(lValue), pfnImage != nullptr ? pfnImage(lValue, pContext) : 0);
            }
        }
        return;
    }
    for (int i = 0; i < pOption->num_choices; ++i) {
        long lNumber = 0;
        if (GetPpdChoiceId(pOption->choices[i].code, &lNumber) == 0) {
            continue;
        }
        const long lValue = pfnMap != nullptr ? pfnMap(lNumber, pContext) : lNumber;
        pCombo->AddString(pOption->choices[i].text, ItemData(lValue),
                          pfnImage != nullptr ? pfnImage(lValue, pContext) : 0);
    }
}

void CMainWin::FillPaperSizeCombo(xComboBox* pCombo, DRVDEVMODE* pdm, int bOutputMode, int bInputMode)
{
    if (pCombo == nullptr || pdm == nullptr) {
        return;
    }
    if (m_queue.IsLoaded()) {
        const char* pszCopy = GetPPDFile();
        std::vector<WORD> ids;
        if (pszCopy != nullptr) {
            ids = ReadCustomPaperIds(pszCopy);
            unlink(pszCopy);
        }
        m_queue.SetCustomPapers(ids);
        m_queue.ReopenPpd();
    }
    pCombo->ResetContent();
    const std::vector<PaperSizeRow> rows =
        BuildPaperSizeRows(GetDialogInfo(), pdm, bOutputMode != 0, bInputMode != 0,
                           [this](WORD wID) { return LoadCommonString(wID); });
    for (const PaperSizeRow& row : rows) {
        pCombo->AddString(row.text.c_str(), ItemData(row.value), 0);
    }
}
