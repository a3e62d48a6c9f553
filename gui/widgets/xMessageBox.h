// The modal message box.
#pragma once

#include "gui/widgets/xDialogResults.h"

class xWidget;

// Style word of xMessageBox: the low four bits choose the buttons, the next four the icon.
enum {
    MB_OK = 0x00,           // OK; also every low-nibble value not listed here
    MB_OKCANCEL = 0x01,     // OK, Cancel
    MB_YESNOCANCEL = 0x03,  // Yes, No, Cancel
    MB_YESNO = 0x04,        // Yes, No
    MB_NOCANCEL = 0x06,     // No, Cancel
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,  // any other icon nibble shows no icon
};

// Shows a modal message box with the printf-style formatted text (shown literally, a NULL format
// is an empty text) and returns the id of the button pressed. The last button is the default
// answer, also when the box is closed without a button. A NULL title takes the parent window's
// title; with neither, no title is set.
int xMessageBox(xWidget* pParent, int nStyle, const char* pszTitle, const char* pszFormat, ...)
    __attribute__((format(printf, 4, 5)));

// One button of a message box: its stock id and the answer it gives.
struct tagMSGBOXBUTTON {
    const char* pszStockID;
    int nResult;
};

// The buttons of a style, in the order shown; returns their number (1 to 3).
int MessageBoxButtons(int nStyle, const tagMSGBOXBUTTON** ppButtons);
// The GtkMessageType of a style's icon nibble (an int, so that this header needs no GTK).
int MessageBoxType(int nStyle);
