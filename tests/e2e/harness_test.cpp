// The private scheduler itself, proven with what prints without gdi-filter: a raw queue, a queue
// whose PostScript goes through CUPS's own filters (run as CUPS runs them, as its user), and the
// driver's installed PPDs loaded into the scheduler with their options.
#include <gtest/gtest.h>

#include "e2e/E2eSupport.h"

namespace orve2e {
namespace {

class Harness : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_scheduler = Scheduler(&error);
        ASSERT_NE(nullptr, m_scheduler) << error;
    }
    PrivateScheduler* m_scheduler = nullptr;
};

TEST_F(Harness, RawQueueDeliversTheJobsBytesUnchanged)
{
    std::string error;
    ASSERT_TRUE(m_scheduler->AddQueue("raw", "raw", "", {}, &error)) << error;
    const std::string bytes = "\x1b%-12345X@PJL COMMENT bytes the scheduler must not touch\r\n\x00\xff\x1b%-12345X";
    const std::string input = m_scheduler->ScratchPath("raw-input.bin");
    {
        std::FILE* file = std::fopen(input.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    const int job = m_scheduler->Submit("raw", input, {"raw"}, &error);
    ASSERT_NE(0, job) << error;
    ASSERT_EQ(JobState::Completed, m_scheduler->WaitForJob(job));
    EXPECT_EQ(bytes, m_scheduler->JobOutput(job));
}

TEST_F(Harness, PostScriptQueueRunsCupsFiltersToAFileDevice)
{
    std::string error;
    const std::string device = m_scheduler->OutputDir() + "/generic.ps";
    ASSERT_TRUE(m_scheduler->AddQueue("generic", "drv:///sample.drv/generic.ppd", "file://" + device, {}, &error))
        << error;
    const int job = m_scheduler->Submit("generic", Document("colour-pages.ps"), {}, &error);
    ASSERT_NE(0, job) << error;
    ASSERT_EQ(JobState::Completed, m_scheduler->WaitForJob(job));
    const std::string output = ReadFileText(device);
    EXPECT_EQ(0u, output.rfind("%!PS", 0)) << output.substr(0, 200);
    EXPECT_NE(std::string::npos, output.find("%%Pages: 3")) << "the three pages went through";
    bool filterStarted = false;
    bool packageRootPassed = false;
    for (const std::string& line : m_scheduler->JobLog(job)) {
        filterStarted = filterStarted || line.find("Started filter") != std::string::npos;
        // The filters of the jobs find the package in the staged install, not on the system.
        packageRootPassed =
            packageRootPassed || line.find("=\"ORVALEN_TEST_ROOT=" + m_scheduler->Root() + "\"") != std::string::npos;
    }
    EXPECT_TRUE(filterStarted);
    EXPECT_TRUE(packageRootPassed);
}

// The scheduler keeps the PPD it was given for each queue, with the choices given to lpadmin
// made the queue's defaults.
TEST_F(Harness, InstalledSamplePpdsBecomeQueuesWithTheirOptions)
{
    struct Case {
        const char* queue;
        const char* line;
    };
    const Case cases[] = {
        {"gc", "*OrvalenAttr SPCFILE: \"GC7350.pcsp\""},
        {"gc", "*DefaultOptionDuplexer: Installed"},
        {"gc", "*cupsFilter: \"application/vnd.cups-postscript 0 gdi-filter\""},
        {"gm", "*OrvalenAttr SPCFILE: \"GM4150.pcsp\""},
        {"gcfile", "*DefaultColorMode: Color"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + ": " + c.line);
        const std::string ppd = ReadFileText(m_scheduler->QueuePpd(c.queue));
        ASSERT_FALSE(ppd.empty());
        EXPECT_NE(std::string::npos, ppd.find(c.line));
    }
    const RunResult status = m_scheduler->Client({"lpstat", "-p", "gc", "gm", "gcfile"});
    EXPECT_EQ(0, status.status) << status.output;
    EXPECT_EQ(std::string::npos, status.output.find("disabled")) << status.output;
}

}  // namespace
}  // namespace orve2e
