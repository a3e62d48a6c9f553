#include "gui/DlgCustom.h"

#include "core/InstallPaths.h"
#include "core/dialog/DialogInfo.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PrinterInfo.h"
#include "gui/DlgCustomCreate.h"
#include "gui/MainWin.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xMessageBox.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Texts of the dialog's section.
constexpr WORD kSection = 1050;
enum {
    IDS_TITLE = 0,
    IDS_PAPERS = 1061,
    IDS_NEW = 1063,
    IDS_EDIT = 1064,
    IDS_DELETE = 1065,
};
// Section-0 texts.
enum {
    IDS_INCH = 4003,
    IDS_MM = 4004,
    IDS_REPLACE_PROMPT = 6306,
};

// dmFields bits of a paper length and width given in the record.
constexpr DWORD kPaperSizeBits = DM_PAPERLENGTH | DM_PAPERWIDTH;

constexpr double kMMPerInch = 25.4;

const char* Text(WORD wSection, WORD wID)
{
    CMainWin* pWin = GetMainWindow();
    const char* pszText = pWin != nullptr ? pWin->LoadString(wSection, wID) : nullptr;
    return pszText != nullptr ? pszText : "";
}

tagDIALOGINFO* DialogInfo()
{
    CMainWin* pWin = GetMainWindow();
    return pWin != nullptr ? pWin->GetDialogInfo() : nullptr;
}

// A fresh copy of the queue's PPD: its path, or "" when CUPS gives none. The caller removes it.
std::string FetchPpdCopy()
{
    CMainWin* pWin = GetMainWindow();
    const char* pszPath = pWin != nullptr ? pWin->GetPPDFile() : nullptr;
    return pszPath != nullptr ? std::string(pszPath) : std::string();
}

// A length in millimetres as the settings record keeps it: 0.1 mm, rounded to nearest (a size
// typed in inches is not exact in millimetres: 6.00 in is 152.39999... mm and must stay 1524),
// held to the record's range.
SHORT ToTenthsOfMM(double dMM)
{
    const double dTenths = std::round(dMM * 10.0);
    if (!(dTenths > 0.0)) {
        return 0;
    }
    return dTenths >= 32767.0 ? static_cast<SHORT>(32767) : static_cast<SHORT>(dTenths);
}

void CopyName(char* pszTarget, const char* pszName)
{
    const size_t n = Utf8PrefixBytes(pszName, kCustomPaperNameMax);
    if (n > 0) {
        std::memcpy(pszTarget, pszName, n);
    }
    pszTarget[n] = '\0';
}

bool WriteAll(int fd, const char* pData, size_t nSize)
{
    while (nSize > 0) {
        const ssize_t n = write(fd, pData, nSize);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        pData += n;
        nSize -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the file at pszFrom into the open descriptor, byte for byte; false on any failure.
bool CopyInto(const char* pszFrom, int fdTo)
{
    const int fdFrom = open(pszFrom, O_RDONLY | O_CLOEXEC);
    if (fdFrom < 0) {
        return false;
    }
    char buffer[16384];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fdFrom, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0 || !WriteAll(fdTo, buffer, static_cast<size_t>(n))) {
            ok = ok && n == 0;
            break;
        }
    }
    close(fdFrom);
    return ok;
}

// A new file in the temporary directory named from the local time with a random part
// ("<year><month><day>_<hour><minute><second>_XXXXXX.ppd"), created exclusively so that nothing
// placed there beforehand is followed or overwritten. Its descriptor, -1 on failure; the path in
// *pPath.
int CreateTemporaryPpd(std::string* pPath)
{
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char szName[96];
    std::snprintf(szName, sizeof(szName), "%d%d%d_%d%d%d_XXXXXX.ppd", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string path = orv::InstalledPath(orv::kTmpDir) + szName;
    const int fd = mkstemps(&path[0], 4);
    if (fd >= 0) {
        *pPath = path;
    }
    return fd;
}

}  // namespace

