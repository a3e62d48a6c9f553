// The Job type page in the real main window over a fake CUPS system: which frames each model
// shows, the job kinds and their fall-backs, the entries' largest lengths and filters, the
// department-code rule with its focus refusal and help tip, Validate and the save prompt's
// buttons, and that the password and department code reach the saved-settings file and nothing
// else. The models are the samples (colour: hard disk and secure print; mono: no job kinds) and
// variants of the colour model compiled at build time (see ModelVariants.cmake).
#include "core/dialog/DevmodeFile.h"
#include "core/settings/DevMode.h"
#include "gui/MainTabs.h"
#include "gui/TabJobtype.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/Screenshot.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntryNoWide.h"
#include "gui/widgets/xHelpTip.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xMessageBox.h"
#include "printer-setup/SetupTestSupport.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using guitest::Pump;
using guitest::TestApp;
using setuptest::FakeCups;
using setuptest::FakeDest;
using setuptest::InstallTree;

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";
const char kHddOff[] = "*DefaultOptionHDD: NotInstalled";
const char kHddOn[] = "*DefaultOptionHDD: Installed";
const char kDuplexOff[] = "*DefaultOptionDuplexer: NotInstalled";
const char kDuplexOn[] = "*DefaultOptionDuplexer: Installed";
const char kDeptMissing[] = "Dept. ID is not inputted. It is required to print.";

// A queue PPD: the sample of the model family with its model data file and default installed
// options replaced.
std::string QueuePpd(const orvtest::ScratchDir& dir, const std::string& file, const std::string& model,
                     const std::vector<std::pair<std::string, std::string>>& replace)
{
    std::string text = setuptest::ReadText(setuptest::WriteSamplePpd(dir, model == "GM4150" ? "GM4150" : "GC7350",
                                                                     file + ".tmp", kUtility));
    std::vector<std::pair<std::string, std::string>> all = replace;
    if (model != "GM4150") {
        all.emplace_back("\"GC7350.pcsp\"", "\"" + model + ".pcsp\"");
    }
    for (const auto& [from, to] : all) {
        const size_t at = text.find(from);
        if (at == std::string::npos) {
            throw std::runtime_error("the sample PPD lacks " + from);
        }
        text.replace(at, from.size(), to);
    }
    return dir.WriteFile(file, text);
}

bool IsShown(GtkWidget* widget)
{
    for (GtkWidget* w = widget; w != nullptr; w = gtk_widget_get_parent(w)) {
        if (!GTK_WIDGET_VISIBLE(w)) {
            return false;
        }
    }
    return true;
}

bool IsSensitive(xWidget* control)
{
    return control != nullptr && GTK_WIDGET_IS_SENSITIVE(control->GetGtkWidget());
}

struct JobTypePage : ::testing::Test {
    InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<FakeCups> cups;
    std::unique_ptr<TestApp> app;

    void SetUp() override
    {
        // The variants beside the samples, and the common and model resource files as installed.
        for (const char* model : {"GC73FULL", "GC73LONG", "GC73UNUSED"}) {
            fs::copy_file(std::string(ORV_JOBTYPE_MODEL_DIR) + model + ".pcsp", tree.DataDir() + model + ".pcsp");
        }
        fs::copy(ORV_RESOURCE_SOURCE_DIR, tree.DataDir(), fs::copy_options::recursive);

        cups = std::make_unique<FakeCups>(std::vector<FakeDest>{
            {"colour", QueuePpd(ppds, "colour.ppd", "GC7350", {})},
            {"colourhdd", QueuePpd(ppds, "colourhdd.ppd", "GC7350", {{kHddOff, kHddOn}})},
            {"mono", QueuePpd(ppds, "mono.ppd", "GM4150", {})},
            {"full", QueuePpd(ppds, "full.ppd", "GC73FULL", {{kHddOff, kHddOn}, {kDuplexOff, kDuplexOn}})},
            {"fullhdd", QueuePpd(ppds, "fullhdd.ppd", "GC73FULL", {{kHddOff, kHddOn}})},
            {"fullbare", QueuePpd(ppds, "fullbare.ppd", "GC73FULL", {})},
            {"long", QueuePpd(ppds, "long.ppd", "GC73LONG", {})},
            {"unused", QueuePpd(ppds, "unused.ppd", "GC73UNUSED", {})},
        });
        ASSERT_NE(cups->Table()->handle, nullptr);
        app = std::make_unique<TestApp>(*cups->Table());
        ASSERT_NE(app->Start(), 0);
        ASSERT_NE(Win(), nullptr);
        orvgui::GiveFocus(Win()->GetGtkWidget());
    }
    void TearDown() override
    {
        app.reset();
        cups.reset();
    }

