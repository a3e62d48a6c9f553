// Resource text files: the grammar, unescaping, numbers, the locale names and the directory
// search, and damaged or hostile files.
#include "gui/widgets/RctFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using orvtest::ScratchDir;

// libcups's default language as a test chooses it.
cups_lang_t g_lang;
bool g_bLangAnswers = true;

cups_lang_t* FakeLangDefault()
{
    return g_bLangAnswers ? &g_lang : nullptr;
}

// A libcups table whose only entry is the default language.
tagCUPSFUNC FakeCups(const char* language)
{
    tagCUPSFUNC cups{};
    cups.handle = reinterpret_cast<void*>(1);
    cups.cupsLangDefault = &FakeLangDefault;
    std::memset(&g_lang, 0, sizeof g_lang);
    g_bLangAnswers = language != nullptr;
    if (language != nullptr) {
        std::strncpy(g_lang.language, language, sizeof g_lang.language - 1);
    }
    return cups;
}

struct Lookup {
    WORD section, id;
    const char* expected;  // NULL: no text
};

void ExpectLookups(const CRctFile& file, const std::vector<Lookup>& lookups)
{
    for (const Lookup& l : lookups) {
        const char* text = file.GetString(l.section, l.id);
        if (l.expected == nullptr) {
            EXPECT_EQ(text, nullptr) << "(" << l.section << ", " << l.id << ") = " << text;
        } else {
            ASSERT_NE(text, nullptr) << "(" << l.section << ", " << l.id << ")";
            EXPECT_STREQ(text, l.expected) << "(" << l.section << ", " << l.id << ")";
        }
    }
}

TEST(RctFile, Grammar)
{
    struct Case {
        const char* what;
        std::string content;
        WORD result;
        std::vector<Lookup> lookups;
    };
    const Case cases[] = {
        {"string section", "[string]\n101=_Restore Defaults\n102=Printers\n", 1,
         {{0, 101, "_Restore Defaults"}, {0, 102, "Printers"}, {0, 103, nullptr}}},
        {"header names in any case", "[STRING]\n5=a\n[DLG100]\n111=b\n[Dlg1050]\n1061=c\n", 1,
         {{0, 5, "a"}, {100, 111, "b"}, {1050, 1061, "c"}}},
        {"only a dialog section: result 0, texts kept", "[dlg100]\n111=Size\n", 0, {{100, 111, "Size"}}},
        {"id 0 only through DialogInfo", "[dlg100]\n0=Basic\n", 0, {{100, 0, nullptr}}},
        {"DialogInfo in any case sets the title", "[dlg150]\ndialoginfo=Out\n[dlg200]\nDIALOGINFO=Q\n", 0,
         {{150, 0, "Out"}, {200, 0, "Q"}}},
        {"unknown header keeps the section before", "[string]\n1=a\n[Settings]\n2=b\n", 1,
         {{0, 1, "a"}, {0, 2, "b"}}},
        {"header without ] is ignored", "[string]\n1=a\n[dlg100\n2=b\n", 1, {{0, 2, "b"}, {100, 2, nullptr}}},
        {"text after ] ignored", "[dlg100] trailing\n111=x\n", 0, {{100, 111, "x"}}},
        {"lines before the first header ignored", "1=a\n[string]\n2=b\n", 1, {{0, 1, nullptr}, {0, 2, "b"}}},
        {"comments and blank lines", "[string]\n;1=a\n\n\n2=b\n", 1, {{0, 1, nullptr}, {0, 2, "b"}}},
        {"CR LF endings", "[string]\r\n101=_Restore Defaults\r\n", 1, {{0, 101, "_Restore Defaults"}}},
        {"mixed line ends removed from the end", "[string]\n1=a\r\r\n", 1, {{0, 1, "a"}}},
        {"nothing trimmed", "[string]\n101 = x\n", 1, {{0, 101, " x"}}},
        {"further = belong to the text", "[string]\n1=a=b==\n", 1, {{0, 1, "a=b=="}}},
        {"keys that are no number skipped", "[string]\nabc=x\n=x\n0=x\n7=y\n", 1,
         {{0, 0, nullptr}, {0, 7, "y"}}},
        {"number keys read like atoi", "[string]\n  12abc=x\n+13=y\n", 1, {{0, 12, "x"}, {0, 13, "y"}}},
        {"line without = ignored", "[string]\njust text\n1=a\n", 1, {{0, 1, "a"}}},
        {"last of twice the same id wins", "[string]\n1=a\n1=b\n", 1, {{0, 1, "b"}}},
        {"second header of an id replaces the section", "[dlg100]\n1=a\n2=b\n[string]\n9=z\n[dlg100]\n2=c\n", 1,
         {{100, 1, nullptr}, {100, 2, "c"}}},
        {"dlg without digits is section 0", "[dlgx]\n1=a\n", 1, {{0, 1, "a"}}},
        {"empty value", "[string]\n1=\n", 1, {{0, 1, ""}}},
        {"unescaping", "[string]\n1=a\\r\\nb\n2=a\\qb\n3=ends\\\n4=tab\\there\\\\\n", 1,
         {{0, 1, "a\r\nb"}, {0, 2, "aqb"}, {0, 3, "ends"}, {0, 4, "tab\there\\"}}},
        {"UTF-8 passes unchanged", "[string]\n100=Orvalen プリンター設定\n", 1, {{0, 100, "Orvalen プリンター設定"}}},
        {"no final line feed", "[string]\n1=a", 1, {{0, 1, "a"}}},
        {"empty file", "", 0, {{0, 1, nullptr}}},
    };
    tagCUPSFUNC cups = FakeCups(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        dir.WriteFile("T.RCT", c.content);
        CRctFile file(&cups);
        EXPECT_EQ(file.Load((dir.path() + "/").c_str(), "T.RCT"), c.result);
        ExpectLookups(file, c.lookups);
    }
}

