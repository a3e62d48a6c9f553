// Rendering the previews into the dialog's working picture: only the pixels of the rows are
// written (never the padding of a row stride), the source stays as it was, each pixel is the
// engine's own mapping of the source pixel, sliders move the picture the right way, pictures that
// are missing or do not fit are never touched, and a render allocates nothing.
#include "CountingNew.h"

#include "gui/dlgcoloradj/PreviewColorModel.h"
#include "gui/dlgcoloradj/PreviewLut.h"
#include "gui/dlgcoloradj/PreviewRender.h"
#include "gui/dlgcoloradj/PreviewTransforms.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 224;  // the preview photograph's size
constexpr int kHeight = 198;
constexpr int kStride = kWidth * 3 + 4;  // padded rows, as a picture library may keep them
constexpr BYTE kPadding = 0xA5;

// A picture with every colour region the preview shows: gradients in red and green across and
// down, blue from a checkerboard, and a gray ramp in the bottom rows.
std::vector<BYTE> SourcePicture()
{
    std::vector<BYTE> pixels(static_cast<size_t>(kStride) * kHeight, kPadding);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            BYTE* p = &pixels[static_cast<size_t>(y) * kStride + 3 * x];
            if (y >= kHeight - 8) {
                p[0] = p[1] = p[2] = BYTE(x * 255 / (kWidth - 1));
                continue;
            }
            p[0] = BYTE(x * 255 / (kWidth - 1));
            p[1] = BYTE(y * 255 / (kHeight - 1));
            p[2] = ((x / 8 + y / 8) % 2) != 0 ? 230 : 25;
        }
    }
    return pixels;
}

struct Pictures {
    std::vector<BYTE> source = SourcePicture();
    std::vector<BYTE> target = std::vector<BYTE>(static_cast<size_t>(kStride) * kHeight, kPadding);
    tagPREVIEWPICTURES View() { return {source.data(), target.data(), kWidth, kHeight, kStride}; }
    const BYTE* Src(int x, int y) const { return &source[static_cast<size_t>(y) * kStride + 3 * x]; }
    const BYTE* Dst(int x, int y) const { return &target[static_cast<size_t>(y) * kStride + 3 * x]; }
};

CLRCTRL Sliders(WORD wType)
{
    CLRCTRL c {};
    c.wType = wType;
    return c;
}

void ExpectPaddingUntouched(const Pictures& p)
{
    for (int y = 0; y < kHeight; ++y) {
        for (int i = kWidth * 3; i < kStride; ++i)
            ASSERT_EQ(p.target[static_cast<size_t>(y) * kStride + i], kPadding) << "row " << y;
    }
}

TEST(PreviewRender, ColourPreviewIsTheEnginesMappingOfEverySourcePixel)
{
    CLRCTRL sliders = Sliders(2);
    sliders.sBrightness = 10;
    sliders.sRed = 30;
    sliders.sGreen = -20;
    Pictures p;
    const std::vector<BYTE> original = p.source;
    ASSERT_TRUE(RenderColorPreview(sliders, p.View()));
    EXPECT_EQ(p.source, original);
    ExpectPaddingUntouched(p);
    // The same table, built by hand from the scaled sliders: (10 + 50) x 255 / 100 = 153 and so on.
    CLRCTRL scaled = sliders;
    scaled.sBrightness = 153;
    scaled.sSaturation = 127;
    scaled.sRed = 204;
    scaled.sGreen = 76;
    scaled.sBlue = 127;
    scaled.sCyan = scaled.sMagenta = scaled.sYellow = scaled.sBlack = 127;
    BuildLut(&scaled);
    InitPreviewTables();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            BYTE expected[3];
            const BYTE* s = p.Src(x, y);
            LutInterpolate(s[0], s[1], s[2], &expected[0], &expected[1], &expected[2]);
            const BYTE* d = p.Dst(x, y);
            ASSERT_EQ(d[0], expected[0]) << x << "," << y;
            ASSERT_EQ(d[1], expected[1]) << x << "," << y;
            ASSERT_EQ(d[2], expected[2]) << x << "," << y;
        }
    }
}

// Sum of one channel over the picture.
long ChannelSum(const Pictures& p, int channel)
{
    long sum = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            sum += p.Dst(x, y)[channel];
    }
    return sum;
}

