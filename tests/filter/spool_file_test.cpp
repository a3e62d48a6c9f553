#include "JobFixture.h"
#include "core/util/MakeDirs.h"
#include "filter/job/SpoolFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <regex>
#include <string>

using filtertest::ReadFileBytes;
using filtertest::TestJob;
using orvtest::StderrCapture;

namespace {

const char kSpoolRefusal[] =
    "ERROR: There are not enough space in system drive.Increase the disk space on the system drive (to "
    "remove unnecessary files) and try again. \n";

uint64_t g_freeKb = 0;
bool FixedProbe(const char*, uint64_t* pqwFreeKb)
{
    *pqwFreeKb = g_freeKb;
    return true;
}
bool FailingProbe(const char*, uint64_t*)
{
    return false;
}

// A scratch install root holding /var/spool, with a job of user "alice" on queue "office" over a
// model that offers secure print (minimum free space: the default 10240 KB).
class SpoolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(MakeDirs((m_root / "var/spool").c_str(), 0755), 0);
        m_job.LoadModel("filter-secure-keepalive");
        m_job->pszUser = m_user;
        m_job->pszPrinter = m_printer;
        g_freeKb = 1u << 30;
        m_job.hooks().pfnSpoolSpace = FixedProbe;
    }
    void TearDown() override
    {
        if (m_job->spool != nullptr && m_job->spool != SPOOL_REFUSED) {
            fclose(m_job->spool);
        }
        m_job->spool = nullptr;
    }
    std::string QueueDir() const { return m_root / "var/spool/.orvamfs/secureprint/alice/office/"; }

    orvtest::ScratchDir m_root;
    orvtest::ScopedInstallRoot m_scope{m_root.path()};
    TestJob m_job;
    char m_user[16] = "alice";
    char m_printer[16] = "office";
};

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        return 0;
    }
    return st.st_mode & 07777;
}

TEST_F(SpoolTest, FileIsNamedByTheLocalTimeAndSequenceUnderUserAndQueue)
{
    FILE* f = CreateSpoolFile(m_job.get());
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f, SPOOL_REFUSED);
    fclose(f);
    std::string path = GetSpoolFilePath();
    ASSERT_EQ(path.compare(0, QueueDir().size(), QueueDir()), 0) << path;
    std::string name = path.substr(QueueDir().size());
    EXPECT_TRUE(std::regex_match(
        name, std::regex("20[0-9]{2}(0[1-9]|1[0-2])[0-3][0-9][0-2][0-9][0-5][0-9][0-6][0-9]000\\.tmp")))
        << name;
    // The held jobs carry their passwords: only the scheduler's user and group may read them.
    EXPECT_EQ(ModeOf(path), 0660u);
    for (const char* dir : {"var/spool/.orvamfs", "var/spool/.orvamfs/secureprint",
                            "var/spool/.orvamfs/secureprint/alice", "var/spool/.orvamfs/secureprint/alice/office"}) {
        EXPECT_EQ(ModeOf(m_root / dir), 0770u) << dir;
    }
}

TEST_F(SpoolTest, ExistingTreeGetsItsModesBackAndTheFileIsMade)
{
    ASSERT_EQ(MakeDirs(QueueDir().c_str(), 0700), 0);
    chmod((m_root / "var/spool/.orvamfs/secureprint/alice").c_str(), 0700);
    chmod((m_root / "var/spool/.orvamfs/secureprint").c_str(), 0777);  // as an older version left it
    FILE* f = CreateSpoolFile(m_job.get());
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f, SPOOL_REFUSED);
    fclose(f);
    EXPECT_EQ(ModeOf(m_root / "var/spool/.orvamfs/secureprint"), 0770u);
    EXPECT_EQ(ModeOf(m_root / "var/spool/.orvamfs/secureprint/alice"), 0770u);
    EXPECT_EQ(ModeOf(QueueDir()), 0770u);
}

TEST_F(SpoolTest, SuccessfulJobRenamesTmpToPrnWithThePrinterBytes)
{
    m_job->spool = CreateSpoolFile(m_job.get());
    ASSERT_NE(m_job->spool, nullptr);
    m_job->dwSpoolOk = 1;
    EXPECT_EQ(OutputPuts(m_job.get(), "\x1B%-12345X@PJL\r\n"), 15);
    std::string tmp = GetSpoolFilePath();
    EXPECT_EQ(FinishSpoolFile(m_job.get(), true), 0);
    EXPECT_EQ(m_job->spool, nullptr);
    std::string prn = tmp.substr(0, tmp.size() - 3) + "prn";
    EXPECT_NE(access(tmp.c_str(), F_OK), 0);
    EXPECT_EQ(ReadFileBytes(prn), "\x1B%-12345X@PJL\r\n");
}

