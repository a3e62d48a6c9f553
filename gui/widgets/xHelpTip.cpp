#include "gui/widgets/xHelpTip.h"

#include "gui/widgets/xImage.h"

xHelpTip::xHelpTip(xWidget* pAnchor, const char* pszText, int nImageID, const char* pszStockID)
    : xBin(pAnchor, -1), m_nTimerID(0), m_nDelay(2000), m_nToplevelHandler(0), m_pTipLabel(NULL), m_pToplevel(NULL)
{
    Attach(gtk_window_new(GTK_WINDOW_POPUP));
    if (pszText != NULL) {
        m_pTipLabel = gtk_label_new(pszText);
        gtk_label_set_line_wrap(GTK_LABEL(m_pTipLabel), TRUE);
        GtkWidget* pImage = NULL;
        if (pszStockID != NULL) {
            pImage = gtk_image_new_from_stock(pszStockID, GTK_ICON_SIZE_BUTTON);
        } else if ((nImageID & 0xFFFF) != 0) {
            pImage = gtk_image_new_from_pixbuf(BuiltinImageOrNull(nImageID));
        }
        if (pImage != NULL) {
            GtkWidget* pBox = gtk_hbox_new(FALSE, 2);
            gtk_box_pack_start(GTK_BOX(pBox), pImage, FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(pBox), m_pTipLabel, FALSE, FALSE, 0);
            gtk_container_add(GTK_CONTAINER(m_pWidget), pBox);
        } else {
            gtk_container_add(GTK_CONTAINER(m_pWidget), m_pTipLabel);
        }
    }
    // The theme's tooltip look.
    gtk_widget_set_name(m_pWidget, "gtk-tooltips");
    gtk_window_set_position(GTK_WINDOW(m_pWidget), GTK_WIN_POS_CENTER);
    gtk_window_set_type_hint(GTK_WINDOW(m_pWidget), GDK_WINDOW_TYPE_HINT_TOOLTIP);
    gtk_widget_set_app_paintable(m_pWidget, TRUE);
    gtk_container_set_border_width(GTK_CONTAINER(m_pWidget), 4);
    gtk_window_set_policy(GTK_WINDOW(m_pWidget), FALSE, FALSE, TRUE);
    gtk_widget_ensure_style(m_pWidget);
    gtk_widget_add_events(m_pWidget, GDK_ALL_EVENTS_MASK);
    g_signal_connect(m_pWidget, "expose-event", G_CALLBACK(OnTipExpose), this);
    g_signal_connect_after(m_pWidget, "event-after", G_CALLBACK(OnTipEventAfter), this);
}

xHelpTip::~xHelpTip()
{
    // A tip deleted while shown must leave nothing behind that would call it afterwards.
    StopTimer();
    DisconnectToplevel();
    if (m_pWidget != NULL) {
        gtk_widget_destroy(m_pWidget);
    }
}

void xHelpTip::StopTimer()
{
    if (m_nTimerID != 0) {
        g_source_remove(m_nTimerID);
        m_nTimerID = 0;
    }
}

void xHelpTip::StartTimer()
{
    StopTimer();
    m_nTimerID = g_timeout_add(m_nDelay, OnTipTimer, this);
}

void xHelpTip::DisconnectToplevel()
{
    if (m_pToplevel != NULL) {
        if (m_nToplevelHandler != 0) {
            g_signal_handler_disconnect(m_pToplevel, m_nToplevelHandler);
        }
        g_object_remove_weak_pointer(G_OBJECT(m_pToplevel), reinterpret_cast<gpointer*>(&m_pToplevel));
        m_pToplevel = NULL;
    }
    m_nToplevelHandler = 0;
}

void xHelpTip::PlaceTip(int nX, int nY, int nTipWidth, int nScreenWidth, int* pnX, int* pnY)
{
    if (nX + nTipWidth > nScreenWidth) {
        nX = nScreenWidth - nTipWidth;
    } else if (nX < 0) {
        nX = 0;
    }
    *pnX = nX;
    *pnY = nY;
}

