// A malformed stream is reported with the offset where it stops making sense and what was
// expected there, and never crashes the decoder, whatever the damage.
#include <gtest/gtest.h>

#include <functional>

#include "decoder/StreamBuilder.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"
#include "tools/stream-decoder/lib/StreamSummary.h"

namespace {

using orvdecode::DecodedStream;
using orvtest::StreamBuilder;

DecodedStream Decode(const std::vector<uint8_t>& bytes)
{
    return orvdecode::DecodeStream(bytes.data(), bytes.size());
}

// A valid JBIG image of `rows` rows of a text-like plane `width` dots wide.
std::vector<uint8_t> JbigRows(PFNCOMPRESS compress, unsigned width, unsigned rows)
{
    static std::vector<uint8_t> plane;
    plane = orvtest::MakePlane(orvtest::PlanePattern::TextLike, width, rows, 5);
    orvtest::CompressCall call(plane.data(), width, rows, plane.size() + 256);
    return call.Run(compress) == COMPRESS_OK ? call.Written() : std::vector<uint8_t> {};
}

struct Built {
    std::vector<uint8_t> bytes;
    size_t offset;  // where the fault must be reported
};

class DecoderMalformed : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_lib.entry(), nullptr) << m_lib.error(); }
    PFNCOMPRESS compress() const { return m_lib.entry(); }

    // A stream up to the raster window of a 16 x 4 page, ready for its blocks.
    static StreamBuilder PageOpen()
    {
        StreamBuilder s;
        s.JobStart().PageHeader(16, 4);
        return s;
    }

private:
    orvtest::CompressLibrary m_lib;
};

