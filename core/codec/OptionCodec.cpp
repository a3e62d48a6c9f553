#include "core/codec/OptionCodec.h"

#include "core/codec/CupsKeys.h"
#include "core/codec/PpdChoiceId.h"

#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Positions in CUPS_KEYS.
enum CupsKey {
    kPageSize,
    kMediaType,
    kInputSlot,
    kDuplex,
    kResolution,
    kHalftone,
    kCollate,
    kCopies,
    kSides,
    kOrientation,
    kLandscape,
    kNumberUp,
    kNumberUpLayout,
    kPageBorder,
    kOutputOrder,
    kMedia,
    kBookletBinding,
    kBookletUnit,
    kPoster,
    kSortMethod,
    kFinisher,
    kStaple,
    kPuncher,
    kPrintBlankPages,
    kColorMode,
    kTonerSave,
    kTextAsBlack,
    kKeyCount,
    kUnknownKey = -1,
};

CupsKey FindKey(const char* key)
{
    if (key == nullptr) {
        return kUnknownKey;
    }
    for (int i = 0; i < kKeyCount && i < CUPS_KEYS_COUNT; ++i) {
        if (std::strcmp(CUPS_KEYS[i], key) == 0) {
            return static_cast<CupsKey>(i);
        }
    }
    return kUnknownKey;
}

// dmFields bits the paper-size key sets besides DM_PAPERSIZE for a custom paper.
constexpr DWORD kCustomPaperFields = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
// Paper ids above this are user-defined sizes that carry their own width and length.
constexpr long kLastStandardPaperId = 455;

constexpr WORD kLayoutNup = 0x1;
constexpr WORD kLayoutBooklet = 0x2;
constexpr WORD kLayoutPoster = 0x4;

bool HasPpd(const tagMODELHANDLE* handle)
{
    return handle != nullptr && handle->pCupsFunc != nullptr &&
           handle->pCupsFunc->handle != nullptr && handle->pPpd != nullptr;
}

ppd_option_t* FindPpdOption(tagMODELHANDLE* handle, const char* keyword)
{
    return HasPpd(handle) ? handle->pCupsFunc->ppdFindOption(handle->pPpd, keyword) : nullptr;
}

bool IsCaseless(const char* text, const char* word)
{
    return text != nullptr && strcasecmp(text, word) == 0;
}

// Decimal value of an option text as the C library reads it ("abc" is 0).
long DecimalOf(const char* text)
{
    return std::strtol(text, nullptr, 10);
}

template <class T>
bool Fits(long value)
{
    return value >= static_cast<long>(std::numeric_limits<T>::min()) &&
           value <= static_cast<long>(std::numeric_limits<T>::max());
}

// Option texts are outside input: numbers that reach a 16-bit field are held to its range.
SHORT ClampToShort(long value)
{
    if (value > std::numeric_limits<SHORT>::max()) {
        return std::numeric_limits<SHORT>::max();
    }
    if (value < std::numeric_limits<SHORT>::min()) {
        return std::numeric_limits<SHORT>::min();
    }
    return static_cast<SHORT>(value);
}

// Points to 0.1 mm, in single precision and truncated toward zero; held to the 16-bit field.
SHORT PointsToTenthsMm(float points)
{
    float tenths = points * 254.0f / 72.0f;
    if (std::isnan(tenths)) {
        return 0;
    }
    if (tenths >= static_cast<float>(std::numeric_limits<SHORT>::max())) {
        return std::numeric_limits<SHORT>::max();
    }
    if (tenths <= static_cast<float>(std::numeric_limits<SHORT>::min())) {
        return std::numeric_limits<SHORT>::min();
    }
    return static_cast<SHORT>(tenths);
}

// What the PPD says about a value given for a key.
struct ChoiceLookup {
    ppd_option_t* option = nullptr;
    ppd_choice_t* choice = nullptr;  // the PickOne choice named by the value
    bool found = false;              // a number was read (for "Poster": the choice exists)
    long number = 0;
};

