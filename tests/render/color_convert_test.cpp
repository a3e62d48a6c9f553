// Gray conversion, LUT interpolation and under-colour removal of single pixels.
#include "filter/render/color/ColorConvert.h"

#include "core/settings/DevMode.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Cmyk = std::array<int, 4>;

Cmyk Out(const BYTE* v)
{
    return {v[0], v[1], v[2], v[3]};
}

struct GrayCase {
    SHORT wr, wg, wb;
    BYTE r, g, b;
    int gray;
};

TEST(GrayFromRgb, WeightedMeanHeldToAByte)
{
    const GrayCase cases[] = {
        {31, 56, 13, 255, 0, 0, 79},   // 7905 / 100
        {31, 56, 13, 0, 255, 0, 142},  // 14280 / 100
        {31, 56, 13, 0, 0, 255, 33},   // 3315 / 100
        {31, 56, 13, 255, 255, 255, 255}, {31, 56, 13, 0, 0, 0, 0},
        {0, 0, 0, 200, 200, 200, 0},     // weights summing to 0 give black
        {100, -50, 0, 0, 255, 0, 0},     // -12750 / 50 would be negative
        {200, -100, 0, 255, 0, 0, 255},  // 51000 / 100 would be beyond white
        {-1, -1, -1, 30, 60, 90, 60},    // negative weights with a negative sum are a plain mean
    };
    for (const GrayCase& c : cases) {
        tagRENDERCONTEXT context{};
        context.asGrayWeight[0] = c.wr;
        context.asGrayWeight[1] = c.wg;
        context.asGrayWeight[2] = c.wb;
        EXPECT_EQ(GrayFromRgb(&context, c.r, c.g, c.b), c.gray)
            << c.wr << "," << c.wg << "," << c.wb << " on " << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

TEST(ApplyUcrBg, RemovesTheGrayComponentAndMakesBlack)
{
    struct Case {
        int ucr, bg;
        Cmyk in, out;
    };
    const Case cases[] = {
        {50, 100, {200, 200, 200, 0}, {100, 100, 100, 200}},
        {100, 0, {50, 80, 120, 30}, {0, 30, 70, 0}},         // the LUT's K is replaced, not added to
        {0, 200, {200, 210, 220, 0}, {200, 210, 220, 255}},  // black held to 255
        {255, 50, {200, 220, 240, 9}, {0, 0, 0, 100}},       // inks held to 0
        {30, 30, {10, 0, 20, 40}, {10, 0, 20, 0}},           // nothing gray: only K is replaced
        {33, 33, {3, 3, 3, 0}, {2, 2, 2, 0}},                // 3 - 0.99 and 0.99, truncated
    };
    for (const Case& c : cases) {
        BYTE v[4] = {BYTE(c.in[0]), BYTE(c.in[1]), BYTE(c.in[2]), BYTE(c.in[3])};
        ApplyUcrBg(c.ucr, c.bg, v);
        EXPECT_EQ(Out(v), c.out) << c.ucr << "/" << c.bg;
    }
}

// A LUT that is 0 everywhere except one node, whose four inks are 160, 80, 16 and 255.
std::vector<BYTE> SpikeLut(int i, int j, int k)
{
    std::vector<BYTE> lut(LUT_BYTES, 0);
    BYTE* node = lut.data() + LutNodeOffset(i, j, k);
    node[0] = 160, node[1] = 80, node[2] = 16, node[3] = 255;
    return lut;
}

// The share of corner (a, b, c) of the unit cube at fractions f (in 16ths) in a tetrahedral
// interpolation: the smallest fraction of the axes the corner is 1 on, less the largest fraction of
// the axes it is 0 on, never below 0 (16 and 0 for no axes).
int TetraShare(int a, int b, int c, const int f[3])
{
    const int on[3] = {a, b, c};
    int lo = 16, hi = 0;
    for (int n = 0; n < 3; ++n) {
        if (on[n]) {
            lo = std::min(lo, f[n]);
        } else {
            hi = std::max(hi, f[n]);
        }
    }
    return std::max(0, lo - hi);
}

// The trilinear share: the product of f or 16 - f along each axis.
int TriShare(int a, int b, int c, const int f[3])
{
    const int on[3] = {a, b, c};
    int w = 1;
    for (int n = 0; n < 3; ++n) {
        w *= on[n] ? f[n] : 16 - f[n];
    }
    return w;
}

TEST(Interpolation, EachCornerWeighsAsItsShareOfTheCell)
{
    // Input levels inside the cell of nodes (2..3, 5..6, 9..10), with fractions in every order,
    // equal fractions included.
    const int fractions[][3] = {{3, 9, 12}, {12, 9, 3}, {9, 3, 12}, {9, 12, 3}, {12, 3, 9},   {3, 12, 9},
                                {8, 8, 4},  {4, 8, 8},  {8, 4, 8},  {0, 15, 7}, {15, 15, 15}, {0, 0, 0}};
    const int base[3] = {2, 5, 9};
    const int ink[4] = {160, 80, 16, 255};
    for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b) {
            for (int c = 0; c < 2; ++c) {
                const std::vector<BYTE> lut = SpikeLut(base[0] + a, base[1] + b, base[2] + c);
                for (const auto& f : fractions) {
                    const BYTE r = BYTE(16 * base[0] + f[0]), g = BYTE(16 * base[1] + f[1]),
                               bl = BYTE(16 * base[2] + f[2]);
                    BYTE tetra[4], tri[4];
                    InterpolateTetrahedral(r, g, bl, tetra, lut.data());
                    InterpolateTrilinear(r, g, bl, tri, lut.data());
                    const int ts = TetraShare(a, b, c, f);
                    const int ls = TriShare(a, b, c, f);
                    for (int ch = 0; ch < 4; ++ch) {
                        EXPECT_EQ(tetra[ch], ink[ch] * ts / 16) << a << b << c << " f " << f[0] << f[1] << f[2];
                        EXPECT_EQ(tri[ch], ink[ch] * ls / 4096) << a << b << c << " f " << f[0] << f[1] << f[2];
                    }
                }
            }
        }
    }
}

