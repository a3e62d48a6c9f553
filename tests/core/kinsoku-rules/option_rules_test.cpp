// The installed-option rules on the sample colour model, with the queue's installed options read
// from its PPD (data/ppd/GC7350.ppd) by the real libcups.
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/FinisherRules.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOption.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::string, std::string>>;
using rulestest::AllAllowed;
using rulestest::Listed;
using rulestest::NoRule;
using rulestest::Pair;
using rulestest::PairRule;
using rulestest::Values;

// A queue of the sample colour model with the PPD choices given, its installed options, the
// predicates object and a list with the model rules and the option rules.
class OptionQueue {
public:
    OptionQueue(tagSPCDATA* pModel, const Marks& marks)
        : m_queue(pModel, marks), m_options("queue", m_queue.Handle()), m_util(m_queue.Handle(), &m_options)
    {
        m_list = rulestest::ModelList(m_queue.Handle(), rulestest::AllActiveRecord());
        m_built = m_util.BuildOptionConstraints(m_list.get());
    }
    bool IsOpen() const { return m_queue.IsOpen(); }
    CKinsokuList& List() { return *m_list; }
    CKinsokuItem* Item(SHORT id) { return m_list->GetItem(id); }
    CMdUtilM2& Util() { return m_util; }
    CInstallOption& Options() { return m_options; }
    SHORT Built() const { return m_built; }

private:
    pitest::TestQueue m_queue;
    CInstallOption m_options;
    CMdUtilM2 m_util;
    std::unique_ptr<CKinsokuList> m_list;
    SHORT m_built = 0;
};

class OptionRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = pitest::LoadSampleModel("GC7350");
        ASSERT_TRUE(m_model);
    }
    std::unique_ptr<OptionQueue> Queue(const Marks& marks)
    {
        auto queue = std::make_unique<OptionQueue>(m_model.get(), marks);
        EXPECT_TRUE(queue->IsOpen());
        EXPECT_EQ(queue->Built(), -1);
        return queue;
    }

    pitest::SpcDataPtr m_model;
};

TEST_F(OptionRulesTest, SourcesOfUnitsNotInstalledAreNotAllowed)
{
    struct Case {
        Marks marks;
        std::vector<LONG> allowed;  // in rule order: the model's sources, then the installed units'
        std::vector<LONG> selectable;  // in value order
    };
    const Case cases[] = {
        {{}, {7, 1, 2, 4}, {7, 4, 1, 2}},
        {{{"OptionNumberTray", "3"}}, {7, 1, 2, 4, 3}, {7, 4, 1, 2, 3}},
        {{{"OptionNumberTray", "3"}, {"OptionLCT", "Installed"}}, {7, 1, 2, 4, 3, 5}, {7, 4, 1, 2, 3, 5}},
    };
    for (const Case& c : cases) {
        auto queue = Queue(c.marks);
        for (SHORT item : {3, 28, 30}) {
            EXPECT_EQ(Pair(queue->Item(item), 204, 0), Listed(c.allowed)) << "item " << item;
            EXPECT_EQ(queue->List().IsLinked(204, item), -1);
        }
        // Key 204 is applied at once: the sources of missing units are forbidden already.
        EXPECT_EQ(rulestest::Selectable(queue->Item(3)), c.selectable);
    }
}

