#include "gui/widgets/xContainer.h"

xContainer::xContainer(xWidget* pOwner, int nID) : xWidget(pOwner, nID) {}

xWidget* xContainer::Add(xWidget* pChild)
{
    gtk_container_add(GTK_CONTAINER(m_pWidget), pChild->GetGtkWidget());
    return pChild;
}

void xContainer::SetBorderWidth(unsigned int nWidth)
{
    gtk_container_set_border_width(GTK_CONTAINER(m_pWidget), nWidth);
}

xBin::xBin(xWidget* pOwner, int nID) : xContainer(pOwner, nID) {}

void xBin::EnableChild(int bEnable)
{
    GtkWidget* pChild = gtk_bin_get_child(GTK_BIN(m_pWidget));
    if (pChild != NULL) {
        gtk_widget_set_sensitive(pChild, bEnable);
    }
}
