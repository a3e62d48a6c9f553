// The whitelist rules of a constraint item: creating them, applying key values through them, and
// choosing a replacement value.
#include "core/kinsoku/KinsokuItem.h"

#include <memory>

namespace {

// Appends a new rule to an owning array and hands back the array's pointer.
CValidRule* AppendRule(CObArray& rules, SHORT sKeyItem, LONG lKeyValue)
{
    auto pRule = std::make_unique<CValidRule>(sKeyItem, lKeyValue);
    rules.Add(pRule.get());
    return pRule.release();
}

}  // namespace

CValidRule* CKinsokuItem::KeyValueRuleAt(int nIndex) const
{
    return static_cast<CValidRule*>(m_KeyValueRules.GetAt(nIndex));
}

CValidRule* CKinsokuItem::KeyRuleAt(int nIndex) const
{
    return static_cast<CValidRule*>(m_KeyRules.GetAt(nIndex));
}

CValidRule* CKinsokuItem::FindRule(SHORT sKeyItem, LONG lKeyValue) const
{
    for (int i = 0; i < m_KeyValueRules.GetSize(); i++) {
        CValidRule* pRule = KeyValueRuleAt(i);
        if (pRule->GetKeyItem() == sKeyItem && pRule->GetKeyValue() == lKeyValue)
            return pRule;
    }
    return nullptr;
}

CValidRule* CKinsokuItem::FindKeyRule(SHORT sKeyItem) const
{
    for (int i = 0; i < m_KeyRules.GetSize(); i++) {
        CValidRule* pRule = KeyRuleAt(i);
        if (pRule->GetKeyItem() == sKeyItem)
            return pRule;
    }
    return nullptr;
}

CValidRule* CKinsokuItem::GetKeyValueRule(SHORT sKeyItem, LONG lKeyValue)
{
    CValidRule* pRule = FindRule(sKeyItem, lKeyValue);
    return pRule != nullptr ? pRule : AppendRule(m_KeyValueRules, sKeyItem, lKeyValue);
}

CValidRule* CKinsokuItem::GetKeyRule(SHORT sKeyItem)
{
    CValidRule* pRule = FindKeyRule(sKeyItem);
    return pRule != nullptr ? pRule : AppendRule(m_KeyRules, sKeyItem, 0);
}

SHORT CKinsokuItem::SetForcedValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue)
{
    GetKeyValueRule(sKeyItem, lKeyValue)->SetForcedValue(lValue);
    return -1;
}

SHORT CKinsokuItem::SetAllowAll(SHORT sKeyItem, LONG lKeyValue)
{
    GetKeyValueRule(sKeyItem, lKeyValue)->SetAllowAll(-1);
    return 1;
}

SHORT CKinsokuItem::AddAllowedValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue)
{
    GetKeyValueRule(sKeyItem, lKeyValue)->AddAllowedValue(lValue);
    return 1;
}

SHORT CKinsokuItem::AddAllowedValues(SHORT sKeyItem, LONG lKeyValue, const SHORT* psValues, DWORD dwCount)
{
    CValidRule* pRule = GetKeyValueRule(sKeyItem, lKeyValue);
    if (psValues != nullptr) {
        for (DWORD i = 0; i < dwCount; i++)
            pRule->AddAllowedValue(psValues[i]);
    }
    return 1;
}

SHORT CKinsokuItem::SetKeyAllowAll(SHORT sKeyItem, SHORT sFlag)
{
    GetKeyRule(sKeyItem)->SetAllowAll(sFlag);
    return 1;
}

SHORT CKinsokuItem::AddKeyAllowedValue(SHORT sKeyItem, LONG lValue)
{
    GetKeyRule(sKeyItem)->AddAllowedValue(lValue);
    return 1;
}

SHORT CKinsokuItem::AddKeyAllowedValues(SHORT sKeyItem, const WORD* pwValues, DWORD dwCount)
{
    CValidRule* pRule = GetKeyRule(sKeyItem);
    if (pwValues != nullptr) {
        for (DWORD i = 0; i < dwCount; i++)
            pRule->AddAllowedValue(pwValues[i]);
    }
    return 1;
}

SHORT CKinsokuItem::RemoveRuleValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue)
{
    CValidRule* pRule = FindRule(sKeyItem, lKeyValue);
    return pRule != nullptr && pRule->RemoveAllowedValue(lValue) ? -1 : 0;
}

