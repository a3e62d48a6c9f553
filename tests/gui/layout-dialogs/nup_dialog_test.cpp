// The pages-per-sheet dialog over the sample queues: the order rules when the number of pages
// changes, the order toggles that 2-up hides, the pictures that follow the layout and the
// orientation, and what OK, Cancel, Escape and the window manager's close leave in the settings.
#include "gui/DlgNup.h"
#include "gui/kit/Screenshot.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;
using layouttest::SameRecord;

using NupDialog = LayoutDialogs;

// One click on a toggle from a starting layout.
struct ClickCase {
    SHORT sNup, sOrder;  // before
    int nClicked;        // control id
    SHORT sNupAfter, sOrderAfter;
};

TEST_F(NupDialog, ClicksFollowTheOrderRules)
{
    Load("colour");
    const ClickCase cases[] = {
        // A change of the number of pages to or from 2-up starts the order afresh.
        {4, 2, IDC_NUP_2UP, 2, 0},
        {9, 1, IDC_NUP_2UP, 2, 0},
        {2, 3, 3, 9, 0},  // 2-up to 9-up
        {2, 0, 1, 4, 0},
        // 2-up again folds the vertical orders onto the two 2-up ones.
        {2, 2, IDC_NUP_2UP, 2, 3},
        {2, 1, IDC_NUP_2UP, 2, 0},
        {2, 3, IDC_NUP_2UP, 2, 3},
        // Between the other layouts the order stays.
        {4, 2, IDC_NUP_16UP, 16, 2},
        {16, 1, 2, 6, 1},
        // The order toggles 6, 7, 8, 9 give 0, 1, 3, 2.
        {4, 0, 6, 4, 0},
        {4, 0, 7, 4, 1},
        {4, 0, 8, 4, 3},
        {4, 0, 9, 4, 2},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.sNup << "-up order " << c.sOrder << ", click " << c.nClicked);
        Working().priv.dmNup = c.sNup;
        Working().priv.dmNupOrder = c.sOrder;
        CDlgNup dialog(Win());
        Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
            Click(Control<xToggleButton>(pWindow, dialog, c.nClicked));
            EXPECT_EQ(dialog.GetDevmode().priv.dmNup, c.sNupAfter);
            EXPECT_EQ(dialog.GetDevmode().priv.dmNupOrder, c.sOrderAfter);
            // The toggles show the new state: exactly the chosen layout and order are active.
            for (int id = IDC_NUP_2UP; id <= IDC_NUP_16UP; ++id) {
                const SHORT values[] = {2, 4, 6, 9, 16};
                EXPECT_EQ(Active(Control<xToggleButton>(pWindow, dialog, id)), values[id] == c.sNupAfter) << id;
            }
            for (int id = IDC_NUP_ORDER_FIRST; id <= IDC_NUP_ORDER_LAST; ++id) {
                const SHORT orders[] = {0, 1, 3, 2};
                EXPECT_EQ(Active(Control<xToggleButton>(pWindow, dialog, id)),
                          orders[id - IDC_NUP_ORDER_FIRST] == c.sOrderAfter)
                    << id;
            }
        }, Ending::Ok);
        EXPECT_EQ(Working().priv.dmNup, c.sNupAfter);
        EXPECT_EQ(Working().priv.dmNupOrder, c.sOrderAfter);
        EXPECT_EQ(Working().priv.dmLayoutPrint, 1);
    }
}

// What the toggles show for one layout and orientation.
struct PictureCase {
    SHORT sNup;
    SHORT sOrientation;
    int nTwoUpPicture;      // toggle 0
    int nSixUpPicture;      // toggle 2
    int nOrderPictures[4];  // toggles 6..9; 0 where the toggle is hidden
};

TEST_F(NupDialog, OrderTogglesAndPicturesFollowTheLayout)
{
    Load("colour");
    const PictureCase cases[] = {
        {2, 1, 2210, 2213, {2273, 0, 2274, 0}},
        {2, 2, 2211, 2214, {2275, 0, 2276, 0}},
        {4, 1, 2210, 2213, {2278, 2280, 2277, 2279}},
        {6, 2, 2211, 2214, {2282, 2284, 2281, 2283}},
        {9, 1, 2210, 2213, {2290, 2292, 2289, 2291}},
        {16, 2, 2211, 2214, {2294, 2296, 2293, 2295}},
        // A number of pages the dialog does not offer: no layout active, every order shown, the
        // pictures of the construction (the 4-up set).
        {8, 1, 2210, 2213, {2278, 2280, 2277, 2279}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sNup << "-up, orientation " << c.sOrientation);
        const DRVDEVMODE before = Working();
        Working().dm.dmOrientation = c.sOrientation;
        Working().priv.dmNup = c.sNup;
        Working().priv.dmNupOrder = 0;
        CDlgNup dialog(Win());
        Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
            EXPECT_EQ(PictureOf(Control<xToggleButton>(pWindow, dialog, 0)), c.nTwoUpPicture);
            EXPECT_EQ(PictureOf(Control<xToggleButton>(pWindow, dialog, 1)), 2212);
            EXPECT_EQ(PictureOf(Control<xToggleButton>(pWindow, dialog, 2)), c.nSixUpPicture);
            EXPECT_EQ(PictureOf(Control<xToggleButton>(pWindow, dialog, 3)), 2215);
            EXPECT_EQ(PictureOf(Control<xToggleButton>(pWindow, dialog, 4)), 2218);
            for (int i = 0; i < 4; ++i) {
                xToggleButton* pOrder = Control<xToggleButton>(pWindow, dialog, IDC_NUP_ORDER_FIRST + i);
                EXPECT_EQ(Visible(pOrder), c.nOrderPictures[i] != 0) << "order toggle " << 6 + i;
                if (c.nOrderPictures[i] != 0) {
                    EXPECT_EQ(PictureOf(pOrder), c.nOrderPictures[i]) << "order toggle " << 6 + i;
                }
            }
            for (int id = IDC_NUP_2UP; id <= IDC_NUP_16UP; ++id) {
                EXPECT_EQ(Active(Control<xToggleButton>(pWindow, dialog, id)), (c.sNup == 2 && id == 0) ||
                          (c.sNup == 4 && id == 1) || (c.sNup == 6 && id == 2) || (c.sNup == 9 && id == 3) ||
                          (c.sNup == 16 && id == 4)) << id;
            }
        }, Ending::Cancel);
        Working() = before;
    }
}

