// The settings program end to end: the installed printer-setup, run on a headless display against
// the private scheduler and driven through its window by a GTK module (as a user would click),
// lists the sample queues, loads the colour queue, restores the model's defaults and saves with
// OK. Afterwards the queue's PPD defaults, the user's saved-settings file and the next job's
// printer stream all carry the saved settings.
#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

// The PageSize choice of the installed PPD whose code carries the paper id, with its size in points.
struct PpdPaper {
    std::string keyword;
    double width = 0;
    double height = 0;
};

PpdPaper PaperOfId(const std::string& ppdText, int id)
{
    const std::regex line("\\*PageSize ([^/: ]+)[^:]*: \"<</PageSize\\[([0-9.]+) ([0-9.]+)\\][^\"]*%% ID=" +
                          std::to_string(id) + "\"");
    std::smatch match;
    if (!std::regex_search(ppdText, match, line)) {
        return {};
    }
    return {match[1], std::stod(match[2]), std::stod(match[3])};
}

// The starred (default) choice of an option as "lpoptions -p QUEUE -l" lists it.
std::string DefaultChoice(const PrivateScheduler& scheduler, const std::string& queue, const std::string& option)
{
    const RunResult listed = Run({"lpoptions", "-p", queue, "-l"}, {"CUPS_SERVER=" + scheduler.LoopbackServer()});
    std::istringstream in(listed.output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(option + "/", 0) != 0) {
            continue;
        }
        std::istringstream words(line.substr(line.find(':') + 1));
        for (std::string word; words >> word;) {
            if (word[0] == '*') {
                return word.substr(1);
            }
        }
    }
    return std::string();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(SettingsProgram, ListsLoadsChangesAndSavesThroughCups)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    const std::string program = scheduler->Root() + orv::kUserProgramDir + "printer-setup";
    ASSERT_TRUE(fs::exists(program)) << "the install target installs " << program;
    orvtest::ScopedXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(&error)) << error;

    // The queue starts from a page size that is not the model's default.
    RunResult set = scheduler->Client({"lpadmin", "-p", "gc", "-o", "PageSize=Legal"});
    ASSERT_EQ(set.status, 0) << set.output;
    ASSERT_EQ(DefaultChoice(*scheduler, "gc", "PageSize"), "Legal");

    const std::string user = SubmittingUser();
    const std::string rows = scheduler->ScratchPath("setup-rows.txt");
    const std::string log = scheduler->ScratchPath("setup-drive.log");
    const RunResult run =
        orve2e::Run({"timeout", "60", program},
            {"CUPS_SERVER=" + scheduler->Socket(), "ORVALEN_TEST_ROOT=" + scheduler->Root(), "DISPLAY=" + xvfb.Display(),
             "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C", "LOGNAME=" + user, "USER=" + user,
             "ORV_SETUP_DRIVE=rows=" + rows + ";select=gc;defaults;ok", "ORV_SETUP_DRIVE_LOG=" + log});
    ASSERT_EQ(run.status, 0) << run.output << "\n" << ReadFileText(log);
    EXPECT_EQ(ReadFileText(log).find("message:"), std::string::npos) << "no message box: " << ReadFileText(log);

    const std::vector<std::string> listed = Lines(ReadFileText(rows));
    for (const char* queue : {"gc", "gm", "gcfile"}) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), queue), listed.end()) << queue << " is listed";
    }

    // The saved-settings file holds the model's defaults the user restored.
    DRVDEVMODE saved{};
    {
        orvtest::ScopedInstallRoot root(scheduler->Root());
        ASSERT_EQ(dwReadDevmodeFile(user.c_str(), "gc", &saved), 0u) << run.output;
    }
    const std::string ppd = ReadFileText(scheduler->QueuePpd("gc"));
    const PpdPaper paper = PaperOfId(ppd, saved.dm.dmPaperSize);
    ASSERT_FALSE(paper.keyword.empty()) << "paper id " << saved.dm.dmPaperSize;
    EXPECT_NE(paper.keyword, "Legal") << "the model's default replaced the queue's";

    // The queue's PPD defaults are the saved ones.
    EXPECT_EQ(DefaultChoice(*scheduler, "gc", "PageSize"), paper.keyword);

    // The next job of that user is printed on the saved paper.
    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("gc", Document("probe.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_EQ(1u, job.decoded.pages.size()) << job.Summary();
    const orvdecode::DecodedPage& page = job.decoded.pages[0];
    const double ratio = static_cast<double>(page.height) / page.width;
    EXPECT_NEAR(paper.height / paper.width, ratio, 0.03) << paper.keyword << ": " << page.width << " x " << page.height;
}

#else

TEST(SettingsProgram, ListsLoadsChangesAndSavesThroughCups)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e
