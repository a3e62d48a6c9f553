// A PPD's default choices set in its text: the "*Default" lines the PPD has, or a new one right
// after the option's opening line, with the file's own line endings and nothing else touched.
#include <gtest/gtest.h>

#include <string>

#include "platform/companion/PpdDefaults.h"

namespace {

TEST(PpdDefaults, SetTheDefaultLinesOfAnOption)
{
    struct Case {
        const char* what;
        std::string text;
        const char* keyword;
        const char* choice;
        std::string expected;
    };
    const Case cases[] = {
        {"an existing default", "*OpenUI *PageSize/Size: PickOne\n*DefaultPageSize: A4\n*CloseUI: *PageSize\n",
         "PageSize", "Letter", "*OpenUI *PageSize/Size: PickOne\n*DefaultPageSize: Letter\n*CloseUI: *PageSize\n"},
        {"CRLF kept", "*DefaultPageSize: A4\r\n*DefaultDuplex: None\r\n", "PageSize", "userpaper457",
         "*DefaultPageSize: userpaper457\r\n*DefaultDuplex: None\r\n"},
        {"every default line of the option", "*DefaultInputSlot: Auto\n*% again\n*DefaultInputSlot: Tray1\n",
         "InputSlot", "Manual", "*DefaultInputSlot: Manual\n*% again\n*DefaultInputSlot: Manual\n"},
        {"a longer keyword is another option", "*DefaultPageSizeX: A\n*DefaultPageSize: A4\n", "PageSize", "A5",
         "*DefaultPageSizeX: A\n*DefaultPageSize: A5\n"},
        {"a default line written in other letter case", "*defaultduplex: None\n", "Duplex", "DuplexTumble",
         "*defaultduplex: DuplexTumble\n"},
        {"no default line: one after the opening line",
         "*OpenUI *PageSizeX: PickOne\n*CloseUI: *PageSizeX\n*OpenUI *Duplex/Two-Sided: PickOne\n*Duplex None/Off: \"\"\n",
         "Duplex", "None",
         "*OpenUI *PageSizeX: PickOne\n*CloseUI: *PageSizeX\n*OpenUI *Duplex/Two-Sided: PickOne\n*DefaultDuplex: None\n"
         "*Duplex None/Off: \"\"\n"},
        {"no default line, CRLF", "*OpenUI *Duplex: PickOne\r\n*CloseUI: *Duplex\r\n", "Duplex", "None",
         "*OpenUI *Duplex: PickOne\r\n*DefaultDuplex: None\r\n*CloseUI: *Duplex\r\n"},
        {"no default line, the opening line last", "*OpenUI *Duplex: PickOne", "Duplex", "None",
         "*OpenUI *Duplex: PickOne\n*DefaultDuplex: None\n"},
        {"a JCL option", "*JCLOpenUI *JCLEconomy/Economy: Boolean\n*JCLCloseUI: *JCLEconomy\n", "JCLEconomy", "True",
         "*JCLOpenUI *JCLEconomy/Economy: Boolean\n*DefaultJCLEconomy: True\n*JCLCloseUI: *JCLEconomy\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = c.text;
        ASSERT_TRUE(orvcompanion::SetPpdDefault(&text, c.keyword, c.choice));
        EXPECT_EQ(c.expected, text);
    }
}

TEST(PpdDefaults, AnOptionTheTextDoesNotHaveIsRefused)
{
    for (const std::string& text : {std::string(""), std::string("*DefaultPageSizeX: A4\n*OpenUI *PageSizeX: PickOne\n"),
                                   std::string("*% *OpenUI *PageSize: PickOne\n*UIConstraints: *PageSize A4\n")}) {
        SCOPED_TRACE(text);
        std::string changed = text;
        EXPECT_FALSE(orvcompanion::SetPpdDefault(&changed, "PageSize", "A4"));
        EXPECT_EQ(text, changed);
    }
}

}  // namespace
