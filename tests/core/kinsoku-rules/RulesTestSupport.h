// Helpers of the model-rule and option-rule tests: lists built over the sample models, and views of
// an item's values and rules that the tests compare with what the model data says.
#pragma once

#include "core/kinsoku/KinsokuItem.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"
#include "core/settings/DevMode.h"

#include <memory>
#include <string>
#include <vector>

namespace rulestest {

// A record with every validity bit set, so that every item and key of a list built over it is
// active.
DRVDEVMODE AllActiveRecord(bool bMetric = true);

// The model's own default record (the settings service's defaults), metric.
DRVDEVMODE DefaultRecord(const tagSPCDATA* pData);

// A list built over the record with the model's links and model rules.
std::unique_ptr<CKinsokuList> ModelList(const tagMODELHANDLE* pHandle, const DRVDEVMODE& record);

// The item's values in value order.
std::vector<LONG> Values(const CKinsokuItem* pItem);
// The data1 word of each value, in value order.
std::vector<LONG> Data1(const CKinsokuItem* pItem);
// The value the item prefers while every value is selectable: its default when it has one that is
// among its values, else its first value.
LONG PreferredValue(const CKinsokuItem* pItem);

// The pair rule (key, key value) as the tests write it: absent, allow-all, or the listed values.
struct PairRule {
    bool exists = false;
    bool allowAll = false;
    bool forced = false;
    LONG forcedValue = 0;
    std::vector<LONG> values;
};
PairRule Pair(const CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue);
inline PairRule Listed(std::vector<LONG> values)
{
    PairRule rule;
    rule.exists = true;
    rule.values = std::move(values);
    return rule;
}
inline PairRule AllAllowed()
{
    PairRule rule;
    rule.exists = true;
    rule.allowAll = true;
    return rule;
}
inline PairRule NoRule()
{
    return PairRule();
}
bool operator==(const PairRule& a, const PairRule& b);
std::ostream& operator<<(std::ostream& os, const PairRule& rule);

// The item's values that the key value leaves allowed, asked of the item (no run).
std::vector<LONG> AllowedUnder(const CKinsokuItem* pItem, SHORT sKey, LONG lKeyValue);

// The values of the item that are selectable now.
std::vector<LONG> Selectable(const CKinsokuItem* pItem);

}  // namespace rulestest
