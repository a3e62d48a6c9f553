#include "lib/ColorTableSource.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using ctc::CompileColorTableSource;
using ctc::TableEntry;

const char kSmall[] = R"({
  "gray_weights": [30, 59, -11],
  "resolutions": [{"code": 2, "dots": [1, 1], "dot_gain": 0.1}, {"code": 8, "dots": [2, 2]}],
  "screens": {"min_tile": 16, "toner_save_coverage": 0.5,
              "planes": {"black": [4, 4], "cyan": [5, 1], "mono": [4, 4]}},
  "colour": {"ink_limit": 2.5,
             "luts": [{"mode": 1, "gray_in_black": true}, {"mode": 5, "media": 258, "renderer_ucr_bg": [60, 90]}]}
})";

TEST(ColorTableSource, EveryTableTheSourceAsksFor)
{
    std::string error;
    const std::vector<TableEntry> entries = CompileColorTableSource(kSmall, &error);
    ASSERT_EQ(error, "");

    // (type, plane, resolution, toner) of every entry but the LUTs.
    std::multiset<std::tuple<int, int, int, int>> keys;
    std::vector<const TableEntry*> luts;
    for (const TableEntry& e : entries) {
        if (e.key[0] == 1) {
            luts.push_back(&e);
        } else {
            keys.insert({e.key[0], e.key[2], e.key[6], e.key[10]});
        }
    }
    std::multiset<std::tuple<int, int, int, int>> expected;
    for (int res : {2, 8}) {
        for (int plane : {1, 8, 16}) {
            expected.insert({2, plane, res, 0});
            expected.insert({2, plane, res, 0x80});
            expected.insert({4, plane, res, 0});
        }
    }
    expected.insert({5, 0, 0, 0});
    EXPECT_EQ(keys, expected);

    ASSERT_EQ(luts.size(), 2u);
    EXPECT_EQ(luts[0]->key[1], 1);
    EXPECT_EQ(luts[0]->key[7], 0x01) << "gray in black asks for the fold";
    EXPECT_EQ(luts[1]->key[1], 5);
    EXPECT_EQ(luts[1]->key[4], 2) << "media 258, little-endian";
    EXPECT_EQ(luts[1]->key[5], 1);
    EXPECT_EQ(luts[1]->key[7], 0x02);
    EXPECT_EQ(luts[1]->key[8], 60);
    EXPECT_EQ(luts[1]->key[9], 90);

    for (const TableEntry& e : entries) {
        if (e.key[0] == 5) {
            EXPECT_EQ(e.payload, (std::vector<uint8_t>{30, 0, 59, 0, 0xF5, 0xFF}));
        }
        if (e.key[0] == 2) {
            EXPECT_EQ(e.payload.size(), static_cast<size_t>(e.width) * e.height);
            EXPECT_GE(e.width, 16);
            EXPECT_GE(e.height, 16);
        }
        if (e.key[0] == 4) {
            EXPECT_EQ(e.payload.size(), 256u);
        }
    }
}

TEST(ColorTableSource, MonochromeSourceHasNoLut)
{
    std::string error;
    const std::vector<TableEntry> entries = CompileColorTableSource(
        R"({"resolutions": [{"code": 1, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}}})", &error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key[0], 2);
    EXPECT_EQ(entries[1].key[0], 4);
}

TEST(ColorTableSource, ErrorsSayWhatIsWrong)
{
    struct Case {
        const char* source;
        const char* mentions;
    };
    const Case cases[] = {
        {"{", "not readable JSON"},
        {"[]", "one JSON object"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}]})", "\"screens\" is missing"},
        {R"({"resolutions": [{"code": 3, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}}})", "code"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 9]}], "screens": {"planes": {"mono": [4, 4]}}})", "dots"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"white": [4, 4]}}})", "white"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"mono": [0, 0]}}})", "non-zero"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1], "dot_gain": 0.3}], "screens": {"planes": {"mono": [4, 4]}}})",
         "dot_gain"},
        {R"({"resolutions": [], "screens": {"planes": {"mono": [4, 4]}}})", "resolutions"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}},
             "colour": {"luts": [{"mode": 6}]}})",
         "mode"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}},
             "colour": {"luts": [{"mode": 2, "gray_in_black": true, "renderer_ucr_bg": [1, 2]}]}})",
         "exclude"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}},
             "colour": {"ink_limit": 9, "luts": [{"mode": 2}]}})",
         "out of range"},
        {R"({"resolutions": [{"code": 2, "dots": [1, 1]}], "screens": {"planes": {"mono": [4, 4]}},
             "gray_weights": [1, 2]})",
         "gray_weights"},
    };
    for (const Case& tc : cases) {
        std::string error;
        EXPECT_TRUE(CompileColorTableSource(tc.source, &error).empty()) << tc.source;
        EXPECT_NE(error.find(tc.mentions), std::string::npos) << error;
    }
}

}  // namespace
