// The pages-per-sheet dialog: how many pages go on one sheet, in which order, with or without a
// border, and on which output paper. It edits a copy of the working settings and writes the copy
// back whole on OK, which also switches the layout to pages per sheet.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xDialog.h"

class xComboBox;
class xFrame;
class xLabel;
class xToggleButton;

// Control ids of the pages-per-sheet dialog.
enum {
    IDC_NUP_2UP = 0,  // 2, 4, 6, 9 and 16 pages per sheet: ids 0 to 4
    IDC_NUP_16UP = 4,
    IDC_NUP_ORDER_FIRST = 6,  // order toggles 6 to 9
    IDC_NUP_ORDER_LAST = 9,
    IDC_NUP_BORDER = 11,
    IDC_NUP_OUTPUTPAPER = 12,
};

class CDlgNup : public xDialog {
public:
    // A copy of the loaded queue's working settings, laid out as pages per sheet.
    explicit CDlgNup(xWidget* pParent);
    ~CDlgNup() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnInitDialog() override;
    // OK writes the copy over the working settings; anything else leaves them alone.
    void OnEndDialog(int nResult) override;

    // Every control from the copy.
    void UpdateStatus();

    const DRVDEVMODE& GetDevmode() const { return m_dm; }

private:
    static constexpr int kNupCount = 5;
    static constexpr int kOrderCount = 4;

    xFrame* m_pNupFrame = nullptr;
    xFrame* m_pOrderFrame = nullptr;
    xLabel* m_pBorderLabel = nullptr;
    xComboBox* m_pBorderCombo = nullptr;
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    xToggleButton* m_pNupToggles[kNupCount] = {};
    xToggleButton* m_pOrderToggles[kOrderCount] = {};
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
};
