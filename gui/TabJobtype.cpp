#include "gui/TabJobtype.h"

#include "core/dialog/DialogInfo.h"
#include "core/dialog/JobTypeProbe.h"
#include "core/mdutil/MdUtil.h"
#include "core/printerinfo/JobSpoolInfo.h"
#include "core/printerinfo/JobTextRules.h"
#include "gui/MainWin.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PrintfConversions.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntryNoWide.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xHelpTip.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xMessageBox.h"

#include <cstring>
#include <initializer_list>
#include <string>

namespace {

constexpr int kImageMailbox = 2130;
constexpr int kImageSecureMailbox = 2131;
constexpr int kSpacing = 6;
constexpr int kDeptFrameWidth = 300;
// Widths of the entries in characters.
constexpr int kShortEntryChars = 8;
constexpr int kLongEntryChars = 20;
// Largest lengths (characters) of the job information entries and, before the job kind's own
// rule applies, of the password.
constexpr int kUserNameMax = 20;
constexpr int kJobNameMax = 80;
constexpr int kPasswordInitialMax = 4;
// Filter bit of a model's entry rule that hides what is typed.
constexpr DWORD kFilterHidden = 0x8;
constexpr char kInvisibleChar = '*';

// Job kinds tried, in order, when the remembered kind cannot be had.
constexpr int kKindFallbackOrder[] = {2, 3, 1, 4, 5};

const char* Text(WORD wSection, WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(wSection, wID) : GetBuiltinString(wSection, wID);
}

tagDIALOGINFO* DialogInfo()
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

WORD Flag(bool b)
{
    return b ? 0xFFFF : 0;
}

xLabel* NewLabel(const char* pszText)
{
    return new xLabel(pszText, nullptr, -1, 0.0f, 0.5f);
}

// The record's text as an entry can show it: at most cbField bytes (a field read from a file may
// lack its terminator), and only up to the first byte that is not valid UTF-8.
std::string FieldText(const char* pszField, size_t cbField)
{
    std::string text(pszField, strnlen(pszField, cbField));
    const gchar* pEnd = nullptr;
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &pEnd)) {
        text.resize(static_cast<size_t>(pEnd - text.data()));
    }
    return text;
}

// Copies an entry's text into a record field: the field is cleared whole first (no byte of an
// earlier, longer text stays behind, which matters for the password), and a text longer than the
// field is cut before the character that no longer fits whole.
void CopyToField(const char* pszText, char* pField, size_t cbField)
{
    std::memset(pField, 0, cbField);
    if (pszText == nullptr || cbField == 0) {
        return;
    }
    size_t cch = strnlen(pszText, cbField);
    if (cch == cbField) {
        cch = cbField - 1;
        while (cch > 0 && (static_cast<unsigned char>(pszText[cch]) & 0xC0) == 0x80) {
            --cch;
        }
    }
    std::memcpy(pField, pszText, cch);
}

void ApplyRule(xEntryNoWide* pEntry, const tagENTRYTEXTRULE& rule)
{
    pEntry->SetMaxLength(static_cast<int>(rule.cchMax));
    pEntry->SetFilter(static_cast<int>(rule.dwFilter), rule.szExtra[0] != '\0' ? rule.szExtra : nullptr);
}

}  // namespace

