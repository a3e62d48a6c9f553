// The window tests' entry: GTK on the display given (DISPLAY), or on an Xvfb server of this
// program's own, so the tests run headless anywhere.
#include "support/Xvfb.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    orvtest::ScopedXvfb xvfb;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        std::string error;
        if (!xvfb.Start(&error)) {
            std::fprintf(stderr, "no display: %s\n", error.c_str());
            return 1;
        }
        setenv("DISPLAY", xvfb.Display().c_str(), 1);
    }
    // The texts under test are the built-in English ones, whatever the user's language.
    setenv("LANG", "C", 1);
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "GTK could not open the display\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
