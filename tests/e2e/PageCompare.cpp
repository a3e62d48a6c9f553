#include "e2e/PageCompare.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "e2e/ProcessRun.h"
#include "support/ScratchDir.h"

namespace orve2e {

namespace {

// The printed page may sit this far (in cells) from where the reference has it.
constexpr int kMaxOffsetCells = 12;
// Pages made from the reference itself come within 0.015; Ghostscript's own monochrome halftone of
// colour patches within 0.07; a blank, another or a wrongly separated page stays above 0.12.
constexpr double kGoodDistance = 0.09;
constexpr double kBlankMargin = 0.5;
constexpr double kNearlyBlank = 0.01;

}  // namespace

bool ParsePnmHeader(const std::string& bytes, const char* magic, unsigned* width, unsigned* height, size_t* dataStart)
{
    if (bytes.compare(0, 2, magic) != 0) {
        return false;
    }
    const bool hasMaxval = magic[1] != '4';
    unsigned values[3] = {0, 0, 0};
    size_t at = 2;
    for (int field = 0; field < (hasMaxval ? 3 : 2); ++field) {
        // White space and "#" comments to the end of their line separate the fields.
        while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
            if (bytes[at] == '#') {
                while (at < bytes.size() && bytes[at] != '\n') {
                    ++at;
                }
            } else {
                ++at;
            }
        }
        if (at >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[at]))) {
            return false;
        }
        unsigned long value = 0;
        while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) && value < 100000) {
            value = value * 10 + unsigned(bytes[at++] - '0');
        }
        values[field] = static_cast<unsigned>(value);
    }
    if (at >= bytes.size() || values[0] == 0 || values[1] == 0 || values[0] > 20000 || values[1] > 20000 ||
        (hasMaxval && values[2] != 255)) {
        return false;
    }
    *width = values[0];
    *height = values[1];
    *dataStart = at + 1;  // one white-space character ends the header
    return true;
}

namespace {

bool ReadPpm(const std::string& bytes, ReferencePage* page)
{
    unsigned width = 0;
    unsigned height = 0;
    size_t start = 0;
    if (!ParsePnmHeader(bytes, "P6", &width, &height, &start)) {
        return false;
    }
    const size_t size = size_t(width) * height * 3;
    if (bytes.size() < start + size) {
        return false;
    }
    page->width = width;
    page->height = height;
    page->rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                     bytes.begin() + static_cast<std::ptrdiff_t>(start + size));
    return true;
}

// Ink cover of every cell of one plane, 0..1.
std::vector<float> PlaneCover(const std::vector<uint8_t>& rows, size_t rowBytes, unsigned width, unsigned height,
                              int dpiX, int dpiY, unsigned cellsX, unsigned cellsY)
{
    std::vector<uint32_t> counts(size_t(cellsX) * cellsY, 0);
    std::vector<unsigned> cellOfX(width);
    for (unsigned x = 0; x < width; ++x) {
        cellOfX[x] = std::min(cellsX - 1, static_cast<unsigned>(uint64_t(x) * kReferenceDpi / unsigned(dpiX)));
    }
    for (unsigned y = 0; y < height; ++y) {
        const unsigned cy = std::min(cellsY - 1, static_cast<unsigned>(uint64_t(y) * kReferenceDpi / unsigned(dpiY)));
        const uint8_t* row = rows.data() + size_t(y) * rowBytes;
        uint32_t* cellRow = counts.data() + size_t(cy) * cellsX;
        for (size_t b = 0; b < rowBytes; ++b) {
            if (row[b] == 0) {
                continue;
            }
            for (unsigned bit = 0; bit < 8; ++bit) {
                const unsigned x = unsigned(b * 8 + bit);
                if (x < width && (row[b] & (0x80u >> bit)) != 0) {
                    ++cellRow[cellOfX[x]];
                }
            }
        }
    }
    const double dotsPerCell = (double(dpiX) / kReferenceDpi) * (double(dpiY) / kReferenceDpi);
    std::vector<float> cover(counts.size());
    for (size_t i = 0; i < counts.size(); ++i) {
        cover[i] = static_cast<float>(std::min(1.0, counts[i] / dotsPerCell));
    }
    return cover;
}

