// The screening of a page on the job's workers: every band is screened once, up to the screener's
// depth at a time on as many workers, each with working memory no other band in hand uses, while
// the hand-over returns at once; bands are reported done in the order they were handed over, also
// when they finish out of order; a band buffer is never refilled while its band is screened; a
// failed band refuses the bands after it; and the screener is done with every band (so its buffer
// may go) when Finish or its end returns, also when the page stops early.
#include "filter/stream/BandScreener.h"

#include "filter/render/workers/WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// What the screening sees, band by band, and a gate that holds a chosen band until opened.
struct Recorder {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<LONG> screened;  // the bands screened (by first row), in the order they finished
    std::vector<LONG> done;      // the bands reported done, in order
    std::vector<std::thread::id> threads;
    std::set<tagSCREENSCRATCH*> scratchInUse;
    bool scratchShared = false;   // two bands in hand at once had the same working memory
    bool bufferRefilled = false;  // a band's pixels changed while it was screened
    int inside = 0;               // bands being screened at once
    int most = 0;
    LONG failAt = -1;  // the band whose screening fails
    LONG holdAt = -1;  // the band held until `open`
    bool holding = false;
    bool open = false;

    static bool Screen(void* pv, const tagSCREENBAND& band, tagSCREENSCRATCH* scratch, DWORD* ink)
    {
        Recorder& r = *static_cast<Recorder*>(pv);
        const BYTE tag = band.pbPixels[0];
        {
            std::unique_lock<std::mutex> lock(r.lock);
            r.most = std::max(r.most, ++r.inside);
            r.threads.push_back(std::this_thread::get_id());
            if (scratch != nullptr && !r.scratchInUse.insert(scratch).second) {
                r.scratchShared = true;
            }
            if (band.lFirstRow == r.holdAt) {
                r.holding = true;
                r.changed.notify_all();
                // The bound only keeps a broken screener from hanging the test run.
                r.changed.wait_for(lock, std::chrono::seconds(30), [&r] { return r.open; });
            }
        }
        // Long enough for a reader that refills a buffer too early to do it meanwhile.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::lock_guard<std::mutex> lock(r.lock);
        if (band.pbPixels[0] != tag) {
            r.bufferRefilled = true;
        }
        r.scratchInUse.erase(scratch);
        --r.inside;
        r.screened.push_back(band.lFirstRow);
        r.changed.notify_all();
        *ink = static_cast<DWORD>(band.lFirstRow);
        return band.lFirstRow != r.failAt;
    }
    static void Done(void* pv, const tagSCREENBAND& band, DWORD ink)
    {
        Recorder& r = *static_cast<Recorder*>(pv);
        std::lock_guard<std::mutex> lock(r.lock);
        EXPECT_EQ(ink, static_cast<DWORD>(band.lFirstRow)) << "the band's own ink";
        r.done.push_back(band.lFirstRow);
    }
    template <typename Pred>
    void WaitFor(Pred pred)
    {
        std::unique_lock<std::mutex> lock(this->lock);
        changed.wait_for(lock, std::chrono::seconds(30), pred);
    }
    void Open()
    {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
    std::vector<LONG> Done()
    {
        std::lock_guard<std::mutex> guard(lock);
        return done;
    }
};

// The reader's band buffers, one more than the screener's depth, filled in turn: each band's
// buffer holds the band's number, which the screening checks did not change under it. Made before
// the screener, as a page's buffers are, so that they outlive its bands.
class Reader {
public:
    explicit Reader(unsigned depth) : m_buffers(depth + 1, std::vector<BYTE>(16)) {}
    tagSCREENBAND Fill(LONG band)
    {
        std::vector<BYTE>& buffer = m_buffers[static_cast<size_t>(band) % m_buffers.size()];
        std::fill(buffer.begin(), buffer.end(), static_cast<BYTE>(band));
        return tagSCREENBAND{buffer.data(), 16, band * 16};
    }

private:
    std::vector<std::vector<BYTE>> m_buffers;
};

TEST(BandScreener, ScreensEveryBandOnceAndReportsThemInTheHandedOrder)
{
    struct Case {
        unsigned workers;
        unsigned depth;
        unsigned expectDepth;
    } cases[] = {{4, 0, 0}, {0, 3, 0}, {4, 1, 1}, {4, 3, 3}, {2, 4, 4}, {8, 9, kMaxScreenDepth}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.workers) + " workers, depth " + std::to_string(c.depth));
        WorkerPool pool(c.workers);
        Recorder r;
        std::vector<LONG> handed;
        {
            Reader reader(c.expectDepth);
            BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, c.depth);
            EXPECT_EQ(screener.Depth(), c.expectDepth);
            for (LONG band = 0; band < 40; ++band) {
                ASSERT_TRUE(screener.Hand(reader.Fill(band)));
                handed.push_back(band * 16);
            }
            EXPECT_TRUE(screener.Finish());
        }
        EXPECT_EQ(r.done, handed);
        std::vector<LONG> screened = r.screened;
        std::sort(screened.begin(), screened.end());
        EXPECT_EQ(screened, handed);
        EXPECT_LE(r.most, static_cast<int>(std::max(1u, c.expectDepth)));
        EXPECT_FALSE(r.scratchShared);
        EXPECT_FALSE(r.bufferRefilled);
        for (std::thread::id id : r.threads) {
            EXPECT_EQ(id == std::this_thread::get_id(), c.expectDepth == 0);
        }
    }
}

