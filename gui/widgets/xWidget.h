// The root of every widget wrapper: one GTK widget, the owner that receives its notifications and
// the control id those notifications carry.
#pragma once

#include <gtk/gtk.h>

// Every GTK widget the program makes is wrapped by an object of a class derived from xWidget. The
// wrapper holds exactly one reference on its widget and drops it when deleted; deleting a wrapper
// never destroys the widget (GTK destroys it with its window). Signals reach the wrapper's virtual
// operations and are passed on to m_pOwner as notifications carrying m_nID; an owner that does not
// override a notification passes it on to its own owner with the id unchanged.
class xWidget {
public:
    // owner: receives the notifications (NULL drops them); nID: the control id, -1 anonymous.
    xWidget(xWidget* pOwner, int nID);
    virtual ~xWidget();

    xWidget(const xWidget&) = delete;
    xWidget& operator=(const xWidget&) = delete;

    // The widget that stands for this wrapper when another widget must point at it (mnemonic
    // targets); the wrapped widget unless a subclass says otherwise.
    virtual GtkWidget* GetWidget();
    virtual void ShowAll();
    // Nonzero shows, zero hides; nothing without a widget.
    virtual void Show(int bShow);
    virtual void Enable(int bEnable);
    virtual void SetSize(int nWidth, int nHeight);
    // The requested size; either pointer may be NULL.
    virtual void GetSize(int* pnWidth, int* pnHeight);

    // Notifications: forwarded to the owner with the id unchanged; dropped without owner.
    virtual void OnNofityBtnClicked(int nID);
    virtual void OnNofitySelectChanged(int nID);
    virtual void OnNofityEditChanged(int nID);
    virtual void OnNofityValueChanged(int nID);
    // The owner's answer; 0 without owner.
    virtual int OnNofityPaint(int nID, GdkEventExpose* pEvent);
    virtual int OnNofityFocus(int nID, short bIn);

    // A window's "delete-event": 0 lets GTK destroy the window, nonzero keeps it open.
    virtual int OnDeleteEvent();
    // A window's "destroy".
    virtual void OnDestroy();
    // Focus change of an entry: the owner's OnNofityFocus (m_nID, bIn); 0 without owner. Nonzero
    // stops GTK's own handling of the focus event.
    virtual int OnFocusEvent(short bIn);

    GtkWidget* GetGtkWidget() const { return m_pWidget; }
    xWidget* GetOwner() const { return m_pOwner; }
    int GetID() const { return m_nID; }

    // Adopts a widget: releases the current one (unless it is the same) and takes one reference on
    // the new one. NULL only releases.
    void Attach(GtkWidget* pWidget);
    // Drops the wrapper's reference and forgets the widget; never destroys it.
    void Release();
    // Closes the window exactly as the window manager's close button does: a GDK_DELETE event on
    // the GDK event queue, so the window's "delete-event" decides.
    void PostDeleteEvent();

    // The wrapper attached to a widget, NULL for a widget no wrapper holds. Lets code that only has
    // GTK widgets (the widget tree of a window) find the controls and their ids.
    static xWidget* FromGtkWidget(GtkWidget* pWidget);

    // The one callback of the event signals of windows and entries ("delete-event",
    // "focus-in-event", "focus-out-event"); user data is the wrapper.
    static gboolean OnEventRoute(GtkWidget* pWidget, GdkEvent* pEvent, gpointer pData);

protected:
    GtkWidget* m_pWidget;
    xWidget* m_pOwner;
    int m_nID;
};
