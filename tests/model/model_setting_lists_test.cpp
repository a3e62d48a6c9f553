// Resolutions (41, 42), PJL items (65), feature lists (71) and dependency pairs (95), on
// sections built by hand from their file layout.
#include "ModelTestSupport.h"

#include "core/model/SpcFrame.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

uint16_t U16(const Bytes& b, size_t off)
{
    return static_cast<uint16_t>(I16(b, off));
}

// 41: count, word 1, default mode (word 2), records {mode; number 1; number 2}.
Bytes Dpi41(uint32_t defaultMode)
{
    Bytes s;
    PutWords(s, {3, 0x77, defaultMode, 1, 300, 300, 2, 600, 600, 3, 1200, 600});
    return s;
}

// 42: count, default mode, then per entry words 0-15 and three counted lists.
void PutResolution(Bytes& s, uint32_t mode, uint32_t w7, uint32_t w8, std::vector<uint32_t> list1 = {},
                   std::vector<uint32_t> list2 = {}, std::vector<uint32_t> list3 = {})
{
    // word k = mode * 0x100 + k, except the override pair 7 and 8.
    for (uint32_t k = 0; k < 16; ++k) {
        uint32_t w = k == 0 ? mode : k == 7 ? w7 : k == 8 ? w8 : mode * 0x100 + k;
        Put32(s, w);
    }
    for (const auto* list : {&list1, &list2, &list3}) {
        Put32(s, static_cast<uint32_t>(list->size()));
        for (uint32_t v : *list) {
            Put32(s, v);
        }
    }
}

TEST(SpcResolution, EntryNumbersComeFromTheModeListUnlessBothOverridesAreSet)
{
    Bytes s42;
    PutWords(s42, {4, 3});
    PutResolution(s42, 1, 0, 0);
    PutResolution(s42, 2, 700, 0);      // one override alone is not enough
    PutResolution(s42, 3, 0, 0);
    PutResolution(s42, 4, 2400, 1200);  // both set: they replace the list's numbers
    SpcDataPtr data = Load(HandModel().Section(41, Dpi41(2)).Section(42, s42).Build());

    struct Case {
        SHORT item;
        uint32_t number1;
        uint32_t number2;
    };
    const Case cases[] = {{3, 1200, 600}, {2, 600, 600}, {1, 300, 300}, {4, 2400, 1200}};
    for (const Case& c : cases) {
        DWORD cb = 32, count = 0;
        uint8_t buffer[32] = {};
        ASSERT_EQ(SpcQuery(data.get(), 42, c.item, 1, buffer, &cb, &count), ERROR_SUCCESS) << c.item;
        EXPECT_EQ(count, 1u);
        Bytes a(buffer, buffer + 32);
        EXPECT_EQ(I16(a, 0), c.item);
        EXPECT_EQ(I16(a, 2), static_cast<int16_t>(c.item * 0x100 + 1));
        EXPECT_EQ(U32(a, 4), c.number1) << c.item;
        EXPECT_EQ(U32(a, 8), c.number2) << c.item;
        EXPECT_EQ(U32(a, 12), c.item * 0x100u + 3);  // flags
        EXPECT_EQ(U32(a, 16), c.item * 0x100u + 4);
        EXPECT_EQ(I16(a, 20), static_cast<int16_t>(c.item * 0x100 + 5));
        EXPECT_EQ(U32(a, 24), c.item * 0x100u + 2);
        EXPECT_EQ(U32(a, 28), c.item * 0x100u + 6);
    }
}

TEST(SpcResolution, EntryWithoutAModeListKeepsZeroNumbersUnlessOverridden)
{
    Bytes s42;
    PutWords(s42, {2, 1});
    PutResolution(s42, 1, 0, 0);
    PutResolution(s42, 2, 600, 1200);
    SpcDataPtr data = Load(HandModel().Section(42, s42).Build());
    Answer a = Ask(data.get(), 42, 0, 1);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(a.dwCount, 2u);
    EXPECT_EQ(U32(a.bytes, 4), 0u);
    EXPECT_EQ(U32(a.bytes, 8), 0u);
    EXPECT_EQ(U32(a.bytes, 32 + 4), 600u);
    EXPECT_EQ(U32(a.bytes, 32 + 8), 1200u);
    EXPECT_EQ(U16(Ask(data.get(), 42, 0, 2).bytes, 0), 1);  // the default mode
}

