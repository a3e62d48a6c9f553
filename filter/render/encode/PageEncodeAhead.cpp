#include "filter/render/encode/PageEncodeAhead.h"

#include "filter/render/encode/RasterBlockWriter.h"

#include <exception>
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
                      tagOUTPUTBUFFER* out, unsigned threads)
{
    if (threads > kEncodeThreadsMax) {
        threads = kEncodeThreadsMax;
    }
    if (threads <= 1 || bandPlanes.size() <= 1) {
        for (const tagBANDPLANE& bandPlane : bandPlanes) {
            EncodeBandPlane(compressor, bandPlane, out);
        }
        return;
    }
    AheadEncoder encoder(compressor, bandPlanes, out);
    encoder.StartHelpers(threads - 1);
    encoder.Finish();
}

AheadEncoder::AheadEncoder(const tagBANDCOMPRESSOR& compressor, std::vector<tagBANDPLANE> bandPlanes,
                           tagOUTPUTBUFFER* page)
    : m_compressor(compressor), m_bandPlanes(std::move(bandPlanes)), m_page(page), m_slots(m_bandPlanes.size())
{
}

AheadEncoder::~AheadEncoder()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
    for (Slot& slot : m_slots) {
        OutputBufferFree(slot.pBlocks);  // what a page given up left
    }
}

unsigned AheadEncoder::StartHelpers(unsigned count)
{
    unsigned started = 0;
    for (; started < count; ++started) {
        try {
            m_helpers.emplace_back(&AheadEncoder::Help, this);
        } catch (const std::exception&) {
            break;  // fewer helpers (no thread or no memory); the finishing thread does what they leave
        }
    }
    return started;
}

void AheadEncoder::RowsReady(DWORD rows)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (rows <= m_rowsReady) {
            return;
        }
        m_rowsReady = rows;
    }
    m_changed.notify_all();
}

bool AheadEncoder::MayTakeNext() const
{
    return m_next < m_bandPlanes.size() && m_next < m_appended + kEncodeAheadBandPlanes &&
           m_bandPlanes[m_next].dwRowEnd <= m_rowsReady;
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

void AheadEncoder::Finish()
{
    RowsReady(std::numeric_limits<DWORD>::max());
    std::unique_lock<std::mutex> lock(m_lock);
    while (m_appended < m_bandPlanes.size()) {
        if (m_next == m_appended) {
            // Nobody has the next one: compressed here, straight into the page's buffer, which no
            // other thread appends to while it is not done.
            const size_t i = m_next++;
            lock.unlock();
            m_changed.notify_all();
            EncodeBandPlane(m_compressor, m_bandPlanes[i], m_page);
            lock.lock();
            m_slots[i].bDone = true;
            ++m_appended;
            AppendDone();
            m_changed.notify_all();
            continue;
        }
        m_changed.wait(lock, [this] { return m_appended == m_bandPlanes.size() || m_next == m_appended; });
    }
}

void AheadEncoder::Help()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_next >= m_bandPlanes.size() || MayTakeNext(); });
        if (m_stop || m_next >= m_bandPlanes.size()) {
            return;
        }
        const size_t i = m_next++;
        lock.unlock();
        tagOUTPUTBUFFER* blocks = OutputBufferCreate();
        if (blocks != nullptr) {
            EncodeBandPlane(m_compressor, m_bandPlanes[i], blocks);
        }
        lock.lock();
        m_slots[i].pBlocks = blocks;
        m_slots[i].bDone = true;
        AppendDone();
        m_changed.notify_all();
    }
}
