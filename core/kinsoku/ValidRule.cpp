#include "core/kinsoku/ValidRule.h"

CValidRule::CValidRule(SHORT sKeyItem, LONG lKeyValue) : m_sKeyItem(sKeyItem), m_lKeyValue(lKeyValue)
{
}

CValidRule::CValidRule(const CValidRule& src)
    : CObject(), m_sKeyItem(src.m_sKeyItem), m_lKeyValue(src.m_lKeyValue),
      m_lForcedValue(src.m_lForcedValue), m_sAllowAll(src.m_sAllowAll), m_dwFlags(src.m_dwFlags)
{
    m_AllowedValues.Copy(src.m_AllowedValues);
}

void CValidRule::SetForcedValue(LONG lValue)
{
    m_lForcedValue = lValue;
    m_dwFlags |= FLAG_FORCED_VALUE;
}

void CValidRule::AddAllowedValue(LONG lValue)
{
    m_AllowedValues.Add(static_cast<DWORD>(static_cast<WORD>(lValue)));
}

bool CValidRule::RemoveAllowedValue(LONG lValue)
{
    const DWORD dwEntry = static_cast<WORD>(lValue);
    for (int i = 0; i < m_AllowedValues.GetSize(); i++) {
        if (m_AllowedValues.GetAt(i) == dwEntry) {
            m_AllowedValues.RemoveAt(i);
            return true;
        }
    }
    return false;
}

bool CValidRule::Allows(LONG lValue) const
{
    if (m_sAllowAll == -1)
        return true;
    for (int i = 0; i < m_AllowedValues.GetSize(); i++) {
        // Compared as signed 64-bit numbers, so no conversion can wrap a negative value onto an entry.
        if (static_cast<int64_t>(m_AllowedValues.GetAt(i)) == static_cast<int64_t>(lValue))
            return true;
    }
    return false;
}
