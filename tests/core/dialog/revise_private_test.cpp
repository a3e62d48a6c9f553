// The private-field step: binding margins held to the model's largest margin in the record's own
// layout unit, the default margin of a fresh record, and the fields reset to printable values.
#include "core/dialog/RevisePrivate.h"

#include "core/dialog/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dialogtest::SpcDataPtr;

// A record as the model's defaults would leave it apart from the fields a case sets.
DRVDEVMODE BaseRecord()
{
    DRVDEVMODE record = dialogtest::SizedRecord();
    record.priv.dwPrivDATA = kDevmodeSignature;
    record.dm.dmOrientation = 1;
    record.dm.dmPaperSize = 9;
    record.dm.dmPaperWidth = 2100;
    record.dm.dmPaperLength = 2970;
    record.dm.dmPrintQuality = 600;
    record.dm.dmDuplex = 2;
    record.priv.dmScaleTo = 100;
    record.priv.dmPosterX = 2;
    record.priv.dmPosterY = 2;
    record.priv.dmColor = 2;
    record.priv.dmClrCtrl.wType = 1;
    return record;
}

struct ModelContext {
    SpcDataPtr data;
    tagMODELHANDLE handle {};
    tagREVISEINFO info {};
    explicit ModelContext(SpcDataPtr model) : data(std::move(model))
    {
        handle.pSpcData = data.get();
        info.pModelHandle = &handle;
    }
};

constexpr WORD kMetric = 0x2;

struct MarginCase {
    const char* name;
    const char* model;     // sample model, or a test fixture when fixture is set
    bool fixture;
    bool metric;
    WORD unit;             // dmUnitOfLayout
    WORD margin;           // stored dmDuplexMargin
    int mode;
    WORD expected;
};

TEST(RevisePrivateDevmode, BindingMarginIsHeldToTheModelsLimitInTheRecordsUnit)
{
    // GC7350 allows at most 25 mm or 0.98 inch; GM1000 says nothing, so 50 mm or 2 inches hold.
    // The fixture's defaults are 12 mm and 1.5 inches (above its 0.98-inch limit).
    const MarginCase cases[] = {
        {"metric limit, 600 per inch: 25 mm", "GC7350", false, true, 600, 2000, 2, 591},
        {"metric, unset unit counts as 600", "GC7350", false, true, 0, 2000, 2, 591},
        {"metric, inside the limit", "GC7350", false, true, 600, 100, 2, 100},
        {"inch limit, 600 per inch: 0.98 in", "GC7350", false, false, 600, 2000, 2, 588},
        {"inch limit, 1200 per inch", "GC7350", false, false, 1200, 5000, 2, 1176},
        {"a negative margin means none", "GC7350", false, true, 600, 0xFFFF, 2, 0},
        {"model without limits: 50 mm", "GM1000", false, true, 600, 5000, 2, 1181},
        {"model without limits: 2 inches", "GM1000", false, false, 600, 5000, 2, 1200},
        {"mode 1 keeps a stored margin", "dialog-margins", true, true, 600, 77, 1, 77},
        {"mode 1 default: 12 mm at 600 per inch", "dialog-margins", true, true, 600, 0, 1, 283},
        {"mode 1 default: 12 mm at 1200 per inch", "dialog-margins", true, true, 1200, 0, 1, 567},
        {"mode 1 default 1.5 in held to 0.98 in", "dialog-margins", true, false, 600, 0, 1, 588},
        {"mode 1 default 1.5 in at 300 per inch", "dialog-margins", true, false, 300, 0, 1, 294},
        {"mode 1 on a model without margins", "GM1000", false, true, 600, 0, 1, 0},
    };
    for (const MarginCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelContext ctx(c.fixture ? dialogtest::LoadFixtureModel(c.model) : dialogtest::LoadSampleModel(c.model));
        ASSERT_TRUE(ctx.data);
        DRVDEVMODE record = BaseRecord();
        record.priv.dmMetric = c.metric ? kMetric : 0;
        record.priv.dmUnitOfLayout = c.unit;
        record.priv.dmDuplexMargin = c.margin;
        EXPECT_EQ(bRevisePrivateDevmode(&ctx.info, &record, c.mode), -1);
        EXPECT_EQ(record.priv.dmDuplexMargin, c.expected);
    }
}

