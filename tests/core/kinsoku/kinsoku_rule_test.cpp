// The whitelist rule and the value entry on their own.
#include "core/kinsoku/KinsokuAtom.h"
#include "core/kinsoku/ValidRule.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using kinsoku_test::AllowedList;

TEST(ValidRule, FreshRuleForbidsEveryValue)
{
    const CValidRule rule(220, 3);
    EXPECT_EQ(rule.GetKeyItem(), 220);
    EXPECT_EQ(rule.GetKeyValue(), 3);
    EXPECT_FALSE(rule.HasForcedValue());
    EXPECT_EQ(rule.GetAllowAll(), 0);
    for (LONG v : {0, 1, 2, 65535, -1})
        EXPECT_FALSE(rule.Allows(v)) << v;
}

TEST(ValidRule, AllowsByListOrAllowAll)
{
    struct Case {
        const char* name;
        std::function<void(CValidRule&)> build;
        LONG value;
        bool allowed;
    };
    const std::vector<Case> cases = {
        {"listed value", [](CValidRule& r) { r.AddAllowedValue(300); }, 300, true},
        {"unlisted value", [](CValidRule& r) { r.AddAllowedValue(300); }, 301, false},
        // The list keeps the low 16 bits: 70000 is stored as 70000 - 65536 = 4464.
        {"stored as low 16 bits", [](CValidRule& r) { r.AddAllowedValue(70000); }, 4464, true},
        {"value above 16 bits never listed", [](CValidRule& r) { r.AddAllowedValue(70000); }, 70000, false},
        // -1 is stored as 0xFFFF, which the full 32-bit -1 does not equal.
        {"minus one never listed", [](CValidRule& r) { r.AddAllowedValue(-1); }, -1, false},
        {"minus one stored as 65535", [](CValidRule& r) { r.AddAllowedValue(-1); }, 65535, true},
        {"allow-all admits minus one", [](CValidRule& r) { r.SetAllowAll(-1); }, -1, true},
        {"allow-all ignores the list", [](CValidRule& r) { r.AddAllowedValue(5); r.SetAllowAll(-1); }, 6, true},
        {"any non-zero flag means allow-all", [](CValidRule& r) { r.SetAllowAll(1); }, 7, true},
        {"allow-all cleared again", [](CValidRule& r) { r.SetAllowAll(-1); r.SetAllowAll(0); }, 7, false},
    };
    for (const Case& c : cases) {
        CValidRule rule(220, 1);
        c.build(rule);
        EXPECT_EQ(rule.Allows(c.value), c.allowed) << c.name;
    }
}

TEST(ValidRule, KeepsDuplicatesAndRemovesOnlyTheFirst)
{
    CValidRule rule(212, 0);
    for (LONG v : {2, 3, 2, 65536 + 3})
        rule.AddAllowedValue(v);
    EXPECT_EQ(AllowedList(rule), (std::vector<DWORD>{2, 3, 2, 3}));

    EXPECT_TRUE(rule.RemoveAllowedValue(2));
    EXPECT_EQ(AllowedList(rule), (std::vector<DWORD>{3, 2, 3}));
    EXPECT_TRUE(rule.RemoveAllowedValue(65536 + 2));  // compared by its low 16 bits
    EXPECT_EQ(AllowedList(rule), (std::vector<DWORD>{3, 3}));
    EXPECT_FALSE(rule.RemoveAllowedValue(9));
}

TEST(ValidRule, CopyCarriesEveryField)
{
    CValidRule rule(220, 0x10005);
    rule.AddAllowedValue(2);
    rule.AddAllowedValue(3);
    rule.SetForcedValue(3);
    rule.SetAllowAll(-1);

    const CValidRule copy(rule);
    rule.AddAllowedValue(4);  // the copy has a list of its own
    EXPECT_EQ(copy.GetKeyItem(), 220);
    EXPECT_EQ(copy.GetKeyValue(), 0x10005);
    EXPECT_TRUE(copy.HasForcedValue());
    EXPECT_EQ(copy.GetForcedValue(), 3);
    EXPECT_EQ(copy.GetAllowAll(), -1);
    EXPECT_EQ(AllowedList(copy), (std::vector<DWORD>{2, 3}));
}

TEST(KinsokuAtom, ForbiddingListHoldsEachKeyOnce)
{
    CKinsokuAtom atom(22, 2, 4001, 0);
    EXPECT_TRUE(atom.IsSelectable());
    EXPECT_TRUE(atom.AddForbiddingKey(220));
    EXPECT_FALSE(atom.AddForbiddingKey(220));
    EXPECT_TRUE(atom.AddForbiddingKey(205));
    EXPECT_EQ(atom.GetForbiddingKeys().GetSize(), 2);
    EXPECT_FALSE(atom.IsSelectable());

    EXPECT_TRUE(atom.RemoveForbiddingKey(220));
    EXPECT_FALSE(atom.RemoveForbiddingKey(220));
    EXPECT_FALSE(atom.IsForbiddenBy(220));
    EXPECT_TRUE(atom.IsForbiddenBy(205));
}

TEST(KinsokuAtom, CopyStartsSelectable)
{
    CKinsokuAtom atom(27, 12, 3301, 2166);
    atom.AddForbiddingKey(225);

    const CKinsokuAtom copy(atom);
    EXPECT_EQ(copy.GetItemId(), 27);
    EXPECT_EQ(copy.GetValue(), 12);
    EXPECT_EQ(copy.GetData1(), 3301);
    EXPECT_EQ(copy.GetData2(), 2166);
    EXPECT_TRUE(copy.IsSelectable());
    EXPECT_FALSE(atom.IsSelectable());
}

}  // namespace