CTabJobtype::CTabJobtype(xWidget* pNoteBook, const char* pszLabel, int nID) : xTabBase(pNoteBook, pszLabel, nID)
{
    m_pJobTypeCheck = new xCheckBox(this, IDC_JOB_TYPE, Text(IDS_JOB_SECTION, IDS_JOB_TYPE));
    m_pJobTypeFrame = new xFrame(static_cast<xLabel*>(nullptr));
    gtk_frame_set_label_widget(GTK_FRAME(m_pJobTypeFrame->GetGtkWidget()), m_pJobTypeCheck->GetGtkWidget());
    m_pDescription = NewLabel("");
    m_pMailbox = new xToggleButton(this, IDC_JOB_MAILBOX, nullptr, kImageMailbox);
    m_pSecureMailbox = new xToggleButton(this, IDC_JOB_SECUREMAILBOX, nullptr, kImageSecureMailbox);
    m_pUserIdLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_USERID));
    m_pUserId = new xEntryNoWide(this, IDC_JOB_USERID, kShortEntryChars, 0);
    m_pPasswordLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_PASSWORD));
    m_pPassword = new xEntryNoWide(this, IDC_JOB_PASSWORD, kShortEntryChars, 0);

    m_pJobInfoTitle = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_INFORMATION));
    m_pJobInfoFrame = new xFrame(m_pJobInfoTitle);
    m_pUserNameLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_USERNAME));
    m_pUserName = new xEntry(this, IDC_JOB_USERNAME, kLongEntryChars);
    m_pJobNameLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_JOBNAME));
    m_pJobName = new xEntry(this, IDC_JOB_JOBNAME, kLongEntryChars);

    m_pDeptTitle = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_DEPARTMENT));
    m_pDeptFrame = new xFrame(m_pDeptTitle);
    m_pDeptLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_DEPTCODE));
    m_pDeptCode = new xEntryNoWide(this, IDC_JOB_DEPTCODE, kShortEntryChars, 0);
    // An empty text, not none: a tip built without text has no label to set later.
    m_pDeptTip = new xHelpTip(m_pDeptCode, "", 0, GTK_STOCK_STOP);

    m_pSecureCheck = new xCheckBox(this, IDC_JOB_SECUREPRINT, Text(0, IDS_JOB_SECUREPRINT));
    m_pSecureFrame = new xFrame(static_cast<xLabel*>(nullptr));
    gtk_frame_set_label_widget(GTK_FRAME(m_pSecureFrame->GetGtkWidget()), m_pSecureCheck->GetGtkWidget());
    m_pSecureJobNameLabel = NewLabel(Text(IDS_JOB_SECTION, IDS_JOB_JOBNAME));
    m_pSecureJobName = new xEntryNoWide(this, IDC_JOB_SECUREJOBNAME, kLongEntryChars, 0);

    m_pUserIdLabel->SetMnemonicWidget(m_pUserId);
    m_pPasswordLabel->SetMnemonicWidget(m_pPassword);
    m_pUserNameLabel->SetMnemonicWidget(m_pUserName);
    m_pJobNameLabel->SetMnemonicWidget(m_pJobName);
    m_pDeptLabel->SetMnemonicWidget(m_pDeptCode);
    m_pSecureJobNameLabel->SetMnemonicWidget(m_pSecureJobName);

    BuildLayout();
    ShowAll();
}

CTabJobtype::~CTabJobtype()
{
    // A help tip is hidden before its wrapper goes.
    m_pDeptTip->Show(0);
    delete m_pDeptTip;
    for (xWidget* pControl : std::initializer_list<xWidget*>{
             m_pJobTypeFrame, m_pJobTypeCheck, m_pDescription, m_pMailbox, m_pSecureMailbox, m_pUserIdLabel,
             m_pUserId, m_pPasswordLabel, m_pPassword, m_pJobInfoFrame, m_pJobInfoTitle, m_pUserNameLabel,
             m_pUserName, m_pJobNameLabel, m_pJobName, m_pDeptFrame, m_pDeptTitle, m_pDeptLabel, m_pDeptCode,
             m_pSecureFrame, m_pSecureCheck, m_pSecureJobNameLabel, m_pSecureJobName}) {
        delete pControl;
    }
}

