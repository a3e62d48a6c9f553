// The preview table and its interpolation: the lattice's weights for every possible pixel, exact
// corner nodes, the product-table path against plain multiplication, the transforms' neutral
// settings and their selection. Expected node values are worked out by hand from the transforms'
// formulas (the working is in the comments).
#include "gui/dlgcoloradj/PreviewColorModel.h"
#include "gui/dlgcoloradj/PreviewLut.h"
#include "gui/dlgcoloradj/PreviewTransforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

using preview::LutNode;

CLRCTRL Scaled(WORD wType, SHORT brightness, SHORT saturation, SHORT red, SHORT green, SHORT blue, SHORT cyan = 128,
               SHORT magenta = 128, SHORT yellow = 128, SHORT black = 128)
{
    CLRCTRL c {};
    c.wType = wType;
    c.sBrightness = brightness;
    c.sSaturation = saturation;
    c.sRed = red;
    c.sGreen = green;
    c.sBlue = blue;
    c.sCyan = cyan;
    c.sMagenta = magenta;
    c.sYellow = yellow;
    c.sBlack = black;
    return c;
}

void Build(const CLRCTRL& scaled)
{
    BuildLut(&scaled);
    InitPreviewTables();
}

struct Rgb {
    int r, g, b;
};

Rgb Interpolate(int r, int g, int b)
{
    BYTE o[3];
    LutInterpolate(BYTE(r), BYTE(g), BYTE(b), &o[0], &o[1], &o[2]);
    return {o[0], o[1], o[2]};
}

// Lattice position of a table entry on each axis: corner i at 32 i, centre i at 32 i - 16.
void EntryPosition(int entry, int pos[3])
{
    const bool centre = entry >= kPreviewCentreBase;
    const int index = entry % kPreviewCentreBase;
    const int idx[3] = {index % 8, (index / 8) % 8, index / 64};
    for (int k = 0; k < 3; ++k)
        pos[k] = 32 * idx[k] - (centre ? 16 : 0);
}

// Why the four nodes of one pixel are wrong, or empty when they are right.
std::string NodeFault(int r, int g, int b, const LutNode nodes[4])
{
    const int t[3] = {r * 192 / 255, g * 192 / 255, b * 192 / 255};
    int sum = 0;
    long weighted[3] = {0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const LutNode& n = nodes[i];
        if (n.entry < 0 || n.entry >= kPreviewNodes)
            return "entry " + std::to_string(n.entry) + " outside the table";
        if (n.weight < 0 || n.weight > 32)
            return "weight " + std::to_string(n.weight) + " outside 0..32";
        sum += n.weight;
        int pos[3];
        EntryPosition(n.entry, pos);
        const bool cornerSeven = n.entry < kPreviewCentreBase && (pos[0] == 224 || pos[1] == 224 || pos[2] == 224);
        if (cornerSeven && n.weight != 0)
            return "corner 7 carries weight";
        for (int k = 0; k < 3; ++k)
            weighted[k] += static_cast<long>(n.weight) * pos[k];
    }
    if (sum != 32)
        return "weights add up to " + std::to_string(sum);
    for (int k = 0; k < 3; ++k) {
        if (weighted[k] != 32L * t[k])
            return "axis " + std::to_string(k) + ": weighted position " + std::to_string(weighted[k]) +
                   ", the pixel is at " + std::to_string(32L * t[k]);
    }
    return {};
}

TEST(PreviewLut, EveryPixelIsABarycentricCombinationOfFourNodes)
{
    // For every input: four entries inside the table, weights 0..32 adding up to 32, and the
    // weighted node positions giving back the pixel's own lattice position t = floor(v x 192 /
    // 255) exactly, which is what makes them the barycentric weights of its tetrahedron.
    // Corner 7 never carries weight.
    long checked = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                LutNode nodes[4];
                preview::GetInterpolationNodes(BYTE(r), BYTE(g), BYTE(b), nodes);
                const std::string fault = NodeFault(r, g, b, nodes);
                if (!fault.empty())
                    FAIL() << r << "," << g << "," << b << ": " << fault;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 256L * 256 * 256);
}

// The inputs that land on a corner (fraction 0): t = 0, 32, ..., 192.
constexpr int kCornerInputs[7] = {0, 43, 85, 128, 170, 213, 255};

