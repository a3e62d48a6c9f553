#include "core/util/MakeDirs.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs a test from inside a scratch directory, so relative paths land there.
class MakeDirsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char buf[4096];
        ASSERT_NE(getcwd(buf, sizeof(buf)), nullptr);
        m_oldCwd = buf;
        ASSERT_EQ(chdir(m_dir.path().c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(m_oldCwd.c_str()), 0); }

    static bool IsDir(const std::string& path)
    {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    orvtest::ScratchDir m_dir;
    std::string m_oldCwd;
};

TEST_F(MakeDirsTest, CreatesEveryMissingComponentOrFailsWithTheReason)
{
    m_dir.WriteFile("plain", "x");
    m_dir.WriteFile("have/file", "x");
    ASSERT_EQ(mkdir("exists", 0755), 0);
    struct Case {
        const char* path;
        int rc;
        int expectedErrno;                  // when rc is -1
        std::vector<const char*> madeDirs;  // relative to the scratch directory
    };
    const std::vector<Case> cases = {
        {"a//b/", 0, 0, {"a", "a/b"}},
        {"c/d/e", 0, 0, {"c", "c/d", "c/d/e"}},
        {"exists", 0, 0, {"exists"}},
        {"exists///f//", 0, 0, {"exists/f"}},
        {"", -1, EINVAL, {}},
        {"plain/sub", -1, ENOTDIR, {}},     // through a regular file
        {"have/file", -1, ENOTDIR, {}},     // the last component is a regular file
        {"g/plainer/../h", 0, 0, {"g", "g/plainer", "g/h"}},
    };
    for (const Case& c : cases) {
        errno = 0;
        EXPECT_EQ(MakeDirs(c.path, 0755), c.rc) << '"' << c.path << '"';
        if (c.rc != 0) {
            EXPECT_EQ(errno, c.expectedErrno) << '"' << c.path << '"';
        }
        for (const char* made : c.madeDirs) {
            EXPECT_TRUE(IsDir(made)) << made << " after \"" << c.path << '"';
        }
    }
    EXPECT_FALSE(IsDir("plain/sub"));
}

TEST_F(MakeDirsTest, NullPathFailsWithEinval)
{
    errno = 0;
    EXPECT_EQ(MakeDirs(nullptr, 0755), -1);
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(MakeDirsTest, AbsolutePathsAndTheRootWork)
{
    EXPECT_EQ(MakeDirs((m_dir.path() + "/abs/one/").c_str(), 0755), 0);
    EXPECT_TRUE(IsDir(m_dir.path() + "/abs/one"));
    EXPECT_EQ(MakeDirs("///", 0755), 0);
}

TEST_F(MakeDirsTest, NewDirectoriesGetTheModeLessTheUmask)
{
    mode_t old = umask(022);
    EXPECT_EQ(MakeDirs("m/n", 0777), 0);
    EXPECT_EQ(MakeDirs("p", 0700), 0);
    umask(old);
    struct Case {
        const char* path;
        mode_t mode;
    };
    const Case cases[] = {{"m", 0755}, {"m/n", 0755}, {"p", 0700}};
    for (const Case& c : cases) {
        struct stat st;
        ASSERT_EQ(stat(c.path, &st), 0) << c.path;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.path;
    }
}

}  // namespace
