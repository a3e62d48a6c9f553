#include "core/printerinfo/PrinterInfo.h"

#include "core/model/SpcQuery.h"

#include <cstdlib>

CPrinterInfo::CPrinterInfo(const tagMODELHANDLE* pHandle, SHORT sCapId, SHORT sItem, LONG lView)
    : m_sCapId(sCapId), m_sItem(sItem), m_lView(lView),
      m_pSpcData(pHandle != nullptr ? pHandle->pSpcData : nullptr)
{
}

CPrinterInfo::~CPrinterInfo()
{
    Release();
}

void CPrinterInfo::Release()
{
    free(m_pData);
    m_pData = nullptr;
    m_cbSize = 0;
    m_dwCount = 0;
}

DWORD CPrinterInfo::Fetch()
{
    m_bFetched = true;
    Release();
    if (m_pSpcData == nullptr) {
        m_dwError = ERROR_INVALID_PARAMETER;
        return m_dwError;
    }
    DWORD cbSize = 0;
    DWORD dwCount = 0;
    m_dwError = SpcQuery(m_pSpcData, m_sCapId, m_sItem, m_lView, nullptr, &cbSize, &dwCount);
    if (m_dwError != ERROR_SUCCESS) {
        return m_dwError;
    }
    // An empty answer is a capability without records, not a failed allocation.
    if (cbSize == 0) {
        return m_dwError;
    }
    m_pData = calloc(1, cbSize);
    if (m_pData == nullptr) {
        m_dwError = ERROR_NOT_ENOUGH_MEMORY;
        return m_dwError;
    }
    m_cbSize = cbSize;
    m_dwError = SpcQuery(m_pSpcData, m_sCapId, m_sItem, m_lView, m_pData, &cbSize, &dwCount);
    if (m_dwError != ERROR_SUCCESS) {
        Release();
        return m_dwError;
    }
    m_dwCount = dwCount;
    return m_dwError;
}

DWORD CPrinterInfo::Get(void** ppData, DWORD* pdwCount)
{
    if (ppData == nullptr || pdwCount == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!m_bFetched) {
        Fetch();
    }
    if (m_dwError != ERROR_SUCCESS) {
        *ppData = nullptr;
        *pdwCount = 0;
        return m_dwError;
    }
    *ppData = m_pData;
    *pdwCount = m_dwCount;
    return m_dwError;
}

void* CPrinterInfo::GetData()
{
    if (!m_bFetched) {
        Fetch();
    }
    return m_dwError == ERROR_SUCCESS ? m_pData : nullptr;
}

DWORD CPrinterInfo::GetCount()
{
    if (!m_bFetched) {
        Fetch();
    }
    return m_dwError == ERROR_SUCCESS ? m_dwCount : 0;
}