TEST_F(DecoderMalformed, FaultIsReportedWithItsOffsetAndWhatWasExpected)
{
    const std::vector<uint8_t> fourRows(8, 0x55);
    const PFNCOMPRESS lib = compress();
    struct Case {
        const char* name;
        std::function<Built()> build;
        const char* expected;  // part of the message
    };
    const Case cases[] = {
        {"empty stream", [] { return Built {{}, 0}; }, "start with the UEL"},
        {"PJL before the UEL",
         [] { StreamBuilder s; s.Pjl("@PJL SET COPIES=1"); return Built {s.bytes(), 0}; }, "start with the UEL"},
        {"text that is no PJL line",
         [] { StreamBuilder s; s.Uel(); const size_t at = s.size(); s.Text("HELLO\n"); return Built {s.bytes(), at}; },
         "expected a PJL line"},
        {"PJL line without its line end",
         [] { StreamBuilder s; s.Uel().Text("@PJL SET COPIES=1"); return Built {s.bytes(), s.size()}; },
         "expected the line end"},
        {"control byte inside a PJL line",
         [] { StreamBuilder s; s.Uel().Text("@PJL SET"); const size_t at = s.size(); s.Text("\033E\n");
              return Built {s.bytes(), at}; },
         "PJL line: expected text"},
        {"PJL line of 5000 bytes",
         [] { StreamBuilder s; s.Uel(); const size_t at = s.size(); s.Text("@PJL COMMENT " + std::string(5000, 'x') + "\n");
              return Built {s.bytes(), at + 4096}; },
         "within 4096 bytes"},
        {"another language",
         [] { StreamBuilder s; s.Uel(); const size_t at = s.size(); s.Pjl("@PJL ENTER LANGUAGE=PCL");
              return Built {s.bytes(), at}; },
         "@PJL ENTER LANGUAGE=GDI"},
        {"text in the GDI section",
         [] { StreamBuilder s; s.JobStart(); const size_t at = s.size(); s.Text("A"); return Built {s.bytes(), at}; },
         "expected an escape sequence"},
        {"unknown command",
         [] { StreamBuilder s; s.JobStart(); const size_t at = s.size(); s.Text("\033&z5Q"); return Built {s.bytes(), at}; },
         "unknown command ESC&z5Q"},
        {"escape cut short",
         [] { StreamBuilder s; s.JobStart().Text("\033*r"); return Built {s.bytes(), s.size()}; },
         "expected a decimal value, found end of stream"},
        {"value without letter",
         [] { StreamBuilder s; s.JobStart().Text("\033*r12"); const size_t at = s.size(); s.Text("\n");
              return Built {s.bytes(), at}; },
         "expected a command letter"},
        {"ten-digit value",
         [] { StreamBuilder s; s.JobStart().Text("\033*r"); const size_t at = s.size(); s.Text("1234567890S");
              return Built {s.bytes(), at + 9}; },
         "at most 9 digits"},
        {"raster width 0",
         [] { StreamBuilder s; s.JobStart().Text("\033*r"); const size_t at = s.size(); s.Text("0S");
              return Built {s.bytes(), at}; },
         "raster width: expected 1 to 65535, found 0"},
        {"raster height negative",
         [] { StreamBuilder s; s.JobStart().Text("\033*r"); const size_t at = s.size(); s.Text("-5T");
              return Built {s.bytes(), at}; },
         "raster height: expected 1 to"},
        {"block before the raster window",
         [&] { StreamBuilder s; s.JobStart(); const size_t at = s.size(); s.RasterBlock(fourRows, true, true, false, 4, 0);
               return Built {s.bytes(), at}; },
         "expected the raster width"},
        {"page too large for the decoder",
         [] { StreamBuilder s; s.JobStart().PageHeader(65535, 100000); const size_t at = s.size();
              s.RasterBlock({0}, true, true, false, 1, 0); return Built {s.bytes(), at}; },
         "64 MiB"},
        {"raster block command with a value",
         [] { StreamBuilder s = PageOpen(); const size_t at = s.size(); s.Text("\033*b5W"); return Built {s.bytes(), at}; },
         "ESC*b0W"},
        {"header cut short",
         [] { StreamBuilder s = PageOpen(); s.Text("\033*b0W"); const size_t at = s.size(); s.Text(std::string(10, '\0'));
              return Built {s.bytes(), at}; },
         "expected a 16-byte header, found 10"},
        {"data length past the end",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 16;
               s.RasterBlockRaw(fourRows, 9, 1, 1, 0, 4, 0); return Built {s.bytes(), at}; },
         "expected 9 data bytes, found 8"},
        {"unknown compression",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 8;
               s.RasterBlockRaw(fourRows, 8, 1, 1, 5, 4, 0); return Built {s.bytes(), at}; },
         "expected compression 0 or 11, found 5"},
        {"plane 4",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 14;
               s.RasterBlock(fourRows, true, true, false, 4, 4); return Built {s.bytes(), at}; },
         "expected plane 0 to 3, found 4"},
        {"no rows",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 10;
               s.RasterBlock(fourRows, true, true, false, 0, 0); return Built {s.bytes(), at}; },
         "expected at least one row"},
        {"band flag 2",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 4;
               s.RasterBlockRaw(fourRows, 8, 0, 2, 0, 4, 0); return Built {s.bytes(), at}; },
         "expected 0 or 1 in byte 4"},
        {"reserved byte set",
         [&] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 5;
               s.RasterBlock(fourRows, true, true, false, 4, 0); s.bytes()[at] = 1; return Built {s.bytes(), at}; },
         "expected 0 in byte 5"},
        {"raw length not rows times row bytes",
         [] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 16;
              s.RasterBlock(std::vector<uint8_t>(7, 0), true, true, false, 4, 0); return Built {s.bytes(), at}; },
         "expected 4 rows of 2 bytes (8), found 7 bytes"},
        {"rows past the page height",
         [] { StreamBuilder s = PageOpen(); s.RasterBlock(std::vector<uint8_t>(6, 0), true, false, false, 3, 0);
              const size_t at = s.size() + 5 + 10;
              s.RasterBlock(std::vector<uint8_t>(4, 0), false, true, false, 2, 0); return Built {s.bytes(), at}; },
         "expected at most 1 rows (plane black has 3 of the page's 4), found 2"},
        {"JBIG block shorter than its header",
         [] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 16;
              s.RasterBlock(std::vector<uint8_t>(12, 0), true, true, true, 4, 0); return Built {s.bytes(), at}; },
         "20-byte JBIG header"},
        {"JBIG image of another width",
         [lib] { StreamBuilder s; s.JobStart().PageHeader(24, 4); const size_t at = s.size() + 5 + 16 + 4;
                 s.RasterBlock(JbigRows(lib, 16, 4), true, true, true, 4, 0); return Built {s.bytes(), at}; },
         "expected the image width 24 (the raster width), found 16"},
        {"JBIG image of other rows than the block",
         [lib] { StreamBuilder s = PageOpen(); const size_t at = s.size() + 5 + 16 + 8;
                 s.RasterBlock(JbigRows(lib, 16, 3), true, true, true, 4, 0); return Built {s.bytes(), at}; },
         "expected the image height 4 (the block's rows), found 3"},
        {"JBIG data cut short",
         [lib] { StreamBuilder s; s.JobStart().PageHeader(400, 200); std::vector<uint8_t> jbig = JbigRows(lib, 400, 200);
                 jbig.resize(jbig.size() / 2); const size_t at = s.size() + 5 + 16 + jbig.size();
                 s.RasterBlock(jbig, true, true, true, 200, 0); return Built {s.bytes(), at}; },
         "ends before its last row"},
        {"bytes after the JBIG image",
         [lib] { StreamBuilder s = PageOpen(); std::vector<uint8_t> jbig = JbigRows(lib, 16, 4);
                 const size_t at = s.size() + 5 + 16 + jbig.size(); jbig.push_back(0); jbig.push_back(0);
                 s.RasterBlock(jbig, true, true, true, 4, 0); return Built {s.bytes(), at}; },
         "found 2 more bytes"},
        {"page end without blocks",
         [] { StreamBuilder s = PageOpen(); const size_t at = s.size(); s.PageEnd(0); return Built {s.bytes(), at}; },
         "expected the page's raster blocks"},
        {"page end before all rows",
         [] { StreamBuilder s = PageOpen(); s.RasterBlock(std::vector<uint8_t>(6, 0), true, false, false, 3, 0);
              const size_t at = s.size(); s.PageEnd(1); return Built {s.bytes(), at}; },
         "expected 4 rows in plane black, found 3"},
        {"colour page without its black plane",
         [&] { StreamBuilder s = PageOpen(); for (unsigned plane : {1u, 2u, 3u}) s.RasterBlock(fourRows, false, true, false, 4, plane);
               const size_t at = s.size(); s.PageEnd(15); return Built {s.bytes(), at}; },
         "expected the four planes, plane black is missing"},
        {"raster width changed inside a page",
         [&] { StreamBuilder s = PageOpen(); s.RasterBlock(fourRows, true, false, false, 4, 0);
               const size_t at = s.size(); s.Text("\033*r32S"); return Built {s.bytes(), at}; },
         "raster width changes before the page end"},
        {"UEL inside a page",
         [&] { StreamBuilder s = PageOpen(); s.RasterBlock(fourRows, true, true, false, 4, 0);
               const size_t at = s.size(); s.Uel(); return Built {s.bytes(), at}; },
         "page 1: expected its page end (ESC&&#R) before the UEL"},
        {"stream ends inside a page",
         [&] { StreamBuilder s = PageOpen(); s.RasterBlock(fourRows, true, true, false, 4, 0); return Built {s.bytes(), s.size()}; },
         "stream ends inside page 1"},
        {"stream ends in the GDI section",
         [&] { StreamBuilder s = PageOpen(); s.RasterBlock(fourRows, true, true, false, 4, 0).PageEnd(1);
               return Built {s.bytes(), s.size()}; },
         "expected the UEL"},
        {"stream ends after the end-of-job line",
         [&] { StreamBuilder s = PageOpen(); s.RasterBlock(fourRows, true, true, false, 4, 0).PageEnd(1).Uel();
               s.Text("@PJL EOJ\n"); return Built {s.bytes(), s.size()}; },
         "without the closing UEL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Built built = c.build();
        const DecodedStream decoded = Decode(built.bytes);
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error->offset, built.offset) << decoded.error->message;
        EXPECT_NE(decoded.error->message.find(c.expected), std::string::npos) << decoded.error->message;
    }
}

