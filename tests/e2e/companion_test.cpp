// The companion program against a private scheduler, as the settings program runs it: "-S" makes
// the given choices the defaults of the queue's PPD (seen by lpoptions and cupsGetPPD), "-C"
// installs a rewritten PPD whose custom paper then prints through the filter at its own size, and
// every failure exits non-zero with a message and leaves the queue as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/InstallPaths.h"
#include "e2e/E2eSupport.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "support/ScratchDir.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // libcups's PPD functions

namespace orve2e {
namespace {

// The starred (default) choice of every option lpoptions lists for a queue.
std::map<std::string, std::string> LpoptionsDefaults(const PrivateScheduler& scheduler, const std::string& queue)
{
    std::map<std::string, std::string> defaults;
    std::istringstream lines(
        Run({"lpoptions", "-p", queue, "-l"}, {"CUPS_SERVER=" + scheduler.LoopbackServer()}).output);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string keyword = line.substr(0, line.find('/'));
        std::istringstream choices(line.substr(colon + 1));
        std::string choice;
        while (choices >> choice) {
            if (choice[0] == '*') {
                defaults[keyword] = choice.substr(1);
            }
        }
    }
    return defaults;
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

struct PpdDefaults {
    std::map<std::string, std::string> options;  // option -> its default choice
    std::string imageableArea;
    std::string paperDimension;
    std::string markedPageSize;  // after ppdMarkDefaults, as the settings program loads a queue
};

PpdDefaults DefaultsOfFetchedPpd(const PrivateScheduler& scheduler, const std::string& queue)
{
    PpdDefaults defaults;
    orvtest::ScratchDir dir;
    const std::string path = dir / "queue.ppd";
    if (!FetchPpd(scheduler, queue, path)) {
        return defaults;
    }
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (ppd == nullptr) {
        return defaults;
    }
    for (ppd_option_t* option = ppdFirstOption(ppd); option != nullptr; option = ppdNextOption(ppd)) {
        defaults.options[option->keyword] = option->defchoice;
    }
    if (ppd_attr_t* attr = ppdFindAttr(ppd, "DefaultImageableArea", nullptr)) {
        defaults.imageableArea = attr->value;
    }
    if (ppd_attr_t* attr = ppdFindAttr(ppd, "DefaultPaperDimension", nullptr)) {
        defaults.paperDimension = attr->value;
    }
    ppdMarkDefaults(ppd);
    if (ppd_choice_t* marked = ppdFindMarkedChoice(ppd, "PageSize")) {
        defaults.markedPageSize = marked->choice;
    }
    ppdClose(ppd);
    return defaults;
}

// What a failed run must not have changed: the PPD the scheduler keeps and the defaults clients see.
// The queue's job defaults of copies and collation as "lpoptions -p QUEUE" lists them among its
// options ("copies=3", "Collate=true"); absent ones are left out.
std::map<std::string, std::string> JobDefaultsOf(const PrivateScheduler& scheduler, const std::string& queue)
{
    std::map<std::string, std::string> found;
    std::istringstream words(Run({"lpoptions", "-p", queue}, {"CUPS_SERVER=" + scheduler.LoopbackServer()}).output);
    for (std::string word; words >> word;) {
        for (const char* name : {"copies", "Collate"}) {
            const std::string prefix = std::string(name) + "=";
            if (word.rfind(prefix, 0) == 0) {
                found[name] = word.substr(prefix.size());
            }
        }
    }
    return found;
}

struct QueueState {
    std::string ppd;
    std::map<std::string, std::string> defaults;
    std::map<std::string, std::string> jobDefaults;
    bool operator==(const QueueState& other) const
    {
        return ppd == other.ppd && defaults == other.defaults && jobDefaults == other.jobDefaults;
    }
};

QueueState StateOf(const PrivateScheduler& scheduler, const std::string& queue)
{
    QueueState state {ReadFileText(scheduler.QueuePpd(queue)), LpoptionsDefaults(scheduler, queue),
                      JobDefaultsOf(scheduler, queue)};
    EXPECT_FALSE(state.ppd.empty()) << "no PPD for " << queue;
    EXPECT_EQ(1u, state.defaults.count("PageSize")) << "lpoptions lists no options for " << queue;
    return state;
}

RunResult RunCompanion(const PrivateScheduler& scheduler, const std::vector<std::string>& args,
                       const std::string& server = std::string())
{
    std::vector<std::string> argv = {scheduler.Root() + orv::kCompanionProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, {"CUPS_SERVER=" + (server.empty() ? scheduler.Socket() : server)});
}

class Companion : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_scheduler = Scheduler(&error);
        ASSERT_NE(nullptr, m_scheduler) << error;
        struct stat st {};
        ASSERT_EQ(0, stat((m_scheduler->Root() + orv::kCompanionProgram).c_str(), &st))
            << "the install target did not install the companion program";
    }

