#include "core/util/PackagePaths.h"

#include "core/InstallPaths.h"
#include "core/util/SafeName.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

// The given user, else LOGNAME, else USER; NULL when none is set.
const char* ChooseUser(const char* pszUser)
{
    if (pszUser != nullptr) {
        return pszUser;
    }
    if (const char* logname = std::getenv("LOGNAME")) {
        return logname;
    }
    return std::getenv("USER");
}

// A malloc'ed copy (callers free these with free()), or NULL.
char* HeapCopy(const std::string& s)
{
    char* p = static_cast<char*>(malloc(s.size() + 1));
    if (p != nullptr) {
        memcpy(p, s.c_str(), s.size() + 1);
    }
    return p;
}

// The installed directory (ending in a slash) followed by the user name, or NULL.
char* UserPathUnder(const char* pszDefaultDir, const char* pszUser)
{
    if (!IsSafeNameComponent(pszUser)) {
        return nullptr;
    }
    try {
        return HeapCopy(orv::InstalledPath(pszDefaultDir) + pszUser);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

char* GetUserConfPath(const char* pszUser)
{
    return UserPathUnder(orv::kConfDir, ChooseUser(pszUser));
}

char* GetUserOverlayDir(const char* pszUser)
{
    char* conf = GetUserConfPath(pszUser);
    if (conf == nullptr) {
        return nullptr;
    }
    char* result = nullptr;
    if (conf[0] != '\0') {
        try {
            result = HeapCopy(std::string(conf) + "/overlay");
        } catch (const std::bad_alloc&) {
            result = nullptr;
        }
    }
    free(conf);
    return result;
}

char* GetTmpOverlayPath(const char* pszUser)
{
    return UserPathUnder(orv::kTmpOverlayDir, pszUser);
}
