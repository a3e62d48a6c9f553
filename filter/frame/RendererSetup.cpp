// Setting the renderer up for the job and each page, and draining its output: the option block's
// fields come from the job's settings and the job context; the renderer reads them at every call.
#include "filter/frame/RendererSetup.h"

#include "core/InstallPaths.h"
#include "core/binding/CompressLibrary.h"
#include "core/model/ModelAnswer.h"
#include "filter/log/FilterLog.h"
#include "filter/job/FilterHooks.h"
#include "filter/job/OutputSink.h"
#include "filter/job/StageTimes.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/encode/PageEncode.h"
#include "filter/render/Renderer.h"
#include "filter/render/screen/Screening.h"
#include "filter/render/workers/UsableCpus.h"
#include "filter/render/workers/WorkerPool.h"
#include "filter/stream/JobBands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr SHORT kColorTableItem = 200;
constexpr LONG kColorTableView = 1;
constexpr char kColorTablePrefix[] = "L_";

// The option block and the data directory it points at, allocated and freed as one.
struct tagOPTIONBLOCK {
    tagRENDEROPTIONS options;  // first: the job context holds a pointer to it
    char szDataDir[4096];
};

tagOPTIONBLOCK* BlockOf(tagRENDEROPTIONS* pOptions)
{
    return reinterpret_cast<tagOPTIONBLOCK*>(pOptions);
}

// The job's workers, started once the renderer exists (after the split into two processes, so
// that the Ghostscript child has none). None on one processor, with a compression library that is
// to be called from one thread, nor when they cannot be started.
void StartJobWorkers(tagJOBINFO* pJob)
{
    if (!IsCompressLibraryReentrant(&pJob->compress)) {
        return;
    }
    const FilterHooks& hooks = JobHooks(pJob);
    const unsigned uWorkers = hooks.workerThreads.has_value() ? *hooks.workerThreads : JobWorkerCount(UsableCpus());
    if (uWorkers == 0 || pJob->pWorkers != nullptr) {
        return;
    }
    pJob->pWorkers = new (std::nothrow) WorkerPool(uWorkers);
    if (pJob->pWorkers != nullptr && pJob->pWorkers->Threads() == 0) {
        delete pJob->pWorkers;
        pJob->pWorkers = nullptr;
    }
}

}  // namespace

int GetColorTableName(const tagSPCDATA* pSpcData, char (&szName)[kColorTableRecordSize], SHORT sItem)
{
    const ModelAnswer answer(pSpcData, SPCID_COLORTABLE, sItem, kColorTableView, kColorTableRecordSize);
    if (!answer.Found()) {
        return 0;
    }
    // The name may fill its field to the record's end; it is kept terminated.
    answer.Text(kColorTableNameOffset, kColorTableRecordSize - kColorTableNameOffset, szName, sizeof szName);
    return -1;
}

int InitRenderer(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    auto* pBlock = static_cast<tagOPTIONBLOCK*>(std::calloc(1, sizeof(tagOPTIONBLOCK)));
    if (pBlock == nullptr) {
        return 0;
    }
    pJob->pRenderOptions = &pBlock->options;

    char szName[kColorTableRecordSize];
    if (GetColorTableName(pJob->pSpcData, szName, kColorTableItem) == 0) {
        // The renderer cannot be made without its colour table; the job fails, and says why.
        LogMessage(LOG_ERROR, "The model data names no colour table\n");
        return 0;
    }

    const FilterHooks& hooks = JobHooks(pJob);
    tagRENDEROPTIONS* pOptions = &pBlock->options;
    pOptions->pModelData = pJob->pSpcData;
    pOptions->pfnModelQuery = hooks.pfnModelQuery;
    std::string dataDir = orv::InstalledPath(orv::kModelDataDir);
    std::snprintf(pBlock->szDataDir, sizeof pBlock->szDataDir, "%s", dataDir.c_str());
    pOptions->pszDataDir = pBlock->szDataDir;
    std::snprintf(pOptions->szColorTableName, sizeof pOptions->szColorTableName, "%s%s", kColorTablePrefix, szName);
    pOptions->pfnCompress = pJob->compress.COMPRESS;

    pJob->pRenderContext = RendererCreate(nullptr, &pJob->devmode, pOptions);
    if (pJob->pRenderContext == nullptr) {
        return 0;
    }
    if (hooks.screenSimd.has_value()) {
        pJob->pRenderContext->bScreenSimdPinned = true;
        pJob->pRenderContext->eScreenSimd = *hooks.screenSimd;
    }
    UpdateCopySetState(pJob, true);
    StartJobWorkers(pJob);
    return -1;
}

void FreeRenderer(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return;
    }
    // A page still being compressed: its tasks end before its bitmap and the workers go. The
    // screening thread ends before the renderer it screens for.
    PageEncoderFree(pJob->pPageEncoder);
    pJob->pPageEncoder = nullptr;
    FreeJobBands(pJob);
    delete pJob->pWorkers;
    pJob->pWorkers = nullptr;
    if (pJob->pRenderContext != nullptr) {
        RendererFree(pJob->pRenderContext);
    }
    pJob->pRenderContext = nullptr;
    if (pJob->pRenderOptions != nullptr) {
        // A page bitmap left by a page that never reached its encoding.
        FreePageBitmap(pJob->pRenderOptions->pPageBitmap);
        std::free(BlockOf(pJob->pRenderOptions));
    }
    pJob->pRenderOptions = nullptr;
}

