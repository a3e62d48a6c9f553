// Layouts through the whole filter: the forked child runs the page pass into the real libgs, the
// parent reads the settings record and the pages from the pipe and prints them with the real
// renderer, and the printer-stream decoder reads the job back. The number of sheets and where the
// ink of each page lands on the decoded planes must be what the layout says.
#include "PagePassFixture.h"
#include "PipelineFixture.h"

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "filter/job/JobProcesses.h"
#include "filter/frame/RendererSetup.h"
#include "support/PinnedLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using filtertest::RenderJob;
using orvtest::StderrCapture;
using pagepasstest::MarkedDocument;

namespace {

// The sample model prints at 600 dpi and places its printable area 100 dots (12 points) in from
// the sheet's left and top edges.
constexpr double kDotsPerPoint = 600.0 / 72.0;
constexpr double kMarginDots = 100.0;

// A job of the sample monochrome model on its sample queue PPD, with libgs and libcups bound.
class FilterJob {
public:
    FilterJob() : m_job("GM4150")
    {
        // Kept mapped after the job unbinds it, so that LeakSanitizer can name libcups's frames.
        orvtest::PinSharedLibrary("libcups.so.2");
        EXPECT_EQ(LoadGhostscriptLibrary(&m_job->gs), 0);
        EXPECT_EQ(LoadCupsLibrary(&m_job->cups), 0);
        m_job->pszDevice = "ppmraw";
        m_job->ppd = m_job->cups.ppdOpenFile((std::string(ORV_SAMPLE_PPD_DIR) + "/GM4150.ppd").c_str());
        EXPECT_NE(m_job->ppd, nullptr);
        if (m_job->ppd != nullptr) {
            m_job->cups.ppdMarkDefaults(m_job->ppd);
        }
        m_job->devmode.dm.dmPaperSize = 9;
        m_job->devmode.priv.dmColor = 1;
        m_job->devmode.priv.dmUnitOfLayout = 72;
        m_job->pszTitle = m_title;
    }
    ~FilterJob()
    {
        if (m_job->input != nullptr) {
            m_job->cups.cupsFileClose(m_job->input);
        }
        if (m_job->ppd != nullptr) {
            m_job->cups.ppdClose(m_job->ppd);
        }
        UnloadCupsLibrary(&m_job->cups);
        UnloadGhostscriptLibrary(&m_job->gs);
    }
    RenderJob& job() { return m_job; }
    PRIVDM& priv() { return m_job->devmode.priv; }
    DEVMODE& dm() { return m_job->devmode.dm; }

    // Prints the document; the decoded job.
    orvdecode::DecodedStream Print(const std::string& document)
    {
        const std::string path = m_job.dir().WriteFile("job.ps", document);
        m_job->input = m_job->cups.cupsFileOpen(path.c_str(), "r");
        EXPECT_NE(m_job->input, nullptr);
        StderrCapture err(m_job.dir() / "err.txt");
        EXPECT_EQ(RunJobProcesses(m_job.get()), -1);
        m_log = err.Take();
        return m_job.Decode();
    }
    const std::string& log() const { return m_log; }

private:
    RenderJob m_job;
    char m_title[16] = "layout";
    std::string m_log;
};

// Ink of a decoded monochrome page in dots from the printable area's top left, inside a region.
struct DotBox {
    long x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool Blank() const { return x1 < x0; }
};

DotBox InkOf(const orvdecode::DecodedPage& page, long rx0 = 0, long ry0 = 0, long rx1 = 1L << 30, long ry1 = 1L << 30)
{
    DotBox box;
    if (!page.planes[0]) {
        return box;
    }
    const std::vector<uint8_t>& plane = *page.planes[0];
    const size_t rowBytes = page.RowBytes();
    bool any = false;
    for (long y = std::max(0L, ry0); y < std::min<long>(page.height, ry1); ++y) {
        for (long x = std::max(0L, rx0); x < std::min<long>(page.width, rx1); ++x) {
            if (!(plane[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x / 8)] & (0x80 >> (x % 8)))) {
                continue;
            }
            if (!any) {
                box = DotBox{x, y, x, y};
                any = true;
            }
            box.x0 = std::min(box.x0, x);
            box.x1 = std::max(box.x1, x);
            box.y0 = std::min(box.y0, y);
            box.y1 = std::max(box.y1, y);
        }
    }
    return box;
}

// A box in PostScript points on a sheet of the given length, as dots on the printable area.
void ExpectInkAt(const DotBox& ink, double x0, double y0, double x1, double y1, double sheetLength,
                 const std::string& what)
{
    ASSERT_FALSE(ink.Blank()) << what;
    const double tolerance = 2.0 * kDotsPerPoint;
    EXPECT_NEAR(ink.x0, x0 * kDotsPerPoint - kMarginDots, tolerance) << what;
    EXPECT_NEAR(ink.x1, x1 * kDotsPerPoint - kMarginDots, tolerance) << what;
    EXPECT_NEAR(ink.y0, (sheetLength - y1) * kDotsPerPoint - kMarginDots, tolerance) << what;
    EXPECT_NEAR(ink.y1, (sheetLength - y0) * kDotsPerPoint - kMarginDots, tolerance) << what;
}

// A marked document as CUPS hands it on: the queue's A4 page size in its setup.
std::string A4Document(int pages)
{
    return MarkedDocument(
        pages, "",
        "%%BeginFeature: *PageSize A4\n<</PageSize[595 842]/ImagingBBox null>>setpagedevice\n%%EndFeature\n");
}

