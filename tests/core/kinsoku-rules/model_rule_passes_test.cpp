// The model passes on the compiled sample colour model: each test reads the values, defaults and
// rules one pass leaves on the list and compares them with what the model description says
// (data/models/GC7350.json). Every item and key is active (all validity bits set).
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/ModelRules.h"

#include <gtest/gtest.h>

namespace {

using rulestest::AllAllowed;
using rulestest::Listed;
using rulestest::NoRule;
using rulestest::Pair;
using rulestest::PairRule;
using rulestest::Values;

struct RuleCase {
    SHORT item;
    SHORT key;
    LONG keyValue;
    PairRule expected;
};

class ModelPassesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = pitest::LoadSampleModel("GC7350");
        ASSERT_TRUE(m_model);
        m_handle = pitest::HandleOf(m_model.get());
        m_list = rulestest::ModelList(&m_handle, rulestest::AllActiveRecord());
    }

    CKinsokuItem* Item(SHORT id) { return m_list->GetItem(id); }

    void ExpectRules(const std::vector<RuleCase>& cases)
    {
        for (const RuleCase& c : cases) {
            EXPECT_EQ(Pair(Item(c.item), c.key, c.keyValue), c.expected)
                << "item " << c.item << ", key " << c.key << " = " << c.keyValue;
        }
    }
    // Whether the key rule of the key leaves the value of the item allowed (asked with a key
    // value no pair rule names).
    bool OtherAllows(SHORT item, SHORT key, LONG value)
    {
        return Item(item)->IsForbiddenByKeyValue(value, key, 0x7FFF0000) == 0;
    }

    pitest::SpcDataPtr m_model;
    tagMODELHANDLE m_handle{};
    std::unique_ptr<CKinsokuList> m_list;
};

TEST_F(ModelPassesTest, ItemValuesAndDefaultsFollowTheModel)
{
    struct Case {
        SHORT item;
        std::vector<LONG> values;
        LONG preferred;  // the default, or the first value where the item has none
    };
    const Case cases[] = {
        {1, {1, 5, 7, 9, 11, 13, 20, 27, 28, 37}, 9},  // metric default A4
        {2, {1, 2, 3, 4, 5, 6, 7, 8}, 1},
        {27, {1, 3, 8}, 1},  // the media usable for covers
        {29, {1, 3, 8}, 1},
        {3, {7, 4, 1, 2, 3, 5}, 7},  // automatic, manual, then model order
        {28, {7, 1, 2, 3, 5}, 7},  // the sources usable for covers
        {30, {7, 1, 2, 3, 5}, 7},
        {22, {1, 2, 3}, 1},
        {10, {2, 0}, 0},
        {11, {1, 0}, 0},
        {14, {4, 0}, 0},
        {12, {8, 0}, 0},
        {13, {16, 0}, 0},
        {15, {1, 0}, 0},
        {9, {0, 1}, 0},  // sort bits 0x3
        {7, {0, 1}, 0},
        {21, {0, 1}, 0},
        {8, {1, 0}, 1},
        {16, {0, 1}, 0},
        {18, {0, 1}, 0},
        {20, {0, 2}, 0},
        {17, {0, 1}, 0},
        {19, {0, 1}, 0},
        {23, {0, 1}, 0},
        {31, {0, 1}, 0},  // the model prints blank pages
        {32, {1, 2, 3}, 1},
        {33, {1}, 1},  // raster mode only; default 0 is not offered
        {34, {1, 2, 3, 4}, 2},
        {35, {0, 1}, 0},
        {36, {1}, 1},
        {37, {0, 1}, 0},
        {38, {0, 1}, 0},
        {39, {0, 1, 2, 4, 8}, 0},
        {40, {0, 65535}, 0},
        {41, {0, 1}, 0},
        {42, {1}, 1},
        {43, {0, 1}, 0},
    };
    for (const Case& c : cases) {
        CKinsokuItem* pItem = Item(c.item);
        ASSERT_NE(pItem, nullptr) << "item " << c.item;
        EXPECT_EQ(Values(pItem), c.values) << "item " << c.item;
        EXPECT_EQ(rulestest::PreferredValue(pItem), c.preferred) << "item " << c.item;
    }
    // Text ids of the settings program travel as data1.
    EXPECT_EQ(rulestest::Data1(Item(21)), (std::vector<LONG>{4105, 4106}));
    EXPECT_EQ(rulestest::Data1(Item(17)), (std::vector<LONG>{6051, 6050}));
    EXPECT_EQ(rulestest::Data1(Item(23)), (std::vector<LONG>{6001, 6002}));
    EXPECT_EQ(rulestest::Data1(Item(39)), (std::vector<LONG>{4555, 4556, 4557, 4558, 4559}));
    EXPECT_EQ(rulestest::Data1(Item(33)), (std::vector<LONG>{3286}));
    EXPECT_EQ(rulestest::Data1(Item(22)), (std::vector<LONG>{3, 0, 0}));
    // The finisher items belong to the installed options; items 24 to 26 to nobody here.
    for (SHORT id : {4, 5, 6, 24, 25, 26}) {
        EXPECT_EQ(Item(id), nullptr) << "item " << id;
    }
}

