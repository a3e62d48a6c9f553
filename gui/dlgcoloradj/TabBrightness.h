// The Brightness page of the colour adjustment dialog (colour mode 1): the gray brightness with a
// gray preview of the photograph.
#pragma once

#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/dlgcoloradj/PreviewPicture.h"
#include "gui/widgets/xTabBase.h"

#include <memory>
#include <vector>

class xButton;
class xImage;
class xSlider;
class xSpinButton;

class CDlgColorAdj::CTabBrightness : public xTabBase {
public:
    // Owned by the dialog, whose working copy it edits.
    CTabBrightness(CDlgColorAdj* pDialog, const char* pszLabel, int nID);
    ~CTabBrightness() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // Forgets the last render, then shows the settings, so the first update always renders.
    void OnInitPage() override;
    // Moves the gray brightness into slider and spin and renders the preview when it changed
    // since the last render.
    void UpdateStatus();

    xImage* GetPreviewImage() const { return m_pPreview; }

private:
    // The gray brightness last rendered when nothing was rendered yet; outside the slider range.
    static constexpr int kNotRendered = 9999;

    SHORT& GrayBrightness();
    void RenderPreview();

    CDlgColorAdj* m_pDialog;
    xImage* m_pPreview;
    xSlider* m_pSlider;
    xSpinButton* m_pSpin;
    xButton* m_pDefaults;
    WORD m_wUpdating;
    CPreviewPicture m_picture;
    int m_nLastRendered;
    std::vector<std::unique_ptr<xWidget>> m_layout;
};
