// The Output page in the main window over the sample models: which rows the model offers, the
// copies range, and every control writing its settings field through a user's signal, with the
// pictures of the combo rows.
#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/Screenshot.h"
#include "gui/output-page/OutputPageSupport.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace outputtest;
using guitest::Pump;

// The GC7350's sort word names one mode only (bits 0x3) and its papers, media and sources allow
// only that one; this variant names all three groups and allows them everywhere.
const ModelVariant kThreeSortModes = {{{64, RawSection({0x3F, 0})}}, &AllowEverySortMode};

// The copies range label: the label of the page whose text starts with "(".
std::string RangeText(GtkWidget* page)
{
    for (const std::string& text : orvgui::LabelTexts(page)) {
        if (!text.empty() && text[0] == '(') {
            return text;
        }
    }
    return std::string();
}

// ----- What the page offers ------------------------------------------------------------------

struct OfferCase {
    const char* name;
    const char* model;
    Installed installed;
    ModelVariant variant;  // nothing changed: the sample itself
    bool sort, tray, staple, punch, mirror, reverse, options;
};

void PrintTo(const OfferCase& c, std::ostream* os)
{
    *os << c.name;
}

class PageOffers : public OutputPageTest, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(PageOffers, RowsFollowTheModelAndItsInstalledOptions)
{
    const OfferCase& c = GetParam();
    if (c.variant.sections.empty() && !c.variant.edit) {
        StartQueue(c.model, c.installed);
    } else {
        StartVariant(c.model, c.installed, c.variant);
    }
    EXPECT_EQ(Shown(IDC_OUTPUT_SORT), c.sort);
    EXPECT_EQ(Shown(IDC_OUTPUT_TRAY), c.tray);
    EXPECT_EQ(Shown(IDC_OUTPUT_STAPLE), c.staple);
    EXPECT_EQ(Shown(IDC_OUTPUT_PUNCH), c.punch);
    EXPECT_EQ(Shown(IDC_OUTPUT_MIRROR), c.mirror);
    EXPECT_EQ(Shown(IDC_OUTPUT_REVERSE), c.reverse);
    EXPECT_EQ(GTK_WIDGET_VISIBLE(gtk_widget_get_parent(Widget(IDC_OUTPUT_OPTIONS))) != 0, c.options);
    // Copies and collation are always there.
    EXPECT_TRUE(Shown(IDC_OUTPUT_COPIES));
    EXPECT_TRUE(Shown(IDC_OUTPUT_COLLATE));
}

INSTANTIATE_TEST_SUITE_P(
    Models, PageOffers,
    ::testing::Values(
        // Finisher with staples and the punch unit; one sort mode only, so no sort row.
        OfferCase{"ColourWithFinisher", "GC7350", ColourOptions(), {}, false, true, true, true, true, true, true},
        // Without the finisher only the standard tray is left: no staple or punch choice.
        OfferCase{"ColourWithoutFinisher", "GC7350", {}, {}, false, true, false, false, true, true, true},
        OfferCase{"ColourWithThreeSortModes", "GC7350", ColourOptions(), kThreeSortModes, true, true, true, true, true,
                  true, true},
        // No mirror and no finisher; reverse order and the Output Options (driver copies).
        OfferCase{"Mono", "GM4150", {}, {}, false, false, false, false, false, true, true},
        // Neither driver copies nor blank pages: no Output Options button.
        OfferCase{"Minimal", "GM1000", {}, {}, false, false, false, false, false, false, false},
        OfferCase{"ColourWithoutFeatureWords", "GC7350", ColourOptions(), {{{38, nullptr}, {56, nullptr}}}, false, true,
                  true, true, true, true, false}),
    [](const ::testing::TestParamInfo<OfferCase>& info) { return std::string(info.param.name); });

