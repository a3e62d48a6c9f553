#include "PjlHeaderFixture.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using filtertest::OutputCapture;
using filtertest::TestJob;
using orvtest::StderrCapture;

namespace {

const char kVersionLineCrLf[] = "@PJL COMMENT DriverVersion=\"orvgdi 2.0.30 (build at Dec 16 2014 17:43:46)\"\r\n";

class PjlHeaderRun : public filtertest::PjlHeaderFixture {
protected:
    char m_title[64] = "Q\"1\x1b report for the year 2026";
    char m_system[32] = "TestOS 9.9 #1 SMP";
};

// Items 2, 3, 12, 550, 72, 61, 144, 161, 142, 1000 with CR LF line ends.
TEST_F(PjlHeaderRun, ModelItemListGivesItsLinesInOrderWithCommentsBeforeTheFirstIdAboveTen)
{
    m_job.LoadModel("filter-pjl-crlf");
    m_job->pszTitle = m_title;
    m_job->pszSystem = m_system;
    DRVDEVMODE& dm = m_job->devmode;
    dm.dm.dmOrientation = 2;
    dm.priv.dmFieldsExtra2 = DMX2_NUP | DMX2_DENSITY | DMX2_BOOKLET | DMX2_SCREEN;
    dm.priv.dmLayoutPrint = 1;
    dm.priv.dmNup = 4;
    dm.priv.dmDensity = 3;
    std::string expected = std::string() +
                           "@PJL COMMENT MODEL=\"Orvalen T\" NAME=\"GM-T\" LANG=\"ORVGDI\"\r\n"
                           "@PJL SET JOBATTR=\"@LANG=GDI\"\r\n" +
                           kVersionLineCrLf +
                           "@PJL COMMENT OSVersion=\"TestOS 9.9 #1 SMP\"\n"  // always a bare line feed
                           "@PJL JOB NAME=\"Q 1  report for the \"\r\n"      // quote and ESC made spaces, first 20
                           "@PJL SET ORIENTATION=LANDSCAPE\r\n"
                           "@PJL SET NUP=4\r\n"
                           "@PJL SET DENSITY=3\r\nSET ECONOMODE=OFF\r\n"  // the escape becomes the line end
                           "@PJL SET TIMEOUT=90\r\n"
                           "@PJL SET PAGEPROTECT=AUTO\r\n";
    EXPECT_EQ(Run(), expected);
    // Item 61 has a value without numbers (no resolution list) and a "%s" format: refused, logged.
    EXPECT_NE(m_log.find("DEBUG: "), std::string::npos) << m_log;
    EXPECT_NE(m_log.find("SET RESOLUTION=%s"), std::string::npos) << m_log;
}

TEST_F(PjlHeaderRun, ListOfIdsUpToTenHasNoCommentsAndBareLineFeeds)
{
    m_job.LoadModel("filter-pjl-lf");
    m_job->pszSystem = m_system;
    // Item 4: an empty first text and the version cut to 3 characters; item 10 is no known id.
    EXPECT_EQ(Run(), "@PJL SET JOBATTR=\"@LANG=GDI\"\n@PJL COMMENT DRIVER=\"2.0\"\n");
}

TEST_F(PjlHeaderRun, ModelWithoutPjlItemsWritesNothing)
{
    m_job.LoadModel("filter-no-secure");
    EXPECT_EQ(Run(), "");
}

TEST(PjlAffixes, PrefixAndLineEndFollowTheModelFlag)
{
    struct Case {
        const char* pszModel;
        const char* pszLineEnd;
    } cases[] = {{"filter-pjl-crlf", "\r\n"}, {"filter-pjl-lf", "\n"}, {"filter-no-secure", "\n"}};
    for (const Case& c : cases) {
        TestJob job;
        job.LoadModel(c.pszModel);
        tagPJLAFFIXES affixes;
        InitPjlAffixes(job.get(), &affixes);
        EXPECT_STREQ(affixes.szPrefix, "@PJL ");
        EXPECT_STREQ(affixes.szLineEnd, c.pszLineEnd) << c.pszModel;
    }
}

TEST(PjlFormat, ConversionsMustFitTheValue)
{
    struct Case {
        const char* pszFormat;
        WORD wType;
        bool bFits;
    } cases[] = {
        {"SET TIMEOUT=90", PJLTYPE_NONE, true},
        {"SET RATE=100%%", PJLTYPE_NONE, true},
        {"SET X=%d", PJLTYPE_NONE, false},
        {"JOB NAME=\"%s\"", PJLTYPE_TEXT1, true},
        {"JOB NAME=\"%-20.10s\"", PJLTYPE_TEXT1, true},
        {"JOB NAME=\"%d\"", PJLTYPE_TEXT1, false},
        {"A=%s B=%s", PJLTYPE_TEXT1, false},
        {"A=%s B=%s C=%s", PJLTYPE_TEXT3, true},
        {"M=%s", PJLTYPE_TEXT3, true},  // fewer conversions than texts are harmless
        {"SET COPIES=%d", PJLTYPE_NUMBER1, true},
        {"SET COPIES=%s", PJLTYPE_NUMBER1, false},
        {"SET COPIES=%n", PJLTYPE_NUMBER1, false},
        {"SET COPIES=%*d", PJLTYPE_NUMBER2, false},
        {"SET COPIES=%1$d", PJLTYPE_NUMBER1, false},
        {"SET COPIES=%ld", PJLTYPE_NUMBER1, false},
        {"SET RES=%dx%d", PJLTYPE_NUMBER2, true},
        {"D=%d/%02d/%d %d:%d:%d", PJLTYPE_NUMBER6, true},
        {"D=%d %d %d %d %d %d %d", PJLTYPE_NUMBER6, false},
        {"X=%04X %u %o %c %i", PJLTYPE_NUMBER5, true},
        {"TRAIL=%", PJLTYPE_NUMBER1, false},
        {"T=%d", 10, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPjlFormatForType(c.pszFormat, c.wType), c.bFits) << c.pszFormat;
    }
}

TEST(PjlFormat, MisfitFormatWritesNothing)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    StderrCapture err(dir / "err.txt");
    tagPJLAFFIXES affixes = {"@PJL ", "\n"};
    tagPJLVALUE value{};
    value.sHasValue = -1;
    value.wType = PJLTYPE_NUMBER1;
    value.awNumbers[0] = 7;
    WritePjlValue(job.get(), &affixes, "SET NAME=%s", &value);
    WritePjlValue(job.get(), &affixes, "SET N=%d", &value);
    value.sHasValue = 0;
    WritePjlValue(job.get(), &affixes, "SET M=%d", &value);
    std::string log = err.Take();
    EXPECT_EQ(out.Bytes(), "@PJL SET N=7\n");
    EXPECT_NE(log.find("DEBUG: "), std::string::npos);
}