void CTabJobtype::BuildLayout()
{
    // The boxes, tables and alignments are GTK's alone once built: their wrappers go at the end.
    xBox* pPage = new xBox(XORIENT_HORIZONTAL, 0, 0);
    Attach(pPage->GetGtkWidget());
    xBox* pFrames = new xBox(XORIENT_VERTICAL, 0, kSpacing);
    pFrames->SetBorderWidth(kSpacing);
    pPage->PackStart(pFrames, 0, 0, 2);

    xBox* pJobType = new xBox(XORIENT_VERTICAL, 0, kSpacing);
    pJobType->SetBorderWidth(kSpacing);
    pJobType->PackStart(m_pDescription, 0, 0, 0);
    xBox* pToggles = new xBox(XORIENT_HORIZONTAL, 0, 0);
    xAlignment* pMailboxAlign = new xAlignment(0.5f, 0.5f, 0.0f, 0.0f);
    pMailboxAlign->Add(m_pMailbox);
    xAlignment* pSecureAlign = new xAlignment(0.5f, 0.5f, 0.0f, 0.0f);
    pSecureAlign->Add(m_pSecureMailbox);
    pToggles->PackStart(pMailboxAlign, -1, -1, 0);
    pToggles->PackStart(pSecureAlign, -1, -1, 0);
    pJobType->PackStart(pToggles, 0, 0, 0);
    xBox* pAccount = new xBox(XORIENT_HORIZONTAL, 0, kSpacing);
    pAccount->PackStart(m_pUserIdLabel, 0, 0, 0);
    pAccount->PackStart(m_pUserId, 0, 0, 0);
    pAccount->PackStart(m_pPasswordLabel, 0, 0, 0);
    pAccount->PackStart(m_pPassword, 0, 0, 0);
    pJobType->PackStart(pAccount, 0, 0, 0);
    m_pJobTypeFrame->Add(pJobType);

    const GtkAttachOptions fill = GTK_FILL;
    const GtkAttachOptions grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    xTable* pJobInfo = new xTable(2, 3, 0, nullptr, -1);
    pJobInfo->SetBorderWidth(kSpacing);
    pJobInfo->SetColSpacing(-1, kSpacing);
    pJobInfo->Attach(m_pUserNameLabel, 0, 0, 1, 1, fill, fill, 0, 2);
    pJobInfo->Attach(m_pUserName, 1, 0, 1, 1, grow, fill, 0, 2);
    pJobInfo->Attach(m_pJobNameLabel, 0, 1, 1, 1, fill, fill, 0, 2);
    pJobInfo->Attach(m_pJobName, 1, 1, 1, 1, grow, fill, 0, 2);
    m_pJobInfoFrame->Add(pJobInfo);

    xTable* pDept = new xTable(1, 2, 0, nullptr, -1);
    pDept->SetBorderWidth(kSpacing);
    pDept->SetColSpacing(-1, kSpacing);
    pDept->Attach(m_pDeptLabel, 0, 0, 1, 1, fill, fill, 0, 0);
    pDept->Attach(m_pDeptCode, 1, 0, 1, 1, fill, fill, 0, 0);
    m_pDeptFrame->Add(pDept);
    m_pDeptFrame->SetSize(kDeptFrameWidth, -1);

    xTable* pSecure = new xTable(1, 2, 0, nullptr, -1);
    pSecure->SetBorderWidth(kSpacing);
    pSecure->SetColSpacing(-1, kSpacing);
    pSecure->Attach(m_pSecureJobNameLabel, 0, 0, 1, 1, fill, fill, 0, 0);
    pSecure->Attach(m_pSecureJobName, 1, 0, 1, 1, grow, fill, 0, 0);
    m_pSecureFrame->Add(pSecure);

    for (xFrame* pFrame : {m_pJobTypeFrame, m_pJobInfoFrame, m_pDeptFrame, m_pSecureFrame}) {
        pFrames->PackStart(pFrame, 0, 0, 0);
    }
    for (xWidget* pLayout : std::initializer_list<xWidget*>{pPage, pFrames, pJobType, pToggles, pMailboxAlign,
                                                             pSecureAlign, pAccount, pJobInfo, pDept, pSecure}) {
        delete pLayout;
    }
}

void CTabJobtype::SetLabelTexts()
{
    // A model's resource file may word them its own way.
    m_pJobTypeCheck->SetText(Text(IDS_JOB_SECTION, IDS_JOB_TYPE));
    m_pUserIdLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_USERID));
    m_pPasswordLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_PASSWORD));
    m_pJobInfoTitle->SetText(Text(IDS_JOB_SECTION, IDS_JOB_INFORMATION));
    m_pUserNameLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_USERNAME));
    m_pJobNameLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_JOBNAME));
    m_pSecureJobNameLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_JOBNAME));
    m_pDeptTitle->SetText(Text(IDS_JOB_SECTION, IDS_JOB_DEPARTMENT));
    m_pDeptLabel->SetText(Text(IDS_JOB_SECTION, IDS_JOB_DEPTCODE));
    m_pSecureCheck->SetText(Text(0, IDS_JOB_SECUREPRINT));
}