TEST(Interpolation, Level255LiesBetweenNodes15And16)
{
    // Cyan rises by 10 a node along red; level 255 is 15/16 of the way from node 15 to node 16.
    std::vector<BYTE> lut(LUT_BYTES, 0);
    for (int i = 0; i < LUT_AXIS_NODES; ++i) {
        for (int j = 0; j < LUT_AXIS_NODES; ++j) {
            for (int k = 0; k < LUT_AXIS_NODES; ++k) {
                lut[LutNodeOffset(i, j, k)] = BYTE(10 * i);
            }
        }
    }
    struct Case {
        BYTE red;
        int cyan;
    };
    const Case cases[] = {
        {255, (1 * 150 + 15 * 160) / 16},  // 159
        {240, 150},                        // node 15 itself
        {128, 80},
        {0, 0},
    };
    for (const Case& c : cases) {
        for (BYTE other : {BYTE(0), BYTE(255), BYTE(77)}) {
            BYTE tetra[4], tri[4];
            InterpolateTetrahedral(c.red, other, other, tetra, lut.data());
            InterpolateTrilinear(c.red, other, other, tri, lut.data());
            EXPECT_EQ(tetra[0], c.cyan) << int(c.red) << " with " << int(other);
            EXPECT_EQ(tri[0], c.cyan) << int(c.red) << " with " << int(other);
        }
    }
}

TEST(ConvertRgbToCmyk, InterpolationSwitchAndUcrFlagOfTheLutEntry)
{
    tagCOLORBLOCK block{};
    // One spike at the far corner of the input's cell: tetrahedral and trilinear differ.
    const std::vector<BYTE> lut = SpikeLut(2, 2, 2);
    std::copy(lut.begin(), lut.end(), block.abLut);
    tagRENDERCONTEXT context{};
    context.pColorBlock = &block;
    DRVDEVMODE dm{};
    const int f[3] = {8, 12, 4};  // input (8, 12, 4)

    struct Case {
        WORD interpolation;
        BYTE lutFlags;
        Cmyk expected;
    };
    const int tetra = TetraShare(1, 1, 1, f);  // 4
    const int tri = TriShare(1, 1, 1, f);      // 384
    const Case cases[] = {
        {1, 0, {160 * tetra / 16, 80 * tetra / 16, 16 * tetra / 16, 255 * tetra / 16}},
        {0, 0, {160 * tri / 4096, 80 * tri / 4096, 16 * tri / 4096, 255 * tri / 4096}},
        // UCR 50 / BG 100 on the tetrahedral (40, 20, 4, 63): m = 4.
        {1, CT_LUT_UCR_BG, {38, 18, 2, 4}},
        {1, CT_LUT_FOLD_GRAY, {40, 20, 4, 63}},  // other flags leave the inks alone
    };
    for (const Case& c : cases) {
        dm.priv.dmClrCtrl.wInterpolation = c.interpolation;
        block.abLutKey[CT_KEY_LUTFLAGS] = c.lutFlags;
        block.abLutKey[CT_KEY_UCR] = 50;
        block.abLutKey[CT_KEY_BG] = 100;
        BYTE out[4];
        ConvertRgbToCmyk(&dm, &context, 16 + 8, 16 + 12, 16 + 4, out);
        EXPECT_EQ(Out(out), c.expected) << c.interpolation << " flags " << int(c.lutFlags);
    }
}

