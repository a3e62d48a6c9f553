// The zoom dialog: the range from the model and the paper (its maximum lowered so that the zoomed
// page stays within 32767 dots, and never below its minimum), the stored zoom brought into it, the
// nine image positions, and a screenshot on the colour model.
#include "gui/DlgZoom.h"
#include "gui/kit/Screenshot.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;

using ZoomDialog = LayoutDialogs;

// One opening of the dialog: the queue, the paper (a custom size when width and length are
// given) and resolution, and the stored zoom; what the dialog shows.
struct RangeCase {
    const char* about;
    const char* queue;
    SHORT sPaper;
    SHORT sCustomWidth, sCustomLength;  // 0.1 mm; 0 for a model paper
    SHORT sDpi;
    SHORT sScale;
    const char* label;
    int nMin, nMax;
    SHORT sScaleShown;
};

TEST_F(ZoomDialog, RangeFollowsTheModelThePaperAndTheResolution)
{
    const RangeCase cases[] = {
        // Longer side 2970: 3276700 / (2970 / 254 x 600) = 467, above the model's 400.
        {"A4 at 600", "colour", 9, 0, 0, 600, 400, "(25 - 400 %)", 25, 400, 400},
        // 3556: 3276700 / 8400 = 390.
        {"Legal at 600", "colour", 5, 0, 0, 600, 400, "(25 - 390 %)", 25, 390, 390},
        // 3640: 3276700 / 8598.4 = 381, down to a multiple of 5.
        {"364 mm at 600", "colour", 256, 2570, 3640, 600, 400, "(25 - 380 %)", 25, 380, 380},
        // 3556 at 1200: 195.
        {"Legal at 1200", "colour", 5, 0, 0, 1200, 300, "(25 - 195 %)", 25, 195, 195},
        {"below the minimum", "colour", 9, 0, 0, 600, 10, "(25 - 400 %)", 25, 400, 25},
        // 3 m at 1200: 3276700 / 141732 = 23, down to 20, below the model's 25: the page limit
        // wins and the range is that one value.
        {"3 m at 1200", "colour", 256, 2100, 30000, 1200, 100, "(20 - 20 %)", 20, 20, 20},
        // A model whose limits are the wrong way round (300 to 50).
        {"inverted model range", "nolimits", 9, 0, 0, 600, 100, "(50 - 50 %)", 50, 50, 50},
        // A paper whose size is not known: 100 to 100, the stored zoom left as it is.
        {"unknown paper", "colour", 300, 0, 0, 600, 250, "(100 - 100 %)", 100, 100, 100},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.about);
        Load(c.queue);
        const DRVDEVMODE before = Working();
        Working().dm.dmPaperSize = c.sPaper;
        if (c.sCustomWidth != 0) {
            Working().dm.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
            Working().dm.dmPaperWidth = c.sCustomWidth;
            Working().dm.dmPaperLength = c.sCustomLength;
        } else {
            Working().dm.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        }
        Working().dm.dmPrintQuality = c.sDpi;
        Working().priv.dmScaleTo = c.sScale;
        CDlgZoom dialog(Win());
        Run(dialog, "Zoom", [&](GtkWidget* pWindow) {
            const std::vector<std::string> labels = Labels(pWindow);
            EXPECT_NE(std::find(labels.begin(), labels.end(), c.label), labels.end()) << c.label;
            auto* pSpin = Control<xSpinButton>(pWindow, dialog, IDC_ZOOM_SCALE);
            ASSERT_NE(pSpin, nullptr);
            double dMin = 0, dMax = 0;
            gtk_spin_button_get_range(GTK_SPIN_BUTTON(pSpin->GetGtkWidget()), &dMin, &dMax);
            EXPECT_EQ(dMin, c.nMin);
            EXPECT_EQ(dMax, c.nMax);
            EXPECT_EQ(pSpin->GetValueInt(), c.sScaleShown);
            const SHORT sCopy = dialog.GetDevmode().priv.dmScaleTo;
            EXPECT_EQ(sCopy, std::string(c.about) == "unknown paper" ? c.sScale : c.sScaleShown);
            // The largest zoom can be chosen and is stored (where the spin can still move).
            if (c.nMin < c.nMax) {
                SetSpin(pSpin, 1000);
                EXPECT_EQ(dialog.GetDevmode().priv.dmScaleTo, c.nMax);
            }
        }, Ending::Cancel);
        Working() = before;
    }
}

TEST_F(ZoomDialog, PositionsAndZoomReachTheSettingsOnOk)
{
    Load("colour");
    for (int n = 0; n < 9; ++n) {
        SCOPED_TRACE(testing::Message() << "position " << n);
        Working().priv.dmAlign = 4;
        Working().priv.dmScaleTo = 100;
        CDlgZoom dialog(Win());
        Run(dialog, "Zoom", [&](GtkWidget* pWindow) {
            EXPECT_TRUE(Active(Control<xToggleButton>(pWindow, dialog, 4)));
            Click(Control<xToggleButton>(pWindow, dialog, n));
            for (int i = 0; i < 9; ++i) {
                auto* pToggle = Control<xToggleButton>(pWindow, dialog, i);
                EXPECT_EQ(Active(pToggle), i == n) << i;
                EXPECT_EQ(PictureOf(pToggle), 2240 + i) << i;
            }
            SetSpin(Control<xSpinButton>(pWindow, dialog, IDC_ZOOM_SCALE), 150 + n);
        }, Ending::Ok);
        EXPECT_EQ(Working().priv.dmAlign, n);
        EXPECT_EQ(Working().priv.dmScaleTo, 150 + n);
        EXPECT_EQ(Working().priv.dmLayoutPrint, 16);
    }
}

TEST_F(ZoomDialog, ScreenshotOnTheColourModel)
{
    Load("colour");
    Working().priv.dmScaleTo = 125;
    Working().priv.dmAlign = 4;
    CDlgZoom dialog(Win());
    Run(dialog, "Zoom", [&](GtkWidget* pWindow) {
        EXPECT_NE(orvgui::SaveScreenshot(pWindow, "layout-zoom-colour"), "");
        const std::vector<std::string> labels = Labels(pWindow);
        for (const char* text : {"Zoom :", "(25 - 400 %)", "Image Position", "Output Paper Size :"}) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
        }
    }, Ending::Cancel);
}

}  // namespace
