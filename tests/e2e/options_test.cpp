// Job options given to lp reach the printer: two-sided printing, pages per sheet, copies with and
// without collation, booklet, poster, colour mode, paper size, tray and media. Each case checks
// what a user would find in the output tray, from the decoded stream and its PJL header.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <regex>

#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "core/model/SpcData.h"
#include "core/settings/DevModeService.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"

namespace orve2e {
namespace {

// A number the PJL header sets with "NAME=<n>" (name a regular expression without capturing
// groups), or fallback when no line sets it.
long PjlNumber(const PrintedJob& job, const std::string& name, long fallback)
{
    const std::regex pattern("(^|[ ])" + name + "=([0-9]+)");
    for (const std::string& line : job.PjlLines()) {
        std::smatch match;
        if (std::regex_search(line, match, pattern)) {
            return std::stol(match[2]);
        }
    }
    return fallback;
}

bool IsBlank(const orvdecode::DecodedPage& page)
{
    for (const auto& plane : page.planes) {
        if (plane && std::any_of(plane->begin(), plane->end(), [](uint8_t b) { return b != 0; })) {
            return false;
        }
    }
    return true;
}

// Share of the plane bytes with ink in a part of a page given in fractions of its width and
// height from the top left, over every plane.
double InkCover(const orvdecode::DecodedPage& page, double left, double top, double right, double bottom)
{
    const size_t rowBytes = page.RowBytes();
    const size_t x0 = size_t(left * rowBytes), x1 = size_t(right * rowBytes);
    const size_t y0 = size_t(top * page.height), y1 = size_t(bottom * page.height);
    size_t inked = 0;
    size_t total = 0;
    for (const auto& plane : page.planes) {
        if (!plane) {
            continue;
        }
        for (size_t y = y0; y < y1 && (y + 1) * rowBytes <= plane->size(); ++y) {
            for (size_t x = x0; x < x1; ++x) {
                inked += (*plane)[y * rowBytes + x] != 0 ? 1 : 0;
                ++total;
            }
        }
    }
    return total == 0 ? 0.0 : double(inked) / double(total);
}

// A part of a page holding a printed page rather than a stray dot.
constexpr double kInked = 0.01;

// Saves the model's default settings, changed by edit, as the submitting user's settings for a
// queue, into the staged install the filter reads.
template <typename Edit>
bool SaveSettings(const std::string& queue, Edit edit, std::string* error)
{
    PrivateScheduler* scheduler = Scheduler(error);
    if (scheduler == nullptr) {
        return false;
    }
    const std::string root = scheduler->Root();
    tagSPCDATA* model = SpcLoadFile((root + orv::kModelDataDir).c_str(), "GC7350.pcsp");
    if (model == nullptr) {
        *error = "the staged GC7350 model does not load";
        return false;
    }
    DRVDEVMODE record {};
    record.dm.dmSize = sizeof(DEVMODE);
    record.dm.dmDriverExtra = sizeof(PRIVDM);
    const DWORD defaults = SpcDefaultDevmode(model, nullptr, &record, DEVMODE_SERVICE_DEFAULTS);
    std::free(model);
    if (defaults != 0) {
        *error = "no model defaults";
        return false;
    }
    edit(record);
    orvtest::ScopedInstallRoot packageRoot(root);
    if (dwWriteDevmodeFile(SubmittingUser().c_str(), queue.c_str(), &record) != 0) {
        *error = "the saved settings were not written";
        return false;
    }
    return true;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        ORV_REQUIRE_PRINTING_FILTER();
        std::string error;
        m_colour = RenderReference(Document("colour-pages.ps"), &error);
        ASSERT_EQ(3u, m_colour.size()) << error;
    }

