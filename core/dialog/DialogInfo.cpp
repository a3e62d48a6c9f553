// Opening and freeing the dialog-info record.
#include "core/dialog/DialogInfo.h"

#include "core/dialog/ConstraintSetup.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/dialog/TrackDM.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOption.h"
#include "core/printerinfo/PaperIds.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/printerinfo/UserPaper.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr SHORT kItemPaper = 1;
constexpr SHORT kItemMedia = 2;
constexpr SHORT kItemSource = 3;
constexpr SHORT kItemDuplex = 22;
constexpr SHORT kItemSort = 9;
constexpr WORD kMetricUnits = 0x2;
constexpr DWORD kCustomSizeFields = 0x4 | 0x8;  // dmPaperLength, dmPaperWidth

bool HasValidSizes(const DRVDEVMODE* pdm)
{
    return pdm->dm.dmSize == kDevmodePublicSize && pdm->dm.dmDriverExtra == kDevmodePrivateSize;
}

// A standard paper that the constraints forbid is replaced by the model's default paper before
// the revise, so the working settings never open on a paper this queue cannot take. Custom
// papers (456 and above) are kept as they are.
void ReplaceForbiddenPaper(tagDIALOGINFO* p, DRVDEVMODE* pInput)
{
    const SHORT sPaper = pInput->dm.dmPaperSize;
    if (p->pKinsokuList == nullptr || sPaper > kLastStandardPaperId ||
        !p->pKinsokuList->IsValueDisabled(kItemPaper, sPaper))
        return;
    const SHORT sDefault = GetDefaultPaperId(&p->mh, (pInput->priv.dmMetric & kMetricUnits) != 0);
    pInput->dm.dmPaperSize = sDefault;
    pInput->dm.dmFields &= ~kCustomSizeFields;
    GetPaperSizeById(&p->mh, sDefault, &pInput->dm.dmPaperWidth, &pInput->dm.dmPaperLength);
}

struct DialogInfoDeleter {
    void operator()(tagDIALOGINFO* p) const { vFreeDialogInfo(p); }
};
using DialogInfoOwner = std::unique_ptr<tagDIALOGINFO, DialogInfoDeleter>;

// The record's own copy of the queue name, or NULL when memory runs out.
char* CopyName(const char* psz)
{
    const size_t cb = strlen(psz) + 1;
    char* pszCopy = new (std::nothrow) char[cb];
    if (pszCopy != nullptr)
        memcpy(pszCopy, psz, cb);
    return pszCopy;
}

}  // namespace

tagDIALOGINFO* pCreateDialogInfo(const tagOPENDIALOGINFO* pRequest)
{
    if (pRequest == nullptr || pRequest->pszPrinter == nullptr || pRequest->pCupsFunc == nullptr ||
        pRequest->pPpd == nullptr || pRequest->pSpcData == nullptr || pRequest->pdmSource == nullptr)
        return nullptr;
    // Whatever is built goes with the record when a later step fails: the settings program must
    // never get a record with a member missing or with defaults that were never filled in.
    DialogInfoOwner p(new (std::nothrow) tagDIALOGINFO{});
    if (!p)
        return nullptr;
    p->pszPrinter = CopyName(pRequest->pszPrinter);
    if (p->pszPrinter == nullptr)
        return nullptr;
    p->mh.pSpcData = pRequest->pSpcData;
    p->mh.pCupsFunc = pRequest->pCupsFunc;
    p->mh.pPpd = pRequest->pPpd;
    p->wOpenFlags = pRequest->wOpenFlags;
    p->pdmSource = pRequest->pdmSource;

    if (!bGetDefaultDevmode(p->mh.pCupsFunc, p->mh.pPpd, p->pszPrinter, p->mh.pSpcData, &p->dmDefault))
        return nullptr;

    // A source record the model's service refuses (wrong sizes) opens with the defaults instead:
    // nothing of it may reach the working settings. A merge that fails on a record of the right
    // sizes (no memory) fails the open rather than silently dropping the user's settings.
    DRVDEVMODE input;
    memcpy(&input, HasValidSizes(pRequest->pdmSource) ? pRequest->pdmSource : &p->dmDefault, sizeof input);
    memcpy(&p->psdm, &input, sizeof input);
    if (uiMergeModelDevmode(p->mh.pSpcData, &input, &p->psdm, REVISE_MODE_REVISE) != ERROR_SUCCESS)
        return nullptr;

    p->pInstallOption = new (std::nothrow) CInstallOption(p->pszPrinter, &p->mh);
    p->pUserPaper = new (std::nothrow) CUserPaper(&p->mh);
    if (p->pInstallOption == nullptr || p->pUserPaper == nullptr)
        return nullptr;
    p->pMdUtil = new (std::nothrow) CMdUtilM2(&p->mh, p->pInstallOption);
    if (p->pMdUtil == nullptr)
        return nullptr;
    p->pKinsokuList = pBuildConstraintList(&p->mh, p->pUserPaper, &p->psdm, p->pMdUtil);
    if (p->pKinsokuList == nullptr)
        return nullptr;

    ReplaceForbiddenPaper(p.get(), &input);

    const tagREVISEINFO info = {p->pszPrinter, &p->mh, p->pMdUtil, p->pKinsokuList, p->pUserPaper, p->pExtra};
    if (uiReviseDevmode(&info, &input, &p->psdm, REVISE_MODE_REVISE) != ERROR_SUCCESS)
        return nullptr;
    bUpdateValueLists(p.get());

    p->pTrackDM = new (std::nothrow) CTrackDM;
    if (p->pTrackDM == nullptr)
        return nullptr;
    p->pTrackDM->SetModelHandle(&p->mh);
    p->pTrackDM->SetKinsokuList(p->pKinsokuList);
    p->pTrackDM->SetMdUtil(p->pMdUtil);
    p->pTrackDM->Snapshot(&p->psdm);

    CPrinterInfo longPaper(&p->mh, SPCID_CUSTOMLONG, 0, 1);
    p->sHasCapability75 = longPaper.GetData() != nullptr && longPaper.GetCount() != 0 ? -1 : 0;
    return p.release();
}

void vFreeDialogInfo(tagDIALOGINFO* pInfo)
{
    if (pInfo == nullptr)
        return;
    // Users before what they use: the tracker uses the list and the predicates, the list keeps the
    // user papers, the predicates the installed options.
    delete pInfo->pTrackDM;
    delete pInfo->pKinsokuList;
    delete pInfo->pMdUtil;
    delete pInfo->pInstallOption;
    delete pInfo->pUserPaper;
    delete[] pInfo->pszPrinter;
    free(pInfo->pExtra);
    delete pInfo;
}

SHORT bUpdateValueLists(tagDIALOGINFO* pInfo)
{
    if (pInfo == nullptr || pInfo->pKinsokuList == nullptr)
        return 0;
    CKinsokuList* list = pInfo->pKinsokuList;
    pInfo->pPaperList = list->GetValueList(kItemPaper);
    pInfo->pMediaList = list->GetValueList(kItemMedia);
    pInfo->pSourceList = list->GetValueList(kItemSource);
    pInfo->pDuplexList = list->GetValueList(kItemDuplex);
    pInfo->pSortList = list->GetValueList(kItemSort);
    return -1;
}
