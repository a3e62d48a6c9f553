#include "HandBuiltColorTable.h"
#include "RenderTestSupport.h"

#include "filter/render/color/ColorTableFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using rendertest::BuildColorTable;
using rendertest::HandEntry;
using rendertest::HandLayout;
using rendertest::Key;
using rendertest::KeyFields;
using rendertest::MakeKey;
using rendertest::Put16;
using rendertest::Put32;

std::vector<uint8_t> Pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) {
        v[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return v;
}

struct ImageDeleter {
    void operator()(tagCOLORTABLEIMAGE* image) const { FreeColorTableImage(image); }
};
using ImagePtr = std::unique_ptr<tagCOLORTABLEIMAGE, ImageDeleter>;

ImagePtr Load(const std::vector<uint8_t>& bytes)
{
    return ImagePtr(LoadColorTableImage(bytes.data(), bytes.size()));
}

Key MaskOf(std::initializer_list<size_t> bytes)
{
    Key m{};
    for (size_t b : bytes) {
        m[b] = 0xFF;
    }
    return m;
}

// One entry of every section type, with payloads of exactly the sizes the renderer needs.
std::vector<HandEntry> OneOfEach()
{
    std::vector<HandEntry> e(5);
    e[0].key = MakeKey({1, 2, 0, 7, 0, 0x03, 40, 90});
    e[0].payload = Pattern(19652, 1);
    e[1].key = MakeKey({2, 0, 4, 0, 8, 0, 0, 0, 0x80});
    e[1].payload = Pattern(6, 2);
    e[1].width = 3;
    e[1].height = 2;
    e[2].key = MakeKey({3, 1});
    e[2].payload = Pattern(5, 3);
    e[3].key = MakeKey({4, 0, 16, 0, 2});
    e[3].payload = Pattern(256, 4);
    e[4].key = MakeKey({5});
    e[4].payload = {30, 0, 59, 0, 11, 0};
    return e;
}

TEST(ColorTableFile, HandBuiltEntriesReadFieldByField)
{
    const std::vector<HandEntry> entries = OneOfEach();
    HandLayout layout;
    const std::vector<uint8_t> bytes = BuildColorTable(entries, 28, &layout);
    ImagePtr image = Load(bytes);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->cbSize, bytes.size());

    struct Case {
        size_t entry;
        DWORD size, width, height;
    };
    const Case cases[] = {
        {0, 19652, 19652, 1}, {1, 6, 3, 2}, {2, 5, 5, 1}, {3, 256, 256, 1}, {4, 6, 6, 1},
    };
    size_t payloadAt = layout.payloadArea;
    for (const Case& tc : cases) {
        const HandEntry& e = entries[tc.entry];
        tagCOLORTABLEENTRY found{};
        ASSERT_EQ(FindColorTableEntry(e.key.data(), MaskOf({0, 1, 2, 6, 10}).data(), image.get(), &found), 0xFFFF)
            << "type " << int(e.key[0]);
        EXPECT_EQ(found.pPayload, image->pData + payloadAt);
        EXPECT_EQ(found.dwSize, tc.size);
        EXPECT_EQ(found.dwWidth, tc.width);
        EXPECT_EQ(found.dwHeight, tc.height);
        EXPECT_EQ(std::memcmp(found.abKey, e.key.data(), 16), 0);
        EXPECT_EQ(std::memcmp(found.pPayload, e.payload.data(), e.payload.size()), 0);
        payloadAt += e.payload.size();
    }
}

TEST(ColorTableFile, LastMatchingEntryWins)
{
    std::vector<HandEntry> entries(3);
    entries[0].key = MakeKey({4, 0, 1, 0, 2});
    entries[0].payload = std::vector<uint8_t>(256, 0x11);
    entries[1].key = MakeKey({4, 0, 2, 0, 2});  // another plane: no match
    entries[1].payload = std::vector<uint8_t>(256, 0x22);
    entries[2].key = MakeKey({4, 3, 1, 9, 2});  // differs only in bytes the mask ignores
    entries[2].payload = std::vector<uint8_t>(256, 0x33);
    ImagePtr image = Load(BuildColorTable(entries));
    ASSERT_TRUE(image);

    const Key key = MakeKey({4, 0, 1, 0, 2});
    tagCOLORTABLEENTRY found{};
    ASSERT_EQ(FindColorTableEntry(key.data(), MaskOf({0, 2, 6}).data(), image.get(), &found), 0xFFFF);
    EXPECT_EQ(found.pPayload[0], 0x33);
    EXPECT_EQ(found.abKey[1], 3);

    // With the mode byte in the mask only the first entry matches.
    ASSERT_EQ(FindColorTableEntry(key.data(), MaskOf({0, 1, 2, 6}).data(), image.get(), &found), 0xFFFF);
    EXPECT_EQ(found.pPayload[0], 0x11);
}

