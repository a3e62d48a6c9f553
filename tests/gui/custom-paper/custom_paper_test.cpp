// The custom paper dialogs on a loaded queue under a display: the list dialog reading the papers of
// the queue's PPD, creating, replacing, editing and deleting them through the create dialog, and
// on OK handing a rewritten temporary PPD to a stand-in companion program; the create dialog's
// limits, units and name checks. Everything is driven through the signals a user's actions emit.
#include "core/InstallPaths.h"
#include "core/model/SpcPaperAnswers.h"
#include "gui/DlgCustom.h"
#include "gui/DlgCustomCreate.h"
#include "gui/MainTabs.h"
#include "gui/TabBasic.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xList.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/Screenshot.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "printer-setup/SetupTestSupport.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using guitest::IsSensitive;
using guitest::MessageBoxAnswers;
using guitest::Pump;
using guitest::RowTexts;
using guitest::TestApp;
using setuptest::FakeCups;
using setuptest::InstallTree;
using setuptest::ReadText;

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";
const char kTitle[] = "Custom Paper";

tagCUSTOMPAPER Paper(const char* keyword, const char* name)
{
    tagCUSTOMPAPER paper{};
    std::snprintf(paper.szName, sizeof(paper.szName), "%s", name);
    std::snprintf(paper.szKeyword, sizeof(paper.szKeyword), "%s", keyword);
    return paper;
}

// Adds a paper to a PPD file as the companion program's last install left it.
void AddPaper(const std::string& ppd, int id, const char* name, int unit, double width, double length)
{
    const std::string keyword = "userpaper" + std::to_string(id);
    const tagCUSTOMPAPER paper = Paper(keyword.c_str(), name);
    ASSERT_EQ(AddCustomPaperToPpd(ppd.c_str(), keyword.c_str(), &paper, id, unit, width, length), 1) << name;
}

std::vector<std::string> LinesWith(const std::string& text, const std::string& part)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = text.substr(start, end - start);
        if (line.find(part) != std::string::npos) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

struct CustomPaper : ::testing::Test {
    InstallTree tree;
    orvtest::ScratchDir ppds;
    std::string ppd;  // the queue's PPD as CUPS hands it out
    std::unique_ptr<FakeCups> cups;
    std::unique_ptr<TestApp> app;

    // The stand-in companion program: records its arguments and keeps a copy of the PPD given with
    // -c (the dialog removes its temporary file once the program has run).
    std::string CompanionCopy() const { return tree.Dir() / "installed.ppd"; }

    void SetUp() override
    {
        fs::create_directories(orv::InstalledPath(orv::kTmpDir));
        const std::string companion = orv::InstalledPath(orv::kCompanionProgram);
        const std::string script = "#!/bin/sh\n"
                                   "for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                   tree.CompanionLog() +
                                   "'\n"
                                   "for a in \"$@\"; do case \"$a\" in -c*) cp \"${a#-c}\" '" +
                                   CompanionCopy() + "';; esac; done\nexit 0\n";
        tree.Dir().WriteFile(companion.substr(tree.Root().size() + 1), script);
        chmod(companion.c_str(), 0755);
        ppd = setuptest::WriteSamplePpd(ppds, "GC7350", "colour.ppd", kUtility);
    }
    void Start(const std::string& model = "GC7350")
    {
        if (model != "GC7350") {
            ppd = setuptest::WriteSamplePpd(ppds, model, "queue.ppd", kUtility);
        }
        cups = std::make_unique<FakeCups>(std::vector<setuptest::FakeDest>{{"colour", ppd}});
        ASSERT_NE(cups->Table()->handle, nullptr);
        app = std::make_unique<TestApp>(*cups->Table());
        ASSERT_NE(app->Start(), 0);
        ASSERT_NE(Info(), nullptr);
    }
    void TearDown() override
    {
        app.reset();
        cups.reset();
    }
    tagDIALOGINFO* Info() const { return app->Window()->GetDialogInfo(); }
    DRVDEVMODE& Dm() const { return Info()->psdm; }
    void SetUserUnitMetric(bool metric)
    {
        Dm().priv.dmMetric = static_cast<WORD>(metric ? (Dm().priv.dmMetric | 0x2) : (Dm().priv.dmMetric & ~0x2));
    }

