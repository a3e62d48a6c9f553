// The 17 x 17 x 17 RGB to CMYK lookup table: node (i, j, k) stands for red, green and blue at
// level min(16 n, 255) and holds C, M, Y, K at byte 4 x (289 i + 17 j + k).
//
// RGB values are taken as light; the ink share of each channel is 1 - v^gamma. The part common to
// C, M and Y (the gray component) is rebalanced so that equal RGB prints neutral (the balance
// fading out toward full black), black replaces it from black_start on (black generation), and
// C, M and Y give up what the black now prints (under-colour removal); the four inks together
// never exceed the ink limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ctc {

struct LutParams {
    double gamma = 1.8;
    double grayBalance[3] = {1.0, 0.88, 0.85};  // C, M, Y shares that print a neutral gray
    double blackStart = 0.3;  // gray component where black begins
    double blackPower = 1.5;  // how fast black grows after that
    double blackMax = 1.0;
    double ucr = 0.85;  // share of the black taken out of C, M and Y
    double inkLimit = 2.8;  // largest sum of the four inks (1.0 each)
    double saturation = 0.0;  // above 0 more vivid colours (grays stay gray)
    // Gray printed with black only: near-neutral colours take their gray component as black, and
    // the gray axis is stored so that the renderer's gray-axis fold (K + 8/10 of the smallest of
    // C, M, Y, then C = M = Y = 0) lands on the black-only value.
    bool grayInBlack = false;
    // Leave black to the renderer: the table holds C, M and Y only, and the renderer's
    // under-colour removal and black generation run with these percentages.
    bool rendererUcrBg = false;
    int ucrPercent = 0;
    int bgPercent = 0;
};

inline constexpr size_t kLutBytes = 19652;

// The table, or an empty vector with the reason in error.
std::vector<uint8_t> BuildColorLut(const LutParams& params, std::string* error);

}  // namespace ctc
