// The constraint list's structure: construction with the active table and the id orders, the
// items, the dependency links, and the questions forwarded to the items.
#include "core/kinsoku/KinsokuList.h"

#include "core/kinsoku/KinsokuTables.h"

#include <cstring>
#include <memory>

namespace {

constexpr WORD kMetricBit = 0x2;

bool Contains(const CWordArray& array, WORD w)
{
    for (int i = 0; i < array.GetSize(); i++) {
        if (array.GetAt(i) == w)
            return true;
    }
    return false;
}

void AddUnique(CWordArray& array, WORD w)
{
    if (!Contains(array, w))
        array.Add(w);
}

// Deletes the objects a map owns and empties it.
void DeleteAll(CMapWordToOb& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        CObject* pObject = nullptr;
        map.GetNextAssoc(pos, key, pObject);
        delete pObject;
    }
    map.RemoveAll();
}

}  // namespace

CKinsokuList::CKinsokuList(const tagMODELHANDLE* pHandle, CUserPaper* pUserPaper, const DRVDEVMODE* pdm)
    : m_Items(10), m_Dependents(10), m_pHandle(pHandle), m_pUserPaper(pUserPaper)
{
    std::memset(&m_dmCopy, 0, sizeof m_dmCopy);
    if (pdm != nullptr)
        std::memcpy(&m_dmCopy, pdm, sizeof m_dmCopy);
    m_sMetric = (m_dmCopy.priv.dmMetric & kMetricBit) != 0 ? 1 : 0;
    BuildActiveTable();
    BuildIdOrders();
}

CKinsokuList::~CKinsokuList()
{
    DeleteAll(m_Items);
    DeleteAll(m_Dependents);
}

// ----- Ids -------------------------------------------------------------------------------------

int CKinsokuList::ActiveIndex(SHORT sId) const
{
    if (sId >= m_sFirstItem && sId <= m_sLastItem)
        return sId;
    if (sId >= m_sFirstKey && sId <= m_sLastKey)
        return sId + m_sLastItem - m_sFirstKey + 1;  // id - 160
    // Ids reach the list from the model data file (its dependency pairs); anything else names no
    // setting and reads as inactive rather than indexing outside the table.
    return -1;
}

void CKinsokuList::BuildActiveTable()
{
    m_Active.SetSize(kKinsokuActiveTableSize);
    for (SHORT id = kKinsokuFirstItem; id <= kKinsokuLastItem; id++)
        m_Active.SetAt(ActiveIndex(id), KinsokuItemActivity(id, m_dmCopy));
    // Keys that hang on items read the item entries just set.
    const auto itemActive = [](const void* pContext, SHORT sItemId) {
        return static_cast<const CKinsokuList*>(pContext)->IsItemActive(sItemId) != 0;
    };
    for (SHORT id = kKinsokuFirstKey; id <= kKinsokuLastKey; id++)
        m_Active.SetAt(ActiveIndex(id), KinsokuKeyActivity(id, m_dmCopy, itemActive, this));
}

void CKinsokuList::BuildIdOrders()
{
    for (SHORT id = kKinsokuFirstItem; id <= kKinsokuLastItem; id++)
        m_ItemOrder.Add(static_cast<WORD>(id));
    // 242 carries the media value of 208 and is evaluated right after it.
    for (SHORT id = kKinsokuFirstKey; id <= KINSOKU_KEY_MEDIA; id++)
        m_KeyOrder.Add(static_cast<WORD>(id));
    m_KeyOrder.Add(static_cast<WORD>(KINSOKU_KEY_MEDIA_AT_START));
    for (SHORT id = KINSOKU_KEY_SOURCE; id < kKinsokuLastKey; id++)
        m_KeyOrder.Add(static_cast<WORD>(id));
}

WORD CKinsokuList::IsItemActive(SHORT sId) const
{
    const int index = ActiveIndex(sId);
    return index >= 0 && index < m_Active.GetSize() ? m_Active.GetAt(index) : kKinsokuInactive;
}

SHORT CKinsokuList::GetItemIdAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ItemOrder.GetSize() ? static_cast<SHORT>(m_ItemOrder.GetAt(nIndex)) : 0;
}