    CMainWin* Win() const { return app->Window(); }
    CTabJobtype* Page() const
    {
        return dynamic_cast<CTabJobtype*>(Win()->GetTabs()->GetPage(CMainTabs::PAGE_JOBTYPE));
    }
    PRIVDM& Priv() const { return Win()->GetDialogInfo()->psdm.priv; }
    template <typename T = xWidget>
    T* Control(int id) const
    {
        return dynamic_cast<T*>(orvgui::FindControl(Page()->GetGtkWidget(), id, Page()));
    }
    bool Shown(int id) const { return IsShown(Control(id)->GetGtkWidget()); }

    // Loads the queue afresh (changes are discarded) and brings the page to the front, as a
    // user's clicks would.
    void Load(const char* queue)
    {
        guitest::MessageBoxAnswers discard({IDNO, IDNO});
        if (Win()->GetLoadedName() != nullptr && std::strcmp(Win()->GetLoadedName(), queue) == 0) {
            Win()->GetPrinterList()->SelectString(std::strcmp(queue, "mono") != 0 ? "mono" : "colour");
            Pump();
        }
        Win()->GetPrinterList()->SelectString(queue);
        Pump();
        ASSERT_STREQ(Win()->GetLoadedName(), queue);
        if (Page()->IsPageShown() != 0) {
            Page()->Activate();
            Pump();
        }
    }
    void Click(int id)
    {
        gtk_button_clicked(GTK_BUTTON(Control(id)->GetGtkWidget()));
        Pump();
    }
    // Replaces an entry's text as a user does: select all, delete, paste.
    void Paste(int id, const std::string& text)
    {
        GtkEditable* editable = GTK_EDITABLE(Control(id)->GetGtkWidget());
        gtk_editable_delete_text(editable, 0, -1);
        gint position = 0;
        gtk_editable_insert_text(editable, text.c_str(), static_cast<gint>(text.size()), &position);
        Pump();
    }
    std::string EntryText(int id) const { return gtk_entry_get_text(GTK_ENTRY(Control(id)->GetGtkWidget())); }
    int MaxLength(int id) const { return gtk_entry_get_max_length(GTK_ENTRY(Control(id)->GetGtkWidget())); }
    GtkWidget* Focus() const { return gtk_window_get_focus(GTK_WINDOW(Win()->GetGtkWidget())); }
    bool TipShown() const { return GTK_WIDGET_VISIBLE(Page()->GetDeptTip()->GetGtkWidget()); }
    std::string TipText() const { return gtk_label_get_text(GTK_LABEL(Page()->GetDeptTip()->GetTipLabel())); }
};

TEST_F(JobTypePage, ShowsTheFramesTheModelOffers)
{
    struct Case {
        const char* queue;
        bool page, jobType, mailbox, secureMailbox, userId, password, jobInfo, dept, secure;
    };
    const Case cases[] = {
        // Kinds 2 and 3 without user id or password, a department code, secure print.
        {"colour", true, true, true, true, false, false, false, true, true},
        // No job kind, department code, capability 79 or secure print: no page at all.
        {"mono", false, false, false, false, false, false, false, false, false},
        // Kinds with a user id and a password, and the job information entries.
        {"full", true, true, true, true, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.queue);
        Load(c.queue);
        ASSERT_EQ(Page()->IsPageShown() != 0, c.page);
        if (!c.page) {
            EXPECT_EQ(Win()->GetTabs()->ValidateAll(), -1) << "a page not shown never holds up a save";
            continue;
        }
        EXPECT_EQ(Shown(IDC_JOB_TYPE), c.jobType);
        EXPECT_EQ(Shown(IDC_JOB_MAILBOX), c.mailbox);
        EXPECT_EQ(Shown(IDC_JOB_SECUREMAILBOX), c.secureMailbox);
        EXPECT_EQ(Shown(IDC_JOB_USERID), c.userId);
        EXPECT_EQ(Shown(IDC_JOB_PASSWORD), c.password);
        EXPECT_EQ(Shown(IDC_JOB_USERNAME), c.jobInfo);
        EXPECT_EQ(Shown(IDC_JOB_JOBNAME), c.jobInfo);
        EXPECT_EQ(Shown(IDC_JOB_DEPTCODE), c.dept);
        EXPECT_EQ(Shown(IDC_JOB_SECUREPRINT), c.secure);
        EXPECT_EQ(Shown(IDC_JOB_SECUREJOBNAME), c.secure);
        // The department code is never shown as typed.
        EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(Control(IDC_JOB_DEPTCODE)->GetGtkWidget())));
        EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(Control(IDC_JOB_PASSWORD)->GetGtkWidget())));
    }
}

