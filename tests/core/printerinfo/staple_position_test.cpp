// Finishing position of the installed finisher for the job's paper, orientation and mode.
#include "core/printerinfo/StaplePosition.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::string, std::string>>;
using pitest::BlankRecord;
using pitest::TestQueue;

// Fixture "printerinfo-trays", position entries of finisher 5: mode 1 (dmFinisher 0) lists A4 (9)
// with 0x100; mode 5 (dmFinisher 2) lists A4 with 0x0600 and Letter (1) with 0x4200. Finisher 6,
// mode 5: A4 with 0x400. Position flags: 0x100, 0x200, 0x400 (first group) and 0x1000, 0x2000,
// 0x4000 (second group) stand for positions 2, 3 and 4.
TEST(StaplePosition, FromTheInstalledFinishersPaperEntries)
{
    auto model = pitest::LoadFixtureModel("printerinfo-trays");
    ASSERT_TRUE(model);
    const Marks f5Punch = {{"OptionFinisher", "F5"}, {"OptionPuncher", "Installed"}};
    struct Case {
        const char* what;
        Marks marks;
        SHORT paper;
        SHORT outputPaper;
        SHORT orientation;
        WORD layout;
        WORD finisher;
        SHORT mode;
        SHORT expected;
    };
    const Case cases[] = {
        {"mode 5 entry after the mode 1 entry", f5Punch, 9, 0, 1, 0, 2, 0, 3},
        {"mode 1 entry matches and stops the walk", f5Punch, 9, 0, 1, 0, 0, 0, 2},
        {"second group: none of its bits on A4", f5Punch, 9, 0, 1, 0, 2, 2, 0},
        {"second group on Letter", f5Punch, 1, 0, 1, 0, 2, 3, 4},
        {"first group on Letter", f5Punch, 1, 0, 1, 0, 2, 0, 3},
        {"landscape with mode 1 takes the second group", f5Punch, 1, 0, 2, 0, 2, 1, 4},
        {"booklet turns portrait to landscape", f5Punch, 1, 0, 1, 2, 2, 1, 4},
        {"the output paper is the paper", f5Punch, 9, 1, 1, 0, 2, 0, 3},
        {"paper without entries", f5Punch, 11, 0, 1, 0, 2, 0, 0},
        {"finisher without the punch unit", {{"OptionFinisher", "F5"}}, 9, 0, 1, 0, 2, 0, 0},
        {"finisher 6", {{"OptionFinisher", "F6"}}, 9, 0, 1, 0, 2, 0, 4},
        {"standard tray only", {{"OptionFinisher", "None"}}, 9, 0, 1, 0, 2, 0, 0},
    };
    for (const Case& c : cases) {
        TestQueue queue(model.get(), c.marks);
        ASSERT_TRUE(queue.IsOpen());
        CInstallOption options("queue", queue.Handle());
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmPaperSize = c.paper;
        dm.dm.dmOrientation = c.orientation;
        dm.priv.dmOutputPaperSize = c.outputPaper;
        dm.priv.dmLayoutPrint = c.layout;
        dm.priv.dmFinisher = c.finisher;
        EXPECT_EQ(GetStaplePosition(queue.Handle(), &options, &dm, c.mode), c.expected) << c.what;
    }
}

TEST(StaplePosition, MissingArgumentsGiveZero)
{
    auto model = pitest::LoadFixtureModel("printerinfo-trays");
    ASSERT_TRUE(model);
    TestQueue queue(model.get(), {{"OptionFinisher", "F6"}});
    ASSERT_TRUE(queue.IsOpen());
    CInstallOption options("queue", queue.Handle());
    DRVDEVMODE dm = BlankRecord();
    dm.dm.dmPaperSize = 9;
    dm.priv.dmFinisher = 2;
    EXPECT_EQ(GetStaplePosition(queue.Handle(), &options, &dm, 0), 4);
    EXPECT_EQ(GetStaplePosition(nullptr, &options, &dm, 0), 0);
    EXPECT_EQ(GetStaplePosition(queue.Handle(), nullptr, &dm, 0), 0);
    EXPECT_EQ(GetStaplePosition(queue.Handle(), &options, nullptr, 0), 0);
}

}  // namespace
