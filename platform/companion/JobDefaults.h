// A queue's job defaults: what the scheduler gives every job that does not name the setting
// itself. The copies and the collation a user saves for a queue reach later jobs only this way:
// the filter takes both from the job's own options (the copies argument and "Collate"), never
// from the PPD's default choice.
#pragma once

#include <optional>
#include <string>

#include "platform/companion/PpdChoices.h"

namespace orvcompanion {

struct JobDefaults {
    std::optional<int> copies;    // "copies-default"
    std::optional<bool> collate;  // "Collate-default"

    bool Empty() const { return !copies && !collate; }
};

// The most copies a queue's default may name (the scheduler's own limit unless configured lower).
constexpr int kMaxDefaultCopies = 9999;

// Moves the "copies" entries (the keyword is no PPD option) out of defaults into job->copies.
// False with a message when a value is not a whole number from 1 to kMaxDefaultCopies.
bool TakeCopiesDefault(Defaults* defaults, JobDefaults* job, std::string* error);

// Sets job->collate from a "Collate" entry of defaults that ResolveDefaults has spelled as the
// PPD does (its choice "True", any letter case, is collated); unchanged when there is none.
void TakeCollateDefault(const Defaults& defaults, JobDefaults* job);

}  // namespace orvcompanion
