#include "core/codec/CupsKeys.h"

#include <cstring>

extern "C" {

const char CUPS_KEY_PAPERSIZE[] = "PageSize";
const char CUPS_KEY_MEDIATYPE[] = "MediaType";
const char CUPS_KEY_PAPERSOURCE[] = "InputSlot";
const char CUPS_KEY_DUPLEX[] = "Duplex";
const char CUPS_KEY_RESOLUTION[] = "Resolution";
const char CUPS_KEY_HALFTONE[] = "Halftone";
const char CUPS_KEY_COLLATE[] = "Collate";
const char CUPS_KEY_COPIES[] = "copies";
const char CUPS_KEY_SIDES[] = "sides";
const char CUPS_KEY_ORIENTATION[] = "orientation-requested";
const char CUPS_KEY_LANDSCAPE[] = "landscape";
const char CUPS_KEY_NUP[] = "number-up";
const char CUPS_KEY_NUP_LAYOUT[] = "number-up-layout";
const char CUPS_KEY_NUP_BORDER[] = "page-border";
const char CUPS_KEY_OUTPUTORDER[] = "OutputOrder";
const char CUPS_KEY_BOOKLET_BINDING[] = "BookletBinding";
const char CUPS_KEY_BOOKLET_UNIT[] = "BookletUnit";
const char CUPS_KEY_POSTER[] = "Poster";
const char CUPS_KEY_SORTMETHOD[] = "SortMethod";
const char CUPS_KEY_FINISHER[] = "Finisher";
const char CUPS_KEY_STAPLE[] = "Staple";
const char CUPS_KEY_PUNCHER[] = "Puncher";
const char CUPS_KEY_PRINT_BLANK_PAGE[] = "PrintBlankPages";
const char CUPS_KEY_COLORMODE[] = "ColorMode";
const char CUPS_KEY_TONERSAVE[] = "TonerSave";
const char CUPS_KEY_TEXT_AS_BLACK[] = "TextAsBlack";

// "media" is a key the codec knows but never acts on: CUPS itself turns it into the page size,
// media type and source choices of the PPD before the codec sees the options.
const char* const CUPS_KEYS[] = {
    CUPS_KEY_PAPERSIZE,    CUPS_KEY_MEDIATYPE,       CUPS_KEY_PAPERSOURCE,
    CUPS_KEY_DUPLEX,       CUPS_KEY_RESOLUTION,      CUPS_KEY_HALFTONE,
    CUPS_KEY_COLLATE,      CUPS_KEY_COPIES,          CUPS_KEY_SIDES,
    CUPS_KEY_ORIENTATION,  CUPS_KEY_LANDSCAPE,       CUPS_KEY_NUP,
    CUPS_KEY_NUP_LAYOUT,   CUPS_KEY_NUP_BORDER,      CUPS_KEY_OUTPUTORDER,
    "media",               CUPS_KEY_BOOKLET_BINDING, CUPS_KEY_BOOKLET_UNIT,
    CUPS_KEY_POSTER,       CUPS_KEY_SORTMETHOD,      CUPS_KEY_FINISHER,
    CUPS_KEY_STAPLE,       CUPS_KEY_PUNCHER,         CUPS_KEY_PRINT_BLANK_PAGE,
    CUPS_KEY_COLORMODE,    CUPS_KEY_TONERSAVE,       CUPS_KEY_TEXT_AS_BLACK,
};
const int CUPS_KEYS_COUNT = sizeof CUPS_KEYS / sizeof CUPS_KEYS[0];

const char STR_true[] = "true";
const char STR_false[] = "false";
const char STR_no[] = "no";
const char STR_off[] = "off";
const char STR_Reverse[] = "Reverse";
const char STR_DUPLEX_NONE[] = "one-sided";
const char STR_DUPLEX_LONGEDGE[] = "two-sided-long-edge";
const char STR_DUPLEX_SHORTEDGE[] = "two-sided-short-edge";
const char STR_LRTB[] = "lrtb";
const char STR_TBLR[] = "tblr";
const char STR_TBRL[] = "tbrl";
const char STR_RLTB[] = "rltb";
const char STR_BTLR[] = "btlr";
const char STR_BORDER_NONE[] = "none";
const char STR_BORDER_SOLID[] = "single";

}  // extern "C"

static_assert(sizeof CUPS_KEYS / sizeof CUPS_KEYS[0] == 27, "the codec knows 27 keys");

const char* CupsKeyName(const char* key)
{
    return key;
}

WORD IsCupsKey(const char* text)
{
    if (text == nullptr) {
        return FLAG_FALSE;
    }
    for (const char* key : CUPS_KEYS) {
        if (std::strcmp(key, text) == 0) {
            return FLAG_TRUE;
        }
    }
    return FLAG_FALSE;
}