// Bands in hand really are screened at once, on as many workers as the depth.
TEST(BandScreener, BandsInHandAreScreenedAtOnce)
{
    WorkerPool pool(3);
    Recorder r;
    r.holdAt = 0;
    Reader reader(3);
    BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, 3);
    ASSERT_TRUE(screener.Hand(reader.Fill(0)));
    ASSERT_TRUE(screener.Hand(reader.Fill(1)));
    ASSERT_TRUE(screener.Hand(reader.Fill(2)));
    r.WaitFor([&r] { return r.holding && r.screened.size() == 2; });  // band 0 held, 1 and 2 done
    EXPECT_GE(r.most, 2);
    EXPECT_TRUE(r.Done().empty()) << "bands reported before the band above them";
    r.Open();
    EXPECT_TRUE(screener.Finish());
    EXPECT_EQ(r.Done(), (std::vector<LONG>{0, 16, 32}));
    EXPECT_GE(std::set<std::thread::id>(r.threads.begin(), r.threads.end()).size(), 2u);
}

// The reading thread gets its hand back while the band is still being screened, and a hand-over
// that would need the held band's buffer waits for that band.
TEST(BandScreener, HandOverWaitsOnlyForTheBufferItNeeds)
{
    WorkerPool pool(2);
    Recorder r;
    r.holdAt = 0;
    Reader reader(2);
    BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, 2);
    ASSERT_TRUE(screener.Hand(reader.Fill(0)));
    ASSERT_TRUE(screener.Hand(reader.Fill(1)));  // band 0 in hand, buffer 2 free
    r.WaitFor([&r] { return r.holding; });
    std::thread opener([&r] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        r.Open();
    });
    EXPECT_TRUE(screener.Hand(reader.Fill(2)));  // returns once band 0's buffer is free again
    EXPECT_EQ(r.Done().front(), 0);
    EXPECT_TRUE(screener.Finish());
    opener.join();
    EXPECT_EQ(r.Done(), (std::vector<LONG>{0, 16, 32}));
    EXPECT_FALSE(r.bufferRefilled);
}

// A band that fails: a later hand-over or Finish says so, no band is reported from the failed one
// on, and no more bands are taken than were already in hand. Screened at its hand-over, the band's
// own hand-over says so.
TEST(BandScreener, FailedBandRefusesTheBandsAfterIt)
{
    struct Case {
        unsigned depth;
        LONG failAt;  // band number
    } cases[] = {{0, 0}, {0, 3}, {1, 0}, {1, 3}, {3, 0}, {3, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE("depth " + std::to_string(c.depth) + ", fails at band " + std::to_string(c.failAt));
        WorkerPool pool(3);
        Recorder r;
        r.failAt = c.failAt * 16;
        Reader reader(c.depth);
        BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, c.depth);
        LONG refusedAt = -1;
        for (LONG band = 0; band < 20; ++band) {
            if (!screener.Hand(reader.Fill(band))) {
                refusedAt = band;
                break;
            }
        }
        if (c.depth == 0) {
            EXPECT_EQ(refusedAt, c.failAt);
        } else {
            EXPECT_GE(refusedAt, c.failAt);
            EXPECT_LE(refusedAt, c.failAt + static_cast<LONG>(c.depth));
        }
        EXPECT_FALSE(screener.Finish());
        EXPECT_FALSE(screener.Hand(reader.Fill(30)));
        std::vector<LONG> before;
        for (LONG band = 0; band < c.failAt; ++band) {
            before.push_back(band * 16);
        }
        EXPECT_EQ(r.Done(), before);
        const LONG last = *std::max_element(r.screened.begin(), r.screened.end());
        EXPECT_LE(last, (c.failAt + static_cast<LONG>(c.depth)) * 16);
    }
}

// The reading stops in the middle of a page (the pipe ended) with bands in hand: the screener's end
// waits for them, so their buffers outlive their screening.
TEST(BandScreener, EndWithBandsInHandWaitsForThem)
{
    WorkerPool pool(3);
    Recorder r;
    r.holdAt = 32;
    std::thread opener;
    {
        Reader reader(3);
        BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, 3);
        ASSERT_TRUE(screener.Hand(reader.Fill(0)));
        ASSERT_TRUE(screener.Hand(reader.Fill(1)));
        ASSERT_TRUE(screener.Hand(reader.Fill(2)));
        r.WaitFor([&r] { return r.holding; });
        opener = std::thread([&r] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            r.Open();
        });
    }  // no Finish: the page stopped early
    opener.join();
    std::lock_guard<std::mutex> lock(r.lock);
    EXPECT_EQ(r.inside, 0);
    EXPECT_EQ(r.screened.size(), 3u);
}

// A page that ends before its first band: nothing is screened and nothing is left in the pool.
TEST(BandScreener, PageWithoutBandsEndsCleanly)
{
    WorkerPool pool(2);
    Recorder r;
    {
        BandScreener screener(Recorder::Screen, Recorder::Done, &r, &pool, 2);
        EXPECT_TRUE(screener.Finish());
    }
    EXPECT_TRUE(r.screened.empty());
    EXPECT_TRUE(r.done.empty());
}

}  // namespace
