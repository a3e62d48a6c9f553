// The pages' screening on a thread of its own, kept for the job: the reading thread hands a band
// over and reads the next one from the pipe while this one is screened. One band is in hand at a
// time, so two band buffers serve a page: the one being filled and the one being screened. The
// screener never touches a buffer after the band that named it is done, and it is done with every
// band before Finish, StartPage or its destructor returns, so the buffers, and whatever the page's
// screening routine works on, may go right after either.
#pragma once

#include "core/WinTypes.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// One band as the reading thread hands it over.
struct tagSCREENBAND {
    const BYTE* pbPixels;  // the band's rows, valid until the band is done
    LONG lRows;            // rows in the band
    LONG lFirstRow;        // the band's first row in the page's raster
};

class BandScreener {
public:
    // Screens one band: true when it succeeded. Called on the screening thread, one band at a time
    // and in the order the bands were handed over.
    typedef bool (*PFNSCREENBAND)(void* pvContext, const tagSCREENBAND& band);

    // With bThreaded false, or when the thread cannot be started, every band is screened at its
    // hand-over on the caller's thread. pfnScreen may be null until StartPage names one.
    BandScreener(PFNSCREENBAND pfnScreen, void* pvContext, bool bThreaded);
    // Waits for the band in hand, then ends the thread.
    ~BandScreener();
    BandScreener(const BandScreener&) = delete;
    BandScreener& operator=(const BandScreener&) = delete;

    // Waits for the band in hand, then hands this one over. false when a band before it failed (this
    // one is then not taken) or, without a thread, when this one failed: the page cannot be
    // completed.
    bool Hand(const tagSCREENBAND& band);

    // Waits for the band in hand. true when every band handed over was screened.
    bool Finish();

    // Starts another page's bands: waits for the band in hand, forgets a failure of the page
    // before, and screens with this routine from now on.
    void StartPage(PFNSCREENBAND pfnScreen, void* pvContext);

    // Whether bands are screened on a thread of their own.
    bool Threaded() const { return m_thread.joinable(); }

private:
    void Run();
    // Waits, under the lock, until no band is in hand.
    void WaitIdle(std::unique_lock<std::mutex>& lock);

    PFNSCREENBAND m_pfnScreen;
    void* m_pvContext;
    std::mutex m_lock;
    std::condition_variable m_changed;
    tagSCREENBAND m_band{};
    bool m_bInHand = false;
    bool m_bFailed = false;
    bool m_bStop = false;
    std::thread m_thread;
};
