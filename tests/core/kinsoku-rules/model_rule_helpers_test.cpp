// Helpers of the model passes: sort bits, quality exclusion lists, the merged source order (on a
// compiled fixture and on records built by hand), and the model's links.
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/ModelRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using rulestest::Values;

TEST(SortBitToValue, MapsEachSortBitToItsSortValue)
{
    struct Case {
        DWORD bit;
        SHORT result;
        SHORT value;
    };
    const Case cases[] = {
        {0x1, -1, 0},
        {0x2, -1, 1},
        {0x4, -1, 4},
        {0x8, -1, 5},
        {0x10, -1, 2},
        {0x20, -1, 3},
        // Not one mapped bit: no answer, the output untouched.
        {0x0, 0, 77},
        {0x40, 0, 77},
        {0x3, 0, 77},
        {0x80000000, 0, 77},
    };
    for (const Case& c : cases) {
        SHORT value = 77;
        EXPECT_EQ(bSortBitToValue(c.bit, &value), c.result) << std::hex << c.bit;
        EXPECT_EQ(value, c.value) << std::hex << c.bit;
    }
    EXPECT_EQ(bSortBitToValue(0x1, nullptr), 0);
}

TEST(AllowAllButListed, ExcludesTheListedQualityModesAsTheQualityItemMapsThem)
{
    struct Case {
        std::vector<SHORT> list;
        std::vector<LONG> allowed;
    };
    // Quality modes other than 1, 3 and 4 map to 2, so 0 and 7 exclude mode 2.
    const Case cases[] = {
        {{3}, {1, 2, 4}},
        {{0}, {1, 3, 4}},
        {{7, 4}, {1, 3}},
        {{1, 2, 3, 4}, {}},  // every mode excluded: the rule allows nothing
    };
    for (const Case& c : cases) {
        CKinsokuItem item(34);
        for (LONG mode : {1, 2, 3, 4}) {
            item.AddValue(mode, 0, 0);
        }
        EXPECT_EQ(vAllowAllButListed(&item, 205, 9, c.list.data(), static_cast<SHORT>(c.list.size())), -1);
        EXPECT_EQ(rulestest::Pair(&item, 205, 9), rulestest::Listed(c.allowed));
    }
    CKinsokuItem item(34);
    item.AddValue(1, 0, 0);
    const SHORT list[] = {1};
    EXPECT_EQ(vAllowAllButListed(&item, 205, 9, list, 0), -1);
    EXPECT_FALSE(rulestest::Pair(&item, 205, 9).exists);  // an empty list creates no rule
    EXPECT_EQ(vAllowAllButListed(nullptr, 205, 9, list, 1), 0);
    EXPECT_EQ(vAllowAllButListed(&item, 205, 9, nullptr, 1), 0);
}

TEST(MergedSources, AutomaticThenManualThenModelOrder)
{
    pitest::SpcDataPtr model = pitest::LoadFixtureModel("kinsoku-sources");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = pitest::HandleOf(model.get());
    DRVDEVMODE record = rulestest::AllActiveRecord();
    CKinsokuList list(&handle, nullptr, &record);
    vKinsokuItemValues(&handle, &list, -1);
    // Sources 2, 4, 1 and, in a source group, 6 and 7.
    EXPECT_EQ(Values(list.GetItem(3)), (std::vector<LONG>{7, 4, 2, 1, 6}));
    EXPECT_EQ(rulestest::Data1(list.GetItem(3)), (std::vector<LONG>{70, 40, 20, 10, 60}));
    EXPECT_EQ(rulestest::PreferredValue(list.GetItem(3)), 2);
    // The cover sources keep the same order.
    EXPECT_EQ(Values(list.GetItem(28)), (std::vector<LONG>{4, 6}));
    EXPECT_EQ(Values(list.GetItem(30)), (std::vector<LONG>{4, 6}));
}

