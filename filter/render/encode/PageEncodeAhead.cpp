#include "filter/render/encode/PageEncodeAhead.h"

#include "filter/render/encode/RasterBlockWriter.h"

#include <algorithm>
#include <limits>
#include <utility>

void EncodeBandPlane(const tagBANDCOMPRESSOR& compressor, const tagBANDPLANE& bandPlane, tagOUTPUTBUFFER* out)
{
    const tagBANDPLANE& b = bandPlane;
    if (CompressBandPlane(compressor, b.wBandFlags, out, b.pbBand, b.wPlane, b.dwWidth, b.dwRows) == FLAG_FALSE) {
        AppendRawRows(out, b.wBandFlags, b.pbBand, (static_cast<size_t>(b.dwWidth) + 7) / 8, b.dwRows, b.wPlane);
    }
}

void EncodeBandPlanes(const tagBANDCOMPRESSOR& compressor, const std::vector<tagBANDPLANE>& bandPlanes,
                      tagOUTPUTBUFFER* out, WorkerPool* pool)
{
    if (pool == nullptr || pool->Threads() == 0 || bandPlanes.size() <= 1) {
        for (const tagBANDPLANE& bandPlane : bandPlanes) {
            EncodeBandPlane(compressor, bandPlane, out);
        }
        return;
    }
    AheadEncoder encoder(compressor, bandPlanes, out, pool);
    encoder.Finish();
}

AheadEncoder::AheadEncoder(const tagBANDCOMPRESSOR& compressor, std::vector<tagBANDPLANE> bandPlanes,
                           tagOUTPUTBUFFER* page, WorkerPool* pool)
    : m_compressor(compressor),
      m_bandPlanes(std::move(bandPlanes)),
      m_page(page),
      m_slots(m_bandPlanes.size()),
      m_pool(pool),
      m_maxTasks(pool == nullptr ? 0 : pool->Threads())
{
}

AheadEncoder::~AheadEncoder()
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_stop = true;
        // A queued task still points here: it runs (every queued task does), sees the stop and
        // leaves.
        m_changed.wait(lock, [this] { return m_tasks == 0; });
    }
    for (Slot& slot : m_slots) {
        OutputBufferFree(slot.pBlocks);  // what a page given up left
    }
}

void AheadEncoder::RowsReady(DWORD rows)
{
    size_t tasks = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (rows <= m_rowsReady) {
            return;
        }
        m_rowsReady = rows;
        tasks = ReserveTasks();
    }
    m_changed.notify_all();
    QueueTasks(tasks);
}

bool AheadEncoder::MayTakeNext() const
{
    return m_next < m_bandPlanes.size() && m_next < m_appended + kEncodeAheadBandPlanes &&
           m_bandPlanes[m_next].dwRowEnd <= m_rowsReady;
}

size_t AheadEncoder::Takeable() const
{
    const size_t end = std::min(m_bandPlanes.size(), m_appended + kEncodeAheadBandPlanes);
    size_t count = 0;
    for (size_t i = m_next; i < end && count < m_maxTasks && m_bandPlanes[i].dwRowEnd <= m_rowsReady; ++i) {
        ++count;
    }
    return count;
}

size_t AheadEncoder::ReserveTasks()
{
    if (m_stop) {
        return 0;
    }
    const size_t takeable = Takeable();
    size_t tasks = 0;
    while (m_tasks < m_maxTasks && m_waiting < takeable) {
        ++m_tasks;
        ++m_waiting;
        ++tasks;
    }
    return tasks;
}

void AheadEncoder::QueueTasks(size_t tasks)
{
    for (size_t i = 0; i < tasks; ++i) {
        if (!m_pool->Submit(&AheadEncoder::RunTask, this)) {
            // The finishing thread does what is left.
            std::lock_guard<std::mutex> lock(m_lock);
            m_tasks -= tasks - i;
            m_waiting -= tasks - i;
            m_changed.notify_all();
            return;
        }
    }
}

void AheadEncoder::AppendDone()
{
    while (m_appended < m_slots.size() && m_slots[m_appended].bDone) {
        Slot& slot = m_slots[m_appended];
        if (slot.pBlocks != nullptr) {
            for (const tagOUTPUTBLOCK* block = slot.pBlocks->pFirst; block != nullptr; block = block->pNext) {
                OutputBufferAppend(m_page, block->pData, block->dwUsed);
            }
            OutputBufferFree(slot.pBlocks);
            slot.pBlocks = nullptr;
        } else {
            EncodeBandPlane(m_compressor, m_bandPlanes[m_appended], m_page);
        }
        ++m_appended;
    }
}

void AheadEncoder::CompressNext(std::unique_lock<std::mutex>& lock)
{
    const size_t i = m_next++;
    // The next to be appended goes straight into the page's buffer: nobody appends to it before
    // this one is done.
    const bool straight = i == m_appended;
    lock.unlock();
    tagOUTPUTBUFFER* blocks = nullptr;
    if (straight) {
        EncodeBandPlane(m_compressor, m_bandPlanes[i], m_page);
    } else if ((blocks = OutputBufferCreate()) != nullptr) {
        EncodeBandPlane(m_compressor, m_bandPlanes[i], blocks);
    }
    lock.lock();
    m_slots[i].bDone = true;
    if (straight) {
        ++m_appended;
    } else {
        m_slots[i].pBlocks = blocks;
    }
    AppendDone();
}

void AheadEncoder::Finish()
{
    RowsReady(std::numeric_limits<DWORD>::max());
    std::unique_lock<std::mutex> lock(m_lock);
    while (m_appended < m_bandPlanes.size()) {
        if (MayTakeNext()) {
            CompressNext(lock);
            const size_t tasks = ReserveTasks();
            m_changed.notify_all();
            if (tasks != 0) {
                lock.unlock();
                QueueTasks(tasks);
                lock.lock();
            }
            continue;
        }
        m_changed.wait(lock, [this] { return m_appended == m_bandPlanes.size() || MayTakeNext(); });
    }
}

void AheadEncoder::RunTask(void* pvEncoder)
{
    AheadEncoder* encoder = static_cast<AheadEncoder*>(pvEncoder);
    size_t tasks = 0;
    {
        std::unique_lock<std::mutex> lock(encoder->m_lock);
        --encoder->m_waiting;
        if (!encoder->m_stop && encoder->MayTakeNext()) {
            encoder->CompressNext(lock);
        }
        --encoder->m_tasks;
        tasks = encoder->ReserveTasks();
        // Notified under the lock: once it is released, the destructor may end the encoder, unless
        // tasks were reserved, which keep it until they have run.
        encoder->m_changed.notify_all();
    }
    encoder->QueueTasks(tasks);
}
