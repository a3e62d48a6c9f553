// The custom papers of a queue's PPD read from the file: only the page-size option's own lines,
// in file order, with every file the reader must turn down.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "custompaper/CustomPaperTestSupport.h"
#include "support/ScratchDir.h"

namespace {

using orvtest::InsertedBefore;
using orvtest::Replaced;

struct Read {
    std::vector<tagCUSTOMPAPER> papers;
    bool null = true;
};

Read ReadPapers(const std::string& path)
{
    Read read;
    int count = -1;
    tagCUSTOMPAPER* papers = ReadCustomPapersFromPpd(path.c_str(), &count);
    read.null = papers == nullptr;
    EXPECT_EQ(read.null, count == 0) << "a NULL result comes with a count of 0 and only then";
    for (int i = 0; i < count && papers != nullptr; ++i) {
        read.papers.push_back(papers[i]);
    }
    std::free(papers);
    return read;
}

const std::string kCard =
    "*PageSize userpaper460/Business Card 90.0 x 55.0 mm: \"<</PageSize[255 156]/ImagingBBox null>>setpagedevice %% ID=460\"\n";
const std::string kPhoto =
    "*PageSize userpaper458/Photo 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n";

TEST(ReadCustomPapers, TakesTheCustomChoicesOfThePageSizeOptionInFileOrder)
{
    orvtest::ScratchDir dir;
    std::string ppd = InsertedBefore(orvtest::SmallPpd(), "*CloseUI: *PageSize", kCard);
    ppd = InsertedBefore(ppd, "*PageSize Letter", kPhoto);  // before the standard papers
    for (const bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CRLF" : "LF");
        const Read read = ReadPapers(dir.WriteFile("q.ppd", crlf ? orvtest::WithCrLf(ppd) : ppd));
        ASSERT_EQ(2u, read.papers.size());
        EXPECT_STREQ("userpaper458", read.papers[0].szKeyword);
        EXPECT_STREQ("Photo", read.papers[0].szName);
        EXPECT_EQ(458, read.papers[0].nID);
        EXPECT_EQ(0, read.papers[0].nUnit);
        EXPECT_DOUBLE_EQ(101.6, read.papers[0].dWidth);
        EXPECT_DOUBLE_EQ(152.4, read.papers[0].dLength);
        EXPECT_STREQ("userpaper460", read.papers[1].szKeyword);
        EXPECT_STREQ("Business Card", read.papers[1].szName);
        EXPECT_EQ(460, read.papers[1].nID);
        EXPECT_EQ(1, read.papers[1].nUnit);
        EXPECT_DOUBLE_EQ(90.0, read.papers[1].dWidth);
        EXPECT_DOUBLE_EQ(55.0, read.papers[1].dLength);
    }
}

TEST(ReadCustomPapers, StandardPapersOneAndNineAreNotCustom)
{
    orvtest::ScratchDir dir;
    // Letter (1) and A4 (9) are in the fixture; one custom paper joins them.
    const std::string ppd = InsertedBefore(orvtest::SmallPpd(), "*CloseUI: *PageSize", orvtest::kLabelLines[0]);
    const Read read = ReadPapers(dir.WriteFile("q.ppd", ppd));
    ASSERT_EQ(1u, read.papers.size());
    EXPECT_EQ(457, read.papers[0].nID);
    EXPECT_TRUE(ReadPapers(dir.WriteFile("plain.ppd", orvtest::SmallPpd())).null);
}

TEST(ReadCustomPapers, LinesOutsideThePageSizeOptionAreNotPapers)
{
    orvtest::ScratchDir dir;
    std::string ppd = orvtest::SmallPpd();
    ppd = InsertedBefore(ppd, "*CloseUI: *PageRegion", orvtest::kLabelLines[1]);
    ppd = InsertedBefore(ppd, "*CloseUI: *InputSlot", kCard);       // in another option
    ppd = InsertedBefore(ppd, "*OpenUI *InputSlot", kPhoto);        // before any option
    ppd += kCard;                                                    // after the last one
    EXPECT_TRUE(ReadPapers(dir.WriteFile("q.ppd", ppd)).null);
}

TEST(ReadCustomPapers, FilesWithoutACompletePageSizeOptionGiveNothing)
{
    orvtest::ScratchDir dir;
    const std::string withPaper = InsertedBefore(orvtest::SmallPpd(), "*CloseUI: *PageSize", orvtest::kLabelLines[0]);
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"no page-size option", Replaced(withPaper, "*OpenUI *PageSize/Page Size: PickOne\n", "")},
        {"the option is never closed", Replaced(withPaper, "*CloseUI: *PageSize\n", "")},
        {"another option closes first", Replaced(withPaper, "*CloseUI: *PageSize\n", "*CloseUI: *InputSlot\n")},
        {"another option opens inside it",
         Replaced(withPaper, "*CloseUI: *PageSize\n", "*OpenUI *Duplex: PickOne\n*CloseUI: *PageSize\n")},
        {"an empty file", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(ReadPapers(dir.WriteFile("q.ppd", c.text)).null);
    }
    EXPECT_TRUE(ReadPapers(dir / "missing.ppd").null);
    EXPECT_TRUE(ReadPapers(dir.path()).null) << "a directory";
    // Larger than any PPD: not read at all (a sparse file, so the test writes nothing).
    const std::string huge = dir.WriteFile("huge.ppd", withPaper);
    ASSERT_EQ(0, truncate(huge.c_str(), off_t{33} << 20));
    EXPECT_TRUE(ReadPapers(huge).null);
    int count = 5;
    EXPECT_EQ(nullptr, ReadCustomPapersFromPpd(nullptr, &count));
    EXPECT_EQ(0, count);
}

TEST(ReadCustomPapers, CountMayBeLeftOut)
{
    orvtest::ScratchDir dir;
    const std::string path =
        dir.WriteFile("q.ppd", InsertedBefore(orvtest::SmallPpd(), "*CloseUI: *PageSize", orvtest::kLabelLines[0]));
    tagCUSTOMPAPER* papers = ReadCustomPapersFromPpd(path.c_str(), nullptr);
    ASSERT_NE(nullptr, papers);
    EXPECT_EQ(457, papers[0].nID);
    std::free(papers);
}

TEST(ReadCustomPapers, ReadsTheSameUnderADecimalCommaLocale)
{
    orvtest::ScratchDir dir;
    const std::string path = dir.WriteFile("q.ppd", InsertedBefore(orvtest::SmallPpd(), "*CloseUI: *PageSize", kCard));
    orvtest::DecimalCommaLocale comma;
    if (!comma.Active()) {
        GTEST_SKIP() << "the decimal-comma locale was not built";
    }
    const Read read = ReadPapers(path);
    ASSERT_EQ(1u, read.papers.size());
    EXPECT_DOUBLE_EQ(90.0, read.papers[0].dWidth);
    EXPECT_DOUBLE_EQ(55.0, read.papers[0].dLength);
}

}  // namespace
