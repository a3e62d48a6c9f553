// Directories and files that one user keeps in a tree every local user can write to: which of them
// count as the user's, and how the user's own program makes its directory. The tests run as root,
// so "another user" is a file given to an unused user id with chown.
#include "core/util/OwnedPlace.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {

constexpr uid_t kStranger = 12345;
constexpr uid_t kNobody = 65534;

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(OwnedPlace, UserIdsComeFromTheSystemsUserList)
{
    uid_t uid = 99;
    ASSERT_TRUE(LookupUserId("root", &uid));
    EXPECT_EQ(uid, 0u);
    EXPECT_FALSE(LookupUserId("no-such-user-orv", &uid));
    EXPECT_FALSE(LookupUserId("", &uid));
    EXPECT_FALSE(LookupUserId(nullptr, &uid));
}

TEST(OwnedPlace, OnlyTheUserOrRootMayOwnAndNobodyElseMayWrite)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give files away";
    orvtest::ScratchDir scratch;
    struct Case {
        const char* what;
        bool dir;
        uid_t owner;
        mode_t mode;
        uid_t user;  // whose place it should be
        bool trusted;
        const char* why;
    } cases[] = {
        {"the user's directory", true, kNobody, 0755, kNobody, true, ""},
        {"root's directory", true, 0, 0755, kNobody, true, ""},
        {"a stranger's directory", true, kStranger, 0755, kNobody, false, "belongs to user id 12345"},
        {"directory open to all", true, kNobody, 0777, kNobody, false, "writable by other users"},
        {"directory open to the group", true, kNobody, 0775, kNobody, false, "writable by other users"},
        {"the user's file", false, kNobody, 0644, kNobody, true, ""},
        {"a stranger's file", false, kStranger, 0644, kNobody, false, "belongs to user id 12345"},
        {"file open to the group", false, 0, 0664, kNobody, false, "writable by other users"},
        {"root's file for an unknown user", false, 0, 0600, 0, true, ""},
        {"the user's file, user unknown", false, kNobody, 0644, 0, false, "belongs to user id 65534"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = scratch / ("place" + std::to_string(++n));
        if (c.dir) {
            ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        } else {
            scratch.WriteFile("place" + std::to_string(n), "x");
        }
        ASSERT_EQ(chown(path.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        std::string why;
        EXPECT_EQ(IsOwnedPlace(st, c.user, "the place", &why), c.trusted);
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        if (c.dir) {
            int fd = OpenOwnedDir(path.c_str(), c.user, nullptr);
            EXPECT_EQ(fd >= 0, c.trusted);
            if (fd >= 0) close(fd);
        }
    }
}

TEST(OwnedPlace, LinksAndOtherKindsOfFileAreNeverTheUsers)
{
    orvtest::ScratchDir scratch;
    ASSERT_EQ(mkdir((scratch / "real").c_str(), 0755), 0);
    ASSERT_EQ(symlink((scratch / "real").c_str(), (scratch / "link").c_str()), 0);
    std::string why;
    errno = 0;
    EXPECT_LT(OpenOwnedDir((scratch / "link").c_str(), geteuid(), &why), 0);
    EXPECT_NE(why.find("symbolic link"), std::string::npos) << why;
    EXPECT_LT(OpenOwnedDir((scratch / "missing").c_str(), geteuid(), &why), 0);
    EXPECT_EQ(errno, ENOENT);

    int dirFd = OpenOwnedDir((scratch / "real").c_str(), geteuid(), nullptr);
    ASSERT_GE(dirFd, 0);
    scratch.WriteFile("real/file", "x");
    ASSERT_EQ(chmod((scratch / "real/file").c_str(), 0644), 0);
    ASSERT_EQ(symlink("file", (scratch / "real/alias").c_str()), 0);
    ASSERT_EQ(mkfifo((scratch / "real/fifo").c_str(), 0644), 0);
    struct Case {
        const char* name;
        int err;  // 0: opened
    } cases[] = {{"file", 0}, {"alias", ELOOP}, {"fifo", EINVAL}, {"none", ENOENT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errno = 0;
        int fd = OpenOwnedFileAt(dirFd, c.name, geteuid(), nullptr);
        if (c.err == 0) {
            EXPECT_GE(fd, 0);
        } else {
            EXPECT_LT(fd, 0);
            EXPECT_EQ(errno, c.err);
        }
        if (fd >= 0) close(fd);
    }
    close(dirFd);
}

TEST(OwnedPlace, TheUsersProgramMakesItsDirectoryClosedToOthersAndRefusesAForeignOne)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give files away";
    orvtest::ScratchDir scratch;
    const std::string fresh = scratch / "fresh";
    EXPECT_EQ(MakeOwnedDir(fresh.c_str(), 0777), 0);
    EXPECT_EQ(ModeOf(fresh), 0755u) << "group and others never get write permission";

    const std::string wide = scratch / "wide";
    ASSERT_EQ(mkdir(wide.c_str(), 0700), 0);
    ASSERT_EQ(chmod(wide.c_str(), 0777), 0);
    EXPECT_EQ(MakeOwnedDir(wide.c_str(), 0755), 0);
    EXPECT_EQ(ModeOf(wide), 0755u) << "an own directory open to others is closed";

    const std::string planted = scratch / "planted";
    ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
    ASSERT_EQ(chown(planted.c_str(), kStranger, kStranger), 0);
    ASSERT_EQ(chmod(planted.c_str(), 0777), 0);
    EXPECT_EQ(MakeOwnedDir(planted.c_str(), 0755), EPERM);
    EXPECT_EQ(ModeOf(planted), 0777u) << "someone else's directory is left alone";

    ASSERT_EQ(symlink(fresh.c_str(), (scratch / "link").c_str()), 0);
    EXPECT_EQ(MakeOwnedDir((scratch / "link").c_str(), 0755), ELOOP);
    scratch.WriteFile("file", "x");
    EXPECT_EQ(MakeOwnedDir((scratch / "file").c_str(), 0755), ENOTDIR);
    EXPECT_EQ(MakeOwnedDir((scratch / "no/parent").c_str(), 0755), ENOENT);

    // An ordinary user refuses root's directory too: it is not the user's to write in.
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(120);
        _exit(MakeOwnedDir(fresh.c_str(), 0755));
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), EPERM);
}

}  // namespace
