// Every resolution choice of both sample queues prints the page at its true size and upright: a
// page with a two-inch square and a line of text printed by the filter program, decoded, and
// measured in the printer's dots against the resolution its page header announces, then compared
// with Ghostscript's own rendering of the document at that resolution.
#include "FilterInstall.h"

#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using filtertest::FilterInstall;
using filtertest::FilterRun;
using filtertest::RunFilterProgram;

namespace {

const std::string kDocument = std::string(ORV_FILTER_SAMPLE_DIR) + "square-and-text-a4.ps";
// Where the document's square lies on the sheet, in inches from its top-left corner.
constexpr double kSquareSide = 2.0;
constexpr double kSquareLeft = 1.0;
constexpr double kSquareTop = 100.0 / 72.0;
constexpr double kSheetWidth = 210.0 / 25.4;  // A4
constexpr double kSheetHeight = 297.0 / 25.4;

// The page header's values in force at a page's first raster block.
struct PageHeader {
    long xDpi = 0, yDpi = 0, left = 0, top = 0;
};

PageHeader HeaderOf(const orvdecode::DecodedStream& stream, const orvdecode::DecodedPage& page)
{
    PageHeader h;
    for (const orvdecode::StreamEvent& e : stream.events) {
        if (e.offset >= page.offset) {
            break;
        }
        if (e.kind != orvdecode::EventKind::Command) {
            continue;
        }
        if (e.name == "horizontal resolution") {
            h.xDpi = e.value;
        }
        if (e.name == "vertical resolution") {
            h.yDpi = e.value;
        }
        if (e.name == "left offset") {
            h.left = e.value;
        }
        if (e.name == "top offset") {
            h.top = e.value;
        }
    }
    return h;
}

// A sheet of the printer's dots, ink or not, at (x, y) from the sheet's top-left corner.
class InkSheet {
public:
    virtual ~InkSheet() = default;
    virtual long Width() const = 0;
    virtual long Height() const = 0;
    virtual bool Ink(long x, long y) const = 0;
};

// The decoded black plane placed on the sheet at the page header's offsets.
class PrintedSheet : public InkSheet {
public:
    PrintedSheet(const orvdecode::DecodedPage& page, const PageHeader& header) : m_page(page), m_header(header) {}
    long Width() const override { return m_header.left + static_cast<long>(m_page.width); }
    long Height() const override { return m_header.top + static_cast<long>(m_page.height); }
    bool Ink(long x, long y) const override
    {
        x -= m_header.left;
        y -= m_header.top;
        if (x < 0 || y < 0 || x >= static_cast<long>(m_page.width) || y >= static_cast<long>(m_page.height)) {
            return false;
        }
        const std::vector<uint8_t>& plane = *m_page.planes[0];
        return (plane[static_cast<size_t>(y) * m_page.RowBytes() + static_cast<size_t>(x) / 8] & (0x80 >> (x % 8))) !=
               0;
    }

private:
    const orvdecode::DecodedPage& m_page;
    PageHeader m_header;
};

// Ghostscript's gray rendering of the document, dark pixels as ink.
class RenderedSheet : public InkSheet {
public:
    bool Render(const std::string& dir, long xDpi, long yDpi)
    {
        const std::string out = dir + "/gs-page.pgm";
        const std::string cmd = std::string(ORV_GS_PROGRAM) + " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r" +
                                std::to_string(xDpi) + "x" + std::to_string(yDpi) + " -sOutputFile=" + out + " " +
                                kDocument + " > /dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) {
            return false;
        }
        std::ifstream in(out, std::ios::binary);
        std::string magic;
        in >> magic;
        // The header's numbers, each after white space and comment lines.
        auto number = [&in]() {
            in >> std::ws;
            while (in.peek() == '#') {
                std::string comment;
                std::getline(in, comment);
                in >> std::ws;
            }
            long value = 0;
            in >> value;
            return value;
        };
        m_width = number();
        m_height = number();
        const long maxValue = number();
        in.get();
        m_gray.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
        in.read(reinterpret_cast<char*>(m_gray.data()), static_cast<std::streamsize>(m_gray.size()));
        return magic == "P5" && maxValue == 255 && in.good();
    }
    long Width() const override { return m_width; }
    long Height() const override { return m_height; }
    bool Ink(long x, long y) const override
    {
        return x >= 0 && y >= 0 && x < m_width && y < m_height &&
               m_gray[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)] < 128;
    }

private:
    long m_width = 0, m_height = 0;
    std::vector<uint8_t> m_gray;
};

// The square's extent: its first row holding a run of ink longer than one inch across, where that
// run starts and how long it is, and the longest run of ink down the column a quarter inch into it.
struct Square {
    long left = -1, top = -1, width = 0, height = 0;
};

Square FindSquare(const InkSheet& sheet, long xDpi)
{
    Square sq;
    for (long y = 0; y < sheet.Height() && sq.top < 0; ++y) {
        long run = 0;
        for (long x = 0; x <= sheet.Width(); ++x) {
            if (x < sheet.Width() && sheet.Ink(x, y)) {
                ++run;
                continue;
            }
            if (run > xDpi) {
                sq = {x - run, y, run, 0};
                break;
            }
            run = 0;
        }
    }
    if (sq.top < 0) {
        return sq;
    }
    const long column = sq.left + xDpi / 4;
    for (long y = sq.top; y < sheet.Height() && sheet.Ink(column, y); ++y) {
        ++sq.height;
    }
    return sq;
}