    // The printed page matches reference page index (0-based) of the colour document.
    ::testing::AssertionResult IsColourPage(const orvdecode::DecodedPage& page, size_t index) const
    {
        const PageMatch match = ComparePage(page, NearestDpi(page.width, kA4Width), NearestDpi(page.height, kA4Height),
                                            m_colour[index]);
        if (IsGoodMatch(match)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "page " << page.number << " is not page " << index + 1 << ": "
                                             << Describe(match);
    }

    std::vector<ReferencePage> m_colour;
};

TEST_F(Options, TwoSidedJobsAskForDuplexAndKeepThePagesInOrder)
{
    for (const char* sides : {"sides=two-sided-long-edge", "sides=two-sided-short-edge"}) {
        SCOPED_TRACE(sides);
        const PrintedJob job = PrintAndWait("gc", Document("colour-pages.ps"), {sides});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
        EXPECT_TRUE(job.HasPjl("DUPLEX=ON")) << job.Summary();
        // Three pages on two sheets: a blank back side may close the job, nothing else.
        ASSERT_GE(job.decoded.pages.size(), 3u);
        ASSERT_LE(job.decoded.pages.size(), 4u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(IsColourPage(job.decoded.pages[i], i));
        }
        if (job.decoded.pages.size() == 4) {
            EXPECT_TRUE(IsBlank(job.decoded.pages[3]));
        }
    }
    const PrintedJob oneSided = PrintAndWait("gc", Document("colour-pages.ps"), {"sides=one-sided"});
    EXPECT_FALSE(oneSided.HasPjl("DUPLEX=ON")) << oneSided.Summary();
    EXPECT_EQ(3u, oneSided.decoded.pages.size()) << oneSided.Summary();
}

// Copies through the scheduler: CUPS's page filter leaves them to the driver, and with the model's
// default the printer makes them. Collated copies are one set in the stream and their number in
// the QTY line (COPIES stays 1); uncollated ones are the COPIES count.
TEST_F(Options, CopiesComeOutCollatedOrUncollated)
{
    struct Case {
        const char* collate;
        long copies;    // COPIES=
        long quantity;  // QTY=, 0: no such line
    };
    const Case cases[] = {
        {"Collate=True", 1, 2},
        {"Collate=False", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.collate);
        const PrintedJob job = PrintAndWait("gc", Document("colour-pages.ps"), {"copies=2", c.collate});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
        EXPECT_EQ(c.copies, PjlNumber(job, "COPIES", 0)) << job.Summary();
        EXPECT_EQ(c.quantity, PjlNumber(job, "QTY", 0)) << job.Summary();
        ASSERT_EQ(3u, job.decoded.pages.size()) << job.Summary();
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(IsColourPage(job.decoded.pages[i], i));
        }
    }
}

// With copies made by the driver (the user's saved choice for the queue) the stream holds every
// collated set, and the printer prints each page once.
TEST_F(Options, CopiesMadeByTheDriverAreCollatedSetsInTheStream)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(nullptr, scheduler) << error;
    ASSERT_TRUE(scheduler->AddQueue("gcdrivercopies", scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
    ASSERT_TRUE(SaveSettings("gcdrivercopies", [](DRVDEVMODE& record) { record.priv.dmCopiesByDriver = 1; }, &error))
        << error;

    const PrintedJob job =
        PrintAndWait("gcdrivercopies", Document("colour-pages.ps"), {"copies=2", "Collate=True"});
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
    EXPECT_EQ(1, PjlNumber(job, "COPIES", 0)) << job.Summary();
    EXPECT_TRUE(job.HasPjl("COLLATE=ON")) << "the sets come from the host\n" << job.Summary();
    const size_t order[] = {0, 1, 2, 0, 1, 2};
    ASSERT_EQ(std::size(order), job.decoded.pages.size()) << job.Summary();
    for (size_t i = 0; i < std::size(order); ++i) {
        EXPECT_TRUE(IsColourPage(job.decoded.pages[i], order[i]));
    }
}

// Every layout is laid out exactly once. Pages per sheet: CUPS's page filter puts the pages on
// one sheet ahead of the driver, so the printer is told one page per sheet. Booklet and poster:
// the driver imposes the sides and tiles itself and names the layout in its PJL line.
TEST_F(Options, PageLayoutsGiveTheRightNumberOfSheets)
{
    ASSERT_EQ(3u, m_colour.size());
    // The three pages of the colour document, four to a sheet in rows from the top left: the
    // bottom right quarter stays empty. As a PDF the scheduler's PDF filters lay them out.
    for (const char* document : {"colour-pages.ps", "colour-pages.pdf"}) {
        SCOPED_TRACE(document);
        const PrintedJob job = PrintAndWait("gc", Document(document), {"number-up=4"});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        EXPECT_EQ(1, PjlNumber(job, "NUP", 0)) << job.Summary();
        ASSERT_EQ(1u, job.decoded.pages.size()) << job.Summary();
        const orvdecode::DecodedPage& sheet = job.decoded.pages[0];
        EXPECT_GT(InkCover(sheet, 0.0, 0.0, 0.5, 0.5), kInked) << "top left";
        EXPECT_GT(InkCover(sheet, 0.5, 0.0, 1.0, 0.5), kInked) << "top right";
        EXPECT_GT(InkCover(sheet, 0.0, 0.5, 0.5, 1.0), kInked) << "bottom left";
        EXPECT_EQ(0.0, InkCover(sheet, 0.55, 0.55, 1.0, 1.0)) << "bottom right";
    }
    // Three pages in one booklet of one sheet: side 1 holds page 1 and the empty page 4, side 2
    // pages 3 and 2, two pages turned on the halves of each side.
    {
        const PrintedJob job = PrintAndWait("gc", Document("colour-pages.ps"), {"BookletBinding=Left"});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        EXPECT_TRUE(job.HasPjl("BOOKLET=ON")) << job.Summary();
        ASSERT_EQ(2u, job.decoded.pages.size()) << job.Summary();
        const orvdecode::DecodedPage& outside = job.decoded.pages[0];
        const orvdecode::DecodedPage& inside = job.decoded.pages[1];
        const bool topInked = InkCover(outside, 0.0, 0.0, 1.0, 0.5) > kInked;
        const bool bottomInked = InkCover(outside, 0.0, 0.5, 1.0, 1.0) > kInked;
        EXPECT_NE(topInked, bottomInked) << "side 1 has one page and one empty half";
        EXPECT_GT(InkCover(inside, 0.0, 0.0, 1.0, 0.5), kInked) << "side 2, top half";
        EXPECT_GT(InkCover(inside, 0.0, 0.5, 1.0, 1.0), kInked) << "side 2, bottom half";
    }
    // One page enlarged over four sheets, each holding a part of it.
    {
        const PrintedJob job = PrintAndWait("gc", Document("probe.ps"), {"Poster=2x2"});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        EXPECT_TRUE(job.HasPjl("POSTER=2x2")) << job.Summary();
        ASSERT_EQ(4u, job.decoded.pages.size()) << job.Summary();
        for (const orvdecode::DecodedPage& page : job.decoded.pages) {
            EXPECT_FALSE(IsBlank(page)) << "tile " << page.number;
        }
    }
}

TEST_F(Options, GrayscaleJobsOfColourPagesPrintBlackOnly)
{
    const PrintedJob job = PrintAndWait("gc", Document("colour-pages.ps"), {"ColorMode=Grayscale"});
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    EXPECT_TRUE(job.HasPjl("RENDERMODE=GRAYSCALE")) << job.Summary();
    ASSERT_EQ(3u, job.decoded.pages.size()) << job.Summary();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(job.decoded.pages[i].IsColour());
        EXPECT_TRUE(IsColourPage(job.decoded.pages[i], i));  // compared by gray level
    }
    const PrintedJob colour = PrintAndWait("gc", Document("colour-pages.ps"), {"ColorMode=Color"});
    EXPECT_TRUE(colour.HasPjl("RENDERMODE=COLOR")) << colour.Summary();
}

TEST_F(Options, PaperTrayAndMediaReachThePrinter)
{
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> pjl;
        double width;
        double height;
    };
    const Case cases[] = {
        {{"PageSize=Letter"}, {"PAPER="}, kLetterWidth, kLetterHeight},
        {{"media=A4", "InputSlot=Tray2"}, {"MEDIASOURCE=TRAY2"}, kA4Width, kA4Height},
        {{"MediaType=Thick", "InputSlot=Tray1"}, {"MEDIATYPE=THICK", "MEDIASOURCE=TRAY1"}, kA4Width, kA4Height},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.front());
        const PrintedJob job = PrintAndWait("gc", Document("probe.ps"), c.options);
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_EQ(1u, job.decoded.pages.size()) << job.Summary();
        for (const std::string& line : c.pjl) {
            EXPECT_TRUE(job.HasPjl(line)) << line << "\n" << job.Summary();
        }
        const orvdecode::DecodedPage& page = job.decoded.pages[0];
        const double width = page.width / double(NearestDpi(page.width, c.width));
        const double height = page.height / double(NearestDpi(page.height, c.height));
        EXPECT_NEAR(c.width - 0.2, width, 0.25);
        EXPECT_NEAR(c.height - 0.2, height, 0.25);
    }
}



