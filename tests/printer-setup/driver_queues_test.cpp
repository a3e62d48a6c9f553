// Which queues the settings program lists: exactly those whose PPD carries the driver's utility
// attribute, in CUPS's order, through a fake CUPS system whose PPDs the real libcups reads.
#include "gui/DriverQueues.h"

#include "printer-setup/SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

using setuptest::FakeCups;
using setuptest::FakeDest;
using setuptest::WriteSamplePpd;

struct UtilityCase {
    const char* name;
    const char* lines;  // in place of the sample's utility attribute line
    bool listed;
};

const UtilityCase kUtilityCases[] = {
    {"sample", "*OrvalenAttr Utility: \"OrvUtility\"\n", true},
    {"lower", "*OrvalenAttr Utility: \"orvutility\"\n", true},
    {"upper", "*OrvalenAttr Utility: \"ORVUTILITY\"\n", true},
    {"second-of-several", "*OrvalenAttr Utility: \"Other\"\n*OrvalenAttr Utility: \"OrvUtility\"\n", true},
    {"first-of-several", "*OrvalenAttr Utility: \"orvUtility\"\n*OrvalenAttr Utility: \"Other\"\n", true},
    {"none", "", false},
    {"other-value", "*OrvalenAttr Utility: \"OrvUtilityPlus\"\n", false},
    {"other-spec", "*OrvalenAttr Tools: \"OrvUtility\"\n", false},
    {"other-attribute", "*OtherAttr Utility: \"OrvUtility\"\n", false},
};

TEST(DriverQueues, ListsExactlyTheQueuesWithTheUtilityAttributeInCupsOrder)
{
    orvtest::ScratchDir dir;
    std::vector<FakeDest> dests;
    std::vector<std::string> expected;
    for (const UtilityCase& c : kUtilityCases) {
        dests.push_back({c.name, WriteSamplePpd(dir, "GC7350", std::string(c.name) + ".ppd", c.lines)});
        if (c.listed) {
            expected.push_back(c.name);
        }
    }
    // A destination CUPS has no PPD for, and a PPD that is no PPD at all.
    dests.push_back({"raw", ""});
    dests.push_back({"broken", dir.WriteFile("broken.ppd", "not a PPD\n")});
    FakeCups cups(dests);
    ASSERT_NE(cups.Table()->handle, nullptr);

    EXPECT_EQ(ListDriverQueues(cups.Table()), expected);
    EXPECT_EQ(cups.PpdCopiesLeft(), 0) << "every fetched copy is removed";
}

TEST(DriverQueues, InstancesOfOneDestinationGiveOneRowEach)
{
    orvtest::ScratchDir dir;
    const std::string ppd = WriteSamplePpd(dir, "GM4150", "gm.ppd", "*OrvalenAttr Utility: \"OrvUtility\"\n");
    FakeCups cups({{"gm", ppd}, {"gm", ppd}, {"gc", ppd}});
    EXPECT_EQ(ListDriverQueues(cups.Table()), (std::vector<std::string>{"gm", "gm", "gc"}));
}

TEST(DriverQueues, NoDestinationsGiveAnEmptyListWithoutFetchingAPpd)
{
    FakeCups cups({});
    EXPECT_TRUE(ListDriverQueues(cups.Table()).empty());
    EXPECT_EQ(cups.PpdRequests(), 0);
}

TEST(DriverQueues, AnUnboundTableListsNothingAndCallsNothing)
{
    tagCUPSFUNC empty{};
    EXPECT_TRUE(ListDriverQueues(&empty).empty());
    EXPECT_TRUE(ListDriverQueues(nullptr).empty());
    EXPECT_FALSE(IsOrvPrinter(&empty, "gc"));
    EXPECT_EQ(OpenPrinterPPD(&empty, "gc"), nullptr);
}

TEST(DriverQueues, UtilityTestOfAnOpenPpd)
{
    orvtest::ScratchDir dir;
    FakeCups cups({{"yes", WriteSamplePpd(dir, "GC7350", "y.ppd", "*OrvalenAttr Utility: \"orvutility\"\n")},
                   {"no", WriteSamplePpd(dir, "GC7350", "n.ppd", "")}});
    EXPECT_FALSE(IsOrvUtilityPPD(cups.Table(), nullptr));
    for (const auto& [queue, expected] : {std::pair<const char*, bool>{"yes", true}, {"no", false}}) {
        ppd_file_t* ppd = OpenPrinterPPD(cups.Table(), queue);
        ASSERT_NE(ppd, nullptr) << queue;
        EXPECT_EQ(IsOrvUtilityPPD(cups.Table(), ppd), expected) << queue;
        cups.Table()->ppdClose(ppd);
        EXPECT_EQ(IsOrvPrinter(cups.Table(), queue), expected) << queue;
    }
    EXPECT_FALSE(IsOrvPrinter(cups.Table(), "missing"));
    EXPECT_EQ(cups.PpdCopiesLeft(), 0);
}

}  // namespace
