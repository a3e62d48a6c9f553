// The poster dialog: tiles the layout does not offer reset to 2 x 2, the style toggles set the
// tiles for the orientation, and each style is sensitive only while the printer can join that
// many tiles across and down (the sensitivity stays as it is when that cannot be worked out,
// as with an overlap as large as the printable width). A screenshot on the colour model.
#include "core/kinsoku/KinsokuList.h"
#include "gui/DlgPoster.h"
#include "gui/kit/Screenshot.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;

class PosterDialog : public LayoutDialogs {
protected:
    void SetPage(SHORT sPaper, SHORT sOrientation, SHORT sDpi, SHORT sOverlap)
    {
        Working().dm.dmPaperSize = sPaper;
        Working().dm.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        Working().dm.dmOrientation = sOrientation;
        Working().dm.dmPrintQuality = sDpi;
        Working().priv.dmOutputPaperSize = 0;
        Working().priv.dmUnitOfLayout = 600;
        Working().priv.dmOverlap = sOverlap;
    }
};

// The tiles a stored pair opens with.
TEST_F(PosterDialog, TilesTheLayoutDoesNotOfferBecome2x2)
{
    Load("colour");
    struct Case {
        SHORT sOrientation, sX, sY, sOpenX, sOpenY;
    } cases[] = {
        {2, 1, 2, 2, 2},  // 1 x 2 is the portrait style
        {1, 2, 1, 2, 2},  // 2 x 1 the landscape one
        {1, 1, 2, 1, 2},
        {2, 2, 1, 2, 1},
        {1, 3, 3, 3, 3},
        {1, 5, 5, 2, 2},
        {1, 0, -3, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sX << " x " << c.sY << ", orientation " << c.sOrientation);
        SetPage(9, c.sOrientation, 600, 0);
        Working().priv.dmPosterX = c.sX;
        Working().priv.dmPosterY = c.sY;
        CDlgPoster dialog(Win());
        EXPECT_EQ(dialog.GetDevmode().priv.dmPosterX, c.sOpenX);
        EXPECT_EQ(dialog.GetDevmode().priv.dmPosterY, c.sOpenY);
        Run(dialog, "Poster", [&](GtkWidget* pWindow) {
            // Exactly the toggle of the opening pair is active.
            const int nActive = c.sOpenX == 3 ? 2 : (c.sOpenX == 2 && c.sOpenY == 2) ? 1 : 0;
            for (int id = IDC_POSTER_1X2; id <= IDC_POSTER_4X4; ++id) {
                EXPECT_EQ(Active(Control<xToggleButton>(pWindow, dialog, id)), id == nActive) << id;
            }
        }, Ending::Cancel);
    }
}

TEST_F(PosterDialog, StyleTogglesSetTheTilesForTheOrientation)
{
    Load("colour");
    struct Case {
        SHORT sOrientation;
        int nClicked;
        SHORT sX, sY;
        int nPicture;
    } cases[] = {
        {1, IDC_POSTER_1X2, 1, 2, 2261}, {2, IDC_POSTER_1X2, 2, 1, 2262}, {1, IDC_POSTER_2X2, 2, 2, 2263},
        {2, IDC_POSTER_3X3, 3, 3, 2264}, {1, IDC_POSTER_4X4, 4, 4, 2265},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "click " << c.nClicked << ", orientation " << c.sOrientation);
        SetPage(9, c.sOrientation, 600, 0);
        Working().priv.dmPosterX = 2;
        Working().priv.dmPosterY = 2;
        CDlgPoster dialog(Win());
        Run(dialog, "Poster", [&](GtkWidget* pWindow) {
            auto* pToggle = Control<xToggleButton>(pWindow, dialog, c.nClicked);
            EXPECT_EQ(PictureOf(pToggle), c.nPicture);
            Click(pToggle);
            EXPECT_TRUE(Active(pToggle));
        }, Ending::Ok);
        EXPECT_EQ(Working().priv.dmPosterX, c.sX);
        EXPECT_EQ(Working().priv.dmPosterY, c.sY);
        EXPECT_EQ(Working().priv.dmLayoutPrint, 4);
    }
}

