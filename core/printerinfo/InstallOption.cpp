#include "core/printerinfo/InstallOption.h"

#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOptionPpd.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstdlib>

namespace {

constexpr DWORD kOptionPresent = 0x1;
constexpr DWORD kOptionInstalledByDefault = 0x2;
constexpr DWORD kExtraValueFlag = 0x20;
constexpr SHORT kOptionListView = 2;

// Capabilities whose options are there only when the model record says so.
bool PresenceFromRecord(SHORT sCapId)
{
    return sCapId == SPCID_DUPLEX || sCapId == SPCID_SOURCEGROUP || sCapId == SPCID_FINISHER ||
           sCapId == SPCID_INSTALLBASE1 || sCapId == SPCID_INSTALLBASE2;
}

DWORD QueryCode(DWORD dwError)
{
    return dwError == ERROR_NOT_ENOUGH_MEMORY ? ERROR_INSUFFICIENT_BUFFER : dwError;
}

// Each source that a source group lists takes the group's kind as its group.
void AssignSourceGroups(const tagMODELHANDLE* pHandle, tagINSTALLENTRY* pEntries, DWORD dwCount)
{
    CPrinterInfo groupsInfo(pHandle, SPCID_SOURCEGROUP, 0, 2);
    DWORD groupCount = 0;
    const tagSOURCEGROUP* groups = groupsInfo.Records<tagSOURCEGROUP>(&groupCount);
    for (DWORD g = 0; g < groupCount; ++g) {
        const SHORT listed = groups[g].sSourceCount;
        const SHORT slots = static_cast<SHORT>(sizeof groups[g].sSources / sizeof groups[g].sSources[0]);
        for (SHORT i = 0; i < listed && i < slots; ++i) {
            if (tagINSTALLENTRY* entry = FindInstallEntry(pEntries, dwCount, SPCID_SOURCEGROUP, groups[g].sSources[i])) {
                entry->sGroup = groups[g].sKind;
            }
        }
    }
}

}  // namespace

tagINSTALLENTRY* FindInstallEntry(tagINSTALLENTRY* pEntries, DWORD dwCount, SHORT sCapId, SHORT sItemId)
{
    if (pEntries == nullptr) {
        return nullptr;
    }
    for (DWORD i = 0; i < dwCount; ++i) {
        if (pEntries[i].sCapId == sCapId && pEntries[i].sItemId == sItemId) {
            return &pEntries[i];
        }
    }
    return nullptr;
}

DWORD LoadInstallEntries(const tagMODELHANDLE* pHandle, tagINSTALLENTRY* pEntries, DWORD* pcbSize, DWORD* pdwCount)
{
    if (pHandle == nullptr || pcbSize == nullptr || pdwCount == nullptr) {
        return ERROR_INVALID_DATA;
    }
    CPrinterInfo options(pHandle, SPCID_OPTIONLIST, 0, kOptionListView);
    void* pvData = nullptr;
    DWORD dwRecords = 0;
    const DWORD dwError = options.Get(&pvData, &dwRecords);
    if (dwError != ERROR_SUCCESS) {
        return QueryCode(dwError);
    }
    DWORD available = 0;
    const tagOPTIONITEM* items = options.Records<tagOPTIONITEM>(&available);
    if (pEntries == nullptr) {
        *pcbSize = available * static_cast<DWORD>(sizeof(tagINSTALLENTRY));
        *pdwCount = 0;
        return ERROR_SUCCESS;
    }
    const DWORD capacity = *pcbSize / static_cast<DWORD>(sizeof(tagINSTALLENTRY));
    const DWORD count = available < capacity ? available : capacity;
    for (DWORD i = 0; i < count; ++i) {
        tagINSTALLENTRY& entry = pEntries[i];
        entry.sCapId = static_cast<SHORT>(items[i].wCapId);
        entry.sItemId = static_cast<SHORT>(items[i].wItemId);
        entry.sGroup = 0;
        entry.sSub = static_cast<SHORT>(items[i].wValue);
        entry.lInstalled = (items[i].dwFlags & kOptionInstalledByDefault) ? -1 : 0;
        entry.dwPresence = (!PresenceFromRecord(entry.sCapId) || (items[i].dwFlags & kOptionPresent)) ? 1 : 0;
    }
    *pdwCount = count;
    AssignSourceGroups(pHandle, pEntries, count);
    ApplyPpdInstallChoices(pHandle, pEntries, count);
    return ERROR_SUCCESS;
}

