// A page's raster blocks as a list of band-planes (one band of one bit-plane each, in the order
// their blocks go out) and the two ways of encoding the list: one after the other, or compressed on
// the job's workers ahead of the thread that appends them in order. Both give the same bytes.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/encode/BandCompress.h"
#include "filter/render/OutputBuffer.h"
#include "filter/render/workers/WorkerPool.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

// One band of one bit-plane.
struct tagBANDPLANE {
    const BYTE* pbBand;  // its first row in the page bitmap
    DWORD dwWidth;       // dots a row; rows are (dwWidth + 7) / 8 bytes
    DWORD dwRows;
    DWORD dwRowEnd;   // the bitmap row after its last
    WORD wPlane;      // the plane number its blocks carry
    WORD wBandFlags;  // first-band and last-band flags of its band
};

// The most band-planes compressed ahead of the one being appended: bounds the memory of the
// waiting blocks to a few bands.
inline constexpr size_t kEncodeAheadBandPlanes = 8;

// The band-plane's blocks into `out`: compressed, or raw rows when the compressor writes nothing.
void EncodeBandPlane(const tagBANDCOMPRESSOR& compressor, const tagBANDPLANE& bandPlane, tagOUTPUTBUFFER* out);

// Every band-plane's blocks into `out` in the list's order, the same bytes as EncodeBandPlane on each
// in turn. With a pool that has workers, an AheadEncoder on them and this thread. No task of the
// call is left in the pool when it returns.
void EncodeBandPlanes(const tagBANDCOMPRESSOR& compressor, const std::vector<tagBANDPLANE>& bandPlanes,
                      tagOUTPUTBUFFER* out, WorkerPool* pool);

// Band-planes compressed ahead on the job's workers, each into blocks of its own, and appended to
// the page's buffer in the list's order as they are done. Band-planes are taken strictly in order,
// none further than kEncodeAheadBandPlanes past the first not yet appended, and none before its rows
// are final (RowsReady), so that a page can be compressed while it is still being screened. A task
// compresses one band-plane and is queued again while there is more, so that no worker sits in a
// task waiting for rows (the screening thread makes them final); no more tasks are queued than the
// pool has workers. The thread that finishes the page compresses whatever is ready and not taken; a
// band-plane that cannot get blocks of its own is compressed straight into the page's buffer.
class AheadEncoder {
public:
    // `page` receives the blocks; it and `pool` must outlive the encoder. Without a pool, or one
    // without workers, everything is compressed by Finish.
    AheadEncoder(const tagBANDCOMPRESSOR& compressor, std::vector<tagBANDPLANE> bandPlanes, tagOUTPUTBUFFER* page,
                 WorkerPool* pool);
    // Stops taking band-planes (a task finishes the one in hand) and waits until none of its tasks
    // is queued or running.
    ~AheadEncoder();
    AheadEncoder(const AheadEncoder&) = delete;
    AheadEncoder& operator=(const AheadEncoder&) = delete;

    // Whether band-planes are compressed on the pool's workers.
    bool OnWorkers() const { return m_maxTasks > 0; }

    // The bitmap rows before `rows` are final: band-planes that end there may be compressed.
    void RowsReady(DWORD rows);

    // Every row final; returns once every band-plane's blocks are in the page's buffer.
    void Finish();

private:
    struct Slot {
        tagOUTPUTBUFFER* pBlocks = nullptr;  // its blocks; nullptr when the helper could not get any
        bool bDone = false;
    };
    static void RunTask(void* pvEncoder);
    bool MayTakeNext() const;
    // Under the lock: band-planes that may be taken now, up to the number of workers.
    size_t Takeable() const;
    // Under the lock: tasks counted as queued, up to the workers and to what may be taken; the
    // number to queue with QueueTasks once the lock is released (the workers need it).
    size_t ReserveTasks();
    // Without the lock: the reserved tasks into the pool; those it cannot take are uncounted.
    void QueueTasks(size_t tasks);
    // Under the lock: the next band-plane compressed (the lock released meanwhile) into blocks of
    // its own, or straight into the page's buffer when it is the next to be appended.
    void CompressNext(std::unique_lock<std::mutex>& lock);
    // Under the lock: the done band-planes next in order into the page's buffer.
    void AppendDone();

    const tagBANDCOMPRESSOR m_compressor;
    const std::vector<tagBANDPLANE> m_bandPlanes;
    tagOUTPUTBUFFER* const m_page;
    std::vector<Slot> m_slots;
    WorkerPool* const m_pool;
    const size_t m_maxTasks;  // the pool's workers; 0 without a pool
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_next = 0;      // the first band-plane nobody has taken
    size_t m_appended = 0;  // band-planes in the page's buffer
    size_t m_tasks = 0;     // tasks queued or running
    size_t m_waiting = 0;   // tasks queued and not yet running
    DWORD m_rowsReady = 0;
    bool m_stop = false;
};