TEST(SpcResolution, DefaultModeAnswersItsNumbersWhateverTheItem)
{
    struct Case {
        uint32_t defaultMode;
        uint32_t number1;
        uint32_t number2;
    };
    const Case cases[] = {{3, 1200, 600}, {9, 0, 0}};  // mode 9 has no record: zeros, still success
    for (const Case& c : cases) {
        SpcDataPtr data = Load(HandModel().Section(41, Dpi41(c.defaultMode)).Build());
        for (SHORT item : {SHORT(0), SHORT(1)}) {
            Answer a = Ask(data.get(), 41, item, 1);
            ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
            EXPECT_EQ(a.dwCount, 1u);
            EXPECT_EQ(U16(a.bytes, 0), c.defaultMode);
            EXPECT_EQ(U32(a.bytes, 4), 0x77u);
            EXPECT_EQ(U32(a.bytes, 8), c.number1);
            EXPECT_EQ(U32(a.bytes, 12), c.number2);
        }
    }
    SpcDataPtr data = Load(HandModel().Section(41, Dpi41(1)).Build());
    Answer all = Ask(data.get(), 41, 0, 2);
    ASSERT_EQ(all.dwCount, 3u);
    EXPECT_EQ(U16(all.bytes, 32), 3);
    EXPECT_EQ(U32(all.bytes, 36), 1200u);
    EXPECT_EQ(U32(all.bytes, 40), 600u);
}

TEST(SpcResolution, ShortViewsAndCountedListsOfAnEntry)
{
    Bytes s42;
    PutWords(s42, {2, 1});
    std::vector<uint32_t> long1;
    for (uint32_t i = 0; i < 70; ++i) {
        long1.push_back(0x10000 + i);  // 70 words, cut to 16 bits, 64 answered
    }
    PutResolution(s42, 1, 0, 0, long1, {5, 6}, {7});
    PutResolution(s42, 2, 0, 0, {}, {}, {9, 8});
    SpcDataPtr data = Load(HandModel().Section(42, s42).Build());

    Answer lists = Ask(data.get(), 42, 0, 6);
    ASSERT_EQ(lists.dwCount, 2u);  // the second entry is found behind all 70 words
    EXPECT_EQ(I16(lists.bytes, 2), 64);
    EXPECT_EQ(I16(lists.bytes, 4), 2);
    EXPECT_EQ(I16(lists.bytes, 6), 1);
    EXPECT_EQ(U16(lists.bytes, 8), 0);
    EXPECT_EQ(U16(lists.bytes, 8 + 2 * 63), 63);
    EXPECT_EQ(U16(lists.bytes, 136), 5);
    EXPECT_EQ(U16(lists.bytes, 200), 7);
    EXPECT_EQ(U16(lists.bytes, 240), 2);
    EXPECT_EQ(I16(lists.bytes, 240 + 6), 2);
    EXPECT_EQ(U16(lists.bytes, 240 + 200), 9);

    struct Case {
        LONG view;
        size_t size;
        size_t at;
        uint16_t value;
    };
    const Case cases[] = {{3, 4, 2, 0x209}, {4, 4, 2, 0x20A}, {5, 8, 2, 0x20B}, {5, 8, 4, 0x20C}};
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), 42, 2, c.view);
        ASSERT_EQ(a.bytes.size(), c.size);
        EXPECT_EQ(U16(a.bytes, 0), 2);
        EXPECT_EQ(U16(a.bytes, c.at), c.value) << c.view;
    }
}

// 65: flags, word 1, count, items {id; copy flags; maximum length; word 3; n; n texts}.
void PutPjlItem(Bytes& s, uint32_t id, std::vector<std::pair<uint32_t, std::string>> texts)
{
    PutWords(s, {id, 0x21, 80, 0x99, static_cast<uint32_t>(texts.size())});
    for (const auto& [key, text] : texts) {
        Put32(s, key);
        Put32(s, static_cast<uint32_t>(text.size()));  // the length word, no terminator stored
        PutText(s, text, text.size());
    }
}

