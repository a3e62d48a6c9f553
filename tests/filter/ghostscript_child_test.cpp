// The Ghostscript child with the real libgs: how libgs results are read, what reaches the
// interpreter, the job's resolution, and whole jobs rendered by a forked child through a pipe into
// the renderer, decoded from the printer stream.
#include "PipelineFixture.h"

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "filter/child/GhostscriptChild.h"
#include "filter/child/GsErrors.h"
#include "filter/stream/StreamReader.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

using filtertest::ReadFileBytes;
using filtertest::RenderJob;
using filtertest::TestJob;
using orvtest::StderrCapture;

namespace {

TEST(GsErrors, PostScriptErrorsAndFatalCodesStopTheJobOthersLetItGoOn)
{
    struct Case {
        int iCode;
        int iResult;
        const char* pszLog;  // nullptr: nothing logged
    } cases[] = {
        {0, 1, nullptr},
        {7, 1, nullptr},
        {-101, 1, nullptr},  // quit
        {-106, 1, nullptr},  // the interpreter wants more input
        {-199, 1, nullptr},
        {-100, 0, "GSLIB fatal internal error\n"},
        {-104, 0, "GSLIB stack overflow\n"},
        {-1, 0, "GSLIB -1, unknownerror\n"},
        {-21, 0, "GSLIB -21, undefined\n"},
        {-25, 0, "GSLIB -25, VMerror\n"},
        {-30, 0, "GSLIB -30, invalidid\n"},
        {-31, 0, "GSLIB -31, unknown error code\n"},
        {-99, 0, "GSLIB -99, unknown error code\n"},
    };
    orvtest::ScratchDir dir;
    for (const Case& c : cases) {
        StderrCapture quiet(dir / "quiet.txt");
        EXPECT_EQ(CheckGsError(c.iCode, false), c.iResult) << c.iCode;
        EXPECT_EQ(quiet.Take(), "") << c.iCode;
        StderrCapture err(dir / "err.txt");
        EXPECT_EQ(CheckGsError(c.iCode, true), c.iResult) << c.iCode;
        std::string log = err.Take();
        if (c.pszLog == nullptr) {
            EXPECT_EQ(log, "") << c.iCode;
        } else {
            EXPECT_EQ(log.rfind("ERROR: (PID ", 0), 0u) << log;
            EXPECT_NE(log.find(c.pszLog), std::string::npos) << log;
        }
    }
}

TEST(GsCallbacks, InterpreterNeverReadsTheProcessInputAndItsTextIsDropped)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "job bytes\n", 10), 10);
    close(fds[1]);
    int saved = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    char buf[32];
    EXPECT_EQ(gs_stdin(nullptr, buf, sizeof buf), 0);
    char rest[32] = {};
    EXPECT_EQ(read(STDIN_FILENO, rest, sizeof rest), 10);  // still all there for the job's reader
    dup2(saved, STDIN_FILENO);
    close(saved);
    close(fds[0]);
    EXPECT_EQ(gs_stdout(nullptr, "abc", 3), 3);
    EXPECT_EQ(gs_stderr(nullptr, "Error: /undefined", 17), 17);
}

