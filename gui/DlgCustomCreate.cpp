#include "gui/DlgCustomCreate.h"

#include "core/dialog/DialogInfo.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PrinterInfo.h"
#include "gui/MainWin.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xMessageBox.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Texts of the dialog's section.
constexpr WORD kSection = 1000;
enum {
    IDS_TITLE = 0,
    IDS_NAME = 1011,
    IDS_SIZE = 1013,
    IDS_WIDTH = 1014,
    IDS_LENGTH = 1017,
    IDS_UNITS = 1021,
    IDS_INCHES = 1022,
    IDS_MILLIMETERS = 1023,
};
// Section-0 texts.
enum {
    IDS_BAD_CHARACTERS = 6305,
    IDS_RANGE_MM = 6307,
    IDS_RANGE_INCH = 6308,
};

// The characters a paper name cannot hold besides the control characters: ":" ends the choice
// of a PPD line, "/" separates keyword and name, a double quote would end a quoted value.
constexpr char kRefusedCharacters[] = "/ : \"";

// dmMetric bit of millimetres.
constexpr WORD kMetricBit = 0x2;

// Positions of the limits in tagCUSTOMLIMITS::sLimits.
enum {
    kMaxWidthMm = 0,
    kMaxLengthMm = 1,
    kMaxWidthDots = 2,
    kMaxLengthDots = 3,
    kMinWidthMm = 4,
    kMinLengthMm = 5,
    kMinWidthDots = 6,
    kMinLengthDots = 7,
};

constexpr double kMMPerInch = 25.4;

const char* Text(WORD wSection, WORD wID)
{
    CMainWin* pWin = GetMainWindow();
    const char* pszText = pWin != nullptr ? pWin->LoadString(wSection, wID) : nullptr;
    return pszText != nullptr ? pszText : "";
}

// The model's limits of one axis in the shown unit: millimetres from 0.1 mm; inches in whole
// hundredths from 1/600 inch, the maximum rounded down and the minimum up, so that a size shown
// within them is one the printer takes.
double MMLimit(SHORT sTenths)
{
    return sTenths / 10.0;
}
double InchMaximum(SHORT sDots)
{
    return std::floor(sDots / 6.0) / 100.0;
}
double InchMinimum(SHORT sDots)
{
    return std::ceil(sDots / 6.0) / 100.0;
}

double Clamp(double dValue, double dMin, double dMax)
{
    return dValue < dMin ? dMin : (dValue > dMax ? dMax : dValue);
}

}  // namespace

size_t Utf8PrefixBytes(const char* pszText, size_t nMax)
{
    if (pszText == nullptr) {
        return 0;
    }
    size_t nLength = std::strlen(pszText);
    if (nLength <= nMax) {
        return nLength;
    }
    nLength = nMax;
    // Back over continuation bytes to the start of the character that would be cut.
    while (nLength > 0 && (static_cast<unsigned char>(pszText[nLength]) & 0xC0) == 0x80) {
        --nLength;
    }
    return nLength;
}

bool IsUsableCustomPaperName(const char* pszName)
{
    if (pszName == nullptr || pszName[0] == '\0' || std::strlen(pszName) > static_cast<size_t>(kCustomPaperNameMax)) {
        return false;
    }
    for (const char* p = pszName; *p != '\0'; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch < 0x20 || ch == 0x7F || ch == ':' || ch == '"' || ch == '/') {
            return false;
        }
    }
    return true;
}

tagCUSTOMSIZERANGE GetCustomSizeRange(const tagCUSTOMLIMITS* pLimits, bool bMetric)
{
    tagCUSTOMSIZERANGE range{0.0, 100.0, 0.0, 100.0};
    if (pLimits != nullptr) {
        const SHORT* s = pLimits->sLimits;
        if (bMetric) {
            range = {MMLimit(s[kMinWidthMm]), MMLimit(s[kMaxWidthMm]), MMLimit(s[kMinLengthMm]),
                     MMLimit(s[kMaxLengthMm])};
        } else {
            range = {InchMinimum(s[kMinWidthDots]), InchMaximum(s[kMaxWidthDots]), InchMinimum(s[kMinLengthDots]),
                     InchMaximum(s[kMaxLengthDots])};
        }
    }
    const double dStep = bMetric ? 0.1 : 0.01;
    range.dMinWidth = range.dMinWidth < dStep ? dStep : range.dMinWidth;
    range.dMinLength = range.dMinLength < dStep ? dStep : range.dMinLength;
    range.dMaxWidth = range.dMaxWidth < range.dMinWidth ? range.dMinWidth : range.dMaxWidth;
    range.dMaxLength = range.dMaxLength < range.dMinLength ? range.dMinLength : range.dMaxLength;
    return range;
}

