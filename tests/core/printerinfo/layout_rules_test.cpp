// Rules over the settings record alone: effective orientation and paper, poster tiles, the
// fit-to-output-paper layout, the zoom clamp and the quality map.
#include "core/printerinfo/LayoutRules.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pitest::BlankRecord;

TEST(EffectiveOrientation, TurnsForBookletUnevenPosterAndSomePagesPerSheet)
{
    struct Case {
        const char* what;
        SHORT orientation;
        WORD layout;
        SHORT nup;
        SHORT posterX;
        SHORT posterY;
        SHORT expected;
    };
    const Case cases[] = {
        {"plain portrait", 1, 0, 0, 0, 0, 1},
        {"plain landscape", 2, 0, 0, 0, 0, 2},
        {"booklet in portrait", 1, 2, 0, 0, 0, 2},
        {"booklet in landscape", 2, 2, 0, 0, 0, 1},
        {"2 per sheet", 1, 1, 2, 0, 0, 2},
        {"4 per sheet", 1, 1, 4, 0, 0, 1},
        {"6 per sheet in landscape", 2, 1, 6, 0, 0, 1},
        {"8 per sheet", 1, 1, 8, 0, 0, 2},
        {"9 per sheet", 1, 1, 9, 0, 0, 1},
        {"2 by 3 poster in landscape", 2, 4, 0, 2, 3, 1},
        {"3 by 3 poster", 1, 4, 0, 3, 3, 1},
        {"nup count without the n-up layout", 1, 0, 2, 0, 0, 1},
        {"any orientation but portrait turns to portrait", 0, 2, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmLayoutPrint = c.layout;
        dm.priv.dmNup = c.nup;
        dm.priv.dmPosterX = c.posterX;
        dm.priv.dmPosterY = c.posterY;
        EXPECT_EQ(GetEffectiveOrientation(&dm), c.expected) << c.what;
    }
    EXPECT_EQ(GetEffectiveOrientation(nullptr), 1);
}

TEST(EffectivePaperId, OutputPaperWinsOverThePaper)
{
    DRVDEVMODE dm = BlankRecord();
    dm.dm.dmPaperSize = 9;
    EXPECT_EQ(GetEffectivePaperId(&dm), 9);
    dm.priv.dmOutputPaperSize = 1;
    EXPECT_EQ(GetEffectivePaperId(&dm), 1);
    EXPECT_EQ(GetEffectivePaperId(nullptr), 0);
}

TEST(QualityMap, KeepsOneThreeAndFourAndMapsTheRestToTwo)
{
    struct Case {
        SHORT mode;
        SHORT expected;
    };
    const Case cases[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {0, 2}, {5, 2}, {-1, 2}, {600, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(MapQualityValue(c.mode), c.expected) << c.mode;
        EXPECT_EQ(MapQualityMode(nullptr, c.mode), c.expected) << c.mode;
    }
}

TEST(PosterTiles, ValidCombinationsDependOnOrientation)
{
    struct Case {
        SHORT orientation;
        SHORT x;
        SHORT y;
        bool valid;
    };
    const Case cases[] = {
        {1, 2, 2, true},  {2, 3, 3, true},  {1, 4, 4, true},  {1, 1, 2, true},  {2, 1, 2, false},
        {2, 2, 1, true},  {1, 2, 1, false}, {1, 1, 1, false}, {1, 5, 5, false}, {1, 2, 3, false},
        {1, 0, 0, false},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmPosterX = c.x;
        dm.priv.dmPosterY = c.y;
        EXPECT_EQ(IsPosterTilesValid(&dm) != 0, c.valid) << c.orientation << " " << c.x << "x" << c.y;
    }
    EXPECT_NE(IsPosterTilesValid(nullptr), 0);
}

TEST(PosterTiles, NormaliseSwapsAlongTheOrientationThenFallsBackToTwoByTwo)
{
    struct Case {
        const char* what;
        SHORT orientation;
        SHORT x;
        SHORT y;
        SHORT expectedX;
        SHORT expectedY;
    };
    const Case cases[] = {
        {"3x2 portrait swaps to 2x3, not valid", 1, 3, 2, 2, 2},
        {"1x2 landscape swaps to 2x1", 2, 1, 2, 2, 1},
        {"2x1 portrait swaps to 1x2", 1, 2, 1, 1, 2},
        {"3x3 stays", 1, 3, 3, 3, 3},
        {"1x2 portrait stays", 1, 1, 2, 1, 2},
        {"5x5 is not valid", 2, 5, 5, 2, 2},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmPosterX = c.x;
        dm.priv.dmPosterY = c.y;
        NormalisePosterTiles(&dm);
        EXPECT_EQ(dm.priv.dmPosterX, c.expectedX) << c.what;
        EXPECT_EQ(dm.priv.dmPosterY, c.expectedY) << c.what;
    }
    NormalisePosterTiles(nullptr);

    SHORT x = 4;
    SHORT y = 1;
    EXPECT_EQ(ResetPosterTiles(&x, &y), FLAG_TRUE);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
}

TEST(OutputPaperMode, FitFollowsTheOutputPaper)
{
    struct Case {
        SHORT outputPaper;
        WORD layout;
        WORD expected;
    };
    const Case cases[] = {
        {9, 0, 8}, {9, 8, 8}, {9, 2, 2}, {0, 8, 0}, {0, 0, 0}, {0, 4, 4},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.priv.dmOutputPaperSize = c.outputPaper;
        dm.priv.dmLayoutPrint = c.layout;
        SyncOutputPaperMode(&dm);
        EXPECT_EQ(dm.priv.dmLayoutPrint, c.expected) << c.outputPaper << " " << c.layout;
    }
    SyncOutputPaperMode(nullptr);
}

TEST(ScaleTo, ClampedToTheRangeWithSignedComparisons)
{
    struct Case {
        SHORT scale;
        SHORT min;
        SHORT max;
        SHORT expected;
    };
    const Case cases[] = {
        {100, 25, 400, 100}, {10, 25, 400, 25}, {500, 25, 400, 400}, {-5, 25, 400, 25}, {300, 25, 55, 55},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.priv.dmScaleTo = c.scale;
        ClampScaleTo(&dm, c.min, c.max);
        EXPECT_EQ(dm.priv.dmScaleTo, c.expected) << c.scale;
    }
}

TEST(ScaleTo, RecordWithAForeignPublicSizeIsLeftAlone)
{
    // The private part is found dmSize bytes in; any other size than the layout's would point the
    // write elsewhere in the record or past it.
    DRVDEVMODE dm = BlankRecord();
    dm.dm.dmSize = 0xFFFF;
    dm.priv.dmScaleTo = 1;
    ClampScaleTo(&dm, 25, 400);
    EXPECT_EQ(dm.priv.dmScaleTo, 1);
    ClampScaleTo(nullptr, 25, 400);
}

}  // namespace
