// The Basic page on the sample models, driven through the signals a user's choices emit: which rows
// a model shows, the field and value each control writes, the resets that follow a paper or
// output-paper choice, the constraint engine's repairs as the combos show them, the duplex
// pictures, the layout toggles, and the binding margin in layout units with its range.
#include "gui/basic-page/BasicPageFixture.h"
#include "gui/DlgFitPage.h"
#include "gui/kit/Screenshot.h"
#include "gui/widgets/BuiltinTables.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>

namespace {

using basictest::BasicPageTest;
using basictest::kDuplexUnitInstalled;
using basictest::SamplePpd;
namespace fs = std::filesystem;

// Reads one field of the working settings.
using Field = std::function<long(const DRVDEVMODE&)>;

const Field kOrientation = [](const DRVDEVMODE& d) { return d.dm.dmOrientation; };
const Field kRotate = [](const DRVDEVMODE& d) { return d.priv.dmRotateOrient; };
const Field kPaper = [](const DRVDEVMODE& d) { return d.dm.dmPaperSize; };
const Field kPaperSizeBits = [](const DRVDEVMODE& d) { return static_cast<long>(d.dm.dmFields & 0xC); };
const Field kOutput = [](const DRVDEVMODE& d) { return d.priv.dmOutputPaperSize; };
const Field kLayout = [](const DRVDEVMODE& d) { return d.priv.dmLayoutPrint; };
const Field kMedia = [](const DRVDEVMODE& d) { return static_cast<long>(d.dm.dmMediaType); };
const Field kSource = [](const DRVDEVMODE& d) { return d.dm.dmDefaultSource; };
const Field kDuplex = [](const DRVDEVMODE& d) { return d.dm.dmDuplex; };

TEST_F(BasicPageTest, RowsShownFollowWhatTheModelOffers)
{
    struct Case {
        const char* queue;
        bool duplex;      // separator, duplex row, margin row and booklet toggle
        bool customPaper;
        bool media;
        size_t orientations;
    };
    const Case cases[] = {
        {"colour", true, true, true, 2},
        {"mono", true, false, true, 4},  // the mono model turns pages by 180 degrees
        {"small", false, false, true, 2},
    };
    StartSamples();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.queue);
        Load(c.queue);
        EXPECT_EQ(Visible(IDC_BASIC_DUPLEX), c.duplex);
        EXPECT_EQ(Visible(IDC_BASIC_MARGIN), c.duplex);
        EXPECT_EQ(Visible(IDC_BASIC_LAYOUT_BOOKLET), c.duplex);
        EXPECT_EQ(Visible(IDC_BASIC_CUSTOMPAPER), c.customPaper);
        EXPECT_TRUE(Sensitive(IDC_BASIC_CUSTOMPAPER));
        EXPECT_EQ(Visible(IDC_BASIC_MEDIATYPE), c.media);
        EXPECT_EQ(Values(IDC_BASIC_ORIENTATION).size(), c.orientations);
        EXPECT_TRUE(Visible(IDC_BASIC_PAPERSIZE));
        EXPECT_TRUE(Visible(IDC_BASIC_OUTPUTPAPER));
        EXPECT_TRUE(Visible(IDC_BASIC_SOURCE));
        EXPECT_EQ(Selected(IDC_BASIC_PAPERSIZE), Dm().dm.dmPaperSize) << "the loaded settings are shown";
        EXPECT_EQ(Selected(IDC_BASIC_OUTPUTPAPER), 0) << "Same as Paper Size";
        EXPECT_FALSE(Win()->IsModified()) << "filling the page is no change";
    }
}