TEST_F(DecoderMalformed, PagesBeforeTheFaultAreKept)
{
    StreamBuilder s = PageOpen();
    s.RasterBlock(std::vector<uint8_t>(8, 0x0F), false, true, false, 4, 0).PageEnd(1);
    s.Text("bad");
    const DecodedStream decoded = Decode(s.bytes());
    ASSERT_FALSE(decoded.ok());
    ASSERT_EQ(decoded.pages.size(), 1u);
    EXPECT_EQ(*decoded.pages[0].planes[0], std::vector<uint8_t>(8, 0x0F));
    EXPECT_NE(orvdecode::FormatSummary(decoded).find("error at offset"), std::string::npos);
}

// A real two-page job (monochrome JBIG, colour with JBIG and raw blocks) to damage.
std::vector<uint8_t> SampleJob(PFNCOMPRESS compress)
{
    orvtest::TestPage mono {96, 40, {orvtest::MakePlane(orvtest::PlanePattern::TextLike, 96, 40, 1)}};
    orvtest::TestPage colour {40, 24, {}};
    for (auto pattern : {orvtest::PlanePattern::Dither, orvtest::PlanePattern::Noise, orvtest::PlanePattern::Empty,
                         orvtest::PlanePattern::Sparse}) {
        colour.planes.push_back(orvtest::MakePlane(pattern, 40, 24, 2));
    }
    StreamBuilder s;
    s.JobStart().PageHeader(96, 40);
    orvtest::AppendPageBlocks(s, compress, mono, 16);
    s.PageEnd(1).PageHeader(40, 24);
    orvtest::AppendPageBlocks(s, compress, colour, 16);
    s.PageEnd(15).JobEnd();
    return s.bytes();
}

