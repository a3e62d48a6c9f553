#include "core/binding/CupsFallbacks.h"
#include "core/binding/CupsLibrary.h"

#include "binding/BindingTestSupport.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using orvtest::ScratchDir;

std::string ReadBack(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Every line that cupsFileGetLine-style reading yields with this buffer length, until it answers 0.
std::vector<std::string> AllLines(decltype(&my_cupsFileGetLine) getLine, cups_file_t* fp,
                                  size_t buflen)
{
    std::vector<std::string> lines;
    std::vector<char> buf(buflen);
    for (size_t n; (n = getLine(fp, buf.data(), buflen)) != 0;) {
        EXPECT_EQ(buf[n], '\0');
        lines.emplace_back(buf.data(), n);
    }
    return lines;
}

struct LineCase {
    const char* what;
    std::string content;
    size_t buflen;
    std::vector<std::string> lines;
};

std::vector<LineCase> LineCases()
{
    return {
        {"LF, CR LF and lone CR end lines and stay in them", "one\ntwo\r\nthree\rtail", 64,
         {"one\n", "two\r\n", "three\r", "tail"}},
        {"empty lines", "\n\r\n\n", 64, {"\n", "\r\n", "\n"}},
        {"binary bytes stay on the line", std::string("a\0b\n", 4), 64, {std::string("a\0b\n", 4)}},
        {"a long line is cut at buflen - 2 bytes", "abcdef\n", 5, {"abc", "def", "\n"}},
        {"the smallest buffer holds one byte and a following LF", "ab\r\nc", 3,
         {"a", "b", "\r\n", "c"}},
        {"empty file", "", 64, {}},
        {"lines across the 4096-byte read buffer",
         std::string(4095, 'x') + "\r\n" + "y\n", 8192, {std::string(4095, 'x') + "\r\n", "y\n"}},
    };
}

TEST(CupsFileFallback, GetLineKeepsLineEndsAndBoundsTheBuffer)
{
    ScratchDir dir;
    for (const LineCase& c : LineCases()) {
        const std::string path = dir.WriteFile("lines.txt", c.content);
        cups_file_t* fp = my_cupsFileOpen(path.c_str(), "r");
        ASSERT_NE(fp, nullptr) << c.what;
        EXPECT_EQ(AllLines(my_cupsFileGetLine, fp, c.buflen), c.lines) << c.what;
        EXPECT_EQ(my_cupsFileTell(fp), static_cast<off_t>(c.content.size())) << c.what;
        EXPECT_EQ(my_cupsFileClose(fp), 0) << c.what;
    }
}

TEST(CupsFileFallback, ReadsLinesAndBlocksAsTheRealLibcupsDoes)
{
    orvtest::PinRealLibcups();
    orvtest::ScopedCups cups;
    ASSERT_EQ(LoadCupsLibrary(&cups), 0);
    ScratchDir dir;
    for (const LineCase& c : LineCases()) {
        const std::string path = dir.WriteFile("same.txt", c.content);
        cups_file_t* mine = my_cupsFileOpen(path.c_str(), "r");
        cups_file_t* real = cups.cupsFileOpen(path.c_str(), "r");
        ASSERT_TRUE(mine != nullptr && real != nullptr) << c.what;
        EXPECT_EQ(AllLines(my_cupsFileGetLine, mine, c.buflen),
                  AllLines(cups.cupsFileGetLine, real, c.buflen))
            << c.what;
        // Block reads after a rewind, in 3-byte steps to the end and one past it.
        ASSERT_EQ(my_cupsFileRewind(mine), cups.cupsFileRewind(real)) << c.what;
        for (;;) {
            char a[3] = {};
            char b[3] = {};
            ssize_t gotMine = my_cupsFileRead(mine, a, sizeof a);
            ssize_t gotReal = cups.cupsFileRead(real, b, sizeof b);
            ASSERT_EQ(gotMine, gotReal) << c.what;
            if (gotMine <= 0) {
                break;
            }
            EXPECT_EQ(std::string(a, gotMine), std::string(b, gotReal)) << c.what;
            EXPECT_EQ(my_cupsFileTell(mine), cups.cupsFileTell(real)) << c.what;
        }
        my_cupsFileClose(mine);
        cups.cupsFileClose(real);
    }
}

TEST(CupsFileFallback, WriteCreatesTruncatesAndAppends)
{
    ScratchDir dir;
    const std::string path = dir.WriteFile("out.txt", "old contents that must go");
    cups_file_t* fp = my_cupsFileOpen(path.c_str(), "w");
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(my_cupsFileTell(fp), 0);
    EXPECT_EQ(my_cupsFileWrite(fp, "first\n", 6), 6);
    EXPECT_EQ(my_cupsFileWrite(fp, "x", 0), 0);
    EXPECT_EQ(my_cupsFileTell(fp), 6);
    // A write-mode file can neither be read nor moved in.
    char buf[8];
    EXPECT_EQ(my_cupsFileRead(fp, buf, sizeof buf), -1);
    EXPECT_EQ(my_cupsFileGetLine(fp, buf, sizeof buf), 0u);
    EXPECT_EQ(my_cupsFileSeek(fp, 0), -1);
    EXPECT_EQ(my_cupsFileRewind(fp), -1);
    EXPECT_EQ(my_cupsFileClose(fp), 0);
    EXPECT_EQ(ReadBack(path), "first\n");

    fp = my_cupsFileOpen(path.c_str(), "a");
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(my_cupsFileTell(fp), 6);
    EXPECT_EQ(my_cupsFileWrite(fp, "second\n", 7), 7);
    EXPECT_EQ(my_cupsFileTell(fp), 13);
    EXPECT_EQ(my_cupsFileClose(fp), 0);
    EXPECT_EQ(ReadBack(path), "first\nsecond\n");

    // A compression level is accepted and the data is written as it is.
    const std::string plain = dir / "plain.txt";
    fp = my_cupsFileOpen(plain.c_str(), "w9");
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(my_cupsFileWrite(fp, "raw", 3), 3);
    my_cupsFileClose(fp);
    EXPECT_EQ(ReadBack(plain), "raw");

    struct stat st {};
    ASSERT_EQ(stat((dir / "new.txt").c_str(), &st), -1);
    fp = my_cupsFileOpen((dir / "new.txt").c_str(), "w");
    ASSERT_NE(fp, nullptr);
    my_cupsFileClose(fp);
    EXPECT_EQ(stat((dir / "new.txt").c_str(), &st), 0);
}

TEST(CupsFileFallback, WritingRefusesLinkedFilesAndLeavesThemIntact)
{
    ScratchDir dir;
    const std::string target = dir.WriteFile("target.txt", "precious");
    ASSERT_EQ(symlink(target.c_str(), (dir / "soft").c_str()), 0);
    ASSERT_EQ(link(target.c_str(), (dir / "hard").c_str()), 0);
    for (const char* name : {"soft", "hard"}) {
        for (const char* mode : {"w", "a"}) {
            EXPECT_EQ(my_cupsFileOpen((dir / name).c_str(), mode), nullptr) << name << mode;
        }
    }
    EXPECT_EQ(ReadBack(target), "precious");
    // Reading through a link is fine.
    cups_file_t* fp = my_cupsFileOpen((dir / "soft").c_str(), "r");
    ASSERT_NE(fp, nullptr);
    my_cupsFileClose(fp);
}

TEST(CupsFileFallback, RejectsBadOpenArguments)
{
    ScratchDir dir;
    const std::string path = dir.WriteFile("f.txt", "x");
    EXPECT_EQ(my_cupsFileOpen(nullptr, "r"), nullptr);
    EXPECT_EQ(my_cupsFileOpen(path.c_str(), nullptr), nullptr);
    EXPECT_EQ(my_cupsFileOpen(path.c_str(), "x"), nullptr);
    EXPECT_EQ(my_cupsFileOpen(path.c_str(), "s"), nullptr);
    EXPECT_EQ(my_cupsFileOpen(path.c_str(), ""), nullptr);
    EXPECT_EQ(my_cupsFileOpen(path.c_str(), "a9"), nullptr);  // no compressed appending
    EXPECT_EQ(my_cupsFileOpen((dir / "missing").c_str(), "r"), nullptr);
    EXPECT_EQ(my_cupsFileOpenFd(-1, "r"), nullptr);
    EXPECT_EQ(my_cupsFileOpenFd(0, "q"), nullptr);
    EXPECT_EQ(my_cupsFileClose(nullptr), -1);
    EXPECT_EQ(my_cupsFileTell(nullptr), 0);
    char buf[4];
    EXPECT_EQ(my_cupsFileRead(nullptr, buf, 4), -1);
    EXPECT_EQ(my_cupsFileWrite(nullptr, buf, 4), -1);
    EXPECT_EQ(my_cupsFileGetLine(nullptr, buf, 4), 0u);
    EXPECT_EQ(my_cupsFileSeek(nullptr, 0), -1);
    EXPECT_EQ(my_cupsFileRewind(nullptr), -1);
}

TEST(CupsFileFallback, SeekMovesWithinAndBeyondTheBufferAndRewindRestarts)
{
    ScratchDir dir;
    std::string content;
    for (int i = 0; i < 2000; ++i) {
        content += "line" + std::to_string(i) + "\n";  // more than one read buffer
    }
    const std::string path = dir.WriteFile("seek.txt", content);
    cups_file_t* fp = my_cupsFileOpen(path.c_str(), "r");
    ASSERT_NE(fp, nullptr);
    char buf[64];
    ASSERT_EQ(my_cupsFileGetLine(fp, buf, sizeof buf), 6u);  // "line0\n"

    struct Step {
        off_t to;
    };
    for (Step s : {Step{6}, Step{0}, Step{static_cast<off_t>(content.find("line1500"))},
                   Step{static_cast<off_t>(content.find("line12\n"))}}) {
        ASSERT_EQ(my_cupsFileSeek(fp, s.to), s.to);
        EXPECT_EQ(my_cupsFileTell(fp), s.to);
        size_t n = my_cupsFileGetLine(fp, buf, sizeof buf);
        const size_t lineEnd = content.find('\n', static_cast<size_t>(s.to)) + 1;
        EXPECT_EQ(std::string(buf, n), content.substr(s.to, lineEnd - s.to));
    }
    EXPECT_EQ(my_cupsFileSeek(fp, -1), -1);

    // At the end a read answers -1; a seek back makes the data readable again.
    ASSERT_EQ(my_cupsFileSeek(fp, static_cast<off_t>(content.size()) - 2), static_cast<off_t>(content.size()) - 2);
    EXPECT_EQ(my_cupsFileRead(fp, buf, sizeof buf), 2);
    EXPECT_EQ(my_cupsFileRead(fp, buf, sizeof buf), -1);
    EXPECT_EQ(my_cupsFileRewind(fp), 0);
    EXPECT_EQ(my_cupsFileTell(fp), 0);
    EXPECT_EQ(my_cupsFileRead(fp, buf, 5), 5);
    EXPECT_EQ(std::string(buf, 5), "line0");
    EXPECT_EQ(my_cupsFileClose(fp), 0);
}

TEST(CupsFileFallback, DescriptorFilesReadAndWriteThroughAPipe)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    cups_file_t* in = my_cupsFileOpenFd(fds[0], "r");
    cups_file_t* out = my_cupsFileOpenFd(fds[1], "w");
    ASSERT_TRUE(in != nullptr && out != nullptr);
    EXPECT_EQ(my_cupsFileWrite(out, "ping\npong", 9), 9);
    EXPECT_EQ(my_cupsFileClose(out), 0);  // closes the write end: the reader meets the end
    char buf[16];
    EXPECT_EQ(my_cupsFileGetLine(in, buf, sizeof buf), 5u);
    EXPECT_STREQ(buf, "ping\n");
    EXPECT_EQ(my_cupsFileGetLine(in, buf, sizeof buf), 4u);
    EXPECT_STREQ(buf, "pong");
    EXPECT_EQ(my_cupsFileGetLine(in, buf, sizeof buf), 0u);
    EXPECT_EQ(my_cupsFileRewind(in), -1);  // a pipe cannot be rewound
    EXPECT_EQ(my_cupsFileClose(in), 0);
    EXPECT_EQ(fcntl(fds[0], F_GETFD), -1);  // the descriptor was closed with the file
}

