// The defaults service against model images whose every value is known: the expected records are
// written field by field from the defaults rules.
#include "core/settings/DevModeService.h"

#include "settings_models.h"
#include "settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace settings_models;

DRVDEVMODE EmptyRecord()
{
    DRVDEVMODE d;
    std::memset(&d, 0, sizeof d);
    d.dm.dmSize = 96;
    d.dm.dmDriverExtra = 1136;
    return d;
}

// Reports every byte offset where the records differ, so a failing field is found by its place.
void ExpectSameRecord(const DRVDEVMODE& actual, const DRVDEVMODE& expected)
{
    const BYTE* a = reinterpret_cast<const BYTE*>(&actual);
    const BYTE* e = reinterpret_cast<const BYTE*>(&expected);
    for (size_t i = 0; i < sizeof(DRVDEVMODE); ++i)
        EXPECT_EQ(a[i], e[i]) << "record byte " << i << (i >= 96 ? " (private " : " (public ")
                              << (i >= 96 ? i - 96 : i) << ")";
}

// Fields every model's defaults share.
DRVDEVMODE CommonDefaults(bool metric)
{
    DRVDEVMODE d = EmptyRecord();
    d.dm.dmFields = 0x1 | 0x2 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x4000;
    d.dm.dmOrientation = 1;
    d.dm.dmScale = 100;
    d.dm.dmCopies = 1;
    d.dm.dmColor = 1;
    d.dm.dmDuplex = 1;
    d.dm.dmTTOption = 2;
    d.dm.dmCollate = 1;
    PRIVDM& p = d.priv;
    std::memcpy(&p.dwPrivDATA, "DEMK", 4);
    p.dmFieldsExtra1 = 0x400 | 0x800 | 0x2000 | 0x8000;
    p.dmFieldsExtra2 = 0x800 | 0x100000 | 0x4000000;
    p.dmFieldsExtra3 = 0x1 | 0x2;
    p.dmMetric = metric ? 3 : 0;
    p.dmDuplexOption = 1;
    p.dmOption80 = 1;
    p.dmNup = 2;
    p.dmNupBorder = 1;
    p.dmNupBorderWidth = 1;
    p.dmBookletBinding = 1;
    p.dmScaleTo = 100;
    p.dmAlign = 4;
    p.dmPosterX = 2;
    p.dmPosterY = 2;
    p.dmColor = 1;
    p.dmQuality = 2;
    p.dmScreenMode = 10;
    p.dmOption334 = 0xFFFF;
    p.dmOption1006 = 1;
    return d;
}

// Resolution fields: all follow the model's default resolution.
void SetResolution(DRVDEVMODE& d, SHORT dpi, SHORT quality)
{
    d.dm.dmPrintQuality = dpi;
    d.dm.dmYResolution = dpi;
    d.dm.dmLogPixels = static_cast<WORD>(dpi);
    d.priv.dmBaseResolution = static_cast<WORD>(dpi);
    d.priv.dmUnitOfLayout = static_cast<WORD>(dpi);
    d.priv.dmQuality = quality;
}

DRVDEVMODE ExpectedBare(bool metric)
{
    DRVDEVMODE d = CommonDefaults(metric);
    // No resolution capabilities: 600 x 600 dpi, quality mode 2.
    SetResolution(d, 600, 2);
    d.dm.dmPaperSize = metric ? kA4 : kLetter;
    d.dm.dmPaperWidth = metric ? 2100 : 2159;
    d.dm.dmPaperLength = metric ? 2970 : 2794;
    d.dm.dmDefaultSource = 7;
    d.priv.dmFirstPagePaperSource = 7;
    return d;
}

