#include "core/util/SafeName.h"

#include <cstring>

bool IsSafeNameComponent(const char* pszName)
{
    if (pszName == nullptr || pszName[0] == '\0') {
        return false;
    }
    if (strcmp(pszName, ".") == 0 || strcmp(pszName, "..") == 0) {
        return false;
    }
    return strchr(pszName, '/') == nullptr;
}
