#include "core/util/FileUtil.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ReadWholeFile, LoadsExactlyTheFileBytesAndReportsTheirCount)
{
    orvtest::ScratchDir dir;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"one.bin", std::string("\x7f", 1)},
        {"binary.spc", std::string("PCSP\0\x01\x02\0\xff", 9)},  // zeros inside are data
        {"big.bin", std::string(200000, '\x5a')},
    };
    for (const Case& c : cases) {
        dir.WriteFile(c.name, c.bytes);
        size_t cb = 12345;
        void* pv = ReadWholeFileSized((dir.path() + "/").c_str(), c.name, &cb);
        ASSERT_NE(pv, nullptr) << c.name;
        EXPECT_EQ(cb, c.bytes.size()) << c.name;
        EXPECT_EQ(std::string(static_cast<char*>(pv), cb), c.bytes) << c.name;
        FreeIfSet(pv);

        void* plain = ReadWholeFile((dir.path() + "/").c_str(), c.name);
        ASSERT_NE(plain, nullptr) << c.name;
        EXPECT_EQ(memcmp(plain, c.bytes.data(), c.bytes.size()), 0) << c.name;
        free(plain);
    }
}

TEST(ReadWholeFile, JoinsDirectoryAndNameAsTheyAre)
{
    orvtest::ScratchDir dir;
    dir.WriteFile("datax.bin", "joined");
    // No slash is added between the two: "<dir>/data" + "x.bin".
    size_t cb = 0;
    void* pv = ReadWholeFileSized((dir.path() + "/data").c_str(), "x.bin", &cb);
    ASSERT_NE(pv, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(pv), cb), "joined");
    free(pv);

    // Without a directory the name is the whole path.
    pv = ReadWholeFileSized(nullptr, (dir.path() + "/datax.bin").c_str(), &cb);
    ASSERT_NE(pv, nullptr);
    EXPECT_EQ(cb, 6u);
    free(pv);
}

TEST(ReadWholeFile, RefusesWhatCannotBeLoadedWhole)
{
    orvtest::ScratchDir dir;
    dir.WriteFile("empty.bin", "");
    ASSERT_EQ(mkdir((dir / "folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);  // must not hang waiting for a writer
    struct Case {
        const char* name;
        int expectedErrno;
    };
    const Case cases[] = {
        {"empty.bin", ENODATA},
        {"missing.bin", ENOENT},
        {"folder", EISDIR},
        {"fifo", EINVAL},
    };
    for (const Case& c : cases) {
        size_t cb = 99;
        errno = 0;
        void* pv = ReadWholeFileSized((dir.path() + "/").c_str(), c.name, &cb);
        EXPECT_EQ(pv, nullptr) << c.name;
        EXPECT_EQ(errno, c.expectedErrno) << c.name;
        EXPECT_EQ(cb, 0u) << c.name;
        EXPECT_EQ(ReadWholeFile((dir.path() + "/").c_str(), c.name), nullptr) << c.name;
        free(pv);
    }
    EXPECT_EQ(ReadWholeFile(dir.path().c_str(), nullptr), nullptr);
}

TEST(ReadWholeFile, FailsWhenTheFileYieldsLessThanItsSize)
{
    // Kernel attribute files claim a page in their size and deliver a few bytes: a reader that
    // trusted the size would hand on a zero-filled tail as data.
    const char* path = "/sys/devices/system/cpu/online";
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 64) {
        GTEST_SKIP() << "no kernel attribute file with a padded size here";
    }
    size_t cb = 99;
    errno = 0;
    EXPECT_EQ(ReadWholeFileSized(nullptr, path, &cb), nullptr);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(cb, 0u);
}

TEST(ReadWholeFile, SizeOutputIsOptional)
{
    orvtest::ScratchDir dir;
    dir.WriteFile("f", "abc");
    void* pv = ReadWholeFileSized((dir.path() + "/").c_str(), "f", nullptr);
    ASSERT_NE(pv, nullptr);
    EXPECT_EQ(memcmp(pv, "abc", 3), 0);
    FreeIfSet(pv);
    FreeIfSet(nullptr);  // nothing to free
}

}  // namespace
