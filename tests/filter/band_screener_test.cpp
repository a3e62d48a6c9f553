// The screening thread of a job: bands are screened in the order they were handed over, one at a
// time, while the hand-over returns at once; a failed band refuses every band after it, up to the
// next page; the pages of a job are screened on one thread; and the screener is done with every
// band (so its buffer may go) when Finish, the next page's start or its end returns, also when the
// page stops early.
#include "filter/stream/BandScreener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// What the screening sees, band by band, and a gate that holds a chosen band until opened.
struct Recorder {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<LONG> firstRows;  // the bands screened, in order
    std::vector<std::thread::id> threads;
    std::atomic<int> inside{0};           // bands being screened at once
    std::atomic<bool> overlapped{false};  // two bands were ever screened at once
    LONG failAt = -1;                     // the band (by first row) whose screening fails
    LONG holdAt = -1;                     // the band held until `open`
    bool holding = false;                 // that band has arrived and waits
    bool open = false;

    static bool Screen(void* pv, const tagSCREENBAND& band)
    {
        Recorder& r = *static_cast<Recorder*>(pv);
        if (r.inside.fetch_add(1) != 0) {
            r.overlapped = true;
        }
        std::unique_lock<std::mutex> lock(r.lock);
        r.firstRows.push_back(band.lFirstRow);
        r.threads.push_back(std::this_thread::get_id());
        if (band.lFirstRow == r.holdAt) {
            r.holding = true;
            r.changed.notify_all();
            // The bound only keeps a broken screener from hanging the test run.
            r.changed.wait_for(lock, std::chrono::seconds(30), [&r] { return r.open; });
        }
        r.inside.fetch_sub(1);
        return band.lFirstRow != r.failAt;
    }
    void WaitHolding()
    {
        std::unique_lock<std::mutex> lock(this->lock);
        changed.wait_for(lock, std::chrono::seconds(30), [this] { return holding; });
    }
    void Open()
    {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
};

tagSCREENBAND Band(LONG lFirstRow)
{
    static const BYTE kPixels[4] = {};
    return tagSCREENBAND{kPixels, 1, lFirstRow};
}

TEST(BandScreener, ScreensEveryBandInTheHandedOrderOneAtATime)
{
    for (bool bThreaded : {true, false}) {
        SCOPED_TRACE(bThreaded ? "threaded" : "on the caller's thread");
        Recorder r;
        std::vector<LONG> handed;
        {
            BandScreener screener(Recorder::Screen, &r, bThreaded);
            EXPECT_EQ(screener.Threaded(), bThreaded);
            for (LONG y = 0; y < 40 * 16; y += 16) {
                ASSERT_TRUE(screener.Hand(Band(y)));
                handed.push_back(y);
            }
            EXPECT_TRUE(screener.Finish());
            EXPECT_EQ(r.firstRows, handed);
        }
        EXPECT_FALSE(r.overlapped);
        for (std::thread::id id : r.threads) {
            EXPECT_EQ(id == std::this_thread::get_id(), !bThreaded);
        }
    }
}

// The reading thread gets its hand back while the band is still being screened, and the next
// hand-over waits for that band.
TEST(BandScreener, HandOverReturnsWhileTheBandIsScreened)
{
    Recorder r;
    r.holdAt = 0;
    BandScreener screener(Recorder::Screen, &r, true);
    ASSERT_TRUE(screener.Hand(Band(0)));
    r.WaitHolding();  // band 0 is in the screener's hands and this thread goes on
    std::thread opener([&r] { r.Open(); });
    EXPECT_TRUE(screener.Hand(Band(16)));  // returns once band 0 is done
    EXPECT_TRUE(screener.Finish());
    opener.join();
    EXPECT_EQ(r.firstRows, (std::vector<LONG>{0, 16}));
}

// A band that fails: the hand-over that learns it says so, and no band after the failed one is
// screened; Finish reports the failure. A screening thread is learnt of at the next hand-over (which
// waits for the band before it); screened at its hand-over, the band's own hand-over says so.
TEST(BandScreener, FailedBandRefusesTheBandsAfterIt)
{
    struct Case {
        bool bThreaded;
        LONG failAt;
        LONG refusedAt;  // the first hand-over that returns false
    } cases[] = {{true, 0, 16}, {true, 48, 64}, {false, 0, 0}, {false, 48, 48}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.bThreaded ? "threaded" : "inline") + ", fails at " + std::to_string(c.failAt));
        Recorder r;
        r.failAt = c.failAt;
        BandScreener screener(Recorder::Screen, &r, c.bThreaded);
        LONG refusedAt = -1;
        for (LONG y = 0; y < 160; y += 16) {
            if (!screener.Hand(Band(y))) {
                refusedAt = y;
                break;
            }
        }
        EXPECT_EQ(refusedAt, c.refusedAt);
        EXPECT_FALSE(screener.Finish());
        EXPECT_FALSE(screener.Hand(Band(500)));
        EXPECT_EQ(r.firstRows.back(), c.failAt);
        EXPECT_EQ(r.firstRows.size(), static_cast<size_t>(c.failAt / 16 + 1));
    }
}

