// The job context built in-process from CUPS's arguments and environment over the sample models and
// queue PPDs: the job's options, its settings and what is read from the model.
#include "FilterInstall.h"
#include "JobFixture.h"

#include "core/InstallPaths.h"
#include "core/settings/DevModeService.h"
#include "filter/job/JobContext.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using filtertest::FilterInstall;
using orvtest::ScopedEnv;

namespace {

class JobContext : public ::testing::Test {
protected:
    static void SetUpTestSuite() { filtertest::PinJobLibraries(); }
    void SetUp() override { m_input = m_install.root().WriteFile("job.ps", "%!PS-Adobe-3.0\nshowpage\n"); }

    // A context for queue "office" of a model, built from a 7-argument command line.
    tagJOBINFO* Create(const std::string& model, const std::string& copies, const std::string& options)
    {
        ScopedEnv printer("PRINTER", "office");
        ScopedEnv ppd("PPD", FilterInstall::SamplePpd(model).c_str());
        return CreateWith(copies, options);
    }
    // With hooks (which must outlive the context), or with the system's own calls.
    tagJOBINFO* CreateWith(const std::string& copies, const std::string& options, const FilterHooks* pHooks = nullptr)
    {
        m_args = {"gdi-filter", "42", "alice", "report", copies, options, m_input};
        std::vector<char*> argv;
        for (std::string& a : m_args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        return pHooks != nullptr ? CreateJobInfo(7, argv.data(), *pHooks) : CreateJobInfo(7, argv.data());
    }

    FilterInstall m_install;
    std::string m_input;
    std::vector<std::string> m_args;
};

struct JobDeleter {
    void operator()(tagJOBINFO* p) const { FreeJobInfo(p); }
};
using JobPtr = std::unique_ptr<tagJOBINFO, JobDeleter>;

std::string OptionOf(tagJOBINFO* pJob, const char* pszName)
{
    const char* psz = pJob->cups.cupsGetOption(pszName, pJob->iOptionCount, pJob->pOptions);
    return psz != nullptr ? psz : "(absent)";
}

TEST_F(JobContext, CopiesComeFromTheCommandLineAndCollateDefaultsToOff)
{
    struct Case {
        const char* pszOptions;
        const char* pszCopies;
        const char* pszCollate;  // as the option array holds it
        SHORT sCollate;          // dmCollate: 1 on, 0 off
        int iOptionCount;
    } cases[] = {
        {"Collate=true copies=5", "2", "true", 1, 2},
        {"", "3", "false", 0, 2},
        {"copies=7 PageSize=A5", "4", "false", 0, 3},
        {"collate=True", "1", "True", 1, 2},  // option names are matched without regard to case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszOptions);
        JobPtr job(Create("GM4150", c.pszCopies, c.pszOptions));
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(OptionOf(job.get(), "copies"), c.pszCopies);
        EXPECT_EQ(OptionOf(job.get(), "Collate"), c.pszCollate);
        EXPECT_EQ(job->iOptionCount, c.iOptionCount);
        EXPECT_EQ(job->iCopies, std::atoi(c.pszCopies));
        EXPECT_EQ(job->devmode.dm.dmCopies, std::atoi(c.pszCopies));
        EXPECT_EQ(job->devmode.dm.dmCollate, c.sCollate);
    }
}

TEST_F(JobContext, JobOptionsOverrideThePpdDefaultsInTheSettings)
{
    // The sample PPD's PageSize choices carry "%% ID=9" for A4 (its default) and "%% ID=11" for A5.
    struct Case {
        const char* pszOptions;
        SHORT sPaper;
    } cases[] = {{"", 9}, {"PageSize=A5", 11}, {"PageSize=Legal", 5}};
    for (const Case& c : cases) {
        JobPtr job(Create("GM4150", "1", c.pszOptions));
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(job->devmode.dm.dmPaperSize, c.sPaper) << c.pszOptions;
        EXPECT_EQ(job->devmode.dm.dmSize, kDevmodePublicSize);
        EXPECT_EQ(job->devmode.dm.dmDriverExtra, kDevmodePrivateSize);
        EXPECT_EQ(job->devmode.priv.dwPrivDATA, kDevmodeSignature);
    }
}

// Under the scheduler the queue's driver receives CUPS's paged PostScript, and CUPS's page filter
// has already laid out "number-up": the printer must not be asked to lay the pages out again.
TEST_F(JobContext, PagesPerSheetAreLaidOutOnlyOnce)
{
    // The settings program saved four pages per sheet for the queue.
    JobPtr reference(Create("GC7350", "1", ""));
    ASSERT_NE(reference, nullptr);
    ASSERT_NE(reference->devmode.priv.dmFieldsExtra2 & 0x8u, 0u) << "the model offers pages per sheet";
    DRVDEVMODE saved = reference->devmode;
    reference.reset();
    saved.priv.dmLayoutPrint = 1;
    saved.priv.dmNup = 4;

    const char* kPaged = "application/vnd.cups-postscript";
    struct Case {
        const char* pszWhat;
        const char* pszFinalType;  // NULL: the filter run by hand, no scheduler
        bool bSaved;
        const char* pszOptions;
        bool bPagesPerSheet;  // the driver's own pages per sheet stay
        SHORT sNup;
    } cases[] = {
        {"by hand, job asks for 4", nullptr, false, "number-up=4", true, 4},
        {"by hand, saved 4", nullptr, true, "", true, 4},
        {"driver takes plain PostScript", "application/postscript", false, "number-up=6", true, 6},
        {"CUPS laid out 4", kPaged, false, "number-up=4", false, 0},
        {"CUPS laid out 2 over saved 4", kPaged, true, "number-up=2", false, 0},
        {"CUPS laid out 16", kPaged, false, "number-up=16", false, 0},
        {"CUPS laid out nothing, saved 4", kPaged, true, "number-up=1", true, 4},
        {"CUPS refuses 3, saved 4", kPaged, true, "number-up=3", true, 4},
        {"no number-up at all, saved 4", kPaged, true, "", true, 4},
    };
    const std::string path = orv::InstalledPath(orv::kConfDir) + "alice/office.dm";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        unlink(path.c_str());
        if (c.bSaved) {
            m_install.WriteSavedSettings("alice", "office", &saved, sizeof saved);
        }
        ScopedEnv finalType("FINAL_CONTENT_TYPE", c.pszFinalType);
        JobPtr job(Create("GC7350", "1", c.pszOptions));
        ASSERT_NE(job, nullptr);
        EXPECT_EQ((job->devmode.priv.dmLayoutPrint & 0x1) != 0, c.bPagesPerSheet);
        if (c.bPagesPerSheet) {
            EXPECT_EQ(job->devmode.priv.dmNup, c.sNup);
        }
    }
    unlink(path.c_str());
}

TEST_F(JobContext, ArgumentsAndHostFactsAreKept)
{
    JobPtr job(Create("GM4150", "1", ""));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->iJobId, 42);
    EXPECT_STREQ(job->pszUser, "alice");
    EXPECT_STREQ(job->pszTitle, "report");
    EXPECT_STREQ(job->pszPrinter, "office");
    EXPECT_NE(job->input, nullptr);
    EXPECT_NE(job->ppd, nullptr);
    EXPECT_NE(job->cups.handle, nullptr);
    EXPECT_NE(job->gs.handle, nullptr);
    EXPECT_NE(job->compress.COMPRESS, nullptr);
    EXPECT_STREQ(job->pszDevice, "ppmraw");
    char szHost[256] = {};
    ASSERT_EQ(gethostname(szHost, sizeof szHost - 1), 0);
    EXPECT_STREQ(job->pszHostName, szHost);
    struct utsname names;
    ASSERT_EQ(uname(&names), 0);
    EXPECT_EQ(std::string(job->pszSystem), std::string(names.sysname) + " " + names.release + " " + names.version);
}

