// The layout, duplex, cover and mode passes: what booklet, poster, pages per sheet, the duplex
// mode, covers, collation, the print mode, the halftone, the colour mode, the job kind and the
// sort mode allow of the other settings.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"

#include <initializer_list>

namespace {

constexpr SHORT kCapHalftone = 47;
constexpr SHORT kCapTextBlack = 66;

constexpr SHORT kKeyCollate = 211;
constexpr SHORT kKeySort = 212;
constexpr SHORT kKeyBooklet = 213;
constexpr SHORT kKeyBookletMethod = 214;
constexpr SHORT kKeyPoster = 215;
constexpr SHORT kKeyNup = 216;
constexpr SHORT kKeyFrontCover = 223;
constexpr SHORT kKeyBackCover = 224;
constexpr SHORT kKeyDuplex = 225;
constexpr SHORT kKeyPrintMode = 226;
constexpr SHORT kKeyReverseOrder = 229;
constexpr SHORT kKeyCoverMethod = 234;
constexpr SHORT kKeyDuplexMethod = 235;
constexpr SHORT kKeyBlankPages = 238;
constexpr SHORT kKeyHalftone = 239;
constexpr SHORT kKeyColorMode = 240;
constexpr SHORT kKeyJobSpool = 241;

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
    constexpr SHORT kItemCollate = 8;
    for (SHORT sItem : items) {
        OnlyWhile(pList, sKey, lKeyValue, sItem, {sItem == kItemCollate ? 1 : 0});
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
    CoverTrayRules(pList, sKey, RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3), 27, 29, bByMethod);
    CoverTrayRules(pList, sKey, RuleRecords<tagSOURCEINFO>(pHandle, SPCID_PAPERSOURCE, 3), 28, 30, bByMethod);
    CoverTrayRules(pList, sKey, RuleRecords<tagSOURCEINFO>(pHandle, SPCID_SOURCEGROUP, 3), 28, 30, bByMethod);
}

}  // namespace

void vKinsokuBooklet(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    tagBOOKLETINFO booklet;
    if (ReadRuleRecord(pHandle, SPCID_BOOKLET, 1, &booklet)) {
        OnlyWhile(pList, kKeyBooklet, kBookletOn, 22, {(booklet.dwConditions & 0x1) != 0 ? kShortEdge : kLongEdge});
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(15, kKeyBooklet)) {
            if ((booklet.dwFlags & 0x8) != 0) {
                pReverse->AddAllowedValue(kKeyBooklet, kBookletOn, 0);
            }
            pReverse->SetKeyAllowAll(kKeyBooklet, -1);
        }
        if (CKinsokuItem* pSort = pList->GetLinkedItem(9, kKeyBooklet)) {
            vAddSortBits(pSort, kKeyBooklet, kBookletOn, booklet.dwSortBits);
            pSort->SetKeyAllowAll(kKeyBooklet, -1);
        }
    }
    OffWhile(pList, kKeyBooklet, kBookletOn, {20, 43, 8, 16, 31, 40});
}

void vKinsokuPoster(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    OnlyWhile(pList, kKeyPoster, kPosterOn, 22, {kOneSided});
    tagFLAGWORD poster;
    if (ReadRuleRecord(pHandle, SPCID_POSTER, 1, &poster)) {
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(15, kKeyPoster)) {
            if ((poster.dwFlags & 0x4) != 0) {
                pReverse->AddAllowedValue(kKeyPoster, kPosterOn, 0);
            }
            pReverse->SetKeyAllowAll(kKeyPoster, -1);
        }
    }
    OffWhile(pList, kKeyPoster, kPosterOn, {18, 20, 43, 8, 16, 37, 38, 31});
}

void vKinsokuNup(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    tagNUPINFO nup;
    if (ReadRuleRecord(pHandle, 28, 1, &nup)) {
        if (CKinsokuItem* pReverse = pList->GetLinkedItem(15, kKeyNup)) {
            if ((nup.dwFlags & 0x4) != 0) {
                pReverse->AddAllowedValue(kKeyNup, kNupOn, 0);
            }
            pReverse->SetKeyAllowAll(kKeyNup, -1);
        }
    }
    OffWhile(pList, kKeyNup, kNupOn, {16, 31});
}

