#include "filter/JobSettings.h"

#include "core/codec/OptionTransfer.h"
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
    SpcDevmodeService(pJob->pSpcData, nullptr, pdm, DEVMODE_SERVICE_DEFAULTS);
    // The page count of one copy set belongs to one document; a saved record must never carry one
    // into this job.
    pdm->priv.dmTotalPages = 0;
    if (pdm->priv.dmJobSpool == kJobSpoolSecurePrint) pJob->dwSecurePrint = 1;

    tagMODELHANDLE handle = {pJob->pSpcData, &pJob->cups, pJob->ppd};
    Options2Devmode(&handle, pdm, pJob->iOptionCount, pJob->pOptions);
    SpcDevmodeService(pJob->pSpcData, pdm, pdm, DEVMODE_SERVICE_VALIDATE);
    return FLAG_TRUE;
}
