// Rules of a constraint item: creation, applying key values, the questions asked of them, and
// re-keying or removing a key item.
#include "core/kinsoku/KinsokuItem.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <vector>

namespace {

using namespace kinsoku_test;

TEST(KinsokuItemRules, OneRulePerPairAndPerKeyItem)
{
    CKinsokuItem item(22);
    CValidRule* pPair = item.GetKeyValueRule(kKeyStaple, 1);
    EXPECT_EQ(item.GetKeyValueRule(kKeyStaple, 1), pPair);
    EXPECT_NE(item.GetKeyValueRule(kKeyStaple, 2), pPair);
    EXPECT_NE(item.GetKeyValueRule(kKeyPunch, 1), pPair);
    EXPECT_EQ(item.FindRule(kKeyStaple, 1), pPair);
    EXPECT_EQ(item.FindRule(kKeyStaple, 3), nullptr);  // asking creates nothing
    EXPECT_EQ(item.FindRule(kKeyStaple, 3), nullptr);

    CValidRule* pKey = item.GetKeyRule(kKeyStaple);
    EXPECT_EQ(item.GetKeyRule(kKeyStaple), pKey);
    EXPECT_NE(pKey, pPair);
    EXPECT_EQ(pKey->GetKeyValue(), 0);
    EXPECT_EQ(pKey->GetAllowAll(), 0);
}

TEST(KinsokuItemRules, RuleBuildersAnswerAndStore)
{
    CKinsokuItem item(22);
    EXPECT_EQ(item.SetForcedValue(kKeyStaple, 5, 2), -1);
    EXPECT_EQ(item.AddAllowedValue(kKeyStaple, 5, 2), 1);
    const SHORT pair[] = {3, -1, 7};
    EXPECT_EQ(item.AddAllowedValues(kKeyStaple, 5, pair, 2), 1);  // the first two only
    EXPECT_EQ(item.SetAllowAll(kKeyStaple, 6), 1);
    EXPECT_EQ(item.SetKeyAllowAll(kKeyPunch, -1), 1);
    EXPECT_EQ(item.AddKeyAllowedValue(kKeyFinisher, 70000), 1);
    const WORD keyValues[] = {65535, 4};
    EXPECT_EQ(item.AddKeyAllowedValues(kKeyFinisher, keyValues, 2), 1);

    const CValidRule* p5 = item.FindRule(kKeyStaple, 5);
    ASSERT_NE(p5, nullptr);
    EXPECT_TRUE(p5->HasForcedValue());
    EXPECT_EQ(p5->GetForcedValue(), 2);
    EXPECT_EQ(AllowedList(*p5), (std::vector<DWORD>{2, 3, 0xFFFF}));
    EXPECT_EQ(item.FindRule(kKeyStaple, 6)->GetAllowAll(), -1);
    EXPECT_EQ(item.GetKeyRule(kKeyPunch)->GetAllowAll(), -1);
    EXPECT_EQ(AllowedList(*item.GetKeyRule(kKeyFinisher)), (std::vector<DWORD>{4464, 0xFFFF, 4}));
}

TEST(KinsokuItemRules, BuildingWithNoValuesStillCreatesTheRule)
{
    CKinsokuItem item(9);
    AddValues(item, {0, 1});
    item.AddKeyAllowedValues(kKeyPaperClass, nullptr, 0);
    item.AddAllowedValues(kKeyStaple, 2, nullptr, 3);  // no array: nothing read, rule made
    EXPECT_NE(item.FindRule(kKeyStaple, 2), nullptr);
    EXPECT_TRUE(AllowedList(*item.FindRule(kKeyStaple, 2)).empty());

    // An empty key-wide rule allows no value.
    EXPECT_EQ(item.ApplyKeyValue(kKeyPaperClass, 4), -1);
    EXPECT_TRUE(SelectableValues(item).empty());
}

// Item values used by the apply table: small codes, a value above 255, and -1.
constexpr LONG kItemValues[] = {1, 2, 3, 300, -1};

struct ApplyCase {
    const char* name;
    std::function<void(CKinsokuItem&)> rules;
    SHORT key;
    LONG keyValue;
    SHORT result;                 // of the first application on a fresh item
    std::vector<LONG> selectable;  // afterwards
};

const std::vector<ApplyCase>& ApplyCases()
{
    static const std::vector<ApplyCase> cases = {
        {"no rule on the key", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyFinisher, 1, 2); },
         kKeyStaple, 1, 0, {1, 2, 3, 300, -1}},
        {"pair rule lists the allowed values",
         [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 2); i.AddAllowedValue(kKeyStaple, 1, 3); },
         kKeyStaple, 1, -1, {2, 3}},
        {"list with 300 allows 300", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 300); },
         kKeyStaple, 1, -1, {300}},
        {"listed 65535 does not allow -1", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 65535); },
         kKeyStaple, 1, -1, {}},
        {"allow-all admits -1 and ignores the list",
         [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 2); i.SetAllowAll(kKeyStaple, 1); },
         kKeyStaple, 1, 0, {1, 2, 3, 300, -1}},
        {"pair rule wins over the key-wide rule",
         [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 2); i.AddKeyAllowedValue(kKeyStaple, 3); },
         kKeyStaple, 1, -1, {2}},
        {"key-wide rule for a value without pair rule",
         [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 2); i.AddKeyAllowedValue(kKeyStaple, 3); },
         kKeyStaple, 4, -1, {3}},
        {"key-wide allow-all", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 1, 2); i.SetKeyAllowAll(kKeyStaple, -1); },
         kKeyStaple, 4, 0, {1, 2, 3, 300, -1}},
        {"empty pair rule forbids all", [](CKinsokuItem& i) { i.AddAllowedValues(kKeyStaple, 0, nullptr, 0); },
         kKeyStaple, 0, -1, {}},
        // Key values are compared as full 32-bit numbers: 0x10001 is not 1.
        {"key value compared in 32 bits", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyDuplex, 0x10001, 2); },
         kKeyDuplex, 1, -1, {}},
        {"rule on another key value of the same key only",
         [](CKinsokuItem& i) { i.AddAllowedValue(kKeyHalftone, 2, 1); }, kKeyHalftone, 2, -1, {1}},
        // Pair rules on the key, none for the key value, no key-wide rule: key value 0 (the key's
        // "off" state) leaves the item free, any other key value forbids every value.
        {"unmatched key value 0 leaves the item free", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyStaple, 5, 2); },
         kKeyStaple, 0, 0, {1, 2, 3, 300, -1}},
        {"unmatched non-zero key value forbids all", [](CKinsokuItem& i) { i.AddAllowedValue(kKeyHalftone, 2, 1); },
         kKeyHalftone, 6, -1, {}},
        {"unmatched negative key value forbids all", [](CKinsokuItem& i) { i.SetAllowAll(kKeyStaple, 5); },
         kKeyStaple, -1, -1, {}},
    };
    return cases;
}

