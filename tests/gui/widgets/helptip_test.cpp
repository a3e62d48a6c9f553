// The help tip: where it appears, when it hides, and that a deleted tip leaves nothing running.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/widgets/Widgets.h"

namespace {

TEST(HelpTipPlacement, KeptInsideTheScreenWidthOnly)
{
    struct Case {
        const char* name;
        int nX, nY, nTipWidth, nScreenWidth;
        int nExpectedX, nExpectedY;
    };
    const Case cases[] = {
        {"FitsAtTheAnchorCorner", 100, 200, 150, 1280, 100, 200},
        {"EndsExactlyAtTheEdge", 1130, 200, 150, 1280, 1130, 200},
        {"PastTheRightEdgeMovesLeft", 1200, 200, 150, 1280, 1130, 200},
        {"NegativeStartsAtZero", -40, 15, 150, 1280, 0, 15},
        {"WiderThanTheScreenEndsAtTheEdge", 10, 5, 1400, 1280, -120, 5},
        {"NeverMovedVertically", 10, 5000, 100, 1280, 10, 5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int nX = -1;
        int nY = -1;
        xHelpTip::PlaceTip(c.nX, c.nY, c.nTipWidth, c.nScreenWidth, &nX, &nY);
        EXPECT_EQ(nX, c.nExpectedX);
        EXPECT_EQ(nY, c.nExpectedY);
    }
}

// A tip whose delay a test can shorten.
class QuickTip : public xHelpTip {
public:
    QuickTip(xWidget* pAnchor, const char* pszText, unsigned int nDelay) : xHelpTip(pAnchor, pszText, 0, GTK_STOCK_DIALOG_INFO)
    {
        m_nDelay = nDelay;
    }
};

struct AnchoredWindow {
    AnchoredWindow(int nX, int nY) : window(nullptr), box(XORIENT_VERTICAL, FALSE, 0), anchor(nullptr, 1, "_Anchor", 0, nullptr)
    {
        window.SetTitle("Tip Anchor");
        window.Add(&box);
        box.PackStart(&anchor, FALSE, FALSE, 20);
        anchor.SetSize(80, 30);
        gtk_window_move(GTK_WINDOW(window.GetGtkWidget()), nX, nY);
        window.ShowAll();
        orvgui::PumpEvents();
        // An inactive window hides its tips at once; the window manager would activate it.
        orvgui::GiveFocus(window.GetGtkWidget());
    }
    ~AnchoredWindow() { gtk_widget_destroy(window.GetGtkWidget()); }
    // The anchor's bottom-right corner on the screen.
    void AnchorCorner(int* pnX, int* pnY)
    {
        GtkWidget* pAnchor = anchor.GetGtkWidget();
        gdk_window_get_origin(pAnchor->window, pnX, pnY);
        *pnX += pAnchor->allocation.x + pAnchor->allocation.width;
        *pnY += pAnchor->allocation.y + pAnchor->allocation.height;
    }
    xWindow window;
    xBox box;
    xButton anchor;
};

void TipOrigin(xHelpTip& tip, int* pnX, int* pnY)
{
    gdk_window_get_origin(tip.GetGtkWidget()->window, pnX, pnY);
}

TEST(HelpTipShow, AppearsAtTheAnchorsBottomRightCorner)
{
    struct Case {
        const char* name;
        int nWindowX;
        bool bClippedRight;
    };
    const Case cases[] = {{"Inside", 100, false}, {"NearTheRightEdge", 1230, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnchoredWindow shown(c.nWindowX, 300);
        xHelpTip tip(&shown.anchor, "Choose the paper the printer takes.", 0, nullptr);
        tip.Show(1);
        orvgui::PumpEvents();
        ASSERT_TRUE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
        int nCornerX = 0, nCornerY = 0, nTipX = 0, nTipY = 0;
        shown.AnchorCorner(&nCornerX, &nCornerY);
        TipOrigin(tip, &nTipX, &nTipY);
        int nTipWidth = 0;
        tip.GetSize(&nTipWidth, nullptr);
        int nScreenWidth = gdk_screen_get_width(gdk_screen_get_default());
        EXPECT_EQ(nTipY, nCornerY);
        if (c.bClippedRight) {
            EXPECT_EQ(nTipX, nScreenWidth - nTipWidth);
        } else {
            EXPECT_EQ(nTipX, nCornerX);
        }
        tip.Show(0);
    }
}

TEST(HelpTipShow, ShowingAgainRestartsTheTimerWithoutASecondWatch)
{
    AnchoredWindow shown(50, 50);
    xHelpTip tip(&shown.anchor, "text", 0, nullptr);
    EXPECT_EQ(tip.GetTimerID(), 0u);
    tip.Show(1);
    unsigned int nFirstTimer = tip.GetTimerID();
    unsigned long nHandler = tip.GetToplevelHandler();
    EXPECT_NE(nFirstTimer, 0u);
    EXPECT_NE(nHandler, 0u);
    tip.Show(1);
    EXPECT_NE(tip.GetTimerID(), 0u);
    EXPECT_NE(tip.GetTimerID(), nFirstTimer);
    EXPECT_EQ(g_main_context_find_source_by_id(nullptr, nFirstTimer), nullptr);
    EXPECT_EQ(tip.GetToplevelHandler(), nHandler);
    tip.Show(0);
    EXPECT_EQ(tip.GetTimerID(), 0u);
    EXPECT_EQ(tip.GetToplevelHandler(), 0u);
    EXPECT_FALSE(g_signal_handler_is_connected(shown.window.GetGtkWidget(), nHandler));
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
}

gboolean QuitLoop(gpointer pLoop)
{
    g_main_loop_quit(static_cast<GMainLoop*>(pLoop));
    return FALSE;
}

void RunLoopFor(guint nMs)
{
    GMainLoop* pLoop = g_main_loop_new(nullptr, FALSE);
    g_timeout_add(nMs, QuitLoop, pLoop);
    g_main_loop_run(pLoop);
    g_main_loop_unref(pLoop);
}

TEST(HelpTipHide, HidesAfterItsDelay)
{
    AnchoredWindow shown(50, 50);
    QuickTip tip(&shown.anchor, "quick", 60);
    tip.Show(1);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
    RunLoopFor(200);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
    EXPECT_EQ(tip.GetTimerID(), 0u);
    tip.Show(0);
}

// Events put on GDK's queue reach the tip's and the window's "event-after" as real ones do.
void PutEvent(GdkEventType type, GtkWidget* pWidget, int nIn = 0)
{
    GdkEvent* pEvent = gdk_event_new(type);
    pEvent->any.window = GDK_WINDOW(g_object_ref(pWidget->window));
    pEvent->any.send_event = TRUE;
    if (type == GDK_FOCUS_CHANGE) {
        pEvent->focus_change.in = static_cast<gint16>(nIn);
    }
    if (type == GDK_ENTER_NOTIFY || type == GDK_LEAVE_NOTIFY) {
        pEvent->crossing.mode = GDK_CROSSING_NORMAL;
        pEvent->crossing.detail = GDK_NOTIFY_ANCESTOR;
    }
    gdk_event_put(pEvent);
    gdk_event_free(pEvent);
    orvgui::PumpEvents();
}

TEST(HelpTipHide, PointerOverTheTipHoldsTheTimerAndLeavingRestartsIt)
{
    AnchoredWindow shown(50, 50);
    QuickTip tip(&shown.anchor, "hold", 60);
    tip.Show(1);
    PutEvent(GDK_ENTER_NOTIFY, tip.GetGtkWidget());
    EXPECT_EQ(tip.GetTimerID(), 0u);
    RunLoopFor(150);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
    PutEvent(GDK_LEAVE_NOTIFY, tip.GetGtkWidget());
    EXPECT_NE(tip.GetTimerID(), 0u);
    RunLoopFor(200);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()));
    tip.Show(0);
}

TEST(HelpTipHide, DoubleClickAndFocusLossHideAtOnce)
{
    struct Case {
        const char* name;
        bool bOnTip;
        GdkEventType type;
        int nIn;
        bool bHides;
    };
    const Case cases[] = {
        {"DoubleClickInTip", true, GDK_2BUTTON_PRESS, 0, true},
        {"WindowLosesFocus", false, GDK_FOCUS_CHANGE, 0, true},
        {"WindowGainsFocus", false, GDK_FOCUS_CHANGE, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnchoredWindow shown(50, 50);
        xHelpTip tip(&shown.anchor, "text", 0, nullptr);
        tip.Show(1);
        orvgui::PumpEvents();
        PutEvent(c.type, c.bOnTip ? tip.GetGtkWidget() : shown.window.GetGtkWidget(), c.nIn);
        EXPECT_EQ(GTK_WIDGET_VISIBLE(tip.GetGtkWidget()), !c.bHides);
        EXPECT_EQ(tip.GetTimerID() == 0u, c.bHides);
        tip.Show(0);
    }
}

// A tip deleted while shown stops its timer and its watch on the window: neither may call it
// afterwards.
TEST(HelpTipLifetime, DeletedWhileShownLeavesNothingRunning)
{
    AnchoredWindow shown(50, 50);
    auto* pTip = new QuickTip(&shown.anchor, "gone", 40);
    pTip->Show(1);
    unsigned int nTimer = pTip->GetTimerID();
    unsigned long nHandler = pTip->GetToplevelHandler();
    ASSERT_NE(nTimer, 0u);
    ASSERT_NE(nHandler, 0u);
    delete pTip;
    EXPECT_EQ(g_main_context_find_source_by_id(nullptr, nTimer), nullptr);
    EXPECT_FALSE(g_signal_handler_is_connected(shown.window.GetGtkWidget(), nHandler));
    RunLoopFor(100);
    PutEvent(GDK_FOCUS_CHANGE, shown.window.GetGtkWidget(), 0);
}

TEST(HelpTipContent, TextImageAndEmptyTips)
{
    struct Case {
        const char* name;
        const char* text;
        const char* stock;
        bool bLabel;
        bool bImage;
    };
    const Case cases[] = {
        {"TextOnly", "Plain text", nullptr, true, false},
        {"StockAndText", "With picture", GTK_STOCK_DIALOG_INFO, true, true},
        {"NoText", nullptr, GTK_STOCK_DIALOG_INFO, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xLabel anchor("anchor", nullptr, -1, 0, 0);
        xHelpTip tip(&anchor, c.text, 0, c.stock);
        EXPECT_EQ(tip.GetTipLabel() != nullptr, c.bLabel);
        EXPECT_EQ(orvgui::FindWidgetOfType(tip.GetGtkWidget(), GTK_TYPE_IMAGE) != nullptr, c.bImage);
        EXPECT_STREQ(gtk_widget_get_name(tip.GetGtkWidget()), "gtk-tooltips");
        tip.SetText("changed");
        if (c.bLabel) {
            EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(tip.GetTipLabel())), "changed");
        }
    }
}

}  // namespace
