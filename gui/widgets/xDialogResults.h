// Result and response ids shared by the message box, the dialogs and the dialog classes.
#pragma once

enum {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};
