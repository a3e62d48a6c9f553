#include "filter/render/PageEncodeAhead.h"

#include "filter/render/RasterBlockWriter.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <exception>
#include <thread>

namespace {

struct OutputBufferDeleter {
    void operator()(tagOUTPUTBUFFER* buffer) const { OutputBufferFree(buffer); }
};
using OwnedOutput = std::unique_ptr<tagOUTPUTBUFFER, OutputBufferDeleter>;

// What became of a band-plane a helper took.
struct AheadSlot {
    OwnedOutput blocks;  // its blocks; nullptr when the helper could not get any
    bool done = false;
};

// The helpers and the appending thread over one list. Band-planes are taken strictly in the list's
// order, and none further than kEncodeAheadBandPlanes past the one being appended.
class AheadEncoder {
public:
    AheadEncoder(const tagBANDCOMPRESSOR& compressor, const std::vector<tagBANDPLANE>& bandPlanes)
        : m_compressor(compressor), m_bandPlanes(bandPlanes), m_slots(bandPlanes.size())
    {
    }
    // Stops the helpers (they finish the band-plane in hand) and waits for them.
    ~AheadEncoder()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_stop = true;
        }
        m_changed.notify_all();
        for (std::thread& helper : m_helpers) {
            helper.join();
        }
    }
    AheadEncoder(const AheadEncoder&) = delete;
    AheadEncoder& operator=(const AheadEncoder&) = delete;

    void StartHelpers(unsigned count)
    {
        for (unsigned i = 0; i < count; ++i) {
            try {
                m_helpers.emplace_back(&AheadEncoder::Help, this);
            } catch (const std::exception&) {
                break;  // fewer helpers (no thread or no memory); this thread does what they leave
            }
        }
    }

    void AppendAll(tagOUTPUTBUFFER* out)
    {
        for (size_t i = 0; i < m_bandPlanes.size(); ++i) {
            std::unique_lock<std::mutex> lock(m_lock);
            m_appending = i;
            if (m_next == i) {
                // No helper has it: compressed here, straight into the output.
                ++m_next;
                lock.unlock();
                m_changed.notify_all();  // the window moved on
                EncodeBandPlane(m_compressor, m_bandPlanes[i], out);
                continue;
            }
            m_changed.notify_all();
            m_changed.wait(lock, [this, i] { return m_slots[i].done; });
            OwnedOutput blocks = std::move(m_slots[i].blocks);
            lock.unlock();
            if (blocks == nullptr) {
                EncodeBandPlane(m_compressor, m_bandPlanes[i], out);
                continue;
            }
            for (const tagOUTPUTBLOCK* block = blocks->pFirst; block != nullptr; block = block->pNext) {
                OutputBufferAppend(out, block->pData, block->dwUsed);
            }
        }
    }

private:
    void Help()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        for (;;) {
            m_changed.wait(lock, [this] {
                return m_stop || m_next >= m_bandPlanes.size() || m_next < m_appending + kEncodeAheadBandPlanes;
            });
            if (m_stop || m_next >= m_bandPlanes.size()) {
                return;
            }
            const size_t i = m_next++;
            lock.unlock();
            OwnedOutput blocks(OutputBufferCreate());
            if (blocks != nullptr) {
                EncodeBandPlane(m_compressor, m_bandPlanes[i], blocks.get());
            }
            lock.lock();
            m_slots[i].blocks = std::move(blocks);
            m_slots[i].done = true;
            m_changed.notify_all();
        }
    }

    const tagBANDCOMPRESSOR m_compressor;
    const std::vector<tagBANDPLANE>& m_bandPlanes;
    std::vector<AheadSlot> m_slots;
    std::vector<std::thread> m_helpers;
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_next = 0;  // the first band-plane nobody has taken
    size_t m_appending = 0;  // the band-plane being appended
    bool m_stop = false;
};

}  // namespace

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
    AheadEncoder encoder(compressor, bandPlanes);
    encoder.StartHelpers(threads - 1);
    encoder.AppendAll(out);
}
