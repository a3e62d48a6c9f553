// The paper, custom-class, media and source passes: each paper, custom class, medium and source
// of the model restricts, while it is selected, the media, sources and papers it lists, and
// whether pages per sheet, duplex, booklet, sorting, the duplex method, rotation and the quality
// modes are allowed with it.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PaperIds.h"

#include <cstddef>

namespace {

// Duplex flags: bit 0 duplex allowed with the first duplex method (dmDuplexOption 0), bit 1 with
// the second. Layout flags: bit 0 rotation allowed (sources), bit 1 booklet allowed, bit 3 pages
// per sheet forbidden.
constexpr DWORD kDuplexMethod0 = 0x1;
constexpr DWORD kDuplexMethod1 = 0x2;
constexpr DWORD kLayoutRotate = 0x1;
constexpr DWORD kLayoutBooklet = 0x2;
constexpr DWORD kLayoutNoNup = 0x8;

// What a paper, custom class, medium or source says about the settings tied to it.
struct TrayFlags {
    DWORD dwDuplex;
    DWORD dwSortBits;
    DWORD dwLayout;
};

// (K, V) allows the values of a counted list of a model record, no more than the list's slots.
template <size_t kSlots>
void AddList(CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue, const SHORT (&list)[kSlots], SHORT sCount)
{
    if (pItem != nullptr) {
        pItem->AddAllowedValues(sKey, lKeyValue, list, ListCount(sCount, kSlots));
    }
}

// A medium's or source's list A names the papers allowed with it, its list B the other tray item's
// values (the sources of a medium, the media of a source).
template <typename Tray> void AddTrayLists(CKinsokuList* pList, SHORT sKey, SHORT sListBItem, const Tray& tray)
{
    AddList(pList->GetLinkedItem(KINSOKU_ITEM_PAPER, sKey), sKey, tray.sId, tray.sListA, tray.sListACount);
    AddList(pList->GetLinkedItem(sListBItem, sKey), sKey, tray.sId, tray.sListB, tray.sListBCount);
}

// The rows every pass shares: pages per sheet, duplex, booklet, sort and the duplex method.
void AddFlagRules(CKinsokuList* pList, SHORT sKey, LONG lKeyValue, const TrayFlags& flags)
{
    if (CKinsokuItem* pNup = pList->GetLinkedItem(KINSOKU_ITEM_NUP, sKey)) {
        if ((flags.dwLayout & kLayoutNoNup) != 0) {
            pNup->AddAllowedValue(sKey, lKeyValue, 0);
        } else {
            pNup->SetAllowAll(sKey, lKeyValue);
        }
    }
    bool bDuplex = (flags.dwDuplex & (kDuplexMethod0 | kDuplexMethod1)) != 0;
    if (CKinsokuItem* pDuplex = pList->GetLinkedItem(KINSOKU_ITEM_DUPLEX, sKey)) {
        if (bDuplex) {
            pDuplex->SetAllowAll(sKey, lKeyValue);
        } else {
            pDuplex->AddAllowedValue(sKey, lKeyValue, 1);
        }
    }
    if (CKinsokuItem* pBooklet = pList->GetLinkedItem(KINSOKU_ITEM_BOOKLET, sKey)) {
        // A booklet is printed on both sides, so it needs duplex as well.
        if ((flags.dwLayout & kLayoutBooklet) != 0 && bDuplex) {
            pBooklet->SetAllowAll(sKey, lKeyValue);
        } else {
            pBooklet->AddAllowedValue(sKey, lKeyValue, 0);
        }
    }
    vAddSortBits(pList->GetLinkedItem(KINSOKU_ITEM_SORT, sKey), sKey, lKeyValue, flags.dwSortBits);
    if (CKinsokuItem* pMethod = pList->GetLinkedItem(KINSOKU_ITEM_DUPLEX_OPTION, sKey)) {
        if ((flags.dwDuplex & kDuplexMethod0) != 0) {
            pMethod->AddAllowedValue(sKey, lKeyValue, 0);
        }
        if ((flags.dwDuplex & kDuplexMethod1) != 0) {
            pMethod->AddAllowedValue(sKey, lKeyValue, 1);
        }
    }
}

// Key values without a record of their own allow no sort value.
void CloseSortRules(CKinsokuList* pList, SHORT sKey)
{
    if (CKinsokuItem* pSort = pList->GetLinkedItem(KINSOKU_ITEM_SORT, sKey)) {
        pSort->AddKeyAllowedValues(sKey, nullptr, 0);
    }
}

// Quality modes: every key value without an exclusion list allows all of them.
CKinsokuItem* OpenQualityRules(CKinsokuList* pList, SHORT sKey)
{
    CKinsokuItem* pQuality = pList->GetLinkedItem(KINSOKU_ITEM_QUALITY, sKey);
    if (pQuality != nullptr) {
        pQuality->SetKeyAllowAll(sKey, -1);
    }
    return pQuality;
}

void AddQualityExclusions(CKinsokuItem* pQuality, SHORT sKey, const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView)
{
    if (pQuality == nullptr) {
        return;
    }
    for (const tagSPCTAILLIST& entry : RuleRecords<tagSPCTAILLIST>(pHandle, sCapId, lView)) {
        vAllowAllButListed(pQuality, sKey, entry.sId, entry.sWords, static_cast<SHORT>(ListCount(entry.sCount, 4)));
    }
}

template <typename Tray> TrayFlags TrayFlagsOf(const Tray& record)
{
    // Media and source records: duplex flags +4, sort bits +8, layout flags +24.
    return {record.dwWords[0], record.dwWords[1], record.dwWords[5]};
}

// One source list (the model's sources or its source groups), in model order.
void SourceRules(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sCapId)
{
    for (const tagSOURCEINFO& source : RuleRecords<tagSOURCEINFO>(pHandle, sCapId, 3)) {
        const SHORT sId = source.sId;
        AddTrayLists(pList, KINSOKU_KEY_SOURCE, KINSOKU_ITEM_MEDIA, source);
        AddList(pList->GetLinkedItem(KINSOKU_ITEM_FRONT_COVER_MEDIA, KINSOKU_KEY_FRONT_COVER_SOURCE),
                KINSOKU_KEY_FRONT_COVER_SOURCE, sId, source.sListB, source.sListBCount);
        AddList(pList->GetLinkedItem(KINSOKU_ITEM_BACK_COVER_MEDIA, KINSOKU_KEY_BACK_COVER_SOURCE),
                KINSOKU_KEY_BACK_COVER_SOURCE, sId, source.sListB, source.sListBCount);
        TrayFlags flags = TrayFlagsOf(source);
        AddFlagRules(pList, KINSOKU_KEY_SOURCE, sId, flags);
        if (CKinsokuItem* pRotate = pList->GetLinkedItem(KINSOKU_ITEM_ROTATE, KINSOKU_KEY_SOURCE)) {
            if ((flags.dwLayout & kLayoutRotate) != 0) {
                pRotate->SetAllowAll(KINSOKU_KEY_SOURCE, sId);
            } else {
                pRotate->AddAllowedValue(KINSOKU_KEY_SOURCE, sId, 0);
            }
        }
    }
    CloseSortRules(pList, KINSOKU_KEY_SOURCE);
}

}  // namespace

