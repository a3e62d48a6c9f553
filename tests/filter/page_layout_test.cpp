// Page layouts: the booklet page order, the transforms of zoom, fit, pages per sheet, booklet halves
// and poster tiles (on paper boxes set by hand, expected values worked out from the layout rules),
// and whole documents through the page pass rendered by Ghostscript to see how many sheets come
// out and where the ink of each page lands.
#include "PagePassFixture.h"

#include "filter/pagepass/PageLayoutTransform.h"
#include "filter/pagepass/PageLayoutBooklet.h"
#include "filter/pagepass/PageLayoutPoster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using pagepasstest::InkBox;
using pagepasstest::InkIn;
using pagepasstest::MarkedDocument;
using pagepasstest::PagePassRun;
using pagepasstest::Pnm;

namespace {

ppd_size_t Box(float width, float length, float left, float top, float right, float bottom)
{
    ppd_size_t size{};
    std::strcpy(size.name, "Test");
    size.width = width;
    size.length = length;
    size.left = left;
    size.top = top;
    size.right = right;
    size.bottom = bottom;
    return size;
}

// Input and output paper 600 x 800 with margins 10 left and right, 20 top and bottom: printable
// 580 x 760.
const ppd_size_t kPaper = Box(600, 800, 10, 20, 590, 780);
// A smaller output paper 500 x 700 with 10 all round: printable 480 x 680.
const ppd_size_t kSmall = Box(500, 700, 10, 10, 490, 690);

struct LayoutJob {
    tagJOBINFO job{};
    tagDOCSTATE doc;
    LayoutJob(const ppd_size_t& in, const ppd_size_t& out)
    {
        doc.inputSize = in;
        doc.outputSize = out;
        job.devmode.priv.dmUnitOfLayout = 72;
    }
};

void ExpectTransform(const tagPAGETRANSFORM& t, double sx, double sy, double tx, double ty, int rotate,
                     const std::string& what)
{
    EXPECT_NEAR(t.fScaleX, sx, 0.0005) << what;
    EXPECT_NEAR(t.fScaleY, sy, 0.0005) << what;
    EXPECT_NEAR(t.fTranslateX, tx, 0.01) << what;
    EXPECT_NEAR(t.fTranslateY, ty, 0.01) << what;
    EXPECT_EQ(t.iRotate, rotate) << what;
}

// ----- Booklet page order ------------------------------------------------------------------------

TEST(BookletPageIndex, SidesHoldThePagesOfAFoldedBooklet)
{
    struct Case {
        int binding, unit, pages;
        std::vector<std::pair<int, int>> sides;  // stored page index of half 0 and half 1; -1 empty
    };
    const Case cases[] = {
        {0, 1, 4, {{0, 3}, {2, 1}}},
        {1, 1, 4, {{3, 0}, {1, 2}}},
        {0, 2, 5, {{0, -1}, {-1, 1}, {2, -1}, {4, 3}}},
        {0, 1, 1, {{0, -1}, {-1, -1}}},
        {0, 1, 8, {{0, 3}, {2, 1}, {4, 7}, {6, 5}}},  // two booklets of one sheet
        {0, 2, 8, {{0, 7}, {6, 1}, {2, 5}, {4, 3}}},  // one booklet of two sheets
    };
    for (const Case& c : cases) {
        for (size_t i = 0; i < c.sides.size(); ++i) {
            const int side = static_cast<int>(i) + 1;
            const int half0 = BookletPageIndex(c.binding, c.unit, c.pages, side, 0);
            const int half1 = BookletPageIndex(c.binding, c.unit, c.pages, side, 1);
            EXPECT_EQ(half0 >= c.pages ? -1 : half0, c.sides[i].first)
                << "binding " << c.binding << " unit " << c.unit << " pages " << c.pages << " side " << side;
            EXPECT_EQ(half1 >= c.pages ? -1 : half1, c.sides[i].second)
                << "binding " << c.binding << " unit " << c.unit << " pages " << c.pages << " side " << side;
        }
    }
    EXPECT_GE(BookletPageIndex(0, 0, 4, 1, 0), 4) << "a unit of 0 places nothing";
}

// ----- Transforms on hand-set papers -------------------------------------------------------------

TEST(ComputePageTransform, ZoomPlacesThePageByItsAlignment)
{
    // s = 0.5; x: left 10 - 5, centre (580 - 290) / 2, right 590 - 295; t = 800 - 400 = 400;
    // y: top 400 - (20 - 10), middle 400 - (760 - 380) / 2, bottom 400 - (780 - 390).
    struct Case {
        SHORT align;
        double tx, ty;
    };
    const Case cases[] = {{0, 5, 390},   {1, 145, 390}, {2, 295, 390}, {3, 5, 210},  {4, 145, 210},
                          {5, 295, 210}, {6, 5, 10},    {7, 145, 10},  {8, 295, 10}, {9, 0, 400}};
    for (const Case& c : cases) {
        LayoutJob l(kPaper, kPaper);
        l.job.devmode.priv.dmFieldsExtra2 = DMX2_ZOOM;
        l.job.devmode.priv.dmLayoutPrint = 16;
        l.job.devmode.priv.dmScaleTo = 50;
        l.job.devmode.priv.dmAlign = c.align;
        tagPAGETRANSFORM t;
        ASSERT_EQ(ComputePageTransform(&l.job, &l.doc, &t), 1);
        ExpectTransform(t, 0.5, 0.5, c.tx, c.ty, 0, "alignment " + std::to_string(c.align));
    }
}

TEST(ComputePageTransform, FitScalesToTheOutputPaperLessFourPercentCutToHundredths)
{
    struct Case {
        const char* name;
        ppd_size_t in, out;
        WORD ratio;
        double sx, sy, tx, ty;
    };
    const Case cases[] = {
        // Same printable box: scale exactly 1, nothing taken off, no move.
        {"same paper", kPaper, kPaper, 0, 1.0, 1.0, 0, 0},
        // a = 480 / 580 = 0.8276, b = 680 / 760 = 0.8947; the smaller less 0.04 is 0.7876 -> 0.78;
        // translate (500 - 0.78 * 600) / 2 and (700 - 0.78 * 800) / 2.
        {"smaller paper, kept ratio", kPaper, kSmall, 0, 0.78, 0.78, 16, 38},
        // Each direction on its own: 0.7876 -> 0.78 and 0.8547 -> 0.85.
        {"smaller paper, free ratio", kPaper, kSmall, 1, 0.78, 0.85, 16, 10},
        // a = 470 / 500 = 0.94, less 0.04 is 0.90 exactly (not 0.89); b = 1 stays 1.
        {"a scale of 0.90", Box(500, 700, 0, 0, 500, 700), Box(470, 700, 0, 0, 470, 700), 1, 0.90, 1.0, 10, 0},
    };
    for (const Case& c : cases) {
        LayoutJob l(c.in, c.out);
        l.job.devmode.priv.dmFieldsExtra2 = DMX2_FIT;
        l.job.devmode.priv.dmLayoutPrint = 8;
        l.job.devmode.priv.dmOutputPaperSize = 1;
        l.job.devmode.priv.dmFittoPageRatio = c.ratio;
        tagPAGETRANSFORM t;
        ASSERT_EQ(ComputePageTransform(&l.job, &l.doc, &t), 1) << c.name;
        ExpectTransform(t, c.sx, c.sy, c.tx, c.ty, 0, c.name);
    }
}

TEST(ComputePageTransform, PagesPerSheetScalesToThePrintableArea)
{
    // s = min(680 / 760, 480 / 580) = 0.827586; tx = (480 - s * 580) / 2 = 0;
    // ty = 700 - s * 800 - (680 - s * 760) / 2 = 12.414.
    LayoutJob l(kPaper, kSmall);
    l.job.devmode.priv.dmFieldsExtra2 = DMX2_NUP;
    l.job.devmode.priv.dmLayoutPrint = 1;
    tagPAGETRANSFORM t;
    ASSERT_EQ(ComputePageTransform(&l.job, &l.doc, &t), 1);
    ExpectTransform(t, 0.827586, 0.827586, 0, 12.414, 0, "pages per sheet");
}

TEST(ComputePageTransform, NoTransformWithoutALayoutOrWithEmptyPapers)
{
    struct Case {
        const char* name;
        DWORD extra2;
        WORD layout;
        SHORT outputPaper, scale;
        ppd_size_t in, out;
    };
    const ppd_size_t empty = Box(600, 800, 10, 20, 10, 780);
    const ppd_size_t inverted = Box(600, 800, 10, 780, 590, 20);
    const Case cases[] = {
        {"no layout", DMX2_ZOOM | DMX2_FIT | DMX2_NUP, 0, 1, 50, kPaper, kPaper},
        {"fit without an output paper", DMX2_FIT, 8, 0, 50, kPaper, kSmall},
        {"zoom the model lacks", DMX2_FIT, 16, 1, 50, kPaper, kPaper},
        {"zoom to 0 percent", DMX2_ZOOM, 16, 0, 0, kPaper, kPaper},
        {"fit from an empty input box", DMX2_FIT, 8, 1, 50, empty, kPaper},
        {"fit to an inverted output box", DMX2_FIT, 8, 1, 50, kPaper, inverted},
        {"pages per sheet from an empty box", DMX2_NUP, 1, 0, 50, empty, kPaper},
        {"zoom of an empty box", DMX2_ZOOM, 16, 0, 50, empty, kPaper},
    };
    for (const Case& c : cases) {
        LayoutJob l(c.in, c.out);
        l.job.devmode.priv.dmFieldsExtra2 = c.extra2;
        l.job.devmode.priv.dmLayoutPrint = c.layout;
        l.job.devmode.priv.dmOutputPaperSize = c.outputPaper;
        l.job.devmode.priv.dmScaleTo = c.scale;
        tagPAGETRANSFORM t;
        t.fScaleX = 7;
        EXPECT_EQ(ComputePageTransform(&l.job, &l.doc, &t), 0) << c.name;
        ExpectTransform(t, 1, 1, 0, 0, 0, c.name);
    }
}

TEST(BookletHalfTransform, HalvesAreTurnedAndPlacedEitherSideOfTheGutter)
{
    // g = 36 * 72 / 72; a = (760 - 72) / 2 / 580 = 0.5931, c = 580 / 760 = 0.7632 -> s = 0.59;
    // tx = (600 - 800 s) / 2 + 800 s = 536; ty0 = 400 - 600 s - 36 + 10 s = 15.9;
    // ty1 = 400 + 36 - 10 s = 430.1.
    LayoutJob l(kPaper, kPaper);
    l.job.devmode.priv.dmGutter = 36;
    tagPAGETRANSFORM t;
    ASSERT_EQ(BookletHalfTransform(&l.job, &l.doc, 0, &t), 1);
    ExpectTransform(t, 0.59, 0.59, 536, 15.9, 90, "half 0");
    ASSERT_EQ(BookletHalfTransform(&l.job, &l.doc, 1, &t), 1);
    ExpectTransform(t, 0.59, 0.59, 536, 430.1, 90, "half 1");

    l.job.devmode.priv.dmUnitOfLayout = 0;
    EXPECT_EQ(BookletHalfTransform(&l.job, &l.doc, 0, &t), 0) << "a unit of 0 gives no transform";
}

TEST(PosterTileTransform, TilesCoverTheEnlargedPageWithTheOverlap)
{
    struct Case {
        SHORT x, y;
        int tile;
        double s, tx, ty;
        int rotate;
    };
    // 2 x 2, v = 36: spans 2 * 580 - 36 = 1124 and 2 * 760 - 36 = 1484; s = min(1124 / 580, 1484 / 760)
    // = 1.937931; tile 0: tx = 10 - 10 s + (1124 - 580 s) / 2 = -9.379,
    // ty = 20 - 20 s - 724 + (1484 - 760 s) / 2 = -737.173; tile 3 moves by 544 left and 724 up.
    // 2 x 1 turned: s = min((1160 - 36) / 760, 760 / 580) = 1.310345; ty = (800 - 600 s) / 2 = 6.897;
    // tile 0: tx = 800 s + 590 - 400 s - 18 = 1096.138; tile 1 moves 544 left.
    const Case cases[] = {
        {2, 2, 0, 1.937931, -9.379, -737.173, 0}, {2, 2, 3, 1.937931, -553.379, -13.173, 0},
        {2, 1, 0, 1.310345, 1096.138, 6.897, 90}, {2, 1, 1, 1.310345, 552.138, 6.897, 90},
        {1, 2, 1, 1.310345, 552.138, 6.897, 90},
    };
    for (const Case& c : cases) {
        LayoutJob l(kPaper, kPaper);
        l.job.devmode.priv.dmOverlap = 36;
        l.job.devmode.priv.dmPosterX = c.x;
        l.job.devmode.priv.dmPosterY = c.y;
        tagPAGETRANSFORM t;
        ASSERT_EQ(PosterTileTransform(&l.job, &l.doc, c.tile, &t), 1);
        ExpectTransform(t, c.s, c.s, c.tx, c.ty, c.rotate,
                        std::to_string(c.x) + " x " + std::to_string(c.y) + " tile " + std::to_string(c.tile));
    }
    LayoutJob l(kPaper, kPaper);
    l.job.devmode.priv.dmPosterX = 2;
    l.job.devmode.priv.dmPosterY = 2;
    l.job.devmode.priv.dmUnitOfLayout = 0;
    tagPAGETRANSFORM t;
    EXPECT_EQ(PosterTileTransform(&l.job, &l.doc, 0, &t), 0) << "a unit of 0 gives no transform";
}

// ----- Whole documents through the pass and Ghostscript --------------------------------------------
// The sample model's A4 has 12-point margins: printable 571.32 x 817.92 points from (12, 12).

void SetBooklet(PagePassRun& run)
{
    run.priv().dmFieldsExtra2 = DMX2_BOOKLET;
    run.priv().dmLayoutPrint = 2;
    run.priv().dmBookletBinding = 2;
}

TEST(BookletRun, SidesPerDocumentAndTheRecordsPageCount)
{
    struct Case {
        const char* name;
        int pages;
        SHORT unit;
        DWORD duplexCaps;
        int sides;
        int firstSideHalf1;  // page (from 1) on half 1 of side 1, 0 empty
    };
    const Case cases[] = {
        {"four pages", 4, 0, 0, 2, 4},
        {"five pages", 5, 0, 0, 4, 0},
        {"one page", 1, 0, 0, 2, 0},
        {"one page, printer adds the back", 1, 0, 0x200, 1, 0},
        {"eight pages in booklets of one sheet", 8, 1, 0, 4, 4},
        {"unit 3 is not a unit: one booklet", 8, 3, 0, 4, 8},
        {"unit 5 is not a unit: one booklet", 8, 5, 0, 4, 8},
        {"unit 16 is not a unit: one booklet", 8, 16, 0, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePassRun run;
        SetBooklet(run);
        run.priv().dmBookletUnit = c.unit;
        run.job()->dwDuplexCaps = c.duplexCaps;
        ASSERT_EQ(run.Run(MarkedDocument(c.pages)), 0);
        ASSERT_EQ(run.records().size(), 1u);
        EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, static_cast<DWORD>(c.sides));
        EXPECT_EQ(pagepasstest::CountOf(run.ps(), "ORVshowpage\n"), c.sides);
        EXPECT_NE(run.ps().find("%%Pages: " + std::to_string(c.sides) + "\n"), std::string::npos);

        const std::vector<Pnm> sheets = run.RenderGray();
        ASSERT_EQ(sheets.size(), static_cast<size_t>(c.sides));
        // Half 1 is the upper half of the sheet; a turned page k shows its 20 k high box along x,
        // scaled by 0.69 (the smaller of 817.92 / 2 / 571.32 and 571.32 / 817.92, cut).
        const InkBox upper = InkIn(sheets[0], 0, 421, 595, 842);
        if (c.firstSideHalf1 == 0) {
            EXPECT_TRUE(upper.Blank());
        } else {
            EXPECT_NEAR((upper.x1 - upper.x0) / (20 * 0.69), c.firstSideHalf1, 0.2);
        }
    }
}

TEST(BookletRun, FourPagesLandTurnedInTheirHalvesInBookletOrder)
{
    PagePassRun run;
    SetBooklet(run);
    ASSERT_EQ(run.Run(MarkedDocument(4)), 0);
    const std::vector<Pnm> sheets = run.RenderGray();
    ASSERT_EQ(sheets.size(), 2u);
    // With s = 0.69, tx = (595 - 842 s) / 2 + 842 s = 587.99, ty0 = 421 - 595 s + 12 s = 18.73 and
    // ty1 = 421 - 12 s = 412.72, the box (100, 100)-(140, 100 + 20 k) of page k turns to
    // x from tx - s (100 + 20 k) to tx - 100 s and y from ty + 100 s to ty + 140 s.
    struct Expect {
        int sheet, half, page;
    };
    const Expect expects[] = {{0, 0, 1}, {0, 1, 4}, {1, 0, 3}, {1, 1, 2}};
    for (const Expect& e : expects) {
        const double s = 0.69, tx = 587.99, ty = e.half == 0 ? 18.73 : 412.72;
        const InkBox ink =
            e.half == 0 ? InkIn(sheets[e.sheet], 0, 0, 595, 421) : InkIn(sheets[e.sheet], 0, 421, 595, 842);
        SCOPED_TRACE("sheet " + std::to_string(e.sheet + 1) + " half " + std::to_string(e.half));
        EXPECT_NEAR(ink.x0, tx - s * (100 + 20 * e.page), 1.5);
        EXPECT_NEAR(ink.x1, tx - s * 100, 1.5);
        EXPECT_NEAR(ink.y0, ty + s * 100, 1.5);
        EXPECT_NEAR(ink.y1, ty + s * 140, 1.5);
    }
}

TEST(BookletRun, OnePageWithCollatedCopiesBecomesOneSideOfOneSet)
{
    struct Case {
        SHORT outputPaper;
        WORD layoutAfter;
    };
    const Case cases[] = {{0, 0}, {9, 8}};
    for (const Case& c : cases) {
        PagePassRun run;
        SetBooklet(run);
        run.dm().dmCopies = 4;
        run.dm().dmCollate = 1;
        run.dm().dmDuplex = 2;
        run.priv().dmCopiesByDriver = 1;
        run.priv().dmOutputPaperSize = c.outputPaper;
        ASSERT_EQ(run.Run(MarkedDocument(1)), 0);
        ASSERT_EQ(run.records().size(), 1u);
        const DRVDEVMODE& sent = run.records()[0].devmode;
        EXPECT_EQ(sent.priv.dmLayoutPrint, c.layoutAfter);
        EXPECT_EQ(sent.priv.dmTotalPages, 1u);
        EXPECT_EQ(sent.dm.dmDuplex, 1);
        EXPECT_EQ(sent.dm.dmCollate, 0);
        EXPECT_EQ(run.RenderGray().size(), 1u);
    }
}

TEST(BookletRun, CollatedDriverCopiesRepeatTheSidesNumberedOnward)
{
    PagePassRun run;
    SetBooklet(run);
    run.dm().dmCopies = 2;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    ASSERT_EQ(run.Run(MarkedDocument(4)), 0);
    const std::string& ps = run.ps();
    const size_t a = ps.find("%%Page: (1) 1\n"), b = ps.find("%%Page: (2) 2\n"), c = ps.find("%%Page: (1) 3\n"),
                 d = ps.find("%%Page: (2) 4\n");
    ASSERT_NE(d, std::string::npos);
    EXPECT_TRUE(a < b && b < c && c < d);
    EXPECT_EQ(run.RenderGray().size(), 4u);
    EXPECT_NE(ps.find("%%Pages: 2\n"), std::string::npos) << "the trailer counts the sides of one set";
}

TEST(PosterRun, TwoByTwoOfTwoPagesGivesEightTilesWithTheInkOnTheBottomLeftTile)
{
    PagePassRun run;
    run.priv().dmFieldsExtra2 = DMX2_POSTER;
    run.priv().dmLayoutPrint = 4;
    run.priv().dmPosterX = 2;
    run.priv().dmPosterY = 2;
    run.priv().dmOverlap = 0;
    ASSERT_EQ(run.Run(MarkedDocument(2)), 0);
    ASSERT_EQ(run.records().size(), 1u);
    EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, 8u);