TEST_F(NupDialog, SwitchingTo2UpHidesTheVerticalOrdersAndBack)
{
    Load("colour");
    Working().priv.dmNup = 4;
    CDlgNup dialog(Win());
    Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
        auto order = [&](int id) { return Control<xToggleButton>(pWindow, dialog, id); };
        EXPECT_TRUE(Visible(order(7)) && Visible(order(9)));
        Click(Control<xToggleButton>(pWindow, dialog, IDC_NUP_2UP));
        EXPECT_TRUE(Visible(order(6)) && Visible(order(8)));
        EXPECT_FALSE(Visible(order(7)) || Visible(order(9)));
        Click(Control<xToggleButton>(pWindow, dialog, 3));
        EXPECT_TRUE(Visible(order(7)) && Visible(order(9)));
        EXPECT_EQ(PictureOf(order(6)), 2290);
    }, Ending::Cancel);
}

TEST_F(NupDialog, OkWritesTheCopyAndTheLayoutMode)
{
    Load("colour");
    Working().priv.dmLayoutPrint = 0;
    Working().priv.dmNup = 4;
    Working().priv.dmNupOrder = 0;
    Working().priv.dmNupBorder = 0;
    DRVDEVMODE expected = Working();
    CDlgNup dialog(Win());
    Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
        auto* pBorder = Control<xComboBox>(pWindow, dialog, IDC_NUP_BORDER);
        ASSERT_NE(pBorder, nullptr);
        EXPECT_EQ(pBorder->GetCount(), 2);
        EXPECT_EQ(SelectedValue(pBorder), 0);
        auto* pOutput = Control<xComboBox>(pWindow, dialog, IDC_NUP_OUTPUTPAPER);
        ASSERT_NE(pOutput, nullptr);
        EXPECT_EQ(SelectedValue(pOutput), expected.priv.dmOutputPaperSize);
        Click(Control<xToggleButton>(pWindow, dialog, 3));
        Click(Control<xToggleButton>(pWindow, dialog, 9));
        ChooseValue(pBorder, 1);
        // Any listed paper other than the one selected.
        const long lOther = reinterpret_cast<intptr_t>(pOutput->GetItemData(pOutput->GetCount() - 1));
        ChooseValue(pOutput, lOther);
        expected.priv.dmOutputPaperSize = static_cast<SHORT>(lOther);
        // Nothing reaches the working settings before OK.
        EXPECT_EQ(Working().priv.dmNup, 4);
    }, Ending::Ok);
    expected.priv.dmLayoutPrint = 1;
    expected.priv.dmNup = 9;
    expected.priv.dmNupOrder = 2;
    expected.priv.dmNupBorder = 1;
    EXPECT_TRUE(SameRecord(Working(), expected));
}

TEST_F(NupDialog, EveryOtherEndingLeavesTheSettingsAsTheyWere)
{
    Load("colour");
    for (Ending ending : layouttest::NonOkEndings()) {
        SCOPED_TRACE(layouttest::EndingName(ending));
        const DRVDEVMODE before = Working();
        CDlgNup dialog(Win());
        EXPECT_EQ(Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
            Click(Control<xToggleButton>(pWindow, dialog, 4));
            Click(Control<xToggleButton>(pWindow, dialog, 8));
            ChooseValue(Control<xComboBox>(pWindow, dialog, IDC_NUP_BORDER), 1);
            EXPECT_EQ(dialog.GetDevmode().priv.dmNup, 16);
        }, ending), IDCANCEL);
        EXPECT_TRUE(SameRecord(Working(), before));
    }
}

TEST_F(NupDialog, ScreenshotOnTheColourModel)
{
    Load("colour");
    Working().priv.dmNup = 4;
    Working().priv.dmNupOrder = 1;
    CDlgNup dialog(Win());
    Run(dialog, "Pages per Sheet", [&](GtkWidget* pWindow) {
        EXPECT_NE(orvgui::SaveScreenshot(pWindow, "layout-nup-colour"), "");
        const std::vector<std::string> labels = Labels(pWindow);
        for (const char* text : {"Pages per Sheet", "Page Order", "Page Border :", "Output Paper Size :"}) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
        }
    }, Ending::Cancel);
}

}  // namespace
