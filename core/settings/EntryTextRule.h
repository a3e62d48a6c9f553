// What the model allows in a text of the settings record that the user types (user id, password,
// job name, department code): a character filter and a largest length. The settings program's
// entries accept exactly this, and the filter sends no record text to the printer that breaks it.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

// Filter flags of a text entry, as the model data gives them.
inline constexpr DWORD ENTRYFILTER_ON = 0x1000;      // without it every character is accepted
inline constexpr DWORD ENTRYFILTER_DIGITS = 0x1;     // ASCII digits
inline constexpr DWORD ENTRYFILTER_ALNUM = 0x2;      // ASCII letters and digits
inline constexpr DWORD ENTRYFILTER_FULL = 0x4;       // a text that is not empty fills the largest length
inline constexpr DWORD ENTRYFILTER_NO_SLASH = 0x10;  // every character except '/'
inline constexpr DWORD ENTRYFILTER_EXTRA = 0x20;     // the rule's extra characters

inline constexpr size_t kEntryExtraSize = 32;

struct tagENTRYTEXTRULE {
    DWORD dwFilter;                 // ENTRYFILTER_* bits
    size_t cchMax;                  // largest length in bytes
    char szExtra[kEntryExtraSize];  // NUL-terminated
};

enum ENTRYTEXTCHECK {
    ENTRYTEXT_OK,
    ENTRYTEXT_BAD_CHARACTER,  // a character the filter does not accept
    ENTRYTEXT_INCOMPLETE,     // ENTRYFILTER_FULL and shorter than the largest length
};

// Fills a rule; pszExtra may be NULL or unterminated within cchExtra bytes.
tagENTRYTEXTRULE MakeEntryTextRule(DWORD dwFilter, long lMax, const char* pszExtra, size_t cchExtra);

// Whether the rule's filter accepts one character.
bool IsEntryCharAccepted(const tagENTRYTEXTRULE& rule, unsigned char c);

// Checks the first cch bytes of pszText against the rule. A text longer than the largest length is
// not refused here: the caller cuts it, as the entry does.
ENTRYTEXTCHECK CheckEntryText(const tagENTRYTEXTRULE& rule, const char* pszText, size_t cch);