TEST_F(OutputPageTest, OneSortModeHidesTheRowEvenWhenTheSettingsOfferSorting)
{
    StartQueue("GC7350", ColourOptions());
    ASSERT_NE(Settings().priv.dmFieldsExtra1 & DMX1_SORT, 0u) << "the model's sort record sets the bit";
    EXPECT_FALSE(Shown(IDC_OUTPUT_SORT));
}

// ----- Copies range -----------------------------------------------------------------------------

struct RangeCase {
    const char* name;
    ModelVariant variant;
    const char* label;
    double max;
};

void PrintTo(const RangeCase& c, std::ostream* os)
{
    *os << c.name;
}

class CopiesRange : public OutputPageTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(CopiesRange, ComesFromTheModelsLimit)
{
    const RangeCase& c = GetParam();
    StartVariant("GC7350", ColourOptions(), c.variant);
    EXPECT_EQ(RangeText(Page()->GetGtkWidget()), c.label);
    double min = 0;
    double max = 0;
    gtk_spin_button_get_range(GTK_SPIN_BUTTON(Widget(IDC_OUTPUT_COPIES)), &min, &max);
    EXPECT_EQ(min, 1);
    EXPECT_EQ(max, c.max);
    EXPECT_EQ(gtk_entry_get_max_length(GTK_ENTRY(Widget(IDC_OUTPUT_COPIES))), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CopiesRange,
    ::testing::Values(RangeCase{"ModelLimit", {{{23, RawSection({250, 1})}}}, "(1 - 250)", 250},
                      RangeCase{"NoLimit", {{{23, nullptr}}}, "(1 - 999)", 999},
                      // Limits below one copy would leave no copy count at all (and GTK refuses
                      // an empty range): the default stays. 0xFFFF is -1 as a signed 16-bit word.
                      RangeCase{"ZeroLimit", {{{23, RawSection({0, 1})}}}, "(1 - 999)", 999},
                      RangeCase{"NegativeLimit", {{{23, RawSection({0xFFFF, 1})}}}, "(1 - 999)", 999}),
    [](const ::testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST_F(OutputPageTest, MonoModelShowsItsRangeToo)
{
    StartQueue("GM4150", {});
    EXPECT_EQ(RangeText(Page()->GetGtkWidget()), "(1 - 999)");
}

// ----- Controls write their fields -----------------------------------------------------------

struct WriteCase {
    const char* what;
    std::function<void(OutputPageTest&)> act;
    std::function<long(const DRVDEVMODE&)> field;
    long expected;
};

class PageControls : public OutputPageTest {
public:
    // Runs the cases in turn on the loaded queue: after each, the field holds the value and the
    // window is modified (cleared again before the next case).
    void RunCases(const std::vector<WriteCase>& cases)
    {
        for (const WriteCase& c : cases) {
            SCOPED_TRACE(c.what);
            Win()->SetModified(0);
            c.act(*this);
            EXPECT_EQ(c.field(Settings()), c.expected);
            EXPECT_TRUE(Win()->IsModified());
        }
    }
};

TEST_F(PageControls, EachControlWritesItsField)
{
    StartVariant("GC7350", ColourOptions(), kThreeSortModes);
    Settings().dm.dmCollate = 1;
    Page()->Refresh();
    RunCases({
        {"collate off", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_COLLATE); },
         [](const DRVDEVMODE& dm) { return long(dm.dm.dmCollate); }, 0},
        {"collate on", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_COLLATE); },
         [](const DRVDEVMODE& dm) { return long(dm.dm.dmCollate); }, 1},
        {"offset tray", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_TRAY, 1); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmFinisher); }, 1},
        {"stapling tray", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_TRAY, 2); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmFinisher); }, 2},
        {"staple top left", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_STAPLE, 1); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmStaple); }, 1},
        {"three holes", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_PUNCH, 3); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmPunch); }, 3},
        {"no staple", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_STAPLE, 0); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmStaple); }, 0},
        {"no punch", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_PUNCH, 0); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmPunch); }, 0},
        {"standard tray", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_TRAY, 0); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmFinisher); }, 0},
        {"sort group", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_SORT, 4); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmSort); }, 4},
        {"sort", [](OutputPageTest& t) { t.Choose(IDC_OUTPUT_SORT, 2); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmSort); }, 2},
        {"mirror on", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_MIRROR); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmMirror); }, 1},
        {"mirror off", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_MIRROR); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmMirror); }, 0},
        {"reverse on", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_REVERSE); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmReverseOrder); }, 1},
        {"reverse off", [](OutputPageTest& t) { t.Click(IDC_OUTPUT_REVERSE); },
         [](const DRVDEVMODE& dm) { return long(dm.priv.dmReverseOrder); }, 0},
        {"copies", [](OutputPageTest& t) { t.SetCopies(7); },
         [](const DRVDEVMODE& dm) { return long(dm.dm.dmCopies); }, 7},
    });
}

