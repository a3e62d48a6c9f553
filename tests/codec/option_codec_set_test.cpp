#include "core/codec/OptionCodec.h"

#include "codec/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using codectest::BlankRecord;
using codectest::Differences;
using codectest::FieldValue;
using codectest::QueuePpd;
using codectest::With;

using namespace codectest::fields;

struct SetCase {
    const char* ppd;
    const char* key;
    const char* value;
    std::vector<FieldValue> before;  // fields of the starting record that differ from blank
    std::vector<FieldValue> after;   // every field the call must change, with its new value
};

// Runs each case from its starting record and checks that exactly the listed fields changed.
void RunSetCases(const std::vector<SetCase>& cases)
{
    for (const SetCase& c : cases) {
        QueuePpd queue(c.ppd);
        ASSERT_TRUE(queue.IsOpen()) << c.ppd;
        DRVDEVMODE start = With(BlankRecord(), c.before);
        DRVDEVMODE record = start;
        EXPECT_EQ(OptionCodec(queue.Handle(), &record, c.key, c.value, nullptr), FLAG_TRUE);
        DRVDEVMODE expected = With(start, c.after);
        EXPECT_EQ(Differences(record, expected), "")
            << c.ppd << ": " << c.key << "=" << c.value;
        for (const FieldValue& v : c.after) {
            EXPECT_EQ(v.field.get(record), v.value)
                << c.ppd << ": " << c.key << "=" << c.value << " field " << v.field.name;
        }
    }
}

TEST(OptionCodecSet, PickOneChoicesStoreTheirIdAndValidityBit)
{
    RunSetCases({
        {"GC7350.ppd", "PageSize", "A5", {}, {{kPaperSize, 11}, {kFields, 0x2}}},
        {"GC7350.ppd", "PageSize", "EnvMonarch", {}, {{kPaperSize, 37}, {kFields, 0x2}}},
        {"GC7350.ppd", "MediaType", "Glossy", {}, {{kMediaType, 8}, {kFields, 0x2000000}}},
        {"GC7350.ppd", "InputSlot", "LCT", {}, {{kSource, 5}, {kFields, 0x200}}},
        {"GC7350.ppd", "Duplex", "DuplexTumble", {}, {{kDuplex, 3}, {kFields, 0x1000}}},
        {"GC7350.ppd", "Resolution", "1200x600dpi", {}, {{kQuality, 3}, {kFields, 0x400}}},
        {"GM4150.ppd", "Resolution", "1200dpi", {}, {{kQuality, 4}, {kFields, 0x400}}},
        {"GC7350.ppd", "Halftone", "Photo", {}, {{kHalftone, 3}}},
        {"GC7350.ppd", "ColorMode", "Grayscale", {}, {{kColorMode, 1}}},
        {"GC7350.ppd", "TonerSave", "On", {}, {{kTonerSave, 1}}},
        {"GC7350.ppd", "SortMethod", "Group", {}, {{kSort, 4}, {kExtra1, 0x100000}}},
        {"GC7350.ppd", "Finisher", "Staple", {}, {{kFinisher, 2}, {kExtra1, 0x20000}}},
        {"GC7350.ppd", "Staple", "LeftDual", {}, {{kStaple, 3}, {kExtra1, 0x10000}}},
        {"GC7350.ppd", "Puncher", "ThreeHoles", {}, {{kPunch, 3}, {kExtra1, 0x40000}}},
        // An id of 0 is a value like any other.
        {"GC7350.ppd", "Staple", "None", {{kStaple, 2}}, {{kStaple, 0}, {kExtra1, 0x10000}}},
    });
}

