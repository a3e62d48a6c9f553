// The compiler of the built-in text sources: what it refuses, and the order of the tables it emits.
#include "UiStringsSource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using orv::uistrings::AddSource;
using orv::uistrings::Catalogue;
using orv::uistrings::CheckCatalogue;
using orv::uistrings::EmitTables;

TEST(UiStringsCompiler, RefusesMalformedSources)
{
    struct Case {
        const char* what;
        std::string source;
    };
    const Case cases[] = {
        {"too few columns", "en\t0\n"},
        {"too many columns", "en\t0\t1\ta\tb\n"},
        {"no locale", "\t0\t1\ta\n"},
        {"section not a number", "en\tx\t1\ta\n"},
        {"id above 65535", "en\t0\t65536\ta\n"},
        {"negative id", "en\t0\t-1\ta\n"},
        {"key given twice", "en\t0\t1\ta\nen\t0\t1\tb\n"},
        {"unknown escape", "en\t0\t1\ta\\q\n"},
        {"escape cut off", "en\t0\t1\ta\\\n"},
        {"short hex escape", "en\t0\t1\t\\x2\n"},
        {"NUL escape", "en\t0\t1\t\\x00\n"},
        {"not UTF-8", "en\t0\t1\t\xff\n"},
        {"cut UTF-8 sequence", "en\t0\t1\t\xe3\x81\n"},
        {"carriage return", "en\t0\t1\ta\r\n"},
    };
    for (const Case& c : cases) {
        Catalogue catalogue;
        std::string error;
        EXPECT_FALSE(AddSource(catalogue, c.source, "src.tsv", error)) << c.what;
        EXPECT_EQ(error.rfind("src.tsv:", 0), 0u) << c.what << ": " << error;
    }
}

TEST(UiStringsCompiler, ChecksLocalesAgainstEachOther)
{
    struct Case {
        const char* what;
        std::string source;
        bool ok;
    };
    const Case cases[] = {
        {"same sections and formats", "en\t0\t1\t(%d)\nja\t0\t1\t(%d 件)\nja\t0\t2\t追加\n", true},
        {"key without text", "en\t900\t913\nja\t900\t0\tサポート\n", true},
        {"other conversions", "en\t0\t1\t(%d)\nja\t0\t1\t(%s)\n", false},
        {"conversions reordered", "en\t0\t1\t%d %s\nja\t0\t1\t%s %d\n", false},
        {"a section missing in one locale", "en\t0\t1\ta\nen\t100\t0\tb\nja\t0\t1\tc\n", false},
    };
    for (const Case& c : cases) {
        Catalogue catalogue;
        std::string error;
        ASSERT_TRUE(AddSource(catalogue, c.source, "src.tsv", error)) << c.what << ": " << error;
        EXPECT_EQ(CheckCatalogue(catalogue, error), c.ok) << c.what << ": " << error;
    }
}

TEST(UiStringsCompiler, EmitsKeysInUnsignedOrderAndLocalesByName)
{
    Catalogue catalogue;
    std::string error;
    ASSERT_TRUE(AddSource(catalogue,
                          "ja\t0\t65535\tz\nja\t0\t2\tb\nEN\t0\t10\tq\"\\\\\nEN\t0\t9\t\\x22\nEN\t0\t3\n", "s", error))
        << error;
    const std::string out = EmitTables(catalogue);
    // Locales sorted by case-insensitive name, strings by id, quotes and backslashes escaped.
    EXPECT_LT(out.find("{\"EN\""), out.find("{\"ja\""));
    EXPECT_LT(out.find("{2, \"b\"}"), out.find("{65535, \"z\"}"));
    EXPECT_LT(out.find("{3, nullptr}"), out.find("{9, \"\\\"\"}"));
    EXPECT_LT(out.find("{9, \"\\\"\"}"), out.find("{10, \"q\\\"\\\\\"}"));
    // Non-ASCII bytes become octal escapes.
    Catalogue utf8;
    ASSERT_TRUE(AddSource(utf8, "ja\t0\t1\t設\n", "s", error));
    EXPECT_NE(EmitTables(utf8).find("\"\\350\\250\\255\""), std::string::npos);
}

}  // namespace
