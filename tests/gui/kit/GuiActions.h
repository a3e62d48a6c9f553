// Acting on real widgets as a user would, and finding them: the hands of the GUI tests.
#pragma once

#include <gtk/gtk.h>
#include <string>
#include <vector>

class xWidget;

namespace orvgui {

// Runs the main loop until nothing is pending, with the X server's answers included.
void PumpEvents();

// A key press and release on a window (through GDK's event queue, as typed input arrives); the
// focus widget and the window's key bindings see it. Pumps events afterwards.
void PressKey(GtkWidget* pWindow, guint nKeyval, GdkModifierType modifiers = GdkModifierType(0));
// Typed text: one key press per character into the window's focus widget.
void TypeText(GtkWidget* pWindow, const std::string& text);
// The window manager giving a window the keyboard focus: a focus-in event, after which the window
// is active and its focus widget has the focus (the test server runs no window manager).
void GiveFocus(GtkWidget* pWindow);
// The window manager's close button: a GDK_DELETE event on the queue.
void CloseByWindowManager(GtkWidget* pWindow);

// The button of a dialog's action area that answers this response: a button added by xDialog
// (its response data) or by gtk_dialog_add_button. NULL when there is none.
GtkWidget* FindResponseButton(GtkWidget* pDialog, int nResponse);
// Clicks that button ("clicked", as a user's click emits it); fails the test when there is none.
void ClickResponse(GtkWidget* pDialog, int nResponse);

// Every widget below pRoot (itself included), internal children too, in tree order.
std::vector<GtkWidget*> AllWidgets(GtkWidget* pRoot);
// The wrapper with this control id below pRoot, optionally only among those of one owner; NULL
// when none. Ids are unique per owner, so give the owner when a window has several.
xWidget* FindControl(GtkWidget* pRoot, int nID, const xWidget* pOwner = nullptr);
// The first widget below pRoot of the type.
GtkWidget* FindWidgetOfType(GtkWidget* pRoot, GType type);
// The texts of every label below pRoot, in tree order (mnemonic underscores removed as shown).
std::vector<std::string> LabelTexts(GtkWidget* pRoot);
// The first visible top-level window with the title, NULL when none.
GtkWidget* FindToplevel(const std::string& title);

}  // namespace orvgui
