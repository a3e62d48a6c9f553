#include "gui/widgets/xWindow.h"

#include "gui/widgets/xImage.h"

namespace {

void OnDestroyRoute(GtkWidget*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xWidget*>(pData)->OnDestroy();
    }
}

}  // namespace

xWindow::xWindow(xWidget* pOwner) : xBin(pOwner, -1)
{
    Attach(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    if (m_pWidget != NULL) {
        g_signal_connect(m_pWidget, "delete-event", G_CALLBACK(xWidget::OnEventRoute), this);
        g_signal_connect(m_pWidget, "destroy", G_CALLBACK(OnDestroyRoute), this);
    }
}

void xWindow::SetTitle(const char* pszTitle)
{
    gtk_window_set_title(GTK_WINDOW(m_pWidget), pszTitle);
}

void xWindow::SetPosition(int nPosition)
{
    gtk_window_set_position(GTK_WINDOW(m_pWidget), static_cast<GtkWindowPosition>(nPosition));
}

void xWindow::SetResizable(int bResizable)
{
    gtk_window_set_resizable(GTK_WINDOW(m_pWidget), bResizable);
}

void xWindow::SetIcon(int nImageID)
{
    gtk_window_set_icon(GTK_WINDOW(m_pWidget), BuiltinImageOrNull(nImageID));
}

void xWindow::OnCreate() {}
