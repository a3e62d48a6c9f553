// The preview's colour model, checked against numbers worked out from the formulas by hand (for
// the simple ones) or with a separate desk-calculator script (logarithms, powers and the L*u*v*
// matrices), never taken from this code's own output.
#include "gui/dlgcoloradj/PreviewColorModel.h"
#include "gui/dlgcoloradj/PreviewTransforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace preview;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PreviewColorModel, RoundToByteRoundsHalfUpClampsAndMapsNonFiniteToZero)
{
    struct Case {
        double x;
        BYTE expected;
    };
    const Case cases[] = {
        {0.0, 0},       {0.49, 0},       {0.5, 1},      {126.5, 127},    {254.49, 254}, {254.5, 255},
        {255.0, 255},   {300.0, 255},    {1e300, 255},  {-0.49, 0},      {-0.6, 0},     {-1e300, 0},
        {kInf, 0},      {-kInf, 0},      {kNaN, 0},     {3e9, 255},      {-3e9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToByte(c.x), c.expected) << c.x;
}

TEST(PreviewColorModel, SliderValuesScaleToTheTransformsRange)
{
    // (v + 50) x 255 / 100, truncated; outside -50..50 the nearest end.
    struct Case {
        SHORT slider;
        SHORT scaled;
    };
    const Case cases[] = {
        {-50, 0},  {-49, 2},  {-1, 124}, {0, 127},   {1, 130},     {49, 252},
        {50, 255}, {-51, 0},  {51, 255}, {-32768, 0}, {32767, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleSliderValue(c.slider), c.scaled) << c.slider;
}

TEST(PreviewColorModel, ScalingTouchesExactlyTheNineAdjustmentValues)
{
    CLRCTRL sliders {};
    sliders.wType = 3;
    sliders.sBrightness = -50;
    sliders.sContrast = 7;
    sliders.sSaturation = 50;
    sliders.sRed = 0;
    sliders.sGreen = 1;
    sliders.sBlue = -1;
    sliders.sCyan = 49;
    sliders.sMagenta = -49;
    sliders.sYellow = 20;
    sliders.sBlack = -20;
    sliders.sGray = 9;
    sliders.wProfile = 1;
    sliders.wGrayRepro = 1;
    sliders.sGrayBrightness = 33;
    const CLRCTRL scaled = ScaleColorControl(sliders);
    EXPECT_EQ(scaled.wType, 3);
    EXPECT_EQ(scaled.sBrightness, 0);
    EXPECT_EQ(scaled.sSaturation, 255);
    EXPECT_EQ(scaled.sRed, 127);
    EXPECT_EQ(scaled.sGreen, 130);
    EXPECT_EQ(scaled.sBlue, 124);
    EXPECT_EQ(scaled.sCyan, 252);
    EXPECT_EQ(scaled.sMagenta, 2);
    EXPECT_EQ(scaled.sYellow, 178);  // 70 x 255 / 100 = 178.5
    EXPECT_EQ(scaled.sBlack, 76);    // 30 x 255 / 100 = 76.5
    EXPECT_EQ(scaled.sContrast, 7);
    EXPECT_EQ(scaled.sGray, 9);
    EXPECT_EQ(scaled.wProfile, 1);
    EXPECT_EQ(scaled.wGrayRepro, 1);
    EXPECT_EQ(scaled.sGrayBrightness, 33);
}

TEST(PreviewColorModel, ToneCurveKeepsItsEndPointsAndMeetsAtTheKnees)
{
    // Over the whole parameter range, s = (q - 128) / 127 x 100 for q = 0..255.
    for (int q = 0; q <= 255; ++q) {
        const double s = (q - 128) / 127.0 * 100.0;
        EXPECT_EQ(ToneCurve(0.0, s), 0.0) << s;
        EXPECT_NEAR(ToneCurve(255.0, s), 255.0, 1e-12) << s;
        // The pieces meet: just below and above each knee the curve is continuous.
        const double lowKnee = s > 0 ? 30.0 : 30.0 - s;
        const double highKnee = s > 0 ? 225.0 - s : 225.0;
        EXPECT_NEAR(ToneCurve(lowKnee, s), lowKnee + s, 1e-9) << s;
        EXPECT_NEAR(ToneCurve(lowKnee - 1e-9, s), ToneCurve(lowKnee + 1e-9, s), 1e-6) << s;
        EXPECT_NEAR(ToneCurve(highKnee - 1e-9, s), ToneCurve(highKnee + 1e-9, s), 1e-6) << s;
        // Monotonic over the byte range.
        for (int x = 1; x <= 255; ++x)
            ASSERT_GE(ToneCurve(x, s), ToneCurve(x - 1, s)) << "x " << x << " s " << s;
    }
    struct Case {
        double x, s, expected;
    };
    const Case cases[] = {
        {30.0, 20.0, 50.0},             // on the lower knee: 30 + s
        {10.0, 20.0, 10.0 * 50 / 30},   // lower piece
        {100.0, 20.0, 120.0},           // middle piece
        {205.0, 20.0, 225.0},           // on the upper knee 225 - s
        {240.0, 20.0, 246.0},           // 255 - 15 x 30 / 50
        {10.0, -20.0, 6.0},             // 10 x 30 / 50
        {50.0, -20.0, 30.0},            // on the lower knee 30 - s
        {100.0, -20.0, 80.0},
        {225.0, -20.0, 205.0},          // on the upper knee
        {240.0, -20.0, 230.0},          // 255 - 15 x 50 / 30
        {128.0, 0.0, 128.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ToneCurve(c.x, c.s), c.expected, 1e-9) << c.x << ", " << c.s;
}

TEST(PreviewColorModel, DensitiesFollowTheReflectanceModelAndRoundTrip)
{
    struct Case {
        double value, density;
    };
    // Reflectance 0.1 + 0.9 v / 255, density 255 x -log10(reflectance).
    const Case cases[] = {
        {0.0, 255.0},
        {255.0, 0.0},
        {127.5, 66.20751417896781},  // -log10(0.55) x 255
        {51.0, 140.9747020077341},   // -log10(0.28) x 255
        {204.0, 21.97746764215225},  // -log10(0.82) x 255
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(ValueToDensity(c.value), c.density, 1e-9) << c.value;
        EXPECT_NEAR(DensityToValue(c.density), c.value, 1e-9) << c.density;
    }
    EXPECT_NEAR(DensityToValue(100.0), 86.51926063017966, 1e-9);
    // Out of range on either side clamps.
    EXPECT_EQ(ValueToDensity(-40.0), 255.0);
    EXPECT_EQ(ValueToDensity(300.0), 0.0);
    EXPECT_EQ(DensityToValue(-10.0), 255.0);
    EXPECT_EQ(DensityToValue(400.0), 0.0);
    for (int v = 0; v <= 255; ++v) {
        EXPECT_NEAR(DensityToValue(ValueToDensity(v)), v, 1e-9) << v;
        if (v > 0) {
            EXPECT_LT(ValueToDensity(v), ValueToDensity(v - 1)) << "density falls as the value rises";
        }
    }
}

TEST(PreviewColorModel, RgbToLuvOverNtscPrimariesUnderIlluminantC)
{
    struct Case {
        double r, g, b;
        double l, u, v;
    };
    const Case cases[] = {
        {255, 255, 255, 100.0, 0.21958322205386516, -0.09482864457470153},
        {255, 0, 0, 61.57649332451898, 220.716160552529, 54.12501370768967},
        {0, 255, 0, 81.1264161373287, -131.9284900287388, 121.06420377904517},
        {0, 0, 255, 40.229721008447214, -25.165706294946055, -139.12000960238882},
        {1, 1, 1, 3.5423137254901964, 0.007778326613687682, -0.0033591280924608544},  // the linear segment
        {0, 0, 0, 0.0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const Triple luv = RgbToLuv(c.r, c.g, c.b);
        EXPECT_NEAR(luv.a, c.l, 1e-5) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(luv.b, c.u, 1e-5) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(luv.c, c.v, 1e-5) << c.r << "," << c.g << "," << c.b;
        // And back: the two matrices are inverses to about three digits.
        const Triple rgb = LuvToRgb(luv.a, luv.b, luv.c);
        EXPECT_NEAR(rgb.a, c.r, 0.5) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(rgb.b, c.g, 0.5) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(rgb.c, c.b, 0.5) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(PreviewColorModel, PolarFormHuesAndTheAxisCases)
{
    struct Case {
        double u, v;
        double hue, chroma;
    };
    const Case cases[] = {
        {3.0, 4.0, 53.13010235415598, 5.0},
        {-3.0, 4.0, 126.86989764584402, 5.0},
        {-3.0, -4.0, 233.13010235415598, 5.0},
        {3.0, -4.0, 306.86989764584402, 5.0},
        {-1e-7, 5.0, 90.0, 5.0},   // |u| below 1e-6: the v axis
        {0.0, -2.0, 270.0, 2.0},
        {0.0, 0.0, 270.0, 0.0},
        {2.0, 0.0, 0.0, 2.0},
    };
    for (const Case& c : cases) {
        const Triple lch = LuvToLch(50.0, c.u, c.v);
        EXPECT_NEAR(lch.a, c.hue, 1e-9) << c.u << "," << c.v;
        EXPECT_NEAR(lch.b, c.chroma, 1e-9) << c.u << "," << c.v;
        EXPECT_EQ(lch.c, 50.0);
        // Back, with the single-precision angle: good to about 1e-6 of the chroma.
        const Triple luv = LchToLuv(lch.a, lch.b, lch.c);
        EXPECT_NEAR(luv.b, c.u, 1e-5) << c.u << "," << c.v;
        EXPECT_NEAR(luv.c, c.v, 1e-5) << c.u << "," << c.v;
    }
}

TEST(PreviewColorModel, AChromaticityOfZeroNeverReachesAByteUndefined)
{
    // v' = v / 13 / L + 0.460893 is 0 for v = -0.460893 x 13 x L: the conversion divides by it.
    // Find an L for which the double arithmetic gives exactly 0.
    double l = 0.0;
    double v = 0.0;
    for (double candidate : {1.0, 2.0, 4.0, 10.0, 13.0, 50.0, 100.0, 0.5, 26.0}) {
        const double tryV = -0.460893 * 13.0 * candidate;
        if (tryV / 13.0 / candidate + 0.460893 == 0.0) {
            l = candidate;
            v = tryV;
            break;
        }
    }
    ASSERT_NE(l, 0.0) << "no L gives v' = 0 exactly";
    for (double u : {0.0, 5.0, -5.0}) {
        const Triple rgb = LuvToRgb(l, u, v);
        EXPECT_FALSE(std::isfinite(rgb.a) && std::isfinite(rgb.b) && std::isfinite(rgb.c)) << u;
        // Every byte made from it is defined: non-finite values give 0, finite ones are clamped.
        for (double channel : {rgb.a, rgb.b, rgb.c}) {
            const BYTE byte = RoundToByte(channel);
            if (!std::isfinite(channel)) {
                EXPECT_EQ(byte, 0) << u;
            }
        }
    }
}

TEST(PreviewColorModel, GrayGammaWeighsTheChannelsAndBendsByTheGamma)
{
    struct Case {
        BYTE r, g, b;
        double gamma;
        BYTE expected;
    };
    // y = 313 r + 562 g + 125 b; 255 x (y / 1000 / 255)^gamma, rounded.
    const Case cases[] = {
        {255, 255, 255, 1.0, 255}, {255, 255, 255, 0.5, 255}, {255, 255, 255, 1.5, 255},
        {0, 0, 0, 1.0, 0},         {0, 0, 0, 0.5, 0},         {100, 150, 200, 1.0, 141},  // 140.6
        {255, 0, 0, 1.0, 80},      // 79.815
        {0, 255, 0, 1.0, 143},     // 143.31
        {0, 0, 255, 1.0, 32},      // 31.875
        {64, 64, 64, 0.5, 128},    // 255 x (64 / 255)^0.5 = 127.75
        {128, 128, 128, 1.5, 91},  // 90.687
        {200, 100, 50, 0.5, 179},  // 178.571
        {200, 100, 50, 1.5, 88},   // 87.570
    };
    for (const Case& c : cases)
        EXPECT_EQ(GrayGamma(c.r, c.g, c.b, c.gamma), c.expected)
            << int(c.r) << "," << int(c.g) << "," << int(c.b) << " gamma " << c.gamma;
    for (int v = 0; v <= 255; ++v)
        EXPECT_EQ(GrayGamma(BYTE(v), BYTE(v), BYTE(v), 1.0), v) << "gamma 1 keeps a gray";
}

}  // namespace
