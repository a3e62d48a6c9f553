// Defaults of the sample printer models (compiled at build time from data/models/*.json), each
// expected record written field by field from the model's description and the defaults rules.
#include "core/settings/DevModeService.h"

#include "core/model/SpcData.h"
#include "settings_test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using ModelData = std::unique_ptr<tagSPCDATA, decltype(&std::free)>;

ModelData LoadSampleModel(const char* name)
{
    std::ifstream in(std::string(ORV_SAMPLE_MODEL_DIR) + name + ".pcsp", std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ModelData(bytes.empty() ? nullptr : SpcLoadImage(bytes.data(), bytes.size()), &std::free);
}

void ExpectSameRecord(const DRVDEVMODE& actual, const DRVDEVMODE& expected)
{
    const BYTE* a = reinterpret_cast<const BYTE*>(&actual);
    const BYTE* e = reinterpret_cast<const BYTE*>(&expected);
    for (size_t i = 0; i < sizeof(DRVDEVMODE); ++i)
        EXPECT_EQ(a[i], e[i]) << "record byte " << i << (i >= 96 ? " (private " : " (public ")
                              << (i >= 96 ? i - 96 : i) << ")";
}

// What every model's defaults share, at 600 dpi in quality mode 2 (all three sample models).
DRVDEVMODE Common(bool metric)
{
    DRVDEVMODE d;
    std::memset(&d, 0, sizeof d);
    DEVMODE& m = d.dm;
    PRIVDM& p = d.priv;
    m.dmSize = 96;
    m.dmDriverExtra = 1136;
    m.dmFields = 0x1 | 0x2 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x4000;
    m.dmOrientation = 1;
    // A4 (id 9) for metric locales, Letter (id 1) for inch locales.
    m.dmPaperSize = metric ? 9 : 1;
    m.dmPaperWidth = metric ? 2100 : 2159;
    m.dmPaperLength = metric ? 2970 : 2794;
    m.dmScale = 100;
    m.dmCopies = 1;
    m.dmPrintQuality = 600;
    m.dmYResolution = 600;
    m.dmColor = 1;
    m.dmDuplex = 1;
    m.dmTTOption = 2;
    m.dmCollate = 1;
    m.dmLogPixels = 600;
    std::memcpy(&p.dwPrivDATA, "DEMK", 4);
    p.dmFieldsExtra1 = 0x400 | 0x800 | 0x2000 | 0x8000;
    p.dmFieldsExtra2 = 0x800 | 0x100000 | 0x4000000;
    p.dmFieldsExtra3 = 0x1 | 0x2;
    p.dmMetric = metric ? 3 : 0;
    p.dmBaseResolution = 600;
    p.dmDuplexOption = 1;
    p.dmOption80 = 1;
    p.dmUnitOfLayout = 600;
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

// GM1000: papers and one source (tray 1) only.
DRVDEVMODE ExpectedGM1000(bool metric)
{
    DRVDEVMODE d = Common(metric);
    d.dm.dmDefaultSource = 1;
    d.priv.dmFirstPagePaperSource = 1;
    return d;
}

// What the monochrome and the colour model have alike: layouts, density, contrast, blank pages,
// reverse order, poster, all text black, raster parameters, collation, resolution modes.
void CommonLayoutModel(DRVDEVMODE& d, bool metric)
{
    DEVMODE& m = d.dm;
    PRIVDM& p = d.priv;
    m.dmFields |= 0x8000;  // print features word 5: collation
    m.dmDefaultSource = 7;
    p.dmFirstPagePaperSource = 7;
    p.dmFieldsExtra1 |= 0x2        // paper flags 1
                        | 0x200    // duplex flags with a bit of 0x3 and of 0xC
                        | 0x1000   // reverse order offered (default off)
                        | 0x4000;  // blank pages offered (default printed)
    p.dmFieldsExtra2 |= 0x1 | 0x2 | 0x4 | 0x8 | 0x10  // fit, zoom, booklet, n-up, poster
                        | 0x200                        // density
                        | 0x400                        // all text black
                        | 0x4000                       // toner-save list word 1
                        | 0x10000                      // raster parameters
                        | 0x10000000;                  // contrast
    p.dmExtraPrint |= 0x2;
    // Booklet gutter: 12.7 mm at 600 dpi = 600 x 127 x 567 / 144000 = 300; 0.5 inch = 300.
    p.dmGutter = 300;
    // Poster overlap: 5 mm = 600 x 50 x 567 / 144000 = 118; 0.2 inch = 120.
    p.dmOverlap = metric ? 118 : 120;
    p.dmDensity = 3;
    p.dmContrast = 0;
}

// GM4150: monochrome, duplex unit built in (duplex flags 7).
DRVDEVMODE ExpectedGM4150(bool metric)
{
    DRVDEVMODE d = Common(metric);
    CommonLayoutModel(d, metric);
    d.priv.dmDuplexOption = 0;     // flags 0x2: the duplex unit is there
    d.priv.dmInstalledDuplex = 1;
    return d;
}

// GC7350: colour, every capability.
DRVDEVMODE ExpectedGC7350(bool metric)
{
    DRVDEVMODE d = Common(metric);
    CommonLayoutModel(d, metric);
    DEVMODE& m = d.dm;
    PRIVDM& p = d.priv;
    m.dmColor = 2;  // colour printer
    // Duplex flags 0x20D: no 0x2 or 0x40, so no duplex unit by default.
    p.dmFieldsExtra1 |= 0x1          // mirror
                        | 0x8        // extra print feature 48
                        | 0x10 | 0x20  // first-page media and source (flags 13)
                        | 0x10000    // staple list
                        | 0x20000    // finishing modes
                        | 0x40000 | 0x80000  // punch list
                        | 0x100000   // sorting
                        | 0x200000 | 0x400000 | 0x800000  // job options with front and back covers
                        | 0x1000000 | 0x2000000 | 0x4000000 | 0x10000000 | 0x20000000  // job kinds 1-5
                        | 0x8000000;  // department code
    p.dmFieldsExtra2 |= 0x20 | 0x40 | 0x80 | 0x100  // colour defaults: flags 6, style switch 1
                        | 0x1000                     // screen list
                        | 0x8000                     // option 338 (record 52)
                        | 0x20000                    // halftone list
                        | 0x400000                   // memory base 256
                        | 0x800000                   // finishing units
                        | 0x1000000;                 // punch list
    // The large-capacity unit is group 2 of kind 5; its first 16-bit word (the group id) is
    // not 5, so 0x2000000 stays clear.
    p.dmFieldsExtra3 |= 0x4 | 0x8;  // option 1006 list, feature lists
    p.dmExtraPrint = 0x1 | 0x2 | 0x4 | 0x8;
    p.dmUseDeptCode = 1;
    p.dmColor = 2;
    p.dmPrintStyle = 0;
    p.dmColorManagement = 1;
    p.dmClrCtrl.wType = 1;
    p.dmScreenMode = 2;  // flags 0x2, two screens
    p.dmHalftone = 1;
    p.dmOption1006 = 1;
    p.dmInstalledValue36 = 256;
    return d;
}

struct SampleCase {
    const char* model;
    DRVDEVMODE (*expected)(bool metric);
};

const SampleCase kSamples[] = {
    {"GM1000", ExpectedGM1000},
    {"GM4150", ExpectedGM4150},
    {"GC7350", ExpectedGC7350},
};

TEST(SampleModelDefaults, EachModelUnderMetricAndInchLocales)
{
    for (const SampleCase& c : kSamples) {
        ModelData model = LoadSampleModel(c.model);
        ASSERT_TRUE(model) << c.model;
        for (bool metric : {true, false}) {
            SCOPED_TRACE(std::string(c.model) + (metric ? " metric" : " inch"));
            ScopedMeasurementLocale locale(metric);
            DRVDEVMODE record;
            std::memset(&record, 0, sizeof record);
            record.dm.dmSize = 96;
            record.dm.dmDriverExtra = 1136;
            ASSERT_EQ(SpcDevmodeService(model.get(), nullptr, &record, 1), ERROR_SUCCESS);
            ExpectSameRecord(record, c.expected(metric));
        }
    }
}

TEST(SampleModelDefaults, DefaultsPassTheirOwnValidationUnchanged)
{
    for (const SampleCase& c : kSamples) {
        SCOPED_TRACE(c.model);
        ScopedMeasurementLocale locale(true);
        ModelData model = LoadSampleModel(c.model);
        ASSERT_TRUE(model);
        DRVDEVMODE defaults;
        std::memset(&defaults, 0, sizeof defaults);
        defaults.dm.dmSize = 96;
        defaults.dm.dmDriverExtra = 1136;
        ASSERT_EQ(SpcDevmodeService(model.get(), nullptr, &defaults, 1), ERROR_SUCCESS);
        DRVDEVMODE out = defaults;
        ASSERT_EQ(SpcDevmodeService(model.get(), &defaults, &out, 2), ERROR_SUCCESS);
        ExpectSameRecord(out, defaults);
    }
}

}  // namespace
