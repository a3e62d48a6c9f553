// The fast screening sets exactly the dots of the reference and reports the same ink, on random
// bands and on bands that Ghostscript rendered from a PostScript page.
#include "ScreenTestSupport.h"

#include "filter/render/color/ColorTableFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using rendertest::AvailableSimdLevels;
using rendertest::Band;
using rendertest::kScreenImpls;
using rendertest::ScopedSimdLevel;
using rendertest::ScreenImpl;
using rendertest::ScreenPage;
using rendertest::SimdName;

struct PlacedBand {
    Band band;
    int x, y;
};

// Random tables for every plane: curves, threshold matrices of their own sizes, a LUT with or
// without UCR/BG, gray weights (sometimes negative), either interpolation.
void RandomTables(ScreenPage& page, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        std::vector<BYTE> curve(256);
        for (BYTE& v : curve) {
            v = static_cast<BYTE>(byte(rng));
        }
        page.SetCurve(slot, curve);
        const int width = 1 + static_cast<int>(rng() % 9);
        const int height = 1 + static_cast<int>(rng() % 5);
        std::vector<std::vector<BYTE>> matrix(height, std::vector<BYTE>(width));
        for (auto& row : matrix) {
            for (BYTE& v : row) {
                v = static_cast<BYTE>(byte(rng));
            }
        }
        page.SetMatrix(slot, matrix);
    }
    for (size_t n = 0; n < LUT_BYTES; ++n) {
        page.block()->abLut[n] = static_cast<BYTE>(byte(rng));
    }
    page.block()->abLutKey[CT_KEY_LUTFLAGS] = (rng() & 1) ? CT_LUT_UCR_BG : 0;
    page.block()->abLutKey[CT_KEY_UCR] = static_cast<BYTE>(rng() % 101);
    page.block()->abLutKey[CT_KEY_BG] = static_cast<BYTE>(rng() % 101);
    page.settings()->priv.dmClrCtrl.wInterpolation = static_cast<WORD>(rng() & 1);
    std::uniform_int_distribution<int> weight(-20, 80);
    for (SHORT& w : page.context()->asGrayWeight) {
        w = static_cast<SHORT>(weight(rng));
    }
}

// Bands of the kinds a page holds: white runs, runs of one colour, rows that repeat, a few colours
// that meet in one cache entry, and noise.
Band RandomBand(std::mt19937& rng)
{
    const int width = 1 + static_cast<int>(rng() % 80);
    const int rows = 1 + static_cast<int>(rng() % 10);
    Band band(width, rows);
    if (rng() % 4 == 0) {
        band.DarkenPadding();
    }
    const BYTE palette[][3] = {{0, 0, 0},       {10, 20, 30},    {30, 20, 10}, {20, 30, 10},
                               {255, 255, 254}, {128, 128, 128}, {255, 0, 0},  {0, 255, 255}};
    for (int y = 0; y < rows; ++y) {
        if (y > 0 && rng() % 3 == 0) {
            std::memcpy(band.data() + y * band.stride(), band.data() + (y - 1) * band.stride(), 3 * width);
            continue;
        }
        int x = 0;
        while (x < width) {
            const int run = 1 + static_cast<int>(rng() % 12);
            const int kind = static_cast<int>(rng() % 4);
            BYTE c[3] = {};  // set at the run's first pixel before it is used
            const BYTE* pal = palette[rng() % 8];
            for (int i = 0; i < run && x < width; ++i, ++x) {
                if (kind == 0) {
                    continue;  // white
                }
                if (kind == 3 || i == 0) {
                    for (BYTE& v : c) {
                        v = static_cast<BYTE>(rng());
                    }
                    if (kind == 2) {
                        std::memcpy(c, pal, 3);
                    }
                }
                band.Set(x, y, c[0], c[1], c[2]);
            }
        }
    }
    return band;
}