struct FieldCase {
    const char* name;
    void (*set)(DRVDEVMODE&);
    int mode;
    bool (*holds)(const DRVDEVMODE&);
};

WORD ClrWord(const DRVDEVMODE& r, size_t at)
{
    WORD w;
    memcpy(&w, reinterpret_cast<const BYTE*>(&r.priv.dmClrCtrl) + at, sizeof w);
    return w;
}

void SetClrWord(DRVDEVMODE& r, size_t at, WORD w)
{
    memcpy(reinterpret_cast<BYTE*>(&r.priv.dmClrCtrl) + at, &w, sizeof w);
}

TEST(RevisePrivateDevmode, FieldsOutsideWhatTheDriverPrintsAreReset)
{
    const FieldCase cases[] = {
        {"finisher code 0x103 is unknown", [](DRVDEVMODE& r) { r.priv.dmFinisher = 0x103; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmFinisher == 0; }},
        {"finisher code 0x303 stays", [](DRVDEVMODE& r) { r.priv.dmFinisher = 0x303; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmFinisher == 0x303; }},
        {"staple 7 is none", [](DRVDEVMODE& r) { r.priv.dmStaple = 7; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmStaple == 0; }},
        {"staple 6 stays", [](DRVDEVMODE& r) { r.priv.dmStaple = 6; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmStaple == 6; }},
        {"punch 4 is none", [](DRVDEVMODE& r) { r.priv.dmPunch = 4; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmPunch == 0; }},
        {"colour mode 0 is colour", [](DRVDEVMODE& r) { r.priv.dmColor = 0; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmColor == 2 && r.priv.dmColorManagement == 0; }},
        {"colour mode 4 is colour", [](DRVDEVMODE& r) { r.priv.dmColor = 4; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmColor == 2; }},
        {"monochrome turns colour management on", [](DRVDEVMODE& r) { r.priv.dmColor = 1; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmColor == 1 && r.priv.dmColorManagement == 1; }},
        {"print style and matching method", [](DRVDEVMODE& r) { r.priv.dmPrintStyle = 3; r.dm.dmICMMethod = 2; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmPrintStyle == 0 && r.dm.dmICMMethod == 1; }},
        {"adjustment type 0", [](DRVDEVMODE& r) { r.priv.dmClrCtrl.wType = 0; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmClrCtrl.wType == 1; }},
        {"adjustment type 4", [](DRVDEVMODE& r) { r.priv.dmClrCtrl.wType = 4; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmClrCtrl.wType == 1; }},
        {"adjustment type 3 stays", [](DRVDEVMODE& r) { r.priv.dmClrCtrl.wType = 3; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmClrCtrl.wType == 3; }},
        {"colour switches out of range take their defaults",
         [](DRVDEVMODE& r) { for (size_t at = 24; at <= 34; at += 2) SetClrWord(r, at, 7); }, 2,
         [](const DRVDEVMODE& r) {
             return ClrWord(r, 24) == 0 && ClrWord(r, 26) == 1 && ClrWord(r, 28) == 0 && ClrWord(r, 30) == 1 &&
                    ClrWord(r, 32) == 0 && ClrWord(r, 34) == 1;
         }},
        {"colour switches 0 and 1 stay",
         [](DRVDEVMODE& r) { for (size_t at = 24; at <= 34; at += 2) SetClrWord(r, at, (at / 2) % 2 == 0 ? 1 : 0); }, 2,
         [](const DRVDEVMODE& r) {
             return ClrWord(r, 24) == 1 && ClrWord(r, 26) == 0 && ClrWord(r, 28) == 1 && ClrWord(r, 30) == 0 &&
                    ClrWord(r, 32) == 1 && ClrWord(r, 34) == 0;
         }},
        {"mode 1 sets every colour switch to its default",
         [](DRVDEVMODE& r) { for (size_t at = 24; at <= 34; at += 2) SetClrWord(r, at, (at / 2) % 2 == 0 ? 1 : 0); }, 1,
         [](const DRVDEVMODE& r) {
             return ClrWord(r, 24) == 0 && ClrWord(r, 26) == 1 && ClrWord(r, 28) == 0 && ClrWord(r, 30) == 1 &&
                    ClrWord(r, 32) == 0 && ClrWord(r, 34) == 1;
         }},
        {"one-sided clears the margin flag", [](DRVDEVMODE& r) { r.dm.dmDuplex = 1; }, 2,
         [](const DRVDEVMODE& r) { return (r.priv.dmExtraFlag & 1) == 0; }},
        {"two-sided sets the margin flag", [](DRVDEVMODE& r) { r.dm.dmDuplex = 2; }, 2,
         [](const DRVDEVMODE& r) { return (r.priv.dmExtraFlag & 1) == 1; }},
        {"department code bit 2", [](DRVDEVMODE& r) { r.priv.dmUseDeptCode = 1; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmUseDeptCode == 3; }},
        {"cover media follow the media type",
         [](DRVDEVMODE& r) { r.dm.dmMediaType = 5; r.priv.dmFrontCoverMedia = 0; r.priv.dmBackCoverMedia = 8; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmFrontCoverMedia == 5 && r.priv.dmBackCoverMedia == 8; }},
        {"collated sort 3 becomes 2",
         [](DRVDEVMODE& r) { r.dm.dmFields |= 0x8000; r.priv.dmFieldsExtra1 |= 0x100000; r.priv.dmSort = 3; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmSort == 2; }},
        {"collated sort 5 becomes 4",
         [](DRVDEVMODE& r) { r.dm.dmFields |= 0x8000; r.priv.dmFieldsExtra1 |= 0x100000; r.priv.dmSort = 5; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmSort == 4; }},
        {"collated sort 1 becomes 0",
         [](DRVDEVMODE& r) { r.dm.dmFields |= 0x8000; r.priv.dmFieldsExtra1 |= 0x100000; r.priv.dmSort = 1; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmSort == 0; }},
        {"sort stays without the sort capability",
         [](DRVDEVMODE& r) { r.dm.dmFields |= 0x8000; r.priv.dmSort = 3; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmSort == 3; }},
        {"mode 1: cover sources, layer words",
         [](DRVDEVMODE& r) { r.priv.dmFrontCoverSource = 7; r.priv.dmBackCoverSource = 8; r.priv.dmWord362 = 9;
                             r.priv.dmWMInfo.wLayer = 3; }, 1,
         [](const DRVDEVMODE& r) {
             return r.priv.dmFrontCoverSource == 4 && r.priv.dmBackCoverSource == 4 && r.priv.dmWord362 == 0 &&
                    r.priv.dmWMInfo.wLayer == 0;
         }},
        {"mode 2 leaves cover sources", [](DRVDEVMODE& r) { r.priv.dmFrontCoverSource = 7; }, 2,
         [](const DRVDEVMODE& r) { return r.priv.dmFrontCoverSource == 7; }},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelContext ctx(dialogtest::LoadSampleModel("GC7350"));
        ASSERT_TRUE(ctx.data);
        DRVDEVMODE record = BaseRecord();
        c.set(record);
        EXPECT_EQ(bRevisePrivateDevmode(&ctx.info, &record, c.mode), -1);
        EXPECT_TRUE(c.holds(record));
    }
}

