// The install target lays the package out as a user's machine has it. Each test installs the build
// into a scratch DESTDIR with `cmake --install` and checks the tree against the locations the
// programs themselves use (core/InstallPaths.h, read here as C++ constants, not as the install
// rules' copy of them), then uses the installed tree as the filter would.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/InstallPaths.h"
#include "core/binding/CompressLibrary.h"
#include "core/util/FileUtil.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

std::string Chomp(std::string s)
{
    while (!s.empty() && s.back() == '/') {
        s.pop_back();
    }
    return s;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The OrvalenAttr keyword values of a PPD, read as text.
std::map<std::string, std::string> MakerAttributes(const std::string& ppdPath)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(ReadFile(ppdPath));
    std::string line;
    const std::string prefix = "*OrvalenAttr ";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const size_t colon = line.find(':');
        const size_t open = line.find('"', colon);
        const size_t close = line.rfind('"');
        if (colon == std::string::npos || open == std::string::npos || close <= open) {
            continue;
        }
        values[line.substr(prefix.size(), colon - prefix.size())] = line.substr(open + 1, close - open - 1);
    }
    return values;
}

class InstallLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, Install()) << "cmake --install into " << m_dest.path() << " failed";
    }

    int Install() const
    {
        const std::string command = std::string("DESTDIR='") + m_dest.path() + "' '" ORV_CMAKE_COMMAND
                                    "' --install '" ORV_BUILD_DIR "' > '" + m_dest.path() + "/install.log' 2>&1";
        return std::system(command.c_str());
    }

    // A fixed location of the package inside the staging tree.
    std::string Staged(const std::string& installedPath) const { return m_dest.path() + installedPath; }

    orvtest::ScratchDir m_dest;
};

TEST_F(InstallLayout, FilesLandWhereTheProgramsAndCupsLookWithTheirModes)
{
    struct Case {
        std::string path;
        mode_t type;
        mode_t mode;
    };
    const std::string data = Staged(orv::kModelDataDir);
    const std::string ppds = Staged(ORV_CUPS_PPD_DIR "/");
    std::vector<Case> cases = {
        {Staged(orv::kCompressLibDir) + "liborvjbig.so.1", S_IFREG, 0755},
        {data + "GC7350.pcsp", S_IFREG, 0644},
        {data + "GM4150.pcsp", S_IFREG, 0644},
        {data + "GM1000.pcsp", S_IFREG, 0644},
        {data + "L_GC7350", S_IFREG, 0644},
        {data + "L_GM4150", S_IFREG, 0644},
        {ppds + "GC7350.ppd", S_IFREG, 0644},
        {ppds + "GM4150.ppd", S_IFREG, 0644},
        {ppds + "GM1000.ppd", S_IFREG, 0644},
        // Run by the settings program of any user.
        {Staged(orv::kCompanionProgram), S_IFREG, 0755},
        // Every user makes their own subdirectory in conf/ and nobody removes another's.
        {Chomp(Staged(orv::kConfDir)), S_IFDIR, 01777},
        // The held secure-print jobs: the scheduler's user and group only.
        {Chomp(Staged(orv::kSpoolDir)), S_IFDIR, 0770},
        {Chomp(Staged(orv::kSpoolDir) + orv::kSecurePrintSubdir), S_IFDIR, 0770},
    };
#ifdef ORV_HAVE_GDI_FILTER
    cases.push_back({Staged(ORV_CUPS_FILTER_DIR "/gdi-filter"), S_IFREG, 0755});
#endif
#ifdef ORV_HAVE_PRINTER_SETUP
    cases.push_back({Staged(orv::kUserProgramDir) + "printer-setup", S_IFREG, 0755});
    cases.push_back({Staged(orv::kDesktopEntryDir) + "printer-setup.desktop", S_IFREG, 0644});
#endif
#ifdef ORV_HAVE_UI_RESOURCES
    // Resource text files of the settings program, one directory per locale.
    for (const char* locale : {"en/", "ja/"}) {
        for (const char* file : {"L_K4WQTN.RCT", "L_L_GC73.RCT", "L_L_GM41.RCT"}) {
            cases.push_back({data + locale + file, S_IFREG, 0644});
        }
    }
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        struct stat st {};
        ASSERT_EQ(0, lstat(c.path.c_str(), &st)) << std::strerror(errno);
        EXPECT_EQ(c.type, st.st_mode & S_IFMT);
        EXPECT_EQ(c.mode, st.st_mode & 07777) << std::oct << (st.st_mode & 07777);
    }
    // The binding's second candidate is the plain name.
    struct stat link {};
    ASSERT_EQ(0, stat((Staged(orv::kCompressLibDir) + "liborvjbig.so").c_str(), &link));
}