CDlgCustom::CDlgCustom(xWidget* pParent) : xDialog(pParent)
{
    SetTitle(Text(kSection, IDS_TITLE));
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);
    m_bUpdating = 0xFFFF;
    m_iIndex = -1;
    m_bPaperDeleted = 0;

    m_pLabel = new xLabel(Text(kSection, IDS_PAPERS), this, -1, 0.0f, 0.5f);
    // In line with the list below it rather than against the window's edge.
    gtk_misc_set_padding(GTK_MISC(m_pLabel->GetGtkWidget()), 8, 4);
    m_pList = new xListBox(this, IDC_CUSTOMLIST_LIST, nullptr);
    m_pList->SetSize(300, 200);
    m_pLabel->SetMnemonicWidget(m_pList);
    m_pBtnNew = new xButton(this, IDC_CUSTOMLIST_NEW, Text(kSection, IDS_NEW), 0, nullptr);
    m_pBtnEdit = new xButton(this, IDC_CUSTOMLIST_EDIT, Text(kSection, IDS_EDIT), 0, nullptr);
    m_pBtnDelete = new xButton(this, IDC_CUSTOMLIST_DELETE, Text(kSection, IDS_DELETE), 0, nullptr);

    m_pTable = new xTable(7, 7, 0, this, -1);
    m_pTable->SetBorderWidth(6);
    m_pButtonBox = new xBox(XORIENT_VERTICAL, 0, 3);
    m_pButtonBox->PackStart(m_pBtnNew, 0, 0, 0);
    m_pButtonBox->PackStart(m_pBtnEdit, 0, 0, 0);
    m_pButtonBox->PackStart(m_pBtnDelete, 0, 0, 0);
    m_pTable->Attach(m_pList, 0, 0, 4, 6, static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL), GTK_FILL, 2, 2);
    m_pTable->Attach(m_pButtonBox, 4, 0, 1, 3, GTK_FILL, GTK_FILL, 2, 2);

    m_pContentBox->PackStart(m_pLabel, 0, 0, 0);
    m_pContentBox->PackStart(m_pTable, 1, 1, 0);

    m_maxInputCount = 10;
    m_bUpdating = 0;
}

CDlgCustom::~CDlgCustom()
{
    delete m_pBtnDelete;
    delete m_pBtnEdit;
    delete m_pBtnNew;
    delete m_pButtonBox;
    delete m_pList;
    delete m_pTable;
    delete m_pLabel;
}

int CDlgCustom::RecordToRow(int nRecord) const
{
    if (nRecord < 0 || nRecord >= static_cast<int>(m_rows.size()) || m_rows[nRecord].nState == CUSTOMROW_DELETED) {
        return -1;
    }
    int nRow = 0;
    for (int i = 0; i < nRecord; ++i) {
        if (m_rows[i].nState != CUSTOMROW_DELETED) {
            ++nRow;
        }
    }
    return nRow;
}

int CDlgCustom::RowToRecord(int nRow) const
{
    if (nRow < 0) {
        return -1;
    }
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
        if (m_rows[i].nState != CUSTOMROW_DELETED && nRow-- == 0) {
            return i;
        }
    }
    return -1;
}

int CDlgCustom::VisibleCount() const
{
    int nCount = 0;
    for (const tagCUSTOMPAPERROW& row : m_rows) {
        nCount += row.nState != CUSTOMROW_DELETED ? 1 : 0;
    }
    return nCount;
}

