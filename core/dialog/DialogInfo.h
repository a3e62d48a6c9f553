// The dialog-info record: everything the settings program holds for the queue it edits — the
// working settings, the model's defaults, the model handle, the installed options, the constraint
// list with the value lists it exports, the capability predicates, the user papers and the change
// tracker. Opened by pCreateDialogInfo, which owns nothing of the caller's, and freed with
// everything it owns by vFreeDialogInfo.
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
    tagVALUELIST* pPaperList;       // value lists of the paper, media, source, duplex and sort items,
    tagVALUELIST* pMediaList;       // owned by the constraint list and valid until its next run
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

// A new record over the queue, or NULL for a request without queue name, libcups table, PPD, model
// data or source record, or when memory for the record runs out. The working settings are the
// source record revised against the model and its installed options and run through the
// constraint engine; a source record the model's service refuses opens with the model's defaults.
tagDIALOGINFO* pCreateDialogInfo(const tagOPENDIALOGINFO* pRequest);

// Frees the record and everything it owns; NULL is ignored.
void vFreeDialogInfo(tagDIALOGINFO* pInfo);

// Fetches the five value-list heads again (after every constraint run). -1; 0 without a record or
// constraint list.
SHORT bUpdateValueLists(tagDIALOGINFO* pInfo);
