// PCL-style job and page headers, written out from the command rules, and read back by the
// printer-stream decoder.
#include "GdiTestSupport.h"

#include "filter/render/language/PclCommands.h"
#include "filter/render/RendererJob.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

namespace gditest {
namespace {

using rendertest::FakeModelData;

// Frame of the test pages: A4 in the test model has margins 100 and 100 and second margins 80 and
// 60, so the printable offsets are 20 and 40 and a 4760 x 6800 page has a frame of 4800 x 6880
// dots, 5760 x 8256 decipoints at 600 dpi.
constexpr char kPageTail[] = "\x1b&l6D\x1b&l1E\x1b*l204O\x1b*l1R\x1b*p0x0Y\x1b*c5760x8256Y\x1b*c0T";

class PclHeaders : public ::testing::Test {
protected:
    PclHeaders() { AnswerTestModel(model); }

    std::string Setup(const DRVDEVMODE& settings, const tagRENDEROPTIONS& options)
    {
        EXPECT_EQ(RendererSetupJob(&settings, context.get(), &options), FLAG_TRUE);
        return Drain(context.get());
    }
    std::string Page(const DRVDEVMODE& settings, const tagRENDEROPTIONS& options)
    {
        EXPECT_EQ(RendererBeginPage(&settings, context.get(), &options), FLAG_TRUE);
        return Drain(context.get());
    }

