// Raster blocks as the printer reads them: the block bytes, the band cut, the flags of the first
// and last band, the plane order of a colour band and the raw fallback without a library.
#include "EncodeTestSupport.h"

#include "filter/render/encode/PageEncode.h"
#include "filter/render/encode/RasterBlockWriter.h"
#include "support/BitPlanes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using encodetest::Block;
using encodetest::EncodePageFixture;
using encodetest::ReadBlocks;
using orvtest::MakePlane;
using orvtest::PlanePattern;

TEST(WriteRasterBlockType2, LaysOutCommandHeaderAndData)
{
    struct Case {
        const char* name;
        WORD flags;
        WORD plane;
        WORD rows;
        bool compressed;
        std::vector<uint8_t> header;  // the 16 bytes after "\033*b0W"
    };
    const Case cases[] = {
        {"first band, JBIG", BAND_FIRST, 2, 0x0102, true, {3, 0, 0, 0, 0, 0, 1, 0, 11, 0, 0x02, 0x01, 0, 0, 2, 0}},
        {"last band, raw", BAND_LAST, 0, 7, false, {3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0}},
        {"only band", BAND_FIRST | BAND_LAST, 3, 512, true, {3, 0, 0, 0, 1, 0, 1, 0, 11, 0, 0, 2, 0, 0, 3, 0}},
        {"middle band", 0, 1, 0xFFFF, false, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 1, 0}},
    };
    const BYTE data[3] = {0xAA, 0xBB, 0xCC};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncodePageFixture page;
        tagOUTPUTBUFFER* out = RendererStartOutput(page.context());
        page.context()->wBandFlags = c.flags;
        EXPECT_EQ(WriteRasterBlockType2(page.context(), out, data, 3, c.plane, c.rows, c.compressed), FLAG_TRUE);
        std::vector<uint8_t> expected = {0x1B, '*', 'b', '0', 'W'};
        expected.insert(expected.end(), c.header.begin(), c.header.end());
        expected.insert(expected.end(), {0xAA, 0xBB, 0xCC});
        EXPECT_EQ(encodetest::DrainOutput(page.context()), expected);
    }
}

TEST(WriteRasterBlockType2, LengthIsLittleEndianOverFourBytes)
{
    EncodePageFixture page;
    tagOUTPUTBUFFER* out = RendererStartOutput(page.context());
    const std::vector<BYTE> data(0x10203, 0x5A);
    WriteRasterBlockType2(page.context(), out, data.data(), static_cast<DWORD>(data.size()), 0, 1, false);
    const std::vector<uint8_t> bytes = encodetest::DrainOutput(page.context());
    ASSERT_EQ(bytes.size(), 5 + 16 + data.size());
    EXPECT_EQ(bytes[5], 0x03);
    EXPECT_EQ(bytes[6], 0x02);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[8], 0x00);
}

// What one block of a page should be: plane number, rows, first and last band bytes.
struct Expect {
    uint16_t plane;
    uint16_t rows;
    bool first;
    bool last;
};

struct CutCase {
    const char* name;
    unsigned width, height;
    size_t planes;
    LONG bandRows;
    std::vector<Expect> blocks;
};

