// Band screening: which dots a band sets, where it lands on the page, and what it reports.
#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rendertest::Band;
using rendertest::kScreenImpls;
using rendertest::ScreenImpl;
using rendertest::ScreenPage;

std::vector<BYTE> Darkness()
{
    std::vector<BYTE> curve(256);
    for (int g = 0; g < 256; ++g) {
        curve[g] = static_cast<BYTE>(255 - g);
    }
    return curve;
}

TEST(ScreenBand, DotIsSetExactlyWhenTheThresholdIsBelowTheValue)
{
    // Gray g (r = g = b) has the gray level g and, through the darkness curve, the value 255 - g.
    const std::vector<BYTE> thresholds = {0, 1, 99, 100, 101, 200, 254, 255};
    struct Case {
        BYTE gray;
        const char* dots;  // one per threshold above
    };
    const Case cases[] = {
        {155, "###....."},  // value 100
        {154, "####...."},  // value 101
        {254, "#......."},  // value 1: only threshold 0 is below it
        {0, "#######."},    // value 255: threshold 255 is not below it
        {255, "........"},  // white is skipped (and would be value 0 anyway)
    };
    for (const ScreenImpl& impl : kScreenImpls) {
        for (const Case& c : cases) {
            ScreenPage page(true, 8, 1);
            page.SetMatrices({thresholds});
            page.SetCurve(SLOT_BLACK, Darkness());
            Band band(8, 1);
            band.Fill(c.gray, c.gray, c.gray);
            ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
            EXPECT_EQ(page.Plane(0)[0], c.dots) << impl.name << " gray " << int(c.gray);
        }
    }
}

TEST(ScreenBand, ValueZeroNeverPrints)
{
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(true, 8, 1);
        page.SetCurve(SLOT_BLACK, std::vector<BYTE>(256, 0));
        Band band(8, 1);
        band.Fill(0, 0, 0);
        ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0)[0], "........") << impl.name;
    }
}

// A 6 x 4 black band at (x, y) on a 16 x 8 page with thresholds of 0: exactly the part of the band
// that lies on the page prints.
TEST(ScreenBand, ClipsToAllFourEdgesOfThePage)
{
    struct Case {
        const char* what;
        int x, y;
    };
    const Case cases[] = {
        {"over the top left corner", -2, -1},
        {"over the bottom right corner", 13, 6},
        {"over the left edge", -5, 2},
        {"over the right edge", 12, 2},
        {"over the top edge", 5, -3},
        {"over the bottom edge", 5, 7},
        {"wholly left", -6, 0},
        {"wholly right", 16, 0},
        {"wholly above", 0, -4},
        {"wholly below", 0, 8},
        {"far beyond", 2000000000, -2000000000},
    };
    for (const ScreenImpl& impl : kScreenImpls) {
        for (bool mono : {true, false}) {
            for (const Case& c : cases) {
                ScreenPage page(mono, 16, 8);
                Band band(6, 4);
                band.Fill(0, 0, 0);
                page.SetFlatLut(255, 255, 255, 255);
                DWORD ink = 0;
                ASSERT_EQ(page.Screen(impl, band, c.x, c.y, &ink), FLAG_TRUE);
                bool any = false;
                for (size_t plane = 0; plane < page.bitmap()->dwPlanes; ++plane) {
                    const std::vector<std::string> rows = page.Plane(static_cast<int>(plane));
                    for (int r = 0; r < 8; ++r) {
                        for (int d = 0; d < 16; ++d) {
                            const bool inBand = d >= c.x && d < c.x + 6 && r >= c.y && r < c.y + 4;
                            any = any || inBand;
                            ASSERT_EQ(rows[r][d] == '#', inBand)
                                << impl.name << " " << c.what << " plane " << plane << " row " << r << " dot " << d;
                        }
                    }
                }
                // Rows that fall off the page hold no ink; rows on it do.
                EXPECT_EQ(ink, any ? (mono ? INK_MASK_MONO : INK_MASK_COLOR) : 0u) << impl.name << " " << c.what;
            }
        }
    }
}

