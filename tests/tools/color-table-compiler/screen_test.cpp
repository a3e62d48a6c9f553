#include "lib/ClusteredScreen.h"
#include "lib/ToneCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using ctc::BuildClusteredScreen;
using ctc::ScreenSpec;
using ctc::ThresholdMatrix;

int Printed(const ThresholdMatrix& m, int value)
{
    int n = 0;
    for (uint8_t t : m.thresholds) {
        n += t < value ? 1 : 0;
    }
    return n;
}

// Connected groups of printed dots, the tile wrapping at its edges as it does on the page, with
// the centre of each.
struct Cluster {
    double x, y;
    int size;
};
std::vector<Cluster> Clusters(const ThresholdMatrix& m, int value)
{
    const int w = m.width, h = m.height;
    std::vector<int> seen(static_cast<size_t>(w * h), 0);
    std::vector<Cluster> out;
    for (int start = 0; start < w * h; ++start) {
        if (seen[start] || m.thresholds[start] >= value) {
            continue;
        }
        // Unwrapped coordinates so the centre of a dot cut by the tile edge comes out whole.
        std::vector<std::pair<int, int>> stack = {{start % w, start / w}};
        seen[start] = 1;
        double sx = 0, sy = 0;
        int n = 0;
        while (!stack.empty()) {
            auto [x, y] = stack.back();
            stack.pop_back();
            sx += x;
            sy += y;
            ++n;
            const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
            for (int d = 0; d < 4; ++d) {
                const int nx = x + dx[d], ny = y + dy[d];
                const int idx = ((ny % h + h) % h) * w + ((nx % w + w) % w);
                if (!seen[idx] && m.thresholds[idx] < value) {
                    seen[idx] = 1;
                    stack.push_back({nx, ny});
                }
            }
        }
        out.push_back({sx / n, sy / n, n});
    }
    return out;
}

TEST(ClusteredScreen, EveryValuePrintsItsShareOfTheTile)
{
    for (const ScreenSpec spec : {ScreenSpec{4, 4, 1, 1}, ScreenSpec{5, 1, 1, 1}, ScreenSpec{5, 0, 2, 1},
                                  ScreenSpec{1, 5, 2, 2}}) {
        std::string error;
        const ThresholdMatrix m = BuildClusteredScreen(spec, &error);
        ASSERT_EQ(error, "");
        ASSERT_EQ(m.thresholds.size(), static_cast<size_t>(m.width * m.height));
        const int n = m.width * m.height;
        EXPECT_EQ(Printed(m, 0), 0);
        EXPECT_EQ(Printed(m, 255), n) << "full value prints every dot";
        for (int v = 1; v < 256; ++v) {
            // Value v prints the dots of rank below v n / 255.
            EXPECT_EQ(Printed(m, v), static_cast<int>(std::ceil(v * n / 255.0))) << spec.a << "," << spec.b << " v " << v;
        }
    }
}

TEST(ClusteredScreen, TileRepeatsOnTheLatticeAndIsAtLeastTheAskedSide)
{
    struct Case {
        ScreenSpec spec;
        int width, height;
    };
    const Case cases[] = {
        {{4, 4, 1, 1, 32}, 32, 32},  // the 45 degree lattice repeats every 8 dots
        {{5, 0, 1, 1, 32}, 35, 35},  // every 5
        {{5, 1, 1, 1, 32}, 52, 52},  // every 26
        {{5, 1, 2, 2, 32}, 52, 52},  // 1200 dpi: the same screen, every 52 dots
        {{4, 4, 2, 1, 32}, 32, 32},  // 1200 x 600: every 16 across and 8 down
        {{4, 4, 1, 1, 1}, 8, 8},
    };
    for (const Case& tc : cases) {
        std::string error;
        const ThresholdMatrix m = BuildClusteredScreen(tc.spec, &error);
        ASSERT_EQ(error, "");
        EXPECT_EQ(m.width, tc.width) << tc.spec.a << "," << tc.spec.b << " x" << tc.spec.dotsX;
        EXPECT_EQ(m.height, tc.height) << tc.spec.a << "," << tc.spec.b << " y" << tc.spec.dotsY;
    }
}

