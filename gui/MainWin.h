// The settings program's one top-level window: the list of the driver's queues, the notebook of
// settings pages and the OK, Cancel, Apply and Restore Defaults buttons. It loads one queue at a
// time, tracks whether the user changed anything, asks before changes would be lost, and saves.
// It also answers every text lookup of the program and fills the combo boxes of pages and dialogs.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"
#include "core/dialog/DialogInfo.h"
#include "gui/ComboTypes.h"
#include "gui/LoadedQueue.h"
#include "gui/widgets/RctFile.h"
#include "gui/widgets/xWindow.h"

class CMainTabs;
class xButton;
class xComboBox;
class xEntry;
class xListBox;
class xStockButton;

// Control ids of the main window.
enum {
    IDC_MAIN_PRINTERLIST = 0,
    IDC_MAIN_TABS = 1,
    IDC_MAIN_DEFAULTS = 2,
    IDC_MAIN_APPLY = 3,
    IDC_MAIN_OK = 4,
    IDC_MAIN_CANCEL = 5,
};

// Section-0 texts of the main window.
enum {
    IDS_MAIN_TITLE = 100,
    IDS_MAIN_DEFAULTS = 101,
    IDS_MAIN_PRINTERS = 102,
    IDS_MAIN_SAVE_PROMPT = 103,
    IDS_CANNOT_SAVE = 3126,
    IDS_FILES_MISSING = 20023,
};

// The common resource file, looked up in the data directory.
inline constexpr const char kCommonRctName[] = "L_K4WQTN.RCT";

class CMainWin : public xWindow {
public:
    // The window over the application's libcups table (not owned): title and icon set, the common
    // resource file loaded; the content is built by OnCreate.
    explicit CMainWin(tagCUPSFUNC* pCups);
    ~CMainWin() override;

    void OnNofityBtnClicked(int nID) override;
    // The printer list's selection loads the selected queue.
    void OnNofitySelectChanged(int nID) override;
    // Closing: a modified queue is offered for saving; the window stays open when that is
    // cancelled or the save fails.
    int OnDeleteEvent() override;
    // Builds the layout, makes the user's conf directories and adopts waiting overlay files.
    void OnCreate() override;

    // Lists the driver's queues and loads the first; with none, hides every page.
    void FillPrinterList();

    tagDIALOGINFO* GetDialogInfo() const { return m_queue.DialogInfo(); }
    // The text of (section, id): the loaded model's resource file, then the common resource file,
    // then the built-in table; NULL when none has it.
    const char* LoadString(WORD wSection, WORD wID);
    const char* LoadCommonString(WORD wID) { return LoadString(0, wID); }
    // A fresh temporary copy of the loaded queue's PPD (the caller removes it); NULL when no queue
    // is loaded or CUPS gives none.
    const char* GetPPDFile();

    // Loads the queue (NULL: only unloads). The loaded queue again changes nothing. A modified
    // queue is offered for saving first; Cancel, or a save that fails, keeps it loaded and
    // selected and returns false. False also when the load fails, which leaves nothing loaded.
    bool LoadPrinter(const char* pszName);
    void UnloadPrinter();
    void RunKinsoku(DRVDEVMODE* pdm, SHORT sMode);
    // A change (-1) or a clean state (0); nothing while busy. The change tracker's follow-up
    // changes run first; Apply is sensitive exactly while the settings are modified.
    void SetModified(int bModified);
    void SetBusy(int bBusy) { m_bBusy = bBusy; }
    // The PPD option defaults through the companion program and the settings in the saved-settings
    // file. True with no queue loaded; on failure the user is told and false is returned.
    bool SaveSettings();
    // Has the companion program install a rewritten PPD (custom papers) for the loaded queue.
    void SaveCustomPaper(const char* pszPath);

    void FillComboFromTable(xComboBox* pCombo, const tagCOMBOITEM* pItems, int nCount);
    void FillComboFromList(xComboBox* pCombo, tagVALUELIST* pList, void* pContext, PFNVALUENAME pfnName,
                           PFNVALUEIMAGE pfnImage, PFNMAPVALUE pfnMap);
    void FillComboFromPpdOption(xComboBox* pCombo, tagVALUELIST* pList, const char* pszKeyword, void* pContext,
                                PFNVALUEIMAGE pfnImage, PFNMAPVALUE pfnMap);
    // The paper sizes of the loaded queue, custom papers included, read afresh from CUPS; in output
    // mode for the layout of pdm.
    void FillPaperSizeCombo(xComboBox* pCombo, DRVDEVMODE* pdm, int bOutputMode, int bInputMode);

    int IsModified() const { return m_bModified; }
    const char* GetLoadedName() const { return m_queue.Name(); }
    xListBox* GetPrinterList() const { return m_pPrinterList; }
    CMainTabs* GetTabs() const { return m_pTabs; }
    CLoadedQueue& GetQueue() { return m_queue; }

private:
    void BuildLayout();
    void ShowCannotSave();

    xStockButton* m_pBtnOK = nullptr;
    xStockButton* m_pBtnCancel = nullptr;
    xStockButton* m_pBtnApply = nullptr;
    xButton* m_pBtnDefaults = nullptr;
    xListBox* m_pPrinterList = nullptr;
    CMainTabs* m_pTabs = nullptr;
    xEntry* m_pStatus = nullptr;
    tagCUPSFUNC* m_pCups;
    CRctFile m_CommonRct;
    CRctFile m_ModelRct;
    int m_bBusy = 0;
    int m_bModified = 0;
    CLoadedQueue m_queue;
};

// The main window of the program's application object; NULL before it is made.
CMainWin* GetMainWindow();