TEST(KinsokuItemRules, ApplyKeyValueRecordsTheVerdictOfTheGoverningRule)
{
    for (const ApplyCase& c : ApplyCases()) {
        CKinsokuItem item(22);
        for (LONG v : kItemValues)
            item.AddValue(v, 0, 0);
        c.rules(item);
        EXPECT_EQ(item.ApplyKeyValue(c.key, c.keyValue), c.result) << c.name;
        EXPECT_EQ(SelectableValues(item), c.selectable) << c.name;
        // Nothing changes the second time.
        EXPECT_EQ(item.ApplyKeyValue(c.key, c.keyValue), 0) << c.name;
    }
}

TEST(KinsokuItemRules, IsForbiddenByKeyValueAgreesWithApply)
{
    for (const ApplyCase& c : ApplyCases()) {
        CKinsokuItem item(22);
        for (LONG v : kItemValues)
            item.AddValue(v, 0, 0);
        c.rules(item);
        // Asking first must not change anything.
        for (LONG v : kItemValues)
            item.IsForbiddenByKeyValue(v, c.key, c.keyValue);
        EXPECT_EQ(SelectableValues(item).size(), std::size(kItemValues)) << c.name;

        item.ApplyKeyValue(c.key, c.keyValue);
        for (LONG v : kItemValues) {
            const SHORT expected = item.IsValueForbiddenBy(v, c.key) != 0 ? -1 : 0;
            EXPECT_EQ(item.IsForbiddenByKeyValue(v, c.key, c.keyValue), expected) << c.name << " value " << v;
        }
    }
}

