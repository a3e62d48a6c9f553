// Whether the user's locale measures paper in millimetres or inches.
#pragma once

#include "core/WinTypes.h"

// FLAG_TRUE for a metric locale, FLAG_FALSE for an inch locale. LC_MEASUREMENT decides; LANG only
// when LC_MEASUREMENT is unset; with neither set the locale is metric. An inch locale is one whose
// value contains one of the country suffixes of the inch-paper countries (case-sensitive).
WORD IsMetricLocale();