void vKinsokuDuplex(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    if (CKinsokuItem* pReverse = pList->GetLinkedItem(15, kKeyDuplex)) {
        // Each duplex mode names the output orders it allows (flags at +4: bit 0 normal, bit 1
        // reversed).
        for (const tagDUPLEXSHORT& mode : RuleRecords<tagDUPLEXSHORT>(pHandle, SPCID_DUPLEX, 3)) {
            if ((mode.sWord156 & 0x1) != 0) {
                pReverse->AddAllowedValue(kKeyDuplex, mode.sId, 0);
            }
            if ((mode.sWord156 & 0x2) != 0) {
                pReverse->AddAllowedValue(kKeyDuplex, mode.sId, 1);
            }
        }
    }
    OnlyWhile(pList, kKeyDuplex, kOneSided, 43, {0});
    if (CKinsokuItem* pBackFile = pList->GetLinkedItem(19, kKeyDuplex)) {
        pBackFile->AddAllowedValue(kKeyDuplex, kOneSided, 0);
        pBackFile->AddAllowedValue(kKeyDuplex, kOneSided, 1);
        pBackFile->AddAllowedValue(kKeyDuplex, kShortEdge, 0);
        pBackFile->AddAllowedValue(kKeyDuplex, kLongEdge, 0);
    }
    if (CKinsokuItem* pCollate = pList->GetLinkedItem(8, kKeyDuplex)) {
        pCollate->SetKeyAllowAll(kKeyDuplex, -1);
        pCollate->AddAllowedValue(kKeyDuplex, kLongEdge, 1);
        pCollate->AddAllowedValue(kKeyDuplex, kShortEdge, 1);
    }
    if (CKinsokuItem* pBlank = pList->GetLinkedItem(31, kKeyDuplex)) {
        pBlank->AddKeyAllowedValue(kKeyDuplex, 0);
        pBlank->AddAllowedValue(kKeyDuplex, kOneSided, 0);
        pBlank->AddAllowedValue(kKeyDuplex, kOneSided, 1);
    }
    if (CKinsokuItem* pBlankAll = pList->GetLinkedItem(40, kKeyDuplex)) {
        pBlankAll->AddAllowedValue(kKeyDuplex, kOneSided, 0);
        for (LONG lMode : {kLongEdge, kShortEdge}) {
            pBlankAll->AddAllowedValue(kKeyDuplex, lMode, 0);
            pBlankAll->AddAllowedValue(kKeyDuplex, lMode, kBlankPageAll);
        }
    }
    AllCoverTrayRules(pHandle, pList, kKeyDuplex, false);
}

void vKinsokuBookletCover(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // No printed front cover on a booklet made with the second duplex method.
    OnlyWhile(pList, kKeyBookletMethod, 0x20001, 18, {0});
}

void vKinsokuCollateCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagCOPYFEATURES copies;
    if (pList == nullptr || !ReadRuleRecord(pHandle, SPCID_PRINTFEATURES, 1, &copies) ||
        (copies.dwFlags & 0x8) == 0) {
        return;
    }
    // Driver copies need collation.
    OnlyWhile(pList, kKeyCollate, 0, 23, {0});
}

void vKinsokuCoverCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagCOVERINFO covers;
    if (pList == nullptr || !ReadRuleRecord(pHandle, 57, 2, &covers)) {
        return;
    }
    if ((covers.dwFrontFlags & 0x200) != 0) {
        OnlyWhile(pList, kKeyFrontCover, 1, 23, {0});
    }
    if ((covers.dwBackFlags & 0x200) != 0) {
        OnlyWhile(pList, kKeyBackCover, 2, 23, {0});
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
    if (CKinsokuItem* pItem = pList->GetLinkedItem(36, kKeyPrintMode)) {
        for (const Mode& mode : kModes) {
            // A mode that does not allow the item still gets its rule, empty: without one, mode 0
            // would leave the item unconstrained.
            pItem->AddAllowedValues(kKeyPrintMode, mode.lKeyValue, nullptr, 0);
            if ((mode.dwMask & 0x2) == 0) {
                pItem->AddAllowedValue(kKeyPrintMode, mode.lKeyValue, 1);
            }
        }
    }
    if (CKinsokuItem* pTonerSave = pList->GetLinkedItem(35, kKeyPrintMode)) {
        for (const Mode& mode : kModes) {
            pTonerSave->AddAllowedValue(kKeyPrintMode, mode.lKeyValue, 0);
            if ((mode.dwMask & 0x4) == 0) {
                pTonerSave->AddAllowedValue(kKeyPrintMode, mode.lKeyValue, 1);
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
    OnlyWhile(pList, kKeyReverseOrder, 1, 18, {0});
    OnlyWhile(pList, kKeyReverseOrder, 1, 20, {0});
}

void vKinsokuCoverDuplex(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    // Covers with the second duplex method: one-sided only.
    CKinsokuItem* pDuplex = pList->GetLinkedItem(22, kKeyCoverMethod);
    if (pDuplex == nullptr) {
        return;
    }
    pDuplex->SetKeyAllowAll(kKeyCoverMethod, -1);
    for (LONG lKeyValue : {0x10001, 0x20001, 0x30001}) {
        pDuplex->AddAllowedValue(kKeyCoverMethod, lKeyValue, kOneSided);
    }
}

void vKinsokuCoverDuplexSource(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    AllCoverTrayRules(pHandle, pList, kKeyDuplexMethod, true);
}

void vKinsokuBlankPageBooklet(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    OnlyWhile(pList, kKeyBlankPages, 1, 10, {0});
}

void vKinsokuTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    std::vector<tagSPCLIST47W3> halftones = RuleRecords<tagSPCLIST47W3>(pHandle, kCapHalftone, 4);
    if (CKinsokuItem* pTextBlack = pList->GetLinkedItem(41, kKeyHalftone)) {
        pTextBlack->SetKeyAllowAll(kKeyHalftone, -1);
        for (const tagSPCLIST47W3& halftone : halftones) {
            pTextBlack->AddAllowedValue(kKeyHalftone, halftone.wId, 1);
            if ((halftone.dwWord3 & 0x40000) == 0) {
                pTextBlack->AddAllowedValue(kKeyHalftone, halftone.wId, 0);
            }
        }
    }
    if (CKinsokuItem* pItem = pList->GetLinkedItem(42, kKeyHalftone)) {
        for (const tagSPCLIST47W3& halftone : halftones) {
            if ((halftone.dwWord3 & 0x20000) == 0) {
                pItem->AddAllowedValue(kKeyHalftone, halftone.wId, 1);
            }
        }
    }
}

void vKinsokuColorTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagFLAGWORD textBlack;
    if (pList == nullptr || !ReadRuleRecord(pHandle, kCapTextBlack, 1, &textBlack)) {
        return;
    }
    CKinsokuItem* pItem = pList->GetLinkedItem(41, kKeyColorMode);
    if (pItem == nullptr) {
        return;
    }
    pItem->SetAllowAll(kKeyColorMode, 1);
    for (LONG lMode : {2, 3}) {
        pItem->AddAllowedValue(kKeyColorMode, lMode, 0);
        if ((textBlack.dwFlags & 0x2) != 0) {
            pItem->AddAllowedValue(kKeyColorMode, lMode, 1);
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
    for (const Row& row : {Row{23, 0}, Row{8, 1}}) {
        if (CKinsokuItem* pItem = pList->GetLinkedItem(row.sItem, kKeyJobSpool)) {
            pItem->SetAllowAll(kKeyJobSpool, 0);
            pItem->AddKeyAllowedValue(kKeyJobSpool, row.lOther);
        }
    }
}

void vKinsokuSortCover(const tagMODELHANDLE* /*pHandle*/, CKinsokuList* pList)
{
    if (pList == nullptr) {
        return;
    }
    for (SHORT sItem : {18, 20}) {
        if (CKinsokuItem* pItem = pList->GetLinkedItem(sItem, kKeySort)) {
            pItem->AddAllowedValue(kKeySort, 4, 0);
            pItem->AddAllowedValue(kKeySort, 5, 0);
            pItem->SetKeyAllowAll(kKeySort, -1);
        }
    }
}