const CutCase kCutCases[] = {
    {"ThreeMonoBandsFlagFirstAndLast",
     20,
     30,
     1,
     12,
     {{0, 12, true, false}, {0, 12, false, false}, {0, 6, false, true}}},
    {"OneBandPageCarriesTheLastFlagOnly", 20, 12, 1, 12, {{0, 12, false, true}}},
    {"ShortPageInATallBand", 20, 5, 1, 512, {{0, 5, false, true}}},
    {"ColourBandGoesCyanMagentaYellowBlack",
     9,
     4,
     4,
     16,
     {{1, 4, false, true}, {2, 4, false, true}, {3, 4, false, true}, {0, 4, false, true}}},
    {"ColourBandsKeepThePlaneOrderInEveryBand",
     9,
     7,
     4,
     4,
     {{1, 4, true, false},
      {2, 4, true, false},
      {3, 4, true, false},
      {0, 4, true, false},
      {1, 3, false, true},
      {2, 3, false, true},
      {3, 3, false, true},
      {0, 3, false, true}}},
    {"BandHeightZeroMeans512", 8, 1100, 1, 0, {{0, 512, true, false}, {0, 512, false, false}, {0, 76, false, true}}},
    {"NegativeBandHeightMeans512", 8, 600, 1, -3, {{0, 512, true, false}, {0, 88, false, true}}},
    {"BandsAreCutToTheSixteenBitRowCount", 8, 70000, 1, 100000, {{0, 65535, true, false}, {0, 4465, false, true}}},
};

class PageCut : public ::testing::TestWithParam<CutCase> {};

