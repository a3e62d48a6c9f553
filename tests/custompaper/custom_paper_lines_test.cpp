// The four lines of a custom paper as written, and one page-size line read back as a paper: the
// written form byte for byte, the ids, names, units and numbers the reader takes, and every kind
// of line that is no custom paper.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "custompaper/CustomPaperTestSupport.h"
#include "gui/custompaper/CustomPaperLines.h"

namespace {

using orv::PaperLine;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using PaperPtr = std::unique_ptr<tagCUSTOMPAPER, FreeDeleter>;

PaperPtr Parse(const std::string& line)
{
    return PaperPtr(ParseCustomPageSizeLine(line.c_str()));
}

std::string PageSizeLine(const std::string& choice, const std::string& code)
{
    return "*PageSize " + choice + ": \"" + code + "\"";
}

struct FormatCase {
    const char* what;
    PaperLine kind;
    const char* keyword;
    const char* name;
    int id;
    int unit;
    double width;
    double length;
    const char* expected;
};

const FormatCase kFormatCases[] = {
    {"millimetre page size", PaperLine::PageSize, "userpaper457", "Label", 457, 1, 100.0, 150.0,
     "*PageSize userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n"},
    {"millimetre page region", PaperLine::PageRegion, "userpaper457", "Label", 457, 1, 100.0, 150.0,
     "*PageRegion userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n"},
    {"imageable area, 12 points off every side", PaperLine::ImageableArea, "userpaper457", "Label", 457, 1, 100.0,
     150.0, "*ImageableArea userpaper457/Label 100.0 x 150.0 mm: \"12 12 271 413\"\n"},
    {"paper dimension in inches", PaperLine::PaperDimension, "userpaper457", "Label", 457, 1, 100.0, 150.0,
     "*PaperDimension userpaper457/Label 3.94 x 5.91 in: \"283 425\"\n"},
    {"inch page size", PaperLine::PageSize, "userpaper458", "Photo 4x6", 458, 0, 101.6, 152.4,
     "*PageSize userpaper458/Photo 4x6 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n"},
    {"inch page region", PaperLine::PageRegion, "userpaper458", "Photo 4x6", 458, 0, 101.6, 152.4,
     "*PageRegion userpaper458/Photo 4x6 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n"},
    {"an inch paper's imageable area stays in millimetres", PaperLine::ImageableArea, "userpaper458", "Photo 4x6", 458,
     0, 101.6, 152.4, "*ImageableArea userpaper458/Photo 4x6 101.6 x 152.4 mm: \"12 12 276 420\"\n"},
    // 297 mm is 841.9 points: rounded half up, not cut, to 842.
    {"points rounded half up", PaperLine::PageSize, "userpaper600", "A4 again", 600, 1, 210.0, 297.0,
     "*PageSize userpaper600/A4 again 210.0 x 297.0 mm: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice %% ID=600\"\n"},
    {"inches rounded to hundredths", PaperLine::PaperDimension, "userpaper600", "A4 again", 600, 1, 210.0, 297.0,
     "*PaperDimension userpaper600/A4 again 8.27 x 11.69 in: \"595 842\"\n"},
    {"millimetres rounded to tenths", PaperLine::ImageableArea, "userpaper32767", "Odd", 32767, 1, 99.96, 120.04,
     "*ImageableArea userpaper32767/Odd 100.0 x 120.0 mm: \"12 12 271 328\"\n"},
};

TEST(CustomPaperLines, AreWrittenInTheFourFormatsByteForByte)
{
    for (const FormatCase& c : kFormatCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, orv::FormatPaperLine(c.kind, c.keyword, c.name, c.id, c.unit, c.width, c.length));
    }
}

TEST(CustomPaperLines, NumbersIgnoreTheUsersDecimalComma)
{
    orvtest::DecimalCommaLocale comma;
    if (!comma.Active()) {
        GTEST_SKIP() << "the decimal-comma locale was not built";
    }
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    ASSERT_STREQ("1,5", check) << "the locale in force does not write a decimal comma";
    for (const FormatCase& c : kFormatCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, orv::FormatPaperLine(c.kind, c.keyword, c.name, c.id, c.unit, c.width, c.length));
    }
    const PaperPtr paper = Parse(orvtest::kLabelLines[0]);
    ASSERT_TRUE(paper);
    EXPECT_DOUBLE_EQ(100.0, paper->dWidth);
    EXPECT_DOUBLE_EQ(150.0, paper->dLength);
    const PaperPtr inches = Parse(PageSizeLine("userpaper458/Photo 4.25 x 6.50 in", "%% ID=458"));
    ASSERT_TRUE(inches);
    EXPECT_DOUBLE_EQ(4.25 * 25.4, inches->dWidth);
    EXPECT_DOUBLE_EQ(6.5 * 25.4, inches->dLength);
}

struct ReadCase {
    const char* what;
    std::string line;
    const char* keyword;  // nullptr: not a custom paper
    const char* name = nullptr;
    int id = 0;
    int unit = 0;
    double width = 0.0;
    double length = 0.0;
};

const std::string kCode457 = "<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457";

