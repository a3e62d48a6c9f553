// The user's conf directories and the adoption of overlay files left in the world-writable
// temporary tree: only regular files of a real directory the user owns are moved, never through a
// link, and a source goes only once its whole content is in place.
#include "gui/ConfDirs.h"
#include "gui/OverlayAdoption.h"

#include "core/InstallPaths.h"
#include "printer-setup/SetupTestSupport.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using setuptest::ReadText;

struct OverlayTree {
    orvtest::ScratchDir dir;
    orvtest::ScopedInstallRoot root{dir.path()};
    orvtest::ScopedEnv logname{"LOGNAME", "tester"};
    orvtest::ScopedEnv user{"USER", "tester"};

    std::string Source() const { return orv::InstalledPath(orv::kTmpOverlayDir) + "tester"; }
    std::string Target() const { return orv::InstalledPath(orv::kConfDir) + "tester/overlay"; }
    std::string Put(const std::string& name, const std::string& bytes) const
    {
        fs::create_directories(Source());
        return dir.WriteFile(Source().substr(dir.path().size() + 1) + "/" + name, bytes);
    }
};

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(ConfDirs, MakesTheUsersDirectoriesReadableByThePrintSystem)
{
    OverlayTree tree;
    EXPECT_TRUE(MakeConfDirs());
    EXPECT_TRUE(fs::is_directory(tree.Target()));
    EXPECT_EQ(ModeOf(tree.Target()), 0775u);
    EXPECT_EQ(ModeOf(orv::InstalledPath(orv::kConfDir) + "tester"), 0775u);
    EXPECT_TRUE(MakeConfDirs()) << "a second run finds them in place";
}

TEST(ConfDirs, FailsWithoutAUsableUserName)
{
    struct Case {
        const char* logname;
        const char* user;
    };
    for (const Case& c : {Case{nullptr, nullptr}, Case{"..", nullptr}, Case{"a/b", nullptr}}) {
        orvtest::ScratchDir dir;
        orvtest::ScopedInstallRoot root(dir.path());
        orvtest::ScopedEnv logname("LOGNAME", c.logname);
        orvtest::ScopedEnv user("USER", c.user);
        EXPECT_FALSE(MakeConfDirs()) << (c.logname != nullptr ? c.logname : "(none)");
        EXPECT_FALSE(fs::exists(orv::InstalledPath(orv::kConfDir))) << "nothing was made";
    }
}

TEST(OverlayAdoption, MovesRegularFilesAndReplacesTargetsOfTheSameName)
{
    OverlayTree tree;
    ASSERT_TRUE(MakeConfDirs());
    const std::string big(3 * 4096 + 17, 'x');  // more than one copy chunk
    tree.Put("form.ovl", big);
    tree.Put("empty.ovl", "");
    tree.dir.WriteFile(tree.Target().substr(tree.dir.path().size() + 1) + "/form.ovl", "old");

    EXPECT_EQ(AdoptOverlayFiles(), 2);
    EXPECT_EQ(ReadText(tree.Target() + "/form.ovl"), big);
    EXPECT_TRUE(fs::exists(tree.Target() + "/empty.ovl"));
    EXPECT_TRUE(fs::is_empty(tree.Source())) << "sources go once copied";
    EXPECT_TRUE(fs::exists(orv::InstalledPath(orv::kOverlayLockPath)));
    for (const auto& entry : fs::directory_iterator(tree.Target())) {
        EXPECT_TRUE(entry.path().filename() == "form.ovl" || entry.path().filename() == "empty.ovl")
            << "no temporary file is left: " << entry.path();
    }
}