// The last value of a page-header command before the page's raster, or -1.
long HeaderValue(const PrintedJob& job, const orvdecode::DecodedPage& page, const std::string& name)
{
    long value = -1;
    for (const orvdecode::StreamEvent& event : job.decoded.events) {
        if (event.offset >= page.offset) {
            break;
        }
        if (event.kind == orvdecode::EventKind::Command && event.name == name) {
            value = event.value;
        }
    }
    return value;
}

// 1200 dpi through the scheduler: the page header says 1200 x 1200, every page's raster is an A4
// page at that resolution both ways, upright, and shows its page of the document.
TEST_F(Options, TwelveHundredDpiPrintsEveryPageAtItsTrueSize)
{
    const PrintedJob job = PrintAndWait("gm", Document("colour-pages.ps"), {"Resolution=1200dpi"});
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_EQ(3u, job.decoded.pages.size()) << job.Summary();
    for (size_t i = 0; i < 3; ++i) {
        const orvdecode::DecodedPage& page = job.decoded.pages[i];
        EXPECT_EQ(1200, HeaderValue(job, page, "horizontal resolution"));
        EXPECT_EQ(1200, HeaderValue(job, page, "vertical resolution"));
        // The printable area of an A4 sheet, in inches at the announced resolution.
        EXPECT_GT(page.width / 1200.0, kA4Width - 0.5) << page.width;
        EXPECT_LE(page.width / 1200.0, kA4Width) << page.width;
        EXPECT_GT(page.height / 1200.0, kA4Height - 0.5) << page.height;
        EXPECT_LE(page.height / 1200.0, kA4Height) << page.height;
        EXPECT_TRUE(IsColourPage(page, i));  // compared by gray level
    }
}

}  // namespace
}  // namespace orve2e
