// The job-kind descriptor: a kind's own records, the borrowed flags of kinds without them, and
// the defaults every mask and length ends with.
#include "core/printerinfo/JobSpoolInfo.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using pitest::HandleOf;

TEST(JobSpoolInfo, OwnRecordsBorrowedFlagsAndDefaults)
{
    // Fixture: kind 1 (60) flags 0x6, masks 0x3 and 0, lengths 16 and 0, texts "guest" and 32
    // digits; kind 3 (74) flags 0xB0, masks 0x7, lengths 12 and 24, texts "lender"; kind 4 (61)
    // flags 0xB0 too, lengths 5 and 6; kinds 2 (73) and 5 (62) have no records.
    auto model = pitest::LoadFixtureModel("printerinfo-papers");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    struct Case {
        const char* what;
        SHORT kind;
        SHORT enabled1, max1;
        DWORD mask1;
        SHORT enabled2, max2;
        DWORD mask2;
        const char* text1;
        const char* text2;
        DWORD flags;
        WORD answer;  // TRUE only for a kind whose own record exists
    };
    const Case cases[] = {
        {"kind 1: its own record, length 0 becomes 8, text cut to 31", 1, -1, 16, 0x1003, -1, 8, 0x1001, "guest",
         "0123456789012345678901234567890", 0x6, FLAG_TRUE},
        {"kind 2 borrows from kind 3, the first lender", 2, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
        {"kind 3: its own record", 3, 0, 12, 0x1007, 0, 24, 0x1007, "lender", "lender", 0xB0, FLAG_TRUE},
        {"kind 4: its own record", 4, 0, 5, 0x1001, 0, 6, 0x1001, "", "", 0xB0, FLAG_TRUE},
        {"kind 6 borrows too, texts stay empty", 6, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
        {"kind 0 borrows too", 0, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
        {"kind 5 has no record and borrows", 5, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
        {"kind 7 is no kind and borrows", 7, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
        {"kind -1 is no kind and borrows", -1, 0, 12, 0x1001, 0, 24, 0x1001, "", "", 0xB0, FLAG_FALSE},
    };
    for (const Case& c : cases) {
        tagJOBSPOOLINFO info;
        memset(&info, 0x5A, sizeof info);
        EXPECT_EQ(GetJobSpoolInfo(&handle, c.kind, &info), c.answer) << c.what;
        EXPECT_EQ(info.sEnabled1, c.enabled1) << c.what;
        EXPECT_EQ(info.sMaxLength1, c.max1) << c.what;
        EXPECT_EQ(info.dwCharMask1, c.mask1) << c.what;
        EXPECT_EQ(info.sEnabled2, c.enabled2) << c.what;
        EXPECT_EQ(info.sMaxLength2, c.max2) << c.what;
        EXPECT_EQ(info.dwCharMask2, c.mask2) << c.what;
        EXPECT_EQ(std::string(info.szText1), c.text1) << c.what;
        EXPECT_EQ(std::string(info.szText2), c.text2) << c.what;
        EXPECT_EQ(info.dwFlags, c.flags) << c.what;
    }
}

TEST(JobSpoolInfo, ModelWithoutJobKindsGivesTheDefaults)
{
    auto model = pitest::LoadSampleModel("GM1000");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    tagJOBSPOOLINFO info;
    EXPECT_EQ(GetJobSpoolInfo(&handle, 1, &info), FLAG_FALSE) << "the model offers no kind 1";
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.sEnabled1, 0);
    EXPECT_EQ(info.sMaxLength1, 8);
    EXPECT_EQ(info.sMaxLength2, 8);
    EXPECT_EQ(info.dwCharMask1, 0x1001u);
    EXPECT_EQ(info.dwCharMask2, 0x1001u);
    EXPECT_EQ(GetJobSpoolInfo(&handle, 1, nullptr), FLAG_FALSE);
}

}  // namespace
