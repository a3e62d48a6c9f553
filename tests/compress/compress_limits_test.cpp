// The compression library stays inside the output size it is given, answers with fewer rows (an
// image of its own, decodable as it stands) or a failure when the rows do not fit, and refuses a
// malformed parameter block without writing anything.
#include <gtest/gtest.h>

#include "compress/JbigImage.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"

namespace {

using orvtest::CompressCall;
using orvtest::PlanePattern;

class CompressLimits : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }
    PFNCOMPRESS compress() const { return m_lib.entry(); }

    // Checks one answer against the contract: inside the buffer, and on success a JBIG image of
    // exactly the first rows encoded.
    void ExpectValidAnswer(CompressCall& call, int status, const std::vector<uint8_t>& plane, unsigned width,
                           unsigned rows)
    {
        const size_t outputSize = call.output.size() - orvtest::kOutputGuardBytes;
        EXPECT_TRUE(call.GuardIntact());
        if (status != COMPRESS_OK) {
            EXPECT_EQ(call.params.qwBytesWritten, 0u);
            EXPECT_EQ(call.params.dwRowsEncoded, 0u);
            return;
        }
        const unsigned encoded = call.params.dwRowsEncoded;
        EXPECT_GE(encoded, 1u);
        EXPECT_LE(encoded, rows);
        ASSERT_LE(call.params.qwBytesWritten, outputSize);
        const std::vector<BYTE> out = call.Written();
        ASSERT_GE(out.size(), kJbigHeaderSize);
        EXPECT_EQ(orvtest::BigEndian32(out, kJbigHeaderHeightOffset), encoded);
        if (encoded < rows) {
            // One stripe, so that rewriting both heights to the rows encoded changes nothing.
            EXPECT_EQ(orvtest::BigEndian32(out, kJbigHeaderStripeOffset), encoded);
        }
        const orvtest::JbigImage image = orvtest::DecodeJbig(out);
        ASSERT_TRUE(image.ok);
        const size_t prefix = orvtest::PlaneRowBytes(width) * encoded;
        EXPECT_TRUE(std::equal(image.bits.begin(), image.bits.end(), plane.begin(), plane.begin() + prefix) &&
                    image.bits.size() == prefix);
    }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_F(CompressLimits, NeverWritesPastTheOutputSize)
{
    const unsigned width = 600, rows = 128;
    const size_t raw = orvtest::PlaneRowBytes(width) * rows;
    const PlanePattern patterns[] = {PlanePattern::Noise, PlanePattern::TextLike, PlanePattern::Dither,
                                     PlanePattern::Solid, PlanePattern::Empty};
    const size_t sizes[] = {0, 1, 19, 20, 21, 24, 40, 100, raw / 8, raw / 2, raw - 1, raw, raw + 500};
    for (PlanePattern pattern : patterns) {
        const std::vector<uint8_t> plane = orvtest::MakePlane(pattern, width, rows, 11);
        for (size_t size : sizes) {
            SCOPED_TRACE(std::string(orvtest::PatternName(pattern)) + " into " + std::to_string(size) + " bytes");
            CompressCall call(plane.data(), width, rows, size);
            const int status = call.Run(compress());
            ExpectValidAnswer(call, status, plane, width, rows);
        }
    }
}

TEST_F(CompressLimits, NoRoomForTheHeaderIsAFailure)
{
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::Empty, 64, 8);
    for (size_t size : {size_t(0), size_t(1), size_t(kJbigHeaderSize - 1)}) {
        CompressCall call(plane.data(), 64, 8, size);
        EXPECT_EQ(call.Run(compress()), COMPRESS_NO_ROOM) << size;
        EXPECT_TRUE(call.GuardIntact());
    }
}

TEST_F(CompressLimits, CompressibleBandAlwaysFitsItsRawSize)
{
    const PlanePattern patterns[] = {PlanePattern::Empty, PlanePattern::Solid, PlanePattern::TextLike,
                                     PlanePattern::Sparse, PlanePattern::Dither};
    for (PlanePattern pattern : patterns) {
        SCOPED_TRACE(orvtest::PatternName(pattern));
        const std::vector<uint8_t> plane = orvtest::MakePlane(pattern, 1200, 512, 5);
        CompressCall call(plane.data(), 1200, 512, plane.size());
        ASSERT_EQ(call.Run(compress()), COMPRESS_OK);
        EXPECT_EQ(call.params.dwRowsEncoded, 512u);
    }
}