TEST(ColorTableFile, MaskBitsDecideWhichKeyBitsMatter)
{
    std::vector<HandEntry> entries(1);
    entries[0].key = MakeKey({2, 5, 8, 0, 2, 0, 0, 0, 0x81});
    entries[0].payload = {1};
    entries[0].width = 1;
    entries[0].height = 1;
    ImagePtr image = Load(BuildColorTable(entries));
    ASSERT_TRUE(image);

    struct Case {
        uint8_t toner;
        uint8_t tonerMask;
        bool found;
    };
    const Case cases[] = {
        {0x80, 0x80, true},  // the low bit of byte 10 is outside the mask
        {0x00, 0x80, false},
        {0x80, 0xFF, false},
        {0x00, 0x00, true},
    };
    for (const Case& tc : cases) {
        Key key = MakeKey({2, 0, 8, 0, 2});
        key[10] = tc.toner;
        Key mask = MaskOf({0, 2, 6});
        mask[10] = tc.tonerMask;
        tagCOLORTABLEENTRY found{};
        EXPECT_EQ(FindColorTableEntry(key.data(), mask.data(), image.get(), &found) != 0, tc.found)
            << int(tc.toner) << "/" << int(tc.tonerMask);
    }
}

TEST(ColorTableFile, MissingSectionsAndBadTypesFindNothing)
{
    std::vector<HandEntry> entries(1);
    entries[0].key = MakeKey({5});
    entries[0].payload = {1, 0, 2, 0, 3, 0};
    const std::vector<uint8_t> withWeights = BuildColorTable(entries);
    std::vector<uint8_t> noDirectory = withWeights;
    Put32(noDirectory, 8, 0);

    ImagePtr image = Load(withWeights);
    ImagePtr empty = Load(noDirectory);
    ASSERT_TRUE(image);
    ASSERT_TRUE(empty) << "a file without sections is sound; it just holds no tables";

    const Key all = MaskOf({0});
    tagCOLORTABLEENTRY found{};
    for (uint8_t type : {0, 1, 2, 3, 4, 6, 255}) {
        const Key key = MakeKey({type});
        EXPECT_EQ(FindColorTableEntry(key.data(), all.data(), image.get(), &found), 0) << int(type);
    }
    const Key weights = MakeKey({5});
    EXPECT_EQ(FindColorTableEntry(weights.data(), all.data(), empty.get(), &found), 0);
    EXPECT_EQ(FindColorTableEntry(weights.data(), all.data(), nullptr, &found), 0);
    EXPECT_EQ(FindColorTableEntry(weights.data(), all.data(), image.get(), nullptr), 0);
}

TEST(ColorTableFile, PayloadsTooShortForTheirTypeNeverMatch)
{
    struct Case {
        const char* what;
        HandEntry shortEntry;
    };
    auto entry = [](KeyFields k, size_t n, uint16_t w = 0, uint16_t h = 0) {
        HandEntry e;
        e.key = MakeKey(k);
        e.payload = std::vector<uint8_t>(n, 0xEE);
        e.width = w;
        e.height = h;
        return e;
    };
    const Case cases[] = {
        {"LUT of 19651 bytes", entry({1, 2}, 19651)},
        {"curve of 255 bytes", entry({4, 0, 8, 0, 2}, 255)},
        {"weights of 5 bytes", entry({5}, 5)},
        {"matrix of width 0", entry({2, 0, 8, 0, 2}, 0, 0, 4)},
        {"matrix of height 0", entry({2, 0, 8, 0, 2}, 0, 4, 0)},
    };
    for (const Case& tc : cases) {
        // A good entry first, then the damaged one that would win if it were used.
        HandEntry good = tc.shortEntry;
        const uint8_t type = good.key[0];
        good.payload = std::vector<uint8_t>(type == 1 ? 19652 : type == 4 ? 256 : type == 5 ? 6 : 4, 0x77);
        if (type == 2) {
            good.width = 2;
            good.height = 2;
        }
        ImagePtr image = Load(BuildColorTable({good, tc.shortEntry}));
        ASSERT_TRUE(image) << tc.what << ": the file itself is sound";
        tagCOLORTABLEENTRY found{};
        ASSERT_EQ(FindColorTableEntry(good.key.data(), MaskOf({0, 1, 2, 6}).data(), image.get(), &found), 0xFFFF)
            << tc.what;
        EXPECT_EQ(found.pPayload[0], 0x77) << tc.what;

        ImagePtr alone = Load(BuildColorTable({tc.shortEntry}));
        ASSERT_TRUE(alone);
        EXPECT_EQ(FindColorTableEntry(good.key.data(), MaskOf({0}).data(), alone.get(), &found), 0) << tc.what;
    }
}

