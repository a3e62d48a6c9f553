// Tone curves that undo the printer's dot gain: printed dots spread, so a share a of dots covers
// about a + 4 g a (1 - a) of the paper (g the gain at half coverage). The curve asks for the
// share that prints the requested coverage, so equal steps of ink value print equal steps of
// coverage.
#pragma once

#include <cstdint>
#include <vector>

namespace ctc {

// 256 bytes: for input level i the output level; 0 stays 0 and 255 stays 255. Gains outside
// 0..0.24 are clamped.
std::vector<uint8_t> BuildDotGainCurve(double gain);

}  // namespace ctc
