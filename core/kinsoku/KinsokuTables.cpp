#include "core/kinsoku/KinsokuTables.h"

#include "core/kinsoku/KinsokuIds.h"

#include <cstdint>

namespace {

// Which validity word of the record an item's condition reads.
enum class Word { Fields, Extra1, Extra2, Extra3, ExtraPrint, Always };

struct ItemCondition {
    Word word;
    DWORD dwMask;  // active when any of these bits is set
};

// Indexed by item id - 1.
constexpr ItemCondition kItemConditions[kKinsokuItemCount] = {
    {Word::Fields, DM_PAPERSIZE},           // 1 paper
    {Word::Fields, DM_MEDIATYPE},           // 2 media
    {Word::Fields, DM_DEFAULTSOURCE},       // 3 source
    {Word::Extra1, DMX1_FINISHER},          // 4
    {Word::Extra1, DMX1_PUNCH},             // 5
    {Word::Extra1, DMX1_STAPLE},            // 6
    {Word::ExtraPrint, DMXP_ROTATE180},     // 7
    {Word::Fields, DM_COLLATE},             // 8
    {Word::Extra1, DMX1_SORT},              // 9
    {Word::Extra2, DMX2_BOOKLET},           // 10
    {Word::Extra2, DMX2_NUP},               // 11
    {Word::Extra2, DMX2_FIT},               // 12
    {Word::Extra2, DMX2_ZOOM},              // 13
    {Word::Extra2, DMX2_POSTER},            // 14
    {Word::Extra1, DMX1_REVERSE_ORDER},     // 15
    {Word::Extra1, DMX1_MIRROR},            // 16
    {Word::Extra1, DMX1_FRONT_COVER},       // 17
    {Word::Extra1, DMX1_FRONT_COVER},       // 18
    {Word::Extra1, DMX1_BACK_COVER},        // 19
    {Word::Extra1, DMX1_BACK_COVER},        // 20
    {Word::Extra1, DMX1_DUPLEX_OPTION},     // 21
    {Word::Fields, DM_DUPLEX},              // 22
    {Word::Extra1, DMX1_ALWAYS_8000},       // 23 copies by driver
    {Word::Extra1, DMX1_FIRSTPAGE_MEDIA | DMX1_FIRSTPAGE_SOURCE},  // 24
    {Word::Extra1, DMX1_FIRSTPAGE_MEDIA},   // 25
    {Word::Extra1, DMX1_FIRSTPAGE_SOURCE},  // 26
    {Word::Extra1, DMX1_FRONT_COVER},       // 27
    {Word::Extra1, DMX1_FRONT_COVER},       // 28
    {Word::Extra1, DMX1_BACK_COVER},        // 29
    {Word::Extra1, DMX1_BACK_COVER},        // 30
    {Word::Extra1, DMX1_SKIP_BLANK},        // 31
    {Word::Always, 0},                      // 32 halftone
    {Word::Extra2, DMX2_OPTION342},         // 33
    {Word::Extra2, DMX2_SCREEN},            // 34 quality
    {Word::Extra2, DMX2_TONER_SAVE},        // 35
    {Word::Extra2, DMX2_OPTION342},         // 36
    {Word::Extra2, DMX2_OPTIONBITS620},     // 37
    {Word::Extra2, DMX2_OPTIONBITS356},     // 38
    {Word::Extra2, DMX2_BOOKLET},           // 39 booklet unit, as the booklet
    {Word::Extra3, DMX3_DUPLEX_10},         // 40
    {Word::Extra2, DMX2_ALL_TEXT_BLACK},    // 41
    {Word::Extra2, DMX2_CONTRAST},          // 42
    {Word::Extra1, DMX1_ALWAYS_400},        // 43 duplex margin flag
};

// A key is active when every item it names is active and, with a mask, the word has one of its bits.
struct KeyCondition {
    SHORT sItems[2];  // 0: none
    Word word;
    DWORD dwMask;     // 0: no word condition
};

constexpr SHORT kNoItem = 0;

// Indexed by key id - 204.
constexpr KeyCondition kKeyConditions[kKinsokuKeyCount] = {
    {{kNoItem, kNoItem}, Word::Always, 0},                          // 204
    {{KINSOKU_ITEM_PAPER, kNoItem}, Word::Fields, 0},               // 205
    {{KINSOKU_ITEM_PAPER, KINSOKU_ITEM_FINISHER}, Word::Fields, 0},  // 206
    {{KINSOKU_ITEM_PAPER, KINSOKU_ITEM_FINISHER}, Word::Fields, 0},  // 207
    {{KINSOKU_ITEM_MEDIA, kNoItem}, Word::Fields, 0},               // 208
    {{KINSOKU_ITEM_SOURCE, kNoItem}, Word::Fields, 0},              // 209
    {{kNoItem, kNoItem}, Word::Fields, DM_COPIES},                  // 210
    {{KINSOKU_ITEM_COLLATE, kNoItem}, Word::Fields, 0},             // 211
    {{KINSOKU_ITEM_SORT, kNoItem}, Word::Fields, 0},                // 212
    {{KINSOKU_ITEM_BOOKLET, kNoItem}, Word::Fields, 0},             // 213
    {{KINSOKU_ITEM_BOOKLET, KINSOKU_ITEM_DUPLEX_OPTION}, Word::Fields, 0},  // 214
    {{KINSOKU_ITEM_POSTER, kNoItem}, Word::Fields, 0},              // 215
    {{KINSOKU_ITEM_NUP, kNoItem}, Word::Fields, 0},                 // 216
    {{KINSOKU_ITEM_FIT, kNoItem}, Word::Fields, 0},                 // 217
    {{KINSOKU_ITEM_ZOOM, kNoItem}, Word::Fields, 0},                // 218
    {{KINSOKU_ITEM_PUNCH, kNoItem}, Word::Fields, 0},               // 219
    {{KINSOKU_ITEM_STAPLE, kNoItem}, Word::Fields, 0},              // 220
    {{KINSOKU_ITEM_FINISHER, kNoItem}, Word::Fields, 0},            // 221
    {{KINSOKU_ITEM_STAPLE, kNoItem}, Word::Fields, 0},              // 222
    {{KINSOKU_ITEM_FRONT_COVER, kNoItem}, Word::Fields, 0},         // 223
    {{KINSOKU_ITEM_BACK_COVER, kNoItem}, Word::Fields, 0},          // 224
    {{KINSOKU_ITEM_DUPLEX, kNoItem}, Word::Fields, 0},              // 225
    {{KINSOKU_ITEM_OPTION342, kNoItem}, Word::Fields, 0},           // 226
    {{KINSOKU_ITEM_FIRST_PAGE_MEDIA, kNoItem}, Word::Fields, 0},    // 227
    {{KINSOKU_ITEM_FIRST_PAGE_SOURCE, kNoItem}, Word::Fields, 0},   // 228
    {{KINSOKU_ITEM_REVERSE_ORDER, kNoItem}, Word::Fields, 0},       // 229
    {{KINSOKU_ITEM_FRONT_COVER_MEDIA, kNoItem}, Word::Fields, 0},   // 230
    {{KINSOKU_ITEM_BACK_COVER_MEDIA, kNoItem}, Word::Fields, 0},    // 231
    {{KINSOKU_ITEM_FRONT_COVER_SOURCE, kNoItem}, Word::Fields, 0},  // 232
    {{KINSOKU_ITEM_BACK_COVER_SOURCE, kNoItem}, Word::Fields, 0},   // 233
    {{KINSOKU_ITEM_DUPLEX_OPTION, kNoItem}, Word::Extra1, DMX1_FRONT_COVER | DMX1_BACK_COVER},  // 234
    {{KINSOKU_ITEM_DUPLEX_OPTION, KINSOKU_ITEM_DUPLEX}, Word::Fields, 0},  // 235
    {{KINSOKU_ITEM_STAPLE, kNoItem}, Word::Fields, 0},              // 236
    {{KINSOKU_ITEM_PUNCH, kNoItem}, Word::Fields, 0},               // 237
    {{kNoItem, kNoItem}, Word::Extra1, DMX1_SKIP_BLANK},            // 238
    {{kNoItem, kNoItem}, Word::Always, 0},                          // 239 halftone, as item 32
    {{kNoItem, kNoItem}, Word::Extra2, DMX2_COLOR_20},              // 240
    {{kNoItem, kNoItem}, Word::Extra1, DMX1_JOBKIND1 | DMX1_JOBKIND2 | DMX1_JOBKIND3 | DMX1_JOBKIND4 | DMX1_JOBKIND5},  // 241
    {{KINSOKU_ITEM_MEDIA, KINSOKU_ITEM_FINISHER}, Word::Fields, 0},  // 242
};

DWORD ReadWord(const DRVDEVMODE& dm, Word word)
{
    switch (word) {
    case Word::Fields: return dm.dm.dmFields;
    case Word::Extra1: return dm.priv.dmFieldsExtra1;
    case Word::Extra2: return dm.priv.dmFieldsExtra2;
    case Word::Extra3: return dm.priv.dmFieldsExtra3;
    case Word::ExtraPrint: return dm.priv.dmExtraPrint;
    case Word::Always: return 0;
    }
    return 0;
}

bool IsItemId(SHORT sId) { return sId >= kKinsokuFirstItem && sId <= kKinsokuLastItem; }
bool IsKeyId(SHORT sId) { return sId >= kKinsokuFirstKey && sId <= kKinsokuLastKey; }

// Key arithmetic is 32-bit unsigned so that shifts into the top bit are defined; the result is
// handed on as the signed 32-bit key value.
LONG AsKey(uint32_t v) { return static_cast<LONG>(v); }
uint32_t Class(SHORT sClass) { return static_cast<uint32_t>(static_cast<int32_t>(sClass)); }
uint32_t Signed16(SHORT s) { return static_cast<uint32_t>(static_cast<int32_t>(s)); }

}  // namespace

