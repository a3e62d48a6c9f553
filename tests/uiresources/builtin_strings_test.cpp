// The built-in text tables: lookups by locale, LANG handling, and the shape of the generated data.
#include "gui/widgets/BuiltinTableTypes.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PrintfConversions.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>
#include <glib.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using orvtest::ScopedEnv;

const tagBUILTINLOCALE* Locale(const char* name)
{
    for (int i = 0; i < g_nBuiltinLocales; ++i) {
        if (std::strcmp(g_BuiltinLocales[i].pszLocale, name) == 0) {
            return &g_BuiltinLocales[i];
        }
    }
    return nullptr;
}

// A lookup through GetBuiltinString under a LANG value (NULL: unset), from a fresh locale choice.
const char* LookupUnder(const char* lang, unsigned short section, unsigned short id)
{
    ScopedEnv env("LANG", lang);
    ResetBuiltinLocaleChoice();
    const char* text = GetBuiltinString(section, id);
    ResetBuiltinLocaleChoice();
    return text;
}

TEST(BuiltinStrings, LookupsFollowLangWithEnglishFallback)
{
    struct Case {
        const char* lang;
        unsigned short section, id;
        const char* expected;  // NULL: no text
    };
    const Case cases[] = {
        // English whenever LANG names no built-in locale.
        {nullptr, 0, 100, "Orvalen Printer Configure"},
        {"C", 0, 101, "_Restore Defaults"},
        {"de_DE.UTF-8", 100, 111, "Paper Si_ze :"},
        {"de_DE", 0, 103, "Printer Setting is changed.\nDo you want save?"},
        {"en_US.UTF-8", 0, 4000, "\\/*?:.;\"<>|"},
        {"en_US", 0, 3113, "Profile files (*.PRO)\n*.PRO\n\n"},
        {"en", 0, 3128, "The following characters cannot be used. Please change.\r\n\t\t%s."},
        {"en", 650, 661, "_Binding "},
        {"en", 1450, 1451, "_Sturation"},
        {"en", 0, 3104, "This profile is included wrong settings. Printer Driver changes them to the default settings."},
        // Japanese by the whole name, its first 5 and its first 2 characters, in any case.
        {"ja_JP.UTF-8", 0, 100, "Orvalen プリンター設定"},
        {"JA_jp.utf8", 100, 0, "基本設定"},
        {"ja", 0, 6206, "現在の設定 : %s"},
        // "ja" lacks these keys: the English text answers.
        {"ja_JP.UTF-8", 0, 4608, "Left to Right"},
        {"ja_JP.UTF-8", 0, 5000, "Draft"},
        {"ja_JP.UTF-8", 750, 777, "Source Paper Size :"},
        // Keys only "ja" has.
        {"ja_JP.UTF-8", 0, 20000, "印刷できません。"},
        {"ja_JP.UTF-8", 750, 674, "原稿サイズ :"},
        {"en", 0, 20000, nullptr},
        {"en", 750, 674, nullptr},
        // Keys without text, and keys that exist nowhere.
        {"en", 900, 913, nullptr},
        {"ja_JP.UTF-8", 900, 913, nullptr},
        {"en", 0, 6205, nullptr},
        {"ja_JP", 0, 6207, nullptr},
        {"en", 0, 6207, nullptr},
        {"en", 0, 0, nullptr},
        {"en", 12345, 0, nullptr},
        {"ja_JP", 100, 65535, nullptr},
        {"en", 65535, 65535, nullptr},
    };
    for (const Case& c : cases) {
        const char* text = LookupUnder(c.lang, c.section, c.id);
        SCOPED_TRACE(std::string("LANG=") + (c.lang ? c.lang : "(unset)") + " key (" +
                     std::to_string(c.section) + ", " + std::to_string(c.id) + ")");
        if (c.expected == nullptr) {
            EXPECT_EQ(text, nullptr) << text;
        } else {
            ASSERT_NE(text, nullptr);
            EXPECT_STREQ(text, c.expected);
        }
    }
}

