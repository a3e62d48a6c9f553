// The Color Space page of the colour adjustment dialog (colour mode 2 only): the image colour
// profile and the gray reproduction.
#pragma once

#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/widgets/xTabBase.h"

#include <memory>
#include <vector>

class xButton;
class xComboBox;
class xFrame;
class xLabel;

class CDlgColorAdj::CTabColorSpace : public xTabBase {
public:
    // Owned by the dialog, whose working copy it edits.
    CTabColorSpace(CDlgColorAdj* pDialog, const char* pszLabel, int nID);
    ~CTabColorSpace() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    // Fills both lists, then shows the settings.
    void OnInitPage() override;
    // Selects the working copy's profile and gray reproduction.
    void UpdateStatus();

private:
    CLRCTRL& Block();

    CDlgColorAdj* m_pDialog;
    xFrame* m_pFrame;
    xLabel* m_pProfileLabel;
    xComboBox* m_pProfile;
    xLabel* m_pGrayReproLabel;
    xComboBox* m_pGrayRepro;
    xButton* m_pDefaults;
    WORD m_wUpdating;
    std::vector<std::unique_ptr<xWidget>> m_layout;
};
