#include "core/util/LockFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// True when the descriptor becomes readable within the time.
bool ReadableWithin(int fd, int milliseconds)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, milliseconds) == 1;
}

TEST(LockFile, CreatesParentsAndFileForEveryUserWhateverTheUmask)
{
    orvtest::ScratchDir dir;
    mode_t old = umask(022);
    int fd = OpenLockFile((dir / "tmp/orv/overlay.lock").c_str());
    mode_t after = umask(old);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(after, 022u) << "the caller's umask comes back";

    EXPECT_EQ(ModeOf(dir / "tmp"), 0777u);
    EXPECT_EQ(ModeOf(dir / "tmp/orv"), 0777u);
    EXPECT_EQ(ModeOf(dir / "tmp/orv/overlay.lock"), 0666u);
    EXPECT_EQ(Contents(dir / "tmp/orv/overlay.lock"), "");
    CloseLockFile(fd);
    // The lock file stays for the next holder.
    EXPECT_EQ(access((dir / "tmp/orv/overlay.lock").c_str(), F_OK), 0);
}

TEST(LockFile, AnExistingLockFileIsNeitherTruncatedNorWritten)
{
    orvtest::ScratchDir dir;
    std::string path = dir.WriteFile("overlay.lock", "left by someone");
    int fd = OpenLockFile(path.c_str());
    ASSERT_GE(fd, 0);
    CloseLockFile(fd);
    EXPECT_EQ(Contents(path), "left by someone");
}

TEST(LockFile, ASecondProcessWaitsUntilTheFirstUnlocks)
{
    orvtest::ScratchDir dir;
    const std::string path = dir / "overlay.lock";
    int fd = OpenLockFile(path.c_str());
    ASSERT_GE(fd, 0);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        // 'W': about to wait for the lock; 'L': holding it.
        bool ok = write(fds[1], "W", 1) == 1;
        int childFd = OpenLockFile(path.c_str());
        ok = ok && childFd >= 0 && write(fds[1], "L", 1) == 1;
        CloseLockFile(childFd);
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);

    char c = 0;
    ASSERT_TRUE(ReadableWithin(fds[0], 10000));
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    EXPECT_EQ(c, 'W');
    EXPECT_FALSE(ReadableWithin(fds[0], 300)) << "the child got the lock while the parent held it";

    CloseLockFile(fd);
    ASSERT_TRUE(ReadableWithin(fds[0], 10000)) << "the child never got the released lock";
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    EXPECT_EQ(c, 'L');

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(fds[0]);
}

TEST(LockFile, RefusesALinkOrAnythingButARegularFileAtThePath)
{
    orvtest::ScratchDir dir;
    const std::string victim = dir.WriteFile("victim", "precious");
    ASSERT_EQ(chmod(victim.c_str(), 0600), 0);
    ASSERT_EQ(symlink(victim.c_str(), (dir / "to-file.lock").c_str()), 0);
    ASSERT_EQ(symlink((dir / "created-through-link").c_str(), (dir / "dangling.lock").c_str()), 0);
    ASSERT_EQ(mkdir((dir / "dir.lock").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((dir / "fifo.lock").c_str(), 0600), 0);
    struct Case {
        const char* name;
        int expectedErrno;
    };
    const Case cases[] = {
        {"to-file.lock", ELOOP},
        {"dangling.lock", ELOOP},
        {"dir.lock", EISDIR},
        {"fifo.lock", EINVAL},
    };
    for (const Case& c : cases) {
        errno = 0;
        int fd = OpenLockFile((dir / c.name).c_str());
        EXPECT_EQ(fd, -1) << c.name;
        EXPECT_EQ(errno, c.expectedErrno) << c.name;
        if (fd >= 0) {
            CloseLockFile(fd);
        }
    }
    // Nothing was done through the links.
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_EQ(ModeOf(victim), 0600u);
    EXPECT_NE(access((dir / "created-through-link").c_str(), F_OK), 0);
}

TEST(LockFile, NullPathAndNegativeDescriptorAreHarmless)
{
    errno = 0;
    EXPECT_EQ(OpenLockFile(nullptr), -1);
    EXPECT_EQ(errno, EINVAL);
    CloseLockFile(-1);
}

}  // namespace
