// Rules that depend on the installed options, hung on key 204 (always 0) so that they hold
// whatever else is set: the installed sources, duplex and booklet with or without the duplex
// unit, the quality modes the installed memory allows and driver copies.
#include "core/kinsoku/MdUtilM2.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/LayoutRules.h"

namespace {

constexpr SHORT kKeyAlways = 204;
constexpr SHORT kKeyPaperClass = 205;
constexpr SHORT kKeyCopies = 210;
constexpr SHORT kKeyMedia = 208;
constexpr SHORT kKeySource = 209;

constexpr SHORT kItemSource = 3;
constexpr SHORT kItemBooklet = 10;
constexpr SHORT kItemFrontCoverFile = 17;
constexpr SHORT kItemDuplexOption = 21;
constexpr SHORT kItemDuplex = 22;
constexpr SHORT kItemCopiesByDriver = 23;
constexpr SHORT kItemFirstPageSource = 26;
constexpr SHORT kItemFrontCoverSource = 28;
constexpr SHORT kItemBackCoverSource = 30;
constexpr SHORT kItemQuality = 34;

constexpr DWORD kLayoutBooklet = 0x2;

}  // namespace

SHORT CMdUtilM2::BuildOptionConstraints(CKinsokuList* pList)
{
    if (pList == nullptr) {
        return 0;
    }
    // Whatever an earlier run hung on key 204 goes first, so the rules follow the options as
    // installed now.
    pList->RemoveKey(kKeyAlways);
    vOptionSourceKinsoku(pList);
    vOptionBookletKinsoku(pList);
    vOptionDuplexKinsoku(pList);
    vOptionQualityKinsoku(pList);
    vOptionCopiesKinsoku(pList);
    vOptionFinisherKinsoku(pList);
    pList->ApplyKeyValue(kKeyAlways, 0);
    return -1;
}

void CMdUtilM2::vOptionSourceKinsoku(CKinsokuList* pList)
{
    if (IsOptionBit0Set(SPCID_SOURCEGROUP) == 0) {
        return;
    }
    std::vector<tagSOURCEINFO> sources = RuleRecords<tagSOURCEINFO>(m_pHandle, SPCID_PAPERSOURCE, 3);
    std::vector<tagSOURCEINFO> groups = RuleRecords<tagSOURCEINFO>(m_pHandle, SPCID_SOURCEGROUP, 3);
    for (SHORT sItem : {kItemSource, kItemFrontCoverSource, kItemBackCoverSource, kItemFirstPageSource}) {
        CKinsokuItem* pItem = pList->GetItem(sItem);
        if (pItem == nullptr) {
            continue;
        }
        pList->AddLink(kKeyAlways, sItem);
        // The model's own sources are always there; those of source groups when installed.
        for (const tagSOURCEINFO& source : sources) {
            pItem->AddAllowedValue(kKeyAlways, 0, source.sId);
        }
        for (const tagSOURCEINFO& group : groups) {
            if (IsSourceAvailable(group.sId) != 0) {
                pItem->AddAllowedValue(kKeyAlways, 0, group.sId);
            }
        }
    }
}