void CTabJobtype::ProbeFlags()
{
    m_wUserIdRows = 0;
    m_wPasswordRows = 0;
    m_bKind2Flagged = 0;
    m_bKind3Flagged = 0;
    m_bDeptFeature = 0;
    m_bJobInfoFeature = 0;
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    const DWORD dwExtra1 = pInfo->psdm.priv.dmFieldsExtra1;
    m_bKind2Flagged = Flag((dwExtra1 & DMX1_JOBKIND2) != 0);
    m_bKind3Flagged = Flag((dwExtra1 & DMX1_JOBKIND3) != 0);
    m_bDeptFeature = Flag((dwExtra1 & DMX1_DEPT_CODE) != 0);
    m_bJobInfoFeature = Flag(pInfo->pMdUtil != nullptr && pInfo->pMdUtil->HasCapability79Bits0to2() != 0);
    for (SHORT sKind : {kJobSpoolMailbox, kJobSpoolSecureMailbox}) {
        const WORD bFlagged = sKind == kJobSpoolMailbox ? m_bKind2Flagged : m_bKind3Flagged;
        tagJOBSPOOLINFO info;
        if (bFlagged != 0 && GetJobSpoolInfo(&pInfo->mh, sKind, &info) != 0) {
            m_wUserIdRows |= static_cast<WORD>(info.sEnabled1);
            m_wPasswordRows |= static_cast<WORD>(info.sEnabled2);
        }
    }
}

void CTabJobtype::ProbeJobKinds()
{
    for (SHORT& sMask : m_sKindMask) {
        sMask = -1;
    }
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    tagREVISEINFO revise = {pInfo->pszPrinter, &pInfo->mh, pInfo->pMdUtil, pInfo->pKinsokuList, nullptr, nullptr};
    tagJOBTYPEPROBE probe{};
    probe.sJobType = 0;
    probe.dwKeepMask = 255;
    if (bProbeJobType(&revise, &pInfo->psdm, &probe) != 0 && probe.sJobType != 0) {
        // The probe's words are in the order of the kinds 1, 4, 5, 2, 3.
        const int kinds[5] = {1, 4, 5, 2, 3};
        for (int i = 0; i < 5; ++i) {
            m_sKindMask[kinds[i]] = probe.sKindWords[i];
        }
    }

    // Each kind the model offers in the settings and the printer, as installed, can take. Kinds 1,
    // 4 and 5 have no control of their own; they are only fall-backs of the job type check.
    const DWORD dwExtra1 = pInfo->psdm.priv.dmFieldsExtra1;
    const CMdUtil* pMdUtil = pInfo->pMdUtil;
    auto available = [&](DWORD dwBit, WORD (CMdUtil::*pfnAvailable)() const) {
        return (dwExtra1 & dwBit) != 0 && pMdUtil != nullptr && (pMdUtil->*pfnAvailable)() != 0;
    };
    const bool abAvailable[6] = {false,
                                 available(DMX1_JOBKIND1, &CMdUtil::IsCapability60Available),
                                 m_bKind2Flagged != 0 && available(DMX1_JOBKIND2, &CMdUtil::IsCapability73Available),
                                 m_bKind3Flagged != 0 && available(DMX1_JOBKIND3, &CMdUtil::IsCapability74Available),
                                 available(DMX1_JOBKIND4, &CMdUtil::IsCapability61Available),
                                 available(DMX1_JOBKIND5, &CMdUtil::IsCapability62Available)};
    for (int nKind = 1; nKind <= 5; ++nKind) {
        m_bKindAvailable[nKind] = Flag(abAvailable[nKind] && m_sKindMask[nKind] != 0);
    }
    m_bDeptFrame = m_bDeptFeature;
}

void CTabJobtype::ApplyDeptRule()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    m_DeptRule = GetDeptCodeRule(pInfo != nullptr ? &pInfo->mh : nullptr, sizeof pInfo->psdm.priv.dmDeptCode);
    ApplyRule(m_pDeptCode, m_DeptRule);
    if ((m_DeptRule.dwFilter & kFilterHidden) != 0) {
        m_pDeptCode->SetPassword(-1);
    }
    m_pDeptCode->SetInvisibleChar(kInvisibleChar);
}

