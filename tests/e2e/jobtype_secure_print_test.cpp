// Secure print chosen on the settings program's Job type page, end to end: the installed
// printer-setup, driven through its window on a headless display, switches secure print on, takes
// a job name and a department code and saves with OK; the user's next job then goes into the
// secure-print spool, and its printer stream carries the job name and the code in its PJL header.
#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

TEST(JobTypeSecurePrint, SecurePrintSavedOnThePageGoesToTheSpoolWithTheUsersTexts)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    ASSERT_TRUE(scheduler->AddQueue("gcjob", scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
    const std::string root = scheduler->Root();
    const std::string program = root + orv::kUserProgramDir + "printer-setup";
    ASSERT_TRUE(fs::exists(program)) << program;
    orvtest::ScopedXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(&error)) << error;

    const std::string user = SubmittingUser();
    const std::string log = scheduler->ScratchPath("jobtype-drive.log");
    const std::string steps = "select=gcjob;tab=Job Type;click=Secure Print;type=Job Name :|q3 results;"
                              "type=Dept. ID :|4711;ok";
    const RunResult run = orve2e::Run(
        {"timeout", "60", program},
        {"CUPS_SERVER=" + scheduler->Socket(), "ORVALEN_TEST_ROOT=" + root, "DISPLAY=" + xvfb.Display(),
         "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C", "LOGNAME=" + user, "USER=" + user,
         "ORV_SETUP_DRIVE=" + steps, "ORV_SETUP_DRIVE_LOG=" + log});
    ASSERT_EQ(run.status, 0) << run.output << "\n" << ReadFileText(log);
    const std::string driven = ReadFileText(log);
    EXPECT_EQ(driven.find("(no such"), std::string::npos) << driven;
    EXPECT_EQ(driven.find("not found"), std::string::npos) << driven;
    EXPECT_EQ(run.output.find("4711"), std::string::npos) << "the code is never printed:\n" << run.output;

    DRVDEVMODE saved{};
    {
        orvtest::ScopedInstallRoot packageRoot(root);
        ASSERT_EQ(dwReadDevmodeFile(user.c_str(), "gcjob", &saved), 0u) << run.output;
    }
    EXPECT_EQ(saved.priv.dmJobSpool, 6);
    EXPECT_STREQ(saved.priv.dmJobName, "q3 results");
    EXPECT_STREQ(saved.priv.dmDeptCode, "4711");

    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("gcjob", Document("probe.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    EXPECT_TRUE(job.decoded.pages.empty()) << "the printer itself gets no pages\n" << job.Summary();

    const std::string spool = root + orv::kSpoolDir + orv::kSecurePrintSubdir + user + "/gcjob";
    ASSERT_TRUE(fs::is_directory(spool)) << spool << " was not made";
    std::vector<fs::path> finished;
    for (const auto& entry : fs::directory_iterator(spool)) {
        EXPECT_EQ(".prn", entry.path().extension()) << entry.path() << " is left unfinished";
        finished.push_back(entry.path());
    }
    ASSERT_EQ(1u, finished.size());
    const std::string stream = ReadFileText(finished[0]);
    const std::string header = stream.substr(0, stream.find("@PJL ENTER LANGUAGE"));
    EXPECT_NE(header.find("@PJL SET JOBNAME=\"q3 results\""), std::string::npos) << header;
    EXPECT_NE(header.find("@PJL SET DEPARTMENT=\"4711\""), std::string::npos) << header;
    EXPECT_NE(stream.find("@PJL ENTER LANGUAGE=GDI"), std::string::npos) << "the pages follow the header";
}

#else

TEST(JobTypeSecurePrint, SecurePrintSavedOnThePageGoesToTheSpoolWithTheUsersTexts)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e
