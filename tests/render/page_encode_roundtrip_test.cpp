// Round trip: pages encoded into raster blocks by the page encoder and decoded by the stream
// decoder equal the page bitmap bit for bit; random pages and pages rendered by Ghostscript,
// monochrome and colour, through the package's library, without a library, and through libraries
// that stop early, encode no row or fail.
#include "CompressDoubles.h"
#include "EncodeTestSupport.h"

#include "filter/render/encode/PageEncode.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"
#include "tools/stream-decoder/lib/StreamSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using encodetest::Act;
using encodetest::CompressScript;
using encodetest::EncodePageFixture;
using orvtest::MakePlane;
using orvtest::PlanePattern;

struct TestPage {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::vector<uint8_t>> planes;  // one, or cyan, magenta, yellow, black
};

// A binary PNM file (P4 or P6) of the sample directory: its kind, size and pixel bytes.
struct Pnm {
    char kind = 0;
    unsigned width = 0;
    unsigned height = 0;
    std::vector<uint8_t> pixels;
};

bool ReadPnm(const std::string& path, Pnm& pnm)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic;
    if (magic != "P4" && magic != "P6") {
        return false;
    }
    pnm.kind = magic[1];
    auto number = [&in](unsigned& value) {
        in >> std::ws;
        while (in.peek() == '#') {
            std::string comment;
            std::getline(in, comment);
            in >> std::ws;
        }
        return static_cast<bool>(in >> value);
    };
    unsigned maxValue = 1;
    if (!number(pnm.width) || !number(pnm.height) || (pnm.kind == '6' && !number(maxValue))) {
        return false;
    }
    if (maxValue != 1 && maxValue != 255) {
        return false;
    }
    if (pnm.width == 0 || pnm.height == 0 || pnm.width > 20000 || pnm.height > 20000) {
        return false;  // a sample page is small; anything else is not one
    }
    in.get();  // the one white-space character before the pixels
    const size_t size = pnm.kind == '4' ? encodetest::RowBytes(pnm.width) * pnm.height
                                        : static_cast<size_t>(pnm.width) * pnm.height * 3;
    pnm.pixels.resize(size);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(pnm.pixels.data()), static_cast<std::streamsize>(size)));
}

