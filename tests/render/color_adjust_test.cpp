// Colour adjustment: the slider parameters, the rebuilt LUT and the remapped monochrome curve.
#include "filter/render/color/ColorAdjust.h"

#include "FakeModelData.h"
#include "core/settings/DevMode.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using rendertest::FakeModelData;
using rendertest::Words16;

struct Sliders {
    int red = 0, green = 0, blue = 0, brightness = 0, saturation = 0;
    int cyan = 0, magenta = 0, yellow = 0, black = 0, toner = 0;
    BYTE keyFlags = 0;
};

tagCOLORADJUST Params(const Sliders& s)
{
    tagCOLORADJUST p;
    EXPECT_EQ(SetAdjustParams(&p, s.red, s.green, s.blue, s.brightness, s.saturation, s.cyan, s.magenta, s.yellow,
                              s.black, s.toner, s.keyFlags),
              FLAG_TRUE);
    return p;
}

TEST(SetAdjustParams, TonerSaveExcludesEverySlider)
{
    Sliders s;
    s.toner = 30;
    s.brightness = 50;
    s.saturation = 20;
    s.cyan = -10;
    s.keyFlags = 0x33;
    const tagCOLORADJUST p = Params(s);
    EXPECT_EQ(p.bFlags, ADJUST_TONER_SAVE | 0x30);  // key bits 4 and 5 only pass through
    EXPECT_NEAR(p.dTonerFactor, 0.46, 1e-12);
    EXPECT_EQ(p.dBrightnessExponent, 0.0);
    EXPECT_EQ(p.dSaturation, 0.0);
    EXPECT_EQ(p.dCyanGain, 0.0);

    struct Case {
        int level;
        double factor;
    };
    for (const Case& c : {Case{50, 0.3}, Case{100, 0.3}, Case{-20, 0.7}, Case{25, 0.5}}) {
        s.toner = c.level;
        EXPECT_NEAR(Params(s).dTonerFactor, c.factor, 1e-12) << c.level;
    }
}

TEST(SetAdjustParams, SliderStrengthsAndGains)
{
    struct Case {
        const char* what;
        Sliders s;
        BYTE flags;
        double exponent, red, green, blue, saturation, cyan, magenta, yellow, black;
    };
    auto with = [](auto set) {
        Sliders s;
        set(s);
        return s;
    };
    const Case cases[] = {
        {"neutral", {}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"brightness 50", with([](Sliders& s) { s.brightness = 50; }), ADJUST_RGB, 0.36, 1.8, 1.8, 1.8, 0, 0, 0, 0, 0},
        {"brightness -50", with([](Sliders& s) { s.brightness = -50; }), ADJUST_RGB, 1.4, 0.76, 0.76, 0.76, 0, 0, 0, 0,
         0},
        {"brightness beyond the slider", with([](Sliders& s) { s.brightness = 120; }), ADJUST_RGB, 0.36, 1.8, 1.8, 1.8,
         0, 0, 0, 0, 0},
        {"red balance", with([](Sliders& s) {
             s.red = 25;
             s.blue = -50;
         }),
         ADJUST_RGB, 1.0, 1.4, 1.0, 0.6, 0, 0, 0, 0, 0},
        {"balance and brightness add up and clamp", with([](Sliders& s) {
             s.red = 40;
             s.green = -50;
             s.brightness = 25;
         }),
         ADJUST_RGB, 0.68, 1.8, 0.8, 1.4, 0, 0, 0, 0, 0},
        {"saturation up", with([](Sliders& s) { s.saturation = 25; }), ADJUST_SATURATION, 0, 0, 0, 0, 0.5, 0, 0, 0, 0},
        {"saturation down", with([](Sliders& s) { s.saturation = -50; }), ADJUST_SATURATION, 0, 0, 0, 0, -0.8, 0, 0, 0,
         0},
        {"inks up", with([](Sliders& s) { s.cyan = s.magenta = s.yellow = s.black = 50; }), ADJUST_CMYK, 0, 0, 0, 0, 0,
         1.24, 1.32, 1.32, 1.4},
        {"inks down", with([](Sliders& s) { s.cyan = s.magenta = s.yellow = s.black = -50; }), ADJUST_CMYK, 0, 0, 0, 0,
         0, 0.52, 0.52, 0.6, 0.52},
        {"one ink sets every ink gain", with([](Sliders& s) { s.yellow = -25; }), ADJUST_CMYK, 0, 0, 0, 0, 0, 1.0, 1.0,
         0.8, 1.0},
    };
    for (const Case& c : cases) {
        const tagCOLORADJUST p = Params(c.s);
        EXPECT_EQ(p.bFlags, c.flags) << c.what;
        EXPECT_NEAR(p.dBrightnessExponent, c.exponent, 1e-12) << c.what;
        EXPECT_NEAR(p.dRedGain, c.red, 1e-12) << c.what;
        EXPECT_NEAR(p.dGreenGain, c.green, 1e-12) << c.what;
        EXPECT_NEAR(p.dBlueGain, c.blue, 1e-12) << c.what;
        EXPECT_NEAR(p.dSaturation, c.saturation, 1e-12) << c.what;
        EXPECT_NEAR(p.dCyanGain, c.cyan, 1e-12) << c.what;
        EXPECT_NEAR(p.dMagentaGain, c.magenta, 1e-12) << c.what;
        EXPECT_NEAR(p.dYellowGain, c.yellow, 1e-12) << c.what;
        EXPECT_NEAR(p.dBlackGain, c.black, 1e-12) << c.what;
    }
}

