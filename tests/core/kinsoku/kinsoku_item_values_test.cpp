// Value entries of a constraint item, its exported value list, copying and clearing.
#include "core/kinsoku/KinsokuItem.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kinsoku_test;

struct Node {
    WORD value;
    LONG data1;
    LONG data2;
    LONG disabled;
    bool operator==(const Node& o) const
    {
        return value == o.value && data1 == o.data1 && data2 == o.data2 && disabled == o.disabled;
    }
};

std::ostream& operator<<(std::ostream& os, const Node& n)
{
    return os << "{" << n.value << ", " << n.data1 << ", " << n.data2 << ", " << n.disabled << "}";
}

// Walks the list through its next pointers, as the settings program does.
std::vector<Node> Walk(const tagVALUELIST* pHead)
{
    std::vector<Node> out;
    for (const tagVALUELIST* p = pHead; p != nullptr; p = p->pNext)
        out.push_back({p->wValue, p->lData1, p->lData2, p->lDisabled});
    return out;
}

TEST(KinsokuItemValues, AddReturnsIndexForNewValueAndCountForExisting)
{
    CKinsokuItem item(2);
    EXPECT_EQ(item.AddValue(10, 101, 0), 0);
    EXPECT_EQ(item.AddValue(20, 102, 0), 1);
    EXPECT_EQ(item.AddValue(30, 103, 0), 2);
    // An existing value keeps its one entry and place; the answer is the number of entries.
    EXPECT_EQ(item.AddValue(10, 901, 902), 3);
    EXPECT_EQ(AllValues(item), (std::vector<LONG>{10, 20, 30}));

    const auto* pAtom = static_cast<const CKinsokuAtom*>(item.GetAtomArray().GetAt(0));
    EXPECT_EQ(pAtom->GetItemId(), 2);
    EXPECT_EQ(pAtom->GetData1(), 901);
    EXPECT_EQ(pAtom->GetData2(), 902);
}

TEST(KinsokuItemValues, InsertPlacesBeforeTheNamedValue)
{
    struct Case {
        const char* name;
        LONG value;
        LONG before;
        int result;
        std::vector<LONG> values;
        LONG data1Of10;
    };
    const std::vector<Case> cases = {
        {"before the first", 5, 10, 0, {5, 10, 20, 30}, 1},
        {"before the last", 25, 30, 2, {10, 20, 25, 30}, 1},
        {"missing before-value appends", 40, 99, 3, {10, 20, 30, 40}, 1},
        // An existing value only gets its data words; its index is returned.
        {"existing value keeps its place", 10, 30, 0, {10, 20, 30}, 77},
        // With no before-value it behaves as an add: the entry count for an existing value.
        {"existing value, missing before-value", 10, 99, 3, {10, 20, 30}, 77},
    };
    for (const Case& c : cases) {
        CKinsokuItem item(3);
        item.AddValue(10, 1, 0);
        item.AddValue(20, 2, 0);
        item.AddValue(30, 3, 0);
        EXPECT_EQ(item.InsertValue(c.value, 77, 0, c.before), c.result) << c.name;
        EXPECT_EQ(AllValues(item), c.values) << c.name;
        const auto* pAtom = static_cast<const CKinsokuAtom*>(item.GetAtomArray().GetAt(item.FindValueIndex(10)));
        EXPECT_EQ(pAtom->GetData1(), c.data1Of10) << c.name;
    }
}

TEST(KinsokuItemValues, RemoveAndFind)
{
    CKinsokuItem item(1);
    AddValues(item, {9, 4, 7, 5});
    EXPECT_EQ(item.FindValueIndex(7), 2);
    EXPECT_EQ(item.FindValueIndex(8), -1);

    item.RemoveValue(4);
    EXPECT_EQ(AllValues(item), (std::vector<LONG>{9, 7, 5}));
    EXPECT_EQ(item.FindValueIndex(7), 1);
    item.RemoveValue(123);  // absent: nothing happens
    EXPECT_EQ(AllValues(item), (std::vector<LONG>{9, 7, 5}));

    item.RemoveAllValues();
    EXPECT_TRUE(AllValues(item).empty());
    EXPECT_EQ(item.GetValueList(), nullptr);
}

TEST(KinsokuItemValues, ValueListCarriesEntriesAndTheirVerdicts)
{
    CKinsokuItem item(34);
    item.AddValue(1, 4201, 0);
    item.AddValue(70000, 4202, 2167);  // exported as its low 16 bits
    item.AddValue(3, 4203, 0);
    item.AddValue(-1, 4204, 0);
    // Key 205 at value 8 allows only 1 and 3.
    item.AddAllowedValue(kKeyPaperClass, 8, 1);
    item.AddAllowedValue(kKeyPaperClass, 8, 3);
    item.ApplyKeyValue(kKeyPaperClass, 8);

    const std::vector<Node> expected = {
        {1, 4201, 0, 0},
        {4464, 4202, 2167, -1},
        {3, 4203, 0, 0},
        {0xFFFF, 4204, 0, -1},
    };
    EXPECT_EQ(Walk(item.GetValueList()), expected);
}

