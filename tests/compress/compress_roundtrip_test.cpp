// The compression library encodes bit-plane rows as JBIG images that JBIG-KIT's own decoder turns
// back into the same rows, whatever the content, width, row count, option byte and stripe height.
#include <gtest/gtest.h>

#include <thread>

#include "compress/JbigImage.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"

namespace {

using orvtest::CompressCall;
using orvtest::PlanePattern;

class CompressRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }
    PFNCOMPRESS compress() const { return m_lib.entry(); }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_F(CompressRoundTrip, EveryPatternDecodesToTheSameRows)
{
    struct Case {
        PlanePattern pattern;
        unsigned width;
        unsigned rows;
    };
    const Case cases[] = {
        {PlanePattern::TextLike, 4960, 512},  // an A4 band at 600 dpi
        {PlanePattern::TextLike, 1000, 100},  {PlanePattern::Solid, 1000, 100},  {PlanePattern::Empty, 1000, 100},
        {PlanePattern::Dither, 1000, 100},    {PlanePattern::Sparse, 1000, 100}, {PlanePattern::Noise, 256, 64},
        {PlanePattern::TextLike, 13, 40},     // width not a multiple of 8
        {PlanePattern::Dither, 1, 5},         {PlanePattern::Solid, 9, 1},       {PlanePattern::Empty, 65535, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(orvtest::PatternName(c.pattern)) + " " + std::to_string(c.width) + "x" +
                     std::to_string(c.rows));
        const std::vector<uint8_t> plane = orvtest::MakePlane(c.pattern, c.width, c.rows);
        const std::vector<uint8_t> input = plane;
        // Room for twice the raw size: every row must fit, noise included.
        CompressCall call(input.data(), c.width, c.rows, 2 * plane.size() + 64);
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        EXPECT_EQ(call.params.dwRowsEncoded, c.rows);
        EXPECT_TRUE(input == plane) << "the caller's rows were modified";
        EXPECT_TRUE(call.GuardIntact());
        const orvtest::JbigImage image = orvtest::DecodeJbig(call.Written());
        ASSERT_TRUE(image.ok);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.rows);
        EXPECT_TRUE(image.bits == plane);
    }
}

TEST_F(CompressRoundTrip, CompressibleContentIsMuchSmallerThanRaw)
{
    // The point of the library: blank, solid and text bands shrink far below their raw size.
    const PlanePattern patterns[] = {PlanePattern::Empty, PlanePattern::Solid, PlanePattern::TextLike};
    for (PlanePattern pattern : patterns) {
        SCOPED_TRACE(orvtest::PatternName(pattern));
        const std::vector<uint8_t> plane = orvtest::MakePlane(pattern, 4960, 512);
        CompressCall call(plane.data(), 4960, 512, plane.size());
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        EXPECT_EQ(call.params.dwRowsEncoded, 512u);
        EXPECT_LT(call.params.qwBytesWritten, plane.size() / 10);
    }
}

TEST_F(CompressRoundTrip, BitsPastTheWidthAreIgnoredAndTheRowsLeftUntouched)
{
    // Rows whose width is not a multiple of 8 may carry stray bits in the last byte; they are not
    // part of the image, and the caller's rows are never modified.
    const unsigned width = 13, rows = 30;
    const std::vector<uint8_t> clean = orvtest::MakePlane(PlanePattern::TextLike, width, rows, 7);
    std::vector<uint8_t> dirty = clean;
    for (size_t row = 0; row < rows; ++row) {
        dirty[row * 2 + 1] |= 0x07;  // the three dots past 13
    }
    const std::vector<uint8_t> dirtyBefore = dirty;

    CompressCall cleanCall(clean.data(), width, rows, 1024);
    CompressCall dirtyCall(dirty.data(), width, rows, 1024);
    ASSERT_EQ(cleanCall.Run(compress()), COMPRESS_OK);
    ASSERT_EQ(dirtyCall.Run(compress()), COMPRESS_OK);
    EXPECT_EQ(dirtyCall.Written(), cleanCall.Written());
    EXPECT_EQ(dirty, dirtyBefore);
    EXPECT_EQ(orvtest::DecodeJbig(dirtyCall.Written()).bits, clean);
}

