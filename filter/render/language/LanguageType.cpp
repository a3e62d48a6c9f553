// The two model-data lookups made when the renderer is created: the printer-language type with
// the toner-save flags, and the toner-save level.
#include "filter/render/language/LanguageType.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcListAnswers.h"
#include "core/settings/DevMode.h"

#include <cstdlib>

namespace {

constexpr LONG kViewLanguage = 3;          // the first three words of tagLANGUAGEOPTIONS
constexpr LONG kViewTonerSaveFlags = 3;    // tagSPCTONERSAVE
constexpr LONG kViewTonerSaveLevel = 4;    // per item: tagSPCIDVALUE, the level as its value
constexpr LONG kViewTonerSaveDefault = 2;  // item 0: one WORD, the default level

constexpr DWORD kCapsPcl = 3;
constexpr DWORD kCapsGdi = 14;
constexpr SHORT kFallbackTonerSaveLevel = 30;

// Field `field` of the first record of (capability, item, view); false when the model does not
// answer with a record that holds it.
template <typename T, typename F>
bool ReadField(SHORT capability, WORD item, LONG view, F T::*field, const tagRENDEROPTIONS* options, F* value)
{
    const ModelAnswer answer(RenderModelData(options), capability, static_cast<SHORT>(item), view,
                             RenderModelQuery(options));
    return answer.Found() && answer.Count() != 0 && answer.ReadField(field, value);
}

// The one WORD that a view answers; false when the model does not answer with it.
bool ReadWord(SHORT capability, WORD item, LONG view, const tagRENDEROPTIONS* options, WORD* value)
{
    const ModelAnswer answer(RenderModelData(options), capability, static_cast<SHORT>(item), view,
                             RenderModelQuery(options));
    if (!answer.Found() || answer.Count() == 0 || !answer.Holds(0, sizeof(WORD))) {
        return false;
    }
    *value = answer.Record<WORD>();
    return true;
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
    if (ReadField(SPCID_LANGUAGE, 0, kViewLanguage, &tagLANGUAGEOPTIONS::dwLanguageFlags, options, &word) &&
        (word & 0x1) != 0) {
        type = LANGTYPE_GDI;
    }
    // The toner-save flags are the section's second word: bit 0 supported, bit 1 made by the
    // colour tables.
    if (ReadField(SPCID_TONERSAVE, 0, kViewTonerSaveFlags, &tagSPCTONERSAVE::dwCount, options, &word) &&
        context != nullptr && (word & 0x1) != 0) {
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
    WORD candidates[4] = {items.byQuality[QualityColumn(settings->priv.dmQuality)], items.further[0], items.further[1],
                          items.further[2]};
    WORD level = 0;
    bool found = false;
    for (WORD item : candidates) {
        if (item == 0) {
            break;
        }
        SHORT value = 0;
        if (ReadField(SPCID_TONERSAVE, item, kViewTonerSaveLevel, &tagSPCIDVALUE::sValue, options, &value)) {
            level = static_cast<WORD>(value);
            found = true;
            break;
        }
    }
    if (!found && !ReadWord(SPCID_TONERSAVE, 0, kViewTonerSaveDefault, options, &level)) {
        level = static_cast<WORD>(kFallbackTonerSaveLevel);
    }
    context->sTonerSaveLevel = static_cast<SHORT>(level);
    return context->sTonerSaveLevel;
}