    template <typename T>
    static T* Control(GtkWindow* window, int id, const xWidget* owner)
    {
        auto* control = dynamic_cast<T*>(orvgui::FindControl(GTK_WIDGET(window), id, owner));
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    static void Click(GtkWindow* window, int id, const xWidget* owner)
    {
        xButtonBase* button = Control<xButtonBase>(window, id, owner);
        ASSERT_NE(button, nullptr);
        gtk_button_clicked(GTK_BUTTON(button->GetGtkWidget()));
    }
    // The create dialog is the newest "Custom Paper" window; its controls belong to it.
    static xWidget* OwnerOf(GtkWindow* window) { return xWidget::FromGtkWidget(GTK_WIDGET(window)); }
    static xSpinButton* Spin(GtkWindow* window, int id) { return Control<xSpinButton>(window, id, OwnerOf(window)); }
    static void SetSpin(GtkWindow* window, int id, double value)
    {
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Spin(window, id)->GetGtkWidget()), value);
    }
    static std::string SpinText(GtkWindow* window, int id)
    {
        return gtk_entry_get_text(GTK_ENTRY(Spin(window, id)->GetGtkWidget()));
    }
    static void Choose(GtkWindow* window, int radio)
    {
        xButtonBase* button = Control<xButtonBase>(window, radio, OwnerOf(window));
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button->GetGtkWidget()), TRUE);
    }
    static void SetName(GtkWindow* window, const std::string& name)
    {
        xEntry* entry = Control<xEntry>(window, ID_TXT_NAME, OwnerOf(window));
        gtk_entry_set_text(GTK_ENTRY(entry->GetGtkWidget()), name.c_str());
    }
    static bool OkSensitive(GtkWindow* window)
    {
        GtkWidget* ok = orvgui::FindResponseButton(GTK_WIDGET(window), IDOK);
        return ok != nullptr && GTK_WIDGET_SENSITIVE(ok);
    }
    // A create-dialog step that names a new paper, sets its size in the unit shown and confirms.
    static orvgui::ModalDriver::Step CreatePaper(const std::string& name, double width, double length)
    {
        return [=](GtkWindow* window) {
            SetName(window, name);
            SetSpin(window, IDC_CUSTOM_WIDTH, width);
            SetSpin(window, IDC_CUSTOM_LENGTH, length);
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        };
    }
    std::vector<std::string> TemporaryFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(orv::InstalledPath(orv::kTmpDir))) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
};

// ----- The list --------------------------------------------------------------------------------

TEST_F(CustomPaper, ListsThePapersOfThePpdInTheirUnitsAndNumbersNewOnesAfterThem)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    AddPaper(ppd, 460, "Card", 0, 101.6, 152.4);
    Start();
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver
        .OnWindow(kTitle,
                  [&](GtkWindow* window) {
                      auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
                      EXPECT_EQ(RowTexts(list),
                                (std::vector<std::string>{"Label 100.0 x 150.0 mm", "Card 4.00 x 6.00 in."}));
                      EXPECT_EQ(list->GetCurSel(), -1);
                      EXPECT_FALSE(IsSensitive(orvgui::FindControl(GTK_WIDGET(window), IDC_CUSTOMLIST_EDIT, &dialog)));
                      EXPECT_FALSE(
                          IsSensitive(orvgui::FindControl(GTK_WIDGET(window), IDC_CUSTOMLIST_DELETE, &dialog)));
                      orvgui::SaveScreenshot(GTK_WIDGET(window), "custom_paper_list");
                      Click(window, IDC_CUSTOMLIST_NEW, &dialog);
                      EXPECT_EQ(RowTexts(list).back(), "Poster 200.0 x 300.0 mm");
                      EXPECT_EQ(list->GetCurSel(), 2) << "the new paper is selected";
                      EXPECT_TRUE(IsSensitive(orvgui::FindControl(GTK_WIDGET(window), IDC_CUSTOMLIST_EDIT, &dialog)));
                      orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
                  })
        .OnWindow(kTitle, [&](GtkWindow* window) {
            Choose(window, ID_RDB_MM);
            CreatePaper("Poster", 200.0, 300.0)(window);
        });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(driver.Done());
    ASSERT_EQ(dialog.Rows().size(), 3u);
    const tagCUSTOMPAPERROW& poster = dialog.Rows()[2];
    EXPECT_EQ(poster.nID, 461);
    EXPECT_STREQ(poster.szKeyword, "userpaper461");
    EXPECT_EQ(poster.nState, CUSTOMROW_NEW);
    EXPECT_EQ(poster.nUnit, 1);
}

