// Zoom limits: the model's percent range, lowered so the zoomed longer side fits 32767 dots.
#include "core/printerinfo/ZoomRange.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pitest::BlankRecord;
using pitest::HandleOf;

struct ZoomCase {
    const char* what;
    const char* model;     // sample model or, with a "printerinfo-" prefix, a test fixture
    SHORT paper;
    DWORD fields;
    SHORT width;
    SHORT length;
    SHORT dpi;
    bool ok;
    SHORT min;
    SHORT max;
};

pitest::SpcDataPtr LoadAny(const std::string& name)
{
    return name.rfind("printerinfo-", 0) == 0 ? pitest::LoadFixtureModel(name) : pitest::LoadSampleModel(name);
}

TEST(ZoomRange, ModelLimitsLoweredByTheLongerSide)
{
    // Largest zoom = 3276700 / (L / 254 x dpi): 467 for A4's 297 mm at 600 dpi, 58 at 4800 dpi
    // (lowered to a multiple of 5), 116 at 2400 and 233 at 1200.
    const DWORD both = DM_PAPERLENGTH | DM_PAPERWIDTH;
    const ZoomCase cases[] = {
        {"A4 at 600 dpi, no zoom record", "printerinfo-trays", 9, 0, 0, 0, 600, true, 25, 400},
        {"A4 at 4800 dpi", "printerinfo-trays", 9, 0, 0, 0, 4800, true, 25, 55},
        {"A4 at 2400 dpi", "printerinfo-trays", 9, 0, 0, 0, 2400, true, 25, 115},
        {"dpi 0 counts as 600", "printerinfo-trays", 9, 0, 0, 0, 0, true, 25, 400},
        {"negative dpi counts as 600", "printerinfo-trays", 9, 0, 0, 0, -300, true, 25, 400},
        {"A4 at 1200 dpi with the model's zoom record", "GC7350", 9, 0, 0, 0, 1200, true, 25, 230},
        {"the model's own limits", "printerinfo-papers", 9, 0, 0, 0, 600, true, 50, 300},
        {"the model's minimum is never raised", "printerinfo-papers", 9, 0, 0, 0, 4800, true, 50, 55},
        {"the model's maximum lowered", "printerinfo-papers", 9, 0, 0, 0, 1200, true, 50, 230},
        {"record's own size when the paper is not listed", "GC7350", 456, both, 1000, 5940, 1200, true, 25, 115},
        {"one size bit is not enough", "GC7350", 456, DM_PAPERLENGTH, 1000, 5940, 1200, false, 100, 100},
        {"unknown paper", "GC7350", 3, 0, 0, 0, 600, false, 100, 100},
        {"zero-sized custom paper keeps the model limits", "GC7350", 456, both, 0, 0, 600, true, 25, 400},
        {"negative custom size keeps the model limits", "GC7350", 456, both, -5, -10, 600, true, 25, 400},
        {"tiny side sets no bound instead of wrapping", "GC7350", 456, both, 2, 2, 600, true, 25, 400},
    };
    for (const ZoomCase& c : cases) {
        auto model = LoadAny(c.model);
        ASSERT_TRUE(model) << c.model;
        tagMODELHANDLE handle = HandleOf(model.get());
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmPaperSize = c.paper;
        dm.dm.dmFields = c.fields;
        dm.dm.dmPaperWidth = c.width;
        dm.dm.dmPaperLength = c.length;
        SHORT min = 0;
        SHORT max = 0;
        EXPECT_EQ(GetZoomRange(&handle, nullptr, &dm, c.dpi, &min, &max) != 0, c.ok) << c.what;
        EXPECT_EQ(min, c.min) << c.what;
        EXPECT_EQ(max, c.max) << c.what;
    }
}

TEST(ZoomRange, MissingArgumentsAnswerFalse)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    DRVDEVMODE dm = BlankRecord();
    dm.dm.dmPaperSize = 9;
    SHORT min = 0;
    SHORT max = 0;
    EXPECT_EQ(GetZoomRange(&handle, nullptr, &dm, 600, nullptr, &max), FLAG_FALSE);
    EXPECT_EQ(GetZoomRange(&handle, nullptr, &dm, 600, &min, nullptr), FLAG_FALSE);
    EXPECT_EQ(GetZoomRange(&handle, nullptr, nullptr, 600, &min, &max), FLAG_FALSE);
    EXPECT_EQ(min, 100);
    EXPECT_EQ(max, 100);
}

TEST(ZoomPaperSize, TurnedPaperThenTheRecordsCustomSize)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    DRVDEVMODE dm = BlankRecord();
    dm.dm.dmPaperSize = 9;
    SHORT width = 0;
    SHORT length = 0;
    ASSERT_NE(GetZoomPaperSize(&handle, nullptr, &dm, &width, &length), 0);
    EXPECT_EQ(width, 2970);
    EXPECT_EQ(length, 2100);

    dm.dm.dmPaperSize = 500;
    dm.dm.dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    dm.dm.dmPaperWidth = 1234;
    dm.dm.dmPaperLength = 2345;
    ASSERT_NE(GetZoomPaperSize(&handle, nullptr, &dm, &width, &length), 0);
    EXPECT_EQ(width, 1234);
    EXPECT_EQ(length, 2345);
}

}  // namespace
