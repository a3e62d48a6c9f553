// Rules that depend on the installed options, hung on key 204 (always 0) so that they hold
// whatever else is set: the installed sources, duplex and booklet with or without the duplex
// unit, the quality modes the installed memory allows and driver copies.
#include "core/kinsoku/MdUtilM2.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperIds.h"

namespace {

constexpr DWORD kLayoutBooklet = 0x2;

}  // namespace

SHORT CMdUtilM2::BuildOptionConstraints(CKinsokuList* pList)
{
    if (pList == nullptr) {
        return 0;
    }
    // Whatever an earlier run hung on key 204 goes first, so the rules follow the options as
    // installed now.
    pList->RemoveKey(KINSOKU_KEY_ALWAYS);
    vOptionSourceKinsoku(pList);
    vOptionBookletKinsoku(pList);
    vOptionDuplexKinsoku(pList);
    vOptionQualityKinsoku(pList);
    vOptionCopiesKinsoku(pList);
    vOptionFinisherKinsoku(pList);
    pList->ApplyKeyValue(KINSOKU_KEY_ALWAYS, 0);
    return -1;
}

void CMdUtilM2::vOptionSourceKinsoku(CKinsokuList* pList)
{
    if (IsOptionBit0Set(SPCID_SOURCEGROUP) == 0) {
        return;
    }
    std::vector<tagSOURCEINFO> sources = RuleRecords<tagSOURCEINFO>(m_pHandle, SPCID_PAPERSOURCE, 3);
    std::vector<tagSOURCEINFO> groups = RuleRecords<tagSOURCEINFO>(m_pHandle, SPCID_SOURCEGROUP, 3);
    for (SHORT sItem : {KINSOKU_ITEM_SOURCE, KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE,
                        KINSOKU_ITEM_FIRST_PAGE_SOURCE}) {
        CKinsokuItem* pItem = pList->GetItem(sItem);
        if (pItem == nullptr) {
            continue;
        }
        pList->AddLink(KINSOKU_KEY_ALWAYS, sItem);
        // The model's own sources are always there; those of source groups when installed.
        for (const tagSOURCEINFO& source : sources) {
            pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, source.sId);
        }
        for (const tagSOURCEINFO& group : groups) {
            if (IsSourceAvailable(group.sId) != 0) {
                pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, group.sId);
            }
        }
    }
}

void CMdUtilM2::vOptionBookletKinsoku(CKinsokuList* pList)
{
    const bool bDuplex1 = IsDuplexAvailable() != 0;
    const bool bDuplex2 = IsDuplexAvailable2() != 0;
    if (IsOptionBit0Set(SPCID_DUPLEX) != 0) {
        pList->AddLink(KINSOKU_KEY_ALWAYS, KINSOKU_ITEM_BOOKLET);
        if (CKinsokuItem* pItem = pList->GetItem(KINSOKU_ITEM_BOOKLET)) {
            if (bDuplex1 || bDuplex2) {
                pItem->SetAllowAll(KINSOKU_KEY_ALWAYS, 0);
            } else {
                pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 0);
            }
        }
    }
    CKinsokuItem* pItem = pList->GetItem(KINSOKU_ITEM_BOOKLET);
    if (pItem == nullptr) {
        return;
    }
    // The model's booklet rules assumed every duplex mode; rebuild them for the modes the
    // printer as installed has.
    for (SHORT sKey : {KINSOKU_KEY_PAPER_CLASS, KINSOKU_KEY_MEDIA, KINSOKU_KEY_SOURCE}) {
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
        rule(KINSOKU_KEY_PAPER_CLASS, paper.sId, paper.dwLayoutFlags, paper.dwDuplexFlags);
    }
    for (const tagMEDIAINFO& media : RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3)) {
        rule(KINSOKU_KEY_MEDIA, media.sId, media.dwWords[5], media.dwWords[0]);
    }
    for (SHORT sCapId : {SPCID_PAPERSOURCE, SPCID_SOURCEGROUP}) {
        for (const tagSOURCEINFO& source : RuleRecords<tagSOURCEINFO>(pHandle, sCapId, 3)) {
            rule(KINSOKU_KEY_SOURCE, source.sId, source.dwWords[5], source.dwWords[0]);
        }
    }
    for (SHORT sClass = kPaperClassCustom; sClass <= kPaperClassCustom2; ++sClass) {
        tagCUSTOMLIMITS limits;
        if (ReadRuleRecord(pHandle, CustomClassCapability(sClass), 1, &limits)) {
            rule(KINSOKU_KEY_PAPER_CLASS, sClass, limits.dwWord88, limits.dwWord68);
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
    pList->AddLink(KINSOKU_KEY_ALWAYS, KINSOKU_ITEM_DUPLEX);
    if (CKinsokuItem* pDuplex = pList->GetItem(KINSOKU_ITEM_DUPLEX)) {
        pDuplex->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 1);
        if (bDuplex1 || bDuplex2) {
            pDuplex->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 2);
            pDuplex->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 3);
        }
    }
    if (pList->IsItemActive(KINSOKU_ITEM_DUPLEX_OPTION) == 0) {
        return;
    }
    pList->AddLink(KINSOKU_KEY_ALWAYS, KINSOKU_ITEM_DUPLEX_OPTION);
    if (CKinsokuItem* pMethod = pList->GetItem(KINSOKU_ITEM_DUPLEX_OPTION)) {
        if (bDuplex1) {
            pMethod->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 0);
        }
        if (bDuplex2) {
            pMethod->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 1);
        }
    }
}

void CMdUtilM2::vOptionQualityKinsoku(CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetItem(KINSOKU_ITEM_QUALITY);
    std::vector<tagSPCRESOLUTION> entries = RuleRecords<tagSPCRESOLUTION>(m_pHandle, SPCID_RESOLUTION, 1);
    if (pItem == nullptr || entries.empty()) {
        return;
    }
    pList->AddLink(KINSOKU_KEY_ALWAYS, KINSOKU_ITEM_QUALITY);
    // Each quality mode names the memory it needs (+28).
    const DWORD dwMemory = GetCapability36Total();
    for (const tagSPCRESOLUTION& entry : entries) {
        if (entry.dwWord6 <= dwMemory) {
            pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, MapQualityValue(entry.sMode));
        }
    }
}

void CMdUtilM2::vOptionCopiesKinsoku(CKinsokuList* pList)
{
    const bool bPrinterCopies = IsCapability38Available() != 0;
    if (CKinsokuItem* pItem = pList->GetItem(KINSOKU_ITEM_COPIES_BY_DRIVER)) {
        pList->AddLink(KINSOKU_KEY_ALWAYS, KINSOKU_ITEM_COPIES_BY_DRIVER);
        pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 1);
        if (bPrinterCopies) {
            pItem->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, 0);
        }
    }
    if (CKinsokuItem* pItem = pList->GetItem(KINSOKU_ITEM_FRONT_COVER_FILE)) {
        pItem->SetKeyAllowAll(KINSOKU_KEY_COPIES, bPrinterCopies ? -1 : 0);
    }
}
