#include "core/codec/OptionCodec.h"

#include "core/codec/CupsKeys.h"

#include "codec/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using codectest::BlankRecord;
using codectest::FieldValue;
using codectest::QueuePpd;
using codectest::With;

using namespace codectest::fields;

// Capability bits as the settings defaults set them for a model that offers the layout.
constexpr long kNupOffered = 0x8;
constexpr long kBookletOffered = 0x4;
constexpr long kPosterOffered = 0x10;

struct GetCase {
    const char* ppd;
    const char* key;
    std::vector<FieldValue> record;
    std::optional<std::string> expected;  // nullopt: the key gives no value
};

std::optional<std::string> Get(tagMODELHANDLE* handle, DRVDEVMODE& record, const char* key)
{
    char* result = reinterpret_cast<char*>(0x1);  // must be overwritten in every case
    EXPECT_EQ(OptionCodec(handle, &record, key, nullptr, &result), FLAG_TRUE);
    std::optional<std::string> out;
    if (result != nullptr) {
        out = result;
        std::free(result);
    }
    return out;
}

void RunGetCases(const std::vector<GetCase>& cases)
{
    for (const GetCase& c : cases) {
        QueuePpd queue(c.ppd);
        ASSERT_TRUE(queue.IsOpen()) << c.ppd;
        DRVDEVMODE record = With(BlankRecord(), c.record);
        const DRVDEVMODE before = record;
        EXPECT_EQ(Get(queue.Handle(), record, c.key), c.expected) << c.ppd << ": " << c.key;
        EXPECT_EQ(codectest::Differences(record, before), "") << "get changed the record";
    }
}

TEST(OptionCodecGet, PickOneKeysGiveTheChoiceCarryingTheFieldsId)
{
    RunGetCases({
        {"GC7350.ppd", "PageSize", {{kPaperSize, 11}}, "A5"},
        {"GC7350.ppd", "PageSize", {{kPaperSize, 460}}, std::nullopt},
        {"edge-cases.ppd", "PageSize", {{kPaperSize, 460}}, "userpaper460"},
        {"GC7350.ppd", "MediaType", {{kMediaType, 8}}, "Glossy"},
        {"GM4150.ppd", "MediaType", {{kMediaType, 8}}, std::nullopt},
        {"GC7350.ppd", "InputSlot", {{kSource, 5}}, "LCT"},
        {"GC7350.ppd", "Duplex", {{kDuplex, 2}}, "DuplexNoTumble"},
        // Two choices with one id: the first in PPD order.
        {"edge-cases.ppd", "Duplex", {{kDuplex, 1}}, "None"},
        {"GC7350.ppd", "Resolution", {{kQuality, 3}}, "1200x600dpi"},
        {"GC7350.ppd", "Halftone", {{kHalftone, 3}}, "Photo"},
        {"GM4150.ppd", "Halftone", {{kHalftone, 3}}, std::nullopt},
        {"edge-cases.ppd", "Halftone", {{kHalftone, 3}}, std::nullopt},
        {"GC7350.ppd", "ColorMode", {{kColorMode, 1}}, "Grayscale"},
        {"GC7350.ppd", "TonerSave", {{kTonerSave, 1}}, "On"},
    });
}

