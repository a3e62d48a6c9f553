// Whole jobs written through the renderer's entry points in the front end's order, read back by
// the printer-stream decoder: pages, blank sheets, cover sheets and the job frame.
#include "GdiTestSupport.h"

#include "filter/render/language/GdiCommands.h"
#include "filter/render/RendererJob.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/encode/PageEncode.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

namespace gditest {
namespace {

using rendertest::FakeModelData;

constexpr DWORD kPageWidth = 64;
constexpr DWORD kPageHeight = 40;
constexpr LONG kBandRows = 16;

struct JobShape {
    int pages;  // per copy set
    SHORT copies;
    SHORT duplex;
    DWORD duplexCaps;
    bool frontCover;
};

// The front end's calls for a job whose copies the filter makes itself (collated): every page of
// every copy set is rendered, begun, encoded and ended; a set closes with the pending-page flush.
// Page p of a set carries the marker byte p in its first row.
std::string WriteJob(FakeModelData& model, const JobShape& shape, const DRVDEVMODE& settings)
{
    Context context;
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.dwDuplexCaps = shape.duplexCaps;
    options.dwPagesPerSet = static_cast<DWORD>(shape.pages);
    options.dwPageWidth = kPageWidth;
    options.dwPageHeight = kPageHeight;
    std::string stream = "\x1b%-12345X@PJL JOB\r\n";
    int counter = 0;
    for (int copy = 0; copy < shape.copies; ++copy) {
        for (int page = 1; page <= shape.pages; ++page) {
            ++counter;
            options.dwPageInSet = static_cast<DWORD>((counter - 1) % shape.pages + 1);
            EXPECT_EQ(AllocPageBitmap(kPageWidth, kPageHeight, &settings, context.get(), &options), FLAG_TRUE);
            options.pPageBitmap->pBits[0] = static_cast<BYTE>(page);
            context->dwInkMask = 0x1;
            if (counter == 1) {
                EXPECT_EQ(RendererBeginJob(&settings, context.get(), &options), FLAG_TRUE);
                stream += Drain(context.get());
                EXPECT_EQ(RendererSetupJob(&settings, context.get(), &options), FLAG_TRUE);
                stream += Drain(context.get());
                stream += "@PJL ENTER LANGUAGE=GDI\r\n";
            }
            EXPECT_EQ(RendererBeginPage(&settings, context.get(), &options), FLAG_TRUE);
            stream += Drain(context.get());
            if (EncodePage(context.get(), kPageWidth, kPageHeight, kBandRows, &settings, &options) != FLAG_FALSE) {
                stream += Drain(context.get());
            }
            EXPECT_EQ(RendererEndPage(context.get(), &options), FLAG_TRUE);
            stream += Drain(context.get());
            if (options.dwPageInSet == options.dwPagesPerSet) {
                RendererFlushPendingPages(&settings, context.get(), &options);
                stream += Drain(context.get());
            }
        }
    }
    EXPECT_EQ(RendererEndJob(context.get(), &options), FLAG_TRUE);
    stream += Drain(context.get());
    stream += "@PJL EOJ\r\n\x1b%-12345X";
    return stream;
}

// The decoded pages as a string: the marker digit of each content page, "B" for a blank sheet
// (512 rows without ink), "?" for anything else.
std::string PageSequence(const orvdecode::DecodedStream& decoded)
{
    std::string sequence;
    for (const orvdecode::DecodedPage& page : decoded.pages) {
        const std::vector<uint8_t>& black = *page.planes[0];
        bool empty = true;
        for (uint8_t byte : black) {
            empty = empty && byte == 0;
        }
        if (page.height == 512 && empty && page.inkPlanes == 0) {
            sequence += 'B';
        } else if (page.height == kPageHeight && page.width == kPageWidth && page.inkPlanes == 1) {
            sequence += static_cast<char>('0' + black[0]);
        } else {
            sequence += '?';
        }
    }
    return sequence;
}

// The value of the sheet-control command of each page header and blank sheet, in order.
std::string SheetControls(const orvdecode::DecodedStream& decoded)
{
    std::string values;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        if (event.kind == orvdecode::EventKind::Command && event.text.size() > 3 && event.text.back() == 'S' &&
            event.text.compare(0, 5, "ESC&&") == 0) {
            values += std::to_string(event.value);
        }
    }
    return values;
}

TEST(GdiJob, DuplexCopySetsDecodeIntoPagesAndBlankSheets)
{
    struct Case {
        const char* name;
        JobShape shape;
        const char* pages;
        const char* sheetControls;
    };
    const Case cases[] = {
        // An odd set gets its empty back side, except on the last copy when the printer closes it
        // itself (the last page header then says so with 2).
        {"odd set, printer closes the last", {3, 2, 2, 0x200, false}, "123B123", "0000002"},
        {"odd set, every set padded", {3, 2, 2, 0x000, false}, "123B123B", "00000000"},
        {"even set", {2, 2, 2, 0x000, false}, "1212", "0000"},
        {"simplex", {3, 2, 1, 0x200, false}, "123123", "000000"},
        // A front cover in duplex is a blank sheet and its empty back before each set.
        {"front cover", {3, 2, 2, 0x200, true}, "BB123BBB123", "00000000002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModelData model;
        AnswerTestModel(model);
        JobFields fields;
        fields.copies = c.shape.copies;
        fields.duplex = c.shape.duplex;
        DRVDEVMODE settings = MakeJobSettings(fields);
        settings.dm.dmFields |= DM_COPIES | DM_COLLATE;
        settings.dm.dmCollate = 1;
        if (c.shape.frontCover) {
            settings.priv.dmFieldsExtra1 |= DMX1_FRONT_COVER;
            settings.priv.dmCoverPage = 0x1;
        }
        const std::string stream = WriteJob(model, c.shape, settings);
        const orvdecode::DecodedStream decoded =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
        ASSERT_TRUE(decoded.ok()) << decoded.error->message << " at " << decoded.error->offset;
        EXPECT_EQ(PageSequence(decoded), c.pages);
        EXPECT_EQ(SheetControls(decoded), c.sheetControls);
        // The filter makes the collated copies: the printer prints each page once.
        ASSERT_GE(decoded.events.size(), 3u);
        EXPECT_EQ(decoded.events[2].text, "@PJL SET COPIES=1");
    }
}

TEST(GdiJob, BlankSheetIs512EmptyRowsInOneBlockWithBothBandFlags)
{
    FakeModelData model;
    AnswerTestModel(model);
    Context context;
    JobFields fields;
    fields.duplex = 2;
    const DRVDEVMODE settings = MakeJobSettings(fields);
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.dwPagesPerSet = 1;
    RendererSetupJob(&settings, context.get(), &options);
    RendererBeginPage(&settings, context.get(), &options);
    Drain(context.get());
    RendererEndPage(context.get(), &options);
    Drain(context.get());
    EXPECT_EQ(RendererFlushPendingPages(&settings, context.get(), &options), FLAG_TRUE);
    const std::string sheet = Drain(context.get());
    const std::string header =
        "\x1b&&0S\x1b&r600W\x1b&r600L\x1b&&0Y\x1b&l26A\x1b&l1H\x1b&&11W"
        "\x1b*r512T\x1b*r4760S\x1b&a100L\x1b&l100E\x1b&&0T";
    ASSERT_GT(sheet.size(), header.size() + 21);
    EXPECT_EQ(sheet.substr(0, header.size()), header);
    // Without the compression library: one raw block of 512 rows of 595 bytes, plane 0, first and
    // last band.
    const uint32_t length = 595 * 512;
    const std::string block = sheet.substr(header.size(), 21);
    const std::string expectedBlock =
        std::string("\x1b*b0W") +
        std::string{char(length & 0xFF), char((length >> 8) & 0xFF), char((length >> 16) & 0xFF), char(length >> 24)} +
        std::string("\x01\x00\x01\x00\x00\x00\x00\x02\x00\x00\x00\x00", 12);
    EXPECT_EQ(block, expectedBlock);
    EXPECT_EQ(sheet.size(), header.size() + 21 + length + 5);
    EXPECT_EQ(sheet.substr(sheet.size() - 5), "\x1b&&0R");
    EXPECT_EQ(context->lPageInSet, 0);
    EXPECT_EQ(context->lCopyNumber, 2);
}

TEST(GdiJob, FlushWritesNothingForASimplexSetOrAnEvenDuplexSet)
{
    struct Case {
        SHORT duplex;
        LONG pagesSent;
    };
    const Case cases[] = {{1, 1}, {1, 3}, {2, 2}, {3, 4}};
    for (const Case& c : cases) {
        FakeModelData model;
        AnswerTestModel(model);
        Context context;
        JobFields fields;
        fields.duplex = c.duplex;
        const DRVDEVMODE settings = MakeJobSettings(fields);
        const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
        RendererSetupJob(&settings, context.get(), &options);
        context->lPageInSet = c.pagesSent;
        context->sFirstPageDuplex = c.duplex;
        EXPECT_EQ(RendererFlushPendingPages(&settings, context.get(), &options), FLAG_FALSE);
        EXPECT_EQ(Drain(context.get()), "") << "duplex " << c.duplex << ", " << c.pagesSent << " pages";
    }
}

TEST(GdiJob, BackCoverGoesOutFromItsOwnSource)
{
    FakeModelData model;
    AnswerTestModel(model);
    Context context;
    JobFields fields;
    fields.duplex = 2;
    DRVDEVMODE settings = MakeJobSettings(fields);
    settings.priv.dmFieldsExtra1 |= DMX1_BACK_COVER;
    settings.priv.dmCoverPage = 0x2;
    settings.priv.dmBackCoverSource = kManual;
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.dwPageInSet = 1;
    options.dwPagesPerSet = 2;
    RendererSetupJob(&settings, context.get(), &options);
    RendererBeginPage(&settings, context.get(), &options);
    EXPECT_NE(Drain(context.get()).find("\x1b&l26A\x1b&l1H"), std::string::npos) << "the pages come from tray 1";
    options.dwPageInSet = 2;
    RendererBeginPage(&settings, context.get(), &options);
    Drain(context.get());
    RendererFlushPendingPages(&settings, context.get(), &options);
    const std::string sheets = Drain(context.get());
    // The even set needs no back side; the cover and its empty back come from the manual feed.
    size_t first = sheets.find("\x1b&l2H");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(sheets.find("\x1b&l2H", first + 1), std::string::npos);
    EXPECT_EQ(sheets.find("\x1b&l1H"), std::string::npos);
    EXPECT_EQ(context->sMemoSourceCode, kTray1Code) << "the page source is restored";
}

}  // namespace
}  // namespace gditest