CInstallOption::CInstallOption(const char* pszPrinter, const tagMODELHANDLE* pHandle)
    : m_pszPrinter(pszPrinter), m_pHandle(pHandle)
{
    CPrinterInfo flags(pHandle, SPCID_OPTIONFLAGS, 0, 1);
    if (const tagOPTIONFLAGS* record = flags.First<tagOPTIONFLAGS>()) {
        m_sExtraFlag = (record->dwFlags & kExtraValueFlag) ? 1 : 0;
    }
    Reload();
}

CInstallOption::~CInstallOption()
{
    FreeEntries();
}

void CInstallOption::FreeEntries()
{
    free(m_pEntries);
    m_pEntries = nullptr;
    m_dwCount = 0;
}

WORD CInstallOption::Reload()
{
    FreeEntries();
    WORD filled = FLAG_FALSE;
    DWORD cbSize = 0;
    DWORD dwCount = 0;
    if (LoadInstallEntries(m_pHandle, nullptr, &cbSize, &dwCount) == ERROR_SUCCESS && cbSize != 0) {
        m_pEntries = static_cast<tagINSTALLENTRY*>(calloc(1, cbSize));
        if (m_pEntries != nullptr && LoadInstallEntries(m_pHandle, m_pEntries, &cbSize, &dwCount) == ERROR_SUCCESS) {
            m_dwCount = dwCount;
            filled = FLAG_TRUE;
        }
    }
    if (m_sExtraFlag) {
        m_sExtraValue = m_sExtraDefault;
    }
    return filled;
}

int CInstallOption::CountInCategory(SHORT sCapId, SHORT sGroup) const
{
    int n = 0;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_pEntries[i].sCapId == sCapId && (sGroup == -1 || m_pEntries[i].sGroup == sGroup)) {
            ++n;
        }
    }
    return n;
}

int CInstallOption::CountInstalled(SHORT sCapId, SHORT sGroup) const
{
    int n = 0;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_pEntries[i].sCapId == sCapId && (sGroup == -1 || m_pEntries[i].sGroup == sGroup) &&
            m_pEntries[i].lInstalled != 0) {
            ++n;
        }
    }
    return n;
}

tagINSTALLENTRY* CInstallOption::Find(SHORT sCapId, SHORT sItemId) const
{
    return FindInstallEntry(m_pEntries, m_dwCount, sCapId, sItemId);
}

tagINSTALLENTRY* CInstallOption::GetNthInCategory(SHORT sCapId, int n) const
{
    if (n < 1) {
        return nullptr;
    }
    int seen = 0;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_pEntries[i].sCapId == sCapId && ++seen == n) {
            return &m_pEntries[i];
        }
    }
    return nullptr;
}

tagINSTALLENTRY* CInstallOption::FindInCategory(SHORT sCapId, SHORT sItemId) const
{
    const int count = CountInCategory(sCapId, -1);
    for (int n = 1; n <= count; ++n) {
        tagINSTALLENTRY* entry = GetNthInCategory(sCapId, n);
        if (entry != nullptr && entry->sItemId == sItemId) {
            return entry;
        }
    }
    return nullptr;
}

tagINSTALLENTRY* CInstallOption::FirstInstalled(SHORT sCapId, int nStart) const
{
    const int count = CountInCategory(sCapId, -1);
    for (int n = nStart < 1 ? 1 : nStart; n <= count; ++n) {
        tagINSTALLENTRY* entry = GetNthInCategory(sCapId, n);
        if (entry != nullptr && entry->lInstalled != 0) {
            return entry;
        }
    }
    return nullptr;
}

tagINSTALLENTRY* CInstallOption::FindNthInGroup(SHORT sCapId, SHORT sGroup, int n) const
{
    const int wanted = n < 1 ? 1 : n;
    int seen = 0;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_pEntries[i].sCapId == sCapId && m_pEntries[i].sGroup == sGroup && ++seen == wanted) {
            return &m_pEntries[i];
        }
    }
    return nullptr;
}

void CInstallOption::UninstallCategory(SHORT sCapId)
{
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_pEntries[i].sCapId == sCapId) {
            m_pEntries[i].lInstalled = 0;
        }
    }
}
