#include "ClusteredScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <numeric>
#include <utility>

namespace ctc {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxSide = 1024;

int64_t Mod(int64_t v, int64_t m)
{
    const int64_t r = v % m;
    return r < 0 ? r + m : r;
}

// Lattice spanned by v1 = (p, q) and v2 = (r, s) with determinant d = p s - q r > 0: the point
// (x, y) has lattice coordinates ((x s - y r) / d, (y p - x q) / d).
struct Lattice {
    int64_t p, q, r, s, d;

    bool Contains(int64_t x, int64_t y) const { return Mod(x * s - y * r, d) == 0 && Mod(y * p - x * q, d) == 0; }
};

// The order in which the dots of the tile take their next pixel: each next dot is the one
// farthest (on the torus of the tile) from those already chosen, so partial levels spread evenly.
std::vector<int> SpreadOrder(const std::vector<std::pair<int64_t, int64_t>>& centres, int64_t w, int64_t h)
{
    const size_t n = centres.size();
    std::vector<int> rank(n, -1);
    std::vector<double> nearest(n, std::numeric_limits<double>::infinity());
    auto dist2 = [&](size_t i, size_t j) {
        int64_t dx = std::llabs(centres[i].first - centres[j].first);
        int64_t dy = std::llabs(centres[i].second - centres[j].second);
        dx = std::min(dx, w - dx);
        dy = std::min(dy, h - dy);
        return static_cast<double>(dx * dx + dy * dy);
    };
    size_t current = 0;
    for (size_t k = 0; k < n; ++k) {
        rank[current] = static_cast<int>(k);
        size_t next = n;
        double best = -1;
        for (size_t i = 0; i < n; ++i) {
            if (rank[i] >= 0) {
                continue;
            }
            nearest[i] = std::min(nearest[i], dist2(i, current));
            if (nearest[i] > best) {  // ties keep the first, so the order is reproducible
                best = nearest[i];
                next = i;
            }
        }
        current = next;
    }
    return rank;
}

}  // namespace

