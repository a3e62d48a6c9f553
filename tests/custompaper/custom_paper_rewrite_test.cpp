// Adding and removing the lines of one custom paper in a PPD file: the lines land inside the
// option or group they belong to or the file is left alone, a paper added and removed again
// leaves the file as it was, and no failure leaves a half-written or lost PPD.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "custompaper/CustomPaperTestSupport.h"
#include "support/RealCups.h"
#include "support/ScratchDir.h"

namespace {

using orvtest::InsertedBefore;
using orvtest::kLabelLines;
using orvtest::PaperNamed;
using orvtest::ReadBytes;
using orvtest::Replaced;

const tagCUSTOMPAPER kLabel = PaperNamed("Label");

WORD AddLabel(const std::string& path)
{
    return AddCustomPaperToPpd(path.c_str(), "userpaper457", &kLabel, 457, 1, 100.0, 150.0);
}

// The fixture with the label's four lines where they belong, written out by hand.
std::string SmallPpdWithLabel(const std::string& ppd)
{
    std::string expected = InsertedBefore(ppd, "*CloseUI: *PageSize", kLabelLines[0]);
    expected = InsertedBefore(expected, "*CloseUI: *PageRegion", kLabelLines[1]);
    expected = InsertedBefore(expected, "*ImageableArea Letter", kLabelLines[2]);
    return InsertedBefore(expected, "*PaperDimension Letter", kLabelLines[3]);
}

std::vector<std::string> DirectoryEntries(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                names.push_back(entry->d_name);
            }
        }
        closedir(dir);
    }
    return names;
}

TEST(AddCustomPaper, WritesTheFourLinesInsideTheirOptionsAndGroups)
{
    // The fixture names "*PageSize" in a constraint before any option and has another option's
    // "*CloseUI:" before the page-size option: the lines still land in the page-size option.
    const std::string ppd = orvtest::SmallPpd();
    orvtest::ScratchDir dir;
    const std::string path = dir.WriteFile("q.ppd", ppd);
    ASSERT_EQ(1, AddLabel(path));
    EXPECT_EQ(SmallPpdWithLabel(ppd), ReadBytes(path));
    EXPECT_EQ(std::vector<std::string> {"q.ppd"}, DirectoryEntries(dir.path())) << "no temporary file is left";
}

TEST(AddCustomPaper, KeepsCarriageReturnsNulBytesAndCommentsAroundTheGroups)
{
    struct Case {
        const char* what;
        std::string ppd;
    };
    const std::string nul("*% a NUL \0 byte in a comment\n", 29);
    const Case cases[] = {
        {"CRLF lines", orvtest::WithCrLf(orvtest::SmallPpd())},
        {"a NUL byte", Replaced(orvtest::SmallPpd(), "*FormatVersion", nul + "*FormatVersion")},
        {"comments and blank lines after the default lines",
         Replaced(Replaced(orvtest::SmallPpd(), "*DefaultImageableArea: A4\n", "*DefaultImageableArea: A4\n*% areas\n\n"),
                  "*DefaultPaperDimension: A4\n", "*DefaultPaperDimension: A4\n   \n")},
        {"keywords in other letter case",
         Replaced(Replaced(orvtest::SmallPpd(), "*OpenUI *PageSize/", "*openui *pagesize/"), "*CloseUI: *PageSize",
                  "*CLOSEUI: *PAGESIZE")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orvtest::ScratchDir dir;
        const std::string path = dir.WriteFile("q.ppd", c.ppd);
        ASSERT_EQ(1, AddLabel(path));
        // The new lines end in a line feed as written; everything else is the file's own.
        std::string expected = c.ppd;
        const std::pair<const char*, const char*> places[] = {
            {"*CloseUI: *PageSize", kLabelLines[0]},    {"*CLOSEUI: *PAGESIZE", kLabelLines[0]},
            {"*CloseUI: *PageRegion", kLabelLines[1]},  {"*ImageableArea Letter", kLabelLines[2]},
            {"*PaperDimension Letter", kLabelLines[3]},
        };
        for (const auto& [before, line] : places) {
            if (expected.find(std::string("\n") + before) != std::string::npos) {
                expected = InsertedBefore(expected, before, line);
            }
        }
        EXPECT_EQ(expected, ReadBytes(path));
        ASSERT_EQ(1, RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel));
        EXPECT_EQ(c.ppd, ReadBytes(path));
    }
}

