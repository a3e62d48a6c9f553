// Answer records of the finishing units (27), the finishing modes (34) and the installable
// options (37). Reserved fields are gaps that stay zero.
#pragma once

#include "core/model/SpcPaperAnswers.h"

// 27 view 1: one unit with the model finisher ids of its first four finishing modes.
struct tagFINISHERUNIT {
    WORD wId;
    WORD wValue;
    DWORD dwAvailability;   // bit 0 optional, bit 1 standard
    DWORD dwOptionFlags;
    SHORT sModeCount;       // at most 4
    WORD wModeIds[4];
    WORD wReserved;
};
SPC_ANSWER_LAYOUT(tagFINISHERUNIT, 24);
SPC_ANSWER_AT(tagFINISHERUNIT, sModeCount, 12);

// 27 view 2 and 34 view 2 differ; 27 view 2: one finishing mode of a unit.
struct tagFINISHERMODE {
    WORD wModeId;
    WORD wValue;
    DWORD dwP1;
    DWORD dwP2;
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagFINISHERMODE, 16);

// 27 view 3: one unit in full.
struct tagFINISHERINFO {
    WORD wId;
    WORD wValue;
    DWORD dwReserved1;
    char szName[32];        // always terminated
    DWORD dwAvailability;
    DWORD dwOptionFlags;
    WORD wPunchPresence;    // 1 always, 0xFFFF never, else by the installed options
    WORD wStaplePresence;
    SHORT sPunchCount;      // at most 4
    SHORT sStapleCount;     // at most 4
    WORD wModeListWord;
    SHORT sModeCount;       // at most 4
    DWORD dwReserved2;
    WORD wPunchIds[4];
    WORD wStapleIds[4];
    WORD wModeIds[4];
};
SPC_ANSWER_LAYOUT(tagFINISHERINFO, 88);
SPC_ANSWER_AT(tagFINISHERINFO, dwAvailability, 40);
SPC_ANSWER_AT(tagFINISHERINFO, wPunchIds, 64);
SPC_ANSWER_AT(tagFINISHERINFO, wModeIds, 80);

// 27 views 4 and 5: one punch mode (words 13-15) or staple mode (words 21, 22) of a unit.
struct tagFINISHERPUNCH {
    WORD wUnitId;
    WORD wId;
    WORD wValue;
    WORD wReserved;
    DWORD dwFlags;
    DWORD dwWords[3];
};
SPC_ANSWER_LAYOUT(tagFINISHERPUNCH, 24);

// 27 view 6 and 34 view 3: one finishing mode with its paper ids and second-entry words.
struct tagFINISHMODEINFO {
    WORD wUnitId;           // 34: 0
    WORD wReserved;
    WORD wModeId;
    WORD wValue;
    DWORD dwFlags;
    DWORD dwP[3];
    WORD wWord13;
    WORD wWord17;
    SHORT sPaperCount;      // at most 64
    SHORT sSecondCount;     // at most 32
    WORD wPaperIds[64];
    WORD wSecondIds[32];
};
SPC_ANSWER_LAYOUT(tagFINISHMODEINFO, 224);
SPC_ANSWER_AT(tagFINISHMODEINFO, wWord13, 24);
SPC_ANSWER_AT(tagFINISHMODEINFO, wPaperIds, 32);

// 27 views 7 and 8, 34 views 4 and 5: one paper entry (or second entry) of a finishing mode.
struct tagFINISHPAPER {
    WORD wUnitId;           // 34: 0
    WORD wReserved1;
    WORD wModeId;
    WORD wPaperId;
    DWORD dwWords[3];       // staple-position flags, words 2 and 3
    DWORD dwReserved2;
};
SPC_ANSWER_LAYOUT(tagFINISHPAPER, 24);

// 27 view 9 and 34 view 6: the passed-through words of a finishing mode.
struct tagFINISHWORDS {
    WORD wUnitId;           // 34: 0
    WORD wModeId;
    WORD wWord13;
    WORD wWord17;
    DWORD dwWords[6];       // words 14, 15, 16, 18, 19, 20
};
SPC_ANSWER_LAYOUT(tagFINISHWORDS, 32);

// 27 view 10: one punch mode with words 13-17.
struct tagFINISHERPUNCHWORDS {
    WORD wUnitId;
    WORD wId;
    WORD wValue;
    WORD wReserved;
    DWORD dwFlags;
    DWORD dwWords[5];
};
SPC_ANSWER_LAYOUT(tagFINISHERPUNCHWORDS, 32);

// 27 view 11: the unit's second text and words 12-14.
struct tagFINISHERTEXT {
    WORD wId;
    WORD wValue;
    DWORD dwAvailability;
    DWORD dwWord12;
    WORD wWord13;
    WORD wWord14;
    char szText[32];
};
SPC_ANSWER_LAYOUT(tagFINISHERTEXT, 48);

// 27 views 12, 13 and 15: a punch or staple mode with its PJL text (view 15 adds text B).
struct tagFINISHERPJL {
    WORD wUnitId;
    WORD wId;
    WORD wValue;
    WORD wReserved;
    DWORD dwFlags;
    WORD wPjlFlags;         // 0x4: the text is a PJL value
    WORD wWord4;
    char szText[32];
};
SPC_ANSWER_LAYOUT(tagFINISHERPJL, 48);
struct tagFINISHERSTAPLEPJL {
    tagFINISHERPJL base;
    char szTextB[32];
};
SPC_ANSWER_LAYOUT(tagFINISHERSTAPLEPJL, 80);

// 27 view 14 and 34 view 7: a finishing mode with its PJL text.
struct tagFINISHMODEPJL {
    WORD wUnitId;           // 34: 0
    WORD wReserved;
    WORD wModeId;
    WORD wValue;
    DWORD dwFlags;
    WORD wPjlFlags;
    WORD wWord4;
    char szText[32];
};
SPC_ANSWER_LAYOUT(tagFINISHMODEPJL, 48);

// 34 view 2: one mode of the flat table.
struct tagFINISHMODE {
    WORD wModeId;
    WORD wValue;
    DWORD dwFlags;
    DWORD dwP1;
    DWORD dwP2;
};
SPC_ANSWER_LAYOUT(tagFINISHMODE, 16);

// 34 view 8: a mode with its short text.
struct tagFINISHMODENAME {
    WORD wModeId;
    WORD wValue;
    DWORD dwFlags;
    char szText[32];        // from a 16-byte field
};
SPC_ANSWER_LAYOUT(tagFINISHMODENAME, 40);

// 37 view 1: one listed capability.
struct tagOPTIONCAP {
    WORD wCapId;
    WORD wReserved;
};
SPC_ANSWER_LAYOUT(tagOPTIONCAP, 4);

// 37 view 2: one installable option item.
struct tagOPTIONITEM {
    WORD wCapId;
    WORD wItemId;
    WORD wValue;
    WORD wReserved1;
    DWORD dwFlags;
    DWORD dwReserved2;
};
SPC_ANSWER_LAYOUT(tagOPTIONITEM, 16);