// A job context with libgs bound, whose interpreter writes its pages to a scratch file.
class GsJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(LoadGhostscriptLibrary(&m_job->gs), 0);
        m_job->pszDevice = "ppmraw";
        m_job->devmode.dm.dmPrintQuality = 144;
        m_job->devmode.dm.dmYResolution = 72;
    }
    void TearDown() override
    {
        EndGhostscript(m_job.get());
        UnloadGhostscriptLibrary(&m_job->gs);
    }
    // Standard output pointed at the page file while the interpreter runs.
    void RedirectPages()
    {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        int fd = open((m_dir / "pages.ppm").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
    std::string Pages()
    {
        EndGhostscript(m_job.get());
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        return ReadFileBytes(m_dir / "pages.ppm");
    }

    orvtest::ScratchDir m_dir;
    TestJob m_job;
    int m_saved = -1;
};

TEST_F(GsJob, PagesAreRenderedAtTheJobsResolution)
{
    RedirectPages();
    ASSERT_EQ(StartGhostscript(m_job.get()), -1);
    const char* pszJob = "%!PS\n<< /PageSize [100 50] >> setpagedevice showpage\n";
    EXPECT_EQ(FeedGhostscript(m_job.get(), pszJob, std::strlen(pszJob)), -1);
    EXPECT_EQ(FinishGhostscriptInput(m_job.get()), -1);
    std::string pages = Pages();
    // 100 x 50 points at 144 x 72 dpi: 200 x 50 pixels.
    ASSERT_GT(pages.size(), 3u);
    EXPECT_EQ(pages.substr(0, 3), "P6\n");
    filtertest::StreamFile stream(m_dir, pages.substr(3));
    tagPAGEBITMAPINFO info{};
    ASSERT_EQ(ParsePnmHeader(stream.fd(), &info), 1);
    EXPECT_EQ(info.lWidth, 200);
    EXPECT_EQ(info.lHeight, 50);
}

// doc_printf takes texts of any length whole; the page is drawn only when its last line arrived.
TEST_F(GsJob, DocPrintfFeedsTextsOfAnyLengthWhole)
{
    for (size_t length : {size_t(1023), size_t(1024), size_t(5000)}) {
        const std::string head = "%!PS\n<< /PageSize [8 8] >> setpagedevice\n%";
        const std::string tail = "\n0 0 4 4 rectfill showpage\n";
        std::string text = head + std::string(length - head.size() - tail.size(), 'x') + tail;
        ASSERT_EQ(text.size(), length);
        RedirectPages();
        ASSERT_EQ(StartGhostscript(m_job.get()), -1);
        EXPECT_EQ(doc_printf(m_job.get(), "%s", text.c_str()), -1) << length;
        EXPECT_EQ(FinishGhostscriptInput(m_job.get()), -1) << length;
        std::string pages = Pages();
        EXPECT_EQ(pages.rfind("P6\n", 0), 0u) << length;
        EXPECT_NE(pages.find(std::string(3, '\0')), std::string::npos) << "no ink for " << length;
    }
}

TEST_F(GsJob, PostScriptErrorStopsFeedingAndFinishing)
{
    RedirectPages();
    ASSERT_EQ(StartGhostscript(m_job.get()), -1);
    StderrCapture err(m_dir / "err.txt");
    const char* pszJob = "%!PS\nnosuchoperator\n";
    EXPECT_EQ(FeedGhostscript(m_job.get(), pszJob, std::strlen(pszJob)), 0);
    EXPECT_EQ(FeedGhostscriptChar(m_job.get(), '\n'), 0);
    EXPECT_EQ(FinishGhostscriptInput(m_job.get()), 0);
    std::string log = err.Take();
    EXPECT_NE(log.find("GSLIB -21, undefined"), std::string::npos) << log;
    EXPECT_EQ(log.find("GSLIB", log.find("undefined")), std::string::npos) << "reported once: " << log;
    EXPECT_EQ(Pages(), "");
}

// The child's body on inputs it must refuse, and on a job it renders.
class ChildJob : public GsJob {
protected:
    void SetUp() override
    {
        GsJob::SetUp();
        ASSERT_EQ(LoadCupsLibrary(&m_job->cups), 0);
    }
    void TearDown() override
    {
        if (m_job->input != nullptr) {
            m_job->cups.cupsFileClose(m_job->input);
        }
        m_job->input = nullptr;
        UnloadCupsLibrary(&m_job->cups);
        GsJob::TearDown();
    }
    int Run(const std::string& input, std::string* pLog)
    {
        std::string path = m_dir.WriteFile("job.ps", input);
        m_job->input = m_job->cups.cupsFileOpen(path.c_str(), "r");
        EXPECT_NE(m_job->input, nullptr);
        RedirectPages();
        StderrCapture err(m_dir / "child-err.txt");
        int iResult = RunGhostscriptJob(m_job.get());
        *pLog = err.Take();
        m_job->cups.cupsFileClose(m_job->input);
        m_job->input = nullptr;
        return iResult;
    }
};

TEST_F(ChildJob, RefusesInputThatIsNotPostScript)
{
    struct Case {
        std::string input;
        const char* pszLog;
    } cases[] = {
        {"", "Empty print file!\n"},
        {"%PDF-1.7\n", "Unknow file content!\n"},
        {"%!PS-Adob", "Unknow file content!\n"},
        {"hello\n%!PS-Adobe-3.0\n", "Unknow file content!\n"},
    };
    for (const Case& c : cases) {
        std::string log;
        EXPECT_EQ(Run(c.input, &log), -1) << c.input;
        EXPECT_NE(log.find(std::string("ERROR: (PID ")), std::string::npos) << log;
        EXPECT_NE(log.find(c.pszLog), std::string::npos) << log;
        EXPECT_EQ(Pages(), "") << c.input;
    }
}

TEST_F(ChildJob, FeedsTheWholeJobLineByLine)
{
    std::string job = "%!PS-Adobe-3.0\n<< /PageSize [20 10] >> setpagedevice\n";
    // A line longer than the line buffer arrives in pieces and still reaches the interpreter whole.
    job += "%" + std::string(3 * kJobLineSize, 'x') + "\n";
    job += "showpage\r\nshowpage\n";
    std::string log;
    EXPECT_EQ(Run(job, &log), 0) << log;
    std::string pages = Pages();
    size_t first = pages.find("P6\n");
    ASSERT_EQ(first, 0u);
    EXPECT_NE(pages.find("P6\n", 1), std::string::npos) << "two pages";

    std::string broken;
    EXPECT_EQ(Run("%!PS-Adobe-3.0\n1 0 div\nshowpage\n", &broken), 1);
    EXPECT_NE(broken.find("GSLIB -23, undefinedresult"), std::string::npos) << broken;
    EXPECT_EQ(Pages(), "");
}

}  // namespace