void CMdUtilM2::vOptionBookletKinsoku(CKinsokuList* pList)
{
    const bool bDuplex1 = IsDuplexAvailable() != 0;
    const bool bDuplex2 = IsDuplexAvailable2() != 0;
    if (IsOptionBit0Set(SPCID_DUPLEX) != 0) {
        pList->AddLink(kKeyAlways, kItemBooklet);
        if (CKinsokuItem* pItem = pList->GetItem(kItemBooklet)) {
            if (bDuplex1 || bDuplex2) {
                pItem->SetAllowAll(kKeyAlways, 0);
            } else {
                pItem->AddAllowedValue(kKeyAlways, 0, 0);
            }
        }
    }
    CKinsokuItem* pItem = pList->GetItem(kItemBooklet);
    if (pItem == nullptr) {
        return;
    }
    // The model's booklet rules assumed every duplex mode; rebuild them for the modes the
    // printer as installed has.
    for (SHORT sKey : {kKeyPaperClass, kKeyMedia, kKeySource}) {
        pItem->RemoveKey(sKey);
    }
    auto rule = [&](SHORT sKey, LONG lKeyValue, DWORD dwLayout, DWORD dwDuplex) {
        const bool bDuplex = ((dwDuplex & 0x1) != 0 && bDuplex1) || ((dwDuplex & 0x2) != 0 && bDuplex2);
        if ((dwLayout & kLayoutBooklet) != 0 && bDuplex) {
            pItem->SetAllowAll(sKey, lKeyValue);
        } else {
            pItem->AddAllowedValue(sKey, lKeyValue, 0);
        }
    };
    const tagMODELHANDLE* pHandle = m_pHandle;
    for (const tagPAPERINFO& paper : RuleRecords<tagPAPERINFO>(pHandle, SPCID_PAPERSIZE, 4)) {
        rule(kKeyPaperClass, paper.sId, paper.dwLayoutFlags, paper.dwDuplexFlags);
    }
    for (const tagMEDIAINFO& media : RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3)) {
        rule(kKeyMedia, media.sId, media.dwWords[5], media.dwWords[0]);
    }
    for (SHORT sCapId : {SPCID_PAPERSOURCE, SPCID_SOURCEGROUP}) {
        for (const tagSOURCEINFO& source : RuleRecords<tagSOURCEINFO>(pHandle, sCapId, 3)) {
            rule(kKeySource, source.sId, source.dwWords[5], source.dwWords[0]);
        }
    }
    struct ClassCapability {
        SHORT sClass;
        SHORT sCapId;
    };
    const ClassCapability kClasses[] = {{456, SPCID_CUSTOMSIZE},
                                        {457, SPCID_CUSTOMLONG},
                                        {458, SPCID_CUSTOMCLASS1},
                                        {459, SPCID_CUSTOMCLASS2}};
    for (const ClassCapability& entry : kClasses) {
        tagCUSTOMLIMITS limits;
        if (ReadRuleRecord(pHandle, entry.sCapId, 1, &limits)) {
            rule(kKeyPaperClass, entry.sClass, limits.dwWord88, limits.dwWord68);
        }
    }
}

void CMdUtilM2::vOptionDuplexKinsoku(CKinsokuList* pList)
{
    if (IsOptionBit0Set(SPCID_DUPLEX) == 0) {
        return;
    }
    const bool bDuplex1 = IsDuplexAvailable() != 0;
    const bool bDuplex2 = IsDuplexAvailable2() != 0;
    pList->AddLink(kKeyAlways, kItemDuplex);
    if (CKinsokuItem* pDuplex = pList->GetItem(kItemDuplex)) {
        pDuplex->AddAllowedValue(kKeyAlways, 0, 1);
        if (bDuplex1 || bDuplex2) {
            pDuplex->AddAllowedValue(kKeyAlways, 0, 2);
            pDuplex->AddAllowedValue(kKeyAlways, 0, 3);
        }
    }
    if (pList->IsItemActive(kItemDuplexOption) == 0) {
        return;
    }
    pList->AddLink(kKeyAlways, kItemDuplexOption);
    if (CKinsokuItem* pMethod = pList->GetItem(kItemDuplexOption)) {
        if (bDuplex1) {
            pMethod->AddAllowedValue(kKeyAlways, 0, 0);
        }
        if (bDuplex2) {
            pMethod->AddAllowedValue(kKeyAlways, 0, 1);
        }
    }
}

void CMdUtilM2::vOptionQualityKinsoku(CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetItem(kItemQuality);
    std::vector<tagSPCRESOLUTION> entries = RuleRecords<tagSPCRESOLUTION>(m_pHandle, SPCID_RESOLUTION, 1);
    if (pItem == nullptr || entries.empty()) {
        return;
    }
    pList->AddLink(kKeyAlways, kItemQuality);
    // Each quality mode names the memory it needs (+28).
    const DWORD dwMemory = GetCapability36Total();
    for (const tagSPCRESOLUTION& entry : entries) {
        if (entry.dwWord6 <= dwMemory) {
            pItem->AddAllowedValue(kKeyAlways, 0, MapQualityValue(entry.sMode));
        }
    }
}

void CMdUtilM2::vOptionCopiesKinsoku(CKinsokuList* pList)
{
    const bool bPrinterCopies = IsCapability38Available() != 0;
    if (CKinsokuItem* pItem = pList->GetItem(kItemCopiesByDriver)) {
        pList->AddLink(kKeyAlways, kItemCopiesByDriver);
        pItem->AddAllowedValue(kKeyAlways, 0, 1);
        if (bPrinterCopies) {
            pItem->AddAllowedValue(kKeyAlways, 0, 0);
        }
    }
    if (CKinsokuItem* pItem = pList->GetItem(kItemFrontCoverFile)) {
        pItem->SetKeyAllowAll(kKeyCopies, bPrinterCopies ? -1 : 0);
    }
}
