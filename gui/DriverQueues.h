// Which CUPS queues belong to this driver: a queue is the driver's when its PPD carries the
// attribute PPD_ORVALEN_ATTR whose keyword (spec field) is "Utility" and the value "OrvUtility" (in any letter
// case). Every CUPS and PPD call goes through the given libcups table; an unbound table (or one
// without the entries a step needs) counts as a system with no queues.
#pragma once

#include "core/binding/CupsLibrary.h"

#include <string>
#include <vector>

// True when some PPD_ORVALEN_ATTR attribute whose keyword (spec field) is "Utility" has the value "OrvUtility",
// compared without regard to case. False for a NULL PPD or an unbound table.
bool IsOrvUtilityPPD(tagCUPSFUNC* cups, ppd_file_t* ppd);

// The queue's PPD: cupsGetPPD's temporary copy opened with ppdOpenFile, the copy removed whether or
// not it opened. NULL when CUPS gives no PPD or it does not open. Close it with ClosePpd.
ppd_file_t* OpenPrinterPPD(tagCUPSFUNC* cups, const char* queue);

// OpenPrinterPPD, IsOrvUtilityPPD, close. False when the queue has no PPD.
bool IsOrvPrinter(tagCUPSFUNC* cups, const char* queue);

// The names of the driver's queues, in the order CUPS lists the destinations; an instance of a
// destination gives a row of its own under the destination's name. Empty without a bound table.
std::vector<std::string> ListDriverQueues(tagCUPSFUNC* cups);
