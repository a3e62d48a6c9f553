#include "core/codec/CupsKeys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(CupsKeys, TableListsTheTwentySevenKeysInCodecOrder)
{
    const std::vector<std::string> expected = {
        "PageSize",     "MediaType",     "InputSlot",      "Duplex",
        "Resolution",   "Halftone",      "Collate",        "copies",
        "sides",        "orientation-requested", "landscape", "number-up",
        "number-up-layout", "page-border", "OutputOrder",  "media",
        "BookletBinding", "BookletUnit", "Poster",         "SortMethod",
        "Finisher",     "Staple",        "Puncher",        "PrintBlankPages",
        "ColorMode",    "TonerSave",     "TextAsBlack",
    };
    ASSERT_EQ(CUPS_KEYS_COUNT, 27);
    std::vector<std::string> keys(CUPS_KEYS, CUPS_KEYS + CUPS_KEYS_COUNT);
    EXPECT_EQ(keys, expected);
}

TEST(CupsKeys, EachExportedKeyIsTheTableEntryAtItsPlace)
{
    struct Case {
        const char* constant;
        int position;
    };
    const Case cases[] = {
        {CUPS_KEY_PAPERSIZE, 0},       {CUPS_KEY_MEDIATYPE, 1},      {CUPS_KEY_PAPERSOURCE, 2},
        {CUPS_KEY_DUPLEX, 3},          {CUPS_KEY_RESOLUTION, 4},     {CUPS_KEY_HALFTONE, 5},
        {CUPS_KEY_COLLATE, 6},         {CUPS_KEY_COPIES, 7},         {CUPS_KEY_SIDES, 8},
        {CUPS_KEY_ORIENTATION, 9},     {CUPS_KEY_LANDSCAPE, 10},     {CUPS_KEY_NUP, 11},
        {CUPS_KEY_NUP_LAYOUT, 12},     {CUPS_KEY_NUP_BORDER, 13},    {CUPS_KEY_OUTPUTORDER, 14},
        {CUPS_KEY_BOOKLET_BINDING, 16}, {CUPS_KEY_BOOKLET_UNIT, 17}, {CUPS_KEY_POSTER, 18},
        {CUPS_KEY_SORTMETHOD, 19},     {CUPS_KEY_FINISHER, 20},      {CUPS_KEY_STAPLE, 21},
        {CUPS_KEY_PUNCHER, 22},        {CUPS_KEY_PRINT_BLANK_PAGE, 23}, {CUPS_KEY_COLORMODE, 24},
        {CUPS_KEY_TONERSAVE, 25},      {CUPS_KEY_TEXT_AS_BLACK, 26},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.constant, CUPS_KEYS[c.position]) << c.position;
    }
}

TEST(CupsKeys, ValueStringsAreTheWordsCupsUses)
{
    struct Case {
        const char* constant;
        const char* text;
    };
    const Case cases[] = {
        {STR_true, "true"},
        {STR_false, "false"},
        {STR_no, "no"},
        {STR_off, "off"},
        {STR_Reverse, "Reverse"},
        {STR_DUPLEX_NONE, "one-sided"},
        {STR_DUPLEX_LONGEDGE, "two-sided-long-edge"},
        {STR_DUPLEX_SHORTEDGE, "two-sided-short-edge"},
        {STR_LRTB, "lrtb"},
        {STR_TBLR, "tblr"},
        {STR_TBRL, "tbrl"},
        {STR_RLTB, "rltb"},
        {STR_BTLR, "btlr"},
        {STR_BORDER_NONE, "none"},
        {STR_BORDER_SOLID, "single"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.constant, c.text);
    }
}

TEST(CupsKeys, IsCupsKeyKnowsExactlyTheTableKeys)
{
    struct Case {
        const char* text;
        WORD expected;
    };
    const Case cases[] = {
        {"PageSize", FLAG_TRUE},  {"media", FLAG_TRUE},       {"TextAsBlack", FLAG_TRUE},
        {"pagesize", FLAG_FALSE}, {"PageRegion", FLAG_FALSE}, {"OptionDuplexer", FLAG_FALSE},
        {"", FLAG_FALSE},         {nullptr, FLAG_FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCupsKey(c.text), c.expected) << (c.text ? c.text : "(null)");
    }
    EXPECT_STREQ(CupsKeyName("Poster"), "Poster");
}

}  // namespace