TEST(KinsokuItemRules, VerdictsOfSeveralKeysCombine)
{
    CKinsokuItem item(2);
    AddValues(item, {10, 20, 30});
    item.AddAllowedValue(kKeyPaperClass, 9, 10);
    item.AddAllowedValue(kKeyPaperClass, 9, 20);
    item.SetAllowAll(kKeyPaperClass, 4);
    item.AddAllowedValue(kKeyFinisher, 1, 20);
    item.AddAllowedValue(kKeyFinisher, 1, 30);
    item.SetAllowAll(kKeyFinisher, 2);

    EXPECT_EQ(item.ApplyKeyValue(kKeyPaperClass, 9), -1);
    EXPECT_EQ(item.ApplyKeyValue(kKeyFinisher, 1), -1);
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{20}));
    EXPECT_EQ(ForbiddingKeys(item, 10), (std::vector<SHORT>{kKeyFinisher}));
    EXPECT_EQ(ForbiddingKeys(item, 30), (std::vector<SHORT>{kKeyPaperClass}));

    // Lifting one key leaves the other's verdict in place.
    EXPECT_EQ(item.ApplyKeyValue(kKeyPaperClass, 4), -1);
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{20, 30}));
    EXPECT_EQ(item.ApplyKeyValue(kKeyFinisher, 2), -1);
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{10, 20, 30}));
}

TEST(KinsokuItemRules, NoStaplingLeavesDuplexFreeWhileStaplePositionsRestrictIt)
{
    // Duplex item: 1 one-sided, 2 and 3 the two-sided modes. The finisher offers staple position
    // 1 without restriction and position 5 only two-sided, preferring mode 2; it has no rule for
    // staple 0 and no key-wide rule.
    CKinsokuItem duplex(22);
    AddValues(duplex, {1, 2, 3});
    duplex.SetDefaultValue(1);
    duplex.SetAllowAll(kKeyStaple, 1);
    duplex.AddAllowedValue(kKeyStaple, 5, 2);
    duplex.AddAllowedValue(kKeyStaple, 5, 3);
    duplex.SetForcedValue(kKeyStaple, 5, 2);

    EXPECT_EQ(duplex.ApplyKeyValue(kKeyStaple, 0), 0);
    EXPECT_EQ(duplex.IsValueDisabled(3), 0);

    EXPECT_EQ(duplex.ApplyKeyValue(kKeyStaple, 5), -1);
    EXPECT_EQ(duplex.IsValueDisabled(1), -1);
    EXPECT_EQ(duplex.ChooseValue(kKeyStaple, 5), 2);

    EXPECT_EQ(duplex.ApplyKeyValue(kKeyStaple, 0), -1);
    EXPECT_EQ(SelectableValues(duplex), (std::vector<LONG>{1, 2, 3}));
    EXPECT_EQ(duplex.IsForbiddenByKeyValue(1, kKeyStaple, 0), 0);
    EXPECT_EQ(duplex.IsForbiddenByKeyValue(1, kKeyStaple, 5), -1);
}

TEST(KinsokuItemRules, HalftoneWithoutRuleMakesContrastUnavailable)
{
    // The contrast item has the one value 1; halftones 2 and 3 allow it, halftone 6 has no rule.
    CKinsokuItem contrast(42);
    contrast.AddValue(1, 0, 0);
    contrast.AddAllowedValue(kKeyHalftone, 2, 1);
    contrast.AddAllowedValue(kKeyHalftone, 3, 1);

    EXPECT_EQ(contrast.ApplyKeyValue(kKeyHalftone, 2), 0);
    EXPECT_EQ(contrast.IsValueDisabled(1), 0);
    EXPECT_EQ(contrast.ApplyKeyValue(kKeyHalftone, 6), -1);
    EXPECT_EQ(contrast.IsValueDisabled(1), -1);
    EXPECT_EQ(contrast.GetValueList()->lDisabled, -1);
    EXPECT_EQ(contrast.ApplyKeyValue(kKeyHalftone, 3), -1);
    EXPECT_EQ(contrast.IsValueDisabled(1), 0);
}

