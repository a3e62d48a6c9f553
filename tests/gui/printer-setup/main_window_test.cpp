// The settings program's main window under a display: the printer list over a fake CUPS system,
// loading, the save prompt, the buttons, the text lookup chain and the paper-size list, with the
// real widgets, the real libcups reading the sample PPDs and a companion program that records
// its command line.
#include "core/dialog/DevmodeFile.h"
#include "gui/MainTabs.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xList.h"
#include "gui/kit/Screenshot.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "printer-setup/SetupTestSupport.h"
#include "support/ScopedEnv.h"

#include <clocale>
#include <cstdlib>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using guitest::MessageBoxAnswers;
using guitest::Pump;
using guitest::TestApp;
using setuptest::FakeCups;
using setuptest::FakeDest;
using setuptest::InstallTree;
using setuptest::WriteSamplePpd;

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

// A queue whose PPD is the driver's but whose model data file is not installed.
std::string BrokenModelPpd(const orvtest::ScratchDir& dir)
{
    std::string text = setuptest::ReadText(WriteSamplePpd(dir, "GC7350", "b.ppd", kUtility));
    const std::string from = "\"GC7350.pcsp\"";
    text.replace(text.find(from), from.size(), "\"GX9999.pcsp\"");
    return dir.WriteFile("broken.ppd", text);
}

struct MainWindow : ::testing::Test {
    InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<FakeCups> cups;
    std::unique_ptr<TestApp> app;

    void Start(std::vector<FakeDest> dests)
    {
        cups = std::make_unique<FakeCups>(std::move(dests));
        ASSERT_NE(cups->Table()->handle, nullptr);
        app = std::make_unique<TestApp>(*cups->Table());
        ASSERT_NE(app->Start(), 0);
        ASSERT_NE(Win(), nullptr);
    }
    void StartSamples()
    {
        Start({{"colour", WriteSamplePpd(ppds, "GC7350", "colour.ppd", kUtility)},
               {"foreign", WriteSamplePpd(ppds, "GC7350", "foreign.ppd", "")},
               {"mono", WriteSamplePpd(ppds, "GM4150", "mono.ppd", kUtility)},
               {"small", WriteSamplePpd(ppds, "GM1000", "small.ppd", kUtility)},
               {"broken", BrokenModelPpd(ppds)}});
    }
    void TearDown() override
    {
        app.reset();
        cups.reset();
    }

    CMainWin* Win() const { return app->Window(); }
    xWidget* Control(int id) const
    {
        // The buttons are found by their ids among the window's wrappers.
        return FindById(Win()->GetGtkWidget(), id);
    }
    static xWidget* FindById(GtkWidget* widget, int id)
    {
        xWidget* wrapper = xWidget::FromGtkWidget(widget);
        if (wrapper != nullptr && wrapper->GetID() == id && GTK_IS_BUTTON(widget)) {
            return wrapper;
        }
        if (!GTK_IS_CONTAINER(widget)) {
            return nullptr;
        }
        xWidget* found = nullptr;
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* it = children; it != nullptr && found == nullptr; it = it->next) {
            found = FindById(GTK_WIDGET(it->data), id);
        }
        g_list_free(children);
        return found;
    }
    void Click(int id)
    {
        xWidget* button = Control(id);
        ASSERT_NE(button, nullptr) << "button " << id;
        gtk_button_clicked(GTK_BUTTON(button->GetGtkWidget()));
        Pump();
    }
    void Select(const char* queue)
    {
        Win()->GetPrinterList()->SelectString(queue);
        Pump();
    }
    // A change as a page makes it: the field written, the window told, the engine run.
    void ChangeSomething()
    {
        Win()->GetDialogInfo()->psdm.priv.dmClrCtrl.sBrightness = 12;
        Win()->SetModified(-1);
        Win()->RunKinsoku(nullptr, 0);
    }
    bool ApplySensitive() const { return guitest::IsSensitive(Control(IDC_MAIN_APPLY)); }
    bool SavedFileExists(const char* queue) const
    {
        DRVDEVMODE dm{};
        return dwReadDevmodeFile(nullptr, queue, &dm) == 0;
    }
    int Pages() const { return Win()->GetTabs()->GetShownPageCount(); }
};

TEST_F(MainWindow, ListsExactlyTheDriversQueuesAndLoadsTheFirst)
{
    StartSamples();
    EXPECT_EQ(guitest::RowTexts(Win()->GetPrinterList()),
              (std::vector<std::string>{"colour", "mono", "small", "broken"}));
    EXPECT_STREQ(Win()->GetLoadedName(), "colour");
    EXPECT_NE(Win()->GetDialogInfo(), nullptr);
    EXPECT_FALSE(Win()->IsModified());
    EXPECT_FALSE(ApplySensitive());
    EXPECT_EQ(cups->PpdCopiesLeft(), 0);
}

