// An environment variable set, or unset, for the lifetime of an object; its former value (or its
// absence) comes back afterwards.
#pragma once

#include <cstdlib>
#include <string>

namespace orvtest {

class ScopedEnv {
public:
    // A NULL value unsets the variable.
    ScopedEnv(const char* pszName, const char* pszValue) : m_name(pszName)
    {
        if (const char* pszOld = std::getenv(pszName)) {
            m_hadOld = true;
            m_old = pszOld;
        }
        if (pszValue != nullptr) {
            setenv(pszName, pszValue, 1);
        } else {
            unsetenv(pszName);
        }
    }
    ScopedEnv(const char* pszName, const std::string& value) : ScopedEnv(pszName, value.c_str()) {}
    ~ScopedEnv()
    {
        if (m_hadOld) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadOld = false;
    std::string m_old;
};

}  // namespace orvtest
