// The revise pipeline on the sample models with their queue PPDs: model defaults for a record
// that carries nothing, a record saved for another model, and refusals that leave the caller's
// record as it was.
#include "core/dialog/ReviseDevmode.h"

#include "core/dialog/DialogTestSupport.h"
#include "core/settings/settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dialogtest::SampleQueue;

constexpr SHORT kLetter = 1;
constexpr SHORT kA4 = 9;

struct DefaultsCase {
    const char* model;
    bool metric;
    SHORT paper;
    SHORT width;
    SHORT length;
    bool finishers;  // the model lists finishers: staple, finisher and punch settings are offered
};

TEST(ReviseDevmodeEx, ModeOneFillsACompleteDefaultRecordEvenFromZeroBytes)
{
    const DefaultsCase cases[] = {
        {"GC7350", true, kA4, 2100, 2970, true},
        {"GC7350", false, kLetter, 2159, 2794, true},
        {"GM4150", true, kA4, 2100, 2970, false},
        {"GM1000", false, kLetter, 2159, 2794, false},
    };
    for (const DefaultsCase& c : cases) {
        SCOPED_TRACE(std::string(c.model) + (c.metric ? " metric" : " inch"));
        ScopedMeasurementLocale locale(c.metric);
        SampleQueue queue(c.model);
        ASSERT_TRUE(queue.IsOpen());
        DRVDEVMODE out;
        memset(&out, 0, sizeof out);  // not even the sizes: the defaults must not be refused
        ASSERT_EQ(uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), nullptr, &out, 1), 0u);

        EXPECT_EQ(out.dm.dmSize, 96);
        EXPECT_EQ(out.dm.dmDriverExtra, 1136);
        EXPECT_EQ(out.priv.dwPrivDATA, 0x4B4D4544u);
        EXPECT_EQ(out.dm.dmPaperSize, c.paper);
        EXPECT_EQ(out.dm.dmPaperWidth, c.width);
        EXPECT_EQ(out.dm.dmPaperLength, c.length);
        EXPECT_EQ(out.priv.dmOption86, 0xFFFF);
        EXPECT_EQ(out.priv.dmFrontCoverSource, 4);
        EXPECT_EQ(out.priv.dmBackCoverSource, 4);
        EXPECT_EQ(out.priv.dmFieldsExtra1 & 0x70000u, c.finishers ? 0x70000u : 0u);
        EXPECT_EQ(out.priv.dmUseDeptCode & 2, 2);
        EXPECT_EQ(out.dm.dmICMMethod, 1u);
    }
}

TEST(ReviseDevmodeEx, DefaultsThroughTheConvenienceMatchModeOne)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE viaMode1;
    memset(&viaMode1, 0, sizeof viaMode1);
    ASSERT_EQ(uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), nullptr, &viaMode1, 1), 0u);
    DRVDEVMODE viaDefaults;
    memset(&viaDefaults, 0, sizeof viaDefaults);
    ASSERT_TRUE(bGetDefaultDevmode(queue.Cups(), queue.Ppd(), queue.Name(), queue.Data(), &viaDefaults));
    EXPECT_EQ(memcmp(&viaMode1, &viaDefaults, sizeof viaDefaults), 0);
    EXPECT_FALSE(bGetDefaultDevmode(queue.Cups(), queue.Ppd(), queue.Name(), nullptr, &viaDefaults));
    EXPECT_FALSE(bGetDefaultDevmode(queue.Cups(), queue.Ppd(), queue.Name(), queue.Data(), nullptr));
}