TEST_F(MainWindow, NoQueueGivesAnEmptyListAndNoPages)
{
    Start({{"foreign", WriteSamplePpd(ppds, "GC7350", "foreign.ppd", "")}});
    EXPECT_TRUE(guitest::RowTexts(Win()->GetPrinterList()).empty());
    EXPECT_EQ(Win()->GetDialogInfo(), nullptr);
    EXPECT_EQ(Pages(), 0);
    // OK, Apply and Cancel still work; nothing is saved or run.
    Click(IDC_MAIN_APPLY);
    Click(IDC_MAIN_DEFAULTS);
    EXPECT_TRUE(tree.CompanionArgs().empty());
    Click(IDC_MAIN_OK);
    EXPECT_TRUE(app->WindowDestroyed());
}

TEST_F(MainWindow, UnboundLibcupsIsReportedAndListsNothing)
{
    MessageBoxAnswers boxes({IDOK});
    cups = std::make_unique<FakeCups>(std::vector<FakeDest>{{"colour", WriteSamplePpd(ppds, "GC7350", "c.ppd", kUtility)}});
    app = std::make_unique<TestApp>(tagCUPSFUNC{});
    ASSERT_NE(app->Start(), 0);
    EXPECT_EQ(boxes.Texts().size(), 1u) << "the user is told";
    EXPECT_TRUE(guitest::RowTexts(Win()->GetPrinterList()).empty());
    EXPECT_EQ(cups->PpdRequests(), 0);
}

TEST_F(MainWindow, AFailedLoadEndsWithNothingLoaded)
{
    StartSamples();
    Select("broken");
    EXPECT_EQ(Win()->GetDialogInfo(), nullptr);
    EXPECT_EQ(Win()->GetLoadedName(), nullptr);
    EXPECT_EQ(Pages(), 0);
    EXPECT_FALSE(Win()->IsModified());
    Select("mono");
    EXPECT_STREQ(Win()->GetLoadedName(), "mono") << "the next queue loads normally";
}

TEST_F(MainWindow, SelectingTheLoadedQueueAgainChangesNothing)
{
    StartSamples();
    ChangeSomething();
    MessageBoxAnswers boxes;
    Select("colour");
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_EQ(Win()->GetDialogInfo()->psdm.priv.dmClrCtrl.sBrightness, 12);
}

TEST_F(MainWindow, SavePromptCancelKeepsTheQueueLoadedAndSelected)
{
    StartSamples();
    ChangeSomething();
    MessageBoxAnswers boxes({IDCANCEL});
    Select("mono");
    ASSERT_EQ(boxes.Texts().size(), 1u) << "asked once";
    EXPECT_EQ(boxes.Texts()[0], "Printer Setting is changed.\nDo you want save?");
    EXPECT_STREQ(Win()->GetLoadedName(), "colour");
    char* selected = Win()->GetPrinterList()->GetCurSelText();
    EXPECT_STREQ(selected, "colour");
    g_free(selected);
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_TRUE(ApplySensitive());
    EXPECT_TRUE(tree.CompanionArgs().empty());
}

TEST_F(MainWindow, SavePromptNoDiscardsAndLoadsTheOtherQueue)
{
    StartSamples();
    ChangeSomething();
    MessageBoxAnswers boxes({IDNO});
    Select("mono");
    EXPECT_EQ(boxes.Texts().size(), 1u);
    EXPECT_STREQ(Win()->GetLoadedName(), "mono");
    EXPECT_FALSE(Win()->IsModified());
    EXPECT_TRUE(tree.CompanionArgs().empty());
    EXPECT_FALSE(SavedFileExists("colour"));
}

TEST_F(MainWindow, SavePromptYesSavesThenLoadsTheOtherQueue)
{
    StartSamples();
    ChangeSomething();
    MessageBoxAnswers boxes({IDYES});
    Select("mono");
    EXPECT_EQ(boxes.Texts().size(), 1u);
    const std::vector<std::string> args = tree.CompanionArgs();
    ASSERT_GE(args.size(), 3u);
    EXPECT_EQ(args[1], "-S");
    EXPECT_EQ(args[2], "-pcolour");
    for (const std::string& arg : args) {
        EXPECT_EQ(arg.find("PageRegion"), std::string::npos);
    }
    DRVDEVMODE saved{};
    ASSERT_EQ(dwReadDevmodeFile(nullptr, "colour", &saved), 0u);
    EXPECT_EQ(saved.priv.dmClrCtrl.sBrightness, 12);
    EXPECT_STREQ(Win()->GetLoadedName(), "mono");
}

