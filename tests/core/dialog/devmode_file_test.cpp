// The saved-settings file: what is written byte for byte, what the reader accepts and refuses
// (checked on files built by hand from the layout), and that no failure costs the user a setting.
#include "core/dialog/DevmodeFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kUser = "alice";
constexpr const char* kQueue = "office";

// A record whose every byte is known: sizes and signature right, the rest a running pattern.
DRVDEVMODE PatternRecord(BYTE seed)
{
    DRVDEVMODE record;
    BYTE* bytes = reinterpret_cast<BYTE*>(&record);
    for (size_t i = 0; i < sizeof record; ++i)
        bytes[i] = static_cast<BYTE>(seed + i * 7);
    record.dm.dmSize = 96;
    record.dm.dmDriverExtra = 1136;
    record.priv.dwPrivDATA = 0x4B4D4544;
    return record;
}

void PutLe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutLe16(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

// The file as its layout table describes it: header words at 0, 4, 8, 12, the record at 16.
std::string HandBuiltFile(const DRVDEVMODE& record)
{
    std::string file(16, '\0');
    PutLe32(file, 0, 16);
    PutLe32(file, 4, 0x4B4D4544);
    PutLe32(file, 8, 1);
    PutLe32(file, 12, 1232);
    file.append(reinterpret_cast<const char*>(&record), sizeof record);
    return file;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class DevmodeFileTest : public ::testing::Test {
protected:
    orvtest::ScratchDir scratch;
    orvtest::ScopedInstallRoot root{scratch.path()};

    std::string UserDir(const std::string& user = kUser) const
    {
        return scratch / ("usr/local/share/orvalen/printer/conf/" + user);
    }
    std::string FilePath(const std::string& user = kUser, const std::string& queue = kQueue) const
    {
        return UserDir(user) + "/" + queue + ".dm";
    }
    std::vector<std::string> UserDirEntries() const
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(UserDir().c_str())) {
            while (dirent* e = readdir(dir)) {
                if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            }
            closedir(dir);
        }
        return names;
    }
};