TEST(ReviseDevmodeEx, ModeTwoGivesARecordSavedForAnotherModelThisModelsCapabilities)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue mono("GM4150");
    SampleQueue colour("GC7350");
    ASSERT_TRUE(mono.IsOpen());
    ASSERT_TRUE(colour.IsOpen());
    DRVDEVMODE monoRecord;
    memset(&monoRecord, 0, sizeof monoRecord);
    ASSERT_EQ(uiReviseDevmodeEx(mono.Name(), mono.Cups(), mono.Ppd(), mono.Data(), nullptr, &monoRecord, 1), 0u);
    DRVDEVMODE colourDefaults;
    memset(&colourDefaults, 0, sizeof colourDefaults);
    ASSERT_EQ(uiReviseDevmodeEx(colour.Name(), colour.Cups(), colour.Ppd(), colour.Data(), nullptr, &colourDefaults, 1),
              0u);
    ASSERT_NE(monoRecord.priv.dmFieldsExtra1, colourDefaults.priv.dmFieldsExtra1) << "the fixture must differ";

    // In place, as the filter revises its job settings.
    DRVDEVMODE record = monoRecord;
    ASSERT_EQ(uiReviseDevmodeEx(colour.Name(), colour.Cups(), colour.Ppd(), colour.Data(), &record, &record, 2), 0u);
    EXPECT_EQ(record.priv.dmFieldsExtra1, colourDefaults.priv.dmFieldsExtra1);
    EXPECT_EQ(record.priv.dmFieldsExtra2, colourDefaults.priv.dmFieldsExtra2);
    EXPECT_EQ(record.priv.dmFieldsExtra3, colourDefaults.priv.dmFieldsExtra3);
    EXPECT_EQ(record.priv.dmExtraPrint, colourDefaults.priv.dmExtraPrint);
    EXPECT_EQ(record.priv.dmUnitOfLayout, colourDefaults.priv.dmUnitOfLayout);
    EXPECT_EQ(record.dm.dmPaperSize, kA4);

    // Into another record: the same answer, and the input is not changed.
    DRVDEVMODE out = colourDefaults;
    const DRVDEVMODE input = monoRecord;
    ASSERT_EQ(uiReviseDevmodeEx(colour.Name(), colour.Cups(), colour.Ppd(), colour.Data(), &input, &out, 2), 0u);
    EXPECT_EQ(memcmp(&input, &monoRecord, sizeof input), 0);
    EXPECT_EQ(memcmp(&out, &record, sizeof out), 0);
}

TEST(ReviseDevmodeEx, ModeTwoTerminatesEveryTextField)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE record;
    ASSERT_EQ(dialogtest::ModelDefaults(queue, &record), 0u);
    memset(record.dm.dmFormName, 'F', sizeof record.dm.dmFormName);
    memset(record.priv.dmDeptCode, 'D', sizeof record.priv.dmDeptCode);
    memset(record.priv.dmMailBox_UserID, 'U', sizeof record.priv.dmMailBox_UserID);
    memset(record.priv.dmPassword, 'P', sizeof record.priv.dmPassword);
    memset(record.priv.dmText460, 'T', sizeof record.priv.dmText460);
    memset(record.priv.dmText588, 'S', sizeof record.priv.dmText588);
    ASSERT_EQ(dialogtest::ReviseInPlace(queue, &record), 0u);
    EXPECT_EQ(strnlen(record.priv.dmDeptCode, 32), 31u);
    EXPECT_EQ(strnlen(record.priv.dmMailBox_UserID, 32), 31u);
    EXPECT_EQ(strnlen(record.priv.dmPassword, 32), 31u);
    EXPECT_EQ(strnlen(record.priv.dmText460, 32), 31u);
    EXPECT_EQ(strnlen(record.priv.dmText588, 32), 31u);
    EXPECT_LT(strnlen(record.dm.dmFormName, 32), 32u);
}

TEST(ReviseDevmodeEx, RefusedRecordsAreLeftAsTheyWere)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    struct Case {
        const char* name;
        WORD size;
        WORD extra;
        bool withModel;
        DWORD expected;
    };
    const Case cases[] = {
        {"public size 95", 95, 1136, true, 87},
        {"private size 1000", 96, 1000, true, 87},
        {"sizes right, no model data", 96, 1136, false, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DRVDEVMODE record;
        memset(&record, 0x3C, sizeof record);
        record.dm.dmSize = c.size;
        record.dm.dmDriverExtra = c.extra;
        const DRVDEVMODE before = record;
        EXPECT_EQ(uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), c.withModel ? queue.Data() : nullptr,
                                    &record, &record, 2),
                  c.expected);
        EXPECT_EQ(memcmp(&record, &before, sizeof record), 0);
    }

    // A separate input of the wrong size does not reach the output either.
    DRVDEVMODE out;
    memset(&out, 0, sizeof out);
    ASSERT_EQ(uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), nullptr, &out, 1), 0u);
    const DRVDEVMODE before = out;
    DRVDEVMODE badInput = out;
    badInput.dm.dmDriverExtra = 1000;
    EXPECT_EQ(uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), &badInput, &out, 2), 87u);
    EXPECT_EQ(memcmp(&out, &before, sizeof out), 0);
}

TEST(MergeModelDevmode, MissingModelOrOutputAreReported)
{
    DRVDEVMODE out = dialogtest::SizedRecord();
    EXPECT_EQ(uiMergeModelDevmode(nullptr, nullptr, &out, 1), 13u);
    auto model = dialogtest::LoadSampleModel("GM1000");
    ASSERT_TRUE(model);
    EXPECT_EQ(uiMergeModelDevmode(model.get(), nullptr, nullptr, 1), 8u);
}