TEST(PreviewLut, CornerInputsReturnTheCornerNodesExactly)
{
    // RGB balance with red +50 (255), green -50 (0), blue 0 (127) and brightness 0 (127): each
    // channel goes through its own tone curve, so the corner (i, j, k) holds (red[i], green[j],
    // blue[k]) of these columns. Worked by hand: value x = corner value - 100/127 (brightness
    // 127), then ToneCurve(x, s) with s = (q - 128) / 127 x 100, rounded:
    //   corner value  0     42.5   85     127.5   170    212.5  255
    //   red, s = 100  0     141.7  184.2  225.4   235.2  245.0  254.8
    //   green, s = -100.787  0  9.57  19.32  29.07  68.43  110.93  251.57
    //   blue, s = -0.787     0  40.93  83.43  125.93  168.43  210.93  254.19
    const int red[7] = {0, 142, 184, 225, 235, 245, 255};
    const int green[7] = {0, 10, 19, 29, 68, 111, 252};
    const int blue[7] = {0, 41, 83, 126, 168, 211, 254};
    Build(Scaled(2, 127, 127, 255, 0, 127));
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            for (int k = 0; k < 7; ++k) {
                const Rgb out = Interpolate(kCornerInputs[i], kCornerInputs[j], kCornerInputs[k]);
                BYTE nr, ng, nb;
                preview::GetPreviewNode(preview::CornerEntry(i, j, k), &nr, &ng, &nb);
                EXPECT_EQ(out.r, nr) << i << j << k;
                EXPECT_EQ(out.g, ng) << i << j << k;
                EXPECT_EQ(out.b, nb) << i << j << k;
                EXPECT_EQ(out.r, red[i]) << i << j << k;
                EXPECT_EQ(out.g, green[j]) << i << j << k;
                EXPECT_EQ(out.b, blue[k]) << i << j << k;
            }
        }
    }
}

TEST(PreviewLut, TheUsersNeutralIsOneStepBelowTheCentre)
{
    // Every slider at 0 scales to 127; under RGB balance the brightness step and each curve's
    // shift are -100/127: gray 0 stays 0, 128 (corner 127.5) becomes 126, 255 becomes 254.
    Build(Scaled(2, 127, 127, 127, 127, 127));
    struct Case {
        int in, out;
    };
    const Case cases[] = {{0, 0}, {43, 41}, {85, 83}, {128, 126}, {170, 168}, {213, 211}, {255, 254}};
    for (const Case& c : cases) {
        const Rgb out = Interpolate(c.in, c.in, c.in);
        EXPECT_EQ(out.r, c.out) << c.in;
        EXPECT_EQ(out.g, c.out) << c.in;
        EXPECT_EQ(out.b, c.out) << c.in;
    }
}

TEST(PreviewLut, ExactCentreSettingsLeaveTheNodesAtTheirOwnColour)
{
    // At 128 the RGB balance (no shift) and the CMYK balance (every exponent 1, so the ink is the
    // density itself and the black term cancels what it took) give every node its own colour
    // value, clamped to 0..255: corners 0, 42.5, ..., 297.5 and centres -21.25, ..., 276.25.
    const int corner[8] = {0, 43, 85, 128, 170, 213, 255, 255};
    const int centre[8] = {0, 21, 64, 106, 149, 191, 234, 255};
    for (WORD type : {WORD(2), WORD(3)}) {
        Build(Scaled(type, 128, 128, 128, 128, 128));
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8; ++j) {
                for (int k = 0; k < 8; ++k) {
                    BYTE r, g, b;
                    preview::GetPreviewNode(preview::CornerEntry(i, j, k), &r, &g, &b);
                    EXPECT_EQ(r, corner[i]) << "type " << type << " corner " << i << j << k;
                    EXPECT_EQ(g, corner[j]) << "type " << type << " corner " << i << j << k;
                    EXPECT_EQ(b, corner[k]) << "type " << type << " corner " << i << j << k;
                    preview::GetPreviewNode(preview::CentreEntry(i, j, k), &r, &g, &b);
                    EXPECT_EQ(r, centre[i]) << "type " << type << " centre " << i << j << k;
                    EXPECT_EQ(g, centre[j]) << "type " << type << " centre " << i << j << k;
                    EXPECT_EQ(b, centre[k]) << "type " << type << " centre " << i << j << k;
                }
            }
        }
    }
}

TEST(PreviewLut, GrayStaysGrayUnderNeutralSaturation)
{
    // A gray pixel is interpolated from gray nodes only (its offsets are equal on all axes, so
    // the off-diagonal nodes get weight 0), and the saturation transform leaves a gray's hue and
    // (with its chroma factor at 1 or 126/127) nearly no chroma: every gray comes out gray within
    // one step, for any brightness.
    for (SHORT saturation : {SHORT(128), SHORT(127)}) {
        for (SHORT brightness : {SHORT(0), SHORT(64), SHORT(127), SHORT(128), SHORT(200), SHORT(255)}) {
            Build(Scaled(1, brightness, saturation, 128, 128, 128));
            int previous = -1;
            for (int v = 0; v < 256; ++v) {
                const Rgb out = Interpolate(v, v, v);
                EXPECT_LE(std::abs(out.r - out.g), 1) << v << " sat " << saturation << " bright " << brightness;
                EXPECT_LE(std::abs(out.g - out.b), 1) << v << " sat " << saturation << " bright " << brightness;
                EXPECT_LE(std::abs(out.r - out.b), 1) << v << " sat " << saturation << " bright " << brightness;
                EXPECT_GE(out.g, previous) << "grays stay in order, " << v;
                previous = out.g;
            }
        }
    }
}

