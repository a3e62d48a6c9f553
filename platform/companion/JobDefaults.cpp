#include "platform/companion/JobDefaults.h"

#include <strings.h>

#include <algorithm>

namespace orvcompanion {

namespace {

// A decimal count of 1..kMaxDefaultCopies, digits only (no sign, blank or exponent).
std::optional<int> CopiesCount(const std::string& text)
{
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int count = std::stoi(text);
    if (count < 1 || count > kMaxDefaultCopies) {
        return std::nullopt;
    }
    return count;
}

}  // namespace

bool TakeCopiesDefault(Defaults* defaults, JobDefaults* job, std::string* error)
{
    for (auto it = defaults->begin(); it != defaults->end();) {
        if (strcasecmp(it->first.c_str(), "copies") != 0) {
            ++it;
            continue;
        }
        const std::optional<int> count = CopiesCount(it->second);
        if (!count) {
            *error = "\"copies\" must be a whole number from 1 to " + std::to_string(kMaxDefaultCopies) + ", not \"" +
                     it->second + "\"";
            return false;
        }
        job->copies = count;
        it = defaults->erase(it);
    }
    return true;
}

void TakeCollateDefault(const Defaults& defaults, JobDefaults* job)
{
    for (const auto& [keyword, choice] : defaults) {
        if (keyword == "Collate") {
            job->collate = strcasecmp(choice.c_str(), "True") == 0;
        }
    }
}

}  // namespace orvcompanion
