#include "core/binding/CairoLibrary.h"

#include "binding/BindingTestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace {

using orvtest::CountEmptySlots;
using orvtest::IsAllZero;
using orvtest::ScopedCairo;

int AppendToString(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return 0;  // CAIRO_STATUS_SUCCESS
}

// cairo and fontconfig keep the fonts they looked up in process-wide caches; empty them so that
// LeakSanitizer sees only what the test itself may have leaked.
void ReleaseFontCaches(void* cairoHandle)
{
    if (auto reset = reinterpret_cast<void (*)()>(dlsym(cairoHandle, "cairo_debug_reset_static_data"))) {
        reset();
    }
    if (void* fontconfig = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD)) {
        if (auto fini = reinterpret_cast<void (*)()>(dlsym(fontconfig, "FcFini"))) {
            fini();
        }
        dlclose(fontconfig);
    }
}

TEST(CairoLibrary, RealLibcairoBindsEverySlot)
{
    orvtest::PinRealLibcairo();
    ScopedCairo cairo;
    ASSERT_EQ(LoadCairoLibrary(&cairo), 0);
    EXPECT_EQ(CountEmptySlots(cairo), 0u);
}

TEST(CairoLibrary, RealLibcairoDrawsTextAndShapesIntoAPostScriptStream)
{
    orvtest::PinRealLibcairo();
    ScopedCairo cairo;
    ASSERT_EQ(LoadCairoLibrary(&cairo), 0);
    std::string out;
    CairoSurface* surface = cairo.cairo_ps_surface_create_for_stream(AppendToString, &out, 595, 842);
    ASSERT_NE(surface, nullptr);
    CairoContext* cr = cairo.cairo_create(surface);
    cairo.cairo_select_font_face(cr, "Sans", 0, 1);  // normal slant, bold
    cairo.cairo_set_font_size(cr, 20);
    CairoFontExtents font {};
    cairo.cairo_font_extents(cr, &font);
    CairoTextExtents text {};
    cairo.cairo_text_extents(cr, "ORVALEN", &text);
    cairo.cairo_translate(cr, 100, 100);
    cairo.cairo_rotate(cr, 0.5);
    cairo.cairo_scale(cr, 2, 2);
    cairo.cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo.cairo_set_operator(cr, 2);  // CAIRO_OPERATOR_OVER
    cairo.cairo_move_to(cr, 0, 0);
    cairo.cairo_text_path(cr, "ORVALEN");
    cairo.cairo_fill(cr);
    cairo.cairo_rectangle(cr, 10, 10, 50, 20);
    cairo.cairo_arc(cr, 30, 30, 10, 0, 6.28);
    cairo.cairo_move_to(cr, 0, 0);
    cairo.cairo_rel_line_to(cr, 40, 0);
    cairo.cairo_set_line_width(cr, 2);
    cairo.cairo_stroke(cr);
    cairo.cairo_destroy(cr);
    cairo.cairo_surface_finish(surface);
    cairo.cairo_surface_destroy(surface);
    ReleaseFontCaches(cairo.handle);

    // A 20-point font is taller than zero and the seven letters are wider than one letter's height.
    EXPECT_GT(font.height, 0.0);
    EXPECT_GT(text.width, font.height);
    EXPECT_EQ(out.compare(0, 4, "%!PS"), 0);
    EXPECT_NE(out.find("%%EOF"), std::string::npos);
}

TEST(CairoLibrary, LibraryWithoutTheEntriesFailsWithTheTableZero)
{
    const char* candidates[] = {"/nonexistent/libcairo.so", ORV_FAKE_GS_OK};
    ScopedCairo cairo;
    EXPECT_EQ(LoadCairoLibraryFrom(&cairo, candidates, 2), 1);
    EXPECT_TRUE(IsAllZero(static_cast<tagCAIROFUNC&>(cairo)));
    EXPECT_FALSE(orvtest::IsLoaded(ORV_FAKE_GS_OK));
    EXPECT_EQ(LoadCairoLibraryFrom(nullptr, candidates, 2), 1);
    UnloadCairoLibrary(nullptr);
}

}  // namespace
