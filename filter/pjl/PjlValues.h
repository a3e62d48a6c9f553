// The value of one PJL header item: what the item's format text receives, and the key that picks
// the format among the item's formats in the model data.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcListAnswers.h"
#include "filter/job/JobInfo.h"

#include <cstddef>

inline constexpr int kPjlValueNumbers = 6;
inline constexpr int kPjlValueTexts = 6;
inline constexpr size_t kPjlTextSize = 256;

// Value types: 0 no argument, 1 to 3 that many texts, 4 to 9 one to six numbers.
inline constexpr WORD PJLTYPE_NONE = 0;
inline constexpr WORD PJLTYPE_TEXT1 = 1;
inline constexpr WORD PJLTYPE_TEXT2 = 2;
inline constexpr WORD PJLTYPE_TEXT3 = 3;
inline constexpr WORD PJLTYPE_NUMBER1 = 4;
inline constexpr WORD PJLTYPE_NUMBER2 = 5;
inline constexpr WORD PJLTYPE_NUMBER3 = 6;
inline constexpr WORD PJLTYPE_NUMBER4 = 7;
inline constexpr WORD PJLTYPE_NUMBER5 = 8;
inline constexpr WORD PJLTYPE_NUMBER6 = 9;

// Copy flags of an item whose value is a text taken from the job.
inline constexpr DWORD PJLCOPY_LIMIT = 0x01;    // cut to the item's maximum length
inline constexpr DWORD PJLCOPY_DEL = 0x02;      // let DEL through
inline constexpr DWORD PJLCOPY_QUOTE = 0x04;    // let the double quote through
inline constexpr DWORD PJLCOPY_ESC = 0x08;      // let ESC through
inline constexpr DWORD PJLCOPY_CONTROL = 0x10;  // let the other control characters through
inline constexpr DWORD PJLCOPY_TAIL = 0x20;     // with PJLCOPY_LIMIT: keep the last characters

struct tagPJLVALUE {
    SHORT sHasValue;  // -1: write a line; 0: no line
    WORD wType;       // PJLTYPE_*
    DWORD dwItemId;
    DWORD dwCopyFlags;
    DWORD dwMaxLength;
    DWORD dwKey;  // picks the format among the item's formats
    WORD awNumbers[kPjlValueNumbers];
    char aszTexts[kPjlValueTexts][kPjlTextSize];
};

// PJL header item ids (the model's item list names them by number): what each item's line says.
inline constexpr DWORD PJLITEM_MODEL = 2;     // model, product and language names
inline constexpr DWORD PJLITEM_LANGUAGE = 3;  // a fixed line (the job's language attribute)
inline constexpr DWORD PJLITEM_DRIVER = 4;    // the driver's version
inline constexpr DWORD PJLITEM_DATE = 11;     // local date and time
inline constexpr DWORD PJLITEM_JOBNAME = 12;  // the job title
inline constexpr DWORD PJLITEM_USERNAME = 13;
inline constexpr DWORD PJLITEM_HOSTNAME = 14;
inline constexpr DWORD PJLITEM_HOSTADDRESS = 15;  // IPv4 octets
inline constexpr DWORD PJLITEM_HOLD = 16;         // the secure-print or spool kind
inline constexpr DWORD PJLITEM_USERID = 17;
inline constexpr DWORD PJLITEM_HOLDKEY = 18;    // the secure-print password
inline constexpr DWORD PJLITEM_FIXEDLINE = 54;  // a fixed line
inline constexpr DWORD PJLITEM_SECUREJOBNAME = 57;
inline constexpr DWORD PJLITEM_RESOLUTION = 61;
inline constexpr DWORD PJLITEM_RESOLUTIONPAIR = 62;
inline constexpr DWORD PJLITEM_RESOLUTIONASPECT = 63;  // whether the two resolutions differ
inline constexpr DWORD PJLITEM_PAPER = 71;
inline constexpr DWORD PJLITEM_ORIENTATION = 72;
inline constexpr DWORD PJLITEM_MEDIATYPE = 73;
inline constexpr DWORD PJLITEM_MEDIASOURCE = 74;
inline constexpr DWORD PJLITEM_COVER = 81;
inline constexpr DWORD PJLITEM_FRONTCOVER = 82;
inline constexpr DWORD PJLITEM_FRONTCOVERSOURCE = 83;
inline constexpr DWORD PJLITEM_BACKCOVER = 85;
inline constexpr DWORD PJLITEM_BACKCOVERSOURCE = 86;
inline constexpr DWORD PJLITEM_FINISHER = 91;
inline constexpr DWORD PJLITEM_DUPLEX = 94;    // the duplex mode's text
inline constexpr DWORD PJLITEM_DUPLEXON = 95;  // whether the job prints on both sides
inline constexpr DWORD PJLITEM_STAPLE = 101;   // the staple mode's text B
inline constexpr DWORD PJLITEM_PUNCH = 102;
inline constexpr DWORD PJLITEM_STAPLETEXTA = 103;  // the staple mode's text A
inline constexpr DWORD PJLITEM_INSTALLEDOPTION = 111;
inline constexpr DWORD PJLITEM_COLLATE = 112;
inline constexpr DWORD PJLITEM_SORT = 113;
inline constexpr DWORD PJLITEM_COPIES = 121;
inline constexpr DWORD PJLITEM_QUANTITY = 122;
inline constexpr DWORD PJLITEM_DEPARTMENT = 123;
inline constexpr DWORD PJLITEM_RENDERMODE = 131;
inline constexpr DWORD PJLITEM_TONERSAVE = 132;
inline constexpr DWORD PJLITEM_MIRROR = 133;
inline constexpr DWORD PJLITEM_BLANKPAGE = 134;
inline constexpr DWORD PJLITEM_OPTION340 = 135;
inline constexpr DWORD PJLITEM_TOTALPAGES = 141;
inline constexpr DWORD PJLITEM_BOOKLET = 142;
inline constexpr DWORD PJLITEM_POSTER = 143;
inline constexpr DWORD PJLITEM_NUP = 144;
inline constexpr DWORD PJLITEM_MODELSWITCH = 151;  // a switch the model data gives
inline constexpr DWORD PJLITEM_OPTION338 = 152;
inline constexpr DWORD PJLITEM_DENSITY = 161;

// Fills the value of one item from the job's settings, the job context and the model data. -1
// when the item id is known (the value may still be absent: sHasValue 0), 0 for an unknown id or
// a NULL argument.
int BuildPjlValue(tagJOBINFO* pJob, const tagPJLITEM* pItem, tagPJLVALUE* pValue);
