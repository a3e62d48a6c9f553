// Several jobs submitted at once, to one queue and to two queues: every job completes with its own
// document's pages, none mixed with another's.
#include <gtest/gtest.h>

#include <future>

#include "e2e/E2eSupport.h"

namespace orve2e {
namespace {

TEST(Concurrent, JobsSubmittedTogetherAllPrintTheirOwnPages)
{
    ORV_REQUIRE_PRINTING_FILTER();
    struct Case {
        const char* queue;
        const char* document;
        bool colour;  // the colour queue sends all four planes for every page, black text too
    };
    const Case cases[] = {
        {"gc", "colour-pages.ps", true}, {"gc", "letter.ps", true}, {"gc", "probe.ps", true},
        {"gm", "letter.ps", false},      {"gm", "colour-pages.ps", false}, {"gm", "probe.ps", false},
    };
    std::vector<std::future<PrintedJob>> jobs;
    for (const Case& c : cases) {
        jobs.push_back(std::async(std::launch::async, [c] { return PrintAndWait(c.queue, Document(c.document)); }));
    }
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.document) + " on " + c.queue);
        const PrintedJob job = jobs[i].get();
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ExpectPagesMatch(job, Document(c.document), kA4Width, kA4Height);
        if (!job.decoded.pages.empty()) {
            EXPECT_EQ(c.colour, job.decoded.pages[0].IsColour());
        }
    }
}

}  // namespace
}  // namespace orve2e
