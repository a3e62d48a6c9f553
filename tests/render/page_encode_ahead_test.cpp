// A page compressed on the job's workers ahead of the thread that writes its blocks, also while it
// is still being screened: the same bytes in the same order as the one-thread encoding, whatever the
// library does band by band (encodes the band, fails, stops early, takes no row), whatever the
// page's shape and however many workers there are; the band-planes really are compressed at once on
// several threads; and a page given up half-way leaves its bitmap alone and no task of its own in
// the pool.
#include "EncodeTestSupport.h"

#include "filter/render/encode/PageEncode.h"
#include "filter/render/encode/PageEncodeAhead.h"
#include "filter/render/workers/WorkerPool.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using encodetest::DrainOutput;
using encodetest::EncodePageFixture;
using orvtest::MakePlane;
using orvtest::PlanePattern;

// Library doubles that may be called from several threads at once. What they do depends only on
// the rows a call is given, so that the one-thread and the several-thread encodings see the same.
struct Doubles {
    static PFNCOMPRESS real;

    static void PutBe32(BYTE* at, DWORD value)
    {
        at[0] = static_cast<BYTE>(value >> 24);
        at[1] = static_cast<BYTE>(value >> 16);
        at[2] = static_cast<BYTE>(value >> 8);
        at[3] = static_cast<BYTE>(value);
    }

    // By the first byte of the first row asked (mod 4): 0 the library, 1 a failure (the rows go
    // raw), 2 the library on at most 5 rows (an early stop; the header still announces every row
    // asked, as the library's own early stop leaves it), 3 success with no row taken.
    static int ByRows(tagCOMPRESSPARAMS* p)
    {
        switch (p->pFirstRow[0] % 4) {
        case 1:
            return COMPRESS_NO_ROOM;
        case 2: {
            const DWORD asked = p->dwRows;
            const DWORD rows = std::min<DWORD>(asked, 5);
            p->dwRows = rows;
            p->wRows = static_cast<WORD>(rows);
            p->dwStripeRows = std::min(p->dwStripeRows, rows);
            const int status = real(p);
            p->dwRows = asked;
            p->wRows = static_cast<WORD>(asked);
            if (status == COMPRESS_OK && p->qwBytesWritten >= 16) {
                PutBe32(p->pOutput + 8, asked);
                PutBe32(p->pOutput + 12, asked);
            }
            return status;
        }
        case 3:
            p->qwBytesWritten = 0;
            p->dwRowsEncoded = 0;
            return COMPRESS_OK;
        default:
            return real(p);
        }
    }
};
PFNCOMPRESS Doubles::real = nullptr;

// The threads that called the entry, and the most that were inside it at once. The first call
// waits (30 s at most, so that a broken encoder fails rather than hangs) for a second thread to
// come in, so that a page of several threads shows them at work together.
struct Concurrency {
    static std::mutex lock;
    static std::condition_variable changed;
    static std::set<std::thread::id> threads;
    static int inside;
    static int most;
    static bool first;
    static bool waitForSecond;

    static void Start(bool wait)
    {
        std::lock_guard<std::mutex> guard(lock);
        threads.clear();
        inside = most = 0;
        first = true;
        waitForSecond = wait;
    }
    static int Entry(tagCOMPRESSPARAMS* p)
    {
        {
            std::unique_lock<std::mutex> guard(lock);
            threads.insert(std::this_thread::get_id());
            most = std::max(most, ++inside);
            changed.notify_all();
            if (first && waitForSecond) {
                first = false;
                changed.wait_for(guard, std::chrono::seconds(30), [] { return most >= 2; });
            }
        }
        const int status = Doubles::real(p);
        std::lock_guard<std::mutex> guard(lock);
        --inside;
        return status;
    }
};
std::mutex Concurrency::lock;
std::condition_variable Concurrency::changed;
std::set<std::thread::id> Concurrency::threads;
int Concurrency::inside = 0;
int Concurrency::most = 0;
bool Concurrency::first = true;
bool Concurrency::waitForSecond = false;

