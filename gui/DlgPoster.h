// The poster dialog: how many tiles the page is printed on (only as many as the printer can
// join), their overlap, and the output paper. It edits a copy of the working settings and writes
// the copy back whole on OK, which also switches the layout to poster.
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

// Control ids of the poster dialog.
enum {
    IDC_POSTER_1X2 = 0,  // 1 x 2 in portrait, 2 x 1 in landscape
    IDC_POSTER_2X2 = 1,
    IDC_POSTER_3X3 = 2,
    IDC_POSTER_4X4 = 3,
    IDC_POSTER_OVERLAP = 5,
    IDC_POSTER_OUTPUTPAPER = 6,
};

class CDlgPoster : public xDialog {
public:
    // A copy of the loaded queue's working settings, laid out as a poster; tiles the layout does
    // not offer become 2 x 2.
    explicit CDlgPoster(xWidget* pParent);
    ~CDlgPoster() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    void OnInitDialog() override;
    // OK writes the copy over the working settings; anything else leaves them alone.
    void OnEndDialog(int nResult) override;

    // Every control from the copy; the styles the printer cannot join are insensitive.
    void UpdateStatus();

    const DRVDEVMODE& GetDevmode() const { return m_dm; }

private:
    static constexpr int kStyleCount = 4;

    xFrame* m_pStyleFrame = nullptr;
    xToggleButton* m_pStyleToggles[kStyleCount] = {};
    xLabel* m_pOverlapLabel = nullptr;
    xSpinButton* m_pOverlapSpin = nullptr;
    xLabel* m_pOverlapRange = nullptr;
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
    WORD m_MMMetric = 0;  // 1 millimetres, 0 inches
    CMMInch m_mmInch;
};