TEST_F(OptionRulesTest, DuplexAndBookletFollowTheDuplexUnit)
{
    auto without = Queue({});
    EXPECT_EQ(Pair(without->Item(22), 204, 0), Listed({1}));
    EXPECT_EQ(Pair(without->Item(10), 204, 0), Listed({0}));
    EXPECT_EQ(Pair(without->Item(21), 204, 0), NoRule());
    // The booklet rules of papers, media and sources are rebuilt for no duplex at all.
    EXPECT_EQ(Pair(without->Item(10), 205, 9), Listed({0}));
    EXPECT_EQ(Pair(without->Item(10), 208, 1), Listed({0}));
    EXPECT_EQ(Pair(without->Item(10), 209, 7), Listed({0}));

    auto with = Queue({{"OptionDuplexer", "Installed"}});
    EXPECT_EQ(Pair(with->Item(22), 204, 0), Listed({1, 2, 3}));
    EXPECT_EQ(Pair(with->Item(10), 204, 0), AllAllowed());
    EXPECT_EQ(Pair(with->Item(21), 204, 0), Listed({0, 1}));
    EXPECT_EQ(Pair(with->Item(10), 205, 9), AllAllowed());
    EXPECT_EQ(Pair(with->Item(10), 205, 20), Listed({0}));  // envelopes: no booklet
    EXPECT_EQ(Pair(with->Item(10), 205, 456), Listed({0}));  // the custom size: no booklet
    EXPECT_EQ(Pair(with->Item(10), 208, 2), Listed({0}));  // thin paper: no booklet
    EXPECT_EQ(Pair(with->Item(10), 209, 3), AllAllowed());
}

TEST_F(OptionRulesTest, QualityAndCopiesAreTiedToKey204)
{
    auto queue = Queue({});
    // No quality mode needs more memory than the model's base amount.
    EXPECT_EQ(Pair(queue->Item(34), 204, 0), Listed({1, 2, 3, 4}));
    // Printer copies are offered (38: 0x1, no requirement), driver copies always.
    EXPECT_EQ(Pair(queue->Item(23), 204, 0), Listed({1, 0}));
}

TEST_F(OptionRulesTest, WithoutAFinisherOnlyTheStandardTrayFinishes)
{
    auto queue = Queue({});
    // The standard output tray (finisher 99) is the installed finisher: one finisher value, no
    // stapler and no puncher to offer.
    EXPECT_EQ(Values(queue->Item(4)), std::vector<LONG>{0});
    EXPECT_EQ(queue->Item(5), nullptr);
    EXPECT_EQ(queue->Item(6), nullptr);
    EXPECT_EQ(queue->List().GetValueList(5), nullptr);
    EXPECT_EQ(queue->List().GetValueList(6), nullptr);
    const tagINSTALLENTRY* pFinisher = queue->Options().FirstInstalled(SPCID_FINISHER, 0);
    ASSERT_NE(pFinisher, nullptr);
    EXPECT_EQ(pFinisher->sItemId, 99);
    for (const tagFINISHERLINK& row : FINISHER_KINSOKU_TABLE) {
        EXPECT_EQ(queue->List().IsLinked(row.sKey, row.sItem), 0) << row.sKey << " -> " << row.sItem;
    }

    // A record asking for stapling, punching and a finishing mode gets none of them.
    DRVDEVMODE record = rulestest::AllActiveRecord();
    record.priv.dmStaple = 2;
    record.priv.dmPunch = 1;
    record.priv.dmFinisher = 1;
    EXPECT_EQ(queue->Util().ReviseDevmodeByOptions(nullptr, &record), -1);
    EXPECT_EQ(record.priv.dmStaple, 0);
    EXPECT_EQ(record.priv.dmPunch, 0);
    EXPECT_EQ(record.priv.dmFinisher, 0);
    EXPECT_EQ(record.priv.dmInstalledSummary[0], 99);
}

