// The page check of the end-to-end tests, proven on pages whose right answer is known: planes
// made straight from Ghostscript's rendering of the test documents match their reference, and a
// blank page, another page, or planes in the wrong order do not.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"

namespace orve2e {
namespace {

constexpr int kDpi = 300;

// Renders one page of a document at kDpi and makes printer planes of it: monochrome by an ordered
// dither of the gray level; colour by thresholding (black where all three channels are dark,
// otherwise cyan, magenta and yellow where red, green and blue are dark), which is exact for the
// solid colours of the pages used here.
orvdecode::DecodedPage ThresholdPlanes(const std::string& document, int page, bool colour)
{
    orvtest::ScratchDir dir;
    const std::string out = dir / "page.ppm";
    const RunResult gs = Run({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw", "-r" + std::to_string(kDpi),
                              "-dFirstPage=" + std::to_string(page), "-dLastPage=" + std::to_string(page),
                              "-sOutputFile=" + out, document});
    orvdecode::DecodedPage printed;
    const std::string bytes = ReadFileText(out);
    unsigned width = 0;
    unsigned height = 0;
    size_t header = 0;
    if (gs.status != 0 || !ParsePnmHeader(bytes, "P6", &width, &height, &header) ||
        bytes.size() < header + size_t(width) * height * 3) {
        ADD_FAILURE() << "cannot render " << document << ": " << gs.output;
        return printed;
    }
    printed.width = width;
    printed.height = height;
    const size_t rowBytes = printed.RowBytes();
    for (size_t plane = 0; plane < (colour ? 4u : 1u); ++plane) {
        printed.planes[plane] = std::vector<uint8_t>(rowBytes * height, 0);
    }
    const uint8_t* pixels = reinterpret_cast<const uint8_t*>(bytes.data()) + header;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const uint8_t* p = pixels + (size_t(y) * width + x) * 3;
            const bool dark[3] = {p[0] < 128, p[1] < 128, p[2] < 128};
            const uint8_t bit = uint8_t(0x80u >> (x % 8));
            const size_t at = size_t(y) * rowBytes + x / 8;
            if (!colour) {
                // Gray levels through a 4 x 4 ordered dither, as a printer screens them.
                static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
                if ((p[0] * 30 + p[1] * 59 + p[2] * 11) / 100 < kBayer[y % 4][x % 4] * 16 + 8) {
                    (*printed.planes[0])[at] |= bit;
                }
            } else if (dark[0] && dark[1] && dark[2]) {
                (*printed.planes[0])[at] |= bit;
            } else {
                for (size_t c = 0; c < 3; ++c) {
                    if (dark[c]) {
                        (*printed.planes[c + 1])[at] |= bit;
                    }
                }
            }
        }
    }
    return printed;
}

// Moves a page right and down by whole bytes of dots, cutting what leaves it.
orvdecode::DecodedPage Shifted(const orvdecode::DecodedPage& page, size_t rightBytes, unsigned down)
{
    orvdecode::DecodedPage moved = page;
    const size_t rowBytes = page.RowBytes();
    for (size_t plane = 0; plane < 4; ++plane) {
        if (!page.planes[plane]) {
            continue;
        }
        std::vector<uint8_t>& rows = *moved.planes[plane];
        std::fill(rows.begin(), rows.end(), 0);
        for (unsigned y = 0; y + down < page.height; ++y) {
            for (size_t b = 0; b + rightBytes < rowBytes; ++b) {
                rows[size_t(y + down) * rowBytes + b + rightBytes] = (*page.planes[plane])[size_t(y) * rowBytes + b];
            }
        }
    }
    return moved;
}

class PageCompare : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        s_colour = RenderReference(Document("colour-pages.ps"), &error);
        ASSERT_EQ(3u, s_colour.size()) << error;
    }
    static std::vector<ReferencePage> s_colour;
};
std::vector<ReferencePage> PageCompare::s_colour;

TEST_F(PageCompare, PlanesOfTheSamePageMatchItsReference)
{
    struct Case {
        int page;
        bool colour;
    };
    for (const Case c : {Case{1, true}, Case{3, true}, Case{1, false}, Case{3, false}}) {
        SCOPED_TRACE("page " + std::to_string(c.page) + (c.colour ? " colour" : " mono"));
        const PageMatch match = ComparePage(ThresholdPlanes(Document("colour-pages.ps"), c.page, c.colour), kDpi, kDpi,
                                            s_colour[size_t(c.page) - 1]);
        EXPECT_TRUE(IsGoodMatch(match)) << Describe(match);
        EXPECT_EQ(0, match.offsetX);
        EXPECT_EQ(0, match.offsetY);
    }
}

TEST_F(PageCompare, APageStartingInsideThePaperIsFoundAtItsOffset)
{
    // 40 dots right and 1/4 inch down at 300 dpi: 5.3 and 10 cells of 1/40 inch.
    const orvdecode::DecodedPage moved = Shifted(ThresholdPlanes(Document("colour-pages.ps"), 3, false), 5, 75);
    const PageMatch match = ComparePage(moved, kDpi, kDpi, s_colour[2]);
    // A page printed 1/4 inch low is a wrong page unless the offset says where it is: the printer
    // stream's page is compared where it matches best, so the offset found is the shift undone.
    EXPECT_TRUE(IsGoodMatch(match)) << Describe(match);
    EXPECT_NEAR(-5, match.offsetX, 1);
    EXPECT_EQ(-10, match.offsetY);
}

TEST_F(PageCompare, WrongPagesDoNotMatch)
{
    const orvdecode::DecodedPage first = ThresholdPlanes(Document("colour-pages.ps"), 1, true);
    orvdecode::DecodedPage blank = first;
    for (auto& plane : blank.planes) {
        if (plane) {
            std::fill(plane->begin(), plane->end(), 0);
        }
    }
    orvdecode::DecodedPage swapped = first;
    std::swap(swapped.planes[1], swapped.planes[2]);  // cyan printed as magenta

    struct Case {
        const char* what;
        const orvdecode::DecodedPage* page;
        size_t reference;
    };
    const Case cases[] = {
        {"blank page", &blank, 0},
        {"another page", &first, 2},
        {"cyan and magenta swapped", &swapped, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PageMatch match = ComparePage(*c.page, kDpi, kDpi, s_colour[c.reference]);
        EXPECT_FALSE(IsGoodMatch(match)) << Describe(match);
    }
}

TEST_F(PageCompare, ResolutionFollowsFromDotsAndPaper)
{
    struct Case {
        unsigned dots;
        double inches;
        int dpi;
    };
    const Case cases[] = {{4961, 8.27, 600}, {4760, 8.27, 600}, {9922, 8.27, 1200}, {2480, 8.27, 300}, {7016, 11.69, 600}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.dpi, NearestDpi(c.dots, c.inches)) << c.dots << " dots over " << c.inches << " in";
    }
}

}  // namespace
}  // namespace orve2e