void CDlgCustom::OnInitDialog()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    CPrinterInfo userMax(pInfo != nullptr ? &pInfo->mh : nullptr, SPCID_CUSTOMSIZE, 0, 5);
    const tagCUSTOMUSERMAX* pUserMax = userMax.First<tagCUSTOMUSERMAX>();
    std::printf("CDlgCustom pCustomPaperInfo5=%d,\n", pUserMax != nullptr ? 1 : 0);
    if (pUserMax != nullptr) {
        std::printf("CDlgCustom nInputCount=%u,\n", static_cast<unsigned int>(pUserMax->dwMaxUserPapers));
        if (pUserMax->dwMaxUserPapers > 0) {
            // No more papers than there are ids for them.
            const DWORD dwMost = kLastCustomPaperId - kLastModelPaperId;
            m_maxInputCount = static_cast<int>(pUserMax->dwMaxUserPapers < dwMost ? pUserMax->dwMaxUserPapers : dwMost);
        }
    }
    std::printf("CDlgCustom m_maxInputCount=%d,\n", m_maxInputCount);

    m_nMaxPaperID = kLastModelPaperId;
    m_paperID = pInfo != nullptr ? pInfo->psdm.dm.dmPaperSize : 0;
    m_bUpdating = 0xFFFF;
    m_rows.clear();

    const std::string copy = FetchPpdCopy();
    int nCount = 0;
    tagCUSTOMPAPER* pPapers = copy.empty() ? nullptr : ReadCustomPapersFromPpd(copy.c_str(), &nCount);
    if (!copy.empty()) {
        unlink(copy.c_str());
    }
    int nInUse = -1;
    for (int i = 0; i < nCount && pPapers != nullptr; ++i) {
        tagCUSTOMPAPERROW row{};
        static_cast<tagCUSTOMPAPER&>(row) = pPapers[i];
        row.nState = CUSTOMROW_READ;
        row.bInPpd = 1;
        m_rows.push_back(row);
        if (row.nID > m_nMaxPaperID) {
            m_nMaxPaperID = row.nID;
        }
        if (row.nID == m_paperID) {
            nInUse = i;
        }
    }
    std::free(pPapers);
    std::printf("OnInitDialog %s m_paperID=%d \n", copy.c_str(), m_paperID);
    std::fflush(stdout);

    FillList();
    if (nInUse >= 0) {
        m_pList->SetCurSel(RecordToRow(nInUse));
    }
    m_bUpdating = 0;
    SetResizable(0);
    UpdateButtons();
}

void CDlgCustom::FillList()
{
    const WORD bWasUpdating = m_bUpdating;
    m_bUpdating = 0xFFFF;
    m_pList->ResetContent();
    int nRow = 0;
    for (const tagCUSTOMPAPERROW& row : m_rows) {
        if (row.nState == CUSTOMROW_DELETED) {
            continue;
        }
        gchar* pszText = row.nUnit != 0
                             ? g_strdup_printf("%s %.1f x %.1f %s", row.szName, row.dWidth, row.dLength,
                                               Text(0, IDS_MM))
                             : g_strdup_printf("%s %.2f x %.2f %s", row.szName, row.dWidth / kMMPerInch,
                                               row.dLength / kMMPerInch, Text(0, IDS_INCH));
        m_pList->AddString(pszText, GINT_TO_POINTER(nRow), 0);
        g_free(pszText);
        ++nRow;
    }
    m_bUpdating = bWasUpdating;
}

void CDlgCustom::UpdateButtons()
{
    const WORD bWasUpdating = m_bUpdating;
    m_bUpdating = 0xFFFF;
    const int bSelected = m_pList->GetCurSel() >= 0 ? 1 : 0;
    m_pBtnEdit->Enable(bSelected);
    m_pBtnDelete->Enable(bSelected);
    m_pBtnNew->Enable(m_pList->GetCount() < m_maxInputCount && m_nMaxPaperID < kLastCustomPaperId ? 1 : 0);
    m_bUpdating = bWasUpdating;
}

void CDlgCustom::OnNofitySelectChanged(int nID)
{
    if (m_bUpdating != 0 || nID != IDC_CUSTOMLIST_LIST) {
        return;
    }
    m_iIndex = m_pList->GetCurSel();
    m_pBtnEdit->Enable(m_iIndex >= 0 ? 1 : 0);
    m_pBtnDelete->Enable(m_iIndex >= 0 ? 1 : 0);
}

void CDlgCustom::OnNofityValueChanged(int)
{
}