TEST_F(OptionRulesTest, FinisherWithStaplerOffersItsModesStaplesAndRules)
{
    auto queue = Queue({{"OptionFinisher", "FN350"}});
    // Finishing modes 1, 2, 5 of the unit: none, offset, staple.
    EXPECT_EQ(Values(queue->Item(4)), (std::vector<LONG>{0, 1, 2}));
    EXPECT_EQ(rulestest::Data1(queue->Item(4)), (std::vector<LONG>{1, 2, 5}));
    // Staples: none and positions 1 to 3; no punch unit was chosen.
    EXPECT_EQ(Values(queue->Item(6)), (std::vector<LONG>{0, 1, 2, 3}));
    EXPECT_EQ(queue->Item(5), nullptr);

    struct Link {
        SHORT key;
        SHORT item;
        SHORT linked;
    };
    // Link bits of the unit: 0x40000000, 0x80000000, 0x20000000, 0x8000000, 0x2000000, 0x4000,
    // 0x800, 0x8 (all stapler rows).
    const Link links[] = {{204, 6, -1}, {220, 22, -1}, {215, 6, -1}, {222, 39, -1}, {213, 6, -1}, {220, 8, -1},
                          {212, 6, -1}, {220, 9, -1},  {219, 6, 0},  {221, 6, 0},   {242, 4, 0}};
    for (const Link& l : links) {
        EXPECT_EQ(queue->List().IsLinked(l.key, l.item), l.linked) << l.key << " -> " << l.item;
    }

    PairRule forcedLongEdge = Listed({2, 3});
    forcedLongEdge.forced = true;
    forcedLongEdge.forcedValue = 2;
    struct Case {
        SHORT item;
        SHORT key;
        LONG keyValue;
        PairRule expected;
    };
    const Case cases[] = {
        {22, 220, 1, AllAllowed()},
        {22, 220, 3, forcedLongEdge},  // dual staple: two-sided only, long edge forced
        {22, 220, 0, AllAllowed()},
        {8, 220, 0, AllAllowed()},
        {6, 204, 0, Listed({0, 1, 3})},  // position 2 needs the duplex unit
        {6, 215, 4, Listed({0})},
        {6, 213, 0, Listed({0, 1, 2, 3})},
        {6, 213, 2, Listed({0, 3})},
        {9, 220, 1, Listed({0, 1})},
        {9, 220, 3, Listed({0, 1})},
        {39, 222, 0x30002, Listed({1, 2, 4, 8, 0})},
        {6, 212, 0, Listed({0, 1, 2, 3})},
        {6, 212, 1, Listed({0, 1, 2, 3})},
        {6, 212, 4, Listed({0})},  // only "no staple" goes with the other sort modes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pair(queue->Item(c.item), c.key, c.keyValue), c.expected)
            << "item " << c.item << ", key " << c.key << " = " << c.keyValue;
    }
    // Stapling forces collation.
    EXPECT_EQ(rulestest::AllowedUnder(queue->Item(8), 220, 1), std::vector<LONG>{1});

    auto withDuplex = Queue({{"OptionFinisher", "FN350"}, {"OptionDuplexer", "Installed"}});
    EXPECT_EQ(Pair(withDuplex->Item(6), 204, 0), Listed({0, 1, 2, 3}));
}

TEST_F(OptionRulesTest, PunchUnitAddsPunchValues)
{
    auto queue = Queue({{"OptionFinisher", "FN350"}, {"OptionPuncher", "Installed"}});
    // Punch ids 99, 1, 2 of the unit: none, 2 holes (2), 3 holes (3), with their images.
    EXPECT_EQ(Values(queue->Item(5)), (std::vector<LONG>{0, 2, 3}));
    ASSERT_NE(queue->Item(5), nullptr);
    tagVALUELIST* pList = queue->List().GetValueList(5);
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList[0].lData2, 2320);
    EXPECT_EQ(pList[1].lData2, 2323);
    EXPECT_EQ(pList[2].lData2, 2329);
}

TEST_F(OptionRulesTest, RunningAgainReplacesTheOptionRules)
{
    auto queue = Queue({{"OptionFinisher", "FN350"}});
    ASSERT_EQ(queue->Util().BuildOptionConstraints(&queue->List()), -1);
    EXPECT_EQ(Pair(queue->Item(3), 204, 0), Listed({7, 1, 2, 4}));
    EXPECT_EQ(Pair(queue->Item(22), 204, 0), Listed({1}));
    EXPECT_EQ(Values(queue->Item(6)), (std::vector<LONG>{0, 1, 2, 3}));
    EXPECT_EQ(Pair(queue->Item(6), 204, 0), Listed({0, 1, 3}));
    EXPECT_EQ(Pair(queue->Item(10), 205, 9), Listed({0}));
    EXPECT_EQ(queue->Util().BuildOptionConstraints(nullptr), 0);
}

}  // namespace