std::vector<ReadCase> ReadCases()
{
    static const std::string long127(127, 'k');
    static const std::string long128(128, 'k');
    static const std::string name127(127, 'n');
    static const std::string name128(128, 'n');
    return {
        {"a written millimetre paper", orvtest::kLabelLines[0], "userpaper457", "Label", 457, 1, 100.0, 150.0},
        {"its page-region line reads the same", orvtest::kLabelLines[1], "userpaper457", "Label", 457, 1, 100.0, 150.0},
        {"an inch paper is read in millimetres",
         PageSizeLine("userpaper458/Photo 4x6 4.00 x 6.00 in", "<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458"),
         "userpaper458", "Photo 4x6", 458, 0, 101.6, 152.4},
        {"a name with blanks, doubled ones too", PageSizeLine("userpaper459/My  big paper 210.0 x 400.0 mm", kCode457),
         "userpaper459", "My  big paper", 457, 1, 210.0, 400.0},
        {"the width is read after a name ending in digits", PageSizeLine("userpaper460/Size 5 120.5 x 180.0 mm", kCode457),
         "userpaper460", "Size 5", 457, 1, 120.5, 180.0},
        {"an empty name", PageSizeLine("userpaper461/ 100.0 x 150.0 mm", kCode457), "userpaper461", "", 457, 1, 100.0, 150.0},
        {"a line ending in a carriage return", std::string(orvtest::kLabelLines[0]).insert(std::strlen(orvtest::kLabelLines[0]) - 1, "\r"),
         "userpaper457", "Label", 457, 1, 100.0, 150.0},
        {"without a page-size code the name ends at the next blank",
         PageSizeLine("userpaper470/Card 90.0 x 55.0 mm", "%% ID=470"), "userpaper470", "Card", 470, 1, 90.0, 55.0},
        {"the id marker in any letter case", PageSizeLine("userpaper471/Card 90.0 x 55.0 mm", "%% id=471"),
         "userpaper471", "Card", 471, 1, 90.0, 55.0},
        {"the largest id the paper field holds", PageSizeLine("userpaper32767/Card 90.0 x 55.0 mm", "%% ID=32767"),
         "userpaper32767", "Card", 32767, 1, 90.0, 55.0},
        {"a keyword of 127 bytes", PageSizeLine(long127 + "/Card 90.0 x 55.0 mm", kCode457), long127.c_str(), "Card",
         457, 1, 90.0, 55.0},
        {"a name of 127 bytes", PageSizeLine("k/" + name127 + " 90.0 x 55.0 mm", kCode457), "k", name127.c_str(), 457,
         1, 90.0, 55.0},
        // No custom paper:
        {"a standard paper, id 9", PageSizeLine("A4/A4 (210 x 297 mm)", "<</PageSize[595 842]/ImagingBBox null>>setpagedevice %% ID=9"),
         nullptr},
        {"id 456, the last of the driver's own", PageSizeLine("userpaper456/Card 90.0 x 55.0 mm", "%% ID=456"), nullptr},
        {"id 32768 does not fit the paper field", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "%% ID=32768"), nullptr},
        {"an id of many digits", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "%% ID=99999999999999999999457"), nullptr},
        {"a negative id", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "%% ID=-500"), nullptr},
        {"text between the marker and the digits", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "%% ID=x500"), nullptr},
        {"the marker at the end", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "%% ID="), nullptr},
        {"no id at all", PageSizeLine("userpaper1/Card 90.0 x 55.0 mm", "<</PageSize[255 156]>>setpagedevice"), nullptr},
        {"no \"/\"", PageSizeLine("userpaper500 90.0 x 55.0 mm", "%% ID=500"), nullptr},
        {"no \"x\"", PageSizeLine("userpaper500/Card 90.0 by 55.0 mm", "%% ID=500"), nullptr},
        {"no unit letter", PageSizeLine("userpaper500/Card 90.0 x 55.0", kCode457), nullptr},
        {"an unknown unit", PageSizeLine("userpaper500/Card 90.0 x 55.0 cm", kCode457), nullptr},
        {"fewer than five blanks before the code", PageSizeLine("userpaper500/Card 90.0x55.0 mm", kCode457), nullptr},
        {"a decimal comma", PageSizeLine("userpaper500/Card 90,5 x 55,0 mm", kCode457), nullptr},
        {"a zero width", PageSizeLine("userpaper500/Card 0.0 x 55.0 mm", kCode457), nullptr},
        {"an empty keyword", PageSizeLine("/Card 90.0 x 55.0 mm", kCode457), nullptr},
        {"a keyword of 128 bytes", PageSizeLine(long128 + "/Card 90.0 x 55.0 mm", kCode457), nullptr},
        {"a name of 128 bytes", PageSizeLine("k/" + name128 + " 90.0 x 55.0 mm", kCode457), nullptr},
        {"a line with no blank", "*PageSize", nullptr},
        {"an empty line", "", nullptr},
    };
}