// The page size comes from the caller; the bitmap and the threshold rows keep their own extent,
// and nothing is written beyond them when the page size claims more.
TEST(ScreenBand, ClipsToTheBitmapWhenThePageSizeClaimsMore)
{
    struct Case {
        const char* what;
        int pageWidth, pageHeight;
    };
    const Case cases[] = {{"wider", 40, 8}, {"taller", 16, 30}, {"both", 1000, 1000}};
    for (const ScreenImpl& impl : kScreenImpls) {
        for (bool mono : {true, false}) {
            for (const Case& c : cases) {
                ScreenPage page(mono, 16, 8);
                page.SetFlatLut(255, 255, 255, 255);
                Band band(50, 40);
                band.Fill(0, 0, 0);
                DWORD ink = 0;
                const auto fn = mono ? impl.mono : impl.color;
                ASSERT_EQ(fn(band.size(), PackPair(c.pageWidth, c.pageHeight), PackPair(-2, -1), band.data(),
                             page.settings(), page.context(), page.options(), page.bitmap(), &ink),
                          FLAG_TRUE);
                for (size_t plane = 0; plane < page.bitmap()->dwPlanes; ++plane) {
                    EXPECT_EQ(page.Plane(static_cast<int>(plane)), std::vector<std::string>(8, std::string(16, '#')))
                        << impl.name << " " << c.what << " plane " << plane;
                }
            }
        }
    }
}

TEST(ScreenBand, OverlappingBandsKeepTheDotsOfBoth)
{
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(true, 16, 2);
        Band left(8, 2);
        left.Fill(0, 0, 0);
        Band right(8, 2);  // white where it overlaps the first band, one black pixel at its end
        right.Set(7, 1, 0, 0, 0);
        ASSERT_EQ(page.Screen(impl, left, 0, 0), FLAG_TRUE);
        ASSERT_EQ(page.Screen(impl, right, 4, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0), (std::vector<std::string>{"########........", "########...#...."})) << impl.name;
    }
}

TEST(ScreenBand, DoubledResolutionComparesEachDotWithItsOwnThreshold)
{
    // Value 100 against a checkerboard of thresholds 0 and 200: every pixel becomes a 2 x 2 block
    // of which the two dots on threshold 0 print. The band starts at row 1, so its first pixel row
    // takes threshold rows 2 and 3, that is rows 0 and 1 of the two-row matrix.
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(true, 3, 3, 2, 2);
        page.SetMatrices({{0, 200, 0, 200, 0, 200}, {200, 0, 200, 0, 200, 0}});
        page.SetCurve(SLOT_BLACK, Darkness());
        Band band(2, 1);
        band.Fill(155, 155, 155);
        ASSERT_EQ(page.Screen(impl, band, 1, 1), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0), (std::vector<std::string>{"......", "......", "..#.#.", "...#.#", "......", "......"}))
            << impl.name;
    }
}

TEST(ScreenBand, OnlyTheXDoubled)
{
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(false, 5, 2, 2, 1);
        Band band(5, 2);
        band.Set(1, 0, 0, 0, 0);
        band.Set(4, 1, 0, 0, 0);
        page.SetFlatLut(0, 0, 0, 255);  // black only
        ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(3), (std::vector<std::string>{"..##......", "........##"})) << impl.name;
        EXPECT_EQ(page.Plane(0), (std::vector<std::string>{"..........", ".........."})) << impl.name;
    }
}

TEST(ScreenBand, ColourPlanesTakeTheirOwnInkCurveAndMatrix)
{
    // Inks 40, 90, 140 and 190 from every LUT node; the cyan curve doubles its ink and the black
    // curve zeroes it; the thresholds rise by 20 a dot, the same for every plane but magenta, which
    // has a constant 100.
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(false, 12, 1);
        page.SetFlatLut(40, 90, 140, 190);
        std::vector<BYTE> twice(256), none(256, 0);
        for (int i = 0; i < 256; ++i) {
            twice[i] = static_cast<BYTE>(std::min(255, 2 * i));
        }
        page.SetCurve(SLOT_CYAN, twice);
        page.SetCurve(SLOT_BLACK, none);
        std::vector<BYTE> rising;
        for (int d = 0; d < 12; ++d) {
            rising.push_back(static_cast<BYTE>(20 * d));
        }
        page.SetMatrices({rising});
        page.SetMatrix(SLOT_MAGENTA, {{100}});
        Band band(12, 1);
        band.Fill(10, 20, 30);
        ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0)[0], "####........") << impl.name;  // 80 > 0, 20, 40, 60
        EXPECT_EQ(page.Plane(1)[0],
                  ".........."
                  "..")
            << impl.name;                                          // 90 is not above 100
        EXPECT_EQ(page.Plane(2)[0], "#######.....") << impl.name;  // 140 > 0..120
        EXPECT_EQ(page.Plane(3)[0], "............") << impl.name;
    }
}

