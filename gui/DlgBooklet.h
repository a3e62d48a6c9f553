// The booklet dialog: binding side, booklet unit, gutter and output paper. It edits a copy of the
// working settings and writes the copy back whole on OK, which also switches the layout to
// booklet.
#pragma once

#include "core/WinTypes.h"
#include "core/printerinfo/MMInch.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xDialog.h"

class xComboBox;
class xFrame;
class xLabel;
class xSpinButton;
class xToggleButton;

// Control ids of the booklet dialog.
enum {
    IDC_BOOKLET_LEFT = 0,
    IDC_BOOKLET_RIGHT = 1,
    IDC_BOOKLET_UNIT = 2,
    IDC_BOOKLET_GUTTER = 3,
    IDC_BOOKLET_OUTPUTPAPER = 4,
};

class CDlgBooklet : public xDialog {
public:
    // A copy of the loaded queue's working settings, laid out as a booklet.
    explicit CDlgBooklet(xWidget* pParent);
    ~CDlgBooklet() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    void OnInitDialog() override;
    // OK writes the copy over the working settings; anything else leaves them alone.
    void OnEndDialog(int nResult) override;

    // Every control from the copy.
    void UpdateStatus();

    const DRVDEVMODE& GetDevmode() const { return m_dm; }

private:
    xFrame* m_pBindingFrame = nullptr;
    xToggleButton* m_pLeftToggle = nullptr;
    xToggleButton* m_pRightToggle = nullptr;
    xLabel* m_pUnitLabel = nullptr;
    xComboBox* m_pUnitCombo = nullptr;
    xLabel* m_pGutterLabel = nullptr;
    xSpinButton* m_pGutterSpin = nullptr;
    xLabel* m_pGutterRange = nullptr;
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
    WORD m_MMMetric = 0;  // 1 millimetres, 0 inches
    CMMInch m_mmInch;
};