// Screens the bands once with the reference and once with the fast path at every vector level
// this CPU runs, each on a fresh bitmap and cache; the bitmaps and the ink of every band must agree.
void ExpectSameDots(ScreenPage& page, const std::vector<PlacedBand>& bands, const std::string& what)
{
    auto screenAll = [&](const ScreenImpl& impl, std::vector<BYTE>* bits, std::vector<DWORD>* inks) {
        page.ClearBitmap();
        page.ClearCache();
        for (const PlacedBand& b : bands) {
            DWORD mask = 0;
            ASSERT_EQ(page.Screen(impl, b.band, b.x, b.y, &mask), FLAG_TRUE) << what;
            inks->push_back(mask);
        }
        *bits = page.Bits();
    };
    std::vector<BYTE> expected;
    std::vector<DWORD> expectedInk;
    screenAll(kScreenImpls[0], &expected, &expectedInk);
    for (ScreenSimd level : AvailableSimdLevels()) {
        const ScopedSimdLevel pinned(page.context(), level);
        std::vector<BYTE> bits;
        std::vector<DWORD> ink;
        screenAll(kScreenImpls[1], &bits, &ink);
        const std::string where = what + " (" + SimdName(level) + ")";
        EXPECT_EQ(ink, expectedInk) << where;
        ASSERT_EQ(bits.size(), expected.size());
        size_t differing = 0, set = 0;
        for (size_t i = 0; i < bits.size(); ++i) {
            differing += bits[i] != expected[i];
            set += expected[i] != 0;
        }
        EXPECT_EQ(differing, 0u) << where << ": bytes that differ (of " << bits.size() << ", " << set << " inked)";
    }
}

TEST(ScreeningEquivalence, FastPathMatchesTheReferenceOnRandomBands)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 300; ++round) {
        const bool mono = rng() & 1;
        const LONG mulX = 1 + static_cast<LONG>(rng() & 1);
        const LONG mulY = 1 + static_cast<LONG>(rng() & 1);
        const int width = 1 + static_cast<int>(rng() % 70);
        const int height = 1 + static_cast<int>(rng() % 20);
        ScreenPage page(mono, width, height, mulX, mulY);
        RandomTables(page, rng);
        if (rng() % 5 == 0) {
            std::free(page.context()->pColorCache);
            page.context()->pColorCache = nullptr;
        }
        std::vector<PlacedBand> bands;
        const int count = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < count; ++i) {
            Band band = RandomBand(rng);
            const int x = static_cast<int>(rng() % (width + 40)) - 20;
            const int y = static_cast<int>(rng() % (height + 10)) - 6;
            bands.push_back({std::move(band), x, y});
        }
        ExpectSameDots(page, bands,
                       "round " + std::to_string(round) + (mono ? " mono" : " colour") + " x" + std::to_string(mulX) +
                           " y" + std::to_string(mulY));
        if (HasFatalFailure() || HasFailure()) {
            return;
        }
    }
}

// Rows drawn from a pattern: '.' white, 'k' black, 'r' red and 'y' yellow (bytes of white and
// black in one pixel), 'c' and 'd' two colours that share a cache entry, 'e' and 'f' the bytes of
// 'c' turned by one and two places.
void DrawPattern(Band& band, int y, int x, const std::string& pattern)
{
    for (size_t i = 0; i < pattern.size(); ++i) {
        const int at = x + static_cast<int>(i);
        if (at < 0 || at >= band.width()) {
            continue;
        }
        switch (pattern[i]) {
        case 'k':
            band.Set(at, y, 0, 0, 0);
            break;
        case 'r':
            band.Set(at, y, 255, 0, 0);
            break;
        case 'y':
            band.Set(at, y, 255, 255, 0);
            break;
        case 'c':
            band.Set(at, y, 10, 20, 30);
            break;
        case 'd':
            band.Set(at, y, 30, 20, 10);
            break;
        case 'e':
            band.Set(at, y, 20, 30, 10);
            break;
        case 'f':
            band.Set(at, y, 30, 10, 20);
            break;
        default:
            break;
        }
    }
}

