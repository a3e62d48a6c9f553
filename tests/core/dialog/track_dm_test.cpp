// The change tracker on a dialog-info record over a model whose envelope and custom size take their
// media and tray with them and whose thick paper takes its tray: each follow-up happens only for the change
// that asks for it, and the constraint engine settles the record after it.
#include "core/dialog/TrackDM.h"

#include "core/dialog/DialogInfo.h"
#include "core/dialog/DialogTestSupport.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/settings/settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using dialogtest::SampleQueue;

constexpr SHORT kA4 = 9;
constexpr SHORT kLetter = 1;
constexpr SHORT kEnvelope = 20;       // its media (envelope, 5) and tray (manual feed, 4) follow it
constexpr DWORD kPlain = 1;
constexpr DWORD kThick = 3;           // its tray (tray 1) follows it
constexpr DWORD kEnvelopeMedia = 5;
constexpr SHORT kAutoSelect = 7;
constexpr SHORT kTray1 = 1;
constexpr SHORT kManualFeed = 4;
constexpr SHORT kCustomSize = 456;    // its media (2) and tray (manual feed) follow it
constexpr DWORD kCustomSizeMedia = 2;

struct DialogInfoDeleter {
    void operator()(tagDIALOGINFO* p) const { vFreeDialogInfo(p); }
};

// A dialog-info record over the tracking fixture with the colour model's PPD.
class TrackDMTest : public ::testing::Test {
protected:
    TrackDMTest() : queue("GC7350") {}
    explicit TrackDMTest(const dialogtest::Marks& marks) : queue("GC7350", marks) {}

    ScopedMeasurementLocale locale{true};
    SampleQueue queue;
    dialogtest::SpcDataPtr model = dialogtest::LoadFixtureModel("dialog-track");
    std::unique_ptr<tagDIALOGINFO, DialogInfoDeleter> info;

    void SetUp() override
    {
        ASSERT_TRUE(queue.IsOpen());
        ASSERT_TRUE(model);
        DRVDEVMODE source;
        ASSERT_EQ(dialogtest::ModelDefaults(queue, &source, model.get()), 0u);
        // The PPD's choices, as the settings program writes them in (they bring the media type).
        queue.WriteChoices(&source, model.get());
        source.dm.dmPaperSize = kA4;
        source.dm.dmMediaType = kPlain;
        source.dm.dmDefaultSource = kAutoSelect;
        const tagOPENDIALOGINFO request = {queue.Name(), queue.Cups(), queue.Ppd(), model.get(), &source, &source, 0};
        info.reset(pCreateDialogInfo(&request));
        ASSERT_TRUE(info);
        ASSERT_EQ(info->psdm.dm.dmPaperSize, kA4);
        ASSERT_EQ(info->psdm.dm.dmMediaType, kPlain);
        ASSERT_EQ(info->psdm.dm.dmDefaultSource, kAutoSelect);
    }
    DRVDEVMODE& Settings() { return info->psdm; }
    CTrackDM& Tracker() { return *info->pTrackDM; }
};

TEST_F(TrackDMTest, APaperWhoseMediaAndTrayFollowItBringsThemAlong)
{
    Settings().dm.dmPaperSize = kEnvelope;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    EXPECT_EQ(Settings().dm.dmMediaType, kEnvelopeMedia);
    EXPECT_EQ(Settings().dm.dmDefaultSource, kManualFeed);
}

// A custom size is read from its class's own record, which is laid out unlike a standard paper's.
TEST_F(TrackDMTest, ACustomSizeBringsTheMediaAndTrayItsClassRecordNames)
{
    Settings().dm.dmPaperSize = kCustomSize;
    Settings().dm.dmFields |= 0x4 | 0x8;  // dmPaperLength, dmPaperWidth
    Settings().dm.dmPaperWidth = 1500;
    Settings().dm.dmPaperLength = 2000;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    EXPECT_EQ(Settings().dm.dmMediaType, kCustomSizeMedia);
    EXPECT_EQ(Settings().dm.dmDefaultSource, kManualFeed);
}

