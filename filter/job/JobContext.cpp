#include "filter/job/JobContext.h"

#include "core/binding/PpdHelpers.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "filter/log/FilterLog.h"
#include "filter/job/HostFacts.h"
#include "filter/job/JobOptions.h"
#include "filter/job/KeepAlive.h"
#include "filter/job/OutputSink.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr LONG kDuplexView = 1;  // tagDUPLEXINFO
constexpr LONG kBandView = 3;    // tagRENDERBANDS
constexpr int kDefaultBandHeight = 512;
constexpr int kMaxCopies = 32767;

// The hooks of a job that runs with the system's own calls.
const FilterHooks kSystemHooks;

// A field of the first record of a capability view; false when the model has no such record or it
// is too short.
template <typename T, typename F>
bool ReadModelField(const tagSPCDATA* pSpc, SHORT sCap, LONG lView, F T::*field, F* pOut)
{
    const ModelAnswer answer(pSpc, sCap, 0, lView);
    return answer.Answered() && answer.ReadField(field, pOut);
}

// What the renderer and the page pass need from the model.
void ReadModelFacts(tagJOBINFO* pJob)
{
    DWORD dwDuplexCaps = 0;
    if (ReadModelField(pJob->pSpcData, SPCID_DUPLEX, kDuplexView, &tagDUPLEXINFO::dwFlags, &dwDuplexCaps)) {
        pJob->dwDuplexCaps = dwDuplexCaps;
    }
    pJob->pszDevice = GetRenderDevice(pJob);
    SHORT sBandHeight = 0;
    ReadModelField(pJob->pSpcData, SPCID_RENDERPARAMS, kBandView, &tagRENDERBANDS::sBandHeight, &sBandHeight);
    // A model that gives no band height, or a nonsensical one, gets the usual band.
    pJob->iBandHeight = sBandHeight > 0 ? sBandHeight : kDefaultBandHeight;
    pJob->iKeepAliveSeconds = ReadKeepAliveSeconds(pJob->pSpcData);
}

// The decimal value of a job id; 0 for anything that is not one (the id only labels the job).
int ParseJobId(const char* psz)
{
    errno = 0;
    char* pszEnd = nullptr;
    long l = std::strtol(psz, &pszEnd, 10);
    if (errno != 0 || pszEnd == psz || l < 0 || l > 0x7FFFFFFF) {
        return 0;
    }
    return static_cast<int>(l);
}

// Opens the job's PostScript: standard input with 6 arguments, argv[6] with 7.
bool OpenJobInput(tagJOBINFO* pJob, int argc, char* argv[])
{
    if (argc == 6) {
        pJob->input = pJob->cups.cupsFileStdin();
        if (pJob->input == nullptr) {
            LogMessage(LOG_ERROR, "Unable to open spool file\n");
            return false;
        }
        return true;
    }
    pJob->input = pJob->cups.cupsFileOpen(argv[6], "r");
    if (pJob->input == nullptr) {
        LogMessage(LOG_ERROR, "Unable to open file \"%s\" - %s\n", argv[6], std::strerror(errno));
        return false;
    }
    return true;
}

// Arguments, environment and host facts into the context; false after logging why.
bool FillJobArguments(tagJOBINFO* pJob, char* argv[])
{
    pJob->iJobId = ParseJobId(argv[1]);
    pJob->pszUser = strdup(argv[2]);
    pJob->pszTitle = strdup(argv[3]);
    if (pJob->pszUser == nullptr || pJob->pszTitle == nullptr) {
        return false;
    }
    if (!ParseJobCopies(argv[4], &pJob->iCopies)) {
        LogMessage(LOG_ERROR, "Invalid copies \"%s\"\n", argv[4]);
        return false;
    }
    const char* pszPrinter = getenv("PRINTER");
    pJob->pszHostName = GetHostNameString();
    pJob->dwHostAddress = GetHostAddress();
    pJob->pszSystem = GetOsInfoString();
    if (pszPrinter == nullptr) {
        LogMessage(LOG_ERROR, "no printer name\n");
        return false;
    }
    pJob->pszPrinter = strdup(pszPrinter);
    return pJob->pszPrinter != nullptr;
}

}  // namespace

