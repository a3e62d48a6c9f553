// The replacement value of a constraint item: the preferred value when selectable, else the first
// selectable value in entry order, else the preferred value even though forbidden, else 0.
#include "core/kinsoku/KinsokuItem.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kinsoku_test;

constexpr LONG kNone = 0x7FFFFFFF;  // marks "not set" in the table

struct Case {
    const char* name;
    LONG defaultValue;           // kNone: no default
    LONG forced;                 // forced value of the pair rule (220, 5); kNone: none
    std::vector<LONG> forbidden;  // values forbidden at the time of the choice
    SHORT key;
    LONG keyValue;
    LONG expected;
};

TEST(KinsokuChooseValue, PrecedenceOfPreferredFirstSelectableAndFallbacks)
{
    const std::vector<Case> cases = {
        {"first selectable without default", kNone, kNone, {10}, 0, 0, 20},
        {"default when selectable", 30, kNone, {10}, 0, 0, 30},
        {"default forbidden: first selectable", 30, kNone, {10, 30}, 0, 0, 20},
        {"forced value wins over default", 30, 40, {}, kKeyStaple, 5, 40},
        {"forced forbidden does not fall back to default", 30, 40, {40}, kKeyStaple, 5, 10},
        {"nothing selectable: forced value", 30, 40, {10, 20, 30, 40}, kKeyStaple, 5, 40},
        {"nothing selectable: default", 30, kNone, {10, 20, 30, 40}, 0, 0, 30},
        {"nothing selectable and nothing preferred", kNone, kNone, {10, 20, 30, 40}, 0, 0, 0},
        {"no key item: forced value not asked", 30, 40, {}, 0, 5, 30},
        {"other key value: forced value not asked", 30, 40, {}, kKeyStaple, 6, 30},
        {"forced value only with its pair", kNone, 40, {}, kKeyPunch, 5, 10},
        {"default not among the values", 99, kNone, {10}, 0, 0, 20},
        {"forced value 0 counts as set", 30, 0, {10, 20, 30, 40}, kKeyStaple, 5, 0},
    };
    for (const Case& c : cases) {
        CKinsokuItem item(22);
        AddValues(item, {10, 20, 30, 40});
        if (c.defaultValue != kNone)
            item.SetDefaultValue(c.defaultValue);
        if (c.forced != kNone)
            item.SetForcedValue(kKeyStaple, 5, c.forced);
        for (LONG v : c.forbidden)
            item.SetValueAllowedByKey(v, kKeyHalftone, 0);
        EXPECT_EQ(item.ChooseValue(c.key, c.keyValue), c.expected) << c.name;
    }
}

TEST(KinsokuChooseValue, PairRuleWithoutForcedValueFallsToDefault)
{
    CKinsokuItem item(22);
    AddValues(item, {1, 2, 3});
    item.SetDefaultValue(3);
    item.AddAllowedValue(kKeyStaple, 5, 2);
    item.AddAllowedValue(kKeyStaple, 5, 3);
    item.ApplyKeyValue(kKeyStaple, 5);
    EXPECT_EQ(item.ChooseValue(kKeyStaple, 5), 3);
}

TEST(KinsokuChooseValue, ItemWithoutValuesAnswersDefaultOrZero)
{
    CKinsokuItem noDefault(36);
    EXPECT_EQ(noDefault.ChooseValue(0, 0), 0);
    CKinsokuItem withDefault(36);
    withDefault.SetDefaultValue(7);
    EXPECT_EQ(withDefault.ChooseValue(0, 0), 7);
}

}  // namespace
