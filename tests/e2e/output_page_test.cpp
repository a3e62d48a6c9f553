// The Output page end to end: the installed printer-setup, driven through its window on a headless
// display against the private scheduler, sets collated copies and a staple position on the
// Output page of a colour queue with the finisher installed and saves with OK. The saved
// settings, the queue's PPD defaults and its job defaults carry them, and the next job is stapled
// and collated.
#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <filesystem>
#include <regex>
#include <sstream>

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

// The starred (default) choice of an option as "lpoptions -p QUEUE -l" lists it.
std::string DefaultChoiceOf(const PrivateScheduler& scheduler, const std::string& queue, const std::string& option)
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

long PjlNumberOf(const PrintedJob& job, const std::string& name)
{
    const std::regex pattern("(^|[ ])" + name + "=([0-9]+)");
    for (const std::string& line : job.PjlLines()) {
        std::smatch match;
        if (std::regex_search(line, match, pattern)) {
            return std::stol(match[2]);
        }
    }
    return 0;
}

// Drives the installed program once per test program: the colour queue with the finisher
// installed, its Output page set to 3 collated copies stapled top left, saved with OK. The
// settings the user's saved-settings file then holds; false with the reason when that fails.
bool SaveOnTheOutputPage(DRVDEVMODE* saved, std::string* error)
{
    static bool s_done = false;
    static bool s_ok = false;
    static DRVDEVMODE s_saved{};
    static std::string s_error;
    if (!s_done) {
        s_done = true;
        PrivateScheduler* scheduler = Scheduler(&s_error);
        const std::string program =
            scheduler != nullptr ? scheduler->Root() + orv::kUserProgramDir + "printer-setup" : std::string();
        orvtest::ScopedXvfb xvfb;
        if (scheduler != nullptr && !fs::exists(program)) {
            s_error = "not installed: " + program;
        } else if (scheduler != nullptr && scheduler->AddQueue("gcstaple", scheduler->InstalledPpd("GC7350.ppd"), "", {"OptionFinisher=FN350"},
                                       &s_error) &&
                   xvfb.Start(&s_error)) {
            const std::string user = SubmittingUser();
            const std::string log = scheduler->ScratchPath("output-page-drive.log");
            const RunResult run = orve2e::Run(
                {"timeout", "60", program},
                {"CUPS_SERVER=" + scheduler->Socket(), "ORVALEN_TEST_ROOT=" + scheduler->Root(),
                 "DISPLAY=" + xvfb.Display(), "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C", "LOGNAME=" + user,
                 "USER=" + user,
                 "ORV_SETUP_DRIVE=select=gcstaple;tab=Output;set=Copies=3;set=Collate=on;set=Staple :=Top Left;ok",
                 "ORV_SETUP_DRIVE_LOG=" + log});
            const std::string driven = ReadFileText(log);
            orvtest::ScopedInstallRoot root(scheduler->Root());
            if (run.status != 0 || driven.find("(no") != std::string::npos ||
                driven.find("(not done)") != std::string::npos || driven.find("message:") != std::string::npos) {
                s_error = "the program was not driven as asked:\n" + run.output + "\n" + driven;
            } else if (dwReadDevmodeFile(user.c_str(), "gcstaple", &s_saved) != 0) {
                s_error = "no saved settings:\n" + run.output;
            } else {
                s_ok = true;
            }
        }
    }
    *saved = s_saved;
    *error = s_error;
    return s_ok;
}

TEST(OutputPage, CopiesCollationAndStapleAreSavedAndTheStapleReachesTheJob)
{
    DRVDEVMODE saved{};
    std::string error;
    ASSERT_TRUE(SaveOnTheOutputPage(&saved, &error)) << error;
    EXPECT_EQ(saved.dm.dmCopies, 3);
    EXPECT_EQ(saved.dm.dmCollate, 1);
    EXPECT_EQ(saved.priv.dmStaple, 1);
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    EXPECT_EQ(DefaultChoiceOf(*scheduler, "gcstaple", "Staple"), "TopLeft");
    EXPECT_EQ(DefaultChoiceOf(*scheduler, "gcstaple", "Collate"), "True");

    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("gcstaple", Document("probe.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
    EXPECT_TRUE(job.HasPjl("STAPLE=TOPLEFT")) << job.Summary();
}

// A job printed without options of its own comes out as the page saved it: collated, three
// copies (one set in the stream, its count in the QTY line). The filter takes both from the job's
// options; saving made them the queue's job defaults, which the scheduler gives the job.
TEST(OutputPage, CollatedCopiesSavedOnThePageReachTheJob)
{
    DRVDEVMODE saved{};
    std::string error;
    ASSERT_TRUE(SaveOnTheOutputPage(&saved, &error)) << error;
    ORV_REQUIRE_PRINTING_FILTER();
    // Two pages or more: a one-page job has nothing to collate.
    const PrintedJob job = PrintAndWait("gcstaple", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    ASSERT_TRUE(job.LooksPrinted()) << job.Summary();
    EXPECT_EQ(PjlNumberOf(job, "QTY"), 3) << job.Summary();
    EXPECT_EQ(PjlNumberOf(job, "COPIES"), 1) << job.Summary();
}

#else

TEST(OutputPage, CopiesCollationAndStapleAreSavedAndTheStapleReachesTheJob)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e
