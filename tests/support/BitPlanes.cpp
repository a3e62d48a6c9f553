#include "support/BitPlanes.h"

#include <random>

namespace orvtest {

namespace {

void SetDot(std::vector<uint8_t>& plane, size_t rowBytes, unsigned x, unsigned y)
{
    plane[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
}

void FillBox(std::vector<uint8_t>& plane, size_t rowBytes, unsigned width, unsigned rows, unsigned x0,
             unsigned y0, unsigned w, unsigned h)
{
    for (unsigned y = y0; y < y0 + h && y < rows; ++y) {
        for (unsigned x = x0; x < x0 + w && x < width; ++x) {
            SetDot(plane, rowBytes, x, y);
        }
    }
}

}  // namespace

const char* PatternName(PlanePattern pattern)
{
    switch (pattern) {
    case PlanePattern::Empty: return "Empty";
    case PlanePattern::Solid: return "Solid";
    case PlanePattern::Noise: return "Noise";
    case PlanePattern::TextLike: return "TextLike";
    case PlanePattern::Dither: return "Dither";
    case PlanePattern::Sparse: return "Sparse";
    }
    return "?";
}

size_t PlaneRowBytes(unsigned width)
{
    return (width + 7) / 8;
}

std::vector<uint8_t> MakePlane(PlanePattern pattern, unsigned width, unsigned rows, uint32_t seed)
{
    const size_t rowBytes = PlaneRowBytes(width);
    std::vector<uint8_t> plane(rowBytes * rows, 0);
    std::mt19937 random(seed);
    switch (pattern) {
    case PlanePattern::Empty:
        break;
    case PlanePattern::Solid:
        FillBox(plane, rowBytes, width, rows, 0, 0, width, rows);
        break;
    case PlanePattern::Noise:
        for (unsigned y = 0; y < rows; ++y) {
            for (unsigned x = 0; x < width; ++x) {
                if (random() & 1) {
                    SetDot(plane, rowBytes, x, y);
                }
            }
        }
        break;
    case PlanePattern::TextLike: {
        // Lines of "glyphs" 12 to 20 dots wide and 24 high: a stem, a bowl or a bar each, with
        // word gaps, 36 rows apart.
        for (unsigned line = 6; line + 24 <= rows; line += 36) {
            unsigned x = 10;
            while (x + 20 < width) {
                const unsigned glyph = random() % 4;
                const unsigned w = 12 + random() % 9;
                if (glyph == 0) {
                    FillBox(plane, rowBytes, width, rows, x + 2, line, 3, 24);
                } else if (glyph == 1) {
                    FillBox(plane, rowBytes, width, rows, x, line + 8, w - 2, 3);
                    FillBox(plane, rowBytes, width, rows, x, line + 21, w - 2, 3);
                    FillBox(plane, rowBytes, width, rows, x, line + 8, 3, 16);
                    FillBox(plane, rowBytes, width, rows, x + w - 5, line + 8, 3, 16);
                } else if (glyph == 2) {
                    FillBox(plane, rowBytes, width, rows, x, line + 8, 3, 16);
                    FillBox(plane, rowBytes, width, rows, x, line + 8, w - 4, 3);
                } else {
                    x += 8;  // word gap
                }
                x += w;
            }
        }
        break;
    }
    case PlanePattern::Dither: {
        static const unsigned kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
        for (unsigned y = 0; y < rows; ++y) {
            for (unsigned x = 0; x < width; ++x) {
                const unsigned level = width > 1 ? x * 17 / width : 8;
                if (kBayer4[y % 4][x % 4] < level) {
                    SetDot(plane, rowBytes, x, y);
                }
            }
        }
        break;
    }
    case PlanePattern::Sparse: {
        const size_t dots = static_cast<size_t>(width) * rows / 500 + 1;
        for (size_t i = 0; i < dots && width > 0 && rows > 0; ++i) {
            SetDot(plane, rowBytes, random() % width, random() % rows);
        }
        break;
    }
    }
    return plane;
}

}  // namespace orvtest
