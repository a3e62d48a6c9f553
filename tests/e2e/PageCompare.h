// Checks a printed page against Ghostscript's own rendering of the document.
//
// A printed page is screened into dots, so it is compared at a coarse grid: both the decoded
// planes and Ghostscript's anti-aliased rendering are reduced to cells of 1/40 inch, the printed
// cells are turned into colour (cyan, magenta and yellow take away red, green and blue; black
// takes away all three), and the mean difference is taken at the best offset within a few
// millimetres, since a printer page starts at its printable area, not at the paper's edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orve2e {

inline constexpr int kReferenceDpi = 40;

// One page of Ghostscript's rendering at kReferenceDpi: RGB, 3 bytes per pixel.
struct ReferencePage {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<uint8_t> rgb;
};

// Renders every page of a PostScript (or PDF) document; empty with the reason in *error when
// Ghostscript fails.
std::vector<ReferencePage> RenderReference(const std::string& document, std::string* error);

struct PageMatch {
    double distance = 1.0;  // mean absolute difference per channel, 0..1, at the best offset
    double blank = 0.0;     // the same for a blank page at no offset: how much the page holds
    int offsetX = 0;        // best offset of the printed page in reference cells
    int offsetY = 0;
};

// dpiX and dpiY are the printed page's resolution; a monochrome page is compared by gray level.
PageMatch ComparePage(const orvdecode::DecodedPage& printed, int dpiX, int dpiY, const ReferencePage& reference);

// Whether the match is good: close to the reference, and much closer than a blank page would be
// (a page with next to nothing on it needs only the first).
bool IsGoodMatch(const PageMatch& match);

std::string Describe(const PageMatch& match);

// The header of a PNM file of the given magic ("P4", "P6"): its size and where its data starts.
// Comments are skipped; a P6 file must have 255 levels. False for anything else.
bool ParsePnmHeader(const std::string& bytes, const char* magic, unsigned* width, unsigned* height, size_t* dataStart);

// The resolution of a printed page from its size in dots and the paper's size in inches: the
// nearest of 300, 600 and 1200.
int NearestDpi(unsigned dots, double inches);

}  // namespace orve2e
