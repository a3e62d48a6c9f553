#include "core/binding/PpdHelpers.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern "C" const char PPD_ORVALEN_ATTR[] = "OrvalenAttr";

namespace {

bool IsBound(const tagCUPSFUNC* cups)
{
    return cups != nullptr && cups->handle != nullptr;
}

bool IsListed(const ppd_option_t& option)
{
    // "PageRegion" duplicates PageSize; the driver never sets it on its own.
    return std::strcmp(option.keyword, "PageRegion") != 0;
}

// Walks the group's own options, then its subgroups' options, in order. With out NULL it only
// counts; otherwise it stores from out[at] on. Returns the new position.
size_t GatherGroupOptions(ppd_group_t& group, ppd_option_t** out, size_t at)
{
    for (int i = 0; i < group.num_options && group.options != nullptr; ++i) {
        if (IsListed(group.options[i])) {
            if (out != nullptr) {
                out[at] = &group.options[i];
            }
            ++at;
        }
    }
    for (int i = 0; i < group.num_subgroups && group.subgroups != nullptr; ++i) {
        at = GatherGroupOptions(group.subgroups[i], out, at);
    }
    return at;
}

size_t GatherPpdOptions(ppd_file_t& ppd, ppd_option_t** out)
{
    size_t at = 0;
    for (int i = 0; i < ppd.num_groups && ppd.groups != nullptr; ++i) {
        at = GatherGroupOptions(ppd.groups[i], out, at);
    }
    return at;
}

}  // namespace

int CollectDestOptions(tagCUPSFUNC* cups, const char* queue, const char* optionString,
                       cups_option_t** options)
{
    if (options != nullptr) {
        *options = nullptr;
    }
    if (!IsBound(cups) || options == nullptr) {
        return 0;
    }
    int count = 0;
    if (queue != nullptr) {
        cups_dest_t* dests = nullptr;
        int destCount = cups->cupsGetDests(&dests);
        if (cups_dest_t* dest = cups->cupsGetDest(queue, nullptr, destCount, dests)) {
            for (int i = 0; i < dest->num_options; ++i) {
                count = cups->cupsAddOption(dest->options[i].name, dest->options[i].value, count,
                                            options);
            }
        }
        cups->cupsFreeDests(destCount, dests);
    }
    if (optionString != nullptr) {
        count = cups->cupsParseOptions(optionString, count, options);
    }
    return count;
}

ppd_file_t* OpenQueuePpd(tagCUPSFUNC* cups, const char* queue, int optionCount,
                         cups_option_t* options)
{
    if (!IsBound(cups) || queue == nullptr) {
        return nullptr;
    }
    const char* copy = cups->cupsGetPPD(queue);
    if (copy == nullptr) {
        return nullptr;
    }
    ppd_file_t* ppd = OpenMarkedPpdFile(cups, copy, optionCount, options);
    unlink(copy);  // the fetched copy is ours, opened or not
    return ppd;
}

ppd_file_t* OpenMarkedPpdFile(tagCUPSFUNC* cups, const char* path, int optionCount,
                              cups_option_t* options)
{
    if (!IsBound(cups) || path == nullptr) {
        return nullptr;
    }
    ppd_file_t* ppd = cups->ppdOpenFile(path);
    if (ppd != nullptr) {
        cups->ppdLocalize(ppd);
        cups->ppdMarkDefaults(ppd);
        cups->cupsMarkOptions(ppd, optionCount, options);  // conflicts are resolved later
    }
    return ppd;
}

void ClosePpd(tagCUPSFUNC* cups, ppd_file_t* ppd)
{
    if (ppd != nullptr && IsBound(cups)) {
        cups->ppdClose(ppd);
    }
}

int CollectPpdOptions(tagCUPSFUNC*, ppd_file_t* ppd, ppd_option_t*** options)
{
    if (options != nullptr) {
        *options = nullptr;
    }
    if (ppd == nullptr || options == nullptr) {
        return 0;
    }
    size_t count = GatherPpdOptions(*ppd, nullptr);
    if (count == 0) {
        return 0;
    }
    auto* array = static_cast<ppd_option_t**>(std::malloc(count * sizeof(ppd_option_t*)));
    if (array == nullptr) {
        return 0;
    }
    GatherPpdOptions(*ppd, array);
    *options = array;
    return static_cast<int>(count);
}

const char* GetMakerPpdAttr(tagCUPSFUNC* cups, ppd_file_t* ppd, const char* key)
{
    if (!IsBound(cups) || ppd == nullptr || key == nullptr) {
        return nullptr;
    }
    ppd_attr_t* attr = cups->ppdFindAttr(ppd, PPD_ORVALEN_ATTR, key);
    return attr != nullptr ? attr->value : nullptr;
}

int AddCupsOption(tagCUPSFUNC* cups, const char* name, const char* value, int count,
                  cups_option_t** options)
{
    if (!IsBound(cups) || name == nullptr || value == nullptr || options == nullptr) {
        return count;
    }
    return cups->cupsAddOption(name, value, count, options);
}