DRVDEVMODE ExpectedRich(bool metric)
{
    DRVDEVMODE d = CommonDefaults(metric);
    DEVMODE& m = d.dm;
    PRIVDM& p = d.priv;
    m.dmFields |= 0x8000;  // collation offered
    m.dmPaperSize = metric ? kA4 : kLetter;
    m.dmPaperWidth = metric ? 2100 : 2159;
    m.dmPaperLength = metric ? 2970 : 2794;
    m.dmDefaultSource = 7;
    SetResolution(d, 600, 2);
    m.dmColor = 2;
    m.dmDuplex = 2;

    p.dmFirstPagePaperSource = 7;
    p.dmFieldsExtra1 |= 0x2          // paper flags bit 0
                        | 0x100      // option flags 0x10
                        | 0x200      // duplex flags with bits of 0x3 and 0xC
                        | 0x1000     // reverse order
                        | 0x4000     // blank pages
                        | 0x100000   // sort
                        | 0x1000000  // job kind 1
                        | 0x8000000  // department code
                        | 0x10000000;  // job kind 4 (needs the duplex feature, which the model has)
    p.dmFieldsExtra2 |= 0x1 | 0x2 | 0x4 | 0x8 | 0x10  // fit, zoom, booklet, n-up, poster
                        | 0x200                        // density
                        | 0x2000000                    // large-capacity source group
                        | 0x8000000 | 0x20000000       // option flags 0x20 and 0x100
                        | 0x10000000;                  // contrast
    p.dmFieldsExtra3 |= 0x10;
    p.dmExtraPrint = 0x2;
    p.dmDuplexOption = 0;
    p.dmInstalledDuplex = 1;
    p.dmReverseOrder = 1;
    p.dmSkipBlankPages = 1;
    p.dmSort = 3;
    p.dmUseDeptCode = 1;
    p.dmNupBorder = 2;
    p.dmNupBorderWidth = 3;
    p.dmNupUnitKind = 0;
    p.dmBookletUnitKind = 1;
    // Gutter: metric 10 mm at 600 = 600 x 100 x 567 / 144000 = 236; inch 0.5 inch = 300.
    p.dmGutter = metric ? 236 : 300;
    p.dmAlign = 6;
    // Overlap: metric 5 mm = 600 x 50 x 567 / 144000 = 118; inch 0.25 inch = 150.
    p.dmOverlap = metric ? 118 : 150;
    p.dmDensity = 3;
    p.dmContrast = 4;
    p.dmInstalledValue998 = 0xFFFF;
    return d;
}

// Resolution mode 3 at 1200 dpi from the resolution lists, and the colour defaults.
DRVDEVMODE ExpectedRichWithLists(bool metric)
{
    DRVDEVMODE d = ExpectedRich(metric);
    PRIVDM& p = d.priv;
    SetResolution(d, 1200, 3);
    // Gutter: metric 10 mm at 1200 = 1200 x 100 x 567 / 144000 = 472; inch 0.5 inch = 600.
    p.dmGutter = metric ? 472 : 600;
    // Overlap: metric 5 mm = 1200 x 50 x 567 / 144000 = 236; inch 0.25 inch = 300.
    p.dmOverlap = metric ? 236 : 300;
    p.dmFieldsExtra2 |= 0x20 | 0x40 | 0x80 | 0x100;
    p.dmColor = 2;
    p.dmPrintStyle = 1;
    p.dmColorManagement = 1;
    p.dmClrCtrl.wType = 3;
    p.dmClrCtrl.sBrightness = 1;
    p.dmClrCtrl.sSaturation = 2;
    p.dmClrCtrl.sRed = 3;
    p.dmClrCtrl.sGreen = 4;
    p.dmClrCtrl.sBlue = 5;
    p.dmClrCtrl.sCyan = 6;
    p.dmClrCtrl.sMagenta = 7;
    p.dmClrCtrl.sYellow = 8;
    p.dmClrCtrl.sBlack = 9;
    return d;
}

struct DefaultsCase {
    const char* model;
    ModelImageBuilder (*build)();
    DRVDEVMODE (*expected)(bool metric);
};

const DefaultsCase kModels[] = {
    {"bare", Bare, ExpectedBare},
    {"rich", Rich, ExpectedRich},
    {"rich with resolution and colour lists", RichWithListCapabilities, ExpectedRichWithLists},
};

TEST(DevmodeDefaults, EachModelUnderMetricAndInchLocales)
{
    for (const DefaultsCase& c : kModels) {
        for (bool metric : {true, false}) {
            SCOPED_TRACE(std::string(c.model) + (metric ? " metric" : " inch"));
            ScopedMeasurementLocale locale(metric);
            ModelData model = LoadModel(c.build());
            ASSERT_TRUE(model);
            DRVDEVMODE record = EmptyRecord();
            std::memset(reinterpret_cast<BYTE*>(&record) + 4, 0xCD, sizeof record - 4);  // stale bytes
            EXPECT_EQ(SpcDevmodeService(model.get(), nullptr, &record, 1), ERROR_SUCCESS);
            ExpectSameRecord(record, c.expected(metric));
        }
    }
}

