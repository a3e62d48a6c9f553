// Every signal of the route table reaches its wrapper and climbs the owner chain with the id of
// the control where it began.
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/kit/RecordingOwner.h"
#include "gui/widgets/Widgets.h"

using orvgui::Notification;
using orvgui::Notify;
using orvgui::RecordingOwner;

namespace {

// An owner in the middle of the chain that overrides nothing (like a page without handlers).
class PassThrough : public xWidget {
public:
    explicit PassThrough(xWidget* pOwner) : xWidget(pOwner, 900) {}
};

struct RouteCase {
    const char* name;
    std::function<xWidget*(xWidget* pOwner, int nID)> make;
    // Acts on the control's widget as GTK or a user would.
    std::function<void(xWidget*)> trigger;
    std::vector<Notify> expected;
};

xListBase* WithRows(xListBase* pList)
{
    pList->AddString("first", nullptr, 0);
    pList->AddString("second", nullptr, 0);
    return pList;
}

// A focus change delivered to the control as GTK delivers it when its window gains or loses the
// keyboard focus.
std::function<void(xWidget*)> SendFocus(gboolean bIn)
{
    return [bIn](xWidget* w) {
        GdkEvent* pEvent = gdk_event_new(GDK_FOCUS_CHANGE);
        pEvent->focus_change.window = GDK_WINDOW(g_object_ref(w->GetGtkWidget()->window));
        pEvent->focus_change.in = bIn;
        gtk_widget_send_focus_change(w->GetGtkWidget(), pEvent);
        gdk_event_free(pEvent);
    };
}

std::vector<RouteCase> RouteCases()
{
    return {
        {"ButtonClicked", [](xWidget* o, int id) { return new xButton(o, id, "_Press", 0, nullptr); },
         [](xWidget* w) { gtk_button_clicked(GTK_BUTTON(w->GetGtkWidget())); }, {Notify::BtnClicked}},
        {"StockButtonClicked", [](xWidget* o, int id) { return new xStockButton(o, id, GTK_STOCK_APPLY); },
         [](xWidget* w) { gtk_button_clicked(GTK_BUTTON(w->GetGtkWidget())); }, {Notify::BtnClicked}},
        {"ToggleButtonActivated", [](xWidget* o, int id) { return new xToggleButton(o, id, "_Toggle", 0); },
         [](xWidget* w) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w->GetGtkWidget()), TRUE); },
         {Notify::BtnClicked}},
        {"CheckBoxActivated", [](xWidget* o, int id) { return new xCheckBox(o, id, "_Check"); },
         [](xWidget* w) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w->GetGtkWidget()), TRUE); },
         {Notify::BtnClicked}},
        {"RadioBoxClicked", [](xWidget* o, int id) { return new xRadioBox(o, id, "_Radio", nullptr); },
         [](xWidget* w) { gtk_button_clicked(GTK_BUTTON(w->GetGtkWidget())); }, {Notify::BtnClicked}},
        {"EntryTextSet", [](xWidget* o, int id) { return new xEntry(o, id, 10); },
         [](xWidget* w) { gtk_entry_set_text(GTK_ENTRY(w->GetGtkWidget()), "typed"); }, {Notify::EditChanged}},
        {"EntryNoWideTextSet", [](xWidget* o, int id) { return new xEntryNoWide(o, id, 10, 0); },
         [](xWidget* w) { gtk_entry_set_text(GTK_ENTRY(w->GetGtkWidget()), "typed"); }, {Notify::EditChanged}},
        // A new value rewrites the text first, then announces the value.
        {"SpinButtonValueSet", [](xWidget* o, int id) { return new xSpinButton(o, id, 0, 0, 100, 1); },
         [](xWidget* w) { gtk_spin_button_set_value(GTK_SPIN_BUTTON(w->GetGtkWidget()), 42); },
         {Notify::EditChanged, Notify::ValueChanged}},
        {"SliderValueSet", [](xWidget* o, int id) { return new xSlider(1, o, id, 0, -50, 50, 1); },
         [](xWidget* w) { gtk_range_set_value(GTK_RANGE(w->GetGtkWidget()), 10); }, {Notify::ValueChanged}},
        {"ComboBoxRowChosen", [](xWidget* o, int id) { return WithRows(new xComboBox(o, id)); },
         [](xWidget* w) { gtk_combo_box_set_active(GTK_COMBO_BOX(w->GetGtkWidget()), 1); }, {Notify::SelectChanged}},
        {"ListBoxCursorMoved", [](xWidget* o, int id) { return WithRows(new xListBox(o, id, nullptr)); },
         [](xWidget* w) {
             GtkTreePath* pPath = gtk_tree_path_new_from_indices(1, -1);
             gtk_tree_view_set_cursor(GTK_TREE_VIEW(w->GetWidget()), pPath, nullptr, FALSE);
             gtk_tree_path_free(pPath);
         },
         {Notify::SelectChanged}},
        {"EntryFocusIn", [](xWidget* o, int id) { return new xEntry(o, id, 10); }, SendFocus(TRUE), {Notify::Focus}},
        {"EntryNoWideFocusOut", [](xWidget* o, int id) { return new xEntryNoWide(o, id, 10, 0); }, SendFocus(FALSE),
         {Notify::Focus}},
        // Spin buttons do not route their focus changes.
        {"SpinButtonFocusNotRouted", [](xWidget* o, int id) { return new xSpinButton(o, id, 0, 0, 9, 1); },
         SendFocus(TRUE), {}},
    };
}