WORD KinsokuItemActivity(SHORT sItemId, const DRVDEVMODE& dm)
{
    if (!IsItemId(sItemId))
        return kKinsokuInactive;
    const ItemCondition& c = kItemConditions[sItemId - kKinsokuFirstItem];
    if (c.word == Word::Always)
        return kKinsokuAlwaysActive;
    return (ReadWord(dm, c.word) & c.dwMask) != 0 ? kKinsokuActive : kKinsokuInactive;
}

WORD KinsokuKeyActivity(SHORT sKeyId, const DRVDEVMODE& dm, KinsokuItemActiveFn pfnItemActive, const void* pContext)
{
    if (!IsKeyId(sKeyId))
        return kKinsokuInactive;
    const KeyCondition& c = kKeyConditions[sKeyId - kKinsokuFirstKey];
    if (c.word == Word::Always)
        return kKinsokuAlwaysActive;
    for (SHORT sItem : c.sItems) {
        if (sItem != kNoItem && (pfnItemActive == nullptr || !pfnItemActive(pContext, sItem)))
            return kKinsokuInactive;
    }
    if (c.dwMask != 0 && (ReadWord(dm, c.word) & c.dwMask) == 0)
        return kKinsokuInactive;
    return kKinsokuActive;
}

bool KinsokuKeyHasValue(SHORT sKeyId)
{
    return IsKeyId(sKeyId) && sKeyId != KINSOKU_KEY_ALWAYS && sKeyId != KINSOKU_KEY_MEDIA_AT_START;
}

