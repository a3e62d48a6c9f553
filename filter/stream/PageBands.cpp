// One rendered page from the stream to the renderer, band by band: rows are read into a band
// buffer padded to 4 bytes a row (the renderer's band format), a landscape page is turned by 90
// degrees band by band, and each band is placed on the printable area of the sheet. The bands are
// screened on the job's workers while the next band is read from the pipe, several upright bands at
// once, so a page has a band buffer more than it has bands in hand. The buffers are kept for the
// job, the turned band's is made once a page; the band loop allocates nothing.
#include "filter/stream/PipeStream.h"
#include "filter/stream/StreamReader.h"
#include "filter/stream/PageGeometry.h"
#include "filter/stream/PageBands.h"

#include "filter/stream/BandScreener.h"
#include "filter/log/FilterLog.h"
#include "filter/frame/RendererSetup.h"
#include "filter/render/Renderer.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/encode/PageEncode.h"
#include "filter/render/screen/Screening.h"
#include "filter/render/workers/WorkerPool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr LONG kDefaultBandMultiple = 8;
constexpr int kAllocFailedLine = 434;  // the number the "Alloc memory faild!" message has always carried
constexpr size_t kRgbBytes = 3;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<BYTE, FreeDeleter>;

// Bytes of a row of `pixels` pixels of `bits` bits, padded to 32 bits.
size_t PaddedRowBytes(size_t pixels, size_t bits)
{
    return ((pixels * bits + 31) >> 5) * 4;
}

// The page width is cut to a whole multiple of the model's band width multiple; a model without a
// positive one gets the usual multiple.
LONG PageWidthMultiple(const tagJOBINFO* pJob)
{
    LONG lMultiple = ModelBandWidthMultiple(pJob->pRenderOptions);
    return lMultiple > 0 ? lMultiple : kDefaultBandMultiple;
}

// A gray row (one byte a pixel) widened in place to red, green and blue: from the right end, so
// that no pixel is overwritten before it is read.
void WidenGrayRow(BYTE* pbRow, size_t width)
{
    for (size_t i = width; i-- > 0;) {
        BYTE v = pbRow[i];
        pbRow[3 * i] = pbRow[3 * i + 1] = pbRow[3 * i + 2] = v;
    }
}

// The band turned by 90 degrees: pixel (row i, column j) of the band goes to row (width - 1 - j),
// pixel i of the turned band, so that the page's left edge becomes the band's bottom edge.
void TurnBand(const BYTE* pbBand, size_t cbBandRow, size_t rows, size_t width, BYTE* pbTurned, size_t cbTurnedRow)
{
    for (size_t i = 0; i < rows; ++i) {
        const BYTE* pbSource = pbBand + i * cbBandRow;
        for (size_t j = 0; j < width; ++j) {
            BYTE* pbTarget = pbTurned + (width - 1 - j) * cbTurnedRow + i * kRgbBytes;
            std::memcpy(pbTarget, pbSource + j * kRgbBytes, kRgbBytes);
        }
    }
}

// What the screening of every band of a page shares: where the page goes on the sheet.
struct tagBANDPLACEMENT {
    tagJOBINFO* pJob;
    const tagPAGEGEOMETRY* pGeometry;
    LONG lWidth;  // the raster's width and height
    LONG lHeight;
    LONG lPageWidth;  // the printable page the bands are placed on
    LONG lPageHeight;
    size_t cbBandRow;
    BYTE* pbTurned;  // the turned band of a landscape page, nullptr for an upright one
};

// The page row an upright band starting at raster row lRow is placed at.
LONG UprightOriginY(const tagBANDPLACEMENT& p, LONG lRow)
{
    LONG lOriginY = lRow - p.pGeometry->lTopOffset;
    // A raster taller than the sheet is placed with its bottom on the sheet's bottom.
    if (p.lHeight > p.pGeometry->lPaperHeight) {
        lOriginY += p.pGeometry->lPaperHeight - p.lHeight;
    }
    return lOriginY;
}

// The page's compression started with its bitmap, given up unless the page is read whole.
class PageEncoderGuard {
public:
    explicit PageEncoderGuard(tagJOBINFO* pJob) : m_pJob(pJob) {}
    ~PageEncoderGuard()
    {
        if (m_bKeep) {
            return;
        }
        PageEncoderFree(m_pJob->pPageEncoder);
        m_pJob->pPageEncoder = nullptr;
    }
    PageEncoderGuard(const PageEncoderGuard&) = delete;
    PageEncoderGuard& operator=(const PageEncoderGuard&) = delete;
    void Keep() { m_bKeep = true; }

private:
    tagJOBINFO* m_pJob;
    bool m_bKeep = false;
};

