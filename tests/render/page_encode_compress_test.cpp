// Band compression through the library's entry: the parameter block each call is given, bands the
// library encodes whole, in pieces, not at all or with results that cannot be true, and the page
// that the stream decoder rebuilds from the blocks in every case.
#include "CompressDoubles.h"
#include "EncodeTestSupport.h"

#include "filter/render/encode/BandCompress.h"
#include "filter/render/encode/PageEncode.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"
#include "tools/stream-decoder/lib/StreamSummary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using encodetest::Act;
using encodetest::Block;
using encodetest::CompressScript;
using encodetest::EncodePageFixture;
using encodetest::ReadBlocks;
using encodetest::Step;
using orvtest::MakePlane;
using orvtest::PlanePattern;

class BandCompression : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }
    PFNCOMPRESS real() const { return m_lib.entry(); }

private:
    orvtest::CompressLibrary m_lib;
};

// The block each call of the entry is given, field by field.
TEST_F(BandCompression, ParameterBlockCarriesTheBandAsLaidOut)
{
    const unsigned width = 200, height = 150;  // 25 bytes a row
    const std::vector<uint8_t> plane = MakePlane(PlanePattern::Dither, width, height, 3);
    EncodePageFixture page;
    page.SetPage(width, height, {plane});
    page.context()->pfnCompress = CompressScript::Entry;
    page.context()->dwCompressOption = 0x10B;  // the option byte is its low byte
    page.context()->dwStripeRows = 0;
    CompressScript::Start(real(), {{Act::Partial, 30}});
    ASSERT_EQ(EncodePage(page.context(), width, height, 100, page.settings(), page.options()), FLAG_TRUE);

    struct Expect {
        size_t firstRow;    // row of the page the call starts at
        DWORD rows;         // rows asked
        size_t outputSize;  // the band's raw size
    };
    const Expect expected[] = {{0, 100, 2500}, {30, 70, 2500}, {100, 50, 1250}};
    const std::vector<encodetest::SeenCall>& seen = CompressScript::Seen();
    ASSERT_EQ(seen.size(), 3u);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        const tagCOMPRESSPARAMS& p = seen[i].params;
        const uint8_t* raw = reinterpret_cast<const uint8_t*>(&p);
        EXPECT_EQ(raw[0], 0);
        EXPECT_EQ(raw[1], 1);
        EXPECT_EQ(raw[2], 6);
        EXPECT_EQ(raw[3], 4);
        EXPECT_EQ(p.wReserved4, 0);
        EXPECT_NE(p.pOutput, nullptr);
        EXPECT_EQ(p.qwOutputSize, expected[i].outputSize);
        EXPECT_EQ(p.qwBytesWritten, 0u);
        EXPECT_EQ(p.wWidth, width);
        EXPECT_EQ(p.wWidth2, width);
        EXPECT_EQ(p.wRows, expected[i].rows);
        EXPECT_EQ(p.dwRows, expected[i].rows);
        EXPECT_EQ(p.wReserved44, 0);
        EXPECT_EQ(p.dwRowsEncoded, 0u);
        EXPECT_TRUE(seen[i].workRowsZeroed);
        EXPECT_EQ(p.bOption, 0x0B);
        EXPECT_EQ(p.bReserved89, 0);
        EXPECT_EQ(p.bReserved90, 1);
        EXPECT_EQ(p.bReserved91, 0);
        EXPECT_EQ(p.dwStripeRows, expected[i].rows);  // the model gives 0: all rows to encode
        EXPECT_EQ(p.qwReserved96, 0u);
        EXPECT_EQ(p.pOutputAgain, p.pOutput);
        EXPECT_EQ(p.pRenderContext, page.context());
        EXPECT_EQ(p.dwReserved120, 0u);
        EXPECT_TRUE(std::all_of(std::begin(p.abReserved124), std::end(p.abReserved124), [](BYTE b) { return b == 0; }));
        const std::vector<uint8_t> row(plane.begin() + static_cast<std::ptrdiff_t>(expected[i].firstRow * 25),
                                       plane.begin() + static_cast<std::ptrdiff_t>(expected[i].firstRow * 25 + 25));
        EXPECT_EQ(seen[i].firstRow, row) << "the call does not start at the first row not yet encoded";
    }
}

TEST_F(BandCompression, ModelStripeRowsArePassedOn)
{
    EncodePageFixture page;
    page.SetPage(64, 40, {MakePlane(PlanePattern::TextLike, 64, 40)});
    page.context()->pfnCompress = CompressScript::Entry;
    page.context()->dwStripeRows = 16;
    CompressScript::Start(real(), {});
    ASSERT_EQ(EncodePage(page.context(), 64, 40, 512, page.settings(), page.options()), FLAG_TRUE);
    ASSERT_EQ(CompressScript::Seen().size(), 1u);
    EXPECT_EQ(CompressScript::Seen()[0].params.dwStripeRows, 16u);
}