TEST_F(ModelPassesTest, InchLocaleTakesTheInchDefaultPaper)
{
    auto list = rulestest::ModelList(&m_handle, rulestest::AllActiveRecord(false));
    EXPECT_EQ(rulestest::PreferredValue(list->GetItem(1)), 1);
}

TEST_F(ModelPassesTest, WithoutAllValuesDriverCopiesAreLeftOut)
{
    DRVDEVMODE record = rulestest::AllActiveRecord();
    CKinsokuList list(&m_handle, nullptr, &record);
    vKinsokuItemValues(&m_handle, &list, 0);
    EXPECT_EQ(Values(list.GetItem(23)), (std::vector<LONG>{0}));
    // No sample paper is larger than the largest long paper, so every paper stays.
    EXPECT_EQ(Values(list.GetItem(1)).size(), 10u);
}

TEST_F(ModelPassesTest, PaperRulesTieMediaSourcesAndLayoutsToEachPaper)
{
    const std::vector<LONG> sheetMedia = {1, 2, 3, 4, 6, 7, 8};
    const std::vector<LONG> sheetSources = {7, 1, 2, 4, 3, 5};
    ExpectRules({
        {2, 205, 9, Listed(sheetMedia)},
        {2, 205, 20, Listed({5})},
        {3, 205, 9, Listed(sheetSources)},
        {3, 205, 20, Listed({7, 1, 4})},
        {27, 205, 9, NoRule()},  // cover media are not linked to the paper class
        {11, 205, 9, AllAllowed()},
        {11, 205, 20, Listed({0})},  // no pages per sheet on envelopes
        {22, 205, 9, AllAllowed()},
        {22, 205, 20, Listed({1})},
        {10, 205, 9, AllAllowed()},
        {10, 205, 20, Listed({0})},
        {9, 205, 9, Listed({0, 1})},  // sort bits 0x3
        {21, 205, 9, Listed({0, 1})},
        {21, 205, 20, NoRule()},
        {34, 205, 5, Listed({1, 2, 4})},  // Legal excludes quality 3
        {34, 205, 9, NoRule()},
    });
    // Papers without a rule of their own: no sort value, every quality mode.
    EXPECT_FALSE(OtherAllows(9, 205, 0));
    EXPECT_TRUE(OtherAllows(34, 205, 3));
}

TEST_F(ModelPassesTest, CustomClassRulesComeFromTheCustomLimits)
{
    ExpectRules({
        {2, 205, 456, Listed({1, 2, 3, 7})},
        {3, 205, 456, Listed({7, 1, 4})},
        {11, 205, 456, AllAllowed()},
        {22, 205, 456, AllAllowed()},
        {10, 205, 456, Listed({0})},  // the custom size does not allow booklets
        {21, 205, 456, Listed({0, 1})},
        {9, 205, 456, Listed({0, 1})},
        {9, 205, 457, NoRule()},  // long paper has no sort bit: the empty key rule allows no sort
        {34, 205, 456, Listed({1, 2, 3})},  // custom sizes exclude quality 4
        // Long paper lists no media or source: the rules exist and allow nothing.
        {2, 205, 457, Listed({})},
        {3, 205, 457, Listed({})},
        {11, 205, 457, Listed({0})},
        {22, 205, 457, Listed({1})},
        {34, 205, 457, NoRule()},
        // The model has no custom ranges 458 and 459.
        {2, 205, 458, NoRule()},
        {11, 205, 459, NoRule()},
    });
}

