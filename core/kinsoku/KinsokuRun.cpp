// The constraint run: iterations of a key phase (every key whose value changed tells its dependent
// items which values it now forbids) and an item phase (every field whose value became forbidden
// is rewritten), until an iteration's item phase changes nothing or 50 iterations have run.
#include "core/kinsoku/KinsokuList.h"

#include "core/kinsoku/KinsokuTables.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperIds.h"

#include <cstring>

namespace {

// Rewrites that keep feeding each other (a model whose rules contradict) must still end.
constexpr int kMaxIterations = 50;

}  // namespace

void CKinsokuList::RunKeyPhase(const DRVDEVMODE& dm, int nIteration)
{
    const bool bAllFire = m_sEvaluated == 0;
    // The record's class and orientation feed several keys; the copy's too, for the comparison.
    const SHORT sClass = GetPaperClass(&dm);
    const SHORT sOrientation = GetEffectiveOrientation(&dm);
    const SHORT sCopyClass = GetPaperClass(&m_dmCopy);
    const SHORT sCopyOrientation = GetEffectiveOrientation(&m_dmCopy);

    // Key 204 has no value of its own (0), key 242 carries on the value just computed for 208.
    LONG lValue = 0;
    for (int k = 0; k < m_KeyOrder.GetSize(); k++) {
        const SHORT sKey = static_cast<SHORT>(m_KeyOrder.GetAt(k));
        bool bFires = bAllFire;
        if (KinsokuKeyHasValue(sKey)) {
            lValue = KinsokuKeyValue(sKey, dm, sClass, sOrientation);
            if (lValue != KinsokuKeyValue(sKey, m_dmCopy, sCopyClass, sCopyOrientation))
                bFires = true;
            // A custom size's class says nothing about its size, so its rules are re-applied always.
            if (sKey == KINSOKU_KEY_PAPER_CLASS && IsCustomPaperClass(sClass))
                bFires = true;
        }
        if (!bFires)
            continue;
        if (nIteration == 1)
            m_FiredAtStart.Add(static_cast<WORD>(sKey));
        const CWordArray* pDependents = GetDependents(sKey);
        if (pDependents == nullptr)
            continue;
        for (int i = 0; i < pDependents->GetSize(); i++) {
            const SHORT sItem = static_cast<SHORT>(pDependents->GetAt(i));
            CKinsokuItem* pItem = GetItem(sItem);
            if (pItem != nullptr && pItem->ApplyKeyValue(sKey, lValue) != 0)
                MarkItemChanged(sItem);
        }
    }
}

SHORT bExecKinsoku(CKinsokuList* pList, DRVDEVMODE* pdm, SHORT sMode)
{
    if (pList == nullptr || pdm == nullptr)
        return 0;
    pList->m_Rewritten.RemoveAll();
    pList->m_Changed.RemoveAll();
    pList->m_FiredAtStart.RemoveAll();
    if (sMode != 0)
        pList->m_sEvaluated = 0;

    for (int nIteration = 1; nIteration <= kMaxIterations; nIteration++) {
        if (pList->m_sEvaluated != 0 && std::memcmp(&pList->m_dmCopy, pdm, sizeof(DRVDEVMODE)) == 0)
            break;
        pList->RunKeyPhase(*pdm, nIteration);
        std::memcpy(&pList->m_dmCopy, pdm, sizeof(DRVDEVMODE));
        pList->RunItemPhase(pdm);
        pList->m_sEvaluated = -1;
    }
    return 0;
}
