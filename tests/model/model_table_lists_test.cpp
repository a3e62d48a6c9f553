// The small table lists, on sections built by hand from their file layout: which words each view
// answers where, item selection, the size rules and empty lists.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

uint16_t U16(const Bytes& b, size_t off)
{
    return static_cast<uint16_t>(I16(b, off));
}

// count, then n records of the given words.
Bytes CountedRecords(const std::vector<std::vector<uint32_t>>& records)
{
    Bytes b;
    Put32(b, static_cast<uint32_t>(records.size()));
    for (const auto& r : records) {
        for (uint32_t w : r) {
            Put32(b, w);
        }
    }
    return b;
}

TEST(SpcTableLists, PunchAndStapleListsPlaceTheirWordsByTheTable)
{
    // 32: {id; 1; 2; 3 flags; 4}, 33: {id; 1; 2 flags; 3}.
    Bytes s32 = CountedRecords({{7, 0x10011, 0x22, 0x80000001, 0x44}, {8, 1, 2, 3, 4}});
    Bytes s33 = CountedRecords({{5, 0x51, 0x80000002, 0x53}});
    SpcDataPtr data = Load(HandModel().Section(32, s32).Section(33, s33).Build());

    Answer a = Ask(data.get(), 32, 0, 1);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(a.dwCount, 2u);
    ASSERT_EQ(a.bytes.size(), 32u);
    EXPECT_EQ(U16(a.bytes, 0), 7);
    EXPECT_EQ(U16(a.bytes, 2), 0x0011);  // low 16 bits of word 1
    EXPECT_EQ(U16(a.bytes, 4), 0x22);
    EXPECT_EQ(U16(a.bytes, 6), 0x44);  // word 4 before the flags
    EXPECT_EQ(U32(a.bytes, 8), 0x80000001u);
    EXPECT_EQ(U32(a.bytes, 12), 0u);
    EXPECT_EQ(U16(a.bytes, 16), 8);

    Answer b = Ask(data.get(), 33, 5, 1);
    ASSERT_EQ(b.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(b.bytes.size(), 16u);
    EXPECT_EQ(U16(b.bytes, 0), 5);
    EXPECT_EQ(U16(b.bytes, 2), 0x51);
    EXPECT_EQ(U16(b.bytes, 4), 0x53);  // word 3
    EXPECT_EQ(U16(b.bytes, 6), 0);
    EXPECT_EQ(U32(b.bytes, 8), 0x80000002u);  // word 2, the flags
    EXPECT_EQ(Ask(data.get(), 33, 6, 1).dwResult, ERROR_NOT_FOUND);
    EXPECT_EQ(Ask(data.get(), 33, 0, 2).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcTableLists, AmountListsAnswerTheirHeaderAlsoWhenEmpty)
{
    // 35: base word, count, records {id; 1; flags; amount}.
    Bytes s35;
    PutWords(s35, {0xFFFE, 2, 1, 11, 0x4, 100, 2, 12, 0x8, 200});
    // 36: five words, count 0 and no records.
    Bytes s36;
    PutWords(s36, {10, 20, 30, 40, 50, 0});
    SpcDataPtr data = Load(HandModel().Section(35, s35).Section(36, s36).Build());

    Answer base = Ask(data.get(), 35, 0, 1);
    ASSERT_EQ(base.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(static_cast<int32_t>(U32(base.bytes, 0)), -2);  // 0xFFFE sign-extended

    Answer amounts = Ask(data.get(), 35, 2, 2);
    ASSERT_EQ(amounts.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(amounts.bytes, 0), 2);
    EXPECT_EQ(U16(amounts.bytes, 2), 12);
    EXPECT_EQ(U32(amounts.bytes, 4), 200u);  // word 3, the amount
    EXPECT_EQ(U32(amounts.bytes, 8), 0x8u);  // word 2, the flags

    Answer head = Ask(data.get(), 36, 0, 1);
    ASSERT_EQ(head.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(head.bytes.size(), 24u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(U32(head.bytes, 4 * i), 10u * (i + 1));
    }
    // An empty 36 answers its header but not its records.
    EXPECT_EQ(Ask(data.get(), 36, 0, 2).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcTableLists, List36RecordsKeepAmountBeforeFlags)
{
    Bytes s36;
    PutWords(s36, {1, 2, 3, 4, 5, 1, 9, 0x19, 300, 0x40});
    SpcDataPtr data = Load(HandModel().Section(36, s36).Build());
    Answer a = Ask(data.get(), 36, 0, 2);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(a.bytes, 0), 9);
    EXPECT_EQ(U16(a.bytes, 2), 0x19);
    EXPECT_EQ(U32(a.bytes, 4), 300u);
    EXPECT_EQ(U32(a.bytes, 8), 0x40u);
}

// 39: flags, word 1, count, 168-byte records {text A[64]; u32; u32; text B[32]; text C[64]},
// one word behind them.
Bytes Screen39()
{
    Bytes s;
    PutWords(s, {0x81, 0x1234, 2});
    const char* names[2][3] = {{"alpha", "BETA", "gamma"}, {"delta", "EPS", "zeta"}};
    for (int i = 0; i < 2; ++i) {
        PutText(s, names[i][0], 64);
        PutWords(s, {static_cast<uint32_t>(100 + i), static_cast<uint32_t>(200 + i)});
        PutText(s, names[i][1], 32);
        PutText(s, names[i][2], 64);
    }
    Put32(s, 0xCAFE);
    return s;
}

TEST(SpcTableLists, List39SelectsByPositionAndReadsTheWordBehindTheRecords)
{
    SpcDataPtr data = Load(HandModel().Section(39, Screen39()).Build());
    Answer info = Ask(data.get(), 39, 0, 1);
    ASSERT_EQ(info.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U32(info.bytes, 0), 0x81u);
    EXPECT_EQ(U16(info.bytes, 4), 0x1234);
    EXPECT_EQ(I16(info.bytes, 6), 2);

    Answer tail = Ask(data.get(), 39, 0, 3);
    ASSERT_EQ(tail.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U32(tail.bytes, 8), 0xCAFEu);

    struct Case {
        LONG view;
        SHORT item;
        const char* text;
        const char* textB;
        uint32_t word16;
    };
    const Case cases[] = {
        {2, 2, "delta", "EPS", 101},  // the second record, whatever its content
        {4, 1, "gamma", "BETA", 100},
        {4, 2, "zeta", "EPS", 101},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), 39, c.item, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.view;
        ASSERT_EQ(a.bytes.size(), 104u);
        EXPECT_EQ(Text(a.bytes, 0, 64), c.text);
        EXPECT_EQ(Text(a.bytes, 64, 32), c.textB);
        EXPECT_EQ(U32(a.bytes, 96), c.word16);
        EXPECT_EQ(U32(a.bytes, 100), c.word16 + 100);
    }
    EXPECT_EQ(Ask(data.get(), 39, 3, 2).dwResult, ERROR_NOT_FOUND);
}

TEST(SpcTableLists, ByteTableCopiesAtMostTheProductOfItsSizes)
{
    // 43: {id; a; b; word 3; a x b bytes padded to a word}.
    struct Case {
        uint32_t a;
        uint32_t b;
        size_t copied;
    };
    const Case cases[] = {{3, 2, 6}, {0, 5, 0}, {1, 7, 7}};
    for (const Case& c : cases) {
        Bytes s;
        PutWords(s, {2});
        size_t cb = static_cast<size_t>(c.a) * c.b;
        for (int rec = 0; rec < 2; ++rec) {
            PutWords(s, {static_cast<uint32_t>(10 + rec), c.a, c.b, 0x33});
            for (size_t i = 0; i < cb; ++i) {
                s.push_back(static_cast<uint8_t>(0x80 + i));
            }
            while (s.size() % 4 != 0) {
                s.push_back(0xEE);  // padding, never part of an answer
            }
        }
        SpcDataPtr data = Load(HandModel().Section(43, s).Build());
        Answer a = Ask(data.get(), 43, 11, 2);  // the second record: the step over the first is right
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.a << "x" << c.b;
        ASSERT_EQ(a.bytes.size(), 4104u);
        EXPECT_EQ(U16(a.bytes, 0), 11);
        EXPECT_EQ(U16(a.bytes, 2), 0x33);
        EXPECT_EQ(U16(a.bytes, 4), c.a);
        EXPECT_EQ(U16(a.bytes, 6), c.b);
        for (size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(a.bytes[8 + i], i < c.copied ? 0x80 + i : 0) << i;
        }
        Answer ids = Ask(data.get(), 43, 0, 1);
        ASSERT_EQ(ids.dwCount, 2u);
        EXPECT_EQ(U16(ids.bytes, 4), 11);
        EXPECT_EQ(U16(ids.bytes, 6), 0x33);
    }
}

TEST(SpcTableLists, ByteTableWithANegativeProductCopiesTheWholeAnswerField)
{
    // a = 0xFFFF is -1 as a 16-bit value: the product -2 counts as more than 4096 bytes.
    Bytes s;
    PutWords(s, {1, 4, 0xFFFF, 2, 0});
    for (size_t i = 0; i < 0xFFFFu * 2; ++i) {
        s.push_back(static_cast<uint8_t>(i * 7));
    }
    s.resize((s.size() + 3) & ~size_t(3), 0);
    SpcDataPtr data = Load(HandModel().Section(43, s).Build());
    Answer a = Ask(data.get(), 43, 0, 2);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(a.bytes, 4), 0xFFFF);
    EXPECT_EQ(a.bytes[8 + 4095], static_cast<uint8_t>(4095 * 7));

    // The sizes announce more bytes than the file holds.
    Bytes cut;
    PutWords(cut, {1, 4, 0xFFFF, 1, 0});
    SpcDataPtr damaged = Load(HandModel().Section(43, cut).Build());
    EXPECT_EQ(Ask(damaged.get(), 43, 0, 2).dwResult, ERROR_INVALID_DATA);
}

// 46: word 0, count, 16-byte level records {id; level; 2 words}, kind T, texts A and B.
Bytes TonerSave46(uint32_t count)
{
    Bytes s;
    PutWords(s, {0x5, count});
    for (uint32_t i = 0; i < count; ++i) {
        PutWords(s, {i + 1, 30 + i, 0, 0});
    }
    Put32(s, 2);
    PutText(s, "ECONOMODE=OFF", 32);
    PutText(s, "ECONOMODE=ON", 32);
    return s;
}

TEST(SpcTableLists, TonerSaveViewsAgreeOnSixteenByteRecords)
{
    SpcDataPtr data = Load(HandModel().Section(46, TonerSave46(3)).Build());
    Answer kinds = Ask(data.get(), 46, 0, 3);
    ASSERT_EQ(kinds.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(kinds.bytes.size(), 76u);
    EXPECT_EQ(U32(kinds.bytes, 0), 5u);
    EXPECT_EQ(U32(kinds.bytes, 4), 3u);
    EXPECT_EQ(U32(kinds.bytes, 8), 2u);
    EXPECT_EQ(Text(kinds.bytes, 12, 32), "ECONOMODE=OFF");
    EXPECT_EQ(Text(kinds.bytes, 44, 32), "ECONOMODE=ON");

    Answer ids = Ask(data.get(), 46, 0, 2);
    ASSERT_EQ(ids.dwCount, 3u);
    EXPECT_EQ(U16(ids.bytes, 4), 3);

    Answer level = Ask(data.get(), 46, 2, 4);
    ASSERT_EQ(level.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(level.bytes, 0), 2);
    EXPECT_EQ(U16(level.bytes, 2), 31);

    // An empty list still answers its header views; the kind then stands right behind it.
    SpcDataPtr empty = Load(HandModel().Section(46, TonerSave46(0)).Build());
    EXPECT_EQ(U32(Ask(empty.get(), 46, 0, 1).bytes, 0), 5u);
    Answer emptyKinds = Ask(empty.get(), 46, 0, 3);
    EXPECT_EQ(U32(emptyKinds.bytes, 8), 2u);
    Answer noIds = Ask(empty.get(), 46, 0, 2);
    EXPECT_EQ(noIds.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(noIds.dwCount, 0u);
}

TEST(SpcTableLists, List47ViewsTakeTheirWords)
{
    // 47: count, section words 1 and 2, records {id; 1; 2 value; 3; 4}.
    Bytes s;
    PutWords(s, {2, 7, 9, 1, 11, 21, 0x31, 41, 2, 12, 22, 0x32, 42});
    SpcDataPtr data = Load(HandModel().Section(47, s).Build());
    struct Case {
        LONG view;
        SHORT item;
        size_t size;
        std::vector<std::pair<size_t, uint32_t>> u16s;
        std::vector<std::pair<size_t, uint32_t>> u32s;
    };
    const Case cases[] = {
        {1, 0, 2, {{0, 7}}, {}},
        {2, 0, 4, {{0, 21}, {2, 22}}, {}},  // word 2 of each record, not its id
        {3, 2, 8, {{0, 2}, {2, 12}, {4, 22}, {6, 0}}, {}},
        {4, 2, 8, {{0, 2}, {2, 0}}, {{4, 0x32}}},
        {5, 1, 8, {{0, 1}, {2, 11}, {4, 21}, {6, 41}}, {}},
        {6, 0, 4, {{0, 7}, {2, 9}}, {}},  // section words 1 and 2
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), 47, c.item, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.view;
        ASSERT_EQ(a.bytes.size(), c.size) << c.view;
        for (auto [off, v] : c.u16s) {
            EXPECT_EQ(U16(a.bytes, off), v) << "view " << c.view << " at " << off;
        }
        for (auto [off, v] : c.u32s) {
            EXPECT_EQ(U32(a.bytes, off), v) << "view " << c.view << " at " << off;
        }
    }
    EXPECT_EQ(Ask(data.get(), 47, 0, 7).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcTableLists, NamedRecordListsCopyTheirTexts)
{
    // 51: words 0-1, count, {word 0; text[16]}; 53: words 0-1, count, {id; 1; 2; 3; text[32]}.
    Bytes s51;
    PutWords(s51, {0x11, 0x22, 2, 0xA});
    PutText(s51, "SIXTEEN_CHARS_XX", 16);
    Put32(s51, 0xB);
    PutText(s51, "second", 16);
    Bytes s53;
    PutWords(s53, {0x3, 0x10002, 1, 4, 5, 6, 7});
    PutText(s53, "Smoothing", 32);
    SpcDataPtr data = Load(HandModel().Section(51, s51).Section(53, s53).Build());

    Answer two = Ask(data.get(), 51, 0, 2);
    EXPECT_EQ(U32(two.bytes, 0), 0x11u);
    EXPECT_EQ(U32(two.bytes, 4), 0x22u);
    Answer first = Ask(data.get(), 51, 1, 3);
    ASSERT_EQ(first.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U32(first.bytes, 0), 0xAu);
    EXPECT_EQ(Text(first.bytes, 8, 16), "SIXTEEN_CHARS_XX");  // fills its field, no terminator
    EXPECT_EQ(Text(Ask(data.get(), 51, 2, 3).bytes, 8, 16), "second");

    Answer info = Ask(data.get(), 53, 0, 1);
    EXPECT_EQ(U32(info.bytes, 0), 0x3u);
    EXPECT_EQ(U16(info.bytes, 4), 0x2);
    Answer rec = Ask(data.get(), 53, 4, 2);
    ASSERT_EQ(rec.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(rec.bytes, 2), 5);
    EXPECT_EQ(U16(rec.bytes, 6), 7);
    EXPECT_EQ(Text(rec.bytes, 8, 32), "Smoothing");
}

TEST(SpcTableLists, ColourDefaultsNarrowTheHeaderWordsByTheTable)
{
    // 55: 31 section words (word k = 0x10000 + k), count, records {id; 1; 2; 3}.
    Bytes s;
    for (uint32_t k = 0; k < 31; ++k) {
        Put32(s, 0x10000 + k);
    }
    PutWords(s, {1, 4, 5, 6, 7});
    SpcDataPtr data = Load(HandModel().Section(55, s).Build());
    Answer a = Ask(data.get(), 55, 0, 1);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(a.bytes.size(), 80u);
    // (answer offset, word, whole word?)
    struct Field {
        size_t off;
        uint32_t word;
        bool b32;
    };
    std::vector<Field> fields = {{0, 0, true}, {4, 1, false}, {8, 2, true}, {12, 3, false}, {16, 4, true},
                                 {40, 15, true}, {64, 26, true}, {68, 27, false}, {72, 28, true}, {76, 29, false},
                                 {78, 30, false}};
    for (uint32_t k = 5; k <= 14; ++k) {
        fields.push_back({20 + 2 * (k - 5), k, false});
    }
    for (uint32_t k = 16; k <= 25; ++k) {
        fields.push_back({44 + 2 * (k - 16), k, false});
    }
    for (const Field& f : fields) {
        if (f.b32) {
            EXPECT_EQ(U32(a.bytes, f.off), 0x10000 + f.word) << f.off;
        } else {
            EXPECT_EQ(U16(a.bytes, f.off), f.word) << f.off;
        }
    }
    EXPECT_EQ(U16(a.bytes, 6), 0);  // gaps stay zero
    Answer r = Ask(data.get(), 55, 4, 2);
    EXPECT_EQ(U16(r.bytes, 2), 5);
    EXPECT_EQ(U32(r.bytes, 4), 6u);
    EXPECT_EQ(U32(r.bytes, 8), 7u);
}

TEST(SpcTableLists, RawAndPairListsAnswerTheirRecords)
{
    // 69: {id; 1; 256 bytes}, 70: {id; 1}, 76: {0; 1}.
    Bytes s69;
    PutWords(s69, {1, 3, 0x44});
    for (int i = 0; i < 256; ++i) {
        s69.push_back(static_cast<uint8_t>(i));  // zeros inside are kept: the bytes as stored
    }
    Bytes s70 = CountedRecords({{2, 0x10020}});
    Bytes s76 = CountedRecords({{6, 0x60}, {7, 0x70}});
    SpcDataPtr data = Load(HandModel().Section(69, s69).Section(70, s70).Section(76, s76).Build());
    Answer a69 = Ask(data.get(), 69, 3, 1);
    ASSERT_EQ(a69.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U16(a69.bytes, 2), 0x44);
    EXPECT_EQ(a69.bytes[8], 0);
    EXPECT_EQ(a69.bytes[8 + 255], 255);
    Answer a70 = Ask(data.get(), 70, 0, 1);
    EXPECT_EQ(U16(a70.bytes, 2), 0x20);
    EXPECT_EQ(U32(a70.bytes, 4), 0u);
    Answer a76 = Ask(data.get(), 76, 0, 1);
    ASSERT_EQ(a76.dwCount, 2u);
    EXPECT_EQ(U32(a76.bytes, 12), 0x70u);
}

TEST(SpcTableLists, IdListsNeedRoomForTheWholeListEvenForOneItem)
{
    Bytes s = CountedRecords({{4}, {5}, {6}});
    SpcDataPtr data = Load(HandModel().Section(80, s).Section(94, CountedRecords({{9}})).Build());
    DWORD cb = 2, count = 7;
    uint8_t buffer[8] = {};
    EXPECT_EQ(SpcQuery(data.get(), 80, 5, 1, buffer, &cb, &count), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cb, 6u);
    EXPECT_EQ(count, 0u);
    Answer one = Ask(data.get(), 80, 5, 1);
    ASSERT_EQ(one.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(one.dwCount, 1u);
    EXPECT_EQ(U16(one.bytes, 0), 5);
    EXPECT_EQ(U16(Ask(data.get(), 94, 0, 1).bytes, 0), 9);
}

TEST(SpcTableLists, EmptyListsRefuseEveryViewExceptTheirHeaderLists)
{
    struct Case {
        int cap;
        Bytes section;
        LONG view;
        DWORD expected;
    };
    Bytes zero;
    PutWords(zero, {0});
    Bytes negative;
    PutWords(negative, {0xFFFFFFFF});
    Bytes empty35;
    PutWords(empty35, {3, 0});
    const Case cases[] = {
        {32, zero, 1, ERROR_NOT_SUPPORTED},    {33, negative, 1, ERROR_NOT_SUPPORTED},
        {80, zero, 1, ERROR_NOT_SUPPORTED},    {95, zero, 1, ERROR_NOT_SUPPORTED},
        {35, empty35, 1, ERROR_SUCCESS},       {35, empty35, 2, ERROR_NOT_SUPPORTED},
        {99, zero, 1, ERROR_NOT_SUPPORTED},
    };
    for (const Case& c : cases) {
        SpcDataPtr data = Load(HandModel().Section(c.cap, c.section).Build());
        EXPECT_EQ(Ask(data.get(), static_cast<SHORT>(c.cap), 0, c.view).dwResult, c.expected) << c.cap;
    }
}

TEST(SpcTableLists, Capability99IsUnsupportedWhateverItHolds)
{
    Bytes s = CountedRecords({{1}, {2}});
    SpcDataPtr data = Load(HandModel().Section(99, s).Build());
    for (LONG view = 0; view <= 3; ++view) {
        DWORD cb = 64, count = 5;
        uint8_t buffer[64] = {};
        EXPECT_EQ(SpcQuery(data.get(), 99, 0, view, buffer, &cb, &count), ERROR_NOT_SUPPORTED) << view;
    }
}

TEST(SpcTableLists, RecordsPastTheSectionEndAreInvalidData)
{
    // The count promises three 4-word records; the file holds one.
    Bytes s = CountedRecords({{1, 2, 3, 4}});
    s[0] = 3;
    SpcDataPtr data = Load(HandModel().Section(33, s).Build());
    EXPECT_EQ(Ask(data.get(), 33, 0, 1).dwResult, ERROR_INVALID_DATA);
}

}  // namespace

namespace {

TEST(SpcListDamage, CountsRunningPastTheSectionReadOnAndPastTheFileAreInvalidData)
{
    // Each list of this compiled file announces more records (or a longer text) than it holds. The
    // format stores no section lengths, so a list reads on into the sections behind it: whatever
    // those bytes make of it is answered safely, and a list that runs past the file's end is damage.
    SpcDataPtr data = LoadFixture("lists-counts-past-section");
    ASSERT_TRUE(data);
    const int caps[] = {27, 32, 34, 37, 39, 42, 43, 46, 65, 80, 95};
    for (int cap : caps) {
        for (LONG view = 1; view <= 15; ++view) {
            DWORD dwResult = Ask(data.get(), static_cast<SHORT>(cap), 0, view).dwResult;
            EXPECT_TRUE(dwResult == ERROR_SUCCESS || dwResult == ERROR_INVALID_DATA ||
                        dwResult == ERROR_NOT_SUPPORTED || dwResult == ERROR_NOT_FOUND)
                << "capability " << cap << " view " << view << ": " << dwResult;
        }
    }
    // A thousand 20-byte records, 2^31 - 1 words, and the file's last section: past the end.
    for (int cap : {32, 80, 95}) {
        EXPECT_EQ(Ask(data.get(), static_cast<SHORT>(cap), 0, 1).dwResult, ERROR_INVALID_DATA) << cap;
    }
    // List 2 of 71 reads on into the next section; list 1 and the flags answer as they are.
    EXPECT_EQ(Ask(data.get(), 71, 0, 1).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), 71, 0, 2).dwResult, ERROR_SUCCESS);
}

}  // namespace

namespace {

TEST(SpcListDamage, ReadsPastTheSectionTakeTheNextSectionsBytesAndPastTheFileAreInvalidData)
{
    // Each section lacks the words behind its records. With the next section right behind, the
    // reader takes that section's bytes (the format stores no section lengths); alone at the
    // file's end, the same section is damage.
    Bytes next;
    PutWords(next, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22});
    struct Case {
        int cap;
        Bytes section;
        LONG view;
    };
    Bytes s46;
    PutWords(s46, {1, 1, 5, 30, 0, 0});  // no kind and no texts behind the record
    Bytes s39;
    PutWords(s39, {1, 0, 1});
    PutText(s39, "", 168);  // no word behind the record
    Bytes s71;
    PutWords(s71, {1, 0, 1, 1, 1, 0, 0, 0});  // list 1 without pairs; list 2's record is missing
    const Case cases[] = {{46, s46, 3}, {39, s39, 3}, {71, s71, 4}};
    for (const Case& c : cases) {
        SpcDataPtr shared = Load(HandModel().Section(c.cap, c.section).Section(c.cap + 1, next).Build());
        EXPECT_EQ(Ask(shared.get(), static_cast<SHORT>(c.cap), 0, c.view).dwResult, ERROR_SUCCESS) << c.cap;
        SpcDataPtr alone = Load(HandModel().Section(c.cap, c.section).Build());
        EXPECT_EQ(Ask(alone.get(), static_cast<SHORT>(c.cap), 0, c.view).dwResult, ERROR_INVALID_DATA) << c.cap;
        EXPECT_EQ(Ask(alone.get(), static_cast<SHORT>(c.cap), 0, 1).dwResult, ERROR_SUCCESS) << c.cap;
    }
}

}  // namespace
