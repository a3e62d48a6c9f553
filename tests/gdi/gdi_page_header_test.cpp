// GDI page headers and trailers, written out from the command rules.
#include "GdiTestSupport.h"

#include "filter/render/language/GdiCommands.h"
#include "filter/render/RendererJob.h"

#include <gtest/gtest.h>

namespace gditest {
namespace {

using rendertest::FakeModelData;

class GdiPageHeader : public ::testing::Test {
protected:
    GdiPageHeader() { AnswerTestModel(model); }

    // Setup job, then the header of the first page of the job.
    std::string FirstPageHeader(const DRVDEVMODE& settings, const tagRENDEROPTIONS& options)
    {
        EXPECT_EQ(RendererSetupJob(&settings, context.get(), &options), FLAG_TRUE);
        Drain(context.get());
        EXPECT_EQ(RendererBeginPage(&settings, context.get(), &options), FLAG_TRUE);
        return Drain(context.get());
    }

    FakeModelData model;
    Context context;
};

TEST_F(GdiPageHeader, MonochromeA4PageHeaderAndTrailerByteForByte)
{
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    EXPECT_EQ(FirstPageHeader(settings, options),
              "\x1b&&0S\x1b&r600W\x1b&r600L\x1b&&0Y\x1b&l26A\x1b&l1H\x1b&&11W"
              "\x1b*r6800T\x1b*r4760S\x1b&a100L\x1b&l100E\x1b&&0T");
    context->dwInkMask = 0x1;  // black carries ink
    EXPECT_EQ(RendererEndPage(context.get(), &options), FLAG_TRUE);
    EXPECT_EQ(Drain(context.get()), "\x1b&&1R");
    EXPECT_EQ(context->dwInkMask, 0u) << "the ink mask is cleared with the page";
}

TEST_F(GdiPageHeader, ColourLandscapeLetterOnThickMediaFromTheManualFeed)
{
    JobFields fields;
    fields.color = 2;
    fields.orientation = 2;
    const DRVDEVMODE settings = MakeJobSettings(fields);
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.sPaperSize = kLetter;
    options.sMediaType = kThick;
    options.sPaperSource = kManual;
    options.dwPageWidth = 6400;
    options.dwPageHeight = 4900;
    // Landscape takes the turned block: Letter's margins 120 across and 90 down become 90 and 120.
    EXPECT_EQ(FirstPageHeader(settings, options),
              "\x1b&&0S\x1b&r600W\x1b&r600L\x1b&&4Y\x1b&l2A\x1b&l2H\x1b&&11W"
              "\x1b*r4900T\x1b*r6400S\x1b&a90L\x1b&l120E\x1b&&0T");
    context->dwInkMask = 0xF;
    RendererEndPage(context.get(), &options);
    EXPECT_EQ(Drain(context.get()), "\x1b&&15R");
}

TEST_F(GdiPageHeader, TrailerNumbersTheInkPlanesAsThePrinterDoes)
{
    // Ink bits: 0 black, 1 cyan, 2 magenta, 3 yellow; the trailer: 1 black, 2 yellow, 4 magenta, 8 cyan.
    struct Case {
        DWORD ink;
        const char* trailer;
    };
    const Case cases[] = {
        {0x0, "\x1b&&0R"}, {0x1, "\x1b&&1R"}, {0xF, "\x1b&&15R"},
        {0x2, "\x1b&&8R"}, {0x4, "\x1b&&4R"}, {0x8, "\x1b&&2R"},
    };
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    for (const Case& c : cases) {
        context->dwInkMask = c.ink;
        RendererEndPage(context.get(), &options);
        EXPECT_EQ(Drain(context.get()), c.trailer) << "ink " << c.ink;
    }
}

TEST_F(GdiPageHeader, QualityModeGivesTheResolutionPairAndScalesTheWindow)
{
    struct Case {
        SHORT quality;
        LONG multiplierX, multiplierY;
        const char* resolution;
        const char* window;
    };
    const Case cases[] = {
        {3, 2, 1, "\x1b&r1200W\x1b&r600L", "\x1b*r6800T\x1b*r9520S\x1b&a200L\x1b&l100E"},
        {4, 2, 2, "\x1b&r1200W\x1b&r1200L", "\x1b*r13600T\x1b*r9520S\x1b&a200L\x1b&l200E"},
        {1, 1, 1, "\x1b&r300W\x1b&r300L", "\x1b*r6800T\x1b*r4760S\x1b&a100L\x1b&l100E"},
        {2, 1, 1, "\x1b&r600W\x1b&r600L", "\x1b*r6800T\x1b*r4760S\x1b&a100L\x1b&l100E"},
        {7, 1, 1, "\x1b&r600W\x1b&r600L", "\x1b*r6800T\x1b*r4760S\x1b&a100L\x1b&l100E"},
    };
    for (const Case& c : cases) {
        Context local;
        local->lResMultiplierX = c.multiplierX;
        local->lResMultiplierY = c.multiplierY;
        JobFields fields;
        fields.quality = c.quality;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        RendererSetupJob(&settings, local.get(), &options);
        RendererBeginPage(&settings, local.get(), &options);
        const std::string header = Drain(local.get());
        EXPECT_EQ(header.substr(5, std::strlen(c.resolution)), c.resolution) << "quality " << c.quality;
        EXPECT_NE(header.find(c.window), std::string::npos) << "quality " << c.quality << ": " << header;
    }
}

TEST_F(GdiPageHeader, PrintQualityAboveTheBaseResolutionScalesTheMargins)
{
    JobFields fields;
    fields.printQuality = 1200;
    const DRVDEVMODE settings = MakeJobSettings(fields);
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    const std::string header = FirstPageHeader(settings, options);
    EXPECT_NE(header.find("\x1b&a200L\x1b&l200E"), std::string::npos) << header;
}

TEST_F(GdiPageHeader, A4CustomSizeAt600DpiIsPaperCode101WithItsSizeInDots)
{
    JobFields fields;
    fields.paperWidth = 2100;
    fields.paperLength = 2970;
    const DRVDEVMODE settings = MakeJobSettings(fields);
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.sPaperSize = 256;
    const std::string header = FirstPageHeader(settings, options);
    EXPECT_NE(header.find("\x1b&&0Y\x1b&l101A\x1b&f4961I\x1b&f7016J\x1b&l1H"), std::string::npos) << header;
    // The model has no custom margins: 100 dots each.
    EXPECT_NE(header.find("\x1b&a100L\x1b&l100E"), std::string::npos) << header;
}

TEST_F(GdiPageHeader, CustomSizesStayWithinTheModelLimitsAtEitherResolution)
{
    // Limits in dots at 600 dpi: width 600 to 5100, length 900 to 8400. Widths scale with the
    // horizontal resolution, lengths with the vertical one.
    model.Answer(21, 0, 1, Record(172).I16(8, 5100).I16(10, 8400).I16(16, 600).I16(18, 900));
    struct Case {
        SHORT quality;
        LONG multiplierX;
        SHORT width, length;  // 0.1 mm
        const char* size;
    };
    const Case cases[] = {
        {2, 1, 2100, 2970, "\x1b&f4961I\x1b&f7016J"},   // within the limits
        {2, 1, 2100, 4000, "\x1b&f4961I\x1b&f8400J"},   // 9449 dots long: cut to the longest
        {2, 1, 200, 2970, "\x1b&f600I\x1b&f7016J"},     // 472 dots wide: raised to the narrowest
        {3, 2, 2100, 4000, "\x1b&f9921I\x1b&f8400J"},   // 1200 x 600: the length limit stays 8400
        {3, 2, 2100, 300, "\x1b&f9921I\x1b&f900J"},     // and the shortest stays 900
        {3, 2, 5000, 2970, "\x1b&f10200I\x1b&f7016J"},  // the widest is 10200 dots at 1200
    };
    for (const Case& c : cases) {
        Context local;
        local->lResMultiplierX = c.multiplierX;
        JobFields fields;
        fields.quality = c.quality;
        fields.paperWidth = c.width;
        fields.paperLength = c.length;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        options.sPaperSize = 457;  // a user-defined paper
        RendererSetupJob(&settings, local.get(), &options);
        RendererBeginPage(&settings, local.get(), &options);
        const std::string header = Drain(local.get());
        EXPECT_NE(header.find(std::string("\x1b&l101A") + c.size), std::string::npos)
            << c.width << " x " << c.length << " at quality " << c.quality << ": " << header;
    }
}

TEST_F(GdiPageHeader, DuplexTurnsEveryOtherPageAndA180DegreeSettingTurnsTheRest)
{
    struct Case {
        SHORT duplex;
        bool turned;
        DWORD page;
        int rotation;
    };
    const Case cases[] = {
        {2, false, 1, 0}, {2, false, 2, 3}, {2, false, 3, 0}, {2, false, 4, 3}, {2, true, 1, 3},
        {2, true, 2, 0},  {3, false, 2, 0}, {3, true, 1, 3},  {1, false, 2, 0}, {1, true, 2, 3},
    };
    for (const Case& c : cases) {
        Context local;
        JobFields fields;
        fields.duplex = c.duplex;
        DRVDEVMODE settings = MakeJobSettings(fields);
        if (c.turned) {
            settings.priv.dmFieldsExtra1 |= DMX1_ROTATE180;
            settings.priv.dmExtraPrint |= DMXP_ROTATE180;
            settings.priv.dmRotateOrient = 1;
        }
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        options.dwPagesPerSet = 4;
        options.dwPageInSet = c.page;
        RendererSetupJob(&settings, local.get(), &options);
        local->lPageInSet = static_cast<LONG>(c.page) - 1;  // the pages before went out
        local->sFirstPageDuplex = c.duplex;
        RendererBeginPage(&settings, local.get(), &options);
        const std::string header = Drain(local.get());
        const std::string expected = "\x1b&&" + std::to_string(c.rotation) + "T";
        ASSERT_GE(header.size(), expected.size());
        EXPECT_EQ(header.substr(header.size() - expected.size()), expected)
            << "duplex " << c.duplex << (c.turned ? " turned" : "") << " page " << c.page;
    }
}

TEST_F(GdiPageHeader, LastSheetOfTheLastCopyIsMarkedOnlyWhenTheModelClosesOddSets)
{
    struct Case {
        DWORD caps;
        SHORT duplex;
        LONG copyNumber;
        DWORD page;
        int sheetControl;
    };
    const Case cases[] = {
        {0x200, 2, 2, 3, 2},  // last page of the last copy
        {0x200, 2, 1, 3, 0},  // not the last copy
        {0x200, 2, 2, 2, 0},  // not the last page
        {0x200, 1, 2, 3, 0},  // simplex
        {0x000, 2, 2, 3, 0},  // the model pads odd sets itself
    };
    for (const Case& c : cases) {
        Context local;
        JobFields fields;
        fields.duplex = c.duplex;
        fields.copies = 2;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        options.dwDuplexCaps = c.caps;
        options.dwPagesPerSet = 3;
        options.dwPageInSet = c.page;
        RendererSetupJob(&settings, local.get(), &options);
        local->lCopyNumber = c.copyNumber;
        local->lPageInSet = static_cast<LONG>(c.page) - 1;
        local->sFirstPageDuplex = c.duplex;
        RendererBeginPage(&settings, local.get(), &options);
        const std::string header = Drain(local.get());
        const std::string expected = "\x1b&&" + std::to_string(c.sheetControl) + "S";
        EXPECT_EQ(header.substr(0, expected.size()), expected)
            << "caps " << c.caps << " duplex " << c.duplex << " copy " << c.copyNumber << " page " << c.page;
    }
}

TEST_F(GdiPageHeader, WritersWithoutOptionsOrOfAnotherLanguageWriteNothing)
{
    const DRVDEVMODE settings = MakeJobSettings({});
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_NONE, settings);
    EXPECT_EQ(RendererBeginJob(&settings, context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(RendererSetupJob(&settings, context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(context->lCopyNumber, 1) << "the counters are set before the language is looked at";
    EXPECT_EQ(RendererBeginPage(&settings, context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(context->lPageInSet, 1);
    EXPECT_EQ(RendererEndPage(context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(RendererFlushPendingPages(&settings, context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(RendererEndJob(context.get(), &options), FLAG_FALSE);
    EXPECT_EQ(Drain(context.get()), "");
    EXPECT_EQ(RendererBeginPage(&settings, context.get(), nullptr), FLAG_FALSE);
    EXPECT_EQ(RendererBeginPage(&settings, nullptr, &options), FLAG_FALSE);
    options.dwLangType = LANGTYPE_GDI;
    EXPECT_EQ(RendererBeginPage(nullptr, context.get(), &options), FLAG_FALSE);
}

}  // namespace
}  // namespace gditest
