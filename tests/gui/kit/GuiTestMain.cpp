// The main of every GUI test program: an X server (the run's shared Xvfb or one of its own), GTK,
// the GLib log guard and the watchdog, then the tests.
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <string>

#include "gui/kit/GLibLogGuard.h"
#include "gui/kit/Watchdog.h"
#include "gui/kit/XvfbDisplay.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORV_GUI_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORV_GUI_ASAN 1
#endif

#ifdef ORV_GUI_ASAN
// GTK, fontconfig and GLib keep allocations for the life of the process (type system, font
// cache, theme); the suppressions name only those.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" ORV_GUI_LSAN_SUPPRESSIONS;
}
#endif

namespace {

// A test fails after this long, the program stops after the hard limit.
const int kSoftLimitSeconds = 20;
const int kHardLimitSeconds = 45;

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // Nothing of the desktop the tests may be started from: no accessibility bridge or other
    // modules, no user theme, the C locale's texts.
    setenv("NO_AT_BRIDGE", "1", 1);
    unsetenv("GTK_MODULES");
    unsetenv("GTK2_RC_FILES");
    setenv("GTK2_RC_FILES", "/dev/null", 1);

    orvgui::XvfbDisplay display;
    std::string error;
    if (!display.Open(&error)) {
        std::fprintf(stderr, "no X server for the GUI tests: %s\n", error.c_str());
        return 1;
    }
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "GTK could not open display %s\n", display.Name().c_str());
        return 1;
    }
    // The pointer rests in the screen's bottom-right corner, away from where tests put windows,
    // so that no window a test shows gets pointer events it did not ask for.
    GdkScreen* pScreen = gdk_screen_get_default();
    gdk_display_warp_pointer(gdk_display_get_default(), pScreen, gdk_screen_get_width(pScreen) - 1,
                             gdk_screen_get_height(pScreen) - 1);
    gdk_display_sync(gdk_display_get_default());
    orvgui::InstallGLibLogGuard();
    ::testing::UnitTest::GetInstance()->listeners().Append(orvgui::NewWatchdog(kSoftLimitSeconds, kHardLimitSeconds));
    return RUN_ALL_TESTS();
}
