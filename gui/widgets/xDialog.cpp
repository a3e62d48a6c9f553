#include "gui/widgets/xDialog.h"

#include "gui/widgets/xLayout.h"

namespace {

// GObject data key of a dialog button's response id.
const char kResponseKey[] = "my-xdialog-response-data";

void OnButtonClickedRoute(GtkButton* pButton, gpointer pData)
{
    xDialog* pDialog = static_cast<xDialog*>(pData);
    if (pDialog == NULL) {
        return;
    }
    const int* pnResponse = static_cast<const int*>(g_object_get_data(G_OBJECT(pButton), kResponseKey));
    int nResponse = pnResponse != NULL ? *pnResponse : -1;
    if (pDialog->OnResponse(nResponse)) {
        gtk_dialog_response(GTK_DIALOG(pDialog->GetGtkWidget()), nResponse);
    }
}

// The top-level GTK window of a wrapper, NULL when it is not inside one.
GtkWindow* ToplevelWindowOf(xWidget* pWidget)
{
    if (pWidget == NULL || pWidget->GetGtkWidget() == NULL) {
        return NULL;
    }
    GtkWidget* pTop = gtk_widget_get_toplevel(pWidget->GetGtkWidget());
    return GTK_WIDGET_TOPLEVEL(pTop) && GTK_IS_WINDOW(pTop) ? GTK_WINDOW(pTop) : NULL;
}

}  // namespace

xDialog::xDialog(xWidget* pParent) : xWindow(pParent), m_pContentBox(NULL)
{
    GtkWidget* pDialog = gtk_dialog_new_with_buttons(
        NULL, ToplevelWindowOf(pParent),
        static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT | GTK_DIALOG_NO_SEPARATOR), NULL);
    // The plain window made by xWindow is replaced and never shown; it is destroyed rather than
    // left in GTK's list of top-level windows. Attach releases it and disconnects its routes
    // first, so a dialog never receives OnDeleteEvent or OnDestroy.
    GtkWidget* pPlain = m_pWidget;
    if (pPlain != NULL) {
        g_object_ref(pPlain);
    }
    Attach(pDialog);
    if (pPlain != NULL) {
        gtk_widget_destroy(pPlain);
        g_object_unref(pPlain);
    }
    m_pContentBox = new xBox(GTK_DIALOG(pDialog)->vbox);
}

xDialog::~xDialog()
{
    delete m_pContentBox;
    // A dialog that was never run still has its window; it goes with the object.
    if (m_pWidget != NULL) {
        gtk_widget_destroy(m_pWidget);
    }
}

int xDialog::DoModal()
{
    GtkWidget* pDialog = m_pWidget;
    if (pDialog == NULL) {
        // Run once only: the window is gone after the first run.
        return IDCANCEL;
    }
    gtk_window_set_position(GTK_WINDOW(pDialog), GTK_WIN_POS_CENTER_ON_PARENT);
    m_pContentBox->ShowAll();
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(pDialog), TRUE);
    OnInitDialog();
    int nResponse = gtk_dialog_run(GTK_DIALOG(pDialog));
    delete m_pContentBox;
    m_pContentBox = NULL;
    gtk_widget_destroy(pDialog);
    Release();
    int nResult = nResponse > 0 ? nResponse : IDCANCEL;
    OnEndDialog(nResult);
    return nResult;
}

GtkWidget* xDialog::AddButton(const gchar* button_text, gint nResponseID)
{
    g_return_val_if_fail(button_text != NULL, NULL);
    GtkWidget* pButton = gtk_button_new_from_stock(button_text);
    GTK_WIDGET_SET_FLAGS(pButton, GTK_CAN_DEFAULT);
    gtk_widget_show(pButton);
    int* pnResponse = g_new(int, 1);
    *pnResponse = nResponseID;
    g_object_set_data_full(G_OBJECT(pButton), kResponseKey, pnResponse, g_free);
    GtkWidget* pActionArea = GTK_DIALOG(m_pWidget)->action_area;
    gtk_box_pack_end(GTK_BOX(pActionArea), pButton, FALSE, TRUE, 0);
    if (nResponseID == GTK_RESPONSE_HELP) {
        gtk_button_box_set_child_secondary(GTK_BUTTON_BOX(pActionArea), pButton, TRUE);
    }
    g_signal_connect(pButton, "clicked", G_CALLBACK(OnButtonClickedRoute), this);
    return pButton;
}

void xDialog::SetDefaultResponse(int nResponseID)
{
    gtk_dialog_set_default_response(GTK_DIALOG(m_pWidget), nResponseID);
}

int xDialog::OnResponse(int)
{
    return -1;
}

void xDialog::OnInitDialog() {}

void xDialog::OnEndDialog(int) {}
