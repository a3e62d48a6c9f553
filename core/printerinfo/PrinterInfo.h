// The query object through which the core asks the model data one capability at a time.
//
// It asks the model data for the size of one (capability, item, view) answer, fetches it into a
// zero-filled block on first use and owns that block until it is destroyed. Every rule builds its
// objects on the stack, so each call reads the model data afresh and nothing is cached.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcData.h"

class CPrinterInfo {
public:
    // Keeps the request and the handle's model data (none for a NULL handle); fetches nothing.
    CPrinterInfo(const tagMODELHANDLE* pHandle, SHORT sCapId, SHORT sItem, LONG lView);
    virtual ~CPrinterInfo();
    CPrinterInfo(const CPrinterInfo&) = delete;
    CPrinterInfo& operator=(const CPrinterInfo&) = delete;

    // The size-first fetch. 87 without model data, 8 when memory runs out, else the query's own
    // code. An answer of 0 bytes is a success with no records. A failed fetch is not retried.
    DWORD Fetch();

    // 87 when an output pointer is NULL. Fetches once; on error gives NULL and 0, else the
    // records and their count.
    DWORD Get(void** ppData, DWORD* pdwCount);

    // Fetch on first use; after a failed fetch NULL and 0.
    void* GetData();
    DWORD GetCount();

    // The records as T: only as many as the fetched bytes hold whole (the count the query
    // reported is never trusted beyond the block). NULL and 0 when there are none.
    template <typename T>
    const T* Records(DWORD* pdwCount)
    {
        void* pv = GetData();
        DWORD count = pv != nullptr ? GetCount() : 0;
        const DWORD whole = static_cast<DWORD>(m_cbSize / sizeof(T));
        if (count > whole) {
            count = whole;
        }
        *pdwCount = count;
        return count != 0 ? static_cast<const T*>(pv) : nullptr;
    }

    // The first record as T, or NULL when the answer holds none whole.
    template <typename T>
    const T* First()
    {
        DWORD count = 0;
        return Records<T>(&count);
    }

private:
    void Release();

    void* m_pData = nullptr;
    DWORD m_cbSize = 0;
    DWORD m_dwCount = 0;
    SHORT m_sCapId;
    SHORT m_sItem;
    LONG m_lView;
    DWORD m_dwError = ERROR_SUCCESS;
    const tagSPCDATA* m_pSpcData;
    bool m_bFetched = false;
};