TEST(OptionCodecSet, ValuesWithoutAUsableIdLeaveTheRecordAlone)
{
    RunSetCases({
        // No such choice, no such option, no such key.
        {"GC7350.ppd", "PageSize", "Tabloid", {}, {}},
        {"GM1000.ppd", "Duplex", "DuplexTumble", {}, {}},
        {"GM4150.ppd", "ColorMode", "Grayscale", {}, {}},
        {"GC7350.ppd", "PageRegion", "A5", {}, {}},
        {"GC7350.ppd", "OptionDuplexer", "Installed", {}, {}},
        // A letter right after the marker, no marker at all, an id that no field can hold.
        {"edge-cases.ppd", "MediaType", "Lettered", {}, {}},
        {"edge-cases.ppd", "MediaType", "Unmarked", {}, {}},
        {"edge-cases.ppd", "MediaType", "TooBig", {}, {}},
        {"edge-cases.ppd", "MediaType", "Negative", {}, {}},
        {"edge-cases.ppd", "PageSize", "OutOfRange", {}, {}},
        // A PickMany option reads nothing.
        {"edge-cases.ppd", "Halftone", "Photo", {}, {}},
        // "media" is CUPS's business, never the codec's.
        {"GC7350.ppd", "media", "A5", {}, {}},
        {"GC7350.ppd", "media", "Glossy", {}, {}},
    });
}

TEST(OptionCodecSet, IdAfterBlanksIsRead)
{
    RunSetCases({
        {"edge-cases.ppd", "MediaType", "Spaced", {}, {{kMediaType, 12}, {kFields, 0x2000000}}},
    });
}

TEST(OptionCodecSet, UserPaperTakesItsSizeFromThePpdInTenthsOfMillimetres)
{
    RunSetCases({
        // 595 x 842 points: 595 x 254 / 72 = 2099.03 and 842 x 254 / 72 = 2970.39, truncated.
        {"edge-cases.ppd",
         "PageSize",
         "userpaper460",
         {},
         {{kPaperSize, 460}, {kPaperWidth, 2099}, {kPaperLength, 2970}, {kFields, 0xE}}},
        // 20000 points is 70555 tenths of a millimetre, more than the field holds.
        {"edge-cases.ppd",
         "PageSize",
         "Huge",
         {},
         {{kPaperSize, 461}, {kPaperWidth, 32767}, {kPaperLength, 32767}, {kFields, 0xE}}},
        // A standard paper keeps whatever size the record held.
        {"edge-cases.ppd",
         "PageSize",
         "A4",
         {{kPaperWidth, 1000}, {kPaperLength, 1500}},
         {{kPaperSize, 9}, {kFields, 0x2}}},
    });
}

TEST(OptionCodecSet, BooleanOptionsReadTrueInAnyCase)
{
    RunSetCases({
        {"GC7350.ppd", "Collate", "False", {{kCollate, 1}}, {{kCollate, 0}, {kFields, 0x8000}}},
        {"GC7350.ppd", "Collate", "TRUE", {}, {{kCollate, 1}, {kFields, 0x8000}}},
        // Anything but "true" is false, even a word CUPS would call true elsewhere.
        {"GC7350.ppd", "Collate", "yes", {{kCollate, 1}}, {{kCollate, 0}, {kFields, 0x8000}}},
        {"GC7350.ppd", "TextAsBlack", "true", {}, {{kTextBlack, 1}}},
        {"GC7350.ppd", "TextAsBlack", "False", {{kTextBlack, 1}}, {{kTextBlack, 0}}},
        // Blank pages printed means none skipped, and the other way round.
        {"GC7350.ppd", "PrintBlankPages", "False", {}, {{kSkipBlank, 1}, {kExtra1, 0x4000}}},
        {"GC7350.ppd", "PrintBlankPages", "True", {{kSkipBlank, 1}}, {{kSkipBlank, 0}, {kExtra1, 0x4000}}},
        // Without the PPD option the PPD-backed Boolean keys change nothing.
        {"GM1000.ppd", "Collate", "True", {}, {}},
        {"GM1000.ppd", "PrintBlankPages", "False", {}, {}},
    });
}

