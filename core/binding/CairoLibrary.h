// The libcairo function table and its loader (PostScript output through cairo's stream surface).
//
// libcairo is opened at run time and its headers are not needed: the drawing context and the
// surface are opaque, the enumerations travel as int and the two extents records are declared here
// with cairo's layout.
#pragma once

#include <cstddef>

struct CairoContext;   // cairo_t
struct CairoSurface;   // cairo_surface_t

// cairo_font_extents_t
struct CairoFontExtents {
    double ascent;
    double descent;
    double height;
    double max_x_advance;
    double max_y_advance;
};
static_assert(sizeof(CairoFontExtents) == 40, "cairo_font_extents_t is five doubles");

// cairo_text_extents_t
struct CairoTextExtents {
    double x_bearing;
    double y_bearing;
    double width;
    double height;
    double x_advance;
    double y_advance;
};
static_assert(sizeof(CairoTextExtents) == 48, "cairo_text_extents_t is six doubles");

// cairo_write_func_t: answers a cairo_status_t (0 is success).
using CairoWriteFunc = int (*)(void* closure, const unsigned char* data, unsigned int length);

struct tagCAIROFUNC {
    void* handle;
    CairoSurface* (*cairo_ps_surface_create_for_stream)(CairoWriteFunc writeFunc, void* closure,
                                                        double widthPoints, double heightPoints);
    void (*cairo_surface_finish)(CairoSurface* surface);
    void (*cairo_surface_destroy)(CairoSurface* surface);
    CairoContext* (*cairo_create)(CairoSurface* target);
    void (*cairo_destroy)(CairoContext* cr);
    void (*cairo_select_font_face)(CairoContext* cr, const char* family, int slant, int weight);
    void (*cairo_set_font_size)(CairoContext* cr, double size);
    void (*cairo_font_extents)(CairoContext* cr, CairoFontExtents* extents);
    void (*cairo_text_extents)(CairoContext* cr, const char* utf8, CairoTextExtents* extents);
    void (*cairo_text_path)(CairoContext* cr, const char* utf8);
    void (*cairo_move_to)(CairoContext* cr, double x, double y);
    void (*cairo_rel_line_to)(CairoContext* cr, double dx, double dy);
    void (*cairo_rectangle)(CairoContext* cr, double x, double y, double width, double height);
    void (*cairo_arc)(CairoContext* cr, double xc, double yc, double radius, double angle1,
                      double angle2);
    void (*cairo_set_line_width)(CairoContext* cr, double width);
    void (*cairo_set_source_rgb)(CairoContext* cr, double red, double green, double blue);
    void (*cairo_stroke)(CairoContext* cr);
    void (*cairo_fill)(CairoContext* cr);
    void (*cairo_translate)(CairoContext* cr, double tx, double ty);
    void (*cairo_scale)(CairoContext* cr, double sx, double sy);
    void (*cairo_rotate)(CairoContext* cr, double angle);
    void (*cairo_set_operator)(CairoContext* cr, int op);
};

inline constexpr size_t kCairoFuncSlots = 22;
static_assert(sizeof(tagCAIROFUNC) == (kCairoFuncSlots + 1) * sizeof(void*),
              "tagCAIROFUNC is the handle followed by 22 function pointers");

// Binds libcairo from the fixed list of library paths. 0 on success, 1 on failure (table all
// zero); every entry is required. The table may hold anything on entry (zeroed, never
// initialised, bound before): a library that a binder opened into it is released first, anything
// else is overwritten without being used.
int LoadCairoLibrary(tagCAIROFUNC* cairo);

// The same from a given candidate list (the first library that opens is the one used).
int LoadCairoLibraryFrom(tagCAIROFUNC* cairo, const char* const* candidates, size_t count);

// Closes the library when a binder opened it into this very table, and zeroes the table; a table
// whose handle is no such open (garbage, a copy of a bound table) is only zeroed; nothing for NULL
// or a table without a handle.
void UnloadCairoLibrary(tagCAIROFUNC* cairo);
