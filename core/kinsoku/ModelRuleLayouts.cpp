// The layout, duplex, cover and mode passes: what booklet, poster, pages per sheet, the duplex
// mode, covers, collation, the print mode, the halftone, the colour mode, the job kind and the
// sort mode allow of the other settings.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"

#include <initializer_list>

namespace {

// Key values: the layout bits of dmLayoutPrint and the duplex modes.
constexpr LONG kBookletOn = 2;
constexpr LONG kPosterOn = 4;
constexpr LONG kNupOn = 1;
constexpr LONG kOneSided = 1;
constexpr LONG kLongEdge = 2;
constexpr LONG kShortEdge = 3;

// The blank-page item's second value: the 16-bit -1 read unsigned.
constexpr LONG kBlankPageAll = 65535;

// Each item: while the key has the key value only the listed values; any other key value leaves
// the item free.
void OnlyWhile(CKinsokuList* pList, SHORT sKey, LONG lKeyValue, SHORT sItem, std::initializer_list<LONG> values)
{
    CKinsokuItem* pItem = pList->GetLinkedItem(sItem, sKey);
    if (pItem == nullptr) {
        return;
    }
    for (LONG lValue : values) {
        pItem->AddAllowedValue(sKey, lKeyValue, lValue);
    }
    pItem->SetKeyAllowAll(sKey, -1);
}

// Layout items that a layout switches off (collation, which it switches on, aside).
void OffWhile(CKinsokuList* pList, SHORT sKey, LONG lKeyValue, std::initializer_list<SHORT> items)
{
    for (SHORT sItem : items) {
        OnlyWhile(pList, sKey, lKeyValue, sItem, {sItem == KINSOKU_ITEM_COLLATE ? 1 : 0});
    }
}

// Cover media (27, 29) over the model's media, or cover sources (28, 30) over one source list:
// the tray ids each duplex setting allows, by the record's duplex flags (+4).
template <typename Tray>
void CoverTrayRules(CKinsokuList* pList, SHORT sKey, const std::vector<Tray>& trays, SHORT sFront, SHORT sBack,
                    bool bByMethod)
{
    if (pList->GetLinkedItem(sFront, sKey) == nullptr && pList->GetLinkedItem(sBack, sKey) == nullptr) {
        return;
    }
    for (SHORT sItem : {sFront, sBack}) {
        CKinsokuItem* pItem = pList->GetLinkedItem(sItem, sKey);
        if (pItem == nullptr) {
            continue;
        }
        for (const Tray& tray : trays) {
            const DWORD dwDuplex = tray.dwWords[0];
            if (!bByMethod) {
                // Key 225: the duplex mode alone.
                pItem->AddAllowedValue(sKey, kOneSided, tray.sId);
                if ((dwDuplex & 0x3) != 0) {
                    pItem->AddAllowedValue(sKey, kLongEdge, tray.sId);
                    pItem->AddAllowedValue(sKey, kShortEdge, tray.sId);
                }
                continue;
            }
            // Key 235: the duplex mode in the high half, the duplex method in the low half.
            pItem->AddAllowedValue(sKey, 0x10000, tray.sId);
            if ((dwDuplex & 0x1) != 0) {
                pItem->AddAllowedValue(sKey, 0x20000, tray.sId);
                pItem->AddAllowedValue(sKey, 0x30000, tray.sId);
            }
            pItem->AddAllowedValue(sKey, 0x10001, tray.sId);
            if ((dwDuplex & 0x2) != 0) {
                pItem->AddAllowedValue(sKey, 0x20001, tray.sId);
                pItem->AddAllowedValue(sKey, 0x30001, tray.sId);
            }
        }
    }
}

void AllCoverTrayRules(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sKey, bool bByMethod)
{
    CoverTrayRules(pList, sKey, RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3), KINSOKU_ITEM_FRONT_COVER_MEDIA,
                   KINSOKU_ITEM_BACK_COVER_MEDIA, bByMethod);
    CoverTrayRules(pList, sKey, RuleRecords<tagSOURCEINFO>(pHandle, SPCID_PAPERSOURCE, 3),
                   KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE, bByMethod);
    CoverTrayRules(pList, sKey, RuleRecords<tagSOURCEINFO>(pHandle, SPCID_SOURCEGROUP, 3),
                   KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE, bByMethod);
}

}  // namespace

