// The option keys and value strings that the option codec exchanges with CUPS.
//
// CUPS_KEYS lists the 27 keys in the order the codec gives its values out; the keys are the PPD
// keywords themselves (or CUPS job option names where the PPD has none). Every key but "media"
// and every value string is exported on its own too, for the programs and their plug-ins.
#pragma once

#include "core/WinTypes.h"

#define ORV_EXPORT extern "C" __attribute__((visibility("default")))

ORV_EXPORT const char* const CUPS_KEYS[];
ORV_EXPORT const int CUPS_KEYS_COUNT;

ORV_EXPORT const char CUPS_KEY_PAPERSIZE[];          // "PageSize"
ORV_EXPORT const char CUPS_KEY_MEDIATYPE[];          // "MediaType"
ORV_EXPORT const char CUPS_KEY_PAPERSOURCE[];        // "InputSlot"
ORV_EXPORT const char CUPS_KEY_DUPLEX[];             // "Duplex"
ORV_EXPORT const char CUPS_KEY_RESOLUTION[];         // "Resolution"
ORV_EXPORT const char CUPS_KEY_HALFTONE[];           // "Halftone"
ORV_EXPORT const char CUPS_KEY_COLLATE[];            // "Collate"
ORV_EXPORT const char CUPS_KEY_COPIES[];             // "copies"
ORV_EXPORT const char CUPS_KEY_SIDES[];              // "sides"
ORV_EXPORT const char CUPS_KEY_ORIENTATION[];        // "orientation-requested"
ORV_EXPORT const char CUPS_KEY_LANDSCAPE[];          // "landscape"
ORV_EXPORT const char CUPS_KEY_NUP[];                // "number-up"
ORV_EXPORT const char CUPS_KEY_NUP_LAYOUT[];         // "number-up-layout"
ORV_EXPORT const char CUPS_KEY_NUP_BORDER[];         // "page-border"
ORV_EXPORT const char CUPS_KEY_OUTPUTORDER[];        // "OutputOrder"
ORV_EXPORT const char CUPS_KEY_BOOKLET_BINDING[];    // "BookletBinding"
ORV_EXPORT const char CUPS_KEY_BOOKLET_UNIT[];       // "BookletUnit"
ORV_EXPORT const char CUPS_KEY_POSTER[];             // "Poster"
ORV_EXPORT const char CUPS_KEY_SORTMETHOD[];         // "SortMethod"
ORV_EXPORT const char CUPS_KEY_FINISHER[];           // "Finisher"
ORV_EXPORT const char CUPS_KEY_STAPLE[];             // "Staple"
ORV_EXPORT const char CUPS_KEY_PUNCHER[];            // "Puncher"
ORV_EXPORT const char CUPS_KEY_PRINT_BLANK_PAGE[];   // "PrintBlankPages"
ORV_EXPORT const char CUPS_KEY_COLORMODE[];          // "ColorMode"
ORV_EXPORT const char CUPS_KEY_TONERSAVE[];          // "TonerSave"
ORV_EXPORT const char CUPS_KEY_TEXT_AS_BLACK[];      // "TextAsBlack"

ORV_EXPORT const char STR_true[];                    // "true"
ORV_EXPORT const char STR_false[];                   // "false"
ORV_EXPORT const char STR_no[];                      // "no"
ORV_EXPORT const char STR_off[];                     // "off"
ORV_EXPORT const char STR_Reverse[];                 // "Reverse"
ORV_EXPORT const char STR_DUPLEX_NONE[];             // "one-sided"
ORV_EXPORT const char STR_DUPLEX_LONGEDGE[];         // "two-sided-long-edge"
ORV_EXPORT const char STR_DUPLEX_SHORTEDGE[];        // "two-sided-short-edge"
ORV_EXPORT const char STR_LRTB[];                    // "lrtb"
ORV_EXPORT const char STR_TBLR[];                    // "tblr"
ORV_EXPORT const char STR_TBRL[];                    // "tbrl"
ORV_EXPORT const char STR_RLTB[];                    // "rltb"
ORV_EXPORT const char STR_BTLR[];                    // "btlr"
ORV_EXPORT const char STR_BORDER_NONE[];             // "none"
ORV_EXPORT const char STR_BORDER_SOLID[];            // "single"

#undef ORV_EXPORT

// The PPD keyword of a key: the key itself, since the keys are PPD keywords (NULL stays NULL).
const char* CupsKeyName(const char* key);

// FLAG_TRUE when the text equals one of the 27 keys (case counts), else FLAG_FALSE.
WORD IsCupsKey(const char* text);