ChoiceLookup LookUpValue(tagMODELHANDLE* handle, CupsKey key, const char* keyword,
                         const char* value)
{
    ChoiceLookup out;
    out.option = FindPpdOption(handle, keyword);
    if (out.option == nullptr) {
        return out;
    }
    if (out.option->ui == PPD_UI_BOOLEAN) {
        out.number = IsCaseless(value, "true") ? 1 : 0;
        out.found = true;
    } else if (out.option->ui == PPD_UI_PICKONE) {
        out.choice = handle->pCupsFunc->ppdFindChoice(out.option, value);
        if (out.choice != nullptr) {
            out.found = key == kPoster || GetPpdChoiceId(out.choice->code, &out.number) != 0;
        }
    }
    return out;
}

// Stores the choice's number in the field when one was read and the field can hold it; a number
// the field cannot hold is a broken PPD and leaves the field as it was.
template <class T>
bool SetId(T& field, const ChoiceLookup& lookup)
{
    if (!lookup.found || !Fits<T>(lookup.number)) {
        return false;
    }
    field = static_cast<T>(lookup.number);
    return true;
}

// "NxM" as the poster choices name their tile counts.
bool ParseTiles(const char* name, long& across, long& down)
{
    char* end = nullptr;
    across = std::strtol(name, &end, 10);
    if (end == name || *end != 'x') {
        return false;
    }
    const char* rest = end + 1;
    down = std::strtol(rest, &end, 10);
    return end != rest;
}

void SetPaperSize(tagMODELHANDLE* handle, DRVDEVMODE& dm, const ChoiceLookup& lookup,
                  const char* value)
{
    if (!SetId(dm.dm.dmPaperSize, lookup)) {
        return;
    }
    dm.dm.dmFields |= DM_PAPERSIZE;
    if (lookup.number <= kLastStandardPaperId || !HasPpd(handle)) {
        return;
    }
    const char* name = lookup.choice != nullptr ? lookup.choice->choice : value;
    if (ppd_size_t* size = handle->pCupsFunc->ppdPageSize(handle->pPpd, name)) {
        dm.dm.dmPaperLength = PointsToTenthsMm(size->length);
        dm.dm.dmPaperWidth = PointsToTenthsMm(size->width);
        dm.dm.dmFields |= kCustomPaperFields;
    }
}

// "orientation-requested" speaks IPP: 3 portrait, 4 landscape, 5 reverse landscape, 6 reverse
// portrait. Other numbers are no orientation at all and change nothing.
void SetOrientationRequested(DRVDEVMODE& dm, const char* value)
{
    long requested = DecimalOf(value);
    if (requested < 3 || requested > 6) {
        return;
    }
    long v = requested - 3;
    if (v > 1) {
        v ^= 1;
    }
    dm.dm.dmOrientation = (v & 1) != 0 ? 2 : 1;
    dm.dm.dmFields |= DM_ORIENTATION;
}

