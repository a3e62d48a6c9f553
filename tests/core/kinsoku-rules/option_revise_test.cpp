// Revising a settings record by the installed options of a queue of the sample colour model (PPD
// data/ppd/GC7350.ppd through the real libcups).
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/MdUtilM2.h"
#include "core/printerinfo/InstallOption.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::string, std::string>>;

class OptionReviseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = pitest::LoadSampleModel("GC7350");
        ASSERT_TRUE(m_model);
    }

    // Revises the record as a queue with the PPD choices given would; false when the queue could
    // not be opened.
    bool Revise(const Marks& marks, DRVDEVMODE* pRecord, bool bFull = true)
    {
        pitest::TestQueue queue(m_model.get(), marks);
        if (!queue.IsOpen()) {
            return false;
        }
        CInstallOption options("queue", queue.Handle());
        CMdUtilM2 util(queue.Handle(), &options);
        SHORT result = bFull ? util.ReviseDevmodeByOptions(nullptr, pRecord) : util.FixDefaultDevmode(pRecord);
        return result == -1;
    }

    DRVDEVMODE Record() { return rulestest::DefaultRecord(m_model.get()); }

    pitest::SpcDataPtr m_model;
};

TEST_F(OptionReviseTest, DuplexMethodSwitchesBackOnceWhenAUnitIsInstalled)
{
    const Marks unit = {{"OptionDuplexer", "Installed"}};
    DRVDEVMODE record = Record();
    record.priv.dmFieldsExtra1 |= DMX1_DUPLEX_OPTION;
    record.priv.dmDuplexOption = 0;
    record.priv.dmInstalledDuplex = 0;

    struct Step {
        Marks marks;
        WORD setOption;  // 0xFFFF: leave as the previous step left it
        WORD option;
        WORD installed;
    };
    const Step steps[] = {
        {{}, 0xFFFF, 1, 0},  // no unit: the first method is not available
        {unit, 0xFFFF, 0, 1},  // a unit has just been installed: back to the first method
        {unit, 1, 1, 1},  // the user's choice of the second method stays
        {{}, 0, 1, 0},  // the unit is gone again
    };
    for (const Step& s : steps) {
        if (s.setOption != 0xFFFF) {
            record.priv.dmDuplexOption = s.setOption;
        }
        ASSERT_TRUE(Revise(s.marks, &record));
        EXPECT_EQ(record.priv.dmDuplexOption, s.option);
        EXPECT_EQ(record.priv.dmInstalledDuplex, s.installed);
    }
}

TEST_F(OptionReviseTest, DuplexAndBookletNeedTheDuplexUnit)
{
    DRVDEVMODE record = Record();
    record.dm.dmDuplex = 2;
    record.priv.dmExtraFlag = 0x3;
    record.priv.dmLayoutPrint = 0x2;
    DRVDEVMODE withUnit = record;

    ASSERT_TRUE(Revise({}, &record));
    EXPECT_EQ(record.dm.dmDuplex, 1);
    EXPECT_EQ(record.priv.dmExtraFlag, 0x2u);  // the duplex-margin bit goes with duplex
    EXPECT_EQ(record.priv.dmLayoutPrint, 0);  // booklet needs a duplex mode

    ASSERT_TRUE(Revise({{"OptionDuplexer", "Installed"}}, &withUnit));
    EXPECT_EQ(withUnit.dm.dmDuplex, 2);
    EXPECT_EQ(withUnit.priv.dmExtraFlag, 0x3u);
    EXPECT_EQ(withUnit.priv.dmLayoutPrint, 0x2);
}

TEST_F(OptionReviseTest, SourcesOfUnitsNotInstalledBecomeAutomaticSelection)
{
    struct Case {
        Marks marks;
        SHORT source;
        SHORT expected;
    };
    const Case cases[] = {
        {{}, 2, 2},
        {{}, 4, 4},
        {{}, 3, 7},
        {{}, 5, 7},
        {{{"OptionNumberTray", "3"}}, 3, 3},
        {{{"OptionLCT", "Installed"}}, 5, 5},
    };
    for (const Case& c : cases) {
        DRVDEVMODE record = Record();
        record.priv.dmFieldsExtra1 |= DMX1_FRONT_COVER | DMX1_BACK_COVER;
        record.dm.dmDefaultSource = c.source;
        record.priv.dmFrontCoverSource = c.source;
        record.priv.dmBackCoverSource = c.source;
        ASSERT_TRUE(Revise(c.marks, &record));
        EXPECT_EQ(record.dm.dmDefaultSource, c.expected) << c.source;
        EXPECT_EQ(record.priv.dmFrontCoverSource, c.expected) << c.source;
        EXPECT_EQ(record.priv.dmBackCoverSource, c.expected) << c.source;
    }
}