// A 3 x 3 box blur: a page that sits a fraction of a cell away from the reference, or whose
// screen dots straddle cell borders, then differs only a little at every edge.
std::vector<std::array<float, 3>> Blurred(const std::vector<std::array<float, 3>>& in, unsigned width, unsigned height)
{
    std::vector<std::array<float, 3>> out(in.size());
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            std::array<float, 3> sum = {0, 0, 0};
            int n = 0;
            for (unsigned yy = y > 0 ? y - 1 : 0; yy <= std::min(height - 1, y + 1); ++yy) {
                for (unsigned xx = x > 0 ? x - 1 : 0; xx <= std::min(width - 1, x + 1); ++xx) {
                    const auto& v = in[size_t(yy) * width + xx];
                    sum[0] += v[0];
                    sum[1] += v[1];
                    sum[2] += v[2];
                    ++n;
                }
            }
            out[size_t(y) * width + x] = {sum[0] / n, sum[1] / n, sum[2] / n};
        }
    }
    return out;
}

}  // namespace

std::vector<ReferencePage> RenderReference(const std::string& document, std::string* error)
{
    orvtest::ScratchDir dir;
    const RunResult gs = Run({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw",
                              "-r" + std::to_string(kReferenceDpi), "-dTextAlphaBits=4", "-dGraphicsAlphaBits=4",
                              "-sOutputFile=" + (dir / "page%03d.ppm"), document});
    std::vector<ReferencePage> pages;
    if (gs.status != 0) {
        *error = "gs: " + gs.output;
        return pages;
    }
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "page%03d.ppm", n);
        if (!std::filesystem::exists(dir / name)) {
            break;
        }
        ReferencePage page;
        if (!ReadPpm(ReadFileText(dir / name), &page)) {
            *error = std::string("unreadable ") + name;
            return {};
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

PageMatch ComparePage(const orvdecode::DecodedPage& printed, int dpiX, int dpiY, const ReferencePage& reference)
{
    PageMatch match;
    if (printed.width == 0 || printed.height == 0 || dpiX <= 0 || dpiY <= 0 || reference.width == 0) {
        return match;
    }
    const unsigned cellsX = std::max(1u, static_cast<unsigned>(uint64_t(printed.width) * kReferenceDpi / unsigned(dpiX)));
    const unsigned cellsY = std::max(1u, static_cast<unsigned>(uint64_t(printed.height) * kReferenceDpi / unsigned(dpiY)));
    const size_t cells = size_t(cellsX) * cellsY;
    std::array<std::vector<float>, 4> cover;
    for (size_t plane = 0; plane < 4; ++plane) {
        if (printed.planes[plane]) {
            cover[plane] = PlaneCover(*printed.planes[plane], printed.RowBytes(), printed.width, printed.height, dpiX,
                                      dpiY, cellsX, cellsY);
        } else {
            cover[plane].assign(cells, 0.0f);
        }
    }
    const bool colour = printed.IsColour();
    // What the printed cells look like, as RGB (colour) or gray (monochrome), 0..1.
    std::vector<std::array<float, 3>> looks(cells);
    for (size_t i = 0; i < cells; ++i) {
        const float white = 1.0f - cover[0][i];
        looks[i] = {white * (1.0f - cover[1][i]), white * (1.0f - cover[2][i]), white * (1.0f - cover[3][i])};
    }
    // The reference in the same terms, converted once.
    std::vector<std::array<float, 3>> target(size_t(reference.width) * reference.height);
    for (size_t i = 0; i < target.size(); ++i) {
        const uint8_t* p = reference.rgb.data() + i * 3;
        std::array<float, 3> rgb = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
        if (!colour) {
            const float gray = 0.30f * rgb[0] + 0.59f * rgb[1] + 0.11f * rgb[2];
            rgb = {gray, gray, gray};
        }
        target[i] = rgb;
    }
    looks = Blurred(looks, cellsX, cellsY);
    target = Blurred(target, reference.width, reference.height);
    auto referenceAt = [&](unsigned x, unsigned y) -> const std::array<float, 3>& {
        return target[size_t(y) * reference.width + x];
    };

    double blank = 0.0;
    for (unsigned y = 0; y < reference.height; ++y) {
        for (unsigned x = 0; x < reference.width; ++x) {
            const auto rgb = referenceAt(x, y);
            blank += (3.0 - rgb[0] - rgb[1] - rgb[2]) / 3.0;
        }
    }
    match.blank = blank / (double(reference.width) * reference.height);

    // The mean difference at one offset, or nothing when most of the page falls outside the
    // reference (such an offset proves nothing).
    auto distanceAt = [&](int ox, int oy, double* distance) {
        double sum = 0.0;
        size_t compared = 0;
        for (unsigned cy = 0; cy < cellsY; ++cy) {
            const long ry = long(cy) + oy;
            if (ry < 0 || ry >= long(reference.height)) {
                continue;
            }
            for (unsigned cx = 0; cx < cellsX; ++cx) {
                const long rx = long(cx) + ox;
                if (rx < 0 || rx >= long(reference.width)) {
                    continue;
                }
                const auto& rgb = referenceAt(unsigned(rx), unsigned(ry));
                const auto& look = looks[size_t(cy) * cellsX + cx];
                sum += (std::fabs(rgb[0] - look[0]) + std::fabs(rgb[1] - look[1]) + std::fabs(rgb[2] - look[2])) / 3.0;
                ++compared;
            }
        }
        if (compared * 2 < cells) {
            return false;
        }
        *distance = sum / double(compared);
        return true;
    };
    // Every second offset first (the blur makes the neighbourhood of the best one the best
    // neighbourhood), then the offsets around the best one.
    double best = std::numeric_limits<double>::max();
    auto consider = [&](int ox, int oy) {
        double distance = 0.0;
        if (distanceAt(ox, oy, &distance) && distance < best) {
            best = distance;
            match.offsetX = ox;
            match.offsetY = oy;
        }
    };
    for (int oy = -kMaxOffsetCells; oy <= kMaxOffsetCells; oy += 2) {
        for (int ox = -kMaxOffsetCells; ox <= kMaxOffsetCells; ox += 2) {
            consider(ox, oy);
        }
    }
    const int coarseX = match.offsetX;
    const int coarseY = match.offsetY;
    for (int oy = coarseY - 1; oy <= coarseY + 1; ++oy) {
        for (int ox = coarseX - 1; ox <= coarseX + 1; ++ox) {
            consider(ox, oy);
        }
    }
    match.distance = best == std::numeric_limits<double>::max() ? 1.0 : best;
    return match;
}

bool IsGoodMatch(const PageMatch& match)
{
    if (match.distance > kGoodDistance) {
        return false;
    }
    return match.blank < kNearlyBlank || match.distance < kBlankMargin * match.blank;
}

std::string Describe(const PageMatch& match)
{
    char text[160];
    std::snprintf(text, sizeof text, "distance %.4f (a blank page: %.4f) at offset %d,%d cells of 1/%d inch",
                  match.distance, match.blank, match.offsetX, match.offsetY, kReferenceDpi);
    return text;
}

int NearestDpi(unsigned dots, double inches)
{
    const double dpi = inches > 0 ? dots / inches : 0;
    int nearest = 300;
    for (int candidate : {300, 600, 1200}) {
        if (std::fabs(dpi - candidate) < std::fabs(dpi - nearest)) {
            nearest = candidate;
        }
    }
    return nearest;
}

}  // namespace orve2e
