// The Output Options dialog: who makes the copies of a job (the printer or the driver) and whether
// blank pages are printed. It edits a copy of the main window's working settings and writes the
// whole copy back only on OK.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xDialog.h"

class xCheckBox;
class xComboBox;
class xLabel;

// Control ids of the dialog.
enum {
    IDC_ADVANCE_COPIES = 0,
    IDC_ADVANCE_BLANK_PAGES = 1,
};

// The dialog's text section and its texts.
enum {
    IDS_ADVANCE_SECTION = 500,
    IDS_ADVANCE_TITLE = 0,
    IDS_ADVANCE_COPIES = 511,
    IDS_ADVANCE_BLANK_PAGES = 514,
};

class CDlgAdvance : public xDialog {
public:
    // Builds the dialog over a copy of the loaded queue's working settings (all zero without one).
    explicit CDlgAdvance(xWidget* pParent);
    ~CDlgAdvance() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    // Offers the copies choice when the model lets the driver make copies and the blank-pages
    // check box when the blank-page setting applies, then fills them.
    void OnInitDialog() override;
    // IDOK: the whole copy replaces the main window's working settings.
    void OnEndDialog(int nResult) override;

    // Sets the controls from the copy under the update guard.
    void UpdateStatus();

    const DRVDEVMODE& GetSettings() const { return m_dm; }

private:
    xLabel* m_pCopiesLabel = nullptr;
    xComboBox* m_pCopiesCombo = nullptr;
    xCheckBox* m_pBlankPagesCheck = nullptr;
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
    WORD m_bShowCopies = 0;
    WORD m_bShowBlankPages = 0;
};