TEST_F(BasicPageTest, EachComboWritesItsFieldAndShowsIt)
{
    struct Case {
        const char* queue;
        int control;
        long value;
        std::vector<std::pair<Field, long>> fields;
    };
    const Case cases[] = {
        {"colour", IDC_BASIC_ORIENTATION, 0x20000, {{kOrientation, 2}, {kRotate, 0}}},
        {"colour", IDC_BASIC_ORIENTATION, 0x10000, {{kOrientation, 1}, {kRotate, 0}}},
        {"mono", IDC_BASIC_ORIENTATION, 0x20001, {{kOrientation, 2}, {kRotate, 1}}},
        {"mono", IDC_BASIC_ORIENTATION, 0x10001, {{kOrientation, 1}, {kRotate, 1}}},
        {"colour", IDC_BASIC_DUPLEX, 3, {{kDuplex, 3}}},
        {"colour", IDC_BASIC_DUPLEX, 1, {{kDuplex, 1}}},
        {"colour", IDC_BASIC_SOURCE, 2, {{kSource, 2}}},
        {"colour", IDC_BASIC_MEDIATYPE, 3, {{kMedia, 3}}},
        {"colour", IDC_BASIC_PAPERSIZE, 11, {{kPaper, 11}, {kPaperSizeBits, 0xC}, {kOutput, 0}}},
        {"colour", IDC_BASIC_OUTPUTPAPER, 13, {{kOutput, 13}, {kLayout, 8}}},
        {"colour", IDC_BASIC_OUTPUTPAPER, 0, {{kOutput, 0}, {kLayout, 0}}},
    };
    StartSamples();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " control " + std::to_string(c.control) + " value " +
                     std::to_string(c.value));
        if (Win()->GetLoadedName() != std::string(c.queue)) {
            guitest::MessageBoxAnswers discard({IDNO});
            Load(c.queue);
        }
        Win()->SetModified(0);
        Choose(c.control, c.value);
        for (const auto& [field, expected] : c.fields) {
            EXPECT_EQ(field(Dm()), expected);
        }
        EXPECT_EQ(Selected(c.control), c.value) << "the page shows the choice";
        EXPECT_TRUE(Win()->IsModified());
    }
}

TEST_F(BasicPageTest, PaperAndOutputPaperChoicesResetWhatDependsOnThem)
{
    StartSamples();
    // An output paper turns the normal layout into fit to output paper, and back.
    Choose(IDC_BASIC_OUTPUTPAPER, 13);
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 8);
    EXPECT_EQ(LayoutLabel(), "Layout Print :Fit to Output Paper Size");
    Choose(IDC_BASIC_OUTPUTPAPER, 0);
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 0);
    EXPECT_EQ(LayoutLabel(), "Layout Print :None");

    // A paper choice always brings the output paper back to "Same as Paper Size" (and the fit
    // layout that came with it back to normal).
    Choose(IDC_BASIC_OUTPUTPAPER, 13);
    Choose(IDC_BASIC_PAPERSIZE, 5);
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 0);
    EXPECT_EQ(Selected(IDC_BASIC_OUTPUTPAPER), 0);
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 0);

    // With another layout an output paper leaves the layout alone.
    ClickLayout(IDC_BASIC_LAYOUT_ZOOM, basictest::Ending::Ok);
    Choose(IDC_BASIC_OUTPUTPAPER, 11);
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 16);
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 11);

    // Back to no layout: the output paper goes with it.
    Click(IDC_BASIC_LAYOUT_NONE);
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 0);
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 0);
    EXPECT_EQ(Selected(IDC_BASIC_OUTPUTPAPER), 0);
}

TEST_F(BasicPageTest, PapersTheListNoLongerHoldsFallBack)
{
    StartSamples();
    const SHORT defaultPaper = Win()->GetDialogInfo()->dmDefault.dm.dmPaperSize;
    Choose(IDC_BASIC_PAPERSIZE, 5);
    Dm().dm.dmPaperSize = 999;
    Dm().priv.dmOutputPaperSize = 13;
    Refresh();
    EXPECT_EQ(Dm().dm.dmPaperSize, defaultPaper);
    EXPECT_EQ(Dm().dm.dmFields & 0xC, 0u) << "no explicit size any more";
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 0);
    EXPECT_EQ(Selected(IDC_BASIC_PAPERSIZE), defaultPaper);

    Dm().priv.dmOutputPaperSize = 998;
    Refresh();
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 0);
    EXPECT_EQ(Selected(IDC_BASIC_OUTPUTPAPER), 0);
}

TEST_F(BasicPageTest, OrientationTurnsResetTheTwoUpOrderAndKeepUnknownRowsUnselected)
{
    struct Case {
        SHORT nup;
        SHORT order;
        SHORT orderAfter;
    };
    const Case cases[] = {{2, 3, 0}, {4, 2, 2}, {2, 0, 0}};
    StartSamples();
    for (const Case& c : cases) {
        SCOPED_TRACE("nup " + std::to_string(c.nup) + " order " + std::to_string(c.order));
        Choose(IDC_BASIC_ORIENTATION, 0x10000);
        Dm().priv.dmLayoutPrint = 1;
        Dm().priv.dmNup = c.nup;
        Dm().priv.dmNupOrder = c.order;
        Choose(IDC_BASIC_ORIENTATION, 0x20000);
        EXPECT_EQ(Dm().priv.dmNupOrder, c.orderAfter);
    }
    // The colour model offers no reverse rows: a stored reverse orientation selects none.
    Dm().priv.dmRotateOrient = 1;
    Refresh();
    EXPECT_EQ(Selected(IDC_BASIC_ORIENTATION), -1);
}

