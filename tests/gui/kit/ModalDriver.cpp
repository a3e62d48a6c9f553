#include "gui/kit/ModalDriver.h"

#include <gtest/gtest.h>

namespace orvgui {

namespace {

// How often a waiting step looks for its window.
const guint kPollMs = 10;

std::string TitleOf(GtkWindow* pWindow)
{
    const char* pszTitle = gtk_window_get_title(pWindow);
    return pszTitle != nullptr ? pszTitle : "";
}

}  // namespace

void EndAllModalWindows()
{
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p != nullptr; p = p->next) {
        GtkWidget* pWindow = GTK_WIDGET(p->data);
        if (GTK_IS_DIALOG(pWindow) && GTK_WIDGET_VISIBLE(pWindow)) {
            gtk_dialog_response(GTK_DIALOG(pWindow), GTK_RESPONSE_DELETE_EVENT);
        }
    }
    g_list_free(pList);
}

ModalDriver::ModalDriver(int nStepTimeoutMs) : m_nStepTimeoutMs(nStepTimeoutMs) {}

ModalDriver::~ModalDriver()
{
    if (m_nSource != 0) {
        g_source_remove(m_nSource);
        m_nSource = 0;
    }
    for (size_t i = m_next; i < m_steps.size(); ++i) {
        ADD_FAILURE() << "modal step for window \"" << m_steps[i].title << "\" never ran";
    }
}

ModalDriver& ModalDriver::OnWindow(const std::string& title, Step step)
{
    m_steps.push_back(Queued{title, std::move(step)});
    return *this;
}

void ModalDriver::Start()
{
    ArmNext();
}

void ModalDriver::ArmNext()
{
    if (m_next < m_steps.size()) {
        m_armedAt = g_get_monotonic_time();
        m_nSource = g_timeout_add(kPollMs, OnPoll, this);
    }
}

GtkWindow* ModalDriver::FindWindow(const std::string& title) const
{
    // GTK lists the oldest window first: the last match is the newest window, so a message box
    // that took its parent's title is found rather than the parent.
    GtkWindow* pFound = nullptr;
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p != nullptr; p = p->next) {
        GtkWindow* pWindow = GTK_WINDOW(p->data);
        GtkWidget* pWidget = GTK_WIDGET(pWindow);
        if (GTK_WIDGET_VISIBLE(pWidget) && GTK_WIDGET_MAPPED(pWidget) && m_acting.count(pWindow) == 0 &&
            TitleOf(pWindow) == title) {
            pFound = pWindow;
        }
    }
    g_list_free(pList);
    return pFound;
}

void ModalDriver::GiveUp(const std::string& reason)
{
    ADD_FAILURE() << reason;
    m_next = m_steps.size();
    EndAllModalWindows();
}

gboolean ModalDriver::OnPoll(gpointer pData)
{
    ModalDriver* pThis = static_cast<ModalDriver*>(pData);
    const Queued& queued = pThis->m_steps[pThis->m_next];
    GtkWindow* pWindow = pThis->FindWindow(queued.title);
    if (pWindow == nullptr) {
        if (g_get_monotonic_time() - pThis->m_armedAt > gint64(pThis->m_nStepTimeoutMs) * 1000) {
            pThis->m_nSource = 0;
            pThis->GiveUp("window \"" + queued.title + "\" was not shown within " +
                          std::to_string(pThis->m_nStepTimeoutMs) + " ms");
            return FALSE;
        }
        return TRUE;
    }
    // The next step polls while this one acts: its action may open a nested modal window whose
    // loop only returns when that next step ends it.
    Step step = queued.step;
    ++pThis->m_next;
    pThis->m_nSource = 0;
    pThis->ArmNext();
    g_object_ref(pWindow);
    pThis->m_acting.insert(pWindow);
    step(pWindow);
    pThis->m_acting.erase(pWindow);
    g_object_unref(pWindow);
    return FALSE;
}

}  // namespace orvgui
