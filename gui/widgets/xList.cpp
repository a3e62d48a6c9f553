#include "gui/widgets/xList.h"

#include "core/util/StringUtil.h"
#include "gui/widgets/xImage.h"

namespace {

void OnSelChangedRoute(GtkWidget*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xListBase*>(pData)->OnSelChanged();
    }
}

}  // namespace

xListBase::xListBase(xWidget* pOwner, int nID)
    : xWidget(pOwner, nID),
      m_pStore(gtk_list_store_new(3, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_POINTER)),
      m_pPixbufRenderer(NULL),
      m_pTextRenderer(NULL)
{
}

xListBase::~xListBase()
{
    if (m_pPixbufRenderer != NULL) {
        g_object_unref(m_pPixbufRenderer);
    }
    if (m_pTextRenderer != NULL) {
        g_object_unref(m_pTextRenderer);
    }
    g_object_unref(m_pStore);
}

void xListBase::CreateRenderers()
{
    m_pPixbufRenderer = gtk_cell_renderer_pixbuf_new();
    g_object_ref_sink(m_pPixbufRenderer);
    m_pTextRenderer = gtk_cell_renderer_text_new();
    g_object_ref_sink(m_pTextRenderer);
}

bool xListBase::GetRow(int nIndex, GtkTreeIter* pIter)
{
    return nIndex >= 0 && gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(m_pStore), pIter, NULL, nIndex);
}

void xListBase::NotifySelChanged()
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofitySelectChanged(m_nID);
    }
}

void xListBase::ResetContent()
{
    gtk_list_store_clear(m_pStore);
}

int xListBase::GetCount()
{
    return gtk_tree_model_iter_n_children(GTK_TREE_MODEL(m_pStore), NULL);
}

int xListBase::AddString(const char* pszText, gpointer pItemData, int nImageID)
{
    int nIndex = GetCount();
    GtkTreeIter iter;
    gtk_list_store_append(m_pStore, &iter);
    gtk_list_store_set(m_pStore, &iter, LIST_COLUMN_TEXT, pszText, LIST_COLUMN_DATA, pItemData, -1);
    if (nImageID != 0) {
        gtk_list_store_set(m_pStore, &iter, LIST_COLUMN_PIXBUF, BuiltinImageOrNull(nImageID), -1);
    }
    return nIndex;
}

void xListBase::SetItemData(int nIndex, gpointer pItemData)
{
    GtkTreeIter iter;
    if (GetRow(nIndex, &iter)) {
        gtk_list_store_set(m_pStore, &iter, LIST_COLUMN_DATA, pItemData, -1);
    }
}

gpointer xListBase::GetCurSelData()
{
    return GetItemData(GetCurSel());
}

char* xListBase::GetCurSelText()
{
    int nIndex = GetCurSel();
    return nIndex >= 0 ? GetText(nIndex) : NULL;
}

int xListBase::SelectString(const char* pszText)
{
    if (pszText != NULL) {
        int nCount = GetCount();
        for (int i = 0; i < nCount; ++i) {
            char* pszRow = GetText(i);
            bool bEqual = pszRow != NULL && SafeStrcmp(pszRow, pszText) == 0;
            g_free(pszRow);
            if (bEqual) {
                return SetCurSel(i);
            }
        }
    }
    return SetCurSel(-1);
}

int xListBase::FindItemData(gpointer pItemData)
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (GetItemData(i) == pItemData) {
            return i;
        }
    }
    return -1;
}

int xListBase::SelectItemData(gpointer pItemData)
{
    return SetCurSel(FindItemData(pItemData));
}

char* xListBase::GetText(int nIndex)
{
    GtkTreeIter iter;
    if (!GetRow(nIndex, &iter)) {
        return NULL;
    }
    char* pszText = NULL;
    gtk_tree_model_get(GTK_TREE_MODEL(m_pStore), &iter, LIST_COLUMN_TEXT, &pszText, -1);
    return pszText;
}

gpointer xListBase::GetItemData(int nIndex)
{
    GtkTreeIter iter;
    if (!GetRow(nIndex, &iter)) {
        return NULL;
    }
    gpointer pData = NULL;
    gtk_tree_model_get(GTK_TREE_MODEL(m_pStore), &iter, LIST_COLUMN_DATA, &pData, -1);
    return pData;
}

void xListBase::SetItemImage(int nIndex, GdkPixbuf* pPixbuf)
{
    GtkTreeIter iter;
    if (GetRow(nIndex, &iter)) {
        gtk_list_store_set(m_pStore, &iter, LIST_COLUMN_PIXBUF, pPixbuf, -1);
    }
}

