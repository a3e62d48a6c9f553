#include "core/kinsoku/KinsokuAtom.h"

CKinsokuAtom::CKinsokuAtom(SHORT sItemId, LONG lValue, LONG lData1, LONG lData2)
    : m_sItemId(sItemId), m_lValue(lValue), m_lData1(lData1), m_lData2(lData2)
{
}

CKinsokuAtom::CKinsokuAtom(const CKinsokuAtom& src)
    : CObject(), m_sItemId(src.m_sItemId), m_lValue(src.m_lValue), m_lData1(src.m_lData1),
      m_lData2(src.m_lData2)
{
}

void CKinsokuAtom::SetData(LONG lData1, LONG lData2)
{
    m_lData1 = lData1;
    m_lData2 = lData2;
}

bool CKinsokuAtom::IsForbiddenBy(WORD wKeyItem) const
{
    for (int i = 0; i < m_ForbiddingKeys.GetSize(); i++) {
        if (m_ForbiddingKeys.GetAt(i) == wKeyItem)
            return true;
    }
    return false;
}

bool CKinsokuAtom::AddForbiddingKey(WORD wKeyItem)
{
    if (IsForbiddenBy(wKeyItem))
        return false;
    m_ForbiddingKeys.Add(wKeyItem);
    return true;
}

bool CKinsokuAtom::RemoveForbiddingKey(WORD wKeyItem)
{
    bool bRemoved = false;
    // From the end, so removing does not skip the element that slides into the hole.
    for (int i = m_ForbiddingKeys.GetSize() - 1; i >= 0; i--) {
        if (m_ForbiddingKeys.GetAt(i) == wKeyItem) {
            m_ForbiddingKeys.RemoveAt(i);
            bRemoved = true;
        }
    }
    return bRemoved;
}
