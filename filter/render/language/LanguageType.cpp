#include "filter/render/language/LanguageType.h"

#include "filter/render/ModelDataQuery.h"
#include "core/model/SpcIds.h"
#include "core/settings/DevMode.h"

#include <cstdlib>

namespace {

constexpr DWORD kViewLanguage = 3;  // u32 +8: bit 0 selects the GDI language
constexpr DWORD kViewTonerSaveFlags = 3;  // u32 +4: bit 0 supported, bit 1 made by the colour tables
constexpr DWORD kViewTonerSaveLevel = 4;  // per item: u16 +2 level
constexpr DWORD kViewTonerSaveDefault = 2;  // item 0: u16 +0 default level

constexpr DWORD kCapsPcl = 3;
constexpr DWORD kCapsGdi = 14;
constexpr SHORT kFallbackTonerSaveLevel = 30;

bool ReadDword(WORD capability, WORD item, DWORD view, DWORD offset, const tagRENDEROPTIONS* options, DWORD* value)
{
    DWORD size = 0;
    BYTE* record = QueryModelData(capability, item, view, nullptr, options, &size);
    const bool present = ModelDataDword(record, size, offset, value);
    std::free(record);
    return present;
}

bool ReadWord(WORD capability, WORD item, DWORD view, DWORD offset, const tagRENDEROPTIONS* options, WORD* value)
{
    DWORD size = 0;
    BYTE* record = QueryModelData(capability, item, view, nullptr, options, &size);
    const bool present = ModelDataWord(record, size, offset, value);
    std::free(record);
    return present;
}

// The level items of capability 46 to try, by colour mode and quality, ending in 0.
struct LevelItems {
    WORD byQuality[4];  // quality 3, 4, 1, any other
    WORD further[3];
};
constexpr LevelItems kMonoItems = {{14, 15, 12, 13}, {11, 1, 0}};
constexpr LevelItems kColor3Items = {{9, 10, 7, 8}, {6, 1, 0}};
constexpr LevelItems kColorItems = {{4, 5, 2, 3}, {1, 0, 0}};

int QualityColumn(SHORT quality)
{
    switch (quality) {
    case 3:
        return 0;
    case 4:
        return 1;
    case 1:
        return 2;
    default:
        return 3;
    }
}

}  // namespace

DWORD QueryLanguageType(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options)
{
    DWORD type = (settings != nullptr && settings->priv.dmLanguageMode == 0) ? LANGTYPE_PCL : LANGTYPE_NONE;
    DWORD word = 0;
    if (ReadDword(SPCID_LANGUAGE, 0, kViewLanguage, 8, options, &word) && (word & 0x1) != 0) {
        type = LANGTYPE_GDI;
    }
    if (ReadDword(SPCID_TONERSAVE, 0, kViewTonerSaveFlags, 4, options, &word) && context != nullptr &&
        (word & 0x1) != 0) {
        context->dwLangFlags |= TONERSAVE_SUPPORTED;
        if ((word & 0x2) != 0) {
            context->dwLangFlags |= TONERSAVE_IN_TABLE;
        }
    }
    if (type != LANGTYPE_NONE && options != nullptr) {
        options->dwLangType = type;
        options->dwCapabilityMask = type == LANGTYPE_PCL ? kCapsPcl : kCapsGdi;
        if (context == nullptr || (context->dwLangFlags & TONERSAVE_SUPPORTED) == 0) {
            options->dwCapabilityMask &= ~RENDERCAPS_ECONOMODE;
        }
    }
    return type;
}

SHORT QueryTonerSaveLevel(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr) {
        return 0;
    }
    context->sTonerSaveLevel = 0;
    if (settings == nullptr || settings->priv.dmTonerSave != 1 || (context->dwLangFlags & TONERSAVE_SUPPORTED) == 0 ||
        (context->dwLangFlags & TONERSAVE_IN_TABLE) != 0) {
        return 0;
    }
    const SHORT color = settings->priv.dmColor;
    const LevelItems& items = color == 1 ? kMonoItems : color == 3 ? kColor3Items : kColorItems;
    WORD candidates[4] = {items.byQuality[QualityColumn(settings->priv.dmQuality)], items.further[0],
                          items.further[1], items.further[2]};
    WORD level = 0;
    bool found = false;
    for (WORD item : candidates) {
        if (item == 0) {
            break;
        }
        if (ReadWord(SPCID_TONERSAVE, item, kViewTonerSaveLevel, 2, options, &level)) {
            found = true;
            break;
        }
    }
    if (!found && !ReadWord(SPCID_TONERSAVE, 0, kViewTonerSaveDefault, 0, options, &level)) {
        level = static_cast<WORD>(kFallbackTonerSaveLevel);
    }
    context->sTonerSaveLevel = static_cast<SHORT>(level);
    return context->sTonerSaveLevel;
}
