// The Quality page of the settings notebook: colour mode and colour management (with the colour
// adjustment dialog behind Detail...), print quality, halftone, contrast and toner save.
#pragma once

#include "core/WinTypes.h"
#include "gui/widgets/xTabBase.h"

#include <memory>
#include <vector>

class xButton;
class xCheckBox;
class xComboBox;
class xFrame;
class xLabel;
class xSeparator;
class xSlider;

// Control ids of the page.
enum {
    IDC_QUALITY_COLORMODE = 39,
    IDC_QUALITY_COLORMANAGE = 40,
    IDC_QUALITY_DETAIL = 41,
    IDC_QUALITY_QUALITY = 42,
    IDC_QUALITY_HALFTONE = 43,
    IDC_QUALITY_CONTRAST = 44,
    IDC_QUALITY_TONERSAVE = 45,
};

// The page's text section, also its control id.
inline constexpr int IDS_SECTION_QUALITY = 200;

class CTabQuality : public xTabBase {
public:
    CTabQuality(xWidget* pNoteBook, const char* pszLabel, int nID);
    ~CTabQuality() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // Once per loaded queue: texts, which rows the model offers, the contrast range; then the
    // settings. Nothing without a loaded queue.
    void OnInitPage() override;
    void OnSetActive() override;
    void Refresh() override;
    // Moves the working settings and the constraint engine's lists into the controls.
    void UpdateStatus();

    // The picture of a row of the quality list: 2170, 2171, 2172, 2172 for the values 0..3 above
    // the lowest value of the list (disabled values included; 1 without a list), else none.
    static unsigned short QualityImage(long lValue, void* pValueList);
    static unsigned short HalftoneImage(long lValue, void* pContext);
    static unsigned short ColorModeImage(long lValue, void* pContext);

private:
    // After a change the constraint engine takes part in: marked, the engine run, shown again.
    void ChangedWithConstraints();
    // After a change of a field that is no key of the constraint engine.
    void ChangedWithoutConstraints();

    xLabel* m_pColorModeLabel;
    xComboBox* m_pColorMode;
    xLabel* m_pColorManageLabel;
    xComboBox* m_pColorManage;
    xButton* m_pDetail;
    xSeparator* m_pSeparator;
    xLabel* m_pQualityLabel;
    xComboBox* m_pQuality;
    xLabel* m_pHalftoneLabel;
    xComboBox* m_pHalftone;
    xFrame* m_pContrastFrame;
    xLabel* m_pContrastLabel;
    xLabel* m_pLighter;
    xLabel* m_pDarker;
    xSlider* m_pContrast;
    xCheckBox* m_pTonerSave;

    WORD m_wUpdating;
    SHORT m_sColorFlag;
    SHORT m_sHalftoneFlag;
    SHORT m_sQualityFlag;
    SHORT m_sContrastFlag;
    SHORT m_sTonerFlag;
    SHORT m_sLastColorMode;

    std::vector<std::unique_ptr<xWidget>> m_layout;
};
