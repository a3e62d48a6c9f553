#include "filter/JobSettings.h"

#include "core/codec/OptionTransfer.h"
#include "core/dialog/DevmodeFile.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/settings/DevModeService.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr WORD kJobSpoolSecurePrint = 6;

}  // namespace

WORD LoadJobSettings(tagJOBINFO* pJob) {
    DRVDEVMODE* pdm = &pJob->devmode;
    std::memset(pdm, 0, sizeof *pdm);
    pdm->dm.dmSize = kDevmodePublicSize;
    pdm->dm.dmDriverExtra = kDevmodePrivateSize;
    errno = 0;
    // The settings the user saved for this queue; without them (or when they are refused) the model's.
    if (dwReadDevmodeFile(pJob->pszUser, pJob->pszPrinter, pdm) != 0)
        uiReviseDevmodeEx(pJob->pszPrinter, &pJob->cups, pJob->ppd, pJob->pSpcData, nullptr, pdm,
                          DEVMODE_SERVICE_DEFAULTS);
    // The page count of one copy set belongs to the document it was counted for; only this job's
    // page pass may set it.
    pdm->priv.dmTotalPages = 0;
    if (pdm->priv.dmJobSpool == kJobSpoolSecurePrint) pJob->dwSecurePrint = 1;

    tagMODELHANDLE handle = {pJob->pSpcData, &pJob->cups, pJob->ppd};
    Options2Devmode(&handle, pdm, pJob->iOptionCount, pJob->pOptions);
    uiReviseDevmodeEx(pJob->pszPrinter, &pJob->cups, pJob->ppd, pJob->pSpcData, pdm, pdm, DEVMODE_SERVICE_VALIDATE);
    return FLAG_TRUE;
}