void SetValue(tagMODELHANDLE* handle, DRVDEVMODE& dm, CupsKey key, const char* keyword,
              const char* value)
{
    PRIVDM& priv = dm.priv;
    ChoiceLookup lookup = LookUpValue(handle, key, keyword, value);
    switch (key) {
    case kPageSize:
        SetPaperSize(handle, dm, lookup, value);
        break;
    case kMediaType:
        if (SetId(dm.dm.dmMediaType, lookup)) {
            dm.dm.dmFields |= DM_MEDIATYPE;
        }
        break;
    case kInputSlot:
        if (SetId(dm.dm.dmDefaultSource, lookup)) {
            dm.dm.dmFields |= DM_DEFAULTSOURCE;
        }
        break;
    case kDuplex:
        if (SetId(dm.dm.dmDuplex, lookup)) {
            dm.dm.dmFields |= DM_DUPLEX;
        }
        break;
    case kResolution:
        if (SetId(priv.dmQuality, lookup)) {
            dm.dm.dmFields |= DM_PRINTQUALITY;
        }
        break;
    case kHalftone:
        SetId(priv.dmHalftone, lookup);
        break;
    case kCollate:
        if (lookup.found) {
            dm.dm.dmCollate = lookup.number != 0 ? 1 : 0;
            dm.dm.dmFields |= DM_COLLATE;
        }
        break;
    case kCopies:
        dm.dm.dmCopies = ClampToShort(DecimalOf(value));
        dm.dm.dmFields |= DM_COPIES;
        break;
    case kSides:
        if (IsCaseless(value, STR_DUPLEX_NONE)) {
            dm.dm.dmDuplex = 1;
        } else if (IsCaseless(value, STR_DUPLEX_LONGEDGE)) {
            dm.dm.dmDuplex = 2;
        } else if (IsCaseless(value, STR_DUPLEX_SHORTEDGE)) {
            dm.dm.dmDuplex = 3;
        } else {
            break;
        }
        dm.dm.dmFields |= DM_DUPLEX;
        break;
    case kOrientation:
        SetOrientationRequested(dm, value);
        break;
    case kLandscape:
        dm.dm.dmOrientation =
            IsCaseless(value, STR_no) || IsCaseless(value, STR_off) || IsCaseless(value, STR_false)
                ? 1
                : 2;
        dm.dm.dmFields |= DM_ORIENTATION;
        break;
    case kNumberUp: {
        long n = DecimalOf(value);
        if (n == 2 || n == 4 || n == 6 || n == 9 || n == 16) {
            priv.dmLayoutPrint |= kLayoutNup;
            priv.dmNup = static_cast<SHORT>(n);
        }
        break;
    }
    case kNumberUpLayout:
        if (IsCaseless(value, STR_LRTB)) {
            priv.dmNupOrder = 0;
        } else if (IsCaseless(value, STR_TBLR)) {
            priv.dmNupOrder = 1;
        } else if (IsCaseless(value, STR_TBRL)) {
            priv.dmNupOrder = 2;
        } else if (IsCaseless(value, STR_RLTB) || IsCaseless(value, STR_BTLR)) {
            priv.dmNupOrder = 3;
        }
        break;
    case kPageBorder:
        priv.dmNupBorder = IsCaseless(value, STR_BORDER_SOLID) ? 1 : 0;
        break;
    case kOutputOrder:
        priv.dmFieldsExtra1 |= DMX1_REVERSE_ORDER;
        priv.dmReverseOrder = IsCaseless(value, STR_Reverse) ? 1 : 0;
        break;
    case kMedia:
        // CUPS has already turned "media" into the PPD's page size, media type and source.
        break;
    case kBookletBinding:
        if (lookup.found && (lookup.number == 1 || lookup.number == 2)) {
            priv.dmBookletBinding = static_cast<SHORT>(lookup.number);
            priv.dmLayoutPrint |= kLayoutBooklet;
        }
        break;
    case kBookletUnit:
        // Read by the choice's name ("All" reads as 0); the choice must exist, its id is not used.
        if (lookup.choice != nullptr) {
            priv.dmBookletUnit = ClampToShort(DecimalOf(lookup.choice->choice));
        }
        break;
    case kPoster:
        if (lookup.found) {
            const char* name = lookup.choice != nullptr ? lookup.choice->choice : value;
            long across = 1;
            long down = 1;
            if (!ParseTiles(name, across, down)) {
                across = 1;
                down = 1;
            }
            priv.dmPosterX = ClampToShort(across);
            priv.dmPosterY = ClampToShort(down);
            if (across > 1 || down > 1) {
                priv.dmLayoutPrint |= kLayoutPoster;
            }
        }
        break;
    case kSortMethod:
        if (SetId(priv.dmSort, lookup)) {
            priv.dmFieldsExtra1 |= DMX1_SORT;
        }
        break;
    case kFinisher:
        if (SetId(priv.dmFinisher, lookup)) {
            priv.dmFieldsExtra1 |= DMX1_FINISHER;
        }
        break;
    case kStaple:
        if (SetId(priv.dmStaple, lookup)) {
            priv.dmFieldsExtra1 |= DMX1_STAPLE;
        }
        break;
    case kPuncher:
        if (SetId(priv.dmPunch, lookup)) {
            priv.dmFieldsExtra1 |= DMX1_PUNCH;
        }
        break;
    case kPrintBlankPages:
        if (lookup.found) {
            priv.dmFieldsExtra1 |= DMX1_SKIP_BLANK;
            priv.dmSkipBlankPages = lookup.number == 0 ? 1 : 0;
        }
        break;
    case kColorMode:
        SetId(priv.dmColor, lookup);
        break;
    case kTonerSave:
        SetId(priv.dmTonerSave, lookup);
        break;
    case kTextAsBlack:
        if (lookup.found) {
            priv.dmAllTextBlack = lookup.number != 0 ? 1 : 0;
        }
        break;
    case kKeyCount:
    case kUnknownKey:
        break;
    }
}