void CDlgCustom::OnNofityBtnClicked(int nID)
{
    if (m_bUpdating != 0) {
        return;
    }
    std::printf("OnNofityBtnClicked iIndex=%d \n", m_iIndex);
    std::fflush(stdout);
    switch (nID) {
    case IDC_CUSTOMLIST_NEW: {
        CDlgCustomCreate dialog(this);
        dialog.SetMode(CUSTOM_MODE_NEW);
        if (dialog.DoModal() == IDOK) {
            char szName[kCustomPaperNameMax + 1];
            double dWidth = 0.0;
            double dLength = 0.0;
            int nUnit = 0;
            dialog.GetPaper(szName, &dWidth, &dLength, &nUnit);
            std::printf("OnNofityBtnClicked name=%s \n", szName);
            std::fflush(stdout);
            AddPaperData(szName, nUnit, dWidth, dLength);
            FillList();
            m_pList->SetCurSel(RecordToRow(static_cast<int>(m_rows.size()) - 1));
        }
        break;
    }
    case IDC_CUSTOMLIST_EDIT: {
        // The row the list shows selected: at opening the paper in use is selected without
        // m_iIndex following, and Edit and Delete are offered for it.
        const int nRow = m_pList->GetCurSel();
        const int nRecord = RowToRecord(nRow);
        if (nRecord < 0) {
            break;
        }
        CDlgCustomCreate dialog(this);
        dialog.SetMode(CUSTOM_MODE_EDIT);
        tagCUSTOMPAPERROW& row = m_rows[nRecord];
        dialog.SetPaper(&row, row.nUnit, row.dWidth, row.dLength);
        if (dialog.DoModal() == IDOK) {
            char szName[kCustomPaperNameMax + 1];
            dialog.GetPaper(szName, &row.dWidth, &row.dLength, &row.nUnit);
            CopyName(row.szName, szName);
            row.nState = CUSTOMROW_MODIFIED;
            FillList();
            m_pList->SetCurSel(nRow);
        }
        break;
    }
    case IDC_CUSTOMLIST_DELETE:
        DeleteSelected();
        break;
    default:
        break;
    }
    UpdateButtons();
}

void CDlgCustom::DeleteSelected()
{
    const int nRecord = RowToRecord(m_pList->GetCurSel());
    if (nRecord < 0) {
        return;
    }
    tagCUSTOMPAPERROW& row = m_rows[nRecord];
    row.nState = CUSTOMROW_DELETED;
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo != nullptr && row.nID == pInfo->psdm.dm.dmPaperSize) {
        // The paper in use is gone: the working settings fall back to the model's default paper
        // now, whether the dialog ends with OK or Cancel.
        m_bPaperDeleted = 1;
        pInfo->psdm.dm.dmPaperSize = pInfo->dmDefault.dm.dmPaperSize;
        pInfo->psdm.dm.dmFields &= ~kPaperSizeBits;
        pInfo->psdm.priv.dmOutputPaperSize = 0;
    }
    FillList();
    m_iIndex = -1;
}

void CDlgCustom::AddPaperData(const char* pszName, int nUnit, double dWidth, double dLength)
{
    std::printf("AddPaperData(iIndex=%d) \n", m_iIndex);
    std::fflush(stdout);
    if (pszName == nullptr) {
        return;
    }
    gchar* pszFolded = g_utf8_casefold(pszName, -1);
    int nSame = -1;
    for (int i = 0; i < static_cast<int>(m_rows.size()) && nSame < 0; ++i) {
        if (m_rows[i].nState == CUSTOMROW_DELETED) {
            continue;
        }
        gchar* pszOther = g_utf8_casefold(m_rows[i].szName, -1);
        if (std::strcmp(pszFolded, pszOther) == 0) {
            nSame = i;
        }
        g_free(pszOther);
    }
    g_free(pszFolded);
    if (m_nMaxPaperID >= kLastCustomPaperId) {
        return;  // no id left for the paper
    }

    if (nSame >= 0) {
        const char* pszFormat = Text(0, IDS_REPLACE_PROMPT);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        // The lookup keeps only texts that read the built-in text's one string.
        const int nAnswer = xMessageBox(this, MB_YESNO | MB_ICONQUESTION, nullptr, pszFormat, pszName);
#pragma GCC diagnostic pop
        if (nAnswer == IDYES) {
            tagCUSTOMPAPERROW& row = m_rows[nSame];
            row.dWidth = dWidth;
            row.dLength = dLength;
            row.nUnit = nUnit;
            row.nID = ++m_nMaxPaperID;
            row.nState = CUSTOMROW_MODIFIED;
        }
        return;
    }

    tagCUSTOMPAPERROW row{};
    CopyName(row.szName, pszName);
    row.dWidth = dWidth;
    row.dLength = dLength;
    row.nUnit = nUnit;
    row.nState = CUSTOMROW_NEW;
    row.bInPpd = 0;
    row.nID = ++m_nMaxPaperID;
    std::snprintf(row.szKeyword, sizeof(row.szKeyword), "userpaper%d", row.nID);
    m_rows.push_back(row);
}