TEST(AddCustomPaper, RefusesAPpdWhosePlacesAreMissingOrMisplaced)
{
    const std::string ppd = orvtest::SmallPpd();
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"no page-size option", Replaced(ppd, "*OpenUI *PageSize/Page Size: PickOne\n", "")},
        {"the page-size option never closes", Replaced(ppd, "*CloseUI: *PageSize\n", "")},
        {"the page-size option is closed by another keyword",
         Replaced(ppd, "*CloseUI: *PageSize\n", "*CloseUI: *PageSizeX\n")},
        {"an option opens inside the page-size option",
         Replaced(ppd, "*CloseUI: *PageSize\n", "*OpenUI *Duplex: PickOne\n*CloseUI: *Duplex\n*CloseUI: *PageSize\n")},
        {"no page-region option", Replaced(ppd, "*OpenUI *PageRegion: PickOne\n", "")},
        {"the page-region option with a translation string",
         Replaced(ppd, "*OpenUI *PageRegion: PickOne", "*OpenUI *PageRegion/Page Region: PickOne")},
        {"the page-region option never closes", Replaced(ppd, "*CloseUI: *PageRegion\n", "")},
        {"no imageable-area default", Replaced(ppd, "*DefaultImageableArea: A4\n", "")},
        {"a constraint between the imageable-area default and its group",
         Replaced(ppd, "*DefaultImageableArea: A4\n", "*DefaultImageableArea: A4\n*UIConstraints: *PageSize A4 *InputSlot Manual\n")},
        {"the imageable-area default after its group",
         Replaced(Replaced(ppd, "*DefaultImageableArea: A4\n", ""), "*DefaultPaperDimension", "*DefaultImageableArea: A4\n*DefaultPaperDimension")},
        {"no paper-dimension default", Replaced(ppd, "*DefaultPaperDimension: A4\n", "")},
        {"the paper-dimension default is the last line", Replaced(ppd, "*DefaultPaperDimension: A4\n", "") + "*DefaultPaperDimension: A4\n"},
        {"the keyword is already a page size", InsertedBefore(ppd, "*CloseUI: *PageSize", kLabelLines[0])},
        {"an empty file", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orvtest::ScratchDir dir;
        const std::string path = dir.WriteFile("q.ppd", c.text);
        EXPECT_EQ(0, AddLabel(path));
        EXPECT_EQ(c.text, ReadBytes(path));
        EXPECT_EQ(std::vector<std::string> {"q.ppd"}, DirectoryEntries(dir.path()));
    }
}