// A context whose colour block holds a LUT of one colour at every node.
struct LutContext {
    explicit LutContext(BYTE c, BYTE m, BYTE y, BYTE k)
    {
        for (size_t n = 0; n < LUT_BYTES; n += 4) {
            block.abLut[n] = c, block.abLut[n + 1] = m, block.abLut[n + 2] = y, block.abLut[n + 3] = k;
        }
        context.pColorBlock = &block;
    }
    const BYTE* Node(int i, int j, int k) const { return block.abLut + LutNodeOffset(i, j, k); }
    tagCOLORBLOCK block{};
    tagRENDERCONTEXT context{};
};

TEST(RebuildLut, NoAdjustmentKeepsTheTableAsLoaded)
{
    LutContext t(0, 0, 0, 0);
    for (size_t n = 0; n < LUT_BYTES; ++n) {
        t.block.abLut[n] = BYTE(n * 7 + n / 13);
    }
    BYTE before[LUT_BYTES];
    std::memcpy(before, t.block.abLut, LUT_BYTES);
    DRVDEVMODE dm{};
    dm.priv.dmClrCtrl.wType = 2;  // RGB balance chosen, every slider at 0
    EXPECT_EQ(BuildAdjustedLut(&dm, &t.context, nullptr), FLAG_TRUE);
    EXPECT_EQ(std::memcmp(before, t.block.abLut, LUT_BYTES), 0);
}

TEST(RebuildLut, TonerSaveScalesEveryInkOfEveryNode)
{
    LutContext t(200, 100, 50, 255);
    t.context.sTonerSaveLevel = 30;
    DRVDEVMODE dm{};
    dm.priv.dmTonerSave = 1;
    dm.priv.dmClrCtrl.wType = 3;
    dm.priv.dmClrCtrl.sCyan = 50;         // ignored under toner save
    dm.priv.dmClrCtrl.sBrightness = -50;  // likewise
    ASSERT_EQ(BuildAdjustedLut(&dm, &t.context, nullptr), FLAG_TRUE);
    for (int n = 0; n < LUT_AXIS_NODES; ++n) {
        for (const BYTE* node : {t.Node(n, 0, 0), t.Node(n, n, n), t.Node(16, n, 3)}) {
            // 0.46 of 200, 100, 50 and 255: 92, 46 (45.99... in double), 23 (22.99...), 117.
            EXPECT_EQ(node[0], 92);
            EXPECT_TRUE(node[1] == 45 || node[1] == 46);
            EXPECT_TRUE(node[2] == 22 || node[2] == 23);
            EXPECT_EQ(node[3], 117);
        }
    }
}

TEST(RebuildLut, GrayAxisAndBlackCornerFoldIntoBlack)
{
    struct Case {
        BYTE flags;
        bool corner, axis;
    };
    for (const Case& c : {Case{ADJUST_BLACK_CORNER, true, false}, Case{ADJUST_GRAY_AXIS_BLACK, true, true}}) {
        LutContext t(40, 60, 250, 10);
        t.block.abLutKey[7] = c.flags;
        DRVDEVMODE dm{};
        ASSERT_EQ(BuildAdjustedLut(&dm, &t.context, nullptr), FLAG_TRUE);
        const BYTE* corner = t.Node(0, 0, 0);
        const BYTE* mid = t.Node(8, 8, 8);
        // K + max(C, M, Y) = 260, held to 255.
        EXPECT_EQ((std::array<int, 4>{corner[0], corner[1], corner[2], corner[3]}), (std::array<int, 4>{0, 0, 0, 255}));
        if (c.axis) {
            EXPECT_EQ((std::array<int, 4>{mid[0], mid[1], mid[2], mid[3]}), (std::array<int, 4>{0, 0, 0, 255}));
        } else {
            EXPECT_EQ((std::array<int, 4>{mid[0], mid[1], mid[2], mid[3]}), (std::array<int, 4>{40, 60, 250, 10}));
        }
        const BYTE* off = t.Node(8, 0, 16);  // away from the gray axis and from its neighbours
        EXPECT_EQ((std::array<int, 4>{off[0], off[1], off[2], off[3]}), (std::array<int, 4>{40, 60, 250, 10}));
    }
}

