// The growable array behind CObArray, CWordArray and CDWordArray. The three classes share one
// growth rule and one set of argument checks; they differ in element type, in how the element
// buffer is allocated, and in whether an array may be appended onto itself.
#pragma once

#include "core/containers/Object.h"

namespace orv::detail {

enum class ArrayAlloc {
    NewArray,  // new[] / delete[]
    Calloc,    // calloc / free
};

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
class TypedArray : public CObject {
public:
    TypedArray() = default;
    ~TypedArray() override;
    TypedArray(const TypedArray&) = delete;
    TypedArray& operator=(const TypedArray&) = delete;

    int GetSize() const { return m_nSize; }

    // Checked access: every index must lie in [0, size).
    T GetAt(int nIndex) const;
    void SetAt(int nIndex, T newElement);
    T& ElementAt(int nIndex);
    T& operator[](int nIndex) { return ElementAt(nIndex); }
    T operator[](int nIndex) const { return GetAt(nIndex); }

    // Resizes; elements that come into use are zero. A grow-by of -1 keeps the current one,
    // 0 selects automatic growth.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void SetAtGrow(int nIndex, T newElement);
    int Add(T newElement);  // returns the new element's index

    void InsertAt(int nIndex, T newElement, int nCount = 1);
    void InsertAt(int nStartIndex, const TypedArray* pNewArray);
    void RemoveAt(int nIndex, int nCount = 1);
    void RemoveAll() { SetSize(0, -1); }

    void Copy(const TypedArray& src);
    int Append(const TypedArray& src);  // returns the old size
    void FreeExtra();

private:
    static T* Allocate(int nCount);
    static void Free(T* pData);

    T* m_pData = nullptr;  // NULL while nothing is allocated
    int m_nSize = 0;       // elements in use
    int m_nMaxSize = 0;    // elements allocated
    int m_nGrowBy = 0;     // 0: automatic growth
};

}  // namespace orv::detail
