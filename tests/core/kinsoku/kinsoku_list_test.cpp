// The constraint list's structure: which ids are active for a starting record, the id orders, the
// key formulas, the items and links, and the questions it forwards to the items. Lists here are
// built by hand without model data.
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/KinsokuTables.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

DRVDEVMODE ZeroRecord()
{
    DRVDEVMODE dm;
    std::memset(&dm, 0, sizeof dm);
    return dm;
}

// A record offering every setting the activity table knows.
DRVDEVMODE EverythingRecord()
{
    DRVDEVMODE dm = ZeroRecord();
    dm.dm.dmFields = 0xFFFFFFFF;
    dm.priv.dmFieldsExtra1 = 0xFFFFFFFF;
    dm.priv.dmFieldsExtra2 = 0xFFFFFFFF;
    dm.priv.dmFieldsExtra3 = 0xFFFFFFFF;
    dm.priv.dmExtraPrint = 0xFFFFFFFF;
    return dm;
}

TEST(KinsokuListActivity, EntriesFollowTheStartingRecordsBits)
{
    struct Case {
        const char* name;
        DWORD fields, extra1, extra2, extra3, extraPrint;
        SHORT id;
        WORD expected;
    };
    const std::vector<Case> cases = {
        {"paper with dmFields 0x2", 0x2, 0, 0, 0, 0, 1, 1},
        {"paper without it", 0, 0, 0, 0, 0, 1, 0},
        {"media by dmFields 0x2000000", 0x2000000, 0, 0, 0, 0, 2, 1},
        {"rotation by dmExtraPrint 0x2", 0, 0, 0, 0, 0x2, 7, 1},
        {"first page by either of 0x10, 0x20", 0, 0x20, 0, 0, 0, 24, 1},
        {"booklet unit as the booklet", 0, 0, 0x4, 0, 0, 39, 1},
        {"item 40 by dmFieldsExtra3 0x10", 0, 0, 0, 0x10, 0, 40, 1},
        {"halftone item always", 0, 0, 0, 0, 0, 32, 0xFFFF},
        {"key 204 always", 0, 0, 0, 0, 0, 204, 0xFFFF},
        {"halftone key always", 0, 0, 0, 0, 0, 239, 0xFFFF},
        {"key 205 with the paper item", 0x2, 0, 0, 0, 0, 205, 1},
        {"key 206 needs paper and finisher", 0x2, 0, 0, 0, 0, 206, 0},
        {"key 206 with both", 0x2, 0x20000, 0, 0, 0, 206, 1},
        {"key 210 by dmFields 0x100", 0x100, 0, 0, 0, 0, 210, 1},
        {"key 234 needs duplex option and a cover", 0, 0x200, 0, 0, 0, 234, 0},
        {"key 234 with the back cover", 0, 0x200 | 0x800000, 0, 0, 0, 234, 1},
        {"key 241 by any job kind", 0, 0x20000000, 0, 0, 0, 241, 1},
        {"key 242 needs media and finisher", 0x2000000, 0, 0, 0, 0, 242, 0},
        {"key 242 with both", 0x2000000, 0x20000, 0, 0, 0, 242, 1},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = ZeroRecord();
        dm.dm.dmFields = c.fields;
        dm.priv.dmFieldsExtra1 = c.extra1;
        dm.priv.dmFieldsExtra2 = c.extra2;
        dm.priv.dmFieldsExtra3 = c.extra3;
        dm.priv.dmExtraPrint = c.extraPrint;
        CKinsokuList list(nullptr, nullptr, &dm);
        EXPECT_EQ(list.IsItemActive(c.id), c.expected) << c.name;
    }
}

// Ids reach the list from the model file's dependency pairs: anything outside the two ranges names
// no setting and must read as inactive, create nothing and link nothing (never index outside the
// table or throw).
TEST(KinsokuListActivity, IdsOutsideTheTablesReadInactive)
{
    const DRVDEVMODE dm = EverythingRecord();
    CKinsokuList list(nullptr, nullptr, &dm);
    for (SHORT id : {SHORT(0), SHORT(-1), SHORT(-32768), SHORT(44), SHORT(100), SHORT(203), SHORT(243),
                     SHORT(1000), SHORT(32767)}) {
        EXPECT_EQ(list.IsItemActive(id), 0) << id;
        EXPECT_EQ(list.GetOrCreateItem(id), nullptr) << id;
        EXPECT_EQ(list.AddLink(id, 1), 0) << id;
        EXPECT_EQ(list.AddLink(205, id), 0) << id;
        EXPECT_EQ(list.IsLinked(id, 1), 0) << id;
        EXPECT_EQ(list.IsValueDisabled(id, 1), 0) << id;
        EXPECT_EQ(list.GetValueList(id), nullptr) << id;
        list.RemoveKey(id);
        list.RemoveItem(id);
    }
    EXPECT_EQ(list.IsAnyLinkTo(1), 0);
    // A key id is no item id.
    EXPECT_EQ(list.GetOrCreateItem(205), nullptr);
}