// Ink placed at every offset of a band, one row per offset: single pixels, runs that cross byte
// and 16-pixel boundaries, ink at the row's two ends, pixels whose bytes are those of white and
// of the ink around them, two colours of one cache entry, and rows that repeat the previous one
// but for one pixel. Each band is screened at positions that clip it at every edge of the page.
TEST(ScreeningEquivalence, FastPathMatchesTheReferenceAtEveryInkPosition)
{
    struct Shape {
        const char* what;
        std::function<void(Band&, int row, int offset)> draw;
    };
    const Shape shapes[] = {
        {"single pixel", [](Band& b, int y, int o) { DrawPattern(b, y, o, "k"); }},
        {"two pixels a group apart", [](Band& b, int y, int o) { DrawPattern(b, y, o, "k................k"); }},
        {"run of 1 to 40 pixels",
         [](Band& b, int y, int o) { DrawPattern(b, y, o, std::string(static_cast<size_t>(1 + o % 40), 'k')); }},
        {"pixels of white and black bytes among black",
         [](Band& b, int y, int o) { DrawPattern(b, y, o, "kkrk.kyk"); }},
        {"white and black bytes alone", [](Band& b, int y, int o) { DrawPattern(b, y, o, "r..y"); }},
        {"colours of one cache entry", [](Band& b, int y, int o) { DrawPattern(b, y, o, "cdcd.dc"); }},
        {"ink at both ends of the row",
         [](Band& b, int y, int o) {
             DrawPattern(b, y, 0, "k");
             DrawPattern(b, y, b.width() - 1, "k");
             DrawPattern(b, y, o, "c");
         }},
        {"colours changing from group to group, rows in pairs",
         [](Band& b, int y, int o) {
             DrawPattern(b, y, o / 2, "k..k");
             DrawPattern(b, y, o / 2 + 16, "cd");
             DrawPattern(b, y, o / 2 + 32, "dd.d");
             DrawPattern(b, y, o / 2 + 48, "ck");
         }},
        {"row repeated but for one pixel",
         [](Band& b, int y, int o) {
             DrawPattern(b, y, o / 2, "kcck.cdk");
             if (o % 2 == 1) {
                 DrawPattern(b, y, o / 2 + 3, "r");
             }
         }},
    };
    constexpr int kBandWidth = 70;
    constexpr int kOffsets = 40;
    std::mt19937 rng(777);
    struct Geometry {
        int pageWidth, pageHeight, x, y;
    };
    // Bands start before the page, on it at every alignment of a byte, and run past its right and
    // bottom edges.
    const Geometry geometries[] = {{80, 50, 0, 0},  {80, 50, -17, -3}, {80, 50, 1, 2}, {80, 50, 3, 0},
                                   {80, 50, 5, 30}, {80, 50, 7, 0},    {80, 50, 9, 0}, {75, 50, 13, 15},
                                   {67, 45, -1, 0}, {90, 50, 33, 11}};
    for (const Shape& shape : shapes) {
        size_t inked = 0;  // bitmap bytes with dots, so that the comparison is not of blank pages
        Band band(kBandWidth, kOffsets);
        for (int o = 0; o < kOffsets; ++o) {
            shape.draw(band, o, o);
        }
        for (bool mono : {true, false}) {
            for (LONG mul : {1, 2}) {
                const LONG mulX = mul, mulY = mono ? mul : 3 - mul;
                for (const Geometry& g : geometries) {
                    ScreenPage page(mono, g.pageWidth, g.pageHeight, mulX, mulY);
                    RandomTables(page, rng);
                    std::vector<PlacedBand> bands;
                    bands.push_back({band, g.x, g.y});
                    const std::string what = std::string(shape.what) + (mono ? " mono" : " colour") + " x" +
                                             std::to_string(mulX) + " y" + std::to_string(mulY) + " at " +
                                             std::to_string(g.x) + "," + std::to_string(g.y) + " on " +
                                             std::to_string(g.pageWidth);
                    ExpectSameDots(page, bands, what);
                    if (HasFailure()) {
                        return;
                    }
                    for (BYTE b : page.Bits()) {
                        inked += b != 0;
                    }
                }
            }
        }
        EXPECT_GT(inked, 100u) << shape.what;
    }
}

// Rows as a page of text makes them, wide enough for the fast path's runs of 64 pixels: white
// runs of every length from 1 to 200 pixels at every alignment, ink runs of one colour, now and
// then a run of another colour, of one whose bytes are the first's turned, or of pixels that mix
// white and ink bytes, and repeated rows.
Band TextLikeBand(std::mt19937& rng, int width, int rows)
{
    Band band(width, rows);
    int whiteLength = 1;
    for (int y = 0; y < rows; ++y) {
        if (y > 0 && rng() % 6 == 0) {
            std::memcpy(band.data() + y * band.stride(), band.data() + (y - 1) * band.stride(), 3 * width);
            continue;
        }
        int x = static_cast<int>(rng() % 64);  // where the row's first white run ends
        while (x < width) {
            const char* const kinds[] = {"c", "ry", "e", "f", "cf"};
            const unsigned kind = rng() % 12;
            const char* pattern = kind < 5 ? kinds[kind] : "k";
            // Other colours come in short runs, so that a group holds them next to the last one.
            const int run = 1 + static_cast<int>(rng() % (kind < 5 ? 4 : 24));
            for (int i = 0; i < run; ++i) {
                DrawPattern(band, y, x + i, std::string(1, pattern[i % std::strlen(pattern)]));
            }
            x += run + whiteLength;
            whiteLength = whiteLength % 200 + 1;
        }
    }
    return band;
}

