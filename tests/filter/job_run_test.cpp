// The job around its two processes: where its output goes, the UEL of a job that broke off, and
// the exit status with the spool file.
#include "JobFixture.h"

#include "filter/job/JobRun.h"
#include "filter/job/SpoolFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

using filtertest::OutputCapture;
using filtertest::TestJob;

namespace {

const std::string kUel = "\x1B%-12345X";

TEST(JobClose, JobThatBrokeOffIsStillClosedWithTheUel)
{
    struct Case {
        DWORD dwJobState;
        std::string expected;
    } cases[] = {{JOBSTATE_HEADER_SENT, kUel},
                 {JOBSTATE_HEADER_SENT | JOBSTATE_PAGE_OPEN, kUel},
                 {0, ""}};  // never started, or already ended with its own UEL
    for (const Case& c : cases) {
        orvtest::ScratchDir dir;
        TestJob job;
        OutputCapture out(job, dir / "out.bin");
        job->dwJobState = c.dwJobState;
        CloseBrokenJob(job.get());
        EXPECT_EQ(out.Bytes(), c.expected) << c.dwJobState;
        EXPECT_EQ(job->dwJobState & JOBSTATE_HEADER_SENT, 0u);
    }
}

TEST(JobOutput, SecurePrintJobGoesToASpoolFileWhenTheModelOffersIt)
{
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
tagJOBINFO* NewBareJob()
{
    tagJOBINFO* pJob = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
    InitJobLocks(pJob);
    return pJob;
}

TEST(JobEnd, ExitStatusFollowsTheJobAndItsSpool)
{
    enum Spool { kNone, kRefused, kFile, kBrokenFile };
    struct Case {
        Spool spool;
        bool bSent;
        int iStatus;
        const char* pszLeft;  // what remains of the spool file: "tmp", "prn" or ""
    } cases[] = {
        {kNone, true, 0, ""},    {kNone, false, 1, ""}, {kRefused, true, 1, ""},    {kRefused, false, 1, ""},
        {kFile, true, 0, "prn"}, {kFile, false, 1, ""}, {kBrokenFile, true, 1, ""},
    };
    for (const Case& c : cases) {
        orvtest::ScratchDir root;
        orvtest::ScopedInstallRoot scope(root.path());
        tagJOBINFO* pJob = NewBareJob();
        std::string tmp;
        if (c.spool == kRefused) {
            pJob->spool = SPOOL_REFUSED;
        }
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