TEST(ScreenBand, WhiteBandDrawsNothingAndReportsNoInk)
{
    for (const ScreenImpl& impl : kScreenImpls) {
        for (bool mono : {true, false}) {
            ScreenPage page(mono, 40, 4);
            Band band(40, 4);
            band.DarkenPadding();  // padding is no pixel
            DWORD ink = 0xDEAD;
            ASSERT_EQ(page.Screen(impl, band, 0, 0, &ink), FLAG_TRUE);
            EXPECT_EQ(ink, 0u) << impl.name;
            for (BYTE b : page.Bits()) {
                ASSERT_EQ(b, 0) << impl.name;
            }
        }
    }
}

TEST(ScreenBand, MissingTableDrawsNothing)
{
    struct Case {
        const char* what;
        bool mono;
        int slot;
        bool curve;  // else the matrix
    };
    const Case cases[] = {
        {"black curve of a monochrome page", true, SLOT_BLACK, true},
        {"black matrix of a monochrome page", true, SLOT_BLACK, false},
        {"yellow curve of a colour page", false, SLOT_YELLOW, true},
        {"cyan matrix of a colour page", false, SLOT_CYAN, false},
    };
    for (const ScreenImpl& impl : kScreenImpls) {
        for (const Case& c : cases) {
            ScreenPage page(c.mono, 8, 2);
            BYTE** slot = c.curve ? &page.block()->apToneCurve[c.slot] : &page.block()->apMatrix[c.slot];
            std::free(*slot);
            *slot = nullptr;
            Band band(8, 2);
            band.Fill(0, 0, 0);
            DWORD ink = 0xDEAD;
            EXPECT_EQ(page.Screen(impl, band, 0, 0, &ink), FLAG_FALSE) << impl.name << " " << c.what;
            EXPECT_EQ(ink, 0u);
            for (BYTE b : page.Bits()) {
                ASSERT_EQ(b, 0) << impl.name << " " << c.what;
            }
        }
    }
}

TEST(ScreenBand, WorksWithoutAColourCache)
{
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(true, 8, 1);
        std::free(page.context()->pColorCache);
        page.context()->pColorCache = nullptr;
        page.SetCurve(SLOT_BLACK, Darkness());
        page.SetMatrices({{50, 150}});
        Band band(8, 1);
        band.Fill(155, 155, 155);  // value 100
        ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0)[0], "#.#.#.#.") << impl.name;
    }
}

TEST(ScreenBand, CacheHitsGiveTheColourOfTheirOwnPixel)
{
    // (10, 20, 30) and (30, 20, 10) share the cache entry of R + G + B = 60.
    for (const ScreenImpl& impl : kScreenImpls) {
        ScreenPage page(true, 4, 1);
        page.SetMatrices({{0, 0, 0, 0}});
        std::vector<BYTE> curve(256, 0);
        curve[(31 * 10 + 56 * 20 + 13 * 30) / 100] = 1;  // gray 18
        page.SetCurve(SLOT_BLACK, curve);
        Band band(4, 1);
        band.Set(0, 0, 10, 20, 30);
        band.Set(1, 0, 30, 20, 10);  // gray 24: value 0
        band.Set(2, 0, 10, 20, 30);
        band.Set(3, 0, 30, 20, 10);
        ASSERT_EQ(page.Screen(impl, band, 0, 0), FLAG_TRUE);
        EXPECT_EQ(page.Plane(0)[0], "#.#.") << impl.name;
    }
}