// The page's blocks, framed as a one-page job, decode to the monochrome plane they were made of.
void ExpectPageComesBack(const std::vector<uint8_t>& blocks, unsigned width, unsigned height,
                         const std::vector<uint8_t>& plane)
{
    const std::vector<uint8_t> stream = encodetest::WrapPage(blocks, width, height);
    const orvdecode::DecodedStream decoded = orvdecode::DecodeStream(stream.data(), stream.size());
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ASSERT_EQ(decoded.pages.size(), 1u);
    ASSERT_TRUE(decoded.pages[0].planes[0].has_value());
    EXPECT_TRUE(*decoded.pages[0].planes[0] == plane) << "the decoded page differs from the bitmap";
}

// One block of a page: rows, JBIG or raw, first and last band bytes.
struct Expect {
    uint16_t rows;
    bool jbig;
    bool first;
    bool last;
};

struct ScriptCase {
    const char* name;
    std::vector<Step> script;  // calls in order; the package's library after the script ends
    std::vector<Expect> blocks;
};

// A monochrome page of 200 x 150 dots in bands of 100 rows: two bands, 100 and 50 rows.
const ScriptCase kScriptCases[] = {
    {"WholeBandsAreOneJbigBlockEach", {}, {{100, true, true, false}, {50, true, false, true}}},
    {"EarlyStopSplitsTheBandWithFlagsOnItsEnds",
     {{Act::Partial, 30}, {Act::Partial, 30}},
     {{30, true, true, false}, {30, true, false, false}, {40, true, false, false}, {50, true, false, true}}},
    {"NoRowEncodedSendsThatRowRawAndGoesOn",
     {{Act::ZeroRows}},
     {{1, false, true, false}, {99, true, false, false}, {50, true, false, true}}},
    {"NoRowEncodedOnTheLastRowCarriesTheLastFlag",
     {{Act::Real}, {Act::Partial, 49}, {Act::ZeroRows}},
     {{100, true, true, false}, {49, true, false, false}, {1, false, false, true}}},
    {"FailureSendsTheRestOfTheBandRaw",
     {{Act::Partial, 30}, {Act::Fail}},
     {{30, true, true, false}, {70, false, false, false}, {50, true, false, true}}},
    {"FailureInTheLastBandCarriesTheLastFlag",
     {{Act::Real}, {Act::Partial, 20}, {Act::Fail}},
     {{100, true, true, false}, {20, true, false, false}, {30, false, false, true}}},
    {"FailureOnTheFirstCallSendsTheBandRaw", {{Act::Fail}}, {{100, false, true, false}, {50, true, false, true}}},
    {"MoreBytesThanTheBufferCountAsFailure", {{Act::Overlong}}, {{100, false, true, false}, {50, true, false, true}}},
    {"MoreRowsThanAskedCountAsFailure",
     {{Act::Partial, 10}, {Act::ExtraRows}},
     {{10, true, true, false}, {90, false, false, false}, {50, true, false, true}}},
    {"RowsInLessThanAHeaderCountAsFailure", {{Act::ShortHeader}}, {{100, false, true, false}, {50, true, false, true}}},
};

class ScriptedBands : public BandCompression, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(ScriptedBands, BlocksFollowTheLibrarysResultsAndThePageComesBack)
{
    const ScriptCase& c = GetParam();
    const unsigned width = 200, height = 150;
    const std::vector<uint8_t> plane = MakePlane(PlanePattern::Dither, width, height, 5);
    EncodePageFixture page;
    page.SetPage(width, height, {plane});
    page.context()->pfnCompress = CompressScript::Entry;
    CompressScript::Start(real(), c.script);
    ASSERT_EQ(EncodePage(page.context(), width, height, 100, page.settings(), page.options()), FLAG_TRUE);
    const std::vector<uint8_t> bytes = encodetest::DrainOutput(page.context());

    const std::vector<Block> blocks = ReadBlocks(bytes);
    ASSERT_EQ(blocks.size(), c.blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        const Block& b = blocks[i];
        EXPECT_EQ(b.rows, c.blocks[i].rows);
        EXPECT_EQ(b.compression, c.blocks[i].jbig ? 11 : 0);
        EXPECT_EQ(b.first, c.blocks[i].first);
        EXPECT_EQ(b.last, c.blocks[i].last);
        EXPECT_EQ(b.plane, 0);
        if (c.blocks[i].jbig) {
            // The image and stripe heights of the JBIG header are the block's own rows.
            ASSERT_GE(b.data.size(), 20u);
            EXPECT_EQ(encodetest::Be32(b.data.data() + 8), b.rows);
            EXPECT_EQ(encodetest::Be32(b.data.data() + 12), b.rows);
        } else {
            EXPECT_EQ(b.length, b.rows * 25u);
        }
    }