TEST_F(CustomPaper, FirstPaperOfAQueueWithoutAnyIs457)
{
    Start();
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver
        .OnWindow(kTitle,
                  [&](GtkWindow* window) {
                      EXPECT_TRUE(RowTexts(Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog)).empty());
                      Click(window, IDC_CUSTOMLIST_NEW, &dialog);
                      orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
                  })
        .OnWindow(kTitle, CreatePaper("First", 100.0, 150.0));
    SetUserUnitMetric(true);
    driver.Start();
    dialog.DoModal();
    EXPECT_TRUE(driver.Done());
    ASSERT_EQ(dialog.Rows().size(), 1u);
    EXPECT_EQ(dialog.Rows()[0].nID, 457);
    EXPECT_STREQ(dialog.Rows()[0].szKeyword, "userpaper457");
}

// The same name in other letter case asks before it replaces; No keeps everything, Yes gives the
// listed paper the new size and the next free id while its keyword and spelling stay. A deleted
// paper of that name is no match.
TEST_F(CustomPaper, DuplicateNameAsksAndReplacesOnlyOnYes)
{
    struct Case {
        int answer;
        bool deleteFirst;
        size_t rows;
        const char* firstRow;
        const char* lastRow;
    };
    const Case cases[] = {
        {IDNO, false, 2, "Label 100.0 x 150.0 mm", "Card 4.00 x 6.00 in."},
        {IDYES, false, 2, "Label 120.0 x 180.0 mm", "Card 4.00 x 6.00 in."},
        // Label deleted: the new one is a paper of its own, and there is no question.
        {0, true, 2, "Card 4.00 x 6.00 in.", "LABEL 120.0 x 180.0 mm"},
    };
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    AddPaper(ppd, 460, "Card", 0, 101.6, 152.4);
    Start();
    SetUserUnitMetric(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        CDlgCustom dialog(app->Window());
        orvgui::ModalDriver driver;
        std::vector<std::string> rows;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
            if (c.deleteFirst) {
                list->SetCurSel(0);
                Click(window, IDC_CUSTOMLIST_DELETE, &dialog);
            }
            Click(window, IDC_CUSTOMLIST_NEW, &dialog);
            rows = RowTexts(list);
            orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
        });
        driver.OnWindow(kTitle, CreatePaper("LABEL", 120.0, 180.0));
        if (c.answer != 0) {
            driver.OnWindow(kTitle, [&](GtkWindow* box) {
                gchar* text = nullptr;
                g_object_get(box, "text", &text, NULL);
                EXPECT_STREQ(text, "This name \"LABEL\" already exist.\r\nDo you want to replace it ?");
                g_free(text);
                orvgui::ClickResponse(GTK_WIDGET(box), c.answer);
            });
        }
        driver.Start();
        dialog.DoModal();
        EXPECT_TRUE(driver.Done());
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(rows.front(), c.firstRow);
        EXPECT_EQ(rows.back(), c.lastRow);
        if (c.answer == IDYES) {
            const tagCUSTOMPAPERROW& label = dialog.Rows()[0];
            EXPECT_EQ(label.nID, 461);
            EXPECT_STREQ(label.szKeyword, "userpaper457");
            EXPECT_STREQ(label.szName, "Label");
            EXPECT_EQ(label.nState, CUSTOMROW_MODIFIED);
        }
    }
    EXPECT_EQ(tree.CompanionArgs().size(), 0u) << "Cancel saves nothing";
}