TEST_F(JobTypePage, JobKindsAndTheirFallBackOrder)
{
    struct Case {
        const char* queue;
        std::vector<int> clicks;
        WORD spool;               // dmJobSpool afterwards
        bool checkOn;             // the job type check afterwards
        bool mailbox, secureMailbox;  // the toggles sensitive (while the check is on)
        const char* description;
    };
    const Case cases[] = {
        {"colour", {}, 0, false, false, false, "Current Setting : Normal Print"},
        // Kind 2 needs nothing; kind 3 needs the hard disk, which this queue lacks.
        {"colour", {IDC_JOB_TYPE}, 2, true, true, false, "Current Setting : Mailbox"},
        {"colour", {IDC_JOB_TYPE, IDC_JOB_TYPE}, 0, false, false, false, "Current Setting : Normal Print"},
        {"colourhdd", {IDC_JOB_TYPE, IDC_JOB_SECUREMAILBOX}, 3, true, true, true, "Current Setting : Secure Mailbox"},
        {"colourhdd", {IDC_JOB_TYPE, IDC_JOB_SECUREMAILBOX, IDC_JOB_MAILBOX}, 2, true, true, true,
         "Current Setting : Mailbox"},
        // Switching on again restores the kind chosen last.
        {"colourhdd", {IDC_JOB_TYPE, IDC_JOB_SECUREMAILBOX, IDC_JOB_TYPE, IDC_JOB_TYPE}, 3, true, true, true,
         "Current Setting : Secure Mailbox"},
        // Secure print is kind 6 and shows the check on; switched off it leaves 0 remembered, so
        // switching the job type check on stores 0 and the check is off again.
        {"colour", {IDC_JOB_SECUREPRINT}, 6, true, true, false, "Current Setting : Normal Print"},
        {"colour", {IDC_JOB_SECUREPRINT, IDC_JOB_SECUREPRINT, IDC_JOB_TYPE}, 0, false, false, false,
         "Current Setting : Normal Print"},
        // Kind 2 needs the duplex unit here: the first of 2, 3, 1, 4, 5 that can be had.
        {"fullhdd", {IDC_JOB_TYPE}, 3, true, false, true, "Current Setting : Secure Mailbox"},
        {"fullbare", {IDC_JOB_TYPE}, 1, true, false, false, "Current Setting : Normal Print"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " after " + std::to_string(c.clicks.size()) + " clicks");
        Load(c.queue);
        for (int id : c.clicks) {
            Click(id);
        }
        EXPECT_EQ(Priv().dmJobSpool, c.spool);
        EXPECT_EQ(Control<xCheckBox>(IDC_JOB_TYPE)->GetCheck() != 0, c.checkOn);
        EXPECT_EQ(IsSensitive(Control(IDC_JOB_MAILBOX)), c.mailbox);
        EXPECT_EQ(IsSensitive(Control(IDC_JOB_SECUREMAILBOX)), c.secureMailbox);
        EXPECT_EQ(Control<xToggleButton>(IDC_JOB_MAILBOX)->GetCheck() != 0, c.spool == 2);
        EXPECT_EQ(Control<xToggleButton>(IDC_JOB_SECUREMAILBOX)->GetCheck() != 0, c.spool == 3);
        EXPECT_EQ(Control<xCheckBox>(IDC_JOB_SECUREPRINT)->GetCheck() != 0, c.spool == 6);
        const std::vector<std::string> labels = orvgui::LabelTexts(Page()->GetGtkWidget());
        EXPECT_NE(std::find(labels.begin(), labels.end(), c.description), labels.end()) << c.description;
        if (!c.clicks.empty()) {
            EXPECT_TRUE(Win()->IsModified());
        }
        Win()->SetModified(0);
    }
}