void SetDot(std::vector<uint8_t>& plane, size_t rowBytes, unsigned x, unsigned y)
{
    plane[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
}

// An RGB page screened into cyan, magenta, yellow and black planes: full black generation, then an
// 8 x 8 ordered dither per plane (the screen the printer's planes typically carry).
TestPage ScreenRgb(const Pnm& pnm)
{
    static const int kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                     {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                     {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                     {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    TestPage page;
    page.width = pnm.width;
    page.height = pnm.height;
    const size_t rowBytes = encodetest::RowBytes(pnm.width);
    page.planes.assign(4, std::vector<uint8_t>(rowBytes * pnm.height, 0));
    for (unsigned y = 0; y < pnm.height; ++y) {
        for (unsigned x = 0; x < pnm.width; ++x) {
            const uint8_t* rgb = &pnm.pixels[(static_cast<size_t>(y) * pnm.width + x) * 3];
            const int c = 255 - rgb[0], m = 255 - rgb[1], ye = 255 - rgb[2];
            const int k = std::min({c, m, ye});
            const int levels[4] = {c - k, m - k, ye - k, k};
            const int threshold = kBayer[y % 8][x % 8] * 4 + 2;
            for (int p = 0; p < 4; ++p) {
                if (levels[p] > threshold) {
                    SetDot(page.planes[p], rowBytes, x, y);
                }
            }
        }
    }
    return page;
}

enum class PageKind { RandomMono, RandomColour, RenderedMono, RenderedColour };

const char* PageKindName(PageKind kind)
{
    switch (kind) {
    case PageKind::RandomMono:
        return "RandomMono";
    case PageKind::RandomColour:
        return "RandomColour";
    case PageKind::RenderedMono:
        return "RenderedMono";
    case PageKind::RenderedColour:
        return "RenderedColour";
    }
    return "?";
}

bool MakeTestPage(PageKind kind, TestPage& page)
{
    switch (kind) {
    case PageKind::RandomMono:
        page.width = 1001;
        page.height = 700;
        page.planes = {MakePlane(PlanePattern::TextLike, page.width, page.height, 11)};
        return true;
    case PageKind::RandomColour:
        page.width = 603;
        page.height = 600;
        page.planes = {MakePlane(PlanePattern::TextLike, 603, 600, 1), MakePlane(PlanePattern::Dither, 603, 600, 2),
                       MakePlane(PlanePattern::Noise, 603, 600, 3), MakePlane(PlanePattern::Sparse, 603, 600, 4)};
        return true;
    case PageKind::RenderedMono: {
        Pnm pnm;
        if (!ReadPnm(std::string(ORV_ENCODE_SAMPLE_DIR) + "/page.pbm", pnm) || pnm.kind != '4') {
            return false;
        }
        page.width = pnm.width;
        page.height = pnm.height;
        page.planes = {pnm.pixels};
        return true;
    }
    case PageKind::RenderedColour: {
        Pnm pnm;
        if (!ReadPnm(std::string(ORV_ENCODE_SAMPLE_DIR) + "/page.ppm", pnm) || pnm.kind != '6') {
            return false;
        }
        page = ScreenRgb(pnm);
        return true;
    }
    }
    return false;
}

// How the compression library behaves for the whole page.
// StopsEarlyInStripes: stops early on a model whose images are cut into stripes of 16 rows.
enum class Library { Package, Missing, StopsEarly, StopsEarlyInStripes, SometimesNoRow, FailsAfterAPiece };

// The stripe rows of the model that StopsEarlyInStripes prints on.
constexpr DWORD kModelStripeRows = 16;

const char* LibraryName(Library library)
{
    switch (library) {
    case Library::Package:
        return "Package";
    case Library::Missing:
        return "Missing";
    case Library::StopsEarly:
        return "StopsEarly";
    case Library::StopsEarlyInStripes:
        return "StopsEarlyInStripes";
    case Library::SometimesNoRow:
        return "SometimesNoRow";
    case Library::FailsAfterAPiece:
        return "FailsAfterAPiece";
    }
    return "?";
}

class PageRoundTrip : public ::testing::TestWithParam<std::tuple<PageKind, Library>> {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }

    // Sets the library up; false when the page is sent without one.
    PFNCOMPRESS Bind(Library library)
    {
        switch (library) {
        case Library::Package:
            return m_lib.entry();
        case Library::Missing:
            return nullptr;
        case Library::StopsEarly:
        case Library::StopsEarlyInStripes:
            CompressScript::Start(m_lib.entry(), {{Act::Partial, 37}}, true);
            return CompressScript::Entry;
        case Library::SometimesNoRow:
            CompressScript::Start(m_lib.entry(), {{Act::ZeroRows}, {Act::Partial, 100}, {Act::Real}}, true);
            return CompressScript::Entry;
        case Library::FailsAfterAPiece:
            CompressScript::Start(m_lib.entry(), {{Act::Partial, 60}, {Act::Fail}}, true);
            return CompressScript::Entry;
        }
        return nullptr;
    }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_P(PageRoundTrip, DecodedPageEqualsTheBitmap)
{
    const auto [kind, library] = GetParam();
    TestPage source;
    ASSERT_TRUE(MakeTestPage(kind, source)) << "sample page missing in " << ORV_ENCODE_SAMPLE_DIR;
    ASSERT_GT(source.height, 512u) << "the page should take more than one band";
    for (const std::vector<uint8_t>& plane : source.planes) {
        ASSERT_TRUE(std::any_of(plane.begin(), plane.end(), [](uint8_t b) { return b != 0; })) << "a blank plane";
    }

    EncodePageFixture page;
    page.SetPage(source.width, source.height, source.planes);
    page.context()->pfnCompress = Bind(library);
    if (library == Library::StopsEarlyInStripes) {
        page.context()->dwStripeRows = kModelStripeRows;
    }
    ASSERT_EQ(EncodePage(page.context(), source.width, source.height, 0, page.settings(), page.options()), FLAG_TRUE);
    const std::vector<uint8_t> blocks = encodetest::DrainOutput(page.context());

    // Without a library every block is raw; with one, something was compressed.
    const std::vector<encodetest::Block> read = encodetest::ReadBlocks(blocks);
    const bool anyJbig = std::any_of(read.begin(), read.end(), [](const auto& b) { return b.compression == 11; });
    EXPECT_EQ(anyJbig, library != Library::Missing);

    const std::vector<uint8_t> stream = encodetest::WrapPage(blocks, source.width, source.height);
    const orvdecode::DecodedStream decoded = orvdecode::DecodeStream(stream.data(), stream.size());
    ASSERT_TRUE(decoded.ok()) << orvdecode::FormatError(*decoded.error);
    ASSERT_EQ(decoded.pages.size(), 1u);
    const orvdecode::DecodedPage& result = decoded.pages[0];
    if (source.planes.size() == 1) {
        EXPECT_FALSE(result.IsColour());
        ASSERT_TRUE(result.planes[0].has_value());
        EXPECT_TRUE(*result.planes[0] == source.planes[0]) << "the black plane differs";
        return;
    }
    const unsigned numbers[4] = {1, 2, 3, 0};  // cyan, magenta, yellow, black
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_TRUE(result.planes[numbers[i]].has_value());
        EXPECT_TRUE(*result.planes[numbers[i]] == source.planes[i]) << "bitmap plane " << i << " differs";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PageRoundTrip,
                         ::testing::Combine(::testing::Values(PageKind::RandomMono, PageKind::RandomColour,
                                                              PageKind::RenderedMono, PageKind::RenderedColour),
                                            ::testing::Values(Library::Package, Library::Missing, Library::StopsEarly,
                                                              Library::StopsEarlyInStripes, Library::SometimesNoRow,
                                                              Library::FailsAfterAPiece)),
                         [](const auto& info) {
                             return std::string(PageKindName(std::get<0>(info.param))) + "_" +
                                    LibraryName(std::get<1>(info.param));
                         });

}  // namespace
