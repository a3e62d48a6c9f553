// A page compressed on several threads ahead of the one that writes its blocks: the same bytes in
// the same order as the one-thread encoding, whatever the library does band by band (encodes the
// band, fails, stops early, takes no row) and whatever the page's shape; and the band-planes really
// are compressed at once on several threads.
#include "EncodeTestSupport.h"

#include "filter/render/PageEncode.h"
#include "filter/render/PageEncodeAhead.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"

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

Encoded Encode(const std::vector<std::vector<uint8_t>>& planes, unsigned width, unsigned height, LONG bandRows,
               PFNCOMPRESS entry, unsigned threads)
{
    Encoded e;
    EncodePageFixture page;
    page.SetPage(width, height, planes);
    page.context()->pfnCompress = entry;
    e.result = threads == 0 ? EncodePage(page.context(), width, height, bandRows, page.settings(), page.options())
                            : EncodePageAhead(page.context(), width, height, bandRows, page.settings(),
                                              page.options(), threads);
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
        unsigned threads;
        PFNCOMPRESS entry;  // nullptr: the library is missing
    } cases[] = {
        {"monochrome, the library", 1000, 2000, 1, 100, 4, Doubles::real},
        {"colour, the library", 640, 1100, 4, 128, 4, Doubles::real},
        {"colour, failures, early stops and refusals", 700, 1500, 4, 128, 2, Doubles::ByRows},
        {"monochrome, failures, early stops and refusals", 1200, 900, 1, 64, 3, Doubles::ByRows},
        {"odd width and a short last band", 333, 1031, 4, 64, 4, Doubles::ByRows},
        {"one band of one plane", 64, 40, 1, 512, 4, Doubles::real},
        {"one band of four planes", 200, 30, 4, 512, 3, Doubles::ByRows},
        {"no library: every band raw", 500, 700, 4, 100, 4, nullptr},
        {"more threads than the encoder uses", 400, 2000, 4, 50, 16, Doubles::ByRows},
        {"the model's default band height", 300, 1300, 4, 0, 4, Doubles::real},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::vector<uint8_t>> planes = MixedPlanes(c.width, c.height, c.planes);
        const Encoded one = Encode(planes, c.width, c.height, c.bandRows, c.entry, 0);
        const Encoded ahead = Encode(planes, c.width, c.height, c.bandRows, c.entry, c.threads);
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
    const Encoded ahead = Encode(MixedPlanes(width, height, 4), width, height, 128, Doubles::ByRows, 4);
    const std::vector<encodetest::Block> blocks = encodetest::ReadBlocks(ahead.bytes);
    const size_t bandPlanes = (height + 127) / 128 * 4;
    const size_t raw = std::count_if(blocks.begin(), blocks.end(), [](const encodetest::Block& b) {
        return b.compression == 0;
    });
    EXPECT_GT(raw, 0u);
    EXPECT_LT(raw, blocks.size());
    EXPECT_GT(blocks.size(), bandPlanes);
}

TEST_F(EncodeAhead, SeveralThreadsCompressAtOnceAndOneThreadStaysOnTheCaller)
{
    const unsigned width = 800, height = 2048;
    const std::vector<std::vector<uint8_t>> planes = MixedPlanes(width, height, 4);
    const Encoded one = Encode(planes, width, height, 128, Doubles::real, 0);

    Concurrency::Start(true);
    const Encoded ahead = Encode(planes, width, height, 128, Concurrency::Entry, 4);
    EXPECT_TRUE(ahead.bytes == one.bytes);
    EXPECT_GE(Concurrency::most, 2);
    EXPECT_GE(Concurrency::threads.size(), 2u);
    EXPECT_LE(Concurrency::threads.size(), kEncodeThreadsMax);

    Concurrency::Start(false);
    const Encoded single = Encode(planes, width, height, 128, Concurrency::Entry, 1);
    EXPECT_TRUE(single.bytes == one.bytes);
    EXPECT_EQ(Concurrency::most, 1);
    EXPECT_EQ(Concurrency::threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

// Nothing to encode: no bitmap, or a language without raster blocks. The threads never start and
// the result is the one-thread encoding's.
TEST_F(EncodeAhead, PagesWithoutRasterBlocksFailAsWithOneThread)
{
    EncodePageFixture noBitmap;
    EXPECT_EQ(EncodePageAhead(noBitmap.context(), 100, 100, 64, noBitmap.settings(), noBitmap.options(), 4),
              FLAG_FALSE);

    EncodePageFixture otherLanguage;
    otherLanguage.SetPage(100, 100, MixedPlanes(100, 100, 1));
    otherLanguage.options()->dwLangType = LANGTYPE_PCL;
    EXPECT_EQ(EncodePageAhead(otherLanguage.context(), 100, 100, 64, otherLanguage.settings(),
                              otherLanguage.options(), 4),
              FLAG_FALSE);
    EXPECT_EQ(otherLanguage.options()->pPageBitmap, nullptr);
    EXPECT_TRUE(DrainOutput(otherLanguage.context()).empty());
}

}  // namespace
