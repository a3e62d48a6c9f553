#include "core/settings/MeasurementLocale.h"

#include <cstdlib>
#include <cstring>

namespace {

// Countries whose default paper is the inch size, as they appear in a locale name. The search is
// a plain substring search, so "fr_CA.UTF-8" matches "_CA".
constexpr const char* kInchCountrySuffixes[] = {
    "_US", "_CA", "_AR", "_BZ", "_BO", "_BR", "_CL", "_CO", "_CR", "_EC",
    "_SV", "_GT", "_HN", "_MX", "_NI", "_PA", "_PY", "_PE", "_UY", "_VE",
};

}  // namespace

WORD IsMetricLocale()
{
    const char* value = std::getenv("LC_MEASUREMENT");
    if (value == nullptr)
        value = std::getenv("LANG");
    if (value == nullptr)
        return FLAG_TRUE;
    for (const char* suffix : kInchCountrySuffixes) {
        if (std::strstr(value, suffix) != nullptr)
            return FLAG_FALSE;
    }
    return FLAG_TRUE;
}
