// The constraint run on small lists built by hand (no model data): which keys fire, how forbidden
// fields are rewritten, the fixed point, and the limit of 50 iterations.
#include "core/kinsoku/KinsokuList.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using kinsoku_test::AddValues;

// A record offering every setting, all values zero.
DRVDEVMODE EverythingRecord()
{
    DRVDEVMODE dm;
    std::memset(&dm, 0, sizeof dm);
    dm.dm.dmFields = 0xFFFFFFFF & ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
    dm.priv.dmFieldsExtra1 = 0xFFFFFFFF;
    dm.priv.dmFieldsExtra2 = 0xFFFFFFFF;
    dm.priv.dmFieldsExtra3 = 0xFFFFFFFF;
    dm.priv.dmExtraPrint = 0xFFFFFFFF;
    return dm;
}

// An item whose values are restricted unconditionally (the always-true key 204, value 0).
CKinsokuItem* AlwaysRestricted(CKinsokuList& list, SHORT sItem, std::initializer_list<LONG> values,
                               std::initializer_list<LONG> allowed)
{
    CKinsokuItem* pItem = list.GetOrCreateItem(sItem);
    AddValues(*pItem, values);
    list.AddLink(204, sItem);
    pItem->GetKeyValueRule(204, 0);  // a rule that lists nothing forbids everything
    for (LONG v : allowed)
        pItem->AddAllowedValue(204, 0, v);
    return pItem;
}

std::vector<SHORT> KeysFiredAtStart(const CKinsokuList& list)
{
    std::vector<SHORT> keys;
    for (SHORT id = 204; id <= 242; id++) {
        if (list.IsKeyFiredAtStart(id))
            keys.push_back(id);
    }
    return keys;
}

TEST(KinsokuRun, FirstRunFiresEveryKeyAndAnUnchangedSecondRunDoesNothing)
{
    DRVDEVMODE dm = EverythingRecord();
    dm.dm.dmDuplex = 2;
    dm.priv.dmExtraFlag = 0x1;
    CKinsokuList list(nullptr, nullptr, &dm);
    AlwaysRestricted(list, 22, {1, 2, 3}, {1});

    // Mode 0, yet the list's first run: every key fires, so the key-204 rule takes effect.
    EXPECT_EQ(bExecKinsoku(&list, &dm, 0), 0);
    EXPECT_EQ(KeysFiredAtStart(list).size(), 39u);
    EXPECT_EQ(dm.dm.dmDuplex, 1);
    EXPECT_EQ(dm.priv.dmExtraFlag & 0x1, 0u) << "one-sided clears the record's duplex flag";
    EXPECT_EQ(dm.priv.dmExtraPrint, 0xFFFFFFFFu) << "the model's capability word is left alone";
    EXPECT_TRUE(list.IsItemRewritten(22));
    EXPECT_TRUE(list.IsItemChanged(22));

    const DRVDEVMODE before = dm;
    EXPECT_EQ(bExecKinsoku(&list, &dm, 0), 0);
    EXPECT_TRUE(KeysFiredAtStart(list).empty());
    EXPECT_FALSE(list.IsItemRewritten(22));
    EXPECT_FALSE(list.IsItemChanged(22));
    EXPECT_EQ(std::memcmp(&before, &dm, sizeof dm), 0);

    // A full pass fires every key again.
    bExecKinsoku(&list, &dm, -1);
    EXPECT_EQ(KeysFiredAtStart(list).size(), 39u);
    EXPECT_EQ(std::memcmp(&before, &dm, sizeof dm), 0);
}

TEST(KinsokuRun, NullArgumentsDoNothing)
{
    DRVDEVMODE dm = EverythingRecord();
    CKinsokuList list(nullptr, nullptr, &dm);
    EXPECT_EQ(bExecKinsoku(nullptr, &dm, 0), 0);
    EXPECT_EQ(bExecKinsoku(&list, nullptr, 0), 0);
}

