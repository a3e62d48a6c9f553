#include "JobFixture.h"
#include "core/model/SpcData.h"
#include "filter/pjl/PjlValues.h"
#include "filter/pjl/PjlStrings.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <ctime>
#include <string>

using filtertest::TestJob;

namespace {

std::string LongTitle()
{
    std::string s;
    for (int i = 1; i <= 300; ++i) {
        s += static_cast<char>('A' + i % 26);
    }
    return s;
}

TEST(PjlStrings, JobTextsAreSanitisedAndCut)
{
    const std::string title = LongTitle();
    struct Case {
        std::string source;
        DWORD dwFlags;
        DWORD dwMax;
        size_t cbDest;
        std::string expected;
    } cases[] = {
        {title, 0x21, 20, 256, title.substr(235, 20)},  // characters 236 to 255: the last of the first 255
        {title, 0x01, 20, 256, title.substr(0, 20)},
        {title, 0x00, 20, 256, title.substr(0, 255)},
        {title, 0x01, 0, 256, title.substr(0, 255)},  // limit flag with no length: no cut
        {"a\"b\x1b"
         "c",
         0x00, 0, 256, "a b c"},
        {"a\"b\x1b"
         "c",
         0x0C, 0, 256,
         "a\"b\x1b"
         "c"},
        {"d\x7f"
         "e\tf",
         0x00, 0, 256, "d e f"},
        {"d\x7f"
         "e\tf",
         0x12, 0, 256,
         "d\x7f"
         "e\tf"},
        {"caf\xc3\xa9", 0x00, 0, 256, "caf\xc3\xa9"},  // bytes from 0x80 stay
        {"abcdefghij", 0x00, 0, 8, "abcdefg"},         // the destination bounds the copy
        {"abcdefghij", 0x01, 100, 8, "abcdefg"},
        {"abcdefghij", 0x21, 100, 8, "defghij"},
        {"short", 0x21, 20, 256, "short"},
    };
    for (const Case& c : cases) {
        char szDest[256];
        std::memset(szDest, 'Z', sizeof szDest);
        EXPECT_EQ(CopyPjlString(c.dwFlags, c.dwMax, c.source.c_str(), szDest, c.cbDest), -1);
        EXPECT_EQ(std::string(szDest), c.expected) << c.source << " flags " << c.dwFlags;
    }
    char sz[4];
    EXPECT_EQ(CopyPjlString(0, 0, nullptr, sz, sizeof sz), 0);
    EXPECT_EQ(CopyPjlString(0, 0, "x", nullptr, 4), 0);
    EXPECT_EQ(CopyPjlString(0, 0, "x", sz, 0), 0);
}

TEST(PjlStrings, PercentRSplitsIntoAtMostSixTexts)
{
    struct Case {
        std::string source;
        std::string texts[6];
    } cases[] = {
        {"DUPLEX=ON%rBINDING=LONGEDGE", {"DUPLEX=ON", "BINDING=LONGEDGE"}},
        {"DUPLEX=OFF", {"DUPLEX=OFF"}},
        {"%rB", {"", "B"}},
        {"1%r2%r3%r4%r5%r6%r7", {"1", "2", "3", "4", "5", "6"}},
        {"a%", {"a%"}},
        {std::string(300, 'x'), {std::string(255, 'x')}},
    };
    for (const Case& c : cases) {
        tagPJLVALUE value{};
        SplitAtPercentR(c.source.c_str(), c.source.size(), &value);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(std::string(value.aszTexts[i]), c.texts[i]) << c.source << " text " << i;
        }
    }
}

// Builds one item's value over a hand-set settings record.
class PjlValueTest : public ::testing::Test {
protected:
    tagPJLVALUE Build(DWORD dwId, DWORD dwFlags = 0, DWORD dwMax = 0)
    {
        tagPJLITEM item{dwId, dwFlags, dwMax, 0};
        tagPJLVALUE value{};
        m_iResult = BuildPjlValue(m_job.get(), &item, &value);
        return value;
    }
    DEVMODE& dm() { return m_job->devmode.dm; }
    PRIVDM& priv() { return m_job->devmode.priv; }
    TestJob m_job;
    int m_iResult = 0;
};

TEST_F(PjlValueTest, DateCountsTheMonthFromZero)
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    tagPJLVALUE v = Build(11);
    EXPECT_EQ(v.sHasValue, -1);
    EXPECT_EQ(v.wType, PJLTYPE_NUMBER6);
    EXPECT_EQ(v.awNumbers[0], local.tm_year + 1900);
    EXPECT_EQ(v.awNumbers[1], local.tm_mon) << "January is 0";
}