SHORT CKinsokuItem::RenameKey(SHORT sOldKeyItem, SHORT sNewKeyItem)
{
    for (int i = 0; i < m_KeyValueRules.GetSize(); i++) {
        if (KeyValueRuleAt(i)->GetKeyItem() == sOldKeyItem)
            KeyValueRuleAt(i)->SetKeyItem(sNewKeyItem);
    }
    for (int i = 0; i < m_KeyRules.GetSize(); i++) {
        if (KeyRuleAt(i)->GetKeyItem() == sOldKeyItem)
            KeyRuleAt(i)->SetKeyItem(sNewKeyItem);
    }
    return -1;
}

int CKinsokuItem::RemoveKey(SHORT sKeyItem)
{
    int nRemoved = 0;
    for (int i = m_KeyValueRules.GetSize() - 1; i >= 0; i--) {
        CValidRule* pRule = KeyValueRuleAt(i);
        if (pRule->GetKeyItem() == sKeyItem) {
            m_KeyValueRules.RemoveAt(i);
            delete pRule;
            nRemoved++;
        }
    }
    // A key item has at most one key-wide rule.
    for (int i = m_KeyRules.GetSize() - 1; i >= 0; i--) {
        CValidRule* pRule = KeyRuleAt(i);
        if (pRule->GetKeyItem() == sKeyItem) {
            m_KeyRules.RemoveAt(i);
            delete pRule;
            nRemoved++;
            break;
        }
    }
    for (int i = 0; i < m_Atoms.GetSize(); i++)
        AtomAt(i)->RemoveForbiddingKey(static_cast<WORD>(sKeyItem));
    return nRemoved;
}

void CKinsokuItem::DeleteAllRules()
{
    for (int i = m_KeyValueRules.GetSize() - 1; i >= 0; i--)
        delete KeyValueRuleAt(i);
    m_KeyValueRules.RemoveAll();
    for (int i = m_KeyRules.GetSize() - 1; i >= 0; i--)
        delete KeyRuleAt(i);
    m_KeyRules.RemoveAll();
}

bool CKinsokuItem::FindApplicableRule(SHORT sKeyItem, LONG lKeyValue, const CValidRule** ppRule) const
{
    const CValidRule* pKeyRule = FindKeyRule(sKeyItem);
    bool bAnyPairRule = false;
    const CValidRule* pPairRule = nullptr;
    for (int i = 0; i < m_KeyValueRules.GetSize() && pPairRule == nullptr; i++) {
        const CValidRule* pRule = KeyValueRuleAt(i);
        if (pRule->GetKeyItem() != sKeyItem)
            continue;
        bAnyPairRule = true;
        if (pRule->GetKeyValue() == lKeyValue)
            pPairRule = pRule;
    }
    *ppRule = pPairRule != nullptr ? pPairRule : pKeyRule;
    return bAnyPairRule || pKeyRule != nullptr;
}

bool CKinsokuItem::IsAllowedUnder(const CValidRule* pRule, LONG lKeyValue, LONG lValue)
{
    if (pRule != nullptr)
        return pRule->Allows(lValue);
    // The item has pair rules on this key item, none for this key value and no key-wide rule.
    // Key value 0 is the "off" state of the keys that have one (no staple, no punch, no finisher,
    // a layout bit clear): rules written for the "on" values leave the item free while the key is
    // off, so a duplex mode restricted for some staple positions stays selectable with no
    // stapling. Any other key value without a rule is outside every whitelist and forbids every
    // value, as an empty rule would: a halftone that no pair rule lists leaves contrast
    // unavailable, and a duplex mode no cover medium lists forbids every cover medium. A builder
    // that means "nothing allowed" at key value 0 creates the pair rule with an empty list.
    return lKeyValue == 0;
}

SHORT CKinsokuItem::ApplyKeyValue(SHORT sKeyItem, LONG lKeyValue)
{
    const CValidRule* pRule = nullptr;
    if (!FindApplicableRule(sKeyItem, lKeyValue, &pRule))
        return 0;  // the item does not depend on this key item

    const WORD wKeyItem = static_cast<WORD>(sKeyItem);
    bool bChanged = false;
    for (int i = 0; i < m_Atoms.GetSize(); i++) {
        CKinsokuAtom* pAtom = AtomAt(i);
        if (IsAllowedUnder(pRule, lKeyValue, pAtom->GetValue()))
            bChanged |= pAtom->RemoveForbiddingKey(wKeyItem);
        else
            bChanged |= pAtom->AddForbiddingKey(wKeyItem);
    }
    return bChanged ? -1 : 0;
}

