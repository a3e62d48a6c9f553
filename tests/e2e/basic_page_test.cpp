// The Basic page end to end: the installed printer-setup, driven through its window on a headless
// display against the private scheduler, saves a paper size, two-sided printing and a page layout
// (pages per sheet, then a booklet) for a queue, and the next job of that user prints that way.
#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <filesystem>

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

// Runs the settings program with the steps (see SetupDriverModule.cpp) and returns the settings it
// saved for the queue.
DRVDEVMODE RunSetup(PrivateScheduler& scheduler, const orvtest::ScopedXvfb& xvfb, const std::string& steps,
                    const std::string& queue)
{
    const std::string program = scheduler.Root() + orv::kUserProgramDir + "printer-setup";
    EXPECT_TRUE(fs::exists(program)) << program;
    const std::string user = SubmittingUser();
    const std::string log = scheduler.ScratchPath("basic-page-drive.log");
    fs::remove(log);
    const RunResult run = Run({"timeout", "60", program},
        {"CUPS_SERVER=" + scheduler.Socket(), "ORVALEN_TEST_ROOT=" + scheduler.Root(), "DISPLAY=" + xvfb.Display(),
         "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C", "LOGNAME=" + user, "USER=" + user,
         "ORV_SETUP_DRIVE=" + steps, "ORV_SETUP_DRIVE_LOG=" + log});
    const std::string drive = ReadFileText(log);
    EXPECT_EQ(run.status, 0) << run.output << "\n" << drive;
    EXPECT_EQ(drive.find("not found"), std::string::npos) << drive;
    EXPECT_EQ(drive.find("message:"), std::string::npos) << drive;
    DRVDEVMODE saved{};
    orvtest::ScopedInstallRoot root(scheduler.Root());
    EXPECT_EQ(dwReadDevmodeFile(user.c_str(), queue.c_str(), &saved), 0u) << run.output;
    return saved;
}

double Ratio(const orvdecode::DecodedPage& page)
{
    return static_cast<double>(page.height) / page.width;
}

TEST(BasicPage, PaperDuplexAndLayoutsChosenOnThePagePrintThatWay)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    ASSERT_TRUE(scheduler->AddQueue("gcbasic", scheduler->InstalledPpd("GC7350.ppd"), "",
                                    {"OptionDuplexer=Installed", "OptionNumberTray=3"}, &error))
        << error;
    orvtest::ScopedXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(&error)) << error;

    // Letter, printed on both sides along the long edge, as many pages per sheet as the dialog
    // offers first.
    const DRVDEVMODE nup = RunSetup(*scheduler, xvfb,
        "select=gcbasic;choose=Paper Size :|Letter (8.5 x 11 in);choose=Duplex :|Long Edge;"
        "layout=1;dialog-ok;ok", "gcbasic");
    EXPECT_EQ(nup.dm.dmPaperSize, 1);
    EXPECT_EQ(nup.dm.dmDuplex, 2);
    ASSERT_EQ(nup.priv.dmLayoutPrint, 1);
    ASSERT_GE(nup.priv.dmNup, 2);

    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("gcbasic", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    EXPECT_TRUE(job.HasPjl("DUPLEX=ON")) << job.Summary();
    // Three pages, nup to a sheet: one sheet for 4 or more, two for 2 or 3.
    const size_t sheets = (3 + nup.priv.dmNup - 1) / nup.priv.dmNup;
    ASSERT_GE(job.decoded.pages.size(), sheets) << job.Summary();
    ASSERT_LE(job.decoded.pages.size(), sheets + 1) << "at most a blank back side more\n" << job.Summary();
    EXPECT_NEAR(Ratio(job.decoded.pages[0]), kLetterHeight / kLetterWidth, 0.03) << job.Summary();

    // A booklet: three pages on the two sides of one sheet.
    const DRVDEVMODE booklet = RunSetup(*scheduler, xvfb, "select=gcbasic;layout=2;dialog-ok;ok", "gcbasic");
    ASSERT_EQ(booklet.priv.dmLayoutPrint, 2);
    EXPECT_EQ(booklet.dm.dmPaperSize, 1);
    const PrintedJob bookletJob = PrintAndWait("gcbasic", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, bookletJob.state) << bookletJob.Summary();
    EXPECT_TRUE(bookletJob.HasPjl("BOOKLET=ON")) << bookletJob.Summary();
    EXPECT_EQ(2u, bookletJob.decoded.pages.size()) << bookletJob.Summary();
}

#else

TEST(BasicPage, PaperDuplexAndLayoutsChosenOnThePagePrintThatWay)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e