char* CopyOf(const char* text)
{
    return text != nullptr ? strdup(text) : nullptr;
}

// The option's choice for a number: for a Boolean option its own "true" choice (nonzero) or its
// other choice (zero), spelled "true" / "false" when the PPD has no such choice; for a PickOne
// option the choice whose code carries the number.
char* ChoiceForNumber(ppd_option_t* option, long number)
{
    if (option == nullptr) {
        return nullptr;
    }
    if (option->ui == PPD_UI_BOOLEAN) {
        bool wantTrue = number != 0;
        for (int i = 0; i < option->num_choices && option->choices != nullptr; ++i) {
            if (IsCaseless(option->choices[i].choice, STR_true) == wantTrue) {
                return CopyOf(option->choices[i].choice);
            }
        }
        return CopyOf(wantTrue ? STR_true : STR_false);
    }
    if (option->ui == PPD_UI_PICKONE) {
        ppd_choice_t* choice = FindChoiceById(option, number);
        return choice != nullptr ? CopyOf(choice->choice) : nullptr;
    }
    return nullptr;
}

bool Has(DWORD word, DWORD bits)
{
    return (word & bits) == bits;
}

bool NupActive(const DRVDEVMODE& dm)
{
    return Has(dm.priv.dmFieldsExtra2, DMX2_NUP) && (dm.priv.dmLayoutPrint & kLayoutNup) != 0;
}

bool BookletActive(const DRVDEVMODE& dm)
{
    return Has(dm.priv.dmFieldsExtra2, DMX2_BOOKLET) &&
           (dm.priv.dmLayoutPrint & kLayoutBooklet) != 0;
}

bool PosterActive(const DRVDEVMODE& dm)
{
    return Has(dm.priv.dmFieldsExtra2, DMX2_POSTER) &&
           (dm.priv.dmLayoutPrint & kLayoutPoster) != 0;
}

const char* NupLayoutWord(const DRVDEVMODE& dm)
{
    if (!NupActive(dm)) {
        return nullptr;
    }
    SHORT order = dm.priv.dmNupOrder;
    if (dm.priv.dmNup == 2) {
        // Two pages side by side: the order only says whether the first page is on the far side.
        if (order == 0) {
            return STR_LRTB;
        }
        return dm.dm.dmOrientation == 2 ? STR_BTLR : STR_TBLR;
    }
    switch (order) {
    case 0:
        return STR_LRTB;
    case 1:
        return STR_TBLR;
    case 2:
        return STR_TBRL;
    case 3:
        return STR_RLTB;
    default:
        return nullptr;
    }
}

// A value named like the choice exists only when the option has a choice of that name.
char* ChoiceNamedOrDefault(tagMODELHANDLE* handle, const char* keyword, const char* name,
                           const char* fallback)
{
    ppd_option_t* option = FindPpdOption(handle, keyword);
    if (option != nullptr && handle->pCupsFunc->ppdFindChoice(option, name) != nullptr) {
        return CopyOf(name);
    }
    return CopyOf(fallback);
}

char* BookletUnitValue(tagMODELHANDLE* handle, const DRVDEVMODE& dm, const char* keyword)
{
    if (!BookletActive(dm)) {
        return CopyOf("All");
    }
    char name[16];
    std::snprintf(name, sizeof name, "%d", dm.priv.dmBookletUnit);
    return ChoiceNamedOrDefault(handle, keyword, name, "All");
}

char* PosterValue(tagMODELHANDLE* handle, const DRVDEVMODE& dm, const char* keyword)
{
    if (!PosterActive(dm)) {
        return CopyOf("None");
    }
    char name[32];
    std::snprintf(name, sizeof name, "%dx%d", dm.priv.dmPosterX, dm.priv.dmPosterY);
    return ChoiceNamedOrDefault(handle, keyword, name, "None");
}

