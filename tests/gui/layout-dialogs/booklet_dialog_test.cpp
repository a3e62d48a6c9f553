// The booklet dialog: binding toggles, the booklet unit from the queue's PPD, the output paper
// that falls back to the model's default paper, and a screenshot on the colour model.
#include "gui/DlgBooklet.h"
#include "gui/kit/Screenshot.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xList.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;

using BookletDialog = LayoutDialogs;

TEST_F(BookletDialog, BindingTogglesSetTheSide)
{
    Load("colour");
    struct Case {
        SHORT sBefore;
        int nClicked;
        SHORT sAfter;
    } cases[] = {
        {1, IDC_BOOKLET_RIGHT, 2},
        {2, IDC_BOOKLET_LEFT, 1},
        {1, IDC_BOOKLET_LEFT, 1},  // the active toggle stays active when clicked again
        {2, IDC_BOOKLET_RIGHT, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "binding " << c.sBefore << ", click " << c.nClicked);
        Working().priv.dmBookletBinding = c.sBefore;
        CDlgBooklet dialog(Win());
        Run(dialog, "Booklet", [&](GtkWidget* pWindow) {
            auto* pLeft = Control<xToggleButton>(pWindow, dialog, IDC_BOOKLET_LEFT);
            auto* pRight = Control<xToggleButton>(pWindow, dialog, IDC_BOOKLET_RIGHT);
            EXPECT_EQ(Active(pLeft), c.sBefore == 1);
            EXPECT_EQ(Active(pRight), c.sBefore == 2);
            EXPECT_EQ(PictureOf(pLeft), 2230);
            EXPECT_EQ(PictureOf(pRight), 2231);
            Click(Control<xToggleButton>(pWindow, dialog, c.nClicked));
            EXPECT_EQ(Active(pLeft), c.sAfter == 1);
            EXPECT_EQ(Active(pRight), c.sAfter == 2);
        }, Ending::Ok);
        EXPECT_EQ(Working().priv.dmBookletBinding, c.sAfter);
        EXPECT_EQ(Working().priv.dmLayoutPrint, 2);
    }
}

TEST_F(BookletDialog, UnitComboListsThePpdChoicesByTheirIds)
{
    Load("colour");
    Working().priv.dmBookletUnit = 2;
    CDlgBooklet dialog(Win());
    Run(dialog, "Booklet", [&](GtkWidget* pWindow) {
        auto* pUnit = Control<xComboBox>(pWindow, dialog, IDC_BOOKLET_UNIT);
        ASSERT_NE(pUnit, nullptr);
        EXPECT_EQ(guitest::RowTexts(pUnit),
                  (std::vector<std::string>{"All Sheets", "1 Sheet", "2 Sheets", "4 Sheets", "8 Sheets"}));
        EXPECT_EQ(SelectedValue(pUnit), 2);
        ChooseValue(pUnit, 8);
        EXPECT_EQ(dialog.GetDevmode().priv.dmBookletUnit, 8);
    }, Ending::Ok);
    EXPECT_EQ(Working().priv.dmBookletUnit, 8);
}

TEST_F(BookletDialog, AnUnlistedOutputPaperBecomesTheModelsDefaultPaper)
{
    // The colour queue without its duplex unit lists no paper a booklet can be printed on, only
    // "Same as Paper Size"; the mono queue lists its papers.
    for (const char* queue : {"colour", "mono"}) {
        Load(queue);
        const SHORT sDefault = Info()->dmDefault.dm.dmPaperSize;
        for (SHORT sOutput : {SHORT(300), SHORT(-4), SHORT(0), SHORT(1)}) {
            SCOPED_TRACE(testing::Message() << queue << ", output paper " << sOutput);
            Working().priv.dmOutputPaperSize = sOutput;
            CDlgBooklet dialog(Win());
            testing::internal::CaptureStdout();
            Run(dialog, "Booklet", [&](GtkWidget* pWindow) {
                const std::string out = testing::internal::GetCapturedStdout();
                auto* pOutput = Control<xComboBox>(pWindow, dialog, IDC_BOOKLET_OUTPUTPAPER);
                const int nListed = pOutput->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(sOutput)));
                if (nListed >= 0) {
                    EXPECT_EQ(dialog.GetDevmode().priv.dmOutputPaperSize, sOutput);
                    EXPECT_EQ(SelectedValue(pOutput), sOutput);
                    EXPECT_EQ(out.find("UpdateStatus cursel="), std::string::npos) << out;
                    return;
                }
                EXPECT_EQ(dialog.GetDevmode().priv.dmOutputPaperSize, sDefault);
                const int nRow = pOutput->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(sDefault)));
                EXPECT_EQ(pOutput->GetCurSel(), nRow);
                EXPECT_NE(out.find("UpdateStatus cursel=" + std::to_string(nRow) + "\n"), std::string::npos) << out;
            }, Ending::Cancel);
        }
    }
}

TEST_F(BookletDialog, ScreenshotOnTheColourModel)
{
    Load("colour");
    Working().priv.dmMetric |= 0x2;
    Working().priv.dmBookletBinding = 1;
    CDlgBooklet dialog(Win());
    Run(dialog, "Booklet", [&](GtkWidget* pWindow) {
        EXPECT_NE(orvgui::SaveScreenshot(pWindow, "layout-booklet-colour"), "");
        const std::vector<std::string> labels = Labels(pWindow);
        for (const char* text : {"Binding ", "Unit :", "Gutter :", "(0 - 50 mm)", "Output Paper Size :"}) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
        }
    }, Ending::Cancel);
}

}  // namespace
