#include "core/settings/MeasurementLocale.h"

#include "settings_test_env.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LocaleCase {
    const char* measurement;  // null: unset
    const char* lang;         // null: unset
    bool metric;
};

const LocaleCase kLocales[] = {
    {nullptr, nullptr, true},                 // neither set: metric
    {nullptr, "en_US.UTF-8", false},
    {"de_DE.UTF-8", "en_US.UTF-8", true},     // LC_MEASUREMENT wins
    {"en_US.UTF-8", "de_DE.UTF-8", false},
    {"", "en_US.UTF-8", true},                // set but empty still wins over LANG
    {nullptr, "es_MX", false},
    {nullptr, "pt_BR.UTF-8", false},
    {nullptr, "fr_CA.UTF-8", false},
    {nullptr, "en_GB.UTF-8", true},
    {nullptr, "ca_ES.UTF-8", true},           // "_ES" is no inch suffix; "ca_" is not "_CA"
    {nullptr, "en_us.UTF-8", true},           // case-sensitive
    {nullptr, "C", true},
    {nullptr, "es_AR", false}, {nullptr, "en_BZ", false}, {nullptr, "es_BO", false},
    {nullptr, "es_CL", false}, {nullptr, "es_CO", false}, {nullptr, "es_CR", false},
    {nullptr, "es_EC", false}, {nullptr, "es_SV", false}, {nullptr, "es_GT", false},
    {nullptr, "es_HN", false}, {nullptr, "es_NI", false}, {nullptr, "es_PA", false},
    {nullptr, "es_PY", false}, {nullptr, "es_PE", false}, {nullptr, "es_UY", false},
    {nullptr, "es_VE", false},
    {nullptr, "de_DE@euro_US", false},        // the suffix counts anywhere in the value
};

TEST(MeasurementLocale, InchCountriesAndVariableOrder)
{
    for (const LocaleCase& c : kLocales) {
        SCOPED_TRACE(std::string(c.measurement ? c.measurement : "(unset)") + " / " +
                     (c.lang ? c.lang : "(unset)"));
        ScopedEnv measurement("LC_MEASUREMENT", c.measurement);
        ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(IsMetricLocale(), c.metric ? FLAG_TRUE : FLAG_FALSE);
    }
}

}  // namespace
