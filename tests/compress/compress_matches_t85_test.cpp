// The library's encoder must put out, byte for byte, what JBIG-KIT's T.85 encoder puts out for the
// same rows and options: the printers were qualified on those bytes. Every option byte, odd
// widths, stripes of one row and of the whole image, and screens that make the adaptive template
// pixel move (near and far) are held side by side.
#include <gtest/gtest.h>

extern "C" {
#include <jbig85.h>
}

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"

namespace {

using orvtest::CompressCall;
using orvtest::PlanePattern;

void AppendBytes(unsigned char* start, size_t len, void* file)
{
    static_cast<std::vector<uint8_t>*>(file)->insert(static_cast<std::vector<uint8_t>*>(file)->end(), start,
                                                     start + len);
}

// JBIG-KIT's T.85 encoder with the option byte's meaning: bit 0 two-row template, bit 1 typical
// prediction, bit 2 fixed template pixel, bit 3 template pixel up to 127 dots away (else 8).
std::vector<uint8_t> ReferenceEncode(std::vector<uint8_t> plane, unsigned width, unsigned rows, BYTE option,
                                     unsigned stripeRows)
{
    std::vector<uint8_t> out;
    jbg85_enc_state state;
    jbg85_enc_init(&state, width, rows, AppendBytes, &out);
    const int options = ((option & COMPRESS_OPT_TWO_LINE_TEMPLATE) ? JBG_LRLTWO : 0) |
                        ((option & COMPRESS_OPT_TYPICAL_PREDICTION) ? JBG_TPBON : 0);
    const int maxShift = (option & COMPRESS_OPT_FIXED_TEMPLATE) ? 0 : (option & COMPRESS_OPT_WIDE_TEMPLATE) ? 127 : 8;
    jbg85_enc_options(&state, options, stripeRows, maxShift);
    const size_t rowBytes = orvtest::PlaneRowBytes(width);
    for (unsigned y = 0; y < rows; ++y) {
        unsigned char* line = plane.data() + y * rowBytes;
        jbg85_enc_lineout(&state, line, y >= 1 ? line - rowBytes : nullptr, y >= 2 ? line - 2 * rowBytes : nullptr);
    }
    return out;
}

// Rows that repeat across with the given period (a screen whose dots line up `period` dots apart)
// from a third of the width on, white before it, with a little noise so that not every row is
// typical and not every white stretch is clean.
std::vector<uint8_t> PeriodicPlane(unsigned width, unsigned rows, unsigned period, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> cell(period);
    const size_t rowBytes = orvtest::PlaneRowBytes(width);
    std::vector<uint8_t> plane(rowBytes * rows, 0);
    for (unsigned y = 0; y < rows; ++y) {
        for (unsigned x = 0; x < period; ++x) {
            cell[x] = random() % 3 == 0;
        }
        for (unsigned x = 0; x < width; ++x) {
            const bool dot = (x >= width / 3 && cell[x % period] != 0) != (random() % 97 == 0);
            if (dot) {
                plane[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return plane;
}

struct Plane {
    std::string name;
    unsigned width;
    unsigned rows;
    std::vector<uint8_t> bits;
};

std::vector<Plane> Planes()
{
    std::vector<Plane> planes;
    const struct {
        PlanePattern pattern;
        unsigned width, rows;
    } patterns[] = {
        {PlanePattern::TextLike, 4958, 128}, {PlanePattern::TextLike, 1003, 96}, {PlanePattern::Dither, 640, 80},
        {PlanePattern::Sparse, 999, 70},     {PlanePattern::Noise, 203, 40},     {PlanePattern::Solid, 77, 20},
        {PlanePattern::Empty, 300, 10},      {PlanePattern::TextLike, 1, 9},     {PlanePattern::Dither, 2, 9},
        {PlanePattern::Dither, 9, 1},
    };
    for (const auto& p : patterns) {
        planes.push_back({std::string(orvtest::PatternName(p.pattern)) + " " + std::to_string(p.width) + "x" +
                              std::to_string(p.rows),
                          p.width, p.rows, orvtest::MakePlane(p.pattern, p.width, p.rows, p.width)});
    }
    // Screens whose template pixel moves: within the register (4, 7 dots), beyond it (60, 100).
    for (unsigned period : {4u, 7u, 60u, 100u}) {
        planes.push_back({"period " + std::to_string(period), 1205, 300, PeriodicPlane(1205, 300, period, period)});
    }
    return planes;
}

TEST(CompressMatchesT85, SameBytesAsJbigKitForEveryOptionAndStripeHeight)
{
    orvtest::CompressLibrary library;
    ASSERT_NE(library.entry(), nullptr) << library.error();
    const BYTE options[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x08, 0x0A, 0x0B, 0xF2};
    for (const Plane& plane : Planes()) {
        for (unsigned stripeRows : {1u, 64u, plane.rows}) {
            for (BYTE option : options) {
                SCOPED_TRACE(plane.name + ", stripes of " + std::to_string(stripeRows) + ", option " +
                             std::to_string(option));
                CompressCall call(plane.bits.data(), plane.width, plane.rows, 4 * plane.bits.size() + 256, option,
                                  stripeRows);
                ASSERT_EQ(call.Run(library.entry()), COMPRESS_OK);
                ASSERT_EQ(call.params.dwRowsEncoded, plane.rows);
                // (the library cuts a stripe height above the image's to the image's)
                const std::vector<uint8_t> expected =
                    ReferenceEncode(plane.bits, plane.width, plane.rows, option, std::min(stripeRows, plane.rows));
                ASSERT_EQ(call.Written(), expected);
            }
        }
    }
}

TEST(CompressMatchesT85, TheTemplatePixelReallyMovesInTheseCases)
{
    // Without a move the cases above would not reach the encoder's moved-template paths. A move
    // takes effect from the next stripe, so the stripes here are of 64 rows. (Coded data never
    // holds 0xFF 0x06: a coded 0xFF is always followed by 0x00.)
    const std::vector<uint8_t> atmove = {0xFF, 0x06};
    for (unsigned period : {4u, 7u, 60u, 100u}) {
        SCOPED_TRACE("period " + std::to_string(period));
        const std::vector<uint8_t> encoded =
            ReferenceEncode(PeriodicPlane(1205, 300, period, period), 1205, 300, COMPRESS_OPT_WIDE_TEMPLATE, 64);
        EXPECT_NE(std::search(encoded.begin(), encoded.end(), atmove.begin(), atmove.end()), encoded.end());
    }
}

}  // namespace