TEST_F(CustomPaper, NewIsInsensitiveAtTheModelsMaximumUntilOneIsDeleted)
{
    // The colour model allows 20 user papers.
    for (int i = 0; i < 20; ++i) {
        AddPaper(ppd, 457 + i, ("P" + std::to_string(i)).c_str(), 1, 100.0, 150.0 + i);
    }
    Start();
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* window) {
        auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
        xWidget* newButton = orvgui::FindControl(GTK_WIDGET(window), IDC_CUSTOMLIST_NEW, &dialog);
        EXPECT_EQ(list->GetCount(), 20);
        EXPECT_FALSE(IsSensitive(newButton));
        list->SetCurSel(4);
        Click(window, IDC_CUSTOMLIST_DELETE, &dialog);
        EXPECT_EQ(list->GetCount(), 19);
        EXPECT_EQ(list->GetCurSel(), -1);
        EXPECT_TRUE(IsSensitive(newButton));
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
    driver.Start();
    dialog.DoModal();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(dialog.GetMaxInputCount(), 20);
}

// ----- The create dialog ---------------------------------------------------------------------

TEST(CustomSizeRange, LimitsInTheShownUnitNeverLeaveThePrintersRange)
{
    tagCUSTOMLIMITS limits{};
    const SHORT values[8] = {2159, 3556, 5100, 8403, 762, 1270, 2345, 3000};
    std::copy(values, values + 8, limits.sLimits);
    struct Case {
        const tagCUSTOMLIMITS* limits;
        bool metric;
        tagCUSTOMSIZERANGE expected;
    };
    const Case cases[] = {
        {&limits, true, {76.2, 215.9, 127.0, 355.6}},
        // 2345/600 in is 3.908 in: 3.90 would be below the printer's minimum.
        {&limits, false, {3.91, 8.50, 5.00, 14.00}},
        // Without model data a paper still has a size above 0.
        {nullptr, true, {0.1, 100.0, 0.1, 100.0}},
        {nullptr, false, {0.01, 100.0, 0.01, 100.0}},
    };
    for (const Case& c : cases) {
        const tagCUSTOMSIZERANGE range = GetCustomSizeRange(c.limits, c.metric);
        EXPECT_NEAR(range.dMinWidth, c.expected.dMinWidth, 1e-9) << c.metric;
        EXPECT_NEAR(range.dMaxWidth, c.expected.dMaxWidth, 1e-9) << c.metric;
        EXPECT_NEAR(range.dMinLength, c.expected.dMinLength, 1e-9) << c.metric;
        EXPECT_NEAR(range.dMaxLength, c.expected.dMaxLength, 1e-9) << c.metric;
    }
}

// New paper: the user's unit, its default size and the model's range; switching units converts
// only what is shown; a value above the maximum is held there; 6.00 in comes back as 152.4 mm.
TEST_F(CustomPaper, CreateDialogShowsLimitsAndKeepsMillimetresAcrossUnitSwitches)
{
    Start();
    struct Case {
        bool metric;
        const char* width;
        const char* length;
        std::vector<std::string> ranges;
    };
    const Case cases[] = {
        {true, "210.0", "297.0", {"(76.2 - 215.9 mm)", "(127.0 - 355.6 mm)"}},
        {false, "8.50", "11.00", {"(3.00 - 8.50 in.)", "(5.00 - 14.00 in.)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.metric);
        SetUserUnitMetric(c.metric);
        CDlgCustomCreate dialog(app->Window());
        dialog.SetMode(CUSTOM_MODE_NEW);
        orvgui::ModalDriver driver;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), c.width);
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_LENGTH), c.length);
            const std::vector<std::string> labels = orvgui::LabelTexts(GTK_WIDGET(window));
            for (const std::string& range : c.ranges) {
                EXPECT_NE(std::find(labels.begin(), labels.end(), range), labels.end()) << range;
            }
            EXPECT_FALSE(OkSensitive(window)) << "no name yet";
            if (c.metric) {
                orvgui::SaveScreenshot(GTK_WIDGET(window), "custom_paper_create");
            }
            // There and back again without touching a spin button.
            Choose(window, c.metric ? ID_RDB_INCH : ID_RDB_MM);
            Choose(window, c.metric ? ID_RDB_MM : ID_RDB_INCH);
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), c.width);
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_LENGTH), c.length);
            // Inches: 6.00 long, a width far above the maximum.
            Choose(window, ID_RDB_INCH);
            SetSpin(window, IDC_CUSTOM_LENGTH, 6.0);
            SetSpin(window, IDC_CUSTOM_WIDTH, 40.0);
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), "8.50");
            SetName(window, "Photo");
            EXPECT_TRUE(OkSensitive(window));
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        });
        driver.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(driver.Done());
        char name[128] = "x";
        double width = 0;
        double length = 0;
        int unit = -1;
        dialog.GetPaper(name, &width, &length, &unit);
        EXPECT_STREQ(name, "Photo");
        EXPECT_EQ(unit, 0);
        EXPECT_NEAR(width, 215.9, 1e-9);
        EXPECT_NEAR(length, 152.4, 1e-9);
        EXPECT_EQ(std::lround(length * 10), 1524);
    }
}