// DrawRgbRect: the binding shift, the band format, the ink mask and a missing bitmap.
TEST(DrawRgbRect, AppliesTheBindingShiftOfThePage)
{
    struct Case {
        const char* what;
        LONG shiftX, shiftY;
        int x, y;
        int dotFirst, dotEnd, rowFirst, rowEnd;  // what prints of a 4 x 2 black band
    };
    // The page is 12 x 6; the bitmap was laid out 12 - |shift| wide (or high).
    const Case cases[] = {
        {"no shift", 0, 0, 2, 1, 2, 6, 1, 3},
        {"positive x narrows the page", 3, 0, 7, 1, 7, 9, 1, 3},
        {"negative x moves the band left", -3, 0, 1, 1, 0, 2, 1, 3},
        {"negative y moves the band up", 0, -2, 2, 3, 2, 6, 1, 3},
        {"positive y shortens the page", 0, 2, 2, 3, 2, 6, 3, 4},
        {"a shift of the whole page leaves nothing", 12, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ScreenPage page(true, 12, 6);
        const DWORD width = static_cast<DWORD>(12 - std::abs(c.shiftX));
        const DWORD height = static_cast<DWORD>(6 - std::abs(c.shiftY));
        FreePageBitmap(page.bitmap());
        auto* bitmap = static_cast<tagPAGEBITMAP*>(std::calloc(1, sizeof(tagPAGEBITMAP)));
        bitmap->dwWidth = width;
        bitmap->dwHeight = height;
        bitmap->dwPlanes = 1;
        bitmap->cbRowBytes = (width + 7) / 8;
        bitmap->lShiftX = c.shiftX;
        bitmap->lShiftY = c.shiftY;
        bitmap->pBits = static_cast<BYTE*>(std::calloc(bitmap->cbRowBytes * height + 1, 1));
        page.options()->pPageBitmap = bitmap;
        Band band(4, 2);
        band.Fill(0, 0, 0);
        ASSERT_EQ(DrawRgbRect(24, band.size(), PackPair(12, 6), PackPair(c.x, c.y), band.data(), page.settings(),
                              page.context(), page.options()),
                  FLAG_TRUE);
        for (DWORD r = 0; r < height; ++r) {
            for (DWORD d = 0; d < width; ++d) {
                const bool expected =
                    int(d) >= c.dotFirst && int(d) < c.dotEnd && int(r) >= c.rowFirst && int(r) < c.rowEnd;
                ASSERT_EQ(page.Dot(0, r, d), expected) << c.what << " row " << r << " dot " << d;
            }
        }
    }
}

TEST(DrawRgbRect, CollectsTheInkMaskOfThePage)
{
    for (bool mono : {true, false}) {
        ScreenPage page(mono, 8, 4);
        page.context()->dwInkMask = 0;
        Band white(8, 2);
        ASSERT_EQ(DrawRgbRect(24, white.size(), PackPair(8, 4), PackPair(0, 0), white.data(), page.settings(),
                              page.context(), page.options()),
                  FLAG_TRUE);
        EXPECT_EQ(page.context()->dwInkMask, 0u);
        Band gray(8, 2);
        gray.Set(5, 1, 128, 128, 128);
        ASSERT_EQ(DrawRgbRect(24, gray.size(), PackPair(8, 4), PackPair(0, 2), gray.data(), page.settings(),
                              page.context(), page.options()),
                  FLAG_TRUE);
        EXPECT_EQ(page.context()->dwInkMask, mono ? INK_MASK_MONO : INK_MASK_COLOR);
        ASSERT_EQ(DrawRgbRect(24, white.size(), PackPair(8, 4), PackPair(0, 0), white.data(), page.settings(),
                              page.context(), page.options()),
                  FLAG_TRUE);
        EXPECT_EQ(page.context()->dwInkMask, mono ? INK_MASK_MONO : INK_MASK_COLOR) << "kept until the page ends";
    }
}

TEST(DrawRgbRect, RefusesBandsOfOtherDepthsAndIgnoresAMissingBitmap)
{
    ScreenPage page(true, 8, 2);
    Band band(8, 2);
    band.Fill(0, 0, 0);
    for (DWORD bits : {1u, 8u, 32u, 48u}) {
        EXPECT_EQ(DrawRgbRect(bits, band.size(), PackPair(8, 2), 0, band.data(), page.settings(), page.context(),
                              page.options()),
                  FLAG_FALSE)
            << bits;
    }
    for (BYTE b : page.Bits()) {
        ASSERT_EQ(b, 0);
    }
    EXPECT_EQ(page.context()->dwInkMask, 0u);

    tagPAGEBITMAP* kept = page.bitmap();
    page.options()->pPageBitmap = nullptr;
    EXPECT_EQ(
        DrawRgbRect(24, band.size(), PackPair(8, 2), 0, band.data(), page.settings(), page.context(), page.options()),
        FLAG_TRUE);
    EXPECT_EQ(page.context()->dwInkMask, 0u);
    page.options()->pPageBitmap = kept;
}

}  // namespace