// Each control sits in a shown window, owned through a pass-through owner by the recorder.
TEST(NotificationRoutes, EverySignalClimbsToTheLastOwnerWithTheControlsId)
{
    int nID = 40;
    for (const RouteCase& c : RouteCases()) {
        SCOPED_TRACE(c.name);
        RecordingOwner recorder;
        PassThrough middle(&recorder);
        xWindow window(nullptr);
        std::unique_ptr<xWidget> control(c.make(&middle, nID));
        window.Add(control.get());
        window.ShowAll();
        orvgui::PumpEvents();
        recorder.Clear();

        c.trigger(control.get());

        std::vector<Notification> expected;
        for (Notify kind : c.expected) {
            bool bFocusIn = std::string(c.name).find("FocusIn") != std::string::npos;
            expected.push_back({kind, nID, kind == Notify::Focus && bFocusIn ? 1 : 0});
        }
        EXPECT_EQ(recorder.Log(), expected);
        gtk_widget_destroy(window.GetGtkWidget());
        ++nID;
    }
}

TEST(NotificationRoutes, ControlWithoutOwnerDropsEverySignal)
{
    for (const RouteCase& c : RouteCases()) {
        SCOPED_TRACE(c.name);
        xWindow window(nullptr);
        std::unique_ptr<xWidget> control(c.make(nullptr, 7));
        window.Add(control.get());
        window.ShowAll();
        orvgui::PumpEvents();
        c.trigger(control.get());
        gtk_widget_destroy(window.GetGtkWidget());
    }
}

TEST(NotificationRoutes, AnswersOfPaintAndFocusComeBackFromTheHandlingOwner)
{
    struct Case {
        bool bHasOwner;
        int nAnswer;
        int nExpected;
    };
    const Case cases[] = {{true, 1, 1}, {true, 0, 0}, {false, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "owner " << c.bHasOwner << " answer " << c.nAnswer);
        RecordingOwner recorder;
        recorder.m_nAnswer = c.nAnswer;
        PassThrough middle(c.bHasOwner ? &recorder : nullptr);
        xWidget control(&middle, 12);
        EXPECT_EQ(middle.OnNofityPaint(12, nullptr), c.nExpected);
        EXPECT_EQ(middle.OnNofityFocus(12, 1), c.nExpected);
        EXPECT_EQ(control.OnFocusEvent(0), c.nExpected);
        if (c.bHasOwner) {
            std::vector<Notification> expected = {
                {Notify::Paint, 12}, {Notify::Focus, 12, 1}, {Notify::Focus, 12, 0}};
            EXPECT_EQ(recorder.Log(), expected);
        }
    }
}