    // A queue of the colour sample model of this test's own.
    void AddQueue(const std::string& name)
    {
        std::string error;
        ASSERT_TRUE(m_scheduler->AddQueue(name, m_scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
    }

    PrivateScheduler* m_scheduler = nullptr;
};

TEST_F(Companion, StoreMakesTheChoicesTheQueuesDefaults)
{
    AddQueue("cstore");
    const RunResult run = RunCompanion(*m_scheduler, {"-S", "-pcstore", "-oPageSize=Letter", "-oDuplex=DuplexNoTumble",
                                                      "-oMediaType=Thick", "-oOptionDuplexer=Installed"});
    ASSERT_EQ(0, run.status) << run.output;
    const std::map<std::string, std::string> shown = LpoptionsDefaults(*m_scheduler, "cstore");
    EXPECT_EQ("Letter", shown.at("PageSize"));
    EXPECT_EQ("DuplexNoTumble", shown.at("Duplex"));
    EXPECT_EQ("Thick", shown.at("MediaType"));
    EXPECT_EQ("Installed", shown.at("OptionDuplexer"));
    EXPECT_EQ("Plain", LpoptionsDefaults(*m_scheduler, "gc").at("MediaType")) << "another queue changed";

    const PpdDefaults ppd = DefaultsOfFetchedPpd(*m_scheduler, "cstore");
    EXPECT_EQ("Letter", ppd.options.at("PageSize"));
    EXPECT_EQ("Letter", ppd.markedPageSize);
    EXPECT_EQ("Letter", ppd.options.at("PageRegion")) << "the paper defaults agree";
    EXPECT_EQ("Letter", ppd.imageableArea);
    EXPECT_EQ("Letter", ppd.paperDimension);
    EXPECT_EQ("DuplexNoTumble", ppd.options.at("Duplex"));
    EXPECT_EQ("Thick", ppd.options.at("MediaType"));
    EXPECT_EQ("Auto", ppd.options.at("InputSlot")) << "options not given keep their defaults";

    // Choices as a user might type them are taken in the PPD's own spelling; storing the same
    // defaults again changes nothing.
    ASSERT_EQ(0, RunCompanion(*m_scheduler, {"-S", "-p", "cstore", "-o", "pagesize=a4"}).status);
    EXPECT_EQ("A4", LpoptionsDefaults(*m_scheduler, "cstore").at("PageSize"));
    const QueueState before = StateOf(*m_scheduler, "cstore");
    const RunResult again = RunCompanion(*m_scheduler, {"-S", "-pcstore", "-oPageSize=A4"});
    EXPECT_EQ(0, again.status) << again.output;
    const RunResult none = RunCompanion(*m_scheduler, {"-S", "-pcstore"});
    EXPECT_EQ(0, none.status) << none.output;
    EXPECT_TRUE(before == StateOf(*m_scheduler, "cstore"));
}

// Copies and collation reach a job through the queue's job defaults: the scheduler gives them to
// a job that names neither, and the filter reads both from the job's options.
TEST_F(Companion, StoreMakesCopiesAndCollationTheQueuesJobDefaults)
{
    AddQueue("cjob");
    const RunResult run = RunCompanion(*m_scheduler, {"-S", "-pcjob", "-oCollate=true", "-ocopies=3"});
    ASSERT_EQ(0, run.status) << run.output;
    EXPECT_EQ("True", LpoptionsDefaults(*m_scheduler, "cjob").at("Collate")) << "the PPD's default too";
    const std::map<std::string, std::string> expected = {{"copies", "3"}, {"Collate", "true"}};
    EXPECT_EQ(expected, JobDefaultsOf(*m_scheduler, "cjob"));

    // Collated copies made by the printer: one set in the stream, the count in the QTY line.
    ORV_REQUIRE_PRINTING_FILTER();
    const PrintedJob job = PrintAndWait("cjob", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    EXPECT_TRUE(job.HasPjl("SET QTY=3")) << job.Summary();
    EXPECT_TRUE(job.HasPjl("SET COPIES=1")) << job.Summary();

    // Stored again uncollated: the job defaults follow (the count in the COPIES line, no QTY
    // line), and a job's own options still win.
    ASSERT_EQ(0, RunCompanion(*m_scheduler, {"-S", "-pcjob", "-oCollate=False", "-ocopies=2"}).status);
    const std::map<std::string, std::string> changed = {{"copies", "2"}, {"Collate", "false"}};
    EXPECT_EQ(changed, JobDefaultsOf(*m_scheduler, "cjob"));
    const PrintedJob uncollated = PrintAndWait("cjob", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, uncollated.state) << uncollated.Summary();
    EXPECT_TRUE(uncollated.HasPjl("SET COPIES=2")) << uncollated.Summary();
    EXPECT_FALSE(uncollated.HasPjl("QTY=")) << uncollated.Summary();
    const PrintedJob own = PrintAndWait("cjob", Document("colour-pages.ps"), {"copies=4", "Collate=True"});
    ASSERT_EQ(JobState::Completed, own.state) << own.Summary();
    EXPECT_TRUE(own.HasPjl("SET QTY=4")) << own.Summary();
    EXPECT_TRUE(own.HasPjl("SET COPIES=1")) << own.Summary();
}

TEST_F(Companion, StoreFailuresSaySoAndLeaveTheQueueAsItWas)
{
    AddQueue("cfail");
    AddQueue("cmember");
    const RunResult joined = m_scheduler->Client({"lpadmin", "-p", "cmember", "-c", "cclass"});
    ASSERT_EQ(0, joined.status) << joined.output;
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* says;
        std::string server = std::string();  // "" this test's scheduler
    };
    const Case cases[] = {
        {"an unknown queue", {"-S", "-pnosuchqueue", "-oPageSize=Letter"}, "no queue \"nosuchqueue\""},
        {"an option the PPD does not have", {"-S", "-pcfail", "-oPageSize=Letter", "-oNoSuchOption=On"},
         "no option \"NoSuchOption\""},
        {"a choice the option does not have", {"-S", "-pcfail", "-oPageSize=Letter", "-oDuplex=Sideways"},
         "no choice \"Sideways\""},
        {"a custom size the PPD does not list", {"-S", "-pcfail", "-oPageSize=Custom.100x150mm"}, "no choice"},
        {"a class instead of a queue", {"-S", "-pcclass", "-oPageSize=Letter"}, "cclass"},
        {"no scheduler", {"-S", "-pcfail", "-oPageSize=Letter"}, "cannot reach the print scheduler",
         "/nonexistent/orv/cups.sock"},
        {"no queue given", {"-S", "-oPageSize=Letter"}, "no queue"},
        {"an option without a choice", {"-S", "-pcfail", "-oPageSize"}, "<keyword>=<choice>"},
        {"no copies", {"-S", "-pcfail", "-oPageSize=Letter", "-ocopies=0"}, "from 1 to 9999, not \"0\""},
        {"copies that are no count", {"-S", "-pcfail", "-oCollate=True", "-ocopies=3x"}, "not \"3x\""},
        {"copies with a choice the PPD lacks",
         {"-S", "-pcfail", "-ocopies=4", "-oDuplex=Sideways"}, "no choice \"Sideways\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QueueState before = StateOf(*m_scheduler, "cfail");
        const RunResult run = RunCompanion(*m_scheduler, c.args, c.server);
        EXPECT_NE(0, run.status);
        EXPECT_NE(std::string::npos, run.output.find(c.says)) << run.output;
        EXPECT_NE(std::string::npos, run.output.find("L_QW7RMTEKB: ")) << run.output;
        EXPECT_TRUE(before == StateOf(*m_scheduler, "cfail")) << "the queue changed";
    }
}

TEST_F(Companion, InstallMakesACustomPaperAChoiceThatPrintsAtItsSize)
{
    AddQueue("ccustom");
    orvtest::ScratchDir dir;
    // As the custom paper dialog does: a copy of the queue's PPD, rewritten, installed with -C.
    const std::string path = dir / "20261211_54500.ppd";
    ASSERT_TRUE(FetchPpd(*m_scheduler, "ccustom", path));
    tagCUSTOMPAPER label {};
    std::snprintf(label.szName, sizeof label.szName, "%s", "Label");
    ASSERT_EQ(1, AddCustomPaperToPpd(path.c_str(), "userpaper457", &label, 457, 1, 100.0, 150.0));
    const RunResult run = RunCompanion(*m_scheduler, {"-C", "-pccustom", "-c" + path});
    ASSERT_EQ(0, run.status) << run.output;

    const std::string fetched = dir / "fetched.ppd";
    ASSERT_TRUE(FetchPpd(*m_scheduler, "ccustom", fetched));
    EXPECT_EQ(ReadFileText(path), ReadFileText(fetched)) << "cupsGetPPD returns the installed PPD";
    int count = 0;
    tagCUSTOMPAPER* papers = ReadCustomPapersFromPpd(fetched.c_str(), &count);
    ASSERT_EQ(1, count);
    EXPECT_STREQ("Label", papers[0].szName);
    EXPECT_EQ(457, papers[0].nID);
    std::free(papers);
    const std::string listed =
        orve2e::Run({"lpoptions", "-p", "ccustom", "-l"}, {"CUPS_SERVER=" + m_scheduler->LoopbackServer()}).output;
    EXPECT_NE(std::string::npos, listed.find("userpaper457")) << listed;

    // Stored as the default, as the settings program saves a queue whose paper is the custom one.
    const RunResult store = RunCompanion(*m_scheduler, {"-S", "-pccustom", "-oPageSize=userpaper457"});
    ASSERT_EQ(0, store.status) << store.output;
    EXPECT_EQ("userpaper457", LpoptionsDefaults(*m_scheduler, "ccustom").at("PageSize"));

    ORV_REQUIRE_PRINTING_FILTER();
    constexpr double kWidth = 100.0 / 25.4;
    constexpr double kHeight = 150.0 / 25.4;
    for (const std::vector<std::string>& options :
         {std::vector<std::string> {"PageSize=userpaper457"}, std::vector<std::string> {}}) {
        SCOPED_TRACE(options.empty() ? "the queue's default paper" : "the paper asked for");
        const PrintedJob job = PrintAndWait("ccustom", Document("probe.ps"), options);
        ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
        ASSERT_EQ(1u, job.decoded.pages.size()) << job.Summary();
        const orvdecode::DecodedPage& page = job.decoded.pages[0];
        const double width = page.width / double(NearestDpi(page.width, kWidth));
        const double height = page.height / double(NearestDpi(page.height, kHeight));
        // The printable part of a 100 x 150 mm sheet, nowhere near A4 (8.27 x 11.69 in).
        EXPECT_NEAR(kWidth - 0.2, width, 0.25) << job.Summary();
        EXPECT_NEAR(kHeight - 0.2, height, 0.25) << job.Summary();
    }
}

TEST_F(Companion, InstallFailuresSayWhyAndLeaveTheQueueAsItWas)
{
    AddQueue("cbad");
    orvtest::ScratchDir dir;
    const std::string good = dir / "good.ppd";
    ASSERT_TRUE(FetchPpd(*m_scheduler, "cbad", good));
    tagCUSTOMPAPER label {};
    std::snprintf(label.szName, sizeof label.szName, "%s", "Label");
    ASSERT_EQ(1, AddCustomPaperToPpd(good.c_str(), "userpaper457", &label, 457, 1, 100.0, 150.0));
    const std::string link = dir / "link.ppd";
    ASSERT_EQ(0, symlink(good.c_str(), link.c_str()));
    const std::string text = dir.WriteFile("notes.ppd", "Custom paper sizes:\nLabel 100 x 150 mm\n");
    const std::string empty = dir.WriteFile("empty.ppd", "");
    const std::string ppdText = ReadFileText(good);
    const std::string headless = dir.WriteFile("headless.ppd", ppdText.substr(ppdText.find('\n') + 1));
    mkdir((dir / "directory.ppd").c_str(), 0755);
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* says;
        std::string server = std::string();
    };
    const Case cases[] = {
        {"a missing file", {"-C", "-pcbad", "-c" + dir / "missing.ppd"}, "No such file"},
        {"a directory", {"-C", "-pcbad", "-c" + dir / "directory.ppd"}, "not a regular file"},
        {"a symbolic link", {"-C", "-pcbad", "-c" + link}, "symbolic link"},
        {"a text that is no PPD", {"-C", "-pcbad", "-c" + text}, "is not a PPD"},
        {"an empty file", {"-C", "-pcbad", "-c" + empty}, "empty"},
        {"a PPD without its header", {"-C", "-pcbad", "-c" + headless}, "is not a PPD"},
        {"an unknown queue", {"-C", "-pnosuchqueue", "-c" + good}, "no queue \"nosuchqueue\""},
        {"no scheduler", {"-C", "-pcbad", "-c" + good}, "cannot reach the print scheduler", "/nonexistent/orv/cups.sock"},
        {"no file given", {"-C", "-pcbad"}, "no PPD file"},
        {"options with -C", {"-C", "-pcbad", "-c" + good, "-oPageSize=A4"}, "-o goes with -S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QueueState before = StateOf(*m_scheduler, "cbad");
        const RunResult run = RunCompanion(*m_scheduler, c.args, c.server);
        EXPECT_NE(0, run.status);
        EXPECT_NE(std::string::npos, run.output.find(c.says)) << run.output;
        EXPECT_TRUE(before == StateOf(*m_scheduler, "cbad")) << "the queue changed";
    }
    // A PPD that the user running the program may not read (the program run as "nobody").
    if (getuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "running the program as another user needs root and setpriv";
    }
    orvtest::ScratchDir open;
    ASSERT_EQ(0, chmod(open.path().c_str(), 0755));
    const std::string secret = open.WriteFile("secret.ppd", ppdText);
    ASSERT_EQ(0, chmod(secret.c_str(), 0600));
    const QueueState before = StateOf(*m_scheduler, "cbad");
    const RunResult run = orve2e::Run({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                               m_scheduler->Root() + orv::kCompanionProgram, "-C", "-pcbad", "-c" + secret},
                              {"CUPS_SERVER=" + m_scheduler->Socket()});
    EXPECT_NE(0, run.status);
    EXPECT_NE(std::string::npos, run.output.find("Permission denied")) << run.output;
    EXPECT_TRUE(before == StateOf(*m_scheduler, "cbad")) << "the queue changed";
}

// A scheduler of its own whose queues only a print administrator may change: the companion
// program says that rights are missing, asks for no password and changes nothing.
TEST_F(Companion, MissingAdministrativeRightsAreNamed)
{
    PrivateScheduler restricted;
    std::string error;
    ASSERT_TRUE(restricted.Start(&error)) << error;
    ASSERT_TRUE(restricted.AddQueue("clocked", restricted.InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
    orvtest::ScratchDir dir;
    const std::string ppd = dir / "locked.ppd";
    ASSERT_TRUE(FetchPpd(restricted, "clocked", ppd));
    tagCUSTOMPAPER label {};
    std::snprintf(label.szName, sizeof label.szName, "%s", "Label");
    ASSERT_EQ(1, AddCustomPaperToPpd(ppd.c_str(), "userpaper457", &label, 457, 1, 100.0, 150.0));
    ASSERT_TRUE(restricted.Restart(true, &error)) << error;
    for (const std::vector<std::string>& args :
         {std::vector<std::string> {"-S", "-pclocked", "-oPageSize=Letter"}, std::vector<std::string> {"-C", "-pclocked", "-c" + ppd}}) {
        SCOPED_TRACE(args[0]);
        const QueueState before = StateOf(restricted, "clocked");
        const RunResult run = RunCompanion(restricted, args);
        EXPECT_NE(0, run.status);
        EXPECT_NE(std::string::npos, run.output.find("administrative rights")) << run.output;
        EXPECT_TRUE(before == StateOf(restricted, "clocked")) << "the queue changed";
    }
}

}  // namespace
}  // namespace orve2e