TEST(DevmodeDefaults, RefusesMissingModelAndBadlySizedRecords)
{
    ScopedMeasurementLocale locale(true);
    ModelData model = LoadModel(Bare());
    struct Case {
        const char* what;
        bool withModel;
        WORD size;
        WORD extra;
        DWORD code;
    } const cases[] = {
        {"no model data", false, 96, 1136, ERROR_INVALID_DATA},
        {"private part size 1135", true, 96, 1135, ERROR_INVALID_PARAMETER},
        {"public part size 64 would move the private part", true, 64, 1136, ERROR_INVALID_PARAMETER},
        {"public part size 120", true, 120, 1136, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DRVDEVMODE record;
        std::memset(&record, 0xAB, sizeof record);
        record.dm.dmSize = c.size;
        record.dm.dmDriverExtra = c.extra;
        DRVDEVMODE before = record;
        EXPECT_EQ(SpcDevmodeService(c.withModel ? model.get() : nullptr, nullptr, &record, 1), c.code);
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << "output must stay untouched";
    }
    EXPECT_EQ(SpcDevmodeService(model.get(), nullptr, nullptr, 1), ERROR_INVALID_PARAMETER);
}

TEST(DevmodeDefaults, OtherModesAreNotSupported)
{
    ModelData model = LoadModel(Bare());
    DRVDEVMODE record = EmptyRecord();
    for (int mode : {0, 3, -1})
        EXPECT_EQ(SpcDevmodeService(model.get(), &record, &record, mode), ERROR_NOT_SUPPORTED);
}

TEST(DevmodeDefaults, WithoutPaperSourcesTheRecordHasNoSignature)
{
    ScopedMeasurementLocale locale(true);
    ModelImageBuilder b;
    Papers(b, 0);
    ModelData model = LoadModel(b);
    DRVDEVMODE record = EmptyRecord();
    EXPECT_EQ(SpcDevmodeService(model.get(), nullptr, &record, 1), ERROR_NOT_SUPPORTED);
    // The public steps before the failure are done; the private part stays zero.
    EXPECT_EQ(record.dm.dmPaperSize, kA4);
    EXPECT_EQ(record.dm.dmCopies, 1);
    EXPECT_EQ(record.priv.dwPrivDATA, 0u);
}

TEST(DevmodeDefaults, ReverseOrderIsAskedOnlyWhenTheModelOffersIt)
{
    // View 2 says "reverse" but view 1 lacks bit 0: the default stays 0 and the bit clear.
    ScopedMeasurementLocale locale(true);
    ModelImageBuilder b = Bare();
    b.fixed(50, {0, 1});
    ModelData model = LoadModel(b);
    DRVDEVMODE record = EmptyRecord();
    ASSERT_EQ(SpcDevmodeService(model.get(), nullptr, &record, 1), ERROR_SUCCESS);
    EXPECT_EQ(record.priv.dmReverseOrder, 0);
    EXPECT_EQ(record.priv.dmFieldsExtra1 & 0x1000, 0u);
}

TEST(DevmodeDefaults, HalfInchGutterAtTheDefaultResolution)
{
    // No resolution capabilities: 600 dpi, so half an inch is 300 layout units. The booklet
    // section holds only the words of view 1, so views 2 and 3 have nothing to answer.
    ScopedMeasurementLocale locale(true);
    ModelImageBuilder b = Bare();
    b.fixed(29, {1, 0, 0, 0, 0, 0, 0});
    ModelData model = LoadModel(b);
    DRVDEVMODE record = EmptyRecord();
    ASSERT_EQ(SpcDevmodeService(model.get(), nullptr, &record, 1), ERROR_SUCCESS);
    EXPECT_EQ(record.dm.dmPrintQuality, 600);
    EXPECT_EQ(record.dm.dmYResolution, 600);
    EXPECT_EQ(record.priv.dmQuality, 2);
    EXPECT_EQ(record.priv.dmUnitOfLayout, 600);
    EXPECT_EQ(record.priv.dmGutter, 300);
    EXPECT_EQ(record.priv.dmFieldsExtra2 & 0x4u, 0x4u);
}

TEST(StandardPaperDims, ModelPapersOnly)
{
    ModelData model = LoadModel(Bare());
    struct Case {
        SHORT id;
        WORD result;
        SHORT width;
        SHORT length;
    } const cases[] = {
        {kA4, FLAG_TRUE, 2100, 2970},
        {kLegal, FLAG_TRUE, 2159, 3556},
        {77, FLAG_FALSE, 0, 0},      // standard range, not the model's: outputs cleared
        {256, FLAG_FALSE, -1, -1},   // custom ids leave the outputs alone
        {456, FLAG_FALSE, -1, -1},
        {0, FLAG_FALSE, -1, -1},
        {-3, FLAG_FALSE, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SHORT w = -1;
        SHORT l = -1;
        EXPECT_EQ(GetStandardPaperDims(model.get(), c.id, &w, &l), c.result);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(l, c.length);
    }
    SHORT w = 0;
    EXPECT_EQ(GetStandardPaperDims(model.get(), kA4, &w, nullptr), FLAG_FALSE);
}

}  // namespace
