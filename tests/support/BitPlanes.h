// Bi-level test images of the kinds a printer page holds, as the renderer's bit-planes lay them
// out: rows of (width + 7) / 8 bytes, bit 7 the leftmost dot, a set bit prints, padding bits 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvtest {

enum class PlanePattern {
    Empty,     // nothing prints
    Solid,     // everything prints
    Noise,     // every dot random: incompressible
    TextLike,  // lines of glyph-sized strokes and boxes on white
    Dither,    // an ordered-dither screen of a horizontal gradient
    Sparse,    // a few random dots on white
};

const char* PatternName(PlanePattern pattern);

size_t PlaneRowBytes(unsigned width);

// A plane of the pattern; the seed varies the random patterns.
std::vector<uint8_t> MakePlane(PlanePattern pattern, unsigned width, unsigned rows, uint32_t seed = 1);

}  // namespace orvtest