TEST(ScreeningEquivalence, FastPathMatchesTheReferenceOnWideRowsOfInkAndWhiteRuns)
{
    constexpr int kPageWidth = 330, kPageHeight = 120;
    std::mt19937 rng(31337);
    const Band band = TextLikeBand(rng, 300, 100);
    struct Geometry {
        int x, y;
    };
    // On the page at two alignments, and cut by the left and top, and by the right and bottom edges.
    const Geometry geometries[] = {{0, 0}, {5, 3}, {-37, -5}, {59, 70}};
    for (bool mono : {true, false}) {
        for (LONG mulX : {1, 2}) {
            for (LONG mulY : {1, 2}) {
                for (const Geometry& g : geometries) {
                    for (bool blankPlane : {false, true}) {
                        ScreenPage page(mono, kPageWidth, kPageHeight, mulX, mulY);
                        RandomTables(page, rng);
                        if (blankPlane) {
                            // A plane every colour gives value 0: it never prints.
                            page.SetCurve(mono ? SLOT_BLACK : static_cast<int>(rng() % SLOT_COUNT),
                                          std::vector<BYTE>(256, 0));
                        }
                        const std::string what = std::string(mono ? "mono" : "colour") + " x" + std::to_string(mulX) +
                                                 " y" + std::to_string(mulY) + " at " + std::to_string(g.x) + "," +
                                                 std::to_string(g.y) + (blankPlane ? " with a blank plane" : "");
                        ExpectSameDots(page, {{band, g.x, g.y}}, what);
                        if (HasFailure()) {
                            return;
                        }
                    }
                }
            }
        }
    }
}

