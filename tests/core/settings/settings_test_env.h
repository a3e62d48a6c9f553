// Environment helpers of the settings-record tests.
#pragma once

#include "support/ScopedEnv.h"

using orvtest::ScopedEnv;

// The measurement locale of one test: metric (LC_MEASUREMENT de_DE) or inch (en_US).
class ScopedMeasurementLocale {
public:
    explicit ScopedMeasurementLocale(bool metric)
        : measurement_("LC_MEASUREMENT", metric ? "de_DE.UTF-8" : "en_US.UTF-8"), lang_("LANG", nullptr)
    {
    }

private:
    ScopedEnv measurement_;
    ScopedEnv lang_;
};
