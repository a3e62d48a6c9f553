// Small drawing helpers over cairo for the settings program's pictures: sheets, page grids,
// arrows, staples, holes. Every picture is drawn from these, so the family looks alike.
#pragma once

#include <cairo.h>

#include <vector>

namespace orv::paint {

struct Rgb {
    double r, g, b;
};

inline constexpr Rgb kInk{0.25, 0.25, 0.25};
inline constexpr Rgb kPaper{1.0, 1.0, 1.0};
inline constexpr Rgb kLine{0.62, 0.62, 0.62};
inline constexpr Rgb kBlue{0.16, 0.44, 0.86};
inline constexpr Rgb kLightBlue{0.75, 0.85, 0.98};
inline constexpr Rgb kRed{0.82, 0.19, 0.19};
inline constexpr Rgb kGreen{0.18, 0.62, 0.25};
inline constexpr Rgb kYellow{0.96, 0.80, 0.12};
inline constexpr Rgb kMetal{0.35, 0.35, 0.38};
inline constexpr Rgb kBody{0.80, 0.81, 0.84};

struct Box {
    double x, y, w, h;
};

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void FillRect(cairo_t* cr, Box b, Rgb c);

// A sheet of paper: white, outlined, crisp on whole pixel coordinates.
void Sheet(cairo_t* cr, Box b);
// A sheet with grey text lines on it.
void TextSheet(cairo_t* cr, Box b);
// A line with an arrowhead at (x2, y2).
void Arrow(cairo_t* cr, double x1, double y1, double x2, double y2, Rgb c, double width = 1.5);
// A polyline through points with a start dot and an arrowhead at its end.
void Path(cairo_t* cr, const std::vector<std::pair<double, double>>& points, Rgb c);
// A staple: a short thick dark bar from (x1, y1) to (x2, y2).
void Staple(cairo_t* cr, double x1, double y1, double x2, double y2);
// A punched hole.
void Hole(cairo_t* cr, double x, double y);
// The cells of a cols x rows grid inside a box, row by row.
std::vector<Box> Grid(Box b, int cols, int rows, double gap);
// A small printer body seen from the front.
void Printer(cairo_t* cr, Box b);
// A padlock.
void Padlock(cairo_t* cr, double x, double y, double size);

}  // namespace orv::paint