TEST_F(ModelPassesTest, MediaRulesTieEachMediumToPapersSourcesAndLayouts)
{
    ExpectRules({
        {1, 208, 5, Listed({20, 27, 28, 37})},
        {1, 208, 1, Listed({1, 5, 7, 9, 11, 13})},
        {3, 208, 3, Listed({1, 4})},  // thick paper: tray 1 and manual feed
        {28, 230, 0x10003, Listed({1, 4})},
        {30, 231, 0x10003, Listed({1, 4})},
        {28, 230, 3, NoRule()},  // no cover printed on it: no pair rule
        {11, 208, 1, AllAllowed()},
        {22, 208, 1, AllAllowed()},
        {22, 208, 3, Listed({1})},
        {10, 208, 1, AllAllowed()},
        {10, 208, 2, Listed({0})},  // thin paper is not for booklets
        {21, 208, 1, Listed({0, 1})},
        {21, 208, 3, NoRule()},
        {9, 208, 3, Listed({0, 1})},
        {34, 208, 8, Listed({2, 3, 4})},  // glossy paper excludes quality 1
    });
    EXPECT_TRUE(OtherAllows(28, 230, 5));
}

TEST_F(ModelPassesTest, SourceRulesCoverTheModelSourcesAndTheSourceGroups)
{
    ExpectRules({
        {1, 209, 2, Listed({1, 5, 7, 9, 11, 13})},
        {1, 209, 5, Listed({1, 9})},  // the large-capacity tray of a source group
        {2, 209, 2, Listed({1, 2, 3, 7, 8})},
        {27, 232, 2, Listed({1, 2, 3, 7, 8})},
        {29, 233, 5, Listed({1, 7})},
        {7, 209, 7, Listed({0})},  // no source allows rotation
        {22, 209, 4, Listed({1})},  // manual feed: one-sided
        {22, 209, 3, AllAllowed()},
        {10, 209, 7, AllAllowed()},
        {10, 209, 4, Listed({0})},  // manual feed: no booklet
        {34, 209, 1, Listed({1, 2, 4})},  // tray 1 excludes quality 3
    });
}

TEST_F(ModelPassesTest, LayoutPassesSwitchOffWhatBookletPosterAndPagesPerSheetExclude)
{
    ExpectRules({
        // Booklet (213 = 2): long-edge duplex, normal order, sort 0, no cover or blank page
        // options, collated.
        {22, 213, 2, Listed({2})},
        {15, 213, 2, Listed({0})},
        {9, 213, 2, Listed({0})},
        {20, 213, 2, Listed({0})},
        {43, 213, 2, Listed({0})},
        {8, 213, 2, Listed({1})},
        {16, 213, 2, Listed({0})},
        {31, 213, 2, Listed({0})},
        {40, 213, 2, Listed({0})},
        // Poster (215 = 4).
        {22, 215, 4, Listed({1})},
        {15, 215, 4, Listed({0})},
        {18, 215, 4, Listed({0})},
        {8, 215, 4, Listed({1})},
        {37, 215, 4, Listed({0})},
        {38, 215, 4, Listed({0})},
        // Pages per sheet (216 = 1).
        {15, 216, 1, Listed({0})},
        {16, 216, 1, Listed({0})},
        {31, 216, 1, Listed({0})},
    });
    for (SHORT item : {22, 15, 9, 8}) {
        EXPECT_TRUE(OtherAllows(item, 213, 0)) << item;
    }
    EXPECT_TRUE(OtherAllows(22, 215, 2));
}

TEST_F(ModelPassesTest, DuplexPassTiesCoversCollationAndBlankPagesToTheDuplexMode)
{
    ExpectRules({
        {15, 225, 1, NoRule()},  // the duplex modes name no output order
        {43, 225, 1, Listed({0})},
        {19, 225, 1, Listed({0, 1})},
        {19, 225, 2, Listed({0})},
        {19, 225, 3, Listed({0})},
        {8, 225, 2, Listed({1})},
        {8, 225, 3, Listed({1})},
        {31, 225, 1, Listed({0, 1})},
        {40, 225, 1, Listed({0})},
        {40, 225, 2, Listed({0, 65535})},
        {40, 225, 3, Listed({0, 65535})},
        {27, 225, 1, Listed({1, 2, 3, 4, 5, 6, 7, 8})},
        {27, 225, 2, Listed({1, 2, 7})},  // the media that allow duplex
        {29, 225, 3, Listed({1, 2, 7})},
        {28, 225, 1, Listed({7, 1, 2, 4, 3, 5})},
        {28, 225, 2, Listed({7, 1, 2, 3, 5})},
        {30, 225, 3, Listed({7, 1, 2, 3, 5})},
    });
    EXPECT_TRUE(OtherAllows(8, 225, 0));
    EXPECT_FALSE(OtherAllows(31, 225, 1));  // two-sided: blank pages stay
}