TEST_F(JobContext, ModelGivesBandHeightKeepAliveAndDuplexCapabilities)
{
    // From the sample models' descriptions: GM4150 bands of 256 rows and a keep-alive every 30 s,
    // GC7350 128 rows and 60 s; GM1000 lists neither, so the usual band of 512 rows and no keep-alive.
    struct Case {
        const char* pszModel;
        int iBandHeight;
        int iKeepAlive;
        bool bDuplexListed;
    } cases[] = {{"GM4150", 256, 30, true}, {"GC7350", 128, 60, true}, {"GM1000", 512, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszModel);
        JobPtr job(Create(c.pszModel, "1", ""));
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(job->iBandHeight, c.iBandHeight);
        EXPECT_EQ(job->iKeepAliveSeconds, c.iKeepAlive);
        EXPECT_EQ(job->dwDuplexCaps != 0, c.bDuplexListed);
    }
}

TEST_F(JobContext, SavedSettingsAreUsedUnlessTheFileIsRefused)
{
    // A record of the queue as the settings program would save it: the model's settings with secure
    // print chosen, and a page count that a page pass once wrote into a record.
    JobPtr reference(Create("GM4150", "1", ""));
    ASSERT_NE(reference, nullptr);
    ASSERT_EQ(reference->dwSecurePrint, 0u) << "the model's defaults ask for no secure print";
    DRVDEVMODE saved = reference->devmode;
    reference.reset();
    saved.priv.dmJobSpool = 6;
    saved.priv.dmTotalPages = 7;
    DRVDEVMODE otherSize = saved;
    otherSize.dm.dmDriverExtra = 1000;

    struct Case {
        const char* pszWhat;
        const DRVDEVMODE* pRecord;  // NULL: no file
        size_t cbRecord;
        unsigned version;
        DWORD dwSecurePrint;  // 1 only when the saved record was taken
    } cases[] = {
        {"saved settings", &saved, sizeof saved, 1, 1},
        {"no saved settings", nullptr, 0, 1, 0},
        {"file of another version", &saved, sizeof saved, 2, 0},
        {"record of another size", &otherSize, sizeof otherSize, 1, 0},
        {"file cut short", &saved, 100, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        std::string path = orv::InstalledPath(orv::kConfDir) + "alice/office.dm";
        unlink(path.c_str());
        if (c.pRecord != nullptr) {
            m_install.WriteSavedSettings("alice", "office", c.pRecord, c.cbRecord, c.version);
        }
        JobPtr job(Create("GM4150", "1", ""));
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(job->dwSecurePrint, c.dwSecurePrint);
        EXPECT_EQ(job->devmode.priv.dmTotalPages, 0u) << "a page count is never carried into a job";
        EXPECT_EQ(job->devmode.dm.dmSize, kDevmodePublicSize);
        EXPECT_EQ(job->devmode.dm.dmDriverExtra, kDevmodePrivateSize);
        EXPECT_EQ(job->devmode.priv.dwPrivDATA, kDevmodeSignature);
    }
}

// The conf directory is open to every local user: a record that someone else planted for the job's
// user (or that someone else can change) is not used, and the log says why.
TEST_F(JobContext, SavedSettingsPlantedByAnotherUserAreNotUsed)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to give files away";
    }
    JobPtr reference(Create("GM4150", "1", ""));
    ASSERT_NE(reference, nullptr);
    DRVDEVMODE saved = reference->devmode;
    reference.reset();
    saved.priv.dmJobSpool = 6;  // what the planted record would decide: hold the job
    constexpr uid_t kStranger = 12345;
    struct Case {
        const char* pszWhat;
        uid_t dirOwner, fileOwner;
        mode_t dirMode, fileMode;
        bool bLinkedDir;
        DWORD dwSecurePrint;  // 1 only when the saved record was taken
        const char* pszWhy;
    } cases[] = {
        {"root's directory and file", 0, 0, 0755, 0644, false, 1, nullptr},
        {"directory of another user", kStranger, 0, 0755, 0644, false, 0, "directory belongs to user id 12345"},
        {"file of another user", 0, kStranger, 0755, 0644, false, 0, "file belongs to user id 12345"},
        {"directory open to all", 0, 0, 0777, 0644, false, 0, "directory is writable by other users"},
        {"file open to all", 0, 0, 0755, 0666, false, 0, "file is writable by other users"},
        {"directory is a link", 0, 0, 0755, 0644, true, 0, "symbolic link"},
    };
    const std::string dir = orv::InstalledPath(orv::kConfDir) + "alice";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        std::filesystem::remove_all(dir);
        std::filesystem::remove_all(dir + "-real");
        std::string path = m_install.WriteSavedSettings("alice", "office", &saved, sizeof saved, 1);
        ASSERT_EQ(chown(path.c_str(), c.fileOwner, c.fileOwner), 0);
        ASSERT_EQ(chmod(path.c_str(), c.fileMode), 0);
        ASSERT_EQ(chown(dir.c_str(), c.dirOwner, c.dirOwner), 0);
        ASSERT_EQ(chmod(dir.c_str(), c.dirMode), 0);
        if (c.bLinkedDir) {
            ASSERT_EQ(rename(dir.c_str(), (dir + "-real").c_str()), 0);
            ASSERT_EQ(symlink((dir + "-real").c_str(), dir.c_str()), 0);
        }
        orvtest::StderrCapture err(m_install.root() / "err.txt");
        JobPtr job(Create("GM4150", "1", ""));
        std::string log = err.Take();
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(job->dwSecurePrint, c.dwSecurePrint);
        if (c.pszWhy != nullptr) {
            EXPECT_NE(log.find("ERROR: (PID "), std::string::npos) << log;
            EXPECT_NE(log.find(") Saved settings of user alice for office not used"), std::string::npos) << log;
            EXPECT_NE(log.find(c.pszWhy), std::string::npos) << log;
        }
    }
}

