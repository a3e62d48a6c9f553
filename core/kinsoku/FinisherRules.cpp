// The finisher items (finisher mode, punching, stapling) and their rules, rebuilt from the first
// installed finisher of the model's finisher data and the static link table.
#include "core/kinsoku/FinisherRules.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/codec/FinishingMaps.h"
#include "core/kinsoku/FinisherFlagRules.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcIds.h"

namespace {

constexpr SHORT kNoFinisherItem = 99;

constexpr LONG kPosterOn = 4;
constexpr LONG kBookletOn = 2;

// Row conditions: what the installed finisher has and how the model lays out its positions.
constexpr DWORD kNeedsPuncher = 0x1;
constexpr DWORD kNeedsStapler = 0x2;
constexpr DWORD kNeedsStaplePerPaper = 0x4;  // layout flag 0x20 set
constexpr DWORD kNeedsPunchPerPaper = 0x8;  // layout flag 0x10 set
constexpr DWORD kNeedsNoStaplePerPaper = 0x10;  // layout flag 0x20 clear
constexpr DWORD kNeedsNoPunchPerPaper = 0x20;  // layout flag 0x10 clear

// Layout flags of the finisher's link record (view 11, +4).
constexpr DWORD kLayoutPunchPerPaper = 0x10;
constexpr DWORD kLayoutStaplePerPaper = 0x20;

// Staple record flags (view 5, +16).
constexpr DWORD kStapleNeedsDuplexUnit = 0x10000;
constexpr DWORD kStapleRestrictsDuplex = 0x20000;
constexpr DWORD kStapleLongEdge = 0x40000;

struct ValueImage {
    LONG lValue;
    LONG lImage;  // the settings program's built-in image of the value
};

const ValueImage kPunchImages[] = {{0, 2320}, {1, 2326}, {2, 2323}, {3, 2329}};
const ValueImage kFinisherImages[] = {{0, 2340},   {1, 2341},   {2, 2341},   {257, 2342}, {513, 2343},
                                      {514, 2343}, {769, 2344}, {770, 2345}, {771, 2343}};

template <size_t N> const ValueImage* FindValueEntry(const ValueImage (&table)[N], LONG lValue)
{
    for (const ValueImage& entry : table) {
        if (entry.lValue == lValue) {
            return &entry;
        }
    }
    return nullptr;
}

// Model ids to settings values. A model id the maps do not know (they answer 0 for it, which is
// also a real value) has no value: it is skipped rather than offered as "none".
bool MapFinisherId(WORD wModelId, LONG* plValue)
{
    WORD wValue = ModelIdToFinisher(wModelId);
    *plValue = wValue;
    return FinisherToModelId(wValue) == wModelId;
}
bool MapStapleId(WORD wModelId, LONG* plValue)
{
    WORD wValue = ModelIdToStaple(wModelId);
    *plValue = wValue;
    return StapleToModelId(wValue) == wModelId;
}
bool MapPunchId(WORD wModelId, LONG* plValue)
{
    WORD wValue = ModelIdToPunch(wModelId);
    *plValue = wValue;
    return PunchToModelId(wValue) == wModelId;
}

bool HasPuncher(const tagINSTALLENTRY* pFinisher)
{
    return (pFinisher->lInstalled & kFinisherHasPuncher) != 0;
}
bool HasStapler(const tagINSTALLENTRY* pFinisher)
{
    return (pFinisher->lInstalled & kFinisherHasStapler) != 0;
}

bool RowApplies(const tagFINISHERLINK& row, DWORD dwLinkBits, DWORD dwLayout, const tagINSTALLENTRY* pFinisher)
{
    if ((dwLinkBits & row.dwLinkBit) == 0) {
        return false;
    }
    const DWORD c = row.dwConditions;
    return !((c & kNeedsPuncher) != 0 && !HasPuncher(pFinisher)) &&
           !((c & kNeedsStapler) != 0 && !HasStapler(pFinisher)) &&
           !((c & kNeedsPunchPerPaper) != 0 && (dwLayout & kLayoutPunchPerPaper) == 0) &&
           !((c & kNeedsNoPunchPerPaper) != 0 && (dwLayout & kLayoutPunchPerPaper) != 0) &&
           !((c & kNeedsStaplePerPaper) != 0 && (dwLayout & kLayoutStaplePerPaper) == 0) &&
           !((c & kNeedsNoStaplePerPaper) != 0 && (dwLayout & kLayoutStaplePerPaper) != 0);
}

}  // namespace