TEST(BuiltinStrings, LocaleNamesAreCutToFiveThenTwoCharacters)
{
    struct Case {
        const char* name;
        const char* expected;  // NULL: no locale
    };
    const Case cases[] = {
        {"en", "en"},        {"EN", "en"},         {"ja", "ja"},       {"Ja", "ja"},
        {"ja_JP", "ja"},     {"ja_JP.UTF-8", "ja"}, {"JA_jp.utf8", "ja"}, {"jaxyz", "ja"},
        {"en_GB.ISO-8859-1", "en"}, {"de_DE", nullptr}, {"de", nullptr}, {"C", nullptr},
        {"j", nullptr},      {"", nullptr},        {nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const tagBUILTINLOCALE* locale = FindBuiltinLocale(c.name);
        SCOPED_TRACE(c.name ? c.name : "(null)");
        if (c.expected == nullptr) {
            EXPECT_EQ(locale, nullptr);
        } else {
            ASSERT_NE(locale, nullptr);
            EXPECT_STREQ(locale->pszLocale, c.expected);
        }
    }
    // A very long name is looked at only as far as the cuts go.
    const std::string longName = "ja_JP." + std::string(500, 'x');
    ASSERT_NE(FindBuiltinLocale(longName.c_str()), nullptr);
}

TEST(BuiltinStrings, FoundLocaleIsRememberedFailedOneIsNot)
{
    ResetBuiltinLocaleChoice();
    {
        ScopedEnv env("LANG", "de_DE.UTF-8");
        EXPECT_STREQ(GetBuiltinString(100, 0), "Basic");
    }
    {
        // The failed choice was not remembered: LANG is read again.
        ScopedEnv env("LANG", "ja_JP.UTF-8");
        EXPECT_STREQ(GetBuiltinString(100, 0), "基本設定");
    }
    {
        // Now "ja" is remembered for the rest of the process.
        ScopedEnv env("LANG", "C");
        EXPECT_STREQ(GetBuiltinString(100, 0), "基本設定");
    }
    ResetBuiltinLocaleChoice();
}

TEST(BuiltinStrings, SectionTitlesOfEveryPageAndDialog)
{
    struct Case {
        unsigned short section;
        const char* title;
    };
    const Case cases[] = {
        {100, "Basic"},          {150, "Output"},           {200, "Quality"},
        {250, "Job Type"},       {400, "Overlay"},          {450, "Watermark"},
        {500, "Output Options"}, {550, "Profile"},          {600, "Input Profile Name"},
        {650, "Booklet"},        {700, "Fit to Output Paper Size"}, {750, "Pages per Sheet"},
        {800, "Poster"},         {850, "Zoom"},             {900, "Support"},
        {950, "Effects"},        {1000, "Custom Paper"},    {1050, "Custom Paper"},
        {1100, "Duplex Options"}, {1150, "Cover Page"},     {1400, "Color Space"},
        {1450, "Adjustment"},    {1500, "Rendering Intent"}, {1550, "Brightness Adjustment"},
    };
    const tagBUILTINLOCALE* en = Locale("en");
    const tagBUILTINLOCALE* ja = Locale("ja");
    ASSERT_NE(en, nullptr);
    ASSERT_NE(ja, nullptr);
    for (const Case& c : cases) {
        EXPECT_STREQ(FindBuiltinStringInLocale(en, c.section, 0), c.title) << c.section;
        const char* jaTitle = FindBuiltinStringInLocale(ja, c.section, 0);
        ASSERT_NE(jaTitle, nullptr) << c.section;
        EXPECT_STRNE(jaTitle, c.title) << "section " << c.section << " has no Japanese title";
    }
    // Section 0 has no title.
    EXPECT_EQ(FindBuiltinStringInLocale(en, 0, 0), nullptr);
}

TEST(BuiltinStrings, TablesAreSortedForBinarySearch)
{
    ASSERT_EQ(g_nBuiltinLocales, 2);
    EXPECT_STREQ(g_BuiltinLocales[0].pszLocale, "en");
    EXPECT_STREQ(g_BuiltinLocales[1].pszLocale, "ja");
    for (int l = 0; l < g_nBuiltinLocales; ++l) {
        const tagBUILTINLOCALE& locale = g_BuiltinLocales[l];
        ASSERT_EQ(locale.nCount, g_BuiltinLocales[0].nCount);
        for (int s = 0; s < locale.nCount; ++s) {
            const tagBUILTINSECTION& section = locale.pSections[s];
            // Both locales hold the same sections in the same order.
            EXPECT_EQ(section.wID, g_BuiltinLocales[0].pSections[s].wID);
            if (s > 0) {
                EXPECT_LT(locale.pSections[s - 1].wID, section.wID);
            }
            for (int i = 1; i < section.nCount; ++i) {
                EXPECT_LT(section.pItems[i - 1].wID, section.pItems[i].wID)
                    << locale.pszLocale << " section " << section.wID;
            }
        }
    }
}

// Every text is valid UTF-8, and a key both locales have reads the same printf arguments in both.
TEST(BuiltinStrings, JapaneseTextsAreUtf8AndReadTheEnglishArguments)
{
    const tagBUILTINLOCALE* en = Locale("en");
    const tagBUILTINLOCALE* ja = Locale("ja");
    int compared = 0;
    int withConversions = 0;
    for (int s = 0; s < ja->nCount; ++s) {
        const tagBUILTINSECTION& section = ja->pSections[s];
        for (int i = 0; i < section.nCount; ++i) {
            const char* jaText = section.pItems[i].pszText;
            if (jaText == nullptr) {
                continue;
            }
            EXPECT_TRUE(g_utf8_validate(jaText, -1, nullptr)) << section.wID << "/" << section.pItems[i].wID;
            const char* enText = FindBuiltinStringInLocale(en, section.wID, section.pItems[i].wID);
            if (enText == nullptr) {
                continue;
            }
            ++compared;
            if (!orv::PrintfConversions(enText).empty()) {
                ++withConversions;
            }
            EXPECT_TRUE(orv::SamePrintfConversions(jaText, enText))
                << "(" << section.wID << ", " << section.pItems[i].wID << ") " << enText << " / " << jaText;
        }
    }
    // Most texts are shared, and dozens of them are formats.
    EXPECT_GT(compared, 350);
    EXPECT_GT(withConversions, 30);
}

}  // namespace
