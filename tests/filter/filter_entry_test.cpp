// The filter program run as the scheduler runs it: arguments, environment, log lines and exit
// status, over the sample queue PPDs and models in a scratch install root.
#include "FilterInstall.h"

#include "core/InstallPaths.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

using filtertest::FilterInstall;
using filtertest::FilterRun;
using filtertest::LogLinesAt;
using filtertest::RunFilterProgram;

namespace {

const std::string kUel = "\x1B%-12345X";
const char kPostScript[] = "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\nshowpage\n%%EOF\n";

class FilterEntry : public ::testing::Test {
protected:
    void SetUp() override { m_input = m_install.root().WriteFile("job.ps", kPostScript); }

    std::vector<std::string> JobArgs(const std::string& copies = "1", const std::string& options = "") const
    {
        return {"gdi-filter", "42", "alice", "report", copies, options, m_input};
    }

    FilterInstall m_install;
    std::string m_input;
};

TEST_F(FilterEntry, WellFormedJobEndsWithStatusZeroAndNoError)
{
    struct Case {
        const char* pszModel;
        bool bStdin;
    } cases[] = {{"GM4150", false}, {"GC7350", false}, {"GM4150", true}};
    for (const Case& c : cases) {
        std::vector<std::string> args = JobArgs("2", "Collate=true PageSize=A5");
        if (c.bStdin) {
            args.pop_back();
        }
        FilterRun run = RunFilterProgram(args, m_install.QueueEnv(FilterInstall::SamplePpd(c.pszModel)),
                                         c.bStdin ? m_input.c_str() : nullptr);
        SCOPED_TRACE(std::string(c.pszModel) + (c.bStdin ? " from standard input" : " from a file"));
        EXPECT_EQ(run.iStatus, 0) << run.stderrText;
        EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), std::vector<std::string>{}) << run.stderrText;
        std::vector<std::string> debug = LogLinesAt(run.stderrText, "DEBUG: ");
        ASSERT_FALSE(debug.empty());
        EXPECT_EQ(debug.front(), "Start Orvalen GDI filter on gdi-filter");
        EXPECT_EQ(debug.back(), "End Orvalen GDI filter on gdi-filter");
        ASSERT_GE(run.stdoutBytes.size(), 2 * kUel.size());
        EXPECT_EQ(run.stdoutBytes.substr(0, kUel.size()), kUel) << "the job opens with the UEL";
        EXPECT_EQ(run.stdoutBytes.substr(run.stdoutBytes.size() - kUel.size()), kUel) << "and closes with it";
    }
}

