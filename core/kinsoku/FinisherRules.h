// The finisher link table and the per-paper finisher rules.
#pragma once

#include "core/WinTypes.h"

class CKinsokuList;

// One row of the finisher link table: while the installed finisher's link record has the link bit
// and the row's conditions hold, the key item is linked to the item. Conditions: 0x1 the finisher
// has a punch unit, 0x2 a stapler; 0x8 / 0x20 the model lays out punch positions per paper and
// orientation (layout flag 0x10) / does not; 0x4 / 0x10 the same for staple positions (0x20).
struct tagFINISHERLINK {
    DWORD dwLinkBit;
    SHORT sKey;
    SHORT sItem;
    DWORD dwConditions;
};

inline constexpr int kFinisherLinkCount = 30;
extern const tagFINISHERLINK FINISHER_KINSOKU_TABLE[kFinisherLinkCount];

// What one paper (or custom class) of a finishing mode allows.
struct tagFINISHERPAPERFLAGS {
    LONG lFinisher;  // dmFinisher value of the finishing mode
    LONG lPaper;     // paper id or custom class
    DWORD dwSort;
    DWORD dwPunch;
    DWORD dwStaple;
};

// The rules of one paper record on the finisher (4), sort (9), punch (5) and staple (6) items that
// exist, by the link bits and layout flags of the finisher's link record.
void vFinisherPaperRules(CKinsokuList* pList, const tagFINISHERPAPERFLAGS& paper, DWORD dwLinkBits, DWORD dwLayout);
