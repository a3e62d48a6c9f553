#include "gui/widgets/xWidget.h"

namespace {

// GObject data key under which a widget names the wrapper holding it.
const char kWrapperKey[] = "orv-xwidget";

}  // namespace

xWidget::xWidget(xWidget* pOwner, int nID) : m_pWidget(NULL), m_pOwner(pOwner), m_nID(nID) {}

xWidget::~xWidget()
{
    Release();
}

GtkWidget* xWidget::GetWidget()
{
    return m_pWidget;
}

void xWidget::ShowAll()
{
    gtk_widget_show_all(m_pWidget);
}

void xWidget::Show(int bShow)
{
    if (m_pWidget == NULL) {
        return;
    }
    if (bShow) {
        gtk_widget_show(m_pWidget);
    } else {
        gtk_widget_hide(m_pWidget);
    }
}

void xWidget::Enable(int bEnable)
{
    gtk_widget_set_sensitive(m_pWidget, bEnable);
}

void xWidget::SetSize(int nWidth, int nHeight)
{
    gtk_widget_set_size_request(m_pWidget, nWidth, nHeight);
}

void xWidget::GetSize(int* pnWidth, int* pnHeight)
{
    GtkRequisition req = {0, 0};
    gtk_widget_size_request(m_pWidget, &req);
    if (pnWidth != NULL) {
        *pnWidth = req.width;
    }
    if (pnHeight != NULL) {
        *pnHeight = req.height;
    }
}

void xWidget::OnNofityBtnClicked(int nID)
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityBtnClicked(nID);
    }
}

void xWidget::OnNofitySelectChanged(int nID)
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofitySelectChanged(nID);
    }
}

void xWidget::OnNofityEditChanged(int nID)
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityEditChanged(nID);
    }
}

void xWidget::OnNofityValueChanged(int nID)
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityValueChanged(nID);
    }
}

int xWidget::OnNofityPaint(int nID, GdkEventExpose* pEvent)
{
    return m_pOwner != NULL ? m_pOwner->OnNofityPaint(nID, pEvent) : 0;
}

int xWidget::OnNofityFocus(int nID, short bIn)
{
    return m_pOwner != NULL ? m_pOwner->OnNofityFocus(nID, bIn) : 0;
}

int xWidget::OnDeleteEvent()
{
    return 0;
}

void xWidget::OnDestroy() {}

int xWidget::OnFocusEvent(short bIn)
{
    return m_pOwner != NULL ? m_pOwner->OnNofityFocus(m_nID, bIn) : 0;
}

void xWidget::Attach(GtkWidget* pWidget)
{
    if (pWidget == m_pWidget) {
        return;
    }
    Release();
    m_pWidget = pWidget;
    if (pWidget != NULL) {
        // A new widget is floating; sinking it makes the wrapper's the one reference that keeps
        // it, and a container it is packed into takes its own. Top-level windows are not
        // floating (GTK keeps them), so this adds one reference there as well.
        g_object_ref_sink(pWidget);
        g_object_set_data(G_OBJECT(pWidget), kWrapperKey, this);
    }
}

void xWidget::Release()
{
    if (m_pWidget != NULL && G_IS_OBJECT(m_pWidget)) {
        if (g_object_get_data(G_OBJECT(m_pWidget), kWrapperKey) == this) {
            g_object_set_data(G_OBJECT(m_pWidget), kWrapperKey, NULL);
        }
        // The widget may outlive the wrapper (it belongs to its window): no signal of it may
        // reach the wrapper afterwards.
        g_signal_handlers_disconnect_matched(m_pWidget, G_SIGNAL_MATCH_DATA, 0, 0, NULL, NULL, this);
        g_object_unref(m_pWidget);
    }
    m_pWidget = NULL;
}

void xWidget::PostDeleteEvent()
{
    if (m_pWidget == NULL || m_pWidget->window == NULL) {
        return;
    }
    GdkEvent* pEvent = gdk_event_new(GDK_DELETE);
    pEvent->any.window = GDK_WINDOW(g_object_ref(m_pWidget->window));
    pEvent->any.send_event = TRUE;
    gdk_event_put(pEvent);
    gdk_event_free(pEvent);
}

xWidget* xWidget::FromGtkWidget(GtkWidget* pWidget)
{
    if (pWidget == NULL) {
        return NULL;
    }
    return static_cast<xWidget*>(g_object_get_data(G_OBJECT(pWidget), kWrapperKey));
}

gboolean xWidget::OnEventRoute(GtkWidget*, GdkEvent* pEvent, gpointer pData)
{
    xWidget* pThis = static_cast<xWidget*>(pData);
    if (pThis == NULL || pEvent == NULL) {
        return TRUE;
    }
    switch (pEvent->type) {
    case GDK_DELETE:
        return pThis->OnDeleteEvent();
    case GDK_FOCUS_CHANGE:
        return pThis->OnFocusEvent(pEvent->focus_change.in);
    default:
        return TRUE;
    }
}