TEST(OptionCodecSet, JobOptionsNeedNoPpdOption)
{
    RunSetCases({
        {"GM1000.ppd", "copies", "3", {}, {{kCopies, 3}, {kFields, 0x100}}},
        // Copies beyond 16 bits are held at the field's limits instead of wrapping.
        {"GM1000.ppd", "copies", "70000", {}, {{kCopies, 32767}, {kFields, 0x100}}},
        {"GM1000.ppd", "copies", "-70000", {}, {{kCopies, -32768}, {kFields, 0x100}}},
        {"GM1000.ppd", "sides", "two-sided-short-edge", {}, {{kDuplex, 3}, {kFields, 0x1000}}},
        {"GM1000.ppd", "sides", "TWO-SIDED-LONG-EDGE", {}, {{kDuplex, 2}, {kFields, 0x1000}}},
        {"GM1000.ppd", "sides", "one-sided", {{kDuplex, 2}}, {{kDuplex, 1}, {kFields, 0x1000}}},
        {"GM1000.ppd", "sides", "duplex", {}, {}},
        {"GM1000.ppd", "landscape", "FALSE", {{kOrientation, 2}}, {{kOrientation, 1}, {kFields, 0x1}}},
        {"GM1000.ppd", "landscape", "off", {{kOrientation, 2}}, {{kOrientation, 1}, {kFields, 0x1}}},
        {"GM1000.ppd", "landscape", "No", {{kOrientation, 2}}, {{kOrientation, 1}, {kFields, 0x1}}},
        {"GM1000.ppd", "landscape", "true", {{kOrientation, 1}}, {{kOrientation, 2}, {kFields, 0x1}}},
        {"GM1000.ppd", "landscape", "anything", {{kOrientation, 1}}, {{kOrientation, 2}, {kFields, 0x1}}},
    });
}

TEST(OptionCodecSet, OrientationRequestedActsOnlyOnTheFourIppOrientations)
{
    RunSetCases({
        {"GM1000.ppd", "orientation-requested", "3", {{kOrientation, 2}}, {{kOrientation, 1}, {kFields, 0x1}}},
        {"GM1000.ppd", "orientation-requested", "4", {{kOrientation, 1}}, {{kOrientation, 2}, {kFields, 0x1}}},
        {"GM1000.ppd", "orientation-requested", "5", {{kOrientation, 1}}, {{kOrientation, 2}, {kFields, 0x1}}},
        {"GM1000.ppd", "orientation-requested", "6", {{kOrientation, 2}}, {{kOrientation, 1}, {kFields, 0x1}}},
        {"GM1000.ppd", "orientation-requested", "7", {{kOrientation, 2}}, {}},
        {"GM1000.ppd", "orientation-requested", "2", {{kOrientation, 2}}, {}},
        {"GM1000.ppd", "orientation-requested", "-4", {{kOrientation, 2}}, {}},
        {"GM1000.ppd", "orientation-requested", "portrait", {{kOrientation, 2}}, {}},
    });
}

TEST(OptionCodecSet, PagesPerSheetTakesOnlyTheSupportedCounts)
{
    RunSetCases({
        {"GM1000.ppd", "number-up", "9", {}, {{kNup, 9}, {kLayout, 0x1}}},
        {"GM1000.ppd", "number-up", "2", {{kLayout, 0x4}}, {{kNup, 2}, {kLayout, 0x5}}},
        {"GM1000.ppd", "number-up", "16", {}, {{kNup, 16}, {kLayout, 0x1}}},
        {"GM1000.ppd", "number-up", "3", {{kNup, 2}}, {}},
        {"GM1000.ppd", "number-up", "1", {{kNup, 2}}, {}},
        {"GM1000.ppd", "number-up", "8", {{kNup, 2}}, {}},
        {"GM1000.ppd", "number-up-layout", "tbrl", {}, {{kNupOrder, 2}}},
        {"GM1000.ppd", "number-up-layout", "BTLR", {}, {{kNupOrder, 3}}},
        {"GM1000.ppd", "number-up-layout", "rltb", {}, {{kNupOrder, 3}}},
        {"GM1000.ppd", "number-up-layout", "tblr", {}, {{kNupOrder, 1}}},
        {"GM1000.ppd", "number-up-layout", "lrtb", {{kNupOrder, 2}}, {{kNupOrder, 0}}},
        {"GM1000.ppd", "number-up-layout", "zigzag", {{kNupOrder, 2}}, {}},
        {"GM1000.ppd", "page-border", "SINGLE", {}, {{kNupBorder, 1}}},
        {"GM1000.ppd", "page-border", "double", {{kNupBorder, 1}}, {{kNupBorder, 0}}},
    });
}