TEST_F(CompressRoundTrip, OptionByteSelectsTemplateAndPrediction)
{
    // The header records what was used: options byte 19 (0x40 two-line template, 0x08 typical
    // prediction) and byte 16, the largest adaptive-template shift.
    struct Case {
        BYTE option;
        uint8_t headerOptions;
        uint8_t maxShift;
    };
    const Case cases[] = {
        {0x00, 0x00, 8},   {0x01, 0x40, 8},   {0x02, 0x08, 8},  {0x03, 0x48, 8},
        {0x06, 0x08, 0},   {0x0A, 0x08, 127}, {0x0E, 0x08, 0},  {0xF2, 0x08, 8},  // high bits ignored
    };
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::Dither, 600, 128);
    for (const Case& c : cases) {
        SCOPED_TRACE("option " + std::to_string(c.option));
        CompressCall call(plane.data(), 600, 128, plane.size(), c.option);
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        const std::vector<BYTE> out = call.Written();
        ASSERT_GE(out.size(), kJbigHeaderSize);
        EXPECT_EQ(out[19], c.headerOptions);
        EXPECT_EQ(out[16], c.maxShift);
        EXPECT_EQ(orvtest::DecodeJbig(out).bits, plane);
    }
}

TEST_F(CompressRoundTrip, HeaderCarriesWidthHeightAndStripeHeight)
{
    // Stripe rows 0 means one stripe for the whole band; more than the rows is one stripe too.
    struct Case {
        DWORD stripeRows;
        uint32_t expectedStripe;
    };
    const Case cases[] = {{0, 200}, {64, 64}, {1, 1}, {200, 200}, {5000, 200}};
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::TextLike, 800, 200, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE("stripe rows " + std::to_string(c.stripeRows));
        CompressCall call(plane.data(), 800, 200, plane.size());
        call.params.dwStripeRows = c.stripeRows;
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        const std::vector<BYTE> out = call.Written();
        ASSERT_GE(out.size(), kJbigHeaderSize);
        EXPECT_EQ(out[0], 0) << "lowest layer";
        EXPECT_EQ(out[1], 0) << "no differential layers";
        EXPECT_EQ(out[2], 1) << "one plane";
        EXPECT_EQ(orvtest::BigEndian32(out, kJbigHeaderWidthOffset), 800u);
        EXPECT_EQ(orvtest::BigEndian32(out, kJbigHeaderHeightOffset), 200u);
        EXPECT_EQ(orvtest::BigEndian32(out, kJbigHeaderStripeOffset), c.expectedStripe);
        EXPECT_EQ(orvtest::DecodeJbig(out).bits, plane);
    }
}

TEST_F(CompressRoundTrip, ConcurrentCallsGiveTheSameBytesAsOneAtATime)
{
    // Colour planes may be compressed in parallel: the library must keep no state between calls.
    const PlanePattern patterns[] = {PlanePattern::TextLike, PlanePattern::Dither, PlanePattern::Noise,
                                     PlanePattern::Sparse};
    const unsigned width = 2000, rows = 256;
    std::vector<std::vector<uint8_t>> planes, expected;
    for (size_t i = 0; i < 8; ++i) {
        planes.push_back(orvtest::MakePlane(patterns[i % 4], width, rows, static_cast<uint32_t>(i)));
        CompressCall call(planes.back().data(), width, rows, planes.back().size());
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        expected.push_back(call.Written());
    }
    std::vector<std::vector<BYTE>> results(planes.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < planes.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int repeat = 0; repeat < 3; ++repeat) {
                CompressCall call(planes[i].data(), width, rows, planes[i].size());
                if (call.Run(compress()) == COMPRESS_OK) {
                    results[i] = call.Written();
                }
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (size_t i = 0; i < planes.size(); ++i) {
        EXPECT_EQ(results[i], expected[i]) << "plane " << i;
    }
}

}  // namespace
