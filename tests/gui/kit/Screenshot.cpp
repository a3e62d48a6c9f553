#include "gui/kit/Screenshot.h"

#include <gtest/gtest.h>

#include "gui/kit/GuiActions.h"

namespace orvgui {

std::string ScreenshotDir()
{
    return ORV_GUI_SCREENSHOT_DIR;
}

std::string SaveScreenshot(GtkWidget* pWindow, const std::string& name)
{
    if (!GTK_WIDGET_VISIBLE(pWindow)) {
        gtk_widget_show_all(pWindow);
    }
    // Without a window manager the window is mapped at once; its first exposure still has to
    // come back from the server and be drawn.
    for (int i = 0; i < 5; ++i) {
        PumpEvents();
        g_usleep(20 * 1000);
    }
    if (pWindow->window == nullptr) {
        ADD_FAILURE() << "window for screenshot " << name << " is not realized";
        return "";
    }
    gdk_window_invalidate_rect(pWindow->window, nullptr, TRUE);
    gdk_window_process_updates(pWindow->window, TRUE);
    gdk_flush();
    gint nWidth = 0;
    gint nHeight = 0;
    gdk_drawable_get_size(pWindow->window, &nWidth, &nHeight);
    GdkPixbuf* pPixbuf =
        gdk_pixbuf_get_from_drawable(nullptr, pWindow->window, nullptr, 0, 0, 0, 0, nWidth, nHeight);
    if (pPixbuf == nullptr) {
        ADD_FAILURE() << "could not capture window for screenshot " << name;
        return "";
    }
    g_mkdir_with_parents(ScreenshotDir().c_str(), 0755);
    std::string path = ScreenshotDir() + "/" + name + ".png";
    GError* pError = nullptr;
    if (!gdk_pixbuf_save(pPixbuf, path.c_str(), "png", &pError, nullptr)) {
        ADD_FAILURE() << "could not write " << path << ": " << (pError != nullptr ? pError->message : "?");
        g_clear_error(&pError);
        path.clear();
    }
    g_object_unref(pPixbuf);
    return path;
}

}  // namespace orvgui
