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
inline constexpr DWORD PJLCOPY_LIMIT = 0x01;       // cut to the item's maximum length
inline constexpr DWORD PJLCOPY_DEL = 0x02;         // let DEL through
inline constexpr DWORD PJLCOPY_QUOTE = 0x04;       // let the double quote through
inline constexpr DWORD PJLCOPY_ESC = 0x08;         // let ESC through
inline constexpr DWORD PJLCOPY_CONTROL = 0x10;     // let the other control characters through
inline constexpr DWORD PJLCOPY_TAIL = 0x20;        // with PJLCOPY_LIMIT: keep the last characters

struct tagPJLVALUE {
    SHORT sHasValue;                            // -1: write a line; 0: no line
    WORD wType;                                 // PJLTYPE_*
    DWORD dwItemId;
    DWORD dwCopyFlags;
    DWORD dwMaxLength;
    DWORD dwKey;                                // picks the format among the item's formats
    WORD awNumbers[kPjlValueNumbers];
    char aszTexts[kPjlValueTexts][kPjlTextSize];
};

// Fills the value of one item from the job's settings, the job context and the model data. -1
// when the item id is known (the value may still be absent: sHasValue 0), 0 for an unknown id or
// a NULL argument.
int BuildPjlValue(tagJOBINFO* pJob, const tagPJLITEM* pItem, tagPJLVALUE* pValue);