TEST(ColorTableFile, EveryTruncationIsRefusedAndNeverReadPastTheEnd)
{
    const std::vector<uint8_t> bytes = BuildColorTable(OneOfEach());
    ASSERT_TRUE(Load(bytes));
    const Key all = MaskOf({0});
    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n))) << "length " << n;

        // The lookup on its own, given an image nobody checked, stays inside it too: the buffer is
        // exactly n bytes, so the sanitizer build catches any read past it.
        BYTE* raw = static_cast<BYTE*>(std::malloc(n == 0 ? 1 : n));
        std::memcpy(raw, bytes.data(), n);
        tagCOLORTABLEIMAGE unchecked{raw, n};
        for (uint8_t type = 1; type <= 5; ++type) {
            const Key key = MakeKey({type});
            tagCOLORTABLEENTRY found{};
            if (FindColorTableEntry(key.data(), all.data(), &unchecked, &found) != 0) {
                EXPECT_LE(found.pPayload + found.dwSize, raw + n);
            }
        }
        std::free(raw);
    }
}

TEST(ColorTableFile, OffsetsAndCountsOutsideTheFileAreRefused)
{
    HandLayout layout;
    const std::vector<uint8_t> good = BuildColorTable(OneOfEach(), 28, &layout);
    const size_t lutSection = layout.section[1];
    const size_t lutEntry = lutSection + 8;
    const size_t matrixEntry = layout.section[2] + 8;
    const size_t curveEntry = layout.section[4] + 8;
    const uint32_t size = static_cast<uint32_t>(good.size());

    struct Case {
        const char* what;
        size_t at;
        int width;  // 2 or 4
        uint32_t value;
    };
    const Case cases[] = {
        {"directory past the end", 8, 4, size},
        {"directory straddling the end", 8, 4, size - 19},
        {"section past the end", 12, 4, size},
        {"section header straddling the end", 12 + 12, 4, size - 7},
        {"count running past the file", lutSection + 4, 2, 0xFFFF},
        {"stride of 27", lutSection + 6, 2, 27},
        {"stride of 0", layout.section[4] + 6, 2, 0},
        {"stride running past the file", layout.section[5] + 6, 2, 0xFFFF},
        {"payload base past the end", lutEntry + 16, 4, size},
        {"base + offset wrapping in 32 bits", curveEntry + 16, 4, 0xFFFFFF00},
        {"payload offset past the end", curveEntry + 20, 4, size},
        {"payload size past the end", lutEntry + 24, 4, 19652 + size},
        {"payload size of 4 GB", curveEntry + 24, 4, 0xFFFFFFFF},
        {"matrix rows past the end", matrixEntry + 26, 2, 0xFFFF},
    };
    for (const Case& tc : cases) {
        std::vector<uint8_t> bad = good;
        if (tc.width == 2) {
            Put16(bad, tc.at, static_cast<uint16_t>(tc.value));
        } else {
            Put32(bad, tc.at, tc.value);
        }
        ASSERT_EQ(bad.size(), good.size()) << tc.what;
        EXPECT_FALSE(Load(bad)) << tc.what;

        // Looked up without the load check, the damaged section yields nothing out of bounds.
        tagCOLORTABLEIMAGE unchecked{bad.data(), bad.size()};
        for (uint8_t type = 1; type <= 5; ++type) {
            const Key key = MakeKey({type});
            tagCOLORTABLEENTRY found{};
            if (FindColorTableEntry(key.data(), MaskOf({0}).data(), &unchecked, &found) != 0) {
                EXPECT_LE(found.pPayload + found.dwSize, bad.data() + bad.size()) << tc.what;
            }
        }
    }
}

TEST(ColorTableFile, EmptySectionsWithAnyStrideAreSound)
{
    std::vector<uint8_t> bytes = BuildColorTable(OneOfEach());
    // A section of no entries: its stride does not matter.
    HandLayout layout;
    bytes = BuildColorTable(OneOfEach(), 28, &layout);
    Put16(bytes, layout.section[3] + 4, 0);
    Put16(bytes, layout.section[3] + 6, 0);
    EXPECT_TRUE(Load(bytes));
}