// Duplex (item 22) under the staple key (220) and the booklet key (213). Staple 1 allows the two
// duplex modes and forces the short edge; booklet 2 allows only the long edge. The staple key has
// rules for staple 1 only: staple 0 (no stapling) leaves duplex unconstrained, any other staple
// value forbids every duplex mode.
TEST(KinsokuRun, DuplexTakesTheStapleRulesForcedValueOnlyWhenTheStapleKeyAloneForbidsIt)
{
    struct Case {
        const char* name;
        WORD staple;
        WORD layout;
        SHORT duplex;
        SHORT expected;
    };
    const std::vector<Case> cases = {
        {"staple alone forbids: forced short edge", 1, 0, 1, 3},
        {"staple and booklet forbid: default long edge", 1, 2, 1, 2},
        {"no stapling: one-sided stays", 0, 0, 1, 1},
        {"allowed duplex stays", 1, 0, 2, 2},
        {"staple without a rule forbids all: default kept though forbidden", 5, 0, 1, 2},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = EverythingRecord();
        CKinsokuList list(nullptr, nullptr, &dm);
        CKinsokuItem* pDuplex = list.GetOrCreateItem(22);
        AddValues(*pDuplex, {1, 2, 3});
        pDuplex->SetDefaultValue(2);
        list.AddLink(220, 22);
        list.AddLink(213, 22);
        pDuplex->AddAllowedValue(220, 1, 2);
        pDuplex->AddAllowedValue(220, 1, 3);
        pDuplex->SetForcedValue(220, 1, 3);
        pDuplex->AddAllowedValue(213, 2, 2);
        pDuplex->SetAllowAll(213, 0);

        dm.priv.dmStaple = c.staple;
        dm.priv.dmLayoutPrint = c.layout;
        dm.dm.dmDuplex = c.duplex;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.dm.dmDuplex, c.expected) << c.name;
        // The run ended at its fixed point: another run changes nothing.
        const DRVDEVMODE after = dm;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(std::memcmp(&after, &dm, sizeof dm), 0) << c.name;
    }
}

// The user's change feeds through two items: staple 1 forbids one-sided printing, the duplex
// rewrite to the short edge then forbids the reverse order, which falls back to its default.
TEST(KinsokuRun, RewritesFeedTheNextIterationUntilNothingChanges)
{
    DRVDEVMODE dm = EverythingRecord();
    dm.dm.dmDuplex = 1;
    dm.priv.dmReverseOrder = 1;
    CKinsokuList list(nullptr, nullptr, &dm);
    CKinsokuItem* pDuplex = list.GetOrCreateItem(22);
    AddValues(*pDuplex, {1, 2, 3});
    list.AddLink(220, 22);
    pDuplex->AddAllowedValue(220, 1, 3);
    CKinsokuItem* pReverse = list.GetOrCreateItem(15);
    AddValues(*pReverse, {0, 1});
    pReverse->SetDefaultValue(0);
    list.AddLink(225, 15);
    pReverse->AddAllowedValue(225, 3, 0);
    pReverse->SetKeyAllowAll(225, -1);

    bExecKinsoku(&list, &dm, 0);
    EXPECT_EQ(dm.dm.dmDuplex, 1);
    EXPECT_EQ(dm.priv.dmReverseOrder, 1);

    dm.priv.dmStaple = 1;  // the user staples
    bExecKinsoku(&list, &dm, 0);
    EXPECT_EQ(dm.dm.dmDuplex, 3);
    EXPECT_EQ(dm.priv.dmReverseOrder, 0);
    // The staple keys, and the paper key that a custom size (here: any size) fires always.
    EXPECT_EQ(KeysFiredAtStart(list), (std::vector<SHORT>{205, 220, 222, 236}));
    EXPECT_TRUE(list.IsItemRewritten(22));
    EXPECT_TRUE(list.IsItemRewritten(15));
}