TEST(SpcPjlItems, TextsOfEveryItemComeBackCutAt56Bytes)
{
    std::string longText(70, 'x');
    Bytes s;
    PutWords(s, {0x40000000, 0x5, 3});
    PutPjlItem(s, 12, {{0, "JOB NAME=\"%s\""}, {1, longText}});
    PutPjlItem(s, 550, {});
    PutPjlItem(s, 1000, {{0, "SET A=1"}, {7, ""}, {2, "SET B=2"}});
    SpcDataPtr data = Load(HandModel().Section(65, s).Build());

    EXPECT_EQ(U32(Ask(data.get(), 65, 0, 1).bytes, 0), 0x40000000u);
    Answer two = Ask(data.get(), 65, 0, 2);
    EXPECT_EQ(U32(two.bytes, 4), 0x5u);

    Answer items = Ask(data.get(), 65, 0, 3);
    ASSERT_EQ(items.dwCount, 3u);
    EXPECT_EQ(U32(items.bytes, 16), 550u);
    EXPECT_EQ(U32(items.bytes, 4), 0x21u);
    EXPECT_EQ(U32(items.bytes, 8), 80u);
    EXPECT_EQ(U32(items.bytes, 12), 0x99u);

    struct Expected {
        uint32_t item;
        uint32_t key;
        std::string text;
    };
    const Expected all[] = {{12, 0, "JOB NAME=\"%s\""},
                            {12, 1, std::string(56, 'x')},  // fills its field without a terminator
                            {1000, 0, "SET A=1"},
                            {1000, 7, ""},
                            {1000, 2, "SET B=2"}};
    Answer formats = Ask(data.get(), 65, 0, 4);
    ASSERT_EQ(formats.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(formats.dwCount, 5u);  // item 550 with no texts contributes nothing
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(U32(formats.bytes, 64 * i), all[i].item) << i;
        EXPECT_EQ(U32(formats.bytes, 64 * i + 4), all[i].key) << i;
        EXPECT_EQ(Text(formats.bytes, 64 * i + 8, 56), all[i].text) << i;
    }

    Answer one = Ask(data.get(), 65, 1000, 4);
    ASSERT_EQ(one.dwCount, 3u);
    EXPECT_EQ(Text(one.bytes, 64 * 2 + 8, 56), "SET B=2");
    // An item without texts: the size call succeeds with 0, a given buffer finds nothing.
    DWORD cb = 0;
    EXPECT_EQ(SpcQuery(data.get(), 65, 550, 4, nullptr, &cb, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(cb, 0u);
    uint8_t buffer[64];
    cb = sizeof buffer;
    EXPECT_EQ(SpcQuery(data.get(), 65, 550, 4, buffer, &cb, nullptr), ERROR_NOT_FOUND);
    cb = 64;
    EXPECT_EQ(SpcQuery(data.get(), 65, 12, 4, buffer, &cb, nullptr), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cb, 128u);
}

// 71: flags, word 1, list counts, list 1 records, list 2 records {id; 1; 2; n; n pairs}.
void PutFeature(Bytes& s, uint32_t id, std::vector<std::pair<uint32_t, uint32_t>> pairs)
{
    PutWords(s, {id, id + 100, id + 200, static_cast<uint32_t>(pairs.size())});
    for (auto [k, v] : pairs) {
        PutWords(s, {k, v});
    }
}

TEST(SpcFeatureLists, PairViewsSelectByPairKeyAndListViewsByRecord)
{
    Bytes s;
    PutWords(s, {0x9, 0x8, 2, 1});
    PutFeature(s, 1, {{10, 0xA0}, {11, 0xB0}});
    std::vector<std::pair<uint32_t, uint32_t>> many;
    for (uint32_t i = 0; i < 70; ++i) {
        many.push_back({100 + i, i});
    }
    PutFeature(s, 2, many);
    PutFeature(s, 3, {{11, 0xC0}, {12, 0xD0}, {13, 0xE0}, {14, 0}, {15, 0}, {16, 0}, {17, 0}, {18, 0}, {19, 0}});
    SpcDataPtr data = Load(HandModel().Section(71, s).Build());

    Answer flags = Ask(data.get(), 71, 0, 1);
    ASSERT_EQ(flags.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U32(flags.bytes, 0), 0x9u);
    EXPECT_EQ(U32(flags.bytes, 4), 0x8u);

    Answer pairs1 = Ask(data.get(), 71, 0, 2);
    ASSERT_EQ(pairs1.dwCount, 72u);  // every pair of list 1
    EXPECT_EQ(U16(pairs1.bytes, 16), 11);
    EXPECT_EQ(U32(pairs1.bytes, 20), 0xB0u);
    EXPECT_EQ(U16(pairs1.bytes, 24), 1);
    EXPECT_EQ(U16(pairs1.bytes, 26), 101);
    EXPECT_EQ(U16(pairs1.bytes, 28), 201);

    // Key 11 is in list 1 and list 2: each view answers its own list's pair.
    Answer key1 = Ask(data.get(), 71, 11, 2);
    ASSERT_EQ(key1.dwCount, 1u);
    EXPECT_EQ(U32(key1.bytes, 4), 0xB0u);
    Answer key2 = Ask(data.get(), 71, 11, 4);
    ASSERT_EQ(key2.dwCount, 1u);
    EXPECT_EQ(U32(key2.bytes, 4), 0xC0u);
    EXPECT_EQ(U16(key2.bytes, 8), 3);
    EXPECT_EQ(Ask(data.get(), 71, 1, 2).dwResult, ERROR_NOT_FOUND);  // 1 is a record id, not a key

    Answer keys = Ask(data.get(), 71, 2, 3);
    ASSERT_EQ(keys.bytes.size(), 136u);
    EXPECT_EQ(U16(keys.bytes, 0), 2);
    EXPECT_EQ(I16(keys.bytes, 6), 64);
    EXPECT_EQ(U16(keys.bytes, 8 + 2 * 63), 163);
    Answer keys2 = Ask(data.get(), 71, 3, 5);
    ASSERT_EQ(keys2.bytes.size(), 24u);
    EXPECT_EQ(I16(keys2.bytes, 6), 8);
    EXPECT_EQ(U16(keys2.bytes, 8), 11);
    EXPECT_EQ(U16(keys2.bytes, 22), 18);
    EXPECT_EQ(Ask(data.get(), 71, 0, 6).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcFeatureLists, FlagViewWorksWithEmptyListsWhileTheListViewsRefuse)
{
    Bytes s;
    PutWords(s, {0x1, 0x2, 0, 0});
    SpcDataPtr data = Load(HandModel().Section(71, s).Build());
    EXPECT_EQ(Ask(data.get(), 71, 0, 1).dwResult, ERROR_SUCCESS);
    for (LONG view = 2; view <= 5; ++view) {
        EXPECT_EQ(Ask(data.get(), 71, 0, view).dwResult, ERROR_NOT_SUPPORTED) << view;
    }
    // Only list 2 holds records: list 2 starts right behind the counts.
    Bytes s2;
    PutWords(s2, {0x1, 0x2, 0, 1});
    PutFeature(s2, 5, {{20, 21}});
    SpcDataPtr only2 = Load(HandModel().Section(71, s2).Build());
    EXPECT_EQ(Ask(only2.get(), 71, 0, 2).dwResult, ERROR_NOT_SUPPORTED);
    Answer a = Ask(only2.get(), 71, 0, 4);
    ASSERT_EQ(a.dwCount, 1u);
    EXPECT_EQ(U16(a.bytes, 0), 20);
    EXPECT_EQ(U16(a.bytes, 8), 5);
}

TEST(SpcDependPairs, PairsExpandEveryDependentOfTheSelectedKeys)
{
    // 95: count, records {key item; n; n dependent items}.
    Bytes s;
    PutWords(s, {3, 204, 2, 210, 211, 220, 0, 230, 1, 231});
    SpcDataPtr data = Load(HandModel().Section(95, s).Build());
    Answer all = Ask(data.get(), 95, 0, 1);
    ASSERT_EQ(all.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(all.dwCount, 3u);
    const uint16_t expected[][2] = {{204, 210}, {204, 211}, {230, 231}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(U16(all.bytes, 4 * i), expected[i][0]);
        EXPECT_EQ(U16(all.bytes, 4 * i + 2), expected[i][1]);
    }
    DWORD cb = 99;
    EXPECT_EQ(SpcQuery(data.get(), 95, 220, 1, nullptr, &cb, nullptr), ERROR_NOT_FOUND);
    Answer one = Ask(data.get(), 95, 230, 1);
    ASSERT_EQ(one.dwCount, 1u);
    EXPECT_EQ(U16(one.bytes, 2), 231);

    Bytes none;
    PutWords(none, {2, 204, 0, 205, 0});
    SpcDataPtr empty = Load(HandModel().Section(95, none).Build());
    cb = 99;
    EXPECT_EQ(SpcQuery(empty.get(), 95, 0, 1, nullptr, &cb, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(cb, 0u);
    EXPECT_EQ(SpcQuery(empty.get(), 95, 204, 1, nullptr, &cb, nullptr), ERROR_NOT_FOUND);
}

}  // namespace

namespace {

TEST(SpcListCompiler, CompiledListsAnswerWhatTheDescriptionSays)
{
    SpcDataPtr data = LoadFixture("lists");
    ASSERT_TRUE(data);
    struct Case {
        SHORT cap;
        SHORT item;
        LONG view;
        size_t at;
        uint32_t expected;
        bool b32;
    };
    const Case cases[] = {
        {27, 0, 3, 0, 3, false},  {27, 0, 3, 2, 4, false},    {27, 0, 3, 44, 2, true},   {27, 0, 3, 48, 1, false},
        {27, 0, 3, 50, 0xFFFF, false}, {27, 0, 3, 56, 77, false}, {27, 0, 3, 64, 5, false}, {27, 0, 3, 72, 9, false},
        {27, 0, 3, 80, 2, false}, {27, 0, 11, 8, 12, true},   {27, 0, 11, 14, 14, false}, {27, 0, 10, 28, 17, true},
        {27, 0, 5, 12, 21, true}, {27, 0, 7, 6, 9, false},    {27, 0, 7, 8, 256, true},  {27, 0, 8, 6, 11, false},
        {27, 0, 2, 4, 31, true},  {27, 0, 9, 28, 20, true},   {34, 0, 1, 0, 5, false},   {34, 0, 6, 4, 13, false},
        {34, 0, 3, 12, 30, true}, {34, 0, 4, 6, 9, false},    {37, 0, 2, 0, 34, false},  {37, 0, 2, 16, 27, false},
        {37, 0, 2, 18, 3, false}, {42, 2, 1, 4, 600, true},   {42, 2, 1, 8, 1200, true}, {42, 2, 1, 12, 3, true},
        {42, 2, 4, 2, 10, false}, {42, 2, 6, 4, 2, false},    {42, 2, 6, 136, 62, false}, {41, 0, 1, 4, 7, true},
        {43, 0, 2, 4, 3, false},  {43, 0, 2, 2, 4, false},    {46, 0, 3, 8, 2, true},    {65, 0, 2, 4, 6, true},
        {65, 0, 3, 4, 33, true},  {65, 0, 3, 12, 3, true},    {65, 0, 4, 4, 1, true},    {71, 0, 1, 4, 2, true},
        {71, 0, 2, 4, 5, true},   {71, 0, 2, 10, 3, false},   {71, 0, 4, 0, 209, false}, {95, 0, 1, 6, 3, false},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), c.cap, c.item, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.cap << " view " << c.view;
        uint32_t got = c.b32 ? U32(a.bytes, c.at) : U16(a.bytes, c.at);
        EXPECT_EQ(got, c.expected) << "capability " << c.cap << " view " << c.view << " at " << c.at;
    }
    EXPECT_EQ(Text(Ask(data.get(), 27, 0, 15).bytes, 48, 32), "B");
    EXPECT_EQ(Text(Ask(data.get(), 34, 0, 8).bytes, 8, 32), "Short");
    EXPECT_EQ(Text(Ask(data.get(), 46, 0, 3).bytes, 44, 32), "ON");
    EXPECT_EQ(Text(Ask(data.get(), 65, 0, 4).bytes, 8, 56), "JOB NAME=\"%s\"");
    EXPECT_EQ(Ask(data.get(), 43, 0, 2).bytes[10], 9);
}

}  // namespace

namespace {

TEST(SpcFeatureLists, CursorFramesListOneTwoOrNoListBySelector)
{
    Bytes s;
    PutWords(s, {0x1, 0x2, 1, 1});
    PutFeature(s, 4, {{20, 21}, {22, 23}});
    PutFeature(s, 6, {{30, 31}});
    SpcDataPtr data = Load(HandModel().Section(71, s).Build());
    struct Case {
        SHORT selector;
        bool bRecord;
        uint32_t firstId;
    };
    const Case cases[] = {{1, true, 4}, {2, true, 6}, {0, false, 0}, {3, false, 0}};
    for (const Case& c : cases) {
        tagSPCCURSOR cursor{};
        cursor.sSelector = c.selector;
        ASSERT_EQ(SpcCursorFirst(data.get(), 71, &cursor), ERROR_SUCCESS) << c.selector;
        EXPECT_EQ(cursor.sSelector, c.selector);
        ASSERT_EQ(cursor.pCurrent != nullptr, c.bRecord) << c.selector;
        if (c.bRecord) {
            EXPECT_EQ(cursor.pCurrent[0], c.firstId);
            EXPECT_EQ(SpcCursorNext(data.get(), &cursor), nullptr);  // one record in each list
        }
    }
}

}  // namespace