TEST_F(InstallLayout, InstalledFilesAreTheBuildTreesOutputs)
{
    struct Case {
        std::string built;
        std::string installed;
    };
    const std::string data = Staged(orv::kModelDataDir);
    const Case cases[] = {
        {ORV_SAMPLE_MODEL_DIR "/GC7350.pcsp", data + "GC7350.pcsp"},
        {ORV_COLOR_TABLE_DIR "/L_GC7350", data + "L_GC7350"},
        {ORV_SOURCE_DIR "/data/ppd/GM4150.ppd", Staged(ORV_CUPS_PPD_DIR "/GM4150.ppd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        const std::string built = ReadFile(c.built);
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(built == ReadFile(c.installed));
    }
}

// What the queue's PPD names is what the installed tree holds: the model data loads from the data
// directory and the compression library binds from the library directory, both through the core's
// own code with the staging tree as the package root.
TEST_F(InstallLayout, EveryInstalledPpdNamesAnInstalledModelAndCompressionLibrary)
{
    orvtest::ScopedInstallRoot root(m_dest.path());
    for (const char* ppd : {"GC7350.ppd", "GM4150.ppd", "GM1000.ppd"}) {
        SCOPED_TRACE(ppd);
        const auto attributes = MakerAttributes(Staged(ORV_CUPS_PPD_DIR "/") + ppd);
        ASSERT_EQ(1u, attributes.count("SPCFILE"));
        ASSERT_EQ(1u, attributes.count("LIBJBIG"));

        const std::string dataDir = orv::InstalledPath(orv::kModelDataDir);
        size_t size = 0;
        void* model = ReadWholeFileSized(dataDir.c_str(), attributes.at("SPCFILE").c_str(), &size);
        ASSERT_NE(nullptr, model) << dataDir << attributes.at("SPCFILE");
        EXPECT_EQ(0, std::memcmp(model, "PCSP", 4));
        std::free(model);

        tagCOMPRESSFUNC compress {};
        ASSERT_EQ(0, LoadCompressLibrary(&compress, attributes.at("LIBJBIG").c_str()));
        EXPECT_NE(nullptr, compress.COMPRESS);
        UnloadCompressLibrary(&compress);
    }
}

TEST_F(InstallLayout, InstallingAgainKeepsTheTreeAndItsModes)
{
    const std::string conf = Chomp(Staged(orv::kConfDir));
    ASSERT_EQ(0, mkdir((conf + "/someone").c_str(), 0775));
    ASSERT_EQ(0, Install());
    struct stat st {};
    ASSERT_EQ(0, stat(conf.c_str(), &st));
    EXPECT_EQ(01777u, st.st_mode & 07777);
    EXPECT_EQ(0, stat((conf + "/someone").c_str(), &st)) << "a user's settings directory survives a reinstall";
}

#ifdef ORV_HAVE_GDI_FILTER
// The programs a user's machine runs know only the system's locations: a test-root variable left in
// the environment must not move them to another tree. The programs' twins, installed only on
// request, are what the tests run in staging trees.
TEST_F(InstallLayout, InstalledProgramsIgnoreTheTestRootAndOnlyTheirTwinsHonourIt)
{
    const std::string filter = Staged(ORV_CUPS_FILTER_DIR "/gdi-filter");
    const std::string document = m_dest.path() + "/empty-page.ps";
    {
        std::ofstream out(document);
        out << "%!PS-Adobe-3.0\nshowpage\n";
    }
    // The filter's log of a run on the mono sample queue with ORVALEN_TEST_ROOT at the staging tree.
    const auto runFilter = [&]() {
        const std::string log = m_dest.path() + "/filter.log";
        const std::string command = "PPD='" + Staged(ORV_CUPS_PPD_DIR "/GM4150.ppd") + "' PRINTER=mono ORVALEN_TEST_ROOT='" +
                                    m_dest.path() + "' '" + filter + "' 1 user title 1 '' '" + document +
                                    "' > /dev/null 2> '" + log + "'";
        std::system(command.c_str());
        return ReadFile(log);
    };
    const std::string systemModel = std::string(orv::kModelDataDir) + "GM4150.pcsp";
    const std::string stagedModel = Staged(orv::kModelDataDir) + "GM4150.pcsp";

    const std::string installed = runFilter();
    EXPECT_NE(std::string::npos, installed.find("Cannot open data file")) << installed;
    EXPECT_NE(std::string::npos, installed.find(": " + systemModel)) << installed;
    EXPECT_EQ(std::string::npos, installed.find(stagedModel)) << installed;

    const std::string command = std::string("DESTDIR='") + m_dest.path() + "' '" ORV_CMAKE_COMMAND "' --install '" ORV_BUILD_DIR
                                "' --component orv-test-root >> '" + m_dest.path() + "/install.log' 2>&1";
    ASSERT_EQ(0, std::system(command.c_str()));
    const std::string twin = runFilter();
    EXPECT_EQ(std::string::npos, twin.find("Cannot open data file")) << twin;
    EXPECT_EQ(std::string::npos, twin.find("ERROR in InitCupsOptions")) << twin;
}
#endif

// Every program the install target puts on a machine is the build's fixed-location program, byte
// for byte; the twins stay out of a normal install.
TEST_F(InstallLayout, NormalInstallTakesTheFixedLocationPrograms)
{
    struct Case {
        std::string built;
        std::string installed;
    };
    std::vector<Case> cases = {{ORV_COMPANION_PATH, Staged(orv::kCompanionProgram)}};
#ifdef ORV_HAVE_GDI_FILTER
    cases.push_back({ORV_GDI_FILTER_PATH, Staged(ORV_CUPS_FILTER_DIR "/gdi-filter")});
#endif
#ifdef ORV_HAVE_PRINTER_SETUP
    cases.push_back({ORV_PRINTER_SETUP_PATH, Staged(orv::kUserProgramDir) + "printer-setup"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        const std::string built = ReadFile(c.built);
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(built == ReadFile(c.installed));
    }
}

// As the CUPS user, the filter reads the data and the conf tree and writes the secure-print spool;
// as any user, the settings program makes its own conf subdirectory.
TEST_F(InstallLayout, CupsUserWritesTheSpoolAndAnyUserMakesTheirConfDirectory)
{
    if (getuid() != 0) {
        GTEST_SKIP() << "switching to the CUPS user needs root";
    }
    const passwd* cupsUser = getpwnam(ORV_CUPS_USER);
    ASSERT_NE(nullptr, cupsUser);
    struct stat st {};
    const std::string secure = Chomp(Staged(orv::kSpoolDir) + orv::kSecurePrintSubdir);
    ASSERT_EQ(0, stat(secure.c_str(), &st));
    EXPECT_EQ(cupsUser->pw_uid, st.st_uid);
    ASSERT_EQ(0, stat(Chomp(Staged(orv::kSpoolDir)).c_str(), &st));
    EXPECT_EQ(cupsUser->pw_uid, st.st_uid);
    // The scratch root itself is private to its creator.
    ASSERT_EQ(0, chmod(m_dest.path().c_str(), 0755));

    struct Case {
        const char* user;
        std::string mkdirPath;
        std::string readPath;
    };
    const Case cases[] = {
        {ORV_CUPS_USER, secure + "/" + ORV_CUPS_USER, Staged(orv::kModelDataDir) + "GC7350.pcsp"},
        {"nobody", Chomp(Staged(orv::kConfDir)) + "/nobody", Staged(ORV_CUPS_PPD_DIR "/GC7350.ppd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        const passwd* user = getpwnam(c.user);
        ASSERT_NE(nullptr, user);
        const uid_t uid = user->pw_uid;
        const gid_t gid = user->pw_gid;
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
                _exit(10);
            }
            if (mkdir(c.mkdirPath.c_str(), 0775) != 0) {
                _exit(11);
            }
            FILE* file = std::fopen(c.readPath.c_str(), "rb");
            _exit(file != nullptr && std::fgetc(file) != EOF ? 0 : 12);
        }
        int status = 0;
        ASSERT_EQ(pid, waitpid(pid, &status, 0));
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(0, WEXITSTATUS(status)) << "10: cannot switch user, 11: cannot make " << c.mkdirPath
                                          << ", 12: cannot read " << c.readPath;
    }
}

}  // namespace
