#include "filter/stream/BandScreener.h"

#include "filter/job/StageTimes.h"
#include "filter/render/screen/ScreenScratch.h"
#include "filter/render/workers/WorkerPool.h"

#include <algorithm>

void BandScreener::ScratchDeleter::operator()(tagSCREENSCRATCH* pScratch) const
{
    FreeScreenScratch(pScratch);
}

BandScreener::BandScreener(PFNSCREENBAND pfnScreen, PFNBANDDONE pfnDone, void* pvContext, WorkerPool* pPool,
                           unsigned uDepth)
    : m_pfnScreen(pfnScreen), m_pfnDone(pfnDone), m_pvContext(pvContext), m_pPool(pPool)
{
    if (pPool != nullptr && pPool->Threads() > 0) {
        m_uDepth = std::min(uDepth, kMaxScreenDepth);
    }
    for (unsigned i = 0; i <= m_uDepth; ++i) {
        m_aSlots[i].pOwner = this;
        // Without scratch memory of its own a band is still screened, by the reference.
        m_aSlots[i].pScratch.reset(CreateScreenScratch());
    }
}

BandScreener::~BandScreener()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_nRunning == 0; });
}

bool BandScreener::Hand(const tagSCREENBAND& band)
{
    if (m_uDepth == 0) {
        if (m_bFailed) {
            return false;
        }
        Slot& slot = m_aSlots[0];
        DWORD dwInk = 0;
        {
            StageTimer screen(STAGE_SCREEN);
            m_bFailed = !m_pfnScreen(m_pvContext, band, slot.pScratch.get(), &dwInk);
        }
        if (m_bFailed) {
            return false;
        }
        m_pfnDone(m_pvContext, band, dwInk);
        ++m_nHanded;
        ++m_nReported;
        return true;
    }
    const size_t nSlots = m_uDepth + 1;
    std::unique_lock<std::mutex> lock(m_lock);
    // The band Depth() before this one leaves its buffer to the next band: once it is done, this one
    // makes Depth() bands in hand.
    const Slot& next = m_aSlots[(m_nHanded + 1) % nSlots];
    if (next.bBusy && !m_bFailed) {
        StageTimer wait(STAGE_SCREEN_WAIT);
        m_changed.wait(lock, [this, &next] { return !next.bBusy || m_bFailed; });
    }
    if (m_bFailed) {
        return false;
    }
    // Free: the hand-over before this one waited for it.
    Slot& slot = m_aSlots[m_nHanded % nSlots];
    slot.band = band;
    slot.dwInk = 0;
    slot.bBusy = true;
    slot.bScreened = false;
    slot.bOk = false;
    ++m_nHanded;
    ++m_nRunning;
    // Queued without the lock, which the workers need to finish their bands.
    lock.unlock();
    if (!m_pPool->Submit(&BandScreener::RunTask, &slot, true)) {
        Screen(slot);  // the queue cannot take it: screened here
    }
    return !m_bFailed.load();
}

bool BandScreener::Finish()
{
    if (m_uDepth == 0) {
        return !m_bFailed;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_nRunning != 0) {
        StageTimer wait(STAGE_SCREEN_WAIT);
        m_changed.wait(lock, [this] { return m_nRunning == 0; });
    }
    return !m_bFailed;
}

void BandScreener::RunTask(void* pvSlot)
{
    Slot* pSlot = static_cast<Slot*>(pvSlot);
    pSlot->pOwner->Screen(*pSlot);
}

void BandScreener::Screen(Slot& slot)
{
    DWORD dwInk = 0;
    bool bOk;
    {
        StageTimer screen(STAGE_SCREEN);
        bOk = m_pfnScreen(m_pvContext, slot.band, slot.pScratch.get(), &dwInk);
    }
    std::unique_lock<std::mutex> lock(m_lock);
    slot.dwInk = dwInk;
    slot.bOk = bOk;
    slot.bScreened = true;
    if (!bOk) {
        m_bFailed = true;
    }
    if (!m_bReporting) {
        // One reporter at a time; a band screened meanwhile is reported by it.
        m_bReporting = true;
        ReportDone(lock);
        m_bReporting = false;
    }
    --m_nRunning;
    // Notified under the lock: once it is released, the destructor may end the screener.
    m_changed.notify_all();
}

void BandScreener::ReportDone(std::unique_lock<std::mutex>& lock)
{
    const size_t nSlots = m_uDepth + 1;
    while (m_nReported < m_nHanded) {
        Slot& slot = m_aSlots[m_nReported % nSlots];
        if (!slot.bScreened || !slot.bOk) {
            return;  // not yet, or never: a failed band holds up every band after it
        }
        // Without the lock: the callback takes locks of its own (the page's compression), and the
        // reader and the workers go on meanwhile. The slot stays busy, so nobody reuses it.
        const tagSCREENBAND band = slot.band;
        const DWORD dwInk = slot.dwInk;
        lock.unlock();
        m_pfnDone(m_pvContext, band, dwInk);
        lock.lock();
        slot.bBusy = false;
        ++m_nReported;
        m_changed.notify_all();
    }
}
