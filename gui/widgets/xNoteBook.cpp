#include "gui/widgets/xNoteBook.h"

namespace {

void OnSwitchPageRoute(GtkNotebook*, GtkNotebookPage*, guint nPage, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xNoteBook*>(pData)->OnSwitchPage(static_cast<int>(nPage));
    }
}

}  // namespace

xNoteBook::xNoteBook(xWidget* pOwner, int nID) : xContainer(pOwner, nID)
{
    Attach(gtk_notebook_new());
    g_signal_connect(m_pWidget, "switch-page", G_CALLBACK(OnSwitchPageRoute), this);
}

void xNoteBook::OnSwitchPage(int) {}

int xNoteBook::AppendPage(xWidget* pPage, xWidget* pTabLabel)
{
    gtk_container_set_border_width(GTK_CONTAINER(pPage->GetGtkWidget()), 5);
    return gtk_notebook_append_page(GTK_NOTEBOOK(m_pWidget), pPage->GetGtkWidget(),
                                    pTabLabel != NULL ? pTabLabel->GetGtkWidget() : NULL);
}
