// Revising a settings record by the installed options: what the printer as installed cannot do is
// switched off or back to a value it can.
#include "core/kinsoku/MdUtilM2.h"

#include "core/codec/FinishingMaps.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/LayoutRules.h"

namespace {

constexpr SHORT kNoFinisherItem = 99;  // the standard output tray
constexpr SHORT kSourceAuto = 7;  // where a source that is no longer there goes
constexpr SHORT kOneSided = 1;
constexpr WORD kBookletBit = 0x2;
constexpr DWORD kDriverCopiesSelectable = 0x4;  // capability 38 flags

// Index of the summary words behind dmInstalledDuplex.
constexpr int kSummaryFinisherItem = 0;  // record offset 990
constexpr int kSummarySources = 3;  // record offset 996

void SetDeptCodeBit(PRIVDM& priv, const CInstallOption& options)
{
    if (options.CountInCategory(SPCID_DEPTCODE, -1) == 0) {
        return;
    }
    priv.dmUseDeptCode =
        static_cast<WORD>((priv.dmUseDeptCode & ~1u) | (options.CountInstalled(SPCID_DEPTCODE, -1) != 0 ? 1u : 0u));
}

}  // namespace

CMdUtilM2::CMdUtilM2(const tagMODELHANDLE* pHandle, CInstallOption* pInstallOption) : CMdUtil(pHandle, pInstallOption)
{
}

CMdUtilM2::~CMdUtilM2() = default;

bool CMdUtilM2::IsAnyDuplexAvailable() const
{
    return IsDuplexAvailable() != 0 || IsDuplexAvailable2() != 0;
}

SHORT CMdUtilM2::FixDefaultDevmode(DRVDEVMODE* pdm)
{
    CInstallOption* pOptions = m_pInstallOption;
    if (pOptions == nullptr || pdm == nullptr) {
        return 0;
    }
    PRIVDM& priv = pdm->priv;
    if ((priv.dmFieldsExtra1 & DMX1_DUPLEX_OPTION) != 0) {
        priv.dmDuplexOption = IsDuplexAvailable() != 0 ? 0 : 1;
    }
    if ((priv.dmFieldsExtra1 & DMX1_ALWAYS_8000) != 0) {
        priv.dmCopiesByDriver = IsCapability38Available() != 0 ? 0 : 1;
    }
    SetDeptCodeBit(priv, *pOptions);
    if (pOptions->CountInstalled(SPCID_FINISHER, -1) != 0) {
        const tagINSTALLENTRY* pFinisher = pOptions->FirstInstalled(SPCID_FINISHER, 0);
        tagFINISHERINFO info;
        if (pFinisher != nullptr && ReadRuleRecord(m_pHandle, SPCID_FINISHER, 3, &info, pFinisher->sItemId)) {
            priv.dmFinisher = ModelIdToFinisher(info.wModeListWord);
        }
    }
    return -1;
}