TEST_F(FilterEntry, ContextThatCannotBeBuiltFailsTheJobWithItsReason)
{
    std::string usage = "Usage: gdi-filter job user title copies options [filename]";
    std::string dataDir = orv::InstalledPath(orv::kModelDataDir);
    std::string missingInput = m_install.root() / "no-such.ps";
    struct Case {
        const char* pszWhat;
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::vector<std::string> errors;
    } cases[] = {
        {"five arguments",
         {"gdi-filter", "42", "alice", "report", "1"},
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {usage}},
        {"eight arguments",
         {"gdi-filter", "42", "alice", "report", "1", "", m_input, "extra"},
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {usage}},
        {"no queue name", JobArgs(), {{"PPD", FilterInstall::SamplePpd("GM4150")}}, {"no printer name"}},
        {"input file missing",
         {"gdi-filter", "42", "alice", "report", "1", "", missingInput},
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {"Unable to open file \"" + missingInput + "\" - No such file or directory"}},
        {"copies zero", JobArgs("0"), m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")), {"Invalid copies \"0\""}},
        {"copies not a number",
         JobArgs("two"),
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {"Invalid copies \"two\""}},
        {"copies negative",
         JobArgs("-3"),
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {"Invalid copies \"-3\""}},
        {"copies past the record's range",
         JobArgs("32768"),
         m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")),
         {"Invalid copies \"32768\""}},
        {"copies empty", JobArgs(""), m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")), {"Invalid copies \"\""}},
        {"PPD without SPCFILE",
         JobArgs(),
         m_install.QueueEnv(m_install.PpdVariant("GM4150", "SPCFILE")),
         {"ERROR: Invaild PPD file", "ERROR in InitCupsOptions"}},
        {"PPD without LIBJBIG",
         JobArgs(),
         m_install.QueueEnv(m_install.PpdVariant("GM4150", "LIBJBIG")),
         {"ERROR: Invaild PPD file.(libjbig not set)", "ERROR in InitCupsOptions"}},
        {"model data file missing",
         JobArgs(),
         m_install.QueueEnv(m_install.PpdVariant("GM4150", nullptr, "GM4150.pcsp", "GM9999.pcsp")),
         {"ERROR: Cannot open data file(No such file or directory): " + dataDir + "GM9999.pcsp",
          "ERROR in InitCupsOptions"}},
        {"model data name leaving the data directory",
         JobArgs(),
         m_install.QueueEnv(m_install.PpdVariant("GM4150", nullptr, "GM4150.pcsp", "../../../../../etc/passwd")),
         {"ERROR: Cannot open data file(Invalid argument): " + dataDir + "../../../../../etc/passwd",
          "ERROR in InitCupsOptions"}},
        {"compression library missing",
         JobArgs(),
         m_install.QueueEnv(m_install.PpdVariant("GM4150", nullptr, "liborvjbig", "libnosuchjbig")),
         {"Cannot load liborvjbig or liborvjbig version too old", "ERROR in InitCupsOptions"}},
        {"PPD that is no PPD",
         JobArgs(),
         m_install.QueueEnv(m_install.root().WriteFile("ppd/empty.ppd", "not a PPD\n")),
         {"ERROR in InitCupsOptions"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        FilterRun run = RunFilterProgram(c.args, c.env);
        EXPECT_EQ(run.iStatus, 1) << run.stderrText;
        EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), c.errors) << run.stderrText;
        EXPECT_EQ(run.stdoutBytes, "");
    }
}

TEST_F(FilterEntry, WithoutThePpdVariableTheQueuePpdIsAskedOfTheScheduler)
{
    // No scheduler listens on this socket: the queue's PPD cannot be fetched.
    std::map<std::string, std::string> env = m_install.QueueEnv("");
    env.erase("PPD");
    env["CUPS_SERVER"] = m_install.root() / "no-scheduler.sock";
    FilterRun run = RunFilterProgram(JobArgs(), env);
    EXPECT_EQ(run.iStatus, 1);
    EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), std::vector<std::string>{"ERROR in InitCupsOptions"})
        << run.stderrText;
}

// The model's default settings with secure print chosen, saved for alice's queue "office".
void SaveSecurePrintSettings(const FilterInstall& install, const char* pszModel)
{
    DRVDEVMODE record;
    ASSERT_TRUE(install.ModelDefaults(pszModel, &record)) << pszModel;
    record.priv.dmJobSpool = 6;
    install.WriteSavedSettings("alice", "office", &record, sizeof record);
}

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

TEST_F(FilterEntry, SecurePrintJobGoesToTheUsersSpoolFileOnAModelThatOffersIt)
{
    SaveSecurePrintSettings(m_install, "GC7350");
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(FilterInstall::SamplePpd("GC7350")));
    EXPECT_EQ(run.iStatus, 0) << run.stderrText;
    EXPECT_EQ(run.stdoutBytes, "") << "a secure-print job sends nothing to the printer";
    std::vector<std::string> files = FilesIn(m_install.SpoolDir("alice", "office"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex("[0-9]{14}000\\.prn"))) << files[0];
    std::ifstream in(m_install.SpoolDir("alice", "office") + files[0], std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(0, kUel.size()), kUel) << "the file holds the printer's byte stream";
}

TEST_F(FilterEntry, SecurePrintJobWhoseSpoolDirectoryIsRefusedIsNotPrintedInTheOpen)
{
    SaveSecurePrintSettings(m_install, "GC7350");
    // Another user made alice's spool directory a link to a directory of their own.
    std::string secure = orv::InstalledPath(orv::kSpoolDir) + orv::kSecurePrintSubdir;
    std::filesystem::create_directories(secure);
    std::filesystem::create_directories(m_install.root() / "theirs");
    ASSERT_EQ(symlink((m_install.root() / "theirs").c_str(), (secure + "alice").c_str()), 0);
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(FilterInstall::SamplePpd("GC7350")));
    EXPECT_EQ(run.iStatus, 1) << run.stderrText;
    EXPECT_EQ(run.stdoutBytes, "") << "the secure job does not reach the printer";
    std::vector<std::string> errors = LogLinesAt(run.stderrText, "ERROR: ");
    ASSERT_EQ(errors.size(), 1u) << run.stderrText;
    EXPECT_EQ(errors[0], "Secure print spool refused (alice is a symbolic link): the job is not printed");
    EXPECT_EQ(FilesIn(m_install.root() / "theirs"), std::vector<std::string>{});
}

