// Ids of the constraint engine: the items (one adjustable setting each, 1..43) and the key items
// (values derived from the settings record, 204..242). Which record field an item mirrors and how
// a key value is computed is in KinsokuTables.h.
#pragma once

#include "core/WinTypes.h"

enum KINSOKU_ITEM : SHORT {
    KINSOKU_ITEM_PAPER = 1,              // dmPaperSize
    KINSOKU_ITEM_MEDIA = 2,              // dmMediaType
    KINSOKU_ITEM_SOURCE = 3,             // dmDefaultSource
    KINSOKU_ITEM_FINISHER = 4,           // dmFinisher
    KINSOKU_ITEM_PUNCH = 5,              // dmPunch
    KINSOKU_ITEM_STAPLE = 6,             // dmStaple
    KINSOKU_ITEM_ROTATE = 7,             // dmRotateOrient
    KINSOKU_ITEM_COLLATE = 8,            // dmCollate
    KINSOKU_ITEM_SORT = 9,               // dmSort
    KINSOKU_ITEM_BOOKLET = 10,           // dmLayoutPrint bit 0x2
    KINSOKU_ITEM_NUP = 11,               // dmLayoutPrint bit 0x1
    KINSOKU_ITEM_FIT = 12,               // dmLayoutPrint bit 0x8
    KINSOKU_ITEM_ZOOM = 13,              // dmLayoutPrint bit 0x10
    KINSOKU_ITEM_POSTER = 14,            // dmLayoutPrint bit 0x4
    KINSOKU_ITEM_REVERSE_ORDER = 15,     // dmReverseOrder
    KINSOKU_ITEM_MIRROR = 16,            // dmMirror
    KINSOKU_ITEM_FRONT_COVER_FILE = 17,  // dmFrontCoverFile
    KINSOKU_ITEM_FRONT_COVER = 18,       // dmCoverPage bit 0x1
    KINSOKU_ITEM_BACK_COVER_FILE = 19,   // dmBackCoverFile
    KINSOKU_ITEM_BACK_COVER = 20,        // dmCoverPage bit 0x2
    KINSOKU_ITEM_DUPLEX_OPTION = 21,     // dmDuplexOption
    KINSOKU_ITEM_DUPLEX = 22,            // dmDuplex
    KINSOKU_ITEM_COPIES_BY_DRIVER = 23,  // dmCopiesByDriver
    KINSOKU_ITEM_FIRST_PAGE = 24,        // dmSourceAndTypeFor1Page
    KINSOKU_ITEM_FIRST_PAGE_MEDIA = 25,  // dmFirstPageMediaType
    KINSOKU_ITEM_FIRST_PAGE_SOURCE = 26, // dmFirstPagePaperSource
    KINSOKU_ITEM_FRONT_COVER_MEDIA = 27, // dmFrontCoverMedia
    KINSOKU_ITEM_FRONT_COVER_SOURCE = 28, // dmFrontCoverSource
    KINSOKU_ITEM_BACK_COVER_MEDIA = 29,  // dmBackCoverMedia
    KINSOKU_ITEM_BACK_COVER_SOURCE = 30, // dmBackCoverSource
    KINSOKU_ITEM_SKIP_BLANK = 31,        // dmSkipBlankPages
    KINSOKU_ITEM_HALFTONE = 32,          // dmHalftone
    KINSOKU_ITEM_OPTION342 = 33,         // dmOption342
    KINSOKU_ITEM_QUALITY = 34,           // dmQuality
    KINSOKU_ITEM_TONER_SAVE = 35,        // dmTonerSave
    KINSOKU_ITEM_36 = 36,                // no field
    KINSOKU_ITEM_OPTION_BIT620 = 37,     // dmOptionBits620 bit 0x2
    KINSOKU_ITEM_OPTION_BITS356 = 38,    // dmOptionBits356 bits 0x3
    KINSOKU_ITEM_BOOKLET_UNIT = 39,      // dmBookletUnit
    KINSOKU_ITEM_40 = 40,                // no field
    KINSOKU_ITEM_ALL_TEXT_BLACK = 41,    // dmAllTextBlack
    KINSOKU_ITEM_42 = 42,                // no field
    KINSOKU_ITEM_DUPLEX_MARGIN = 43,     // dmExtraFlag bit 0x1
};

enum KINSOKU_KEY : SHORT {
    KINSOKU_KEY_ALWAYS = 204,            // value 0: rules under it hold unconditionally
    KINSOKU_KEY_PAPER_CLASS = 205,
    KINSOKU_KEY_CLASS_ORIENTATION = 206,
    KINSOKU_KEY_CLASS_FINISHER = 207,
    KINSOKU_KEY_MEDIA = 208,
    KINSOKU_KEY_SOURCE = 209,
    KINSOKU_KEY_COPIES = 210,
    KINSOKU_KEY_COLLATE = 211,
    KINSOKU_KEY_SORT = 212,
    KINSOKU_KEY_BOOKLET = 213,
    KINSOKU_KEY_BOOKLET_DUPLEX_OPTION = 214,
    KINSOKU_KEY_POSTER = 215,
    KINSOKU_KEY_NUP = 216,
    KINSOKU_KEY_FIT = 217,
    KINSOKU_KEY_ZOOM = 218,
    KINSOKU_KEY_PUNCH = 219,
    KINSOKU_KEY_STAPLE = 220,
    KINSOKU_KEY_FINISHER = 221,
    KINSOKU_KEY_STAPLE_BOOKLET = 222,
    KINSOKU_KEY_FRONT_COVER = 223,
    KINSOKU_KEY_BACK_COVER = 224,
    KINSOKU_KEY_DUPLEX = 225,
    KINSOKU_KEY_OPTION342 = 226,
    KINSOKU_KEY_FIRST_PAGE_MEDIA = 227,
    KINSOKU_KEY_FIRST_PAGE_SOURCE = 228,
    KINSOKU_KEY_REVERSE_ORDER = 229,
    KINSOKU_KEY_FRONT_COVER_MEDIA = 230,
    KINSOKU_KEY_BACK_COVER_MEDIA = 231,
    KINSOKU_KEY_FRONT_COVER_SOURCE = 232,
    KINSOKU_KEY_BACK_COVER_SOURCE = 233,
    KINSOKU_KEY_COVER_DUPLEX_OPTION = 234,
    KINSOKU_KEY_DUPLEX_AND_OPTION = 235,
    KINSOKU_KEY_CLASS_STAPLE = 236,
    KINSOKU_KEY_CLASS_PUNCH = 237,
    KINSOKU_KEY_SKIP_BLANK = 238,
    KINSOKU_KEY_HALFTONE = 239,
    KINSOKU_KEY_COLOR = 240,
    KINSOKU_KEY_JOB_SPOOL = 241,
    KINSOKU_KEY_MEDIA_AT_START = 242,    // the media value, fired only when every key fires
};

inline constexpr SHORT kKinsokuFirstItem = 1;
inline constexpr SHORT kKinsokuLastItem = 43;
inline constexpr SHORT kKinsokuFirstKey = 204;
inline constexpr SHORT kKinsokuLastKey = 242;
inline constexpr int kKinsokuItemCount = kKinsokuLastItem - kKinsokuFirstItem + 1;  // 43
inline constexpr int kKinsokuKeyCount = kKinsokuLastKey - kKinsokuFirstKey + 1;     // 39
// Entry 0, one per item, one per key.
inline constexpr int kKinsokuActiveTableSize = kKinsokuLastItem + 1 + kKinsokuKeyCount;  // 83
