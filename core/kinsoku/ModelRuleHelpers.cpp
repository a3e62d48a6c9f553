// Helpers of the rule builders: sort bits to sort values, the quality exclusion lists and the
// merged list of paper sources.
#include "core/kinsoku/ModelRules.h"

#include "core/kinsoku/KinsokuAtom.h"
#include "core/kinsoku/RuleAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/LayoutRules.h"

#include <cstdlib>
#include <cstring>

namespace {

// The source ids the merged list puts first: automatic selection, then manual feed.
constexpr SHORT kSourceAuto = 7;
constexpr SHORT kSourceManual = 4;

int SourceWeight(const tagSOURCEINFO& record)
{
    return record.sId == kSourceAuto ? 2 : record.sId == kSourceManual ? 1 : 0;
}

}  // namespace

SHORT bSortBitToValue(DWORD dwBit, SHORT* psValue)
{
    struct BitValue {
        DWORD dwBit;
        SHORT sValue;
    };
    // The printer's sort bits are in capability order; dmSort numbers the same modes differently.
    static const BitValue kMap[] = {{0x1, 0}, {0x2, 1}, {0x4, 4}, {0x8, 5}, {0x10, 2}, {0x20, 3}};
    if (psValue == nullptr) {
        return 0;
    }
    for (const BitValue& entry : kMap) {
        if (entry.dwBit == dwBit) {
            *psValue = entry.sValue;
            return -1;
        }
    }
    return 0;
}

void vAddSortBits(CKinsokuItem* pItem, SHORT sKeyItem, LONG lKeyValue, DWORD dwSortBits)
{
    if (pItem == nullptr) {
        return;
    }
    for (int bit = 0; bit < 32; ++bit) {
        SHORT sValue = 0;
        if ((dwSortBits & (1u << bit)) != 0 && bSortBitToValue(1u << bit, &sValue) != 0) {
            pItem->AddAllowedValue(sKeyItem, lKeyValue, sValue);
        }
    }
}

SHORT vAllowAllButListed(CKinsokuItem* pItem, SHORT sKeyItem, SHORT sKeyValue, const SHORT* psList, SHORT sCount)
{
    if (pItem == nullptr || psList == nullptr) {
        return 0;
    }
    if (sCount <= 0) {
        return -1;
    }
    // The rule exists as soon as the model gives an exclusion list: should the list exclude every
    // value of the item, no value is allowed, rather than the item falling back to the key rule
    // that allows everything.
    pItem->GetKeyValueRule(sKeyItem, sKeyValue);
    const CObArray& atoms = pItem->GetAtomArray();
    for (int i = 0; i < atoms.GetSize(); ++i) {
        LONG lValue = static_cast<const CKinsokuAtom*>(atoms.GetAt(i))->GetValue();
        bool bListed = false;
        for (SHORT n = 0; n < sCount && !bListed; ++n) {
            bListed = MapQualityValue(psList[n]) == lValue;
        }
        if (!bListed) {
            pItem->AddAllowedValue(sKeyItem, sKeyValue, lValue);
        }
    }
    return -1;
}

int iCompareSourceOrder(const void* pvA, const void* pvB)
{
    tagSOURCEINFO a;
    tagSOURCEINFO b;
    memcpy(&a, pvA, sizeof a);
    memcpy(&b, pvB, sizeof b);
    int nWeightA = SourceWeight(a);
    int nWeightB = SourceWeight(b);
    if (nWeightA != nWeightB) {
        return nWeightA > nWeightB ? -1 : 1;
    }
    // The position is stored in the record's spare word before the sort.
    if (a.dwReserved != b.dwReserved) {
        return a.dwReserved < b.dwReserved ? -1 : 1;
    }
    return 0;
}

bool BuildMergedSources(const tagMODELHANDLE* pHandle, tagSOURCEINFO** ppRecords, DWORD* pdwCount)
{
    *ppRecords = nullptr;
    *pdwCount = 0;
    CPrinterInfo sources(pHandle, SPCID_PAPERSOURCE, 0, 3);
    CPrinterInfo groups(pHandle, SPCID_SOURCEGROUP, 0, 3);
    DWORD dwSources = 0;
    DWORD dwGroups = 0;
    const tagSOURCEINFO* pSources = sources.Records<tagSOURCEINFO>(&dwSources);
    const tagSOURCEINFO* pGroups = groups.Records<tagSOURCEINFO>(&dwGroups);
    DWORD dwTotal = dwSources + dwGroups;
    if (dwTotal == 0) {
        return false;
    }
    auto* pMerged = static_cast<tagSOURCEINFO*>(calloc(dwTotal, sizeof(tagSOURCEINFO)));
    if (pMerged == nullptr) {
        return false;
    }
    if (dwSources != 0) {
        memcpy(pMerged, pSources, dwSources * sizeof(tagSOURCEINFO));
    }
    if (dwGroups != 0) {
        memcpy(pMerged + dwSources, pGroups, dwGroups * sizeof(tagSOURCEINFO));
    }
    for (DWORD i = 0; i < dwTotal; ++i) {
        pMerged[i].dwReserved = i;
    }
    qsort(pMerged, dwTotal, sizeof(tagSOURCEINFO), iCompareSourceOrder);
    *ppRecords = pMerged;
    *pdwCount = dwTotal;
    return true;
}
