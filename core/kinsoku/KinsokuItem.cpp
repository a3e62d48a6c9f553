// Value entries, the exported value list, copying and clearing of a constraint item.
#include "core/kinsoku/KinsokuItem.h"

#include <cstdlib>
#include <memory>

namespace {

// Growth steps of the entry and pair-rule arrays: the builders add a few dozen of each at most.
constexpr int kAtomGrowBy = 10;
constexpr int kKeyValueRuleGrowBy = 20;

}  // namespace

CKinsokuItem::CKinsokuItem(SHORT sId) : m_sId(sId)
{
    m_Atoms.SetSize(0, kAtomGrowBy);
    m_KeyValueRules.SetSize(0, kKeyValueRuleGrowBy);
}

CKinsokuItem::~CKinsokuItem()
{
    Clear();
}

CKinsokuAtom* CKinsokuItem::AtomAt(int nIndex) const
{
    return static_cast<CKinsokuAtom*>(m_Atoms.GetAt(nIndex));
}

int CKinsokuItem::FindValueIndex(LONG lValue) const
{
    for (int i = 0; i < m_Atoms.GetSize(); i++) {
        if (AtomAt(i)->GetValue() == lValue)
            return i;
    }
    return -1;
}

int CKinsokuItem::AddValue(LONG lValue, LONG lData1, LONG lData2)
{
    bool bFound = false;
    for (int i = 0; i < m_Atoms.GetSize(); i++) {
        CKinsokuAtom* pAtom = AtomAt(i);
        if (pAtom->GetValue() == lValue) {
            pAtom->SetData(lData1, lData2);
            bFound = true;
        }
    }
    // The count, not an index: callers only test the result of a fresh add.
    if (bFound)
        return m_Atoms.GetSize();

    auto pAtom = std::make_unique<CKinsokuAtom>(m_sId, lValue, lData1, lData2);
    const int nIndex = m_Atoms.Add(pAtom.get());
    pAtom.release();  // owned by the array now
    m_sRebuild = -1;
    return nIndex;
}

int CKinsokuItem::InsertValue(LONG lValue, LONG lData1, LONG lData2, LONG lBefore)
{
    const int nBefore = FindValueIndex(lBefore);
    if (nBefore < 0)
        return AddValue(lValue, lData1, lData2);

    const int nExisting = FindValueIndex(lValue);
    m_sRebuild = -1;
    if (nExisting >= 0) {
        AtomAt(nExisting)->SetData(lData1, lData2);
        return nExisting;
    }
    auto pAtom = std::make_unique<CKinsokuAtom>(m_sId, lValue, lData1, lData2);
    m_Atoms.InsertAt(nBefore, pAtom.get());
    pAtom.release();  // owned by the array now
    return nBefore;
}

void CKinsokuItem::RemoveValue(LONG lValue)
{
    for (int i = m_Atoms.GetSize() - 1; i >= 0; i--) {
        CKinsokuAtom* pAtom = AtomAt(i);
        if (pAtom->GetValue() == lValue) {
            m_Atoms.RemoveAt(i);
            delete pAtom;
        }
    }
    m_sRebuild = -1;
}

void CKinsokuItem::DeleteAllAtoms()
{
    for (int i = m_Atoms.GetSize() - 1; i >= 0; i--)
        delete AtomAt(i);
    m_Atoms.RemoveAll();
    m_sRebuild = -1;
}

void CKinsokuItem::RemoveAllValues()
{
    DeleteAllAtoms();
}

void CKinsokuItem::SetDefaultValue(LONG lValue)
{
    m_lDefaultValue = lValue;
    m_dwFlags |= FLAG_DEFAULT_VALUE;
}

void CKinsokuItem::FreeValueList()
{
    free(m_pValueList);
    m_pValueList = nullptr;
}

tagVALUELIST* CKinsokuItem::GetValueList()
{
    if (m_sRebuild != 0) {
        FreeValueList();
        const int nCount = m_Atoms.GetSize();
        if (nCount == 0)
            return nullptr;
        // One zero-filled block, so the head is what gets freed.
        m_pValueList = static_cast<tagVALUELIST*>(calloc(static_cast<size_t>(nCount), sizeof(tagVALUELIST)));
        if (m_pValueList == nullptr)
            return nullptr;
        for (int i = 0; i < nCount; i++) {
            const CKinsokuAtom* pAtom = AtomAt(i);
            tagVALUELIST& node = m_pValueList[i];
            node.wValue = static_cast<WORD>(pAtom->GetValue());
            node.lData1 = pAtom->GetData1();
            node.lData2 = pAtom->GetData2();
            node.pNext = i + 1 < nCount ? &m_pValueList[i + 1] : nullptr;
        }
    }
    if (m_pValueList != nullptr) {
        // The disabled words follow the forbidding lists as they stand now.
        for (int i = 0; i < m_Atoms.GetSize(); i++)
            m_pValueList[i].lDisabled = IsValueDisabled(AtomAt(i)->GetValue());
    }
    return m_pValueList;
}

SHORT CKinsokuItem::CopyFrom(const CKinsokuItem* pSrc)
{
    // Copying an item onto itself would clear the very entries it is about to copy.
    if (pSrc == nullptr || pSrc == this)
        return 0;

    m_lDefaultValue = pSrc->m_lDefaultValue;
    m_dwFlags = pSrc->m_dwFlags;
    Clear();
    for (int i = 0; i < pSrc->m_Atoms.GetSize(); i++) {
        auto pAtom = std::make_unique<CKinsokuAtom>(*pSrc->AtomAt(i));
        m_Atoms.Add(pAtom.get());
        pAtom.release();
        m_sRebuild = -1;
    }
    for (int i = 0; i < pSrc->m_KeyValueRules.GetSize(); i++) {
        auto pRule = std::make_unique<CValidRule>(*pSrc->KeyValueRuleAt(i));
        m_KeyValueRules.Add(pRule.get());
        pRule.release();
    }
    for (int i = 0; i < pSrc->m_KeyRules.GetSize(); i++) {
        auto pRule = std::make_unique<CValidRule>(*pSrc->KeyRuleAt(i));
        m_KeyRules.Add(pRule.get());
        pRule.release();
    }
    return 0;
}

void CKinsokuItem::Clear()
{
    FreeValueList();
    DeleteAllAtoms();
    DeleteAllRules();
}