TEST_F(MainWindow, SavePromptYesWithAFailingSaveKeepsTheQueue)
{
    StartSamples();
    ChangeSomething();
    tree.SetCompanionStatus(2);
    MessageBoxAnswers boxes({IDYES, IDOK});
    Select("mono");
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts()[1], "Cannot save data.");
    EXPECT_STREQ(Win()->GetLoadedName(), "colour");
    EXPECT_TRUE(Win()->IsModified());
}

TEST_F(MainWindow, RestoreDefaultsMarksTheModelDefaultsAsAChange)
{
    StartSamples();
    ChangeSomething();
    Win()->SetModified(0);
    Click(IDC_MAIN_DEFAULTS);
    const tagDIALOGINFO* info = Win()->GetDialogInfo();
    EXPECT_EQ(info->psdm.priv.dmClrCtrl.sBrightness, info->dmDefault.priv.dmClrCtrl.sBrightness);
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_TRUE(ApplySensitive());
}

TEST_F(MainWindow, ApplySavesAndClearsTheChangeOnlyWhenTheSaveSucceeds)
{
    StartSamples();
    ChangeSomething();
    tree.SetCompanionStatus(1);
    {
        MessageBoxAnswers boxes({IDOK});
        Click(IDC_MAIN_APPLY);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "Cannot save data.");
    }
    EXPECT_TRUE(Win()->IsModified()) << "a failed save stays a change";
    EXPECT_TRUE(ApplySensitive());

    tree.SetCompanionStatus(0);
    MessageBoxAnswers boxes;
    Click(IDC_MAIN_APPLY);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(Win()->IsModified());
    EXPECT_FALSE(ApplySensitive());
    EXPECT_EQ(tree.CompanionArgs().at(2), "-pcolour");
    EXPECT_TRUE(SavedFileExists("colour"));
    EXPECT_FALSE(app->WindowDestroyed());
}

TEST_F(MainWindow, OkClosesOnlyAfterASuccessfulSave)
{
    StartSamples();
    ChangeSomething();
    tree.SetCompanionStatus(1);
    {
        MessageBoxAnswers boxes({IDOK});
        Click(IDC_MAIN_OK);
        Pump(50);
        EXPECT_EQ(boxes.Texts().size(), 1u);
    }
    EXPECT_FALSE(app->WindowDestroyed());
    EXPECT_TRUE(Win()->IsModified());

    tree.SetCompanionStatus(0);
    MessageBoxAnswers boxes;
    Click(IDC_MAIN_OK);
    Pump(50);
    EXPECT_TRUE(app->WindowDestroyed()) << "closed without a prompt";
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(SavedFileExists("colour"));
}

TEST_F(MainWindow, ClosingWhileModifiedAsksAndCancelKeepsTheWindowOpen)
{
    StartSamples();
    ChangeSomething();
    {
        MessageBoxAnswers boxes({IDCANCEL});
        Click(IDC_MAIN_CANCEL);
        Pump(50);
        EXPECT_EQ(boxes.Texts().size(), 1u);
    }
    EXPECT_FALSE(app->WindowDestroyed());
    EXPECT_STREQ(Win()->GetLoadedName(), "colour");
    MessageBoxAnswers boxes({IDNO});
    Click(IDC_MAIN_CANCEL);
    Pump(50);
    EXPECT_TRUE(app->WindowDestroyed());
    EXPECT_FALSE(SavedFileExists("colour"));
}

TEST_F(MainWindow, TextsComeFromTheModelFileThenTheCommonFileThenTheBuiltInTable)
{
    const std::string data = tree.DataDir().substr(tree.Root().size() + 1);
    tree.Dir().WriteFile(data + "L_K4WQTN.RCT", "[string]\n100=Common Title\n102=Common Printers\n");
    // The colour model names "L_GC7350": its file is "L_L_GC73.RCT".
    tree.Dir().WriteFile(data + "L_L_GC73.RCT", "[string]\n102=Model Printers\n[dlg100]\nDialogInfo=Model Basic\n");
    StartSamples();
    ASSERT_STREQ(Win()->GetLoadedName(), "colour");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(Win()->GetGtkWidget())), "Common Title");
    EXPECT_STREQ(Win()->LoadString(0, 102), "Model Printers");
    EXPECT_STREQ(Win()->LoadString(100, 0), "Model Basic");
    EXPECT_STREQ(Win()->LoadString(0, 100), "Common Title");
    EXPECT_STREQ(Win()->LoadString(0, 101), "_Restore Defaults") << "built in";
    EXPECT_EQ(Win()->LoadString(0, 65000), nullptr);

    Select("mono");  // its model's file is not installed
    EXPECT_STREQ(Win()->LoadString(0, 102), "Common Printers");
    Select("colour");
    EXPECT_STREQ(Win()->LoadString(0, 102), "Model Printers");
    Select("small");  // its model names no resource file: none of the previous model's texts stay
    EXPECT_STREQ(Win()->LoadString(0, 102), "Common Printers");
    EXPECT_STREQ(Win()->LoadString(100, 0), "Basic");
}

