// Filling a constraint list in the driver's one order.
#include "core/dialog/ConstraintSetup.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/ModelRules.h"
#include "core/mdutil/MdUtil.h"

#include <new>

CKinsokuList* pBuildConstraintList(const tagMODELHANDLE* pHandle, CUserPaper* pUserPaper, const DRVDEVMODE* pdm,
                                   CMdUtil* pMdUtil)
{
    CKinsokuList* pList = new (std::nothrow) CKinsokuList(pHandle, pUserPaper, pdm);
    if (pList == nullptr)
        return nullptr;
    vLoadKinsokuLinks(pHandle, pList);
    vKinsokuModelPreHook();
    bBuildModelKinsoku(pHandle, pList, -1);
    bKinsokuModelHook(pList);
    if (pMdUtil != nullptr)
        pMdUtil->BuildOptionConstraints(pList);
    return pList;
}
