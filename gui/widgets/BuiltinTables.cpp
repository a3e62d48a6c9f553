// Lookups in the built-in string and image tables (generated at build time; see
// BuiltinTableTypes.h).
#include "gui/widgets/BuiltinTables.h"

#include "gui/widgets/BuiltinTableTypes.h"

#include <gdk-pixbuf/gdk-pixdata.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// The locale chosen from LANG (remembered once found) and the "en" locale.
const tagBUILTINLOCALE* s_pLangLocale = nullptr;
const tagBUILTINLOCALE* s_pEnglishLocale = nullptr;

// Longest locale name worth comparing: a longer LANG value is cut to 5 and 2 characters anyway.
constexpr size_t kMaxLocaleName = 63;

const tagBUILTINLOCALE* SearchLocale(const char* pszName)
{
    int lo = 0;
    int hi = g_nBuiltinLocales - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int cmp = strcasecmp(pszName, g_BuiltinLocales[mid].pszLocale);
        if (cmp == 0) {
            return &g_BuiltinLocales[mid];
        }
        if (cmp < 0) {
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    return nullptr;
}

template <typename Entry>
const Entry* SearchById(const Entry* pEntries, int nCount, unsigned short wID)
{
    int lo = 0;
    int hi = nCount - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (pEntries[mid].wID == wID) {
            return &pEntries[mid];
        }
        if (pEntries[mid].wID < wID) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return nullptr;
}

// Reads a big-endian 32-bit word of the picture header.
unsigned long ReadBigEndian(const unsigned char* p)
{
    return (static_cast<unsigned long>(p[0]) << 24) | (static_cast<unsigned long>(p[1]) << 16) |
           (static_cast<unsigned long>(p[2]) << 8) | static_cast<unsigned long>(p[3]);
}

constexpr size_t kPixdataHeaderLength = 24;
constexpr unsigned long kPixdataMagic = 0x47646b50;  // "GdkP"
constexpr unsigned long kPixdataRgb = 0x01010001;
constexpr unsigned long kPixdataRgba = 0x01010002;
// No built-in picture is larger; a header claiming more is damaged.
constexpr unsigned long kMaxPictureSide = 4096;

// Checks the header of a serialized picture before GdkPixdata reads it: a raw, 8-bit RGB or RGBA
// stream whose rows fit in the stated total length, which must be the buffer's own.
bool CheckPixdataHeader(const unsigned char* pData, size_t nLength, const char*& pszWhy)
{
    if (pData == nullptr || nLength < kPixdataHeaderLength) {
        pszWhy = "shorter than its header";
        return false;
    }
    const unsigned long magic = ReadBigEndian(pData);
    const unsigned long total = ReadBigEndian(pData + 4);
    const unsigned long type = ReadBigEndian(pData + 8);
    const unsigned long rowstride = ReadBigEndian(pData + 12);
    const unsigned long width = ReadBigEndian(pData + 16);
    const unsigned long height = ReadBigEndian(pData + 20);
    if (magic != kPixdataMagic) {
        pszWhy = "no GdkPixdata magic";
        return false;
    }
    if (total != nLength) {
        pszWhy = "stated length differs from the stream's";
        return false;
    }
    if (type != kPixdataRgb && type != kPixdataRgba) {
        pszWhy = "not raw 8-bit RGB or RGBA";
        return false;
    }
    const unsigned long bytesPerPixel = type == kPixdataRgb ? 3 : 4;
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        pszWhy = "size out of range";
        return false;
    }
    if (rowstride < width * bytesPerPixel || rowstride > kMaxPictureSide * 4 + 3) {
        pszWhy = "row stride does not fit the width";
        return false;
    }
    // The last row needs only width * bytesPerPixel bytes, but GdkPixdata copies whole rows.
    if ((nLength - kPixdataHeaderLength) / rowstride < height) {
        pszWhy = "pixels shorter than the stated rows";
        return false;
    }
    return true;
}

}  // namespace

