#include "ColorLut.h"

#include <algorithm>
#include <cmath>

namespace ctc {

namespace {

struct Inks {
    double c, m, y, k;
};

uint8_t ToByte(double v)
{
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

// The gray component of C, M and Y: their mean, less a share of their squared spread. Unlike the
// smallest of the three it has no crease along the gray axis, so a LUT interpolated between
// nodes (trilinear interpolation mixes in the nodes beside the axis) prints a gray ramp without
// steps; saturated colours still get none.
double GrayComponent(double c, double m, double y, double* spread)
{
    const double mean = (c + m + y) / 3;
    *spread = ((c - mean) * (c - mean) + (m - mean) * (m - mean) + (y - mean) * (y - mean));
    return std::max(0.0, mean - 0.6 * *spread);
}

Inks Separate(const LutParams& p, double r, double g, double b)
{
    if (p.saturation != 0.0) {
        // Colours gain saturation, grays and near-grays keep theirs, so a gray ramp stays gray.
        const double l = (r + g + b) / 3.0;
        const double spread = (r - l) * (r - l) + (g - l) * (g - l) + (b - l) * (b - l);
        const double boost = 1 + p.saturation * spread / (spread + 0.01);
        r = std::clamp(l + (r - l) * boost, 0.0, 1.0);
        g = std::clamp(l + (g - l) * boost, 0.0, 1.0);
        b = std::clamp(l + (b - l) * boost, 0.0, 1.0);
    }
    const double c0 = 1 - std::pow(r, p.gamma);
    const double m0 = 1 - std::pow(g, p.gamma);
    const double y0 = 1 - std::pow(b, p.gamma);
    double spread = 0;
    const double gray = GrayComponent(c0, m0, y0, &spread);

    // Rebalance the gray component so that equal RGB prints neutral; toward full black the
    // balance fades, so black itself takes every ink at full strength.
    double balance[3];
    for (int i = 0; i < 3; ++i) {
        balance[i] = 1 + (p.grayBalance[i] - 1) * (1 - gray * gray);
    }
    Inks ink{std::max(0.0, c0 + gray * (balance[0] - 1)), std::max(0.0, m0 + gray * (balance[1] - 1)),
             std::max(0.0, y0 + gray * (balance[2] - 1)), 0.0};
    if (p.rendererUcrBg) {
        return ink;
    }

    double black = 0.0;
    if (gray > p.blackStart) {
        black = p.blackMax * std::pow((gray - p.blackStart) / (1 - p.blackStart), p.blackPower);
    }
    double removal = p.ucr * black;
    if (p.grayInBlack) {
        // The nearer to neutral, the more of the gray component goes to black.
        const double neutral = std::max(0.0, 1 - spread / 0.05);
        black = black + (gray - black) * neutral;
        removal = removal + (gray - removal) * neutral;
    }
    ink.c = std::max(0.0, ink.c - removal * balance[0]);
    ink.m = std::max(0.0, ink.m - removal * balance[1]);
    ink.y = std::max(0.0, ink.y - removal * balance[2]);
    ink.k = black;

    const double colour = ink.c + ink.m + ink.y;
    if (colour + ink.k > p.inkLimit && colour > 0) {
        const double scale = std::max(0.0, p.inkLimit - ink.k) / colour;
        ink.c *= scale;
        ink.m *= scale;
        ink.y *= scale;
    }
    return ink;
}

}  // namespace

std::vector<uint8_t> BuildColorLut(const LutParams& p, std::string* error)
{
    std::string ignored;
    std::string& err = error != nullptr ? *error : ignored;
    err.clear();
    if (!(p.gamma > 0.2 && p.gamma < 5) || !(p.blackStart >= 0 && p.blackStart < 1) || !(p.blackPower > 0) ||
        !(p.blackMax >= 0 && p.blackMax <= 1) || !(p.ucr >= 0 && p.ucr <= 1) || !(p.inkLimit >= 1 && p.inkLimit <= 4) ||
        !(p.saturation > -1 && p.saturation <= 1) || p.ucrPercent < 0 || p.ucrPercent > 100 || p.bgPercent < 0 ||
        p.bgPercent > 100) {
        err = "colour parameter out of range";
        return {};
    }
    for (double balance : p.grayBalance) {
        if (!(balance > 0 && balance <= 1.5)) {
            err = "gray balance out of range";
            return {};
        }
    }

    std::vector<uint8_t> lut(kLutBytes);
    for (int i = 0; i < 17; ++i) {
        for (int j = 0; j < 17; ++j) {
            for (int k = 0; k < 17; ++k) {
                const Inks ink = Separate(p, std::min(16 * i, 255) / 255.0, std::min(16 * j, 255) / 255.0,
                                          std::min(16 * k, 255) / 255.0);
                uint8_t* node = &lut[4 * static_cast<size_t>(289 * i + 17 * j + k)];
                node[0] = ToByte(ink.c);
                node[1] = ToByte(ink.m);
                node[2] = ToByte(ink.y);
                node[3] = ToByte(ink.k);
                if (p.grayInBlack && i == j && j == k) {
                    // The renderer folds this node to K + floor(8 x min(C, M, Y) / 10); store the
                    // K that makes the fold print the gray component in black alone.
                    const int target = ToByte(1 - std::pow(std::min(16 * i, 255) / 255.0, p.gamma));
                    const int fromColour = (8 * std::min({node[0], node[1], node[2]})) / 10;
                    node[3] = static_cast<uint8_t>(std::max(0, target - fromColour));
                }
            }
        }
    }
    return lut;
}

}  // namespace ctc
