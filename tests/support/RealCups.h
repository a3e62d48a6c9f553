// The real libcups for tests, bound through the driver's own loader once per test program. It is
// pinned first: the loader's handle is closed at the end, and what libcups keeps for itself would
// otherwise look leaked to LeakSanitizer.
#pragma once

#include "core/binding/CupsLibrary.h"

namespace orvtest {

// The bound table; its handle is NULL when libcups cannot be loaded.
tagCUPSFUNC& RealCups();

}  // namespace orvtest
