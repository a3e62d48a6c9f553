#include "filter/stream/BandScreener.h"

#include "filter/job/StageTimes.h"

#include <system_error>

BandScreener::BandScreener(PFNSCREENBAND pfnScreen, void* pvContext, bool bThreaded)
    : m_pfnScreen(pfnScreen), m_pvContext(pvContext)
{
    if (!bThreaded) {
        return;
    }
    try {
        m_thread = std::thread(&BandScreener::Run, this);
    } catch (const std::system_error&) {
        // No thread: the bands are screened at their hand-over, as without one.
    }
}

BandScreener::~BandScreener()
{
    if (!m_thread.joinable()) {
        return;
    }
    {
        std::unique_lock<std::mutex> lock(m_lock);
        WaitIdle(lock);
        m_bStop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BandScreener::WaitIdle(std::unique_lock<std::mutex>& lock)
{
    if (!m_bInHand) {
        return;
    }
    StageTimer wait(STAGE_SCREEN_WAIT);
    m_changed.wait(lock, [this] { return !m_bInHand; });
}

bool BandScreener::Hand(const tagSCREENBAND& band)
{
    if (!m_thread.joinable()) {
        if (m_bFailed) {
            return false;
        }
        StageTimer screen(STAGE_SCREEN);
        m_bFailed = !m_pfnScreen(m_pvContext, band);
        return !m_bFailed;
    }
    {
        std::unique_lock<std::mutex> lock(m_lock);
        WaitIdle(lock);
        if (m_bFailed) {
            return false;
        }
        m_band = band;
        m_bInHand = true;
    }
    m_changed.notify_all();
    return true;
}

bool BandScreener::Finish()
{
    if (!m_thread.joinable()) {
        return !m_bFailed;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    WaitIdle(lock);
    return !m_bFailed;
}

void BandScreener::StartPage(PFNSCREENBAND pfnScreen, void* pvContext)
{
    std::unique_lock<std::mutex> lock(m_lock);
    WaitIdle(lock);
    m_pfnScreen = pfnScreen;
    m_pvContext = pvContext;
    m_bFailed = false;
}

void BandScreener::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_bInHand || m_bStop; });
        if (!m_bInHand) {
            return;  // stopped with nothing in hand
        }
        const tagSCREENBAND band = m_band;
        const PFNSCREENBAND pfnScreen = m_pfnScreen;
        void* const pvContext = m_pvContext;
        lock.unlock();
        bool bScreened;
        {
            StageTimer screen(STAGE_SCREEN);
            bScreened = pfnScreen(pvContext, band);
        }
        lock.lock();
        if (!bScreened) {
            m_bFailed = true;
        }
        m_bInHand = false;
        m_changed.notify_all();
    }
}