// Collate must differ from the reverse order, and the reverse order must equal collate: every
// item phase flips one of them, with a period of four iterations from (collate, reverse) = (0, 0):
// (0, 1), (1, 1), (1, 0), (0, 0), ... After exactly 50 iterations (50 = 4 x 12 + 2) it is (1, 1).
TEST(KinsokuRun, ContradictoryRulesStopAfter50Iterations)
{
    DRVDEVMODE dm = EverythingRecord();
    CKinsokuList list(nullptr, nullptr, &dm);
    CKinsokuItem* pCollate = list.GetOrCreateItem(8);
    CKinsokuItem* pReverse = list.GetOrCreateItem(15);
    AddValues(*pCollate, {0, 1});
    AddValues(*pReverse, {0, 1});
    list.AddLink(211, 15);
    list.AddLink(229, 8);
    pReverse->AddAllowedValue(211, 0, 1);
    pReverse->AddAllowedValue(211, 1, 0);
    pCollate->AddAllowedValue(229, 0, 0);
    pCollate->AddAllowedValue(229, 1, 1);

    EXPECT_EQ(bExecKinsoku(&list, &dm, 0), 0);
    EXPECT_EQ(dm.dm.dmCollate, 1);
    EXPECT_EQ(dm.priv.dmReverseOrder, 1);
}

TEST(KinsokuRun, SortKeepsItsCollatedSenseWhenThePlainModeIsAllowed)
{
    struct Case {
        WORD sort;
        std::vector<LONG> allowed;
        WORD expected;
    };
    const std::vector<Case> cases = {
        {4, {0, 1}, 0},
        {2, {0, 1}, 0},
        {3, {0, 1}, 1},
        {5, {1}, 1},
        {4, {1, 5}, 1},  // 0 forbidden: the first selectable value
        {3, {0, 2}, 0},  // 1 forbidden: the first selectable value
        {7, {2, 3}, 2},  // not a sort mode: the plain choice
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = EverythingRecord();
        CKinsokuList list(nullptr, nullptr, &dm);
        CKinsokuItem* pSort = AlwaysRestricted(list, 9, {0, 1, 2, 3, 4, 5}, {});
        for (LONG v : c.allowed)
            pSort->AddAllowedValue(204, 0, v);
        dm.priv.dmSort = c.sort;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.priv.dmSort, c.expected) << "sort " << c.sort;
    }
}

TEST(KinsokuRun, CopiesByDriverStaysWhenTheReplacementIsItselfForbidden)
{
    struct Case {
        std::vector<LONG> allowed;
        WORD expected;
    };
    const std::vector<Case> cases = {{{}, 1}, {{0}, 0}};
    for (const Case& c : cases) {
        DRVDEVMODE dm = EverythingRecord();
        dm.priv.dmCopiesByDriver = 1;
        CKinsokuList list(nullptr, nullptr, &dm);
        CKinsokuItem* pItem = AlwaysRestricted(list, 23, {0, 1}, {});
        for (LONG v : c.allowed)
            pItem->AddAllowedValue(204, 0, v);
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.priv.dmCopiesByDriver, c.expected);
        EXPECT_EQ(list.IsItemRewritten(23), c.expected == 0);
    }
}

TEST(KinsokuRun, DuplexMarginFlagFollowsTheMarginWhileAllowed)
{
    struct Case {
        const char* name;
        bool oneAllowed;
        WORD margin;
        DWORD flagBefore;
        DWORD flagAfter;
    };
    const std::vector<Case> cases = {
        {"margin set: flag set", true, 40, 0x100, 0x101},
        {"no margin: flag cleared", true, 0, 0x101, 0x100},
        {"flag forbidden: cleared despite the margin", false, 40, 0x101, 0x100},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = EverythingRecord();
        dm.priv.dmDuplexMargin = c.margin;
        dm.priv.dmExtraFlag = c.flagBefore;
        CKinsokuList list(nullptr, nullptr, &dm);
        if (c.oneAllowed)
            AlwaysRestricted(list, 43, {0, 1}, {0, 1});
        else
            AlwaysRestricted(list, 43, {0, 1}, {0});
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.priv.dmExtraFlag, c.flagAfter) << c.name;
    }
}

