// The dialog-info record: everything the settings program holds for the queue it edits — the
// working settings, the model's defaults, the model handle, the installed options, the constraint
// list with the value lists it exports, the capability predicates, the user papers and the change
// tracker. Opened by pCreateDialogInfo, which owns nothing of the caller's, and freed with
// everything it owns by vFreeDialogInfo (never with free() or delete).
//
// The settings program loads the queue's model data (the file the PPD names with SPCFILE, in the
// model data directory) with SpcLoadFile (core/model/SpcData.h) and hands it in as pSpcData; it
// keeps it, the libcups table and the PPD alive as long as the record.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"
#include "core/kinsoku/ValueList.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

class CInstallOption;
class CKinsokuList;
class CMdUtil;
class CUserPaper;
class CTrackDM;

// The request to open a record over one queue.
struct tagOPENDIALOGINFO {
    const char* pszPrinter;    // queue name (copied)
    tagCUPSFUNC* pCupsFunc;    // bound libcups table
    ppd_file_t* pPpd;          // the queue's open PPD
    tagSPCDATA* pSpcData;      // the model data
    DRVDEVMODE* pdmSource;     // the settings to open with (read, not kept)
    DRVDEVMODE* pdmSecond;     // the settings program passes its record here too; not read
    WORD wOpenFlags;           // copied into the record
};
typedef tagOPENDIALOGINFO OPENDIALOGINFO;

struct tagDIALOGINFO {
    char* pszPrinter;               // queue name, own copy
    void* pExtra;                   // owned block handed to the revise context; NULL at creation
    WORD wOpenFlags;                // from the request
    DRVDEVMODE* pdmSource;          // the caller's record the dialog opened from (not owned)
    DRVDEVMODE psdm;                // the working settings
    DRVDEVMODE dmDefault;           // the model's defaults, for restoring them
    CInstallOption* pInstallOption; // installed options
    tagMODELHANDLE mh;              // model data, libcups table, PPD (none owned)
    // Value-list heads of the paper, media, source, duplex and sort items (see bUpdateValueLists
    // for who may hold them and until when).
    tagVALUELIST* pPaperList;
    tagVALUELIST* pMediaList;
    tagVALUELIST* pSourceList;
    tagVALUELIST* pDuplexList;
    tagVALUELIST* pSortList;
    CKinsokuList* pKinsokuList;     // the constraint list
    CMdUtil* pMdUtil;               // capability predicates (a CMdUtilM2)
    CUserPaper* pUserPaper;         // user papers
    CTrackDM* pTrackDM;             // change tracker
    SHORT sHasCapability75;         // -1 when the model has long-paper limits (capability 75), else 0
};
typedef tagDIALOGINFO DIALOGINFO;

// A new record over the queue, whole: every member set, the model's defaults in dmDefault and the
// working settings revised. The working settings are the source record revised against the model
// and its installed options and run through the constraint engine; a source record the model's
// service refuses opens with the model's defaults.
// NULL for a request without queue name, libcups table, PPD, model data or source record, when
// the model cannot give its defaults (or the defaults cannot be revised), and when memory for any
// part runs out; whatever was built by then is freed again, so NULL never leaves anything behind.
tagDIALOGINFO* pCreateDialogInfo(const tagOPENDIALOGINFO* pRequest);

// Frees the record and everything it owns; NULL is ignored.
void vFreeDialogInfo(tagDIALOGINFO* pInfo);

// Fetches the five value-list heads again. -1; 0 without a record or constraint list.
//
// Who may hold a value-list head, and until when: a head belongs to the constraint item that
// built it (see CKinsokuList::GetValueList). Fetching the item's list again, through this call or
// the list's own GetValueList, frees the chain the previous head starts and builds a new one, and
// so does freeing the record. The record's five heads are therefore valid only until the next
// fetch; the settings program fetches them again with this call after every constraint run
// (whose forbidden values the old chains do not show) and reads the heads from the record each
// time it fills a choice list, never from a copy kept in a page or dialog. Nobody frees a head.
// Nodes a caller appends to a chain (the user's own papers behind the paper list) stay the
// caller's: it unhooks them (sets the last item node's pNext back to NULL) and frees them before
// the next fetch, which would otherwise free the chain they hang from and lose them.
SHORT bUpdateValueLists(tagDIALOGINFO* pInfo);