SHORT CKinsokuList::GetKeyIdAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_KeyOrder.GetSize() ? static_cast<SHORT>(m_KeyOrder.GetAt(nIndex)) : 0;
}

// ----- Items -----------------------------------------------------------------------------------

CKinsokuItem* CKinsokuList::GetItem(SHORT sItemId) const
{
    if (ActiveIndex(sItemId) < 0)
        return nullptr;
    CObject* pItem = nullptr;
    m_Items.Lookup(static_cast<WORD>(sItemId), pItem);
    return static_cast<CKinsokuItem*>(pItem);
}

CKinsokuItem* CKinsokuList::GetOrCreateItem(SHORT sItemId)
{
    if (sItemId < kKinsokuFirstItem || sItemId > kKinsokuLastItem || IsItemActive(sItemId) == 0)
        return nullptr;
    CKinsokuItem* pItem = GetItem(sItemId);
    if (pItem == nullptr) {
        auto pNew = std::make_unique<CKinsokuItem>(sItemId);
        m_Items.SetAt(static_cast<WORD>(sItemId), pNew.get());
        pItem = pNew.release();
    }
    return pItem;
}

void CKinsokuList::RemoveItem(SHORT sItemId)
{
    CKinsokuItem* pItem = GetItem(sItemId);
    if (pItem == nullptr)
        return;
    m_Items.RemoveKey(static_cast<WORD>(sItemId));
    delete pItem;
}

void CKinsokuList::CopyItem(SHORT sDestId, SHORT sSourceId, DWORD dwFlags)
{
    if ((dwFlags & 0x1) != 0) {
        const CKinsokuItem* pSource = GetItem(sSourceId);
        CKinsokuItem* pDest = pSource != nullptr ? GetOrCreateItem(sDestId) : nullptr;
        if (pDest != nullptr)
            pDest->CopyFrom(pSource);
    }
    if ((dwFlags & 0x2) != 0) {
        for (SHORT key = kKinsokuFirstKey; key <= kKinsokuLastKey; key++) {
            if (IsLinked(key, sSourceId) != 0)
                AddLink(key, sDestId);
        }
    }
}

// ----- Links -----------------------------------------------------------------------------------

CWordArray* CKinsokuList::GetDependents(SHORT sKeyId) const
{
    if (ActiveIndex(sKeyId) < 0)
        return nullptr;
    CObject* pArray = nullptr;
    m_Dependents.Lookup(static_cast<WORD>(sKeyId), pArray);
    return static_cast<CWordArray*>(pArray);
}

SHORT CKinsokuList::AddLink(SHORT sKeyId, SHORT sItemId)
{
    if (IsItemActive(sKeyId) == 0 || IsItemActive(sItemId) == 0)
        return 0;
    CWordArray* pDependents = GetDependents(sKeyId);
    if (pDependents == nullptr) {
        auto pNew = std::make_unique<CWordArray>();
        m_Dependents.SetAt(static_cast<WORD>(sKeyId), pNew.get());
        pDependents = pNew.release();
    }
    AddUnique(*pDependents, static_cast<WORD>(sItemId));
    return -1;
}

WORD CKinsokuList::AddLinks(SHORT sKeyId, const SHORT* psItems, int nCount)
{
    if (psItems == nullptr || nCount <= 0)
        return FLAG_TRUE;
    bool bAll = true;
    for (int i = 0; i < nCount; i++) {
        if (AddLink(sKeyId, psItems[i]) == 0)
            bAll = false;
    }
    return bAll ? FLAG_TRUE : FLAG_FALSE;
}

void CKinsokuList::RemoveLink(SHORT sKeyId, SHORT sItemId)
{
    CWordArray* pDependents = GetDependents(sKeyId);
    if (pDependents == nullptr)
        return;
    for (int i = pDependents->GetSize() - 1; i >= 0; i--) {
        if (pDependents->GetAt(i) == static_cast<WORD>(sItemId))
            pDependents->RemoveAt(i);
    }
}

SHORT CKinsokuList::IsLinked(SHORT sKeyId, SHORT sItemId) const
{
    const CWordArray* pDependents = GetDependents(sKeyId);
    return pDependents != nullptr && Contains(*pDependents, static_cast<WORD>(sItemId)) ? -1 : 0;
}

