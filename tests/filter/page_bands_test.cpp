// Pages from the stream through the real renderer: where a page's ink lands on the printer's page,
// upright and turned, as the printer-stream decoder rebuilds it from the job's bytes.
#include "PipelineFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using filtertest::BlackRect;
using filtertest::PpmPage;
using filtertest::RenderJob;
using filtertest::StderrCapture;
using filtertest::StreamFile;

namespace {

// Set dots of one plane inside [x0, x1) x [y0, y1).
size_t InkIn(const orvdecode::DecodedPage& page, int plane, unsigned x0, unsigned y0, unsigned x1, unsigned y1) {
    if (!page.planes[plane]) return 0;
    const std::vector<uint8_t>& bits = *page.planes[plane];
    size_t n = 0;
    for (unsigned y = y0; y < y1 && y < page.height; ++y)
        for (unsigned x = x0; x < x1 && x < page.width; ++x)
            if ((bits[y * page.RowBytes() + x / 8] >> (7 - x % 8)) & 1) ++n;
    return n;
}

size_t InkAll(const orvdecode::DecodedPage& page, int plane) {
    return InkIn(page, plane, 0, 0, page.width, page.height);
}

// Reads one page record and sends it, then ends the job.
int SendOnePage(RenderJob& job, const std::string& bytes) {
    StreamFile stream(job.dir(), bytes);
    int iRead = ReadStreamRecord(job.get(), stream.fd());
    if (iRead == 1) SendPage(job.get());
    SendJobEnd(job.get());
    return iRead;
}

class MonoPages : public ::testing::Test {
protected:
    void SetUp() override {
        m_job->devmode.dm.dmPaperSize = 9;  // A4: 4961 x 7016 dots, 100-dot margins on every side
        ASSERT_EQ(InitRenderer(m_job.get()), -1);
    }
    RenderJob m_job{"GM4150"};
};

// The raster covers the whole sheet; the printable area starts 100 dots in. Its width, 4761 dots,
// goes down to the model's band multiple of 32.
TEST_F(MonoPages, UprightPageLandsOnThePrintableAreaShiftedByTheMargins) {
    ASSERT_EQ(SendOnePage(m_job, PpmPage(300, 400, {{100, 100, 200, 150}})), 1);
    EXPECT_EQ(m_job->devmode.dm.dmOrientation, 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    const orvdecode::DecodedPage& page = out.pages[0];
    EXPECT_EQ(page.width, 4736u);
    EXPECT_EQ(page.height, 6816u);
    EXPECT_FALSE(page.IsColour());
    EXPECT_EQ(InkIn(page, 0, 0, 0, 100, 50), 100u * 50u);  // solid black prints every dot
    EXPECT_EQ(InkAll(page, 0), 100u * 50u);
}

// A raster wider than high is a landscape page: turned by 90 degrees onto the upright sheet, its
// top row becomes the page's left column and its left edge the page's bottom.
TEST_F(MonoPages, LandscapePageIsTurnedSoItsLeftEdgeBecomesTheBottom) {
    ASSERT_EQ(SendOnePage(m_job, PpmPage(300, 200, {{100, 100, 140, 120}})), 1);
    EXPECT_EQ(m_job->devmode.dm.dmOrientation, 2);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    const orvdecode::DecodedPage& page = out.pages[0];
    // The turned sheet: printable 6816 x 4761; turned back upright 4761 (to 4736) wide, 6816 high.
    EXPECT_EQ(page.width, 4736u);
    EXPECT_EQ(page.height, 6816u);
    // Raster row y goes to page column y - 100; raster column x to page row 299 - x - 100.
    EXPECT_EQ(InkIn(page, 0, 0, 60, 20, 100), 20u * 40u);
    EXPECT_EQ(InkAll(page, 0), 20u * 40u);
}

// PostScript draws up from the sheet's bottom edge, so a raster taller than the sheet (a page height
// rounded up to whole rows) stands on the sheet's bottom: its extra rows go off the top.
TEST(MonoPageHeights, RasterTallerThanTheSheetStandsOnTheSheetsBottomEdge) {
    struct Case {
        int rows;          // raster height; the A4 sheet is 7016 rows
        unsigned pageRow;  // where raster row 500 lands on the printable area (top margin 100)
    } cases[] = {{7016, 400}, {7017, 399}, {7018, 398}, {600, 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        RenderJob job("GM4150");
        job->devmode.dm.dmPaperSize = 9;
        ASSERT_EQ(InitRenderer(job.get()), -1);
        ASSERT_EQ(SendOnePage(job, PpmPage(300, c.rows, {{100, 500, 110, 510}})), 1);
        orvdecode::DecodedStream out = job.Decode();
        ASSERT_TRUE(out.ok()) << out.error->message;
        ASSERT_EQ(out.pages.size(), 1u);
        EXPECT_EQ(InkIn(out.pages[0], 0, 0, c.pageRow, 10, c.pageRow + 10), 100u);
        EXPECT_EQ(InkAll(out.pages[0], 0), 100u);
    }
}

TEST_F(MonoPages, BandsOfOddSizesKeepEveryRowInPlace) {
    // 301 rows in bands of 256: the second band is short.
    ASSERT_EQ(SendOnePage(m_job, PpmPage(233, 301, {{100, 290, 101, 301}})), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_EQ(InkIn(out.pages[0], 0, 0, 190, 1, 201), 11u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 11u);
}

TEST_F(MonoPages, TurnedBandsOfOddSizesKeepEveryPixelInPlace) {
    // 270 rows: a full band of 256 and one of 14; the last raster row lands in page column 169.
    ASSERT_EQ(SendOnePage(m_job, PpmPage(500, 270, {{100, 269, 103, 270}})), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    // Columns 100..102 of 500 go to page rows 499 - x - 100: 297..299.
    EXPECT_EQ(InkIn(out.pages[0], 0, 169, 297, 170, 300), 3u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 3u);
}

TEST_F(MonoPages, GrayPageIsWidenedToTheRenderersColourBands) {
    std::string gray = "P5\n150 200\n255\n" + std::string(150 * 200, '\xFF');
    for (int y = 100; y < 110; ++y)
        for (int x = 100; x < 120; ++x) gray[15 + y * 150 + x] = '\0';
    ASSERT_EQ(SendOnePage(m_job, gray), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_EQ(InkIn(out.pages[0], 0, 0, 0, 20, 10), 200u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 200u);
}

TEST_F(MonoPages, ShortRasterFailsThePageWithItsMessage) {
    std::string page = PpmPage(300, 400, {});
    page.resize(page.size() - 300 * 3 * 10);  // ten rows short
    StreamFile stream(m_job.dir(), page);
    StderrCapture err(m_job.dir() / "err.txt");
    EXPECT_EQ(ReadStreamRecord(m_job.get(), stream.fd()), -1);
    EXPECT_NE(err.Take().find("ERROR: (PID "), std::string::npos);
    StreamFile again(m_job.dir(), page);
    StderrCapture err2(m_job.dir() / "err2.txt");
    ReadStreamRecord(m_job.get(), again.fd());
    EXPECT_NE(err2.Take().find("Convert Bitmap Error!\n"), std::string::npos);
}

TEST(ColourPages, RedPrintsMagentaAndYellowOnly) {
    RenderJob job("GC7350");
    job->devmode.dm.dmPaperSize = 9;
    job->devmode.priv.dmColor = 2;
    ASSERT_EQ(InitRenderer(job.get()), -1);
    std::string page = PpmPage(300, 400, {});
    for (int y = 100; y < 164; ++y)
        for (int x = 100; x < 228; ++x) {
            size_t at = page.size() - 300 * 400 * 3 + (static_cast<size_t>(y) * 300 + x) * 3;
            page[at] = '\xFF';
            page[at + 1] = '\0';
            page[at + 2] = '\0';
        }
    ASSERT_EQ(SendOnePage(job, page), 1);
    orvdecode::DecodedStream out = job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    const orvdecode::DecodedPage& p = out.pages[0];
    ASSERT_TRUE(p.IsColour());
    EXPECT_EQ(p.width, 4736u);  // 4761 down to the colour model's band multiple of 64
    // Planes: 0 black, 1 cyan, 2 magenta, 3 yellow.
    EXPECT_GT(InkIn(p, 2, 0, 0, 128, 64), 128u * 64u / 2);
    EXPECT_GT(InkIn(p, 3, 0, 0, 128, 64), 128u * 64u / 2);
    for (int plane = 0; plane < 4; ++plane)
        EXPECT_EQ(InkAll(p, plane), InkIn(p, plane, 0, 0, 128, 64)) << "plane " << plane << " inks outside the block";
}

}  // namespace