    // Tiles in order: page 1 row 1 columns 1, 2, row 2 columns 1, 2, then page 2; each labelled
    // with its page's label and numbered on.
    const std::string& ps = run.ps();
    size_t at = 0;
    for (int n = 1; n <= 8; ++n) {
        const std::string comment = "%%Page: " + std::to_string(n <= 4 ? 1 : 2) + " " + std::to_string(n) + "\n";
        const size_t found = ps.find(comment, at);
        ASSERT_NE(found, std::string::npos) << comment;
        at = found + 1;
    }

    // Without overlap the page is doubled (s = min(2 W / w, 2 H / h) = 2 on equal papers) and the
    // bottom-left tile shows the bottom-left quarter from the printable corner: the box's corner
    // (100, 100) lands at 12 + 2 (100 - 12) = 188 and 12.08 + 2 (100 - 12.08) = 187.92.
    const std::vector<Pnm> sheets = run.RenderGray();
    ASSERT_EQ(sheets.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const InkBox ink = InkIn(sheets[static_cast<size_t>(i)]);
        if (i % 4 != 2) {
            EXPECT_TRUE(ink.Blank()) << "tile " << i + 1;
            continue;
        }
        const int page = i < 4 ? 1 : 2;
        EXPECT_NEAR(ink.x0, 188, 1.5) << "tile " << i + 1;
        EXPECT_NEAR(ink.x1, 188 + 80, 1.5) << "tile " << i + 1;
        EXPECT_NEAR(ink.y0, 187.92, 1.5) << "tile " << i + 1;
        EXPECT_NEAR(ink.y1, 187.92 + 40 * page, 1.5) << "tile " << i + 1;
    }
}

