// The page bitmap's geometry and the duplex binding shift it is laid out with.
#include "filter/render/encode/PageBitmap.h"

#include "core/settings/DevMode.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ShiftCase {
    const char* name;
    WORD duplex;            // option block duplex mode
    SHORT orientation;      // dmOrientation of the settings
    SHORT pageOrientation;  // option block orientation
    DWORD pageInSet;
    WORD margin;  // layout units of 1/600 inch
    LONG bandMultiple;
    bool rotated;
    LONG shiftX;
    LONG shiftY;
};

// Margins are in 1/600 inch at 600 dpi, so a margin of m units is m pixels before rounding.
const ShiftCase kShiftCases[] = {
    {"SimplexHasNoShift", 1, 1, 1, 1, 125, 0, false, 0, 0},
    {"NoMarginNoShift", 2, 1, 1, 1, 0, 0, false, 0, 0},
    {"LongEdgePortraitOddPageShiftsRight", 2, 1, 1, 1, 125, 0, false, 125, 0},
    {"LongEdgePortraitEvenPageShiftsLeft", 2, 1, 1, 2, 125, 0, false, -125, 0},
    {"BandMultipleRoundsTheShiftDown", 2, 1, 1, 1, 125, 8, false, 120, 0},
    {"TurnedPageShiftsTheOtherWay", 2, 1, 1, 1, 125, 0, true, -125, 0},
    {"LongEdgeLandscapeShiftsDown", 2, 2, 2, 1, 100, 0, false, 0, 100},
    {"ShortEdgePortraitShiftsDownOnOddPages", 3, 1, 1, 1, 100, 0, false, 0, 100},
    {"ShortEdgePortraitEvenPageShiftsUp", 3, 1, 1, 2, 100, 0, false, 0, -100},
    {"ShortEdgeLandscapeOnPortraitSheetShiftsRightWhenEven", 3, 2, 1, 2, 100, 0, false, 100, 0},
    {"ShortEdgeLandscapeSheetShiftsLeftWhenEven", 3, 2, 2, 2, 100, 0, false, -100, 0},
};

class BindingShift : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(BindingShift, FollowsDuplexOrientationAndPageParity)
{
    const ShiftCase& c = GetParam();
    DRVDEVMODE dm{};
    dm.dm.dmPrintQuality = 600;
    dm.dm.dmOrientation = c.orientation;
    dm.priv.dmUnitOfLayout = 600;
    if (c.rotated) {
        dm.priv.dmFieldsExtra1 = DMX1_ROTATE180;
        dm.priv.dmExtraPrint = DMXP_ROTATE180;
        dm.priv.dmRotateOrient = 1;
    }
    tagRENDERCONTEXT context{};
    context.lBandWidthMultiple = c.bandMultiple;
    context.lShiftX = context.lShiftY = 77;  // stale values of the previous page
    tagRENDEROPTIONS options{};
    options.wDuplex = c.duplex;
    options.sOrientation = c.pageOrientation;
    options.dwPageInSet = c.pageInSet;
    options.wDuplexMargin = c.margin;
    EXPECT_EQ(ComputeBindingShift(&dm, &context, &options), FLAG_TRUE);
    EXPECT_EQ(context.lShiftX, c.shiftX);
    EXPECT_EQ(context.lShiftY, c.shiftY);
}

