#include "gui/printer-setup/GuiTestSupport.h"

#include "gui/widgets/xList.h"


namespace guitest {

void Pump(int ms)
{
    const gint64 until = g_get_monotonic_time() + static_cast<gint64>(ms) * 1000;
    do {
        while (gtk_events_pending()) {
            gtk_main_iteration_do(FALSE);
        }
        if (ms > 0) {
            g_usleep(2000);
        }
    } while (g_get_monotonic_time() < until);
}

MessageBoxAnswers::MessageBoxAnswers(std::vector<int> answers) : m_answers(answers.begin(), answers.end())
{
    m_source = g_timeout_add(10, &MessageBoxAnswers::Poll, this);
}

MessageBoxAnswers::~MessageBoxAnswers()
{
    g_source_remove(m_source);
}

gboolean MessageBoxAnswers::Poll(gpointer self)
{
    auto* pThis = static_cast<MessageBoxAnswers*>(self);
    GList* windows = gtk_window_list_toplevels();
    for (GList* it = windows; it != nullptr; it = it->next) {
        GtkWidget* window = GTK_WIDGET(it->data);
        if (!GTK_IS_MESSAGE_DIALOG(window) || !GTK_WIDGET_VISIBLE(window)) {
            continue;
        }
        gchar* text = nullptr;
        g_object_get(window, "text", &text, NULL);
        pThis->m_texts.push_back(text != nullptr ? text : "");
        g_free(text);
        int answer = GTK_RESPONSE_DELETE_EVENT;  // closed as the window manager would
        if (!pThis->m_answers.empty()) {
            answer = pThis->m_answers.front();
            pThis->m_answers.pop_front();
        } else {
            ++pThis->m_unexpected;
        }
        gtk_dialog_response(GTK_DIALOG(window), answer);
        break;
    }
    g_list_free(windows);
    return TRUE;
}

TestApp::TestApp(const tagCUPSFUNC& cups) : m_given(cups) {}

TestApp::~TestApp()
{
    CloseWindow();
}

int TestApp::BindCupsLibrary()
{
    m_CupsFunc = m_given;
    return m_CupsFunc.handle != nullptr ? 0 : 1;
}

int TestApp::Start()
{
    const int result = OnInit();
    if (m_pMainWindow != nullptr) {
        g_signal_connect(m_pMainWindow->GetGtkWidget(), "destroy", G_CALLBACK(&TestApp::OnDestroyed), this);
    }
    Pump();
    return result;
}

void TestApp::OnDestroyed(GtkWidget*, gpointer self)
{
    static_cast<TestApp*>(self)->m_bDestroyed = true;
}

void TestApp::CloseWindow()
{
    if (m_pMainWindow == nullptr) {
        return;
    }
    if (!m_bDestroyed) {
        gtk_widget_destroy(m_pMainWindow->GetGtkWidget());
    }
    delete m_pMainWindow;
    m_pMainWindow = nullptr;
    Pump();
    // The program's table is the test's: nothing of it is unbound here.
    m_CupsFunc = tagCUPSFUNC{};
}

std::vector<std::string> RowTexts(xListBase* list)
{
    std::vector<std::string> rows;
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        gchar* text = list->GetText(i);
        rows.push_back(text != nullptr ? text : "");
        g_free(text);
    }
    return rows;
}

bool IsSensitive(xWidget* widget)
{
    return widget != nullptr && GTK_WIDGET_SENSITIVE(widget->GetGtkWidget());
}

}  // namespace guitest