    ExpectPageComesBack(bytes, width, height, plane);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptedBands, ::testing::ValuesIn(kScriptCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every band's call finds its output buffer and work rows zeroed, also after a band whose call wrote
// over all of them, and on a band shorter than the one before; the page still comes back whole. The
// width is not a whole number of bytes, so stale padding bits would show.
TEST_F(BandCompression, EveryBandFindsItsBuffersZeroed)
{
    const unsigned width = 203, height = 250;  // bands of 100, 100 and 50 rows
    const std::vector<uint8_t> plane = MakePlane(PlanePattern::Dither, width, height, 7);
    EncodePageFixture page;
    page.context()->pfnCompress = CompressScript::Entry;
    CompressScript::Start(real(), {{Act::Scribble}, {Act::Real}, {Act::Scribble}, {Act::Real}});
    for (int run = 0; run < 2; ++run) {  // the second page's first band follows the first page's last
        SCOPED_TRACE("page " + std::to_string(run + 1));
        page.SetPage(width, height, {plane});
        ASSERT_EQ(EncodePage(page.context(), width, height, 100, page.settings(), page.options()), FLAG_TRUE);
        const std::vector<uint8_t> bytes = encodetest::DrainOutput(page.context());
        ExpectPageComesBack(bytes, width, height, plane);
    }
    const std::vector<encodetest::SeenCall>& seen = CompressScript::Seen();
    ASSERT_EQ(seen.size(), 6u);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        EXPECT_TRUE(seen[i].workRowsZeroed);
        EXPECT_TRUE(seen[i].outputZeroed);
    }
}

// The context's band flags are the band's again after the band, however many blocks it took.
TEST_F(BandCompression, CompressBandLeavesTheBandFlagsAsTheyWere)
{
    const std::vector<uint8_t> plane = MakePlane(PlanePattern::Dither, 64, 30, 2);
    for (WORD flags : {WORD{0}, WORD{BAND_FIRST}, WORD{BAND_LAST}, WORD{BAND_FIRST | BAND_LAST}}) {
        SCOPED_TRACE(flags);
        EncodePageFixture page;
        page.context()->pfnCompress = CompressScript::Entry;
        page.context()->wBandFlags = flags;
        CompressScript::Start(real(), {{Act::Partial, 10}, {Act::ZeroRows}, {Act::Fail}});
        tagOUTPUTBUFFER* out = RendererStartOutput(page.context());
        EXPECT_EQ(CompressBand(page.context(), out, plane.data(), 2, 64, 30), FLAG_TRUE);
        EXPECT_EQ(page.context()->wBandFlags, flags);
        const std::vector<Block> blocks = ReadBlocks(encodetest::DrainOutput(page.context()));
        ASSERT_EQ(blocks.size(), 3u);
        EXPECT_EQ(blocks[0].first, (flags & BAND_FIRST) != 0);
        EXPECT_EQ(blocks[2].last, (flags & BAND_LAST) != 0);
        EXPECT_FALSE(blocks[0].last || blocks[1].first || blocks[1].last || blocks[2].first);
    }
}

// Nothing is written when the library cannot take the band; the caller then sends it raw.
TEST_F(BandCompression, CompressBandWritesNothingItCannotCompress)
{
    struct Case {
        const char* name;
        bool entry;
        DWORD width;
        DWORD rows;
    };
    const Case cases[] = {
        {"no library", false, 64, 8},
        {"wider than the 16-bit width", true, 65536, 2},
        {"no dots", true, 0, 2},
        {"taller than the 16-bit row count", true, 8, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> band(encodetest::RowBytes(c.width) * c.rows, 0x0F);
        EncodePageFixture page;
        page.context()->pfnCompress = c.entry ? CompressScript::Entry : nullptr;
        CompressScript::Start(real(), {});
        tagOUTPUTBUFFER* out = RendererStartOutput(page.context());
        EXPECT_EQ(CompressBand(page.context(), out, band.data(), 0, c.width, c.rows), FLAG_FALSE);
        EXPECT_TRUE(CompressScript::Seen().empty());
        EXPECT_TRUE(encodetest::DrainOutput(page.context()).empty());
    }
}

// A page wider than the library's 16-bit width still goes out, raw.
TEST_F(BandCompression, PageWiderThanTheLibraryTakesGoesRaw)
{
    const unsigned width = 70000, height = 3;
    const std::vector<uint8_t> plane = MakePlane(PlanePattern::Sparse, width, height);
    EncodePageFixture page;
    page.SetPage(width, height, {plane});
    page.context()->pfnCompress = CompressScript::Entry;
    CompressScript::Start(real(), {});
    ASSERT_EQ(EncodePage(page.context(), width, height, 512, page.settings(), page.options()), FLAG_TRUE);
    const std::vector<Block> blocks = ReadBlocks(encodetest::DrainOutput(page.context()));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].compression, 0);
    EXPECT_EQ(blocks[0].data, plane);
    EXPECT_TRUE(CompressScript::Seen().empty());
}

}  // namespace