TEST(AddCustomPaper, RefusesWhatCannotBeWritten)
{
    orvtest::ScratchDir dir;
    const std::string ppd = orvtest::SmallPpd();
    const std::string path = dir.WriteFile("q.ppd", ppd);
    tagCUSTOMPAPER unterminated {};
    std::memset(unterminated.szName, 'n', sizeof unterminated.szName);
    const std::string keyword128(128, 'k');
    const tagCUSTOMPAPER newline = PaperNamed("Two\nlines");
    const tagCUSTOMPAPER colon = PaperNamed("Half: a paper");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        const char* keyword;
        const tagCUSTOMPAPER* paper;
        int id;
        double width;
        double length;
    };
    const Case cases[] = {
        {"no keyword", nullptr, &kLabel, 457, 100, 150},
        {"an empty keyword", "", &kLabel, 457, 100, 150},
        {"a keyword with a blank", "user paper", &kLabel, 457, 100, 150},
        {"a keyword with a slash", "user/paper", &kLabel, 457, 100, 150},
        {"a keyword with a colon", "user:paper", &kLabel, 457, 100, 150},
        {"a keyword of 128 bytes", keyword128.c_str(), &kLabel, 457, 100, 150},
        {"no paper", "userpaper457", nullptr, 457, 100, 150},
        {"a name field without its NUL", "userpaper457", &unterminated, 457, 100, 150},
        {"a line feed in the name", "userpaper457", &newline, 457, 100, 150},
        {"a colon in the name", "userpaper457", &colon, 457, 100, 150},
        {"id 456", "userpaper456", &kLabel, 456, 100, 150},
        {"id 32768", "userpaper32768", &kLabel, 32768, 100, 150},
        {"a negative id", "userpaper457", &kLabel, -457, 100, 150},
        {"a zero width", "userpaper457", &kLabel, 457, 0, 150},
        {"a negative length", "userpaper457", &kLabel, 457, 100, -150},
        {"an endless width", "userpaper457", &kLabel, 457, inf, 150},
        {"no number", "userpaper457", &kLabel, 457, 100, nan},
        {"a length of a kilometre", "userpaper457", &kLabel, 457, 100, 1e6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(0, AddCustomPaperToPpd(path.c_str(), c.keyword, c.paper, c.id, 1, c.width, c.length));
        EXPECT_EQ(ppd, ReadBytes(path));
    }
    EXPECT_EQ(0, AddCustomPaperToPpd(nullptr, "userpaper457", &kLabel, 457, 1, 100, 150));
    EXPECT_EQ(0, AddCustomPaperToPpd((dir / "missing.ppd").c_str(), "userpaper457", &kLabel, 457, 1, 100, 150));
    EXPECT_EQ(0, AddCustomPaperToPpd(dir.path().c_str(), "userpaper457", &kLabel, 457, 1, 100, 150));
}

TEST(AddCustomPaper, KeepsTheFilesModeAndLeavesSymbolicLinksAlone)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604), mode_t(0444)}) {
        SCOPED_TRACE(mode);
        orvtest::ScratchDir dir;
        const std::string path = dir.WriteFile("q.ppd", orvtest::SmallPpd());
        ASSERT_EQ(0, chmod(path.c_str(), mode));
        ASSERT_EQ(1, AddLabel(path));
        struct stat st {};
        ASSERT_EQ(0, stat(path.c_str(), &st));
        EXPECT_EQ(mode, st.st_mode & 07777);
        ASSERT_EQ(1, RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel));
        ASSERT_EQ(0, stat(path.c_str(), &st));
        EXPECT_EQ(mode, st.st_mode & 07777);
    }
    // A link would be replaced by a file of its own, and the PPD it points at left as it was.
    orvtest::ScratchDir dir;
    const std::string target = dir.WriteFile("q.ppd", SmallPpdWithLabel(orvtest::SmallPpd()));
    const std::string link = dir / "link.ppd";
    ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
    EXPECT_EQ(0, AddCustomPaperToPpd(link.c_str(), "userpaper458", &kLabel, 458, 1, 100, 150));
    EXPECT_EQ(0, RemoveCustomPaperFromPpd(link.c_str(), "userpaper457", &kLabel));
    EXPECT_EQ(SmallPpdWithLabel(orvtest::SmallPpd()), ReadBytes(target));
    struct stat st {};
    ASSERT_EQ(0, lstat(link.c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// Runs a rewrite in a child process whose files may not grow beyond limit bytes, so that writing
// the new PPD fails part-way; the rewrite's result is the child's exit status.
template <typename Rewrite>
int ResultWithFileSizeLimit(rlim_t limit, Rewrite rewrite)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
        const rlimit small {limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
            _exit(99);
        }
        _exit(rewrite());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RewriteCustomPaper, AFailingWriteLeavesTheOriginalIntact)
{
    orvtest::ScratchDir dir;
    const std::string ppd = orvtest::SmallPpd();
    const std::string path = dir.WriteFile("q.ppd", ppd);
    EXPECT_EQ(0, ResultWithFileSizeLimit(ppd.size() / 2, [&] { return int(AddLabel(path)); }));
    EXPECT_EQ(ppd, ReadBytes(path));
    EXPECT_EQ(std::vector<std::string> {"q.ppd"}, DirectoryEntries(dir.path()));

    const std::string withLabel = SmallPpdWithLabel(ppd);
    dir.WriteFile("q.ppd", withLabel);
    EXPECT_EQ(0, ResultWithFileSizeLimit(ppd.size() / 2, [&] {
                  return int(RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel));
              }));
    EXPECT_EQ(withLabel, ReadBytes(path));
    EXPECT_EQ(std::vector<std::string> {"q.ppd"}, DirectoryEntries(dir.path()));
    // The same rewrite succeeds without the limit: the limit was what failed.
    EXPECT_EQ(1, ResultWithFileSizeLimit(RLIM_INFINITY, [&] {
                  return int(RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel));
              }));
    EXPECT_EQ(ppd, ReadBytes(path));
}