void CTabJobtype::ApplySecurePrintRule()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    bool bOffered = false;
    const tagENTRYTEXTRULE rule =
        GetSecureJobNameRule(pInfo != nullptr ? &pInfo->mh : nullptr, sizeof pInfo->psdm.priv.dmJobName, &bOffered);
    m_bSecurePrint = Flag(bOffered);
    for (xWidget* pControl : std::initializer_list<xWidget*>{m_pSecureFrame, m_pSecureCheck, m_pSecureJobNameLabel,
                                                              m_pSecureJobName}) {
        pControl->Show(m_bSecurePrint);
    }
    if (bOffered) {
        // Only the model's filter flags: the secure job name has no extra characters.
        m_pSecureJobName->SetMaxLength(static_cast<int>(rule.cchMax));
        m_pSecureJobName->SetFilter(static_cast<int>(rule.dwFilter), nullptr);
        if ((rule.dwFilter & kFilterHidden) != 0) {
            m_pSecureJobName->SetPassword(-1);
            m_pSecureJobName->SetInvisibleChar(kInvisibleChar);
        }
    }
}

void CTabJobtype::OnInitPage()
{
    if (DialogInfo() == nullptr) {
        return;
    }
    m_bUpdating = 0xFFFF;
    m_pDeptTip->Show(0);
    SetLabelTexts();
    ProbeFlags();
    ProbeJobKinds();
    ApplyDeptRule();
    ApplySecurePrintRule();

    m_pJobTypeFrame->Show(m_bKind2Flagged != 0 || m_bKind3Flagged != 0);
    m_pMailbox->Show(m_bKind2Flagged);
    m_pSecureMailbox->Show(m_bKind3Flagged);
    m_pUserIdLabel->Show(m_wUserIdRows);
    m_pUserId->Show(m_wUserIdRows);
    m_pPasswordLabel->Show(m_wPasswordRows);
    m_pPassword->Show(m_wPasswordRows);
    m_pPassword->SetPassword(-1);
    m_pPassword->SetMaxLength(kPasswordInitialMax);

    m_pJobInfoFrame->Show(m_bJobInfoFeature);
    if (m_bJobInfoFeature != 0) {
        m_pUserName->SetMaxLength(kUserNameMax);
        m_pJobName->SetMaxLength(kJobNameMax);
    }
    m_pDeptFrame->Show(m_bDeptFeature);
    m_wRememberedKind = kJobSpoolMailbox;
    // The department code is never shown, whatever the model's flags say.
    m_pDeptCode->SetPassword(-1);
    m_pDeptCode->SetInvisibleChar(kInvisibleChar);
    m_bUpdating = 0;
    UpdateStatus();
}

void CTabJobtype::OnSetActive()
{
    ProbeFlags();
    UpdateStatus();
}

void CTabJobtype::Refresh()
{
    UpdateStatus();
}

void CTabJobtype::UpdateKindRows()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    const PRIVDM& priv = pInfo->psdm.priv;
    const SHORT sKind = static_cast<SHORT>(priv.dmJobSpool);
    bool bUserId = false;
    bool bPassword = false;
    const tagENTRYTEXTRULE userIdRule =
        GetJobKindTextRule(&pInfo->mh, sKind, false, sizeof priv.dmMailBox_UserID, &bUserId);
    const tagENTRYTEXTRULE passwordRule =
        GetJobKindTextRule(&pInfo->mh, sKind, true, sizeof priv.dmPassword, &bPassword);
    if (sKind >= 1 && sKind <= 5) {
        bUserId = bUserId && m_sKindMask[sKind] != 0;
        bPassword = bPassword && m_sKindMask[sKind] != 0;
    }
    m_pUserIdLabel->Enable(bUserId);
    m_pUserId->Enable(bUserId);
    ApplyRule(m_pUserId, userIdRule);
    m_pPasswordLabel->Enable(bPassword);
    m_pPassword->Enable(bPassword);
    ApplyRule(m_pPassword, passwordRule);
}

