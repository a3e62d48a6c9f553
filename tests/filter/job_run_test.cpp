// The job's two processes and its end: what crosses the pipe, what the parent closes, the UEL of a
// job that broke off, failing pipe and fork, and the exit status with the spool file.
#include "JobFixture.h"

#include "filter/JobRun.h"
#include "filter/SpoolFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

using filtertest::OutputCapture;
using filtertest::ReadFileBytes;
using filtertest::StderrCapture;
using filtertest::TestJob;

namespace {

const std::string kUel = "\x1B%-12345X";

// The child's stage: what it finds in its context goes into the pipe.
int RenderMarks(tagJOBINFO* pJob) {
    std::string text = pJob->spool == nullptr ? "spool:none|" : "spool:open|";
    text += "page-data";
    return write(STDOUT_FILENO, text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1;
}

// The parent's stage: everything from the pipe to the output, and what it sees of the context.
int SendEverything(tagJOBINFO* pJob, int fdPipe) {
    std::string seen = pJob->keepAliveThread != pthread_t{} ? "[keep-alive running]" : "[no keep-alive]";
    OutputPuts(pJob, seen.c_str());
    char buf[256];
    ssize_t n;
    while ((n = read(fdPipe, buf, sizeof buf)) > 0) OutputWrite(pJob, buf, static_cast<size_t>(n));
    return 0;
}

// A parent stage that starts the job and breaks off inside it.
int BreakOffInsideTheJob(tagJOBINFO* pJob, int fdPipe) {
    char buf[256];
    while (read(fdPipe, buf, sizeof buf) > 0) {
    }
    OutputPuts(pJob, "job-header|");
    pJob->dwJobState |= JOBSTATE_HEADER_SENT;
    return -1;
}

// Runs the split; the forked child leaves the test program here.
JobProcess Split(tagJOBINFO* pJob, const tagJOBSTAGES& stages) {
    JobProcess result = RunJobProcesses(pJob, &stages);
    if (result == JobProcess::Child) _exit(0);
    while (waitpid(-1, nullptr, 0) > 0) {
    }
    return result;
}

class JobRun : public ::testing::Test {
protected:
    orvtest::ScratchDir m_dir;
    OutputCapture m_out{m_dir / "out.bin"};
    TestJob m_job;
};

TEST_F(JobRun, ChildRendersIntoThePipeAndTheParentSendsIt) {
    m_job->spool = nullptr;
    JobProcess result = Split(m_job.get(), {RenderMarks, SendEverything});
    EXPECT_EQ(result, JobProcess::Sent);
    EXPECT_EQ(m_out.Bytes(), "[no keep-alive]spool:none|page-data");
}

TEST_F(JobRun, ChildNeverSeesTheSpoolFile) {
    FILE* spool = fopen((m_dir / "spool.tmp").c_str(), "w+");
    ASSERT_NE(spool, nullptr);
    m_job->spool = spool;
    m_job->dwSpoolOk = 1;
    EXPECT_EQ(Split(m_job.get(), {RenderMarks, SendEverything}), JobProcess::Sent);
    EXPECT_EQ(m_job->spool, spool) << "the parent keeps its spool file";
    fclose(spool);
    m_job->spool = nullptr;
    EXPECT_EQ(ReadFileBytes(m_dir / "spool.tmp"), "[no keep-alive]spool:none|page-data");
}

TEST_F(JobRun, ParentRunsTheKeepAliveThreadOnlyWhileSending) {
    m_job->iKeepAliveSeconds = 30;
    EXPECT_EQ(Split(m_job.get(), {RenderMarks, SendEverything}), JobProcess::Sent);
    EXPECT_EQ(m_out.Bytes(), "[keep-alive running]spool:none|page-data");
    EXPECT_EQ(m_job->keepAliveThread, pthread_t{}) << "stopped and joined before the context is freed";
}

TEST_F(JobRun, JobThatBrokeOffIsStillClosedWithTheUel) {
    EXPECT_EQ(Split(m_job.get(), {RenderMarks, BreakOffInsideTheJob}), JobProcess::Failed);
    EXPECT_EQ(m_out.Bytes(), "job-header|" + kUel);
    EXPECT_EQ(m_job->dwJobState & JOBSTATE_HEADER_SENT, 0u);
}

int FailingPipe(int*) {
    errno = EMFILE;
    return -1;
}
pid_t FailingFork() {
    errno = EAGAIN;
    return -1;
}
int g_stagesRun = 0;
int CountRender(tagJOBINFO*) { return ++g_stagesRun; }
int CountSend(tagJOBINFO*, int) { return ++g_stagesRun, 0; }

TEST_F(JobRun, FailingPipeOrForkFailsTheJobWithAnError) {
    struct Case {
        PFNJOBPIPE pfnPipe;
        PFNJOBFORK pfnFork;
        const char* pszError;
    } cases[] = {
        {FailingPipe, nullptr, "Cannot create the pipe to the renderer: Too many open files\n"},
        {nullptr, FailingFork, "Cannot start the renderer process: Resource temporarily unavailable\n"},
    };
    for (const Case& c : cases) {
        g_stagesRun = 0;
        SetJobProcessCalls(c.pfnPipe, c.pfnFork);
        StderrCapture err(m_dir / "err.txt");
        const tagJOBSTAGES stages = {CountRender, CountSend};
        JobProcess result = RunJobProcesses(m_job.get(), &stages);
        std::string log = err.Take();
        SetJobProcessCalls(nullptr, nullptr);
        EXPECT_EQ(result, JobProcess::Failed);
        EXPECT_EQ(g_stagesRun, 0) << "nothing is rendered";
        EXPECT_EQ(log, "ERROR: (PID " + std::to_string(getpid()) + ") " + c.pszError);
    }
}

TEST(JobOutput, SecurePrintJobGoesToASpoolFileWhenTheModelOffersIt) {
    enum Output { kStandardOutput, kSpoolFile };
    struct Case {
        const char* pszModel;
        DWORD dwSecurePrint;
        Output output;
    } cases[] = {{"filter-secure-keepalive", 1, kSpoolFile},
                 {"filter-secure-keepalive", 0, kStandardOutput},
                 {"filter-no-secure", 1, kStandardOutput}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszModel) + " secure print " + std::to_string(c.dwSecurePrint));
        orvtest::ScratchDir root;
        orvtest::ScopedInstallRoot scope(root.path());
        ASSERT_EQ(mkdir((root / "var").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((root / "var/spool").c_str(), 0755), 0);
        TestJob job;
        job.LoadModel(c.pszModel);
        char user[] = "alice", queue[] = "office";
        job->pszUser = user;
        job->pszPrinter = queue;
        job->dwSecurePrint = c.dwSecurePrint;
        OpenJobOutput(job.get());
        if (c.output == kStandardOutput) {
            EXPECT_EQ(job->spool, nullptr);
        } else {
            ASSERT_NE(job->spool, nullptr);
            ASSERT_NE(job->spool, SPOOL_REFUSED);
            EXPECT_EQ(job->dwSpoolOk, 1u);
            fclose(job->spool);
            job->spool = nullptr;
        }
        job->pszUser = job->pszPrinter = nullptr;
    }
}

// EndJob frees the context, so each case gets one of its own.
tagJOBINFO* NewBareJob() {
    tagJOBINFO* pJob = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
    InitJobLocks(pJob);
    return pJob;
}

TEST(JobEnd, ExitStatusFollowsTheJobAndItsSpool) {
    enum Spool { kNone, kRefused, kFile, kBrokenFile };
    struct Case {
        Spool spool;
        bool bSent;
        int iStatus;
        const char* pszLeft;  // what remains of the spool file: "tmp", "prn" or ""
    } cases[] = {
        {kNone, true, 0, ""},    {kNone, false, 1, ""},      {kRefused, true, 1, ""},     {kRefused, false, 1, ""},
        {kFile, true, 0, "prn"}, {kFile, false, 1, ""},      {kBrokenFile, true, 1, ""},
    };
    for (const Case& c : cases) {
        orvtest::ScratchDir root;
        orvtest::ScopedInstallRoot scope(root.path());
        tagJOBINFO* pJob = NewBareJob();
        std::string tmp;
        if (c.spool == kRefused) pJob->spool = SPOOL_REFUSED;
        if (c.spool == kFile || c.spool == kBrokenFile) {
            // A spool file made the way the job makes it, on a model that offers secure print.
            TestJob model;
            model.LoadModel("filter-secure-keepalive");
            char user[] = "alice", queue[] = "office";
            model->pszUser = user;
            model->pszPrinter = queue;
            ASSERT_EQ(mkdir((root / "var").c_str(), 0755), 0);
            ASSERT_EQ(mkdir((root / "var/spool").c_str(), 0755), 0);
            pJob->spool = CreateSpoolFile(model.get());
            model->pszUser = model->pszPrinter = nullptr;
            ASSERT_NE(pJob->spool, nullptr);
            tmp = GetSpoolFilePath();
        }
        pJob->dwSpoolOk = c.spool == kBrokenFile ? 0 : 1;
        EXPECT_EQ(EndJob(pJob, c.bSent), c.iStatus) << c.spool << " " << c.bSent;
        if (!tmp.empty()) {
            std::string prn = tmp.substr(0, tmp.size() - 3) + "prn";
            EXPECT_EQ(access(tmp.c_str(), F_OK) == 0, std::string(c.pszLeft) == "tmp");
            EXPECT_EQ(access(prn.c_str(), F_OK) == 0, std::string(c.pszLeft) == "prn");
        }
    }
}

}  // namespace