TEST_F(CustomPaper, CreateDialogWithoutModelLimitsStillNeedsASizeAboveZero)
{
    Start("GM4150");  // no custom sizes in its model data
    SetUserUnitMetric(true);
    CDlgCustomCreate dialog(app->Window());
    orvgui::ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* window) {
        EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), "100.0") << "210 held at the maximum";
        SetSpin(window, IDC_CUSTOM_WIDTH, 0.0);
        EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), "0.1");
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(driver.Done());
}

// A name goes into a PPD line: at most 127 bytes, whole characters, and none of the characters
// that would end its part of the line. The user is told once when a name becomes unusable.
TEST_F(CustomPaper, NameIsCutToWholeCharactersAndRefusesWhatBreaksAPpdLine)
{
    Start();
    struct Case {
        std::string typed;
        std::string kept;
        bool usable;
        bool told;
    };
    std::string longName;
    for (int i = 0; i < 100; ++i) {
        longName += "\xC3\xA9";  // 200 bytes of e-acute
    }
    const Case cases[] = {
        {"Label", "Label", true, false},
        {longName, longName.substr(0, 126), true, false},
        {"A4/half", "A4/half", false, true},
        {"Size: big", "Size: big", false, true},
        {"The \"big\" one", "The \"big\" one", false, true},
        {"Tab\there", "Tab\there", false, true},
        {"", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CDlgCustomCreate dialog(app->Window());
        orvgui::ModalDriver driver;
        std::string shown;
        bool sensitive = true;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            SetName(window, "ok");
            SetName(window, c.typed);
            shown = gtk_entry_get_text(GTK_ENTRY(Control<xEntry>(window, ID_TXT_NAME, &dialog)->GetGtkWidget()));
            sensitive = OkSensitive(window);
            orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
        });
        if (c.told) {
            driver.OnWindow(kTitle, [&](GtkWindow* box) {
                gchar* text = nullptr;
                g_object_get(box, "text", &text, NULL);
                EXPECT_STREQ(text, "The following characters cannot be used. Please change.\r\n\t\t/ : \".");
                g_free(text);
                orvgui::ClickResponse(GTK_WIDGET(box), IDOK);
            });
        }
        driver.Start();
        dialog.DoModal();
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(shown, c.kept);
        EXPECT_EQ(sensitive, c.usable);
    }
}

