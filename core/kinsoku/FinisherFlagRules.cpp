#include "core/kinsoku/FinisherFlagRules.h"

#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/ModelRules.h"

#include <vector>

namespace {

constexpr LONG kPortrait = 1;
constexpr LONG kLandscape = 2;

// The staple positions one byte of a staple flag word allows: 0 unless bit 7, then 1-6 for
// bits 0-5.
std::vector<LONG> StaplePositions(DWORD dwByte)
{
    std::vector<LONG> positions;
    if ((dwByte & 0x80) == 0) {
        positions.push_back(0);
    }
    for (int bit = 0; bit < 6; ++bit) {
        if ((dwByte & (1u << bit)) != 0) {
            positions.push_back(bit + 1);
        }
    }
    return positions;
}

// The punch values one nibble of a punch flag word allows: 0 unless bit 3, then 2, 3, 1 for
// bits 0, 1, 2.
std::vector<LONG> PunchValues(DWORD dwNibble)
{
    static const LONG kByBit[] = {2, 3, 1};
    std::vector<LONG> values;
    if ((dwNibble & 0x8) == 0) {
        values.push_back(0);
    }
    for (int bit = 0; bit < 3; ++bit) {
        if ((dwNibble & (1u << bit)) != 0) {
            values.push_back(kByBit[bit]);
        }
    }
    return values;
}

std::vector<LONG> SortValues(DWORD dwFlags)
{
    std::vector<LONG> values;
    for (int bit = 0; bit < 6; ++bit) {
        SHORT sValue = 0;
        if ((dwFlags & (1u << bit)) != 0 && bSortBitToValue(1u << bit, &sValue) != 0) {
            values.push_back(sValue);
        }
    }
    return values;
}

// The values of either orientation, each once, in ascending order.
std::vector<LONG> Union(const std::vector<LONG>& a, const std::vector<LONG>& b)
{
    std::vector<LONG> all;
    for (LONG lValue = 0; lValue <= 6; ++lValue) {
        bool bIn = false;
        for (LONG v : a) {
            bIn = bIn || v == lValue;
        }
        for (LONG v : b) {
            bIn = bIn || v == lValue;
        }
        if (bIn) {
            all.push_back(lValue);
        }
    }
    return all;
}

void AddAll(CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue, const std::vector<LONG>& values)
{
    for (LONG lValue : values) {
        pItem->AddAllowedValue(sKey, lKeyValue, lValue);
    }
}

// Where the two orientations' parts of a staple or punch flag word sit: portrait in the low part,
// landscape in the part above it, each read by the same function.
struct OrientationParts {
    std::vector<LONG> (*values)(DWORD dwPart);
    DWORD dwMask;
    int nShift;
};
const OrientationParts kStapleParts = {StaplePositions, 0xFF, 8};
const OrientationParts kPunchParts = {PunchValues, 0xF, 4};

std::vector<LONG> PortraitValues(const OrientationParts& parts, DWORD dwFlags)
{
    return parts.values(dwFlags & parts.dwMask);
}

std::vector<LONG> LandscapeValues(const OrientationParts& parts, DWORD dwFlags)
{
    return parts.values((dwFlags >> parts.nShift) & parts.dwMask);
}

// (K, V1) gets the portrait values, (K, V2) the landscape ones.
SHORT OrientationValueRules(const OrientationParts& parts, CKinsokuItem* pItem, SHORT sKey, LONG lValue1,
                            LONG lValue2, DWORD dwFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    AddAll(pItem, sKey, lValue1, PortraitValues(parts, dwFlags));
    AddAll(pItem, sKey, lValue2, LandscapeValues(parts, dwFlags));
    return -1;
}

// (K, v) gets X for every value v that either orientation allows.
SHORT OrientationKeyRules(const OrientationParts& parts, CKinsokuItem* pItem, SHORT sKey, LONG lX, DWORD dwFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    for (LONG lValue : Union(PortraitValues(parts, dwFlags), LandscapeValues(parts, dwFlags))) {
        pItem->AddAllowedValue(sKey, lValue, lX);
    }
    return -1;
}

}  // namespace

SHORT bStapleValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue1, LONG lValue2, DWORD dwStapleFlags)
{
    return OrientationValueRules(kStapleParts, pItem, sKey, lValue1, lValue2, dwStapleFlags);
}

SHORT bStapleKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwStapleFlags)
{
    return OrientationKeyRules(kStapleParts, pItem, KINSOKU_KEY_STAPLE, lX, dwStapleFlags);
}

SHORT bPunchValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue1, LONG lValue2, DWORD dwPunchFlags)
{
    return OrientationValueRules(kPunchParts, pItem, sKey, lValue1, lValue2, dwPunchFlags);
}

SHORT bPunchKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwPunchFlags)
{
    return OrientationKeyRules(kPunchParts, pItem, KINSOKU_KEY_PUNCH, lX, dwPunchFlags);
}

SHORT bSortValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue, DWORD dwSortFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    AddAll(pItem, sKey, lValue, SortValues(dwSortFlags));
    return -1;
}

SHORT bSortKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwSortFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    for (LONG lSort : SortValues(dwSortFlags)) {
        pItem->AddAllowedValue(KINSOKU_KEY_SORT, lSort, lX);
    }
    return -1;
}

SHORT bBookletPositionRules(CKinsokuItem* pItem, LONG lX, DWORD dwFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    if ((dwFlags & 0x2000) != 0) {
        pItem->AddAllowedValue(KINSOKU_KEY_BOOKLET, 0, lX);
    }
    if ((dwFlags & 0x4000) != 0) {
        pItem->AddAllowedValue(KINSOKU_KEY_BOOKLET, 2, lX);
    }
    return -1;
}

SHORT bBookletUnitRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue, DWORD dwFlags)
{
    if (pItem == nullptr) {
        return 0;
    }
    static const LONG kUnits[] = {1, 2, 4, 8};
    for (int bit = 0; bit < 4; ++bit) {
        if ((dwFlags & (1u << bit)) != 0) {
            pItem->AddAllowedValue(sKey, lValue, kUnits[bit]);
        }
    }
    if ((dwFlags & 0x1000) != 0) {
        pItem->AddAllowedValue(sKey, lValue, 0);
    }
    return -1;
}

SHORT bPaperPositionRules(CKinsokuItem* pItem, SHORT sKey, LONG lPaperClass, DWORD dwFlags, LONG lX)
{
    if (pItem == nullptr) {
        return 0;
    }
    const OrientationParts* pParts = sKey == KINSOKU_KEY_CLASS_STAPLE ? &kStapleParts
                                     : sKey == KINSOKU_KEY_CLASS_PUNCH ? &kPunchParts
                                                                       : nullptr;
    if (pParts == nullptr) {
        return -1;
    }
    for (LONG s : PortraitValues(*pParts, dwFlags)) {
        pItem->AddAllowedValue(sKey, lPaperClass + (kPortrait << 24) + (s << 16), lX);
    }
    for (LONG s : LandscapeValues(*pParts, dwFlags)) {
        pItem->AddAllowedValue(sKey, lPaperClass + (kLandscape << 24) + (s << 16), lX);
    }
    return -1;
}
