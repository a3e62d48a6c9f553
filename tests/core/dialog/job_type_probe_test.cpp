// The job-kind probe over a model whose five job kinds carry different flags, and the revise
// pipeline's use of it.
#include "core/dialog/JobTypeProbe.h"

#include "core/dialog/DialogTestSupport.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/printerinfo/InstallOption.h"
#include "core/settings/settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dialogtest::Marks;
using dialogtest::SampleQueue;

// dmFieldsExtra1 bits that offer the kinds.
constexpr DWORD kKind1 = 0x1000000;
constexpr DWORD kKind2 = 0x2000000;
constexpr DWORD kKind3 = 0x4000000;
constexpr DWORD kKind4 = 0x10000000;
constexpr DWORD kKind5 = 0x20000000;

// The fixture's kinds: 1 optional with a user id; 4 optional with a password; 5 optional with a
// user id; 2 optional, chosen, using neither text; 3 not optional, with user id and password.
struct ProbeCase {
    const char* name;
    DWORD offered;
    SHORT incoming;
    SHORT jobType;
    DWORD keepMask;
    SHORT words[5];  // kinds 1, 4, 5, 2, 3
};

class JobTypeProbeTest : public ::testing::Test {
protected:
    void Probe(const Marks& marks, const ProbeCase& c, SHORT expectedResult)
    {
        SampleQueue queue("GC7350", marks);
        ASSERT_TRUE(queue.IsOpen());
        auto model = dialogtest::LoadFixtureModel("dialog-track");
        ASSERT_TRUE(model);
        tagMODELHANDLE mh = {model.get(), queue.Cups(), queue.Ppd()};
        CInstallOption options(queue.Name(), &mh);
        CMdUtilM2 mdutil(&mh, &options);
        const tagREVISEINFO info = {queue.Name(), &mh, &mdutil, nullptr, nullptr, nullptr};

        DRVDEVMODE record = dialogtest::SizedRecord();
        record.priv.dmFieldsExtra1 = c.offered;
        tagJOBTYPEPROBE probe;
        memset(&probe, 0x11, sizeof probe);
        probe.sJobType = c.incoming;
        EXPECT_EQ(bProbeJobType(&info, &record, &probe), expectedResult);
        EXPECT_EQ(probe.sJobType, c.jobType);
        EXPECT_EQ(probe.sReserved, 0);
        EXPECT_EQ(probe.dwKeepMask, c.keepMask);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(probe.sKindWords[i], c.words[i]) << "kind word " << i;
    }
};

TEST_F(JobTypeProbeTest, KindsAreTriedInOrderUntilOneIsNotOptional)
{
    const ProbeCase cases[] = {
        {"nothing offered: the probe keeps everything", 0, 0, 0, 0xFF, {-1, -1, -1, -1, -1}},
        {"kind 1 alone: optional, only its user id used", kKind1, 0, 0, 0xF2, {0, -1, -1, -1, -1}},
        {"kinds 1, 4, 5, 2: kind 2 chosen, every text used", kKind1 | kKind4 | kKind5 | kKind2, 0, 2, 0xFE,
         {0, 0, 0, 0, -1}},
        {"all five: kind 3 skipped once 2 is chosen", kKind1 | kKind2 | kKind3 | kKind4 | kKind5, 0, 2, 0xFE,
         {0, 0, 0, 0, -1}},
        {"all five with kind 2 current: kind 3 tried, not optional", kKind1 | kKind2 | kKind3 | kKind4 | kKind5, 2,
         2, 0xFF, {0, 0, 0, 0, -1}},
        {"kind 3 alone: not optional, nothing chosen", kKind3, 0, 0, 0xFF, {-1, -1, -1, -1, -1}},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Probe({}, c, 0);
    }
}

TEST_F(JobTypeProbeTest, AnswersWhetherTheHardDiskIsInstalled)
{
    const ProbeCase c = {"kind 1", kKind1, 0, 0, 0xF2, {0, -1, -1, -1, -1}};
    Probe({}, c, 0);
    Probe({{"OptionHDD", "Installed"}}, c, 1);
}

TEST(JobTypeProbe, WithoutContextPredicatesRecordOrProbeItDoesNotAnswer)
{
    tagMODELHANDLE mh {};
    const tagREVISEINFO noPredicates = {"q", &mh, nullptr, nullptr, nullptr, nullptr};
    DRVDEVMODE record = dialogtest::SizedRecord();
    tagJOBTYPEPROBE probe {};
    EXPECT_EQ(bProbeJobType(nullptr, &record, &probe), 0);
    EXPECT_EQ(bProbeJobType(&noPredicates, &record, &probe), 0);
}

// The fixture offers kinds 1 and 2 only (its records of kinds 4, 5 and 3 lack the offered flag):
// with the hard disk the probe chooses kind 2, whose kinds leave kind 5's user id and the
// password unused, so both texts are cleared.
TEST(ReviseJobKind, TheProbedKindIsTakenAndTheTextsItLeavesUnusedAreCleared)
{
    ScopedMeasurementLocale locale(true);
    struct Case {
        const char* name;
        Marks marks;
        WORD jobSpool;
        bool textsKept;
    };
    const Case cases[] = {
        {"with the hard disk", {{"OptionHDD", "Installed"}}, 2, false},
        {"without the hard disk nothing is chosen", {}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleQueue queue("GC7350", c.marks);
        ASSERT_TRUE(queue.IsOpen());
        auto model = dialogtest::LoadFixtureModel("dialog-track");
        ASSERT_TRUE(model);
        DRVDEVMODE record;
        ASSERT_EQ(dialogtest::ModelDefaults(queue, &record, model.get()), 0u);
        const DWORD all = kKind1 | kKind2 | kKind3 | kKind4 | kKind5;
        ASSERT_EQ(record.priv.dmFieldsExtra1 & all, kKind1 | kKind2);
        record.priv.dmJobSpool = 0;
        strcpy(record.priv.dmMailBox_UserID, "user");
        strcpy(record.priv.dmPassword, "secret");
        ASSERT_EQ(dialogtest::ReviseInPlace(queue, &record, model.get()), 0u);
        EXPECT_EQ(record.priv.dmJobSpool, c.jobSpool);
        EXPECT_STREQ(record.priv.dmMailBox_UserID, c.textsKept ? "user" : "");
        EXPECT_STREQ(record.priv.dmPassword, c.textsKept ? "secret" : "");
    }
}

TEST(ReviseJobKind, SecurePrintStaysWhenTheInstalledOptionsLackTheHardDisk)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE record;
    ASSERT_EQ(dialogtest::ModelDefaults(queue, &record), 0u);
    record.priv.dmJobSpool = 6;
    ASSERT_EQ(dialogtest::ReviseInPlace(queue, &record), 0u);
    EXPECT_EQ(record.priv.dmJobSpool, 6);
}

}  // namespace