TEST_F(CompressLimits, IncompressibleBandIsEncodedInPiecesThatEachFit)
{
    // Noise costs a little more than raw. Given the band's raw size (as the renderer gives it),
    // the library encodes a prefix; calling again for the rows left finishes the band, and every
    // piece decodes to its own rows.
    const unsigned width = 1024, rows = 512;
    const size_t rowBytes = orvtest::PlaneRowBytes(width);
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::Noise, width, rows, 21);
    unsigned done = 0;
    int calls = 0;
    while (done < rows && calls < 10) {
        const std::vector<uint8_t> rest(plane.begin() + done * rowBytes, plane.end());
        CompressCall call(rest.data(), width, rows - done, plane.size());
        const int status = call.Run(compress());
        ++calls;
        ExpectValidAnswer(call, status, rest, width, rows - done);
        ASSERT_EQ(status, COMPRESS_OK);
        done += call.params.dwRowsEncoded;
    }
    EXPECT_EQ(done, rows);
    EXPECT_GE(calls, 2) << "noise should not fit into its raw size in one piece";
}

TEST_F(CompressLimits, StripedBandThatDoesNotFitBecomesOneStripe)
{
    const unsigned width = 512, rows = 256;
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::Noise, width, rows, 4);
    CompressCall call(plane.data(), width, rows, plane.size() / 2, COMPRESS_OPT_DEFAULT, 32);
    const int status = call.Run(compress());
    ASSERT_EQ(status, COMPRESS_OK);
    EXPECT_LT(call.params.dwRowsEncoded, rows);
    ExpectValidAnswer(call, status, plane, width, rows);
}

TEST_F(CompressLimits, MalformedBlockIsRefusedWithoutWriting)
{
    struct Case {
        const char* name;
        void (*spoil)(tagCOMPRESSPARAMS&);
    };
    const Case cases[] = {
        {"layout tag", [](tagCOMPRESSPARAMS& p) { p.abLayoutTag[2] = 7; }},
        {"no output buffer", [](tagCOMPRESSPARAMS& p) { p.pOutput = nullptr; }},
        {"no rows", [](tagCOMPRESSPARAMS& p) { p.pFirstRow = nullptr; }},
        {"width 0", [](tagCOMPRESSPARAMS& p) { p.wWidth = p.wWidth2 = 0; }},
        {"widths differ", [](tagCOMPRESSPARAMS& p) { p.wWidth2 = static_cast<WORD>(p.wWidth + 8); }},
        {"row count 0", [](tagCOMPRESSPARAMS& p) { p.dwRows = 0; p.wRows = 0; }},
        {"row counts differ", [](tagCOMPRESSPARAMS& p) { p.wRows = static_cast<WORD>(p.dwRows - 1); }},
        {"no second work row", [](tagCOMPRESSPARAMS& p) { p.apWorkRow[1] = nullptr; }},
    };
    const std::vector<uint8_t> plane = orvtest::MakePlane(PlanePattern::TextLike, 100, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompressCall call(plane.data(), 100, 20, 1000);
        c.spoil(call.params);
        call.params.qwBytesWritten = 0xDEAD;
        call.params.dwRowsEncoded = 0xBEEF;
        EXPECT_EQ(call.Run(compress()), COMPRESS_BAD_PARAMS);
        EXPECT_EQ(call.params.qwBytesWritten, 0u);
        EXPECT_EQ(call.params.dwRowsEncoded, 0u);
        EXPECT_TRUE(std::all_of(call.output.begin(), call.output.end(),
                                [](BYTE b) { return b == orvtest::kOutputGuardValue; }));
    }
    EXPECT_EQ(compress()(nullptr), COMPRESS_BAD_PARAMS);
}

}  // namespace
