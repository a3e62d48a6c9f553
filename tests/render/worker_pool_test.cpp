// The job's workers: every task queued runs once, on a worker; a pool without workers queues
// nothing, so that its user runs the task itself; the pool's end runs what is still queued and
// joins every worker, leaving no thread behind; and the job starts one worker a usable processor,
// within bounds.
#include "filter/render/workers/WorkerPool.h"

#include <gtest/gtest.h>

#include "support/ProcessThreads.h"


#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace {

using orvtest::ProcessThreads;

struct Tally {
    std::mutex lock;
    std::condition_variable changed;
    std::set<std::thread::id> threads;
    int runs = 0;
    bool open = true;  // false: every task waits until opened

    static void Run(void* pv)
    {
        Tally& t = *static_cast<Tally*>(pv);
        std::unique_lock<std::mutex> guard(t.lock);
        // The bound only keeps a broken pool from hanging the test run.
        t.changed.wait_for(guard, std::chrono::seconds(30), [&t] { return t.open; });
        t.threads.insert(std::this_thread::get_id());
        ++t.runs;
    }
    void Open()
    {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
};

TEST(WorkerPool, EveryTaskRunsOnceOnAWorker)
{
    Tally tally;
    const size_t before = ProcessThreads();
    {
        WorkerPool pool(3);
        EXPECT_EQ(pool.Threads(), 3u);
        EXPECT_EQ(ProcessThreads(), before + 3);
        for (int i = 0; i < 200; ++i) {
            ASSERT_TRUE(pool.Submit(Tally::Run, &tally));
        }
    }
    EXPECT_EQ(tally.runs, 200);
    EXPECT_LE(tally.threads.size(), 3u);
    EXPECT_EQ(tally.threads.count(std::this_thread::get_id()), 0u);
    EXPECT_EQ(ProcessThreads(), before);
}

TEST(WorkerPool, WithoutWorkersNothingIsQueued)
{
    Tally tally;
    WorkerPool pool(0);
    EXPECT_EQ(pool.Threads(), 0u);
    EXPECT_FALSE(pool.Submit(Tally::Run, &tally));
    EXPECT_EQ(tally.runs, 0);
}

// The pool ends while its one worker is busy and tasks wait: they still run before it is joined.
TEST(WorkerPool, EndRunsWhatIsStillQueuedThenJoins)
{
    Tally tally;
    tally.open = false;
    const size_t before = ProcessThreads();
    std::thread opener;
    {
        WorkerPool pool(1);
        for (int i = 0; i < 10; ++i) {
            ASSERT_TRUE(pool.Submit(Tally::Run, &tally));
        }
        opener = std::thread([&tally] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            tally.Open();
        });
    }
    opener.join();
    EXPECT_EQ(tally.runs, 10);
    EXPECT_EQ(ProcessThreads(), before);
}

TEST(WorkerPool, JobStartsAWorkerAUsableProcessorWithinBounds)
{
    struct Case {
        unsigned cpus;
        unsigned workers;
    } cases[] = {{0, 0}, {1, 0}, {2, 2}, {3, 3}, {4, 4}, {8, 4}, {64, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(JobWorkerCount(c.cpus), c.workers) << c.cpus << " processors";
    }
}

}  // namespace
