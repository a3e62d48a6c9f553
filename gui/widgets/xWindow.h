// Top-level windows.
#pragma once

#include "gui/widgets/xContainer.h"

// A GTK top-level window; its "delete-event" and "destroy" reach OnDeleteEvent and OnDestroy.
class xWindow : public xBin {
public:
    // pOwner receives the window's unhandled notifications (NULL for the main window).
    explicit xWindow(xWidget* pOwner);

    virtual void SetTitle(const char* pszTitle);
    // A GtkWindowPosition value.
    virtual void SetPosition(int nPosition);
    virtual void SetResizable(int bResizable);
    // The built-in picture of the id as the window's icon; an id whose low 16 bits are 0 clears it.
    virtual void SetIcon(int nImageID);
    // Builds the window's content; empty here.
    virtual void OnCreate();
};