ThresholdMatrix BuildClusteredScreen(const ScreenSpec& spec, std::string* error)
{
    std::string ignored;
    std::string& err = error != nullptr ? *error : ignored;
    err.clear();
    if ((spec.a == 0 && spec.b == 0) || std::abs(spec.a) > 64 || std::abs(spec.b) > 64) {
        err = "screen vector must be non-zero and within 64 dots";
        return {};
    }
    if (spec.dotsX < 1 || spec.dotsX > 4 || spec.dotsY < 1 || spec.dotsY > 4) {
        err = "device dots per 600-dpi dot must be 1 to 4";
        return {};
    }
    if (spec.minSide < 1 || spec.minSide > 256 || !(spec.coverage > 0.0 && spec.coverage <= 1.0)) {
        err = "tile side must be 1 to 256 and coverage above 0 and at most 1";
        return {};
    }

    const Lattice L{int64_t{spec.a} * spec.dotsX, int64_t{spec.b} * spec.dotsY, -int64_t{spec.b} * spec.dotsX,
                    int64_t{spec.a} * spec.dotsY,
                    int64_t{spec.dotsX} * spec.dotsY * (int64_t{spec.a} * spec.a + int64_t{spec.b} * spec.b)};
    int64_t periodX = 1;
    while (!L.Contains(periodX, 0)) {
        ++periodX;
    }
    int64_t periodY = 1;
    while (!L.Contains(0, periodY)) {
        ++periodY;
    }
    const int64_t w = periodX * ((spec.minSide + periodX - 1) / periodX);
    const int64_t h = periodY * ((spec.minSide + periodY - 1) / periodY);
    if (w > kMaxSide || h > kMaxSide) {
        err = "screen tile of " + std::to_string(w) + " x " + std::to_string(h) + " is too large";
        return {};
    }

    // Every pixel: its dot (the nearest lattice point, reduced to the tile) and its spot value,
    // cos(2 pi u) + cos(2 pi v) of its offset (u, v) from the dot centre in lattice units. Pixel
    // centres are taken in half dots so the arithmetic stays in integers until the cosine, and
    // pixels at the same place in different dots get exactly the same value.
    struct Pixel {
        double spot;
        int dot;
        int64_t index;
        double turn;  // direction from the dot centre, for ordering pixels of equal spot value
        int slot = 0;  // place among the pixels of its dot with the same spot value
    };
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<size_t>(w * h));
    std::map<std::pair<int64_t, int64_t>, int> dotIds;
    std::vector<std::pair<int64_t, int64_t>> centres;
    const int64_t d2 = 2 * L.d;
    for (int64_t y = 0; y < h; ++y) {
        for (int64_t x = 0; x < w; ++x) {
            const int64_t X = 2 * x + 1;
            const int64_t Y = 2 * y + 1;
            const int64_t alpha = X * L.s - Y * L.r;  // lattice coordinate times 2d
            const int64_t beta = Y * L.p - X * L.q;
            const int64_t ia = (alpha + L.d) >= 0 ? (alpha + L.d) / d2 : -((-(alpha + L.d) + d2 - 1) / d2);
            const int64_t ib = (beta + L.d) >= 0 ? (beta + L.d) / d2 : -((-(beta + L.d) + d2 - 1) / d2);
            const double u = static_cast<double>(alpha - ia * d2) / static_cast<double>(d2);
            const double v = static_cast<double>(beta - ib * d2) / static_cast<double>(d2);
            const std::pair<int64_t, int64_t> centre{Mod(ia * L.p + ib * L.r, w), Mod(ia * L.q + ib * L.s, h)};
            auto found = dotIds.find(centre);
            int dot;
            if (found == dotIds.end()) {
                dot = static_cast<int>(centres.size());
                dotIds.emplace(centre, dot);
                centres.push_back(centre);
            } else {
                dot = found->second;
            }
            pixels.push_back({std::cos(2 * kPi * u) + std::cos(2 * kPi * v), dot, y * w + x, std::atan2(v, u)});
        }
    }
    // Pixels of one dot with the same spot value (a ring around its centre) are taken one at a
    // time, opposite sides in turn, and every dot takes its next pixel before any takes two; so at
    // every level the dots differ by at most one pixel and stay centred.
    std::map<std::pair<int, double>, std::vector<size_t>> rings;
    for (size_t i = 0; i < pixels.size(); ++i) {
        rings[{pixels[i].dot, pixels[i].spot}].push_back(i);
    }
    for (auto& ring : rings) {
        std::vector<size_t>& members = ring.second;
        std::sort(members.begin(), members.end(), [&](size_t l, size_t r) {
            const double hl = std::fmod(pixels[l].turn + 2 * kPi, kPi);
            const double hr = std::fmod(pixels[r].turn + 2 * kPi, kPi);
            if (hl != hr) {
                return hl < hr;
            }
            return pixels[l].turn < pixels[r].turn;
        });
        for (size_t k = 0; k < members.size(); ++k) {
            pixels[members[k]].slot = static_cast<int>(k);
        }
    }
    const std::vector<int> dotRank = SpreadOrder(centres, w, h);
    std::sort(pixels.begin(), pixels.end(), [&](const Pixel& l, const Pixel& r) {
        if (l.spot != r.spot) {
            return l.spot > r.spot;  // dots grow from their centres
        }
        if (l.slot != r.slot) {
            return l.slot < r.slot;
        }
        if (dotRank[l.dot] != dotRank[r.dot]) {
            return dotRank[l.dot] < dotRank[r.dot];
        }
        return l.index < r.index;
    });

    // Ranks spread evenly over 0..254, so value v prints about v / 255 of the tile and 255 prints
    // all of it; with a coverage below 1 the last ranks get 255 and never print.
    ThresholdMatrix m;
    m.width = static_cast<int>(w);
    m.height = static_cast<int>(h);
    m.thresholds.assign(static_cast<size_t>(w * h), 255);
    const double n = static_cast<double>(w * h);
    for (size_t rank = 0; rank < pixels.size(); ++rank) {
        const double t = std::floor(static_cast<double>(rank) * 255.0 / (n * spec.coverage));
        m.thresholds[static_cast<size_t>(pixels[rank].index)] = static_cast<uint8_t>(std::min(255.0, t));
    }
    return m;
}

}  // namespace ctc