TEST(OptionCodecSet, OutputOrderIsReadByItsName)
{
    RunSetCases({
        {"GC7350.ppd", "OutputOrder", "Reverse", {}, {{kReverse, 1}, {kExtra1, 0x1000}}},
        {"GC7350.ppd", "OutputOrder", "Normal", {{kReverse, 1}}, {{kReverse, 0}, {kExtra1, 0x1000}}},
        // The job option means the same on a queue whose PPD does not offer it.
        {"GM1000.ppd", "OutputOrder", "reverse", {}, {{kReverse, 1}, {kExtra1, 0x1000}}},
    });
}

TEST(OptionCodecSet, BookletTurnsOnOnlyWithABindingSide)
{
    RunSetCases({
        {"GC7350.ppd", "BookletBinding", "Left", {}, {{kBinding, 1}, {kLayout, 0x2}}},
        {"GC7350.ppd", "BookletBinding", "Right", {}, {{kBinding, 2}, {kLayout, 0x2}}},
        {"GC7350.ppd", "BookletBinding", "None", {{kBinding, 1}}, {}},
        {"GC7350.ppd", "BookletUnit", "4", {}, {{kBookletUnit, 4}}},
        {"GC7350.ppd", "BookletUnit", "All", {{kBookletUnit, 8}}, {{kBookletUnit, 0}}},
        // The name counts, not the id; a name the PPD does not offer counts for nothing.
        {"GC7350.ppd", "BookletUnit", "3", {}, {}},
        {"GM1000.ppd", "BookletUnit", "4", {}, {}},
    });
}

TEST(OptionCodecSet, PosterTilesAreReadFromTheChoiceName)
{
    RunSetCases({
        {"GC7350.ppd", "Poster", "3x3", {}, {{kPosterX, 3}, {kPosterY, 3}, {kLayout, 0x4}}},
        {"GC7350.ppd", "Poster", "1x2", {}, {{kPosterX, 1}, {kPosterY, 2}, {kLayout, 0x4}}},
        {"GC7350.ppd", "Poster", "None", {{kPosterX, 2}, {kPosterY, 2}}, {{kPosterX, 1}, {kPosterY, 1}}},
        {"GM4150.ppd", "Poster", "3x3", {}, {}},
        {"edge-cases.ppd", "Poster", "x9", {}, {{kPosterX, 1}, {kPosterY, 1}}},
        {"edge-cases.ppd", "Poster", "99999x2", {}, {{kPosterX, 32767}, {kPosterY, 2}, {kLayout, 0x4}}},
    });
}

TEST(OptionCodecSet, UnknownKeysAndMissingPpdChangeOnlyWhatNeedsNoPpd)
{
    DRVDEVMODE record = BlankRecord();
    const DRVDEVMODE start = record;
    EXPECT_EQ(OptionCodec(nullptr, &record, "NoSuchKey", "1", nullptr), FLAG_TRUE);
    EXPECT_EQ(OptionCodec(nullptr, &record, nullptr, "1", nullptr), FLAG_TRUE);
    EXPECT_EQ(OptionCodec(nullptr, &record, "PageSize", "A4", nullptr), FLAG_TRUE);
    EXPECT_EQ(Differences(record, start), "");

    tagMODELHANDLE noPpd {nullptr, &codectest::RealCups(), nullptr};
    EXPECT_EQ(OptionCodec(&noPpd, &record, "copies", "2", nullptr), FLAG_TRUE);
    EXPECT_EQ(Differences(record, With(start, {{kCopies, 2}, {kFields, 0x100}})), "");
}

}  // namespace
