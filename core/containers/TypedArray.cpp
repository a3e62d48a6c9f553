#include "core/containers/TypedArray.h"

#include "core/WinTypes.h"
#include "core/containers/InvalidArg.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace orv::detail {

namespace {

// Automatic growth: small arrays grow by 4, large ones by at most 1024, the rest by an eighth.
int AutomaticStep(int nSize)
{
    if (nSize < 32)
        return 4;
    if (nSize > 8199)
        return 1024;
    return nSize / 8;
}

// An array never holds more than INT_MAX elements; a request beyond that is a bad argument.
int CheckedSum(int a, int b)
{
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > INT_MAX)
        ThrowInvalidArg();
    return static_cast<int>(sum);
}

}  // namespace

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
T* TypedArray<T, kAlloc, kSelfAppendAllowed>::Allocate(int nCount)
{
    if constexpr (kAlloc == ArrayAlloc::NewArray) {
        return new T[nCount]();
    } else {
        void* p = calloc(static_cast<size_t>(nCount), sizeof(T));
        if (p == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::Free(T* pData)
{
    if constexpr (kAlloc == ArrayAlloc::NewArray)
        delete[] pData;
    else
        free(pData);
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
TypedArray<T, kAlloc, kSelfAppendAllowed>::~TypedArray()
{
    Free(m_pData);
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
T TypedArray<T, kAlloc, kSelfAppendAllowed>::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nSize)
        ThrowInvalidArg();
    return m_pData[nIndex];
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::SetAt(int nIndex, T newElement)
{
    ElementAt(nIndex) = newElement;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
T& TypedArray<T, kAlloc, kSelfAppendAllowed>::ElementAt(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        ThrowInvalidArg();
    return m_pData[nIndex];
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::SetSize(int nNewSize, int nGrowBy)
{
    if (nNewSize < 0)
        ThrowInvalidArg();
    // Stored only once the resize succeeded, so a failed allocation leaves the array unchanged.
    const int nNewGrowBy = nGrowBy >= 0 ? nGrowBy : m_nGrowBy;

    if (nNewSize == 0) {
        Free(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    } else if (m_pData == nullptr) {
        // The first allocation is exact.
        m_pData = Allocate(nNewSize);
        m_nSize = m_nMaxSize = nNewSize;
    } else if (nNewSize <= m_nMaxSize) {
        // The buffer is never shrunk here; elements coming back into use are cleared.
        if (nNewSize > m_nSize)
            std::fill(m_pData + m_nSize, m_pData + nNewSize, T());
        m_nSize = nNewSize;
    } else {
        const int nStep = nNewGrowBy != 0 ? nNewGrowBy : AutomaticStep(m_nSize);
        const int64_t nStepped = std::min<int64_t>(static_cast<int64_t>(m_nMaxSize) + nStep, INT_MAX);
        const int nNewMax = static_cast<int>(std::max<int64_t>(nStepped, nNewSize));
        T* pNewData = Allocate(nNewMax);  // zeroed, so [old size, new size) reads 0
        std::copy(m_pData, m_pData + m_nSize, pNewData);
        Free(m_pData);
        m_pData = pNewData;
        m_nSize = nNewSize;
        m_nMaxSize = nNewMax;
    }
    m_nGrowBy = nNewGrowBy;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::SetAtGrow(int nIndex, T newElement)
{
    if (nIndex < 0)
        ThrowInvalidArg();
    if (nIndex >= m_nSize)
        SetSize(CheckedSum(nIndex, 1), -1);
    m_pData[nIndex] = newElement;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
int TypedArray<T, kAlloc, kSelfAppendAllowed>::Add(T newElement)
{
    const int nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::InsertAt(int nIndex, T newElement, int nCount)
{
    if (nIndex < 0 || nCount < 1)
        ThrowInvalidArg();
    if (nIndex >= m_nSize) {
        SetSize(CheckedSum(nIndex, nCount), -1);
    } else {
        const int nOldSize = m_nSize;
        SetSize(CheckedSum(m_nSize, nCount), -1);
        std::copy_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    }
    std::fill(m_pData + nIndex, m_pData + nIndex + nCount, newElement);
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::InsertAt(int nStartIndex, const TypedArray* pNewArray)
{
    if (pNewArray == nullptr || nStartIndex < 0)
        ThrowInvalidArg();
    const int nCount = pNewArray->GetSize();
    if (nCount == 0)
        return;
    if (pNewArray == this) {
        // The insertion moves the very elements it copies; insert a snapshot of them instead.
        TypedArray snapshot;
        snapshot.Copy(*this);
        InsertAt(nStartIndex, &snapshot);
        return;
    }
    InsertAt(nStartIndex, pNewArray->GetAt(0), nCount);
    for (int i = 1; i < nCount; i++)
        m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nCount < 0 || static_cast<int64_t>(nIndex) + nCount > m_nSize)
        ThrowInvalidArg();
    std::copy(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    m_nSize -= nCount;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::Copy(const TypedArray& src)
{
    if (&src == this)
        return;
    SetSize(src.m_nSize, -1);
    std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData);
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
int TypedArray<T, kAlloc, kSelfAppendAllowed>::Append(const TypedArray& src)
{
    if (!kSelfAppendAllowed && &src == this)
        ThrowInvalidArg();
    const int nOldSize = m_nSize;
    const int nCount = src.m_nSize;  // read before growing: src may be this array
    if (nCount == 0)
        return nOldSize;
    SetSize(CheckedSum(nOldSize, nCount), -1);
    // Read the source only now: when it is this array, growing has just moved its buffer.
    std::copy(src.m_pData, src.m_pData + nCount, m_pData + nOldSize);
    return nOldSize;
}

template <typename T, ArrayAlloc kAlloc, bool kSelfAppendAllowed>
void TypedArray<T, kAlloc, kSelfAppendAllowed>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    T* pNewData = nullptr;
    if (m_nSize > 0) {
        pNewData = Allocate(m_nSize);
        std::copy(m_pData, m_pData + m_nSize, pNewData);
    }
    Free(m_pData);
    m_pData = pNewData;
    m_nMaxSize = m_nSize;
}

// The three array classes (CObArray, CWordArray, CDWordArray).
template class TypedArray<CObject*, ArrayAlloc::NewArray, false>;
template class TypedArray<WORD, ArrayAlloc::Calloc, true>;
template class TypedArray<DWORD, ArrayAlloc::NewArray, true>;

}  // namespace orv::detail