// Planes of a page whose bands start with rows of every kind the doubles tell apart: the first
// byte of row r is r / 7, so that bands of different heights begin differently.
std::vector<std::vector<uint8_t>> MixedPlanes(unsigned width, unsigned height, size_t count)
{
    const PlanePattern patterns[] = {PlanePattern::TextLike, PlanePattern::Noise, PlanePattern::Dither,
                                     PlanePattern::Sparse};
    std::vector<std::vector<uint8_t>> planes;
    for (size_t i = 0; i < count; ++i) {
        planes.push_back(MakePlane(patterns[i % 4], width, height, static_cast<uint32_t>(i + 1)));
        const size_t rowBytes = orvtest::PlaneRowBytes(width);
        for (unsigned r = 0; r < height; ++r) {
            planes.back()[r * rowBytes] = static_cast<uint8_t>(r / 7 + i);
        }
    }
    return planes;
}

struct Encoded {
    WORD result = 0;
    WORD bandFlagsAfter = 0;
    bool bitmapFreed = false;
    std::vector<uint8_t> bytes;
};

// The page encoded by EncodePage (pool nullptr) or by EncodePageAhead on the pool.
Encoded Encode(const std::vector<std::vector<uint8_t>>& planes, unsigned width, unsigned height, LONG bandRows,
               PFNCOMPRESS entry, WorkerPool* pool)
{
    Encoded e;
    EncodePageFixture page;
    page.SetPage(width, height, planes);
    page.context()->pfnCompress = entry;
    e.result = pool == nullptr
                   ? EncodePage(page.context(), width, height, bandRows, page.settings(), page.options())
                   : EncodePageAhead(page.context(), width, height, bandRows, page.settings(), page.options(), pool);
    e.bandFlagsAfter = page.context()->wBandFlags;
    e.bitmapFreed = page.options()->pPageBitmap == nullptr;
    e.bytes = DrainOutput(page.context());
    return e;
}

