// Modal dialogs: built once, run once with DoModal, then deleted by the handler that opened them.
#pragma once

#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xWindow.h"

class xBox;

// Dialog classes build their controls into GetContentBox with the dialog as owner, add "gtk-ok"
// (IDOK) and "gtk-cancel" (IDCANCEL), fill the controls in OnInitDialog and write the edited data
// back in OnEndDialog when the result is IDOK. Notifications a dialog class does not handle climb
// to the dialog's parent.
class xDialog : public xWindow {
public:
    // pParent: the window, page or control that opens the dialog (not NULL); the dialog is
    // transient for its top-level window.
    explicit xDialog(xWidget* pParent);
    ~xDialog() override;

    // Shows the dialog, runs it until a button's response or a close, destroys it and returns
    // the response when positive, else IDCANCEL (window-manager close, Escape).
    virtual int DoModal();
    // A stock button (button_text is a stock id such as "gtk-ok") that ends the dialog with the
    // response id unless OnResponse vetoes; -11 (help) goes to the secondary group. NULL text:
    // a GLib critical and no button.
    virtual GtkWidget* AddButton(const gchar* button_text, gint nResponseID);
    virtual void SetDefaultResponse(int nResponseID);
    // A button was clicked: nonzero ends the dialog with its response, 0 keeps it open. -1 here.
    virtual int OnResponse(int nResponseID);
    // Every control exists; fill them. Empty here.
    virtual void OnInitDialog();
    // The dialog's window is gone; the controls' wrappers can still be read. Empty here.
    virtual void OnEndDialog(int nResult);

    xBox* GetContentBox() const { return m_pContentBox; }

protected:
    xBox* m_pContentBox;
};
