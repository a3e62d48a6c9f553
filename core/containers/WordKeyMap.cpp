#include "core/containers/WordKeyMap.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace orv::detail {

namespace {

// The before-first position that GetStartPosition hands out.
const POSITION kBeforeStart = reinterpret_cast<POSITION>(static_cast<intptr_t>(-1));

}  // namespace

// One calloc: a link to the previously allocated block, then the block's associations.
template <typename V>
struct WordKeyMap<V>::CBlock {
    CBlock* pPrevious;

    CAssoc* Assocs() { return reinterpret_cast<CAssoc*>(reinterpret_cast<unsigned char*>(this) + sizeof(CBlock)); }
};

template <typename V>
WordKeyMap<V>::WordKeyMap(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
{
}

template <typename V>
WordKeyMap<V>::~WordKeyMap()
{
    RemoveAll();
}

template <typename V>
WORD WordKeyMap<V>::Lookup(WORD key, V& rValue) const
{
    if (m_pHashTable == nullptr)
        return FLAG_FALSE;
    for (CAssoc* p = m_pHashTable[BucketOf(key)]; p != nullptr; p = p->pNext) {
        if (p->key == key) {
            rValue = p->value;
            return FLAG_TRUE;
        }
    }
    return FLAG_FALSE;
}

template <typename V>
V& WordKeyMap<V>::operator[](WORD key)
{
    if (m_pHashTable != nullptr) {
        for (CAssoc* p = m_pHashTable[BucketOf(key)]; p != nullptr; p = p->pNext) {
            if (p->key == key)
                return p->value;
        }
    } else {
        InitHashTable(m_nHashTableSize, true);
    }
    CAssoc* pAssoc = NewAssoc();
    pAssoc->key = key;
    CAssoc*& rHead = m_pHashTable[BucketOf(key)];
    pAssoc->pNext = rHead;
    rHead = pAssoc;
    return pAssoc->value;
}

template <typename V>
typename WordKeyMap<V>::CAssoc* WordKeyMap<V>::NewAssoc()
{
    if (m_pFreeList == nullptr) {
        const size_t nBytes = sizeof(CBlock) + static_cast<size_t>(m_nBlockSize) * sizeof(CAssoc);
        void* pMemory = calloc(1, nBytes);
        if (pMemory == nullptr)
            throw std::bad_alloc();
        CBlock* pBlock = new (pMemory) CBlock{m_pBlocks};
        m_pBlocks = pBlock;
        // Pushed from the last to the first, so they are handed out in address order.
        CAssoc* pAssocs = pBlock->Assocs();
        for (int i = m_nBlockSize - 1; i >= 0; i--)
            m_pFreeList = new (&pAssocs[i]) CAssoc{m_pFreeList, V(), 0};
    }
    CAssoc* pAssoc = m_pFreeList;
    m_pFreeList = pAssoc->pNext;
    m_nCount++;
    pAssoc->key = 0;
    pAssoc->value = V();
    return pAssoc;
}

template <typename V>
WORD WordKeyMap<V>::RemoveKey(WORD key)
{
    if (m_pHashTable == nullptr)
        return FLAG_FALSE;
    for (CAssoc** ppLink = &m_pHashTable[BucketOf(key)]; *ppLink != nullptr; ppLink = &(*ppLink)->pNext) {
        CAssoc* pAssoc = *ppLink;
        if (pAssoc->key != key)
            continue;
        *ppLink = pAssoc->pNext;
        pAssoc->pNext = m_pFreeList;
        m_pFreeList = pAssoc;
        if (--m_nCount == 0)
            RemoveAll();
        return FLAG_TRUE;
    }
    return FLAG_FALSE;
}

template <typename V>
void WordKeyMap<V>::RemoveAll()
{
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nCount = 0;
    m_pFreeList = nullptr;
    while (m_pBlocks != nullptr) {
        CBlock* pPrevious = m_pBlocks->pPrevious;
        free(m_pBlocks);
        m_pBlocks = pPrevious;
    }
}

template <typename V>
POSITION WordKeyMap<V>::GetStartPosition() const
{
    return m_nCount != 0 ? kBeforeStart : nullptr;
}

template <typename V>
typename WordKeyMap<V>::CAssoc* WordKeyMap<V>::FirstFrom(DWORD nBucket) const
{
    if (m_pHashTable == nullptr)
        return nullptr;
    for (; nBucket < m_nHashTableSize; nBucket++) {
        if (m_pHashTable[nBucket] != nullptr)
            return m_pHashTable[nBucket];
    }
    return nullptr;
}

template <typename V>
void WordKeyMap<V>::GetNextAssoc(POSITION& rNextPosition, WORD& rKey, V& rValue) const
{
    if (rNextPosition == nullptr)
        return;
    CAssoc* pAssoc;
    if (rNextPosition == kBeforeStart) {
        pAssoc = FirstFrom(0);
        if (pAssoc == nullptr) {
            rNextPosition = nullptr;
            return;
        }
    } else {
        pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
    }
    rKey = pAssoc->key;
    rValue = pAssoc->value;
    CAssoc* pNext = pAssoc->pNext;
    if (pNext == nullptr)
        pNext = FirstFrom(BucketOf(pAssoc->key) + 1);
    rNextPosition = reinterpret_cast<POSITION>(pNext);
}

template <typename V>
void WordKeyMap<V>::InitHashTable(DWORD nHashSize, bool bAllocNow)
{
    if (nHashSize == 0)
        nHashSize = 17;
    CAssoc** pNewTable = bAllocNow ? new CAssoc*[nHashSize]() : nullptr;
    delete[] m_pHashTable;
    m_pHashTable = pNewTable;
    m_nHashTableSize = nHashSize;
}

// The two map classes (CMapWordToPtr, CMapWordToOb).
template class WordKeyMap<void*>;
template class WordKeyMap<CObject*>;

}  // namespace orv::detail
