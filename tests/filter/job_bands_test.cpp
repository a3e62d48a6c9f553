// The job's band buffers are kept from page to page while pages fit them, and made anew (zeroed)
// when a page needs longer rows or more of them; the screening thread is the job's.
#include "filter/stream/JobBands.h"

#include "filter/job/JobInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(JobBands, BuffersAreKeptWhilePagesFitThem)
{
    struct Step {
        size_t rows, cbRow;
        bool kept;  // the buffers of the step before are kept
    } steps[] = {
        {128, 14880, false},  // the first page
        {128, 14880, true},   // the same page again
        {64, 14880, true},    // a shorter band fits
        {128, 14880, true},   // back to the first height: the buffers still hold it
        {256, 14880, false},  // a taller band
        {256, 9000, false},   // rows of another length, even shorter ones
    };
    JobBands bands;
    BYTE* previous[2] = {nullptr, nullptr};
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.rows) + " rows of " + std::to_string(step.cbRow));
        ASSERT_EQ(bands.Fit(step.rows, step.cbRow), 2);
        if (step.kept) {
            EXPECT_EQ(bands.Buffer(0), previous[0]);
            EXPECT_EQ(bands.Buffer(1), previous[1]);
        } else {
            // Made anew: zeroed, whatever the last page left in the old ones.
            for (int i = 0; i < 2; ++i) {
                const BYTE* pb = bands.Buffer(i);
                EXPECT_TRUE(pb[0] == 0 && std::memcmp(pb, pb + 1, step.rows * step.cbRow - 1) == 0);
            }
        }
        for (int i = 0; i < 2; ++i) {
            previous[i] = bands.Buffer(i);
            std::memset(previous[i], 0xA5, step.rows * step.cbRow);  // what a page leaves behind
        }
    }
}

TEST(JobBands, MadeAtTheFirstPageAndFreedWithTheJob)
{
    tagJOBINFO job {};
    JobBands* pBands = JobBandsOf(&job);
    ASSERT_NE(pBands, nullptr);
    EXPECT_EQ(JobBandsOf(&job), pBands);
    EXPECT_TRUE(pBands->Screener().Threaded());
    FreeJobBands(&job);
    EXPECT_EQ(job.pBands, nullptr);
    FreeJobBands(&job);  // twice is harmless
}

}  // namespace