TEST(PjlFormat, EmptyFormattedTextWritesNoLineAtAll)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    tagPJLAFFIXES affixes = {"@PJL ", "\r\n"};
    tagPJLVALUE value{};
    value.sHasValue = -1;
    value.wType = PJLTYPE_TEXT1;
    WritePjlValue(job.get(), &affixes, "%s", &value);
    EXPECT_EQ(out.Bytes(), "");
}

// Format records built by hand from the record layout: item id, key, 56 text bytes.
tagPJLFORMAT Format(DWORD dwId, DWORD dwKey, const std::string& text)
{
    tagPJLFORMAT f{};
    f.dwItemId = dwId;
    f.dwValueKey = dwKey;
    std::memcpy(f.szFormat, text.data(), text.size() < sizeof f.szFormat ? text.size() : sizeof f.szFormat);
    return f;
}

TEST(PjlFormat, FirstRecordOfItemAndKeyDecides)
{
    const std::string full(56, 'F');  // fills the field: no terminator in the record
    const tagPJLFORMAT formats[] = {Format(72, 0, "PORTRAIT"), Format(72, 1, "LANDSCAPE"), Format(72, 1, "SECOND"),
                                    Format(142, 0, ""),        Format(142, 0, "BOOKLET"),  Format(9, 0, full)};
    struct Case {
        DWORD dwId;
        DWORD dwKey;
        const char* pszExpected;
    } cases[] = {{72, 0, "PORTRAIT"}, {72, 1, "LANDSCAPE"}, {72, 2, nullptr},
                 {142, 0, nullptr},   {7, 0, nullptr},      {9, 0, full.c_str()}};
    for (const Case& c : cases) {
        char szOut[kPjlFormatLength + 1];
        const char* psz = FindPjlFormat(formats, 6, c.dwId, c.dwKey, szOut);
        if (c.pszExpected == nullptr) {
            EXPECT_EQ(psz, nullptr) << c.dwId << "/" << c.dwKey;
        } else {
            EXPECT_STREQ(psz, c.pszExpected) << c.dwId << "/" << c.dwKey;
        }
    }
}

TEST(PjlFormat, LineEndEscapesAreExpandedWithinTheBuffer)
{
    struct Case {
        const char* pszFormat;
        const char* pszLineEnd;
        size_t cbOut;
        int iResult;
        const char* pszOut;
    } cases[] = {
        {"SET A=1\\nSET B=2", "\r\n", 64, -1, "SET A=1\r\nSET B=2"},
        {"SET A=1\\nSET B=2", "\n", 64, -1, "SET A=1\nSET B=2"},
        {"SET A=1", "\r\n", 64, 0, "untouched"},
        {"ABCD\\nE", "\r\n", 6, -1, "ABCDE"},     // room 5: the line end no longer fits and is dropped
        {"ABC\\nDEF", "\r\n", 6, -1, "ABC\r\n"},  // room 5: the line end fits, the rest does not
        {"A\\\\nB", "\n", 64, -1, "A\\\nB"},
    };
    for (const Case& c : cases) {
        char szOut[64] = "untouched";
        EXPECT_EQ(ExpandLineEnds(c.pszFormat, szOut, c.cbOut, c.pszLineEnd), c.iResult) << c.pszFormat;
        EXPECT_STREQ(szOut, c.pszOut) << c.pszFormat;
    }
}

}  // namespace