TEST(MergedSources, ComparatorWeighsAutomaticAndManualThenPosition)
{
    // Records built by hand: id at byte 0, position in the u32 at byte 28.
    auto record = [](SHORT id, DWORD position) {
        tagSOURCEINFO r;
        memset(&r, 0, sizeof r);
        BYTE* pb = reinterpret_cast<BYTE*>(&r);
        memcpy(pb, &id, sizeof id);
        memcpy(pb + 28, &position, sizeof position);
        return r;
    };
    struct Case {
        SHORT idA;
        DWORD posA;
        SHORT idB;
        DWORD posB;
        int sign;
    };
    const Case cases[] = {
        {7, 5, 4, 0, -1}, {4, 5, 7, 0, 1}, {4, 9, 1, 0, -1}, {1, 0, 7, 9, 1},
        {2, 1, 3, 2, -1}, {3, 2, 2, 1, 1}, {7, 3, 7, 3, 0},
    };
    for (const Case& c : cases) {
        tagSOURCEINFO a = record(c.idA, c.posA);
        tagSOURCEINFO b = record(c.idB, c.posB);
        int result = iCompareSourceOrder(&a, &b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.idA << "@" << c.posA << " vs " << c.idB << "@" << c.posB;
    }
}

TEST(MergedSources, NoSourcesNoValuesAndTheDefaultOfAModelWithoutOne)
{
    pitest::SpcDataPtr model = pitest::LoadFixtureModel("empty-lists");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = pitest::HandleOf(model.get());
    tagSOURCEINFO* records = nullptr;
    DWORD count = 99;
    EXPECT_FALSE(BuildMergedSources(&handle, &records, &count));
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(count, 0u);
}

TEST(ItemValues, WithoutAllValuesPapersTooLargeForThePrinterAreLeftOut)
{
    // Fixture "printerinfo-papers": A3 (8) and the long banner (31) are too large for the custom
    // and long-paper limits; the banner 30 is admitted as long paper.
    pitest::SpcDataPtr model = pitest::LoadFixtureModel("printerinfo-papers");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = pitest::HandleOf(model.get());
    DRVDEVMODE record = rulestest::AllActiveRecord();
    auto contains = [](const std::vector<LONG>& values, LONG v) {
        return std::find(values.begin(), values.end(), v) != values.end();
    };
    struct Case {
        SHORT allValues;
        bool withTooLarge;
    };
    for (const Case& c : {Case{-1, true}, Case{0, false}}) {
        CKinsokuList list(&handle, nullptr, &record);
        vKinsokuItemValues(&handle, &list, c.allValues);
        std::vector<LONG> papers = Values(list.GetItem(1));
        EXPECT_TRUE(contains(papers, 9));
        EXPECT_TRUE(contains(papers, 30));
        EXPECT_EQ(contains(papers, 8), c.withTooLarge) << c.allValues;
        EXPECT_EQ(contains(papers, 31), c.withTooLarge) << c.allValues;
    }
}

TEST(ModelLinks, EveryPairOfTheModelWithActiveIdsBecomesALink)
{
    pitest::SpcDataPtr model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = pitest::HandleOf(model.get());
    DRVDEVMODE record = rulestest::AllActiveRecord();
    CKinsokuList list(&handle, nullptr, &record);
    vLoadKinsokuLinks(&handle, &list);
    struct Case {
        SHORT key;
        SHORT item;
        SHORT linked;
    };
    const Case cases[] = {{205, 2, -1},  {205, 34, -1}, {208, 1, -1}, {225, 30, -1}, {226, 36, -1},
                          {235, 27, -1}, {205, 1, 0},   {204, 22, 0}, {220, 22, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(list.IsLinked(c.key, c.item), c.linked) << c.key << " -> " << c.item;
    }
    // A record that does not offer duplex makes the duplex item inactive: no link to it.
    record.dm.dmFields &= ~DM_DUPLEX;
    CKinsokuList narrow(&handle, nullptr, &record);
    vLoadKinsokuLinks(&handle, &narrow);
    EXPECT_EQ(narrow.IsLinked(205, 22), 0);
    EXPECT_EQ(narrow.IsLinked(205, 21), -1);
}

}  // namespace