void vKinsokuPaper(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    for (const tagPAPERINFO& paper : RuleRecords<tagPAPERINFO>(pHandle, SPCID_PAPERSIZE, 4)) {
        const SHORT sId = paper.sId;
        for (SHORT sItem : {KINSOKU_ITEM_MEDIA, KINSOKU_ITEM_FRONT_COVER_MEDIA, KINSOKU_ITEM_BACK_COVER_MEDIA}) {
            AddList(pList->GetLinkedItem(sItem, KINSOKU_KEY_PAPER_CLASS), KINSOKU_KEY_PAPER_CLASS, sId, paper.sListA,
                    paper.sListACount);
        }
        for (SHORT sItem : {KINSOKU_ITEM_SOURCE, KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE}) {
            AddList(pList->GetLinkedItem(sItem, KINSOKU_KEY_PAPER_CLASS), KINSOKU_KEY_PAPER_CLASS, sId, paper.sListB,
                    paper.sListBCount);
        }
        AddFlagRules(pList, KINSOKU_KEY_PAPER_CLASS, sId, {paper.dwDuplexFlags, paper.dwWord64, paper.dwLayoutFlags});
    }
    CloseSortRules(pList, KINSOKU_KEY_PAPER_CLASS);
    AddQualityExclusions(OpenQualityRules(pList, KINSOKU_KEY_PAPER_CLASS), KINSOKU_KEY_PAPER_CLASS, pHandle,
                         SPCID_PAPERSIZE, 9);
}