TEST_F(PageControls, EditingTheCopiesTextOnlyMarksTheWindowModified)
{
    StartQueue("GC7350", ColourOptions());
    const SHORT copies = Settings().dm.dmCopies;
    gint position = 0;
    gtk_editable_insert_text(GTK_EDITABLE(Widget(IDC_OUTPUT_COPIES)), "4", 1, &position);
    Pump();
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_EQ(Settings().dm.dmCopies, copies) << "the value is taken when the spin button takes it";
}

// A finisher code the model has no tray for is what the constraint engine rewrites at its next
// run: it shows whether a control's change ran the engine.
TEST_F(PageControls, MirrorRunsNoConstraintPassReverseOrderDoes)
{
    StartQueue("GC7350", ColourOptions());
    constexpr WORD kUnknownTray = 770;
    Settings().priv.dmFinisher = kUnknownTray;
    Click(IDC_OUTPUT_MIRROR);
    EXPECT_EQ(Settings().priv.dmMirror, 1);
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_EQ(Settings().priv.dmFinisher, kUnknownTray) << "no constraint run";

    Click(IDC_OUTPUT_REVERSE);
    EXPECT_EQ(Settings().priv.dmReverseOrder, 1);
    EXPECT_NE(Settings().priv.dmFinisher, kUnknownTray) << "the constraint engine ran";
}

// ----- Pictures of the combo rows ----------------------------------------------------------------

TEST_F(PageControls, SortPicturesFollowCollation)
{
    StartVariant("GC7350", ColourOptions(), kThreeSortModes);
    Settings().dm.dmCollate = 0;
    Page()->Refresh();
    EXPECT_EQ(SortedRows(IDC_OUTPUT_SORT), (Rows{{0, 2100}, {2, 2102}, {4, 2104}}));

    Choose(IDC_OUTPUT_SORT, 2);
    Click(IDC_OUTPUT_COLLATE);
    ASSERT_EQ(Settings().dm.dmCollate, 1);
    EXPECT_EQ(SelectedValue(IDC_OUTPUT_SORT), 2) << "row 2 stays selected";
    EXPECT_EQ(SortedRows(IDC_OUTPUT_SORT), (Rows{{0, 2101}, {2, 2103}, {4, 2105}}));
}

