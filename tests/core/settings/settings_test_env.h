// Environment helpers of the settings-record tests.
#pragma once

#include <cstdlib>
#include <string>

// Sets or clears one environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            hadOld_ = true;
            old_ = old;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    bool hadOld_ = false;
    std::string old_;
};

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