void vKinsokuCustomPaper(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sClass)
{
    const SHORT sCapId = CustomClassCapability(sClass);
    tagCUSTOMLIMITS limits;
    if (pList == nullptr || sCapId == 0 || !ReadRuleRecord(pHandle, sCapId, 1, &limits)) {
        return;
    }
    if (pList->GetLinkedItem(KINSOKU_ITEM_MEDIA, KINSOKU_KEY_PAPER_CLASS) != nullptr) {
        for (SHORT sItem : {KINSOKU_ITEM_MEDIA, KINSOKU_ITEM_FRONT_COVER_MEDIA, KINSOKU_ITEM_BACK_COVER_MEDIA}) {
            AddList(pList->GetLinkedItem(sItem, KINSOKU_KEY_PAPER_CLASS), KINSOKU_KEY_PAPER_CLASS, sClass,
                    limits.sListA, limits.sListACount);
        }
    }
    if (pList->GetLinkedItem(KINSOKU_ITEM_SOURCE, KINSOKU_KEY_PAPER_CLASS) != nullptr) {
        for (SHORT sItem : {KINSOKU_ITEM_SOURCE, KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE}) {
            AddList(pList->GetLinkedItem(sItem, KINSOKU_KEY_PAPER_CLASS), KINSOKU_KEY_PAPER_CLASS, sClass,
                    limits.sListB, limits.sListBCount);
        }
    }
    // Custom limits: duplex flags +36, sort bits +40, layout flags +56.
    AddFlagRules(pList, KINSOKU_KEY_PAPER_CLASS, sClass, {limits.dwWord68, limits.dwWord72, limits.dwWord88});
    CloseSortRules(pList, KINSOKU_KEY_PAPER_CLASS);
    // Only the custom size and long paper carry quality exclusion lists.
    CKinsokuItem* pQuality = pList->GetLinkedItem(KINSOKU_ITEM_QUALITY, KINSOKU_KEY_PAPER_CLASS);
    if (pQuality != nullptr && (sClass == kPaperClassCustom || sClass == kPaperClassLong)) {
        for (const tagCUSTOMLIST& entry : RuleRecords<tagCUSTOMLIST>(pHandle, sCapId, 4)) {
            vAllowAllButListed(pQuality, KINSOKU_KEY_PAPER_CLASS, sClass, entry.sWords,
                               static_cast<SHORT>(ListCount(entry.sCount, 4)));
        }
    }
}

void vKinsokuMedia(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // Cover sources follow the cover medium only while a cover is printed on it: the cover-media
    // keys carry the cover-file flag in their high half.
    struct CoverSource {
        SHORT sItem;
        SHORT sKey;
    };
    const CoverSource kCoverSources[] = {{KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_KEY_FRONT_COVER_MEDIA},
                                         {KINSOKU_ITEM_BACK_COVER_SOURCE, KINSOKU_KEY_BACK_COVER_MEDIA}};
    for (const CoverSource& cover : kCoverSources) {
        if (CKinsokuItem* pItem = pList->GetLinkedItem(cover.sItem, cover.sKey)) {
            pItem->SetKeyAllowAll(cover.sKey, -1);
        }
    }
    for (const tagMEDIAINFO& media : RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3)) {
        const SHORT sId = media.sId;
        AddTrayLists(pList, KINSOKU_KEY_MEDIA, KINSOKU_ITEM_SOURCE, media);
        for (const CoverSource& cover : kCoverSources) {
            AddList(pList->GetLinkedItem(cover.sItem, cover.sKey), cover.sKey, 0x10000 + sId, media.sListB,
                    media.sListBCount);
        }
        AddFlagRules(pList, KINSOKU_KEY_MEDIA, sId, TrayFlagsOf(media));
    }
    CloseSortRules(pList, KINSOKU_KEY_MEDIA);
    AddQualityExclusions(OpenQualityRules(pList, KINSOKU_KEY_MEDIA), KINSOKU_KEY_MEDIA, pHandle, SPCID_MEDIATYPE, 6);
}

void vKinsokuSource(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    SourceRules(pHandle, pList, SPCID_PAPERSOURCE);
    SourceRules(pHandle, pList, SPCID_SOURCEGROUP);
    CKinsokuItem* pQuality = OpenQualityRules(pList, KINSOKU_KEY_SOURCE);
    AddQualityExclusions(pQuality, KINSOKU_KEY_SOURCE, pHandle, SPCID_PAPERSOURCE, 5);
    AddQualityExclusions(pQuality, KINSOKU_KEY_SOURCE, pHandle, SPCID_SOURCEGROUP, 5);
}