TEST(CustomPaperLines, AreReadAsTheWrittenFormSaysAndAnythingElseIsNoPaper)
{
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.what);
        const PaperPtr paper = Parse(c.line);
        if (c.keyword == nullptr) {
            EXPECT_FALSE(paper) << c.line;
            continue;
        }
        ASSERT_TRUE(paper) << c.line;
        EXPECT_STREQ(c.keyword, paper->szKeyword);
        EXPECT_STREQ(c.name, paper->szName);
        EXPECT_EQ(c.id, paper->nID);
        EXPECT_EQ(c.unit, paper->nUnit);
        EXPECT_NEAR(c.width, paper->dWidth, 1e-9);
        EXPECT_NEAR(c.length, paper->dLength, 1e-9);
    }
    EXPECT_EQ(nullptr, ParseCustomPageSizeLine(nullptr));
}

// Every line the writer makes reads back as the paper it was made from.
TEST(CustomPaperLines, WrittenChoicesReadBackAsTheirPaper)
{
    for (const FormatCase& c : kFormatCases) {
        if (c.kind != PaperLine::PageSize && c.kind != PaperLine::PageRegion) {
            continue;
        }
        SCOPED_TRACE(c.what);
        const PaperPtr paper =
            Parse(orv::FormatPaperLine(c.kind, c.keyword, c.name, c.id, c.unit, c.width, c.length));
        ASSERT_TRUE(paper);
        EXPECT_STREQ(c.keyword, paper->szKeyword);
        EXPECT_STREQ(c.name, paper->szName);
        EXPECT_EQ(c.id, paper->nID);
        EXPECT_EQ(c.unit == 0 ? 0 : 1, paper->nUnit);
        // As precise as the written decimals.
        const double tolerance = c.unit == 0 ? 0.005 * 25.4 : 0.05;
        EXPECT_NEAR(c.width, paper->dWidth, tolerance);
        EXPECT_NEAR(c.length, paper->dLength, tolerance);
    }
}

// A line cut anywhere before its id is complete is no paper; cut after it, it is the paper.
TEST(CustomPaperLines, EveryCutOfAWrittenLineIsNoPaperUntilItsIdIsWhole)
{
    const std::string line = orvtest::kLabelLines[0];
    const size_t idEnd = line.find("457\"") + 3;
    for (size_t length = 0; length <= line.size(); ++length) {
        SCOPED_TRACE(length);
        tagCUSTOMPAPER paper;
        const bool read = orv::ParseCustomPaperLine(std::string_view(line).substr(0, length), &paper);
        EXPECT_EQ(length >= idEnd, read);
        if (read) {
            EXPECT_EQ(457, paper.nID);
            EXPECT_STREQ("Label", paper.szName);
        }
    }
}

// Lines from a hostile PPD: huge, full of separators, with NUL bytes and random damage. None may
// read outside the line (the sanitizer build checks) and whatever is read stays in its bounds.
TEST(CustomPaperLines, HostileLinesAreReadWithinTheirBounds)
{
    std::vector<std::string> lines = {
        std::string(1 << 20, 'x'),
        std::string(1 << 20, ' '),
        std::string(1 << 20, '/'),
        "*PageSize " + std::string(1 << 16, 'k') + "/" + std::string(1 << 16, 'n') + " 1.0 x 1.0 mm: \"" + kCode457 + "\"",
        "*PageSize k/" + std::string(1 << 16, '9') + " x " + std::string(1 << 16, '9') + " mm: \"" + kCode457 + "\"",
        "*PageSize k/n 1." + std::string(400, '0') + "1 x 1 mm: \"%% ID=457\"",
        "*PageSize k/n 1 x 1 m",
        "*PageSize k/n 1 x 1 ",
        "*PageSize k/n 1 x",
        "*PageSize k/n <</PageSize",
        "<</PageSize %% ID=457",
        "x <</PageSize%% ID=457 /",
        std::string("*PageSize k/na\0me 1.0 x 1.0 mm: \"", 32) + kCode457 + "\"",
    };
    std::mt19937 random(27);
    const std::string base = orvtest::kLabelLines[0];
    const char hostile[] = {'\0', ' ', '/', 'x', '<', '%', '=', '-', '9', '.', '\r', '\n', '\t', 'm', 'i'};
    for (int i = 0; i < 4000; ++i) {
        std::string damaged = base;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            damaged[random() % damaged.size()] = hostile[random() % sizeof hostile];
        }
        lines.push_back(damaged);
    }
    for (const std::string& line : lines) {
        tagCUSTOMPAPER paper;
        if (!orv::ParseCustomPaperLine(line, &paper)) {
            continue;
        }
        EXPECT_LT(std::strlen(paper.szKeyword), sizeof paper.szKeyword);
        EXPECT_GT(std::strlen(paper.szKeyword), 0u);
        EXPECT_LT(std::strlen(paper.szName), sizeof paper.szName);
        EXPECT_GE(paper.nID, 457);
        EXPECT_LE(paper.nID, 32767);
        EXPECT_TRUE(paper.dWidth > 0.0 && paper.dWidth <= orv::kMaxPaperMillimetres);
        EXPECT_TRUE(paper.dLength > 0.0 && paper.dLength <= orv::kMaxPaperMillimetres);
    }
}

}  // namespace