TEST_F(JobTypePage, EntriesTakeTheModelsLengthsAndCharacters)
{
    struct Case {
        const char* queue;
        std::vector<int> clicks;
        int entry;
        int maxLength;
        std::string typed;
        std::string kept;
    };
    const std::string digits40(40, '7');
    const Case cases[] = {
        // Department code: digits, 8 on the colour model; 6 on the variant; a model length the
        // record cannot hold is held to the record's 31.
        {"colour", {}, IDC_JOB_DEPTCODE, 8, "12ab3456789", "12345678"},
        {"full", {}, IDC_JOB_DEPTCODE, 6, "1-2-3", "123"},
        {"long", {}, IDC_JOB_DEPTCODE, 31, digits40, std::string(31, '7')},
        // Secure job name: 16 characters, no filter on the colour model.
        {"colour", {}, IDC_JOB_SECUREJOBNAME, 16, "quarterly report 2027", "quarterly report"},
        // Job information: 20 and 80 characters.
        {"full", {}, IDC_JOB_USERNAME, 20, "Alexandra Konstantinopoulou", "Alexandra Konstantin"},
        {"full", {}, IDC_JOB_JOBNAME, 80, "minutes", "minutes"},
        // User id and password follow the kind chosen: kind 2 digits 16 and 4, kind 3 letters and
        // digits 12 and digits 6.
        {"full", {IDC_JOB_TYPE}, IDC_JOB_USERID, 16, "ab-12", "12"},
        {"full", {IDC_JOB_TYPE}, IDC_JOB_PASSWORD, 4, "123456", "1234"},
        {"full", {IDC_JOB_TYPE, IDC_JOB_SECUREMAILBOX}, IDC_JOB_USERID, 12, "ab-12 cd345678", "ab12cd345678"},
        {"full", {IDC_JOB_TYPE, IDC_JOB_SECUREMAILBOX}, IDC_JOB_PASSWORD, 6, "x12345678", "123456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " entry " + std::to_string(c.entry) + " <- " + c.typed);
        Load(c.queue);
        for (int id : c.clicks) {
            Click(id);
        }
        EXPECT_EQ(MaxLength(c.entry), c.maxLength);
        Paste(c.entry, c.typed);
        EXPECT_EQ(EntryText(c.entry), c.kept);
    }
}

TEST_F(JobTypePage, TypedTextsGoIntoTheirFieldsCutToTheField)
{
    Load("full");
    Click(IDC_JOB_TYPE);
    Click(IDC_JOB_SECUREMAILBOX);
    struct Case {
        int entry;
        const char* typed;
        const char* field;
        size_t cbField;
    };
    // 11 three-byte characters: 33 bytes, more than a 32-byte field holds; the cut falls before
    // the character that no longer fits whole.
    const std::string wide = "\xe5\xb1\xb1\xe7\x94\xb0\xe5\xa4\xaa\xe9\x83\x8e\xe6\xa8\xa1\xe6\x9c\xac\xe5\x9b\x9b"
                             "\xe9\x83\x8e\xe4\xba\x94\xe5\x8d\x81\xe5\xad\x90";
    const Case cases[] = {
        {IDC_JOB_USERID, "user12", Priv().dmMailBox_UserID, sizeof Priv().dmMailBox_UserID},
        {IDC_JOB_PASSWORD, "246810", Priv().dmPassword, sizeof Priv().dmPassword},
        {IDC_JOB_USERNAME, wide.c_str(), Priv().dmUserName, sizeof Priv().dmUserName},
        {IDC_JOB_JOBNAME, "weekly minutes", Priv().dmJobName, sizeof Priv().dmJobName},
        {IDC_JOB_DEPTCODE, "135790", Priv().dmDeptCode, sizeof Priv().dmDeptCode},
        {IDC_JOB_SECUREJOBNAME, "payroll", Priv().dmJobName, sizeof Priv().dmJobName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Win()->SetModified(0);
        Paste(c.entry, c.typed);
        const std::string shown = EntryText(c.entry);
        std::string expected = shown.substr(0, c.cbField - 1);
        if (c.entry == IDC_JOB_USERNAME) {
            expected = wide.substr(0, 30);
        }
        EXPECT_EQ(std::string(c.field, strnlen(c.field, c.cbField)), expected);
        EXPECT_EQ(c.field[c.cbField - 1], '\0');
        EXPECT_TRUE(Win()->IsModified());
    }
    // A shorter text leaves nothing of the longer one behind in the field.
    Paste(IDC_JOB_PASSWORD, "9");
    EXPECT_EQ(std::string(Priv().dmPassword, sizeof Priv().dmPassword), std::string("9") + std::string(31, '\0'));
    // Both job name entries write one field; each shows the other's text after a refresh.
    Page()->Refresh();
    EXPECT_EQ(EntryText(IDC_JOB_JOBNAME), "payroll");
}

TEST_F(JobTypePage, DepartmentCodeRulesDecideValidateAndTheSaveButtons)
{
    struct Case {
        const char* queue;
        std::string typed;
        bool rejected;
    };
    const Case cases[] = {
        // No full-length flag (0x1001): any length is taken.
        {"colour", "1234", false},
        // 0x1005, 6 digits: empty or all six.
        {"full", "", false},
        {"full", "1", true},
        {"full", "12345", true},
        {"full", "123456", false},
        // The record holds 31: that is the full length a longer model rule comes to.
        {"long", "1234", true},
        {"long", std::string(31, '5'), false},
        // Offered but not used: the code is never sent, so it never holds up a save.
        {"unused", "12", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " code '" + c.typed + "'");
        Load(c.queue);
        Paste(IDC_JOB_DEPTCODE, c.typed);
        EXPECT_EQ(std::string(Priv().dmDeptCode), c.typed) << "the rejected text stays too";
        EXPECT_EQ(Page()->CheckDeptCode(), c.rejected ? 0 : -1);
        EXPECT_EQ(Page()->Validate(), c.rejected ? 0 : -1);
        EXPECT_EQ(Win()->GetTabs()->ValidateAll(), c.rejected ? 0 : -1);
        EXPECT_EQ(Page()->QuerySaveButtons(0, Win()->GetTabs()), c.rejected ? MB_NOCANCEL : MB_YESNOCANCEL);
        EXPECT_EQ(Win()->GetTabs()->QuerySaveButtons(0), c.rejected ? MB_NOCANCEL : MB_YESNOCANCEL);
        // Another page in front (a tab click that the focus refusal cannot undo): the save
        // prompt still offers no Yes while the code stands rejected.
        gtk_notebook_set_current_page(GTK_NOTEBOOK(Win()->GetTabs()->GetGtkWidget()), 0);
        orvgui::PumpEvents();
        EXPECT_EQ(Win()->GetTabs()->QuerySaveButtons(0), c.rejected ? MB_NOCANCEL : MB_YESNOCANCEL);
        // Leave the queue without saving.
        Paste(IDC_JOB_DEPTCODE, "");
        Win()->SetModified(0);
    }
}

TEST_F(JobTypePage, HalfTypedCodeKeepsTheFocusAndShowsTheTip)
{
    struct Case {
        const char* code;
        bool windowActive;
        bool refused;
    };
    const Case cases[] = {
        {"123", true, true},
        {"123456", true, false},
        {"", true, false},
        // Focus that goes because another window became active is not tested.
        {"123", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("code '") + c.code + (c.windowActive ? "'" : "', window inactive"));
        Load("full");
        orvgui::GiveFocus(Win()->GetGtkWidget());
        GtkWidget* dept = Control(IDC_JOB_DEPTCODE)->GetGtkWidget();
        gtk_widget_grab_focus(dept);
        Pump();
        Paste(IDC_JOB_DEPTCODE, c.code);
        ASSERT_EQ(Focus(), dept);
        if (!c.windowActive) {
            GdkEvent* out = gdk_event_new(GDK_FOCUS_CHANGE);
            out->focus_change.window = GDK_WINDOW(g_object_ref(Win()->GetGtkWidget()->window));
            out->focus_change.send_event = TRUE;
            out->focus_change.in = FALSE;
            gdk_event_put(out);
            gdk_event_free(out);
            Pump();
        }
        // The user clicks into the printer list, then into the job name entry.
        for (int other : {-1, static_cast<int>(IDC_JOB_JOBNAME)}) {
            GtkWidget* target = other < 0 ? Win()->GetPrinterList()->GetWidget() : Control(other)->GetGtkWidget();
            gtk_widget_grab_focus(target);
            Pump();
            EXPECT_EQ(Focus() == dept, c.refused);
            EXPECT_EQ(TipShown(), c.refused);
            if (c.refused) {
                EXPECT_EQ(TipText(), kDeptMissing);
                EXPECT_NE(Page()->IsPageShown(), 0);
                EXPECT_EQ(gtk_notebook_get_current_page(GTK_NOTEBOOK(Win()->GetTabs()->GetGtkWidget())),
                          gtk_notebook_page_num(GTK_NOTEBOOK(Win()->GetTabs()->GetGtkWidget()), Page()->GetGtkWidget()));
                EXPECT_EQ(EntryText(IDC_JOB_DEPTCODE), c.code) << "the text stays as typed";
            }
        }
        Page()->GetDeptTip()->Show(0);
        orvgui::GiveFocus(Win()->GetGtkWidget());
        Paste(IDC_JOB_DEPTCODE, "");
        Win()->SetModified(0);
    }
}

// Which buttons a message box offers, answered with a given button.
class PromptWatch {
public:
    explicit PromptWatch(int answer) : m_answer(answer) { m_source = g_timeout_add(10, &PromptWatch::Poll, this); }
    ~PromptWatch() { g_source_remove(m_source); }
    std::vector<int> Buttons() const { return m_buttons; }
    int Count() const { return m_count; }

private:
    static gboolean Poll(gpointer self)
    {
        auto* pThis = static_cast<PromptWatch*>(self);
        GList* windows = gtk_window_list_toplevels();
        for (GList* it = windows; it != nullptr; it = it->next) {
            GtkWidget* window = GTK_WIDGET(it->data);
            if (GTK_IS_MESSAGE_DIALOG(window) && GTK_WIDGET_VISIBLE(window)) {
                ++pThis->m_count;
                pThis->m_buttons.clear();
                for (int id : {IDYES, IDNO, IDOK, IDCANCEL}) {
                    if (orvgui::FindResponseButton(window, id) != nullptr) {
                        pThis->m_buttons.push_back(id);
                    }
                }
                gtk_dialog_response(GTK_DIALOG(window), pThis->m_answer);
                break;
            }
        }
        g_list_free(windows);
        return TRUE;
    }

    int m_answer;
    std::vector<int> m_buttons;
    int m_count = 0;
    guint m_source = 0;
};

TEST_F(JobTypePage, ARejectedCodeCannotBeSaved)
{
    struct Case {
        const char* code;
        std::vector<int> buttons;  // of the save prompt when another queue is chosen
        int answer;
        bool saved;
    };
    const Case cases[] = {
        {"12", {IDNO, IDCANCEL}, IDNO, false},
        {"123456", {IDYES, IDNO, IDCANCEL}, IDYES, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        fs::remove_all(tree.ConfDir());
        Load("full");
        Paste(IDC_JOB_DEPTCODE, c.code);
        ASSERT_TRUE(Win()->IsModified());

        // Apply saves only a valid page.
        gtk_button_clicked(GTK_BUTTON(orvgui::FindControl(Win()->GetGtkWidget(), IDC_MAIN_APPLY, Win())->GetGtkWidget()));
        Pump();
        DRVDEVMODE saved{};
        EXPECT_EQ(dwReadDevmodeFile(nullptr, "full", &saved) == 0, c.saved);
        EXPECT_EQ(tree.CompanionArgs().empty(), !c.saved);
        if (c.saved) {
            EXPECT_STREQ(saved.priv.dmDeptCode, c.code);
        }

        Win()->SetModified(-1);
        PromptWatch prompt(c.answer);
        Win()->GetPrinterList()->SelectString("colour");
        Pump();
        EXPECT_EQ(prompt.Count(), 1);
        EXPECT_EQ(prompt.Buttons(), c.buttons);
        EXPECT_STREQ(Win()->GetLoadedName(), "colour");
    }
}

TEST_F(JobTypePage, PasswordAndCodeReachOnlyTheSavedFile)
{
    Load("full");
    testing::internal::CaptureStdout();
    Click(IDC_JOB_TYPE);
    Click(IDC_JOB_SECUREMAILBOX);
    Paste(IDC_JOB_USERID, "kim42");
    Paste(IDC_JOB_PASSWORD, "918273");
    Paste(IDC_JOB_DEPTCODE, "640512");
    gtk_button_clicked(GTK_BUTTON(orvgui::FindControl(Win()->GetGtkWidget(), IDC_MAIN_APPLY, Win())->GetGtkWidget()));
    Pump();
    Load("colour");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.find("918273"), std::string::npos) << output;
    EXPECT_EQ(output.find("640512"), std::string::npos) << output;
    for (const std::string& arg : tree.CompanionArgs()) {
        EXPECT_EQ(arg.find("918273"), std::string::npos) << arg;
        EXPECT_EQ(arg.find("640512"), std::string::npos) << arg;
    }

    DRVDEVMODE saved{};
    ASSERT_EQ(dwReadDevmodeFile(nullptr, "full", &saved), 0u);
    EXPECT_EQ(saved.priv.dmJobSpool, 3);
    EXPECT_STREQ(saved.priv.dmMailBox_UserID, "kim42");
    EXPECT_STREQ(saved.priv.dmPassword, "918273");
    EXPECT_STREQ(saved.priv.dmDeptCode, "640512");
    struct stat st {};
    ASSERT_EQ(stat((tree.ConfDir() + "/full.dm").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, kDmFileMode);
}

TEST_F(JobTypePage, SavedTextsAreReadWithinTheirFields)
{
    // A saved-settings file whose texts fill their fields without a terminator, one of them
    // ending in a broken character.
    Load("full");
    DRVDEVMODE dm = Win()->GetDialogInfo()->psdm;
    std::memset(dm.priv.dmDeptCode, '7', sizeof dm.priv.dmDeptCode);
    std::memset(dm.priv.dmMailBox_UserID, '4', sizeof dm.priv.dmMailBox_UserID);
    std::memset(dm.priv.dmJobName, 'j', sizeof dm.priv.dmJobName);
    std::memset(dm.priv.dmUserName, 0, sizeof dm.priv.dmUserName);
    std::memcpy(dm.priv.dmUserName, "Ann\xe5\xb1", 5);
    dm.priv.dmJobSpool = 2;
    ASSERT_EQ(dwWriteDevmodeFile(nullptr, "fullbare", &dm), 0u);
    Load("fullbare");

    EXPECT_EQ(EntryText(IDC_JOB_USERNAME), "Ann");
    EXPECT_LE(EntryText(IDC_JOB_JOBNAME).size(), sizeof dm.priv.dmJobName - 1);
    // The department entry holds what the model takes, and so does the record: a whole code.
    EXPECT_EQ(EntryText(IDC_JOB_DEPTCODE), "777777");
    EXPECT_STREQ(Priv().dmDeptCode, "777777");
    EXPECT_EQ(Page()->Validate(), -1);
}

TEST_F(JobTypePage, Screenshots)
{
    Load("colourhdd");
    Click(IDC_JOB_TYPE);
    Paste(IDC_JOB_DEPTCODE, "1234");
    Paste(IDC_JOB_SECUREJOBNAME, "board pack");
    orvgui::SaveScreenshot(Win()->GetGtkWidget(), "jobtype-colour");
    Win()->SetModified(0);
    Load("full");
    Click(IDC_JOB_TYPE);
    Paste(IDC_JOB_USERID, "4711");
    orvgui::SaveScreenshot(Win()->GetGtkWidget(), "jobtype-full");
    Win()->SetModified(0);
}

}  // namespace
