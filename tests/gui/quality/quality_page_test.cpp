// The Quality page over the sample queues: which rows each model offers, the lists with their
// pictures, the colour mode rules, the resolution a quality brings, contrast and toner save, and
// the colour adjustment dialog behind Detail... All through the signals a user's action emits.
#include "gui/quality/QualityFixture.h"

#include "core/kinsoku/ValueList.h"
#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/Screenshot.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xFrame.h"
#include "gui/widgets/xRange.h"

#include <cstring>

namespace {

using guitest::Pump;
using qualitytest::Choose;
using qualitytest::IsDrawn;
using qualitytest::IsEffectivelySensitive;
using qualitytest::RowPictures;
using qualitytest::RowValues;

const std::vector<int> kQualityPictures = {2170, 2171, 2172};
const std::vector<int> kHalftonePictures = {2150, 2151, 2152, 2153, 2154, 2155};
const std::vector<int> kColorModePictures = {2160, 2161, 2162};

struct QualityPage : qualitytest::SetupWindow {
    xComboBox* ColorMode() const { return PageControl<xComboBox>(IDC_QUALITY_COLORMODE); }
    xComboBox* ColorManage() const { return PageControl<xComboBox>(IDC_QUALITY_COLORMANAGE); }
    xComboBox* Quality() const { return PageControl<xComboBox>(IDC_QUALITY_QUALITY); }
    xComboBox* Halftone() const { return PageControl<xComboBox>(IDC_QUALITY_HALFTONE); }
    xSlider* Contrast() const { return PageControl<xSlider>(IDC_QUALITY_CONTRAST); }
    xButtonBase* Detail() const { return PageControl<xButtonBase>(IDC_QUALITY_DETAIL); }
    xButtonBase* TonerSave() const { return PageControl<xButtonBase>(IDC_QUALITY_TONERSAVE); }
    // The contrast frame: the slider's parent's parent.
    GtkWidget* ContrastFrame() const { return gtk_widget_get_ancestor(Contrast()->GetGtkWidget(), GTK_TYPE_FRAME); }
    // The state a load leaves: settings changed behind the page's back, then the page filled
    // again, as for a freshly loaded queue.
    void Reload() const
    {
        Page()->OnInitPage();
        Win()->SetModified(0);
        Pump();
    }
};

// Which rows a model offers follows its capabilities: colour (capability 40), a resolution list
// (41), halftone (47), contrast (78) and toner save (46).
TEST_F(QualityPage, RowsFollowTheModelsCapabilities)
{
    struct Case {
        const char* queue;
        bool colour, quality, halftone, contrast, toner;
    };
    const Case cases[] = {
        {"colour", true, true, true, true, true},
        {"mono", false, true, false, true, true},
        {"small", false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.queue);
        StartOn(c.queue);
        ShowQualityPage();
        EXPECT_EQ(IsDrawn(ColorMode()), c.colour);
        EXPECT_EQ(IsDrawn(ColorManage()), c.colour);
        EXPECT_EQ(IsDrawn(Detail()), c.colour);
        EXPECT_EQ(IsDrawn(Quality()), c.quality);
        EXPECT_EQ(IsDrawn(Halftone()), c.halftone);
        EXPECT_EQ(IsDrawn(Contrast()), c.contrast);
        EXPECT_EQ(IsDrawn(TonerSave()), c.toner);
        TearDown();
    }
}

TEST_F(QualityPage, ListsCarryTheirValuesAndPictures)
{
    StartOn("colour");
    EXPECT_EQ(RowValues(ColorMode()), (std::vector<long>{1, 2}));
    EXPECT_EQ(RowPictures(ColorMode(), kColorModePictures), (std::vector<int>{2162, 2160}));
    EXPECT_EQ(guitest::RowTexts(ColorMode()), (std::vector<std::string>{"Grayscale", "Color"}));
    // Quality modes 1..4, the lowest 1: draft, standard, fine, and fine again for the fourth.
    EXPECT_EQ(RowValues(Quality()), (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(RowPictures(Quality(), kQualityPictures), (std::vector<int>{2170, 2171, 2172, 2172}));
    EXPECT_EQ(RowValues(Halftone()), (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(RowPictures(Halftone(), kHalftonePictures), (std::vector<int>{2154, 2150, 2151}));
    EXPECT_EQ(ColorMode()->GetCurSelData(), GINT_TO_POINTER(Settings().priv.dmColor));
    EXPECT_EQ(Quality()->GetCurSelData(), GINT_TO_POINTER(Settings().priv.dmQuality));

    // The monochrome model's quality list starts at 2: its pictures start over from there.
    TearDown();
    StartOn("mono");
    EXPECT_EQ(RowValues(Quality()), (std::vector<long>{2, 4}));
    EXPECT_EQ(RowPictures(Quality(), kQualityPictures), (std::vector<int>{2170, 2172}));
}

TEST(QualityPictures, IndexedFromTheLowestValueOfTheWholeList)
{
    // A list 3, 1 (disabled), 2: the lowest is 1 although it is not offered.
    tagVALUELIST nodes[3] = {};
    nodes[0].wValue = 3;
    nodes[0].pNext = &nodes[1];
    nodes[1].wValue = 1;
    nodes[1].lDisabled = -1;
    nodes[1].pNext = &nodes[2];
    nodes[2].wValue = 2;
    struct Case {
        long value;
        void* list;
        unsigned short picture;
    };
    const Case cases[] = {
        {1, nodes, 2170}, {2, nodes, 2171}, {3, nodes, 2172}, {4, nodes, 2172}, {5, nodes, 0}, {0, nodes, 0},
        // Without a list the lowest value is 1.
        {1, nullptr, 2170}, {4, nullptr, 2172}, {5, nullptr, 0},
        // A list starting at 2.
        {2, &nodes[2], 2170}, {5, &nodes[2], 2172}, {6, &nodes[2], 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTabQuality::QualityImage(c.value, c.list), c.picture) << c.value;
    }
    const std::pair<long, unsigned short> halftones[] = {{1, 2154}, {2, 2150}, {3, 2151}, {6, 2155},
                                                         {8, 2153}, {4, 2152}, {0, 2152}, {99, 2152}};
    for (const auto& [value, picture] : halftones) {
        EXPECT_EQ(CTabQuality::HalftoneImage(value, nullptr), picture) << value;
    }
    const std::pair<long, unsigned short> modes[] = {{1, 2162}, {2, 2160}, {3, 2161}, {0, 0}, {4, 0}};
    for (const auto& [value, picture] : modes) {
        EXPECT_EQ(CTabQuality::ColorModeImage(value, nullptr), picture) << value;
    }
}

// Changing the colour mode: the colour management of the new mode and the colour matching method
// follow; the print style starts over when leaving monochrome and when entering mode 3.
TEST_F(QualityPage, ColourModeRules)
{
    struct Case {
        SHORT fromMode;
        SHORT toMode;
        SHORT expectStyle;
        WORD expectManage;
        DWORD expectMatch;
    };
    const Case cases[] = {
        {1, 2, 0, 0, 1},  // leaving monochrome resets the style
        {2, 3, 0, 0, 1},  // entering mode 3 resets it too
        {2, 1, 3, 1, 1},  // monochrome keeps it and manages brightness
        {3, 2, 3, 0, 2},  // colour to colour keeps style 3: colour matching 2
    };
    StartOn("photo");
    ASSERT_EQ(RowValues(ColorMode()), (std::vector<long>{1, 2, 3}));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromMode << " -> " << c.toMode);
        Settings().priv.dmColor = c.fromMode;
        Settings().priv.dmPrintStyle = 3;
        Reload();
        ASSERT_FALSE(Win()->IsModified());
        Choose(ColorMode(), c.toMode);
        EXPECT_EQ(Settings().priv.dmColor, c.toMode);
        EXPECT_EQ(Settings().priv.dmPrintStyle, c.expectStyle);
        EXPECT_EQ(Settings().priv.dmColorManagement, c.expectManage);
        EXPECT_EQ(Settings().dm.dmICMMethod, c.expectMatch);
        EXPECT_TRUE(Win()->IsModified());
        // The colour management list always holds one row, chosen by monochrome or not.
        const bool mono = c.toMode == 1;
        EXPECT_EQ(guitest::RowTexts(ColorManage()),
                  (std::vector<std::string>{mono ? "Brightness Adjustment" : "Device Color"}));
        EXPECT_EQ(RowValues(ColorManage()), (std::vector<long>{mono ? 1 : 0}));
        // It shows the record's value when that is the row's; a print style the row does not
        // carry selects nothing.
        const long shown = mono ? Settings().priv.dmColorManagement : Settings().priv.dmPrintStyle;
        EXPECT_EQ(ColorManage()->GetCurSel(), shown == (mono ? 1 : 0) ? 0 : -1);
    }
}

// A quality brings the model's resolution for it (capability 42): mode 3 is printed at 600 dpi.
TEST_F(QualityPage, QualitySetsTheResolutionOfItsMode)
{
    struct Case {
        SHORT quality;
        SHORT xDpi, yDpi;
    };
    const Case cases[] = {{1, 300, 300}, {4, 1200, 1200}, {3, 600, 600}, {2, 600, 600}};
    StartOn("colour");
    for (const Case& c : cases) {
        Choose(Quality(), c.quality);
        EXPECT_EQ(Settings().priv.dmQuality, c.quality);
        EXPECT_EQ(Settings().dm.dmPrintQuality, c.xDpi) << c.quality;
        EXPECT_EQ(Settings().dm.dmYResolution, c.yDpi) << c.quality;
    }
    EXPECT_TRUE(Win()->IsModified());
}

TEST_F(QualityPage, ContrastSliderTakesTheModelsRangeAndMarksOnlyRealChanges)
{
    StartOn("colour");
    GtkAdjustment* range = gtk_range_get_adjustment(GTK_RANGE(Contrast()->GetGtkWidget()));
    // Capability 78: -50 to 50, page step 5.
    EXPECT_EQ(gtk_adjustment_get_lower(range), -50);
    EXPECT_EQ(gtk_adjustment_get_upper(range), 50);
    EXPECT_EQ(gtk_adjustment_get_step_increment(range), 1);
    EXPECT_EQ(gtk_adjustment_get_page_increment(range), 5);
    EXPECT_EQ(Contrast()->GetValueInt(), Settings().priv.dmContrast);

    const SHORT before = Settings().priv.dmContrast;
    gtk_range_set_value(GTK_RANGE(Contrast()->GetGtkWidget()), before);
    Pump();
    EXPECT_FALSE(Win()->IsModified()) << "the value it already has";
    gtk_range_set_value(GTK_RANGE(Contrast()->GetGtkWidget()), 15);
    Pump();
    EXPECT_EQ(Settings().priv.dmContrast, 15);
    EXPECT_TRUE(Win()->IsModified());
}

// Halftone "Text" forbids contrast: the whole frame turns insensitive and keeps its value.
TEST_F(QualityPage, HalftoneThatForbidsContrastDisablesTheFrame)
{
    StartOn("colour");
    gtk_range_set_value(GTK_RANGE(Contrast()->GetGtkWidget()), -20);
    Pump();
    ASSERT_TRUE(GTK_WIDGET_IS_SENSITIVE(ContrastFrame()));
    Choose(Halftone(), 2);
    EXPECT_EQ(Settings().priv.dmHalftone, 2);
    EXPECT_FALSE(GTK_WIDGET_IS_SENSITIVE(ContrastFrame()));
    EXPECT_FALSE(IsEffectivelySensitive(Contrast()));
    EXPECT_EQ(Contrast()->GetValueInt(), -20);
    EXPECT_EQ(Settings().priv.dmContrast, -20);
    Choose(Halftone(), 1);
    EXPECT_TRUE(IsEffectivelySensitive(Contrast()));
}

TEST_F(QualityPage, TonerSaveCheckWritesOneOrZero)
{
    StartOn("mono");
    ASSERT_TRUE(IsEffectivelySensitive(TonerSave()));
    const bool ticked = Settings().priv.dmTonerSave == 1;
    EXPECT_EQ(TonerSave()->GetCheck() != 0, ticked);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(TonerSave()->GetGtkWidget()), !ticked);
    Pump();
    EXPECT_EQ(Settings().priv.dmTonerSave, ticked ? 0 : 1);
    EXPECT_TRUE(Win()->IsModified());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(TonerSave()->GetGtkWidget()), ticked);
    Pump();
    EXPECT_EQ(Settings().priv.dmTonerSave, ticked ? 1 : 0);
}

// Detail... opens the colour adjustment dialog; only OK changes the settings and marks them.
TEST_F(QualityPage, DetailOpensTheColourDialogAndOnlyOkChangesTheSettings)
{
    StartOn("colour");
    ShowQualityPage();
    const DRVDEVMODE before = Settings();
    for (int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer);
        orvgui::ModalDriver driver;
        driver.OnWindow("Device Color", [&](GtkWindow* dialog) {
            auto* brightness = dynamic_cast<xSlider*>(orvgui::FindControl(GTK_WIDGET(dialog), IDC_CLRADJ_BRIGHTNESS_SLIDER));
            ASSERT_NE(brightness, nullptr);
            gtk_range_set_value(GTK_RANGE(brightness->GetGtkWidget()), 20);
            orvgui::ClickResponse(GTK_WIDGET(dialog), answer);
        });
        driver.Start();
        gtk_button_clicked(GTK_BUTTON(Detail()->GetGtkWidget()));
        Pump();
        EXPECT_TRUE(driver.Done());
        if (answer == IDCANCEL) {
            EXPECT_EQ(std::memcmp(&Settings(), &before, sizeof before), 0);
            EXPECT_FALSE(Win()->IsModified());
        } else {
            EXPECT_EQ(Settings().priv.dmClrCtrl.sBrightness, 20);
            EXPECT_TRUE(Win()->IsModified());
        }
    }
}

TEST_F(QualityPage, Screenshot)
{
    StartOn("colour");
    ShowQualityPage();
    const std::string path = orvgui::SaveScreenshot(Win()->GetGtkWidget(), "quality-page");
    EXPECT_FALSE(path.empty());
}

}  // namespace
