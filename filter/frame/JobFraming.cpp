// The job and page frames on the output: the job opens with the UEL, the PJL header and the
// renderer's job commands at its first page and closes with "@PJL EOJ" and the UEL at the end of the
// stream; every page is written under the page lock, so the keep-alive bytes never fall inside one.
#include "filter/frame/RendererSetup.h"
#include "filter/frame/JobFraming.h"

#include "filter/log/FilterLog.h"
#include "filter/job/OutputSink.h"
#include "filter/pjl/PjlHeader.h"
#include "filter/pjl/PjlValues.h"
#include "filter/pjl/PjlStrings.h"
#include "filter/job/StageTimes.h"
#include "filter/render/encode/PageEncode.h"
#include "filter/render/RendererJob.h"

namespace {

bool HasRenderer(const tagJOBINFO* pJob)
{
    return pJob->pRenderContext != nullptr && pJob->pRenderOptions != nullptr;
}

bool JobStarted(const tagJOBINFO* pJob)
{
    return (pJob->dwJobState & JOBSTATE_HEADER_SENT) != 0;
}

bool PageOpen(const tagJOBINFO* pJob)
{
    return (pJob->dwJobState & JOBSTATE_PAGE_OPEN) != 0;
}

}  // namespace

int SendJobHeader(tagJOBINFO* pJob)
{
    OutputPuts(pJob, kUel);
    WritePjlHeader(pJob);
    return -1;
}

int SendEnterLanguage(tagJOBINFO* pJob)
{
    OutputPuts(pJob, kEnterLanguage);
    return -1;
}

int SendRendererJobSetup(tagJOBINFO* pJob)
{
    RendererBeginJob(&pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
    FlushRendererOutput(pJob);
    RendererSetupJob(&pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
    FlushRendererOutput(pJob);
    return SendEnterLanguage(pJob);
}

int SendJobStart(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    if (JobStarted(pJob)) {
        return -1;
    }
    if (!HasRenderer(pJob)) {
        return 0;
    }
    LogMessage(1, "Send Job Start\n");
    SendJobHeader(pJob);
    SendRendererJobSetup(pJob);
    pJob->dwJobState |= JOBSTATE_HEADER_SENT;
    return -1;
}

int SendJobEnd(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    if (!JobStarted(pJob)) {
        return -1;
    }
    if (!HasRenderer(pJob)) {
        return 0;
    }
    if (pJob->pRenderOptions->dwPagesPerSet == 0) {
        RendererFlushPendingPages(&pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
        FlushRendererOutput(pJob);
    }
    LogMessage(1, "Send Job End\n");
    RendererEndJob(pJob->pRenderContext, pJob->pRenderOptions);
    FlushRendererOutput(pJob);
    if (pJob->pszTitle != nullptr) {
        // The title goes into a quoted PJL value: quotes and control characters become blanks, as
        // in the job's name line of the header.
        char szTitle[kPjlTextSize];
        if (CopyPjlString(0, 0, pJob->pszTitle, szTitle, sizeof szTitle) != 0) {
            OutputPrintf(pJob, "@PJL EOJ=\"%s\"\n", szTitle);
        }
    }
    OutputPuts(pJob, kUel);
    pJob->dwJobState &= ~JOBSTATE_HEADER_SENT;
    return -1;
}

void AbortJob(tagJOBINFO* pJob)
{
    if (pJob == nullptr || !JobStarted(pJob)) {
        return;
    }
    OutputPuts(pJob, kUel);
    pJob->dwJobState &= ~JOBSTATE_HEADER_SENT;
}

int SendPageStart(tagJOBINFO* pJob)
{
    if (pJob == nullptr || !HasRenderer(pJob)) {
        return 0;
    }
    DWORD n = pJob->dwPageNumber;
    pJob->dwPageNumber = n + 1;
    DWORD dwPagesPerSet = pJob->pRenderOptions->dwPagesPerSet;
    bool bFirstOfSet = dwPagesPerSet != 0 ? n % dwPagesPerSet == 0 : n == 0;
    UpdateCopySetState(pJob, bFirstOfSet);
    if (!JobStarted(pJob) && SendJobStart(pJob) == 0) {
        return 0;
    }
    if (PageOpen(pJob)) {
        return -1;
    }
    LogMessage(1, "Send Page %u\n", static_cast<unsigned>(pJob->dwPageNumber));
    pthread_mutex_lock(&pJob->pageLock);
    RendererBeginPage(&pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
    FlushRendererOutput(pJob);
    pJob->dwJobState |= JOBSTATE_PAGE_OPEN;
    return -1;
}

int SendPageEnd(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    if (!PageOpen(pJob)) {
        return -1;
    }
    if (!HasRenderer(pJob)) {
        return 0;
    }
    RendererEndPage(pJob->pRenderContext, pJob->pRenderOptions);
    FlushRendererOutput(pJob);
    const tagRENDEROPTIONS* pOptions = pJob->pRenderOptions;
    if (pOptions->dwPagesPerSet != 0 && pOptions->dwPageInSet == pOptions->dwPagesPerSet) {
        // The set is complete: its trailing blank sheets belong inside the page lock.
        RendererFlushPendingPages(&pJob->devmode, pJob->pRenderContext, pJob->pRenderOptions);
        FlushRendererOutput(pJob);
    }
    pJob->dwJobState &= ~JOBSTATE_PAGE_OPEN;
    pthread_mutex_unlock(&pJob->pageLock);
    return -1;
}

int SendPage(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return 0;
    }
    SendPageStart(pJob);
    int iResult = 0;
    if (HasRenderer(pJob)) {
        WORD wEncoded;
        {
            StageTimer encode(STAGE_ENCODE);
            if (pJob->pPageEncoder != nullptr) {
                // Compressed while it was screened; what is left is done now.
                wEncoded = PageEncoderFinish(pJob->pPageEncoder, pJob->pRenderContext, pJob->pRenderOptions);
                pJob->pPageEncoder = nullptr;
            } else {
                wEncoded = EncodePageAhead(pJob->pRenderContext, static_cast<DWORD>(pJob->iPageWidth),
                                           static_cast<DWORD>(pJob->iPageHeight), pJob->iBandHeight, &pJob->devmode,
                                           pJob->pRenderOptions, JobEncodeWorkers(pJob));
            }
        }
        // A failed encoding leaves its bytes in the renderer's buffer until the next drain.
        if (wEncoded != 0) {
            iResult = FlushRendererOutput(pJob);
        }
    }
    SendPageEnd(pJob);
    return iResult;
}
