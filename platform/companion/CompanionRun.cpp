#include "platform/companion/CompanionRun.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/util/PpdText.h"
#include "platform/companion/JobDefaults.h"
#include "platform/companion/PpdChoices.h"
#include "platform/companion/PpdDefaults.h"
#include "platform/companion/SchedulerQueue.h"

namespace orvcompanion {

namespace {

// The PPD file given with -c, refused before the scheduler is asked anything.
bool ReadGivenPpd(const std::string& path, std::string* text, std::string* error)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        *error = "cannot use the PPD file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        *error = "the PPD file \"" + path + "\" is a symbolic link; give the file itself";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = "the PPD file \"" + path + "\" is not a regular file";
        return false;
    }
    errno = 0;
    if (!orv::ReadPpdText(path.c_str(), true, text, nullptr)) {
        *error = "cannot read the PPD file \"" + path + "\"" +
                 (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string(" (too large for a PPD)"));
        return false;
    }
    return true;
}

}  // namespace

bool StoreDefaults(const CompanionRequest& request, std::string* error)
{
    Defaults defaults = request.defaults;
    JobDefaults job;
    if (!TakeCopiesDefault(&defaults, &job, error)) {
        return false;
    }
    SchedulerQueue queue;
    std::string text;
    if (!queue.Open(request.queue, error) || !queue.FetchPpd(&text, error)) {
        return false;
    }
    std::string reason;
    const PpdPtr ppd = OpenPpdText(text, &reason);
    if (!ppd) {
        *error = "the PPD of the queue \"" + queue.Name() + "\" is not readable: " + reason;
        return false;
    }
    if (!ResolveDefaults(ppd.get(), &defaults, error)) {
        return false;
    }
    TakeCollateDefault(defaults, &job);
    std::string rewritten = text;
    for (const auto& [keyword, choice] : DefaultLinesFor(ppd.get(), defaults)) {
        const bool required = std::find_if(defaults.begin(), defaults.end(), [&](const auto& d) {
                                  return d.first == keyword;
                              }) != defaults.end();
        if (!SetPpdDefault(&rewritten, keyword, choice) && required) {
            *error = "the PPD of the queue \"" + queue.Name() + "\" has no place for the default of \"" + keyword +
                     "\"";
            return false;
        }
    }
    const PpdPtr check = OpenPpdText(rewritten, &reason);
    if (!check) {
        *error = "the PPD with the new defaults would not be readable: " + reason;
        return false;
    }
    if (!HasDefaults(check.get(), defaults, error)) {
        return false;
    }
    // A PPD that already has these defaults is left as it is.
    return queue.Change(rewritten != text ? &rewritten : nullptr, job, error);
}

bool InstallPpd(const CompanionRequest& request, std::string* error)
{
    std::string text;
    if (!ReadGivenPpd(request.ppdPath, &text, error)) {
        return false;
    }
    std::string reason;
    if (!OpenPpdText(text, &reason)) {
        *error = "the file \"" + request.ppdPath + "\" is not a PPD: " + reason;
        return false;
    }
    SchedulerQueue queue;
    return queue.Open(request.queue, error) && queue.InstallPpd(text, error);
}

}  // namespace orvcompanion