void CDlgCustom::OnEndDialog(int nResult)
{
    std::printf("CDlgCustom::OnEndDialog iIndex=%d \n", m_iIndex);
    std::fflush(stdout);
    if (nResult != IDOK) {
        return;
    }
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo != nullptr) {
        const int nRecord = RowToRecord(m_iIndex);
        if (nRecord >= 0) {
            const tagCUSTOMPAPERROW& row = m_rows[nRecord];
            pInfo->psdm.dm.dmPaperSize = static_cast<SHORT>(row.nID);
            pInfo->psdm.dm.dmFields |= kPaperSizeBits;
            pInfo->psdm.dm.dmPaperLength = ToTenthsOfMM(row.dLength);
            pInfo->psdm.dm.dmPaperWidth = ToTenthsOfMM(row.dWidth);
        }
        if (m_bPaperDeleted != 0) {
            pInfo->psdm.dm.dmPaperSize = pInfo->dmDefault.dm.dmPaperSize;
            pInfo->psdm.dm.dmFields &= ~kPaperSizeBits;
        }
    }
    SaveToPpd();
}

void CDlgCustom::ShowCannotSave()
{
    CMainWin* pWin = GetMainWindow();
    const char* pszText = pWin != nullptr ? pWin->LoadCommonString(IDS_CANNOT_SAVE) : nullptr;
    xMessageBox(pWin, MB_OK | MB_ICONERROR, nullptr, "%s", pszText != nullptr ? pszText : "");
}

bool CDlgCustom::SaveToPpd()
{
    m_lastTemporaryPpd.clear();
    if (m_rows.empty()) {
        return true;
    }
    const std::string copy = FetchPpdCopy();
    if (copy.empty()) {
        std::printf("CDlgCustom::SaveToPpd no PPD of the queue\n");
        std::fflush(stdout);
        ShowCannotSave();
        return false;
    }
    std::string path;
    const int fd = CreateTemporaryPpd(&path);
    bool ok = fd >= 0;
    if (ok) {
        std::printf("%s \n", path.c_str());
        ok = CopyInto(copy.c_str(), fd);
        ok = close(fd) == 0 && ok;
    } else {
        std::printf("CDlgCustom::SaveToPpd cannot create a temporary file: %s\n", std::strerror(errno));
    }
    std::fflush(stdout);
    unlink(copy.c_str());

    // Every change must reach the file: a paper read from the PPD must be found to be removed,
    // and every paper kept must be added.
    for (size_t i = 0; ok && i < m_rows.size(); ++i) {
        const tagCUSTOMPAPERROW& row = m_rows[i];
        const bool bListed = row.bInPpd != 0;
        switch (row.nState) {
        case CUSTOMROW_DELETED:
            if (bListed) {
                ok = RemoveCustomPaperFromPpd(path.c_str(), row.szKeyword, &row) != 0;
            }
            break;
        case CUSTOMROW_MODIFIED:
            if (bListed) {
                ok = RemoveCustomPaperFromPpd(path.c_str(), row.szKeyword, &row) != 0;
            }
            ok = ok && AddCustomPaperToPpd(path.c_str(), row.szKeyword, &row, row.nID, row.nUnit, row.dWidth,
                                           row.dLength) != 0;
            break;
        case CUSTOMROW_NEW:
            ok = AddCustomPaperToPpd(path.c_str(), row.szKeyword, &row, row.nID, row.nUnit, row.dWidth,
                                     row.dLength) != 0;
            break;
        default:
            break;
        }
        if (!ok) {
            std::printf("CDlgCustom::SaveToPpd cannot write the paper %s/%s\n", row.szKeyword, row.szName);
            std::fflush(stdout);
        }
    }
    if (!ok) {
        if (!path.empty()) {
            unlink(path.c_str());
        }
        ShowCannotSave();
        return false;
    }
    m_lastTemporaryPpd = path;
    CMainWin* pWin = GetMainWindow();
    if (pWin != nullptr) {
        pWin->SaveCustomPaper(path.c_str());
    }
    unlink(path.c_str());
    return true;
}