// A band of the raster onto the page, turned first on a landscape page. Upright bands cover rows of
// their own and may be screened at the same time; turned bands are columns that share the bitmap's
// bytes at their edges, and the one turned buffer: they are screened one at a time.
bool PlaceBand(void* pvPlacement, const tagSCREENBAND& band, tagSCREENSCRATCH* pScratch, DWORD* pdwInk)
{
    const tagBANDPLACEMENT& p = *static_cast<const tagBANDPLACEMENT*>(pvPlacement);
    const tagPAGEGEOMETRY* pGeometry = p.pGeometry;
    if (p.pbTurned == nullptr) {
        return SendBand(p.pJob, SCREEN_BITS_PER_PIXEL, p.lWidth, band.lRows, p.lPageWidth, p.lPageHeight,
                        -pGeometry->lLeftOffset, UprightOriginY(p, band.lFirstRow), band.pbPixels, pScratch,
                        pdwInk) != 0;
    }
    TurnBand(band.pbPixels, p.cbBandRow, static_cast<size_t>(band.lRows), static_cast<size_t>(p.lWidth), p.pbTurned,
             PaddedRowBytes(static_cast<size_t>(band.lRows), SCREEN_BITS_PER_PIXEL));
    return SendBand(p.pJob, SCREEN_BITS_PER_PIXEL, band.lRows, p.lWidth, p.lPageWidth, p.lPageHeight,
                    band.lFirstRow - pGeometry->lLeftOffset, -pGeometry->lTopOffset, p.pbTurned, pScratch, pdwInk) != 0;
}

// A band and every band above it screened: its ink into the page's, and on an upright page the rows
// above the next band, which the bands below cannot reach, may be compressed while the rest of the
// page is read.
void BandPlaced(void* pvPlacement, const tagSCREENBAND& band, DWORD dwInk)
{
    const tagBANDPLACEMENT& p = *static_cast<const tagBANDPLACEMENT*>(pvPlacement);
    p.pJob->pRenderContext->dwInkMask |= dwInk;
    if (p.pbTurned == nullptr) {
        PageEncoderRowsDone(p.pJob->pPageEncoder,
                            PageRowsAbove(p.pJob->pRenderContext, p.pJob->pRenderOptions->pPageBitmap,
                                          UprightOriginY(p, band.lFirstRow + band.lRows)));
    }
}

// `count` of the job's band buffers of `rows` rows of `cbRow` bytes: kept from page to page, so
// that a page does not map and fault in fresh memory for them while it reads the pipe; made anew,
// zeroed, for rows of another length or a taller band. How many there are (fewer when memory runs
// out).
unsigned JobBandBuffers(tagJOBINFO* pJob, unsigned count, size_t rows, size_t cbRow)
{
    static_assert(kJobBandBuffers == kMaxScreenDepth + 1, "a buffer for every band in hand and the one read");
    tagBANDBUFFERS& buffers = pJob->bandBuffers;
    if (buffers.cbRow != cbRow || buffers.nRows < rows) {
        for (BYTE*& pbBuffer : buffers.apb) {
            std::free(pbBuffer);
        }
        buffers = tagBANDBUFFERS{{}, cbRow, rows};
    }
    unsigned have = 0;
    for (; have < count && have < kJobBandBuffers; ++have) {
        if (buffers.apb[have] == nullptr) {
            buffers.apb[have] = static_cast<BYTE*>(std::calloc(rows, cbRow));
            if (buffers.apb[have] == nullptr) {
                break;
            }
        }
    }
    return have;
}

// Bands of a page screened at once: one a worker, up to the screener's most; a turned page's one
// at a time.
unsigned ScreenDepth(const tagJOBINFO* pJob, bool bTurn)
{
    const unsigned uWorkers = pJob->pWorkers == nullptr ? 0 : pJob->pWorkers->Threads();
    if (uWorkers == 0) {
        return 0;
    }
    return bTurn ? 1 : std::min(uWorkers, kMaxScreenDepth);
}

}  // namespace

