// The model-data lookups of the headers: paper geometry with its fallbacks, media, source and
// duplex records with their defaults.
#include "GdiTestSupport.h"

#include "filter/render/language/PrinterLookups.h"

#include <gtest/gtest.h>

namespace gditest {
namespace {

using rendertest::FakeModelData;

TEST(PrinterLookups, PaperGeometryFallsBackToTheDefaultPaperThenToNineOrOne)
{
    struct Case {
        const char* name;
        bool defaults;  // the model names its default papers
        bool hasA4;
        WORD metric;
        SHORT expectedId;
    };
    const Case cases[] = {
        {"inch default", true, true, 0, kLetter},
        {"metric default", true, true, 0x1, kA4},
        {"no defaults, metric", false, true, 0x1, kA4},
        {"no defaults, inch", false, true, 0, kLetter},
        {"metric default missing, no 9 either", true, false, 0x1, 0},
    };
    for (const Case& c : cases) {
        FakeModelData model;
        if (c.defaults) {
            model.Answer(20, 0, 1, Record(4).I16(0, kLetter).I16(2, kA4));
        }
        if (c.hasA4) {
            model.Answer(20, kA4, 4, PaperInfo(kA4, kA4Dots));
        }
        model.Answer(20, kLetter, 4, PaperInfo(kLetter, kLetterDots));
        DRVDEVMODE settings = MakeJobSettings({});
        settings.priv.dmMetric = c.metric;
        const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        tagPAGEGEOMETRY geometry{};
        tagPRINTERPAPER paper{};
        const WORD found = GetPaperGeometryDots(123, 1, 600, &settings, &geometry, &paper, &options);
        EXPECT_EQ(found, c.expectedId != 0 ? FLAG_TRUE : FLAG_FALSE) << c.name;
        EXPECT_EQ(geometry.sPaperSize, c.expectedId) << c.name;
    }
}

TEST(PrinterLookups, PaperGeometryScalesEveryDotFieldToTheRequestedResolution)
{
    FakeModelData model;
    AnswerTestModel(model);
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    tagPAGEGEOMETRY g{};
    ASSERT_EQ(GetPaperGeometryDots(kA4, 1, 1200, &settings, &g, nullptr, &options), FLAG_TRUE);
    // A4 at 600: 4960 x 7014, margins 100 and 100, second margins 80 and 60.
    EXPECT_EQ(g.lWidth, 9920);
    EXPECT_EQ(g.lLength, 14028);
    EXPECT_EQ(g.lMarginX, 200);
    EXPECT_EQ(g.lMarginY, 200);
    EXPECT_EQ(g.lSecondMarginX, 160);
    EXPECT_EQ(g.lSecondMarginY, 120);
    EXPECT_EQ(g.lPrintableWidth, 9920 - 400);
    EXPECT_EQ(g.lPrintableLength, 14028 - 400);
    EXPECT_EQ(g.lInnerWidth, 9920 - 320);
    EXPECT_EQ(g.lInnerLength, 14028 - 240);
    ASSERT_EQ(GetPaperGeometryDots(kA4, 1, 0, &settings, &g, nullptr, &options), FLAG_TRUE);
    EXPECT_EQ(g.lWidth, 4960) << "no requested resolution means the base resolution";
}

TEST(PrinterLookups, CustomGeometryUsesTheModelDivisorAndItsMarginsAndSurvivesABadBase)
{
    struct Case {
        int base;  // the model's base resolution answer
        SHORT orientation;
        LONG width, length, marginX, marginY, secondX, secondY;
    };
    // 2100 x 2970 (0.1 mm) over 16000/63 per inch: 8.26875 x 11.694375 inches.
    const Case cases[] = {
        {600, 1, 4961, 7017, 30, 40, 50, 40},  {600, 2, 7017, 4961, 60, 70, 60, 80},
        {0, 1, 4961, 7017, 30, 40, 50, 40},  // not positive: 600
        {-300, 1, 4961, 7017, 30, 40, 50, 40}, {300, 1, 2481, 3508, 30, 40, 50, 40},
    };
    for (const Case& c : cases) {
        FakeModelData model;
        model.Answer(20, 0, 2, Record(2).I16(0, c.base));
        // Custom margins: portrait 30, 40, 50, 0 (second y falls back to y); landscape 60, 70, 0, 80.
        model.Answer(21, 0, 1, Record(172).I16(20, 30).I16(22, 40).I16(24, 50).I16(28, 60).I16(30, 70).I16(34, 80));
        JobFields fields;
        fields.paperWidth = 2100;
        fields.paperLength = 2970;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        tagPAGEGEOMETRY g{};
        tagPRINTERPAPER paper{};
        ASSERT_EQ(GetPaperGeometryDots(500, c.orientation, 0, &settings, &g, &paper, &options), FLAG_TRUE);
        EXPECT_EQ(g.sPaperSize, 256);
        EXPECT_EQ(paper.sPrinterCode, 256) << "no printer paper record of custom sizes: the custom code";
        const LONG got[] = {g.lWidth, g.lLength, g.lMarginX, g.lMarginY, g.lSecondMarginX, g.lSecondMarginY};
        const LONG want[] = {c.width, c.length, c.marginX, c.marginY, c.secondX, c.secondY};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(got[i], want[i]) << "base " << c.base << " orientation " << c.orientation << " field " << i;
        }
    }
}

TEST(PrinterLookups, MediaRecordStartsZeroedAndDefaultsToPlain)
{
    FakeModelData model;
    model.Answer(22, 5, 8, PrinterMedia(9, "Glossy"));
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    tagPRINTERMEDIA media;
    std::memset(&media, 0xAA, sizeof(media));
    EXPECT_EQ(GetMediaRecord(6, &media, &options), FLAG_TRUE);
    EXPECT_EQ(media.sA, 2);
    EXPECT_EQ(media.sC, 2);
    EXPECT_STREQ(media.szName2, "Plain");
    EXPECT_STREQ(media.szName4, "Plain");
    EXPECT_EQ(media.sPrinterCode, 0) << "the code of a missing media is not left over from the caller";
    EXPECT_EQ(GetMediaRecord(5, &media, &options), FLAG_TRUE);
    EXPECT_EQ(media.sPrinterCode, 9);
    EXPECT_STREQ(media.szName4, "Glossy");
}

TEST(PrinterLookups, SourceRecordFromTheSourcesThenTheGroupsThenCode7)
{
    FakeModelData model;
    model.Answer(24, 2, 8, PrinterSource(2, 11));
    model.Answer(26, 3, 9, PrinterSource(3, 12));
    model.Answer(24, 6, 8, Record(40));  // shorter than a source record: not used
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    struct Case {
        SHORT id;
        SHORT code;
    };
    const Case cases[] = {{2, 11}, {3, 12}, {4, 7}, {6, 7}};
    for (const Case& c : cases) {
        tagPRINTERSOURCE source{};
        EXPECT_EQ(GetSourceRecord(c.id, &source, &options), FLAG_TRUE);
        EXPECT_EQ(source.sPrinterCode, c.code) << "source " << c.id;
    }
    tagPRINTERSOURCE fallback{};
    GetSourceRecord(4, &fallback, &options);
    EXPECT_EQ(fallback.sA, 1);
    EXPECT_EQ(fallback.sB, 7);
    EXPECT_EQ(fallback.sC, 7);
}

TEST(PrinterLookups, DuplexRecordDefaultsToCode0)
{
    FakeModelData model;
    model.Answer(25, 2, 5, PrinterDuplex(2, 1));
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    tagPRINTERDUPLEX duplex{};
    EXPECT_EQ(GetDuplexRecord(2, &duplex, &options), FLAG_TRUE);
    EXPECT_EQ(duplex.sPrinterCode, 1);
    EXPECT_EQ(GetDuplexRecord(3, &duplex, &options), FLAG_TRUE);
    EXPECT_EQ(duplex.sPrinterCode, 0);
    EXPECT_EQ(duplex.sA, 1);
    EXPECT_EQ(duplex.sC, 1);
    EXPECT_EQ(duplex.sB, 0);
}

TEST(PrinterLookups, PjlLineListOnlyForViews3And4)
{
    FakeModelData model;
    model.Answer(65, 94, 4, Join({PjlText(94, 1, "A"), PjlText(94, 2, "B")}), 2);
    model.Answer(65, 94, 5, Join({PjlText(94, 1, "A")}), 1);
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    void* list = nullptr;
    EXPECT_EQ(GetPjlLineList(94, 4, &list, &options), 2u);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(static_cast<tagPJLFORMAT*>(list)[1].szFormat, "B");
    std::free(list);
    EXPECT_EQ(GetPjlLineList(94, 5, &list, &options), 0u);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(GetPjlLineList(96, 4, &list, &options), 0u);
}

}  // namespace
}  // namespace gditest
