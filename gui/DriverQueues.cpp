#include "gui/DriverQueues.h"

#include "core/binding/PpdHelpers.h"

#include <strings.h>
#include <unistd.h>

namespace {

constexpr const char kUtilitySpec[] = "Utility";
constexpr const char kUtilityValue[] = "OrvUtility";

bool IsBound(const tagCUPSFUNC* cups)
{
    return cups != nullptr && cups->handle != nullptr;
}

}  // namespace

bool IsOrvUtilityPPD(tagCUPSFUNC* cups, ppd_file_t* ppd)
{
    if (ppd == nullptr || !IsBound(cups) || cups->ppdFindAttr == nullptr || cups->ppdFindNextAttr == nullptr) {
        return false;
    }
    for (ppd_attr_t* attr = cups->ppdFindAttr(ppd, PPD_ORVALEN_ATTR, kUtilitySpec); attr != nullptr;
         attr = cups->ppdFindNextAttr(ppd, PPD_ORVALEN_ATTR, kUtilitySpec)) {
        if (attr->value != nullptr && strcasecmp(attr->value, kUtilityValue) == 0) {
            return true;
        }
    }
    return false;
}

ppd_file_t* OpenPrinterPPD(tagCUPSFUNC* cups, const char* queue)
{
    if (queue == nullptr || !IsBound(cups) || cups->cupsGetPPD == nullptr || cups->ppdOpenFile == nullptr) {
        return nullptr;
    }
    const char* path = cups->cupsGetPPD(queue);
    if (path == nullptr) {
        return nullptr;
    }
    ppd_file_t* ppd = cups->ppdOpenFile(path);
    unlink(path);
    return ppd;
}

bool IsOrvPrinter(tagCUPSFUNC* cups, const char* queue)
{
    ppd_file_t* ppd = OpenPrinterPPD(cups, queue);
    if (ppd == nullptr) {
        return false;
    }
    const bool ours = IsOrvUtilityPPD(cups, ppd);
    ClosePpd(cups, ppd);
    return ours;
}

std::vector<std::string> ListDriverQueues(tagCUPSFUNC* cups)
{
    std::vector<std::string> names;
    if (!IsBound(cups) || cups->cupsGetDests == nullptr || cups->cupsFreeDests == nullptr) {
        return names;
    }
    cups_dest_t* dests = nullptr;
    const int count = cups->cupsGetDests(&dests);
    for (int i = 0; i < count && dests != nullptr; ++i) {
        const char* name = dests[i].name;
        if (name != nullptr && IsOrvPrinter(cups, name)) {
            names.emplace_back(name);
        }
    }
    cups->cupsFreeDests(count, dests);
    return names;
}