TEST(KinsokuItemRules, RemoveKeyDeletesItsRulesAndVerdicts)
{
    CKinsokuItem item(6);
    AddValues(item, {0, 1, 2});
    item.AddAllowedValue(kKeyStaple, 1, 0);
    item.AddAllowedValue(kKeyStaple, 2, 0);
    item.SetAllowAll(kKeyStaple, 3);
    item.AddKeyAllowedValue(kKeyStaple, 1);
    item.AddAllowedValue(kKeyFinisher, 7, 0);
    item.AddAllowedValue(kKeyFinisher, 7, 2);
    item.ApplyKeyValue(kKeyStaple, 1);
    item.ApplyKeyValue(kKeyFinisher, 7);
    EXPECT_EQ(ForbiddingKeys(item, 1), (std::vector<SHORT>{kKeyStaple, kKeyFinisher}));
    EXPECT_EQ(ForbiddingKeys(item, 2), (std::vector<SHORT>{kKeyStaple}));

    // Three pair rules and the one key-wide rule.
    EXPECT_EQ(item.RemoveKey(kKeyStaple), 4);
    EXPECT_EQ(ForbiddingKeys(item, 1), (std::vector<SHORT>{kKeyFinisher}));
    EXPECT_TRUE(ForbiddingKeys(item, 2).empty());
    EXPECT_EQ(item.FindRule(kKeyStaple, 3), nullptr);
    EXPECT_EQ(item.ApplyKeyValue(kKeyStaple, 1), 0);  // no longer depends on the key
    EXPECT_NE(item.FindRule(kKeyFinisher, 7), nullptr);

    EXPECT_EQ(item.RemoveKey(kKeyStaple), 0);
    EXPECT_EQ(item.RemoveKey(kKeyFinisher), 1);
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{0, 1, 2}));
}

TEST(KinsokuItemRules, RenameKeyMovesRulesButNotVerdicts)
{
    CKinsokuItem item(5);
    AddValues(item, {0, 1, 2});
    item.AddAllowedValue(kKeyStaple, 1, 0);
    item.AddKeyAllowedValue(kKeyStaple, 2);
    item.ApplyKeyValue(kKeyStaple, 1);

    EXPECT_EQ(item.RenameKey(kKeyStaple, kKeyPunch), -1);
    EXPECT_EQ(ForbiddingKeys(item, 1), (std::vector<SHORT>{kKeyStaple}));
    EXPECT_EQ(item.ApplyKeyValue(kKeyStaple, 1), 0);
    EXPECT_EQ(item.FindRule(kKeyStaple, 1), nullptr);
    EXPECT_NE(item.FindRule(kKeyPunch, 1), nullptr);

    item.ApplyKeyValue(kKeyPunch, 9);  // the renamed key-wide rule
    EXPECT_EQ(ForbiddingKeys(item, 0), (std::vector<SHORT>{kKeyPunch}));
    EXPECT_EQ(ForbiddingKeys(item, 1), (std::vector<SHORT>{kKeyStaple, kKeyPunch}));
    EXPECT_EQ(ForbiddingKeys(item, 2), (std::vector<SHORT>{kKeyStaple}));
}

TEST(KinsokuItemRules, GetForbiddingKeysCopiesWithinTheMaximum)
{
    CKinsokuItem item(21);
    AddValues(item, {0, 1});
    for (SHORT key : {kKeyStaple, kKeyPaperClass, kKeyDuplex}) {
        item.AddAllowedValue(key, 1, 1);
        item.ApplyKeyValue(key, 1);
    }
    constexpr SHORT kUntouched = 0x5A5A;
    struct Case {
        const char* name;
        LONG value;
        bool withBuffer;
        LONG max;
        int result;
        std::vector<SHORT> buffer;  // the first four slots afterwards
    };
    const std::vector<Case> cases = {
        {"no buffer", 0, false, 4, 3, {kUntouched, kUntouched, kUntouched, kUntouched}},
        {"maximum 0 copies nothing", 0, true, 0, 3, {kUntouched, kUntouched, kUntouched, kUntouched}},
        {"negative maximum copies nothing", 0, true, -1, 3, {kUntouched, kUntouched, kUntouched, kUntouched}},
        {"maximum limits count and copy", 0, true, 2, 2, {kKeyStaple, kKeyPaperClass, kUntouched, kUntouched}},
        {"larger maximum copies all", 0, true, 10, 3, {kKeyStaple, kKeyPaperClass, kKeyDuplex, kUntouched}},
        {"selectable value", 1, true, 10, 0, {kUntouched, kUntouched, kUntouched, kUntouched}},
        {"absent value", 5, true, 10, 0, {kUntouched, kUntouched, kUntouched, kUntouched}},
    };
    for (const Case& c : cases) {
        std::vector<SHORT> buffer(16, kUntouched);
        EXPECT_EQ(item.GetForbiddingKeys(c.value, c.withBuffer ? buffer.data() : nullptr, c.max), c.result) << c.name;
        buffer.resize(4);
        EXPECT_EQ(buffer, c.buffer) << c.name;
    }
}

