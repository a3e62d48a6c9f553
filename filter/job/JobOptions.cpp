#include "filter/job/JobOptions.h"

#include "core/InstallPaths.h"
#include "core/binding/PpdHelpers.h"
#include "core/settings/DevModeService.h"
#include "core/util/SafeName.h"
#include "filter/log/FilterLog.h"
#include "filter/job/JobSettings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The queue's PPD. CUPS hands every filter the queue's PPD file in PPD; that file is the
// scheduler's and stays. Without it the scheduler is asked for a copy, which is removed once read.
ppd_file_t* OpenJobPpd(tagJOBINFO* pJob)
{
    const char* pszPpd = getenv("PPD");
    if (pszPpd != nullptr && pszPpd[0] != '\0') {
        return OpenMarkedPpdFile(&pJob->cups, pszPpd, pJob->iOptionCount, pJob->pOptions);
    }
    return OpenQueuePpd(&pJob->cups, pJob->pszPrinter, pJob->iOptionCount, pJob->pOptions);
}

// The model data file named by SPCFILE, its defaults in the settings record, then the job's
// settings. FLAG_TRUE when all of it worked.
WORD LoadJobModel(tagJOBINFO* pJob, const char* pszSpcFile)
{
    std::string dir = orv::InstalledPath(orv::kModelDataDir);
    // The name comes from the PPD: it may only pick a file inside the data directory.
    if (!IsSafeNameComponent(pszSpcFile)) {
        LogMessage(LOG_ERROR, "ERROR: Cannot open data file(%s): %s%s\n", std::strerror(EINVAL), dir.c_str(),
                   pszSpcFile);
        return FLAG_FALSE;
    }
    errno = 0;
    pJob->pSpcData = SpcLoadFile(dir.c_str(), pszSpcFile);
    if (pJob->pSpcData == nullptr) {
        LogMessage(LOG_ERROR, "ERROR: Cannot open data file(%s): %s%s\n", std::strerror(errno != 0 ? errno : EIO),
                   dir.c_str(), pszSpcFile);
        return FLAG_FALSE;
    }
    pJob->devmode.dm.dmSize = kDevmodePublicSize;
    pJob->devmode.dm.dmDriverExtra = kDevmodePrivateSize;
    if (SpcDevmodeService(pJob->pSpcData, nullptr, &pJob->devmode, DEVMODE_SERVICE_DEFAULTS) != ERROR_SUCCESS) {
        return FLAG_FALSE;
    }
    return LoadJobSettings(pJob);
}

}  // namespace

WORD InitCupsOptions(tagJOBINFO* pJob, char* argv[])
{
    if (pJob == nullptr || pJob->pszPrinter == nullptr || argv == nullptr) {
        return FLAG_FALSE;
    }
    tagCUPSFUNC* pCups = &pJob->cups;
    // Only the job's own option string: the queue's saved defaults are already the PPD's defaults.
    pJob->iOptionCount = CollectDestOptions(pCups, nullptr, argv[5], &pJob->pOptions);
    pJob->iOptionCount = AddCupsOption(pCups, "copies", argv[4], pJob->iOptionCount, &pJob->pOptions);
    if (pCups->cupsGetOption("Collate", pJob->iOptionCount, pJob->pOptions) == nullptr) {
        pJob->iOptionCount = AddCupsOption(pCups, "Collate", "false", pJob->iOptionCount, &pJob->pOptions);
    }

    pJob->ppd = OpenJobPpd(pJob);
    if (pJob->ppd == nullptr) {
        return FLAG_FALSE;
    }

    WORD wResult = FLAG_FALSE;
    const char* pszSpcFile = GetMakerPpdAttr(pCups, pJob->ppd, "SPCFILE");
    if (pszSpcFile != nullptr) {
        wResult = LoadJobModel(pJob, pszSpcFile);
    } else {
        LogMessage(LOG_ERROR, "ERROR: Invaild PPD file\n");
    }

    const char* pszCompress = GetMakerPpdAttr(pCups, pJob->ppd, "LIBJBIG");
    if (pszCompress == nullptr) {
        LogMessage(LOG_ERROR, "ERROR: Invaild PPD file.(libjbig not set)\n");
        return FLAG_FALSE;
    }
    if (LoadCompressLibrary(&pJob->compress, pszCompress) != 0) {
        LogMessage(LOG_ERROR, "Cannot load liborvjbig or liborvjbig version too old\n");
        return FLAG_FALSE;
    }
    return wResult;
}
