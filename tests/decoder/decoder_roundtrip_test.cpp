// Pages encoded into raster blocks (through the compression library, or raw) and decoded by the
// stream decoder come back bit for bit, with every command and block accounted for in order.
#include <gtest/gtest.h>

#include "decoder/StreamBuilder.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"
#include "tools/stream-decoder/lib/StreamSummary.h"

namespace {

using orvdecode::DecodedStream;
using orvdecode::EventKind;
using orvtest::PlanePattern;
using orvtest::StreamBuilder;
using orvtest::TestPage;

TestPage MakePage(unsigned width, unsigned height, std::vector<PlanePattern> patterns, uint32_t seed)
{
    TestPage page;
    page.width = width;
    page.height = height;
    for (PlanePattern pattern : patterns) {
        page.planes.push_back(orvtest::MakePlane(pattern, width, height, seed++));
    }
    return page;
}

DecodedStream Decode(const StreamBuilder& stream)
{
    return orvdecode::DecodeStream(stream.bytes().data(), stream.size());
}

// The decoded page's planes in bitmap order (cyan, magenta, yellow, black for colour).
void ExpectSamePlanes(const orvdecode::DecodedPage& decoded, const TestPage& page)
{
    ASSERT_EQ(decoded.width, page.width);
    ASSERT_EQ(decoded.height, page.height);
    if (page.planes.size() == 1) {
        ASSERT_FALSE(decoded.IsColour());
        ASSERT_TRUE(decoded.planes[0].has_value());
        EXPECT_TRUE(*decoded.planes[0] == page.planes[0]) << "black plane differs";
        return;
    }
    const unsigned numbers[4] = {1, 2, 3, 0};
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_TRUE(decoded.planes[numbers[i]].has_value());
        EXPECT_TRUE(*decoded.planes[numbers[i]] == page.planes[i]) << "bitmap plane " << i << " differs";
    }
}

class DecoderRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }
    PFNCOMPRESS compress() const { return m_lib.entry(); }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_F(DecoderRoundTrip, PagesComeBackBitForBit)
{
    struct Case {
        const char* name;
        unsigned width, height, bandRows;
        std::vector<PlanePattern> planes;
        bool compressed;
    };
    const Case cases[] = {
        {"mono text, three bands", 1200, 700, 256, {PlanePattern::TextLike}, true},
        {"mono text, raw", 1200, 700, 256, {PlanePattern::TextLike}, false},
        {"mono one band", 640, 100, 512, {PlanePattern::Sparse}, true},
        {"mono empty", 800, 300, 128, {PlanePattern::Empty}, true},
        {"mono solid, odd width", 333, 90, 32, {PlanePattern::Solid}, true},
        {"mono noise, split bands", 512, 256, 128, {PlanePattern::Noise}, true},
        {"colour mixed", 600, 300, 128,
         {PlanePattern::TextLike, PlanePattern::Dither, PlanePattern::Noise, PlanePattern::Sparse}, true},
        {"colour raw, odd width", 101, 50, 16,
         {PlanePattern::Dither, PlanePattern::Empty, PlanePattern::Solid, PlanePattern::TextLike}, false},
    };
    uint32_t seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TestPage page = MakePage(c.width, c.height, c.planes, seed += 10);
        StreamBuilder stream;
        stream.JobStart().PageHeader(c.width, c.height);
        orvtest::AppendPageBlocks(stream, c.compressed ? compress() : nullptr, page, c.bandRows);
        stream.PageEnd(c.planes.size() == 1 ? 1 : 15).JobEnd();

        const DecodedStream decoded = Decode(stream);
        ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
        ASSERT_EQ(decoded.pages.size(), 1u);
        ExpectSamePlanes(decoded.pages[0], page);
        EXPECT_EQ(decoded.pages[0].inkPlanes, c.planes.size() == 1 ? 1 : 15);
    }
}

TEST_F(DecoderRoundTrip, BlocksArriveInPlaneOrderWithBandFlags)
{
    // Three bands of a colour page: planes 1, 2, 3, 0 in every band; the first band's blocks carry
    // the first-band flag, the last band's the last-band flag, the middle band neither.
    const TestPage page = MakePage(256, 300, {PlanePattern::TextLike, PlanePattern::Dither, PlanePattern::Sparse,
                                              PlanePattern::TextLike},
                                   3);
    StreamBuilder stream;
    stream.JobStart().PageHeader(256, 300);
    orvtest::AppendPageBlocks(stream, compress(), page, 128);
    stream.PageEnd(15).JobEnd();
    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);

    struct Expected {
        unsigned plane, firstRow, rows;
        bool first, last;
    };
    const Expected expected[] = {
        {1, 0, 128, true, false},   {2, 0, 128, true, false},   {3, 0, 128, true, false},   {0, 0, 128, true, false},
        {1, 128, 128, false, false}, {2, 128, 128, false, false}, {3, 128, 128, false, false}, {0, 128, 128, false, false},
        {1, 256, 44, false, true},  {2, 256, 44, false, true},  {3, 256, 44, false, true},  {0, 256, 44, false, true},
    };
    std::vector<orvdecode::RasterBlockInfo> blocks;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        if (event.kind == EventKind::RasterBlock) {
            blocks.push_back(event.block);
        }
    }
    ASSERT_EQ(blocks.size(), std::size(expected));
    for (size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        EXPECT_EQ(blocks[i].plane, expected[i].plane);
        EXPECT_EQ(blocks[i].firstRow, expected[i].firstRow);
        EXPECT_EQ(blocks[i].rows, expected[i].rows);
        EXPECT_EQ(blocks[i].firstBand, expected[i].first);
        EXPECT_EQ(blocks[i].lastBand, expected[i].last);
        EXPECT_EQ(blocks[i].compression, 11);
        EXPECT_EQ(blocks[i].page, 1u);
    }
}

