// Pages from the stream through the real renderer: where a page's ink lands on the printer's page,
// upright and turned, as the printer-stream decoder rebuilds it from the job's bytes.
#include "PipelineFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

using filtertest::BlackRect;
using filtertest::PpmPage;
using filtertest::RenderJob;
using filtertest::StreamFile;
using filtertest::StreamPipe;
using orvtest::StderrCapture;

namespace {

// Set dots of one plane inside [x0, x1) x [y0, y1).
size_t InkIn(const orvdecode::DecodedPage& page, int plane, unsigned x0, unsigned y0, unsigned x1, unsigned y1)
{
    if (!page.planes[plane]) {
        return 0;
    }
    const std::vector<uint8_t>& bits = *page.planes[plane];
    size_t n = 0;
    for (unsigned y = y0; y < y1 && y < page.height; ++y) {
        for (unsigned x = x0; x < x1 && x < page.width; ++x) {
            if ((bits[y * page.RowBytes() + x / 8] >> (7 - x % 8)) & 1) {
                ++n;
            }
        }
    }
    return n;
}

size_t InkAll(const orvdecode::DecodedPage& page, int plane)
{
    return InkIn(page, plane, 0, 0, page.width, page.height);
}

// Reads one page record and sends it, then ends the job.
int SendOnePage(RenderJob& job, const std::string& bytes)
{
    StreamFile stream(job.dir(), bytes);
    int iRead = ReadStreamRecord(job.get(), stream.fd());
    if (iRead == 1) {
        SendPage(job.get());
    }
    SendJobEnd(job.get());
    return iRead;
}

class MonoPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_job->devmode.dm.dmPaperSize = 9;  // A4: 4961 x 7016 dots, 100-dot margins on every side
        ASSERT_EQ(InitRenderer(m_job.get()), -1);
    }
    RenderJob m_job{"GM4150"};
};

