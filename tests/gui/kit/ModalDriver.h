// Drives modal windows from inside their own loops: a test queues steps, then runs the code that
// opens the window (DoModal, a message box); each step waits for its window, acts on it through
// real signals, checks what it shows, and ends it.
#pragma once

#include <functional>
#include <gtk/gtk.h>
#include <set>
#include <string>
#include <vector>

namespace orvgui {

class ModalDriver {
public:
    using Step = std::function<void(GtkWindow*)>;

    // nStepTimeoutMs: how long a step waits for its window before the test fails and every
    // modal window is ended.
    explicit ModalDriver(int nStepTimeoutMs = 5000);
    // Fails the test for steps that never ran and stops polling.
    ~ModalDriver();

    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Queues a step for the newest shown top-level window with this title (a window with no
    // title matches ""). A window whose step is still running (it opened a nested modal window)
    // is not matched again, so a message box that takes its parent's title is found.
    ModalDriver& OnWindow(const std::string& title, Step step);
    // Starts polling for the first step's window; call right before the modal call.
    void Start();
    // Every queued step has run.
    bool Done() const { return m_next >= m_steps.size() && m_nSource == 0; }

private:
    struct Queued {
        std::string title;
        Step step;
    };

    static gboolean OnPoll(gpointer pData);
    void ArmNext();
    GtkWindow* FindWindow(const std::string& title) const;
    void GiveUp(const std::string& reason);

    int m_nStepTimeoutMs;
    std::vector<Queued> m_steps;
    size_t m_next = 0;
    guint m_nSource = 0;
    gint64 m_armedAt = 0;
    std::set<GtkWindow*> m_acting;
};

// Ends every modal loop the test may be stuck in: each shown dialog gets a delete response.
void EndAllModalWindows();

}  // namespace orvgui
