#include "core/settings/EntryTextRule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(EntryTextRule, FilterFlagsDecideWhichCharactersPass) {
    struct Case {
        DWORD dwFilter;
        const char* pszExtra;
        std::string text;
        ENTRYTEXTCHECK expected;
    } cases[] = {
        {0x0001, "", "a\"b\x1b\r\n/", ENTRYTEXT_OK},        // without 0x1000 nothing is filtered
        {0x1001, "", "0123456789", ENTRYTEXT_OK},
        {0x1001, "", "12a4", ENTRYTEXT_BAD_CHARACTER},
        {0x1001, "", "12\"4", ENTRYTEXT_BAD_CHARACTER},
        {0x1002, "", "Box7abcZ", ENTRYTEXT_OK},
        {0x1002, "", "Box 7", ENTRYTEXT_BAD_CHARACTER},
        {0x1002, "", "caf\xc3\xa9", ENTRYTEXT_BAD_CHARACTER},  // only ASCII letters
        {0x1010, "", "any \"thing\x1b\r\n", ENTRYTEXT_OK},   // all but '/'
        {0x1010, "", "a/b", ENTRYTEXT_BAD_CHARACTER},
        {0x1021, "-", "12-34", ENTRYTEXT_OK},
        {0x1021, "-", "12+34", ENTRYTEXT_BAD_CHARACTER},
        {0x1001, "-", "12-34", ENTRYTEXT_BAD_CHARACTER},       // the extras need their own flag
        {0x1000, "", "", ENTRYTEXT_OK},
        {0x1000, "", "x", ENTRYTEXT_BAD_CHARACTER},            // filter on, nothing accepted
    };
    for (const Case& c : cases) {
        tagENTRYTEXTRULE rule = MakeEntryTextRule(c.dwFilter, 8, c.pszExtra, std::strlen(c.pszExtra) + 1);
        EXPECT_EQ(CheckEntryText(rule, c.text.data(), c.text.size()), c.expected)
            << std::hex << c.dwFilter << " " << c.text;
    }
}

TEST(EntryTextRule, FullLengthRuleRefusesOnlyAHalfTypedText) {
    struct Case {
        std::string text;
        ENTRYTEXTCHECK expected;
    } cases[] = {
        {"", ENTRYTEXT_OK}, {"1", ENTRYTEXT_INCOMPLETE}, {"12345", ENTRYTEXT_INCOMPLETE},
        {"123456", ENTRYTEXT_OK}, {"1234567", ENTRYTEXT_OK},  // longer is cut by the caller
    };
    tagENTRYTEXTRULE rule = MakeEntryTextRule(0x1005, 6, nullptr, 0);
    for (const Case& c : cases)
        EXPECT_EQ(CheckEntryText(rule, c.text.data(), c.text.size()), c.expected) << c.text;
}

TEST(EntryTextRule, ExtraCharactersAreBoundedAndLengthsNeverNegative) {
    char extra[40];
    std::memset(extra, '#', sizeof extra);  // unterminated
    tagENTRYTEXTRULE rule = MakeEntryTextRule(0x1020, -5, extra, sizeof extra);
    EXPECT_EQ(std::strlen(rule.szExtra), kEntryExtraSize - 1);
    EXPECT_EQ(rule.cchMax, 0u);
    EXPECT_TRUE(IsEntryCharAccepted(rule, '#'));
    EXPECT_FALSE(IsEntryCharAccepted(rule, '\0')) << "the terminator is no extra character";
}

}  // namespace
