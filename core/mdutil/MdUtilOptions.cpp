// The predicates of CMdUtil that weigh the queue's installed options: storage amounts, the
// finisher and the duplex unit, the requirement masks that the model attaches to features, the
// availability of features and sources, and marking a finisher installed.
#include "core/mdutil/MdUtil.h"

#include "core/mdutil/MdUtilAmounts.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/PrinterInfo.h"

namespace {

constexpr DWORD kOptional = 0x1;  // counts when its installed-option entry is installed
constexpr DWORD kStandard = 0x2;  // counts always
constexpr SHORT kPlainTrayFinisher = 99;  // the "no finisher unit" entry
constexpr WORD kPresenceYes = 1;
constexpr WORD kPresenceNo = 0xFFFF;

// Duplex record flags: the first mode with the optional unit or built in, then the second.
constexpr DWORD kDuplexMode1 = 0x1 | 0x2;
constexpr DWORD kDuplexMode2 = 0x4 | 0x8;
constexpr DWORD kDuplexBuiltIn = 0x2;
constexpr DWORD kDuplexWithUnit = 0x1;

}  // namespace

bool CMdUtil::Counts(SHORT sCapId, SHORT sItem, DWORD dwFlags) const
{
    if ((dwFlags & kOptional) != 0) {
        const tagINSTALLENTRY* pEntry =
            m_pInstallOption != nullptr ? m_pInstallOption->Find(sCapId, sItem) : nullptr;
        return pEntry != nullptr && pEntry->lInstalled != 0;
    }
    return (dwFlags & kStandard) != 0;
}

DWORD CMdUtil::StorageTotal(SHORT sCapId, DWORD dwBase) const
{
    DWORD total = dwBase;
    CPrinterInfo info(m_pHandle, sCapId, 0, 2);
    DWORD count = 0;
    const tagSPCAMOUNT* records = info.Records<tagSPCAMOUNT>(&count);
    for (DWORD i = 0; i < count; i++) {
        if (Counts(sCapId, static_cast<SHORT>(records[i].wId), records[i].dwFlags))
            total = SaturatingAdd(total, records[i].dwAmount);
    }
    return total;
}

DWORD CMdUtil::GetCapability36Total() const
{
    CPrinterInfo baseInfo(m_pHandle, SPCID_INSTALLBASE2, 0, 1);
    const tagSPCBASE36* pBase = baseInfo.First<tagSPCBASE36>();
    return StorageTotal(SPCID_INSTALLBASE2, pBase != nullptr ? pBase->dwValues[0] : 0);
}

DWORD CMdUtil::GetCapability35Total() const
{
    CPrinterInfo baseInfo(m_pHandle, SPCID_INSTALLBASE1, 0, 1);
    const tagSPCBASE35* pBase = baseInfo.First<tagSPCBASE35>();
    return StorageTotal(SPCID_INSTALLBASE1, pBase != nullptr ? pBase->dwBase : 0);
}

WORD CMdUtil::HasStorage(SHORT sCapId) const
{
    // Present: an optional record when any entry of the capability is installed, a standard one
    // always.
    CPrinterInfo info(m_pHandle, sCapId, 0, 2);
    DWORD count = 0;
    const tagSPCAMOUNT* records = info.Records<tagSPCAMOUNT>(&count);
    for (DWORD i = 0; i < count; i++) {
        const DWORD flags = records[i].dwFlags;
        if ((flags & kOptional) != 0) {
            if (m_pInstallOption != nullptr && m_pInstallOption->CountInstalled(sCapId, -1) > 0)
                return FLAG_TRUE;
        } else if ((flags & kStandard) != 0) {
            return FLAG_TRUE;
        }
    }
    return FLAG_FALSE;
}

WORD CMdUtil::HasCapability36() const { return HasStorage(SPCID_INSTALLBASE2); }
WORD CMdUtil::HasCapability35() const { return HasStorage(SPCID_INSTALLBASE1); }