TEST(KinsokuListActivity, NoStartingRecordMeansOnlyTheAlwaysActiveIds)
{
    CKinsokuList list(nullptr, nullptr, nullptr);
    for (SHORT id = 1; id <= 43; id++)
        EXPECT_EQ(list.IsItemActive(id), id == 32 ? 0xFFFF : 0) << id;
    for (SHORT id = 204; id <= 242; id++)
        EXPECT_EQ(list.IsItemActive(id), id == 204 || id == 239 ? 0xFFFF : 0) << id;
    EXPECT_EQ(list.IsMetric(), 0);
}

TEST(KinsokuListOrders, ItemsAscendAndKey242FollowsTheMediaKey)
{
    CKinsokuList list(nullptr, nullptr, nullptr);
    struct Case {
        int index;
        SHORT item;
        SHORT key;
    };
    const std::vector<Case> cases = {
        {0, 1, 204}, {4, 5, 208}, {5, 6, 242}, {6, 7, 209}, {7, 8, 210},
        {38, 39, 241}, {42, 43, 0}, {43, 0, 0}, {-1, 0, 0}, {1000, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.GetItemIdAt(c.index), c.item) << c.index;
        EXPECT_EQ(list.GetKeyIdAt(c.index), c.key) << c.index;
    }
    // Every key id exactly once.
    std::vector<int> seen(243, 0);
    for (int i = 0; i < 39; i++)
        seen[list.GetKeyIdAt(i)]++;
    for (int id = 204; id <= 242; id++)
        EXPECT_EQ(seen[id], 1) << id;
}

TEST(KinsokuListMetric, MetricFlagFromBit2OfTheStartingRecord)
{
    DRVDEVMODE dm = ZeroRecord();
    dm.priv.dmMetric = 0x2;
    EXPECT_EQ(CKinsokuList(nullptr, nullptr, &dm).IsMetric(), 1);
    dm.priv.dmMetric = 0x1;
    EXPECT_EQ(CKinsokuList(nullptr, nullptr, &dm).IsMetric(), 0);
}