// The reading stops in the middle of a page (the pipe ended) with a band in hand: the screener's
// end waits for that band, so the band's buffer outlives its screening.
TEST(BandScreener, EndWithABandInHandWaitsForIt)
{
    Recorder r;
    r.holdAt = 32;
    std::vector<BYTE> buffer(64, 0x5A);
    std::thread opener;
    {
        BandScreener screener(Recorder::Screen, &r, true);
        ASSERT_TRUE(screener.Hand(Band(0)));
        ASSERT_TRUE(screener.Hand(Band(16)));
        ASSERT_TRUE(screener.Hand(tagSCREENBAND{buffer.data(), 1, 32}));
        r.WaitHolding();
        opener = std::thread([&r] { r.Open(); });
    }  // no Finish: the page stopped early
    opener.join();
    EXPECT_EQ(r.inside.load(), 0);
    EXPECT_EQ(r.firstRows, (std::vector<LONG>{0, 16, 32}));
}

// The pages of a job on one screener: each page's bands reach that page's routine, on the same
// thread for the whole job; a page that failed does not refuse the next page, and starting a page
// waits for the band still in hand of the page before (whose locals go right after).
TEST(BandScreener, PagesOfAJobShareTheThreadAndStartClean)
{
    for (bool bThreaded : {true, false}) {
        SCOPED_TRACE(bThreaded ? "threaded" : "inline");
        Recorder first, second;
        first.failAt = 16;  // the first page's last band fails...
        first.holdAt = bThreaded ? 16 : -1;  // ...and, threaded, is still in hand when page 2 starts
        BandScreener screener(nullptr, nullptr, bThreaded);
        screener.StartPage(Recorder::Screen, &first);
        ASSERT_TRUE(screener.Hand(Band(0)));
        EXPECT_EQ(screener.Hand(Band(16)), bThreaded);  // inline, the band's own hand-over learns it
        std::thread opener;
        if (bThreaded) {
            first.WaitHolding();
            opener = std::thread([&first] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                first.Open();
            });
        }
        screener.StartPage(Recorder::Screen, &second);
        EXPECT_EQ(first.inside.load(), 0);
        EXPECT_EQ(first.firstRows, (std::vector<LONG>{0, 16}));
        EXPECT_TRUE(screener.Hand(Band(0)));
        EXPECT_TRUE(screener.Hand(Band(16)));
        EXPECT_TRUE(screener.Finish());
        if (opener.joinable()) {
            opener.join();
        }
        EXPECT_EQ(second.firstRows, (std::vector<LONG>{0, 16}));
        ASSERT_EQ(first.threads.size(), 2u);
        for (const std::thread::id& id : second.threads) {
            EXPECT_EQ(id, first.threads.front());
        }
        EXPECT_EQ(first.threads.front() != std::this_thread::get_id(), bThreaded);
    }
}

// A page that ends before its first band: nothing is screened and the thread ends.
TEST(BandScreener, PageWithoutBandsEndsCleanly)
{
    Recorder r;
    {
        BandScreener screener(Recorder::Screen, &r, true);
        EXPECT_TRUE(screener.Finish());
    }
    EXPECT_TRUE(r.firstRows.empty());
}

}  // namespace
