// Job options given to lp reach the printer: two-sided printing, pages per sheet, copies with and
// without collation, booklet, poster, colour mode, paper size, tray and media. Each case checks
// what a user would find in the output tray, from the decoded stream and its PJL header.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/E2eSupport.h"

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

TEST_F(Options, CopiesComeOutCollatedOrUncollated)
{
    struct Case {
        const char* collate;
        std::vector<size_t> order;  // reference pages of the sheets when the driver makes the copies
    };
    const Case cases[] = {
        {"Collate=True", {0, 1, 2, 0, 1, 2}},
        {"Collate=False", {0, 0, 1, 1, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.collate);
        const PrintedJob job = PrintAndWait("gc", Document("colour-pages.ps"), {"copies=2", c.collate});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
        const long printerCopies = PjlNumber(job, "(?:COPIES|QTY)", 1);
        ASSERT_EQ(6u, job.decoded.pages.size() * size_t(printerCopies)) << job.Summary();
        if (printerCopies == 1) {
            for (size_t i = 0; i < c.order.size(); ++i) {
                EXPECT_TRUE(IsColourPage(job.decoded.pages[i], c.order[i]));
            }
        }
    }
}

// The layouts either come out laid out in the stream or are left to the printer by their PJL
// line; what a user gets is the same number of sheets with the right pages.
TEST_F(Options, PageLayoutsGiveTheRightNumberOfSheets)
{
    struct Case {
        std::string option;
        const char* document;
        const char* printerLine;  // the PJL line by which the printer lays the pages out itself
        size_t laidOutPages;      // pages in the stream when the driver lays them out
        size_t pagesForPrinter;   // pages in the stream when the printer does
    };
    const Case cases[] = {
        {"number-up=4", "colour-pages.ps", "NUP=4", 1, 3},
        {"BookletBinding=Left", "colour-pages.ps", "BOOKLET=ON", 2, 3},
        {"Poster=2x2", "probe.ps", "POSTER=2x2", 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        const PrintedJob job = PrintAndWait("gc", Document(c.document), {c.option});
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
        const bool byPrinter = job.HasPjl(c.printerLine);
        const size_t expected = byPrinter ? c.pagesForPrinter : c.laidOutPages;
        EXPECT_EQ(expected, job.decoded.pages.size()) << (byPrinter ? "left to the printer" : "laid out by the driver")
                                                      << "\n" << job.Summary();
        for (const orvdecode::DecodedPage& page : job.decoded.pages) {
            EXPECT_FALSE(IsBlank(page)) << "page " << page.number;
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

}  // namespace
}  // namespace orve2e