TEST(KinsokuItemRules, KeyWideRuleQuestion)
{
    CKinsokuItem item(17);
    AddValues(item, {0, 1});
    EXPECT_EQ(item.IsForbiddenByKey(1, kKeyStaple), 0);  // no key-wide rule
    item.AddAllowedValue(kKeyStaple, 1, 1);
    EXPECT_EQ(item.IsForbiddenByKey(0, kKeyStaple), 0);  // pair rules are not asked
    item.AddKeyAllowedValue(kKeyStaple, 0);
    EXPECT_EQ(item.IsForbiddenByKey(0, kKeyStaple), 0);
    EXPECT_EQ(item.IsForbiddenByKey(1, kKeyStaple), -1);
    item.SetKeyAllowAll(kKeyStaple, -1);
    EXPECT_EQ(item.IsForbiddenByKey(1, kKeyStaple), 0);
}

TEST(KinsokuItemRules, DirectVerdictsOnTheFirstEntry)
{
    CKinsokuItem item(8);
    AddValues(item, {0, 1});
    EXPECT_EQ(item.SetValueAllowedByKey(1, kKeyStaple, 0), -1);
    EXPECT_EQ(item.SetValueAllowedByKey(1, kKeyStaple, 0), 0);
    EXPECT_EQ(item.IsValueForbiddenBy(1, kKeyStaple), FLAG_TRUE);
    EXPECT_EQ(item.IsValueForbiddenBy(0, kKeyStaple), FLAG_FALSE);
    EXPECT_EQ(item.IsValueForbiddenBy(7, kKeyStaple), FLAG_FALSE);
    EXPECT_EQ(item.IsValueDisabled(1), -1);
    EXPECT_EQ(item.SetValueAllowedByKey(1, kKeyStaple, -1), -1);
    EXPECT_EQ(item.SetValueAllowedByKey(1, kKeyStaple, -1), 0);
    EXPECT_EQ(item.IsValueDisabled(1), 0);
    EXPECT_EQ(item.SetValueAllowedByKey(7, kKeyStaple, 0), 0);  // absent value
    EXPECT_EQ(item.IsValueDisabled(7), -1);
}

TEST(KinsokuItemRules, RemoveRuleValueTakesOneEntryOfThePairRule)
{
    CKinsokuItem item(9);
    AddValues(item, {2, 3});
    const SHORT values[] = {2, 2, 3};
    item.AddAllowedValues(kKeyStaple, 1, values, 3);
    EXPECT_EQ(item.RemoveRuleValue(kKeyStaple, 1, 2), -1);
    EXPECT_EQ(AllowedList(*item.FindRule(kKeyStaple, 1)), (std::vector<DWORD>{2, 3}));
    EXPECT_EQ(item.RemoveRuleValue(kKeyStaple, 1, 65536 + 3), -1);
    EXPECT_EQ(item.RemoveRuleValue(kKeyStaple, 1, 3), 0);
    EXPECT_EQ(item.RemoveRuleValue(kKeyStaple, 4, 2), 0);  // no such rule
    EXPECT_EQ(item.FindRule(kKeyStaple, 4), nullptr);
    item.ApplyKeyValue(kKeyStaple, 1);
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{2}));
}

}  // namespace
