// The colour adjustment dialog the Quality page opens: edits the colour-control block of a private
// copy of the loaded queue's settings and shows the effect on a photograph. Colour mode 1 gets the
// gray Brightness page alone; mode 2 a notebook with the Color Space and Adjustment pages; mode 3
// the notebook with the Adjustment page only. OK writes the whole copy back over the working
// settings; Cancel, Escape and closing the window discard it.
#pragma once

#include "core/dialog/DialogInfo.h"
#include "gui/widgets/xDialog.h"

class xNoteBook;

// Control ids of the dialog's pages.
enum {
    IDC_CLRADJ_NOTEBOOK = 0,
    IDC_CLRADJ_TAB_COLORSPACE = 1,
    IDC_CLRADJ_TAB_ADJUSTMENT = 2,
    IDC_CLRADJ_PROFILE = 3,
    IDC_CLRADJ_GRAYREPRO = 4,
    IDC_CLRADJ_CS_DEFAULTS = 5,
    IDC_CLRADJ_TYPE = 6,
    // Slider and spin of the eight adjustment rows and of the brightness: slider 7 + 2 r, spin 8 + 2 r.
    IDC_CLRADJ_SATURATION_SLIDER = 7,
    IDC_CLRADJ_SATURATION_SPIN = 8,
    IDC_CLRADJ_RED_SLIDER = 9,
    IDC_CLRADJ_BLACK_SPIN = 22,
    IDC_CLRADJ_BRIGHTNESS_SLIDER = 23,
    IDC_CLRADJ_BRIGHTNESS_SPIN = 24,
    IDC_CLRADJ_ADJ_DEFAULTS = 25,
    IDC_CLRADJ_GRAY_SLIDER = 26,
    IDC_CLRADJ_GRAY_SPIN = 27,
    IDC_CLRADJ_GRAY_DEFAULTS = 28,
};

// Text sections of the dialog and its pages.
enum {
    IDS_SECTION_COLORSPACE = 1400,
    IDS_SECTION_ADJUSTMENT = 1450,
    IDS_SECTION_BRIGHTNESS = 1550,
    IDS_CLRADJ_DEVICE_COLOR = 5112,  // section 0: the title of the colour forms
};

class CDlgColorAdj : public xDialog {
public:
    class CTabAdjustment;
    class CTabColorSpace;
    class CTabBrightness;

    // Over the main window and the loaded queue's dialog-info record (not owned); the working copy
    // is taken from its settings now.
    CDlgColorAdj(xWindow* pParent, tagDIALOGINFO* pDialogInfo);
    ~CDlgColorAdj() override;

    // The pages handle their own controls; nothing climbs past the dialog.
    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    // Fills the pages that exist, Adjustment, Color Space, then Brightness.
    void OnInitDialog() override;
    // IDOK copies the working copy over the dialog-info record's settings; nothing otherwise.
    void OnEndDialog(int nResult) override;

    DRVDEVMODE& WorkingCopy() { return m_dm; }
    // The model's defaults Restore Defaults takes its values from.
    const DRVDEVMODE& Defaults() const { return m_pDialogInfo->dmDefault; }

    xNoteBook* GetNoteBook() const { return m_pNoteBook; }
    CTabColorSpace* GetColorSpacePage() const { return m_pTabColorSpace; }
    CTabAdjustment* GetAdjustmentPage() const { return m_pTabAdjustment; }
    CTabBrightness* GetBrightnessPage() const { return m_pTabBrightness; }

    // A text of the dialog by (section, id): the main window's lookup, the built-in table without
    // a main window.
    static const char* Text(unsigned short wSection, unsigned short wID);

private:
    xNoteBook* m_pNoteBook;
    CTabColorSpace* m_pTabColorSpace;
    CTabAdjustment* m_pTabAdjustment;
    CTabBrightness* m_pTabBrightness;
    tagDIALOGINFO* m_pDialogInfo;
    DRVDEVMODE m_dm;
};