class EncodeAhead : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error();
        Doubles::real = m_lib.entry();
    }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_F(EncodeAhead, SameBytesInTheSameOrderAsOneThread)
{
    struct Case {
        const char* name;
        unsigned width, height;
        size_t planes;
        LONG bandRows;
        unsigned workers;
        PFNCOMPRESS entry;  // nullptr: the library is missing
    } cases[] = {
        {"monochrome, the library", 1000, 2000, 1, 100, 3, Doubles::real},
        {"colour, the library", 640, 1100, 4, 128, 3, Doubles::real},
        {"colour, failures, early stops and refusals", 700, 1500, 4, 128, 1, Doubles::ByRows},
        {"monochrome, failures, early stops and refusals", 1200, 900, 1, 64, 2, Doubles::ByRows},
        {"odd width and a short last band", 333, 1031, 4, 64, 3, Doubles::ByRows},
        {"one band of one plane", 64, 40, 1, 512, 3, Doubles::real},
        {"one band of four planes", 200, 30, 4, 512, 2, Doubles::ByRows},
        {"no library: every band raw", 500, 700, 4, 100, 3, nullptr},
        {"more workers than band-planes ahead", 400, 2000, 4, 50, 16, Doubles::ByRows},
        {"the model's default band height", 300, 1300, 4, 0, 3, Doubles::real},
        {"a pool without workers", 640, 1100, 4, 128, 0, Doubles::ByRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::vector<uint8_t>> planes = MixedPlanes(c.width, c.height, c.planes);
        const Encoded one = Encode(planes, c.width, c.height, c.bandRows, c.entry, nullptr);
        WorkerPool pool(c.workers);
        const Encoded ahead = Encode(planes, c.width, c.height, c.bandRows, c.entry, &pool);
        ASSERT_EQ(one.result, FLAG_TRUE);
        EXPECT_EQ(ahead.result, one.result);
        EXPECT_EQ(ahead.bandFlagsAfter, one.bandFlagsAfter);
        EXPECT_TRUE(ahead.bitmapFreed);
        ASSERT_FALSE(one.bytes.empty());
        EXPECT_EQ(ahead.bytes.size(), one.bytes.size());
        EXPECT_TRUE(ahead.bytes == one.bytes) << "the blocks differ";
    }
}

// The mixed page really takes every way through the band compression: raw blocks, JBIG blocks, and
// bands sent in more than one block.
TEST_F(EncodeAhead, MixedPageTakesEveryWayThroughTheCompression)
{
    const unsigned width = 700, height = 1500;
    WorkerPool pool(3);
    const Encoded ahead = Encode(MixedPlanes(width, height, 4), width, height, 128, Doubles::ByRows, &pool);
    const std::vector<encodetest::Block> blocks = encodetest::ReadBlocks(ahead.bytes);
    const size_t bandPlanes = (height + 127) / 128 * 4;
    const size_t raw =
        std::count_if(blocks.begin(), blocks.end(), [](const encodetest::Block& b) { return b.compression == 0; });
    EXPECT_GT(raw, 0u);
    EXPECT_LT(raw, blocks.size());
    EXPECT_GT(blocks.size(), bandPlanes);
}

TEST_F(EncodeAhead, SeveralThreadsCompressAtOnceAndWithoutWorkersTheCallerAlone)
{
    const unsigned width = 800, height = 2048;
    const std::vector<std::vector<uint8_t>> planes = MixedPlanes(width, height, 4);
    const Encoded one = Encode(planes, width, height, 128, Doubles::real, nullptr);

    Concurrency::Start(true);
    WorkerPool pool(3);
    const Encoded ahead = Encode(planes, width, height, 128, Concurrency::Entry, &pool);
    EXPECT_TRUE(ahead.bytes == one.bytes);
    EXPECT_GE(Concurrency::most, 2);
    EXPECT_GE(Concurrency::threads.size(), 2u);
    EXPECT_LE(Concurrency::threads.size(), pool.Threads() + 1);  // the workers and the caller

    Concurrency::Start(false);
    WorkerPool none(0);
    const Encoded single = Encode(planes, width, height, 128, Concurrency::Entry, &none);
    EXPECT_TRUE(single.bytes == one.bytes);
    EXPECT_EQ(Concurrency::most, 1);
    EXPECT_EQ(Concurrency::threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

// Nothing to encode: no bitmap, or a language without raster blocks. No task is queued and the
// result is the one-thread encoding's.
TEST_F(EncodeAhead, PagesWithoutRasterBlocksFailAsWithOneThread)
{
    WorkerPool pool(3);
    EncodePageFixture noBitmap;
    EXPECT_EQ(EncodePageAhead(noBitmap.context(), 100, 100, 64, noBitmap.settings(), noBitmap.options(), &pool),
              FLAG_FALSE);

    EncodePageFixture otherLanguage;
    otherLanguage.SetPage(100, 100, MixedPlanes(100, 100, 1));
    otherLanguage.options()->dwLangType = LANGTYPE_PCL;
    EXPECT_EQ(EncodePageAhead(otherLanguage.context(), 100, 100, 64, otherLanguage.settings(), otherLanguage.options(),
                              &pool),
              FLAG_FALSE);
    EXPECT_EQ(otherLanguage.options()->pPageBitmap, nullptr);
    EXPECT_TRUE(DrainOutput(otherLanguage.context()).empty());
}

// A page compressed while it is screened: its rows become final a few at a time (steps that do not
// fall on band edges), and rows not yet final hold what the screening has not overwritten yet. The
// blocks equal the whole page's encoding, so no band-plane was compressed before its rows were
// final; and they reach the context's buffer only at the page's end, after what was written there
// meanwhile (the page's header, which the front end drains first).
TEST_F(EncodeAhead, PageCompressedWhileItIsScreenedEqualsTheWholePage)
{
    struct Case {
        const char* name;
        unsigned width, height;
        size_t planes;
        LONG bandRows;
        unsigned step;  // rows made final at a time
        unsigned workers;
        PFNCOMPRESS entry;
    } cases[] = {
        {"colour, the library", 640, 1100, 4, 128, 100, 3, Doubles::real},
        {"monochrome, failures, early stops and refusals", 1200, 900, 1, 64, 37, 2, Doubles::ByRows},
        {"colour, rows final in one go", 333, 1031, 4, 64, 1031, 1, Doubles::ByRows},
        {"colour, a row at a time", 200, 300, 4, 32, 1, 3, Doubles::ByRows},
        {"colour, many workers", 640, 1100, 4, 64, 50, 12, Doubles::ByRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::vector<uint8_t>> planes = MixedPlanes(c.width, c.height, c.planes);
        const Encoded one = Encode(planes, c.width, c.height, c.bandRows, c.entry, nullptr);

        WorkerPool pool(c.workers);
        const size_t rowBytes = orvtest::PlaneRowBytes(c.width);
        std::vector<std::vector<uint8_t>> unscreened(c.planes, std::vector<uint8_t>(rowBytes * c.height, 0xA5));
        EncodePageFixture page;
        page.SetPage(c.width, c.height, unscreened);
        page.context()->pfnCompress = c.entry;
        tagPAGEENCODER* encoder = PageEncoderStart(page.context(), page.options(), c.bandRows, &pool);
        ASSERT_NE(encoder, nullptr) << "not started on the workers";
        tagPAGEBITMAP* bitmap = page.options()->pPageBitmap;
        for (unsigned row = 0; row < c.height;) {
            const unsigned end = std::min(c.height, row + c.step);
            for (size_t p = 0; p < c.planes; ++p) {
                std::memcpy(bitmap->pBits + p * PagePlaneBytes(bitmap) + row * rowBytes,
                            planes[p].data() + row * rowBytes, (end - row) * rowBytes);
            }
            PageEncoderRowsDone(encoder, end);
            row = end;
        }
        // The page's header, written while the page is compressed.
        OutputBufferAppendString(RendererStartOutput(page.context()), "page header");
        const std::vector<uint8_t> header = DrainOutput(page.context());
        EXPECT_EQ(std::string(header.begin(), header.end()), "page header");  // no block went there yet

        EXPECT_EQ(PageEncoderFinish(encoder, page.context(), page.options()), FLAG_TRUE);
        EXPECT_EQ(page.options()->pPageBitmap, nullptr);
        EXPECT_EQ(page.context()->wBandFlags, one.bandFlagsAfter);
        const std::vector<uint8_t> bytes = DrainOutput(page.context());
        EXPECT_EQ(bytes.size(), one.bytes.size());
        EXPECT_TRUE(bytes == one.bytes) << "the blocks differ";
    }
}

// A page given up half-way (the pipe ended): its compression stops and the encoder goes without
// touching the bitmap, which the whole-page encoding then still encodes as it would have.
TEST_F(EncodeAhead, PageGivenUpHalfWayLeavesTheBitmapAlone)
{
    const unsigned width = 700, height = 1500;
    const std::vector<std::vector<uint8_t>> planes = MixedPlanes(width, height, 4);
    const Encoded one = Encode(planes, width, height, 128, Doubles::ByRows, nullptr);

    WorkerPool pool(3);
    EncodePageFixture page;
    page.SetPage(width, height, planes);
    page.context()->pfnCompress = Doubles::ByRows;
    tagPAGEENCODER* encoder = PageEncoderStart(page.context(), page.options(), 128, &pool);
    ASSERT_NE(encoder, nullptr);
    PageEncoderRowsDone(encoder, height / 2);
    PageEncoderFree(encoder);
    ASSERT_NE(page.options()->pPageBitmap, nullptr);
    EXPECT_EQ(EncodePage(page.context(), width, height, 128, page.settings(), page.options()), FLAG_TRUE);
    EXPECT_TRUE(DrainOutput(page.context()) == one.bytes);
    PageEncoderFree(nullptr);
}

// A worker held busy (as by another page's band-plane) until opened.
struct Gate {
    std::mutex lock;
    std::condition_variable changed;
    bool busy = false;
    bool open = false;

    static void Hold(void* pv)
    {
        Gate& g = *static_cast<Gate*>(pv);
        std::unique_lock<std::mutex> guard(g.lock);
        g.busy = true;
        g.changed.notify_all();
        // The bound only keeps a broken encoder from hanging the test run.
        g.changed.wait_for(guard, std::chrono::seconds(30), [&g] { return g.open; });
    }
    void WaitBusy()
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait_for(guard, std::chrono::seconds(30), [this] { return busy; });
    }
    void Open()
    {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
    bool Opened()
    {
        std::lock_guard<std::mutex> guard(lock);
        return open;
    }
};

// A page given up while its compression tasks still wait in the pool behind other work: the
// encoder's end waits until they have run (and left at once), so that none runs on a freed encoder;
// the pool goes on serving the job.
TEST_F(EncodeAhead, PageGivenUpWithTasksStillQueuedWaitsForThem)
{
    const unsigned width = 700, height = 1500;
    WorkerPool pool(1);
    Gate gate;
    ASSERT_TRUE(pool.Submit(Gate::Hold, &gate));
    gate.WaitBusy();

    EncodePageFixture page;
    page.SetPage(width, height, MixedPlanes(width, height, 4));
    page.context()->pfnCompress = Doubles::ByRows;
    tagPAGEENCODER* encoder = PageEncoderStart(page.context(), page.options(), 128, &pool);
    ASSERT_NE(encoder, nullptr);
    PageEncoderRowsDone(encoder, height);  // tasks queued behind the held worker
    std::thread opener([&gate] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        gate.Open();
    });
    PageEncoderFree(encoder);
    EXPECT_TRUE(gate.Opened()) << "the encoder went while its tasks were queued";
    opener.join();

    Gate after;
    after.open = true;
    ASSERT_TRUE(pool.Submit(Gate::Hold, &after));
    after.WaitBusy();
}

// Pages the encoder does not take while they are screened: they are encoded whole at their end.
TEST_F(EncodeAhead, PagesWithoutWorkersAreNotStartedEarly)
{
    WorkerPool pool(3);
    WorkerPool none(0);
    EncodePageFixture noBitmap;
    EXPECT_EQ(PageEncoderStart(noBitmap.context(), noBitmap.options(), 64, &pool), nullptr);

    EncodePageFixture oneThread;
    oneThread.SetPage(100, 100, MixedPlanes(100, 100, 1));
    EXPECT_EQ(PageEncoderStart(oneThread.context(), oneThread.options(), 64, &none), nullptr);
    EXPECT_EQ(PageEncoderStart(oneThread.context(), oneThread.options(), 64, nullptr), nullptr);

    EncodePageFixture otherLanguage;
    otherLanguage.SetPage(100, 100, MixedPlanes(100, 100, 1));
    otherLanguage.options()->dwLangType = LANGTYPE_PCL;
    EXPECT_EQ(PageEncoderStart(otherLanguage.context(), otherLanguage.options(), 64, &pool), nullptr);
    EXPECT_NE(otherLanguage.options()->pPageBitmap, nullptr);

    EXPECT_EQ(PageEncoderFinish(nullptr, oneThread.context(), oneThread.options()), FLAG_FALSE);
    EXPECT_EQ(oneThread.options()->pPageBitmap, nullptr);  // freed whatever the outcome
}

}  // namespace