CDlgCustomCreate::CDlgCustomCreate(xWidget* pParent) : xDialog(pParent)
{
    SetTitle(Text(kSection, IDS_TITLE));
    m_pOK = AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);
    m_szName[0] = '\0';

    m_pNameBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    m_pNameBox->SetBorderWidth(6);
    m_pNameLabel = new xLabel(Text(kSection, IDS_NAME), this, -1, 0.0f, 0.5f);
    m_pName = new xEntry(this, ID_TXT_NAME, 12);
    m_pNameLabel->SetMnemonicWidget(m_pName);
    m_pNameBox->PackStart(m_pNameLabel, 0, 0, 0);
    m_pNameBox->PackStart(m_pName, 1, 1, 0);

    m_pSizeFrame = new xFrame(Text(kSection, IDS_SIZE));
    m_pSizeTable = new xTable(2, 2, 0, this, -1);
    m_pSizeTable->SetBorderWidth(6);
    m_pWidthLabel = new xLabel(Text(kSection, IDS_WIDTH), this, -1, 0.0f, 0.5f);
    m_pWidth = new xSpinButton(this, IDC_CUSTOM_WIDTH, 1, 0.0, 100.0, 0.1);
    m_pWidthRange = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pWidthLabel->SetMnemonicWidget(m_pWidth);
    m_pWidthBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    m_pWidthBox->SetBorderWidth(6);
    m_pWidthBox->PackStart(m_pWidth, 0, 0, 0);
    m_pWidthBox->PackStart(m_pWidthRange, 0, 0, 0);
    m_pLengthLabel = new xLabel(Text(kSection, IDS_LENGTH), this, -1, 0.0f, 0.5f);
    m_pLength = new xSpinButton(this, IDC_CUSTOM_LENGTH, 1, 0.0, 100.0, 0.1);
    m_pLengthRange = new xLabel(nullptr, this, -1, 0.0f, 0.5f);
    m_pLengthLabel->SetMnemonicWidget(m_pLength);
    m_pLengthBox = new xBox(XORIENT_HORIZONTAL, 0, 10);
    m_pLengthBox->SetBorderWidth(6);
    m_pLengthBox->PackStart(m_pLength, 0, 0, 0);
    m_pLengthBox->PackStart(m_pLengthRange, 0, 0, 0);
    const GtkAttachOptions fill = GTK_FILL;
    const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    m_pSizeTable->Attach(m_pWidthLabel, 0, 0, 1, 1, fill, fill, 6, 0);
    m_pSizeTable->Attach(m_pWidthBox, 1, 0, 1, 1, grow, fill, 0, 0);
    m_pSizeTable->Attach(m_pLengthLabel, 0, 1, 1, 1, fill, fill, 6, 0);
    m_pSizeTable->Attach(m_pLengthBox, 1, 1, 1, 1, grow, fill, 0, 0);
    m_pSizeFrame->Add(m_pSizeTable);

    m_pUnitFrame = new xFrame(Text(kSection, IDS_UNITS));
    m_pUnitBox = new xBox(XORIENT_HORIZONTAL, 0, 5);
    m_pInch = new xRadioBox(this, ID_RDB_INCH, Text(kSection, IDS_INCHES), nullptr);
    m_pMM = new xRadioBox(this, ID_RDB_MM, Text(kSection, IDS_MILLIMETERS), m_pInch);
    m_pUnitFrame->SetMnemonicWidget(m_pInch);
    m_pUnitBox->PackStart(m_pInch, 0, 0, 0);
    m_pUnitBox->PackStart(m_pMM, 0, 0, 0);
    m_pUnitFrame->Add(m_pUnitBox);

    m_pContentBox->PackStart(m_pNameBox, 0, 0, 0);
    m_pContentBox->PackStart(m_pSizeFrame, 0, 0, 0);
    m_pContentBox->PackStart(m_pUnitFrame, 0, 0, 0);
}

CDlgCustomCreate::~CDlgCustomCreate()
{
    delete m_pMM;
    delete m_pInch;
    delete m_pUnitBox;
    delete m_pUnitFrame;
    delete m_pLengthRange;
    delete m_pLength;
    delete m_pLengthBox;
    delete m_pLengthLabel;
    delete m_pWidthRange;
    delete m_pWidth;
    delete m_pWidthBox;
    delete m_pWidthLabel;
    delete m_pSizeTable;
    delete m_pSizeFrame;
    delete m_pName;
    delete m_pNameLabel;
    delete m_pNameBox;
}

void CDlgCustomCreate::SetPaper(const tagCUSTOMPAPER* pPaper, int nUnit, double dWidth, double dLength)
{
    m_szName[0] = '\0';
    if (pPaper != nullptr) {
        const size_t n = Utf8PrefixBytes(pPaper->szName, sizeof(m_szName) - 1);
        std::memcpy(m_szName, pPaper->szName, n);
        m_szName[n] = '\0';
    }
    m_dWidth = dWidth;
    m_dLength = dLength;
    m_MMMetric = nUnit != 0 ? 1 : 0;
}