TEST(RebuildLut, BrighterInputTakesInksFromLighterNodes)
{
    // Cyan falls with red: node i holds 255 - 15 i. Brightness 50 lifts every input level, so
    // every node between the ends takes less cyan; -50 lowers them and takes more.
    for (int brightness : {50, -50}) {
        LutContext t(0, 0, 0, 0);
        for (int i = 0; i < LUT_AXIS_NODES; ++i) {
            for (int j = 0; j < LUT_AXIS_NODES; ++j) {
                for (int k = 0; k < LUT_AXIS_NODES; ++k) {
                    t.block.abLut[LutNodeOffset(i, j, k)] = BYTE(255 - 15 * i);
                }
            }
        }
        DRVDEVMODE dm{};
        dm.priv.dmClrCtrl.sBrightness = static_cast<SHORT>(brightness);
        ASSERT_EQ(BuildAdjustedLut(&dm, &t.context, nullptr), FLAG_TRUE);
        for (int i = 2; i < 15; ++i) {
            const int loaded = 255 - 15 * i;
            if (brightness > 0) {
                EXPECT_LT(t.Node(i, 3, 3)[0], loaded) << i;
            } else {
                EXPECT_GT(t.Node(i, 3, 3)[0], loaded) << i;
            }
        }
    }
}

// A context with a monochrome curve that maps darkness d to d.
struct CurveContext {
    CurveContext()
    {
        for (int i = 0; i < 256; ++i) {
            curve[i] = BYTE(i);
        }
        block.apToneCurve[SLOT_BLACK] = curve;
        context.pColorBlock = &block;
    }
    BYTE curve[TONE_CURVE_BYTES];
    tagCOLORBLOCK block{};
    tagRENDERCONTEXT context{};
};

TEST(RemapMonoCurve, UnadjustedCurveIsReversed)
{
    CurveContext t;
    DRVDEVMODE dm{};
    ASSERT_EQ(BuildMonoCurve(&dm, &t.context, nullptr), FLAG_TRUE);
    for (int g = 0; g < 256; ++g) {
        ASSERT_EQ(t.curve[g], 255 - g) << "gray " << g;
    }
}

TEST(RemapMonoCurve, TonerSaveScalesTheDarknessIndex)
{
    CurveContext t;
    t.context.sTonerSaveLevel = 30;
    DRVDEVMODE dm{};
    dm.priv.dmTonerSave = 1;
    dm.priv.dmClrCtrl.sGrayBrightness = 50;  // ignored under toner save
    ASSERT_EQ(BuildMonoCurve(&dm, &t.context, nullptr), FLAG_TRUE);
    // Gray g is darkness 255 - g, looked up at 0.46 of it.
    EXPECT_EQ(t.curve[0], 117);         // 117.3
    EXPECT_EQ(t.curve[255 - 10], 4);    // 4.6
    EXPECT_EQ(t.curve[255 - 201], 92);  // 92.46
    EXPECT_EQ(t.curve[255], 0);
}

TEST(RemapMonoCurve, BrightnessMovesDarknessDownOrUp)
{
    struct Case {
        const char* what;
        SHORT grayBrightness;
        DWORD extra2;
        SHORT contrast;
        int darkness128;  // what darkness 128 is looked up at
        bool lighter;
    };
    // 255 (1 - (1 - 128/255)^e): 56.59 for e = 0.36, 158.90 for e = 1.4.
    const Case cases[] = {
        {"gray brightness 50", 50, 0, 0, 56, true},
        {"gray brightness -50", -50, 0, 0, 158, false},
        {"contrast at the range's low end is brightness 50", -50, DMX2_CONTRAST, 2, 56, true},
        {"contrast at the range's high end is brightness -50", 50, DMX2_CONTRAST, 12, 158, false},
    };
    FakeModelData model;
    model.Answer(78, 0, 1, Words16({0, 0, 2, 12}));  // contrast range 2..12
    tagRENDEROPTIONS options{};
    model.Attach(&options);
    for (const Case& c : cases) {
        CurveContext t;
        DRVDEVMODE dm{};
        dm.priv.dmClrCtrl.sGrayBrightness = c.grayBrightness;
        dm.priv.dmFieldsExtra2 = c.extra2;
        dm.priv.dmContrast = c.contrast;
        ASSERT_EQ(BuildMonoCurve(&dm, &t.context, &options), FLAG_TRUE) << c.what;
        EXPECT_EQ(t.curve[255 - 128], c.darkness128) << c.what;
        EXPECT_EQ(t.curve[255], 0) << c.what;  // white stays white
        EXPECT_EQ(t.curve[0], 255) << c.what;  // black stays black
        for (int d = 10; d < 240; ++d) {       // near the ends truncation may keep the index
            if (c.lighter) {
                ASSERT_LT(t.curve[255 - d], d) << c.what << " darkness " << d;
            } else {
                ASSERT_GT(t.curve[255 - d], d) << c.what << " darkness " << d;
            }
        }
    }
}

TEST(RemapMonoCurve, ContrastWithoutARangeKeepsTheGrayBrightness)
{
    FakeModelData model;
    model.Answer(78, 0, 1, Words16({0, 0, 5, 5}));  // an empty range
    tagRENDEROPTIONS options{};
    model.Attach(&options);
    CurveContext t;
    DRVDEVMODE dm{};
    dm.priv.dmFieldsExtra2 = DMX2_CONTRAST;
    dm.priv.dmContrast = 5;
    ASSERT_EQ(BuildMonoCurve(&dm, &t.context, &options), FLAG_TRUE);
    EXPECT_EQ(t.curve[255 - 128], 128);
}

}  // namespace
