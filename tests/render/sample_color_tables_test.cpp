// The sample models' colour-table files, compiled at build time from data/color-tables/, read by
// the renderer as a job would read them.
#include "RenderTestSupport.h"

#include "filter/render/color/ColorTableFile.h"
#include "filter/render/color/ColorTableLoad.h"
#include "filter/render/Renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using orvtest::StderrCapture;
using rendertest::MakeSettings;
using rendertest::SettingsFields;
using rendertest::TableContext;

std::vector<uint8_t> SampleFile(const char* name)
{
    std::ifstream in(std::string(ORV_COLOR_TABLE_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The settings that give each colour-mode code.
struct ModeSettings {
    int code;
    SHORT color;
    WORD grayRepro;
    WORD profile;
};
constexpr ModeSettings kModes[] = {{1, 2, 1, 0}, {2, 2, 0, 0}, {3, 2, 1, 1}, {4, 2, 0, 1}, {5, 3, 0, 0}};

TEST(SampleColorTables, ColourModelHasEveryTableAJobAsksFor)
{
    const std::vector<uint8_t> file = SampleFile("L_GC7350");
    for (DWORD langFlags : {DWORD{0}, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE}) {
        TableContext t(file, langFlags);
        for (const ModeSettings& mode : kModes) {
            for (DWORD media : {0u, 1u, 2u, 4u, 8u, 42u}) {
                for (SHORT quality : {1, 2, 3, 4}) {
                    for (SHORT toner : {0, 1}) {
                        const DRVDEVMODE dm =
                            MakeSettings({mode.color, mode.grayRepro, mode.profile, quality, toner, media});
                        StderrCapture err;
                        EXPECT_EQ(RendererSetupColorTables(&dm, t.context(), t.options()), 1);
                        EXPECT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
                        EXPECT_EQ(err.Take(), "")
                            << "mode " << mode.code << " media " << media << " quality " << quality;
                        EXPECT_EQ(t.block()->abLutKey[1], mode.code);
                    }
                }
            }
        }
        for (SHORT quality : {1, 2, 3, 4}) {
            const DRVDEVMODE mono = MakeSettings({1, 0, 0, quality, 1});
            EXPECT_EQ(RendererSetupColorTables(&mono, t.context(), t.options()), 1);
            EXPECT_EQ(RendererSetupDitherMatrices(&mono, t.context(), t.options()), 0xFFFF);
        }
        EXPECT_EQ(t.context()->asGrayWeight[0] + t.context()->asGrayWeight[1] + t.context()->asGrayWeight[2], 100);
    }
}

TEST(SampleColorTables, MonochromeModelHasItsScreensAndCurves)
{
    TableContext t(SampleFile("L_GM4150"), TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE);
    for (SHORT quality : {1, 2, 3, 4}) {
        for (SHORT toner : {0, 1}) {
            const DRVDEVMODE dm = MakeSettings({1, 0, 0, quality, toner});
            StderrCapture err;
            EXPECT_EQ(RendererSetupColorTables(&dm, t.context(), t.options()), 1);
            EXPECT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
            EXPECT_EQ(err.Take(), "");
        }
    }
}

TEST(SampleColorTables, TonerSaveScreensPrintLessInk)
{
    TableContext t(SampleFile("L_GC7350"), TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE);
    auto fullValueShare = [&](SHORT toner) {
        const DRVDEVMODE dm = MakeSettings({1, 0, 0, 2, toner});
        EXPECT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
        const BYTE* m = t.block()->apMatrix[SLOT_BLACK];
        const size_t n = size_t{t.block()->dwMatrixRowBytes} * t.block()->adwMatrixHeight[SLOT_BLACK];
        return static_cast<double>(std::count_if(m, m + n, [](BYTE v) { return v < 255; })) / n;
    };
    EXPECT_DOUBLE_EQ(fullValueShare(0), 1.0);
    EXPECT_NEAR(fullValueShare(1), 0.6, 0.02);
}

TEST(SampleColorTables, ScreenAnglesDifferPerPlane)
{
    TableContext t(SampleFile("L_GC7350"));
    t.options()->dwPageWidth = 64;
    const DRVDEVMODE dm = MakeSettings({2});
    ASSERT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
    // Compare the planes' screens where they overlap: no two may be the same pattern.
    const size_t row = t.block()->dwMatrixRowBytes;
    for (int a = 0; a < SLOT_COUNT; ++a) {
        for (int b = a + 1; b < SLOT_COUNT; ++b) {
            const size_t rows = std::min(t.block()->adwMatrixHeight[a], t.block()->adwMatrixHeight[b]);
            size_t same = 0;
            for (size_t i = 0; i < rows * row; ++i) {
                same += (t.block()->apMatrix[a][i] < 64) == (t.block()->apMatrix[b][i] < 64) ? 1 : 0;
            }
            EXPECT_LT(static_cast<double>(same) / (rows * row), 0.9) << a << " vs " << b;
        }
    }
}

TEST(SampleColorTables, DamagedCopiesAreRefusedAtEveryLength)
{
    for (const char* name : {"L_GM4150", "L_GC7350"}) {
        const std::vector<uint8_t> file = SampleFile(name);
        ASSERT_TRUE(ColorTableImageIsSound(file.data(), file.size())) << name;
        for (size_t n = 0; n < file.size(); ++n) {
            ASSERT_FALSE(ColorTableImageIsSound(file.data(), n)) << name << " cut at " << n;
        }
    }
}

// --- A printed gray ramp ---------------------------------------------------------------------
//
// What a page would show for gray input v: the LUT is interpolated trilinearly as the screening
// does it (eight nodes, weights of 16ths, shifted by 12), under-colour removal and black
// generation run when the table asks for them, each ink goes through its tone curve, and its
// threshold matrix decides the share of dots printed. On paper the dots spread (the dot gain the
// sample tables are made for: a share a covers a + 4 g a (1 - a)), and the paper's lightness
// follows from each ink absorbing its own third of the spectrum (black all of it).

struct Cmyk {
    int c, m, y, k;
};

Cmyk Trilinear(const BYTE* lut, int r, int g, int b)
{
    const int i = r >> 4, j = g >> 4, k = b >> 4;
    const int fr = r & 15, fg = g & 15, fb = b & 15;
    int out[4] = {};
    for (int a = 0; a < 2; ++a) {
        for (int bb = 0; bb < 2; ++bb) {
            for (int c = 0; c < 2; ++c) {
                const int w = (a ? fr : 16 - fr) * (bb ? fg : 16 - fg) * (c ? fb : 16 - fb);
                const BYTE* node = lut + LutNodeOffset(i + a, j + bb, k + c);
                for (int ch = 0; ch < 4; ++ch) {
                    out[ch] += node[ch] * w;
                }
            }
        }
    }
    return {out[0] >> 12, out[1] >> 12, out[2] >> 12, out[3] >> 12};
}

// Dot gain of the sample tables by quality mode (1, 2, 3, 4).
double SampleDotGain(SHORT quality)
{
    switch (quality) {
    case 1:
        return 0.10;
    case 3:
        return 0.17;
    case 4:
        return 0.20;
    default:
        return 0.14;
    }
}

// Share of the paper covered by one plane at one value.
double Covered(const tagCOLORBLOCK* block, int slot, int value, double gain)
{
    const BYTE* m = block->apMatrix[slot];
    const size_t n = size_t{block->dwMatrixRowBytes} * block->adwMatrixHeight[slot];
    const double a = static_cast<double>(std::count_if(m, m + n, [&](BYTE t) { return t < value; })) / n;
    return a + 4 * gain * a * (1 - a);
}

double Lightness(double cyan, double magenta, double yellow, double black)
{
    const double k = 1 - 0.97 * black;
    const double y = k * (0.2126 * (1 - 0.9 * cyan) + 0.7152 * (1 - 0.9 * magenta) + 0.0722 * (1 - 0.9 * yellow));
    const double f = y > 0.008856 ? std::cbrt(y) : 7.787 * y + 16.0 / 116;
    return 116 * f - 16;
}

void ExpectSmoothRamp(const std::vector<double>& lightness, const std::string& what)
{
    EXPECT_LT(lightness.front(), 35) << what << ": black is dark";
    EXPECT_NEAR(lightness.back(), 100, 0.01) << what << ": white is paper";
    double largestStep = 0;
    size_t at = 0;
    for (size_t v = 1; v < lightness.size(); ++v) {
        EXPECT_GE(lightness[v], lightness[v - 1] - 0.3) << what << ": lighter input printed darker at " << v;
        if (lightness[v] - lightness[v - 1] > largestStep) {
            largestStep = lightness[v] - lightness[v - 1];
            at = v;
        }
    }
    EXPECT_LT(largestStep, 3.0) << what << ": a visible jump in the ramp at " << at;
}

TEST(SampleColorTables, GrayRampPrintsAsASmoothRamp)
{
    TableContext t(SampleFile("L_GC7350"));
    for (const ModeSettings& mode : kModes) {
        for (SHORT quality : {2, 4}) {
            const DRVDEVMODE dm = MakeSettings({mode.color, mode.grayRepro, mode.profile, quality});
            ASSERT_EQ(RendererSetupColorTables(&dm, t.context(), t.options()), 1);
            ASSERT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
            const tagCOLORBLOCK* block = t.block();
            std::vector<double> lightness;
            for (int v = 0; v < 255; ++v) {
                Cmyk ink = Trilinear(block->abLut, v, v, v);
                if ((block->abLutKey[7] & 0x02) != 0) {
                    const double m = std::min({ink.c, ink.m, ink.y});
                    const double ucr = block->abLutKey[8], bg = block->abLutKey[9];
                    ink.c = static_cast<int>(std::clamp(ink.c - ucr * m / 100, 0.0, 255.0));
                    ink.m = static_cast<int>(std::clamp(ink.m - ucr * m / 100, 0.0, 255.0));
                    ink.y = static_cast<int>(std::clamp(ink.y - ucr * m / 100, 0.0, 255.0));
                    ink.k = static_cast<int>(std::min(255.0, bg * m / 100));
                }
                const double gain = SampleDotGain(quality);
                lightness.push_back(
                    Lightness(Covered(block, SLOT_CYAN, block->apToneCurve[SLOT_CYAN][ink.c], gain),
                              Covered(block, SLOT_MAGENTA, block->apToneCurve[SLOT_MAGENTA][ink.m], gain),
                              Covered(block, SLOT_YELLOW, block->apToneCurve[SLOT_YELLOW][ink.y], gain),
                              Covered(block, SLOT_BLACK, block->apToneCurve[SLOT_BLACK][ink.k], gain)));
            }
            lightness.push_back(100);  // white pixels are skipped: paper
            ExpectSmoothRamp(lightness, "mode " + std::to_string(mode.code) + " quality " + std::to_string(quality));
        }
    }
}

TEST(SampleColorTables, MonochromeGrayRampPrintsAsASmoothRamp)
{
    for (const char* name : {"L_GM4150", "L_GC7350"}) {
        TableContext t(SampleFile(name));
        for (SHORT quality : {1, 2, 3, 4}) {
            const DRVDEVMODE dm = MakeSettings({1, 0, 0, quality});
            ASSERT_EQ(RendererSetupColorTables(&dm, t.context(), t.options()), 1);
            ASSERT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
            // The file's monochrome curve is indexed by darkness; the page's set-up turns it round,
            // so gray level v reads entry v.
            std::vector<double> lightness;
            for (int v = 0; v < 256; ++v) {
                const int value = t.block()->apToneCurve[SLOT_BLACK][v];
                lightness.push_back(Lightness(0, 0, 0, Covered(t.block(), SLOT_BLACK, value, SampleDotGain(quality))));
            }
            ExpectSmoothRamp(lightness, std::string(name) + " quality " + std::to_string(quality));
        }
    }
}

}  // namespace