TEST(KinsokuKeyFormulas, KeyValuesFromTheRecord)
{
    struct Case {
        const char* name;
        SHORT key;
        void (*set)(DRVDEVMODE&);
        SHORT paperClass;
        SHORT orientation;
        LONG expected;
    };
    const std::vector<Case> cases = {
        {"staple 3 with booklet", 222, [](DRVDEVMODE& d) { d.priv.dmStaple = 3; d.priv.dmLayoutPrint = 0x2 | 0x1; }, 0, 1, 0x30002},
        {"staple without booklet", 222, [](DRVDEVMODE& d) { d.priv.dmStaple = 1; d.priv.dmLayoutPrint = 0x4; }, 0, 1, 0x10000},
        {"sort 2 collated reads 3", 212, [](DRVDEVMODE& d) { d.priv.dmSort = 2; d.dm.dmCollate = 1; }, 0, 1, 3},
        {"sort 2 uncollated stays", 212, [](DRVDEVMODE& d) { d.priv.dmSort = 2; }, 0, 1, 2},
        {"sort 5 collated stays", 212, [](DRVDEVMODE& d) { d.priv.dmSort = 5; d.dm.dmCollate = 1; }, 0, 1, 5},
        {"class with orientation", 206, [](DRVDEVMODE&) {}, 9, 2, 0x20009},
        {"class alone for 205", 205, [](DRVDEVMODE&) {}, 458, 2, 458},
        {"class, staple, orientation", 236, [](DRVDEVMODE& d) { d.priv.dmStaple = 2; }, 9, 2, 0x02020009},
        {"class, punch, orientation", 237, [](DRVDEVMODE& d) { d.priv.dmPunch = 1; }, 456, 1, 0x010101C8},
        {"booklet with duplex option", 214, [](DRVDEVMODE& d) { d.priv.dmLayoutPrint = 0x2; d.priv.dmDuplexOption = 1; }, 0, 1, 0x20001},
        {"front cover file and media low half", 230, [](DRVDEVMODE& d) { d.priv.dmFrontCoverFile = 1; d.priv.dmFrontCoverMedia = 0x12345; }, 0, 1, 0x12345},
        {"back cover file and media", 231, [](DRVDEVMODE& d) { d.priv.dmBackCoverFile = 0x8000; d.priv.dmBackCoverMedia = 3; }, 0, 1, static_cast<LONG>(0x80000003u)},
        {"covers with duplex option", 234, [](DRVDEVMODE& d) { d.priv.dmCoverPage = 0x7; d.priv.dmDuplexOption = 1; }, 0, 1, 0x30001},
        {"duplex with option", 235, [](DRVDEVMODE& d) { d.dm.dmDuplex = 3; d.priv.dmDuplexOption = 0; }, 0, 1, 0x30000},
        {"media as 32 bits", 208, [](DRVDEVMODE& d) { d.dm.dmMediaType = 0xFFFFFFFF; }, 0, 1, -1},
        {"front cover bit", 223, [](DRVDEVMODE& d) { d.priv.dmCoverPage = 0x3; }, 0, 1, 1},
        {"back cover bit", 224, [](DRVDEVMODE& d) { d.priv.dmCoverPage = 0x3; }, 0, 1, 2},
        {"poster bit", 215, [](DRVDEVMODE& d) { d.priv.dmLayoutPrint = 0x4 | 0x8; }, 0, 1, 4},
        {"private colour mode", 240, [](DRVDEVMODE& d) { d.priv.dmColor = 2; d.dm.dmColor = 1; }, 0, 1, 2},
        {"204 has no value", 204, [](DRVDEVMODE& d) { d.priv.dmStaple = 3; }, 9, 1, 0},
        {"242 has no value", 242, [](DRVDEVMODE& d) { d.dm.dmMediaType = 5; }, 9, 1, 0},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = ZeroRecord();
        c.set(dm);
        EXPECT_EQ(KinsokuKeyValue(c.key, dm, c.paperClass, c.orientation), c.expected) << c.name;
    }
}

class KinsokuListLinks : public ::testing::Test {
protected:
    DRVDEVMODE m_dm = EverythingRecord();
    CKinsokuList m_list{nullptr, nullptr, &m_dm};
};

TEST_F(KinsokuListLinks, LinksHoldNoDuplicatesAndGateGetLinkedItem)
{
    CKinsokuItem* pDuplex = m_list.GetOrCreateItem(22);
    ASSERT_NE(pDuplex, nullptr);
    EXPECT_EQ(m_list.GetOrCreateItem(22), pDuplex);
    EXPECT_EQ(m_list.GetLinkedItem(22, 220), nullptr);  // not linked yet
    EXPECT_EQ(m_list.AddLink(220, 22), -1);
    EXPECT_EQ(m_list.AddLink(220, 22), -1);
    EXPECT_EQ(m_list.GetLinkedItem(22, 220), pDuplex);
    EXPECT_EQ(m_list.IsAnyLinkTo(22), -1);
    // A link to an item that does not exist yet is kept; GetLinkedItem answers once it exists.
    EXPECT_EQ(m_list.AddLink(220, 8), -1);
    EXPECT_EQ(m_list.GetLinkedItem(8, 220), nullptr);
    EXPECT_NE(m_list.GetOrCreateItem(8), nullptr);
    EXPECT_NE(m_list.GetLinkedItem(8, 220), nullptr);

    // One removal takes the one link out.
    m_list.RemoveLink(220, 22);
    EXPECT_EQ(m_list.IsLinked(220, 22), 0);
    EXPECT_EQ(m_list.IsLinked(220, 8), -1);
    EXPECT_EQ(m_list.IsAnyLinkTo(22), 0);

    const SHORT items[] = {1, 2, 3};
    EXPECT_EQ(m_list.AddLinks(205, items, 3), 0xFFFF);
    EXPECT_EQ(m_list.AddLinks(205, nullptr, 3), 0xFFFF);
    EXPECT_EQ(m_list.AddLinks(205, items, 0), 0xFFFF);
    const SHORT mixed[] = {4, 500};
    EXPECT_EQ(m_list.AddLinks(205, mixed, 2), 0);
    EXPECT_EQ(m_list.IsLinked(205, 4), -1);
}