TEST_F(BasicPageTest, DuplexPicturesFollowTheOrientationThePagesAreLaidIn)
{
    struct Case {
        long value;
        SHORT orientation;
        WORD layout;
        SHORT nup;
        unsigned short image;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 2110},        {2, 1, 0, 0, 2111},         {3, 1, 0, 0, 2112},
        {1, 2, 0, 0, 2113},        {2, 2, 0, 0, 2114},         {3, 2, 0, 0, 2115},
        {0x10001, 1, 0, 0, 2110},  {0x10002, 1, 0, 0, 2116},   {0x10003, 1, 0, 0, 2117},
        {0x10001, 2, 0, 0, 2113},  {0x10002, 2, 0, 0, 2119},   {0x10003, 2, 0, 0, 2118},
        {2, 1, 2, 0, 2114},  // a booklet turns the sheet
        {2, 2, 2, 0, 2111},
        {2, 1, 1, 2, 2114},  // so do 2, 6 and 8 pages per sheet
        {2, 1, 1, 6, 2114},        {2, 1, 1, 8, 2114},
        {2, 1, 1, 4, 2111},        {2, 1, 1, 9, 2111},
        {2, 1, 0, 2, 2111},  // a page count without the layout does not
        {4, 1, 0, 0, 0},           {0x10004, 2, 0, 0, 0},       {0, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm{};
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmLayoutPrint = c.layout;
        dm.priv.dmNup = c.nup;
        EXPECT_EQ(DuplexIconCallback(c.value, &dm), c.image)
            << c.value << " orientation " << c.orientation << " layout " << c.layout << " nup " << c.nup;
    }
    EXPECT_EQ(DuplexIconCallback(2, nullptr), 0);

    // The duplex rows carry those pictures and change with the orientation.
    StartSamples();
    auto pictures = [this] {
        std::vector<GdkPixbuf*> shown;
        xComboBox* combo = Combo(IDC_BASIC_DUPLEX);
        for (int row = 0; row < combo->GetCount(); ++row) {
            GtkTreeIter iter;
            GdkPixbuf* pixbuf = nullptr;
            gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(combo->GetStore()), &iter, nullptr, row);
            gtk_tree_model_get(GTK_TREE_MODEL(combo->GetStore()), &iter, LIST_COLUMN_PIXBUF, &pixbuf, -1);
            shown.push_back(pixbuf);
            if (pixbuf != nullptr) {
                g_object_unref(pixbuf);
            }
        }
        return shown;
    };
    ASSERT_EQ(Values(IDC_BASIC_DUPLEX), (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(pictures(), (std::vector<GdkPixbuf*>{GetBuiltinImage(2110), GetBuiltinImage(2111), GetBuiltinImage(2112)}));
    Choose(IDC_BASIC_ORIENTATION, 0x20000);
    EXPECT_EQ(pictures(), (std::vector<GdkPixbuf*>{GetBuiltinImage(2113), GetBuiltinImage(2114), GetBuiltinImage(2115)}));
    EXPECT_NE(GetBuiltinImage(2110), nullptr);
}

TEST_F(BasicPageTest, LayoutTogglesOpenTheirDialogsAndOkTakesTheLayout)
{
    struct Case {
        int toggle;
        WORD layout;
        const char* label;
    };
    const Case cases[] = {
        {IDC_BASIC_LAYOUT_NUP, 1, "Layout Print :Pages per Sheet"},
        {IDC_BASIC_LAYOUT_BOOKLET, 2, "Layout Print :Booklet"},
        {IDC_BASIC_LAYOUT_FIT, 8, "Layout Print :Fit to Output Paper Size"},
        {IDC_BASIC_LAYOUT_ZOOM, 16, "Layout Print :Zoom"},
        {IDC_BASIC_LAYOUT_POSTER, 4, "Layout Print :Poster"},
        {IDC_BASIC_LAYOUT_NONE, 0, "Layout Print :None"},
    };
    StartSamples();
    EXPECT_EQ(LayoutLabel(), "Layout Print :None");
    EXPECT_EQ(ActiveLayoutToggles(), (std::vector<int>{1, 0, 0, 0, 0, 0}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        for (int click = 0; click < 2; ++click) {  // a second click on the active toggle keeps it
            Win()->SetModified(0);
            if (c.layout == 0) {
                Click(c.toggle);  // no dialog
            } else {
                ClickLayout(c.toggle, basictest::Ending::Ok);
            }
            EXPECT_EQ(Dm().priv.dmLayoutPrint, c.layout);
            EXPECT_EQ(LayoutLabel(), c.label);
            std::vector<int> active(6, 0);
            active[c.toggle - IDC_BASIC_LAYOUT_NONE] = 1;
            EXPECT_EQ(ActiveLayoutToggles(), active);
            EXPECT_EQ(Win()->IsModified() != 0, c.layout != 0 || click == 0);
        }
        if (c.layout == 2) {
            EXPECT_EQ(Dm().dm.dmDuplex, 2) << "a booklet is printed on both sides";
            EXPECT_EQ(Values(IDC_BASIC_DUPLEX), (std::vector<long>{2}));
        }
    }
    // A value no toggle stands for shows none of them and no name.
    Dm().priv.dmLayoutPrint = 32;
    Refresh();
    EXPECT_EQ(ActiveLayoutToggles(), (std::vector<int>(6, 0)));
    EXPECT_EQ(LayoutLabel(), "Layout Print :");
}

// A layout dialog left other than with OK changes nothing: not one byte of the settings, not the
// toggles, not the layout shown.
TEST_F(BasicPageTest, ALayoutDialogLeftWithoutOkLeavesEverythingAsItWas)
{
    using basictest::Ending;
    StartSamples();
    ClickLayout(IDC_BASIC_LAYOUT_ZOOM, Ending::Ok);
    Win()->SetModified(0);
    for (int toggle = IDC_BASIC_LAYOUT_NUP; toggle <= IDC_BASIC_LAYOUT_POSTER; ++toggle) {
        for (Ending ending : {Ending::Cancel, Ending::Escape, Ending::WindowManager}) {
            SCOPED_TRACE(std::string(basictest::LayoutDialogTitle(toggle)) + " ending " +
                         std::to_string(static_cast<int>(ending)));
            const DRVDEVMODE before = Dm();
            ClickLayout(toggle, ending, [](GtkWidget* dialog) {
                // Something changed in the dialog first: its first sensitive toggle clicked.
                for (GtkWidget* widget : orvgui::AllWidgets(dialog)) {
                    if (dynamic_cast<xToggleButton*>(xWidget::FromGtkWidget(widget)) != nullptr &&
                        GTK_WIDGET_IS_SENSITIVE(widget)) {
                        gtk_button_clicked(GTK_BUTTON(widget));
                        break;
                    }
                }
            });
            EXPECT_EQ(std::memcmp(&before, &Dm(), sizeof before), 0) << "the settings are byte-identical";
            EXPECT_EQ(Dm().priv.dmLayoutPrint, 16);
            EXPECT_EQ(ActiveLayoutToggles(), (std::vector<int>{0, 0, 0, 0, 1, 0}));
            EXPECT_EQ(LayoutLabel(), "Layout Print :Zoom");
            EXPECT_FALSE(Win()->IsModified());
        }
    }
}

// What the engine forbids after a choice shows at once: rows go, the fields that held them are
// repaired, and layouts the engine rules out can no longer be clicked.
TEST_F(BasicPageTest, ConstraintRepairsShowInTheCombos)
{
    struct Case {
        const char* what;
        const char* queue;
        int control;  // 0: nothing chosen, the queue as loaded
        long value;
        std::vector<long> duplexRows;
        std::vector<std::pair<Field, long>> fields;
        std::vector<std::pair<int, long>> rowsGone;  // (control, value) no longer offered
        bool bookletClickable;
    };
    const Case cases[] = {
        {"an envelope", "colour", IDC_BASIC_PAPERSIZE, 20, {1}, {{kDuplex, 1}, {kMedia, 5}},
         {{IDC_BASIC_MEDIATYPE, 1}, {IDC_BASIC_SOURCE, 2}}, false},
        {"transparencies", "colour", IDC_BASIC_MEDIATYPE, 4, {1}, {{kDuplex, 1}, {kMedia, 4}}, {}, false},
        {"thick paper", "colour", IDC_BASIC_MEDIATYPE, 3, {1}, {{kDuplex, 1}, {kSource, 1}},
         {{IDC_BASIC_SOURCE, 7}, {IDC_BASIC_SOURCE, 2}}, false},
        {"manual feed", "colour", IDC_BASIC_SOURCE, 4, {1}, {{kDuplex, 1}}, {}, false},
        {"plain paper", "colour", IDC_BASIC_MEDIATYPE, 1, {1, 2, 3}, {{kDuplex, 2}}, {}, true},
        {"no duplex unit", "plain", 0, 0, {1}, {{kDuplex, 1}}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        StartSamples();
        Load(c.queue);
        if (Offers(IDC_BASIC_DUPLEX, 2)) {
            Choose(IDC_BASIC_DUPLEX, 2);
        }
        if (c.control != 0) {
            Choose(c.control, c.value);
        }
        EXPECT_EQ(Values(IDC_BASIC_DUPLEX), c.duplexRows);
        EXPECT_EQ(Selected(IDC_BASIC_DUPLEX), Dm().dm.dmDuplex);
        for (const auto& [field, expected] : c.fields) {
            EXPECT_EQ(field(Dm()), expected);
        }
        for (const auto& [control, value] : c.rowsGone) {
            EXPECT_FALSE(Offers(control, value)) << "control " << control << " row " << value;
        }
        EXPECT_EQ(Selected(IDC_BASIC_MEDIATYPE), static_cast<long>(Dm().dm.dmMediaType));
        EXPECT_EQ(Selected(IDC_BASIC_SOURCE), Dm().dm.dmDefaultSource);
        EXPECT_EQ(Sensitive(IDC_BASIC_LAYOUT_BOOKLET), c.bookletClickable);
    }
}

// The colour queue's PPD with custom papers as the companion program writes them: a label, a card
// in inches, and one whose length no settings field can hold.
std::string CustomPaperPpd(const orvtest::ScratchDir& dir)
{
    std::string text = setuptest::ReadText(SamplePpd(dir, "GC7350", "custom-base.ppd", {kDuplexUnitInstalled}));
    const std::string close = "*CloseUI: *PageSize";
    text.insert(text.find(close),
                "*PageSize userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n"
                "*PageSize userpaper458/Card 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n"
                "*PageSize userpaper459/Banner 200.0 x 5000.0 mm: \"<</PageSize[567 14173]/ImagingBBox null>>setpagedevice %% ID=459\"\n");
    text += "*ImageableArea userpaper457/Label: \"12 12 271 413\"\n*PaperDimension userpaper457/Label: \"283 425\"\n"
            "*ImageableArea userpaper458/Card: \"12 12 276 420\"\n*PaperDimension userpaper458/Card: \"288 432\"\n"
            "*ImageableArea userpaper459/Banner: \"12 12 555 14161\"\n*PaperDimension userpaper459/Banner: \"567 14173\"\n";
    return dir.WriteFile("custom.ppd", text);
}

TEST_F(BasicPageTest, CustomPapersTakeTheirSizeFromTheQueuesPpd)
{
    Start({{"colour", CustomPaperPpd(ppds)}});
    ASSERT_TRUE(Offers(IDC_BASIC_PAPERSIZE, 457));
    Choose(IDC_BASIC_PAPERSIZE, 457);
    EXPECT_EQ(Dm().dm.dmPaperSize, 457);
    EXPECT_EQ(Dm().dm.dmPaperWidth, 1000);
    EXPECT_EQ(Dm().dm.dmPaperLength, 1500);
    EXPECT_EQ(Dm().dm.dmFields & 0xC, 0xCu);

    Choose(IDC_BASIC_PAPERSIZE, 9);
    ASSERT_TRUE(Offers(IDC_BASIC_OUTPUTPAPER, 458));
    Choose(IDC_BASIC_OUTPUTPAPER, 458);
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 458);
    EXPECT_EQ(Dm().priv.dmOutputPaperWidth, 1016);
    EXPECT_NEAR(Dm().priv.dmOutputPaperLength, 1524, 1) << "6 in, truncated to 0.1 mm";
    EXPECT_NE(Dm().priv.dmFieldsExtra1 & DMX1_OUTPUT_PAPER_DIMS, 0u);

    // A custom output paper chosen in a layout dialog gets its size on OK as well.
    ClickLayout(IDC_BASIC_LAYOUT_FIT, basictest::Ending::Ok, [](GtkWidget* dialog) {
        auto* combo = dynamic_cast<xComboBox*>(orvgui::FindControl(dialog, IDC_FIT_OUTPUTPAPER));
        ASSERT_NE(combo, nullptr);
        const int row = combo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(457)));
        ASSERT_GE(row, 0);
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo->GetGtkWidget()), row);
    });
    EXPECT_EQ(Dm().priv.dmLayoutPrint, 8);
    EXPECT_EQ(Dm().priv.dmOutputPaperSize, 457);
    EXPECT_EQ(Dm().priv.dmOutputPaperWidth, 1000);
    EXPECT_EQ(Dm().priv.dmOutputPaperLength, 1500);

    // A size beyond what the field holds is held to its largest value, never wrapped around.
    ASSERT_TRUE(Offers(IDC_BASIC_PAPERSIZE, 459));
    {
        Choose(IDC_BASIC_PAPERSIZE, 459);
        EXPECT_EQ(Dm().dm.dmPaperLength, 32767);
        EXPECT_EQ(Dm().dm.dmPaperWidth, 2000);
    }
}