TEST(OptionCodecGet, BooleanKeysGiveThePpdsOwnChoiceNames)
{
    RunGetCases({
        {"GC7350.ppd", "Collate", {{kCollate, 1}}, "True"},
        {"GC7350.ppd", "Collate", {{kCollate, 0}}, "False"},
        // Only 1 is on.
        {"GC7350.ppd", "Collate", {{kCollate, 2}}, "False"},
        {"GM1000.ppd", "Collate", {{kCollate, 1}}, std::nullopt},
        {"GC7350.ppd", "TextAsBlack", {{kTextBlack, 1}}, "True"},
        {"GC7350.ppd", "TextAsBlack", {{kTextBlack, 2}}, "False"},
        // A Boolean option without a false choice spells it out.
        {"edge-cases.ppd", "TextAsBlack", {{kTextBlack, 0}}, "false"},
        {"edge-cases.ppd", "TextAsBlack", {{kTextBlack, 1}}, "True"},
        {"GC7350.ppd", "PrintBlankPages", {{kExtra1, 0x4000}, {kSkipBlank, 1}}, "False"},
        {"GC7350.ppd", "PrintBlankPages", {{kExtra1, 0x4000}, {kSkipBlank, 0}}, "True"},
        // Without the blank-page capability blank pages are printed.
        {"GC7350.ppd", "PrintBlankPages", {{kSkipBlank, 1}}, "True"},
    });
}

TEST(OptionCodecGet, JobKeysGiveTheirOwnWords)
{
    RunGetCases({
        {"GM1000.ppd", "copies", {{kCopies, 5}}, "5"},
        {"GM1000.ppd", "copies", {{kCopies, -3}}, "-3"},
        {"GM1000.ppd", "landscape", {{kOrientation, 2}}, "true"},
        {"GM1000.ppd", "landscape", {{kOrientation, 1}}, std::nullopt},
        {"GC7350.ppd", "sides", {{kDuplex, 2}}, std::nullopt},
        {"GC7350.ppd", "orientation-requested", {{kOrientation, 2}}, std::nullopt},
        {"GC7350.ppd", "media", {{kPaperSize, 9}}, std::nullopt},
        {"GC7350.ppd", "NoSuchKey", {}, std::nullopt},
        {"GC7350.ppd", "OutputOrder", {{kExtra1, 0x1000}, {kReverse, 1}}, "Reverse"},
        {"GC7350.ppd", "OutputOrder", {{kExtra1, 0x1000}, {kReverse, 0}}, std::nullopt},
        {"GC7350.ppd", "OutputOrder", {{kReverse, 1}}, std::nullopt},
    });
}

TEST(OptionCodecGet, PagesPerSheetIsGivenOnlyWhileOfferedAndOn)
{
    const std::vector<FieldValue> on = {{kExtra2, kNupOffered}, {kLayout, 0x1}};
    auto nup = [&](std::vector<FieldValue> more) {
        more.insert(more.begin(), on.begin(), on.end());
        return more;
    };
    RunGetCases({
        {"GM1000.ppd", "number-up", nup({{kNup, 4}}), "4"},
        {"GM1000.ppd", "number-up", {{kLayout, 0x1}, {kNup, 4}}, "1"},
        {"GM1000.ppd", "number-up", {{kExtra2, kNupOffered}, {kNup, 4}}, "1"},
        // Two pages side by side: any order but 0 puts the first page on the far side.
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 2}, {kNupOrder, 0}}), "lrtb"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 2}, {kNupOrder, 1}, {kOrientation, 2}}), "btlr"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 2}, {kNupOrder, 3}, {kOrientation, 1}}), "tblr"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 4}, {kNupOrder, 0}}), "lrtb"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 4}, {kNupOrder, 1}}), "tblr"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 4}, {kNupOrder, 2}}), "tbrl"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 9}, {kNupOrder, 3}}), "rltb"},
        {"GM1000.ppd", "number-up-layout", nup({{kNup, 4}, {kNupOrder, 7}}), std::nullopt},
        {"GM1000.ppd", "number-up-layout", {{kNup, 4}, {kNupOrder, 1}}, std::nullopt},
        {"GM1000.ppd", "page-border", nup({{kNupBorder, 1}}), "single"},
        {"GM1000.ppd", "page-border", nup({{kNupBorder, 2}}), "none"},
        {"GM1000.ppd", "page-border", {{kNupBorder, 1}}, std::nullopt},
    });
}

