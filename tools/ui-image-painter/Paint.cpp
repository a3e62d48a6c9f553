#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace orv::paint {

void SetColour(cairo_t* cr, Rgb c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void FillRect(cairo_t* cr, Box b, Rgb c)
{
    SetColour(cr, c);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_fill(cr);
}

void Sheet(cairo_t* cr, Box b)
{
    cairo_rectangle(cr, b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1);
    SetColour(cr, kPaper);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void TextSheet(cairo_t* cr, Box b)
{
    Sheet(cr, b);
    SetColour(cr, kLine);
    cairo_set_line_width(cr, 1.0);
    const double margin = std::max(2.0, std::floor(b.w / 6));
    for (double y = b.y + margin + 0.5; y < b.y + b.h - margin; y += 3) {
        cairo_move_to(cr, b.x + margin, y);
        cairo_line_to(cr, b.x + b.w - margin, y);
    }
    cairo_stroke(cr);
}

void Arrow(cairo_t* cr, double x1, double y1, double x2, double y2, Rgb c, double width)
{
    SetColour(cr, c);
    cairo_set_line_width(cr, width);
    const double angle = std::atan2(y2 - y1, x2 - x1);
    const double head = 3.5 + width;
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2 - std::cos(angle) * head * 0.6, y2 - std::sin(angle) * head * 0.6);
    cairo_stroke(cr);
    cairo_move_to(cr, x2, y2);
    cairo_line_to(cr, x2 - head * std::cos(angle - 0.5), y2 - head * std::sin(angle - 0.5));
    cairo_line_to(cr, x2 - head * std::cos(angle + 0.5), y2 - head * std::sin(angle + 0.5));
    cairo_close_path(cr);
    cairo_fill(cr);
}

void Path(cairo_t* cr, const std::vector<std::pair<double, double>>& points, Rgb c)
{
    if (points.size() < 2) {
        return;
    }
    SetColour(cr, c);
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, points[0].first, points[0].second);
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        cairo_line_to(cr, points[i].first, points[i].second);
    }
    cairo_stroke(cr);
    const auto& a = points[points.size() - 2];
    const auto& b = points.back();
    Arrow(cr, a.first, a.second, b.first, b.second, c, 1.2);
    SetColour(cr, kGreen);
    cairo_arc(cr, points[0].first, points[0].second, 1.8, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Staple(cairo_t* cr, double x1, double y1, double x2, double y2)
{
    SetColour(cr, kMetal);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void Hole(cairo_t* cr, double x, double y)
{
    cairo_arc(cr, x, y, 1.8, 0, 2 * M_PI);
    SetColour(cr, kInk);
    cairo_fill(cr);
}

std::vector<Box> Grid(Box b, int cols, int rows, double gap)
{
    std::vector<Box> cells;
    const double w = (b.w - gap * (cols + 1)) / cols;
    const double h = (b.h - gap * (rows + 1)) / rows;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            cells.push_back({b.x + gap + c * (w + gap), b.y + gap + r * (h + gap), w, h});
        }
    }
    return cells;
}

void Printer(cairo_t* cr, Box b)
{
    // Body, paper slot, front panel with a status light.
    cairo_rectangle(cr, b.x + 0.5, b.y + b.h * 0.3 + 0.5, b.w - 1, b.h * 0.7 - 1);
    SetColour(cr, kBody);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    FillRect(cr, {b.x + b.w * 0.15, b.y + b.h * 0.45, b.w * 0.7, std::max(1.0, b.h * 0.06)}, kInk);
    SetColour(cr, kGreen);
    cairo_arc(cr, b.x + b.w * 0.82, b.y + b.h * 0.78, std::max(1.0, b.w * 0.05), 0, 2 * M_PI);
    cairo_fill(cr);
}

void Padlock(cairo_t* cr, double x, double y, double size)
{
    SetColour(cr, kMetal);
    cairo_set_line_width(cr, size * 0.16);
    cairo_arc(cr, x + size / 2, y + size * 0.42, size * 0.26, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + size * 0.76, y + size * 0.5);
    cairo_move_to(cr, x + size * 0.24, y + size * 0.42);
    cairo_line_to(cr, x + size * 0.24, y + size * 0.5);
    cairo_stroke(cr);
    FillRect(cr, {x + size * 0.1, y + size * 0.48, size * 0.8, size * 0.5}, kYellow);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, x + size * 0.1, y + size * 0.48, size * 0.8, size * 0.5);
    cairo_stroke(cr);
}

}  // namespace orv::paint