TEST(KinsokuRun, LayoutBitItemsClearOnlyTheirBit)
{
    DRVDEVMODE dm = EverythingRecord();
    dm.priv.dmLayoutPrint = 0x2 | 0x1;  // booklet and pages per sheet
    CKinsokuList list(nullptr, nullptr, &dm);
    AlwaysRestricted(list, 10, {0, 2}, {0});
    AlwaysRestricted(list, 37, {0, 1}, {0});
    AlwaysRestricted(list, 38, {0, 1}, {0});
    dm.priv.dmOptionBits620 = 0x7;
    dm.priv.dmOptionBits356 = 0x6;
    bExecKinsoku(&list, &dm, 0);
    EXPECT_EQ(dm.priv.dmLayoutPrint, 0x1);
    EXPECT_EQ(dm.priv.dmOptionBits620, 0x5u);
    EXPECT_EQ(dm.priv.dmOptionBits356, 0x4u);
}

TEST(KinsokuRun, ForbiddenPaperIsNotReplacedWhileTheRecordHoldsACustomSize)
{
    struct Case {
        DWORD sizeBits;
        SHORT expected;
    };
    const std::vector<Case> cases = {{DM_PAPERLENGTH, 1}, {DM_PAPERWIDTH, 1}, {0, 9}};
    for (const Case& c : cases) {
        DRVDEVMODE dm = EverythingRecord();
        CKinsokuList list(nullptr, nullptr, &dm);
        AlwaysRestricted(list, 1, {1, 9}, {9});
        dm.dm.dmPaperSize = 1;
        dm.dm.dmPaperWidth = 1000;
        dm.dm.dmPaperLength = 2000;
        dm.dm.dmFields |= c.sizeBits;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.dm.dmPaperSize, c.expected) << c.sizeBits;
        if (c.expected == 9) {
            EXPECT_EQ(dm.dm.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), 0u);
            EXPECT_EQ(dm.dm.dmPaperWidth, 0);  // no model data: no size for the new id
            EXPECT_EQ(dm.dm.dmPaperLength, 0);
        }
    }
}

// Without model data every size is a custom size (class 456), whose rules key 205 re-applies in
// every iteration: a forbidding state left behind by another key value does not survive a run.
TEST(KinsokuRun, CustomPaperClassRefiresThePaperKey)
{
    DRVDEVMODE dm = EverythingRecord();
    dm.dm.dmDefaultSource = 1;
    CKinsokuList list(nullptr, nullptr, &dm);
    CKinsokuItem* pSource = list.GetOrCreateItem(3);
    AddValues(*pSource, {1, 2});
    list.AddLink(205, 3);
    pSource->AddAllowedValue(205, 456, 1);
    pSource->AddAllowedValue(205, 456, 2);
    bExecKinsoku(&list, &dm, 0);
    EXPECT_EQ(list.IsValueDisabled(3, 1), 0);

    list.ApplyKeyValue(205, 999);  // a paper class without rules forbids every source
    EXPECT_EQ(list.IsValueDisabled(3, 1), -1);
    dm.dm.dmCopies = 2;  // an unrelated change makes the run iterate
    bExecKinsoku(&list, &dm, 0);
    EXPECT_TRUE(list.IsKeyFiredAtStart(205));
    EXPECT_FALSE(list.IsKeyFiredAtStart(209));
    EXPECT_TRUE(list.IsKeyFiredAtStart(210));
    EXPECT_EQ(list.IsValueDisabled(3, 1), 0);
    EXPECT_EQ(dm.dm.dmDefaultSource, 1);
}

TEST(KinsokuRun, InactiveItemsAreNeverRewritten)
{
    DRVDEVMODE start = EverythingRecord();
    start.priv.dmFieldsExtra1 &= ~DMX1_STAPLE;
    CKinsokuList list(nullptr, nullptr, &start);
    EXPECT_EQ(list.GetOrCreateItem(6), nullptr);
    DRVDEVMODE dm = start;
    dm.priv.dmStaple = 9;
    bExecKinsoku(&list, &dm, 0);
    EXPECT_EQ(dm.priv.dmStaple, 9);
}

}  // namespace