TEST_F(CustomPaper, EditShowsThePaperInItsOwnUnitWithTheNameFixed)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    AddPaper(ppd, 460, "Card", 0, 101.6, 152.4);
    Start();
    SetUserUnitMetric(true);
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    std::vector<std::string> rows;
    driver
        .OnWindow(kTitle,
                  [&](GtkWindow* window) {
                      auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
                      list->SetCurSel(1);
                      Click(window, IDC_CUSTOMLIST_EDIT, &dialog);
                      rows = RowTexts(list);
                      EXPECT_EQ(list->GetCurSel(), 1);
                      orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
                  })
        .OnWindow(kTitle, [&](GtkWindow* window) {
            xEntry* name = Control<xEntry>(window, ID_TXT_NAME, OwnerOf(window));
            EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(name->GetGtkWidget())), "Card");
            EXPECT_FALSE(IsSensitive(name));
            EXPECT_TRUE(gtk_toggle_button_get_active(
                GTK_TOGGLE_BUTTON(Control<xButtonBase>(window, ID_RDB_INCH, OwnerOf(window))->GetGtkWidget())));
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_WIDTH), "4.00");
            EXPECT_EQ(SpinText(window, IDC_CUSTOM_LENGTH), "6.00");
            EXPECT_TRUE(OkSensitive(window));
            SetSpin(window, IDC_CUSTOM_WIDTH, 5.0);
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        });
    driver.Start();
    dialog.DoModal();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(rows, (std::vector<std::string>{"Label 100.0 x 150.0 mm", "Card 5.00 x 6.00 in."}));
    const tagCUSTOMPAPERROW& card = dialog.Rows()[1];
    EXPECT_EQ(card.nID, 460);
    EXPECT_STREQ(card.szKeyword, "userpaper460");
    EXPECT_EQ(card.nState, CUSTOMROW_MODIFIED);
}

// ----- OK and Cancel -------------------------------------------------------------------------

TEST_F(CustomPaper, OkHandsARewrittenTemporaryPpdToTheCompanionProgram)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    AddPaper(ppd, 460, "Card", 0, 101.6, 152.4);
    const std::string before = ReadText(ppd);
    Start();
    SetUserUnitMetric(false);
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver
        .OnWindow(kTitle,
                  [&](GtkWindow* window) {
                      auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
                      list->SetCurSel(0);
                      Click(window, IDC_CUSTOMLIST_DELETE, &dialog);
                      Click(window, IDC_CUSTOMLIST_NEW, &dialog);
                      orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
                  })
        .OnWindow(kTitle, CreatePaper("Photo", 4.0, 6.0));
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(driver.Done());

    const std::string temporary = dialog.LastTemporaryPpd();
    const std::string name = fs::path(temporary).filename().string();
    EXPECT_EQ(fs::path(temporary).parent_path().string() + "/", orv::InstalledPath(orv::kTmpDir));
    // Time prefix, random part, ".ppd": 2026121_93015_Ab3xYz.ppd
    EXPECT_TRUE(g_regex_match_simple("^[0-9]{6,8}_[0-9]{3,6}_[A-Za-z0-9]{6}\\.ppd$", name.c_str(),
                                     static_cast<GRegexCompileFlags>(0), static_cast<GRegexMatchFlags>(0)))
        << name;
    EXPECT_EQ(tree.CompanionArgs(), (std::vector<std::string>{orv::InstalledPath(orv::kCompanionProgram), "-C",
                                                               "-pcolour", "-c" + temporary}));
    EXPECT_TRUE(TemporaryFiles().empty()) << "the temporary PPD is removed after the companion ran";
    EXPECT_EQ(cups->PpdCopiesLeft(), 0);
    EXPECT_EQ(ReadText(ppd), before) << "the installed PPD is the companion program's business";

    const std::string installed = ReadText(CompanionCopy());
    EXPECT_TRUE(LinesWith(installed, "userpaper457/Label").empty());
    EXPECT_EQ(LinesWith(installed, "userpaper460/Card").size(), 4u);
    const std::vector<std::string> photo = LinesWith(installed, "userpaper461/Photo");
    EXPECT_EQ(photo, (std::vector<std::string>{
                         "*PageSize userpaper461/Photo 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox "
                         "null>>setpagedevice %% ID=461\"",
                         "*PageRegion userpaper461/Photo 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox "
                         "null>>setpagedevice %% ID=461\"",
                         "*ImageableArea userpaper461/Photo 101.6 x 152.4 mm: \"12 12 276 420\"",
                         "*PaperDimension userpaper461/Photo 4.00 x 6.00 in: \"288 432\""}));
    // The new paper was selected: it is the paper of the settings now, in tenths of a millimetre
    // rounded to nearest.
    EXPECT_EQ(Dm().dm.dmPaperSize, 461);
    EXPECT_EQ(Dm().dm.dmPaperWidth, 1016);
    EXPECT_EQ(Dm().dm.dmPaperLength, 1524);
    EXPECT_EQ(Dm().dm.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), DM_PAPERLENGTH | DM_PAPERWIDTH);
}

