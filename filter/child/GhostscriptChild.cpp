#include "filter/child/GhostscriptChild.h"
#include "filter/child/GsErrors.h"

#include "filter/log/FilterLog.h"
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSetup.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr char kPostScriptMagic[] = "%!PS-Adobe-";
constexpr size_t kPostScriptMagicLength = sizeof(kPostScriptMagic) - 1;

bool GoesOn(int iCode, bool bReport)
{
    return iCode == 0 || CheckGsError(iCode, bReport) != 0;
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

int gs_stdin(void*, char*, int)
{
    return 0;
}

int gs_stdout(void*, const char*, int iLength)
{
    return iLength;
}

int gs_stderr(void*, const char*, int iLength)
{
    return iLength;
}

int StartGhostscript(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->gs.handle == nullptr) {
        return 0;
    }
    const tagGSFUNC& gs = pJob->gs;
    char szDevice[64];
    std::snprintf(szDevice, sizeof szDevice, "-sDEVICE=%s", pJob->pszDevice != nullptr ? pJob->pszDevice : "ppmraw");
    // The job's resolution is the interpreter's default, so that the raster matches the page
    // geometry in dots; PostScript of the job may still set its own.
    char szResolution[32] = "-r600x600";
    const DEVMODE& dm = pJob->devmode.dm;
    if (dm.dmPrintQuality > 0 && dm.dmYResolution > 0) {
        std::snprintf(szResolution, sizeof szResolution, "-r%dx%d", dm.dmPrintQuality, dm.dmYResolution);
    }
    char szGs[] = "gs", szQuiet[] = "-q", szBatch[] = "-dBATCH", szNoPause[] = "-dNOPAUSE",
         szSafer[] = "-dPARANOIDSAFER", szOutput[] = "-sOutputFile=-";
    char* apszArgs[] = {szGs, szQuiet, szBatch, szNoPause, szSafer, szDevice, szResolution, szOutput};
    constexpr int kArgCount = static_cast<int>(sizeof apszArgs / sizeof apszArgs[0]);

    pJob->pGsInstance = nullptr;
    pJob->iGsCode = gs.gsapi_new_instance(&pJob->pGsInstance, nullptr);
    if (GoesOn(pJob->iGsCode, false)) {
        gs.gsapi_set_stdio(pJob->pGsInstance, gs_stdin, gs_stdout, gs_stderr);
        pJob->iGsCode = gs.gsapi_init_with_args(pJob->pGsInstance, kArgCount, apszArgs);
        if (GoesOn(pJob->iGsCode, false)) {
            gs.gsapi_run_string_begin(pJob->pGsInstance, 0, &pJob->iGsCode);
        }
    }
    return GoesOn(pJob->iGsCode, true) ? -1 : 0;
}

void EndGhostscript(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return;
    }
    if (pJob->pGsInstance != nullptr && pJob->gs.handle != nullptr) {
        pJob->gs.gsapi_set_stdio(pJob->pGsInstance, nullptr, nullptr, nullptr);
        pJob->gs.gsapi_exit(pJob->pGsInstance);
        pJob->gs.gsapi_delete_instance(pJob->pGsInstance);
    }
    pJob->pGsInstance = nullptr;
    pJob->iGsCode = 0;
}

int FeedGhostscript(tagJOBINFO* pJob, const char* pszText, size_t cch)
{
    if (pJob == nullptr || pJob->pGsInstance == nullptr || (pszText == nullptr && cch > 0)) {
        return 0;
    }
    if (!GoesOn(pJob->iGsCode, false)) {
        return 0;
    }
    // The interpreter takes at most an unsigned int at a time.
    while (cch > 0) {
        unsigned int uPart = cch > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(cch);
        pJob->gs.gsapi_run_string_continue(pJob->pGsInstance, pszText, uPart, 0, &pJob->iGsCode);
        if (!GoesOn(pJob->iGsCode, true)) {
            return 0;
        }
        pszText += uPart;
        cch -= uPart;
    }
    return -1;
}

int FeedGhostscriptChar(tagJOBINFO* pJob, int c)
{
    char ch = static_cast<char>(c);
    return FeedGhostscript(pJob, &ch, 1);
}

int FinishGhostscriptInput(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->pGsInstance == nullptr) {
        return 0;
    }
    if (!GoesOn(pJob->iGsCode, false)) {
        return 0;
    }
    pJob->gs.gsapi_run_string_end(pJob->pGsInstance, 0, &pJob->iGsCode);
    return GoesOn(pJob->iGsCode, true) ? -1 : 0;
}

int doc_printf(tagJOBINFO* pJob, const char* pszFormat, ...)
{
    char szText[kDocPrintfBuffer];
    va_list args;
    va_start(args, pszFormat);
    int n = vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    if (n < 0) {
        LogMessage(LOG_ERROR, "doc_printf overflow (%d bytes) detected, aborting!\n", n);
        return 0;
    }
    if (static_cast<size_t>(n) < sizeof szText) {
        return FeedGhostscript(pJob, szText, static_cast<size_t>(n));
    }
    // A line the job made long (a path of many points, a long comment) is fed whole.
    std::unique_ptr<char, FreeDeleter> pszLong(static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1)));
    if (pszLong == nullptr) {
        LogMessage(LOG_ERROR, "doc_printf overflow (%d bytes) detected, aborting!\n", n);
        return 0;
    }
    va_start(args, pszFormat);
    vsnprintf(pszLong.get(), static_cast<size_t>(n) + 1, pszFormat, args);
    va_end(args);
    return FeedGhostscript(pJob, pszLong.get(), static_cast<size_t>(n));
}

int RunGhostscriptJob(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->input == nullptr || pJob->cups.cupsFileGetLine == nullptr) {
        return -1;
    }
    std::unique_ptr<char, FreeDeleter> line(static_cast<char*>(std::malloc(kJobLineSize)));
    if (line == nullptr) {
        return -1;
    }
    size_t cch = pJob->cups.cupsFileGetLine(pJob->input, line.get(), kJobLineSize);
    if (cch == 0) {
        LogMessage(LOG_ERROR, "Empty print file!\n");
        return -1;
    }
    if (cch < kPostScriptMagicLength || std::memcmp(line.get(), kPostScriptMagic, kPostScriptMagicLength) != 0) {
        LogMessage(LOG_ERROR, "Unknow file content!\n");
        return -1;
    }
    if (StartGhostscript(pJob) == 0) {
        EndGhostscript(pJob);
        return -1;
    }

    int iResult = 0;
    if (NeedsPageProcessing(pJob) != 0) {
        iResult = pstops_run(pJob, line.get(), cch, kJobLineSize);
    } else {
        while (cch > 0) {
            if (FeedGhostscript(pJob, line.get(), cch) == 0) {
                iResult = 1;
                break;
            }
            cch = pJob->cups.cupsFileGetLine(pJob->input, line.get(), kJobLineSize);
        }
    }
    if (iResult == 0 && FinishGhostscriptInput(pJob) == 0) {
        iResult = 1;
    }
    EndGhostscript(pJob);
    return iResult;
}