    FakeModelData model;
    Context context;
};

TEST_F(PclHeaders, JobLinesForEconomodeAndTheColourMode)
{
    struct Case {
        SHORT color;
        WORD fourColor;
        DWORD mask;
        DWORD extra2;
        const char* lines;
    };
    const Case cases[] = {
        {1, 0, 0, 0, "@PJL SET RENDERMODE=GRAYSCALE\n"},
        {3, 1, 0, 0, "@PJL SET ROPCOLORMODE=4COLOR\r\n"},
        {2, 0, 0, 0, "@PJL SET ROPCOLORMODE=3COLOR\r\n"},
        {1, 0, RENDERCAPS_ECONOMODE, DMX2_TONER_SAVE, "@PJL SET ECONOMODE=OFF\n@PJL SET RENDERMODE=GRAYSCALE\n"},
        {1, 0, 0, DMX2_TONER_SAVE, "@PJL SET RENDERMODE=GRAYSCALE\n"},
    };
    for (const Case& c : cases) {
        JobFields fields;
        fields.color = c.color;
        DRVDEVMODE settings = MakeJobSettings(fields);
        settings.priv.dmClrCtrl.wFourColor = c.fourColor;
        settings.priv.dmFieldsExtra2 = c.extra2;
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
        options.dwCapabilityMask = c.mask;
        EXPECT_EQ(RendererBeginJob(&settings, context.get(), &options), FLAG_TRUE);
        EXPECT_EQ(Drain(context.get()), c.lines) << "colour " << c.color;
    }
}

TEST_F(PclHeaders, JobSetupByteForByte)
{
    model.Answer(25, 2, 5, PrinterDuplex(2, 1));
    struct Case {
        SHORT quality;
        SHORT duplex;
        DWORD copyFlags;
        SHORT copies;
        const char* setup;
    };
    const Case cases[] = {
        {2, 2, 0x1, 3,
         "\x1b"
         "E\x1b*r0F\x1b&u600D\x1b*t600R\x1b&l1X\x1b&l1S\x1b*v1N\x1b*v1O"},
        {4, 1, 0x0, 3,
         "\x1b"
         "E\x1b*r0F\x1b&u1200D\x1b*t1200R\x1b&l3X\x1b&l0S\x1b*v1N\x1b*v1O"},
        {3, 1, 0x0, 2,
         "\x1b"
         "E\x1b*r0F\x1b&u600D\x1b*t600R\x1b&l2X\x1b&l0S\x1b*v1N\x1b*v1O"},
        {1, 3, 0x1, 1,
         "\x1b"
         "E\x1b*r0F\x1b&u300D\x1b*t300R\x1b&l1X\x1b&l0S\x1b*v1N\x1b*v1O"},
    };
    for (const Case& c : cases) {
        JobFields fields;
        fields.quality = c.quality;
        fields.duplex = c.duplex;
        fields.copies = c.copies;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
        options.dwCopyFlags = c.copyFlags;
        EXPECT_EQ(Setup(settings, options), c.setup) << "quality " << c.quality;
        EXPECT_EQ(context->sPaperSize, static_cast<SHORT>(0xFFFF)) << "nothing sent yet";
    }
}

TEST_F(PclHeaders, FirstPageHeaderByteForByteAndTheSecondCarriesOnlyWhatChanged)
{
    const DRVDEVMODE settings = MakeJobSettings({});
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
    Setup(settings, options);
    EXPECT_EQ(Page(settings, options), std::string("\x1b&b1M\x1b&l1H\x1b&n6WdPlain\x1b&l26A\x1b&l0O") + kPageTail);
    options.dwPageInSet = 2;
    EXPECT_EQ(Page(settings, options), std::string("\x1b&b1M\x1b&l0O") + kPageTail);
    options.sMediaType = kThick;
    EXPECT_EQ(Page(settings, options), std::string("\x1b&b1M\x1b&n6WdThick\x1b&l0O") + kPageTail);
    RendererEndPage(context.get(), &options);
    EXPECT_EQ(Drain(context.get()), "\f");
    RendererEndJob(context.get(), &options);
    EXPECT_EQ(Drain(context.get()), "\x1b%-12345X");
}

TEST_F(PclHeaders, ColourModeCommandFollowsTheColourSetting)
{
    struct Case {
        SHORT color;
        const char* command;
    };
    const Case cases[] = {{1, "\x1b&b1M"}, {2, "\x1b&b0M"}, {3, "\x1b&b128M"}};
    for (const Case& c : cases) {
        JobFields fields;
        fields.color = c.color;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
        Setup(settings, options);
        EXPECT_EQ(Page(settings, options).substr(0, std::strlen(c.command)), c.command);
    }
}

TEST_F(PclHeaders, CustomPaperGoesOutInDecipointsThenCode101AndAgainWhenItsSizeChanges)
{
    JobFields fields;
    fields.paperWidth = 2100;
    fields.paperLength = 2970;
    const DRVDEVMODE settings = MakeJobSettings(fields);
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
    options.sPaperSize = 256;
    Setup(settings, options);
    EXPECT_NE(Page(settings, options).find("\x1b&f5952i8418J\x1b&l101A\x1b&l0O"), std::string::npos);
    options.dwPageInSet = 2;
    EXPECT_EQ(Page(settings, options).find("\x1b&l101A"), std::string::npos) << "same size: no paper command";
    options.wPaperLength = 2000;
    EXPECT_NE(Page(settings, options).find("\x1b&f5952i5669J\x1b&l101A"), std::string::npos);
}

TEST_F(PclHeaders, BindingShiftOnTheFirstPageOfADuplexSet)
{
    struct Case {
        SHORT duplex;
        SHORT orientation;
        SHORT reverse;
        DWORD page;
        const char* command;  // "" for none
    };
    // A margin of 50/600 inch is 50 dots at 600 dpi, 60 decipoints.
    const Case cases[] = {
        {2, 1, 0, 1, "\x1b&l60U"}, {3, 1, 0, 1, "\x1b&l60Z"}, {2, 1, 1, 1, "\x1b&l-60U"}, {3, 2, 0, 1, "\x1b&l-60Z"},
        {3, 2, 1, 1, "\x1b&l60Z"}, {2, 2, 0, 1, "\x1b&l60U"}, {2, 1, 0, 2, ""},           {1, 1, 0, 1, ""},
    };
    for (const Case& c : cases) {
        JobFields fields;
        fields.duplex = c.duplex;
        fields.orientation = c.orientation;
        DRVDEVMODE settings = MakeJobSettings(fields);
        settings.priv.dmUnitOfLayout = 600;
        tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
        options.wDuplexMargin = 50;
        options.sReverseOrder = c.reverse;
        options.dwPageInSet = c.page;
        Setup(settings, options);
        const std::string header = Page(settings, options);
        const std::string orientation = c.orientation == 1 ? "\x1b&l0O" : "\x1b&l1O";
        EXPECT_NE(header.find(orientation + c.command + "\x1b&l6D"), std::string::npos)
            << "duplex " << c.duplex << " orientation " << c.orientation << " reverse " << c.reverse << " page "
            << c.page << ": " << header;
    }
}

TEST_F(PclHeaders, MediaNameThatFillsItsFieldIsSentWhole)
{
    const std::string name(32, 'M');  // no terminator within the field
    model.Answer(22, 8, 8, PrinterMedia(3, name));
    const DRVDEVMODE settings = MakeJobSettings({});
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
    options.sMediaType = 8;
    Setup(settings, options);
    EXPECT_NE(Page(settings, options).find("\x1b&n33Wd" + name + "\x1b&l26A"), std::string::npos);
}

TEST_F(PclHeaders, JobDecodesIntoItsHeadersAndFormFeeds)
{
    const DRVDEVMODE settings = MakeJobSettings({});
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_PCL, settings);
    std::string stream = "\x1b%-12345X";
    RendererBeginJob(&settings, context.get(), &options);
    stream += Drain(context.get());
    stream += Setup(settings, options);
    stream = stream.substr(0, stream.find('\x1b', 1)) + "@PJL ENTER LANGUAGE=GDI\r\n" +
             stream.substr(stream.find('\x1b', 1));
    for (DWORD page = 1; page <= 2; ++page) {
        options.dwPageInSet = page;
        stream += Page(settings, options);
        RendererEndPage(context.get(), &options);
        stream += Drain(context.get());
    }
    RendererEndJob(context.get(), &options);
    stream += Drain(context.get());
    const orvdecode::DecodedStream decoded =
        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    ASSERT_TRUE(decoded.ok()) << decoded.error->message << " at " << decoded.error->offset;
    int formFeeds = 0;
    std::string media;
    bool reset = false;
    long frameWidth = 0;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        formFeeds += event.kind == orvdecode::EventKind::FormFeed ? 1 : 0;
        if (event.name == "media name") {
            media = event.data;
        }
        reset = reset || event.name == "printer reset";
        if (event.name == "frame width") {
            frameWidth = event.value;
        }
    }
    EXPECT_EQ(formFeeds, 2);
    EXPECT_EQ(media, "dPlain");
    EXPECT_TRUE(reset);
    EXPECT_EQ(frameWidth, 5760);
    EXPECT_TRUE(decoded.pages.empty()) << "a PCL-style page carries no raster data";
}