TEST(KinsokuItemValues, EachValueListFollowsTheCurrentState)
{
    CKinsokuItem item(22);
    AddValues(item, {1, 2, 3});
    item.AddAllowedValue(kKeyStaple, 5, 2);
    item.SetAllowAll(kKeyStaple, 1);

    item.ApplyKeyValue(kKeyStaple, 5);
    std::vector<LONG> disabled;
    for (const Node& n : Walk(item.GetValueList()))
        disabled.push_back(n.disabled);
    EXPECT_EQ(disabled, (std::vector<LONG>{-1, 0, -1}));

    item.ApplyKeyValue(kKeyStaple, 1);
    disabled.clear();
    for (const Node& n : Walk(item.GetValueList()))
        disabled.push_back(n.disabled);
    EXPECT_EQ(disabled, (std::vector<LONG>{0, 0, 0}));

    item.AddValue(4, 0, 0);
    EXPECT_EQ(Walk(item.GetValueList()).size(), 4u);
}

TEST(KinsokuItemValues, EmptyItemExportsNothing)
{
    CKinsokuItem fresh(40);
    EXPECT_EQ(fresh.GetValueList(), nullptr);

    CKinsokuItem cleared(40);
    AddValues(cleared, {0, 65535});
    ASSERT_NE(cleared.GetValueList(), nullptr);
    cleared.Clear();
    EXPECT_EQ(cleared.GetValueList(), nullptr);
}

TEST(KinsokuItemValues, ClearDropsValuesRulesAndDefault)
{
    CKinsokuItem item(15);
    AddValues(item, {1, 0});
    item.AddAllowedValue(kKeyDuplex, 2, 0);
    item.ApplyKeyValue(kKeyDuplex, 2);
    item.Clear();
    EXPECT_TRUE(AllValues(item).empty());
    // No rule is left, so the key no longer constrains the item.
    item.AddValue(1, 0, 0);
    EXPECT_EQ(item.ApplyKeyValue(kKeyDuplex, 2), 0);
    EXPECT_EQ(item.IsValueDisabled(1), 0);
}

// A source item with values, a default, a forced pair rule, a key-wide rule and forbidden values.
void FillSource(CKinsokuItem& src)
{
    src.AddValue(1, 4001, 0);
    src.AddValue(2, 4002, 2111);
    src.AddValue(3, 4003, 2112);
    src.SetDefaultValue(1);
    src.AddAllowedValue(kKeyStaple, 5, 2);
    src.AddAllowedValue(kKeyStaple, 5, 3);
    src.SetForcedValue(kKeyStaple, 5, 3);
    src.AddKeyAllowedValue(kKeyStaple, 1);
    src.ApplyKeyValue(kKeyStaple, 5);
}

TEST(KinsokuItemValues, CopyTakesContentButNotIdOrVerdicts)
{
    CKinsokuItem src(22);
    FillSource(src);
    CKinsokuItem dst(6);
    AddValues(dst, {7, 8});
    dst.AddAllowedValue(kKeyFinisher, 1, 7);

    EXPECT_EQ(dst.CopyFrom(&src), 0);
    EXPECT_EQ(dst.GetId(), 6);
    EXPECT_EQ(AllValues(dst), (std::vector<LONG>{1, 2, 3}));
    // Entries start selectable until the next key value is applied.
    EXPECT_EQ(SelectableValues(dst), (std::vector<LONG>{1, 2, 3}));
    const auto* pAtom = static_cast<const CKinsokuAtom*>(dst.GetAtomArray().GetAt(1));
    EXPECT_EQ(pAtom->GetItemId(), 22);
    EXPECT_EQ(pAtom->GetData2(), 2111);
    EXPECT_EQ(SelectableValues(src), (std::vector<LONG>{2, 3}));

    // The copied rules judge as the source's did; the destination's old rule is gone.
    EXPECT_EQ(dst.ApplyKeyValue(kKeyFinisher, 1), 0);
    dst.ApplyKeyValue(kKeyStaple, 5);
    EXPECT_EQ(SelectableValues(dst), (std::vector<LONG>{2, 3}));
    EXPECT_EQ(dst.ChooseValue(kKeyStaple, 5), 3);
    dst.ApplyKeyValue(kKeyStaple, 9);  // falls to the key-wide rule
    EXPECT_EQ(SelectableValues(dst), (std::vector<LONG>{1}));
    EXPECT_EQ(dst.ChooseValue(0, 0), 1);  // the copied default
}

TEST(KinsokuItemValues, CopyFromNothingOrItselfChangesNothing)
{
    CKinsokuItem item(22);
    FillSource(item);
    EXPECT_EQ(item.CopyFrom(nullptr), 0);
    EXPECT_EQ(item.CopyFrom(&item), 0);
    EXPECT_EQ(AllValues(item), (std::vector<LONG>{1, 2, 3}));
    EXPECT_EQ(SelectableValues(item), (std::vector<LONG>{2, 3}));
    ASSERT_NE(item.FindRule(kKeyStaple, 5), nullptr);
    EXPECT_EQ(item.FindRule(kKeyStaple, 5)->GetForcedValue(), 3);
}

}  // namespace