TEST(OverlayAdoption, LeavesLinksDirectoriesAndOtherEntriesAlone)
{
    OverlayTree tree;
    ASSERT_TRUE(MakeConfDirs());
    const std::string secret = tree.dir.WriteFile("secret", "not the user's to hand out");
    tree.Put("real.ovl", "ok");
    fs::create_symlink(secret, tree.Source() + "/link.ovl");
    fs::create_directory(tree.Source() + "/subdir");
    ASSERT_EQ(mkfifo((tree.Source() + "/fifo").c_str(), 0600), 0);

    EXPECT_EQ(AdoptOverlayFiles(), 1);
    EXPECT_TRUE(fs::exists(tree.Target() + "/real.ovl"));
    for (const char* name : {"link.ovl", "subdir", "fifo"}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(tree.Target() + "/" + name))) << name;
        EXPECT_TRUE(fs::exists(fs::symlink_status(tree.Source() + "/" + name))) << name << " stays";
    }
    EXPECT_EQ(ReadText(secret), "not the user's to hand out");
}

TEST(OverlayAdoption, RefusesASourceDirectoryThatIsALinkOrNotTheUsers)
{
    OverlayTree tree;
    ASSERT_TRUE(MakeConfDirs());
    // A link planted at the source directory's name, pointing at a directory of the user's.
    const std::string elsewhere = tree.dir / "elsewhere";
    fs::create_directories(elsewhere);
    tree.dir.WriteFile("elsewhere/planted.ovl", "x");
    fs::create_directories(fs::path(tree.Source()).parent_path());
    fs::create_directory_symlink(elsewhere, tree.Source());
    EXPECT_EQ(AdoptOverlayFiles(), 0);
    EXPECT_TRUE(fs::exists(elsewhere + "/planted.ovl"));
    EXPECT_FALSE(fs::exists(tree.Target() + "/planted.ovl"));

    // A real directory that belongs to someone else.
    fs::remove(tree.Source());
    tree.Put("foreign.ovl", "x");
    const uid_t other = geteuid() == 0 ? 65534 : geteuid();
    if (geteuid() != 0 || chown(tree.Source().c_str(), other, static_cast<gid_t>(-1)) != 0) {
        GTEST_SKIP() << "giving the directory to another user needs root";
    }
    EXPECT_EQ(AdoptOverlayFiles(), 0);
    EXPECT_TRUE(fs::exists(tree.Source() + "/foreign.ovl"));
}

TEST(OverlayAdoption, NothingWithoutUserSourceOrTarget)
{
    {
        OverlayTree tree;
        tree.Put("a.ovl", "x");  // no target directory made
        EXPECT_EQ(AdoptOverlayFiles(), 0);
        EXPECT_TRUE(fs::exists(tree.Source() + "/a.ovl"));
    }
    {
        OverlayTree tree;
        ASSERT_TRUE(MakeConfDirs());
        EXPECT_EQ(AdoptOverlayFiles(), 0) << "no source directory";
    }
    {
        OverlayTree tree;
        ASSERT_TRUE(MakeConfDirs());
        tree.Put("a.ovl", "x");
        orvtest::ScopedEnv logname("LOGNAME", nullptr);
        orvtest::ScopedEnv user("USER", nullptr);
        EXPECT_EQ(AdoptOverlayFiles(), 0);
        EXPECT_TRUE(fs::exists(tree.Source() + "/a.ovl"));
    }
}

TEST(OverlayAdoption, AnIncompleteCopyKeepsTheSourceAndTheOldTarget)
{
    OverlayTree tree;
    ASSERT_TRUE(MakeConfDirs());
    tree.Put("large.ovl", std::string(64 * 1024, 'y'));
    tree.dir.WriteFile(tree.Target().substr(tree.dir.path().size() + 1) + "/large.ovl", "previous");

    // Files may grow to 8 KiB only: the copy's writes come up short and then fail.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    struct rlimit small = old;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int moved = AdoptOverlayFiles();
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(moved, 0);
    EXPECT_EQ(ReadText(tree.Source() + "/large.ovl").size(), 64u * 1024u) << "the source stays";
    EXPECT_EQ(ReadText(tree.Target() + "/large.ovl"), "previous") << "the old target stays";
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.Target()), fs::directory_iterator()), 1)
        << "the partial copy is removed";
}

}  // namespace