TEST(ClusteredScreen, DotsClusterOnePerLatticeCellAtTheScreenAngle)
{
    for (const ScreenSpec spec : {ScreenSpec{4, 4, 1, 1}, ScreenSpec{5, 1, 1, 1}, ScreenSpec{1, 5, 1, 1},
                                  ScreenSpec{5, 0, 1, 1}, ScreenSpec{5, 1, 2, 2}}) {
        std::string error;
        const ThresholdMatrix m = BuildClusteredScreen(spec, &error);
        ASSERT_EQ(error, "");
        const int cellArea = spec.dotsX * spec.dotsY * (spec.a * spec.a + spec.b * spec.b);
        const int cells = m.width * m.height / cellArea;
        // At a quarter of the ink every cell holds one compact dot, and no dot merges with another.
        const std::vector<Cluster> dots = Clusters(m, 64);
        ASSERT_EQ(static_cast<int>(dots.size()), cells) << spec.a << "," << spec.b;
        for (const Cluster& c : dots) {
            EXPECT_NEAR(c.size, cellArea / 4.0, cellArea / 8.0 + 1) << spec.a << "," << spec.b;
        }
        // The nearest neighbour of a dot lies one lattice step away: (a, b) or a quarter turn of it.
        const double ax = spec.a * spec.dotsX, ay = spec.b * spec.dotsY;
        const Cluster& first = dots[0];
        double best = 1e9, bx = 0, by = 0;
        for (size_t i = 1; i < dots.size(); ++i) {
            for (int wx = -1; wx <= 1; ++wx) {
                for (int wy = -1; wy <= 1; ++wy) {
                    const double dx = dots[i].x + wx * m.width - first.x;
                    const double dy = dots[i].y + wy * m.height - first.y;
                    if (dx * dx + dy * dy < best) {
                        best = dx * dx + dy * dy;
                        bx = dx;
                        by = dy;
                    }
                }
            }
        }
        const double angle = std::fmod(std::atan2(by, bx) - std::atan2(ay, ax) + 4 * M_PI, M_PI / 2);
        EXPECT_TRUE(angle < 0.1 || angle > M_PI / 2 - 0.1) << spec.a << "," << spec.b << " step " << bx << "," << by;
        EXPECT_NEAR(std::sqrt(best), std::sqrt(ax * ax + ay * ay), 0.75) << spec.a << "," << spec.b;
    }
}

TEST(ClusteredScreen, TonerSaveScreensPrintAtMostTheirCoverage)
{
    ScreenSpec spec{4, 4, 1, 1};
    spec.coverage = 0.6;
    std::string error;
    const ThresholdMatrix m = BuildClusteredScreen(spec, &error);
    ASSERT_EQ(error, "");
    const int n = m.width * m.height;
    EXPECT_EQ(Printed(m, 255), static_cast<int>(std::ceil(0.6 * n)));
    EXPECT_EQ(Printed(m, 1), static_cast<int>(std::ceil(0.6 * n / 255)));
    EXPECT_LT(Printed(m, 128), Printed(m, 200));
}

TEST(ClusteredScreen, RefusesScreensItCannotBuild)
{
    const ScreenSpec bad[] = {
        {0, 0, 1, 1}, {65, 1, 1, 1}, {4, 4, 0, 1}, {4, 4, 1, 5}, {4, 4, 1, 1, 0}, {4, 4, 1, 1, 32, 0.0},
        {4, 4, 1, 1, 32, 1.5},
    };
    for (const ScreenSpec& spec : bad) {
        std::string error;
        EXPECT_TRUE(BuildClusteredScreen(spec, &error).thresholds.empty());
        EXPECT_NE(error, "");
    }
}

TEST(DotGainCurve, AsksForLessInkWhereDotsSpread)
{
    const std::vector<uint8_t> none = ctc::BuildDotGainCurve(0.0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(none[i], i);
    }
    for (double gain : {0.1, 0.2, 0.24, 0.5}) {
        const std::vector<uint8_t> c = ctc::BuildDotGainCurve(gain);
        ASSERT_EQ(c.size(), 256u);
        EXPECT_EQ(c[0], 0);
        EXPECT_EQ(c[255], 255);
        for (int i = 1; i < 256; ++i) {
            ASSERT_GE(c[i], c[i - 1]) << gain;
        }
        // Dots spread, so mid-tones need fewer of them.
        EXPECT_LT(c[128], 128) << gain;
        // Printing the curve's share through the gain model gives back the asked coverage.
        const double g = std::min(gain, 0.24);
        for (int i : {32, 128, 200}) {
            const double a = c[i] / 255.0;
            EXPECT_NEAR(a + 4 * g * a * (1 - a), i / 255.0, 0.01) << gain << " at " << i;
        }
    }
}

}  // namespace
