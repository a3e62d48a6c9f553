// The Adjustment page of the colour adjustment dialog: the adjustment type (saturation, RGB
// balance or CMYK balance), one slider and spin per value of the chosen type, the brightness, and
// a live preview of the photograph rendered through the preview colour engine.
#pragma once

#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/dlgcoloradj/PreviewPicture.h"
#include "gui/widgets/xTabBase.h"

#include <memory>
#include <vector>

class xButton;
class xComboBox;
class xFrame;
class xImage;
class xLabel;
class xSlider;
class xSpinButton;

class CDlgColorAdj::CTabAdjustment : public xTabBase {
public:
    // The rows of the type frame: saturation; red, green, blue; cyan, magenta, yellow, black.
    static constexpr int kRows = 8;

    // Owned by the dialog, whose working copy it edits.
    CTabAdjustment(CDlgColorAdj* pDialog, const char* pszLabel, int nID);
    ~CTabAdjustment() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // Lines the row labels up, fills the type list and shows the settings (rendering the preview).
    void OnInitPage() override;

    // Moves the working copy's colour-control block into the controls and renders the preview
    // when the block changed since the last render.
    void UpdateStatus();

    xImage* GetPreviewImage() const { return m_pPreview; }

private:
    struct Row {
        xLabel* pLabel;
        xSlider* pSlider;
        xSpinButton* pSpin;
    };

    CLRCTRL& Block();
    // The field a slider or spin id edits; NULL for other ids.
    SHORT* FieldOfControl(int nID);
    void ShowRow(const Row& row, int bShow);
    void SetRowValue(const Row& row, SHORT sValue);
    void RenderPreview();
    template <typename T>
    T* Layout(T* pWidget);

    CDlgColorAdj* m_pDialog;
    xComboBox* m_pType;
    xFrame* m_pTypeFrame;
    Row m_rows[kRows];
    xFrame* m_pBrightnessFrame;
    xSlider* m_pBrightnessSlider;
    xSpinButton* m_pBrightnessSpin;
    xImage* m_pPreview;
    xButton* m_pDefaults;
    WORD m_wUpdating;
    CPreviewPicture m_picture;
    CLRCTRL m_lastRendered;
    bool m_bRendered = false;
    // The anonymous boxes and tables the controls are laid out in.
    std::vector<std::unique_ptr<xWidget>> m_layout;
};
