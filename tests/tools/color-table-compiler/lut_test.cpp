#include "lib/ColorLut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using ctc::BuildColorLut;
using ctc::LutParams;

std::array<int, 4> Node(const std::vector<uint8_t>& lut, int i, int j, int k)
{
    const size_t at = 4 * static_cast<size_t>(289 * i + 17 * j + k);
    return {lut[at], lut[at + 1], lut[at + 2], lut[at + 3]};
}

std::vector<uint8_t> Build(const LutParams& p)
{
    std::string error;
    std::vector<uint8_t> lut = BuildColorLut(p, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(lut.size(), 19652u);
    return lut;
}

TEST(ColorLut, WhiteTakesNoInkAndBlackIsFullBlack)
{
    for (bool grayInBlack : {false, true}) {
        LutParams p;
        p.grayInBlack = grayInBlack;
        const std::vector<uint8_t> lut = Build(p);
        EXPECT_EQ(Node(lut, 16, 16, 16), (std::array<int, 4>{0, 0, 0, 0}));
        const std::array<int, 4> black = Node(lut, 0, 0, 0);
        EXPECT_EQ(black[3], 255);
        EXPECT_LE(black[0] + black[1] + black[2] + black[3], static_cast<int>(2.8 * 255 + 1));
    }
}

TEST(ColorLut, PrimariesUseTheirOwnInks)
{
    const std::vector<uint8_t> lut = Build(LutParams{});
    struct Case {
        int i, j, k;
        std::array<bool, 3> inked;  // C, M, Y
    };
    const Case cases[] = {
        {16, 0, 0, {false, true, true}},  // red
        {0, 16, 0, {true, false, true}},  // green
        {0, 0, 16, {true, true, false}},  // blue
        {0, 16, 16, {true, false, false}},  // cyan
        {16, 0, 16, {false, true, false}},  // magenta
        {16, 16, 0, {false, false, true}},  // yellow
    };
    for (const Case& tc : cases) {
        const std::array<int, 4> n = Node(lut, tc.i, tc.j, tc.k);
        for (int ink = 0; ink < 3; ++ink) {
            if (tc.inked[ink]) {
                EXPECT_GE(n[ink], 200) << tc.i << tc.j << tc.k << " ink " << ink;
            } else {
                EXPECT_EQ(n[ink], 0) << tc.i << tc.j << tc.k << " ink " << ink;
            }
        }
        EXPECT_EQ(n[3], 0) << "saturated primaries carry no black";
    }
}

TEST(ColorLut, GrayAxisIsBalancedAndDarkensSteadily)
{
    LutParams p;
    const std::vector<uint8_t> lut = Build(p);
    int previousTotal = -1;
    for (int n = 16; n >= 0; --n) {
        const std::array<int, 4> node = Node(lut, n, n, n);
        // Gray balance: cyan leads, magenta and yellow follow at their balance shares in light
        // grays, and all three meet in black.
        EXPECT_GE(node[0], node[1]) << n;
        EXPECT_GE(node[1], node[2]) << n;
        const double cyan = node[0];
        if (n >= 13 && cyan > 20) {
            EXPECT_NEAR(node[1] / cyan, 0.88, 0.02) << n;
            EXPECT_NEAR(node[2] / cyan, 0.85, 0.02) << n;
        }
        if (n == 0) {
            EXPECT_EQ(node[0], node[1]);
            EXPECT_EQ(node[1], node[2]);
        }
        // Light grays carry no black; black starts where the gray component passes black_start.
        const double gray = 1 - std::pow(std::min(16 * n, 255) / 255.0, p.gamma);
        if (gray <= p.blackStart) {
            EXPECT_EQ(node[3], 0) << n;
        } else if (gray > p.blackStart + 0.05) {
            EXPECT_GT(node[3], 0) << n;
        }
        const int total = 3 * node[3] + node[0];  // black counts for more than one colour ink
        EXPECT_GT(total, previousTotal) << "darker input, more ink at node " << n;
        previousTotal = total;
    }
}

TEST(ColorLut, GrayInBlackFoldsToTheBlackOnlyValue)
{
    LutParams p;
    p.grayInBlack = true;
    const std::vector<uint8_t> lut = Build(p);
    for (int n = 0; n <= 16; ++n) {
        const std::array<int, 4> node = Node(lut, n, n, n);
        // What the renderer makes of the node when it folds the gray axis.
        const int folded = std::min(255, node[3] + 8 * std::min({node[0], node[1], node[2]}) / 10);
        const int expected =
            static_cast<int>(std::lround(255 * (1 - std::pow(std::min(16 * n, 255) / 255.0, p.gamma))));
        EXPECT_NEAR(folded, expected, 1) << n;
    }
    // Next to the gray axis black still does most of the work.
    const std::array<int, 4> near = Node(lut, 8, 8, 9);
    EXPECT_GT(near[3], 3 * std::max({near[0], near[1], near[2]}));
}

TEST(ColorLut, RendererBlackLeavesTheTableWithoutBlack)
{
    LutParams p;
    p.rendererUcrBg = true;
    p.ucrPercent = 60;
    p.bgPercent = 90;
    const std::vector<uint8_t> lut = Build(p);
    for (size_t at = 3; at < lut.size(); at += 4) {
        ASSERT_EQ(lut[at], 0) << "node " << at / 4;
    }
    EXPECT_GT(Node(lut, 0, 0, 0)[0], 200);
}

TEST(ColorLut, InkLimitAndSaturation)
{
    LutParams limited;
    limited.inkLimit = 2.0;
    const std::vector<uint8_t> lut = Build(limited);
    for (size_t at = 0; at < lut.size(); at += 4) {
        ASSERT_LE(lut[at] + lut[at + 1] + lut[at + 2] + lut[at + 3], 2 * 255 + 3) << "node " << at / 4;
    }

    // A dull red: vivid tables print it with more magenta and yellow against less cyan.
    LutParams vivid;
    vivid.saturation = 0.25;
    const std::array<int, 4> plain = Node(Build(LutParams{}), 12, 6, 6);
    const std::array<int, 4> strong = Node(Build(vivid), 12, 6, 6);
    EXPECT_GT(strong[1] - strong[0], plain[1] - plain[0]);
}

TEST(ColorLut, RefusesParametersOutOfRange)
{
    std::vector<LutParams> bad(6);
    bad[0].gamma = 0;
    bad[1].blackStart = 1;
    bad[2].inkLimit = 0.5;
    bad[3].grayBalance[1] = 0;
    bad[4].ucrPercent = 101;
    bad[5].saturation = -1;
    for (const LutParams& p : bad) {
        std::string error;
        EXPECT_TRUE(BuildColorLut(p, &error).empty());
        EXPECT_NE(error, "");
    }
}

}  // namespace