TEST(PreviewRender, SlidersMoveThePictureTheWayTheyAreNamed)
{
    struct Case {
        const char* what;
        WORD type;
        SHORT CLRCTRL::*member;
        SHORT value;
        int channel;   // the channel that must grow (-1: all three)
        int sign;      // +1 grows, -1 shrinks
    };
    const Case cases[] = {
        {"brightness up, saturation type", 1, &CLRCTRL::sBrightness, 40, -1, +1},
        {"brightness down, RGB balance", 2, &CLRCTRL::sBrightness, -40, -1, -1},
        {"brightness up, CMYK balance", 3, &CLRCTRL::sBrightness, 40, -1, +1},
        {"red up", 2, &CLRCTRL::sRed, 40, 0, +1},
        {"green down", 2, &CLRCTRL::sGreen, -40, 1, -1},
        {"blue up", 2, &CLRCTRL::sBlue, 40, 2, +1},
        {"more cyan: less red", 3, &CLRCTRL::sCyan, 40, 0, -1},
        {"more magenta: less green", 3, &CLRCTRL::sMagenta, 40, 1, -1},
        {"more yellow: less blue", 3, &CLRCTRL::sYellow, 40, 2, -1},
        {"more black: darker", 3, &CLRCTRL::sBlack, 40, -1, -1},
    };
    for (const Case& c : cases) {
        Pictures neutral;
        ASSERT_TRUE(RenderColorPreview(Sliders(c.type), neutral.View()));
        CLRCTRL moved = Sliders(c.type);
        moved.*c.member = c.value;
        Pictures adjusted;
        ASSERT_TRUE(RenderColorPreview(moved, adjusted.View()));
        for (int ch = 0; ch < 3; ++ch) {
            const long before = ChannelSum(neutral, ch);
            const long after = ChannelSum(adjusted, ch);
            if (c.channel == -1 || c.channel == ch) {
                if (c.sign > 0)
                    EXPECT_GT(after, before) << c.what << ", channel " << ch;
                else
                    EXPECT_LT(after, before) << c.what << ", channel " << ch;
            } else if (c.type == 2) {
                EXPECT_EQ(after, before) << c.what << ": RGB balance leaves the other channels, channel " << ch;
            }
        }
    }
}

TEST(PreviewRender, GrayPreviewWritesTheGrayIntoAllThreeChannels)
{
    struct Case {
        SHORT value;
        double gamma;
    };
    // gamma = 1 - 0.01 x value; outside -50..50 the nearest end.
    const Case cases[] = {{0, 1.0}, {50, 0.5}, {-50, 1.5}, {20, 0.8}, {400, 0.5}, {-400, 1.5}};
    for (const Case& c : cases) {
        Pictures p;
        ASSERT_TRUE(RenderGrayPreview(c.value, p.View()));
        ExpectPaddingUntouched(p);
        for (int y = 0; y < kHeight; y += 7) {
            for (int x = 0; x < kWidth; ++x) {
                const BYTE* s = p.Src(x, y);
                const BYTE gray = GrayGamma(s[0], s[1], s[2], c.gamma);
                const BYTE* d = p.Dst(x, y);
                ASSERT_EQ(d[0], gray) << c.value << " at " << x << "," << y;
                ASSERT_EQ(d[1], gray) << c.value << " at " << x << "," << y;
                ASSERT_EQ(d[2], gray) << c.value << " at " << x << "," << y;
            }
        }
    }
}

TEST(PreviewRender, PicturesThatDoNotFitAreNeverTouched)
{
    struct Case {
        const char* what;
        bool source, target, same;
        int width, height, stride;
        bool renderable;
    };
    const Case cases[] = {
        {"the photograph", true, true, false, kWidth, kHeight, kStride, true},
        {"unpadded rows", true, true, false, kWidth, kHeight, kWidth * 3, true},
        {"no source picture", false, true, false, kWidth, kHeight, kStride, false},
        {"no working picture", true, false, false, kWidth, kHeight, kStride, false},
        {"one picture for both", true, true, true, kWidth, kHeight, kStride, false},
        {"no width", true, true, false, 0, kHeight, kStride, false},
        {"negative height", true, true, false, kWidth, -1, kStride, false},
        {"stride shorter than a row", true, true, false, kWidth, kHeight, kWidth * 3 - 1, false},
        {"width past the int range", true, true, false, 0x40000000, 1, kStride, false},
    };
    for (const Case& c : cases) {
        Pictures p;
        tagPREVIEWPICTURES view = p.View();
        view.pSource = c.source ? view.pSource : nullptr;
        view.pTarget = c.target ? view.pTarget : nullptr;
        if (c.same)
            view.pSource = view.pTarget;
        view.nWidth = c.width;
        view.nHeight = c.height;
        view.nRowStride = c.stride;
        EXPECT_EQ(IsRenderable(view), c.renderable) << c.what;
        if (c.renderable)
            continue;
        EXPECT_FALSE(RenderColorPreview(Sliders(1), view)) << c.what;
        EXPECT_FALSE(RenderGrayPreview(10, view)) << c.what;
        EXPECT_EQ(p.target, std::vector<BYTE>(p.target.size(), kPadding)) << c.what;
    }
}

TEST(PreviewRender, ARenderAllocatesNothing)
{
    if (!allocount::Counting())
        GTEST_SKIP() << "the sanitizer build keeps its own allocator";
    Pictures p;
    tagPREVIEWPICTURES view = p.View();
    CLRCTRL sliders = Sliders(3);
    const long before = allocount::Allocations();
    for (SHORT v = -50; v <= 50; v += 10) {
        sliders.sCyan = v;
        sliders.wType = static_cast<WORD>(1 + (v + 50) / 10 % 3);
        ASSERT_TRUE(RenderColorPreview(sliders, view));
        ASSERT_TRUE(RenderGrayPreview(v, view));
    }
    EXPECT_EQ(allocount::Allocations(), before);
}

}  // namespace