TEST(PreviewLut, SaturationMovesColoursAwayFromOrTowardsGray)
{
    // Pure-ish red (200, 60, 60): more saturation spreads the channels, less draws them together.
    auto spread = [](SHORT saturation) {
        Build(Scaled(1, 128, saturation, 128, 128, 128));
        const Rgb out = Interpolate(200, 60, 60);
        return out.r - (out.g + out.b) / 2;
    };
    const int less = spread(0);
    const int neutral = spread(128);
    const int more = spread(255);
    EXPECT_LT(less, neutral);
    EXPECT_LT(neutral, more);
    EXPECT_LT(less, 30) << "saturation 0 leaves almost gray";
}

TEST(PreviewLut, TheProductTableGivesThePlainSums)
{
    const CLRCTRL tables[] = {
        Scaled(1, 180, 230, 128, 128, 128),
        Scaled(2, 90, 128, 255, 20, 170),
        Scaled(3, 140, 128, 128, 128, 128, 255, 0, 200, 40),
    };
    for (const CLRCTRL& scaled : tables) {
        Build(scaled);
        for (int r = 0; r < 256; r += 3) {
            for (int g = 0; g < 256; ++g) {
                for (int b = 0; b < 256; b += 5) {
                    BYTE fast[3], plain[3];
                    LutInterpolate(BYTE(r), BYTE(g), BYTE(b), &fast[0], &fast[1], &fast[2]);
                    preview::LutInterpolateReference(BYTE(r), BYTE(g), BYTE(b), &plain[0], &plain[1], &plain[2]);
                    if (fast[0] != plain[0] || fast[1] != plain[1] || fast[2] != plain[2])
                        FAIL() << "type " << scaled.wType << " " << r << "," << g << "," << b;
                }
            }
        }
    }
}

TEST(PreviewLut, AnUnknownTypeKeepsTheTransformSelectedLast)
{
    struct Step {
        WORD type;
        WORD inUse;
    };
    const Step steps[] = {{2, 2}, {0, 2}, {4, 2}, {3, 3}, {65535, 3}, {1, 1}, {7, 1}};
    for (const Step& s : steps) {
        const CLRCTRL scaled = Scaled(s.type, 128, 128, 128, 128, 128);
        BuildLut(&scaled);
        EXPECT_EQ(preview::CurrentTransformType(), s.inUse) << "after type " << s.type;
    }
    // The table really is the kept transform's: at exact centre settings the RGB balance keeps
    // corner 3 at 128, the saturation transform (lightness curve, white point) need not; so
    // build with type 2, then an unknown type, and compare with a fresh type 2 build.
    Build(Scaled(2, 128, 128, 100, 200, 50));
    const Rgb kept = (Build(Scaled(9, 128, 128, 100, 200, 50)), Interpolate(90, 150, 210));
    Build(Scaled(2, 128, 128, 100, 200, 50));
    const Rgb fresh = Interpolate(90, 150, 210);
    EXPECT_EQ(kept.r, fresh.r);
    EXPECT_EQ(kept.g, fresh.g);
    EXPECT_EQ(kept.b, fresh.b);
}

TEST(PreviewLut, OutOfRangeParametersStayDefined)
{
    // A scaled block straight from a damaged record: every parameter is held to 0..255, so the
    // table is the one of the nearest ends.
    for (WORD type : {WORD(1), WORD(2), WORD(3)}) {
        Build(Scaled(type, 32767, -32768, 32767, -32768, 300, -300, 32767, -1, 256));
        BYTE wild[kPreviewNodes][3];
        for (int e = 0; e < kPreviewNodes; ++e)
            preview::GetPreviewNode(e, &wild[e][0], &wild[e][1], &wild[e][2]);
        Build(Scaled(type, 255, 0, 255, 0, 255, 0, 255, 0, 255));
        for (int e = 0; e < kPreviewNodes; ++e) {
            BYTE r, g, b;
            preview::GetPreviewNode(e, &r, &g, &b);
            ASSERT_EQ(wild[e][0], r) << "type " << type << " entry " << e;
            ASSERT_EQ(wild[e][1], g) << "type " << type << " entry " << e;
            ASSERT_EQ(wild[e][2], b) << "type " << type << " entry " << e;
        }
    }
}

}  // namespace
