// Pictures of windows for people to look at (tests do not compare them).
#pragma once

#include <gtk/gtk.h>
#include <string>

namespace orvgui {

// Shows the window if needed, lets it draw, and writes a PNG of it as <name>.png into the build
// tree's screenshot folder. Returns the file's path; fails the test (and returns "") when the
// window cannot be captured or written.
std::string SaveScreenshot(GtkWidget* pWindow, const std::string& name);

// The folder SaveScreenshot writes into.
std::string ScreenshotDir();

}  // namespace orvgui
