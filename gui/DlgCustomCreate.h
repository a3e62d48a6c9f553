// The small "Custom Paper" dialog in which the user names a custom paper and sets its width and
// length, in inches or millimetres, within the limits of the printer model. The custom paper list
// dialog runs it for a new paper and for editing one; it changes neither the settings record nor
// the PPD.
#pragma once

#include "core/WinTypes.h"
#include "gui/widgets/xDialog.h"

struct tagCUSTOMPAPER;
class xBox;
class xEntry;
class xFrame;
class xLabel;
class xRadioBox;
class xSpinButton;
class xTable;

// Control ids of the dialog.
enum {
    IDC_CUSTOM_WIDTH = 0,
    IDC_CUSTOM_LENGTH = 1,
    ID_TXT_NAME = 2,
    ID_RDB_INCH = 4,
    ID_RDB_MM = 5,
};

// Modes of SetMode.
enum {
    CUSTOM_MODE_NEW = -1,
    CUSTOM_MODE_EDIT = 0,
};

// The longest paper name in bytes: the PPD record holds 127 bytes and its terminator.
inline constexpr int kCustomPaperNameMax = 127;

// Whether a name can stand in a PPD line as a paper's display name: not empty, at most 127
// bytes, and without ":", a double quote, "/" or a control character.
bool IsUsableCustomPaperName(const char* pszName);
// The number of leading bytes of a UTF-8 text that fit nMax bytes without cutting a character.
size_t Utf8PrefixBytes(const char* pszText, size_t nMax);

struct tagCUSTOMLIMITS;

// The sizes a custom paper may have, in the unit shown.
struct tagCUSTOMSIZERANGE {
    double dMinWidth;
    double dMaxWidth;
    double dMinLength;
    double dMaxLength;
};

// The range of the model's custom size limits (NULL: none, 0 to 100) in millimetres or inches.
// Inches are whole hundredths, the maximum rounded down and the minimum up, so that every value
// offered is within the printer's limits; the minimum is at least one step (0.1 mm, 0.01 in), as
// a paper has a size, and the maximum never below the minimum.
tagCUSTOMSIZERANGE GetCustomSizeRange(const tagCUSTOMLIMITS* pLimits, bool bMetric);

class CDlgCustomCreate : public xDialog {
public:
    explicit CDlgCustomCreate(xWidget* pParent);
    ~CDlgCustomCreate() override;

    // CUSTOM_MODE_NEW or CUSTOM_MODE_EDIT; before DoModal.
    void SetMode(int nMode) { m_nMode = nMode; }
    // The paper to edit: its name, unit (0 inches, else millimetres) and size in millimetres.
    void SetPaper(const tagCUSTOMPAPER* pPaper, int nUnit, double dWidth, double dLength);
    // After OK: the name (into a buffer of 128 bytes), the size in millimetres and the unit
    // (nonzero millimetres).
    void GetPaper(char* pszName, double* pdWidth, double* pdLength, int* pnUnit) const;
    // The limits of the shown unit into the spin buttons, their range texts and values, and OK's
    // sensitivity.
    void UpdateLimits();

    void OnNofityBtnClicked(int nID) override;
    void OnNofityEditChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    void OnInitDialog() override;
    // OK commits what is typed in the spin buttons before the window goes.
    int OnResponse(int nResponseID) override;
    void OnEndDialog(int nResult) override;

private:
    void SetRangeText(xLabel* pLabel, double dMin, double dMax);

    xBox* m_pNameBox = nullptr;
    xLabel* m_pNameLabel = nullptr;
    xEntry* m_pName = nullptr;
    xFrame* m_pSizeFrame = nullptr;
    xTable* m_pSizeTable = nullptr;
    xLabel* m_pWidthLabel = nullptr;
    xBox* m_pWidthBox = nullptr;
    xSpinButton* m_pWidth = nullptr;
    xLabel* m_pWidthRange = nullptr;
    xLabel* m_pLengthLabel = nullptr;
    xBox* m_pLengthBox = nullptr;
    xSpinButton* m_pLength = nullptr;
    xLabel* m_pLengthRange = nullptr;
    xFrame* m_pUnitFrame = nullptr;
    xBox* m_pUnitBox = nullptr;
    xRadioBox* m_pInch = nullptr;
    xRadioBox* m_pMM = nullptr;
    GtkWidget* m_pOK = nullptr;

    WORD m_bUpdating = 0;
    WORD m_MMMetric = 0;
    int m_nMode = CUSTOM_MODE_NEW;
    char m_szName[kCustomPaperNameMax + 1] = {};
    double m_dWidth = 0.0;
    double m_dLength = 0.0;
    // Set while the name holds a character a PPD line cannot carry; the user is told once when
    // the name becomes so.
    bool m_bNameRefused = false;
};