void vKinsokuBooklet(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    tagBOOKLETINFO booklet;
    if (ReadRuleRecord(pHandle, SPCID_BOOKLET, 1, &booklet)) {
        OnlyWhile(pList, KINSOKU_KEY_BOOKLET, kBookletOn, KINSOKU_ITEM_DUPLEX,
                  {(booklet.dwConditions & 0x1) != 0 ? kShortEdge : kLongEdge});
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(KINSOKU_ITEM_REVERSE_ORDER, KINSOKU_KEY_BOOKLET)) {
            if ((booklet.dwFlags & 0x8) != 0) {
                pReverse->AddAllowedValue(KINSOKU_KEY_BOOKLET, kBookletOn, 0);
            }
            pReverse->SetKeyAllowAll(KINSOKU_KEY_BOOKLET, -1);
        }
        if (CKinsokuItem* pSort = pList->GetLinkedItem(KINSOKU_ITEM_SORT, KINSOKU_KEY_BOOKLET)) {
            vAddSortBits(pSort, KINSOKU_KEY_BOOKLET, kBookletOn, booklet.dwSortBits);
            pSort->SetKeyAllowAll(KINSOKU_KEY_BOOKLET, -1);
        }
    }
    OffWhile(pList, KINSOKU_KEY_BOOKLET, kBookletOn,
             {KINSOKU_ITEM_BACK_COVER, KINSOKU_ITEM_DUPLEX_MARGIN, KINSOKU_ITEM_COLLATE, KINSOKU_ITEM_MIRROR,
              KINSOKU_ITEM_SKIP_BLANK, KINSOKU_ITEM_40});
}

void vKinsokuPoster(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    OnlyWhile(pList, KINSOKU_KEY_POSTER, kPosterOn, KINSOKU_ITEM_DUPLEX, {kOneSided});
    tagFLAGWORD poster;
    if (ReadRuleRecord(pHandle, SPCID_POSTER, 1, &poster)) {
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(KINSOKU_ITEM_REVERSE_ORDER, KINSOKU_KEY_POSTER)) {
            if ((poster.dwFlags & 0x4) != 0) {
                pReverse->AddAllowedValue(KINSOKU_KEY_POSTER, kPosterOn, 0);
            }
            pReverse->SetKeyAllowAll(KINSOKU_KEY_POSTER, -1);
        }
    }
    OffWhile(pList, KINSOKU_KEY_POSTER, kPosterOn,
             {KINSOKU_ITEM_FRONT_COVER, KINSOKU_ITEM_BACK_COVER, KINSOKU_ITEM_DUPLEX_MARGIN, KINSOKU_ITEM_COLLATE,
              KINSOKU_ITEM_MIRROR, KINSOKU_ITEM_OPTION_BIT620, KINSOKU_ITEM_OPTION_BITS356, KINSOKU_ITEM_SKIP_BLANK});
}

void vKinsokuNup(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    tagNUPINFO nup;
    if (ReadRuleRecord(pHandle, SPCID_NUP, 1, &nup)) {
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(KINSOKU_ITEM_REVERSE_ORDER, KINSOKU_KEY_NUP)) {
            if ((nup.dwFlags & 0x4) != 0) {
                pReverse->AddAllowedValue(KINSOKU_KEY_NUP, kNupOn, 0);
            }
            pReverse->SetKeyAllowAll(KINSOKU_KEY_NUP, -1);
        }
    }
    OffWhile(pList, KINSOKU_KEY_NUP, kNupOn, {KINSOKU_ITEM_MIRROR, KINSOKU_ITEM_SKIP_BLANK});
}

void vKinsokuDuplex(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    if (CKinsokuItem* pReverse = pList->GetLinkedItem(KINSOKU_ITEM_REVERSE_ORDER, KINSOKU_KEY_DUPLEX)) {
        // Each duplex mode names the output orders it allows (flags at +4: bit 0 normal, bit 1
        // reversed).
        for (const tagDUPLEXSHORT& mode : RuleRecords<tagDUPLEXSHORT>(pHandle, SPCID_DUPLEX, 3)) {
            if ((mode.sWord156 & 0x1) != 0) {
                pReverse->AddAllowedValue(KINSOKU_KEY_DUPLEX, mode.sId, 0);
            }
            if ((mode.sWord156 & 0x2) != 0) {
                pReverse->AddAllowedValue(KINSOKU_KEY_DUPLEX, mode.sId, 1);
            }
        }
    }
    OnlyWhile(pList, KINSOKU_KEY_DUPLEX, kOneSided, KINSOKU_ITEM_DUPLEX_MARGIN, {0});
    if (CKinsokuItem* pBackFile = pList->GetLinkedItem(KINSOKU_ITEM_BACK_COVER_FILE, KINSOKU_KEY_DUPLEX)) {
        pBackFile->AddAllowedValue(KINSOKU_KEY_DUPLEX, kOneSided, 0);
        pBackFile->AddAllowedValue(KINSOKU_KEY_DUPLEX, kOneSided, 1);
        pBackFile->AddAllowedValue(KINSOKU_KEY_DUPLEX, kShortEdge, 0);
        pBackFile->AddAllowedValue(KINSOKU_KEY_DUPLEX, kLongEdge, 0);
    }
    if (CKinsokuItem* pCollate = pList->GetLinkedItem(KINSOKU_ITEM_COLLATE, KINSOKU_KEY_DUPLEX)) {
        pCollate->SetKeyAllowAll(KINSOKU_KEY_DUPLEX, -1);
        pCollate->AddAllowedValue(KINSOKU_KEY_DUPLEX, kLongEdge, 1);
        pCollate->AddAllowedValue(KINSOKU_KEY_DUPLEX, kShortEdge, 1);
    }
    if (CKinsokuItem* pBlank = pList->GetLinkedItem(KINSOKU_ITEM_SKIP_BLANK, KINSOKU_KEY_DUPLEX)) {
        pBlank->AddKeyAllowedValue(KINSOKU_KEY_DUPLEX, 0);
        pBlank->AddAllowedValue(KINSOKU_KEY_DUPLEX, kOneSided, 0);
        pBlank->AddAllowedValue(KINSOKU_KEY_DUPLEX, kOneSided, 1);
    }
    if (CKinsokuItem* pBlankAll = pList->GetLinkedItem(KINSOKU_ITEM_40, KINSOKU_KEY_DUPLEX)) {
        pBlankAll->AddAllowedValue(KINSOKU_KEY_DUPLEX, kOneSided, 0);
        for (LONG lMode : {kLongEdge, kShortEdge}) {
            pBlankAll->AddAllowedValue(KINSOKU_KEY_DUPLEX, lMode, 0);
            pBlankAll->AddAllowedValue(KINSOKU_KEY_DUPLEX, lMode, kBlankPageAll);
        }
    }
    AllCoverTrayRules(pHandle, pList, KINSOKU_KEY_DUPLEX, false);
}