// Without a compression library every band of every plane is one raw block of its own rows.
TEST_P(PageCut, RawBlocksFollowTheBandsAndPlanes)
{
    const CutCase& c = GetParam();
    std::vector<std::vector<uint8_t>> planes;
    for (size_t i = 0; i < c.planes; ++i) {
        planes.push_back(MakePlane(PlanePattern::Noise, c.width, c.height, static_cast<uint32_t>(7 + i)));
    }
    EncodePageFixture page;
    page.SetPage(c.width, c.height, planes);
    ASSERT_EQ(EncodePage(page.context(), c.width, c.height, c.bandRows, page.settings(), page.options()), FLAG_TRUE);
    const std::vector<Block> blocks = ReadBlocks(encodetest::DrainOutput(page.context()));
    ASSERT_EQ(blocks.size(), c.blocks.size());

    const size_t rowBytes = encodetest::RowBytes(c.width);
    const uint16_t bitmapPlaneOf[4] = {3, 0, 1, 2};  // plane number -> bitmap plane (C, M, Y, K)
    size_t rowOf[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        const Block& b = blocks[i];
        const Expect& e = c.blocks[i];
        EXPECT_EQ(b.plane, e.plane);
        EXPECT_EQ(b.rows, e.rows);
        EXPECT_EQ(b.first, e.first);
        EXPECT_EQ(b.last, e.last);
        EXPECT_EQ(b.compression, 0);
        EXPECT_TRUE(b.zeroBytesZero);
        ASSERT_EQ(b.length, e.rows * rowBytes);
        const std::vector<uint8_t>& plane = planes[c.planes == 1 ? 0 : bitmapPlaneOf[b.plane]];
        const size_t start = rowOf[b.plane] * rowBytes;
        EXPECT_TRUE(std::equal(b.data.begin(), b.data.end(), plane.begin() + static_cast<std::ptrdiff_t>(start)))
            << "rows differ from the bitmap";
        rowOf[b.plane] += b.rows;
    }
    EXPECT_EQ(page.options()->pPageBitmap, nullptr);
    EXPECT_EQ(page.context()->wBandFlags, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageCut, ::testing::ValuesIn(kCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EncodePage, OtherLanguagesDiscardTheBitmapUnsent)
{
    for (DWORD type : {DWORD{LANGTYPE_NONE}, DWORD{LANGTYPE_PCL}, DWORD{7}}) {
        SCOPED_TRACE(type);
        EncodePageFixture page;
        page.SetPage(16, 4, {MakePlane(PlanePattern::Solid, 16, 4)});
        page.options()->dwLangType = type;
        EXPECT_EQ(EncodePage(page.context(), 16, 4, 512, page.settings(), page.options()), FLAG_FALSE);
        EXPECT_EQ(page.options()->pPageBitmap, nullptr);
        EXPECT_TRUE(encodetest::DrainOutput(page.context()).empty());
    }
}

TEST(EncodePage, WithoutBitmapOrContextNothingIsSent)
{
    EncodePageFixture page;
    EXPECT_EQ(EncodePage(page.context(), 16, 4, 512, page.settings(), page.options()), FLAG_FALSE);
    EXPECT_EQ(EncodePage(page.context(), 16, 4, 512, page.settings(), nullptr), FLAG_FALSE);

    page.SetPage(16, 4, {MakePlane(PlanePattern::Solid, 16, 4)});
    EXPECT_EQ(EncodePage(nullptr, 16, 4, 512, page.settings(), page.options()), FLAG_FALSE);
    EXPECT_EQ(page.options()->pPageBitmap, nullptr);  // freed all the same
}

// The settings may be replaced between the page's allocation and its encoding; the planes the
// bitmap was allocated with are what is sent.
TEST(EncodePage, TheBitmapsPlanesDecideMonoOrColour)
{
    struct Case {
        const char* name;
        size_t planes;
        SHORT colorAtEncode;
        size_t blocks;
    };
    const Case cases[] = {
        {"colour page, settings now mono", 4, 1, 4},
        {"mono page, settings now colour", 1, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncodePageFixture page;
        page.SetPage(24, 6, std::vector<std::vector<uint8_t>>(c.planes, MakePlane(PlanePattern::Dither, 24, 6)));
        page.settings()->priv.dmColor = c.colorAtEncode;
        ASSERT_EQ(EncodePage(page.context(), 24, 6, 512, page.settings(), page.options()), FLAG_TRUE);
        EXPECT_EQ(ReadBlocks(encodetest::DrainOutput(page.context())).size(), c.blocks);
    }
}

// The page is laid out narrower by the binding shift; its rows go out at that length, whatever
// page width the caller passes.
TEST(EncodePage, RowsAreAsWideAsThePageLessTheBindingShift)
{
    struct Case {
        const char* name;
        WORD duplex;
        WORD margin;  // 1/600 inch at 600 dpi: dots
        LONG bandMultiple;
        size_t rowBytes;
        uint16_t rows;
    };
    const Case cases[] = {
        {"no duplex, no shift", 1, 16, 0, 8, 4},
        {"long edge shifts 16 dots", 2, 16, 0, 6, 4},
        {"shift rounded down to the band multiple", 2, 21, 8, 6, 4},
        {"short edge portrait shifts rows", 3, 2, 0, 8, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncodePageFixture page;
        page.options()->wDuplex = c.duplex;
        page.options()->wDuplexMargin = c.margin;
        page.options()->sOrientation = 1;
        page.options()->dwPageInSet = 1;
        page.context()->lBandWidthMultiple = c.bandMultiple;
        page.settings()->priv.dmColor = 1;
        ASSERT_EQ(AllocPageBitmap(64, 4, page.settings(), page.context(), page.options()), FLAG_TRUE);
        ASSERT_EQ(EncodePage(page.context(), 64, 4, 512, page.settings(), page.options()), FLAG_TRUE);
        const std::vector<Block> blocks = ReadBlocks(encodetest::DrainOutput(page.context()));
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].rows, c.rows);
        EXPECT_EQ(blocks[0].length, c.rows * c.rowBytes);
    }
}

// The colour encoder needs four planes; the monochrome one takes the first.
TEST(EncodeMonoAndColorPage, RefuseABitmapWithTooFewPlanes)
{
    EncodePageFixture page;
    page.SetPage(8, 2, {MakePlane(PlanePattern::Solid, 8, 2)});
    EXPECT_EQ(EncodeColorPage(page.context(), page.options()->pPageBitmap, 512), FLAG_FALSE);
    EXPECT_EQ(EncodeMonoPage(page.context(), page.options()->pPageBitmap, 512), FLAG_TRUE);
    EXPECT_EQ(ReadBlocks(encodetest::DrainOutput(page.context())).size(), 1u);
    EXPECT_EQ(EncodeMonoPage(page.context(), nullptr, 512), FLAG_FALSE);
}

}  // namespace