TEST(RctFile, UnescapeInPlace)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},           {"plain", "plain"},  {"a\\nb", "a\nb"},    {"\\r\\n", "\r\n"},
        {"\\t", "\t"},      {"\\\\", "\\"},      {"\\\\n", "\\n"},     {"a\\qb", "aqb"},
        {"\\x22", "x22"},   {"end\\", "end"},    {"\\", ""},           {"\\\\\\", "\\"},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.in, c.in + std::strlen(c.in) + 1);
        UnescapeRctText(buffer.data());
        EXPECT_STREQ(buffer.data(), c.out) << c.in;
    }
    UnescapeRctText(nullptr);
}

TEST(RctFile, NumbersOfHeadersAndKeys)
{
    struct Case {
        const char* text;
        bool ok;
        WORD value;
    };
    const Case cases[] = {
        {"1050", true, 1050}, {"  42", true, 42},   {"+7", true, 7},       {"12abc", true, 12},
        {"abc", true, 0},     {"", true, 0},        {"-0", true, 0},       {"65535", true, 65535},
        {"65536", false, 0},  {"99999999999999999999", false, 0},          {"-1", false, 0},
        {"\t\n 3", true, 3},
    };
    for (const Case& c : cases) {
        WORD value = 0xABCD;
        EXPECT_EQ(ParseRctNumber(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(RctFile, LocaleNamesFromTheDefaultLanguage)
{
    struct Case {
        const char* language;  // NULL: libcups gives no answer
        const char* locale;
        const char* code;
    };
    const Case cases[] = {
        {nullptr, "en_US", "en"}, {"ja_JP", "ja_JP", "ja"},  {"ja", "ja_JP", "ja"},   {"en", "en_US", "en"},
        {"cs", "cs_CZ", "cs"},    {"sv", "sv_SE", "sv"},     {"zh", "zh_CN", "zh"},   {"de", "de_DE", "de"},
        {"fr", "fr_FR", "fr"},    {"C", "C", "C"},           {"pt_BR.UTF-8", "pt_BR", "pt"},
        {"en_GB", "en_GB", "en"}, {"", "en_US", "en"},
        // Names that could lead out of the data directory count as no answer.
        {"../..", "en_US", "en"}, {"a/b", "en_US", "en"},    {"ja.JP", "en_US", "en"},
    };
    for (const Case& c : cases) {
        tagCUPSFUNC cups = FakeCups(c.language);
        CRctFile file(&cups);
        std::string locale, code;
        file.GetLocaleNames(locale, code);
        EXPECT_EQ(locale, c.locale) << (c.language ? c.language : "(none)");
        EXPECT_EQ(code, c.code) << (c.language ? c.language : "(none)");
    }
    // No table, or an unbound one, gives no answer.
    std::string locale, code;
    CRctFile(nullptr).GetLocaleNames(locale, code);
    EXPECT_EQ(locale, "en_US");
    tagCUPSFUNC unbound{};
    CRctFile(&unbound).GetLocaleNames(locale, code);
    EXPECT_EQ(code, "en");
}

TEST(RctFile, SearchOrderThroughTheLocaleDirectories)
{
    EXPECT_EQ(CRctFile::CandidatePaths("/d/", "L_X.RCT", "ja_JP", "ja"),
              (std::vector<std::string>{"/d/ja_JP/L_X.RCT", "/d/ja/L_X.RCT", "/d/en_US/L_X.RCT", "/d/en/L_X.RCT",
                                        "/d/L_X.RCT"}));
    // A file in each candidate directory, each saying where it is; removing them one by one shows
    // which the search takes.
    ScratchDir dir;
    const char* const places[] = {"ja_JP/", "ja/", "en_US/", "en/", ""};
    for (const char* place : places) {
        dir.WriteFile(std::string(place) + "C.RCT", std::string("[string]\n1=") + place + "\n");
    }
    tagCUPSFUNC cups = FakeCups("ja_JP");
    const std::string root = dir.path() + "/";
    for (const char* place : places) {
        CRctFile file(&cups);
        EXPECT_EQ(file.Load(root.c_str(), "C.RCT"), 1);
        EXPECT_STREQ(file.GetString(0, 1), place);
        std::remove((root + place + "C.RCT").c_str());
    }
    CRctFile file(&cups);
    EXPECT_EQ(file.Load(root.c_str(), "C.RCT"), 0);
    EXPECT_EQ(file.GetString(0, 1), nullptr);
}

TEST(RctFile, LoadingAnotherFileRemovesEveryText)
{
    ScratchDir dir;
    dir.WriteFile("A.RCT", "[string]\n1=a\n[dlg100]\n111=x\n");
    dir.WriteFile("B.RCT", "[dlg200]\n218=t\n");
    tagCUPSFUNC cups = FakeCups("en");
    const std::string root = dir.path() + "/";
    CRctFile file(&cups);
    EXPECT_EQ(file.Load(root.c_str(), "A.RCT"), 1);
    EXPECT_EQ(file.Load(root.c_str(), "B.RCT"), 0);
    ExpectLookups(file, {{0, 1, nullptr}, {100, 111, nullptr}, {200, 218, "t"}});
    // A missing file leaves the object empty.
    EXPECT_EQ(file.Load(root.c_str(), "MISSING.RCT"), 0);
    EXPECT_EQ(file.GetString(200, 218), nullptr);
    // A name that would leave the directory is refused.
    dir.WriteFile("sub/S.RCT", "[string]\n1=s\n");
    EXPECT_EQ(file.Load(root.c_str(), "sub/S.RCT"), 0);
    EXPECT_EQ(file.Load(root.c_str(), ""), 0);
    EXPECT_EQ(file.Load(nullptr, "A.RCT"), 0);
}

TEST(RctFileStrings, SetReplaceAndRemove)
{
    CRctFile::CRctStrings strings;
    EXPECT_EQ(strings.GetCount(), 0);
    const char* stored = strings.SetString(5, "five");
    EXPECT_STREQ(stored, "five");
    EXPECT_EQ(strings.GetString(5), stored);
    EXPECT_STREQ(strings.SetString(5, "FIVE"), "FIVE");
    EXPECT_EQ(strings.GetCount(), 1);
    strings.SetString(65535, "max");
    EXPECT_STREQ(strings.GetString(65535), "max");
    EXPECT_EQ(strings.GetString(6), nullptr);
    strings.RemoveAll();
    EXPECT_EQ(strings.GetCount(), 0);
    EXPECT_EQ(strings.GetString(5), nullptr);
}

// Damaged files lose only their bad lines; run under the sanitizer build as well.
TEST(RctFile, HostileFiles)
{
    const std::string longText(5000, 'a');
    struct Case {
        const char* what;
        std::string content;
        std::vector<Lookup> lookups;
    };
    const Case cases[] = {
        // A line far longer than any line buffer is one line: its tail is no key line of its own.
        {"long line read whole", "[string]\n101=" + std::string(1019, 'x') + "102=tail\n3=ok\n",
         {{0, 102, nullptr}, {0, 3, "ok"}}},
        {"long text kept whole", "[string]\n1=" + longText + "\n", {{0, 1, longText.c_str()}}},
        {"line beyond the length limit skipped",
         "[string]\n1=" + std::string(CRctFile::kMaxLineLength + 10, 'z') + "\n2=after\n",
         {{0, 1, nullptr}, {0, 2, "after"}}},
        {"NUL byte loses its line", std::string("[string]\n1=a\0b\n2=c\n", 19), {{0, 1, nullptr}, {0, 2, "c"}}},
        {"binary bytes pass as text", "[string]\n1=\x01\x02\xff\xfe\n", {{0, 1, "\x01\x02\xff\xfe"}}},
        {"missing ]", "[string\n1=a\n[string]\n2=b\n", {{0, 1, nullptr}, {0, 2, "b"}}},
        {"= at the start", "[string]\n=a\n==\n2=b\n", {{0, 0, nullptr}, {0, 2, "b"}}},
        {"huge id", "[string]\n99999=a\n4294967297=b\n-1=c\n2=d\n", {{0, 34463, nullptr}, {0, 1, nullptr},
                                                                    {0, 65535, nullptr}, {0, 2, "d"}}},
        {"huge section: its keys go nowhere", "[string]\n1=a\n[dlg70000]\n2=b\n[dlg-5]\n3=c\n",
         {{0, 1, "a"}, {0, 2, nullptr}, {0, 3, nullptr}, {4464, 2, nullptr}}},
        {"only brackets", "[]\n[\n]\n[[[]]]\n", {{0, 0, nullptr}}},
    };
    tagCUPSFUNC cups = FakeCups("en");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        dir.WriteFile("H.RCT", c.content);
        CRctFile file(&cups);
        file.Load((dir.path() + "/").c_str(), "H.RCT");
        ExpectLookups(file, c.lookups);
    }
}

TEST(RctFile, OversizedFileIsReadOnlyUpToItsLimit)
{
    std::string content = "[string]\n1=first\n";
    const std::string filler = "; " + std::string(1000, '-') + "\n";
    while (content.size() < CRctFile::kMaxFileLength + 4096) {
        content += filler;
    }
    content += "2=beyond\n";
    ScratchDir dir;
    dir.WriteFile("BIG.RCT", content);
    tagCUPSFUNC cups = FakeCups("en");
    CRctFile file(&cups);
    EXPECT_EQ(file.Load((dir.path() + "/").c_str(), "BIG.RCT"), 1);
    ExpectLookups(file, {{0, 1, "first"}, {0, 2, nullptr}});
}

// Random bytes with resource-file punctuation mixed in: whatever they parse into, nothing breaks.
TEST(RctFile, RandomBytesParseSafely)
{
    tagCUPSFUNC cups = FakeCups("en");
    const char alphabet[] = "[]=;\\\r\n0123456789dlgstringDialogInfo \x80\xff";
    uint32_t seed = 2024;
    for (int round = 0; round < 200; ++round) {
        std::string content;
        const int length = 1 + round * 13 % 3000;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            content += (seed >> 28) < 12 ? alphabet[(seed >> 8) % (sizeof alphabet - 1)]
                                         : static_cast<char>(seed >> 16);
        }
        ScratchDir dir;
        dir.WriteFile("R.RCT", content);
        CRctFile file(&cups);
        file.Load((dir.path() + "/").c_str(), "R.RCT");
        for (WORD id = 0; id < 20; ++id) {
            if (const char* text = file.GetString(0, id)) {
                EXPECT_LE(std::strlen(text), content.size());
            }
        }
    }
}

}  // namespace
