// The application base: the one object of the program, its start-up and its main loop.
#pragma once

#include <gtk/gtk.h>

class xWindow;

// Exactly one instance exists per process (the program's static application object); its
// constructor registers it as the one xApp::GetApp returns.
class xApp {
public:
    xApp();
    virtual ~xApp();

    xApp(const xApp&) = delete;
    xApp& operator=(const xApp&) = delete;

    // Builds the program (the main window); nonzero means the main loop is to run. -1 here.
    virtual int OnInit();
    // Called after the main window is gone, before the main loop is told to quit. Empty here.
    virtual void OnExit();

    // The application object last constructed; NULL before any.
    static xApp* GetApp();

    // Initialises GTK (it consumes its own options) and returns OnInit's result.
    int Init(int* pArgc, char*** pArgv);
    // Runs the main loop until the main window is destroyed; returns at once without one.
    void Run();

    xWindow* GetMainWindow() const { return m_pMainWindow; }

    // The main window's "destroy": deletes the main window wrapper, runs OnExit and quits the main
    // loop. Ignored when the user data (the application) is NULL.
    static void OnMainWindowDestroy(GtkWidget* pWidget, gpointer pData);

protected:
    xWindow* m_pMainWindow;
};

// The program's entry: Init, then Run when Init returned nonzero. Always 0.
int xAppMain(int argc, char** argv);
