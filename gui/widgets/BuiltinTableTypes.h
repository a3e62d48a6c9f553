// The records of the built-in string and image tables, and the lookups below GetBuiltinString and
// GetBuiltinImage. The tables themselves are generated at build time: the texts from the readable
// sources in gui/widgets/strings/ (tools/ui-strings-compiler), the pictures by the project's own
// painter (tools/ui-image-painter).
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>

// One text: its string id and its UTF-8 text, NULL for a key that has no text.
struct tagBUILTINSTRING {
    unsigned short wID;
    const char* pszText;
};

// One section of a locale, its strings sorted by string id as unsigned 16-bit numbers.
struct tagBUILTINSECTION {
    unsigned short wID;
    const tagBUILTINSTRING* pItems;
    int nCount;
};

// One locale ("en", "ja"), its sections sorted by section id.
struct tagBUILTINLOCALE {
    const char* pszLocale;
    const tagBUILTINSECTION* pSections;
    int nCount;
};

// One picture: its id, its serialized GdkPixdata stream and the pixbuf decoded from it (NULL until
// first use). Sorted by id.
struct tagBUILTINIMAGE {
    unsigned short wID;
    unsigned int nLength;
    const unsigned char* pData;
    GdkPixbuf* pCache;
};

// The generated tables: the locales sorted by case-insensitive name, the images by id.
extern const tagBUILTINLOCALE g_BuiltinLocales[];
extern const int g_nBuiltinLocales;
extern tagBUILTINIMAGE g_BuiltinImages[];
extern const int g_nBuiltinImages;

// The locale of that name, trying the whole name, then its first 5 characters, then its first 2
// (case-insensitive); NULL when none matches or for a NULL name.
const tagBUILTINLOCALE* FindBuiltinLocale(const char* pszName);

// Text of the key in one locale (NULL locale: none); NULL when missing or without text.
const char* FindBuiltinStringInLocale(const tagBUILTINLOCALE* pLocale, unsigned short wSection,
                                      unsigned short wID);

// A new pixbuf with its own copy of the pixels of a serialized GdkPixdata stream of nLength bytes;
// NULL (with a diagnostic on standard output) when the stream is damaged or cannot be decoded.
GdkPixbuf* DecodeBuiltinImage(const unsigned char* pData, size_t nLength);

// Forgets the locale remembered from LANG, so that the next lookup reads LANG again (tests).
void ResetBuiltinLocaleChoice();