TEST_F(DecoderMalformed, EveryTruncationIsReported)
{
    // A job cut anywhere is malformed, except right after one of its UELs outside the GDI
    // section: the first one, and the one that ends the GDI section, before the end-of-job line.
    const std::vector<uint8_t> job = SampleJob(compress());
    ASSERT_TRUE(Decode(job).ok());
    const std::string text(job.begin(), job.end());
    const size_t afterFirstUel = 9;
    const size_t afterGdiEnd = text.rfind("\033%-12345X@PJL EOJ") + 9;
    for (size_t length = 0; length < job.size(); ++length) {
        const DecodedStream decoded = orvdecode::DecodeStream(job.data(), length);
        if (length == afterFirstUel || length == afterGdiEnd) {
            EXPECT_TRUE(decoded.ok()) << "prefix of " << length << " bytes";
            continue;
        }
        ASSERT_FALSE(decoded.ok()) << "prefix of " << length << " bytes";
        EXPECT_LE(decoded.error->offset, length);
    }
}

TEST_F(DecoderMalformed, DamagedBytesNeverCrashTheDecoder)
{
    // Every byte of the job replaced by a few values: the decoder answers (a page set or a fault
    // inside the stream) and stays within the stream, as the sanitizer build checks.
    const std::vector<uint8_t> job = SampleJob(compress());
    size_t faults = 0;
    for (size_t i = 0; i < job.size(); ++i) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(job[i] ^ 0x01), uint8_t(0x1B)}) {
            std::vector<uint8_t> damaged = job;
            damaged[i] = value;
            const DecodedStream decoded = Decode(damaged);
            if (!decoded.ok()) {
                ++faults;
                EXPECT_LE(decoded.error->offset, damaged.size());
            }
        }
    }
    EXPECT_GT(faults, 0u);
}

}  // namespace