void CTabJobtype::UpdateDescription()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    const WORD wKind = pInfo->psdm.priv.dmJobSpool;
    const WORD wName = wKind == kJobSpoolMailbox         ? IDS_JOBKIND_MAILBOX
                       : wKind == kJobSpoolSecureMailbox ? IDS_JOBKIND_SECUREMAILBOX
                                                         : IDS_JOBKIND_OTHER;
    const char* pszFormat = Text(0, IDS_JOB_CURRENT_SETTING);
    const char* pszName = Text(0, wName);
    // The format may come from a resource file: it is used only when it reads one text.
    if (pszFormat == nullptr || pszName == nullptr || !orv::SamePrintfConversions(pszFormat, "%s")) {
        return;
    }
    gchar* pszText = g_strdup_printf(pszFormat, pszName);
    m_pDescription->SetText(pszText);
    g_free(pszText);
}

void CTabJobtype::ShowEntryText(xEntry* pEntry, const char* pszField, size_t cbField)
{
    pEntry->SetText(FieldText(pszField, cbField).c_str());
}

void CTabJobtype::UpdateStatus()
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo == nullptr) {
        return;
    }
    m_bUpdating = 0xFFFF;
    PRIVDM& priv = pInfo->psdm.priv;
    UpdateKindRows();
    const bool bOn = priv.dmJobSpool != kJobSpoolNone;
    m_pJobTypeCheck->SetCheck(bOn);
    m_pJobTypeFrame->EnableChild(bOn);
    if (bOn) {
        m_pMailbox->Enable(IsKindAvailable(kJobSpoolMailbox));
        m_pSecureMailbox->Enable(IsKindAvailable(kJobSpoolSecureMailbox));
    }
    UpdateDescription();
    m_pMailbox->SetCheckSilently(priv.dmJobSpool == kJobSpoolMailbox);
    m_pSecureMailbox->SetCheckSilently(priv.dmJobSpool == kJobSpoolSecureMailbox);
    if (m_bSecurePrint != 0) {
        m_pSecureCheck->SetCheck(priv.dmJobSpool == kJobSpoolSecurePrint);
    }
    m_pDeptFrame->Enable((priv.dmUseDeptCode & 0x1) != 0 && m_bDeptFrame != 0);

    ShowEntryText(m_pUserId, priv.dmMailBox_UserID, sizeof priv.dmMailBox_UserID);
    ShowEntryText(m_pPassword, priv.dmPassword, sizeof priv.dmPassword);
    ShowEntryText(m_pUserName, priv.dmUserName, sizeof priv.dmUserName);
    ShowEntryText(m_pJobName, priv.dmJobName, sizeof priv.dmJobName);
    ShowEntryText(m_pDeptCode, priv.dmDeptCode, sizeof priv.dmDeptCode);
    // The entry drops what the model's rule refuses (characters, length): the record keeps what
    // the entry shows, so the code judged and saved is the one the user sees.
    if (FieldText(priv.dmDeptCode, sizeof priv.dmDeptCode) != m_pDeptCode->GetText()) {
        CopyToField(m_pDeptCode->GetText(), priv.dmDeptCode, sizeof priv.dmDeptCode);
    }
    if (m_bSecurePrint != 0) {
        ShowEntryText(m_pSecureJobName, priv.dmJobName, sizeof priv.dmJobName);
    }
    m_bUpdating = 0;
}

WORD CTabJobtype::KindToSwitchOn() const
{
    const WORD wKind = m_wRememberedKind;
    if (wKind < 1 || wKind > 5 || IsKindAvailable(wKind)) {
        return wKind;
    }
    for (int nKind : kKindFallbackOrder) {
        if (IsKindAvailable(nKind)) {
            return static_cast<WORD>(nKind);
        }
    }
    // No kind the printer can take: the job stays a normal one rather than asking for a kind the
    // printer, as installed, does not offer.
    return kJobSpoolNone;
}

void CTabJobtype::OnNofityBtnClicked(int nID)
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (m_bUpdating != 0 || pInfo == nullptr) {
        return;
    }
    PRIVDM& priv = pInfo->psdm.priv;
    switch (nID) {
    case IDC_JOB_MAILBOX:
        priv.dmJobSpool = kJobSpoolMailbox;
        m_wRememberedKind = kJobSpoolMailbox;
        break;
    case IDC_JOB_SECUREMAILBOX:
        priv.dmJobSpool = kJobSpoolSecureMailbox;
        m_wRememberedKind = kJobSpoolSecureMailbox;
        break;
    case IDC_JOB_SECUREPRINT:
        priv.dmJobSpool = priv.dmJobSpool == kJobSpoolSecurePrint ? kJobSpoolNone : kJobSpoolSecurePrint;
        m_wRememberedKind = priv.dmJobSpool;
        break;
    case IDC_JOB_TYPE:
        priv.dmJobSpool = m_pJobTypeCheck->GetCheck() != 0 ? KindToSwitchOn() : kJobSpoolNone;
        break;
    default:
        return;
    }
    UpdateKindRows();
    CMainWin* pMain = GetMainWindow();
    pMain->SetModified(-1);
    pMain->RunKinsoku(nullptr, 0);
    UpdateStatus();
}