// The colour queue's PPD as the companion program leaves it after two custom papers were added.
std::string CustomPaperPpd(const orvtest::ScratchDir& dir)
{
    std::string text = setuptest::ReadText(WriteSamplePpd(dir, "GC7350", "base.ppd", kUtility));
    const std::string close = "*CloseUI: *PageSize";
    text.insert(text.find(close),
                "*PageSize userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n"
                "*PageSize userpaper458/Card 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n");
    text += "*ImageableArea userpaper457/Label: \"12 12 271 413\"\n*PaperDimension userpaper457/Label: \"283 425\"\n"
            "*ImageableArea userpaper458/Card: \"12 12 276 420\"\n*PaperDimension userpaper458/Card: \"288 432\"\n";
    return dir.WriteFile("custom.ppd", text);
}

TEST_F(MainWindow, PaperSizeComboReadsTheCustomPapersAfreshAndKeepsTheRecordsPpdValid)
{
    StartSamples();
    ASSERT_STREQ(Win()->GetLoadedName(), "colour");
    xComboBox combo(Win(), 99);
    DRVDEVMODE* psdm = &Win()->GetDialogInfo()->psdm;

    Win()->FillPaperSizeCombo(&combo, psdm, 0, -1);
    std::vector<std::string> rows = guitest::RowTexts(&combo);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "A4 (210 x 297 mm)"), rows.end());
    EXPECT_EQ(std::find(rows.begin(), rows.end(), "Same as Paper Size"), rows.end());

    // The companion program installed a PPD with custom papers: the next fill shows them.
    cups->SetPpd("colour", CustomPaperPpd(ppds));
    Win()->FillPaperSizeCombo(&combo, psdm, 0, -1);
    rows = guitest::RowTexts(&combo);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Label 100.0 x 150.0 mm"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Card 4.00 x 6.00 in."), rows.end());
    EXPECT_EQ(Win()->GetDialogInfo()->mh.pPpd, Win()->GetQueue().Ppd()) << "the record holds the open PPD";
    Win()->RunKinsoku(nullptr, 1);  // reads the PPD through the record

    Win()->FillPaperSizeCombo(&combo, psdm, -1, 0);
    rows = guitest::RowTexts(&combo);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "Same as Paper Size");
    EXPECT_EQ(combo.GetItemData(0), nullptr);

    // The PPD can no longer be had: the record keeps the one it has.
    cups->SetPpd("colour", "");
    ppd_file_t* kept = Win()->GetQueue().Ppd();
    Win()->FillPaperSizeCombo(&combo, psdm, 0, -1);
    EXPECT_EQ(Win()->GetDialogInfo()->mh.pPpd, kept);
    Win()->RunKinsoku(nullptr, 1);
    EXPECT_EQ(cups->PpdCopiesLeft(), 0);
}

TEST_F(MainWindow, NumbersStayLocaleIndependentUnderTheUsersLanguage)
{
#ifndef ORV_DECIMAL_COMMA_LOCALE_DIR
    GTEST_SKIP() << "no locale with a decimal comma was built";
#else
    // The user's language writes numbers with a decimal comma (a locale compiled at build time).
    {
        orvtest::ScopedEnv locpath("LOCPATH", ORV_DECIMAL_COMMA_LOCALE_DIR);
        ASSERT_NE(std::setlocale(LC_ALL, "decimal-comma"), nullptr);
    }
    ASSERT_STREQ(localeconv()->decimal_point, ",");
    StartSamples();
    EXPECT_STREQ(localeconv()->decimal_point, ".") << "numbers in PPD values are written and read the C way";
    EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "decimal-comma") << "the rest of the user's language stays";
    std::setlocale(LC_ALL, "C");
#endif
}

TEST_F(MainWindow, ScreenshotWithTheColourQueueLoaded)
{
    StartSamples();
    ASSERT_STREQ(Win()->GetLoadedName(), "colour");
    const std::string path = orvgui::SaveScreenshot(Win()->GetGtkWidget(), "main-window");
    ASSERT_FALSE(path.empty());
    EXPECT_GT(fs::file_size(path), 1000u);
}

}  // namespace