// The margin is edited in the unit the settings say (bit 0x2 of dmMetric: millimetres) and stored
// in layout units, here 1/600 inch, rounded to the nearest unit either way: a length shown again
// reads back as the same units.
TEST_F(BasicPageTest, MarginIsStoredInLayoutUnitsAt600Dpi)
{
    struct Case {
        const char* queue;
        bool mm;
        double typed;
        WORD dots;
        double shown;
    };
    const Case cases[] = {
        {"colour", true, 10, 236, 10},   {"colour", true, 3, 71, 3},      {"colour", true, 25, 591, 25},
        {"colour", false, 0.5, 300, 0.5}, {"colour", false, 0.7, 420, 0.7}, {"colour", false, 0.3, 180, 0.3},
        {"colour", false, 0.9, 540, 0.9}, {"nolimit", false, 1.5, 900, 1.5}, {"nolimit", false, 1.9, 1140, 1.9},
        {"colour", true, 0, 0, 0},
    };
    const std::string model = tree.DataDir() + "GC7350NM.pcsp";
    fs::copy_file(ORV_BASIC_PAGE_MODEL_DIR "GC7350NM.pcsp", model);
    Start({{"colour", SamplePpd(ppds, "GC7350", "colour.ppd", {kDuplexUnitInstalled})},
           {"nolimit", SamplePpd(ppds, "GC7350", "nolimit.ppd", {kDuplexUnitInstalled, {"\"GC7350.pcsp\"", "\"GC7350NM.pcsp\""}})}});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + (c.mm ? " mm " : " in ") + std::to_string(c.typed));
        if (Win()->GetLoadedName() != std::string(c.queue)) {
            guitest::MessageBoxAnswers discard({IDNO});
            Load(c.queue);
        }
        ASSERT_EQ(Dm().priv.dmUnitOfLayout, 600);
        Choose(IDC_BASIC_DUPLEX, 2);
        Dm().priv.dmMetric = static_cast<WORD>(c.mm ? (Dm().priv.dmMetric | 0x2) : (Dm().priv.dmMetric & ~0x2));
        Win()->GetTabs()->InitPages();
        ASSERT_TRUE(Sensitive(IDC_BASIC_MARGIN));
        EXPECT_EQ(gtk_spin_button_get_digits(GTK_SPIN_BUTTON(Spin()->GetGtkWidget())), c.mm ? 0u : 1u);

        // A different value first, so that the typed one is a change.
        Dm().priv.dmDuplexMargin = 1;
        Refresh();
        Win()->SetModified(0);
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Spin()->GetGtkWidget()), c.typed);
        guitest::Pump();
        EXPECT_EQ(Dm().priv.dmDuplexMargin, c.dots);
        EXPECT_TRUE(Win()->IsModified());

        Refresh();
        EXPECT_NEAR(Spin()->GetValue(), c.shown, c.mm ? 0.5 : 0.05);
        gchar* text = gtk_editable_get_chars(GTK_EDITABLE(Spin()->GetGtkWidget()), 0, -1);
        char expected[16];
        std::snprintf(expected, sizeof expected, c.mm ? "%.0f" : "%.1f", c.shown);
        EXPECT_STREQ(text, expected);
        g_free(text);
        EXPECT_EQ(DuplexMarginDots(Spin()->GetValue(), c.mm, 600), c.dots) << "read back as the same units";
    }
}