const tagFINISHERLINK FINISHER_KINSOKU_TABLE[kFinisherLinkCount] = {
    {0x1, 219, 6, 0x3},        {0x2, 219, 9, 0x1},         {0x4, 219, 4, 0x21},       {0x10, 220, 4, 0x12},
    {0x4, 237, 4, 0x9},        {0x10, 236, 4, 0x6},        {0x8, 220, 9, 0x2},        {0x20, 212, 4, 0x0},
    {0x100, 220, 5, 0x3},      {0x200, 212, 5, 0x1},       {0x400, 221, 5, 0x1},      {0x800, 212, 6, 0x2},
    {0x1000, 221, 6, 0x2},     {0x2000, 221, 9, 0x0},      {0x4000, 220, 8, 0x2},     {0x10000, 206, 5, 0x1},
    {0x20000, 206, 6, 0x2},    {0x40000, 207, 9, 0x0},     {0x80000, 207, 4, 0x0},    {0x100000, 242, 5, 0x1},
    {0x200000, 242, 6, 0x2},   {0x400000, 242, 9, 0x0},    {0x800000, 242, 4, 0x0},   {0x1000000, 213, 5, 0x1},
    {0x2000000, 213, 6, 0x2},  {0x8000000, 222, 39, 0x2},  {0x10000000, 215, 5, 0x1}, {0x20000000, 215, 6, 0x2},
    {0x40000000, 204, 6, 0x2}, {0x80000000, 220, 22, 0x2},
};

void vFinisherPaperRules(CKinsokuList* pList, const tagFINISHERPAPERFLAGS& paper, DWORD dwLinkBits, DWORD dwLayout)
{
    CKinsokuItem* pFinisher = pList->GetItem(KINSOKU_ITEM_FINISHER);
    CKinsokuItem* pPunch = pList->GetItem(KINSOKU_ITEM_PUNCH);
    CKinsokuItem* pStaple = pList->GetItem(KINSOKU_ITEM_STAPLE);
    CKinsokuItem* pSort = pList->GetItem(KINSOKU_ITEM_SORT);
    const LONG F = paper.lFinisher;
    const LONG P = paper.lPaper;
    if (pFinisher != nullptr) {
        if ((dwLinkBits & 0x80000) != 0) {
            pFinisher->AddAllowedValue(KINSOKU_KEY_CLASS_FINISHER, P, F);
        }
        if ((dwLinkBits & 0x20) != 0) {
            bSortKeyRules(pFinisher, F, paper.dwSort);
        }
        if ((dwLinkBits & 0x4) != 0 && pPunch != nullptr) {
            if ((dwLayout & kLayoutPunchPerPaper) != 0) {
                bPaperPositionRules(pFinisher, KINSOKU_KEY_CLASS_PUNCH, P, paper.dwPunch, F);
            } else {
                bPunchKeyRules(pFinisher, F, paper.dwPunch);
            }
        }
        if ((dwLinkBits & 0x10) != 0 && pStaple != nullptr) {
            if ((dwLayout & kLayoutStaplePerPaper) != 0) {
                bPaperPositionRules(pFinisher, KINSOKU_KEY_CLASS_STAPLE, P, paper.dwStaple, F);
            } else {
                bStapleKeyRules(pFinisher, F, paper.dwStaple);
            }
        }
    }
    if (pSort != nullptr) {
        if ((dwLinkBits & 0x40000) != 0) {
            bSortValueRules(pSort, KINSOKU_KEY_CLASS_FINISHER, P, paper.dwSort);
        }
        if ((dwLinkBits & 0x2000) != 0) {
            bSortValueRules(pSort, KINSOKU_KEY_FINISHER, F, paper.dwSort);
        }
    }
    if (pPunch != nullptr) {
        if ((dwLinkBits & 0x10000) != 0) {
            bPunchValueRules(pPunch, KINSOKU_KEY_CLASS_ORIENTATION, P + 0x10000, P + 0x20000, paper.dwPunch);
        }
        if ((dwLinkBits & 0x400) != 0) {
            bPunchValueRules(pPunch, KINSOKU_KEY_FINISHER, F, F, paper.dwPunch);
        }
    }
    if (pStaple != nullptr) {
        if ((dwLinkBits & 0x20000) != 0) {
            bStapleValueRules(pStaple, KINSOKU_KEY_CLASS_ORIENTATION, P + 0x10000, P + 0x20000, paper.dwStaple);
        }
        if ((dwLinkBits & 0x1000) != 0) {
            bStapleValueRules(pStaple, KINSOKU_KEY_FINISHER, F, F, paper.dwStaple);
        }
    }
}

