// One rendered page from the stream to the renderer, band by band: rows are read into a band
// buffer padded to 4 bytes a row (the renderer's band format), a landscape page is turned by 90
// degrees band by band, and each band is placed on the printable area of the sheet. The bands are
// screened on the job's screening thread while the next band is read from the pipe, so a page has
// two band buffers; both are the job's (JobBands), and the band loop allocates nothing.
#include "filter/stream/PipeStream.h"
#include "filter/stream/StreamReader.h"
#include "filter/stream/PageGeometry.h"
#include "filter/stream/PageBands.h"

#include "filter/stream/BandScreener.h"
#include "filter/stream/JobBands.h"
#include "filter/log/FilterLog.h"
#include "filter/frame/RendererSetup.h"
#include "filter/render/Renderer.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/encode/PageEncode.h"
#include "filter/render/screen/Screening.h"

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

// The page's bands on the job's screener: the page's routine from the start, and every band done
// before the page's locals (its placement, its turned buffer, its encoder) go, on every way out.
class PageScreening {
public:
    PageScreening(BandScreener& screener, BandScreener::PFNSCREENBAND pfnScreen, void* pvPlacement)
        : m_screener(screener)
    {
        m_screener.StartPage(pfnScreen, pvPlacement);
    }
    ~PageScreening() { (void)m_screener.Finish(); }
    PageScreening(const PageScreening&) = delete;
    PageScreening& operator=(const PageScreening&) = delete;

private:
    BandScreener& m_screener;
};

// A band of the raster onto the page, turned first on a landscape page.
bool PlaceBand(void* pvPlacement, const tagSCREENBAND& band)
{
    const tagBANDPLACEMENT& p = *static_cast<const tagBANDPLACEMENT*>(pvPlacement);
    const tagPAGEGEOMETRY* pGeometry = p.pGeometry;
    if (p.pbTurned == nullptr) {
        if (SendBand(p.pJob, SCREEN_BITS_PER_PIXEL, p.lWidth, band.lRows, p.lPageWidth, p.lPageHeight,
                     -pGeometry->lLeftOffset, UprightOriginY(p, band.lFirstRow), band.pbPixels) == 0) {
            return false;
        }
        // The bands below start further down: the rows above the next band are final and may be
        // compressed while the rest of the page is read.
        PageEncoderRowsDone(p.pJob->pPageEncoder,
                            PageRowsAbove(p.pJob->pRenderContext, p.pJob->pRenderOptions->pPageBitmap,
                                          UprightOriginY(p, band.lFirstRow + band.lRows)));
        return true;
    }
    TurnBand(band.pbPixels, p.cbBandRow, static_cast<size_t>(band.lRows), static_cast<size_t>(p.lWidth), p.pbTurned,
             PaddedRowBytes(static_cast<size_t>(band.lRows), SCREEN_BITS_PER_PIXEL));
    return SendBand(p.pJob, SCREEN_BITS_PER_PIXEL, band.lRows, p.lWidth, p.lPageWidth, p.lPageHeight,
                    band.lFirstRow - pGeometry->lLeftOffset, -pGeometry->lTopOffset, p.pbTurned) != 0;
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

    // The second band buffer is what lets the next band be read while one is screened; without it
    // the bands are screened one after the other.
    JobBands* pBands = JobBandsOf(pJob);
    const int iBuffers = pBands != nullptr ? pBands->Fit(static_cast<size_t>(lBandRows), cbBandRow) : 0;
    // Turned rows are as long as the band has rows: the last, shorter band has shorter ones.
    const size_t cbMaxTurnedRow = PaddedRowBytes(static_cast<size_t>(lBandRows), SCREEN_BITS_PER_PIXEL);
    Buffer turned(bTurn ? static_cast<BYTE*>(std::calloc(static_cast<size_t>(lWidth), cbMaxTurnedRow)) : nullptr);
    if (iBuffers == 0 || (bTurn && turned == nullptr)) {
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
    BandScreener& screener = pBands->Screener();
    PageScreening screening(screener, PlaceBand, &placement);
    for (LONG y = 0, iBand = 0; y < lHeight; ++iBand) {
        LONG n = lHeight - y < lBandRows ? lHeight - y : lBandRows;
        BYTE* pbBand = pBands->Buffer(iBand % iBuffers);
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
        // With one buffer the band must be screened before the next is read into it.
        if (iBuffers == 1 && !screener.Finish()) {
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
