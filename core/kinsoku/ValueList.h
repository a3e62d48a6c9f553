// The exported value list of a constraint item: one node per value entry, all nodes of one list in
// one zero-filled calloc block (the head is the block), chained in entry order. The settings
// program walks it to fill its choice lists and offers only the nodes marked selectable. The item
// that built a list owns it and frees it when the list is fetched again (or the item is cleared,
// copied onto or deleted), so a head is held only until the next fetch of the same item: holders
// fetch it again after every constraint run and never free it. Nodes a caller appends behind the
// last node stay the caller's; it unhooks and frees them before fetching the list again.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

struct tagVALUELIST {
    WORD wValue;           // the entry's value, low 16 bits (read as unsigned)
    LONG lData1;           // the entry's first data word (the settings program's string id)
    LONG lData2;           // the entry's second data word (0 or an image id)
    LONG lDisabled;        // 0: selectable now; -1: forbidden now
    tagVALUELIST* pNext;   // next node of the same block; NULL in the last node
};

static_assert(offsetof(tagVALUELIST, wValue) == 0, "value first");
static_assert(offsetof(tagVALUELIST, lData1) == 4, "data1 after the padded value");
static_assert(offsetof(tagVALUELIST, lData2) == 8, "data2 follows data1");
static_assert(offsetof(tagVALUELIST, lDisabled) == 12, "disabled follows data2");
static_assert(sizeof(void*) != 8 || (offsetof(tagVALUELIST, pNext) == 16 && sizeof(tagVALUELIST) == 24),
              "a node is 24 bytes on 64-bit builds");

typedef tagVALUELIST VALUELIST;
typedef tagVALUELIST* PVALUELIST;