void vKinsokuBookletCover(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // No printed front cover on a booklet made with the second duplex method.
    OnlyWhile(pList, KINSOKU_KEY_BOOKLET_DUPLEX_OPTION, 0x20001, KINSOKU_ITEM_FRONT_COVER, {0});
}

void vKinsokuCollateCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagFEATURERECORD copies;
    if (pList == nullptr || !ReadRuleRecord(pHandle, SPCID_PRINTFEATURES, 1, &copies) || (copies.dwFlags & 0x8) == 0) {
        return;
    }
    // Driver copies need collation.
    OnlyWhile(pList, KINSOKU_KEY_COLLATE, 0, KINSOKU_ITEM_COPIES_BY_DRIVER, {0});
}

void vKinsokuCoverCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagCOVERINFO covers;
    if (pList == nullptr || !ReadRuleRecord(pHandle, SPCID_JOBOPTIONS, 2, &covers)) {
        return;
    }
    if ((covers.dwFrontFlags & 0x200) != 0) {
        OnlyWhile(pList, KINSOKU_KEY_FRONT_COVER, 1, KINSOKU_ITEM_COPIES_BY_DRIVER, {0});
    }
    if ((covers.dwBackFlags & 0x200) != 0) {
        OnlyWhile(pList, KINSOKU_KEY_BACK_COVER, 2, KINSOKU_ITEM_COPIES_BY_DRIVER, {0});
    }
}

void vKinsokuPrintMode(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagPRINTMODEINFO modes;
    if (pList == nullptr || !ReadRuleRecord(pHandle, SPCID_RENDERPARAMS, 1, &modes)) {
        return;
    }
    struct Mode {
        LONG lKeyValue;
        DWORD dwMask;
    };
    const Mode kModes[] = {{1, modes.dwMaskMode1}, {0, modes.dwMaskMode0}};
    if (CKinsokuItem* pItem = pList->GetLinkedItem(KINSOKU_ITEM_36, KINSOKU_KEY_OPTION342)) {
        for (const Mode& mode : kModes) {
            // A mode that does not allow the item still gets its rule, empty: without one, mode 0
            // would leave the item unconstrained.
            pItem->AddAllowedValues(KINSOKU_KEY_OPTION342, mode.lKeyValue, nullptr, 0);
            if ((mode.dwMask & 0x2) == 0) {
                pItem->AddAllowedValue(KINSOKU_KEY_OPTION342, mode.lKeyValue, 1);
            }
        }
    }
    if (CKinsokuItem* pTonerSave = pList->GetLinkedItem(KINSOKU_ITEM_TONER_SAVE, KINSOKU_KEY_OPTION342)) {
        for (const Mode& mode : kModes) {
            pTonerSave->AddAllowedValue(KINSOKU_KEY_OPTION342, mode.lKeyValue, 0);
            if ((mode.dwMask & 0x4) == 0) {
                pTonerSave->AddAllowedValue(KINSOKU_KEY_OPTION342, mode.lKeyValue, 1);
            }
        }
    }
}