bool CMdUtilM2::IsFinishModeUsable(WORD wModelFinisherId) const
{
    const tagINSTALLENTRY* pVariant =
        m_pInstallOption->FindInCategory(SPCID_FINISHERMODES, static_cast<SHORT>(wModelFinisherId));
    return pVariant == nullptr || pVariant->lInstalled != 0;
}

void CMdUtilM2::vOptionFinisherKinsoku(CKinsokuList* pList)
{
    CInstallOption* pOptions = m_pInstallOption;
    for (SHORT sItem : {KINSOKU_ITEM_FINISHER, KINSOKU_ITEM_PUNCH, KINSOKU_ITEM_STAPLE}) {
        pList->RemoveItem(sItem);
    }
    for (const tagFINISHERLINK& row : FINISHER_KINSOKU_TABLE) {
        pList->RemoveLink(row.sKey, row.sItem);
        if (CKinsokuItem* pItem = pList->GetItem(row.sItem)) {
            pItem->RemoveKey(row.sKey);
        }
    }
    if (pOptions == nullptr) {
        return;
    }
    // Without a finisher the printer delivers to its standard tray, the model's finisher 99.
    if (pOptions->CountInstalled(SPCID_FINISHER, -1) == 0) {
        InstallFinisher(kNoFinisherItem, 0, 0);
    }
    const tagINSTALLENTRY* pFinisher = pOptions->FirstInstalled(SPCID_FINISHER, 0);
    vFinisherValues(pList, pFinisher);
    vStapleValues(pList, pFinisher);
    vPunchValues(pList, pFinisher);
    vFinisherRules(pList, pFinisher);
}

void CMdUtilM2::vFinisherValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher)
{
    if (pFinisher == nullptr) {
        return;
    }
    const tagMODELHANDLE* pHandle = m_pHandle;
    std::vector<tagFINISHMODEINFO> modes =
        RuleRecords<tagFINISHMODEINFO>(pHandle, SPCID_FINISHER, 6, pFinisher->sItemId);
    if (modes.empty()) {
        return;
    }
    CKinsokuItem* pItem = pList->GetOrCreateItem(KINSOKU_ITEM_FINISHER);
    if (pItem == nullptr) {
        return;
    }
    for (const tagFINISHMODEINFO& mode : modes) {
        LONG lValue = 0;
        const ValueImage* pEntry =
            MapFinisherId(mode.wModeId, &lValue) ? FindValueEntry(kFinisherImages, lValue) : nullptr;
        if (pEntry != nullptr && IsFinishModeUsable(mode.wModeId)) {
            pItem->AddValue(pEntry->lValue, mode.wValue, pEntry->lImage);
        }
    }
    tagFINISHERINFO info;
    LONG lDefault = 0;
    if (ReadRuleRecord(pHandle, SPCID_FINISHER, 3, &info, pFinisher->sItemId)) {
        lDefault = ModelIdToFinisher(info.wModeListWord);
    }
    pItem->SetDefaultValue(lDefault);
}

void CMdUtilM2::vStapleValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher)
{
    if (pFinisher == nullptr || !HasStapler(pFinisher)) {
        return;
    }
    std::vector<tagFINISHERPUNCH> staples =
        RuleRecords<tagFINISHERPUNCH>(m_pHandle, SPCID_FINISHER, 5, pFinisher->sItemId);
    CKinsokuItem* pItem = staples.empty() ? nullptr : pList->GetOrCreateItem(KINSOKU_ITEM_STAPLE);
    if (pItem == nullptr) {
        return;
    }
    for (const tagFINISHERPUNCH& staple : staples) {
        LONG lValue = 0;
        if (MapStapleId(staple.wId, &lValue)) {
            pItem->AddValue(lValue, staple.wValue, 0);
        }
    }
    pItem->SetDefaultValue(0);
}

