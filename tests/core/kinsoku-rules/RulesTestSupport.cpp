#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/KinsokuAtom.h"
#include "core/kinsoku/ModelRules.h"
#include "core/settings/DevModeService.h"

#include <cstring>
#include <ostream>

namespace rulestest {

DRVDEVMODE AllActiveRecord(bool bMetric)
{
    DRVDEVMODE record = pitest::BlankRecord();
    record.dm.dmFields = 0xFFFFFFFF;
    record.priv.dmFieldsExtra1 = 0xFFFFFFFF;
    record.priv.dmFieldsExtra2 = 0xFFFFFFFF;
    record.priv.dmFieldsExtra3 = 0xFFFFFFFF;
    record.priv.dmExtraPrint = 0xFFFFFFFF;
    record.priv.dmMetric = bMetric ? 0x2 : 0;
    return record;
}

DRVDEVMODE DefaultRecord(const tagSPCDATA* pData)
{
    DRVDEVMODE record = pitest::BlankRecord();
    SpcDefaultDevmode(pData, nullptr, &record, DEVMODE_SERVICE_DEFAULTS);
    return record;
}

std::unique_ptr<CKinsokuList> ModelList(const tagMODELHANDLE* pHandle, const DRVDEVMODE& record)
{
    auto list = std::make_unique<CKinsokuList>(pHandle, nullptr, &record);
    vLoadKinsokuLinks(pHandle, list.get());
    bBuildModelKinsoku(pHandle, list.get(), -1);
    return list;
}

std::vector<LONG> Values(const CKinsokuItem* pItem)
{
    std::vector<LONG> values;
    if (pItem != nullptr) {
        const CObArray& atoms = pItem->GetAtomArray();
        for (int i = 0; i < atoms.GetSize(); ++i) {
            values.push_back(static_cast<const CKinsokuAtom*>(atoms.GetAt(i))->GetValue());
        }
    }
    return values;
}

std::vector<LONG> Data1(const CKinsokuItem* pItem)
{
    std::vector<LONG> data;
    if (pItem != nullptr) {
        const CObArray& atoms = pItem->GetAtomArray();
        for (int i = 0; i < atoms.GetSize(); ++i) {
            data.push_back(static_cast<const CKinsokuAtom*>(atoms.GetAt(i))->GetData1());
        }
    }
    return data;
}

PairRule Pair(const CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue)
{
    PairRule rule;
    const CValidRule* pRule = pItem != nullptr ? pItem->FindRule(sKey, lKeyValue) : nullptr;
    if (pRule == nullptr) {
        return rule;
    }
    rule.exists = true;
    rule.allowAll = pRule->GetAllowAll() != 0;
    rule.forced = pRule->HasForcedValue();
    rule.forcedValue = pRule->GetForcedValue();
    if (!rule.allowAll) {
        const CDWordArray& values = pRule->GetAllowedValues();
        for (int i = 0; i < values.GetSize(); ++i) {
            rule.values.push_back(static_cast<LONG>(values.GetAt(i)));
        }
    }
    return rule;
}

bool operator==(const PairRule& a, const PairRule& b)
{
    if (a.exists != b.exists || a.allowAll != b.allowAll) {
        return false;
    }
    // A forced value is compared only where the expected rule names one.
    if (b.forced && (!a.forced || a.forcedValue != b.forcedValue)) {
        return false;
    }
    return a.values == b.values;
}

std::ostream& operator<<(std::ostream& os, const PairRule& rule)
{
    if (!rule.exists) {
        return os << "(no rule)";
    }
    if (rule.allowAll) {
        return os << "(all)";
    }
    os << "{";
    for (LONG v : rule.values) {
        os << " " << v;
    }
    os << " }";
    if (rule.forced) {
        os << " forced " << rule.forcedValue;
    }
    return os;
}

std::vector<LONG> AllowedUnder(const CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue)
{
    std::vector<LONG> allowed;
    for (LONG value : Values(pItem)) {
        if (pItem->IsForbiddenByKeyValue(value, sKey, lKeyValue) == 0) {
            allowed.push_back(value);
        }
    }
    return allowed;
}

std::vector<LONG> Selectable(const CKinsokuItem* pItem)
{
    std::vector<LONG> values;
    for (LONG value : Values(pItem)) {
        if (pItem->IsValueDisabled(value) == 0) {
            values.push_back(value);
        }
    }
    return values;
}

LONG PreferredValue(const CKinsokuItem* pItem)
{
    return pItem != nullptr ? pItem->ChooseValue(0, 0) : -1;
}

}  // namespace rulestest
