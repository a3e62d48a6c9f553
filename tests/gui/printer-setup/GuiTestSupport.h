// What the settings program's window tests share beside the GUI test kit: event pumping, answering
// the message boxes the program shows, and the application object over a fake libcups table.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "gui/MainApp.h"
#include "gui/MainWin.h"

#include <gtk/gtk.h>

class xListBase;
class xWidget;

#include <deque>
#include <string>
#include <vector>

namespace guitest {

// Runs the GTK events that are pending, then keeps running them for at least ms milliseconds.
void Pump(int ms = 0);

// Answers every message box the program shows while the object lives, with the given answers in
// turn (IDYES, IDNO, IDCANCEL, IDOK); a box beyond the answers given is closed with its default
// answer and counted. The boxes' texts are kept in order.
class MessageBoxAnswers {
public:
    explicit MessageBoxAnswers(std::vector<int> answers = {});
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    const std::vector<std::string>& Texts() const { return m_texts; }
    int Unexpected() const { return m_unexpected; }

private:
    static gboolean Poll(gpointer self);

    std::deque<int> m_answers;
    std::vector<std::string> m_texts;
    int m_unexpected = 0;
    guint m_source = 0;
};

// The program's application object with the given libcups table in place of the bound libcups
// (an unbound table: libcups could not be loaded). Start() runs OnInit as the program does.
class TestApp : public CMainApp {
public:
    explicit TestApp(const tagCUPSFUNC& cups);
    ~TestApp() override;

    // OnInit; the main window is built, shown and its printer list filled.
    int Start();
    CMainWin* Window() const { return static_cast<CMainWin*>(m_pMainWindow); }
    // True once GTK destroyed the window (closed through OK, Cancel or the window manager).
    bool WindowDestroyed() const { return m_bDestroyed; }
    // Destroys the window (when GTK has not) and deletes it.
    void CloseWindow();

protected:
    int BindCupsLibrary() override;

private:
    static void OnDestroyed(GtkWidget*, gpointer self);

    tagCUPSFUNC m_given;
    bool m_bDestroyed = false;
};

// The rows of a list control, in order.
std::vector<std::string> RowTexts(xListBase* list);

// Whether a widget is sensitive.
bool IsSensitive(xWidget* widget);

}  // namespace guitest
