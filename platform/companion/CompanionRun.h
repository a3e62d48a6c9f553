// The companion program's two jobs. Each checks everything it can before it asks the scheduler
// for the one change it makes, so that a failure leaves the queue as it was.
#pragma once

#include <string>

#include "platform/companion/CompanionArgs.h"

namespace orvcompanion {

// -S: the queue's PPD as the scheduler has it, with the requested choices as the defaults of their
// options, becomes the queue's PPD. Options or choices the PPD does not have are refused.
bool StoreDefaults(const CompanionRequest& request, std::string* error);

// -C: the PPD file (a regular file, not a symbolic link, that libcups reads as a PPD) becomes the
// queue's PPD.
bool InstallPpd(const CompanionRequest& request, std::string* error);

}  // namespace orvcompanion