// The shared callback of the event signals branches on the event type only.
TEST(NotificationRoutes, EventRouteBranchesOnTheEventType)
{
    class Probe : public xWidget {
    public:
        Probe() : xWidget(nullptr, 3) {}
        int OnDeleteEvent() override
        {
            ++m_nDeletes;
            return 5;
        }
        int OnFocusEvent(short bIn) override
        {
            m_focus.push_back(bIn);
            return 9;
        }
        int m_nDeletes = 0;
        std::vector<int> m_focus;
    };
    struct Case {
        const char* name;
        GdkEventType type;
        int nIn;
        bool bNullWrapper;
        gboolean expected;
        int nDeletes;
        std::vector<int> focus;
    };
    const Case cases[] = {
        {"Delete", GDK_DELETE, 0, false, 5, 1, {}},
        {"FocusIn", GDK_FOCUS_CHANGE, 1, false, 9, 0, {1}},
        {"FocusOut", GDK_FOCUS_CHANGE, 0, false, 9, 0, {0}},
        {"OtherEvent", GDK_MAP, 0, false, TRUE, 0, {}},
        {"NoWrapper", GDK_DELETE, 0, true, TRUE, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Probe probe;
        GdkEvent* pEvent = gdk_event_new(c.type);
        if (c.type == GDK_FOCUS_CHANGE) {
            pEvent->focus_change.in = static_cast<gint16>(c.nIn);
        }
        EXPECT_EQ(xWidget::OnEventRoute(nullptr, pEvent, c.bNullWrapper ? nullptr : &probe), c.expected);
        EXPECT_EQ(probe.m_nDeletes, c.nDeletes);
        EXPECT_EQ(probe.m_focus, c.focus);
        gdk_event_free(pEvent);
    }
    Probe probe;
    EXPECT_EQ(xWidget::OnEventRoute(nullptr, nullptr, &probe), TRUE);
    EXPECT_EQ(probe.m_nDeletes, 0);
}

// A window closed through the window manager's path (or PostDeleteEvent) asks OnDeleteEvent; it
// is destroyed, with its "destroy" route, only when that answers 0.
TEST(WindowRoutes, DeleteEventDecidesWhetherTheWindowCloses)
{
    class ProbeWindow : public xWindow {
    public:
        explicit ProbeWindow(int nAnswer) : xWindow(nullptr), m_nAnswer(nAnswer) {}
        int OnDeleteEvent() override
        {
            ++m_nDeletes;
            return m_nAnswer;
        }
        void OnDestroy() override { ++m_nDestroys; }
        int m_nAnswer;
        int m_nDeletes = 0;
        int m_nDestroys = 0;
    };
    struct Case {
        const char* name;
        int nAnswer;
        bool bPost;
        int nDestroys;
    };
    const Case cases[] = {
        {"WindowManagerCloseAllowed", 0, false, 1},
        {"WindowManagerCloseRefused", 1, false, 0},
        {"PostedDeleteAllowed", 0, true, 1},
        {"PostedDeleteRefused", -1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeWindow window(c.nAnswer);
        window.SetTitle("Closing");
        window.ShowAll();
        orvgui::PumpEvents();
        GtkWidget* pWidget = window.GetGtkWidget();
        g_object_ref(pWidget);
        if (c.bPost) {
            window.PostDeleteEvent();
        } else {
            orvgui::CloseByWindowManager(pWidget);
        }
        orvgui::PumpEvents();
        EXPECT_EQ(window.m_nDeletes, 1);
        EXPECT_EQ(window.m_nDestroys, c.nDestroys);
        EXPECT_EQ(orvgui::FindToplevel("Closing") != nullptr, c.nDestroys == 0);
        if (c.nDestroys == 0) {
            gtk_widget_destroy(pWidget);
        }
        g_object_unref(pWidget);
    }
}

}  // namespace