void CMdUtilM2::vPunchValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher)
{
    if (pFinisher == nullptr || !HasPuncher(pFinisher)) {
        return;
    }
    std::vector<tagFINISHERPUNCHWORDS> punches =
        RuleRecords<tagFINISHERPUNCHWORDS>(m_pHandle, SPCID_FINISHER, 10, pFinisher->sItemId);
    CKinsokuItem* pItem = punches.empty() ? nullptr : pList->GetOrCreateItem(KINSOKU_ITEM_PUNCH);
    if (pItem == nullptr) {
        return;
    }
    for (const tagFINISHERPUNCHWORDS& punch : punches) {
        LONG lValue = 0;
        const ValueImage* pEntry = MapPunchId(punch.wId, &lValue) ? FindValueEntry(kPunchImages, lValue) : nullptr;
        if (pEntry != nullptr) {
            pItem->AddValue(pEntry->lValue, punch.wValue, pEntry->lImage);
        }
    }
    pItem->SetDefaultValue(0);
}

void CMdUtilM2::vFinisherRules(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher)
{
    if (pFinisher == nullptr) {
        return;
    }
    const tagMODELHANDLE* pHandle = m_pHandle;
    const SHORT sUnit = pFinisher->sItemId;
    tagFINISHERTEXT link;
    DWORD dwLinkBits = 0;
    DWORD dwLayout = 0;
    if (ReadRuleRecord(pHandle, SPCID_FINISHER, 11, &link, sUnit)) {
        // The link record: layout flags at +4, link bits at +8.
        dwLayout = link.dwAvailability;
        dwLinkBits = link.dwWord12;
        for (const tagFINISHERLINK& row : FINISHER_KINSOKU_TABLE) {
            if (RowApplies(row, dwLinkBits, dwLayout, pFinisher)) {
                pList->AddLink(row.sKey, row.sItem);
            }
        }
    }

    // Per paper and per custom class: which finisher modes, sort modes, punch values and staple
    // positions go with which paper.
    for (const tagFINISHPAPER& paper : RuleRecords<tagFINISHPAPER>(pHandle, SPCID_FINISHER, 7, sUnit)) {
        LONG lFinisher = 0;
        if (!MapFinisherId(paper.wModeId, &lFinisher) || !IsFinishModeUsable(paper.wModeId)) {
            continue;
        }
        tagFINISHERPAPERFLAGS flags = {lFinisher, static_cast<SHORT>(paper.wPaperId), paper.dwWords[2],
                                       paper.dwWords[0] & 0xFF, paper.dwWords[1]};
        vFinisherPaperRules(pList, flags, dwLinkBits, dwLayout);
    }
    for (const tagFINISHWORDS& words : RuleRecords<tagFINISHWORDS>(pHandle, SPCID_FINISHER, 9, sUnit)) {
        LONG lFinisher = 0;
        if (!MapFinisherId(words.wModeId, &lFinisher) || !IsFinishModeUsable(words.wModeId)) {
            continue;
        }
        // Class 456: punch, staple, sort flags at +8, +12, +16; class 457 at +20, +24, +28.
        if (words.wWord13 != 0) {
            vFinisherPaperRules(pList, {lFinisher, 456, words.dwWords[2], words.dwWords[0], words.dwWords[1]},
                                dwLinkBits, dwLayout);
        }
        if (words.wWord17 != 0) {
            vFinisherPaperRules(pList, {lFinisher, 457, words.dwWords[5], words.dwWords[3], words.dwWords[4]},
                                dwLinkBits, dwLayout);
        }
    }

    if (HasPuncher(pFinisher)) {
        for (const tagFINISHERPUNCHWORDS& punch :
             RuleRecords<tagFINISHERPUNCHWORDS>(pHandle, SPCID_FINISHER, 10, sUnit)) {
            LONG X = 0;
            if (!MapPunchId(punch.wId, &X)) {
                continue;
            }
            // View 10: staple-position flags +12, sort flags +24, booklet flags +28.
            const DWORD dwStaple = punch.dwWords[0];
            const DWORD dwSort = punch.dwWords[3];
            const DWORD dwBooklet = punch.dwWords[4];
            bBookletPositionRules(pList->GetLinkedItem(KINSOKU_ITEM_PUNCH, KINSOKU_KEY_BOOKLET), X, dwBooklet);
            bSortKeyRules(pList->GetLinkedItem(KINSOKU_ITEM_PUNCH, KINSOKU_KEY_SORT), X, dwSort);
            bStapleKeyRules(pList->GetLinkedItem(KINSOKU_ITEM_PUNCH, KINSOKU_KEY_STAPLE), X, dwStaple);
            bSortValueRules(pList->GetLinkedItem(KINSOKU_ITEM_SORT, KINSOKU_KEY_PUNCH), KINSOKU_KEY_PUNCH, X, dwSort);
            bStapleValueRules(pList->GetLinkedItem(KINSOKU_ITEM_STAPLE, KINSOKU_KEY_PUNCH), KINSOKU_KEY_PUNCH, X, X,
                              dwStaple);
        }
        // No punching in poster layout.
        if (CKinsokuItem* pPunch = pList->GetLinkedItem(KINSOKU_ITEM_PUNCH, KINSOKU_KEY_POSTER)) {
            pPunch->SetKeyAllowAll(KINSOKU_KEY_POSTER, -1);
            pPunch->AddAllowedValue(KINSOKU_KEY_POSTER, kPosterOn, 0);
        }
    }

    if (HasStapler(pFinisher)) {
        std::vector<tagFINISHERPUNCH> staples = RuleRecords<tagFINISHERPUNCH>(pHandle, SPCID_FINISHER, 5, sUnit);
        for (const tagFINISHERPUNCH& staple : staples) {
            LONG X = 0;
            if (!MapStapleId(staple.wId, &X)) {
                continue;
            }
            // View 5: sort flags +12, staple flags +16.
            const DWORD dwSort = staple.dwWords[0];
            const DWORD dwFlags = staple.dwWords[1];
            bBookletPositionRules(pList->GetLinkedItem(KINSOKU_ITEM_STAPLE, KINSOKU_KEY_BOOKLET), X, dwFlags);
            bSortKeyRules(pList->GetLinkedItem(KINSOKU_ITEM_STAPLE, KINSOKU_KEY_SORT), X, dwSort);
            bSortValueRules(pList->GetLinkedItem(KINSOKU_ITEM_SORT, KINSOKU_KEY_STAPLE), KINSOKU_KEY_STAPLE, X, dwSort);
            bBookletUnitRules(pList->GetLinkedItem(KINSOKU_ITEM_BOOKLET_UNIT, KINSOKU_KEY_STAPLE_BOOKLET),
                              KINSOKU_KEY_STAPLE_BOOKLET, X * 0x10000 + kBookletOn, dwFlags);
        }
        // No stapling in poster layout.
        if (CKinsokuItem* pStaple = pList->GetLinkedItem(KINSOKU_ITEM_STAPLE, KINSOKU_KEY_POSTER)) {
            pStaple->SetKeyAllowAll(KINSOKU_KEY_POSTER, -1);
            pStaple->AddAllowedValue(KINSOKU_KEY_POSTER, kPosterOn, 0);
        }
        // Stapled output is collated.
        if (CKinsokuItem* pCollate = pList->GetLinkedItem(KINSOKU_ITEM_COLLATE, KINSOKU_KEY_STAPLE)) {
            pCollate->AddKeyAllowedValue(KINSOKU_KEY_STAPLE, 1);
            pCollate->SetAllowAll(KINSOKU_KEY_STAPLE, 0);
        }
        // Staple positions that need the duplex unit are offered only with it.
        if (CKinsokuItem* pStaple = pList->GetLinkedItem(KINSOKU_ITEM_STAPLE, KINSOKU_KEY_ALWAYS)) {
            const bool bDuplexUnit = HasDuplexUnit() != 0;
            for (const tagFINISHERPUNCH& staple : staples) {
                LONG X = 0;
                if (MapStapleId(staple.wId, &X) && ((staple.dwWords[1] & kStapleNeedsDuplexUnit) == 0 || bDuplexUnit)) {
                    pStaple->AddAllowedValue(KINSOKU_KEY_ALWAYS, 0, X);
                }
            }
        }
        // Staple positions that restrict duplex allow only the two-sided modes and force one.
        if (CKinsokuItem* pDuplex = pList->GetLinkedItem(KINSOKU_ITEM_DUPLEX, KINSOKU_KEY_STAPLE)) {
            for (const tagFINISHERPUNCH& staple : staples) {
                LONG X = 0;
                if (!MapStapleId(staple.wId, &X)) {
                    continue;
                }
                const DWORD dwFlags = staple.dwWords[1];
                if ((dwFlags & kStapleRestrictsDuplex) == 0) {
                    pDuplex->SetAllowAll(KINSOKU_KEY_STAPLE, X);
                    continue;
                }
                pDuplex->AddAllowedValue(KINSOKU_KEY_STAPLE, X, 2);
                pDuplex->AddAllowedValue(KINSOKU_KEY_STAPLE, X, 3);
                pDuplex->SetForcedValue(KINSOKU_KEY_STAPLE, X, (dwFlags & kStapleLongEdge) != 0 ? 2 : 3);
            }
        }
    }
}