void CDlgCustomCreate::GetPaper(char* pszName, double* pdWidth, double* pdLength, int* pnUnit) const
{
    if (pszName != nullptr) {
        std::memcpy(pszName, m_szName, sizeof(m_szName));
    }
    if (pdWidth != nullptr) {
        *pdWidth = m_dWidth;
    }
    if (pdLength != nullptr) {
        *pdLength = m_dLength;
    }
    if (pnUnit != nullptr) {
        *pnUnit = m_MMMetric != 0 ? 1 : 0;
    }
}

void CDlgCustomCreate::OnInitDialog()
{
    CMainWin* pWin = GetMainWindow();
    const tagDIALOGINFO* pInfo = pWin != nullptr ? pWin->GetDialogInfo() : nullptr;
    if (m_nMode != CUSTOM_MODE_EDIT) {
        m_MMMetric = pInfo != nullptr && (pInfo->psdm.priv.dmMetric & kMetricBit) != 0 ? 1 : 0;
    }
    std::printf("OnInitDialog m_MMMetric=%d \n", m_MMMetric);

    m_bUpdating = 0xFFFF;
    const int bNew = m_nMode != CUSTOM_MODE_EDIT ? 1 : 0;
    m_pNameLabel->Enable(bNew);
    m_pName->Enable(bNew);
    if (bNew == 0) {
        m_pName->SetText(m_szName);
    } else if (m_MMMetric != 0) {
        m_dWidth = 210.0;
        m_dLength = 297.0;
    } else {
        m_dWidth = 215.9;
        m_dLength = 279.4;
    }
    std::printf("OnInitDialog %s \n", m_szName);
    std::fflush(stdout);
    m_pInch->SetCheck(0);
    m_pMM->SetCheck(0);
    (m_MMMetric != 0 ? m_pMM : m_pInch)->SetCheck(1);
    m_bUpdating = 0;
    SetResizable(0);
    UpdateLimits();
}

void CDlgCustomCreate::SetRangeText(xLabel* pLabel, double dMin, double dMax)
{
    CMainWin* pWin = GetMainWindow();
    const char* pszFormat = pWin != nullptr ? pWin->LoadCommonString(m_MMMetric != 0 ? IDS_RANGE_MM : IDS_RANGE_INCH)
                                            : nullptr;
    if (pszFormat == nullptr) {
        pLabel->SetText(nullptr);
        return;
    }
    // The lookup keeps only texts that read the built-in text's two numbers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    gchar* pszText = g_strdup_printf(pszFormat, dMin, dMax);
#pragma GCC diagnostic pop
    // The range is no mnemonic: an underscore in it is shown as it is.
    gtk_label_set_text(GTK_LABEL(pLabel->GetGtkWidget()), pszText);
    g_free(pszText);
}

void CDlgCustomCreate::UpdateLimits()
{
    m_bUpdating = 0xFFFF;
    const bool bMetric = m_MMMetric != 0;
    (bMetric ? m_pMM : m_pInch)->SetCheck(1);

    CMainWin* pWin = GetMainWindow();
    tagDIALOGINFO* pInfo = pWin != nullptr ? pWin->GetDialogInfo() : nullptr;
    CPrinterInfo limitsInfo(pInfo != nullptr ? &pInfo->mh : nullptr, SPCID_CUSTOMSIZE, 0, 1);
    const tagCUSTOMLIMITS* pLimits = limitsInfo.First<tagCUSTOMLIMITS>();
    if (pLimits != nullptr) {
        const SHORT* s = pLimits->sLimits;
        if (bMetric) {
            std::printf("CDlgCustomCreate X Phys=%d - %d,\n", s[kMinWidthMm], s[kMaxWidthMm]);
            std::printf("CDlgCustomCreate Y Phys=%d - %d,\n", s[kMinLengthMm], s[kMaxLengthMm]);
        } else {
            std::printf("CDlgCustomCreate X Pixel=%d - %d,\n", s[kMinWidthDots], s[kMaxWidthDots]);
            std::printf("CDlgCustomCreate Y Pixel=%d - %d,\n", s[kMinLengthDots], s[kMaxLengthDots]);
        }
        std::fflush(stdout);
    }
    const tagCUSTOMSIZERANGE range = GetCustomSizeRange(pLimits, bMetric);
    const double dStep = bMetric ? 0.1 : 0.01;
    const double dMinWidth = range.dMinWidth;
    const double dMaxWidth = range.dMaxWidth;
    const double dMinLength = range.dMinLength;
    const double dMaxLength = range.dMaxLength;

    SetRangeText(m_pWidthRange, dMinWidth, dMaxWidth);
    SetRangeText(m_pLengthRange, dMinLength, dMaxLength);

    const double dScale = bMetric ? 1.0 : kMMPerInch;
    const double dWidth = Clamp(m_dWidth / dScale, dMinWidth, dMaxWidth);
    const double dLength = Clamp(m_dLength / dScale, dMinLength, dMaxLength);
    const unsigned int nDigits = bMetric ? 1 : 2;
    const double dPage = bMetric ? 10.0 : 1.0;
    m_pWidth->SetDigits(nDigits);
    m_pWidth->SetIncrements(dStep, dPage);
    m_pWidth->SetRange(dMinWidth, dMaxWidth);
    m_pWidth->SetValue(dWidth);
    m_pLength->SetDigits(nDigits);
    m_pLength->SetIncrements(dStep, dPage);
    m_pLength->SetRange(dMinLength, dMaxLength);
    m_pLength->SetValue(dLength);

    if (m_pOK != nullptr) {
        gtk_widget_set_sensitive(m_pOK, IsUsableCustomPaperName(m_szName) ? TRUE : FALSE);
    }
    m_bUpdating = 0;
}

