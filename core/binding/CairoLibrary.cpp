#include "core/binding/CairoLibrary.h"

#include "core/binding/SharedObject.h"

#include <cstring>
#include <iterator>

namespace {

// Where libcairo is looked for, in order; the Debian multiarch locations and the plain sonames come
// last, after the classic locations.
const char* const kCairoCandidates[] = {
    "/usr/local/lib/libcairo.so",
    "/usr/local/lib/libcairo.so.2",
    "/usr/lib/libcairo.so",
    "/usr/lib/libcairo.so.2",
    "/usr/local/lib64/libcairo.so",
    "/usr/local/lib64/libcairo.so.2",
    "/usr/lib64/libcairo.so",
    "/usr/lib64/libcairo.so.2",
    "/usr/lib/x86_64-linux-gnu/libcairo.so.2",
    "/usr/lib/x86_64-linux-gnu/libcairo.so",
    "libcairo.so.2",
    "libcairo.so",
};

#define ORV_CAIRO_SLOT(name) orv::SymbolSlot{#name, offsetof(tagCAIROFUNC, name)}

// The lookup order (cairo_move_to before cairo_text_path); each goes to its own slot.
constexpr orv::SymbolSlot kCairoSlots[] = {
    ORV_CAIRO_SLOT(cairo_ps_surface_create_for_stream),
    ORV_CAIRO_SLOT(cairo_surface_finish),
    ORV_CAIRO_SLOT(cairo_surface_destroy),
    ORV_CAIRO_SLOT(cairo_create),
    ORV_CAIRO_SLOT(cairo_destroy),
    ORV_CAIRO_SLOT(cairo_select_font_face),
    ORV_CAIRO_SLOT(cairo_set_font_size),
    ORV_CAIRO_SLOT(cairo_font_extents),
    ORV_CAIRO_SLOT(cairo_text_extents),
    ORV_CAIRO_SLOT(cairo_move_to),
    ORV_CAIRO_SLOT(cairo_text_path),
    ORV_CAIRO_SLOT(cairo_rel_line_to),
    ORV_CAIRO_SLOT(cairo_rectangle),
    ORV_CAIRO_SLOT(cairo_arc),
    ORV_CAIRO_SLOT(cairo_set_line_width),
    ORV_CAIRO_SLOT(cairo_set_source_rgb),
    ORV_CAIRO_SLOT(cairo_stroke),
    ORV_CAIRO_SLOT(cairo_fill),
    ORV_CAIRO_SLOT(cairo_translate),
    ORV_CAIRO_SLOT(cairo_scale),
    ORV_CAIRO_SLOT(cairo_rotate),
    ORV_CAIRO_SLOT(cairo_set_operator),
};

#undef ORV_CAIRO_SLOT

static_assert(std::size(kCairoSlots) == kCairoFuncSlots, "every cairo entry is listed");

}  // namespace

int LoadCairoLibrary(tagCAIROFUNC* cairo)
{
    return LoadCairoLibraryFrom(cairo, kCairoCandidates, std::size(kCairoCandidates));
}

int LoadCairoLibraryFrom(tagCAIROFUNC* cairo, const char* const* candidates, size_t count)
{
    if (cairo == nullptr) {
        return 1;
    }
    // The table may be fresh, garbage or bound: a library a binder opened into this table is
    // released (a second bind must not leak the first), anything else is only overwritten.
    UnloadCairoLibrary(cairo);
    std::memset(cairo, 0, sizeof *cairo);

    cairo->handle = orv::OpenFirstCandidateFor(cairo, candidates, count);
    if (cairo->handle == nullptr) {
        return 1;
    }
    if (!orv::BindSymbols(cairo->handle, cairo, kCairoSlots, std::size(kCairoSlots))) {
        UnloadCairoLibrary(cairo);
        return 1;
    }
    return 0;
}

void UnloadCairoLibrary(tagCAIROFUNC* cairo)
{
    if (cairo == nullptr || cairo->handle == nullptr) {
        return;
    }
    orv::CloseBoundHandle(cairo, cairo->handle);
    std::memset(cairo, 0, sizeof *cairo);
}
