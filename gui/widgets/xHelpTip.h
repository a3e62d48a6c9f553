// Balloon help: a small popup beside a control that hides itself after a delay.
#pragma once

#include "gui/widgets/xContainer.h"

// The tip belongs to its anchor control (its owner); it shows at the anchor's bottom-right corner,
// kept inside the screen's width, and hides after m_nDelay ms, when its window loses focus or is
// deactivated, on a double click in the tip and on Show (0). The pointer resting on the tip holds
// the timer; leaving the tip restarts it. Deleting a tip stops its timer and its watch on the
// anchor's window and destroys its popup.
class xHelpTip : public xBin {
public:
    // Text NULL: an empty tip. An image (a stock item's, else a nonzero built-in image id's) stands
    // left of the text.
    xHelpTip(xWidget* pAnchor, const char* pszText, int nImageID, const char* pszStockID);
    ~xHelpTip() override;

    // Nonzero shows the tip (again) and restarts its timer; zero hides it.
    void Show(int bShow) override;
    // Nothing for a tip without text.
    virtual void SetText(const char* pszText);
    // The hide timer fired: hide the tip.
    virtual void OnHideTimeout();

    // The top-left corner of a tip of width nTipWidth whose anchor's bottom-right corner is at
    // (nX, nY) on a screen nScreenWidth wide: the tip ends at the right edge when it would pass
    // it, and starts at 0 when it would begin left of the screen; never moved vertically.
    static void PlaceTip(int nX, int nY, int nTipWidth, int nScreenWidth, int* pnX, int* pnY);

    unsigned int GetTimerID() const { return m_nTimerID; }
    unsigned long GetToplevelHandler() const { return m_nToplevelHandler; }
    GtkWidget* GetTipLabel() const { return m_pTipLabel; }

protected:
    // Stops the hide timer when one runs.
    void StopTimer();
    // Starts (again) the hide timer of m_nDelay ms.
    void StartTimer();
    // Stops watching the anchor's top-level window.
    void DisconnectToplevel();

    static gboolean OnTipTimer(gpointer pData);
    static gboolean OnTipExpose(GtkWidget* pWidget, GdkEventExpose* pEvent, gpointer pData);
    static void OnTipEventAfter(GtkWidget* pWidget, GdkEvent* pEvent, gpointer pData);
    static void OnToplevelEventAfter(GtkWidget* pWidget, GdkEvent* pEvent, gpointer pData);

    unsigned int m_nTimerID;
    unsigned int m_nDelay;
    unsigned long m_nToplevelHandler;
    GtkWidget* m_pTipLabel;
    // The anchor's top-level window while the tip watches it; cleared by GTK if it is finalised
    // first.
    GtkWidget* m_pToplevel;
};