void CTabJobtype::OnNofityEditChanged(int nID)
{
    tagDIALOGINFO* pInfo = DialogInfo();
    if (m_bUpdating != 0 || pInfo == nullptr) {
        return;
    }
    PRIVDM& priv = pInfo->psdm.priv;
    switch (nID) {
    case IDC_JOB_USERID:
        CopyToField(m_pUserId->GetText(), priv.dmMailBox_UserID, sizeof priv.dmMailBox_UserID);
        break;
    case IDC_JOB_PASSWORD:
        CopyToField(m_pPassword->GetText(), priv.dmPassword, sizeof priv.dmPassword);
        break;
    case IDC_JOB_USERNAME:
        CopyToField(m_pUserName->GetText(), priv.dmUserName, sizeof priv.dmUserName);
        break;
    case IDC_JOB_JOBNAME:
        CopyToField(m_pJobName->GetText(), priv.dmJobName, sizeof priv.dmJobName);
        break;
    case IDC_JOB_DEPTCODE:
        CopyToField(m_pDeptCode->GetText(), priv.dmDeptCode, sizeof priv.dmDeptCode);
        break;
    case IDC_JOB_SECUREJOBNAME:
        if (m_bSecurePrint == 0) {
            return;
        }
        CopyToField(m_pSecureJobName->GetText(), priv.dmJobName, sizeof priv.dmJobName);
        break;
    default:
        return;
    }
    // Typing runs neither the constraint engine nor a refresh: the caret stays where it is.
    GetMainWindow()->SetModified(-1);
}

int CTabJobtype::CheckDeptCode()
{
    if ((m_DeptRule.dwFilter & ENTRYFILTER_FULL) == 0) {
        return -1;
    }
    // A code the printer is never sent (the model or these settings do not use one) cannot hold
    // up a save: the user could not even reach its entry to mend it.
    tagDIALOGINFO* pInfo = DialogInfo();
    if (pInfo == nullptr || m_bDeptFrame == 0 || (pInfo->psdm.priv.dmUseDeptCode & 0x1) == 0) {
        return -1;
    }
    const char* pszCode = m_pDeptCode->GetText();
    const size_t cch = pszCode != nullptr ? std::strlen(pszCode) : 0;
    return CheckEntryText(m_DeptRule, pszCode, cch) == ENTRYTEXT_OK ? -1 : 0;
}

int CTabJobtype::OnNofityFocus(int nID, short bIn)
{
    CMainWin* pMain = GetMainWindow();
    if (pMain == nullptr || nID != IDC_JOB_DEPTCODE) {
        return 0;
    }
    // Focus that leaves because another window became active is not the user leaving the entry.
    GtkWidget* pTop = pMain->GetGtkWidget();
    if (pTop == nullptr || !GTK_IS_WINDOW(pTop) || !gtk_window_has_toplevel_focus(GTK_WINDOW(pTop))) {
        return 0;
    }
    if (bIn != 0 || CheckDeptCode() != 0) {
        return 0;
    }
    GtkWidget* pEntry = m_pDeptCode->GetGtkWidget();
    gdk_display_beep(gtk_widget_get_display(pEntry));
    gtk_widget_grab_focus(pEntry);
    Activate();
    m_pDeptTip->SetText(Text(0, IDS_JOB_DEPTCODE_MISSING));
    m_pDeptTip->Show(-1);
    return -1;
}

int CTabJobtype::Validate()
{
    return CheckDeptCode() != 0 ? -1 : 0;
}

int CTabJobtype::QuerySaveButtons(int, xNoteBook*)
{
    return CheckDeptCode() != 0 ? MB_YESNOCANCEL : MB_NOCANCEL;
}
