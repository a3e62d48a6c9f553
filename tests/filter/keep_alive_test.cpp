#include "JobFixture.h"
#include "filter/job/KeepAlive.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using filtertest::OutputCapture;
using filtertest::TestJob;

namespace {

const std::string kSequence("\x1B\x26\x26\x30\x53", 5);

size_t CountOf(const std::string& haystack, const std::string& needle)
{
    size_t n = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

TEST(KeepAlive, IntervalIsReadFromTheModel)
{
    struct Case {
        const char* pszModel;
        int iSeconds;
    } cases[] = {{"filter-secure-keepalive", 1}, {"filter-no-secure", 0}, {"filter-pjl-lf", 0}};
    for (const Case& c : cases) {
        TestJob job;
        job.LoadModel(c.pszModel);
        EXPECT_EQ(ReadKeepAliveSeconds(job->pSpcData), c.iSeconds) << c.pszModel;
    }
    EXPECT_EQ(ReadKeepAliveSeconds(nullptr), 0);
}

TEST(KeepAlive, NoThreadWithoutAnInterval)
{
    TestJob job;
    EXPECT_EQ(StartKeepAliveThread(job.get()), 0);
    EXPECT_EQ(job->keepAliveThread, pthread_t{});
}

// A one-second model interval: the first keep-alive follows one to two seconds after output stops.
class KeepAliveRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_job.LoadModel("filter-secure-keepalive");
        m_job->iKeepAliveSeconds = ReadKeepAliveSeconds(m_job->pSpcData);
        ASSERT_EQ(m_job->iKeepAliveSeconds, 1);
    }
    orvtest::ScratchDir m_dir;
    TestJob m_job;
    OutputCapture m_out{m_job, m_dir / "out.bin"};
};

TEST_F(KeepAliveRun, NothingIsSentBeforeTheJobsFirstOutput)
{
    ASSERT_EQ(StartKeepAliveThread(m_job.get()), -1);
    sleep(3);
    StopKeepAliveThread(m_job.get());
    EXPECT_EQ(m_out.Bytes(), "");
}

TEST_F(KeepAliveRun, IdleOutputGetsTheSequenceAfterTheInterval)
{
    ASSERT_EQ(StartKeepAliveThread(m_job.get()), -1);
    OutputPuts(m_job.get(), "job");
    sleep(3);
    StopKeepAliveThread(m_job.get());
    EXPECT_EQ(m_job->keepAliveThread, pthread_t{}) << "stopped and joined";
    std::string bytes = m_out.Bytes();
    ASSERT_GE(bytes.size(), 3 + kSequence.size());
    EXPECT_EQ(bytes.substr(0, 3), "job");
    std::string rest = bytes.substr(3);
    EXPECT_GE(CountOf(rest, kSequence), 1u);
    EXPECT_EQ(rest.size(), CountOf(rest, kSequence) * kSequence.size()) << "only whole sequences follow";
}

// The keep-alive write counts as output itself: with a one-second interval the first sequence
// follows one to two seconds after the job's output stops, and the later ones two seconds apart.
TEST_F(KeepAliveRun, SequencesFollowEveryIntervalPlusOneSecond)
{
    using Clock = std::chrono::steady_clock;
    ASSERT_EQ(StartKeepAliveThread(m_job.get()), -1);
    OutputPuts(m_job.get(), "job");
    const Clock::time_point start = Clock::now();
    std::vector<double> arrivals;  // seconds after the output, one per sequence as it appears
    while (Clock::now() - start < std::chrono::milliseconds(5600)) {
        const size_t sequences = CountOf(m_out.Bytes(), kSequence);
        while (arrivals.size() < sequences) {
            arrivals.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    StopKeepAliveThread(m_job.get());
    ASSERT_GE(arrivals.size(), 2u);
    EXPECT_GE(arrivals[0], 0.9);
    EXPECT_LE(arrivals[0], 2.4);
    for (size_t i = 1; i < arrivals.size(); ++i) {
        EXPECT_NEAR(arrivals[i] - arrivals[i - 1], 2.0, 0.4) << "between sequences " << i << " and " << i + 1;
    }
}

TEST_F(KeepAliveRun, NeverSentWhileAPageIsOpen)
{
    ASSERT_EQ(StartKeepAliveThread(m_job.get()), -1);
    pthread_mutex_lock(&m_job->pageLock);
    OutputPuts(m_job.get(), "page-start|");
    sleep(4);
    OutputPuts(m_job.get(), "|page-end");
    pthread_mutex_unlock(&m_job->pageLock);
    StopKeepAliveThread(m_job.get());
    std::string bytes = m_out.Bytes();
    const std::string page = "page-start||page-end";
    ASSERT_EQ(bytes.substr(0, page.size()), page);
    std::string after = bytes.substr(page.size());
    EXPECT_EQ(after.size(), CountOf(after, kSequence) * kSequence.size()) << "only after the page ends";
}

}  // namespace
