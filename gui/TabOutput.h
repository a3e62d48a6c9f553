// The Output page of the settings notebook: copies and collation, sort method, output tray,
// staple, punch, mirror printing and reverse page order, and the button that opens the Output
// Options dialog. The page keeps no settings of its own: every control reads and writes the working
// settings of the main window's dialog-info record, and every change goes through the main window
// (marked modified, the constraint engine run, the page refreshed).
#pragma once

#include "core/WinTypes.h"
#include "gui/widgets/xTabBase.h"

class xBox;
class xButton;
class xCheckBox;
class xComboBox;
class xFrame;
class xLabel;
class xSpinButton;
struct tagDIALOGINFO;

// Control ids of the page.
enum {
    IDC_OUTPUT_COPIES = 21,
    IDC_OUTPUT_COLLATE = 22,
    IDC_OUTPUT_SORT = 23,
    IDC_OUTPUT_TRAY = 24,
    IDC_OUTPUT_STAPLE = 25,
    IDC_OUTPUT_PUNCH = 26,
    IDC_OUTPUT_MIRROR = 27,
    IDC_OUTPUT_REVERSE = 28,
    IDC_OUTPUT_OPTIONS = 29,
};

// The page's text section (also its control id) and its texts.
enum {
    IDS_OUTPUT_SECTION = 150,
    IDS_OUTPUT_TITLE = 0,
    IDS_OUTPUT_COPIES = 161,
    IDS_OUTPUT_COPIES_RANGE = 164,
    IDS_OUTPUT_COLLATE = 165,
    IDS_OUTPUT_SORT = 166,
    IDS_OUTPUT_TRAY = 168,
    IDS_OUTPUT_STAPLE = 170,
    IDS_OUTPUT_PUNCH = 172,
    IDS_OUTPUT_MIRROR = 174,
    IDS_OUTPUT_REVERSE = 175,
    IDS_OUTPUT_OPTIONS = 176,
};

class CTabOutput : public xTabBase {
public:
    // Builds every control with its texts of section 150 (pszLabel: the tab's text) and lays them
    // out; the controls are filled by OnInitPage once a queue is loaded.
    CTabOutput(xWidget* pNoteBook, const char* pszLabel, int nID);
    ~CTabOutput() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityEditChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // After a queue is loaded: asks the model what the page offers, shows the rows that apply,
    // sets the copies range and fills every control. Nothing without a loaded queue.
    void OnInitPage() override;
    void OnSetActive() override;
    void Refresh() override;

    // Writes every control from the working settings, under the update guard. Nothing without a
    // loaded queue.
    void UpdateStatus();

    // Pictures of the combo rows (built-in image ids, 0 for none). Sort: the context is the
    // settings record, whose collation picks the collated picture. Staple: the context is the
    // settings record, whose effective orientation turns the picture of value 6. Punch: the
    // context is the dialog-info record, whose finisher gives the hole position.
    static unsigned short SortImage(long lValue, void* pContext);
    static unsigned short TrayImage(long lValue, void* pContext);
    static unsigned short StapleImage(long lValue, void* pContext);
    static unsigned short PunchImage(long lValue, void* pContext);
    // The sort combo offers the methods 0, 2 and 4: the collated variants 1, 3 and 5 fold into them.
    static long MapSortValue(long lValue, void* pContext);

private:
    void BuildControls();
    void LayOut();
    void ProbeCapabilities(tagDIALOGINFO* pInfo);
    void SetCopiesRange(tagDIALOGINFO* pInfo);
    void ShowRows();
    void FillTrayCombo(tagDIALOGINFO* pInfo);
    // The main window's change protocol: modified, constraint run, controls rewritten.
    void ApplyChange();
    // The item data of the combo's selected row; false when no row is selected.
    static bool SelectedValue(xComboBox* pCombo, WORD* pwValue);

    xFrame* m_pCopiesFrame = nullptr;
    xLabel* m_pCopiesLabel = nullptr;
    xSpinButton* m_pCopiesSpin = nullptr;
    xLabel* m_pRangeLabel = nullptr;
    xCheckBox* m_pCollateCheck = nullptr;
    xLabel* m_pSortLabel = nullptr;
    xComboBox* m_pSortCombo = nullptr;
    xLabel* m_pTrayLabel = nullptr;
    xComboBox* m_pTrayCombo = nullptr;
    xLabel* m_pStapleLabel = nullptr;
    xComboBox* m_pStapleCombo = nullptr;
    xLabel* m_pPunchLabel = nullptr;
    xComboBox* m_pPunchCombo = nullptr;
    xCheckBox* m_pMirrorCheck = nullptr;
    xCheckBox* m_pReverseCheck = nullptr;
    xBox* m_pButtonBox = nullptr;
    xButton* m_pOptionsButton = nullptr;

    // -1 while the page writes its own controls: every handler returns at once.
    SHORT m_bUpdating = 0;
    // What the model offers: sort (0 / -1); tray, staple, punch and collate (0 / 1); mirror,
    // reverse order and the Output Options button (0 / -1).
    SHORT m_bSort = 0;
    SHORT m_bTray = 0;
    SHORT m_bStaple = 0;
    SHORT m_bPunch = 0;
    SHORT m_bCollate = 0;
    SHORT m_bMirror = 0;
    SHORT m_bReverse = 0;
    SHORT m_bOptions = 0;
    // The value a ticked mirror box writes.
    WORD m_wMirrorOn = 1;
};