const FilterHooks& JobHooks(const tagJOBINFO* pJob)
{
    return pJob != nullptr && pJob->pHooks != nullptr ? *pJob->pHooks : kSystemHooks;
}

const char* GetRenderDevice(tagJOBINFO*)
{
    return "ppmraw";
}

bool ParseJobCopies(const char* pszCopies, int* piCopies)
{
    if (pszCopies == nullptr || piCopies == nullptr || pszCopies[0] == '\0') {
        return false;
    }
    long l = 0;
    for (const char* p = pszCopies; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        l = l * 10 + (*p - '0');
        if (l > kMaxCopies) {
            return false;
        }
    }
    if (l < 1) {
        return false;
    }
    *piCopies = static_cast<int>(l);
    return true;
}

tagJOBINFO* CreateJobInfo(int argc, char* argv[])
{
    return CreateJobInfo(argc, argv, kSystemHooks);
}

tagJOBINFO* CreateJobInfo(int argc, char* argv[], const FilterHooks& hooks)
{
    if (argc < 6 || argc > 7 || argv == nullptr) {
        LogMessage(LOG_ERROR, "Usage: %s job user title copies options [filename]\n",
                   argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : "gdi-filter");
        return nullptr;
    }
    tagJOBINFO* pJob = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
    if (pJob == nullptr) {
        return nullptr;
    }
    InitJobLocks(pJob);
    pJob->pHooks = &hooks;

    PFNBINDCUPS pfnBindCups = hooks.pfnBindCups != nullptr ? hooks.pfnBindCups : LoadCupsLibrary;
    PFNBINDGS pfnBindGs = hooks.pfnBindGs != nullptr ? hooks.pfnBindGs : LoadGhostscriptLibrary;
    if (pfnBindCups(&pJob->cups) != 0) {
        LogMessage(LOG_ERROR, "Cannot load libcups or libcups version too old then 1.1.19\n");
        FreeJobInfo(pJob);
        return nullptr;
    }
    if (hooks.pfnCupsBound != nullptr) {
        hooks.pfnCupsBound(&pJob->cups);
    }
    if (pfnBindGs(&pJob->gs) != 0) {
        LogMessage(LOG_ERROR, "Cannot load libgs or libgs version too old then 8.0\n");
        FreeJobInfo(pJob);
        return nullptr;
    }
    if (!FillJobArguments(pJob, argv) || !OpenJobInput(pJob, argc, argv)) {
        FreeJobInfo(pJob);
        return nullptr;
    }
    if (InitCupsOptions(pJob, argv) == FLAG_FALSE) {
        LogMessage(LOG_ERROR, "ERROR in InitCupsOptions\n");
        FreeJobInfo(pJob);
        return nullptr;
    }
    ReadModelFacts(pJob);
    return pJob;
}

void FreeJobInfo(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return;
    }
    // The thread writes through the context and its locks; it goes first.
    StopKeepAliveThread(pJob);
    if (pJob->input != nullptr && pJob->cups.cupsFileClose != nullptr) {
        pJob->cups.cupsFileClose(pJob->input);
    }
    pJob->input = nullptr;
    std::free(pJob->pszPrinter);
    std::free(pJob->pszTitle);
    std::free(pJob->pszUser);
    std::free(pJob->pszHostName);
    std::free(pJob->pszSystem);
    std::free(pJob->pbPlanes);
    std::free(pJob->pSpcData);
    ClosePpd(&pJob->cups, pJob->ppd);
    pJob->ppd = nullptr;
    if (pJob->pOptions != nullptr && pJob->cups.cupsFreeOptions != nullptr) {
        pJob->cups.cupsFreeOptions(pJob->iOptionCount, pJob->pOptions);
    }
    pJob->pOptions = nullptr;
    UnloadCupsLibrary(&pJob->cups);
    UnloadGhostscriptLibrary(&pJob->gs);
    UnloadCompressLibrary(&pJob->compress);
    DestroyJobLocks(pJob);
    std::free(pJob);
}