xListBox::xListBox(xWidget* pOwner, int nID, const char* pszTitle)
    : xListBase(pOwner, nID), m_pScrolled(NULL), m_pTreeView(NULL)
{
    Attach(gtk_frame_new(NULL));
    gtk_frame_set_shadow_type(GTK_FRAME(m_pWidget), GTK_SHADOW_IN);
    m_pScrolled = gtk_scrolled_window_new(NULL, NULL);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(m_pScrolled), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    m_pTreeView = gtk_tree_view_new_with_model(GTK_TREE_MODEL(m_pStore));
    gtk_container_add(GTK_CONTAINER(m_pScrolled), m_pTreeView);
    gtk_container_add(GTK_CONTAINER(m_pWidget), m_pScrolled);

    CreateRenderers();
    GtkTreeViewColumn* pColumn = gtk_tree_view_column_new_with_attributes(pszTitle != NULL ? pszTitle : "",
                                                                          m_pTextRenderer, "text", LIST_COLUMN_TEXT, NULL);
    gtk_tree_view_append_column(GTK_TREE_VIEW(m_pTreeView), pColumn);
    if (pszTitle == NULL) {
        gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(m_pTreeView), FALSE);
    }
    g_signal_connect(m_pTreeView, "cursor-changed", G_CALLBACK(OnSelChangedRoute), this);
}

xListBox::~xListBox()
{
    // The tree view lives on in its window; its cursor changes must not reach a deleted list.
    if (m_pTreeView != NULL && G_IS_OBJECT(m_pTreeView)) {
        g_signal_handlers_disconnect_matched(m_pTreeView, G_SIGNAL_MATCH_DATA, 0, 0, NULL, NULL, this);
    }
}

GtkWidget* xListBox::GetWidget()
{
    return m_pTreeView;
}

int xListBox::GetCurSel()
{
    GtkTreePath* pPath = NULL;
    gtk_tree_view_get_cursor(GTK_TREE_VIEW(m_pTreeView), &pPath, NULL);
    if (pPath == NULL) {
        return -1;
    }
    int nIndex = -1;
    GtkTreeSelection* pSelection = gtk_tree_view_get_selection(GTK_TREE_VIEW(m_pTreeView));
    if (gtk_tree_selection_path_is_selected(pSelection, pPath) && gtk_tree_path_get_depth(pPath) == 1) {
        nIndex = gtk_tree_path_get_indices(pPath)[0];
    }
    gtk_tree_path_free(pPath);
    return nIndex;
}

int xListBox::SetCurSel(int nIndex)
{
    if (nIndex < 0) {
        gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(GTK_TREE_VIEW(m_pTreeView)));
        return -1;
    }
    if (nIndex >= GetCount()) {
        return -1;
    }
    GtkTreePath* pPath = gtk_tree_path_new_from_indices(nIndex, -1);
    gtk_tree_view_set_cursor(GTK_TREE_VIEW(m_pTreeView), pPath, NULL, FALSE);
    gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(m_pTreeView), pPath, NULL, FALSE, 0.0f, 0.0f);
    gtk_tree_path_free(pPath);
    return nIndex;
}

void xListBox::OnSelChanged()
{
    NotifySelChanged();
}

xComboBox::xComboBox(xWidget* pOwner, int nID) : xListBase(pOwner, nID)
{
    Attach(gtk_combo_box_new_with_model(GTK_TREE_MODEL(m_pStore)));
    CreateRenderers();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(m_pWidget), m_pPixbufRenderer, FALSE);
    gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(m_pWidget), m_pPixbufRenderer, "pixbuf", LIST_COLUMN_PIXBUF, NULL);
    g_object_set(m_pPixbufRenderer, "xalign", 0.0f, NULL);
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(m_pWidget), m_pTextRenderer, TRUE);
    gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(m_pWidget), m_pTextRenderer, "text", LIST_COLUMN_TEXT, NULL);
    g_signal_connect(m_pWidget, "changed", G_CALLBACK(OnSelChangedRoute), this);
}

int xComboBox::GetCurSel()
{
    return gtk_combo_box_get_active(GTK_COMBO_BOX(m_pWidget));
}

int xComboBox::SetCurSel(int nIndex)
{
    // GTK refuses indexes below -1 with a critical; they select nothing, like -1.
    if (nIndex < -1) {
        nIndex = -1;
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(m_pWidget), nIndex);
    return nIndex >= 0 && gtk_combo_box_get_active(GTK_COMBO_BOX(m_pWidget)) == nIndex ? nIndex : -1;
}

void xComboBox::OnSelChanged()
{
    NotifySelChanged();
}
