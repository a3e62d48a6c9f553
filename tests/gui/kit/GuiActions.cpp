#include "gui/kit/GuiActions.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include "gui/widgets/xWidget.h"

namespace orvgui {

namespace {

void CollectWidgets(GtkWidget* pWidget, gpointer pData)
{
    auto* pList = static_cast<std::vector<GtkWidget*>*>(pData);
    pList->push_back(pWidget);
    if (GTK_IS_CONTAINER(pWidget)) {
        gtk_container_forall(GTK_CONTAINER(pWidget), CollectWidgets, pData);
    }
}

void PutKeyEvent(GtkWidget* pWindow, GdkEventType type, guint nKeyval, GdkModifierType modifiers)
{
    GdkEvent* pEvent = gdk_event_new(type);
    pEvent->key.window = GDK_WINDOW(g_object_ref(pWindow->window));
    pEvent->key.send_event = TRUE;
    pEvent->key.time = GDK_CURRENT_TIME;
    pEvent->key.state = modifiers;
    pEvent->key.keyval = nKeyval;
    GdkKeymapKey* pKeys = nullptr;
    gint nKeys = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_default(), nKeyval, &pKeys, &nKeys) && nKeys > 0) {
        pEvent->key.hardware_keycode = static_cast<guint16>(pKeys[0].keycode);
        pEvent->key.group = static_cast<guint8>(pKeys[0].group);
    }
    g_free(pKeys);
    gunichar ch = gdk_keyval_to_unicode(nKeyval);
    gchar utf8[8] = {0};
    if (ch != 0 && !g_unichar_iscntrl(ch)) {
        g_unichar_to_utf8(ch, utf8);
    }
    pEvent->key.string = g_strdup(utf8);
    pEvent->key.length = static_cast<gint>(strlen(utf8));
    gdk_event_put(pEvent);
    gdk_event_free(pEvent);
}

}  // namespace

void PumpEvents()
{
    for (int round = 0; round < 3; ++round) {
        gdk_flush();
        while (gtk_events_pending()) {
            gtk_main_iteration_do(FALSE);
        }
        gdk_window_process_all_updates();
    }
}

void PressKey(GtkWidget* pWindow, guint nKeyval, GdkModifierType modifiers)
{
    ASSERT_NE(pWindow->window, nullptr) << "key press on a window that is not realized";
    PutKeyEvent(pWindow, GDK_KEY_PRESS, nKeyval, modifiers);
    PutKeyEvent(pWindow, GDK_KEY_RELEASE, nKeyval, modifiers);
    PumpEvents();
}

void TypeText(GtkWidget* pWindow, const std::string& text)
{
    for (char ch : text) {
        gunichar uc = static_cast<unsigned char>(ch);
        PressKey(pWindow, gdk_unicode_to_keyval(uc));
    }
}

void GiveFocus(GtkWidget* pWindow)
{
    ASSERT_NE(pWindow->window, nullptr) << "focus for a window that is not realized";
    GdkEvent* pEvent = gdk_event_new(GDK_FOCUS_CHANGE);
    pEvent->focus_change.window = GDK_WINDOW(g_object_ref(pWindow->window));
    pEvent->focus_change.send_event = TRUE;
    pEvent->focus_change.in = TRUE;
    gdk_event_put(pEvent);
    gdk_event_free(pEvent);
    PumpEvents();
}

void CloseByWindowManager(GtkWidget* pWindow)
{
    ASSERT_NE(pWindow->window, nullptr) << "close of a window that is not realized";
    GdkEvent* pEvent = gdk_event_new(GDK_DELETE);
    pEvent->any.window = GDK_WINDOW(g_object_ref(pWindow->window));
    pEvent->any.send_event = TRUE;
    gdk_event_put(pEvent);
    gdk_event_free(pEvent);
}

GtkWidget* FindResponseButton(GtkWidget* pDialog, int nResponse)
{
    if (!GTK_IS_DIALOG(pDialog)) {
        return nullptr;
    }
    GList* pChildren = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(pDialog)->action_area));
    GtkWidget* pFound = nullptr;
    for (GList* p = pChildren; p != nullptr && pFound == nullptr; p = p->next) {
        GtkWidget* pChild = GTK_WIDGET(p->data);
        const int* pnOwn = static_cast<const int*>(g_object_get_data(G_OBJECT(pChild), "my-xdialog-response-data"));
        int nAnswer = pnOwn != nullptr ? *pnOwn : gtk_dialog_get_response_for_widget(GTK_DIALOG(pDialog), pChild);
        if (nAnswer == nResponse && (pnOwn != nullptr || nAnswer != GTK_RESPONSE_NONE)) {
            pFound = pChild;
        }
    }
    g_list_free(pChildren);
    return pFound;
}

void ClickResponse(GtkWidget* pDialog, int nResponse)
{
    GtkWidget* pButton = FindResponseButton(pDialog, nResponse);
    ASSERT_NE(pButton, nullptr) << "no button answers response " << nResponse;
    gtk_button_clicked(GTK_BUTTON(pButton));
}

std::vector<GtkWidget*> AllWidgets(GtkWidget* pRoot)
{
    std::vector<GtkWidget*> list;
    if (pRoot != nullptr) {
        CollectWidgets(pRoot, &list);
    }
    return list;
}

xWidget* FindControl(GtkWidget* pRoot, int nID, const xWidget* pOwner)
{
    for (GtkWidget* pWidget : AllWidgets(pRoot)) {
        xWidget* pWrapper = xWidget::FromGtkWidget(pWidget);
        if (pWrapper != nullptr && pWrapper->GetID() == nID && (pOwner == nullptr || pWrapper->GetOwner() == pOwner)) {
            return pWrapper;
        }
    }
    return nullptr;
}

GtkWidget* FindWidgetOfType(GtkWidget* pRoot, GType type)
{
    for (GtkWidget* pWidget : AllWidgets(pRoot)) {
        if (G_TYPE_CHECK_INSTANCE_TYPE(pWidget, type)) {
            return pWidget;
        }
    }
    return nullptr;
}

std::vector<std::string> LabelTexts(GtkWidget* pRoot)
{
    std::vector<std::string> texts;
    for (GtkWidget* pWidget : AllWidgets(pRoot)) {
        if (GTK_IS_LABEL(pWidget)) {
            texts.push_back(gtk_label_get_text(GTK_LABEL(pWidget)));
        }
    }
    return texts;
}

GtkWidget* FindToplevel(const std::string& title)
{
    GtkWidget* pFound = nullptr;
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p != nullptr && pFound == nullptr; p = p->next) {
        GtkWidget* pWindow = GTK_WIDGET(p->data);
        const char* pszTitle = gtk_window_get_title(GTK_WINDOW(pWindow));
        if (GTK_WIDGET_VISIBLE(pWindow) && title == (pszTitle != nullptr ? pszTitle : "")) {
            pFound = pWindow;
        }
    }
    g_list_free(pList);
    return pFound;
}

}  // namespace orvgui
