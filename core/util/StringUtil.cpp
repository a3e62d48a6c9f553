#include "core/util/StringUtil.h"

#include <cstring>

int SafeStrcmp(const char* pszA, const char* pszB)
{
    if (pszA == nullptr) {
        return pszB == nullptr ? 0 : -1;
    }
    if (pszB == nullptr) {
        return 1;
    }
    return strcmp(pszA, pszB);
}

size_t CopyStringBounded(char* pszDst, const char* pszSrc, size_t n)
{
    if (pszDst == nullptr || n == 0) {
        return 0;
    }
    if (pszSrc == nullptr) {
        pszSrc = "";
    }
    for (size_t i = 0; i < n; ++i) {
        pszDst[i] = pszSrc[i];
        if (pszSrc[i] == '\0') {
            return i;
        }
    }
    pszDst[n - 1] = '\0';
    return n;
}
