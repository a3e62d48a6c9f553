// The zoom dialog: the zoom percentage within what the model and the paper allow, the position of
// the image on the sheet and the output paper. It edits a copy of the working settings and
// writes the copy back whole on OK, which also switches the layout to zoom.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xDialog.h"

class xComboBox;
class xFrame;
class xLabel;
class xSpinButton;
class xToggleButton;

// Control ids of the zoom dialog: the position toggles are column + 3 x row of a 3 x 3 grid.
enum {
    IDC_ZOOM_POSITION_FIRST = 0,  // left-top
    IDC_ZOOM_POSITION_LAST = 8,   // right-bottom
    IDC_ZOOM_SCALE = 10,
    IDC_ZOOM_OUTPUTPAPER = 11,
};

class CDlgZoom : public xDialog {
public:
    // A copy of the loaded queue's working settings, laid out as zoom.
    explicit CDlgZoom(xWidget* pParent);
    ~CDlgZoom() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // The zoom range of the model and paper; a stored zoom outside it is brought into it.
    void OnInitDialog() override;
    // OK writes the copy over the working settings; anything else leaves them alone.
    void OnEndDialog(int nResult) override;

    // Every control from the copy.
    void UpdateStatus();

    const DRVDEVMODE& GetDevmode() const { return m_dm; }

private:
    static constexpr int kPositionCount = 9;

    xLabel* m_pZoomLabel = nullptr;
    xSpinButton* m_pZoomSpin = nullptr;
    xLabel* m_pZoomRange = nullptr;
    xFrame* m_pPositionFrame = nullptr;
    xToggleButton* m_pPositionToggles[kPositionCount] = {};
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
};