// The raster covers the whole sheet; the printable area starts 100 dots in. Its width, 4761 dots,
// goes down to the model's band multiple of 32.
TEST_F(MonoPages, UprightPageLandsOnThePrintableAreaShiftedByTheMargins)
{
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
TEST_F(MonoPages, LandscapePageIsTurnedSoItsLeftEdgeBecomesTheBottom)
{
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
TEST(MonoPageHeights, RasterTallerThanTheSheetStandsOnTheSheetsBottomEdge)
{
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

TEST_F(MonoPages, BandsOfOddSizesKeepEveryRowInPlace)
{
    // 301 rows in bands of 256: the second band is short.
    ASSERT_EQ(SendOnePage(m_job, PpmPage(233, 301, {{100, 290, 101, 301}})), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_EQ(InkIn(out.pages[0], 0, 0, 190, 1, 201), 11u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 11u);
}

TEST_F(MonoPages, TurnedBandsOfOddSizesKeepEveryPixelInPlace)
{
    // 270 rows: a full band of 256 and one of 14; the last raster row lands in page column 169.
    ASSERT_EQ(SendOnePage(m_job, PpmPage(500, 270, {{100, 269, 103, 270}})), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    // Columns 100..102 of 500 go to page rows 499 - x - 100: 297..299.
    EXPECT_EQ(InkIn(out.pages[0], 0, 169, 297, 170, 300), 3u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 3u);
}

TEST_F(MonoPages, GrayPageIsWidenedToTheRenderersColourBands)
{
    std::string gray = "P5\n150 200\n255\n" + std::string(150 * 200, '\xFF');
    for (int y = 100; y < 110; ++y) {
        for (int x = 100; x < 120; ++x) {
            gray[15 + y * 150 + x] = '\0';
        }
    }
    ASSERT_EQ(SendOnePage(m_job, gray), 1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_EQ(InkIn(out.pages[0], 0, 0, 0, 20, 10), 200u);
    EXPECT_EQ(InkAll(out.pages[0], 0), 200u);
}

TEST_F(MonoPages, ShortRasterFailsThePageWithItsMessage)
{
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

// The pipe from the child: a page cut off anywhere in its raster fails with its message, however
// the writer's pieces fall, and no page is sent.
TEST_F(MonoPages, PageCutOffInsideABandThroughThePipeFailsThePage)
{
    const std::string page = PpmPage(4000, 300, {});  // 12000-byte rows, bands of 256 rows
    const size_t cbHeader = page.size() - 4000u * 300u * 3u;
    struct Case {
        const char* name;
        size_t cbRaster;  // raster bytes sent before the end
        size_t cbPiece;
    } cases[] = {
        {"inside the first band, after a large piece", 12000 * 200 + 5000, 1 << 20},
        {"at the end of the first band", 12000 * 256, 1 << 20},
        {"inside the last row of the second band", 12000 * 300 - 1, 65536},
        {"inside a row, in small pieces", 12000 * 10 + 3, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StreamPipe stream(page.substr(0, cbHeader + c.cbRaster), c.cbPiece);
        StderrCapture err(m_job.dir() / "err.txt");
        EXPECT_EQ(ReadStreamRecord(m_job.get(), stream.fd()), -1);
        EXPECT_NE(err.Take().find("Convert Bitmap Error!\n"), std::string::npos);
    }
    EXPECT_EQ(m_job.Output(), "") << "no page went out";
}

// One stream as the child writes it: a page, a settings record, a page. Each record is read to its
// last byte and no further, so the next one is found where it starts.
TEST_F(MonoPages, RecordsOfOneStreamThroughThePipeAreReadOneAfterAnother)
{
    DRVDEVMODE settings = m_job->devmode;
    settings.dm.dmCopies = 3;
    const std::string stream = PpmPage(4000, 600, {{100, 100, 200, 150}}) + filtertest::SettingsRecordBytes(settings) +
                               PpmPage(4000, 600, {{100, 300, 120, 310}});
    for (size_t cbPiece : {size_t{1} << 20, size_t{14873}}) {
        SCOPED_TRACE(cbPiece);
        RenderJob job("GM4150");
        job->devmode.dm.dmPaperSize = 9;
        ASSERT_EQ(InitRenderer(job.get()), -1);
        StreamPipe pipe(stream, cbPiece);
        ASSERT_EQ(ReadStreamRecord(job.get(), pipe.fd()), 1);
        SendPage(job.get());
        EXPECT_EQ(job->devmode.dm.dmCopies, 1);
        ASSERT_EQ(ReadStreamRecord(job.get(), pipe.fd()), 1);
        SendPage(job.get());
        EXPECT_EQ(job->devmode.dm.dmCopies, 3);
        EXPECT_EQ(ReadStreamRecord(job.get(), pipe.fd()), 0);
        SendJobEnd(job.get());
        orvdecode::DecodedStream out = job.Decode();
        ASSERT_TRUE(out.ok()) << out.error->message;
        ASSERT_EQ(out.pages.size(), 2u);
        EXPECT_EQ(InkAll(out.pages[0], 0), 100u * 50u);
        EXPECT_EQ(InkAll(out.pages[1], 0), 20u * 10u);
    }
}

// Where a page's ink lands on the sheet: its box of set dots in sheet dots, the page's printable
// window (left and top offset of its page header) added to the decoded plane's columns and rows.
struct SheetInk {
    long x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    size_t dots = 0;
};

std::vector<SheetInk> InkOnTheSheet(const orvdecode::DecodedStream& out)
{
    std::vector<SheetInk> inks;
    long left = 0, top = 0;
    size_t event = 0;
    for (const orvdecode::DecodedPage& page : out.pages) {
        for (; event < out.events.size() && out.events[event].offset < page.offset; ++event) {
            const orvdecode::StreamEvent& e = out.events[event];
            if (e.kind != orvdecode::EventKind::Command) {
                continue;
            }
            if (e.name == "left offset") {
                left = e.value;
            }
            if (e.name == "top offset") {
                top = e.value;
            }
        }
        SheetInk ink;
        if (page.planes[0]) {
            const std::vector<uint8_t>& bits = *page.planes[0];
            for (long y = 0; y < static_cast<long>(page.height); ++y) {
                for (long x = 0; x < static_cast<long>(page.width); ++x) {
                    const uint8_t byte = bits[static_cast<size_t>(y) * page.RowBytes() + static_cast<size_t>(x / 8)];
                    if (!((byte >> (7 - x % 8)) & 1)) {
                        continue;
                    }
                    if (ink.dots++ == 0) {
                        ink = SheetInk{left + x, top + y, left + x, top + y, 1};
                    }
                    ink.x0 = std::min(ink.x0, left + x);
                    ink.x1 = std::max(ink.x1, left + x);
                    ink.y0 = std::min(ink.y0, top + y);
                    ink.y1 = std::max(ink.y1, top + y);
                }
            }
        }
        inks.push_back(ink);
    }
    return inks;
}

// Two pages of a duplex job with a binding margin: the front side's image moves away from its
// binding edge (right or down), the back side's the other way (its binding edge is on the far
// side), each by the whole margin and with every dot of a block well inside the page kept.
// The block is measured against the same job printed without a margin.
TEST(BindingMargin, FrontAndBackSidesMoveAwayFromTheirBindingEdgeWholly)
{
    constexpr long kShift = 64;  // 64 / 600 inch at 600 dpi, a whole band multiple (32)
    struct Case {
        const char* name;
        SHORT duplex;
        bool landscape;
        WORD margin;
        long dx, dy;  // how far the odd page moves; the even page moves back as far
    } cases[] = {
        {"simplex ignores the margin", 1, false, 64, 0, 0}, {"long edge without a margin", 2, false, 0, 0, 0},
        {"long edge, portrait", 2, false, 64, kShift, 0},   {"short edge, portrait", 3, false, 64, 0, kShift},
        {"long edge, landscape", 2, true, 64, 0, kShift},   {"short edge, landscape", 3, true, 64, kShift, 0},
    };
    auto print = [](SHORT duplex, bool landscape, WORD margin) {
        RenderJob job("GM4150");
        job->devmode.dm.dmPaperSize = 9;
        job->devmode.dm.dmDuplex = duplex;
        job->devmode.dm.dmPrintQuality = 600;
        job->devmode.priv.dmUnitOfLayout = 600;
        job->devmode.priv.dmDuplexMargin = margin;
        EXPECT_EQ(InitRenderer(job.get()), -1);
        // A block well away from every edge of the raster and of the printable area.
        const std::string page =
            landscape ? PpmPage(700, 600, {{300, 300, 400, 350}}) : PpmPage(600, 700, {{300, 300, 400, 350}});
        for (int n = 0; n < 2; ++n) {
            StreamFile stream(job.dir(), page);
            EXPECT_EQ(ReadStreamRecord(job.get(), stream.fd()), 1);
            SendPage(job.get());
        }
        SendJobEnd(job.get());
        orvdecode::DecodedStream out = job.Decode();
        EXPECT_TRUE(out.ok()) << out.error->message;
        return InkOnTheSheet(out);
    };
    const std::vector<SheetInk> portrait = print(1, false, 0);
    const std::vector<SheetInk> landscape = print(1, true, 0);
    ASSERT_EQ(portrait.size(), 2u);
    ASSERT_EQ(landscape.size(), 2u);
    // Without a margin the block lands where the raster has it: the raster covers the sheet.
    EXPECT_EQ(portrait[0].x0, 300);
    EXPECT_EQ(portrait[0].y0, 300);
    EXPECT_EQ(portrait[0].dots, 100u * 50u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<SheetInk> inks = print(c.duplex, c.landscape, c.margin);
        ASSERT_EQ(inks.size(), 2u);
        for (size_t side = 0; side < 2; ++side) {
            SCOPED_TRACE(side == 0 ? "odd page" : "even page");
            const SheetInk& base = (c.landscape ? landscape : portrait)[side];
            const long sign = side == 0 ? 1 : -1;
            EXPECT_EQ(inks[side].dots, 100u * 50u);
            EXPECT_EQ(inks[side].x0, base.x0 + sign * c.dx);
            EXPECT_EQ(inks[side].x1, base.x1 + sign * c.dx);
            EXPECT_EQ(inks[side].y0, base.y0 + sign * c.dy);
            EXPECT_EQ(inks[side].y1, base.y1 + sign * c.dy);
        }
    }
}

TEST(ColourPages, RedPrintsMagentaAndYellowOnly)
{
    RenderJob job("GC7350");
    job->devmode.dm.dmPaperSize = 9;
    job->devmode.priv.dmColor = 2;
    ASSERT_EQ(InitRenderer(job.get()), -1);
    std::string page = PpmPage(300, 400, {});
    for (int y = 100; y < 164; ++y) {
        for (int x = 100; x < 228; ++x) {
            size_t at = page.size() - 300 * 400 * 3 + (static_cast<size_t>(y) * 300 + x) * 3;
            page[at] = '\xFF';
            page[at + 1] = '\0';
            page[at + 2] = '\0';
        }
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
    for (int plane = 0; plane < 4; ++plane) {
        EXPECT_EQ(InkAll(p, plane), InkIn(p, plane, 0, 0, 128, 64)) << "plane " << plane << " inks outside the block";
    }
}

// A page with ink of every kind: colour gradients, gray and black strokes, white gaps.
std::string MixedPage(int width, int height)
{
    std::string page = PpmPage(width, height, {{20, 30, 260, 34}, {40, 200, 44, 380}});
    const size_t raster = page.size() - static_cast<size_t>(width) * height * 3;
    for (int y = 60; y < 180; ++y) {
        for (int x = 10; x < width - 10; ++x) {
            size_t at = raster + (static_cast<size_t>(y) * width + x) * 3;
            page[at] = static_cast<char>(x * 255 / width);
            page[at + 1] = static_cast<char>(y * 2);
            page[at + 2] = static_cast<char>((x + y) % 3 == 0 ? 0 : 255 - x % 256);
        }
    }
    return page;
}

// The stream of one mixed page printed with the given hooks on a model, the wall clock in the
// job header's date masked.
std::string PrintedWith(const char* pszModel, const FilterHooks& hooks)
{
    RenderJob job(pszModel);
    const int iFd = job.hooks().outputFd;
    job.hooks() = hooks;
    job.hooks().outputFd = iFd;
    job->devmode.dm.dmPaperSize = 9;
    job->devmode.priv.dmColor = std::string(pszModel) == "GC7350" ? 2 : 1;
    EXPECT_EQ(InitRenderer(job.get()), -1);
    if (job->pRenderContext != nullptr) {
        const ScreenSimd expected = hooks.screenSimd.value_or(ScreenSimdAvailable());
        EXPECT_EQ(static_cast<int>(ScreenSimdLevel(job->pRenderContext)), static_cast<int>(expected));
    }
    EXPECT_EQ(SendOnePage(job, MixedPage(300, 400)), 1);
    return std::regex_replace(job.Output(), std::regex("@DATE=[0-9/: ]*"), "@DATE=");
}

TEST(RendererHooks, EveryVectorLevelTheJobPinsPrintsTheSameStream)
{
    for (const char* pszModel : {"GM4150", "GC7350"}) {
        const std::string best = PrintedWith(pszModel, FilterHooks{});
        ASSERT_FALSE(best.empty()) << pszModel;
        for (ScreenSimd level : {ScreenSimd::Sse2, ScreenSimd::Avx2, ScreenSimd::Avx512}) {
            if (static_cast<int>(level) > static_cast<int>(ScreenSimdAvailable())) {
                continue;
            }
            FilterHooks hooks;
            hooks.screenSimd = level;
            EXPECT_TRUE(PrintedWith(pszModel, hooks) == best) << pszModel << " level " << static_cast<int>(level);
        }
    }
}

int g_iQueries = 0;
DWORD CountingQuery(const tagSPCDATA* pData, SHORT sCap, SHORT sItem, LONG lView, void* pvBuffer, DWORD* pcb,
                    DWORD* pdwCount)
{
    ++g_iQueries;
    return SpcQuery(pData, sCap, sItem, lView, pvBuffer, pcb, pdwCount);
}
DWORD SilentQuery(const tagSPCDATA*, SHORT, SHORT, LONG, void*, DWORD*, DWORD*)
{
    return ERROR_NOT_FOUND;
}

TEST(RendererHooks, TheJobsModelQueryAnswersTheRenderer)
{
    const std::string plain = PrintedWith("GC7350", FilterHooks{});
    FilterHooks counting;
    counting.pfnModelQuery = CountingQuery;
    g_iQueries = 0;
    EXPECT_TRUE(PrintedWith("GC7350", counting) == plain);
    EXPECT_GT(g_iQueries, 0) << "the renderer asks the job's query";
    // A model that answers the renderer nothing leaves it without the raster language: the job
    // still goes out, its page without a raster.
    FilterHooks silent;
    silent.pfnModelQuery = SilentQuery;
    auto pagesOf = [](const std::string& bytes) {
        return orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()).pages.size();
    };
    const std::string bare = PrintedWith("GC7350", silent);
    EXPECT_EQ(pagesOf(plain), 1u);
    EXPECT_NE(bare, "");
    EXPECT_EQ(pagesOf(bare), 0u);
}

}  // namespace