SHORT CKinsokuItem::IsForbiddenByKeyValue(LONG lValue, SHORT sKeyItem, LONG lKeyValue) const
{
    const CValidRule* pRule = nullptr;
    if (!FindApplicableRule(sKeyItem, lKeyValue, &pRule))
        return 0;
    return IsAllowedUnder(pRule, lKeyValue, lValue) ? 0 : -1;
}

SHORT CKinsokuItem::IsForbiddenByKey(LONG lValue, SHORT sKeyItem) const
{
    const CValidRule* pRule = FindKeyRule(sKeyItem);
    return pRule != nullptr && !pRule->Allows(lValue) ? -1 : 0;
}

SHORT CKinsokuItem::IsValueDisabled(LONG lValue) const
{
    for (int i = 0; i < m_Atoms.GetSize(); i++) {
        const CKinsokuAtom* pAtom = AtomAt(i);
        if (pAtom->GetValue() == lValue && pAtom->IsSelectable())
            return 0;
    }
    return -1;
}

WORD CKinsokuItem::IsValueForbiddenBy(LONG lValue, SHORT sKeyItem) const
{
    const int nIndex = FindValueIndex(lValue);
    if (nIndex >= 0 && AtomAt(nIndex)->IsForbiddenBy(static_cast<WORD>(sKeyItem)))
        return FLAG_TRUE;
    return FLAG_FALSE;
}

SHORT CKinsokuItem::SetValueAllowedByKey(LONG lValue, SHORT sKeyItem, SHORT sAllowed)
{
    const int nIndex = FindValueIndex(lValue);
    if (nIndex < 0)
        return 0;
    CKinsokuAtom* pAtom = AtomAt(nIndex);
    const WORD wKeyItem = static_cast<WORD>(sKeyItem);
    const bool bChanged = sAllowed != 0 ? pAtom->RemoveForbiddingKey(wKeyItem) : pAtom->AddForbiddingKey(wKeyItem);
    return bChanged ? -1 : 0;
}

int CKinsokuItem::GetForbiddingKeys(LONG lValue, SHORT* psOut, LONG lMax) const
{
    const int nIndex = FindValueIndex(lValue);
    if (nIndex < 0)
        return 0;
    const CWordArray& keys = AtomAt(nIndex)->GetForbiddingKeys();
    int nCount = keys.GetSize();
    // A negative maximum is treated as no buffer: nothing is copied and the full count returned.
    if (psOut != nullptr && lMax > 0) {
        if (nCount > lMax)
            nCount = static_cast<int>(lMax);
        for (int i = 0; i < nCount; i++)
            psOut[i] = static_cast<SHORT>(keys.GetAt(i));
    }
    return nCount;
}

LONG CKinsokuItem::ChooseValue(SHORT sKeyItem, LONG lKeyValue) const
{
    // The preferred value: the forced value of the matching pair rule, else the item's default.
    bool bPreferred = false;
    LONG lPreferred = 0;
    const CValidRule* pRule = sKeyItem != 0 ? FindRule(sKeyItem, lKeyValue) : nullptr;
    if (pRule != nullptr && pRule->HasForcedValue()) {
        bPreferred = true;
        lPreferred = pRule->GetForcedValue();
    } else if ((m_dwFlags & FLAG_DEFAULT_VALUE) != 0) {
        bPreferred = true;
        lPreferred = m_lDefaultValue;
    }

    bool bFirstFound = false;
    LONG lFirstSelectable = 0;
    for (int i = 0; i < m_Atoms.GetSize(); i++) {
        const CKinsokuAtom* pAtom = AtomAt(i);
        if (!pAtom->IsSelectable())
            continue;
        if (bPreferred && pAtom->GetValue() == lPreferred)
            return lPreferred;
        if (!bFirstFound) {
            bFirstFound = true;
            lFirstSelectable = pAtom->GetValue();
        }
    }
    // Nothing selectable: the preferred value even though it is forbidden, else 0.
    return bFirstFound ? lFirstSelectable : lPreferred;
}