LONG KinsokuKeyValue(SHORT sKeyId, const DRVDEVMODE& dm, SHORT sPaperClass, SHORT sOrientation)
{
    const DEVMODE& pub = dm.dm;
    const PRIVDM& priv = dm.priv;
    const uint32_t layout = priv.dmLayoutPrint;
    const uint32_t orientation = Signed16(sOrientation);
    switch (sKeyId) {
    case KINSOKU_KEY_PAPER_CLASS:
    case KINSOKU_KEY_CLASS_FINISHER:
        return sPaperClass;
    case KINSOKU_KEY_CLASS_ORIENTATION:
        return AsKey(Class(sPaperClass) + (orientation << 16));
    case KINSOKU_KEY_MEDIA:
        return AsKey(pub.dmMediaType);
    case KINSOKU_KEY_SOURCE:
        return pub.dmDefaultSource;
    case KINSOKU_KEY_COPIES:
        return pub.dmCopies;
    case KINSOKU_KEY_COLLATE:
        return pub.dmCollate;
    case KINSOKU_KEY_SORT: {
        // With collation on, the uncollated sort modes 0, 2, 4 read as their collated 1, 3, 5.
        const WORD sort = priv.dmSort;
        if (pub.dmCollate == 1 && (sort == 0 || sort == 2 || sort == 4))
            return sort + 1;
        return sort;
    }
    case KINSOKU_KEY_BOOKLET:
        return AsKey(layout & 0x2);
    case KINSOKU_KEY_BOOKLET_DUPLEX_OPTION:
        return AsKey(((layout & 0x2) << 16) | priv.dmDuplexOption);
    case KINSOKU_KEY_POSTER:
        return AsKey(layout & 0x4);
    case KINSOKU_KEY_NUP:
        return AsKey(layout & 0x1);
    case KINSOKU_KEY_FIT:
        return AsKey(layout & 0x8);
    case KINSOKU_KEY_ZOOM:
        return AsKey(layout & 0x10);
    case KINSOKU_KEY_PUNCH:
        return priv.dmPunch;
    case KINSOKU_KEY_STAPLE:
        return priv.dmStaple;
    case KINSOKU_KEY_FINISHER:
        return priv.dmFinisher;
    case KINSOKU_KEY_STAPLE_BOOKLET:
        return AsKey((static_cast<uint32_t>(priv.dmStaple) << 16) + (layout & 0x2));
    case KINSOKU_KEY_FRONT_COVER:
        return priv.dmCoverPage & 0x1;
    case KINSOKU_KEY_BACK_COVER:
        return priv.dmCoverPage & 0x2;
    case KINSOKU_KEY_DUPLEX:
        return pub.dmDuplex;
    case KINSOKU_KEY_OPTION342:
        return priv.dmOption342;
    case KINSOKU_KEY_FIRST_PAGE_MEDIA:
        return AsKey(priv.dmFirstPageMediaType);
    case KINSOKU_KEY_FIRST_PAGE_SOURCE:
        return priv.dmFirstPagePaperSource;
    case KINSOKU_KEY_REVERSE_ORDER:
        return priv.dmReverseOrder;
    case KINSOKU_KEY_FRONT_COVER_MEDIA:
        return AsKey((static_cast<uint32_t>(priv.dmFrontCoverFile) << 16) | (priv.dmFrontCoverMedia & 0xFFFF));
    case KINSOKU_KEY_BACK_COVER_MEDIA:
        return AsKey((static_cast<uint32_t>(priv.dmBackCoverFile) << 16) | (priv.dmBackCoverMedia & 0xFFFF));
    case KINSOKU_KEY_FRONT_COVER_SOURCE:
        return priv.dmFrontCoverSource;
    case KINSOKU_KEY_BACK_COVER_SOURCE:
        return priv.dmBackCoverSource;
    case KINSOKU_KEY_COVER_DUPLEX_OPTION:
        return AsKey((static_cast<uint32_t>(priv.dmCoverPage & 0x3) << 16) | priv.dmDuplexOption);
    case KINSOKU_KEY_DUPLEX_AND_OPTION:
        return AsKey((Signed16(pub.dmDuplex) << 16) | priv.dmDuplexOption);
    case KINSOKU_KEY_CLASS_STAPLE:
        return AsKey(Class(sPaperClass) + (static_cast<uint32_t>(priv.dmStaple) << 16) + (orientation << 24));
    case KINSOKU_KEY_CLASS_PUNCH:
        return AsKey(Class(sPaperClass) + (static_cast<uint32_t>(priv.dmPunch) << 16) + (orientation << 24));
    case KINSOKU_KEY_SKIP_BLANK:
        return priv.dmSkipBlankPages;
    case KINSOKU_KEY_HALFTONE:
        return priv.dmHalftone;
    case KINSOKU_KEY_COLOR:
        return priv.dmColor;
    case KINSOKU_KEY_JOB_SPOOL:
        return priv.dmJobSpool;
    default:
        return 0;
    }
}
