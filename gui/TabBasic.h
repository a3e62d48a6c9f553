// The Basic page: the paper of a job. Paper size, orientation, output paper size, media type,
// paper source, duplex with its binding margin, and the layout (normal, pages per sheet, booklet,
// fit to output paper, zoom, poster), each layout other than normal edited in its own dialog.
//
// Every control works directly on the working settings of the loaded queue. A change writes its
// field, marks the queue modified, runs the constraint engine and refills the page, so the combos
// offer only what the engine and the model allow and show the engine's repairs at once.
#pragma once

#include "core/WinTypes.h"
#include "core/printerinfo/MMInch.h"
#include "core/settings/DevMode.h"
#include "gui/widgets/xTabBase.h"

struct tagDIALOGINFO;
class xBox;
class xButton;
class xComboBox;
class xLabel;
class xSeparator;
class xSpinButton;
class xToggleButton;

// The page's text section, also its control id in the notebook.
inline constexpr int kBasicPageSection = 100;

// Control ids of the Basic page.
enum {
    IDC_BASIC_PAPERSIZE = 6,
    IDC_BASIC_ORIENTATION = 7,
    IDC_BASIC_OUTPUTPAPER = 8,
    IDC_BASIC_MEDIATYPE = 9,
    IDC_BASIC_SOURCE = 10,
    IDC_BASIC_DUPLEX = 11,
    IDC_BASIC_CUSTOMPAPER = 12,
    IDC_BASIC_MARGIN = 14,
    IDC_BASIC_LAYOUT_NONE = 15,  // the six layout toggles: 15 to 20, in the order of kLayoutValues
    IDC_BASIC_LAYOUT_NUP = 16,
    IDC_BASIC_LAYOUT_BOOKLET = 17,
    IDC_BASIC_LAYOUT_FIT = 18,
    IDC_BASIC_LAYOUT_ZOOM = 19,
    IDC_BASIC_LAYOUT_POSTER = 20,
};

// The picture of a duplex row for its value, in the orientation the pages are really laid out in
// (a booklet, and 2, 6 or 8 pages per sheet, turn the sheet). pContext is the settings record
// (DRVDEVMODE*); 0 for a value without a picture or without a record.
unsigned short DuplexIconCallback(long lValue, void* pContext);

// The binding margin in layout units (1/dpi inch) for a length the user entered in millimetres or
// inches, rounded to the nearest unit so that a length shown again reads back as the same value,
// and held to what the settings field can store.
WORD DuplexMarginDots(double dLength, bool bMM, SHORT sDpi);

class CTabBasic : public xTabBase {
public:
    // The page in the notebook (its owner), captioned with its section's title.
    explicit CTabBasic(xWidget* pNoteBook);
    ~CTabBasic() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityEditChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    // After each load: reads what the model offers, shows the rows that apply and fills them.
    void OnInitPage() override;
    void OnSetActive() override;
    void Refresh() override;

    // Sets every control from the working settings; repairs a paper or output paper that the
    // lists no longer hold.
    virtual void UpdateStatus();

    // Shows a layout (a dmLayoutPrint value): its toggle active (without notification) and its
    // name after the layout label. Any other value shows none.
    void SelectLayout(int nLayout);

private:
    static constexpr int kLayoutCount = 6;

    tagDIALOGINFO* DialogInfo() const;
    void BuildControls();
    void PrepareMarginSpin();
    // Modified, the constraint engine, the page again: what every change ends with.
    void AfterChange();
    // The zoom percent held to what the paper allows.
    void ClampZoom(tagDIALOGINFO* pInfo);
    // The width and length of a custom output paper (above 455) from the queue's PPD.
    void SetCustomOutputPaperSize(DRVDEVMODE* pdm);
    // Runs the layout's dialog; IDOK when its settings were taken into the working settings.
    int RunLayoutDialog(int nLayout);
    bool IsLayoutSensitive(int nToggle, tagDIALOGINFO* pInfo) const;

    xLabel* m_pPaperLabel = nullptr;
    xComboBox* m_pPaperCombo = nullptr;
    xBox* m_pCustomBox = nullptr;
    xButton* m_pCustomButton = nullptr;
    xLabel* m_pOrientLabel = nullptr;
    xComboBox* m_pOrientCombo = nullptr;
    xLabel* m_pOutputLabel = nullptr;
    xComboBox* m_pOutputCombo = nullptr;
    xSeparator* m_pPaperSeparator = nullptr;
    xLabel* m_pMediaLabel = nullptr;
    xComboBox* m_pMediaCombo = nullptr;
    xLabel* m_pSourceLabel = nullptr;
    xComboBox* m_pSourceCombo = nullptr;
    xSeparator* m_pDuplexSeparator = nullptr;
    xLabel* m_pDuplexLabel = nullptr;
    xComboBox* m_pDuplexCombo = nullptr;
    xLabel* m_pMarginLabel = nullptr;
    xBox* m_pMarginBox = nullptr;
    xSpinButton* m_pMarginSpin = nullptr;
    xLabel* m_pMarginRange = nullptr;
    xSeparator* m_pLayoutSeparator = nullptr;
    xLabel* m_pLayoutLabel = nullptr;
    xToggleButton* m_pLayoutToggles[kLayoutCount] = {};

    WORD m_bBusy = 0;
    SHORT m_bMetric = 0;
    CMMInch m_Margin;
    SHORT m_bRotation = 0;
    SHORT m_bDuplex = 0;
    SHORT m_bMedia = 0;
    SHORT m_bNup = 0;
    SHORT m_bBooklet = 0;
    SHORT m_bFit = 0;
    SHORT m_bZoom = 0;
    SHORT m_bPoster = 0;
    BYTE m_bCustomPaper = 0;
    SHORT m_bMarginByChoice = 0;
};