std::string g_fetchedCopy;
const char* FetchCopyOfSamplePpd(const char*)
{
    std::filesystem::copy_file(FilterInstall::SamplePpd("GM4150"), g_fetchedCopy,
                               std::filesystem::copy_options::overwrite_existing);
    return g_fetchedCopy.c_str();
}
void ReplacePpdFetch(tagCUPSFUNC* pCups)
{
    pCups->cupsGetPPD = FetchCopyOfSamplePpd;
}

TEST_F(JobContext, WithoutThePpdVariableTheSchedulersCopyIsReadAndRemoved)
{
    g_fetchedCopy = m_install.root() / "fetched.ppd";
    FilterHooks hooks;
    hooks.pfnCupsBound = ReplacePpdFetch;
    ScopedEnv printer("PRINTER", "office");
    ScopedEnv ppd("PPD", nullptr);
    JobPtr job(CreateWith("1", "PageSize=A5", &hooks));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->devmode.dm.dmPaperSize, 11);
    EXPECT_NE(access(g_fetchedCopy.c_str(), F_OK), 0) << "the fetched copy is the filter's to remove";
}

TEST(JobCopies, OnlyAPositiveDecimalThatFitsTheRecordIsAccepted)
{
    struct Case {
        const char* psz;
        bool bAccepted;
        int iCopies;
    } cases[] = {{"1", true, 1},
                 {"007", true, 7},
                 {"32767", true, 32767},
                 {"32768", false, 0},
                 {"0", false, 0},
                 {"", false, 0},
                 {"-1", false, 0},
                 {"+2", false, 0},
                 {"2x", false, 0},
                 {" 2", false, 0},
                 {"99999999999999999999", false, 0},
                 {nullptr, false, 0}};
    for (const Case& c : cases) {
        int iCopies = 0;
        EXPECT_EQ(ParseJobCopies(c.psz, &iCopies), c.bAccepted) << (c.psz ? c.psz : "(null)");
        if (c.bAccepted) {
            EXPECT_EQ(iCopies, c.iCopies);
        }
    }
}

TEST(JobContextFree, NullIsAccepted)
{
    FreeJobInfo(nullptr);
}

}  // namespace