void UpdateCopySetState(tagJOBINFO* pJob, bool bFirstOfSet)
{
    if (pJob == nullptr || pJob->pRenderOptions == nullptr) {
        return;
    }
    tagRENDEROPTIONS* pOptions = pJob->pRenderOptions;
    const DEVMODE& dm = pJob->devmode.dm;
    const PRIVDM& priv = pJob->devmode.priv;
    pOptions->sPaperSize = dm.dmPaperSize;
    pOptions->wPaperWidth = static_cast<WORD>(dm.dmPaperWidth);
    pOptions->wPaperLength = static_cast<WORD>(dm.dmPaperLength);
    pOptions->sMediaType = static_cast<SHORT>(dm.dmMediaType & 0xFFFF);
    pOptions->sPaperSource = dm.dmDefaultSource;
    pOptions->wDuplex = static_cast<WORD>(dm.dmDuplex);
    pOptions->dwDuplexCaps = pJob->dwDuplexCaps;
    pOptions->dwPagesPerSet = priv.dmTotalPages;
    // Before the first page (page number 0) no page of a set has been counted yet.
    DWORD dwPage = pJob->dwPageNumber;
    if (pOptions->dwPagesPerSet != 0 && dwPage != 0) {
        pOptions->dwPageInSet = (dwPage - 1) % pOptions->dwPagesPerSet + 1;
    } else {
        pOptions->dwPageInSet = dwPage;
    }
    pOptions->wDuplexMargin = priv.dmDuplexMargin;
    pOptions->sReverseOrder = static_cast<SHORT>(priv.dmReverseOrder);
    pOptions->sOrientation = dm.dmOrientation;
    if (!bFirstOfSet) {
        return;
    }
    // Copies the driver collates are made by sending the set again; otherwise the printer copies.
    int iCopies = priv.dmCopiesByDriver == 1 && dm.dmCollate == 1 ? dm.dmCopies : 1;
    if (iCopies <= 1) {
        pOptions->dwCopyFlags |= 0x1;
    } else {
        pOptions->dwCopyFlags &= ~static_cast<DWORD>(0x1);
    }
    pOptions->dwPageInSetAtStart = pOptions->dwPageInSet;
}

int SetupRendererPage(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->pRenderContext == nullptr || pJob->pRenderOptions == nullptr) {
        return 0;
    }
    tagRENDEROPTIONS* pOptions = pJob->pRenderOptions;
    tagRENDERCONTEXT* pContext = pJob->pRenderContext;
    pOptions->dwPageWidth = static_cast<DWORD>(pJob->iPageWidth);
    pOptions->dwPageHeight = static_cast<DWORD>(pJob->iPageHeight);
    bool bTables = RendererSetupColorTables(&pJob->devmode, pContext, pOptions) != 0;
    bool bMatrices = RendererSetupDitherMatrices(&pJob->devmode, pContext, pOptions) != 0;
    // The page header counts the page into its set only when the page is sent; the bitmap's
    // binding shift (odd or even side) is laid out for that page already. The shift's direction
    // also follows the page's orientation, which the option block takes only with the page header:
    // the bitmap is laid out with this page's, so that the header moves the same way.
    const tagBINDINGPAGE page = {pOptions->dwPageInSet + 1, pJob->devmode.dm.dmOrientation};
    bool bBitmap =
        AllocPageBitmap(pOptions->dwPageWidth, pOptions->dwPageHeight, &pJob->devmode, pContext, pOptions, page) != 0;
    pOptions->dwInputOrder = 0;
    return bTables && bMatrices && bBitmap ? -1 : 0;
}

int SendBand(tagJOBINFO* pJob, DWORD dwBitsPerPixel, LONG lBandWidth, LONG lBandRows, LONG lPageWidth, LONG lPageHeight,
             LONG x, LONG y, const BYTE* pbPixels)
{
    if (pJob == nullptr || pJob->pRenderContext == nullptr || pJob->pRenderOptions == nullptr) {
        return 0;
    }
    WORD wResult = DrawRgbRect(dwBitsPerPixel, PackPair(lBandWidth, lBandRows), PackPair(lPageWidth, lPageHeight),
                               PackPair(x, y), pbPixels, &pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
    return wResult != 0 ? -1 : 0;
}

WorkerPool* JobEncodeWorkers(const tagJOBINFO* pJob)
{
    // StartJobWorkers makes no pool for a library that is to be called from one thread.
    return pJob != nullptr ? pJob->pWorkers : nullptr;
}

int FlushRendererOutput(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->pRenderContext == nullptr) {
        return -1;
    }
    StageTimer output(STAGE_OUTPUT);
    DWORD cb = 0;
    while (const BYTE* pb = RendererTakeOutputChunk(pJob->pRenderContext, &cb)) {
        if (cb != 0) {
            OutputWrite(pJob, pb, cb);
        }
    }
    RendererClearOutput(pJob->pRenderContext);
    return -1;
}
