#include "Pictures.h"

#include "Paint.h"
#include "gui/widgets/PreviewPictureLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace orv::pictures {

using namespace orv::paint;

namespace {

constexpr Box kPortrait{7, 3, 18, 26};
constexpr Box kLandscape{3, 7, 26, 18};

// ---- sort and collate ------------------------------------------------------------------------

// A stack of three sheets; band colours say which page each sheet carries.
void Stack(cairo_t* cr, double x, double y, const Rgb (&bands)[3], bool rotated)
{
    for (int i = 0; i < 3; ++i) {
        const Box b = rotated ? Box{x + 4 - i * 2.0, y + 6 - i * 2.0, 14, 10}
                              : Box{x + 2 - i * 2.0, y + 4 - i * 2.0, 10, 14};
        Sheet(cr, b);
        FillRect(cr, {b.x + 1, b.y + 1, b.w - 2, 3}, bands[i]);
    }
}

void PaintSort(cairo_t* cr, int method, bool collate)
{
    const Rgb grouped1[3] = {kRed, kRed, kRed};
    const Rgb grouped2[3] = {kBlue, kBlue, kBlue};
    const Rgb set[3] = {kBlue, kGreen, kRed};
    if (method == 0) {
        // No sorting: one pile, copies of a page together or whole sets in turn.
        const Rgb mixed[3] = {kRed, kBlue, kBlue};
        Stack(cr, 9, 8, collate ? set : mixed, false);
        return;
    }
    const bool rotated = method == 4;
    Stack(cr, 2, 10, collate ? set : grouped1, false);
    Stack(cr, 15, method == 2 ? 4 : 8, collate ? set : grouped2, rotated);
}

// ---- duplex --------------------------------------------------------------------------------

void PaintDuplex(cairo_t* cr, bool landscape, int kind, bool margin)
{
    const Box sheet = landscape ? Box{5, 9, 24, 17} : Box{8, 5, 17, 24};
    // The back of the sheet peeks out behind it, except for one-sided printing.
    if (kind != 1) {
        Sheet(cr, {sheet.x - 3, sheet.y - 3, sheet.w, sheet.h});
    }
    TextSheet(cr, sheet);
    if (kind == 1) {
        return;
    }
    // Binding edge: the long edge is the left one for a portrait sheet, the top for a landscape one.
    const bool leftEdge = (kind == 2) != landscape;
    SetColour(cr, kBlue);
    cairo_set_line_width(cr, 2.0);
    if (leftEdge) {
        cairo_move_to(cr, sheet.x + 1, sheet.y);
        cairo_line_to(cr, sheet.x + 1, sheet.y + sheet.h);
    } else {
        cairo_move_to(cr, sheet.x, sheet.y + 1);
        cairo_line_to(cr, sheet.x + sheet.w, sheet.y + 1);
    }
    cairo_stroke(cr);
    if (margin) {
        // The binding margin: a hatched strip along the bound edge.
        const Box strip = leftEdge ? Box{sheet.x + 2, sheet.y + 1, 4, sheet.h - 2}
                                   : Box{sheet.x + 1, sheet.y + 2, sheet.w - 2, 4};
        FillRect(cr, strip, kLightBlue);
    }
    // Turning arrow around the bound edge.
    if (leftEdge) {
        Arrow(cr, sheet.x + sheet.w - 2, sheet.y + sheet.h + 1.5, sheet.x + 1, sheet.y + sheet.h + 1.5, kRed);
    } else {
        Arrow(cr, sheet.x + sheet.w + 1.5, sheet.y + sheet.h - 2, sheet.x + sheet.w + 1.5, sheet.y + 1, kRed);
    }
}

// ---- job type ------------------------------------------------------------------------------

void PaintMailbox(cairo_t* cr, bool secure)
{
    // A rack of bins, a sheet going into one of them.
    for (int i = 0; i < 4; ++i) {
        FillRect(cr, {4, 6 + i * 6.0, 20, 5}, kBody);
        FillRect(cr, {4, 10 + i * 6.0, 20, 1}, kInk);
    }
    FillRect(cr, {3, 5, 1, 24}, kInk);
    FillRect(cr, {24, 5, 1, 24}, kInk);
    Sheet(cr, {8, 13, 12, 4});
    Arrow(cr, 29, 15, 21, 15, kBlue);
    if (secure) {
        Padlock(cr, 17, 17, 14);
    }
}

// ---- halftone, colour mode, quality ---------------------------------------------------------

void Frame(cairo_t* cr)
{
    cairo_rectangle(cr, 2.5, 2.5, 27, 27);
    SetColour(cr, kPaper);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void PaintDots(cairo_t* cr, double pitch)
{
    Frame(cr);
    SetColour(cr, {0, 0, 0});
    for (double y = 3 + pitch / 2; y < 29; y += pitch) {
        for (double x = 3 + pitch / 2; x < 29; x += pitch) {
            // Darker towards the right: the dot grows with the tone.
            const double tone = (x - 3) / 26;
            cairo_arc(cr, x, y, pitch * 0.55 * std::sqrt(tone), 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
}

void PaintLines(cairo_t* cr)
{
    Frame(cr);
    SetColour(cr, {0, 0, 0});
    for (double x = -26; x < 30; x += 4) {
        const double tone = std::max(0.1, (x + 26) / 56);
        cairo_set_line_width(cr, 3.5 * tone);
        cairo_move_to(cr, x, 29);
        cairo_line_to(cr, x + 26, 3);
        cairo_stroke(cr);
    }
}

void PaintDiffusion(cairo_t* cr)
{
    Frame(cr);
    unsigned seed = 12345;
    for (int y = 3; y < 29; ++y) {
        for (int x = 3; x < 29; ++x) {
            seed = seed * 1103515245u + 12345u;
            const double tone = (x - 3) / 26.0;
            if ((seed >> 16) % 1000 < tone * 1000) {
                FillRect(cr, {double(x), double(y), 1, 1}, {0, 0, 0});
            }
        }
    }
}

void PaintHatch(cairo_t* cr)
{
    Frame(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 3, 3, 26, 26);
    cairo_clip(cr);
    SetColour(cr, {0, 0, 0});
    cairo_set_line_width(cr, 1.0);
    for (double d = -26; d < 30; d += 4) {
        cairo_move_to(cr, d, 29);
        cairo_line_to(cr, d + 26, 3);
        cairo_move_to(cr, d, 3);
        cairo_line_to(cr, d + 26, 29);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void PaintColourCircles(cairo_t* cr, bool grey)
{
    const Rgb colours[3] = {grey ? Rgb{0.3, 0.3, 0.3} : Rgb{0, 0.68, 0.94},
                            grey ? Rgb{0.55, 0.55, 0.55} : Rgb{0.93, 0, 0.55},
                            grey ? Rgb{0.8, 0.8, 0.8} : Rgb{1, 0.92, 0}};
    const double centres[3][2] = {{12, 12}, {20, 12}, {16, 19}};
    cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
    for (int i = 0; i < 3; ++i) {
        SetColour(cr, colours[i]);
        cairo_arc(cr, centres[i][0], centres[i][1], 8, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

void PaintLandscape(cairo_t* cr, Box b)
{
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, b.y, 0, b.y + b.h);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.30, 0.55, 0.92);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.78, 0.90, 1.0);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    SetColour(cr, kYellow);
    cairo_arc(cr, b.x + b.w * 0.75, b.y + b.h * 0.28, b.h * 0.14, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColour(cr, {0.25, 0.62, 0.22});
    cairo_move_to(cr, b.x, b.y + b.h * 0.7);
    cairo_curve_to(cr, b.x + b.w * 0.3, b.y + b.h * 0.45, b.x + b.w * 0.6, b.y + b.h * 0.8, b.x + b.w,
                   b.y + b.h * 0.6);
    cairo_line_to(cr, b.x + b.w, b.y + b.h);
    cairo_line_to(cr, b.x, b.y + b.h);
    cairo_close_path(cr);
    cairo_fill(cr);
    // A red-roofed house with a skin-toned wall.
    const Box wall{b.x + b.w * 0.18, b.y + b.h * 0.6, b.w * 0.2, b.h * 0.25};
    FillRect(cr, wall, {0.93, 0.76, 0.62});
    SetColour(cr, kRed);
    cairo_move_to(cr, wall.x - wall.w * 0.15, wall.y);
    cairo_line_to(cr, wall.x + wall.w / 2, wall.y - wall.h * 0.6);
    cairo_line_to(cr, wall.x + wall.w * 1.15, wall.y);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void PaintQuality(cairo_t* cr, int block)
{
    // The same disc rasterised with coarse, medium and fine dots.
    Frame(cr);
    for (int y = 3; y < 29; y += block) {
        for (int x = 3; x < 29; x += block) {
            const double cx = x + block / 2.0 - 16;
            const double cy = y + block / 2.0 - 16;
            if (cx * cx + cy * cy <= 10.5 * 10.5) {
                FillRect(cr, {double(x), double(y), double(block), double(block)}, kBlue);
            }
        }
    }
}

// ---- extra pictures without a user -----------------------------------------------------------

void PaintTonerSave(cairo_t* cr)
{
    // A toner cartridge and a leaf.
    FillRect(cr, {3, 12, 22, 10}, kInk);
    FillRect(cr, {5, 14, 18, 6}, kMetal);
    SetColour(cr, kGreen);
    cairo_move_to(cr, 18, 28);
    cairo_curve_to(cr, 18, 18, 24, 8, 30, 6);
    cairo_curve_to(cr, 31, 16, 26, 26, 18, 28);
    cairo_fill(cr);
}

void PaintMirror(cairo_t* cr)
{
    Sheet(cr, {2, 6, 12, 20});
    Sheet(cr, {18, 6, 12, 20});
    SetColour(cr, kBlue);
    cairo_move_to(cr, 4, 10);
    cairo_line_to(cr, 11, 16);
    cairo_line_to(cr, 4, 22);
    cairo_close_path(cr);
    cairo_move_to(cr, 28, 10);
    cairo_line_to(cr, 21, 16);
    cairo_line_to(cr, 28, 22);
    cairo_close_path(cr);
    cairo_fill(cr);
    SetColour(cr, kRed);
    cairo_set_line_width(cr, 1.0);
    const double dash[] = {2, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, 16, 2);
    cairo_line_to(cr, 16, 30);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void PaintReverseOrder(cairo_t* cr)
{
    const Rgb bands[3] = {kBlue, kGreen, kRed};
    Stack(cr, 6, 8, bands, false);
    Arrow(cr, 25, 26, 25, 6, kRed);
}

// ---- layout buttons (48 x 48) ----------------------------------------------------------------

void PaintLayoutNone(cairo_t* cr)
{
    TextSheet(cr, {12, 5, 24, 38});
}

void PaintLayoutNup(cairo_t* cr)
{
    Sheet(cr, {10, 4, 28, 40});
    for (const Box& cell : Grid({10, 4, 28, 40}, 2, 2, 3)) {
        TextSheet(cr, cell);
    }
}

void PaintLayoutBooklet(cairo_t* cr)
{
    // An open booklet: two pages meeting at the fold.
    SetColour(cr, kPaper);
    cairo_move_to(cr, 24, 12);
    cairo_curve_to(cr, 18, 9, 10, 9, 4, 11);
    cairo_line_to(cr, 4, 39);
    cairo_curve_to(cr, 10, 37, 18, 37, 24, 40);
    cairo_curve_to(cr, 30, 37, 38, 37, 44, 39);
    cairo_line_to(cr, 44, 11);
    cairo_curve_to(cr, 38, 9, 30, 9, 24, 12);
    cairo_close_path(cr);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_move_to(cr, 24, 12);
    cairo_line_to(cr, 24, 40);
    cairo_stroke(cr);
    SetColour(cr, kLine);
    cairo_set_line_width(cr, 1.0);
    for (double y = 16; y < 36; y += 3) {
        cairo_move_to(cr, 8, y);
        cairo_line_to(cr, 21, y);
        cairo_move_to(cr, 27, y);
        cairo_line_to(cr, 40, y);
    }
    cairo_stroke(cr);
}

void PaintLayoutFit(cairo_t* cr)
{
    // A large page shrinking onto a smaller sheet.
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    const double dash[] = {3, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_rectangle(cr, 3.5, 3.5, 41, 41);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    TextSheet(cr, {14, 12, 20, 26});
    Arrow(cr, 5, 5, 13, 11, kBlue);
    Arrow(cr, 43, 5, 35, 11, kBlue);
    Arrow(cr, 5, 43, 13, 39, kBlue);
    Arrow(cr, 43, 43, 35, 39, kBlue);
}

void PaintLayoutZoom(cairo_t* cr)
{
    TextSheet(cr, {6, 4, 26, 36});
    SetColour(cr, kPaper, 0.8);
    cairo_arc(cr, 28, 26, 10, 0, 2 * M_PI);
    cairo_fill_preserve(cr);
    SetColour(cr, kBlue);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 4);
    cairo_move_to(cr, 35, 33);
    cairo_line_to(cr, 44, 43);
    cairo_stroke(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 23, 26);
    cairo_line_to(cr, 33, 26);
    cairo_move_to(cr, 28, 21);
    cairo_line_to(cr, 28, 31);
    cairo_stroke(cr);
}

// A large figure spread over a grid of tiles.
void PaintPosterTiles(cairo_t* cr, Box area, int cols, int rows)
{
    const std::vector<Box> tiles = Grid(area, cols, rows, cols > 2 || rows > 2 ? 1 : 2);
    for (const Box& tile : tiles) {
        Sheet(cr, tile);
    }
    cairo_save(cr);
    cairo_new_path(cr);
    for (const Box& tile : tiles) {
        cairo_rectangle(cr, tile.x + 1, tile.y + 1, tile.w - 2, tile.h - 2);
    }
    cairo_clip(cr);
    SetColour(cr, kRed);
    const double r = std::min(area.w, area.h) * 0.38;
    cairo_arc(cr, area.x + area.w / 2, area.y + area.h / 2, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintLayoutPoster(cairo_t* cr)
{
    PaintPosterTiles(cr, {4, 4, 40, 40}, 2, 2);
}

// ---- pages per sheet and page order -----------------------------------------------------------

struct NupShape {
    int cols, rows;
    bool landscapeSheet;
};

Box SheetFor(bool landscapeSheet)
{
    return landscapeSheet ? kLandscape : kPortrait;
}

void PaintNup(cairo_t* cr, NupShape shape)
{
    const Box sheet = SheetFor(shape.landscapeSheet);
    Sheet(cr, sheet);
    for (const Box& cell : Grid(sheet, shape.cols, shape.rows, 1.5)) {
        FillRect(cr, cell, kLightBlue);
        SetColour(cr, kBlue);
        cairo_set_line_width(cr, 0.8);
        cairo_rectangle(cr, cell.x, cell.y, cell.w, cell.h);
        cairo_stroke(cr);
    }
}

// The reading orders: 0 right then down, 1 down then right, 2 down then left, 3 left then down.
void PaintOrder(cairo_t* cr, NupShape shape, int order, bool upwards = false)
{
    const Box sheet = SheetFor(shape.landscapeSheet);
    Sheet(cr, sheet);
    const std::vector<Box> cells = Grid(sheet, shape.cols, shape.rows, 1.5);
    for (const Box& cell : cells) {
        FillRect(cr, cell, kLightBlue);
    }
    std::vector<std::pair<double, double>> points;
    auto centre = [&](int c, int r) {
        const Box& cell = cells[r * shape.cols + c];
        points.push_back({cell.x + cell.w / 2, cell.y + cell.h / 2});
    };
    const bool byRows = order == 0 || order == 3;
    const bool fromRight = order == 2 || order == 3;
    const int outer = byRows ? shape.rows : shape.cols;
    const int inner = byRows ? shape.cols : shape.rows;
    for (int o = 0; o < outer; ++o) {
        for (int i = 0; i < inner; ++i) {
            int c = byRows ? i : o;
            int r = byRows ? o : i;
            if (fromRight) {
                c = shape.cols - 1 - c;
            }
            if (upwards) {
                r = shape.rows - 1 - r;
            }
            centre(c, r);
        }
    }
    Path(cr, points, kRed);
}

// ---- booklet binding, zoom position, fit -----------------------------------------------------

void PaintBinding(cairo_t* cr, bool right)
{
    // A closed booklet seen from the front, bound (and stapled) on one side.
    Sheet(cr, {9, 4, 16, 24});
    Sheet(cr, {7, 4, 16, 24});
    TextSheet(cr, {7, 4, 16, 24});
    const double edge = right ? 22 : 8;
    FillRect(cr, {edge - 1, 4, 2, 24}, kBlue);
    Staple(cr, edge, 9, edge, 12);
    Staple(cr, edge, 20, edge, 23);
    Arrow(cr, right ? 14 : 16, 30.5, right ? 4 : 26, 30.5, kRed, 1.2);
}

void PaintZoomPosition(cairo_t* cr, int position)
{
    const Box sheet{6, 2, 20, 28};
    Sheet(cr, sheet);
    const int col = position % 3;
    const int row = position / 3;
    const Box image{sheet.x + 2 + col * 5.0, sheet.y + 2 + row * 7.5, 6, 9};
    FillRect(cr, image, kBlue);
}

void PaintFit(cairo_t* cr, bool keepRatio)
{
    Sheet(cr, {6, 2, 20, 28});
    SetColour(cr, kRed);
    cairo_save(cr);
    if (keepRatio) {
        cairo_arc(cr, 16, 16, 8, 0, 2 * M_PI);
    } else {
        // Stretched to fill the sheet: the circle becomes an ellipse.
        cairo_translate(cr, 16, 16);
        cairo_scale(cr, 8, 12);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    }
    cairo_restore(cr);
    cairo_fill(cr);
}

// ---- staple, punch, output tray --------------------------------------------------------------

void PaintStaple(cairo_t* cr, int value)
{
    const bool saddleLandscape = value == 7;
    const Box sheet = saddleLandscape ? kLandscape : kPortrait;
    TextSheet(cr, sheet);
    const double l = sheet.x, t = sheet.y, r = sheet.x + sheet.w, b = sheet.y + sheet.h;
    switch (value) {
    case 1: Staple(cr, l + 2, t + 6, l + 6, t + 2); break;
    case 2: Staple(cr, r - 6, t + 2, r - 2, t + 6); break;
    case 3: Staple(cr, l + 3, t + 6, l + 3, t + 10); Staple(cr, l + 3, b - 10, l + 3, b - 6); break;
    case 4: Staple(cr, l + 4, t + 3, l + 8, t + 3); Staple(cr, r - 8, t + 3, r - 4, t + 3); break;
    case 5: Staple(cr, r - 3, t + 6, r - 3, t + 10); Staple(cr, r - 3, b - 10, r - 3, b - 6); break;
    case 6:
    case 7: {
        // Saddle stitch along the fold in the middle of the sheet.
        const bool vertical = value == 6;
        SetColour(cr, kBlue);
        cairo_set_line_width(cr, 1.0);
        const double dash[] = {2, 1.5};
        cairo_set_dash(cr, dash, 2, 0);
        if (vertical) {
            cairo_move_to(cr, (l + r) / 2, t);
            cairo_line_to(cr, (l + r) / 2, b);
        } else {
            cairo_move_to(cr, l, (t + b) / 2);
            cairo_line_to(cr, r, (t + b) / 2);
        }
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        const double m = vertical ? (l + r) / 2 : (t + b) / 2;
        if (vertical) {
            Staple(cr, m, t + 5, m, t + 9);
            Staple(cr, m, b - 9, m, b - 5);
        } else {
            Staple(cr, l + 5, m, l + 9, m);
            Staple(cr, r - 9, m, r - 5, m);
        }
        break;
    }
    default: break;
    }
}

// Punch holes: count 0 (none), 2, 3 or 4 along the left (2), top (3) or right (4) edge.
void PaintPunch(cairo_t* cr, int holes, int edge)
{
    TextSheet(cr, kPortrait);
    const Box s = kPortrait;
    for (int i = 0; i < holes; ++i) {
        const double f = (i + 1.0) / (holes + 1);
        if (edge == 3) {
            Hole(cr, s.x + s.w * f, s.y + 3);
        } else {
            Hole(cr, edge == 2 ? s.x + 3 : s.x + s.w - 3, s.y + s.h * f);
        }
    }
}

// Output trays: where the printed sheet leaves the printer.
void PaintTray(cairo_t* cr, int kind)
{
    const bool finisher = kind == 1 || kind == 4 || kind == 5;
    Printer(cr, {2, 10, finisher ? 19.0 : 24.0, 18});
    if (finisher) {
        cairo_rectangle(cr, 21.5, 6.5, 8, 22);
        SetColour(cr, kBody);
        cairo_fill_preserve(cr);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
    switch (kind) {
    case 0:  // face-down tray on top
        FillRect(cr, {6, 11, 14, 2}, kBlue);
        Arrow(cr, 13, 10, 13, 2, kBlue);
        break;
    case 1:  // finisher's tray
        FillRect(cr, {27, 14, 4, 2}, kBlue);
        Arrow(cr, 22, 12, 31, 9, kBlue);
        break;
    case 2:  // face-up tray at the side
        FillRect(cr, {26, 19, 5, 2}, kBlue);
        Arrow(cr, 24, 17, 31, 17, kBlue);
        break;
    case 3:  // mailbox bins
        for (int i = 0; i < 3; ++i) {
            FillRect(cr, {26, 4 + i * 7.0, 5, 1.5}, kInk);
        }
        FillRect(cr, {26, 9.5, 5, 1.5}, kBlue);
        Arrow(cr, 16, 9, 25, 9, kBlue);
        break;
    case 4:  // finisher, upper tray
        FillRect(cr, {29, 9, 3, 2}, kBlue);
        Arrow(cr, 24, 4, 31, 4, kBlue);
        break;
    case 5:  // finisher, lower tray
        FillRect(cr, {29, 22, 3, 2}, kBlue);
        Arrow(cr, 24, 30, 31, 30, kBlue);
        break;
    default: break;
    }
}

// ---- the application icon and the unused banner ----------------------------------------------

void PaintAppIcon(cairo_t* cr)
{
    // A printer with a sheet coming out and a settings gear in front.
    TextSheet(cr, {34, 6, 52, 50});
    Printer(cr, {14, 34, 92, 74});
    TextSheet(cr, {34, 88, 52, 30});
    const double cx = 96, cy = 96;
    SetColour(cr, kBlue);
    for (int i = 0; i < 8; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * M_PI / 4);
        cairo_rectangle(cr, -5, -27, 10, 12);
        cairo_restore(cr);
    }
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 19, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColour(cr, kPaper);
    cairo_arc(cr, cx, cy, 8, 0, 2 * M_PI);
    cairo_fill(cr);
}

void PaintBanner(cairo_t* cr)
{
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, 254);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.93, 0.95, 0.99);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.70, 0.78, 0.92);
    cairo_rectangle(cr, 0, 0, 289, 254);
    cairo_set_source(cr, bg);
    cairo_fill(cr);
    cairo_pattern_destroy(bg);
    TextSheet(cr, {100, 20, 90, 80});
    Printer(cr, {50, 70, 190, 150});
    TextSheet(cr, {100, 200, 90, 40});
}

void Add(std::vector<Picture>& out, unsigned short id, int size, std::string what,
         std::function<void(cairo_t*)> paint)
{
    out.push_back({id, size, size, false, std::move(what), std::move(paint)});
}

}  // namespace

std::vector<Picture> AllPictures()
{
    std::vector<Picture> p;
    p.push_back({100, 128, 128, false, "application icon: printer with a settings gear", PaintAppIcon});
    p.push_back({101, 289, 254, true, "printer banner", PaintBanner});
    p.push_back({102, preview::kWidth, preview::kHeight, true, "colour preview photograph", nullptr});

    const char* sortWhat[6] = {"no sorting", "no sorting, collated", "offset sort",
                               "offset sort, collated", "rotate sort", "rotate sort, collated"};
    for (int i = 0; i < 6; ++i) {
        Add(p, 2100 + i, 32, sortWhat[i], [i](cairo_t* cr) { PaintSort(cr, (i / 2) * 2, i % 2 == 1); });
    }
    struct DuplexPic { unsigned short id; bool landscape; int kind; bool margin; const char* what; };
    const DuplexPic duplex[] = {
        {2110, false, 1, false, "portrait, one-sided"},       {2111, false, 2, false, "portrait, long edge"},
        {2112, false, 3, false, "portrait, short edge"},      {2113, true, 1, false, "landscape, one-sided"},
        {2114, true, 2, false, "landscape, long edge"},       {2115, true, 3, false, "landscape, short edge"},
        {2116, false, 2, true, "portrait, long edge, margin"}, {2117, false, 3, true, "portrait, short edge, margin"},
        {2118, true, 3, true, "landscape, short edge, margin"}, {2119, true, 2, true, "landscape, long edge, margin"},
    };
    for (const DuplexPic& d : duplex) {
        Add(p, d.id, 32, d.what, [d](cairo_t* cr) { PaintDuplex(cr, d.landscape, d.kind, d.margin); });
    }
    Add(p, 2130, 32, "mailbox", [](cairo_t* cr) { PaintMailbox(cr, false); });
    Add(p, 2131, 32, "secure mailbox", [](cairo_t* cr) { PaintMailbox(cr, true); });
    Add(p, 2150, 32, "halftone: fine dots", [](cairo_t* cr) { PaintDots(cr, 3.25); });
    Add(p, 2151, 32, "halftone: line screen", PaintLines);
    Add(p, 2152, 32, "halftone: standard dots", [](cairo_t* cr) { PaintDots(cr, 5.2); });
    Add(p, 2153, 32, "halftone: error diffusion", PaintDiffusion);
    Add(p, 2154, 32, "halftone: coarse dots", [](cairo_t* cr) { PaintDots(cr, 8.67); });
    Add(p, 2155, 32, "halftone: cross hatch", PaintHatch);
    Add(p, 2160, 32, "colour", [](cairo_t* cr) { PaintColourCircles(cr, false); });
    Add(p, 2161, 32, "photo colour", [](cairo_t* cr) { PaintLandscape(cr, {3, 5, 26, 22}); });
    Add(p, 2162, 32, "greyscale", [](cairo_t* cr) { PaintColourCircles(cr, true); });
    Add(p, 2170, 32, "quality: draft", [](cairo_t* cr) { PaintQuality(cr, 6); });
    Add(p, 2171, 32, "quality: standard", [](cairo_t* cr) { PaintQuality(cr, 3); });
    Add(p, 2172, 32, "quality: fine", [](cairo_t* cr) { PaintQuality(cr, 1); });
    Add(p, 2180, 32, "toner save", PaintTonerSave);
    Add(p, 2190, 32, "mirror image", PaintMirror);
    Add(p, 2191, 32, "reverse page order", PaintReverseOrder);
    Add(p, 2200, 48, "layout: normal", PaintLayoutNone);
    Add(p, 2201, 48, "layout: pages per sheet", PaintLayoutNup);
    Add(p, 2202, 48, "layout: booklet", PaintLayoutBooklet);
    Add(p, 2203, 48, "layout: fit to output paper", PaintLayoutFit);
    Add(p, 2204, 48, "layout: zoom", PaintLayoutZoom);
    Add(p, 2205, 48, "layout: poster", PaintLayoutPoster);

    struct NupPic { unsigned short id; NupShape shape; const char* what; };
    const NupPic nup[] = {
        {2210, {2, 1, true}, "2 up, portrait pages"},  {2211, {1, 2, false}, "2 up, landscape pages"},
        {2212, {2, 2, false}, "4 up"},                 {2213, {3, 2, true}, "6 up, portrait pages"},
        {2214, {2, 3, false}, "6 up, landscape pages"}, {2215, {3, 3, false}, "9 up"},
        {2216, {4, 2, true}, "8 up, portrait pages"},  {2217, {2, 4, false}, "8 up, landscape pages"},
        {2218, {4, 4, false}, "16 up"},
    };
    for (const NupPic& n : nup) {
        Add(p, n.id, 32, n.what, [n](cairo_t* cr) { PaintNup(cr, n.shape); });
    }
    Add(p, 2230, 32, "booklet, left binding", [](cairo_t* cr) { PaintBinding(cr, false); });
    Add(p, 2231, 32, "booklet, right binding", [](cairo_t* cr) { PaintBinding(cr, true); });
    for (int i = 0; i < 9; ++i) {
        static const char* const where[9] = {"left top", "centre top", "right top", "left middle", "centre",
                                             "right middle", "left bottom", "centre bottom", "right bottom"};
        Add(p, 2240 + i, 32, where[i], [i](cairo_t* cr) { PaintZoomPosition(cr, i); });
    }
    Add(p, 2250, 32, "fit, aspect ratio not kept", [](cairo_t* cr) { PaintFit(cr, false); });
    Add(p, 2251, 32, "fit, aspect ratio kept", [](cairo_t* cr) { PaintFit(cr, true); });
    struct PosterPic { unsigned short id; int cols, rows; const char* what; };
    const PosterPic poster[] = {{2261, 1, 2, "poster 1 x 2"}, {2262, 2, 1, "poster 2 x 1"},
                                {2263, 2, 2, "poster 2 x 2"}, {2264, 3, 3, "poster 3 x 3"},
                                {2265, 4, 4, "poster 4 x 4"}};
    for (const PosterPic& q : poster) {
        Add(p, q.id, 32, q.what, [q](cairo_t* cr) {
            const Box area = q.cols < q.rows ? Box{8, 2, 16, 28} : q.cols > q.rows ? Box{2, 8, 28, 16}
                                                                                    : Box{2, 2, 28, 28};
            PaintPosterTiles(cr, area, q.cols, q.rows);
        });
    }
    // Page orders: 2 up by orientation, then per count the orders 3, 0, 2, 1.
    Add(p, 2273, 32, "2 up, left to right", [](cairo_t* cr) { PaintOrder(cr, {2, 1, true}, 0); });
    Add(p, 2274, 32, "2 up, right to left", [](cairo_t* cr) { PaintOrder(cr, {2, 1, true}, 3); });
    Add(p, 2275, 32, "2 up, top to bottom", [](cairo_t* cr) { PaintOrder(cr, {1, 2, false}, 0); });
    Add(p, 2276, 32, "2 up, bottom to top", [](cairo_t* cr) { PaintOrder(cr, {1, 2, false}, 0, true); });
    struct OrderFamily { unsigned short base; NupShape shape; const char* count; };
    const OrderFamily families[] = {{2277, {2, 2, false}, "4 up"}, {2281, {2, 3, false}, "6 up"},
                                    {2285, {2, 4, false}, "8 up"}, {2289, {3, 3, false}, "9 up"},
                                    {2293, {4, 4, false}, "16 up"}};
    const int orders[4] = {3, 0, 2, 1};
    static const char* const orderNames[4] = {"left, then down", "right, then down", "down, then left",
                                              "down, then right"};
    for (const OrderFamily& f : families) {
        for (int k = 0; k < 4; ++k) {
            const int order = orders[k];
            const NupShape shape = f.shape;
            Add(p, f.base + k, 32, std::string(f.count) + ", " + orderNames[k], [shape, order](cairo_t* cr) { PaintOrder(cr, shape, order); });
        }
    }
    const char* stapleWhat[8] = {"no staple", "staple left top", "staple right top", "two staples left",
                                 "two staples top", "two staples right", "saddle stitch, portrait",
                                 "saddle stitch, landscape"};
    for (int v = 0; v < 8; ++v) {
        Add(p, 2300 + v, 32, stapleWhat[v], [v](cairo_t* cr) { PaintStaple(cr, v); });
    }
    Add(p, 2320, 32, "no punch", [](cairo_t* cr) { PaintPunch(cr, 0, 2); });
    static const char* const punchWhat[9] = {"2 holes left", "2 holes top", "2 holes right",
                                             "3 holes left", "3 holes top", "3 holes right",
                                             "4 holes left", "4 holes top", "4 holes right"};
    for (int k = 0; k < 9; ++k) {
        const int holes = 2 + k / 3;
        const int edge = 2 + k % 3;
        Add(p, 2321 + k, 32, punchWhat[k], [holes, edge](cairo_t* cr) { PaintPunch(cr, holes, edge); });
    }
    const char* trayWhat[6] = {"tray on top", "finisher tray", "face-up side tray", "mailbox bins",
                               "finisher upper tray", "finisher lower tray"};
    for (int k = 0; k < 6; ++k) {
        Add(p, 2340 + k, 32, trayWhat[k], [k](cairo_t* cr) { PaintTray(cr, k); });
    }
    return p;
}

std::vector<unsigned char> PreviewPhotograph()
{
    using namespace orv::preview;
    const int stride = kWidth * 3;
    std::vector<unsigned char> rgb(static_cast<size_t>(stride) * kHeight, kSeparatorGrey);
    for (int y = kRampTop; y < kRampBottom; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char v = PreviewRampValue(x);
            unsigned char* px = &rgb[y * stride + x * 3];
            px[0] = px[1] = px[2] = v;
        }
    }
    for (int y = kPatchTop; y < kPatchBottom; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const PreviewPatch& patch = kPreviewPatches[x / kPatchWidth];
            unsigned char* px = &rgb[y * stride + x * 3];
            px[0] = patch.r;
            px[1] = patch.g;
            px[2] = patch.b;
        }
    }
    // The landscape, drawn by cairo and copied below the test card.
    const int sceneHeight = kHeight - kSceneTop;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, sceneHeight);
    cairo_t* cr = cairo_create(surface);
    PaintLandscape(cr, {0, 0, double(kWidth), double(sceneHeight)});
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int cairoStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < sceneHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint32_t v;
            std::memcpy(&v, data + y * cairoStride + x * 4, 4);
            unsigned char* px = &rgb[(kSceneTop + y) * stride + x * 3];
            px[0] = (v >> 16) & 0xFF;
            px[1] = (v >> 8) & 0xFF;
            px[2] = v & 0xFF;
        }
    }
    cairo_surface_destroy(surface);
    return rgb;
}

}  // namespace orv::pictures
