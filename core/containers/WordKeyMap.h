// The hash map behind CMapWordToPtr and CMapWordToOb: 16-bit keys, pointer values, chained
// buckets. Associations come from blocks of a fixed number of entries and go back to a free
// list when removed; the map frees everything when it is emptied.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/Object.h"

namespace orv::detail {

template <typename V>
class WordKeyMap : public CObject {
public:
    explicit WordKeyMap(int nBlockSize);
    ~WordKeyMap() override;
    WordKeyMap(const WordKeyMap&) = delete;
    WordKeyMap& operator=(const WordKeyMap&) = delete;

    int GetCount() const { return m_nCount; }
    // FLAG_TRUE with the value stored when the key is present; FLAG_FALSE (value untouched) else.
    WORD Lookup(WORD key, V& rValue) const;
    // The key's value slot, created (holding NULL) when the key is missing.
    V& operator[](WORD key);
    void SetAt(WORD key, V newValue) { (*this)[key] = newValue; }
    WORD RemoveKey(WORD key);
    void RemoveAll();

    // Bucket by bucket in ascending order, newest first within a bucket.
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, WORD& rKey, V& rValue) const;

    // A bucket count of 0 means 17. Drops the bucket table (not the associations).
    void InitHashTable(DWORD nHashSize, bool bAllocNow);

private:
    struct CAssoc {
        CAssoc* pNext;  // next in the bucket's chain, or in the free list
        V value;
        WORD key;
    };
    static_assert(sizeof(void*) != 8 || sizeof(CAssoc) == 24, "an association is 24 bytes");
    struct CBlock;

    DWORD BucketOf(WORD key) const { return (static_cast<DWORD>(key) >> 4) % m_nHashTableSize; }
    CAssoc* FirstFrom(DWORD nBucket) const;
    CAssoc* NewAssoc();

    CAssoc** m_pHashTable = nullptr;  // NULL until the first insertion
    DWORD m_nHashTableSize = 17;
    int m_nCount = 0;
    CAssoc* m_pFreeList = nullptr;
    CBlock* m_pBlocks = nullptr;  // most recently allocated first
    int m_nBlockSize;
};

}  // namespace orv::detail