TEST_F(SpoolTest, FailedWriteOrFailedJobRemovesTheFile)
{
    struct Case {
        DWORD dwSpoolOk;
        bool bJobSucceeded;
    } cases[] = {{0, true}, {1, false}, {0, false}};
    for (const Case& c : cases) {
        m_job->spool = CreateSpoolFile(m_job.get());
        ASSERT_NE(m_job->spool, nullptr);
        m_job->dwSpoolOk = c.dwSpoolOk;
        std::string tmp = GetSpoolFilePath();
        EXPECT_EQ(FinishSpoolFile(m_job.get(), c.bJobSucceeded), 1);
        EXPECT_NE(access(tmp.c_str(), F_OK), 0) << tmp;
        EXPECT_NE(access((tmp.substr(0, tmp.size() - 3) + "prn").c_str(), F_OK), 0);
    }
}

TEST_F(SpoolTest, SecondFileOfTheSameSecondTakesTheNextNumber)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        FILE* a = CreateSpoolFile(m_job.get());
        ASSERT_NE(a, nullptr);
        std::string first = GetSpoolFilePath();
        FILE* b = CreateSpoolFile(m_job.get());
        ASSERT_NE(b, nullptr);
        std::string second = GetSpoolFilePath();
        fclose(a);
        fclose(b);
        size_t stamp = first.size() - 7;  // "NNN.tmp"
        if (first.compare(0, stamp, second, 0, stamp) != 0) {
            continue;  // the clock ticked between them
        }
        EXPECT_EQ(first.substr(stamp), "000.tmp");
        EXPECT_EQ(second.substr(stamp), "001.tmp");
        return;
    }
    FAIL() << "no two files in the same second";
}

TEST_F(SpoolTest, TooLittleFreeSpaceRefusesTheSpool)
{
    struct Case {
        uint64_t qwFreeKb;
        bool bRefused;
    } cases[] = {{10239, true}, {10240, false}, {0, true}};
    for (const Case& c : cases) {
        g_freeKb = c.qwFreeKb;
        orvtest::ScratchDir errDir;
        StderrCapture err(errDir / "err.txt");
        FILE* f = CreateSpoolFile(m_job.get());
        std::string log = err.Take();
        if (c.bRefused) {
            EXPECT_EQ(f, SPOOL_REFUSED) << c.qwFreeKb;
            EXPECT_EQ(log, kSpoolRefusal);
        } else {
            ASSERT_NE(f, nullptr);
            ASSERT_NE(f, SPOOL_REFUSED);
            fclose(f);
            EXPECT_EQ(log, "");
        }
    }
}

TEST_F(SpoolTest, RefusedSpoolEndsTheJobWithStatusOne)
{
    m_job->spool = SPOOL_REFUSED;
    EXPECT_EQ(FinishSpoolFile(m_job.get(), true), 1);
    EXPECT_EQ(m_job->spool, nullptr);
}

TEST_F(SpoolTest, FailedSpaceProbeSkipsTheCheck)
{
    m_job.hooks().pfnSpoolSpace = FailingProbe;
    FILE* f = CreateSpoolFile(m_job.get());
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f, SPOOL_REFUSED);
    fclose(f);
}

std::string g_probedDir;
bool RecordingProbe(const char* pszDir, uint64_t* pqwFreeKb)
{
    g_probedDir = pszDir;
    *pqwFreeKb = 1u << 30;
    return true;
}

TEST_F(SpoolTest, FreeSpaceIsMeasuredWhereTheSpoolTreeIsOrWillBe)
{
    m_job.hooks().pfnSpoolSpace = RecordingProbe;
    FILE* first = CreateSpoolFile(m_job.get());
    ASSERT_NE(first, nullptr);
    fclose(first);
    EXPECT_EQ(g_probedDir, m_root / "var/spool") << "before the first job only the directory above exists";
    FILE* second = CreateSpoolFile(m_job.get());
    ASSERT_NE(second, nullptr);
    fclose(second);
    EXPECT_EQ(g_probedDir, m_root / "var/spool/.orvamfs");
}

TEST_F(SpoolTest, ModelWithoutSecurePrintGivesNoSpool)
{
    m_job.LoadModel("filter-no-secure");
    EXPECT_EQ(CreateSpoolFile(m_job.get()), nullptr);
    EXPECT_NE(access((m_root / "var/spool/.orvamfs").c_str(), F_OK), 0);
}

TEST_F(SpoolTest, UnsafeUserOrQueueNamesNeverBecomePaths)
{
    struct Case {
        const char* pszUser;
        const char* pszPrinter;
    } cases[] = {{"..", "office"}, {"alice", ".."},     {"a/b", "office"}, {"alice", "x/../../y"},
                 {"", "office"},   {nullptr, "office"}, {"alice", nullptr}};
    for (const Case& c : cases) {
        m_job->pszUser = const_cast<char*>(c.pszUser);
        m_job->pszPrinter = const_cast<char*>(c.pszPrinter);
        EXPECT_EQ(CreateSpoolFile(m_job.get()), nullptr)
            << (c.pszUser ? c.pszUser : "(null)") << " " << (c.pszPrinter ? c.pszPrinter : "(null)");
    }
    EXPECT_NE(access((m_root / "var/spool/.orvamfs").c_str(), F_OK), 0);
}

