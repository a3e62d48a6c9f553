// A custom paper made in the settings program end to end: the installed printer-setup, driven on a
// headless display against the private scheduler, opens the custom paper dialogs from the Basic
// page, creates "Label" of 100 x 150 mm, confirms and applies. Afterwards the queue's PPD as
// cupsGetPPD hands it out offers the paper, the Basic page's paper list shows it when the program
// loads the queue again, and a job printed on it comes out at its size with the page inside it.
#include "core/InstallPaths.h"
#include "e2e/E2eSupport.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <cups/cups.h>
#include <cups/ppd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // libcups's PPD functions

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The queue's PPD as cupsGetPPD hands it to a client, saved at path; false when there is none.
bool FetchPpd(const PrivateScheduler& scheduler, const std::string& queue, const std::string& path)
{
    // cupsGetPPD3 goes to the printer's own host unless that is the server libcups is set to.
    cupsSetServer(scheduler.Socket().c_str());
    http_t* http = httpConnect2(scheduler.Socket().c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 30000,
                                nullptr);
    if (http == nullptr) {
        return false;
    }
    char buffer[1024];
    snprintf(buffer, sizeof buffer, "%s", path.c_str());
    time_t modified = 0;
    const http_status_t status = cupsGetPPD3(http, queue.c_str(), &modified, buffer, sizeof buffer);
    httpClose(http);
    return status == HTTP_STATUS_OK;
}

struct SetupRun {
    RunResult result;
    std::string log;
};

// Runs the installed settings program through the driving steps.
SetupRun RunSetup(const PrivateScheduler& scheduler, const std::string& display, const std::string& steps,
                  const std::string& logName)
{
    const std::string program = scheduler.Root() + orv::kUserProgramDir + "printer-setup";
    const std::string user = SubmittingUser();
    const std::string log = scheduler.ScratchPath(logName);
    SetupRun run;
    run.result = orve2e::Run({"timeout", "60", program},
                             {"CUPS_SERVER=" + scheduler.Socket(), "ORVALEN_TEST_ROOT=" + scheduler.Root(),
                              "DISPLAY=" + display, "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C",
                              "LOGNAME=" + user, "USER=" + user, "ORV_SETUP_DRIVE=" + steps,
                              "ORV_SETUP_DRIVE_LOG=" + log});
    run.log = ReadFileText(log);
    return run;
}

TEST(CustomPaperDialogs, PaperMadeInTheDialogIsOfferedListedAndPrintedAtItsSize)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    ASSERT_TRUE(fs::exists(scheduler->Root() + orv::kUserProgramDir + "printer-setup"));
    ASSERT_TRUE(scheduler->AddQueue("gclabel", scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
    // The dialog writes its temporary PPD into the system's temporary directory.
    fs::create_directories(scheduler->Root() + orv::kTmpDir);
    orvtest::ScopedXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(&error)) << error;

    const std::string listShot = scheduler->ScratchPath("custom-paper-list.png");
    const std::string createShot = scheduler->ScratchPath("custom-paper-create.png");
    const SetupRun made = RunSetup(*scheduler, xvfb.Display(),
                                   "select=gclabel;wait=500;dlg-click=Custom Paper...;dlg-click=New...;dlg-entry=Label;"
                                   "dlg-radio=Millimeters;dlg-spin=0:100;dlg-spin=1:150;dlgshot=" +
                                       createShot + ";dlg-click=gtk-ok;dlgshot=" + listShot +
                                       ";dlg-click=gtk-ok;wait=500;dlg-click=gtk-apply;wait=500;ok",
                                   "custom-paper-make.log");
    ASSERT_EQ(made.result.status, 0) << made.result.output << "\n" << made.log;
    EXPECT_EQ(made.log.find("not found"), std::string::npos) << made.log;
    EXPECT_EQ(made.log.find("message:"), std::string::npos) << "no message box: " << made.log;
    EXPECT_NE(made.log.find("spin 1:150 shows 150.0"), std::string::npos) << made.log;
    EXPECT_TRUE(fs::exists(listShot) && fs::exists(createShot)) << made.log;
    EXPECT_TRUE(fs::is_empty(scheduler->Root() + orv::kTmpDir)) << "the temporary PPD was removed";

    // cupsGetPPD offers the paper.
    orvtest::ScratchDir dir;
    const std::string fetched = dir / "fetched.ppd";
    ASSERT_TRUE(FetchPpd(*scheduler, "gclabel", fetched));
    int count = 0;
    tagCUSTOMPAPER* papers = ReadCustomPapersFromPpd(fetched.c_str(), &count);
    ASSERT_EQ(count, 1) << ReadFileText(fetched);
    EXPECT_STREQ(papers[0].szName, "Label");
    EXPECT_STREQ(papers[0].szKeyword, "userpaper457");
    EXPECT_EQ(papers[0].nID, 457);
    EXPECT_EQ(papers[0].nUnit, 1);
    EXPECT_DOUBLE_EQ(papers[0].dWidth, 100.0);
    EXPECT_DOUBLE_EQ(papers[0].dLength, 150.0);
    std::free(papers);

    // Loaded again, the Basic page's paper list holds it.
    const std::string rows = scheduler->ScratchPath("custom-paper-combos.txt");
    const SetupRun loaded =
        RunSetup(*scheduler, xvfb.Display(), "select=gclabel;wait=500;combos=" + rows + ";cancel",
                 "custom-paper-load.log");
    ASSERT_EQ(loaded.result.status, 0) << loaded.result.output << "\n" << loaded.log;
    const std::vector<std::string> listed = Lines(ReadFileText(rows));
    EXPECT_NE(std::find(listed.begin(), listed.end(), "Label 100.0 x 150.0 mm"), listed.end())
        << ReadFileText(rows);

    // A job on the paper is a 100 x 150 mm page with the document on it.
    ORV_REQUIRE_PRINTING_FILTER();
    const std::string document = Document("label-100x150.ps");
    const PrintedJob job = PrintAndWait("gclabel", document, {"PageSize=userpaper457"});
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ExpectPagesMatch(job, document, 100.0 / 25.4, 150.0 / 25.4);
}

#else

TEST(CustomPaperDialogs, PaperMadeInTheDialogIsOfferedListedAndPrintedAtItsSize)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e