// The fast screening's conversion gives the bytes of the plain one: on LUTs of random bytes, of all
// 255 (the largest sums) and of 0 and 255 in a checkerboard, with either interpolation and with
// UCR/BG off or at percentages up to 255; every red and green level, blue running through all its
// levels and fractions alongside.
TEST(ConvertRgbToCmyk, FastConversionGivesTheSameBytes)
{
    std::mt19937 rng(2024);
    auto randomLut = [&](std::vector<BYTE>& lut) {
        for (BYTE& v : lut) {
            v = static_cast<BYTE>(rng());
        }
    };
    auto fullLut = [](std::vector<BYTE>& lut) { std::fill(lut.begin(), lut.end(), 255); };
    auto checkerLut = [](std::vector<BYTE>& lut) {
        for (size_t n = 0; n < lut.size(); ++n) {
            lut[n] = (n / 4 + n % 4) % 2 == 0 ? 255 : 0;
        }
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<BYTE>&)> fill;
        WORD interpolation;
        bool ucrBg;
        BYTE ucr, bg;
    };
    const Case cases[] = {
        {"random trilinear", randomLut, 0, false, 0, 0},
        {"random trilinear UCR 50 BG 100", randomLut, 0, true, 50, 100},
        {"random trilinear UCR 33 BG 67", randomLut, 0, true, 33, 67},
        {"random trilinear UCR 255 BG 255", randomLut, 0, true, 255, 255},
        {"random trilinear UCR 0 BG 0", randomLut, 0, true, 0, 0},
        {"random tetrahedral UCR 71 BG 29", randomLut, 1, true, 71, 29},
        {"all 255 trilinear", fullLut, 0, false, 0, 0},
        {"all 255 trilinear UCR 100 BG 200", fullLut, 0, true, 100, 200},
        {"checkerboard trilinear", checkerLut, 0, false, 0, 0},
        {"checkerboard trilinear UCR 99 BG 101", checkerLut, 0, true, 99, 101},
    };
    for (const Case& c : cases) {
        tagCOLORBLOCK block{};
        std::vector<BYTE> lut(LUT_BYTES);
        c.fill(lut);
        std::copy(lut.begin(), lut.end(), block.abLut);
        block.abLutKey[CT_KEY_LUTFLAGS] = c.ucrBg ? CT_LUT_UCR_BG : 0;
        block.abLutKey[CT_KEY_UCR] = c.ucr;
        block.abLutKey[CT_KEY_BG] = c.bg;
        tagRENDERCONTEXT context{};
        context.pColorBlock = &block;
        DRVDEVMODE dm{};
        dm.priv.dmClrCtrl.wInterpolation = c.interpolation;
        size_t differing = 0;
        std::string first;
        for (int r = 0; r < 256; ++r) {
            for (int g = 0; g < 256; ++g) {
                const BYTE b = static_cast<BYTE>(r * 7 + g * 13);
                BYTE plain[4], fast[4];
                ConvertRgbToCmyk(&dm, &context, BYTE(r), BYTE(g), b, plain);
                ConvertRgbToCmykFast(&dm, &context, BYTE(r), BYTE(g), b, fast);
                if (Out(plain) != Out(fast)) {
                    if (differing++ == 0) {
                        first = std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
                    }
                }
            }
        }
        EXPECT_EQ(differing, 0u) << c.what << ", first at " << first;
    }
    // Without a colour block both give zeros.
    tagRENDERCONTEXT none{};
    DRVDEVMODE dm{};
    BYTE fast[4] = {1, 2, 3, 4};
    ConvertRgbToCmykFast(&dm, &none, 10, 20, 30, fast);
    EXPECT_EQ(Out(fast), (Cmyk{0, 0, 0, 0}));
}

}  // namespace
