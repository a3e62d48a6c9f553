// A page's raster blocks as a list of band-planes (one band of one bit-plane each, in the order
// their blocks go out) and the two ways of encoding the list: one after the other, or compressed on
// several threads ahead of the one that appends them in order. Both give the same bytes.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/encode/BandCompress.h"
#include "filter/render/OutputBuffer.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
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

// The most threads that compress a page.
inline constexpr unsigned kEncodeThreadsMax = 4;

// The band-plane's blocks into `out`: compressed, or raw rows when the compressor writes nothing.
void EncodeBandPlane(const tagBANDCOMPRESSOR& compressor, const tagBANDPLANE& bandPlane, tagOUTPUTBUFFER* out);

// Every band-plane's blocks into `out` in the list's order, the same bytes as EncodeBandPlane on each
// in turn. With `threads` above 1 (at most kEncodeThreadsMax count), an AheadEncoder with threads - 1
// helpers and this thread. The helpers have ended when the call returns.
void EncodeBandPlanes(const tagBANDCOMPRESSOR& compressor, const std::vector<tagBANDPLANE>& bandPlanes,
                      tagOUTPUTBUFFER* out, unsigned threads);

// Helper threads that compress band-planes ahead, each into blocks of its own, and append them to
// the page's buffer in the list's order as they are done. Band-planes are taken strictly in order,
// none further than kEncodeAheadBandPlanes past the first not yet appended, and none before its rows
// are final (RowsReady), so that a page can be compressed while it is still being screened. The
// thread that finishes the page compresses itself whatever no helper has taken; a helper that
// cannot get blocks has its band-plane compressed straight into the page's buffer.
class AheadEncoder {
public:
    // `page` receives the blocks; it must outlive the encoder.
    AheadEncoder(const tagBANDCOMPRESSOR& compressor, std::vector<tagBANDPLANE> bandPlanes, tagOUTPUTBUFFER* page);
    // Stops the helpers (each finishes the band-plane in hand) and waits for them.
    ~AheadEncoder();
    AheadEncoder(const AheadEncoder&) = delete;
    AheadEncoder& operator=(const AheadEncoder&) = delete;

    // Starts up to `count` helpers; the number that started.
    unsigned StartHelpers(unsigned count);

    // The bitmap rows before `rows` are final: band-planes that end there may be compressed.
    void RowsReady(DWORD rows);

    // Every row final; returns once every band-plane's blocks are in the page's buffer.
    void Finish();

private:
    struct Slot {
        tagOUTPUTBUFFER* pBlocks = nullptr;  // its blocks; nullptr when the helper could not get any
        bool bDone = false;
    };
    void Help();
    bool MayTakeNext() const;
    // Under the lock: the done band-planes next in order into the page's buffer.
    void AppendDone();

    const tagBANDCOMPRESSOR m_compressor;
    const std::vector<tagBANDPLANE> m_bandPlanes;
    tagOUTPUTBUFFER* const m_page;
    std::vector<Slot> m_slots;
    std::vector<std::thread> m_helpers;
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_next = 0;      // the first band-plane nobody has taken
    size_t m_appended = 0;  // band-planes in the page's buffer
    DWORD m_rowsReady = 0;
    bool m_stop = false;
};