TEST(DuplexMarginDots, RoundsToTheNearestUnitAndStaysInTheField)
{
    struct Case {
        double length;
        bool mm;
        SHORT dpi;
        WORD dots;
    };
    const Case cases[] = {
        {0.7, false, 600, 420},   {1.5, false, 600, 900},    {0.3, false, 600, 180},  {2.0, false, 1200, 2400},
        {3, true, 600, 71},       {10, true, 600, 236},      {25.4, true, 600, 600},  {0.7, false, 0, 420},
        {0.7, false, -5, 420},    {-1, false, 600, 0},       {200, false, 600, 65535}, {NAN, true, 600, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DuplexMarginDots(c.length, c.mm, c.dpi), c.dots) << c.length << (c.mm ? " mm at " : " in at ") << c.dpi;
    }
}

// The spin's range comes from the model's duplex record; a record that gives no usable limit (0 or
// below) keeps the default range, never an empty or inverted one.
TEST_F(BasicPageTest, MarginRangeFollowsTheModelAndNeverInverts)
{
    struct Case {
        const char* queue;
        bool mm;
        const char* label;
        double upper;
    };
    const Case cases[] = {
        {"colour", true, "(0 - 25 mm)", 25.0},
        {"colour", false, "(0.0 - 1.0 in.)", 0.98},
        {"nolimit", true, "(0 - 50 mm)", 50.0},
        {"nolimit", false, "(0.0 - 2.0 in.)", 2.0},
    };
    const std::string model = tree.DataDir() + "GC7350NM.pcsp";
    fs::copy_file(ORV_BASIC_PAGE_MODEL_DIR "GC7350NM.pcsp", model);
    Start({{"colour", SamplePpd(ppds, "GC7350", "colour.ppd", {kDuplexUnitInstalled})},
           {"nolimit", SamplePpd(ppds, "GC7350", "nolimit.ppd", {kDuplexUnitInstalled, {"\"GC7350.pcsp\"", "\"GC7350NM.pcsp\""}})}});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + (c.mm ? " mm" : " in"));
        Load(c.queue);
        Dm().priv.dmMetric = static_cast<WORD>(c.mm ? (Dm().priv.dmMetric | 0x2) : (Dm().priv.dmMetric & ~0x2));
        Win()->GetTabs()->InitPages();
        const std::vector<std::string> labels = Labels();
        EXPECT_NE(std::find(labels.begin(), labels.end(), c.label), labels.end());
        double lower = -1;
        double upper = -1;
        gtk_spin_button_get_range(GTK_SPIN_BUTTON(Spin()->GetGtkWidget()), &lower, &upper);
        EXPECT_EQ(lower, 0.0);
        EXPECT_NEAR(upper, c.upper, 1e-9);
        // The largest length the spin offers is stored within the field.
        Choose(IDC_BASIC_DUPLEX, 2);
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Spin()->GetGtkWidget()), upper);
        guitest::Pump();
        EXPECT_EQ(Dm().priv.dmDuplexMargin, DuplexMarginDots(upper, c.mm, 600));
        EXPECT_GT(Dm().priv.dmDuplexMargin, 0);
        guitest::MessageBoxAnswers discard({IDNO});
        Win()->LoadPrinter(nullptr);
        guitest::Pump();
    }
}

TEST_F(BasicPageTest, ScreenshotsOfThePageOnTheColourAndMonoModels)
{
    StartSamples();
    Choose(IDC_BASIC_DUPLEX, 2);
    std::string path = orvgui::SaveScreenshot(Win()->GetGtkWidget(), "basic-page-colour");
    ASSERT_FALSE(path.empty());
    EXPECT_GT(fs::file_size(path), 1000u);
    guitest::MessageBoxAnswers discard({IDNO});
    Load("mono");
    path = orvgui::SaveScreenshot(Win()->GetGtkWidget(), "basic-page-mono");
    ASSERT_FALSE(path.empty());
    EXPECT_GT(fs::file_size(path), 1000u);
}

}  // namespace