WORD CMdUtil::HasFinisher() const
{
    CPrinterInfo info(m_pHandle, SPCID_FINISHER, 0, 1);
    DWORD count = 0;
    const tagFINISHERUNIT* units = info.Records<tagFINISHERUNIT>(&count);
    for (DWORD i = 0; i < count; i++) {
        const SHORT sItem = static_cast<SHORT>(units[i].wId);
        if (sItem != kPlainTrayFinisher && Counts(SPCID_FINISHER, sItem, units[i].dwOptionFlags))
            return FLAG_TRUE;
    }
    return FLAG_FALSE;
}

WORD CMdUtil::HasDuplexUnit() const
{
    CPrinterInfo info(m_pHandle, SPCID_DUPLEX, 0, 1);
    const tagDUPLEXINFO* pDuplex = info.First<tagDUPLEXINFO>();
    if (pDuplex == nullptr)
        return FLAG_FALSE;
    if ((pDuplex->dwFlags & kDuplexBuiltIn) != 0)
        return FLAG_TRUE;
    const bool bInstalled = m_pInstallOption != nullptr && m_pInstallOption->CountInstalled(SPCID_DUPLEX, -1) > 0;
    return (pDuplex->dwFlags & kDuplexWithUnit) != 0 && bInstalled ? FLAG_TRUE : FLAG_FALSE;
}

WORD CMdUtil::AreRequirementsMet(DWORD dwMask, const tagREQMINIMUMS* pMinimums) const
{
    WORD answer = FLAG_TRUE;
    if ((dwMask & kRequiresDuplexUnit) != 0)
        answer = HasDuplexUnit() != 0 ? 1 : 0;
    // The two storages: a minimum total when the caller gives one, else the storage being there.
    struct Storage {
        DWORD dwRequires;
        DWORD dwMinimumGiven;
        DWORD tagREQMINIMUMS::*pMinimum;
        DWORD (CMdUtil::*pfnTotal)() const;
        WORD (CMdUtil::*pfnPresent)() const;
    };
    static const Storage kStorages[] = {
        {kRequiresCapability35, kMinimum35Given, &tagREQMINIMUMS::dwMin35, &CMdUtil::GetCapability35Total,
         &CMdUtil::HasCapability35},
        {kRequiresCapability36, kMinimum36Given, &tagREQMINIMUMS::dwMin36, &CMdUtil::GetCapability36Total,
         &CMdUtil::HasCapability36},
    };
    for (const Storage& storage : kStorages) {
        if ((dwMask & storage.dwRequires) == 0)
            continue;
        const bool bMet = pMinimums != nullptr && (pMinimums->dwFlags & storage.dwMinimumGiven) != 0
                              ? (this->*storage.pfnTotal)() >= pMinimums->*storage.pMinimum
                              : (this->*storage.pfnPresent)() != 0;
        answer = answer != 0 && bMet ? 1 : 0;
    }
    if ((dwMask & kRequiresFinisher) != 0)
        answer = answer != 0 && HasFinisher() != 0 ? 1 : 0;
    return answer;
}

WORD CMdUtil::IsFeatureAvailable(SHORT sCapId) const
{
    CPrinterInfo info(m_pHandle, sCapId, 0, 1);
    const tagFEATURERECORD* pFeature = info.First<tagFEATURERECORD>();
    if (pFeature == nullptr)
        return 0;
    return (pFeature->dwFlags & 0x1) != 0 && AreRequirementsMet(pFeature->dwRequirements, nullptr) != 0 ? 1 : 0;
}

WORD CMdUtil::IsCapability74Available() const { return IsFeatureAvailable(SPCID_JOBSPOOL3); }
WORD CMdUtil::IsCapability73Available() const { return IsFeatureAvailable(SPCID_JOBSPOOL2); }
WORD CMdUtil::IsCapability60Available() const { return IsFeatureAvailable(SPCID_JOBSPOOL1); }
WORD CMdUtil::IsCapability62Available() const { return IsFeatureAvailable(SPCID_JOBSPOOL5); }
WORD CMdUtil::IsCapability61Available() const { return IsFeatureAvailable(SPCID_JOBSPOOL4); }
WORD CMdUtil::IsCapability38Available() const { return IsFeatureAvailable(SPCID_PRINTFEATURES); }