TEST_F(PjlValueTest, HostAddressIsFourOctetsInDottedOrder)
{
    EXPECT_EQ(Build(15).sHasValue, 0) << "no address, no line";
    EXPECT_EQ(m_iResult, -1);
    m_job->dwHostAddress = inet_addr("192.168.10.7");
    tagPJLVALUE v = Build(15);
    EXPECT_EQ(v.sHasValue, -1);
    EXPECT_EQ(v.wType, PJLTYPE_NUMBER4);
    EXPECT_EQ(v.awNumbers[0], 192);
    EXPECT_EQ(v.awNumbers[1], 168);
    EXPECT_EQ(v.awNumbers[2], 10);
    EXPECT_EQ(v.awNumbers[3], 7);
}

TEST_F(PjlValueTest, UnknownAndSkippedIdsGiveNoValue)
{
    for (DWORD id : {1u, 10u, 19u, 200u}) {
        Build(id);
        EXPECT_EQ(m_iResult, 0) << id;
    }
}

TEST_F(PjlValueTest, CoverItemsAreSilentUnderDriverCopies)
{
    priv().dmFieldsExtra1 = 0x8000 | DMX1_FRONT_COVER | DMX1_BACK_COVER;
    priv().dmCoverPage = 3;
    dm().dmFields = DM_COPIES;
    dm().dmCopies = 3;
    priv().dmCopiesByDriver = 1;
    for (DWORD id : {81u, 82u, 83u, 85u, 86u}) {
        EXPECT_EQ(Build(id).sHasValue, 0) << id;
    }
    priv().dmCopiesByDriver = 0;
    tagPJLVALUE v = Build(81);
    EXPECT_EQ(v.sHasValue, -1);
    EXPECT_EQ(v.dwKey, 2u) << "front and back";
    EXPECT_EQ(Build(82).sHasValue, -1);
    EXPECT_EQ(Build(85).sHasValue, -1);
}

TEST_F(PjlValueTest, SpoolKindsPickTheJobKeys)
{
    struct Case {
        WORD wJobSpool;
        DWORD dwExtra1;
        SHORT sHas16;
        DWORD dwKey16;
        SHORT sHas17;
        WORD wType17;
        SHORT sHas18;
    } cases[] = {
        {0, 0, -1, 0, 0, 0, 0},
        {1, DMX1_JOBKIND1, -1, 1, -1, PJLTYPE_NONE, 0},
        {1, DMX1_JOBKIND1 | DMX1_JOBKIND2, -1, 1, -1, PJLTYPE_TEXT1, 0},
        {2, DMX1_JOBKIND2, -1, 2, -1, PJLTYPE_TEXT1, 0},
        {3, DMX1_JOBKIND3, -1, 3, -1, PJLTYPE_TEXT1, -1},
        {4, DMX1_JOBKIND4, -1, 2, -1, PJLTYPE_NONE, 0},
        {5, DMX1_JOBKIND5, -1, 3, -1, PJLTYPE_NONE, -1},
        {3, 0, 0, 0, 0, 0, 0},  // a kind the model does not offer
    };
    std::memcpy(priv().dmMailBox_UserID, "4711", 5);
    std::memcpy(priv().dmPassword, "1234", 5);
    for (const Case& c : cases) {
        priv().dmJobSpool = c.wJobSpool;
        priv().dmFieldsExtra1 = c.dwExtra1;
        tagPJLVALUE v16 = Build(16);
        EXPECT_EQ(v16.sHasValue, c.sHas16) << c.wJobSpool;
        if (c.sHas16) {
            EXPECT_EQ(v16.dwKey, c.dwKey16) << c.wJobSpool;
        }
        tagPJLVALUE v17 = Build(17);
        EXPECT_EQ(v17.sHasValue, c.sHas17) << c.wJobSpool;
        EXPECT_EQ(v17.wType, c.wType17) << c.wJobSpool;
        if (c.wType17 == PJLTYPE_TEXT1) {
            EXPECT_STREQ(v17.aszTexts[0], "4711");
        }
        tagPJLVALUE v18 = Build(18);
        EXPECT_EQ(v18.sHasValue, c.sHas18) << c.wJobSpool;
        if (c.sHas18) {
            EXPECT_STREQ(v18.aszTexts[0], "1234");
        }
    }
}

