// The revise context: what one pass of the revise pipeline works with. The dialog-info record
// fills one from its own objects; the one-shot revise builds one for a single call.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"

class CMdUtil;
class CKinsokuList;
class CUserPaper;

struct tagREVISEINFO {
    const char* pszPrinter;       // queue name
    tagMODELHANDLE* pModelHandle; // model data, libcups table, PPD
    CMdUtil* pMdUtil;             // capability predicates over the installed options, or NULL
    CKinsokuList* pKinsokuList;   // constraint list, or NULL (no constraint run)
    CUserPaper* pUserPaper;       // user papers, or NULL
    void* pExtra;                 // the dialog-info record's extra block, or an all-zero block
};
typedef tagREVISEINFO REVISEINFO;
