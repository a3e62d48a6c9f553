// The fit-to-output-paper dialog: whether the aspect ratio is kept, and the output paper. It
// edits a copy of the working settings, brought within what the printer takes by the paper rules
// and the constraint engine, and writes the copy back whole on OK, which also switches the layout
// to fit to the output paper.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xDialog.h"

class xCheckBox;
class xComboBox;
class xImage;
class xLabel;

// Control ids of the fit-to-output-paper dialog.
enum {
    IDC_FIT_RATIO = 0,
    IDC_FIT_OUTPUTPAPER = 1,
};

class CDlgFitPage : public xDialog {
public:
    // A copy of the loaded queue's working settings, laid out as fit to the output paper.
    explicit CDlgFitPage(xWidget* pParent);
    ~CDlgFitPage() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    // The output paper of the copy made explicit and held to what the printer takes; the change
    // tracker and the constraint engine run over the copy.
    void OnInitDialog() override;
    // OK writes the copy over the working settings. Anything else leaves them alone and runs the
    // constraint engine over them again, so that its value lists describe them and not the copy.
    void OnEndDialog(int nResult) override;

    // Every control from the copy.
    void UpdateStatus();

    const DRVDEVMODE& GetDevmode() const { return m_dm; }

private:
    xCheckBox* m_pRatioCheck = nullptr;
    xImage* m_pPicture = nullptr;
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    DRVDEVMODE m_dm;
    WORD m_bUpdating = 0;
};
