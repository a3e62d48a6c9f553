// The table of the model's installable options (duplex unit, optional feeders, large-capacity
// tray, hard disk, finisher, ...) with the state this queue has them in: the model's defaults,
// overridden by the queue PPD's "Option..." choices.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"

#include <cstddef>

// One installable option.
struct tagINSTALLENTRY {
    SHORT sCapId;       // the capability the option belongs to (25 duplex, 26 source, 27 finisher, 35 disk, ...)
    SHORT sItemId;      // the item within that capability
    SHORT sGroup;       // capability 26: the kind of the source group listing it; else 0
    SHORT sSub;         // copied from the model record
    LONG lInstalled;    // 0 not installed, -1 installed, 1 duplex unit installed by the PPD; finisher bits below
    DWORD dwPresence;   // 1 when the option is there to choose (see the loader)
};
static_assert(sizeof(tagINSTALLENTRY) == 16, "tagINSTALLENTRY is 16 bytes");
static_assert(offsetof(tagINSTALLENTRY, lInstalled) == 8, "tagINSTALLENTRY.lInstalled offset");

// Installed-word bits of a finisher.
inline constexpr LONG kFinisherHasPuncher = 0x10000;
inline constexpr LONG kFinisherHasStapler = 0x20000;

// Source-group kind of a large-capacity tray.
inline constexpr SHORT kSourceGroupLargeCapacity = 5;

// The first entry with both ids, or NULL.
tagINSTALLENTRY* FindInstallEntry(tagINSTALLENTRY* pEntries, DWORD dwCount, SHORT sCapId, SHORT sItemId);

// Both passes of the loader. Without an array (pEntries NULL) *pcbSize receives the bytes the
// entries need; with one, up to *pcbSize / 16 entries are filled and *pdwCount receives their
// number. 0; 13 without the handle or the size or count pointer; the model query's code; 122 when
// memory runs out.
DWORD LoadInstallEntries(const tagMODELHANDLE* pHandle, tagINSTALLENTRY* pEntries, DWORD* pcbSize, DWORD* pdwCount);

class CInstallOption {
public:
    // Keeps the name pointer (not copied) and the handle, reads the model's extra-value flag and
    // loads the table.
    CInstallOption(const char* pszPrinter, const tagMODELHANDLE* pHandle);
    virtual ~CInstallOption();
    CInstallOption(const CInstallOption&) = delete;
    CInstallOption& operator=(const CInstallOption&) = delete;

    // Rebuilds the table; TRUE when it was filled. On failure the table is empty.
    WORD Reload();

    DWORD GetCount() const { return m_dwCount; }
    // Entries of the capability (and of that group unless sGroup is -1).
    int CountInCategory(SHORT sCapId, SHORT sGroup) const;
    // The same, counting only installed entries.
    int CountInstalled(SHORT sCapId, SHORT sGroup) const;
    tagINSTALLENTRY* Find(SHORT sCapId, SHORT sItemId) const;
    // The n-th entry of the capability in table order, counted from 1.
    tagINSTALLENTRY* GetNthInCategory(SHORT sCapId, int n) const;
    tagINSTALLENTRY* FindInCategory(SHORT sCapId, SHORT sItemId) const;
    // From the start index (0 or below: 1) on, the first installed entry of the capability.
    tagINSTALLENTRY* FirstInstalled(SHORT sCapId, int nStart) const;
    // The n-th (below 1: the first) entry of the capability in that group.
    tagINSTALLENTRY* FindNthInGroup(SHORT sCapId, SHORT sGroup, int n) const;
    void UninstallCategory(SHORT sCapId);
    SHORT GetExtraValue() const { return m_sExtraValue; }

private:
    void FreeEntries();

    const char* m_pszPrinter;
    const tagMODELHANDLE* m_pHandle;
    tagINSTALLENTRY* m_pEntries = nullptr;
    DWORD m_dwCount = 0;
    SHORT m_sExtraValue = -1;
    SHORT m_sExtraDefault = -1;
    SHORT m_sExtraFlag = 0;
};