TEST_F(ModelPassesTest, CoverAndCopyPassesFollowTheirCapabilities)
{
    ExpectRules({
        {18, 214, 0x20001, Listed({0})},  // booklet with the second duplex method
        {23, 211, 0, Listed({0})},  // driver copies need collation (38: 0x8)
        {23, 223, 1, Listed({0})},  // covers: no driver copies (57: bit 9)
        {23, 224, 2, Listed({0})},
        {18, 229, 1, Listed({0})},  // reversed output takes no covers
        {20, 229, 1, Listed({0})},
        {22, 234, 0x10001, Listed({1})},
        {22, 234, 0x30001, Listed({1})},
        {22, 234, 0x10000, NoRule()},
        {10, 238, 1, Listed({0})},
        {18, 212, 4, Listed({0})},
        {20, 212, 5, Listed({0})},
    });
    EXPECT_TRUE(OtherAllows(18, 214, 1));
    EXPECT_TRUE(OtherAllows(23, 211, 1));
    EXPECT_TRUE(OtherAllows(22, 234, 2));
}

TEST_F(ModelPassesTest, CoverDuplexSourcePassListsTraysByDuplexMethod)
{
    const std::vector<LONG> allMedia = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<LONG> duplexMedia = {1, 2, 7};
    ExpectRules({
        {27, 235, 0x10000, Listed(allMedia)},
        {27, 235, 0x20000, Listed(duplexMedia)},
        {27, 235, 0x30000, Listed(duplexMedia)},
        {27, 235, 0x10001, Listed(allMedia)},
        {27, 235, 0x20001, Listed(duplexMedia)},
        {28, 235, 0x10000, Listed({7, 1, 2, 4, 3, 5})},
        {28, 235, 0x30001, Listed({7, 1, 2, 3, 5})},
    });
}

TEST_F(ModelPassesTest, PrintModeRulesCreateEmptyRulesForForbiddingModes)
{
    // Capability 77: vector mode (0) forbids item 36, raster mode (1) forbids toner save.
    ExpectRules({
        {36, 226, 1, Listed({1})},
        {36, 226, 0, Listed({})},
        {35, 226, 1, Listed({0})},
        {35, 226, 0, Listed({0, 1})},
    });
    // With the empty rule, print mode 0 forbids item 36's only value.
    EXPECT_EQ(rulestest::AllowedUnder(Item(36), 226, 0), std::vector<LONG>{});
}

TEST_F(ModelPassesTest, TextBlackFollowsHalftoneAndColourMode)
{
    // Halftones 1, 2 (flags bit 17), 3 (flags bit 18).
    ExpectRules({
        {41, 239, 1, Listed({1, 0})},
        {41, 239, 2, Listed({1, 0})},
        {41, 239, 3, Listed({1})},
        {42, 239, 1, Listed({1})},
        {42, 239, 2, NoRule()},
        {42, 239, 3, Listed({1})},
        {41, 240, 1, AllAllowed()},
        {41, 240, 2, Listed({0, 1})},  // 66: text black also in the monochrome modes
        {41, 240, 3, Listed({0, 1})},
    });
    EXPECT_TRUE(OtherAllows(41, 239, 0));
}

TEST_F(ModelPassesTest, JobKindsKeepCopiesAndCollationInThePrinter)
{
    ExpectRules({
        {23, 241, 0, AllAllowed()},
        {8, 241, 0, AllAllowed()},
    });
    EXPECT_EQ(rulestest::AllowedUnder(Item(23), 241, 2), std::vector<LONG>{0});
    EXPECT_EQ(rulestest::AllowedUnder(Item(8), 241, 2), std::vector<LONG>{1});
}

TEST_F(ModelPassesTest, WithoutLinksThePassesAddNoRule)
{
    DRVDEVMODE record = rulestest::AllActiveRecord();
    CKinsokuList list(&m_handle, nullptr, &record);
    ASSERT_EQ(bBuildModelKinsoku(&m_handle, &list, -1), -1);
    EXPECT_EQ(Values(list.GetItem(3)), (std::vector<LONG>{7, 4, 1, 2, 3, 5}));
    struct Probe {
        SHORT item;
        SHORT key;
        LONG keyValue;
    };
    const Probe probes[] = {{2, 205, 9}, {22, 208, 3}, {22, 213, 2}, {36, 226, 0}, {41, 239, 3}, {27, 235, 0x10000}};
    for (const Probe& p : probes) {
        EXPECT_FALSE(Pair(list.GetItem(p.item), p.key, p.keyValue).exists) << p.item << "/" << p.key;
    }
    EXPECT_EQ(bBuildModelKinsoku(&m_handle, nullptr, -1), 0);
}

}  // namespace