// Rows that turn from an image's many colours to text and back in the same columns: the fast path
// keeps from row to row which groups held many colours, and must screen them alike whatever they
// hold now. Each letter one row: 'n' noise, 't' text (black runs and white), 'w' white, 'h' noise
// on the left and text on the right, 'g' noise with every fourth group of 16 pixels white, 'i' one
// colour over the middle, white around it.
TEST(ScreeningEquivalence, FastPathMatchesTheReferenceWhenRowsTurnFromImageToText)
{
    constexpr int kWidth = 300;
    const std::string rows = "nnttnnwwtnhhttggtgnitiinnhtwgt";
    std::mt19937 rng(4242);
    Band band(kWidth, static_cast<int>(rows.size()));
    auto noise = [&](int y, int from, int to) {
        for (int x = from; x < to; ++x) {
            band.Set(x, y, static_cast<BYTE>(rng()), static_cast<BYTE>(rng()), static_cast<BYTE>(rng()));
        }
    };
    auto text = [&](int y, int from) {
        for (int x = from; x < kWidth; x += 23) {
            DrawPattern(band, y, x, "kkk..k....kkkkkkk");
        }
    };
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        switch (rows[y]) {
        case 'n':
            noise(y, 0, kWidth);
            break;
        case 't':
            text(y, static_cast<int>(rng() % 8));
            break;
        case 'h': {
            const int split = 70 + static_cast<int>(rng() % 150);
            noise(y, 0, split);
            text(y, split);
            break;
        }
        case 'g':
            for (int x = 0; x < kWidth; x += 64) {
                noise(y, x, std::min(x + 48, kWidth));
            }
            break;
        case 'i':
            DrawPattern(band, y, 60, std::string(180, 'c'));
            break;
        default:
            break;
        }
    }
    for (bool mono : {true, false}) {
        for (LONG mulX : {1, 2}) {
            for (LONG mulY : {1, 2}) {
                for (int x : {0, 5}) {
                    ScreenPage page(mono, 320, 70, mulX, mulY);
                    RandomTables(page, rng);
                    const std::string what = std::string(mono ? "mono" : "colour") + " x" + std::to_string(mulX) +
                                             " y" + std::to_string(mulY) + " at " + std::to_string(x);
                    ExpectSameDots(page, {{band, x, 1}}, what);
                    if (HasFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

// The filter reads every band into one buffer: what the fast path kept of the last band's rows
// must not stand for the next band's rows at the same addresses.
TEST(ScreeningEquivalence, FastPathForgetsTheLastBandWhenItsBufferIsRefilled)
{
    std::mt19937 rng(99);
    for (bool mono : {true, false}) {
        for (LONG mul : {1, 2}) {
            ScreenPage page(mono, 300, 40, mul, mul);
            RandomTables(page, rng);
            // Each band one row over and over, the second's row the first's moved right by 7
            // pixels: its rows hold at the same addresses what the first band's held elsewhere.
            const Band row = TextLikeBand(rng, 300, 1);
            Band first(300, 20), second(300, 20);
            for (int y = 0; y < 20; ++y) {
                std::memcpy(first.data() + y * first.stride(), row.data(), 3 * 300);
                std::memcpy(second.data() + y * second.stride() + 3 * 7, row.data(), 3 * (300 - 7));
            }
            auto screenBoth = [&](const ScreenImpl& impl) {
                page.ClearBitmap();
                page.ClearCache();
                Band buffer = first;
                EXPECT_EQ(page.Screen(impl, buffer, 0, 0), FLAG_TRUE);
                std::memcpy(buffer.data(), second.data(), second.stride() * second.rows());
                EXPECT_EQ(page.Screen(impl, buffer, 0, 20), FLAG_TRUE);
                return page.Bits();
            };
            const std::vector<BYTE> expected = screenBoth(kScreenImpls[0]);
            for (ScreenSimd level : AvailableSimdLevels()) {
                const ScopedSimdLevel pinned(page.context(), level);
                EXPECT_TRUE(screenBoth(kScreenImpls[1]) == expected)
                    << (mono ? "mono" : "colour") << " x" << mul << " " << SimdName(level);
            }
        }
    }
}

// A binary PPM (P6, maxval 255) as Ghostscript's ppmraw device writes it.
struct Ppm {
    int width = 0, height = 0;
    std::vector<BYTE> rgb;  // unpadded rows
};

bool ReadPpm(const std::string& path, Ppm* ppm)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic;
    if (magic != "P6") {
        return false;
    }
    int fields[3];
    for (int& f : fields) {
        in >> std::ws;
        while (in.peek() == '#') {
            std::string comment;
            std::getline(in, comment);
        }
        in >> f;
    }
    in.get();
    ppm->width = fields[0];
    ppm->height = fields[1];
    if (fields[2] != 255 || ppm->width <= 0 || ppm->height <= 0) {
        return false;
    }
    ppm->rgb.resize(static_cast<size_t>(ppm->width) * ppm->height * 3);
    in.read(reinterpret_cast<char*>(ppm->rgb.data()), static_cast<std::streamsize>(ppm->rgb.size()));
    return static_cast<size_t>(in.gcount()) == ppm->rgb.size();
}

// A page's bands of `rows` rows each, rows padded to 4 bytes as the filter passes them.
std::vector<PlacedBand> CutIntoBands(const Ppm& ppm, int rows)
{
    std::vector<PlacedBand> bands;
    for (int y = 0; y < ppm.height; y += rows) {
        const int n = std::min(rows, ppm.height - y);
        Band band(ppm.width, n);
        for (int r = 0; r < n; ++r) {
            std::memcpy(band.data() + r * band.stride(), &ppm.rgb[(static_cast<size_t>(y + r) * ppm.width) * 3],
                        3 * static_cast<size_t>(ppm.width));
        }
        bands.push_back({std::move(band), 0, y});
    }
    return bands;
}

TEST(ScreeningEquivalence, FastPathMatchesTheReferenceOnRenderedBands)
{
    Ppm ppm;
    ASSERT_TRUE(ReadPpm(ORV_SCREENING_SAMPLE_PPM, &ppm)) << ORV_SCREENING_SAMPLE_PPM;
    const std::vector<PlacedBand> bands = CutIntoBands(ppm, 64);
    struct Case {
        bool mono;
        LONG mulX, mulY;
    };
    const Case cases[] = {{true, 1, 1}, {false, 1, 1}, {true, 2, 2}, {false, 2, 1}, {false, 2, 2}};
    std::mt19937 rng(4242);
    for (const Case& c : cases) {
        ScreenPage page(c.mono, ppm.width, ppm.height, c.mulX, c.mulY);
        RandomTables(page, rng);
        // Screens of a printer's sizes: 8 x 8 and 16 x 16 cells, one per plane.
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            const int side = slot % 2 == 0 ? 8 : 16;
            std::vector<std::vector<BYTE>> matrix(side, std::vector<BYTE>(side));
            for (auto& row : matrix) {
                for (BYTE& v : row) {
                    v = static_cast<BYTE>(rng());
                }
            }
            page.SetMatrix(slot, matrix);
        }
        ExpectSameDots(
            page, bands,
            std::string(c.mono ? "mono" : "colour") + " x" + std::to_string(c.mulX) + " y" + std::to_string(c.mulY));
        // The page is not blank: the test would prove nothing otherwise.
        size_t inked = 0;
        for (BYTE b : page.Bits()) {
            inked += b != 0;
        }
        EXPECT_GT(inked, page.Bits().size() / 20);
    }
}

}  // namespace
