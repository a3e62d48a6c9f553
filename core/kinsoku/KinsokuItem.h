// One adjustable setting of the constraint engine: the values it may take (in the order the rule
// builders added them, which is the order of the exported list and of the fallback choice), the
// whitelist rules that restrict those values while key items hold given values, its default
// value and the value list exported to the settings program.
//
// Key items are the engine's derived settings (ids 204..242); the owner computes their values and
// applies them here. Each value entry records which key items forbid it at the key values last
// applied; a value is selectable when some entry of it is forbidden by none.
//
// Results follow the engine's conventions: -1 (0xFFFF as a 16-bit flag) for true, 0 for false;
// the rule-adding operations answer 1.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/ObArray.h"
#include "core/containers/Object.h"
#include "core/kinsoku/KinsokuAtom.h"
#include "core/kinsoku/ValidRule.h"
#include "core/kinsoku/ValueList.h"

class CKinsokuItem : public CObject {
public:
    static constexpr DWORD FLAG_DEFAULT_VALUE = 0x1;

    explicit CKinsokuItem(SHORT sId);
    ~CKinsokuItem() override;
    CKinsokuItem(const CKinsokuItem&) = delete;
    CKinsokuItem& operator=(const CKinsokuItem&) = delete;

    SHORT GetId() const { return m_sId; }

    // --- Value entries ---
    // A new value is appended and its index returned. For a value that exists already, the data
    // words of all its entries are replaced and the number of entries is returned instead.
    int AddValue(LONG lValue, LONG lData1, LONG lData2);
    // Inserts before the first entry of lBefore (appends as AddValue when lBefore is absent); an
    // existing value only gets new data words in its first entry. Returns the entry's index.
    int InsertValue(LONG lValue, LONG lData1, LONG lData2, LONG lBefore);
    void RemoveValue(LONG lValue);  // every entry of the value
    void RemoveAllValues();
    int FindValueIndex(LONG lValue) const;  // first entry, -1 when none
    const CObArray& GetAtomArray() const { return m_Atoms; }
    void SetDefaultValue(LONG lValue);

    // --- Rules ---
    // The rule for (key item, key value) or for the key item as a whole, created empty on first use;
    // there is never more than one per pair or per key item.
    CValidRule* GetKeyValueRule(SHORT sKeyItem, LONG lKeyValue);
    CValidRule* GetKeyRule(SHORT sKeyItem);
    CValidRule* FindRule(SHORT sKeyItem, LONG lKeyValue) const;  // never creates; NULL when none

    SHORT SetForcedValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue);  // -1
    SHORT SetAllowAll(SHORT sKeyItem, LONG lKeyValue);                  // 1
    SHORT AddAllowedValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue);  // 1
    // A NULL array adds nothing; the rule is created all the same.
    SHORT AddAllowedValues(SHORT sKeyItem, LONG lKeyValue, const SHORT* psValues, DWORD dwCount);  // 1
    SHORT SetKeyAllowAll(SHORT sKeyItem, SHORT sFlag);                    // 1
    SHORT AddKeyAllowedValue(SHORT sKeyItem, LONG lValue);                // 1
    SHORT AddKeyAllowedValues(SHORT sKeyItem, const WORD* pwValues, DWORD dwCount);  // 1
    // -1 when the first allowed entry equal to the value's low 16 bits left the pair's rule.
    SHORT RemoveRuleValue(SHORT sKeyItem, LONG lKeyValue, LONG lValue);

    // Re-keys every rule on the old key item; forbidding lists are left as they are. -1.
    SHORT RenameKey(SHORT sOldKeyItem, SHORT sNewKeyItem);
    // Deletes every pair rule on the key item and its key-wide rule, and drops the key item from
    // every forbidding list. Returns the number of rules deleted.
    int RemoveKey(SHORT sKeyItem);

    // --- Applying key values and asking ---
    // Records, for every entry, whether the key value allows it. -1 when any forbidding list changed.
    SHORT ApplyKeyValue(SHORT sKeyItem, LONG lKeyValue);
    // -1 when the rule that governs the key value excludes the value; asks only.
    SHORT IsForbiddenByKeyValue(LONG lValue, SHORT sKeyItem, LONG lKeyValue) const;
    // -1 when the key item's key-wide rule excludes the value; 0 without such a rule.
    SHORT IsForbiddenByKey(LONG lValue, SHORT sKeyItem) const;
    // 0 when some entry of the value is selectable; -1 otherwise, also for a value with no entry.
    SHORT IsValueDisabled(LONG lValue) const;
    // 0xFFFF when the key item is in the forbidding list of the value's first entry.
    WORD IsValueForbiddenBy(LONG lValue, SHORT sKeyItem) const;
    // On the value's first entry: a non-zero sAllowed drops the key item from its forbidding list,
    // 0 adds it. -1 when the list changed.
    SHORT SetValueAllowedByKey(LONG lValue, SHORT sKeyItem, SHORT sAllowed);
    // Number of key items forbidding the value's first entry (0 without an entry). With a buffer
    // and a positive maximum, the count is limited to the maximum and that many ids are copied.
    int GetForbiddingKeys(LONG lValue, SHORT* psOut, LONG lMax) const;

    // The replacement for a forbidden current value (sKeyItem 0: no key item).
    LONG ChooseValue(SHORT sKeyItem, LONG lKeyValue) const;

    // --- Export, copy, clear ---
    // A fresh list (which frees the previous one: a head is valid until the next call, Clear or
    // CopyFrom, or the item's end), or NULL with no entries or no memory. The item owns and frees
    // the chain; nodes a caller appended to it are the caller's to unhook and free first.
    tagVALUELIST* GetValueList();
    // Replaces this item's content by a copy of pSrc's (its id stays); entries start selectable.
    // A NULL source (or the item itself) changes nothing. Returns 0.
    SHORT CopyFrom(const CKinsokuItem* pSrc);
    void Clear();

private:
    CKinsokuAtom* AtomAt(int nIndex) const;
    CValidRule* KeyValueRuleAt(int nIndex) const;
    CValidRule* KeyRuleAt(int nIndex) const;
    CValidRule* FindKeyRule(SHORT sKeyItem) const;
    // False when the item has no rule on the key item (the key does not constrain it). Else true,
    // with the rule that governs the key value, or NULL when neither a pair rule for the key
    // value nor a key-wide rule exists.
    bool FindApplicableRule(SHORT sKeyItem, LONG lKeyValue, const CValidRule** ppRule) const;
    // Whether the value is allowed while the key item has the key value, given the rule found.
    static bool IsAllowedUnder(const CValidRule* pRule, LONG lKeyValue, LONG lValue);
    void FreeValueList();
    void DeleteAllAtoms();
    void DeleteAllRules();

    SHORT m_sId;
    LONG m_lDefaultValue = 0;           // meaningful only with FLAG_DEFAULT_VALUE
    CObArray m_Atoms;                   // CKinsokuAtom*, owned
    CObArray m_KeyValueRules;           // CValidRule* per (key item, key value), owned
    CObArray m_KeyRules;                // CValidRule* per key item, owned
    tagVALUELIST* m_pValueList = nullptr;  // the last exported list, owned
    SHORT m_sRebuild = 0;               // -1 once the entries changed; never reset
    DWORD m_dwFlags = 0;
};
