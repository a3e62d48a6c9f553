// A whitelist rule of a constraint item: while its key item has the rule's key value (a
// per-key-value rule), or any value without a rule of its own (a key-wide rule), the item may only
// take the listed values, or every value when the rule is marked allow-all. A per-key-value rule
// may also name a forced value: the value the item takes when its current one must be replaced.
// A fresh rule lists nothing and so forbids every value.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/DWordArray.h"
#include "core/containers/Object.h"

class CValidRule : public CObject {
public:
    static constexpr DWORD FLAG_FORCED_VALUE = 0x1;

    CValidRule(SHORT sKeyItem, LONG lKeyValue);
    CValidRule(const CValidRule& src);  // copies every field, the allowed list included
    CValidRule& operator=(const CValidRule&) = delete;
    ~CValidRule() override = default;

    SHORT GetKeyItem() const { return m_sKeyItem; }
    void SetKeyItem(SHORT sKeyItem) { m_sKeyItem = sKeyItem; }
    LONG GetKeyValue() const { return m_lKeyValue; }

    bool HasForcedValue() const { return (m_dwFlags & FLAG_FORCED_VALUE) != 0; }
    LONG GetForcedValue() const { return m_lForcedValue; }
    void SetForcedValue(LONG lValue);

    // Allow-all is -1 or 0; any non-zero flag is stored as -1.
    SHORT GetAllowAll() const { return m_sAllowAll; }
    void SetAllowAll(SHORT sFlag) { m_sAllowAll = sFlag != 0 ? -1 : 0; }

    const CDWordArray& GetAllowedValues() const { return m_AllowedValues; }
    // Stores the value's low 16 bits, zero-extended; duplicates are kept.
    void AddAllowedValue(LONG lValue);
    // Removes the first listed entry equal to the value's low 16 bits; true when one was removed.
    bool RemoveAllowedValue(LONG lValue);

    // Allowed when the rule is allow-all or lists the value. The list holds zero-extended 16-bit
    // numbers compared with the full 32-bit value, so a value outside 0..65535 (-1, 70000) is
    // never allowed by the list, only by allow-all.
    bool Allows(LONG lValue) const;

private:
    SHORT m_sKeyItem;
    LONG m_lKeyValue;            // 0 in key-wide rules
    LONG m_lForcedValue = 0;     // meaningful only with FLAG_FORCED_VALUE
    CDWordArray m_AllowedValues;
    SHORT m_sAllowAll = 0;       // -1: every value allowed
    DWORD m_dwFlags = 0;
};