TEST_F(TrackDMTest, APaperWithoutFollowersLeavesMediaAndTrayAlone)
{
    Settings().dm.dmPaperSize = kLetter;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), 0);
    EXPECT_EQ(Settings().dm.dmMediaType, kPlain);
    EXPECT_EQ(Settings().dm.dmDefaultSource, kAutoSelect);
}

TEST_F(TrackDMTest, AMediaWhoseTrayFollowsItBringsTheTray)
{
    Settings().dm.dmMediaType = kThick;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    EXPECT_EQ(Settings().dm.dmDefaultSource, kTray1);
}

TEST_F(TrackDMTest, LeavingBookletSwitchesToOneSided)
{
    Settings().priv.dmLayoutPrint = 2;
    Settings().dm.dmDuplex = 2;
    ASSERT_EQ(Tracker().Snapshot(&Settings()), -1);
    Settings().priv.dmLayoutPrint = 0;
    Settings().priv.dmExtraFlag |= 1;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    EXPECT_EQ(Settings().dm.dmDuplex, 1);
    EXPECT_EQ(Settings().priv.dmExtraFlag & 1, 0u);
}

TEST_F(TrackDMTest, LeavingAHalftoneThatForcedTextToBlackReleasesIt)
{
    // The photo halftone (3) does not allow text in colour; the automatic one (1) does.
    struct Case {
        WORD from;
        WORD to;
        SHORT result;
        WORD textBlack;
    };
    const Case cases[] = {{3, 1, -1, 0}, {1, 3, 0, 1}, {2, 1, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        ASSERT_NE(Settings().priv.dmFieldsExtra2 & 0x400u, 0u) << "the model offers text as black";
        Settings().priv.dmHalftone = c.from;
        Settings().priv.dmAllTextBlack = 1;
        ASSERT_EQ(Tracker().Snapshot(&Settings()), -1);
        Settings().priv.dmHalftone = c.to;
        EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), c.result);
        EXPECT_EQ(Settings().priv.dmAllTextBlack, c.textBlack);
    }
}

// With the duplex unit installed, so that the first duplex method is there.
class TrackDMDuplexUnitTest : public TrackDMTest {
protected:
    TrackDMDuplexUnitTest() : TrackDMTest({{"OptionDuplexer", "Installed"}}) {}
};

TEST_F(TrackDMDuplexUnitTest, LeavingAMediaThatForbadeTheFirstDuplexMethodReturnsToIt)
{
    // Thick paper allows neither duplex method; plain paper, A4 and tray 1 allow both.
    Settings().dm.dmMediaType = kThick;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    ASSERT_EQ(Settings().dm.dmDefaultSource, kTray1);
    ASSERT_NE(info->pKinsokuList->IsValueDisabled(21, 0), 0) << "the first method is forbidden under thick paper";
    Settings().priv.dmDuplexOption = 1;
    ASSERT_EQ(Tracker().Snapshot(&Settings()), -1);

    Settings().dm.dmMediaType = kPlain;
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), -1);
    EXPECT_EQ(Settings().priv.dmDuplexOption, 0);
}

TEST_F(TrackDMTest, NothingChangedNothingFollows)
{
    const DRVDEVMODE before = Settings();
    EXPECT_EQ(Tracker().OnDevmodeChanged(&Settings()), 0);
    EXPECT_EQ(memcmp(&before, &Settings(), sizeof before), 0);
}

TEST(TrackDM, WithoutASnapshotOrRecordNothingHappens)
{
    CTrackDM tracker;
    DRVDEVMODE record = dialogtest::SizedRecord();
    record.priv.dmLayoutPrint = 0;
    EXPECT_EQ(tracker.OnDevmodeChanged(&record), 0);
    EXPECT_EQ(tracker.Snapshot(nullptr), 0);
    EXPECT_EQ(tracker.OnDevmodeChanged(nullptr), 0);
    // A snapshot without model handle, list or predicates still tracks leaving booklet.
    record.priv.dmLayoutPrint = 2;
    record.dm.dmDuplex = 3;
    ASSERT_EQ(tracker.Snapshot(&record), -1);
    record.priv.dmLayoutPrint = 1;
    EXPECT_EQ(tracker.OnDevmodeChanged(&record), -1);
    EXPECT_EQ(record.dm.dmDuplex, 1);
}

}  // namespace
