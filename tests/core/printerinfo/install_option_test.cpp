// The installed-option table: the model's options and defaults, the source groups, and the queue
// PPD's "Option..." choices on top, read through the real libcups.
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOption.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::string, std::string>>;
using pitest::HandleOf;
using pitest::TestQueue;

// Fixture "printerinfo-trays": sources 7 (auto), 1, 2, 4 (manual): two selectable. Source groups:
// kind 1 with sources 3 and 10, kind 5 (large-capacity tray) with 5, kind 2 with 11: three
// optional. Options listed: duplex (25), sources (26), finishers (27: 99 standard tray installed
// by default, 5, 6, 7), disks (35: 1, and 2 which the model marks as not there).
class InstallOptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = pitest::LoadFixtureModel("printerinfo-trays");
        ASSERT_TRUE(m_model);
    }
    tagSPCDATA* Model() { return m_model.get(); }

    static std::vector<SHORT> InstalledSources(const CInstallOption& options)
    {
        std::vector<SHORT> ids;
        for (int n = 1; n <= options.CountInCategory(SPCID_SOURCEGROUP, -1); ++n) {
            const tagINSTALLENTRY* entry = options.GetNthInCategory(SPCID_SOURCEGROUP, n);
            if (entry->lInstalled != 0) {
                ids.push_back(entry->sItemId);
            }
        }
        return ids;
    }

private:
    pitest::SpcDataPtr m_model;
};

