// Clustered-dot threshold matrices at a screen angle.
//
// The dots sit on a square lattice spanned by (a, b) and (-b, a) in 600-dpi dots, stretched by
// the device's dots per 600-dpi dot across and down (2 x 1 for 1200 x 600 dpi and so on), so the
// screen keeps its frequency and angle on paper at every resolution. The matrix is the smallest
// rectangle the lattice repeats on, enlarged to at least the requested side; within it every dot
// grows from its centre in the same order, and dots take turns pixel by pixel in an order spread
// over the tile, so the tile gives as many levels as it has pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ctc {

struct ScreenSpec {
    int a = 4;  // lattice vector in 600-dpi dots: angle atan2(b, a), period sqrt(a^2 + b^2)
    int b = 4;
    int dotsX = 1;  // device dots per 600-dpi dot, across and down
    int dotsY = 1;
    int minSide = 32;  // least tile side in device dots
    double coverage = 1.0;  // largest share of dots ever printed (toner save below 1)
};

struct ThresholdMatrix {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> thresholds;  // row by row; a dot prints where threshold < value
};

// The matrix, or an empty one with the reason in error.
ThresholdMatrix BuildClusteredScreen(const ScreenSpec& spec, std::string* error);

}  // namespace ctc