SHORT CMdUtilM2::ReviseDevmodeByOptions(tagREVISEINFO* /*pRevise*/, DRVDEVMODE* pdm)
{
    CInstallOption* pOptions = m_pInstallOption;
    if (pOptions == nullptr || pdm == nullptr) {
        return 0;
    }
    const tagMODELHANDLE* pHandle = m_pHandle;
    DEVMODE& dm = pdm->dm;
    PRIVDM& priv = pdm->priv;
    const WORD wDuplexUnits = static_cast<WORD>(pOptions->CountInstalled(SPCID_DUPLEX, -1));

    // 1. Duplex method: the second method while the first is not available; back to the first
    //    once, when a duplex unit has just been installed.
    if ((priv.dmFieldsExtra1 & DMX1_DUPLEX_OPTION) != 0) {
        const bool bFirst = IsDuplexAvailable() != 0;
        if (priv.dmDuplexOption == 0 && !bFirst) {
            priv.dmDuplexOption = 1;
        }
        if (priv.dmDuplexOption != 0 && bFirst && priv.dmInstalledDuplex == 0 && wDuplexUnits != 0) {
            priv.dmDuplexOption = 0;
        }
        priv.dmInstalledDuplex = wDuplexUnits;
    }
    // 2. Duplex: one-sided when neither mode is available.
    if ((dm.dmFields & DM_DUPLEX) != 0 && !IsAnyDuplexAvailable()) {
        dm.dmDuplex = kOneSided;
        priv.dmExtraFlag &= ~1u;
    }
    // 3. Booklet.
    if ((priv.dmFieldsExtra2 & DMX2_BOOKLET) != 0 && (priv.dmLayoutPrint & kBookletBit) != 0 &&
        IsCapability29Available() == 0) {
        priv.dmLayoutPrint = static_cast<WORD>(priv.dmLayoutPrint & ~kBookletBit);
        SyncOutputPaperMode(pdm);
    }
    // 4. Sources that are not installed become automatic selection.
    if ((dm.dmFields & DM_DEFAULTSOURCE) != 0 && IsSourceAvailable(dm.dmDefaultSource) == 0) {
        dm.dmDefaultSource = kSourceAuto;
    }
    if ((priv.dmFieldsExtra1 & DMX1_FRONT_COVER) != 0 && IsSourceAvailable(priv.dmFrontCoverSource) == 0) {
        priv.dmFrontCoverSource = kSourceAuto;
    }
    if ((priv.dmFieldsExtra1 & DMX1_BACK_COVER) != 0 && IsSourceAvailable(priv.dmBackCoverSource) == 0) {
        priv.dmBackCoverSource = kSourceAuto;
    }
    // 5. Job kinds the printer as installed does not offer become a normal job (secure print, 6,
    //    is decided elsewhere).
    struct JobKind {
        WORD wValue;
        DWORD dwField;
        WORD (CMdUtil::*pfnAvailable)() const;
    };
    const JobKind kJobKinds[] = {
        {2, DMX1_JOBKIND2, &CMdUtil::IsCapability73Available}, {3, DMX1_JOBKIND3, &CMdUtil::IsCapability74Available},
        {1, DMX1_JOBKIND1, &CMdUtil::IsCapability60Available}, {4, DMX1_JOBKIND4, &CMdUtil::IsCapability61Available},
        {5, DMX1_JOBKIND5, &CMdUtil::IsCapability62Available},
    };
    for (const JobKind& kind : kJobKinds) {
        if (priv.dmJobSpool == kind.wValue && (priv.dmFieldsExtra1 & kind.dwField) != 0 &&
            (this->*kind.pfnAvailable)() == 0) {
            priv.dmJobSpool = 0;
            break;
        }
    }
    // 6. Department code.
    SetDeptCodeBit(priv, *pOptions);
    // 7. Driver copies, unless the model lets the user choose them freely.
    tagFEATURERECORD copies;
    if (!ReadRuleRecord(pHandle, SPCID_PRINTFEATURES, 1, &copies) || (copies.dwFlags & kDriverCopiesSelectable) == 0) {
        if (priv.dmCopiesByDriver != 0 && IsCapability38Available() != 0) {
            priv.dmCopiesByDriver = 0;
        }
        priv.dmInstalledValue35 = GetCapability35Total();
    }
    // 8. Finishing: punch, staple and finisher values the installed finisher does not offer.
    const tagINSTALLENTRY* pFinisher = pOptions->FirstInstalled(SPCID_FINISHER, 0);
    const SHORT sFinisherItem = pFinisher != nullptr ? pFinisher->sItemId : kNoFinisherItem;
    if (priv.dmPunch != 0) {
        bool bKeep = false;
        if (pFinisher != nullptr && (pFinisher->lInstalled & kFinisherHasPuncher) != 0) {
            for (const tagFINISHERPUNCH& punch :
                 RuleRecords<tagFINISHERPUNCH>(pHandle, SPCID_FINISHER, 4, sFinisherItem)) {
                bKeep = bKeep || ModelIdToPunch(punch.wId) == priv.dmPunch;
            }
        }
        if (!bKeep) {
            priv.dmPunch = 0;
        }
    }
    if (priv.dmStaple != 0) {
        bool bKeep = false;
        if (pFinisher != nullptr && (pFinisher->lInstalled & kFinisherHasStapler) != 0) {
            for (const tagFINISHERPUNCH& staple :
                 RuleRecords<tagFINISHERPUNCH>(pHandle, SPCID_FINISHER, 5, sFinisherItem)) {
                bKeep = bKeep || ModelIdToStaple(staple.wId) == priv.dmStaple;
            }
        }
        if (!bKeep) {
            priv.dmStaple = 0;
        }
    }
    if (priv.dmFinisher != 0) {
        bool bKeep = false;
        if (pFinisher != nullptr) {
            for (const tagFINISHMODEINFO& mode :
                 RuleRecords<tagFINISHMODEINFO>(pHandle, SPCID_FINISHER, 6, sFinisherItem)) {
                bKeep = bKeep || ModelIdToFinisher(mode.wModeId) == priv.dmFinisher;
            }
        }
        if (!bKeep) {
            priv.dmFinisher = 0;
        }
    }
    // 9. The installed-option summary the filter and the settings program read back.
    priv.dmInstalledSummary[kSummarySources] = static_cast<WORD>(pOptions->CountInstalled(SPCID_SOURCEGROUP, -1));
    priv.dmInstalledSummary[kSummaryFinisherItem] = static_cast<WORD>(sFinisherItem);
    if ((priv.dmFieldsExtra2 & DMX2_INSTALLED998) != 0) {
        priv.dmInstalledValue998 = static_cast<WORD>(pOptions->GetExtraValue());
    }
    return -1;
}