// Ink coverage of the sheet in cells of a tenth of an inch; the Pearson correlation of two.
std::vector<double> Coverage(const InkSheet& sheet, long xDpi, long yDpi)
{
    const long cellX = xDpi / 10, cellY = yDpi / 10;
    const long columns = static_cast<long>(kSheetWidth * 10), rows = static_cast<long>(kSheetHeight * 10);
    std::vector<double> cells(static_cast<size_t>(columns * rows), 0.0);
    for (long r = 0; r < rows; ++r) {
        for (long c = 0; c < columns; ++c) {
            long ink = 0;
            // Every third dot each way: enough to tell where the ink is.
            for (long y = r * cellY; y < (r + 1) * cellY; y += 3) {
                for (long x = c * cellX; x < (c + 1) * cellX; x += 3) {
                    ink += sheet.Ink(x, y) ? 1 : 0;
                }
            }
            cells[static_cast<size_t>(r * columns + c)] = static_cast<double>(ink);
        }
    }
    return cells;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b)
{
    const double n = static_cast<double>(a.size());
    double sa = 0, sb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        sa += a[i];
        sb += b[i];
    }
    double cov = 0, va = 0, vb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        cov += (a[i] - sa / n) * (b[i] - sb / n);
        va += (a[i] - sa / n) * (a[i] - sa / n);
        vb += (b[i] - sb / n) * (b[i] - sb / n);
    }
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0.0;
}

TEST(ResolutionChoices, EveryChoicePrintsTheSquareAtItsTrueSizeUprightWhereGhostscriptPutsIt)
{
    struct Case {
        const char* pszModel;
        const char* pszChoice;
        long xDpi, yDpi;  // the printer's resolution of the choice
    } cases[] = {
        {"GM4150", "600dpi", 600, 600}, {"GM4150", "1200dpi", 1200, 1200}, {"GC7350", "300dpi", 300, 300},
        {"GC7350", "600dpi", 600, 600}, {"GC7350", "1200dpi", 1200, 1200}, {"GC7350", "1200x600dpi", 1200, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszModel) + " Resolution=" + c.pszChoice);
        FilterInstall install;
        FilterRun run = RunFilterProgram(
            {"gdi-filter", "42", "alice", "sample", "1", std::string("Resolution=") + c.pszChoice, kDocument},
            install.QueueEnv(FilterInstall::SamplePpd(c.pszModel)));
        ASSERT_EQ(run.iStatus, 0) << run.stderrText;
        orvdecode::DecodedStream printed =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(run.stdoutBytes.data()), run.stdoutBytes.size());
        ASSERT_TRUE(printed.ok()) << printed.error->message;
        ASSERT_EQ(printed.pages.size(), 1u);
        const orvdecode::DecodedPage& page = printed.pages[0];
        ASSERT_TRUE(page.planes[0].has_value());

        const PageHeader header = HeaderOf(printed, page);
        EXPECT_EQ(header.xDpi, c.xDpi);
        EXPECT_EQ(header.yDpi, c.yDpi);
        // The raster and the sheet it lies on, in inches: upright, inside the A4 sheet.
        const double rasterWidth = static_cast<double>(page.width) / static_cast<double>(c.xDpi);
        const double rasterHeight = static_cast<double>(page.height) / static_cast<double>(c.yDpi);
        EXPECT_LT(rasterWidth, rasterHeight);
        EXPECT_LE(static_cast<double>(header.left + static_cast<long>(page.width)) / c.xDpi, kSheetWidth + 0.01);
        EXPECT_LE(static_cast<double>(header.top + static_cast<long>(page.height)) / c.yDpi, kSheetHeight + 0.01);
        EXPECT_GT(rasterWidth, kSheetWidth - 1.0);

        const PrintedSheet sheet(page, header);
        const Square square = FindSquare(sheet, c.xDpi);
        ASSERT_GE(square.top, 0) << "no square printed";
        const double tolerance = 0.02;  // inches: a few dots at 300 dpi
        EXPECT_NEAR(static_cast<double>(square.width) / c.xDpi, kSquareSide, tolerance);
        EXPECT_NEAR(static_cast<double>(square.height) / c.yDpi, kSquareSide, tolerance);
        EXPECT_NEAR(static_cast<double>(square.left) / c.xDpi, kSquareLeft, tolerance);
        EXPECT_NEAR(static_cast<double>(square.top) / c.yDpi, kSquareTop, tolerance);

        RenderedSheet rendered;
        ASSERT_TRUE(rendered.Render(install.root().path(), c.xDpi, c.yDpi));
        const Square expected = FindSquare(rendered, c.xDpi);
        EXPECT_NEAR(square.left, expected.left, c.xDpi / 100);
        EXPECT_NEAR(square.top, expected.top, c.yDpi / 100);
        EXPECT_GT(Correlation(Coverage(sheet, c.xDpi, c.yDpi), Coverage(rendered, c.xDpi, c.yDpi)), 0.95);
    }
}

}  // namespace