TEST(OptionCodecGet, BookletAndPosterFallBackToTheirOffChoices)
{
    const std::vector<FieldValue> booklet = {{kExtra2, kBookletOffered}, {kLayout, 0x2}};
    const std::vector<FieldValue> poster = {{kExtra2, kPosterOffered}, {kLayout, 0x4}};
    auto plus = [](std::vector<FieldValue> base, std::vector<FieldValue> more) {
        base.insert(base.end(), more.begin(), more.end());
        return base;
    };
    RunGetCases({
        {"GC7350.ppd", "BookletBinding", plus(booklet, {{kBinding, 2}}), "Right"},
        {"GC7350.ppd", "BookletBinding", {{kBinding, 2}}, "None"},
        {"GM1000.ppd", "BookletBinding", plus(booklet, {{kBinding, 2}}), std::nullopt},
        {"GC7350.ppd", "BookletUnit", plus(booklet, {{kBookletUnit, 4}}), "4"},
        {"GC7350.ppd", "BookletUnit", plus(booklet, {{kBookletUnit, 3}}), "All"},
        {"GC7350.ppd", "BookletUnit", {{kBookletUnit, 4}}, "All"},
        {"GM1000.ppd", "BookletUnit", plus(booklet, {{kBookletUnit, 4}}), "All"},
        {"GC7350.ppd", "Poster", plus(poster, {{kPosterX, 3}, {kPosterY, 3}}), "3x3"},
        {"GM4150.ppd", "Poster", plus(poster, {{kPosterX, 2}, {kPosterY, 2}}), "2x2"},
        // The smaller model offers no 3x3 poster.
        {"GM4150.ppd", "Poster", plus(poster, {{kPosterX, 3}, {kPosterY, 3}}), "None"},
        {"GC7350.ppd", "Poster", {{kPosterX, 3}, {kPosterY, 3}}, "None"},
    });
}

TEST(OptionCodecGet, FinishingKeysAreGivenOnlyWhenTheModelOffersThem)
{
    RunGetCases({
        // The sort methods fold onto the three the PPD offers.
        {"GC7350.ppd", "SortMethod", {{kExtra1, 0x100000}, {kSort, 5}}, "Group"},
        {"GC7350.ppd", "SortMethod", {{kExtra1, 0x100000}, {kSort, 4}}, "Group"},
        {"GC7350.ppd", "SortMethod", {{kExtra1, 0x100000}, {kSort, 3}}, "Sort"},
        {"GC7350.ppd", "SortMethod", {{kExtra1, 0x100000}, {kSort, 1}}, "None"},
        {"GC7350.ppd", "SortMethod", {{kExtra1, 0x100000}, {kSort, 9}}, "None"},
        {"GC7350.ppd", "SortMethod", {{kSort, 4}}, std::nullopt},
        {"GC7350.ppd", "Finisher", {{kExtra1, 0x20000}, {kFinisher, 2}}, "Staple"},
        {"GC7350.ppd", "Finisher", {{kExtra1, 0x20000}, {kFinisher, 258}}, std::nullopt},
        {"GC7350.ppd", "Finisher", {{kFinisher, 2}}, std::nullopt},
        {"GC7350.ppd", "Staple", {{kExtra1, 0x10000}, {kStaple, 3}}, "LeftDual"},
        {"GC7350.ppd", "Staple", {{kStaple, 3}}, std::nullopt},
        {"GC7350.ppd", "Puncher", {{kExtra1, 0x40000}, {kPunch, 2}}, "TwoHoles"},
        {"GC7350.ppd", "Puncher", {{kPunch, 2}}, std::nullopt},
        {"GM4150.ppd", "Puncher", {{kExtra1, 0x40000}, {kPunch, 2}}, std::nullopt},
    });
}

