#include "ToneCurve.h"

#include <algorithm>
#include <cmath>

namespace ctc {

std::vector<uint8_t> BuildDotGainCurve(double gain)
{
    const double g = std::clamp(gain, 0.0, 0.24);
    std::vector<uint8_t> curve(256);
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        double a = t;
        if (g > 0) {
            // 4 g a^2 - (1 + 4 g) a + t = 0, the root in 0..1.
            const double b = 1 + 4 * g;
            a = (b - std::sqrt(std::max(0.0, b * b - 16 * g * t))) / (8 * g);
        }
        curve[i] = static_cast<uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255.0));
    }
    return curve;
}

}  // namespace ctc