TEST_F(InstallOptionTest, ModelDefaultsGroupsAndPresence)
{
    tagMODELHANDLE handle = HandleOf(Model());
    CInstallOption options("queue", &handle);
    ASSERT_EQ(options.GetCount(), 11u);

    struct Case {
        SHORT cap;
        SHORT item;
        SHORT group;
        LONG installed;
        DWORD presence;
    };
    const Case cases[] = {
        {SPCID_DUPLEX, 25, 0, 0, 1},
        {SPCID_SOURCEGROUP, 3, 1, 0, 1},
        {SPCID_SOURCEGROUP, 10, 1, 0, 1},
        {SPCID_SOURCEGROUP, 5, 5, 0, 1},
        {SPCID_SOURCEGROUP, 11, 2, 0, 1},
        {SPCID_FINISHER, 99, 0, -1, 1},
        {SPCID_FINISHER, 5, 0, 0, 1},
        {SPCID_FINISHER, 6, 0, 0, 1},
        {SPCID_FINISHER, 7, 0, 0, 1},
        {SPCID_INSTALLBASE1, 1, 0, 0, 1},
        {SPCID_INSTALLBASE1, 2, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const tagINSTALLENTRY* entry = options.Find(c.cap, c.item);
        ASSERT_NE(entry, nullptr) << c.cap << "/" << c.item;
        EXPECT_EQ(entry->sGroup, c.group) << c.cap << "/" << c.item;
        EXPECT_EQ(entry->lInstalled, c.installed) << c.cap << "/" << c.item;
        EXPECT_EQ(entry->dwPresence, c.presence) << c.cap << "/" << c.item;
    }
    EXPECT_EQ(options.Find(SPCID_SOURCEGROUP, 7), nullptr);
    EXPECT_EQ(options.Find(SPCID_INSTALLBASE2, 1), nullptr);
}

TEST_F(InstallOptionTest, CategoryQueries)
{
    tagMODELHANDLE handle = HandleOf(Model());
    CInstallOption options("queue", &handle);
    EXPECT_EQ(options.CountInCategory(SPCID_SOURCEGROUP, -1), 4);
    EXPECT_EQ(options.CountInCategory(SPCID_SOURCEGROUP, 1), 2);
    EXPECT_EQ(options.CountInCategory(SPCID_SOURCEGROUP, 5), 1);
    EXPECT_EQ(options.CountInCategory(SPCID_FINISHER, -1), 4);
    EXPECT_EQ(options.CountInCategory(40, -1), 0);
    EXPECT_EQ(options.CountInstalled(SPCID_FINISHER, -1), 1);
    EXPECT_EQ(options.CountInstalled(SPCID_SOURCEGROUP, -1), 0);

    EXPECT_EQ(options.GetNthInCategory(SPCID_FINISHER, 1)->sItemId, 99);
    EXPECT_EQ(options.GetNthInCategory(SPCID_FINISHER, 4)->sItemId, 7);
    EXPECT_EQ(options.GetNthInCategory(SPCID_FINISHER, 5), nullptr);
    EXPECT_EQ(options.GetNthInCategory(SPCID_FINISHER, 0), nullptr);
    EXPECT_EQ(options.FindInCategory(SPCID_FINISHER, 6), options.Find(SPCID_FINISHER, 6));
    EXPECT_EQ(options.FindInCategory(SPCID_FINISHER, 42), nullptr);

    // Start index 0 is the first entry of the capability.
    EXPECT_EQ(options.FirstInstalled(SPCID_FINISHER, 0), options.Find(SPCID_FINISHER, 99));
    EXPECT_EQ(options.FirstInstalled(SPCID_FINISHER, 1), options.Find(SPCID_FINISHER, 99));
    EXPECT_EQ(options.FirstInstalled(SPCID_FINISHER, 2), nullptr);

    EXPECT_EQ(options.FindNthInGroup(SPCID_SOURCEGROUP, 1, 2)->sItemId, 10);
    EXPECT_EQ(options.FindNthInGroup(SPCID_SOURCEGROUP, 1, 0)->sItemId, 3);
    EXPECT_EQ(options.FindNthInGroup(SPCID_SOURCEGROUP, 2, 1)->sItemId, 11);
    EXPECT_EQ(options.FindNthInGroup(SPCID_SOURCEGROUP, 2, 2), nullptr);

    options.UninstallCategory(SPCID_FINISHER);
    EXPECT_EQ(options.CountInstalled(SPCID_FINISHER, -1), 0);
    EXPECT_EQ(options.Reload(), FLAG_TRUE);
    EXPECT_EQ(options.CountInstalled(SPCID_FINISHER, -1), 1);
    EXPECT_EQ(options.GetExtraValue(), -1);
}

TEST_F(InstallOptionTest, NumberOfTraysInstallsOptionalFeederTrays)
{
    // T = min(max(2, N), 2 + 3); the first T - 2 sources outside large-capacity groups are
    // installed, in table order. The number is the choice's name, not its "%% ID=".
    struct Case {
        const char* choice;
        std::vector<SHORT> installed;
    };
    const Case cases[] = {
        {"1", {}}, {"2", {}}, {"3", {3}}, {"4", {3, 10}}, {"5", {3, 10, 11}}, {"9", {3, 10, 11}}, {"Many", {}},
    };
    for (const Case& c : cases) {
        TestQueue queue(Model(), {{"OptionNumberTray", c.choice}});
        ASSERT_TRUE(queue.IsOpen());
        CInstallOption options("queue", queue.Handle());
        EXPECT_EQ(InstalledSources(options), c.installed) << c.choice;
        EXPECT_EQ(options.Find(SPCID_SOURCEGROUP, 5)->lInstalled, 0) << c.choice;
    }
}

TEST_F(InstallOptionTest, DuplexLargeCapacityTrayAndDisk)
{
    struct Case {
        const char* what;
        Marks marks;
        LONG duplex;
        LONG lct;
        LONG disk1;
        LONG disk2;
    };
    const Case cases[] = {
        {"PPD defaults", {}, 0, 0, 0, 0},
        {"duplex unit installed is 1", {{"OptionDuplexer", "Installed"}}, 1, 0, 0, 0},
        {"large-capacity tray", {{"OptionLCT", "Installed"}}, 0, -1, 0, 0},
        {"disk by its number", {{"OptionHDD", "Installed"}}, 0, 0, -1, 0},
        {"disk choice without a number changes nothing", {{"OptionHDD", "NoId"}}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TestQueue queue(Model(), c.marks);
        ASSERT_TRUE(queue.IsOpen());
        CInstallOption options("queue", queue.Handle());
        EXPECT_EQ(options.Find(SPCID_DUPLEX, 25)->lInstalled, c.duplex) << c.what;
        EXPECT_EQ(options.Find(SPCID_SOURCEGROUP, 5)->lInstalled, c.lct) << c.what;
        EXPECT_EQ(options.Find(SPCID_INSTALLBASE1, 1)->lInstalled, c.disk1) << c.what;
        EXPECT_EQ(options.Find(SPCID_INSTALLBASE1, 2)->lInstalled, c.disk2) << c.what;
    }
}

TEST_F(InstallOptionTest, FinisherChoiceReplacesTheStandardTrayWithWhatTheUnitCanDo)
{
    // Finisher 5 punches as "OptionPuncher" says and staples; 6 always punches and never staples;
    // 7 does neither; 99 (the standard tray) does neither either.
    struct Case {
        const char* what;
        Marks marks;
        LONG tray99;
        LONG finisher5;
        LONG finisher6;
        LONG finisher7;
    };
    const Case cases[] = {
        {"finisher 5 without the punch unit", {{"OptionFinisher", "F5"}}, 0, 0x20000, 0, 0},
        {"finisher 5 with the punch unit", {{"OptionFinisher", "F5"}, {"OptionPuncher", "Installed"}}, 0, 0x30000, 0, 0},
        {"finisher 6", {{"OptionFinisher", "F6"}, {"OptionPuncher", "Installed"}}, 0, 0, 0x10000, 0},
        {"finisher 7 ends up not installed", {{"OptionFinisher", "F7"}}, 0, 0, 0, 0},
        {"standard tray chosen", {{"OptionFinisher", "None"}}, 0, 0, 0, 0},
        {"a finisher the model lacks is ignored", {{"OptionFinisher", "F42"}}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TestQueue queue(Model(), c.marks);
        ASSERT_TRUE(queue.IsOpen());
        CInstallOption options("queue", queue.Handle());
        EXPECT_EQ(options.Find(SPCID_FINISHER, 99)->lInstalled, c.tray99) << c.what;
        EXPECT_EQ(options.Find(SPCID_FINISHER, 5)->lInstalled, c.finisher5) << c.what;
        EXPECT_EQ(options.Find(SPCID_FINISHER, 6)->lInstalled, c.finisher6) << c.what;
        EXPECT_EQ(options.Find(SPCID_FINISHER, 7)->lInstalled, c.finisher7) << c.what;
    }
}

TEST_F(InstallOptionTest, LoaderSizesFirstAndFillsNoMoreThanTheArrayHolds)
{
    tagMODELHANDLE handle = HandleOf(Model());
    DWORD size = 0;
    DWORD count = 99;
    ASSERT_EQ(LoadInstallEntries(&handle, nullptr, &size, &count), ERROR_SUCCESS);
    EXPECT_EQ(size, 11u * 16u);
    EXPECT_EQ(count, 0u);

    tagINSTALLENTRY entries[3] = {};
    const tagINSTALLENTRY guard = {-7, -7, -7, -7, -7, 7};
    entries[2] = guard;
    size = 2 * sizeof(tagINSTALLENTRY);
    ASSERT_EQ(LoadInstallEntries(&handle, entries, &size, &count), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(entries[0].sCapId, SPCID_DUPLEX);
    EXPECT_EQ(entries[1].sCapId, SPCID_SOURCEGROUP);
    EXPECT_EQ(entries[1].sItemId, 3);
    EXPECT_EQ(entries[1].sGroup, 1);
    EXPECT_EQ(memcmp(&entries[2], &guard, sizeof guard), 0);
}

TEST(InstallOption, ColourModelWithItsQueuePpd)
{
    // The sample colour model lists duplex, one optional tray (3) and a large-capacity tray (5),
    // the standard tray and finisher 1, a disk and a memory expansion.
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CInstallOption options("GC7350", &handle);
    EXPECT_EQ(options.CountInCategory(SPCID_DUPLEX, -1), 1);
    EXPECT_EQ(options.CountInCategory(SPCID_SOURCEGROUP, -1), 2);
    EXPECT_EQ(options.Find(SPCID_SOURCEGROUP, 3)->sGroup, 1);
    EXPECT_EQ(options.Find(SPCID_SOURCEGROUP, 5)->sGroup, 5);
    EXPECT_EQ(options.FirstInstalled(SPCID_FINISHER, 0)->sItemId, 99);
    EXPECT_NE(options.Find(SPCID_INSTALLBASE1, 1), nullptr);
    EXPECT_NE(options.Find(SPCID_INSTALLBASE2, 1), nullptr);
}

TEST(InstallOption, ModelWithoutOptionsHasAnEmptyTable)
{
    auto model = pitest::LoadSampleModel("GM1000");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CInstallOption options("GM1000", &handle);
    EXPECT_EQ(options.Reload(), FLAG_FALSE);
    EXPECT_EQ(options.GetCount(), 0u);
    EXPECT_EQ(options.Find(SPCID_FINISHER, 99), nullptr);
    EXPECT_EQ(options.FirstInstalled(SPCID_FINISHER, 0), nullptr);
    EXPECT_EQ(options.CountInCategory(SPCID_SOURCEGROUP, -1), 0);

    CInstallOption noHandle("none", nullptr);
    EXPECT_EQ(noHandle.GetCount(), 0u);
    DWORD size = 0;
    DWORD count = 0;
    EXPECT_EQ(LoadInstallEntries(nullptr, nullptr, &size, &count), ERROR_INVALID_DATA);
    EXPECT_EQ(LoadInstallEntries(&handle, nullptr, nullptr, &count), ERROR_INVALID_DATA);
}

TEST(InstallOption, FindInstallEntryWalksTheArray)
{
    tagINSTALLENTRY entries[3] = {
        {SPCID_SOURCEGROUP, 3, 1, 0, 0, 1},
        {SPCID_FINISHER, 3, 0, 0, -1, 1},
        {SPCID_FINISHER, 3, 0, 0, 0, 1},
    };
    EXPECT_EQ(FindInstallEntry(entries, 3, SPCID_FINISHER, 3), &entries[1]);
    EXPECT_EQ(FindInstallEntry(entries, 1, SPCID_FINISHER, 3), nullptr);
    EXPECT_EQ(FindInstallEntry(nullptr, 3, SPCID_FINISHER, 3), nullptr);
}

}  // namespace