TEST_F(KinsokuListLinks, RemoveKeyDropsLinksAndRulesRemoveItemKeepsLinks)
{
    CKinsokuItem* pDuplex = m_list.GetOrCreateItem(22);
    kinsoku_test::AddValues(*pDuplex, {1, 2, 3});
    m_list.AddLink(220, 22);
    pDuplex->AddAllowedValue(220, 1, 2);
    m_list.ApplyKeyValue(220, 1);
    EXPECT_EQ(m_list.IsValueDisabled(22, 1), -1);
    EXPECT_EQ(m_list.GetForbiddingKeys(22, 1, nullptr, 0), 1);

    m_list.RemoveKey(220);
    EXPECT_EQ(m_list.IsLinked(220, 22), 0);
    EXPECT_EQ(pDuplex->FindRule(220, 1), nullptr);
    EXPECT_EQ(m_list.IsValueDisabled(22, 1), 0);  // the key no longer forbids it

    m_list.AddLink(225, 22);
    m_list.RemoveItem(22);
    EXPECT_EQ(m_list.GetItem(22), nullptr);
    EXPECT_EQ(m_list.IsLinked(225, 22), -1);
    EXPECT_EQ(m_list.IsValueDisabled(22, 1), 0);  // no item: not disabled
    m_list.ApplyKeyValue(225, 2);                 // the dangling link is skipped
}

TEST_F(KinsokuListLinks, RenameKeyMovesRulesAndTheLink)
{
    CKinsokuItem* pItem = m_list.GetOrCreateItem(22);
    kinsoku_test::AddValues(*pItem, {1, 2});
    m_list.AddLink(220, 22);
    pItem->AddAllowedValue(220, 5, 2);
    EXPECT_EQ(m_list.RenameKey(22, 220, 222), -1);
    EXPECT_EQ(m_list.IsLinked(220, 22), 0);
    EXPECT_EQ(m_list.IsLinked(222, 22), -1);
    EXPECT_NE(pItem->FindRule(222, 5), nullptr);
    EXPECT_EQ(m_list.RenameKey(23, 220, 222), 0);  // no item
}

TEST_F(KinsokuListLinks, CopyItemCopiesContentAndLinks)
{
    CKinsokuItem* pSource = m_list.GetOrCreateItem(25);
    kinsoku_test::AddValues(*pSource, {1, 2, 3});
    pSource->SetDefaultValue(2);
    m_list.AddLink(205, 25);
    m_list.AddLink(228, 25);
    m_list.CopyItem(27, 25, 0x1 | 0x2);
    const CKinsokuItem* pDest = m_list.GetItem(27);
    ASSERT_NE(pDest, nullptr);
    EXPECT_EQ(kinsoku_test::AllValues(*pDest), (std::vector<LONG>{1, 2, 3}));
    EXPECT_EQ(pDest->ChooseValue(0, 0), 2);
    EXPECT_EQ(m_list.IsLinked(205, 27), -1);
    EXPECT_EQ(m_list.IsLinked(228, 27), -1);
}

// GetRuleValues answers the keys that forbid a value, as the duplex page asks of the
// duplex-margin item: "none, or only the duplex key".
TEST_F(KinsokuListLinks, RuleValuesAreTheForbiddingKeys)
{
    CKinsokuItem* pMargin = m_list.GetOrCreateItem(43);
    kinsoku_test::AddValues(*pMargin, {0, 1});
    m_list.AddLink(225, 43);
    m_list.AddLink(213, 43);
    pMargin->AddAllowedValue(225, 2, 0);  // long-edge duplex: no margin flag
    pMargin->AddAllowedValue(213, 2, 0);  // booklet: no margin flag
    SHORT keys[4] = {0, 0, 0, 0};
    EXPECT_EQ(m_list.GetRuleValues(43, 1, keys, 4), 0);
    m_list.ApplyKeyValue(225, 2);
    EXPECT_EQ(m_list.GetRuleValues(43, 1, keys, 4), 1);
    EXPECT_EQ(keys[0], 225);
    m_list.ApplyKeyValue(213, 2);
    EXPECT_EQ(m_list.GetRuleValues(43, 1, nullptr, 0), 2);
    EXPECT_EQ(m_list.GetRuleValues(43, 1, keys, 1), 1);  // limited to the buffer
    // A negative maximum copies nothing.
    SHORT guard[2] = {77, 77};
    m_list.GetRuleValues(43, 1, guard, -1);
    EXPECT_EQ(guard[0], 77);
    EXPECT_EQ(m_list.GetRuleValues(42, 1, keys, 4), 0);  // no item
}

}  // namespace