WORD CMdUtil::IsDuplexModeAvailable(bool bSecond) const
{
    CPrinterInfo info(m_pHandle, SPCID_DUPLEX, 0, 1);
    const tagDUPLEXINFO* pDuplex = info.First<tagDUPLEXINFO>();
    if (pDuplex == nullptr || (pDuplex->dwFlags & (bSecond ? kDuplexMode2 : kDuplexMode1)) == 0)
        return 0;
    // Words at 4 and 8: each mode's requirement mask; at 12 and 16: its capability-36 minimum.
    tagREQMINIMUMS minimums = {kMinimum36Given, pDuplex->dwWords[bSecond ? 3 : 2], 0};
    return AreRequirementsMet(pDuplex->dwWords[bSecond ? 1 : 0], &minimums);
}

WORD CMdUtil::IsDuplexAvailable() const { return IsDuplexModeAvailable(false); }
WORD CMdUtil::IsDuplexAvailable2() const { return IsDuplexModeAvailable(true); }

WORD CMdUtil::IsCapability29Available() const
{
    CPrinterInfo info(m_pHandle, SPCID_BOOKLET, 0, 1);
    const tagBOOKLETINFO* pRecord = info.First<tagBOOKLETINFO>();
    if (pRecord == nullptr)
        return 0;
    const bool bOffered = (pRecord->dwFlags & 0x1) != 0;
    bool bAnswer = bOffered;
    if ((pRecord->dwConditions & 0x3) != 0)
        bAnswer = bOffered && (IsDuplexAvailable() != 0 || IsDuplexAvailable2() != 0);
    if ((pRecord->dwConditions & 0x4) != 0)
        bAnswer = bAnswer && IsCapability28Set() == 1;
    bAnswer = bAnswer && AreRequirementsMet(pRecord->dwRequirements, nullptr) != 0;
    return bAnswer ? 1 : 0;
}

WORD CMdUtil::IsSourceAvailable(SHORT sSourceId) const
{
    CPrinterInfo info(m_pHandle, SPCID_PAPERSOURCE, 0, 1);
    DWORD count = 0;
    const tagSPCIDVALUE* sources = info.Records<tagSPCIDVALUE>(&count);
    for (DWORD i = 0; i < count; i++) {
        if (sources[i].sId == sSourceId)
            return FLAG_TRUE;
    }
    const tagINSTALLENTRY* pEntry =
        m_pInstallOption != nullptr ? m_pInstallOption->Find(SPCID_SOURCEGROUP, sSourceId) : nullptr;
    return pEntry != nullptr && pEntry->lInstalled != 0 ? FLAG_TRUE : FLAG_FALSE;
}

WORD CMdUtil::InstallFinisher(SHORT sItem, SHORT sPuncherDefault, SHORT sStaplerDefault)
{
    tagINSTALLENTRY* pEntry = m_pInstallOption != nullptr ? m_pInstallOption->Find(SPCID_FINISHER, sItem) : nullptr;
    if (pEntry == nullptr)
        return FLAG_FALSE;
    // Installed (non-zero), with the puncher and stapler bits clear until the unit's record says
    // which parts it has: -1 alone would claim both for every finisher.
    pEntry->lInstalled = -1 & ~(kFinisherHasPuncher | kFinisherHasStapler);
    CPrinterInfo info(m_pHandle, SPCID_FINISHER, sItem, 3);
    DWORD count = 0;
    const tagFINISHERINFO* units = info.Records<tagFINISHERINFO>(&count);
    const tagFINISHERINFO* pUnit = nullptr;
    for (DWORD i = 0; i < count && pUnit == nullptr; i++) {
        if (static_cast<SHORT>(units[i].wId) == sItem)
            pUnit = &units[i];
    }
    if (pUnit == nullptr)
        return FLAG_FALSE;
    const auto present = [](WORD wPresence, SHORT sDefault) {
        if (wPresence == kPresenceYes)
            return true;
        if (wPresence == kPresenceNo)
            return false;
        return sDefault != 0;
    };
    if (present(pUnit->wPunchPresence, sPuncherDefault))
        pEntry->lInstalled |= kFinisherHasPuncher;
    if (present(pUnit->wStaplePresence, sStaplerDefault))
        pEntry->lInstalled |= kFinisherHasStapler;
    return FLAG_TRUE;
}