TEST(LayoutThroughTheFilter, DriverCopiesAndTheDuplexBlankPageGiveTheirSheets)
{
    FilterJob run;
    run.dm().dmCopies = 2;
    run.dm().dmCollate = 1;
    run.dm().dmDuplex = 2;
    run.priv().dmCopiesByDriver = 1;
    const orvdecode::DecodedStream out = run.Print(A4Document(3));
    ASSERT_TRUE(out.ok()) << run.log();
    ASSERT_EQ(out.pages.size(), 8u) << run.log();
    for (size_t i = 0; i < out.pages.size(); ++i) {
        const DotBox ink = InkOf(out.pages[i]);
        if (i % 4 == 3) {
            EXPECT_TRUE(ink.Blank()) << "the blank back of copy set " << i / 4 + 1;
            continue;
        }
        const int k = static_cast<int>(i % 4) + 1;
        ExpectInkAt(ink, 100, 100, 140, 100 + 20 * k, 842, "sheet " + std::to_string(i + 1));
    }
}

TEST(LayoutThroughTheFilter, BookletPutsTwoTurnedPagesOnEachSide)
{
    FilterJob run;
    run.priv().dmFieldsExtra2 = DMX2_BOOKLET;
    run.priv().dmLayoutPrint = 2;
    run.priv().dmBookletBinding = 2;
    run.priv().dmGutter = 0;  // the model's default gutter would shrink the halves
    const orvdecode::DecodedStream out = run.Print(A4Document(4));
    ASSERT_TRUE(out.ok()) << run.log();
    ASSERT_EQ(out.pages.size(), 2u) << run.log();
    // s = 0.69, tx = 587.99, ty = 18.73 (lower half) or 412.72 (upper half): page k's box turns
    // to x from tx - s (100 + 20 k) to tx - 100 s and y from ty + 100 s to ty + 140 s.
    struct Expect {
        size_t sheet;
        int half, page;
    };
    const Expect expects[] = {{0, 0, 1}, {0, 1, 4}, {1, 0, 3}, {1, 1, 2}};
    const long middle = static_cast<long>(421 * kDotsPerPoint - kMarginDots);
    for (const Expect& e : expects) {
        const double s = 0.69, tx = 587.99, ty = e.half == 0 ? 18.73 : 412.72;
        const DotBox ink =
            e.half == 0 ? InkOf(out.pages[e.sheet], 0, middle) : InkOf(out.pages[e.sheet], 0, 0, 1L << 30, middle);
        ExpectInkAt(ink, tx - s * (100 + 20 * e.page), ty + s * 100, tx - s * 100, ty + s * 140, 842,
                    "sheet " + std::to_string(e.sheet + 1) + " half " + std::to_string(e.half));
    }
}

TEST(LayoutThroughTheFilter, PosterTwoByTwoPrintsEightTilesInkedOnTheBottomLeftOnes)
{
    FilterJob run;
    run.priv().dmFieldsExtra2 = DMX2_POSTER;
    run.priv().dmLayoutPrint = 4;
    run.priv().dmPosterX = 2;
    run.priv().dmPosterY = 2;
    run.priv().dmOverlap = 0;
    const orvdecode::DecodedStream out = run.Print(A4Document(2));
    ASSERT_TRUE(out.ok()) << run.log();
    ASSERT_EQ(out.pages.size(), 8u) << run.log();
    for (size_t i = 0; i < 8; ++i) {
        const DotBox ink = InkOf(out.pages[i]);
        if (i % 4 != 2) {
            EXPECT_TRUE(ink.Blank()) << "tile " << i + 1;
            continue;
        }
        const int page = i < 4 ? 1 : 2;
        ExpectInkAt(ink, 188, 187.92, 268, 187.92 + 40 * page, 842, "tile " + std::to_string(i + 1));
    }
}

TEST(LayoutThroughTheFilter, ZoomAndFitMoveAndScaleTheInk)
{
    struct Case {
        const char* name;
        DWORD extra2;
        WORD layout;
        SHORT outputPaper, scale, align;
        double sheetLength, s, tx, ty;
    };
    const Case cases[] = {
        {"zoom 50 centred", DMX2_ZOOM, 16, 0, 50, 4, 842, 0.5, 142.83, 216.52},
        {"fit A4 on Letter", DMX2_FIT, 8, 1, 100, 0, 792, 0.89, 41.225, 21.31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilterJob run;
        run.priv().dmFieldsExtra2 = c.extra2;
        run.priv().dmLayoutPrint = c.layout;
        run.priv().dmOutputPaperSize = c.outputPaper;
        run.priv().dmScaleTo = c.scale;
        run.priv().dmAlign = c.align;
        const orvdecode::DecodedStream out = run.Print(A4Document(2));
        ASSERT_TRUE(out.ok()) << run.log();
        ASSERT_EQ(out.pages.size(), 2u) << run.log();
        for (int k = 1; k <= 2; ++k) {
            ExpectInkAt(InkOf(out.pages[static_cast<size_t>(k - 1)]), c.tx + c.s * 100, c.ty + c.s * 100,
                        c.tx + c.s * 140, c.ty + c.s * (100 + 20 * k), c.sheetLength, "page " + std::to_string(k));
        }
    }
}

}  // namespace

// libcups 2.4 keeps a small cache per PPD the first time a PPD's options are marked and never frees
// it; the leak is libcups's own.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}
