// A page's screening on the job's workers: the reading thread hands a band over and reads the next
// one from the pipe while the bands in hand are screened, several at a time on several workers.
// Up to Depth() bands are in hand at once, each in a band buffer of its own, so a page has
// Depth() + 1 band buffers, filled in turn: band i in buffer i % (Depth() + 1). The screener never
// touches a buffer after the band that named it is done, and it is done with every band before
// Finish or its destructor returns, so the buffers may be freed right after either.
#pragma once

#include "core/WinTypes.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class WorkerPool;
struct tagSCREENSCRATCH;

// One band as the reading thread hands it over.
struct tagSCREENBAND {
    const BYTE* pbPixels;  // the band's rows, valid until the band is done
    LONG lRows;            // rows in the band
    LONG lFirstRow;        // the band's first row in the page's raster
};

// The most bands of a page in hand at once: each holds a band buffer (2 MB for a band of 128 rows at
// 600 dpi), and the workers are busy with compression as much as with screening.
inline constexpr unsigned kMaxScreenDepth = 4;

class BandScreener {
public:
    // Screens one band: true when it succeeded; the band's ink mask into *pdwInk. `pScratch` is
    // working memory no other band uses meanwhile (nullptr when it could not be had). Called on a
    // worker, or on the caller's thread without one; up to Depth() bands at a time, in any order.
    typedef bool (*PFNSCREENBAND)(void* pvContext, const tagSCREENBAND& band, tagSCREENSCRATCH* pScratch,
                                  DWORD* pdwInk);
    // Called for every band screened, in the order the bands were handed over, once it and every
    // band before it are screened: one call at a time, on a worker that screened one of them.
    // Not for a band that failed, nor for any band after it.
    typedef void (*PFNBANDDONE)(void* pvContext, const tagSCREENBAND& band, DWORD dwInk);

    // Up to `uDepth` bands in hand at once (at most kMaxScreenDepth) on the pool's workers. With a
    // depth of 0, or without a pool that has workers, every band is screened at its hand-over on the
    // caller's thread and Depth() is 0.
    BandScreener(PFNSCREENBAND pfnScreen, PFNBANDDONE pfnDone, void* pvContext, WorkerPool* pPool, unsigned uDepth);
    // Waits for the bands in hand.
    ~BandScreener();
    BandScreener(const BandScreener&) = delete;
    BandScreener& operator=(const BandScreener&) = delete;

    // Waits until fewer than Depth() bands are in hand (the buffer of the band after this one is then
    // free), then hands this band over. false when a band before it failed (this one is then not
    // taken) or, on the caller's thread, when this one failed: the page cannot be completed.
    bool Hand(const tagSCREENBAND& band);

    // Waits for the bands in hand. true when every band handed over was screened.
    bool Finish();

    // Bands in hand at once; 0 when they are screened on the caller's thread.
    unsigned Depth() const { return m_uDepth; }

private:
    struct ScratchDeleter {
        void operator()(tagSCREENSCRATCH* pScratch) const;
    };
    // A band buffer's band while it is in hand.
    struct Slot {
        BandScreener* pOwner = nullptr;
        std::unique_ptr<tagSCREENSCRATCH, ScratchDeleter> pScratch;
        tagSCREENBAND band{};
        DWORD dwInk = 0;
        bool bBusy = false;      // handed over and not yet reported done (or given up)
        bool bScreened = false;  // screened, its result in bOk
        bool bOk = false;
    };
    static void RunTask(void* pvSlot);
    // Screens the slot's band on this thread, then records it.
    void Screen(Slot& slot);
    // Under the lock, which it releases around each call of the done callback: the bands screened
    // next in order reported done and their slots freed.
    void ReportDone(std::unique_lock<std::mutex>& lock);

    PFNSCREENBAND m_pfnScreen;
    PFNBANDDONE m_pfnDone;
    void* m_pvContext;
    WorkerPool* m_pPool;
    unsigned m_uDepth = 0;
    Slot m_aSlots[kMaxScreenDepth + 1];
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_nHanded = 0;                // bands handed over
    size_t m_nReported = 0;              // bands reported done
    size_t m_nRunning = 0;               // bands queued or being screened on a worker
    std::atomic<bool> m_bFailed{false};  // written under the lock, read also without it
    bool m_bReporting = false;           // a worker is reporting bands done
};