// The number a key gives out through its PPD option; false when the key has none right now.
bool NumberToGive(const DRVDEVMODE& dm, CupsKey key, long& number)
{
    const PRIVDM& priv = dm.priv;
    switch (key) {
    case kPageSize:
        number = dm.dm.dmPaperSize;
        return true;
    case kMediaType:
        number = static_cast<long>(dm.dm.dmMediaType);
        return true;
    case kInputSlot:
        number = dm.dm.dmDefaultSource;
        return true;
    case kDuplex:
        number = dm.dm.dmDuplex;
        return true;
    case kResolution:
        number = priv.dmQuality;
        return true;
    case kHalftone:
        number = priv.dmHalftone;
        return true;
    case kCollate:
        number = dm.dm.dmCollate == 1 ? 1 : 0;
        return true;
    case kBookletBinding:
        number = BookletActive(dm) ? priv.dmBookletBinding : 0;
        return true;
    case kSortMethod:
        if (!Has(priv.dmFieldsExtra1, DMX1_SORT)) {
            return false;
        }
        // The PPD offers the three sort methods; the collated variants fold onto them.
        if (priv.dmSort == 4 || priv.dmSort == 5) {
            number = 4;
        } else if (priv.dmSort == 2 || priv.dmSort == 3) {
            number = 2;
        } else {
            number = 0;
        }
        return true;
    case kFinisher:
        number = priv.dmFinisher;
        return Has(priv.dmFieldsExtra1, DMX1_FINISHER);
    case kStaple:
        number = priv.dmStaple;
        return Has(priv.dmFieldsExtra1, DMX1_STAPLE);
    case kPuncher:
        number = priv.dmPunch;
        return Has(priv.dmFieldsExtra1, DMX1_PUNCH);
    case kPrintBlankPages:
        // Without the blank-page capability the number is -1, which a Boolean option reads as true.
        if (Has(priv.dmFieldsExtra1, DMX1_SKIP_BLANK)) {
            number = priv.dmSkipBlankPages == 0 ? 1 : 0;
        } else {
            number = -1;
        }
        return true;
    case kColorMode:
        number = priv.dmColor;
        return true;
    case kTonerSave:
        number = priv.dmTonerSave;
        return true;
    case kTextAsBlack:
        number = priv.dmAllTextBlack == 1 ? 1 : 0;
        return true;
    default:
        return false;
    }
}

char* GetValue(tagMODELHANDLE* handle, const DRVDEVMODE& dm, CupsKey key, const char* keyword)
{
    switch (key) {
    case kCopies:
        return IntToString(dm.dm.dmCopies);
    case kLandscape:
        return dm.dm.dmOrientation == 2 ? CopyOf(STR_true) : nullptr;
    case kNumberUp:
        return NupActive(dm) ? IntToString(dm.priv.dmNup) : CopyOf("1");
    case kNumberUpLayout:
        return CopyOf(NupLayoutWord(dm));
    case kPageBorder:
        if (!NupActive(dm)) {
            return nullptr;
        }
        return CopyOf(dm.priv.dmNupBorder == 1 ? STR_BORDER_SOLID : STR_BORDER_NONE);
    case kOutputOrder:
        return Has(dm.priv.dmFieldsExtra1, DMX1_REVERSE_ORDER) && dm.priv.dmReverseOrder == 1
                   ? CopyOf(STR_Reverse)
                   : nullptr;
    case kBookletUnit:
        return BookletUnitValue(handle, dm, keyword);
    case kPoster:
        return PosterValue(handle, dm, keyword);
    default:
        break;
    }
    long number = 0;
    if (!NumberToGive(dm, key, number)) {
        return nullptr;
    }
    return ChoiceForNumber(FindPpdOption(handle, keyword), number);
}

}  // namespace

char* IntToString(int nValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return strdup(text);
}

WORD OptionCodec(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, const char* pszKey,
                 const char* pszValue, char** ppszResult)
{
    if (ppszResult != nullptr) {
        *ppszResult = nullptr;
    }
    CupsKey key = FindKey(pszKey);
    if (pdm == nullptr || key == kUnknownKey) {
        return FLAG_TRUE;
    }
    if (pszValue != nullptr) {
        SetValue(pHandle, *pdm, key, pszKey, pszValue);
    }
    if (ppszResult != nullptr) {
        *ppszResult = GetValue(pHandle, *pdm, key, pszKey);
    }
    return FLAG_TRUE;
}