const tagBUILTINLOCALE* FindBuiltinLocale(const char* pszName)
{
    if (pszName == nullptr) {
        return nullptr;
    }
    char szName[kMaxLocaleName + 1];
    std::strncpy(szName, pszName, kMaxLocaleName);
    szName[kMaxLocaleName] = '\0';
    if (const tagBUILTINLOCALE* pLocale = SearchLocale(szName)) {
        return pLocale;
    }
    if (std::strlen(szName) > 5) {
        szName[5] = '\0';
        if (const tagBUILTINLOCALE* pLocale = SearchLocale(szName)) {
            return pLocale;
        }
    }
    if (std::strlen(szName) > 2) {
        szName[2] = '\0';
        return SearchLocale(szName);
    }
    return nullptr;
}

const char* FindBuiltinStringInLocale(const tagBUILTINLOCALE* pLocale, unsigned short wSection,
                                      unsigned short wID)
{
    if (pLocale == nullptr) {
        return nullptr;
    }
    const tagBUILTINSECTION* pSection = SearchById(pLocale->pSections, pLocale->nCount, wSection);
    if (pSection == nullptr) {
        return nullptr;
    }
    const tagBUILTINSTRING* pString = SearchById(pSection->pItems, pSection->nCount, wID);
    return pString != nullptr ? pString->pszText : nullptr;
}

void ResetBuiltinLocaleChoice()
{
    s_pLangLocale = nullptr;
}

const char* GetBuiltinString(unsigned short wSection, unsigned short wID)
{
    if (s_pLangLocale == nullptr) {
        s_pLangLocale = FindBuiltinLocale(std::getenv("LANG"));
    }
    if (s_pEnglishLocale == nullptr) {
        s_pEnglishLocale = FindBuiltinLocale("en");
    }
    const char* pszText = FindBuiltinStringInLocale(s_pLangLocale, wSection, wID);
    if (pszText == nullptr && s_pLangLocale != s_pEnglishLocale) {
        pszText = FindBuiltinStringInLocale(s_pEnglishLocale, wSection, wID);
    }
    return pszText;
}

GdkPixbuf* DecodeBuiltinImage(const unsigned char* pData, size_t nLength)
{
    const char* pszWhy = nullptr;
    if (!CheckPixdataHeader(pData, nLength, pszWhy)) {
        std::printf("DecodeBuiltinImage: damaged picture (%s)\n", pszWhy);
        return nullptr;
    }
    // GdkPixdata is the picture format of the table; its functions are deprecated only in favour
    // of resource bundles, which this program does not use.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GdkPixdata pixdata;
    GError* pError = nullptr;
    GdkPixbuf* pPixbuf = nullptr;
    if (gdk_pixdata_deserialize(&pixdata, static_cast<guint>(nLength), pData, &pError)) {
        pPixbuf = gdk_pixbuf_from_pixdata(&pixdata, TRUE, &pError);
    }
#pragma GCC diagnostic pop
    if (pError != nullptr) {
        std::printf("DecodeBuiltinImage: %s\n", pError->message);
        g_error_free(pError);
    }
    if (pPixbuf == nullptr) {
        std::printf("DecodeBuiltinImage: the picture could not be decoded\n");
    }
    return pPixbuf;
}

GdkPixbuf* GetBuiltinImage(unsigned short wID)
{
    tagBUILTINIMAGE* pEntry = const_cast<tagBUILTINIMAGE*>(SearchById(
        static_cast<const tagBUILTINIMAGE*>(g_BuiltinImages), g_nBuiltinImages, wID));
    if (pEntry == nullptr) {
        return nullptr;
    }
    if (pEntry->pCache == nullptr) {
        pEntry->pCache = DecodeBuiltinImage(pEntry->pData, pEntry->nLength);
        if (pEntry->pCache == nullptr) {
            std::printf("GetBuiltinImage: picture %u cannot be decoded\n", static_cast<unsigned>(wID));
        }
    }
    return pEntry->pCache;
}