// A page and the tiles the printer can join along its width and length: (int)(size x dpi / 254)
// less the two 100-dot margins is the printable extent, and 32767 / extent the tiles.
struct LimitCase {
    const char* about;
    SHORT sPaper, sOrientation, sDpi;
    SHORT sFirst, sSecond;   // the limits worked out by hand
    bool bSensitive[4];     // 1 x 2 (first >= 1, second >= 2), 2 x 2, 3 x 3, 4 x 4
};

TEST_F(PosterDialog, StylesAreSensitiveByTheTilesThePrinterCanJoin)
{
    const LimitCase cases[] = {
        // 4760 x 6815 dots: 6 and 4.
        {"A4 at 600", 9, 1, 600, 6, 4, {true, true, true, true}},
        // 4900 x 8200: 6 and 3.
        {"Legal at 600", 5, 1, 600, 6, 3, {true, true, true, false}},
        // 9721 x 13831: 3 and 2.
        {"A4 at 1200", 9, 1, 1200, 3, 2, {true, true, false, false}},
        // The limits count along the paper's own width and length, the orientation chooses only
        // the margins; the 2-tile style is tested alike in both orientations.
        {"A4 landscape at 1200", 9, 2, 1200, 3, 2, {true, true, false, false}},
        // 10000 x 16600: 3 and 1, no style at all.
        {"Legal at 1200", 5, 1, 1200, 3, 1, {false, false, false, false}},
    };
    Load("colour");
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.about);
        SetPage(c.sPaper, c.sOrientation, c.sDpi, 0);
        Working().priv.dmPosterX = 2;
        Working().priv.dmPosterY = 2;
        CDlgPoster dialog(Win());
        SHORT sFirst = 0, sSecond = 0;
        ASSERT_NE(Info()->pKinsokuList->GetMaxPosterTiles(&dialog.GetDevmode(), &sFirst, &sSecond), 0);
        EXPECT_EQ(sFirst, c.sFirst);
        EXPECT_EQ(sSecond, c.sSecond);
        Run(dialog, "Poster", [&](GtkWidget* pWindow) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(Sensitive(Control<xToggleButton>(pWindow, dialog, IDC_POSTER_1X2 + i)), c.bSensitive[i])
                    << "style " << i;
            }
        }, Ending::Cancel);
    }
}

TEST_F(PosterDialog, AnOverlapAsLargeAsTheTileLeavesTheStylesAsTheyAre)
{
    Load("colour");
    // A4 portrait at 600 dots with the layout unit at 600: the overlap is in dots, and the
    // narrower printable extent is 4760.
    SetPage(9, 1, 600, 4759);
    SHORT sFirst = 0, sSecond = 0;
    EXPECT_NE(Info()->pKinsokuList->GetMaxPosterTiles(&Working(), &sFirst, &sSecond), 0);
    for (SHORT sOverlap : {SHORT(4760), SHORT(6815), SHORT(32767)}) {
        SCOPED_TRACE(testing::Message() << "overlap " << sOverlap);
        SetPage(9, 1, 600, sOverlap);
        EXPECT_EQ(Info()->pKinsokuList->GetMaxPosterTiles(&Working(), &sFirst, &sSecond), 0);
        CDlgPoster dialog(Win());
        Run(dialog, "Poster", [&](GtkWidget* pWindow) {
            for (int id = IDC_POSTER_1X2; id <= IDC_POSTER_4X4; ++id) {
                EXPECT_TRUE(Sensitive(Control<xToggleButton>(pWindow, dialog, id))) << id;
            }
            // A style can still be chosen.
            Click(Control<xToggleButton>(pWindow, dialog, IDC_POSTER_3X3));
            EXPECT_EQ(dialog.GetDevmode().priv.dmPosterX, 3);
        }, Ending::Cancel);
    }
}

TEST_F(PosterDialog, ScreenshotOnTheColourModel)
{
    Load("colour");
    SetPage(9, 1, 600, 120);
    Working().priv.dmMetric &= ~0x2;
    Working().priv.dmPosterX = 2;
    Working().priv.dmPosterY = 2;
    CDlgPoster dialog(Win());
    Run(dialog, "Poster", [&](GtkWidget* pWindow) {
        EXPECT_NE(orvgui::SaveScreenshot(pWindow, "layout-poster-colour"), "");
        const std::vector<std::string> labels = Labels(pWindow);
        for (const char* text : {"Style ", "Overlap :", "(0.0 - 1.0 in.)", "Output Paper Size :"}) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
        }
    }, Ending::Cancel);
}

}  // namespace
