// The text lookup chain (model file, common file, built-in table) and the guard that keeps a
// resource file from replacing a format with one that reads other arguments.
#include "gui/widgets/BuiltinTableTypes.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PrintfConversions.h"
#include "gui/widgets/RctFile.h"
#include "gui/widgets/UiTextLookup.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orvtest::ScopedEnv;
using orvtest::ScratchDir;

TEST(PrintfConversions, ConversionsInOrder)
{
    struct Case {
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"plain", {}},
        {"(%d - %d %%)", {"d", "d"}},
        {"(%.1f - %.1f in.)", {"f", "f"}},
        {"%ldMB", {"ld"}},
        {"%d.%02d%s", {"d", "d", "s"}},
        {"%-10s|%+5lld|%#x", {"s", "lld", "x"}},
        {"%*d", {"*", "d"}},
        {"%.*s", {"*", "s"}},
        {"%hhu %zu %jd", {"hhu", "zu", "jd"}},
        {"%n", {"n"}},
        {"100%", {"?"}},
        {"(25 - 400 %)", {"?"}},
        {"%%%s", {"s"}},
        {"%q", {"?"}},
        {"%5", {"?"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(orv::PrintfConversions(c.text), c.expected) << c.text;
    }
    EXPECT_TRUE(orv::PrintfConversions(nullptr).empty());
}

class UiTextLookupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetBuiltinLocaleChoice(); }
    void TearDown() override { ResetBuiltinLocaleChoice(); }

    // Loads a file written from the text into the object.
    void Load(CRctFile& file, const std::string& name, const std::string& content)
    {
        m_dir.WriteFile(name, content);
        file.Load((m_dir.path() + "/").c_str(), name.c_str());
    }

    ScopedEnv m_lang{"LANG", "C"};
    ScratchDir m_dir;
};

TEST_F(UiTextLookupTest, ReplacementsOfFormatsMustReadTheSameArguments)
{
    struct Case {
        unsigned short section, id;
        const char* replacement;
        bool used;
    };
    const Case cases[] = {
        {0, 4451, "(%d to %d %%)", true},          // same conversions, other words
        {0, 4451, "(%3d - %-3d %%)", true},        // widths change no argument
        {0, 4451, "(%s - %d)", false},             // a string where an int is passed
        {0, 4451, "(%d)", false},                  // one argument fewer
        {0, 4451, "(%d - %d - %d)", false},        // one more
        {0, 4552, "(%.2f - %.2f in)", true},
        {0, 4552, "(%d - %d in)", false},
        {0, 6206, "Now : %s", true},
        {0, 6206, "Now : %n", false},
        {0, 6000, "%d..%d", true},
        {0, 6518, "%ld MB", true},
        {0, 6518, "%d MB", false},                 // a long read as an int
        {0, 3043, "Paper(%s,%s) in %s.", true},
        {0, 3043, "Paper(%s,%s) in %s, %s.", false},
        {100, 111, "Paper _Size :", true},         // plain texts stay plain
        {100, 111, "Paper %s :", false},
        {850, 874, "(25 to 400 %)", true},
        {850, 874, "(25 - 400 %d)", false},        // a lone % is not traded for a conversion
        {850, 874, "(25 - 400 %)", true},
        {0, 6205, "Normal Print", true},           // no built-in text: any plain text
        {0, 6205, "Normal %s", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replacement);
        CRctFile common(nullptr);
        const std::string header = c.section == 0 ? "[string]" : "[dlg" + std::to_string(c.section) + "]";
        Load(common, "C.RCT", header + "\n" + std::to_string(c.id) + "=" + c.replacement + "\n");
        const char* text = LookupUiText(nullptr, &common, c.section, c.id);
        if (c.used) {
            EXPECT_STREQ(text, c.replacement);
        } else {
            const char* builtin = GetBuiltinString(c.section, c.id);
            if (builtin == nullptr) {
                EXPECT_EQ(text, nullptr);
            } else {
                EXPECT_STREQ(text, builtin);
            }
        }
    }
}

TEST_F(UiTextLookupTest, ModelFileThenCommonFileThenTable)
{
    CRctFile model(nullptr);
    CRctFile common(nullptr);
    Load(model, "M.RCT", "[dlg150]\n168=Model tray :\n[string]\n4451=(%s)\n");
    Load(common, "C.RCT", "[dlg150]\n168=Common tray :\n170=Common staple :\n[string]\n4451=(%d to %d %%)\n");
    struct Case {
        unsigned short section, id;
        const char* expected;
    };
    const Case cases[] = {
        {150, 168, "Model tray :"},        // the model file first
        {150, 170, "Common staple :"},     // then the common file
        {150, 172, "P_unch :"},            // then the table
        {0, 4451, "(%d to %d %%)"},        // the model's bad format is passed over for the common one
        {0, 20000, nullptr},               // nowhere
    };
    for (const Case& c : cases) {
        const char* text = LookupUiText(&model, &common, c.section, c.id);
        if (c.expected == nullptr) {
            EXPECT_EQ(text, nullptr);
        } else {
            EXPECT_STREQ(text, c.expected) << c.section << "/" << c.id;
        }
    }
    EXPECT_STREQ(LookupUiText(nullptr, nullptr, 150, 168), "Output Tr_ay :");
}

}  // namespace