// Every key of the table, in table order, set from a value and read back in the same call
// against the colour sample PPD, on a record of a model that offers every layout and finishing.
TEST(OptionCodecGet, EveryKeySetFromAValueGivesItBack)
{
    struct Case {
        const char* key;
        const char* value;
        std::vector<FieldValue> before;
        std::optional<std::string> given;
    };
    const std::vector<FieldValue> nupOn = {{kLayout, 0x1}, {kNup, 4}};
    const std::vector<FieldValue> bookletOn = {{kLayout, 0x2}};
    const std::vector<Case> cases = {
        {"PageSize", "A5", {}, "A5"},
        {"MediaType", "Glossy", {}, "Glossy"},
        {"InputSlot", "Tray2", {}, "Tray2"},
        {"Duplex", "DuplexNoTumble", {}, "DuplexNoTumble"},
        {"Resolution", "300dpi", {}, "300dpi"},
        {"Halftone", "Text", {}, "Text"},
        {"Collate", "False", {{kCollate, 1}}, "False"},
        {"copies", "12", {}, "12"},
        {"sides", "two-sided-short-edge", {}, std::nullopt},
        {"orientation-requested", "4", {}, std::nullopt},
        {"landscape", "true", {}, "true"},
        {"number-up", "6", {}, "6"},
        {"number-up-layout", "tbrl", nupOn, "tbrl"},
        {"page-border", "single", nupOn, "single"},
        {"OutputOrder", "Reverse", {}, "Reverse"},
        {"media", "A5", {}, std::nullopt},
        {"BookletBinding", "Right", {}, "Right"},
        {"BookletUnit", "8", bookletOn, "8"},
        {"Poster", "2x2", {}, "2x2"},
        {"SortMethod", "Sort", {}, "Sort"},
        {"Finisher", "Offset", {}, "Offset"},
        {"Staple", "TopRight", {}, "TopRight"},
        {"Puncher", "TwoHoles", {}, "TwoHoles"},
        {"PrintBlankPages", "False", {}, "False"},
        {"ColorMode", "Grayscale", {}, "Grayscale"},
        {"TonerSave", "On", {}, "On"},
        {"TextAsBlack", "True", {}, "True"},
    };
    ASSERT_EQ(static_cast<int>(cases.size()), CUPS_KEYS_COUNT);

    QueuePpd queue("GC7350.ppd");
    ASSERT_TRUE(queue.IsOpen());
    const DRVDEVMODE offered = With(BlankRecord(), {
        {kExtra1, 0x1000 | 0x4000 | 0x10000 | 0x20000 | 0x40000 | 0x100000},
        {kExtra2, kNupOffered | kBookletOffered | kPosterOffered},
    });
    for (int i = 0; i < CUPS_KEYS_COUNT; ++i) {
        const Case& c = cases[static_cast<size_t>(i)];
        EXPECT_STREQ(c.key, CUPS_KEYS[i]);
        DRVDEVMODE record = With(offered, c.before);
        char* given = nullptr;
        OptionCodec(queue.Handle(), &record, c.key, c.value, &given);
        std::optional<std::string> out;
        if (given != nullptr) {
            out = given;
            std::free(given);
        }
        EXPECT_EQ(out, c.given) << c.key << "=" << c.value;
    }
}

TEST(OptionCodecGet, SetAndGetInOneCallGiveTheNewValue)
{
    QueuePpd queue("GC7350.ppd");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE record = BlankRecord();
    char* result = nullptr;
    OptionCodec(queue.Handle(), &record, "Duplex", "DuplexTumble", &result);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "DuplexTumble");
    EXPECT_EQ(record.dm.dmDuplex, 3);
    std::free(result);
}

TEST(OptionCodecGet, IntToStringGivesTheDecimalText)
{
    struct Case {
        int value;
        const char* text;
    };
    const Case cases[] = {{0, "0"}, {42, "42"}, {-7, "-7"}, {2147483647, "2147483647"},
                          {-2147483647 - 1, "-2147483648"}};
    for (const Case& c : cases) {
        char* text = IntToString(c.value);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.text);
        std::free(text);
    }
}

}  // namespace
