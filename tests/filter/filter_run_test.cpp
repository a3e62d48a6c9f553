// The filter's run in-process over the sample queue, with one of the things a job cannot do without
// made to fail: the pipe or the fork of its two processes, the bind of libcups or libgs, its
// standard input. Each such job ends with exit status 1, says why at the error level and leaves no
// descriptor open.
#include "FilterInstall.h"
#include "JobFixture.h"

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "filter/job/JobContext.h"
#include "filter/job/JobProcesses.h"
#include "filter/job/JobRun.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

using filtertest::FilterInstall;
using filtertest::LogLinesAt;
using filtertest::OutputCapture;
using orvtest::ScopedEnv;
using orvtest::StderrCapture;

namespace {

int FailPipe(int*)
{
    errno = EMFILE;
    return -1;
}

pid_t FailFork()
{
    errno = EAGAIN;
    return -1;
}

// A file in the scratch root that is no shared library: the real binders refuse it.
std::string g_notALibrary;

int BindCupsFromNotALibrary(tagCUPSFUNC* pCups)
{
    const char* candidates[] = {g_notALibrary.c_str()};
    return LoadCupsLibraryFrom(pCups, candidates, 1);
}

int BindGsFromNotALibrary(tagGSFUNC* pGs)
{
    const char* candidates[] = {g_notALibrary.c_str()};
    return LoadGhostscriptLibraryFrom(pGs, candidates, 1);
}

cups_file_t* NoStandardInput()
{
    return nullptr;
}
void LoseStandardInput(tagCUPSFUNC* pCups)
{
    pCups->cupsFileStdin = NoStandardInput;
}

size_t OpenDescriptorCount()
{
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++n;
    }
    return n;
}

class FailedJob : public ::testing::Test {
protected:
    static void SetUpTestSuite() { filtertest::PinJobLibraries(); }
    void SetUp() override
    {
        m_input = m_install.root().WriteFile("job.ps", "%!PS-Adobe-3.0\nshowpage\n");
        g_notALibrary = m_install.root().WriteFile("lib/libnothing.so", "not a shared library\n");
    }
    FilterInstall m_install;
    std::string m_input;
};

TEST_F(FailedJob, JobThatCannotStartEndsWithStatusOneAndItsReason)
{
    struct Case {
        const char* pszWhat;
        void (*pfnBreak)(FilterHooks*);
        bool bFromStdin;
        std::string error;
    } cases[] = {
        {"pipe fails", [](FilterHooks* h) { h->pfnPipe = FailPipe; }, false,
         "Cannot create the pipe: Too many open files"},
        {"fork fails", [](FilterHooks* h) { h->pfnFork = FailFork; }, false,
         "Cannot start the Ghostscript process: Resource temporarily unavailable"},
        {"libcups cannot be bound", [](FilterHooks* h) { h->pfnBindCups = BindCupsFromNotALibrary; }, false,
         "Cannot load libcups or libcups version too old then 1.1.19"},
        {"libgs cannot be bound", [](FilterHooks* h) { h->pfnBindGs = BindGsFromNotALibrary; }, false,
         "Cannot load libgs or libgs version too old then 8.0"},
        {"standard input cannot be opened", [](FilterHooks* h) { h->pfnCupsBound = LoseStandardInput; }, true,
         "Unable to open spool file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        FilterHooks hooks;
        c.pfnBreak(&hooks);
        ScopedEnv printer("PRINTER", "office");
        ScopedEnv ppd("PPD", FilterInstall::SamplePpd("GM4150").c_str());
        std::vector<std::string> args = {"gdi-filter", "42", "alice", "report", "1", "", m_input};
        if (c.bFromStdin) {
            args.pop_back();
        }
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);

        size_t nDescriptors = OpenDescriptorCount();
        int iStatus = -1;
        std::string log;
        std::string output;
        {
            OutputCapture out(hooks, m_install.root() / "out.bin");
            StderrCapture err(m_install.root() / "err.txt");
            iStatus = RunFilterJob(static_cast<int>(args.size()), argv.data(), hooks);
            log = err.Take();
            output = out.Bytes();
        }

        EXPECT_EQ(iStatus, 1) << log;
        EXPECT_EQ(LogLinesAt(log, "ERROR: "), std::vector<std::string>{c.error}) << log;
        EXPECT_EQ(output, "") << "nothing reaches the printer";
        EXPECT_EQ(OpenDescriptorCount(), nDescriptors) << "the job leaves no descriptor open";
    }
}

}  // namespace