int ReadPageBands(tagJOBINFO* pJob, int fd, const tagPAGEBITMAPINFO* pInfo, const tagPAGEGEOMETRY* pGeometry,
                  int bRotate)
{
    if (pJob == nullptr || pInfo == nullptr || pGeometry == nullptr) {
        return 0;
    }
    const LONG lWidth = pInfo->lWidth;
    const LONG lHeight = pInfo->lHeight;
    if (lWidth <= 0 || lHeight <= 0 || lWidth > kMaxPnmDimension || lHeight > kMaxPnmDimension) {
        return 0;
    }
    if (pInfo->wBitCount != 24 && pInfo->wBitCount != 8) {
        return 0;
    }

    LONG lBandRows = pJob->iBandHeight > 0 ? pJob->iBandHeight : kDefaultStreamBandRows;
    if (lBandRows > lHeight) {
        lBandRows = lHeight;
    }
    bool bTurn = bRotate != 0 && pJob->devmode.dm.dmOrientation != 1;

    // Rows as the stream holds them, and as the renderer takes them (24 bits a pixel).
    const size_t cbSourceRow = (static_cast<size_t>(lWidth) * pInfo->wBitCount + 7) >> 3;
    const size_t cbBandRow = PaddedRowBytes(static_cast<size_t>(lWidth), SCREEN_BITS_PER_PIXEL);

    LONG lPageWidth = bTurn ? pGeometry->lPrintableHeight : pGeometry->lPrintableWidth;
    LONG lPageHeight = bTurn ? pGeometry->lPrintableWidth : pGeometry->lPrintableHeight;
    LONG lMultiple = PageWidthMultiple(pJob);
    lPageWidth = lPageWidth / lMultiple * lMultiple;
    if (lPageWidth <= 0 || lPageHeight <= 0) {
        return 0;
    }
    pJob->iPageWidth = lPageWidth;
    pJob->iPageHeight = lPageHeight;
    pJob->wPlaneCount = pJob->devmode.priv.dmColor == 1 ? 1 : 4;

    // A page read but never sent: its compression ends before a new bitmap replaces its own.
    PageEncoderFree(pJob->pPageEncoder);
    pJob->pPageEncoder = nullptr;
    if (SetupRendererPage(pJob) == 0) {
        return 0;
    }

    // A buffer more than bands in hand is what lets the next band be read while they are screened;
    // with one buffer only the bands are screened one after the other.
    const unsigned uBuffers =
        JobBandBuffers(pJob, ScreenDepth(pJob, bTurn) + 1, static_cast<size_t>(lBandRows), cbBandRow);
    BYTE* const* bands = pJob->bandBuffers.apb;
    // Turned rows are as long as the band has rows: the last, shorter band has shorter ones.
    const size_t cbMaxTurnedRow = PaddedRowBytes(static_cast<size_t>(lBandRows), SCREEN_BITS_PER_PIXEL);
    Buffer turned(bTurn ? static_cast<BYTE*>(std::calloc(static_cast<size_t>(lWidth), cbMaxTurnedRow)) : nullptr);
    if (uBuffers == 0 || (bTurn && turned == nullptr)) {
        LogMessage(LOG_ERROR, "Alloc memory faild! (line %d)\n", kAllocFailedLine);
        return 0;
    }

    // Compressed from the page's top while the page is read: a turned page's bands each reach
    // every row, so its compression waits for the page's end.
    pJob->pPageEncoder =
        PageEncoderStart(pJob->pRenderContext, pJob->pRenderOptions, pJob->iBandHeight, JobEncodeWorkers(pJob));
    PageEncoderGuard encoderGuard(pJob);

    tagBANDPLACEMENT placement = {pJob, pGeometry, lWidth, lHeight, lPageWidth, lPageHeight, cbBandRow, turned.get()};
    // Declared after the turned buffer and the encoder, so that it is done with them before they go.
    BandScreener screener(PlaceBand, BandPlaced, &placement, pJob->pWorkers, uBuffers - 1);
    const LONG iBuffers = static_cast<LONG>(screener.Depth()) + 1;
    for (LONG y = 0, iBand = 0; y < lHeight; ++iBand) {
        LONG n = lHeight - y < lBandRows ? lHeight - y : lBandRows;
        BYTE* pbBand = bands[iBand % iBuffers];
        for (LONG r = 0; r < n; ++r) {
            BYTE* pbRow = pbBand + static_cast<size_t>(r) * cbBandRow;
            if (ReadFull(fd, pbRow, cbSourceRow) == 0) {
                return 0;
            }
            if (pInfo->wBitCount == 8) {
                WidenGrayRow(pbRow, static_cast<size_t>(lWidth));
            }
        }
        if (!screener.Hand(tagSCREENBAND{pbBand, n, y})) {
            return 0;
        }
        y += n;
    }
    if (!screener.Finish()) {
        return 0;
    }
    encoderGuard.Keep();  // the page's sending finishes it
    return -1;
}