TEST_F(SpoolTest, SymbolicLinkInTheSharedTreeIsRefused)
{
    ASSERT_EQ(MakeDirs((m_root / "var/spool/.orvamfs/secureprint").c_str(), 0777), 0);
    ASSERT_EQ(MakeDirs((m_root / "elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(symlink((m_root / "elsewhere").c_str(), (m_root / "var/spool/.orvamfs/secureprint/alice").c_str()), 0);
    EXPECT_EQ(CreateSpoolFile(m_job.get()), SPOOL_REFUSED) << "the secure job is not printed in the open";
    EXPECT_EQ(ModeOf(m_root / "elsewhere"), 0700u) << "the link's target keeps its mode";
}

TEST_F(SpoolTest, OverlongQueueNameGivesNoSpool)
{
    std::string longName(600, 'q');
    m_job->pszPrinter = longName.data();
    EXPECT_EQ(CreateSpoolFile(m_job.get()), nullptr);
}

// Every local user may make directories in a tree that once was open to all: a level that another
// user made (or that everyone can write to) is refused, and the secure job is not printed at all
// rather than printed in the open or spooled where that user can read it.
TEST_F(SpoolTest, LevelsMadeByAnotherUserRefuseTheJob)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to give files away";
    }
    struct Case {
        const char* pszLevel;
        uid_t owner;
        const char* pszWhy;
    } cases[] = {
        {"var/spool/.orvamfs/secureprint/alice", 12345, "alice belongs to user id 12345"},
        {"var/spool/.orvamfs/secureprint/alice/office", 12345, "office belongs to user id 12345"},
        {"var/spool/.orvamfs", 12345, ".orvamfs belongs to user id 12345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszLevel);
        ASSERT_EQ(system(("rm -rf '" + (m_root / "var/spool/.orvamfs") + "'").c_str()), 0);
        ASSERT_EQ(MakeDirs(QueueDir().c_str(), 0777), 0);
        ASSERT_EQ(chown((m_root / c.pszLevel).c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(chmod((m_root / c.pszLevel).c_str(), 0777), 0);
        orvtest::ScratchDir errDir;
        StderrCapture err(errDir / "err.txt");
        EXPECT_EQ(CreateSpoolFile(m_job.get()), SPOOL_REFUSED);
        std::string log = err.Take();
        EXPECT_NE(log.find("ERROR: (PID "), std::string::npos) << log;
        EXPECT_NE(log.find(") Secure print spool refused"), std::string::npos) << log;
        EXPECT_NE(log.find(c.pszWhy), std::string::npos) << log;
        EXPECT_EQ(ModeOf(m_root / c.pszLevel), 0777u) << "another user's directory is left alone";
        EXPECT_EQ(system(("test -z \"$(find '" + QueueDir() + "' -type f)\"").c_str()), 0) << "no file was made";
    }
}

// The directory the spool file was made in is held open: a directory swapped in under the same
// name while the job runs receives neither the finished file nor the removal.
TEST_F(SpoolTest, FinishingWorksInTheDirectoryTheFileWasMadeIn)
{
    for (bool bSucceeded : {true, false}) {
        SCOPED_TRACE(bSucceeded ? "committed" : "removed");
        ASSERT_EQ(system(("rm -rf '" + (m_root / "var/spool/.orvamfs") + "' '" + (m_root / "moved") + "'").c_str()), 0);
        m_job->spool = CreateSpoolFile(m_job.get());
        ASSERT_NE(m_job->spool, nullptr);
        ASSERT_NE(m_job->spool, SPOOL_REFUSED);
        m_job->dwSpoolOk = 1;
        EXPECT_EQ(OutputPuts(m_job.get(), "held job"), 8);
        std::string name = std::string(GetSpoolFilePath()).substr(QueueDir().size());
        std::string stem = name.substr(0, name.size() - 3);
        ASSERT_EQ(rename(QueueDir().c_str(), (m_root / "moved").c_str()), 0);
        ASSERT_EQ(MakeDirs(QueueDir().c_str(), 0777), 0);
        // A decoy of the same name in the swapped-in directory must survive the removal.
        std::string decoy = QueueDir() + name;
        ASSERT_EQ(system(("echo decoy > '" + decoy + "'").c_str()), 0);

        EXPECT_EQ(FinishSpoolFile(m_job.get(), bSucceeded), bSucceeded ? 0 : 1);
        EXPECT_EQ(access(decoy.c_str(), F_OK), 0) << "the swapped-in directory is not touched";
        EXPECT_NE(access((QueueDir() + stem + "prn").c_str(), F_OK), 0);
        EXPECT_NE(access((m_root / "moved/" + name).c_str(), F_OK), 0) << "the .tmp name is gone";
        if (bSucceeded) {
            EXPECT_EQ(ReadFileBytes(m_root / "moved/" + stem + "prn"), "held job");
        } else {
            EXPECT_NE(access((m_root / "moved/" + stem + "prn").c_str(), F_OK), 0);
        }
    }
}

}  // namespace