INSTANTIATE_TEST_SUITE_P(Cases, BindingShift, ::testing::ValuesIn(kShiftCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct AllocCase {
    const char* name;
    SHORT color;
    LONG mulX, mulY;
    WORD margin;  // long-edge duplex, portrait, odd page: a right shift of `margin` pixels
    DWORD width, height;
    DWORD dots, rows, planes;
    size_t rowBytes;
};

const AllocCase kAllocCases[] = {
    {"MonochromeHasOnePlane", 1, 1, 1, 0, 100, 10, 100, 10, 1, 13},
    {"ColourHasFourPlanes", 2, 1, 1, 0, 100, 10, 100, 10, 4, 13},
    {"MultipliersDoubleDotsAndRows", 1, 2, 2, 0, 100, 10, 200, 20, 1, 25},
    {"OnlyTheXMultiplier", 2, 2, 1, 0, 9, 3, 18, 3, 4, 3},
    {"ShiftNarrowsTheRows", 1, 1, 1, 20, 100, 10, 80, 10, 1, 10},
    {"ShiftAtLeastThePageLeavesNothing", 1, 1, 1, 150, 100, 10, 0, 10, 1, 0},
};

class PageBitmapAlloc : public ::testing::TestWithParam<AllocCase> {};

TEST_P(PageBitmapAlloc, KeepsItsOwnGeometry)
{
    const AllocCase& c = GetParam();
    DRVDEVMODE dm{};
    dm.dm.dmPrintQuality = 600;
    dm.dm.dmOrientation = 1;
    dm.priv.dmUnitOfLayout = 600;
    dm.priv.dmColor = c.color;
    tagRENDERCONTEXT context{};
    context.lResMultiplierX = c.mulX;
    context.lResMultiplierY = c.mulY;
    tagRENDEROPTIONS options{};
    options.wDuplex = 2;
    options.sOrientation = 1;
    options.dwPageInSet = 1;
    options.wDuplexMargin = c.margin;

    ASSERT_EQ(AllocPageBitmap(c.width, c.height, &dm, &context, &options), FLAG_TRUE);
    const tagPAGEBITMAP* bitmap = options.pPageBitmap;
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->dwWidth, c.dots);
    EXPECT_EQ(bitmap->dwHeight, c.rows);
    EXPECT_EQ(bitmap->dwPlanes, c.planes);
    EXPECT_EQ(bitmap->cbRowBytes, c.rowBytes);
    EXPECT_EQ(bitmap->lShiftX, static_cast<LONG>(c.margin));
    const size_t total = c.rowBytes * c.rows * c.planes;
    for (size_t i = 0; i < total; ++i) {
        ASSERT_EQ(bitmap->pBits[i], 0) << "byte " << i;
    }
    FreePageBitmap(options.pPageBitmap);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageBitmapAlloc, ::testing::ValuesIn(kAllocCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The next page's bitmap takes the planes of the page before when they are of its size (already
// mapped and written, they take no page faults while the page is screened), cleared of everything
// that page drew; a page of another size gets memory of its own, and the kept planes go.
TEST(PageBitmapAlloc, NextPageOfTheSameSizeReusesThePlanesCleared)
{
    struct Step {
        const char* what;
        SHORT color;
        DWORD width, height;
        bool reused;  // the planes of the step before (fresh memory may happen to lie there too)
    } steps[] = {
        {"first page", 1, 64, 40, false},
        {"same size", 1, 64, 40, true},
        {"taller page", 1, 64, 41, false},
        {"colour page of the mono page's size", 2, 64, 41, false},
        {"colour again", 2, 64, 41, true},
        {"back to mono", 1, 64, 41, false},
    };
    DRVDEVMODE dm{};
    tagRENDERCONTEXT context{};
    tagRENDEROPTIONS options{};
    const BYTE* previous = nullptr;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        dm.priv.dmColor = step.color;
        ASSERT_EQ(AllocPageBitmap(step.width, step.height, &dm, &context, &options), FLAG_TRUE);
        tagPAGEBITMAP* bitmap = options.pPageBitmap;
        const size_t total = PagePlaneBytes(bitmap) * bitmap->dwPlanes;
        if (step.reused) {
            EXPECT_EQ(bitmap->pBits, previous);
        }
        EXPECT_EQ(context.pSpareBits, nullptr) << "the kept planes are taken or freed";
        for (size_t i = 0; i < total; ++i) {
            ASSERT_EQ(bitmap->pBits[i], 0) << "byte " << i;
        }
        std::memset(bitmap->pBits, 0xFF, total);  // the page's dots
        previous = bitmap->pBits;
        // Every other page is given up by its encoding, the rest by the next page's allocation.
        if (&step - steps < 3) {
            ReleasePageBitmap(&context, &options);
            EXPECT_EQ(options.pPageBitmap, nullptr);
        }
    }
    ReleasePageBitmap(&context, &options);
    EXPECT_EQ(context.pSpareBits, previous);
    FreeSparePageBits(&context);  // the sanitizer sees a leak otherwise
    EXPECT_EQ(context.pSpareBits, nullptr);
    ReleasePageBitmap(nullptr, &options);  // nothing to give up: harmless
}

TEST(PageBitmapAlloc, RefusesAPageTooLargeToAddress)
{
    DRVDEVMODE dm{};
    tagRENDERCONTEXT context{};
    context.lResMultiplierX = context.lResMultiplierY = 2;
    tagRENDEROPTIONS options{};
    EXPECT_EQ(AllocPageBitmap(0xFFFFFFFFu, 0xFFFFFFFFu, &dm, &context, &options), FLAG_FALSE);
    EXPECT_EQ(options.pPageBitmap, nullptr);
    EXPECT_EQ(AllocPageBitmap(10, 10, &dm, nullptr, &options), FLAG_FALSE);
}

// Which rows of the bitmap a band placed at a page row can no longer reach: the band lands at that
// row moved up by a negative binding shift (a positive one only narrows the page), each page row
// drawn into `multiplier` bitmap rows; never more than the bitmap has.
TEST(PageRowsAbove, RowsAboveWhereTheNextBandLands)
{
    struct Case {
        LONG shiftY;
        LONG multiplierY;
        int64_t pageY;
        DWORD expected;  // of a bitmap of 1000 rows
    } cases[] = {
        {0, 1, 100, 100}, {0, 2, 100, 200}, {-30, 1, 100, 70},  {30, 1, 100, 100}, {-30, 2, 100, 140}, {0, 1, 0, 0},
        {0, 1, -5, 0},    {-30, 1, 20, 0},  {0, 1, 2000, 1000}, {0, 2, 600, 1000}, {0, 1, 1000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("shift " + std::to_string(c.shiftY) + ", multiplier " + std::to_string(c.multiplierY) +
                     ", page row " + std::to_string(c.pageY));
        tagRENDERCONTEXT context{};
        context.lResMultiplierY = c.multiplierY;
        tagPAGEBITMAP bitmap{};
        bitmap.dwHeight = 1000;
        bitmap.lShiftY = c.shiftY;
        EXPECT_EQ(PageRowsAbove(&context, &bitmap, c.pageY), c.expected);
    }
    EXPECT_EQ(PageRowsAbove(nullptr, nullptr, 100), 0u);
}

}  // namespace