TEST(PclStreamDecoder, RefusesMalformedHeaderCommands)
{
    struct Case {
        const char* name;
        std::string gdi;  // the bytes after "@PJL ENTER LANGUAGE=GDI"
        const char* message;
    };
    const Case cases[] = {
        {"data beyond the stream", "\x1b&n40WdPlain", "command with data"},
        {"data count too large", "\x1b&n9999Wd", "command with data"},
        {"negative count", "\x1b&n-1Wd", "command with data"},
        {"data not at the end", "\x1b&n3w5JdAB", "command with data"},
        {"unknown two-character command", "\x1bZ", "unknown command"},
        {"form feed inside a raster page",
         std::string("\x1b*r1T\x1b*r8S\x1b*b0W\x01\x00\x00\x00\x01\x00\x01\x00"
                     "\x00\x00\x01\x00\x00\x00\x00\x00\xff\f",
                     33),
         "form feed"},
    };
    for (const Case& c : cases) {
        const std::string stream = "\x1b%-12345X@PJL ENTER LANGUAGE=GDI\r\n" + c.gdi + "\x1b%-12345X";
        const orvdecode::DecodedStream decoded =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
        ASSERT_FALSE(decoded.ok()) << c.name;
        EXPECT_NE(decoded.error->message.find(c.message), std::string::npos)
            << c.name << ": " << decoded.error->message;
    }
}

}  // namespace
}  // namespace gditest