TEST(RemoveCustomPaper, RemovesOnlyTheWholeKeywordAndName)
{
    const std::string withLabel = SmallPpdWithLabel(orvtest::SmallPpd());
    struct Case {
        const char* what;
        const char* keyword;
        const char* name;
        bool removed;
    };
    const Case cases[] = {
        {"the paper itself", "userpaper457", "Label", true},
        {"in other letter case", "USERPAPER457", "label", true},
        {"a name that starts the paper's name", "userpaper457", "Lab", false},
        {"a longer name", "userpaper457", "Label 2", false},
        {"a keyword that ends the paper's keyword", "serpaper457", "Label", false},
        {"a keyword that starts the paper's keyword", "userpaper45", "Label", false},
        {"another keyword", "userpaper458", "Label", false},
        {"an empty name", "userpaper457", "", false},
        {"an empty keyword", "", "Label", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orvtest::ScratchDir dir;
        const std::string path = dir.WriteFile("q.ppd", withLabel);
        const tagCUSTOMPAPER paper = PaperNamed(c.name);
        EXPECT_EQ(c.removed ? 1 : 0, RemoveCustomPaperFromPpd(path.c_str(), c.keyword, &paper));
        EXPECT_EQ(c.removed ? orvtest::SmallPpd() : withLabel, ReadBytes(path));
    }
    // A comment or a constraint naming the paper is not one of its lines.
    orvtest::ScratchDir dir;
    const std::string mentions = "*% *PageSize userpaper457/Label 100.0 x 150.0 mm: is ours\n"
                                 "*UIConstraints: *PageSize userpaper457/Label 100.0 x 150.0 mm: *InputSlot Manual\n";
    const std::string path = dir.WriteFile("q.ppd", mentions + withLabel);
    EXPECT_EQ(1, RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel));
    EXPECT_EQ(mentions + orvtest::SmallPpd(), ReadBytes(path));
    EXPECT_EQ(0, RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", &kLabel)) << "nothing left to remove";
    EXPECT_EQ(mentions + orvtest::SmallPpd(), ReadBytes(path));
    EXPECT_EQ(0, RemoveCustomPaperFromPpd((dir / "missing.ppd").c_str(), "userpaper457", &kLabel));
    EXPECT_EQ(0, RemoveCustomPaperFromPpd(path.c_str(), nullptr, &kLabel));
    EXPECT_EQ(0, RemoveCustomPaperFromPpd(path.c_str(), "userpaper457", nullptr));
}

struct RoundTripPaper {
    const char* keyword;
    const char* name;
    int id;
    int unit;
    double width;
    double length;
    int widthPoints;
    int lengthPoints;
};

const RoundTripPaper kRoundTripPapers[] = {
    {"userpaper457", "Label", 457, 1, 100.0, 150.0, 283, 425},
    {"userpaper458", "Photo 4x6", 458, 0, 101.6, 152.4, 288, 432},
    {"userpaper459", "My big paper", 459, 1, 210.0, 297.0, 595, 842},
};

// Every sample queue's PPD and the fixture, with LF and CRLF lines: papers added are read back,
// libcups sees them as page sizes, and removing them restores the file byte for byte.
TEST(CustomPaperRoundTrip, AddReadAndRemoveLeaveTheFileAsItWas)
{
    tagCUPSFUNC& cups = orvtest::RealCups();
    ASSERT_NE(nullptr, cups.ppdOpenFile) << "libcups is not bound";
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* sample : {"GC7350.ppd", "GM4150.ppd", "GM1000.ppd"}) {
        files.emplace_back(sample, ReadBytes(std::string(ORV_SAMPLE_PPD_DIR) + sample));
        ASSERT_FALSE(files.back().second.empty()) << sample;
    }
    files.emplace_back("fixture", orvtest::SmallPpd());
    files.emplace_back("fixture, CRLF", orvtest::WithCrLf(orvtest::SmallPpd()));
    for (const auto& [what, original] : files) {
        SCOPED_TRACE(what);
        orvtest::ScratchDir dir;
        const std::string path = dir.WriteFile("q.ppd", original);
        for (const RoundTripPaper& p : kRoundTripPapers) {
            const tagCUSTOMPAPER paper = PaperNamed(p.name);
            ASSERT_EQ(1, AddCustomPaperToPpd(path.c_str(), p.keyword, &paper, p.id, p.unit, p.width, p.length)) << p.name;
        }
        int count = 0;
        tagCUSTOMPAPER* read = ReadCustomPapersFromPpd(path.c_str(), &count);
        ASSERT_EQ(3, count);
        for (int i = 0; i < count; ++i) {
            const RoundTripPaper& p = kRoundTripPapers[i];
            EXPECT_STREQ(p.keyword, read[i].szKeyword);
            EXPECT_STREQ(p.name, read[i].szName);
            EXPECT_EQ(p.id, read[i].nID);
            EXPECT_EQ(p.unit, read[i].nUnit);
            EXPECT_NEAR(p.width, read[i].dWidth, p.unit == 0 ? 0.13 : 0.05);
            EXPECT_NEAR(p.length, read[i].dLength, p.unit == 0 ? 0.13 : 0.05);
        }
        std::free(read);
        ppd_file_t* ppd = cups.ppdOpenFile(path.c_str());
        ASSERT_NE(nullptr, ppd) << "libcups does not open the rewritten PPD";
        ppd_option_t* pageSize = cups.ppdFindOption(ppd, "PageSize");
        ppd_option_t* pageRegion = cups.ppdFindOption(ppd, "PageRegion");
        for (const RoundTripPaper& p : kRoundTripPapers) {
            SCOPED_TRACE(p.name);
            ppd_choice_t* choice = pageSize != nullptr ? cups.ppdFindChoice(pageSize, p.keyword) : nullptr;
            ASSERT_NE(nullptr, choice);
            EXPECT_NE(nullptr, std::strstr(choice->code, (std::string("%% ID=") + std::to_string(p.id)).c_str()));
            EXPECT_NE(nullptr, pageRegion != nullptr ? cups.ppdFindChoice(pageRegion, p.keyword) : nullptr);
            const ppd_size_t* size = cups.ppdPageSize(ppd, p.keyword);
            ASSERT_NE(nullptr, size);
            EXPECT_EQ(p.widthPoints, size->width);
            EXPECT_EQ(p.lengthPoints, size->length);
            EXPECT_EQ(12, size->left);
            EXPECT_EQ(12, size->bottom);
            EXPECT_EQ(p.widthPoints - 12, size->right);
            EXPECT_EQ(p.lengthPoints - 12, size->top);
        }
        cups.ppdClose(ppd);
        // Removed in another order than added.
        for (const int i : {1, 2, 0}) {
            const tagCUSTOMPAPER paper = PaperNamed(kRoundTripPapers[i].name);
            EXPECT_EQ(1, RemoveCustomPaperFromPpd(path.c_str(), kRoundTripPapers[i].keyword, &paper));
        }
        EXPECT_EQ(original, ReadBytes(path));
    }
}

TEST(CustomPaperRoundTrip, WritesTheSameBytesUnderADecimalCommaLocale)
{
    orvtest::ScratchDir dir;
    const std::string path = dir.WriteFile("q.ppd", orvtest::SmallPpd());
    orvtest::DecimalCommaLocale comma;
    if (!comma.Active()) {
        GTEST_SKIP() << "the decimal-comma locale was not built";
    }
    ASSERT_EQ(1, AddLabel(path));
    EXPECT_EQ(SmallPpdWithLabel(orvtest::SmallPpd()), ReadBytes(path));
}

}  // namespace