TEST_F(CustomPaper, CancelLeavesPpdAndSettingsAloneButDeletingThePaperInUseReplacesItAtOnce)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    Start();
    struct Case {
        bool deleteInUse;
        int result;
    };
    for (const Case& c : {Case{false, IDCANCEL}, Case{true, IDCANCEL}}) {
        SCOPED_TRACE(c.deleteInUse);
        Dm().dm.dmPaperSize = 457;
        Dm().dm.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        Dm().priv.dmOutputPaperSize = 9;
        const DRVDEVMODE before = Dm();
        CDlgCustom dialog(app->Window());
        orvgui::ModalDriver driver;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, &dialog);
            EXPECT_EQ(list->GetCurSel(), 0) << "the paper in use is shown selected";
            if (c.deleteInUse) {
                Click(window, IDC_CUSTOMLIST_DELETE, &dialog);
            }
            orvgui::CloseByWindowManager(GTK_WIDGET(window));
        });
        driver.Start();
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_TRUE(driver.Done());
        EXPECT_TRUE(tree.CompanionArgs().empty());
        EXPECT_TRUE(TemporaryFiles().empty());
        if (!c.deleteInUse) {
            EXPECT_EQ(std::memcmp(&Dm(), &before, sizeof(before)), 0);
        } else {
            EXPECT_EQ(Dm().dm.dmPaperSize, Info()->dmDefault.dm.dmPaperSize);
            EXPECT_EQ(Dm().dm.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), 0u);
            EXPECT_EQ(Dm().priv.dmOutputPaperSize, 0);
        }
    }
}

TEST_F(CustomPaper, OkAtOnceShowsThePaperInUseAndChangesNoSetting)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    Start();
    Dm().dm.dmPaperSize = 457;
    Dm().dm.dmPaperWidth = 1234;
    const DRVDEVMODE before = Dm();
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* window) { orvgui::ClickResponse(GTK_WIDGET(window), IDOK); });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::memcmp(&Dm(), &before, sizeof(before)), 0);
    // An unchanged list is still installed.
    EXPECT_EQ(tree.CompanionArgs().size(), 4u);
    EXPECT_EQ(LinesWith(ReadText(CompanionCopy()), "userpaper457/Label").size(), 4u);
}

// When the PPD cannot be fetched or rewritten the companion program is not run and the user is
// told; no temporary file stays.
TEST_F(CustomPaper, SaveThatCannotWriteThePpdTellsTheUserAndRunsNothing)
{
    struct Case {
        const char* what;
        std::function<void(CustomPaper&)> breakIt;
    };
    const Case cases[] = {
        {"no PPD from CUPS", [](CustomPaper& t) { t.cups->SetPpd("colour", ""); }},
        {"no temporary directory", [](CustomPaper&) { fs::remove_all(orv::InstalledPath(orv::kTmpDir)); }},
        {"no place for the lines",
         [](CustomPaper& t) {
             std::string text = ReadText(t.ppd);
             const std::string anchor = "*CloseUI: *PageRegion";
             text.erase(text.find(anchor), anchor.size());
             t.cups->SetPpd("colour", t.ppds.WriteFile("broken.ppd", text));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        fs::create_directories(orv::InstalledPath(orv::kTmpDir));
        Start();
        SetUserUnitMetric(true);
        CDlgCustom dialog(app->Window());
        orvgui::ModalDriver driver;
        driver
            .OnWindow(kTitle,
                      [&](GtkWindow* window) {
                          Click(window, IDC_CUSTOMLIST_NEW, &dialog);
                          c.breakIt(*this);
                          orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
                      })
            .OnWindow(kTitle, CreatePaper("Label", 100.0, 150.0));
        MessageBoxAnswers answers({IDOK});
        driver.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        Pump(50);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(answers.Texts(), (std::vector<std::string>{"Cannot save data."}));
        EXPECT_TRUE(tree.CompanionArgs().empty());
        EXPECT_TRUE(dialog.LastTemporaryPpd().empty());
        if (fs::exists(orv::InstalledPath(orv::kTmpDir))) {
            EXPECT_TRUE(TemporaryFiles().empty());
        }
    }
}

}  // namespace

namespace {

// A paper of the PPD replaced under its own name keeps its keyword and spelling and moves to the
// next free id; the installed PPD holds its four lines once, with the new size and id.
TEST_F(CustomPaper, ReplacingAPaperOfThePpdRewritesItsLinesUnderItsKeyword)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    Start();
    SetUserUnitMetric(true);
    CDlgCustom dialog(app->Window());
    orvgui::ModalDriver driver;
    driver
        .OnWindow(kTitle,
                  [&](GtkWindow* window) {
                      Click(window, IDC_CUSTOMLIST_NEW, &dialog);
                      orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
                  })
        .OnWindow(kTitle, CreatePaper("label", 120.0, 180.0))
        .OnWindow(kTitle, [](GtkWindow* box) { orvgui::ClickResponse(GTK_WIDGET(box), IDYES); });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(driver.Done());
    const std::string installed = ReadText(CompanionCopy());
    const std::vector<std::string> lines = LinesWith(installed, "userpaper457/");
    ASSERT_EQ(lines.size(), 4u) << installed;
    EXPECT_EQ(lines[0], "*PageSize userpaper457/Label 120.0 x 180.0 mm: \"<</PageSize[340 510]/ImagingBBox "
                        "null>>setpagedevice %% ID=458\"");
    EXPECT_EQ(LinesWith(installed, "ID=457").size(), 0u);
}

}  // namespace

