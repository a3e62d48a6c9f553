// The first model pass: every item the list holds gets its values, in the order the settings
// program lists them (which is also the order of the fallback choice), and its default value.
// Where a value carries a text id as data1, it is one of the settings program's built-in strings.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/LayoutRules.h"

#include <cstdlib>
#include <memory>

namespace {

// Built-in string ids of the settings program.
constexpr LONG kTextAutomatic = 4105;
constexpr LONG kTextManual = 4106;
constexpr LONG kTextBlankCover = 6051;
constexpr LONG kTextPrintedCover = 6050;
constexpr LONG kTextCopiesByPrinter = 6001;
constexpr LONG kTextCopiesByDriver = 6002;
constexpr LONG kTextVectorMode = 3285;
constexpr LONG kTextRasterMode = 3286;
constexpr LONG kImageVectorMode = 2166;
constexpr LONG kImageRasterMode = 2167;

// Media and sources usable for covers have bit 2 in their layout flags (+24).
constexpr DWORD kTrayUsableForCovers = 0x4;

struct FreeDeleter {
    void operator()(void* pv) const { free(pv); }
};

// The tray flags word at +24 of a media or source record.
template <typename Tray> DWORD TrayLayoutFlags(const Tray& record)
{
    return record.dwWords[5];
}

// An item with the listed (value, data1) pairs and, when bDefault, its default.
void SimpleItem(CKinsokuList* pList, SHORT sId, std::initializer_list<std::pair<LONG, LONG>> values, bool bDefault,
                LONG lDefault)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(sId);
    if (pItem == nullptr) {
        return;
    }
    for (const auto& value : values) {
        pItem->AddValue(value.first, value.second, 0);
    }
    if (bDefault) {
        pItem->SetDefaultValue(lDefault);
    }
}

void PaperValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sAllValues)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_PAPER);
    if (pItem == nullptr) {
        return;
    }
    for (const tagSPCIDVALUE& paper : RuleRecords<tagSPCIDVALUE>(pHandle, SPCID_PAPERSIZE, 3)) {
        if (sAllValues == 0 && IsPaperTooLarge(pHandle, paper.sId) != FLAG_FALSE) {
            continue;
        }
        pItem->AddValue(paper.sId, paper.sValue, 0);
    }
    tagPAPERDEFAULTS defaults;
    if (ReadRuleRecord(pHandle, SPCID_PAPERSIZE, 1, &defaults)) {
        pItem->SetDefaultValue(pList->IsMetric() ? defaults.sMetricDefault : defaults.sInchDefault);
    }
}

void MediaValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    std::vector<tagMEDIAINFO> media = RuleRecords<tagMEDIAINFO>(pHandle, SPCID_MEDIATYPE, 3);
    tagDEFAULTWORD def;
    bool bDefault = ReadRuleRecord(pHandle, SPCID_MEDIATYPE, 2, &def);
    // Item 2 takes every medium; the cover media items only those usable for covers.
    const SHORT kItems[] = {KINSOKU_ITEM_MEDIA, KINSOKU_ITEM_FRONT_COVER_MEDIA, KINSOKU_ITEM_BACK_COVER_MEDIA};
    for (SHORT sId : kItems) {
        CKinsokuItem* pItem = pList->GetOrCreateItem(sId);
        if (pItem == nullptr) {
            continue;
        }
        for (const tagMEDIAINFO& record : media) {
            if (sId == KINSOKU_ITEM_MEDIA || (TrayLayoutFlags(record) & kTrayUsableForCovers) != 0) {
                pItem->AddValue(record.sId, record.sValue, 0);
            }
        }
        if (bDefault) {
            pItem->SetDefaultValue(def.sValue);
        }
    }
}

void SourceValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagSOURCEINFO* pMerged = nullptr;
    DWORD dwMerged = 0;
    // Without the merged list (no memory) the source items get neither values nor a default.
    if (!BuildMergedSources(pHandle, &pMerged, &dwMerged)) {
        return;
    }
    std::unique_ptr<tagSOURCEINFO, FreeDeleter> owner(pMerged);
    tagDEFAULTWORD def;
    // Automatic selection when the model names no default source.
    SHORT sDefault = ReadRuleRecord(pHandle, SPCID_PAPERSOURCE, 2, &def) ? def.sValue : 7;
    const SHORT kItems[] = {KINSOKU_ITEM_SOURCE, KINSOKU_ITEM_FRONT_COVER_SOURCE, KINSOKU_ITEM_BACK_COVER_SOURCE};
    for (SHORT sId : kItems) {
        CKinsokuItem* pItem = pList->GetOrCreateItem(sId);
        if (pItem == nullptr) {
            continue;
        }
        for (DWORD i = 0; i < dwMerged; ++i) {
            if (sId == KINSOKU_ITEM_SOURCE || (TrayLayoutFlags(pMerged[i]) & kTrayUsableForCovers) != 0) {
                pItem->AddValue(pMerged[i].sId, pMerged[i].sValue, 0);
            }
        }
        pItem->SetDefaultValue(sDefault);
    }
}

void DuplexValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_DUPLEX);
    if (pItem == nullptr) {
        return;
    }
    for (const tagDUPLEXMODE& mode : RuleRecords<tagDUPLEXMODE>(pHandle, SPCID_DUPLEX, 2)) {
        pItem->AddValue(mode.sId, mode.sWord4, 0);
    }
    pItem->SetDefaultValue(1);  // one-sided
}

// The layout items: the layout's bit in dmLayoutPrint first, then 0 (off).
void LayoutValues(CKinsokuList* pList)
{
    struct LayoutItem {
        SHORT sId;
        LONG lBit;
    };
    const LayoutItem kItems[] = {{KINSOKU_ITEM_BOOKLET, 2},
                                 {KINSOKU_ITEM_NUP, 1},
                                 {KINSOKU_ITEM_POSTER, 4},
                                 {KINSOKU_ITEM_FIT, 8},
                                 {KINSOKU_ITEM_ZOOM, 16}};
    for (const LayoutItem& item : kItems) {
        SimpleItem(pList, item.sId, {{item.lBit, 0}, {0, 0}}, true, 0);
    }
}

void ReverseOrderValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagREVERSEORDERINFO info;
    LONG lDefault = ReadRuleRecord(pHandle, SPCID_REVERSEORDER, 2, &info) ? static_cast<LONG>(info.dwDefault) : 0;
    SimpleItem(pList, KINSOKU_ITEM_REVERSE_ORDER, {{1, 0}, {0, 0}}, true, lDefault);
}

void SortValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_SORT);
    tagSORTINFO info;
    if (pItem == nullptr || !ReadRuleRecord(pHandle, SPCID_SORT, 2, &info)) {
        return;
    }
    for (int bit = 0; bit < 32; ++bit) {
        SHORT sValue = 0;
        if ((info.dwSortBits & (1u << bit)) != 0 && bSortBitToValue(1u << bit, &sValue) != 0) {
            pItem->AddValue(sValue, 0, 0);
        }
    }
    pItem->SetDefaultValue(static_cast<LONG>(info.dwDefault));
}

void BlankPageValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    tagFLAGVALUE info;
    // Blank pages are skipped by default unless the model prints them.
    bool bPrinted = ReadRuleRecord(pHandle, SPCID_BLANKPAGES, 1, &info) && (info.sValue & 0x1) != 0;
    SimpleItem(pList, KINSOKU_ITEM_SKIP_BLANK, {{0, 0}, {1, 0}}, true, bPrinted ? 0 : 1);
}

void HalftoneValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    std::vector<tagSPCLIST47> values = RuleRecords<tagSPCLIST47>(pHandle, SPCID_HALFTONE, 5);
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_HALFTONE);
    if (pItem == nullptr || values.empty()) {
        return;
    }
    for (const tagSPCLIST47& value : values) {
        pItem->AddValue(value.wId, 0, 0);
    }
    tagHALFTONEDEFAULT def;
    pItem->SetDefaultValue(ReadRuleRecord(pHandle, SPCID_HALFTONE, 6, &def) ? def.sDefault : values.front().wId);
}

void PrintModeValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_OPTION342);
    if (pItem == nullptr) {
        return;
    }
    tagPRINTMODEINFO info;
    if (ReadRuleRecord(pHandle, SPCID_RENDERPARAMS, 1, &info)) {
        if ((info.dwFlags & 0x1) != 0) {
            pItem->AddValue(0, kTextVectorMode, kImageVectorMode);
        }
        if ((info.dwFlags & 0x2) != 0) {
            pItem->AddValue(1, kTextRasterMode, kImageRasterMode);
        }
    }
    pItem->SetDefaultValue(0);
}

void QualityValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList)
{
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_QUALITY);
    if (pItem == nullptr) {
        return;
    }
    for (const tagSPCRESOLUTION& entry : RuleRecords<tagSPCRESOLUTION>(pHandle, SPCID_RESOLUTION, 1)) {
        pItem->AddValue(MapQualityValue(entry.sMode), entry.sWord1, 0);
    }
    tagDEFAULTWORD def;
    pItem->SetDefaultValue(ReadRuleRecord(pHandle, SPCID_RESOLUTION, 2, &def) ? def.sValue : 2);
}

}  // namespace

void vKinsokuItemValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sAllValues)
{
    if (pList == nullptr) {
        return;
    }
    PaperValues(pHandle, pList, sAllValues);
    MediaValues(pHandle, pList);
    SourceValues(pHandle, pList);
    DuplexValues(pHandle, pList);
    LayoutValues(pList);
    ReverseOrderValues(pHandle, pList);
    SortValues(pHandle, pList);
    SimpleItem(pList, KINSOKU_ITEM_ROTATE, {{0, 0}, {1, 0}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_DUPLEX_OPTION, {{0, kTextAutomatic}, {1, kTextManual}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_COLLATE, {{1, 0}, {0, 0}}, true, 1);
    SimpleItem(pList, KINSOKU_ITEM_MIRROR, {{0, 0}, {1, 0}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_FRONT_COVER, {{0, 0}, {1, 0}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_BACK_COVER, {{0, 0}, {2, 0}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_FRONT_COVER_FILE, {{0, kTextBlankCover}, {1, kTextPrintedCover}}, true, 0);
    SimpleItem(pList, KINSOKU_ITEM_BACK_COVER_FILE, {{0, kTextBlankCover}, {1, kTextPrintedCover}}, true, 0);
    if (sAllValues != 0) {
        SimpleItem(pList, KINSOKU_ITEM_COPIES_BY_DRIVER, {{0, kTextCopiesByPrinter}, {1, kTextCopiesByDriver}}, true,
                   0);
    } else {
        SimpleItem(pList, KINSOKU_ITEM_COPIES_BY_DRIVER, {{0, kTextCopiesByPrinter}}, true, 0);
    }
    BlankPageValues(pHandle, pList);
    HalftoneValues(pHandle, pList);
    PrintModeValues(pHandle, pList);
    QualityValues(pHandle, pList);
    for (SHORT sId : {KINSOKU_ITEM_TONER_SAVE, KINSOKU_ITEM_OPTION_BIT620, KINSOKU_ITEM_OPTION_BITS356,
                      KINSOKU_ITEM_ALL_TEXT_BLACK, KINSOKU_ITEM_DUPLEX_MARGIN}) {
        SimpleItem(pList, sId, {{0, 0}, {1, 0}}, true, 0);
    }
    SimpleItem(pList, KINSOKU_ITEM_36, {{1, 0}}, false, 0);
    SimpleItem(pList, KINSOKU_ITEM_42, {{1, 0}}, false, 0);
    SimpleItem(pList, KINSOKU_ITEM_BOOKLET_UNIT, {{0, 4555}, {1, 4556}, {2, 4557}, {4, 4558}, {8, 4559}}, false, 0);
    // The second value is the 16-bit -1 as an unsigned number, not -1.
    SimpleItem(pList, KINSOKU_ITEM_40, {{0, 0}, {65535, 0}}, true, 0);
}