void xHelpTip::Show(int bShow)
{
    GtkWidget* pAnchor = m_pOwner != NULL ? m_pOwner->GetGtkWidget() : NULL;
    StopTimer();
    if (!bShow) {
        if (m_nToplevelHandler != 0) {
            DisconnectToplevel();
            gtk_widget_hide(m_pWidget);
        }
        return;
    }
    if (pAnchor == NULL) {
        return;
    }
    bool bFirstShow = m_nToplevelHandler == 0;
    if (bFirstShow) {
        GtkWidget* pTop = gtk_widget_get_toplevel(pAnchor);
        gtk_widget_add_events(pTop, GDK_BUTTON1_MOTION_MASK);
        m_pToplevel = pTop;
        g_object_add_weak_pointer(G_OBJECT(pTop), reinterpret_cast<gpointer*>(&m_pToplevel));
        m_nToplevelHandler = g_signal_connect(pTop, "event-after", G_CALLBACK(OnToplevelEventAfter), this);
        // The content counts in the tip's size only once it is shown.
        GtkWidget* pContent = gtk_bin_get_child(GTK_BIN(m_pWidget));
        if (pContent != NULL) {
            gtk_widget_show_all(pContent);
        }
    }
    StartTimer();

    // The tip's top-left corner at the anchor's bottom-right corner. It is moved there before it
    // is first mapped, so that it never flashes up at the centre of the screen (where it could
    // take the pointer and hold its own timer).
    int nTipWidth = 0;
    GetSize(&nTipWidth, NULL);
    int nX = 0;
    int nY = 0;
    if (pAnchor->window != NULL) {
        gdk_window_get_origin(pAnchor->window, &nX, &nY);
    }
    if (GTK_WIDGET_NO_WINDOW(pAnchor)) {
        nX += pAnchor->allocation.x;
        nY += pAnchor->allocation.y;
    }
    nX += pAnchor->allocation.width;
    nY += pAnchor->allocation.height;
    int nScreenWidth = gdk_screen_get_width(gtk_widget_get_screen(m_pWidget));
    PlaceTip(nX, nY, nTipWidth, nScreenWidth, &nX, &nY);
    gtk_window_move(GTK_WINDOW(m_pWidget), nX, nY);
    gtk_widget_show(m_pWidget);
}

void xHelpTip::SetText(const char* pszText)
{
    if (m_pTipLabel != NULL) {
        gtk_label_set_text(GTK_LABEL(m_pTipLabel), pszText != NULL ? pszText : "");
    }
}

void xHelpTip::OnHideTimeout()
{
    m_nTimerID = 0;
    xWidget::Show(0);
}

gboolean xHelpTip::OnTipTimer(gpointer pData)
{
    xHelpTip* pThis = static_cast<xHelpTip*>(pData);
    // The source ends with this call; OnHideTimeout forgets its id.
    pThis->OnHideTimeout();
    return FALSE;
}

gboolean xHelpTip::OnTipExpose(GtkWidget* pWidget, GdkEventExpose* pEvent, gpointer pData)
{
    if (pData == NULL || pEvent == NULL) {
        return FALSE;
    }
    gtk_paint_flat_box(pWidget->style, pWidget->window, GTK_STATE_NORMAL, GTK_SHADOW_OUT, NULL, pWidget, "tooltip", 0, 0,
                       -1, -1);
    return FALSE;
}

void xHelpTip::OnTipEventAfter(GtkWidget*, GdkEvent* pEvent, gpointer pData)
{
    xHelpTip* pThis = static_cast<xHelpTip*>(pData);
    if (pThis == NULL || pEvent == NULL) {
        return;
    }
    switch (pEvent->type) {
    case GDK_ENTER_NOTIFY:
        pThis->StopTimer();
        break;
    case GDK_LEAVE_NOTIFY:
        pThis->StartTimer();
        break;
    case GDK_2BUTTON_PRESS:
        // Not from the timer: a running timer must not fire later on a hidden or deleted tip.
        pThis->StopTimer();
        pThis->OnHideTimeout();
        break;
    default:
        break;
    }
}

void xHelpTip::OnToplevelEventAfter(GtkWidget* pWidget, GdkEvent* pEvent, gpointer pData)
{
    xHelpTip* pThis = static_cast<xHelpTip*>(pData);
    if (pThis == NULL || pEvent == NULL) {
        return;
    }
    bool bHide = (pEvent->type == GDK_FOCUS_CHANGE && !pEvent->focus_change.in) ||
                 (pEvent->type == GDK_WINDOW_STATE && GTK_IS_WINDOW(pWidget) && !gtk_window_is_active(GTK_WINDOW(pWidget)));
    if (bHide) {
        pThis->StopTimer();
        pThis->OnHideTimeout();
    }
}