TEST(CupsFileFallback, StdinIsOneFileThatClosingDoesNotDestroy)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int savedStdin = dup(0);
    ASSERT_GE(savedStdin, 0);
    ASSERT_EQ(dup2(fds[0], 0), 0);
    close(fds[0]);
    ASSERT_EQ(write(fds[1], "from stdin\nmore\n", 16), 16);
    close(fds[1]);

    cups_file_t* fp = my_cupsFileStdin();
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(my_cupsFileStdin(), fp);
    char buf[32];
    EXPECT_EQ(my_cupsFileGetLine(fp, buf, sizeof buf), 11u);
    EXPECT_STREQ(buf, "from stdin\n");
    EXPECT_EQ(my_cupsFileClose(fp), 0);
    EXPECT_NE(fcntl(0, F_GETFD), -1);  // descriptor 0 stays open
    EXPECT_EQ(my_cupsFileStdin(), fp);
    EXPECT_EQ(my_cupsFileGetLine(fp, buf, sizeof buf), 5u);  // and the object still reads
    EXPECT_STREQ(buf, "more\n");

    dup2(savedStdin, 0);
    close(savedStdin);
}

TEST(CupsTempFileFallback, CreatesAPrivateEmptyFileInTmpdir)
{
    ScratchDir dir;
    orvtest::ScopedEnv tmpdir("TMPDIR", dir.path());
    char name[256];
    cups_file_t* fp = my_cupsTempFile2(name, sizeof name);
    ASSERT_NE(fp, nullptr);
    const std::string path(name);
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(dir.path()));
    struct stat st {};
    ASSERT_EQ(stat(name, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(my_cupsFileWrite(fp, "temp", 4), 4);
    EXPECT_EQ(my_cupsFileClose(fp), 0);
    EXPECT_EQ(ReadBack(path), "temp");

    // Two calls give two files.
    char other[256];
    cups_file_t* second = my_cupsTempFile2(other, sizeof other);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(std::string(other), path);
    my_cupsFileClose(second);
}

TEST(CupsTempFileFallback, ABufferTooShortForTheNameCreatesNothing)
{
    ScratchDir dir;
    orvtest::ScopedEnv tmpdir("TMPDIR", dir.path());
    // The name is the directory, "/" and 13 hex digits; one byte short of that and its terminator.
    const size_t need = dir.path().size() + 1 + 13 + 1;
    std::vector<char> name(need - 1, 'z');
    EXPECT_EQ(my_cupsTempFile2(name.data(), static_cast<int>(name.size())), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_EQ(my_cupsTempFile2(name.data(), 0), nullptr);
    EXPECT_EQ(my_cupsTempFile2(nullptr, 64), nullptr);

    std::vector<char> exact(need);
    cups_file_t* fp = my_cupsTempFile2(exact.data(), static_cast<int>(exact.size()));
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(std::string(exact.data()).size(), need - 1);
    my_cupsFileClose(fp);
}

TEST(CupsTempFileFallback, UnwritableTmpdirFallsBackToTmp)
{
    orvtest::ScopedEnv tmpdir("TMPDIR", "/nonexistent/tmpdir");
    char name[256];
    cups_file_t* fp = my_cupsTempFile2(name, sizeof name);
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(std::string(name).rfind("/tmp/", 0), 0u);
    my_cupsFileClose(fp);
    unlink(name);
}

}  // namespace
