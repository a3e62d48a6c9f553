// The saved-settings file and the record it carries: any bytes as a user's file for a queue, read
// as the filter reads it at every job, then revised against the colour sample model and its queue
// PPD and sent out as the job's PJL header, where its texts reach the printer.
#include "FuzzSupport.h"

#include "core/dialog/DevmodeFile.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/settings/DevModeService.h"
#include "filter/pjl/PjlHeader.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

const char kQueue[] = "fuzzqueue";

// The name of the user this process runs as: its file is the one that is trusted.
const std::string& OwnUser()
{
    static const std::string name = [] {
        const passwd* pw = getpwuid(geteuid());
        return std::string(pw != nullptr ? pw->pw_name : "root");
    }();
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string relative = "usr/local/share/orvalen/printer/conf/" + OwnUser() + "/" + kQueue + ".dm";
    const std::string path = orvfuzz::WriteScratchFile(relative, data, size);
    chmod(path.c_str(), 0644);
    chmod(path.substr(0, path.rfind('/')).c_str(), 0755);

    orvfuzz::ParentJob job("GC7350");
    if (job->pSpcData == nullptr)
        return 0;
    DRVDEVMODE record;
    std::memset(&record, 0, sizeof record);
    if (dwReadDevmodeFile(OwnUser().c_str(), kQueue, &record) != 0)
        return 0;
    ppd_file_t* ppd = orvfuzz::SamplePpd("GC7350");
    job->devmode = record;
    uiReviseDevmodeEx(kQueue, &orvfuzz::Cups(), ppd, job->pSpcData, &record, &job->devmode,
                      DEVMODE_SERVICE_VALIDATE);
    // The unrevised record too: the header must cope with whatever a record holds.
    job->dwSecurePrint = 1;
    WritePjlHeader(job.get());
    job->devmode = record;
    WritePjlHeader(job.get());
    return 0;
}