TEST(RevisePrivateDevmode, ModeOnePutsTheWatermarkOnItsOwnLayerWhenTheModelSaysSo)
{
    struct Case {
        const char* model;
        bool fixture;
        WORD layer;
    };
    const Case cases[] = {{"dialog-margins", true, 1}, {"GM1000", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ModelContext ctx(c.fixture ? dialogtest::LoadFixtureModel(c.model) : dialogtest::LoadSampleModel(c.model));
        ASSERT_TRUE(ctx.data);
        DRVDEVMODE record = BaseRecord();
        record.priv.dmWMInfo.wLayer = 5;
        ASSERT_EQ(bRevisePrivateDevmode(&ctx.info, &record, 1), -1);
        EXPECT_EQ(record.priv.dmWMInfo.wLayer, c.layer);
    }
}

TEST(RevisePrivateDevmode, WithoutContextNothingIsChanged)
{
    DRVDEVMODE record = BaseRecord();
    record.priv.dmStaple = 9;
    tagREVISEINFO noHandle {};
    EXPECT_EQ(bRevisePrivateDevmode(nullptr, &record, 2), 0);
    EXPECT_EQ(bRevisePrivateDevmode(&noHandle, &record, 2), 0);
    EXPECT_EQ(record.priv.dmStaple, 9);
}

}  // namespace
