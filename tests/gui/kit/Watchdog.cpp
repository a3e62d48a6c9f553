#include "gui/kit/Watchdog.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <gtk/gtk.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

#include "gui/kit/ModalDriver.h"

namespace orvgui {

namespace {

class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog(int nSoftSeconds, int nHardSeconds) : m_nSoftSeconds(nSoftSeconds), m_nHardSeconds(nHardSeconds)
    {
        m_thread = std::thread([this] { HardLimitLoop(); });
    }

    ~Watchdog() override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bQuit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void OnTestStart(const ::testing::TestInfo& info) override
    {
        m_nSource = g_timeout_add_seconds(m_nSoftSeconds, OnSoftLimit, this);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_name = std::string(info.test_suite_name()) + "." + info.name();
        m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_nHardSeconds);
        m_bRunning = true;
        m_wake.notify_all();
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        if (m_nSource != 0) {
            g_source_remove(m_nSource);
            m_nSource = 0;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bRunning = false;
        m_wake.notify_all();
    }

private:
    // Runs inside whatever main loop the test is stuck in: fail, then unwind every modal loop,
    // again each second until the test returns.
    static gboolean OnSoftLimit(gpointer pData)
    {
        Watchdog* pThis = static_cast<Watchdog*>(pData);
        if (!pThis->m_bSoftFired) {
            ADD_FAILURE() << "test still running after " << pThis->m_nSoftSeconds
                          << " s: a modal window or main loop was never ended";
            pThis->m_bSoftFired = true;
        }
        EndAllModalWindows();
        if (gtk_main_level() > 0) {
            gtk_main_quit();
        }
        pThis->m_nSource = g_timeout_add_seconds(1, OnSoftLimit, pThis);
        return FALSE;
    }

    void HardLimitLoop()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_bQuit) {
            if (!m_bRunning) {
                m_wake.wait(lock);
                continue;
            }
            if (m_wake.wait_until(lock, m_deadline) == std::cv_status::timeout && m_bRunning && !m_bQuit &&
                std::chrono::steady_clock::now() >= m_deadline) {
                std::fprintf(stderr, "\n%s hangs: stopped after %d s\n", m_name.c_str(), m_nHardSeconds);
                std::fflush(stderr);
                _exit(3);
            }
        }
    }

    int m_nSoftSeconds;
    int m_nHardSeconds;
    guint m_nSource = 0;
    bool m_bSoftFired = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    std::string m_name;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_bRunning = false;
    bool m_bQuit = false;
};

}  // namespace

::testing::TestEventListener* NewWatchdog(int nSoftSeconds, int nHardSeconds)
{
    return new Watchdog(nSoftSeconds, nHardSeconds);
}

}  // namespace orvgui