TEST_F(FilterEntry, SecurePrintOnAModelWithoutItIsAnOrdinaryJob)
{
    SaveSecurePrintSettings(m_install, "GM4150");
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")));
    EXPECT_EQ(run.iStatus, 0) << run.stderrText;
    EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), std::vector<std::string>{});
    EXPECT_EQ(access((m_install.root() / "var/spool/.orvamfs").c_str(), F_OK), -1);
}

TEST_F(FilterEntry, DamagedSavedSettingsAreNoErrorTheModelDefaultsServe)
{
    std::string garbage(1248, '\x5A');
    m_install.WriteSavedSettings("alice", "office", garbage.data(), 1232);
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(FilterInstall::SamplePpd("GM4150")));
    EXPECT_EQ(run.iStatus, 0) << run.stderrText;
    EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), std::vector<std::string>{}) << run.stderrText;
}

TEST_F(FilterEntry, QueuePpdHandedOverByTheSchedulerIsLeftInPlace)
{
    std::string ppd = m_install.PpdVariant("GM4150", nullptr);
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(ppd));
    EXPECT_EQ(run.iStatus, 0) << run.stderrText;
    EXPECT_EQ(access(ppd.c_str(), F_OK), 0);
}

TEST_F(FilterEntry, SecurePrintWhoseSpoolTreeCannotBeMadeGoesToThePrinter)
{
    SaveSecurePrintSettings(m_install, "GC7350");
    // A regular file where the spool tree's top directory belongs: no directory can be made under
    // it, whoever runs the test.
    m_install.root().WriteFile("var/spool/.orvamfs", "not a directory\n");
    FilterRun run = RunFilterProgram(JobArgs(), m_install.QueueEnv(FilterInstall::SamplePpd("GC7350")));
    EXPECT_EQ(run.iStatus, 0) << run.stderrText;
    EXPECT_EQ(LogLinesAt(run.stderrText, "ERROR: "), std::vector<std::string>{}) << run.stderrText;
    ASSERT_GE(run.stdoutBytes.size(), 2 * kUel.size());
    EXPECT_EQ(run.stdoutBytes.substr(0, kUel.size()), kUel) << "the job went to the printer";
    EXPECT_EQ(run.stdoutBytes.substr(run.stdoutBytes.size() - kUel.size()), kUel);
}

