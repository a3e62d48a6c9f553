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
    // Drawn again into a pixmap of its own: other tests' windows on the shared server may cover
    // the window on the screen.
    GdkPixmap* pPixmap = gtk_widget_get_snapshot(pWindow, nullptr);
    GdkPixbuf* pPixbuf = nullptr;
    if (pPixmap != nullptr) {
        gint nWidth = 0;
        gint nHeight = 0;
        gdk_drawable_get_size(pPixmap, &nWidth, &nHeight);
        pPixbuf = gdk_pixbuf_get_from_drawable(nullptr, pPixmap, nullptr, 0, 0, 0, 0, nWidth, nHeight);
        g_object_unref(pPixmap);
    }
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