void vKinsokuCoverInsert(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // Covers are not inserted into reversed output.
    OnlyWhile(pList, KINSOKU_KEY_REVERSE_ORDER, 1, KINSOKU_ITEM_FRONT_COVER, {0});
    OnlyWhile(pList, KINSOKU_KEY_REVERSE_ORDER, 1, KINSOKU_ITEM_BACK_COVER, {0});
}

void vKinsokuCoverDuplex(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // Covers with the second duplex method: one-sided only.
    CKinsokuItem* pDuplex = pList->GetLinkedItem(KINSOKU_ITEM_DUPLEX, KINSOKU_KEY_COVER_DUPLEX_OPTION);
    if (pDuplex == nullptr) {
        return;
    }
    pDuplex->SetKeyAllowAll(KINSOKU_KEY_COVER_DUPLEX_OPTION, -1);
    for (LONG lKeyValue : {0x10001, 0x20001, 0x30001}) {
        pDuplex->AddAllowedValue(KINSOKU_KEY_COVER_DUPLEX_OPTION, lKeyValue, kOneSided);
    }
}

void vKinsokuCoverDuplexSource(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    AllCoverTrayRules(pHandle, pList, KINSOKU_KEY_DUPLEX_AND_OPTION, true);
}

void vKinsokuBlankPageBooklet(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    OnlyWhile(pList, KINSOKU_KEY_SKIP_BLANK, 1, KINSOKU_ITEM_BOOKLET, {0});
}

void vKinsokuTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    std::vector<tagSPCLIST47W3> halftones = RuleRecords<tagSPCLIST47W3>(pHandle, SPCID_HALFTONE, 4);
    if (CKinsokuItem* pTextBlack = pList->GetLinkedItem(KINSOKU_ITEM_ALL_TEXT_BLACK, KINSOKU_KEY_HALFTONE)) {
        pTextBlack->SetKeyAllowAll(KINSOKU_KEY_HALFTONE, -1);
        for (const tagSPCLIST47W3& halftone : halftones) {
            pTextBlack->AddAllowedValue(KINSOKU_KEY_HALFTONE, halftone.wId, 1);
            if ((halftone.dwWord3 & 0x40000) == 0) {
                pTextBlack->AddAllowedValue(KINSOKU_KEY_HALFTONE, halftone.wId, 0);
            }
        }
    }
    if (CKinsokuItem* pItem = pList->GetLinkedItem(KINSOKU_ITEM_42, KINSOKU_KEY_HALFTONE)) {
        for (const tagSPCLIST47W3& halftone : halftones) {
            if ((halftone.dwWord3 & 0x20000) == 0) {
                pItem->AddAllowedValue(KINSOKU_KEY_HALFTONE, halftone.wId, 1);
            }
        }
    }
}

void vKinsokuColorTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagFLAGWORD textBlack;
    if (pList == nullptr || !ReadRuleRecord(pHandle, SPCID_ALLTEXTBLACK, 1, &textBlack)) {
        return;
    }
    CKinsokuItem* pItem = pList->GetLinkedItem(KINSOKU_ITEM_ALL_TEXT_BLACK, KINSOKU_KEY_COLOR);
    if (pItem == nullptr) {
        return;
    }
    pItem->SetAllowAll(KINSOKU_KEY_COLOR, 1);
    for (LONG lMode : {2, 3}) {
        pItem->AddAllowedValue(KINSOKU_KEY_COLOR, lMode, 0);
        if ((textBlack.dwFlags & 0x2) != 0) {
            pItem->AddAllowedValue(KINSOKU_KEY_COLOR, lMode, 1);
        }
    }
}

void vKinsokuJobSpool(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // A job kept in the printer is copied and collated there.
    struct Row {
        SHORT sItem;
        LONG lOther;
    };
    for (const Row& row : {Row{KINSOKU_ITEM_COPIES_BY_DRIVER, 0}, Row{KINSOKU_ITEM_COLLATE, 1}}) {
        if (CKinsokuItem* pItem = pList->GetLinkedItem(row.sItem, KINSOKU_KEY_JOB_SPOOL)) {
            pItem->SetAllowAll(KINSOKU_KEY_JOB_SPOOL, 0);
            pItem->AddKeyAllowedValue(KINSOKU_KEY_JOB_SPOOL, row.lOther);
        }
    }
}

void vKinsokuSortCover(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    for (SHORT sItem : {KINSOKU_ITEM_FRONT_COVER, KINSOKU_ITEM_BACK_COVER}) {
        if (CKinsokuItem* pItem = pList->GetLinkedItem(sItem, KINSOKU_KEY_SORT)) {
            pItem->AddAllowedValue(KINSOKU_KEY_SORT, 4, 0);
            pItem->AddAllowedValue(KINSOKU_KEY_SORT, 5, 0);
            pItem->SetKeyAllowAll(KINSOKU_KEY_SORT, -1);
        }
    }
}