TEST(ColorTableFile, ReadsTheFileAtDirectoryPlusName)
{
    orvtest::ScratchDir dir;
    const std::vector<uint8_t> bytes = BuildColorTable(OneOfEach());
    dir.WriteFile("data/L_TEST", std::string(bytes.begin(), bytes.end()));
    dir.WriteFile("data/L_EMPTY", "");
    const std::string directory = dir / "data/";

    ImagePtr image(ReadColorTableFile(directory.c_str(), "L_TEST"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->cbSize, bytes.size());
    EXPECT_EQ(std::memcmp(image->pData, bytes.data(), bytes.size()), 0);

    EXPECT_FALSE(ImagePtr(ReadColorTableFile(directory.c_str(), "L_MISSING")));
    EXPECT_FALSE(ImagePtr(ReadColorTableFile(directory.c_str(), "L_EMPTY")));
    EXPECT_FALSE(ImagePtr(ReadColorTableFile(directory.c_str(), nullptr)));
    EXPECT_FALSE(ImagePtr(ReadColorTableFile((dir / "").c_str(), "data"))) << "a directory is no file";
    // No separator is added between the two parts.
    EXPECT_FALSE(ImagePtr(ReadColorTableFile((dir / "data").c_str(), "L_TEST")));
}

// A threshold matrix is tiled to the page's row length for every page: one of 65535 rows would cost
// a page of a few thousand dots per row more than a gigabyte. The load check refuses any matrix
// that is wider or taller than a band's rows.
TEST(ColorTableFile, MatricesLargerThanABandAreRefused)
{
    struct Case {
        uint16_t width;
        uint16_t height;
        bool loads;
    };
    const Case cases[] = {
        {1, 65535, false}, {65535, 1, false}, {513, 1, false}, {1, 513, false},
        {512, 512, true},  {1, 512, true},    {16, 16, true},
    };
    for (const Case& tc : cases) {
        std::vector<HandEntry> entries = OneOfEach();
        entries[1].width = tc.width;
        entries[1].height = tc.height;
        entries[1].payload = Pattern(static_cast<size_t>(tc.width) * tc.height, 5);
        const std::vector<uint8_t> bytes = BuildColorTable(entries);
        EXPECT_EQ(ColorTableImageIsSound(bytes.data(), bytes.size()), tc.loads) << tc.width << "x" << tc.height;
        EXPECT_EQ(static_cast<bool>(Load(bytes)), tc.loads) << tc.width << "x" << tc.height;
    }
}

// The name comes from the model data: like the model data's own name from the PPD, it may only
// pick a file inside the data directory.
TEST(ColorTableFile, NamesThatLeaveTheDirectoryAreRefused)
{
    orvtest::ScratchDir dir;
    const std::vector<uint8_t> bytes = BuildColorTable(OneOfEach());
    dir.WriteFile("data/L_TEST", std::string(bytes.begin(), bytes.end()));
    dir.WriteFile("data/sub/.keep", "");
    const std::string sub = dir / "data/sub/";
    for (const char* name : {"../L_TEST", "./../L_TEST", "", ".", ".."}) {
        EXPECT_FALSE(ImagePtr(ReadColorTableFile(sub.c_str(), name))) << name;
    }
    EXPECT_TRUE(ImagePtr(ReadColorTableFile((dir / "data/").c_str(), "L_TEST")));
}

TEST(BuildColorKey, ModeResolutionAndTonerBytesFromTheSettings)
{
    using rendertest::SettingsFields;
    struct Case {
        SettingsFields settings;
        DWORD langFlags;
        uint8_t mode, resolution, toner;
    };
    const Case cases[] = {
        // Colour mode code: dmColor 3, else gray reproduction and profile.
        {{3, 1, 1}, 0, 5, 2, 0},
        {{2, 1, 1}, 0, 3, 2, 0},
        {{2, 1, 0}, 0, 1, 2, 0},
        {{2, 0, 1}, 0, 4, 2, 0},
        {{2, 0, 0}, 0, 2, 2, 0},
        {{1, 0, 0}, 0, 2, 2, 0},
        // Resolution code from the quality mode.
        {{2, 0, 0, 3}, 0, 2, 4, 0},
        {{2, 0, 0, 4}, 0, 2, 8, 0},
        {{2, 0, 0, 1}, 0, 2, 1, 0},
        {{2, 0, 0, 7}, 0, 2, 2, 0},
        // The toner bit needs toner save on and the model keying it in the table.
        {{2, 0, 0, 2, 1}, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE, 2, 2, 0x80},
        {{2, 0, 0, 2, 1}, TONERSAVE_SUPPORTED, 2, 2, 0},
        {{2, 0, 0, 2, 0}, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE, 2, 2, 0},
        {{2, 0, 0, 2, 2}, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE, 2, 2, 0},
    };
    for (const Case& tc : cases) {
        const DRVDEVMODE dm = rendertest::MakeSettings(tc.settings);
        tagRENDERCONTEXT context{};
        context.dwLangFlags = tc.langFlags;
        BYTE key[16];
        std::memset(key, 0xCC, sizeof(key));
        BuildColorKey(key, &dm, &context);
        Key expected{};
        expected[1] = tc.mode;
        expected[6] = tc.resolution;
        expected[10] = tc.toner;
        EXPECT_EQ(std::memcmp(key, expected.data(), 16), 0)
            << "color " << tc.settings.color << " gray " << tc.settings.grayRepro << " profile " << tc.settings.profile
            << " quality " << tc.settings.quality << " toner " << tc.settings.tonerSave;
    }
}

}  // namespace