TEST_F(DevmodeFileTest, WrittenFileIsHeaderAndRecordWithMode0644AndReadsBackIdentical)
{
    const DRVDEVMODE record = PatternRecord(3);
    const mode_t oldMask = umask(077);  // the file's mode must not depend on the writer's umask
    const DWORD written = dwWriteDevmodeFile(kUser, kQueue, &record);
    umask(oldMask);
    ASSERT_EQ(written, 0u);

    const std::string bytes = ReadAll(FilePath());
    ASSERT_EQ(bytes.size(), 1248u);
    const unsigned char expectedHead[16] = {0x10, 0x00, 0x00, 0x00, 0x44, 0x45, 0x4D, 0x4B,
                                            0x01, 0x00, 0x00, 0x00, 0xD0, 0x04, 0x00, 0x00};
    EXPECT_EQ(memcmp(bytes.data(), expectedHead, sizeof expectedHead), 0);
    EXPECT_EQ(memcmp(bytes.data() + 16, &record, sizeof record), 0);

    struct stat st;
    ASSERT_EQ(stat(FilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    DRVDEVMODE back;
    memset(&back, 0, sizeof back);
    ASSERT_EQ(dwReadDevmodeFile(kUser, kQueue, &back), 0u);
    EXPECT_EQ(memcmp(&back, &record, sizeof record), 0);
    EXPECT_EQ(UserDirEntries(), std::vector<std::string>{"office.dm"}) << "no temporary file is left";
}

TEST_F(DevmodeFileTest, SecondSaveReplacesTheFirstWhole)
{
    const DRVDEVMODE first = PatternRecord(1);
    const DRVDEVMODE second = PatternRecord(99);
    ASSERT_EQ(dwWriteDevmodeFile(kUser, kQueue, &first), 0u);
    ASSERT_EQ(dwWriteDevmodeFile(kUser, kQueue, &second), 0u);
    DRVDEVMODE back;
    ASSERT_EQ(dwReadDevmodeFile(kUser, kQueue, &back), 0u);
    EXPECT_EQ(memcmp(&back, &second, sizeof second), 0);
    EXPECT_EQ(ReadAll(FilePath()).size(), 1248u);
}

TEST_F(DevmodeFileTest, ReaderAcceptsOnlyTheExactLayoutAndLeavesTheRecordUntouchedOtherwise)
{
    const DRVDEVMODE stored = PatternRecord(5);
    const std::string good = HandBuiltFile(stored);
    struct Case {
        const char* name;
        std::string bytes;
        DWORD expected;
    };
    auto with32 = [&](size_t at, uint32_t v) { std::string s = good; PutLe32(s, at, v); return s; };
    auto with16 = [&](size_t at, uint16_t v) { std::string s = good; PutLe16(s, at, v); return s; };
    const DWORD refused = static_cast<DWORD>(-1);
    const Case cases[] = {
        {"layout as specified", good, 0},
        {"header size 15", with32(0, 15), refused},
        {"signature other than DEMK", with32(4, 0x4B4D4545), refused},
        {"version 2", with32(8, 2), refused},
        {"record size 1231", with32(12, 1231), refused},
        {"dmSize 95", with16(16 + 0, 95), refused},
        {"dmDriverExtra 1000", with16(16 + 2, 1000), refused},
        {"empty file", std::string(), refused},
        {"header only", good.substr(0, 16), refused},
        {"one byte short", good.substr(0, 1247), refused},
        {"one byte over", good + std::string(1, '\0'), refused},
        {"a second record behind", good + good.substr(16), refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch.WriteFile("usr/local/share/orvalen/printer/conf/alice/office.dm", c.bytes);
        DRVDEVMODE out;
        memset(&out, 0xA5, sizeof out);
        EXPECT_EQ(dwReadDevmodeFile(kUser, kQueue, &out), c.expected);
        DRVDEVMODE expected;
        if (c.expected == 0)
            expected = stored;
        else
            memset(&expected, 0xA5, sizeof expected);
        EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
    }
}

TEST_F(DevmodeFileTest, MissingFileGivesTheOpenErrorAndReadingCreatesNoDirectory)
{
    DRVDEVMODE out;
    memset(&out, 0x5A, sizeof out);
    EXPECT_EQ(dwReadDevmodeFile(kUser, kQueue, &out), static_cast<DWORD>(ENOENT));
    EXPECT_EQ(out.dm.dmSize, 0x5A5A);
    struct stat st;
    EXPECT_NE(stat(UserDir().c_str(), &st), 0) << "a read must not create the user's directory";
}

TEST_F(DevmodeFileTest, NonRegularFileIsRefusedWithoutBlocking)
{
    ASSERT_EQ(system(("mkdir -p '" + UserDir() + "'").c_str()), 0);
    ASSERT_EQ(mkfifo(FilePath().c_str(), 0644), 0);
    DRVDEVMODE out;
    EXPECT_EQ(dwReadDevmodeFile(kUser, kQueue, &out), static_cast<DWORD>(-1));
}

TEST_F(DevmodeFileTest, UnsafeUserAndQueueNamesAreRefusedBeforeTheyBecomeAPath)
{
    const DRVDEVMODE record = PatternRecord(7);
    struct Case {
        const char* user;
        const char* queue;
    };
    const Case cases[] = {
        {kUser, ""}, {kUser, "."}, {kUser, ".."}, {kUser, "../other"}, {kUser, "a/b"},
        {"", kQueue}, {".", kQueue}, {"..", kQueue}, {"../../etc", kQueue}, {"x/y", kQueue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " | " + c.queue);
        EXPECT_EQ(pszDevmodeFilePath(c.user, c.queue), nullptr);
        EXPECT_EQ(dwWriteDevmodeFile(c.user, c.queue, &record), 2u);
        DRVDEVMODE out;
        EXPECT_EQ(dwReadDevmodeFile(c.user, c.queue, &out), 2u);
    }
    // Nothing at all was created under the scratch root.
    struct stat st;
    EXPECT_NE(stat((scratch / "usr").c_str(), &st), 0);
}

TEST_F(DevmodeFileTest, NullArgumentsAreInvalid)
{
    DRVDEVMODE record = PatternRecord(0);
    EXPECT_EQ(dwWriteDevmodeFile(kUser, nullptr, &record), 22u);
    EXPECT_EQ(dwWriteDevmodeFile(kUser, kQueue, nullptr), 22u);
    EXPECT_EQ(dwReadDevmodeFile(kUser, nullptr, &record), 22u);
    EXPECT_EQ(dwReadDevmodeFile(kUser, kQueue, nullptr), 22u);
}

TEST_F(DevmodeFileTest, WithoutAUserNameTheEnvironmentChoosesTheDirectory)
{
    const char* oldLogname = getenv("LOGNAME");
    const std::string saved = oldLogname != nullptr ? oldLogname : "";
    setenv("LOGNAME", "bob", 1);
    char* path = pszDevmodeFilePath(nullptr, kQueue);
    const DRVDEVMODE record = PatternRecord(11);
    const DWORD written = dwWriteDevmodeFile(nullptr, kQueue, &record);
    if (oldLogname != nullptr)
        setenv("LOGNAME", saved.c_str(), 1);
    else
        unsetenv("LOGNAME");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(std::string(path), FilePath("bob"));
    free(path);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(ReadAll(FilePath("bob")).size(), 1248u);
}

// Runs the save in a child process (so that limits and a changed user do not leak into the test
// program) and returns its result; -2 when the child did not finish normally.
template <typename Setup>
long SaveInChild(const DRVDEVMODE& record, Setup setup)
{
    const pid_t pid = fork();
    if (pid == 0) {
        setup();
        const DWORD rc = dwWriteDevmodeFile(kUser, kQueue, &record);
        _exit(rc == 0 ? 0 : (rc == static_cast<DWORD>(-1) ? 255 : static_cast<int>(rc & 0x7F)));
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -2;
    return WEXITSTATUS(status);
}

// Saves for pszUser in a child process running as uid; the writer's result, -2 when the child did
// not finish normally, 120 when it could not change its user.
long SaveInChildAs(const char* pszUser, uid_t uid, const DRVDEVMODE& record)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(uid) != 0 || setuid(uid) != 0)
            _exit(120);
        const DWORD rc = dwWriteDevmodeFile(pszUser, kQueue, &record);
        _exit(rc == 0 ? 0 : (rc == static_cast<DWORD>(-1) ? 255 : static_cast<int>(rc & 0x7F)));
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -2;
    return WEXITSTATUS(status);
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(DevmodeFileTest, FullDiskIsAnErrorAndTheOldFileStaysIntact)
{
    const DRVDEVMODE old = PatternRecord(21);
    ASSERT_EQ(dwWriteDevmodeFile(kUser, kQueue, &old), 0u);
    const DRVDEVMODE replacement = PatternRecord(42);

    // The file size limit stops the write part-way, as a full disk would.
    const long rc = SaveInChild(replacement, [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(rc, EFBIG);

    DRVDEVMODE back;
    ASSERT_EQ(dwReadDevmodeFile(kUser, kQueue, &back), 0u);
    EXPECT_EQ(memcmp(&back, &old, sizeof old), 0);
    EXPECT_EQ(UserDirEntries(), std::vector<std::string>{"office.dm"}) << "the partial file is removed";
}

TEST_F(DevmodeFileTest, ReadOnlyDirectoryIsAnErrorAndTheOldFileStaysIntact)
{
    const DRVDEVMODE old = PatternRecord(33);
    ASSERT_EQ(dwWriteDevmodeFile(kUser, kQueue, &old), 0u);
    // The writer runs as an ordinary user (root would ignore the directory's mode), who may enter
    // the tree but not write into the directory.
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(UserDir().c_str(), 0555), 0);
    const DRVDEVMODE replacement = PatternRecord(66);
    const long rc = SaveInChild(replacement, [] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(120);
    });
    chmod(UserDir().c_str(), 0755);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, 120) << "could not become an ordinary user";
    EXPECT_NE(rc, -2);

    DRVDEVMODE back;
    ASSERT_EQ(dwReadDevmodeFile(kUser, kQueue, &back), 0u);
    EXPECT_EQ(memcmp(&back, &old, sizeof old), 0);
    EXPECT_EQ(UserDirEntries(), std::vector<std::string>{"office.dm"});
}

// Another local user can make any user's directory in the shared conf directory first, or put a
// file or a link into it: the reader takes the file only when the user (or root) made it and its
// directory and nobody else can change them; the writer refuses a directory it does not own.
TEST_F(DevmodeFileTest, SettingsPlantedByAnotherUserAreRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give files away";
    constexpr uid_t kNobody = 65534;  // the user "nobody"
    constexpr uid_t kStranger = 12345;
    const char* user = "nobody";
    const DRVDEVMODE stored = PatternRecord(9);
    const DWORD untrusted = kDmFileUntrusted;
    struct Case {
        const char* name;
        uid_t dirOwner;
        mode_t dirMode;
        uid_t fileOwner;
        mode_t fileMode;
        DWORD expected;
        const char* why;
    };
    const Case cases[] = {
        {"the user's directory and file", kNobody, 0755, kNobody, 0644, 0, ""},
        {"root's directory and file", 0, 0755, 0, 0644, 0, ""},
        {"directory made by another user", kStranger, 0755, kNobody, 0644, untrusted, "directory belongs to user id 12345"},
        {"file made by another user", kNobody, 0755, kStranger, 0644, untrusted, "file belongs to user id 12345"},
        {"directory open to everyone", kNobody, 0777, kNobody, 0644, untrusted, "directory is writable by other users"},
        {"directory open to the group", kNobody, 0775, kNobody, 0644, untrusted, "writable by other users"},
        {"file writable by everyone", kNobody, 0755, kNobody, 0666, untrusted, "file is writable by other users"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratch.WriteFile("usr/local/share/orvalen/printer/conf/nobody/office.dm",
                                                   HandBuiltFile(stored));
        ASSERT_EQ(chown(path.c_str(), c.fileOwner, c.fileOwner), 0);
        ASSERT_EQ(chmod(path.c_str(), c.fileMode), 0);
        ASSERT_EQ(chown(UserDir(user).c_str(), c.dirOwner, c.dirOwner), 0);
        ASSERT_EQ(chmod(UserDir(user).c_str(), c.dirMode), 0);
        DRVDEVMODE out;
        memset(&out, 0xA5, sizeof out);
        std::string why;
        EXPECT_EQ(dwReadDevmodeFile(user, kQueue, &out, &why), c.expected);
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        if (c.expected != 0) {
            EXPECT_EQ(out.dm.dmSize, 0xA5A5) << "a refused file leaves the record alone";
        }
    }

    // Links: the user's directory or file pointing at files the user did not choose.
    const std::string elsewhere = scratch.WriteFile("elsewhere/office.dm", HandBuiltFile(stored));
    ASSERT_EQ(system(("rm -rf '" + UserDir(user) + "'").c_str()), 0);
    ASSERT_EQ(symlink((scratch / "elsewhere").c_str(), UserDir(user).c_str()), 0);
    DRVDEVMODE out;
    EXPECT_EQ(dwReadDevmodeFile(user, kQueue, &out), untrusted) << "directory is a link";
    ASSERT_EQ(unlink(UserDir(user).c_str()), 0);
    ASSERT_EQ(mkdir(UserDir(user).c_str(), 0755), 0);
    ASSERT_EQ(symlink(elsewhere.c_str(), FilePath(user).c_str()), 0);
    EXPECT_EQ(dwReadDevmodeFile(user, kQueue, &out), untrusted) << "file is a link";

    // The user's saving refuses a directory another user made first, and writes nothing into it.
    ASSERT_EQ(unlink(FilePath(user).c_str()), 0);
    ASSERT_EQ(chown(UserDir(user).c_str(), kStranger, kStranger), 0);
    ASSERT_EQ(chmod(UserDir(user).c_str(), 0777), 0);
    EXPECT_EQ(dwWriteDevmodeFile("root", kQueue, &stored), 0u) << "root's own directory is made";
    EXPECT_EQ(ModeOf(UserDir("root")), 0755u);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    const long rc = SaveInChildAs(user, kNobody, stored);
    EXPECT_EQ(rc, 2) << "the planted directory is refused";
    DIR* dir = opendir(UserDir(user).c_str());
    ASSERT_NE(dir, nullptr);
    int entries = 0;
    while (dirent* e = readdir(dir))
        entries += strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0;
    closedir(dir);
    EXPECT_EQ(entries, 0);
}

}  // namespace
