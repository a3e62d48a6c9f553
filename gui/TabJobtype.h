// The Job type page of the settings notebook: how a job is spooled (normal, one of the printer's
// job kinds, secure print) and the texts that travel with it (user id, password, user name, job
// name, department code). It is the one page that can refuse to be left: a department code that
// the model wants typed to its full length and that is only half typed keeps the focus, makes the
// page invalid and takes Yes from the save prompt, so such a code is never saved.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/EntryTextRule.h"
#include "gui/widgets/xTabBase.h"

class xBin;
class xCheckBox;
class xEntry;
class xEntryNoWide;
class xFrame;
class xHelpTip;
class xLabel;
class xToggleButton;

// Control ids of the page.
enum {
    IDC_JOB_TYPE = 30,            // the job type check (frame label)
    IDC_JOB_MAILBOX = 31,         // job kind 2
    IDC_JOB_SECUREPRINT = 32,     // the secure print check (frame label)
    IDC_JOB_USERID = 33,
    IDC_JOB_PASSWORD = 34,
    IDC_JOB_USERNAME = 35,
    IDC_JOB_JOBNAME = 36,
    IDC_JOB_DEPTCODE = 37,
    IDC_JOB_SECUREJOBNAME = 38,
    IDC_JOB_SECUREMAILBOX = 39,   // job kind 3
};

// The page's text section (also its control id) and its texts.
enum {
    IDS_JOB_SECTION = 250,
    IDS_JOB_TYPE = 262,
    IDS_JOB_USERID = 269,
    IDS_JOB_PASSWORD = 271,
    IDS_JOB_INFORMATION = 275,
    IDS_JOB_USERNAME = 276,
    IDS_JOB_JOBNAME = 278,
    IDS_JOB_DEPARTMENT = 281,
    IDS_JOB_DEPTCODE = 282,
};

// Section-0 texts of the page.
enum {
    IDS_JOBKIND_MAILBOX = 6201,
    IDS_JOBKIND_SECUREMAILBOX = 6202,
    IDS_JOBKIND_OTHER = 6205,
    IDS_JOB_CURRENT_SETTING = 6206,
    IDS_JOB_SECUREPRINT = 6207,
    IDS_JOB_DEPTCODE_MISSING = 6234,
};

// Values of PRIVDM.dmJobSpool.
inline constexpr WORD kJobSpoolNone = 0;
inline constexpr WORD kJobSpoolMailbox = 2;
inline constexpr WORD kJobSpoolSecureMailbox = 3;
inline constexpr WORD kJobSpoolSecurePrint = 6;

class CTabJobtype : public xTabBase {
public:
    CTabJobtype(xWidget* pNoteBook, const char* pszLabel, int nID);
    ~CTabJobtype() override;

    void OnNofityBtnClicked(int nID) override;
    // Copies the typed text into its field (cut to the field); marks the window modified.
    void OnNofityEditChanged(int nID) override;
    // The department entry losing the focus with a rejected code takes it back, brings the page
    // to the front and shows the help tip: -1. 0 otherwise.
    int OnNofityFocus(int nID, short bIn) override;
    // Reads the model's job kinds, entry rules and features for a newly loaded queue and fills
    // every control.
    void OnInitPage() override;
    void OnSetActive() override;
    // 0 while the department code is rejected, else -1.
    int Validate() override;
    void Refresh() override;
    // MB_NOCANCEL while the department code is rejected (the prompt cannot save it), else
    // MB_YESNOCANCEL.
    int QuerySaveButtons(int nReason, xNoteBook* pNoteBook) override;

    // Rewrites every control from the working settings.
    void UpdateStatus();
    // -1 when the department code may be saved: the model does not ask for a full-length code,
    // the code is not in use, or it is empty or full length. 0 for a half-typed code.
    int CheckDeptCode();

    // Whether job kind 1..5 may be chosen for the loaded queue.
    bool IsKindAvailable(int nKind) const { return nKind >= 1 && nKind <= 5 && m_bKindAvailable[nKind] != 0; }
    xHelpTip* GetDeptTip() const { return m_pDeptTip; }

private:
    void BuildLayout();
    void ProbeFlags();
    void ProbeJobKinds();
    void ApplyDeptRule();
    void ApplySecurePrintRule();
    void UpdateKindRows();
    void UpdateDescription();
    void ShowEntryText(xEntry* pEntry, const char* pszField, size_t cbField);
    void SetLabelTexts();
    // The kind that switching the job type check on stores.
    WORD KindToSwitchOn() const;

    // Controls, owned.
    xFrame* m_pJobTypeFrame = nullptr;
    xCheckBox* m_pJobTypeCheck = nullptr;
    xLabel* m_pDescription = nullptr;
    xToggleButton* m_pMailbox = nullptr;
    xToggleButton* m_pSecureMailbox = nullptr;
    xLabel* m_pUserIdLabel = nullptr;
    xEntryNoWide* m_pUserId = nullptr;
    xLabel* m_pPasswordLabel = nullptr;
    xEntryNoWide* m_pPassword = nullptr;
    xFrame* m_pJobInfoFrame = nullptr;
    xLabel* m_pJobInfoTitle = nullptr;
    xLabel* m_pUserNameLabel = nullptr;
    xEntry* m_pUserName = nullptr;
    xLabel* m_pJobNameLabel = nullptr;
    xEntry* m_pJobName = nullptr;
    xFrame* m_pDeptFrame = nullptr;
    xLabel* m_pDeptTitle = nullptr;
    xLabel* m_pDeptLabel = nullptr;
    xEntryNoWide* m_pDeptCode = nullptr;
    xHelpTip* m_pDeptTip = nullptr;
    xFrame* m_pSecureFrame = nullptr;
    xCheckBox* m_pSecureCheck = nullptr;
    xLabel* m_pSecureJobNameLabel = nullptr;
    xEntryNoWide* m_pSecureJobName = nullptr;

    // State.
    WORD m_bUpdating = 0;
    WORD m_bKind2Flagged = 0;
    WORD m_bKind3Flagged = 0;
    WORD m_bKindAvailable[6] = {};  // by kind 1..5
    SHORT m_sKindMask[6] = {};      // by kind 1..5
    WORD m_bDeptFeature = 0;
    WORD m_bDeptFrame = 0;
    WORD m_bJobInfoFeature = 0;
    WORD m_wUserIdRows = 0;
    WORD m_wPasswordRows = 0;
    WORD m_wRememberedKind = kJobSpoolMailbox;
    WORD m_bSecurePrint = 0;
    // The model's rule for the department code, which the entry and CheckDeptCode apply.
    tagENTRYTEXTRULE m_DeptRule{};
};