TEST_F(PjlValueTest, UnterminatedSettingsTextsStayWithinTheirField)
{
    // No model data: the department code takes the default rule, 8 digits.
    priv().dmFieldsExtra1 = DMX1_DEPT_CODE;
    priv().dmUseDeptCode = 1;
    std::memset(priv().dmDeptCode, '7', sizeof priv().dmDeptCode);
    std::memset(priv().dmMailBox_UserID, 'M', sizeof priv().dmMailBox_UserID);
    tagPJLVALUE v = Build(123);
    EXPECT_EQ(v.sHasValue, -1);
    EXPECT_EQ(std::string(v.aszTexts[0]), std::string(8, '7'));
}

TEST_F(PjlValueTest, CopiesAndCollateItems)
{
    struct Case {
        DWORD dwFields;
        SHORT sCopies;
        SHORT sCollate;
        WORD wByDriver;
        DWORD dwExtra1;
        DWORD dwKey112;
        DWORD dwKey121;
        WORD wNumber121;
        SHORT sHas122;
    } cases[] = {
        {DM_COPIES | DM_COLLATE, 3, 1, 0, 0x8000, 1, 0, 0, -1},
        {DM_COPIES | DM_COLLATE, 3, 0, 0, 0x8000, 0, 1, 3, 0},
        {DM_COPIES, 1, 0, 0, 0x8000, 0, 1, 1, 0},
        {DM_COPIES, 3, 0, 1, 0x8000 | DMX1_SORT, 1, 0, 0, 0},
        {DM_COPIES, 3, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        dm().dmFields = c.dwFields;
        dm().dmCopies = c.sCopies;
        dm().dmCollate = c.sCollate;
        priv().dmCopiesByDriver = c.wByDriver;
        priv().dmFieldsExtra1 = c.dwExtra1;
        tagPJLVALUE v112 = Build(112);
        EXPECT_EQ(v112.sHasValue, -1);
        EXPECT_EQ(v112.dwKey, c.dwKey112) << c.sCopies << "/" << c.sCollate;
        tagPJLVALUE v121 = Build(121);
        EXPECT_EQ(v121.dwKey, c.dwKey121) << c.sCopies << "/" << c.sCollate;
        EXPECT_EQ(v121.awNumbers[0], c.wNumber121);
        EXPECT_EQ(Build(122).sHasValue, c.sHas122) << c.sCopies << "/" << c.sCollate;
    }
}

TEST_F(PjlValueTest, LayoutItems)
{
    priv().dmFieldsExtra2 = DMX2_POSTER | DMX2_NUP | DMX2_BOOKLET;
    priv().dmLayoutPrint = 4;
    priv().dmPosterX = 3;
    priv().dmPosterY = 2;
    tagPJLVALUE poster = Build(143);
    EXPECT_EQ(poster.wType, PJLTYPE_NUMBER2);
    EXPECT_EQ(poster.dwKey, 1u);
    EXPECT_EQ(poster.awNumbers[0], 2) << "the smaller first";
    EXPECT_EQ(poster.awNumbers[1], 3);
    EXPECT_EQ(Build(144).dwKey, 0u);
    EXPECT_EQ(Build(142).dwKey, 0u);
    priv().dmLayoutPrint = 1;
    priv().dmNup = 6;
    tagPJLVALUE nup = Build(144);
    EXPECT_EQ(nup.dwKey, 1u);
    EXPECT_EQ(nup.awNumbers[0], 6);
    priv().dmLayoutPrint = 2;
    EXPECT_EQ(Build(142).dwKey, 1u);
    priv().dmFieldsExtra2 = 0;
    for (DWORD id : {142u, 143u, 144u}) {
        EXPECT_EQ(Build(id).sHasValue, 0) << id;
    }
}

TEST_F(PjlValueTest, DuplexTextOfTheModelIsSplitAtPercentR)
{
    m_job.LoadModel("filter-pjl-crlf");
    struct Case {
        SHORT sDuplex;
        DWORD dwExtra1;
        WORD wDuplexOption;
        SHORT sHasValue;
        WORD wType;
        DWORD dwKey;
        const char* pszText1;
        const char* pszText2;
    } cases[] = {
        {1, 0, 0, -1, PJLTYPE_TEXT1, 0, "DUPLEX=OFF", ""},
        {2, 0, 0, -1, PJLTYPE_TEXT2, 1, "DUPLEX=ON", "BINDING=LONGEDGE"},
        {2, DMX1_DUPLEX_OPTION, 1, -1, PJLTYPE_TEXT1, 0, "DUPLEX=ON", ""},  // text B
        {2, DMX1_DUPLEX_OPTION, 0, -1, PJLTYPE_TEXT2, 1, "DUPLEX=ON", "BINDING=LONGEDGE"},
        {3, 0, 0, 0, PJLTYPE_NONE, 0, "", ""},  // the mode's text is no PJL value
        {9, 0, 0, 0, PJLTYPE_NONE, 0, "", ""},  // no such mode
    };
    for (const Case& c : cases) {
        dm().dmDuplex = c.sDuplex;
        priv().dmFieldsExtra1 = c.dwExtra1;
        priv().dmDuplexOption = c.wDuplexOption;
        tagPJLVALUE v = Build(94);
        EXPECT_EQ(m_iResult, -1);
        EXPECT_EQ(v.sHasValue, c.sHasValue) << c.sDuplex;
        EXPECT_EQ(v.wType, c.wType) << c.sDuplex;
        EXPECT_EQ(v.dwKey, c.dwKey) << c.sDuplex;
        EXPECT_STREQ(v.aszTexts[0], c.pszText1) << c.sDuplex;
        EXPECT_STREQ(v.aszTexts[1], c.pszText2) << c.sDuplex;
    }
}

// The sample colour model: finisher unit 1 has staple modes 1 to 3 (text A the name, text B the PJL
// value), punch modes 1 and 2 and finishing modes 1, 2 and 5; the model's own group 99 has only
// finishing mode 1; the flat finishing-mode list has modes 1, 2 and 5.
TEST_F(PjlValueTest, FinishingItemsTakeTheInstalledGroupsTexts)
{
    m_job->pSpcData = orvtest::LoadSampleModel("GC7350").release();
    ASSERT_NE(m_job->pSpcData, nullptr);
    struct Case {
        DWORD dwId;
        DWORD dwExtra1;
        WORD wGroup;  // first installed-option summary word
        WORD wFinisher, wStaple, wPunch;
        const char* pszText;  // nullptr: no line
    } cases[] = {
        {91, DMX1_FINISHER, 1, 2, 0, 0, "FINISH=STAPLE"},  // dmFinisher 2 is model mode 5
        {91, DMX1_FINISHER, 0, 0, 0, 0, "FINISH=NONE"},    // group 99: mode 1 is "no finishing"
        {91, DMX1_FINISHER, 0, 1, 0, 0, "FINISH=OFFSET"},  // not in group 99: the flat list's mode 2
        {91, DMX1_FINISHER, 7, 2, 0, 0, "FINISH=STAPLE"},  // group 7 has no list: 99, then the flat list
        {91, 0, 1, 2, 0, 0, nullptr},
        {101, DMX1_STAPLE, 1, 0, 2, 0, "STAPLE=TOPRIGHT"},
        {103, DMX1_STAPLE, 1, 0, 2, 0, "Top Right"},
        {101, DMX1_STAPLE, 1, 0, 3, 0, "STAPLE=LEFTDUAL"},
        {101, DMX1_STAPLE, 1, 0, 6, 0, nullptr},  // the unit has no staple mode 6
        {101, DMX1_STAPLE, 0, 0, 2, 0, nullptr},  // group 99 staples nothing
        {101, 0, 1, 0, 2, 0, nullptr},
        {102, DMX1_PUNCH, 1, 0, 0, 2, "PUNCH=2HOLE"},  // dmPunch 2 is model punch 1
        {102, DMX1_PUNCH, 1, 0, 0, 3, "PUNCH=3HOLE"},
        {102, DMX1_PUNCH, 1, 0, 0, 1, nullptr},  // model punch 3 is not offered
        {102, 0, 1, 0, 0, 2, nullptr},
    };
    for (const Case& c : cases) {
        priv().dmFieldsExtra1 = c.dwExtra1;
        priv().dmInstalledSummary[0] = c.wGroup;
        priv().dmFinisher = c.wFinisher;
        priv().dmStaple = c.wStaple;
        priv().dmPunch = c.wPunch;
        tagPJLVALUE v = Build(c.dwId);
        std::string label = std::to_string(c.dwId) + " group " + std::to_string(c.wGroup);
        EXPECT_EQ(m_iResult, -1) << label;
        if (c.pszText == nullptr) {
            EXPECT_EQ(v.sHasValue, 0) << label << ": " << v.aszTexts[0];
            continue;
        }
        EXPECT_EQ(v.sHasValue, -1) << label;
        EXPECT_EQ(v.wType, PJLTYPE_TEXT1) << label;
        EXPECT_EQ(v.dwKey, 0u) << label;
        EXPECT_STREQ(v.aszTexts[0], c.pszText) << label;
    }
}

}  // namespace