CKinsokuItem* CKinsokuList::GetLinkedItem(SHORT sItemId, SHORT sKeyId) const
{
    return IsLinked(sKeyId, sItemId) != 0 ? GetItem(sItemId) : nullptr;
}

SHORT CKinsokuList::IsAnyLinkTo(SHORT sItemId) const
{
    POSITION pos = m_Dependents.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        CObject* pArray = nullptr;
        m_Dependents.GetNextAssoc(pos, key, pArray);
        if (pArray != nullptr && Contains(*static_cast<CWordArray*>(pArray), static_cast<WORD>(sItemId)))
            return -1;
    }
    return 0;
}

void CKinsokuList::RemoveKey(SHORT sKeyId)
{
    CWordArray* pDependents = GetDependents(sKeyId);
    if (pDependents != nullptr) {
        m_Dependents.RemoveKey(static_cast<WORD>(sKeyId));
        delete pDependents;
    }
    POSITION pos = m_Items.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        CObject* pItem = nullptr;
        m_Items.GetNextAssoc(pos, key, pItem);
        static_cast<CKinsokuItem*>(pItem)->RemoveKey(sKeyId);
    }
}

SHORT CKinsokuList::RenameKey(SHORT sItemId, SHORT sOldKeyId, SHORT sNewKeyId)
{
    CKinsokuItem* pItem = GetItem(sItemId);
    if (pItem == nullptr)
        return 0;
    const SHORT sResult = pItem->RenameKey(sOldKeyId, sNewKeyId);
    if (IsLinked(sOldKeyId, sItemId) != 0) {
        RemoveLink(sOldKeyId, sItemId);
        AddLink(sNewKeyId, sItemId);
    }
    return sResult;
}

void CKinsokuList::ApplyKeyValue(SHORT sKeyId, LONG lKeyValue)
{
    const CWordArray* pDependents = GetDependents(sKeyId);
    if (pDependents == nullptr)
        return;
    for (int i = 0; i < pDependents->GetSize(); i++) {
        CKinsokuItem* pItem = GetItem(static_cast<SHORT>(pDependents->GetAt(i)));
        if (pItem != nullptr)
            pItem->ApplyKeyValue(sKeyId, lKeyValue);
    }
}

// ----- Questions forwarded to the items --------------------------------------------------------

SHORT CKinsokuList::IsValueDisabled(SHORT sItemId, LONG lValue) const
{
    const CKinsokuItem* pItem = GetItem(sItemId);
    return pItem != nullptr ? pItem->IsValueDisabled(lValue) : 0;
}

int CKinsokuList::GetForbiddingKeys(SHORT sItemId, LONG lValue, SHORT* psOut, LONG lMax) const
{
    const CKinsokuItem* pItem = GetItem(sItemId);
    return pItem != nullptr ? pItem->GetForbiddingKeys(lValue, psOut, lMax) : 0;
}

int CKinsokuList::GetRuleValues(SHORT sItemId, LONG lValue, SHORT* psOut, LONG lMax) const
{
    return GetForbiddingKeys(sItemId, lValue, psOut, lMax);
}

tagVALUELIST* CKinsokuList::GetValueList(SHORT sItemId)
{
    CKinsokuItem* pItem = GetItem(sItemId);
    return pItem != nullptr ? pItem->GetValueList() : nullptr;
}

// ----- Run bookkeeping -------------------------------------------------------------------------

void CKinsokuList::MarkItemRewritten(SHORT sItemId)
{
    AddUnique(m_Rewritten, static_cast<WORD>(sItemId));
}

bool CKinsokuList::IsItemRewritten(SHORT sItemId) const
{
    return Contains(m_Rewritten, static_cast<WORD>(sItemId));
}

void CKinsokuList::MarkItemChanged(SHORT sItemId)
{
    AddUnique(m_Changed, static_cast<WORD>(sItemId));
}

bool CKinsokuList::IsItemChanged(SHORT sItemId) const
{
    return Contains(m_Changed, static_cast<WORD>(sItemId));
}

bool CKinsokuList::IsKeyFiredAtStart(SHORT sKeyId) const
{
    return Contains(m_FiredAtStart, static_cast<WORD>(sKeyId));
}