TEST(LayoutRun, FitZoomAndPagesPerSheetPlaceTheInkWhereTheTransformSays)
{
    struct Case {
        const char* name;
        const char* inputPaper;
        DWORD extra2;
        WORD layout;
        SHORT outputPaper, scale, align;
        int sheetWidth, sheetHeight;
        double s, tx, ty;
    };
    const Case cases[] = {
        // A4 on Letter: a = 588 / 571.32, b = 768 / 817.92 = 0.939; 0.939 - 0.04 -> 0.89;
        // translate (612 - 0.89 * 595) / 2 = 41.225 and (792 - 0.89 * 842) / 2 = 21.31.
        {"fit A4 on Letter", "A4", DMX2_FIT, 8, 1, 100, 0, 612, 792, 0.89, 41.225, 21.31},
        // 50 % centred: tx = (571.32 - 285.66) / 2 = 142.83; ty = 421 - (817.92 - 408.96) / 2 = 216.52.
        {"zoom 50 centred", "A4", DMX2_ZOOM, 16, 0, 50, 4, 595, 842, 0.5, 142.83, 216.52},
        // 200 % at the bottom left: tx = 12 - 24 = -12; ty = 842 - 1684 - (829.92 - 1659.84) = -12.08.
        {"zoom 200 bottom left", "A4", DMX2_ZOOM, 16, 0, 200, 6, 595, 842, 2.0, -12, -12.08},
        // Letter pages on A4: s = min(817.92 / 768, 571.32 / 588) = 0.971633; tx = 0;
        // ty = 842 - 792 s - (817.92 - 768 s) / 2 = 36.62.
        {"pages per sheet Letter on A4", "Letter", DMX2_NUP, 1, 9, 100, 0, 595, 842, 0.971633, 0, 36.62},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePassRun run;
        run.MarkOption("PageSize", c.inputPaper);
        run.priv().dmFieldsExtra2 = c.extra2;
        run.priv().dmLayoutPrint = c.layout;
        run.priv().dmOutputPaperSize = c.outputPaper;
        run.priv().dmScaleTo = c.scale;
        run.priv().dmAlign = c.align;
        ASSERT_EQ(run.Run(MarkedDocument(2)), 0);
        const std::vector<Pnm> sheets = run.RenderGray(c.sheetWidth, c.sheetHeight);
        ASSERT_EQ(sheets.size(), 2u);
        for (int k = 1; k <= 2; ++k) {
            const InkBox ink = InkIn(sheets[static_cast<size_t>(k - 1)]);
            if (c.ty + c.s * 100 > c.sheetHeight || c.ty + c.s * (100 + 20 * k) < 0) {
                continue;
            }
            EXPECT_NEAR(ink.x0, std::max(0.0, c.tx + c.s * 100), 1.5) << "page " << k;
            EXPECT_NEAR(ink.x1, c.tx + c.s * 140, 1.5) << "page " << k;
            EXPECT_NEAR(ink.y0, std::max(0.0, c.ty + c.s * 100), 1.5) << "page " << k;
            EXPECT_NEAR(ink.y1, std::min<double>(c.sheetHeight, c.ty + c.s * (100 + 20 * k)), 1.5) << "page " << k;
        }
    }
}

}  // namespace