TEST_F(OptionReviseTest, JobKindsNeedingTheHardDiskFallBackToANormalJob)
{
    struct Case {
        Marks marks;
        WORD jobSpool;
        WORD expected;
    };
    const Case cases[] = {
        {{}, 3, 0},  // private hold needs the hard disk
        {{{"OptionHDD", "Installed"}}, 3, 3},
        {{}, 2, 2},
        {{}, 1, 1},
        {{}, 6, 6},  // secure print is decided elsewhere
    };
    for (const Case& c : cases) {
        DRVDEVMODE record = Record();
        record.priv.dmJobSpool = c.jobSpool;
        ASSERT_TRUE(Revise(c.marks, &record));
        EXPECT_EQ(record.priv.dmJobSpool, c.expected) << c.jobSpool;
    }
}

TEST_F(OptionReviseTest, FinisherSettingsFollowTheInstalledFinisher)
{
    struct Case {
        Marks marks;
        WORD staple, punch, finisher;
        WORD expStaple, expPunch, expFinisher, expItem;
    };
    const Case cases[] = {
        {{}, 1, 2, 2, 0, 0, 0, 99},
        {{{"OptionFinisher", "FN350"}}, 3, 2, 2, 3, 0, 2, 1},
        {{{"OptionFinisher", "FN350"}}, 5, 0, 514, 0, 0, 0, 1},  // position 5 and mode 514 are not the unit's
        {{{"OptionFinisher", "FN350"}, {"OptionPuncher", "Installed"}}, 1, 3, 1, 1, 3, 1, 1},
        {{{"OptionFinisher", "FN350"}, {"OptionPuncher", "Installed"}}, 1, 1, 1, 1, 0, 1, 1},
    };
    for (const Case& c : cases) {
        DRVDEVMODE record = Record();
        record.priv.dmStaple = c.staple;
        record.priv.dmPunch = c.punch;
        record.priv.dmFinisher = c.finisher;
        ASSERT_TRUE(Revise(c.marks, &record));
        EXPECT_EQ(record.priv.dmStaple, c.expStaple);
        EXPECT_EQ(record.priv.dmPunch, c.expPunch);
        EXPECT_EQ(record.priv.dmFinisher, c.expFinisher);
        EXPECT_EQ(record.priv.dmInstalledSummary[0], c.expItem);
    }
}

TEST_F(OptionReviseTest, SummaryWordsCountTheInstalledOptions)
{
    DRVDEVMODE record = Record();
    record.priv.dmCopiesByDriver = 1;
    record.priv.dmInstalledValue35 = 77;
    ASSERT_TRUE(Revise({{"OptionNumberTray", "3"}, {"OptionLCT", "Installed"}, {"OptionHDD", "Installed"}}, &record));
    EXPECT_EQ(record.priv.dmInstalledSummary[3], 2);  // two source-group trays
    EXPECT_EQ(record.priv.dmInstalledSummary[0], 99);
    // The model lets the user choose driver copies (38: 0x4): copies and the hard-disk amount stay.
    EXPECT_EQ(record.priv.dmCopiesByDriver, 1);
    EXPECT_EQ(record.priv.dmInstalledValue35, 77u);
}

TEST_F(OptionReviseTest, FixDefaultsSetsTheDuplexMethodAndTheInstalledFinisher)
{
    DRVDEVMODE record = Record();
    record.priv.dmFieldsExtra1 |= DMX1_DUPLEX_OPTION;
    record.priv.dmDuplexOption = 0;
    record.priv.dmCopiesByDriver = 1;
    ASSERT_TRUE(Revise({}, &record, false));
    EXPECT_EQ(record.priv.dmDuplexOption, 1);
    EXPECT_EQ(record.priv.dmCopiesByDriver, 0);  // the printer makes the copies (38 offered)

    record.priv.dmFinisher = 1;
    ASSERT_TRUE(Revise({{"OptionDuplexer", "Installed"}, {"OptionFinisher", "FN350"}}, &record, false));
    EXPECT_EQ(record.priv.dmDuplexOption, 0);
    EXPECT_EQ(record.priv.dmFinisher, 0);  // the unit's default mode (model id 0 is no mode: 0)
}

TEST_F(OptionReviseTest, WithoutRecordOrOptionsNothingIsDone)
{
    CMdUtilM2 util(nullptr, nullptr);
    DRVDEVMODE record = Record();
    EXPECT_EQ(util.ReviseDevmodeByOptions(nullptr, &record), 0);
    EXPECT_EQ(util.FixDefaultDevmode(&record), 0);
    pitest::TestQueue queue(m_model.get(), {});
    CInstallOption options("queue", queue.Handle());
    CMdUtilM2 withOptions(queue.Handle(), &options);
    EXPECT_EQ(withOptions.ReviseDevmodeByOptions(nullptr, nullptr), 0);
    EXPECT_EQ(withOptions.FixDefaultDevmode(nullptr), 0);
}

}  // namespace