TEST_F(FilterEntry, JobWhoseRendererCannotBeMadeFailsWithItsReason)
{
    // The renderer is made from the colour table the model names, loaded from the data directory.
    // The sample model GM1000 names none.
    struct Case {
        const char* pszWhat;
        const char* pszModel;
        bool bRemoveTable;
        const char* pszDocument;
        std::string error;
    } cases[] = {
        {"colour-table file missing", "GM4150", true, kPostScript, "Cannot load ColorTable File 'L_GM4150'"},
        {"no colour table named", "GM1000", false, kPostScript, "The model data names no colour table"},
        {"no colour table named, no page", "GM1000", false, "%!PS-Adobe-3.0\n%%EOF\n",
         "The model data names no colour table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        FilterInstall install;
        if (c.bRemoveTable) {
            ASSERT_EQ(std::remove((orv::InstalledPath(orv::kModelDataDir) + "L_" + c.pszModel).c_str()), 0);
        }
        std::string input = install.root().WriteFile("job.ps", c.pszDocument);
        std::map<std::string, std::string> env = m_install.QueueEnv(FilterInstall::SamplePpd(c.pszModel));
        env["ORVALEN_TEST_ROOT"] = install.root().path();
        FilterRun run = RunFilterProgram({"gdi-filter", "42", "alice", "report", "1", "", input}, env);
        EXPECT_EQ(run.iStatus, 1) << run.stderrText;
        std::vector<std::string> errors = LogLinesAt(run.stderrText, "ERROR: ");
        ASSERT_FALSE(errors.empty()) << run.stderrText;
        EXPECT_EQ(errors.front(), c.error) << run.stderrText;
        EXPECT_EQ(run.stdoutBytes, "") << "no job was started";
    }
}

// Where the keep-alive sequence ESC "&&0S" fell in a decoded job. It is the printer's sheet
// control command with the value 0: a page opens with one, followed at once by its horizontal
// resolution, and ends with its page end command; every other sheet control is a keep-alive.
struct KeepAlivePlaces {
    size_t nBetweenPages = 0;  // after a page's end and before the next page
    size_t nBeforeFirstPage = 0;
    size_t nAfterLastPage = 0;
    size_t nInsidePages = 0;
    size_t nPages = 0;
};

KeepAlivePlaces FindKeepAlives(const orvdecode::DecodedStream& stream)
{
    using orvdecode::EventKind;
    const std::vector<orvdecode::StreamEvent>& events = stream.events;
    auto isCommand = [&](size_t i, const char* pszName) {
        return i < events.size() && events[i].kind == EventKind::Command && events[i].name == pszName;
    };
    KeepAlivePlaces places;
    bool bInPage = false;
    size_t nPending = 0;  // keep-alives since the last page's end
    for (size_t i = 0; i < events.size(); ++i) {
        if (isCommand(i, "sheet control") && isCommand(i + 1, "horizontal resolution")) {
            if (bInPage) {
                ++places.nInsidePages;  // the page before never ended
            }
            (places.nPages == 0 ? places.nBeforeFirstPage : places.nBetweenPages) += nPending;
            nPending = 0;
            bInPage = true;
            ++places.nPages;
        } else if (isCommand(i, "sheet control")) {
            EXPECT_EQ(events[i].value, 0) << "at offset " << events[i].offset;
            ++(bInPage ? places.nInsidePages : nPending);
        } else if (isCommand(i, "page end, ink planes")) {
            bInPage = false;
        }
    }
    (places.nPages == 0 ? places.nBeforeFirstPage : places.nAfterLastPage) += nPending;
    return places;
}

TEST_F(FilterEntry, KeepAliveGoesOutWhileTheNextPageIsSlowAndNeverInsideAPage)
{
    // The model's keep-alive comes after one idle second; Ghostscript takes three and a half seconds
    // over the second page before it hands it over.
    std::filesystem::copy_file(ORV_KEEPALIVE_MODEL, orv::InstalledPath(orv::kModelDataDir) + "GM4150KA.pcsp");
    std::string ppd = m_install.PpdVariant("GM4150", nullptr, "GM4150.pcsp", "GM4150KA.pcsp");
    std::string input =
        m_install.root().WriteFile("slow.ps",
                                   "%!PS-Adobe-3.0\n%%Pages: 3\n%%EndComments\n"
                                   "/busy { realtime add { dup realtime le { exit } if } loop pop } bind def\n"
                                   "%%Page: 1 1\n72 72 200 200 rectfill showpage\n"
                                   "%%Page: 2 2\n3500 busy 72 300 200 200 rectfill showpage\n"
                                   "%%Page: 3 3\n300 300 100 100 rectfill showpage\n%%EOF\n");
    FilterRun run = RunFilterProgram({"gdi-filter", "42", "alice", "report", "1", "", input}, m_install.QueueEnv(ppd));
    ASSERT_EQ(run.iStatus, 0) << run.stderrText;
    orvdecode::DecodedStream stream =
        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(run.stdoutBytes.data()), run.stdoutBytes.size());
    ASSERT_TRUE(stream.ok()) << stream.error->message;
    ASSERT_EQ(stream.pages.size(), 3u);
    KeepAlivePlaces places = FindKeepAlives(stream);
    EXPECT_EQ(places.nPages, 3u);
    EXPECT_GE(places.nBetweenPages, 1u) << "the idle output between the pages was kept alive";
    EXPECT_EQ(places.nBeforeFirstPage, 0u) << "nothing before the job's first output";
    EXPECT_EQ(places.nInsidePages, 0u);
    EXPECT_EQ(places.nAfterLastPage, 0u) << "the job ended at once after its last page";
}

}  // namespace
