// Documents from real producers printed as a user prints them, with lp on the sample queues:
// every job completes, its printer stream decodes into the document's pages on A4 paper, each page
// matching Ghostscript's rendering of the document, and the filter's lines reach CUPS's log with
// their levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "e2e/E2eSupport.h"

namespace orve2e {
namespace {

struct DocumentCase {
    const char* document;
    const char* queue;
    bool colour;     // colour planes expected: a colour queue sends all four for every page
    bool colourInk;  // dots expected on the cyan, magenta or yellow plane
};

// Whether any dot is set on the cyan, magenta or yellow plane of a page.
bool HasColourInk(const orvdecode::DecodedPage& page)
{
    for (int plane = 1; plane < 4; ++plane) {
        if (page.planes[plane] && std::any_of(page.planes[plane]->begin(), page.planes[plane]->end(),
                                               [](uint8_t byte) { return byte != 0; })) {
            return true;
        }
    }
    return false;
}

class Documents : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(Documents, PrintsEveryPageAsGhostscriptRendersIt)
{
    ORV_REQUIRE_PRINTING_FILTER();
    const DocumentCase& c = GetParam();
    const PrintedJob job = PrintAndWait(c.queue, Document(c.document), {}, c.document);
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
    ExpectPagesMatch(job, Document(c.document), kA4Width, kA4Height);
    for (const orvdecode::DecodedPage& page : job.decoded.pages) {
        EXPECT_EQ(c.colour, page.IsColour()) << "page " << page.number;
        EXPECT_EQ(c.colourInk, HasColourInk(page)) << "page " << page.number;
    }
    // The filter logs at the DEBUG level with its process id; the scheduler files the line under
    // the job with the level's letter.
    EXPECT_TRUE(job.Logged('D', "(PID ")) << job.Summary();
    EXPECT_TRUE(job.Logged('D', std::string("Start Orvalen GDI filter on ") + c.queue)) << job.Summary();
    EXPECT_TRUE(job.Logged('D', std::string("End Orvalen GDI filter on ") + c.queue)) << job.Summary();
    EXPECT_FALSE(job.Logged('E', "")) << job.Summary();
}

INSTANTIATE_TEST_SUITE_P(, Documents,
                         ::testing::Values(DocumentCase{"letter.ps", "gm", false, false},  // groff, monochrome model
                                           // Black text in colour mode: four planes, black toner only.
                                           DocumentCase{"letter.ps", "gc", true, false},
                                           DocumentCase{"testpage.ps", "gc", true, true},  // CUPS's test page, ps2write
                                           DocumentCase{"colour-pages.ps", "gc", true, true},  // three colour pages
                                           DocumentCase{"colour-pages.ps", "gm", false, false}),
                         [](const ::testing::TestParamInfo<DocumentCase>& info) {
                             std::string name = std::string(info.param.document) + "_on_" + info.param.queue;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) {
                                     ch = '_';
                                 }
                             }
                             return name;
                         });

// CUPS's own test page, as the scheduler makes it from its banner file: the whole CUPS chain in
// front of the filter.
TEST(DocumentsCupsChain, CupsTestPagePrintsOnePage)
{
    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("gc", "/usr/share/cups/data/testprint");
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
    EXPECT_EQ(1u, job.decoded.pages.size()) << job.Summary();
}

}  // namespace
}  // namespace orve2e