void CDlgCustomCreate::OnNofityEditChanged(int nID)
{
    if (m_bUpdating != 0 || nID != ID_TXT_NAME) {
        return;
    }
    const char* pszText = m_pName->GetText();
    const size_t nKeep = Utf8PrefixBytes(pszText, kCustomPaperNameMax);
    std::string text(pszText != nullptr ? pszText : "", nKeep);
    if (pszText != nullptr && pszText[nKeep] != '\0') {
        // Longer than a paper record holds: the entry keeps the whole characters that fit.
        m_bUpdating = 0xFFFF;
        m_pName->SetText(text.c_str());
        m_bUpdating = 0;
        gdk_beep();
    }
    std::memcpy(m_szName, text.c_str(), text.size() + 1);
    std::printf("ID_TXT_NAME (%s) \n", m_szName);
    std::fflush(stdout);

    const bool bRefused = m_szName[0] != '\0' && !IsUsableCustomPaperName(m_szName);
    if (bRefused && !m_bNameRefused) {
        m_bNameRefused = true;
        CMainWin* pWin = GetMainWindow();
        const char* pszFormat = pWin != nullptr ? pWin->LoadCommonString(IDS_BAD_CHARACTERS) : nullptr;
        if (pszFormat != nullptr) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
            xMessageBox(this, MB_OK | MB_ICONWARNING, nullptr, pszFormat, kRefusedCharacters);
#pragma GCC diagnostic pop
        }
    }
    m_bNameRefused = bRefused;
    UpdateLimits();
}

void CDlgCustomCreate::OnNofityValueChanged(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    const double dScale = m_MMMetric != 0 ? 1.0 : kMMPerInch;
    if (nID == IDC_CUSTOM_WIDTH) {
        m_dWidth = m_pWidth->GetValue() * dScale;
    } else if (nID == IDC_CUSTOM_LENGTH) {
        m_dLength = m_pLength->GetValue() * dScale;
    }
}

void CDlgCustomCreate::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    // A radio also reports the click that unchecks it; only the one now checked counts.
    if (nID == ID_RDB_INCH && m_pInch->GetCheck() != 0) {
        m_MMMetric = 0;
        std::printf("OnNofityBtnClicked ID_RDB_INCH\n");
    } else if (nID == ID_RDB_MM && m_pMM->GetCheck() != 0) {
        m_MMMetric = 1;
        std::printf("OnNofityBtnClicked ID_RDB_MM\n");
    } else {
        return;
    }
    std::fflush(stdout);
    UpdateLimits();
}

int CDlgCustomCreate::OnResponse(int nResponseID)
{
    if (nResponseID == IDOK) {
        // Text typed into a spin button counts once the spin button has parsed it (and held it
        // within its range); that reaches OnNofityValueChanged.
        gtk_spin_button_update(GTK_SPIN_BUTTON(m_pWidth->GetGtkWidget()));
        gtk_spin_button_update(GTK_SPIN_BUTTON(m_pLength->GetGtkWidget()));
    }
    return xDialog::OnResponse(nResponseID);
}

void CDlgCustomCreate::OnEndDialog(int nResult)
{
    if (nResult != IDOK) {
        return;
    }
    // The spin buttons keep their values after their window is gone, within the limits shown.
    const double dScale = m_MMMetric != 0 ? 1.0 : kMMPerInch;
    m_dWidth = m_pWidth->GetValue() * dScale;
    m_dLength = m_pLength->GetValue() * dScale;
    std::printf("OnEndDialog (%s) \n", m_szName);
    std::fflush(stdout);
}
