// One value of a constraint item, with the key items that currently forbid it. The value is
// selectable exactly when no key item forbids it.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/Object.h"
#include "core/containers/WordArray.h"

class CKinsokuAtom : public CObject {
public:
    CKinsokuAtom(SHORT sItemId, LONG lValue, LONG lData1, LONG lData2);
    // Copies the item id, the value and the data words; the copy starts selectable (an empty
    // forbidding list), because forbidding lists describe the key values applied to one item.
    CKinsokuAtom(const CKinsokuAtom& src);
    CKinsokuAtom& operator=(const CKinsokuAtom&) = delete;
    ~CKinsokuAtom() override = default;

    SHORT GetItemId() const { return m_sItemId; }
    LONG GetValue() const { return m_lValue; }
    LONG GetData1() const { return m_lData1; }
    LONG GetData2() const { return m_lData2; }
    void SetData(LONG lData1, LONG lData2);

    bool IsSelectable() const { return m_ForbiddingKeys.GetSize() == 0; }
    const CWordArray& GetForbiddingKeys() const { return m_ForbiddingKeys; }
    bool IsForbiddenBy(WORD wKeyItem) const;
    // Each answers true when the list changed. A key item occurs at most once in the list.
    bool AddForbiddingKey(WORD wKeyItem);
    bool RemoveForbiddingKey(WORD wKeyItem);

private:
    SHORT m_sItemId;             // the item the entry was made for (informational)
    LONG m_lValue;
    LONG m_lData1;
    LONG m_lData2;
    CWordArray m_ForbiddingKeys;  // key item ids, in the order they forbade the value
};
