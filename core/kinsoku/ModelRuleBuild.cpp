// The model's dependency links and the order in which the model passes fill a fresh list.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/PaperIds.h"

void vLoadKinsokuLinks(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // The list refuses pairs with an inactive or unknown id and keeps no duplicate, so the pairs
    // of the model file go in as they are.
    for (const tagSPCDEPENDPAIR& pair : RuleRecords<tagSPCDEPENDPAIR>(pHandle, SPCID_DEPENDPAIRS, 1)) {
        pList->AddLink(static_cast<SHORT>(pair.wKey), static_cast<SHORT>(pair.wDependent));
    }
}

SHORT bBuildModelKinsoku(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sAllValues)
{
    if (pList == nullptr) {
        return 0;
    }
    // The values come first: the quality exclusions of the paper, media and source passes read
    // the values of the quality item.
    vKinsokuItemValues(pHandle, pList, sAllValues);
    vKinsokuPaper(pHandle, pList);
    for (SHORT sClass = kPaperClassCustom; sClass <= kPaperClassCustom2; ++sClass) {
        vKinsokuCustomPaper(pHandle, pList, sClass);
    }
    vKinsokuMedia(pHandle, pList);
    vKinsokuSource(pHandle, pList);
    vKinsokuBooklet(pHandle, pList);
    vKinsokuPoster(pHandle, pList);
    vKinsokuNup(pHandle, pList);
    vKinsokuDuplex(pHandle, pList);
    vKinsokuBookletCover(pHandle, pList);
    vKinsokuCollateCopies(pHandle, pList);
    vKinsokuCoverCopies(pHandle, pList);
    vKinsokuPrintMode(pHandle, pList);
    vKinsokuCoverInsert(pHandle, pList);
    vKinsokuCoverDuplex(pHandle, pList);
    vKinsokuCoverDuplexSource(pHandle, pList);
    vKinsokuBlankPageBooklet(pHandle, pList);
    vKinsokuTextBlack(pHandle, pList);
    vKinsokuColorTextBlack(pHandle, pList);
    vKinsokuJobSpool(pHandle, pList);
    vKinsokuSortCover(pHandle, pList);
    return -1;
}

void vKinsokuModelPreHook() {}

SHORT bKinsokuModelHook(CKinsokuList* pList)
{
    return pList != nullptr ? -1 : 0;
}
