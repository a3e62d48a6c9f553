#include "core/settings/EntryTextRule.h"

#include <cstring>

tagENTRYTEXTRULE MakeEntryTextRule(DWORD dwFilter, long lMax, const char* pszExtra, size_t cchExtra)
{
    tagENTRYTEXTRULE rule{};
    rule.dwFilter = dwFilter;
    rule.cchMax = lMax > 0 ? static_cast<size_t>(lMax) : 0;
    if (pszExtra != nullptr) {
        size_t cch = strnlen(pszExtra, cchExtra);
        if (cch > sizeof rule.szExtra - 1) {
            cch = sizeof rule.szExtra - 1;
        }
        std::memcpy(rule.szExtra, pszExtra, cch);
        rule.szExtra[cch] = '\0';
    }
    return rule;
}

bool IsEntryCharAccepted(const tagENTRYTEXTRULE& rule, unsigned char c)
{
    if ((rule.dwFilter & ENTRYFILTER_ON) == 0) {
        return true;
    }
    const bool digit = c >= '0' && c <= '9';
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if ((rule.dwFilter & ENTRYFILTER_DIGITS) != 0 && digit) {
        return true;
    }
    if ((rule.dwFilter & ENTRYFILTER_ALNUM) != 0 && (digit || letter)) {
        return true;
    }
    if ((rule.dwFilter & ENTRYFILTER_NO_SLASH) != 0 && c != '/' && c != '\0') {
        return true;
    }
    return (rule.dwFilter & ENTRYFILTER_EXTRA) != 0 && c != '\0' && std::strchr(rule.szExtra, c) != nullptr;
}

ENTRYTEXTCHECK CheckEntryText(const tagENTRYTEXTRULE& rule, const char* pszText, size_t cch)
{
    for (size_t i = 0; i < cch; ++i) {
        if (!IsEntryCharAccepted(rule, static_cast<unsigned char>(pszText[i]))) {
            return ENTRYTEXT_BAD_CHARACTER;
        }
    }
    if ((rule.dwFilter & ENTRYFILTER_FULL) != 0 && cch > 0 && cch < rule.cchMax) {
        return ENTRYTEXT_INCOMPLETE;
    }
    return ENTRYTEXT_OK;
}
