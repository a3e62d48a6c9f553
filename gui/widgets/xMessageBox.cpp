#include "gui/widgets/xMessageBox.h"

#include <cstdarg>

#include <gtk/gtk.h>

#include "gui/widgets/xWidget.h"

namespace {

const tagMSGBOXBUTTON kOk[] = {{GTK_STOCK_OK, IDOK}};
const tagMSGBOXBUTTON kOkCancel[] = {{GTK_STOCK_OK, IDOK}, {GTK_STOCK_CANCEL, IDCANCEL}};
const tagMSGBOXBUTTON kYesNoCancel[] = {{GTK_STOCK_YES, IDYES}, {GTK_STOCK_NO, IDNO}, {GTK_STOCK_CANCEL, IDCANCEL}};
const tagMSGBOXBUTTON kYesNo[] = {{GTK_STOCK_YES, IDYES}, {GTK_STOCK_NO, IDNO}};
const tagMSGBOXBUTTON kNoCancel[] = {{GTK_STOCK_NO, IDNO}, {GTK_STOCK_CANCEL, IDCANCEL}};

}  // namespace

int MessageBoxButtons(int nStyle, const tagMSGBOXBUTTON** ppButtons)
{
    switch (nStyle & 0x0F) {
    case MB_OKCANCEL:
        *ppButtons = kOkCancel;
        return G_N_ELEMENTS(kOkCancel);
    case MB_YESNOCANCEL:
        *ppButtons = kYesNoCancel;
        return G_N_ELEMENTS(kYesNoCancel);
    case MB_YESNO:
        *ppButtons = kYesNo;
        return G_N_ELEMENTS(kYesNo);
    case MB_NOCANCEL:
        *ppButtons = kNoCancel;
        return G_N_ELEMENTS(kNoCancel);
    default:
        *ppButtons = kOk;
        return G_N_ELEMENTS(kOk);
    }
}

int MessageBoxType(int nStyle)
{
    switch (nStyle & 0xF0) {
    case MB_ICONERROR:
        return GTK_MESSAGE_ERROR;
    case MB_ICONQUESTION:
        return GTK_MESSAGE_QUESTION;
    case MB_ICONWARNING:
        return GTK_MESSAGE_WARNING;
    case MB_ICONINFORMATION:
        return GTK_MESSAGE_INFO;
    default:
        return GTK_MESSAGE_OTHER;
    }
}

int xMessageBox(xWidget* pParent, int nStyle, const char* pszTitle, const char* pszFormat, ...)
{
    // The window the parent is in: a page or a control opening a box stands for its window.
    GtkWindow* pParentWindow = NULL;
    if (pParent != NULL && pParent->GetGtkWidget() != NULL) {
        GtkWidget* pTop = gtk_widget_get_toplevel(pParent->GetGtkWidget());
        if (GTK_WIDGET_TOPLEVEL(pTop) && GTK_IS_WINDOW(pTop)) {
            pParentWindow = GTK_WINDOW(pTop);
        }
    }
    const tagMSGBOXBUTTON* pButtons = NULL;
    int nButtons = MessageBoxButtons(nStyle, &pButtons);
    int nDefault = pButtons[nButtons - 1].nResult;

    // A text the tables or resource files lack arrives as NULL: an empty message, not a crash.
    gchar* pszText = NULL;
    if (pszFormat != NULL) {
        va_list args;
        va_start(args, pszFormat);
        pszText = g_strdup_vprintf(pszFormat, args);
        va_end(args);
        if (pszText == NULL) {
            return nDefault;
        }
    }
    GtkWidget* pBox = gtk_message_dialog_new(pParentWindow, GTK_DIALOG_DESTROY_WITH_PARENT,
                                             static_cast<GtkMessageType>(MessageBoxType(nStyle)), GTK_BUTTONS_NONE,
                                             "%s", pszText != NULL ? pszText : "");
    g_free(pszText);

    const char* pszShownTitle = pszTitle;
    if (pszShownTitle == NULL && pParentWindow != NULL) {
        pszShownTitle = gtk_window_get_title(pParentWindow);
    }
    if (pszShownTitle != NULL) {
        gtk_window_set_title(GTK_WINDOW(pBox), pszShownTitle);
    }
    for (int i = 0; i < nButtons; ++i) {
        gtk_dialog_add_button(GTK_DIALOG(pBox), pButtons[i].pszStockID, pButtons[i].nResult);
    }
    gtk_dialog_set_default_response(GTK_DIALOG(pBox), nDefault);

    int nResponse = gtk_dialog_run(GTK_DIALOG(pBox));
    gtk_widget_destroy(pBox);
    for (int i = 0; i < nButtons; ++i) {
        if (pButtons[i].nResult == nResponse) {
            return nResponse;
        }
    }
    return nDefault;
}
