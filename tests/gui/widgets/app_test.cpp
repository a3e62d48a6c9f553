// The application base: start-up, the main loop and the main window's end.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/widgets/Widgets.h"

namespace {

std::vector<std::string> g_events;

class LoggingWindow : public xWindow {
public:
    LoggingWindow() : xWindow(nullptr) { SetTitle("Main"); }
    ~LoggingWindow() override { g_events.push_back("main window deleted"); }
};

class TestApp : public xApp {
public:
    TestApp(int nInit, bool bMakeWindow) : m_nInit(nInit), m_bMakeWindow(bMakeWindow) {}
    int OnInit() override
    {
        g_events.push_back("init");
        if (m_bMakeWindow) {
            m_pMainWindow = new LoggingWindow;
            m_pMainWindow->ShowAll();
        }
        return m_nInit;
    }
    void OnExit() override
    {
        g_events.push_back(m_pMainWindow == nullptr ? "exit without main window" : "exit with main window");
    }
    int m_nInit;
    bool m_bMakeWindow;
};

// Closes the main window from inside the main loop, as the user would.
gboolean CloseMainWindow(gpointer)
{
    GtkWidget* pMain = orvgui::FindToplevel("Main");
    if (pMain != nullptr) {
        orvgui::CloseByWindowManager(pMain);
    } else {
        ADD_FAILURE() << "main window not shown";
        gtk_main_quit();
    }
    return FALSE;
}

TEST(Application, RegistersItselfAsTheApplication)
{
    TestApp app(0, false);
    EXPECT_EQ(xApp::GetApp(), &app);
    EXPECT_EQ(app.GetMainWindow(), nullptr);
    xApp plain;
    EXPECT_EQ(xApp::GetApp(), &plain);
    EXPECT_EQ(plain.OnInit(), -1);
}

TEST(Application, EntryRunsTheMainLoopOnlyWhenInitAsksWithAWindow)
{
    struct Case {
        const char* name;
        int nInit;
        bool bWindow;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"InitRefuses", 0, false, {"init"}},
        {"InitWithoutWindow", 1, false, {"init"}},
        // The main window's wrapper is deleted before OnExit runs, then the loop quits.
        {"InitWithWindow", -1, true, {"init", "main window deleted", "exit without main window"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_events.clear();
        TestApp app(c.nInit, c.bWindow);
        guint nSource = 0;
        if (c.bWindow) {
            nSource = g_timeout_add(50, CloseMainWindow, nullptr);
        }
        char arg0[] = "printer-setup";
        char* argv[] = {arg0, nullptr};
        EXPECT_EQ(xAppMain(1, argv), 0);
        EXPECT_EQ(g_events, c.events);
        EXPECT_EQ(app.GetMainWindow(), nullptr);
        EXPECT_EQ(gtk_main_level(), 0u);
        if (!c.bWindow) {
            EXPECT_EQ(nSource, 0u);
        }
    }
}

TEST(Application, DestroyHandlerIgnoresAMissingApplication)
{
    xWindow window(nullptr);
    xApp::OnMainWindowDestroy(window.GetGtkWidget(), nullptr);
    gtk_widget_destroy(window.GetGtkWidget());
}

}  // namespace