TEST(ReviseDevmode, WithoutContextHandleOrOutputNothingIsDoneAndItSaysSo)
{
    DRVDEVMODE out = dialogtest::SizedRecord();
    const DRVDEVMODE before = out;
    tagREVISEINFO noHandle {};
    EXPECT_EQ(uiReviseDevmode(nullptr, nullptr, &out, 1), 87u);
    EXPECT_EQ(uiReviseDevmode(&noHandle, nullptr, &out, 1), 87u);
    EXPECT_EQ(memcmp(&out, &before, sizeof out), 0);
    tagMODELHANDLE mh {};
    tagREVISEINFO info {};
    info.pModelHandle = &mh;
    EXPECT_EQ(uiReviseDevmode(&info, nullptr, nullptr, 1), 87u);
}

}  // namespace

namespace {

using dialogtest::Marks;

struct ForbiddenCase {
    const char* name;
    Marks marks;
    void (*set)(DRVDEVMODE&);
    bool (*holds)(const DRVDEVMODE&);
};

TEST(ReviseDevmodeEx, ModeTwoRepairsCombinationsTheQueueCannotPrint)
{
    ScopedMeasurementLocale locale(true);
    const Marks none;
    const Marks duplexUnit = {{"OptionDuplexer", "Installed"}};
    const Marks finisher = {{"OptionFinisher", "FN350"}};
    const ForbiddenCase cases[] = {
        {"two-sided without the duplex unit becomes one-sided", none,
         [](DRVDEVMODE& r) { r.dm.dmDuplex = 2; r.priv.dmExtraFlag |= 1; },
         [](const DRVDEVMODE& r) { return r.dm.dmDuplex == 1 && (r.priv.dmExtraFlag & 1) == 0; }},
        {"two-sided with the duplex unit stays", duplexUnit, [](DRVDEVMODE& r) { r.dm.dmDuplex = 2; },
         [](const DRVDEVMODE& r) { return r.dm.dmDuplex == 2; }},
        {"stapling without a finisher is cleared", none, [](DRVDEVMODE& r) { r.priv.dmStaple = 1; },
         [](const DRVDEVMODE& r) { return r.priv.dmStaple == 0; }},
        {"punching without a finisher is cleared", none, [](DRVDEVMODE& r) { r.priv.dmPunch = 1; },
         [](const DRVDEVMODE& r) { return r.priv.dmPunch == 0; }},
        {"a tray of an option not installed falls back to automatic", none,
         [](DRVDEVMODE& r) { r.dm.dmDefaultSource = 3; },
         [](const DRVDEVMODE& r) { return r.dm.dmDefaultSource == 7; }},
        {"a paper the model does not list falls back to its default", finisher,
         [](DRVDEVMODE& r) { r.dm.dmPaperSize = 3; r.dm.dmFields &= ~(0x4u | 0x8u); },
         [](const DRVDEVMODE& r) { return r.dm.dmPaperSize == 9 && r.dm.dmPaperWidth == 2100; }},
    };
    for (const ForbiddenCase& c : cases) {
        SCOPED_TRACE(c.name);
        SampleQueue queue("GC7350", c.marks);
        ASSERT_TRUE(queue.IsOpen());
        DRVDEVMODE record;
        ASSERT_EQ(dialogtest::ModelDefaults(queue, &record), 0u);
        c.set(record);
        ASSERT_EQ(dialogtest::ReviseInPlace(queue, &record), 0u);
        EXPECT_TRUE(c.holds(record));
    }
}

TEST(ReviseDevmodeEx, ModeOneSetsTheDuplexMethodFromTheInstalledUnit)
{
    ScopedMeasurementLocale locale(true);
    struct Case {
        const char* name;
        Marks marks;
        WORD duplexOption;  // 0: the first duplex mode is there, 1: it is not
    };
    const Case cases[] = {
        {"without the unit", {}, 1},
        {"with the unit", {{"OptionDuplexer", "Installed"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleQueue queue("GC7350", c.marks);
        ASSERT_TRUE(queue.IsOpen());
        DRVDEVMODE record;
        ASSERT_EQ(dialogtest::ModelDefaults(queue, &record), 0u);
        ASSERT_NE(record.priv.dmFieldsExtra1 & 0x200u, 0u) << "the colour model offers the duplex method";
        EXPECT_EQ(record.priv.dmDuplexOption, c.duplexOption);
    }
}

}  // namespace