TEST_F(DecoderRoundTrip, IncompressibleBandsBecomeSeveralBlocks)
{
    // Noise does not fit its raw size as JBIG: each band goes out as a JBIG block of the rows that
    // fit and further blocks for the rest. Only a band's first block may carry the first-band
    // flag and only its last block the last-band flag; the rows still come back bit for bit.
    const TestPage page = MakePage(512, 256, {PlanePattern::Noise}, 31);
    StreamBuilder stream;
    stream.JobStart().PageHeader(512, 256);
    orvtest::AppendPageBlocks(stream, compress(), page, 128);
    stream.PageEnd(1).JobEnd();
    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ExpectSamePlanes(decoded.pages[0], page);

    std::vector<orvdecode::RasterBlockInfo> blocks;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        if (event.kind == EventKind::RasterBlock) {
            blocks.push_back(event.block);
        }
    }
    ASSERT_GT(blocks.size(), 2u);
    EXPECT_EQ(blocks.front().compression, 11);
    for (size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        const bool startsBand = blocks[i].firstRow % 128 == 0;
        const bool endsBand = (blocks[i].firstRow + blocks[i].rows) % 128 == 0;
        EXPECT_EQ(blocks[i].firstBand, startsBand && blocks[i].firstRow == 0);
        EXPECT_EQ(blocks[i].lastBand, endsBand && blocks[i].firstRow + blocks[i].rows == 256);
    }
}

TEST_F(DecoderRoundTrip, HandBuiltRawBlocksGiveTheirRows)
{
    // 12 dots wide (2 bytes a row, 4 padding bits), 3 rows, two blocks of the black plane.
    StreamBuilder stream;
    stream.JobStart().PageHeader(12, 3);
    stream.RasterBlock({0xF0, 0x10, 0x81, 0x80}, true, false, false, 2, 0);
    stream.RasterBlock({0xFF, 0xF0}, false, true, false, 1, 0);
    stream.PageEnd(1).JobEnd();
    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ASSERT_EQ(decoded.pages.size(), 1u);
    const std::vector<uint8_t> expected = {0xF0, 0x10, 0x81, 0x80, 0xFF, 0xF0};
    EXPECT_EQ(*decoded.pages[0].planes[0], expected);
}

TEST_F(DecoderRoundTrip, PaddingBitsOfRawRowsAreCleared)
{
    StreamBuilder stream;
    stream.JobStart().PageHeader(12, 1);
    stream.RasterBlock({0xAB, 0xCF}, false, true, false, 1, 0);
    stream.PageEnd(1).JobEnd();
    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    EXPECT_EQ(*decoded.pages[0].planes[0], (std::vector<uint8_t> {0xAB, 0xC0}));
}

TEST_F(DecoderRoundTrip, BandSplitIntoJbigAndRawBlocksDecodes)
{
    // A band the library encoded only in part: a JBIG block of the first rows, the rest raw.
    const TestPage page = MakePage(200, 64, {PlanePattern::TextLike}, 9);
    const size_t rowBytes = 25;
    orvtest::CompressCall head(page.planes[0].data(), 200, 20, 64 * rowBytes);
    ASSERT_EQ(head.Run(compress()), COMPRESS_OK);
    StreamBuilder stream;
    stream.JobStart().PageHeader(200, 64);
    stream.RasterBlock(head.Written(), false, false, true, 20, 0);
    std::vector<uint8_t> rest(page.planes[0].begin() + 20 * rowBytes, page.planes[0].end());
    stream.RasterBlock(rest, false, true, false, 44, 0);
    stream.PageEnd(1).JobEnd();
    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ExpectSamePlanes(decoded.pages[0], page);
}

TEST_F(DecoderRoundTrip, JobWithSeveralPagesKeepsEveryLineAndCommand)
{
    const TestPage mono = MakePage(320, 100, {PlanePattern::TextLike}, 21);
    const TestPage colour = MakePage(160, 40, {PlanePattern::Dither, PlanePattern::Dither, PlanePattern::Empty,
                                               PlanePattern::TextLike},
                                     22);
    StreamBuilder stream;
    stream.JobStart().PageHeader(320, 100);
    orvtest::AppendPageBlocks(stream, compress(), mono, 64);
    stream.PageEnd(1);
    stream.Text("\033&&0S");  // a keep-alive between pages
    stream.PageHeader(160, 40);
    orvtest::AppendPageBlocks(stream, compress(), colour, 64);
    stream.PageEnd(15).JobEnd();

    const DecodedStream decoded = Decode(stream);
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ASSERT_EQ(decoded.pages.size(), 2u);
    ExpectSamePlanes(decoded.pages[0], mono);
    ExpectSamePlanes(decoded.pages[1], colour);
    EXPECT_EQ(decoded.pages[1].number, 2u);

    std::vector<std::string> pjl;
    size_t uels = 0;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        if (event.kind == EventKind::PjlLine) {
            pjl.push_back(event.text);
        }
        uels += event.kind == EventKind::Uel;
    }
    const std::vector<std::string> expectedPjl = {"@PJL JOB NAME=\"test\"", "@PJL SET COPIES=1",
                                                  "@PJL ENTER LANGUAGE=GDI", "@PJL EOJ=\"test\""};
    EXPECT_EQ(pjl, expectedPjl);
    EXPECT_EQ(uels, 3u);

    const std::string summary = orvdecode::FormatSummary(decoded);
    for (const char* line : {"ESC*r100T      raster height = 100", "ESC&&15R       page end, ink planes = 15",
                             "page 2: 160 x 40 dots, colour", "2 pages, stream complete"}) {
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\n" << summary;
    }
}

}  // namespace