TEST_F(PageControls, TrayStapleAndPunchRowsCarryTheirPictures)
{
    StartQueue("GC7350", ColourOptions());
    // The PPD's choices: trays None, Offset, Staple (0, 1, 2); staples None, Top Left, Top Right,
    // Left (Dual) (0..3); punches None, 2 Holes, 3 Holes (0, 2, 3). A row for each choice the
    // constraint engine allows now.
    CKinsokuList* constraints = Info()->pKinsokuList;
    std::vector<long> staples;
    std::vector<int> staplePictures;
    for (long value : {0, 1, 2, 3}) {
        if (constraints->IsValueDisabled(KINSOKU_ITEM_STAPLE, value) == 0) {
            staples.push_back(value);
            staplePictures.push_back(2300 + static_cast<int>(value));
        }
    }
    ASSERT_GE(staples.size(), 2u);
    EXPECT_EQ(RowValues(IDC_OUTPUT_TRAY), (std::vector<long>{0, 1, 2}));
    EXPECT_EQ(RowImages(IDC_OUTPUT_TRAY), (std::vector<int>{2340, 2341, 2341}));
    EXPECT_EQ(RowValues(IDC_OUTPUT_STAPLE), staples);
    EXPECT_EQ(RowImages(IDC_OUTPUT_STAPLE), staplePictures);
    // The hole position comes from the staple-mode papers of the finisher: Letter and A4 list
    // 0x1100, the first position bit 0x100 (2) for one group, 0x1000 (2) for the other. So
    // 2 holes (value 2) -> 2324 and 3 holes (value 3) -> 2327; no punching -> 2320.
    EXPECT_EQ(RowValues(IDC_OUTPUT_PUNCH), (std::vector<long>{0, 2, 3}));
    EXPECT_EQ(RowImages(IDC_OUTPUT_PUNCH), (std::vector<int>{2320, 2324, 2327}));
}

TEST_F(PageControls, TheStapleOfValueSixTurnsWithTheEffectiveOrientation)
{
    struct Case {
        SHORT orientation;
        WORD layout;
        unsigned short picture;
    };
    const Case cases[] = {{1, 0, 2306}, {2, 0, 2307}, {1, 2, 2307}, {2, 2, 2306}};
    for (const Case& c : cases) {
        DRVDEVMODE dm{};
        dm.dm.dmSize = kDevmodePublicSize;
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmLayoutPrint = c.layout;
        EXPECT_EQ(CTabOutput::StapleImage(6, &dm), c.picture) << c.orientation << " " << c.layout;
    }
}

// A model may list its finish modes among the installable options: a tray whose mode the queue
// has not installed is not offered. This variant lists them and leaves the offset mode (model id
// 2, the tray value 1) present but not installed, the others installed by default.
TEST_F(OutputPageTest, ATrayWhoseFinishModeIsNotInstalledIsNotOffered)
{
    constexpr unsigned kPresent = 0x1;
    constexpr unsigned kInstalledByDefault = 0x2;
    const auto uninstalledOffset = [](nlohmann::json& model) {
        for (nlohmann::json& section : model["sections"]) {
            if (section["id"] == 34) {
                for (nlohmann::json& mode : section["finishModes"]["modes"]) {
                    mode["flags"] = mode["id"] == 2 ? kPresent : kPresent | kInstalledByDefault;
                }
            }
        }
    };
    const ModelVariant listed = {{{37, nlohmann::json{{"optionList", {{"lists", {{25, 26, 27, 34, 35, 36}}}}}}}},
                                 uninstalledOffset};
    StartVariant("GC7350", ColourOptions(), listed);
    ASSERT_TRUE(Shown(IDC_OUTPUT_TRAY));
    EXPECT_EQ(RowValues(IDC_OUTPUT_TRAY), (std::vector<long>{0, 2}));
    EXPECT_EQ(RowImages(IDC_OUTPUT_TRAY), (std::vector<int>{2340, 2341}));
}

// ----- Screenshots ----------------------------------------------------------------------------

TEST_F(OutputPageTest, ScreenshotOfTheColourPage)
{
    StartVariant("GC7350", ColourOptions(), kThreeSortModes);
    Settings().priv.dmStaple = 1;
    Settings().priv.dmFinisher = 2;
    Settings().dm.dmCopies = 3;
    Page()->Refresh();
    orvgui::SaveScreenshot(Win()->GetGtkWidget(), "output-page-colour");
}

TEST_F(OutputPageTest, ScreenshotOfTheMonoPage)
{
    StartQueue("GM4150", {});
    orvgui::SaveScreenshot(Win()->GetGtkWidget(), "output-page-mono");
}

}  // namespace
