#include "filter/job/JobSettings.h"

#include "core/binding/PpdHelpers.h"
#include "core/codec/CupsKeys.h"
#include "core/codec/OptionTransfer.h"
#include "core/dialog/DevmodeFile.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/settings/DevModeService.h"
#include "filter/log/FilterLog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr WORD kJobSpoolSecurePrint = 6;
constexpr WORD kLayoutPagesPerSheet = 0x1;

// CUPS's type for PostScript that its own page filter has already been through. The scheduler
// names the type the driver receives in FINAL_CONTENT_TYPE.
constexpr const char kCupsPagedPostScript[] = "application/vnd.cups-postscript";

// Whether CUPS has already placed several pages on each sheet of this job. When the queue's
// driver takes CUPS's paged PostScript, the scheduler runs CUPS's page filters ahead of it
// (pstops for a PostScript job, pdftopdf and pdftops for a PDF), and they lay out the job's
// "number-up" for the values they know: the same values the driver would otherwise have the
// printer place.
bool CupsPlacedPagesPerSheet(tagJOBINFO* pJob)
{
    if (pJob->cups.cupsGetOption == nullptr) {
        return false;
    }
    const char* pszType = getenv("FINAL_CONTENT_TYPE");
    if (pszType == nullptr || std::strcmp(pszType, kCupsPagedPostScript) != 0) {
        return false;
    }
    const char* pszNup = pJob->cups.cupsGetOption(CUPS_KEY_NUP, pJob->iOptionCount, pJob->pOptions);
    if (pszNup == nullptr) {
        return false;
    }
    char* pszEnd = nullptr;
    long n = std::strtol(pszNup, &pszEnd, 10);
    if (pszEnd == pszNup || *pszEnd != '\0') {
        return false;
    }
    return n == 2 || n == 4 || n == 6 || n == 9 || n == 16;
}

}  // namespace

WORD LoadJobSettings(tagJOBINFO* pJob)
{
    DRVDEVMODE* pdm = &pJob->devmode;
    std::memset(pdm, 0, sizeof *pdm);
    pdm->dm.dmSize = kDevmodePublicSize;
    pdm->dm.dmDriverExtra = kDevmodePrivateSize;
    errno = 0;
    // The settings the user saved for this queue; without them (or when they are refused) the model's.
    std::string strRefusal;
    DWORD dwRead = dwReadDevmodeFile(pJob->pszUser, pJob->pszPrinter, pdm, &strRefusal);
    if (dwRead == kDmFileUntrusted) {
        LogMessage(LOG_ERROR, "Saved settings of user %s for %s not used (%s); the model's defaults apply\n",
                   pJob->pszUser, pJob->pszPrinter, strRefusal.c_str());
    }
    if (dwRead != 0) {
        uiReviseDevmodeEx(pJob->pszPrinter, &pJob->cups, pJob->ppd, pJob->pSpcData, nullptr, pdm,
                          DEVMODE_SERVICE_DEFAULTS);
    }
    // The page count of one copy set belongs to the document it was counted for; only this job's
    // page pass may set it.
    pdm->priv.dmTotalPages = 0;
    if (pdm->priv.dmJobSpool == kJobSpoolSecurePrint) {
        pJob->dwSecurePrint = 1;
    }

    // Pages that CUPS has already put on one sheet are not put together again by the printer:
    // neither the job's "number-up" nor pages per sheet from the saved settings stay.
    if (CupsPlacedPagesPerSheet(pJob)) {
        pdm->priv.dmLayoutPrint &= static_cast<WORD>(~kLayoutPagesPerSheet);
        pJob->iOptionCount = AddCupsOption(&pJob->cups, CUPS_KEY_NUP, "1", pJob->iOptionCount, &pJob->pOptions);
    }

    tagMODELHANDLE handle = {pJob->pSpcData, &pJob->cups, pJob->ppd};
    Options2Devmode(&handle, pdm, pJob->iOptionCount, pJob->pOptions);
    uiReviseDevmodeEx(pJob->pszPrinter, &pJob->cups, pJob->ppd, pJob->pSpcData, pdm, pdm, DEVMODE_SERVICE_VALIDATE);
    return FLAG_TRUE;
}
