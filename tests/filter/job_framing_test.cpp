// The job as the printer receives it from a whole stream: job header before the first page, pages,
// the end-of-job line with the sanitised title and the closing UEL; and the copy-set state that the
// renderer reads at every page.
#include "PipelineFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using filtertest::PpmPage;
using filtertest::RenderJob;
using filtertest::SettingsRecordBytes;
using filtertest::StreamFile;
using orvtest::StderrCapture;

namespace {

std::string Texts(const orvdecode::DecodedStream& out)
{
    std::string s;
    for (const orvdecode::StreamEvent& e : out.events) {
        if (e.kind == orvdecode::EventKind::Uel || e.kind == orvdecode::EventKind::PjlLine) {
            s += e.text + "|";
        }
    }
    return s;
}

class WholeJob : public ::testing::Test {
protected:
    int Run(const std::string& bytes)
    {
        StreamFile stream(m_job.dir(), bytes);
        StderrCapture err(m_job.dir() / "err.txt");
        int iResult = RunBackend(m_job.get(), stream.fd());
        m_log = err.Take();
        return iResult;
    }
    RenderJob m_job{"GM4150"};
    char m_title[32] = "Q\"4\x1b report";
    std::string m_log;
};

TEST_F(WholeJob, PagesAreFramedByTheJobHeaderAndTheEndOfJob)
{
    m_job->pszTitle = m_title;
    DRVDEVMODE settings = m_job->devmode;
    settings.dm.dmPaperSize = 9;
    std::string stream = SettingsRecordBytes(settings) + PpmPage(64, 80, {{0, 0, 8, 8}}) + "xyz" +
                         PpmPage(60, 90, {});  // groups of 3 bytes that are no record are dropped
    EXPECT_EQ(Run(stream), 0);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    EXPECT_EQ(out.pages.size(), 2u);
    std::string texts = Texts(out);
    EXPECT_EQ(texts.rfind("UEL|", 0), 0u) << texts;
    EXPECT_NE(texts.find("@PJL ENTER LANGUAGE=GDI|"), std::string::npos) << texts;
    // The renderer's job trailer (a UEL), the end-of-job line with quote and ESC made blanks, UEL.
    const std::string end = "UEL|@PJL EOJ=\"Q 4  report\"|UEL|";
    ASSERT_GE(texts.size(), end.size());
    EXPECT_EQ(texts.substr(texts.size() - end.size()), end) << texts;
    EXPECT_NE(m_log.find("Send Job Start"), std::string::npos);
    EXPECT_NE(m_log.find("Send Page 2"), std::string::npos);
}

TEST_F(WholeJob, JobWithoutTitleHasNoEndOfJobLine)
{
    EXPECT_EQ(Run(PpmPage(64, 80, {})), 0);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    std::string texts = Texts(out);
    EXPECT_EQ(texts.find("EOJ"), std::string::npos) << texts;
    EXPECT_EQ(texts.substr(texts.size() - 8), "UEL|UEL|") << texts;
}

TEST_F(WholeJob, StreamWithoutPagesWritesNothing)
{
    m_job->pszTitle = m_title;
    EXPECT_EQ(Run(SettingsRecordBytes(m_job->devmode)), 0);
    EXPECT_EQ(m_job.Output(), "");
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(m_job.Output(), "");
}

// A stream that breaks after a page has started the job: the printer gets the UEL, so it is not
// left inside the job, but no end-of-job line for a job that did not end.
TEST_F(WholeJob, BrokenStreamAfterAPageStillLeavesThePrinterOutsideTheJob)
{
    m_job->pszTitle = m_title;
    EXPECT_EQ(Run(PpmPage(64, 80, {}) + "P6\n64 80\n255\n" + std::string(100, '\0')), -1);
    orvdecode::DecodedStream out = m_job.Decode();
    ASSERT_TRUE(out.ok()) << out.error->message;
    EXPECT_EQ(out.pages.size(), 1u);
    std::string texts = Texts(out);
    EXPECT_EQ(texts.find("EOJ"), std::string::npos) << texts;
    EXPECT_EQ(texts.substr(texts.size() - 4), "UEL|") << texts;
    EXPECT_NE(m_log.find("Convert Bitmap Error!"), std::string::npos);
}

TEST_F(WholeJob, MissingColourTableStopsTheJobBeforeTheStreamIsRead)
{
    std::filesystem::remove(m_job.dir() / "root/usr/local/share/orvalen/printer/data/L_GM4150");
    EXPECT_EQ(Run(PpmPage(64, 80, {})), -1);
    EXPECT_EQ(m_job.Output(), "");
    EXPECT_NE(m_log.find("ERROR: (PID "), std::string::npos);
    EXPECT_NE(m_log.find("Cannot load ColorTable File 'L_GM4150'"), std::string::npos) << m_log;
    EXPECT_EQ(m_job->pRenderOptions, nullptr);
}

TEST(RendererSetup, ModelWithoutColourTableNameHasNoRenderer)
{
    RenderJob job("GM4150");
    char name[kColorTableRecordSize];
    ASSERT_EQ(GetColorTableName(job->pSpcData, name, 200), -1);
    EXPECT_STREQ(name, "GM4150");
    EXPECT_EQ(GetColorTableName(job->pSpcData, name, 201), 0);
    EXPECT_EQ(GetColorTableName(nullptr, name, 200), 0);
    EXPECT_EQ(InitRenderer(job.get()), -1);
    EXPECT_STREQ(job->pRenderOptions->szColorTableName, "L_GM4150");
}

// Page in set and the copy flag at every page: the flag (the printer makes the copies) is decided
// at the first page of each set only, so a change of the settings inside a set waits for the next.
TEST(CopySets, PagesCountWithinTheirSetAndTheCopyFlagChangesAtASetsStart)
{
    RenderJob job("GM4150");
    ASSERT_EQ(InitRenderer(job.get()), -1);
    DRVDEVMODE& dm = job->devmode;
    dm.priv.dmTotalPages = 3;
    dm.priv.dmCopiesByDriver = 1;
    dm.dm.dmCollate = 1;
    dm.dm.dmCopies = 1;
    struct Case {
        DWORD dwPageInSet;
        bool bPrinterCopies;
        SHORT sCopiesAfter;  // dmCopies set after this page
    } cases[] = {{1, true, 2}, {2, true, 2}, {3, true, 2}, {1, false, 1}, {2, false, 1}, {3, false, 1}, {1, true, 1}};
    int i = 0;
    for (const Case& c : cases) {
        ++i;
        ASSERT_EQ(SendPageStart(job.get()), -1) << "page " << i;
        EXPECT_EQ(job->pRenderOptions->dwPageInSet, c.dwPageInSet) << "page " << i;
        EXPECT_EQ((job->pRenderOptions->dwCopyFlags & 1) != 0, c.bPrinterCopies) << "page " << i;
        EXPECT_EQ(job->pRenderOptions->dwPagesPerSet, 3u);
        ASSERT_EQ(SendPageEnd(job.get()), -1);
        dm.dm.dmCopies = c.sCopiesAfter;
    }
    EXPECT_EQ(job->dwPageNumber, 7u);
    // Without a set size the page in set is the page number.
    dm.priv.dmTotalPages = 0;
    ASSERT_EQ(SendPageStart(job.get()), -1);
    EXPECT_EQ(job->pRenderOptions->dwPageInSet, 8u);
    SendPageEnd(job.get());
}

}  // namespace
