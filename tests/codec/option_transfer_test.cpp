#include "core/codec/OptionTransfer.h"

#include "codec/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using codectest::BlankRecord;
using codectest::Differences;
using codectest::FieldValue;
using codectest::QueuePpd;
using codectest::With;

using namespace codectest::fields;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Options parsed by the real libcups from an option string, freed at the end of the scope.
class JobOptions {
public:
    explicit JobOptions(const char* text)
    {
        m_count = codectest::RealCups().cupsParseOptions(text, 0, &m_options);
    }
    ~JobOptions() { codectest::RealCups().cupsFreeOptions(m_count, m_options); }
    JobOptions(const JobOptions&) = delete;
    JobOptions& operator=(const JobOptions&) = delete;
    int count() const { return m_count; }
    cups_option_t* options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

TEST(Options2Devmode, PpdDefaultsFillEveryKeyTheSamplePpdOffers)
{
    QueuePpd queue("GC7350.ppd");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE record = BlankRecord();
    EXPECT_EQ(Options2Devmode(queue.Handle(), &record, 0, nullptr), 0);

    // The defaults of the sample PPD: A4, plain paper from the automatic source, one-sided,
    // 600 dpi (quality mode 2), automatic halftone, collated, normal order, colour, no toner save,
    // blank pages printed, no finishing, no booklet (unit "All") and no poster ("None": 1 x 1).
    DRVDEVMODE expected = With(BlankRecord(), {
        {kPaperSize, 9}, {kMediaType, 1}, {kSource, 7}, {kDuplex, 1}, {kQuality, 2},
        {kHalftone, 1}, {kCollate, 1}, {kReverse, 0}, {kBookletUnit, 0}, {kPosterX, 1},
        {kPosterY, 1}, {kSort, 0}, {kFinisher, 0}, {kStaple, 0}, {kPunch, 0}, {kSkipBlank, 0},
        {kColorMode, 2}, {kTonerSave, 0}, {kTextBlack, 0},
        {kFields, 0x2 | 0x2000000 | 0x200 | 0x1000 | 0x400 | 0x8000},
        {kExtra1, 0x1000 | 0x100000 | 0x20000 | 0x10000 | 0x40000 | 0x4000},
    });
    EXPECT_EQ(Differences(record, expected), "");
}

TEST(Options2Devmode, JobOptionsOverrideTheDefaultsAndOneLayoutWins)
{
    struct Case {
        const char* ppd;
        const char* options;
        std::vector<FieldValue> expected;
    };
    const Case cases[] = {
        {"GC7350.ppd", "PageSize=Letter copies=3 landscape=true",
         {{kPaperSize, 1}, {kCopies, 3}, {kOrientation, 2}}},
        // Pages per sheet goes before the poster, whose tiles stay recorded.
        {"GC7350.ppd", "number-up=9 Poster=2x2", {{kNup, 9}, {kLayout, 0x1}, {kPosterX, 2}, {kPosterY, 2}}},
        {"GC7350.ppd", "BookletBinding=Right Poster=3x3", {{kBinding, 2}, {kLayout, 0x2}}},
        {"GM4150.ppd", "Poster=2x2 number-up=3", {{kLayout, 0x4}, {kPosterX, 2}, {kPosterY, 2}}},
        // CUPS turns "sides" into the PPD's duplex choice; either way the record gets long edge.
        {"GM4150.ppd", "sides=two-sided-long-edge", {{kDuplex, 2}}},
        // CUPS turns "media" into the page size and media type; the codec itself ignores it.
        {"GC7350.ppd", "media=A5", {{kPaperSize, 11}}},
        {"GC7350.ppd", "Collate=false TextAsBlack=true", {{kCollate, 0}, {kTextBlack, 1}}},
        {"GM1000.ppd", "Duplex=DuplexTumble number-up=4 page-border=single",
         {{kDuplex, 0}, {kNup, 4}, {kLayout, 0x1}, {kNupBorder, 1}}},
    };
    for (const Case& c : cases) {
        QueuePpd queue(c.ppd);
        ASSERT_TRUE(queue.IsOpen()) << c.ppd;
        JobOptions options(c.options);
        DRVDEVMODE record = BlankRecord();
        Options2Devmode(queue.Handle(), &record, options.count(), options.options());
        for (const FieldValue& v : c.expected) {
            EXPECT_EQ(v.field.get(record), v.value) << c.ppd << " " << c.options << ": " << v.field.name;
        }
    }
}

TEST(Options2Devmode, LayoutKeepsOnlyItsFirstBit)
{
    struct Case {
        long before;
        long after;
    };
    const Case cases[] = {
        {0x0, 0x0}, {0x5, 0x1}, {0x6, 0x2}, {0xC, 0x4}, {0x8, 0x8}, {0x18, 0x8}, {0x10, 0x10},
        {0xF, 0x1},
    };
    QueuePpd queue("GM1000.ppd");  // offers no layout option of its own
    ASSERT_TRUE(queue.IsOpen());
    for (const Case& c : cases) {
        DRVDEVMODE record = With(BlankRecord(), {{kLayout, c.before}});
        Options2Devmode(queue.Handle(), &record, 0, nullptr);
        EXPECT_EQ(kLayout.get(record), c.after) << "layout " << c.before;
    }
}

TEST(Options2Devmode, WithoutAPpdOnlyTheJobsOwnKeysApply)
{
    tagMODELHANDLE noPpd {nullptr, &codectest::RealCups(), nullptr};
    JobOptions options("copies=4 PageSize=A4 number-up=2 number-up=16");
    DRVDEVMODE record = BlankRecord();
    EXPECT_EQ(Options2Devmode(&noPpd, &record, options.count(), options.options()), 0);
    // libcups keeps the last of two equal names.
    EXPECT_EQ(Differences(record, With(BlankRecord(), {{kCopies, 4}, {kFields, 0x100}, {kNup, 16},
                                                       {kLayout, 0x1}})),
              "");
}

// A libcups table whose cupsAddOption records each call before handing it to the real one.
Pairs g_added;
int RecordingAddOption(const char* name, const char* value, int count, cups_option_t** options)
{
    g_added.emplace_back(name, value);
    return codectest::RealCups().cupsAddOption(name, value, count, options);
}

Pairs Read(cups_option_t* options, int count, const Pairs& order)
{
    Pairs out;
    for (const auto& [name, value] : order) {
        const char* found = codectest::RealCups().cupsGetOption(name.c_str(), count, options);
        out.emplace_back(name, found != nullptr ? found : "(missing)");
    }
    return out;
}

TEST(DevmodeToOptions, GivesEveryKeyWithAValueInTableOrderAndNeverMedia)
{
    QueuePpd queue("GC7350.ppd");
    ASSERT_TRUE(queue.IsOpen());
    tagCUPSFUNC recording = codectest::RealCups();
    recording.cupsAddOption = RecordingAddOption;
    tagMODELHANDLE handle = *queue.Handle();
    handle.pCupsFunc = &recording;

    DRVDEVMODE record = With(BlankRecord(), {
        {kPaperSize, 9}, {kMediaType, 1}, {kSource, 7}, {kDuplex, 2}, {kQuality, 2},
        {kHalftone, 1}, {kCollate, 1}, {kCopies, 2}, {kOrientation, 2},
        {kExtra2, 0x8 | 0x4 | 0x10}, {kLayout, 0x1}, {kNup, 4}, {kNupOrder, 1}, {kNupBorder, 1},
        {kExtra1, 0x1000 | 0x100000 | 0x20000 | 0x10000 | 0x40000 | 0x4000}, {kReverse, 1},
        {kSort, 2}, {kFinisher, 1}, {kStaple, 1}, {kPunch, 3}, {kSkipBlank, 0},
        {kColorMode, 2}, {kTonerSave, 0}, {kTextBlack, 0},
    });
    // "sides", "orientation-requested" and "media" give nothing; booklet and poster are off.
    const Pairs expected = {
        {"PageSize", "A4"}, {"MediaType", "Plain"}, {"InputSlot", "Auto"},
        {"Duplex", "DuplexNoTumble"}, {"Resolution", "600dpi"}, {"Halftone", "Auto"},
        {"Collate", "True"}, {"copies", "2"}, {"landscape", "true"}, {"number-up", "4"},
        {"number-up-layout", "tblr"}, {"page-border", "single"}, {"OutputOrder", "Reverse"},
        {"BookletBinding", "None"}, {"BookletUnit", "All"}, {"Poster", "None"},
        {"SortMethod", "Sort"}, {"Finisher", "Offset"}, {"Staple", "TopLeft"},
        {"Puncher", "ThreeHoles"}, {"PrintBlankPages", "True"}, {"ColorMode", "Color"},
        {"TonerSave", "Off"}, {"TextAsBlack", "False"},
    };

    g_added.clear();
    cups_option_t* options = reinterpret_cast<cups_option_t*>(0x1);  // must be reset first
    int count = DevmodeToOptions(&handle, &record, &options);
    EXPECT_EQ(g_added, expected);
    ASSERT_EQ(count, static_cast<int>(expected.size()));
    EXPECT_EQ(Read(options, count, expected), expected);
    EXPECT_EQ(codectest::RealCups().cupsGetOption("media", count, options), nullptr);
    codectest::RealCups().cupsFreeOptions(count, options);
}

TEST(DevmodeToOptions, OptionsReadBackGiveTheSameRecordValues)
{
    struct Case {
        const char* ppd;
        std::vector<FieldValue> record;
    };
    const Case cases[] = {
        {"GC7350.ppd",
         {{kPaperSize, 13}, {kMediaType, 6}, {kSource, 4}, {kDuplex, 3}, {kQuality, 3},
          {kHalftone, 2}, {kCollate, 0}, {kCopies, 7},
          {kExtra2, 0x4}, {kLayout, 0x2}, {kBinding, 1}, {kBookletUnit, 8},
          {kExtra1, 0x1000 | 0x100000 | 0x20000 | 0x10000 | 0x40000 | 0x4000}, {kSort, 4},
          {kFinisher, 2}, {kStaple, 2}, {kPunch, 2}, {kSkipBlank, 1}, {kColorMode, 1},
          {kTonerSave, 1}, {kTextBlack, 1}}},
        {"GM4150.ppd",
         {{kPaperSize, 1}, {kMediaType, 7}, {kSource, 2}, {kDuplex, 2}, {kQuality, 4},
          {kCollate, 1}, {kCopies, 12}, {kOrientation, 2}, {kExtra2, 0x10}, {kLayout, 0x4},
          {kPosterX, 2}, {kPosterY, 1}, {kTonerSave, 1}}},
    };
    for (const Case& c : cases) {
        QueuePpd queue(c.ppd);
        ASSERT_TRUE(queue.IsOpen()) << c.ppd;
        DRVDEVMODE source = With(BlankRecord(), c.record);
        cups_option_t* options = nullptr;
        int count = DevmodeToOptions(queue.Handle(), &source, &options);

        // The settings program saves these as the queue's choices; the next load reads them back.
        DRVDEVMODE loaded = With(BlankRecord(), {{kExtra2, kExtra2.get(source)}});
        Options2Devmode(queue.Handle(), &loaded, count, options);
        for (const FieldValue& v : c.record) {
            EXPECT_EQ(v.field.get(loaded), v.value) << c.ppd << ": " << v.field.name;
        }
        codectest::RealCups().cupsFreeOptions(count, options);
    }
}

}  // namespace
