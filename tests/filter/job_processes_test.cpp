// Whole jobs through both processes: a forked child renders sample PostScript with the real libgs
// into the pipe, the parent prints it with the real renderer, and the printer-stream decoder reads
// the job.
#include "PipelineFixture.h"

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "filter/job/JobProcesses.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <regex>
#include <string>

using filtertest::RenderJob;
using orvtest::StderrCapture;

namespace {

const std::string kSamples = ORV_FILTER_SAMPLE_DIR;

// A parent job with libgs and libcups bound and the sample document as its input.
class ProcessJob {
public:
    ProcessJob(const std::string& model, const std::string& document, SHORT sPaper) : m_job(model)
    {
        EXPECT_EQ(LoadGhostscriptLibrary(&m_job->gs), 0);
        EXPECT_EQ(LoadCupsLibrary(&m_job->cups), 0);
        m_job->pszDevice = "ppmraw";
        m_job->devmode.dm.dmPaperSize = sPaper;
        if (m_job->cups.cupsFileOpen != nullptr) {
            m_job->input = m_job->cups.cupsFileOpen((kSamples + document).c_str(), "r");
        }
        EXPECT_NE(m_job->input, nullptr) << document;
    }
    ~ProcessJob()
    {
        if (m_job->input != nullptr) {
            m_job->cups.cupsFileClose(m_job->input);
        }
        UnloadCupsLibrary(&m_job->cups);
        UnloadGhostscriptLibrary(&m_job->gs);
    }
    RenderJob& job() { return m_job; }
    int Run()
    {
        StderrCapture err(m_job.dir() / "err.txt");
        int iResult = RunJobProcesses(m_job.get());
        m_log = err.Take();
        return iResult;
    }
    const std::string& log() const { return m_log; }

private:
    RenderJob m_job;
    std::string m_log;
};

TEST(JobProcesses, SampleDocumentsPrintWithTheModelsPageGeometry)
{
    struct Case {
        const char* pszModel;
        const char* pszDocument;
        SHORT sPaper;
        SHORT sColor;  // PRIVDM.dmColor: 1 monochrome
        size_t nPages;
        unsigned width, height;  // printable area, width down to the band multiple
        SHORT sOrientation;
    } cases[] = {
        {"GM4150", "one-page-a4.ps", 9, 1, 1, 4736, 6816, 1},
        {"GM4150", "two-pages-letter.ps", 1, 1, 2, 4896, 6400, 1},
        {"GM4150", "landscape-a4.ps", 9, 1, 1, 4736, 6816, 2},
        {"GC7350", "colour-a4.ps", 9, 2, 1, 4736, 6816, 1},
    };
    for (const Case& c : cases) {
        ProcessJob run(c.pszModel, c.pszDocument, c.sPaper);
        run.job()->devmode.priv.dmColor = c.sColor;
        char title[] = "sample";
        run.job()->pszTitle = title;
        ASSERT_EQ(InitRenderer(run.job().get()), -1);
        FreeRenderer(run.job().get());  // the parent makes its own
        EXPECT_EQ(run.Run(), -1) << c.pszDocument << "\n" << run.log();
        EXPECT_EQ(run.job()->devmode.dm.dmOrientation, c.sOrientation) << c.pszDocument;
        orvdecode::DecodedStream out = run.job().Decode();
        ASSERT_TRUE(out.ok()) << c.pszDocument << ": " << out.error->message;
        ASSERT_EQ(out.pages.size(), c.nPages) << c.pszDocument;
        for (const orvdecode::DecodedPage& page : out.pages) {
            EXPECT_EQ(page.width, c.width) << c.pszDocument;
            EXPECT_EQ(page.height, c.height) << c.pszDocument;
            EXPECT_EQ(page.IsColour(), c.sColor != 1) << c.pszDocument;
        }
        ASSERT_FALSE(out.events.empty());
        EXPECT_EQ(out.events.back().kind, orvdecode::EventKind::Uel);
    }
}

// A connected pair of sockets in place of the pipe: a channel whose size cannot be raised to the 1 MB
// the parent asks for, as a system that refuses the size leaves the pipe at its own.
int SocketPairChannel(int fds[2])
{
    int iResult = socketpair(AF_UNIX, SOCK_STREAM, 0, fds);
    if (iResult == 0) {
        EXPECT_EQ(fcntl(fds[0], F_SETPIPE_SZ, 1 << 20), -1) << "the socket takes no pipe size";
    }
    return iResult;
}

// The job as printed, the wall clock in the job header's date masked.
std::string PrintedJob(PFNMAKEPIPE pfnPipe)
{
    ProcessJob run("GC7350", "colour-a4.ps", 9);
    run.job()->devmode.priv.dmColor = 2;
    char title[] = "sample";
    run.job()->pszTitle = title;
    run.job().hooks().pfnPipe = pfnPipe;
    EXPECT_EQ(run.Run(), -1) << run.log();
    return std::regex_replace(run.job().Output(), std::regex("@DATE=[0-9/: ]*"), "@DATE=");
}

TEST(JobProcesses, ChannelThatKeepsItsOwnSizePrintsTheSameJob)
{
    const std::string piped = PrintedJob(nullptr);
    ASSERT_FALSE(piped.empty());
    EXPECT_TRUE(PrintedJob(SocketPairChannel) == piped);
}

TEST(JobProcesses, ChildThatRefusesTheInputFailsTheJob)
{
    ProcessJob run("GM4150", "../pipe_stream_test.cpp", 9);  // not PostScript
    EXPECT_EQ(run.Run(), 0);
    EXPECT_NE(run.log().find("Unknow file content!"), std::string::npos) << run.log();
    EXPECT_NE(run.log().find("Ghostscript process failed (status 1)"), std::string::npos) << run.log();
    EXPECT_EQ(run.job().Output(), "");  // no page, so no job was started
}

}  // namespace