namespace {

// The Basic page's custom paper button runs the list dialog. What the dialog did to the working
// settings reaches the page and marks the queue modified: after OK, and also after a Cancel that
// followed deleting the paper in use.
TEST_F(CustomPaper, BasicPageButtonRunsTheDialogAndFollowsWhatItChanged)
{
    AddPaper(ppd, 457, "Label", 1, 100.0, 150.0);
    Start();
    xTabBase* page = app->Window()->GetTabs()->GetPage(CMainTabs::PAGE_BASIC);
    ASSERT_NE(page, nullptr);
    GtkWidget* main = app->Window()->GetGtkWidget();
    xWidget* button = orvgui::FindControl(main, IDC_BASIC_CUSTOMPAPER, page);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsSensitive(button));
    auto* paperCombo = dynamic_cast<xListBase*>(orvgui::FindControl(main, IDC_BASIC_PAPERSIZE, page));
    ASSERT_NE(paperCombo, nullptr);
    auto shownPaper = [&] {
        gchar* text = paperCombo->GetCurSelText();
        const std::string shown = text != nullptr ? text : "";
        g_free(text);
        return shown;
    };

    // OK with the paper chosen: the page shows it, the queue is modified.
    {
        orvgui::ModalDriver driver;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            auto* list = Control<xListBox>(window, IDC_CUSTOMLIST_LIST, nullptr);
            GtkTreePath* first = gtk_tree_path_new_first();
            gtk_tree_view_set_cursor(list->GetTreeView(), first, nullptr, FALSE);
            gtk_tree_path_free(first);
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        });
        driver.Start();
        gtk_button_clicked(GTK_BUTTON(button->GetGtkWidget()));
        Pump();
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(Dm().dm.dmPaperSize, 457);
    EXPECT_EQ(shownPaper(), "Label 100.0 x 150.0 mm");
    EXPECT_NE(app->Window()->IsModified(), 0);
    app->Window()->SetModified(0);

    // Delete it, then Cancel: the settings fell back to the default paper, and so does the page.
    {
        orvgui::ModalDriver driver;
        driver.OnWindow(kTitle, [&](GtkWindow* window) {
            Click(window, IDC_CUSTOMLIST_DELETE, nullptr);
            orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
        });
        driver.Start();
        gtk_button_clicked(GTK_BUTTON(button->GetGtkWidget()));
        Pump();
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(Dm().dm.dmPaperSize, Info()->dmDefault.dm.dmPaperSize);
    EXPECT_NE(shownPaper(), "Label 100.0 x 150.0 mm");
    EXPECT_NE(app->Window()->IsModified(), 0);
}

}  // namespace
