// The model data frame: header checks, section lookup, the size-first protocol, strings, fixed
// records, the cursor and the counted-list readers.
#include "ModelTestSupport.h"

#include "core/model/SpcFrame.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

TEST(SpcHeader, AcceptsOnlyFormatVersions312To316AndTheMagic)
{
    struct Case {
        const char* fixture;
        DWORD expected;
    };
    const Case cases[] = {
        {"version-311", ERROR_INVALID_DATA}, {"version-312", ERROR_SUCCESS}, {"version-316", ERROR_SUCCESS},
        {"version-317", ERROR_INVALID_DATA}, {"bad-magic", ERROR_INVALID_DATA},
        // The size word claims one byte more than the file holds.
        {"size-word-past-end", ERROR_INVALID_DATA},
        // The table end lies beyond the file.
        {"table-outside", ERROR_INVALID_DATA},
    };
    for (const Case& c : cases) {
        SpcDataPtr data = LoadFixture(c.fixture);
        ASSERT_TRUE(data) << c.fixture;
        Answer a = Ask(data.get(), SPCID_RCTNAME, 0, 1);
        EXPECT_EQ(a.dwResult, c.expected) << c.fixture;
        if (c.expected != ERROR_SUCCESS) {
            // A rejected file is rejected for every capability, fixed records included.
            EXPECT_EQ(Ask(data.get(), SPCID_DUPLEX, 0, 1).dwResult, c.expected) << c.fixture;
            EXPECT_EQ(Ask(data.get(), SPCID_SECUREPRINT, 0, 1).dwResult, c.expected) << c.fixture;
        }
    }
}

TEST(SpcHeader, ImageShorterThanItsHeaderOrMissingIsInvalidData)
{
    Bytes file = HandModel().Section(4, {'A', 0}).Build();
    DWORD cb = 0;
    EXPECT_EQ(SpcQuery(nullptr, 4, 0, 1, nullptr, &cb, nullptr), ERROR_INVALID_DATA);
    for (size_t length : {size_t(1), size_t(20), size_t(55)}) {
        Bytes cut(file.begin(), file.begin() + length);
        SpcDataPtr data = Load(cut);
        EXPECT_EQ(SpcQuery(data.get(), 4, 0, 1, nullptr, &cb, nullptr), ERROR_INVALID_DATA) << length;
    }
}

TEST(SpcHeader, SectionEntryAtTheFileSizeIsInvalidJustBelowIsAccepted)
{
    SpcDataPtr at = LoadFixture("entry-at-file-size");
    EXPECT_EQ(Ask(at.get(), 5, 0, 1).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(at.get(), 6, 0, 1).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(at.get(), 4, 0, 1).dwResult, ERROR_SUCCESS);

    // The entry points at the file's last byte, the terminator of the string before it.
    SpcDataPtr below = LoadFixture("entry-below-file-size");
    Answer a = Ask(below.get(), 5, 0, 1);
    EXPECT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(a.cbSize, 1u);
}

TEST(SpcFindSection, AbsentCapabilitiesAreNotSupported)
{
    Bytes file = HandModel().Section(4, {'A', 0}).Section(102, {'B', 0}).Build();
    SpcDataPtr data = Load(file);
    const BYTE* pSection = nullptr;
    EXPECT_EQ(SpcFindSection(data.get(), 0, &pSection), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(SpcFindSection(data.get(), -4, &pSection), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(SpcFindSection(data.get(), 5, &pSection), ERROR_NOT_SUPPORTED);  // entry 0
    ASSERT_EQ(SpcFindSection(data.get(), 4, &pSection), ERROR_SUCCESS);
    EXPECT_EQ(pSection[0], 'A');
    ASSERT_EQ(SpcFindSection(data.get(), 102, &pSection), ERROR_SUCCESS);

    // A table that ends one entry earlier no longer holds id 102.
    Bytes shorter = file;
    shorter[8] = static_cast<uint8_t>((kHandTableEnd - 4) & 0xFF);
    shorter[9] = static_cast<uint8_t>((kHandTableEnd - 4) >> 8);
    SpcDataPtr data2 = Load(shorter);
    EXPECT_EQ(SpcFindSection(data2.get(), 102, &pSection), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(SpcFindSection(data2.get(), 4, &pSection), ERROR_SUCCESS);
}

TEST(SpcQueryProtocol, NoSizePointerIsInvalidParameterBeforeAnythingElse)
{
    SpcDataPtr data = LoadFixture("sample");
    DWORD dwCount = 5;
    EXPECT_EQ(SpcQuery(data.get(), 4, 0, 1, nullptr, nullptr, &dwCount), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SpcQuery(data.get(), 500, 0, 1, nullptr, nullptr, &dwCount), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SpcQuery(nullptr, -1, 0, 1, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(dwCount, 5u);
}

TEST(SpcQueryProtocol, CapabilitiesOutsideTheTableAreNotSupported)
{
    SpcDataPtr data = LoadFixture("sample");
    for (SHORT id : {SHORT(0), SHORT(-1), SHORT(103), SHORT(32767), SHORT(99), SHORT(8), SHORT(9), SHORT(97)}) {
        DWORD cb = 77;
        EXPECT_EQ(SpcQuery(data.get(), id, 0, 1, nullptr, &cb, nullptr), ERROR_NOT_SUPPORTED) << id;
    }
}

TEST(SpcQueryProtocol, CapabilityNinetyNineIsNeverSupported)
{
    SpcDataPtr data = LoadFixture("empty-lists");  // holds a section for 99
    for (LONG view : {0, 1, 2, 3}) {
        EXPECT_EQ(Ask(data.get(), 99, 0, view).dwResult, ERROR_NOT_SUPPORTED) << view;
    }
}

TEST(SpcQueryProtocol, BufferOneByteShortAnswersTheExactSizeAndWritesNothing)
{
    SpcDataPtr data = LoadFixture("sample");
    struct Case {
        SHORT cap;
        SHORT item;
        LONG view;
        DWORD expectedSize;
        DWORD expectedCount;
    };
    const Case cases[] = {
        {SPCID_PAPERSIZE, 0, 4, 2 * 192, 2},  // two papers
        {SPCID_PAPERSIZE, 9, 4, 192, 1},
        {SPCID_RCTNAME, 0, 1, 9, 1},          // "L_SAMPLE" and its terminator
        {SPCID_MAXCOPIES, 0, 2, 8, 1},
        {SPCID_CUSTOMSIZE, 0, 1, 172, 1},
        {SPCID_DUPLEX, 0, 2, 2 * 72, 2},
    };
    for (const Case& c : cases) {
        DWORD cb = 0;
        DWORD dwCount = 99;
        ASSERT_EQ(SpcQuery(data.get(), c.cap, c.item, c.view, nullptr, &cb, &dwCount), ERROR_SUCCESS);
        EXPECT_EQ(cb, c.expectedSize) << c.cap;
        EXPECT_EQ(dwCount, 0u);

        Bytes buffer(c.expectedSize, 0x5A);
        cb = c.expectedSize - 1;
        dwCount = 99;
        EXPECT_EQ(SpcQuery(data.get(), c.cap, c.item, c.view, buffer.data(), &cb, &dwCount), ERROR_INSUFFICIENT_BUFFER);
        EXPECT_EQ(cb, c.expectedSize) << c.cap;
        EXPECT_EQ(dwCount, 0u);
        EXPECT_EQ(buffer, Bytes(c.expectedSize, 0x5A)) << c.cap << ": a refused answer writes nothing";

        cb = c.expectedSize;
        EXPECT_EQ(SpcQuery(data.get(), c.cap, c.item, c.view, buffer.data(), &cb, &dwCount), ERROR_SUCCESS);
        EXPECT_EQ(dwCount, c.expectedCount) << c.cap;
    }
}

TEST(SpcQueryProtocol, MissingItemSizesOneRecordAndIsNotFoundOnlyWithABuffer)
{
    SpcDataPtr data = LoadFixture("sample");
    DWORD cb = 0;
    DWORD dwCount = 7;
    ASSERT_EQ(SpcQuery(data.get(), SPCID_PAPERSIZE, 77, 4, nullptr, &cb, &dwCount), ERROR_SUCCESS);
    EXPECT_EQ(cb, 192u);
    EXPECT_EQ(dwCount, 0u);
    Bytes buffer(cb);
    dwCount = 7;
    EXPECT_EQ(SpcQuery(data.get(), SPCID_PAPERSIZE, 77, 4, buffer.data(), &cb, &dwCount), ERROR_NOT_FOUND);
    EXPECT_EQ(dwCount, 0u);
}

TEST(SpcQueryProtocol, FailedPositioningLeavesSizeAndCountUntouched)
{
    SpcDataPtr data = LoadFixture("sample");
    DWORD cb = 1234;
    DWORD dwCount = 5678;
    EXPECT_EQ(SpcQuery(data.get(), 5, 0, 1, nullptr, &cb, &dwCount), ERROR_NOT_SUPPORTED);  // no section
    EXPECT_EQ(cb, 1234u);
    EXPECT_EQ(dwCount, 5678u);
    // An unknown view: size untouched, count 0.
    EXPECT_EQ(SpcQuery(data.get(), SPCID_PAPERSIZE, 0, 12, nullptr, &cb, &dwCount), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(cb, 1234u);
    EXPECT_EQ(dwCount, 0u);
}

TEST(SpcQueryAlloc, AnswersAZeroedBlockOrNullOnAnyFailure)
{
    SpcDataPtr data = LoadFixture("sample");
    DWORD dwCount = 0;
    std::unique_ptr<BYTE, FreeDeleter> block(static_cast<BYTE*>(SpcQueryAlloc(data.get(), SPCID_PAPERSIZE, 0, 3, &dwCount)));
    ASSERT_TRUE(block);
    EXPECT_EQ(dwCount, 2u);
    Bytes answer(block.get(), block.get() + 8);
    EXPECT_EQ(I16(answer, 0), 1);
    EXPECT_EQ(I16(answer, 4), 9);

    EXPECT_EQ(SpcQueryAlloc(data.get(), SPCID_PAPERSIZE, 77, 3, &dwCount), nullptr);  // item not listed
    EXPECT_EQ(SpcQueryAlloc(data.get(), 5, 0, 1, &dwCount), nullptr);                // no section
    EXPECT_EQ(SpcQueryAlloc(nullptr, 4, 0, 1, &dwCount), nullptr);
}

TEST(SpcGetString, AnswersTheStringWithItsTerminator)
{
    SpcDataPtr data = LoadFixture("sample");
    struct Case {
        SHORT cap;
        LONG view;
        const char* expected;
    };
    const Case cases[] = {
        {1, 1, "first"},
        {4, 1, "L_SAMPLE"},
        {4, 9, "L_SAMPLE"},       // item and view do not matter for one string
        {11, 1, "SAMPLE MODEL"},  // behind its leading word
        {14, 0, "ONE"},
        {14, 1, "ONE"},
        {14, 2, "SECOND"},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), c.cap, 0, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.cap;
        EXPECT_EQ(a.dwCount, 1u);
        std::string expected(c.expected);
        ASSERT_EQ(a.bytes.size(), expected.size() + 1);
        EXPECT_EQ(std::string(a.bytes.begin(), a.bytes.end() - 1), expected);
        EXPECT_EQ(a.bytes.back(), 0);
    }
    EXPECT_EQ(Ask(data.get(), 14, 0, 3).dwResult, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(Ask(data.get(), 14, 0, -1).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcGetString, SizeIsWrittenEvenWhenTheBufferIsShort)
{
    SpcDataPtr data = LoadFixture("sample");
    char sz[4] = {};
    DWORD cb = sizeof sz;
    DWORD dwCount = 3;
    EXPECT_EQ(SpcQuery(data.get(), 4, 0, 1, sz, &cb, &dwCount), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cb, 9u);
    EXPECT_EQ(dwCount, 0u);
    char szBig[32];
    cb = sizeof szBig;
    EXPECT_EQ(SpcQuery(data.get(), 4, 0, 1, szBig, &cb, &dwCount), ERROR_SUCCESS);
    EXPECT_EQ(cb, 9u);
    EXPECT_STREQ(szBig, "L_SAMPLE");
}

TEST(SpcGetString, SecondStringOfFourteenWithLengthZeroIsNotSupported)
{
    SpcDataPtr data = LoadFixture("empty-lists");
    EXPECT_EQ(Ask(data.get(), 14, 0, 1).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), 14, 0, 2).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcGetString, StringWithoutTerminatorInItsSectionIsInvalidData)
{
    SpcDataPtr data = LoadFixture("unterminated-string");
    EXPECT_EQ(Ask(data.get(), 4, 0, 1).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(data.get(), 11, 0, 1).dwResult, ERROR_SUCCESS);

    // Hand-built: a string that reaches the file's end without its terminator is damage too.
    Bytes file = HandModel().Section(2, {'E', 0}).Section(1, {'A', 'B', 'C', 'D'}).Build();
    SpcDataPtr hand = Load(file);
    EXPECT_EQ(Ask(hand.get(), 1, 0, 1).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(hand.get(), 2, 0, 1).dwResult, ERROR_SUCCESS);
}

// A fixed-record section of words w0, w4, ... where word k holds 0x1000 * (k + 1) + k, and the
// answers expected from the fixed-record table.
Bytes CountingWords(size_t n)
{
    Bytes b;
    for (size_t k = 0; k < n; ++k) {
        Put32(b, static_cast<uint32_t>(0x10000 * (k + 1) + k));
    }
    return b;
}

TEST(SpcGetFixedRecord, ViewsTakeTheirFieldsFromTheTableOffsets)
{
    Bytes words = CountingWords(23);  // w0..w88
    // Word at byte offset N: 0x10000 * (N/4 + 1) + N/4; the 16-bit value at N + 2 is N/4 + 1.
    auto w = [](uint32_t off) { return 0x10000u * (off / 4 + 1) + off / 4; };
    auto lo = [&w](uint32_t off) { return static_cast<int16_t>(w(off) & 0xFFFF); };
    Bytes file = HandModel()
                     .Section(19, words).Section(28, words).Section(29, words).Section(31, words)
                     .Section(44, words).Section(45, words).Section(67, words).Section(77, words)
                     .Section(78, words)
                     .Build();
    SpcDataPtr data = Load(file);

    struct Field {
        size_t at;
        int width;  // 2 or 4
        uint32_t expected;
    };
    struct Case {
        SHORT cap;
        LONG view;
        DWORD size;
        std::vector<Field> fields;
    };
    const Case cases[] = {
        {19, 4, 28, {{0, 4, w(0)}, {12, 4, w(12)}, {24, 4, w(24)}}},
        {28, 2, 8, {{0, 4, w(0)}, {4, 2, uint16_t(lo(4))}, {6, 2, uint16_t(lo(8))}}},
        {28, 3, 32, {{4, 2, uint16_t(lo(4))}, {6, 2, uint16_t(lo(8))}, {8, 4, w(12)}, {28, 4, w(32)}}},
        {28, 4, 8, {{0, 4, w(0)}, {4, 2, 8 / 4 + 1}, {6, 2, 0}}},  // h10: the high half of w8
        {29, 1, 16, {{4, 4, w(4)}, {8, 4, w(20)}, {12, 4, w(24)}}},
        {29, 3, 32, {{8, 2, uint16_t(lo(28))}, {10, 2, 28 / 4 + 1}, {12, 2, uint16_t(lo(32))}, {14, 2, 32 / 4 + 1},
                     {16, 4, w(44)}, {28, 4, w(56)}}},
        {29, 5, 8, {{4, 2, uint16_t(lo(36))}, {6, 2, 36 / 4 + 1}}},
        {31, 2, 8, {{0, 4, w(0)}, {4, 2, uint16_t(lo(12))}}},
        {44, 1, 8, {{0, 2, uint16_t(lo(0))}, {2, 2, uint16_t(lo(4))}, {4, 2, uint16_t(lo(8))}}},
        {45, 2, 8, {{0, 2, uint16_t(lo(4))}, {6, 2, uint16_t(lo(16))}}},
        {67, 3, 12, {{4, 2, uint16_t(lo(4))}, {10, 2, uint16_t(lo(16))}}},
        {77, 3, 8, {{0, 4, w(16)}, {4, 2, uint16_t(lo(20))}, {6, 2, uint16_t(lo(24))}}},
        {78, 1, 16, {{4, 2, uint16_t(lo(4))}, {12, 2, uint16_t(lo(20))}}},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), c.cap, 0, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.cap << "/" << c.view;
        EXPECT_EQ(a.cbSize, c.size);
        EXPECT_EQ(a.dwCount, 1u);
        for (const Field& f : c.fields) {
            uint32_t got = f.width == 4 ? U32(a.bytes, f.at) : static_cast<uint16_t>(I16(a.bytes, f.at));
            EXPECT_EQ(got, f.expected) << c.cap << "/" << c.view << " at " << f.at;
        }
    }
    EXPECT_EQ(Ask(data.get(), 28, 0, 5).dwResult, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(Ask(data.get(), 19, 0, 0).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcGetFixedRecord, WritesOnlyTheNamedFields)
{
    Bytes file = HandModel().Section(29, CountingWords(10)).Build();
    SpcDataPtr data = Load(file);
    Bytes buffer(8, 0xEE);
    DWORD cb = 8;
    ASSERT_EQ(SpcQuery(data.get(), 29, 0, 2, buffer.data(), &cb, nullptr), ERROR_SUCCESS);
    // View 2 names u32 at 0 and i16 at 4 of its 8 bytes; bytes 6 and 7 are the caller's.
    EXPECT_EQ(U32(buffer, 0), 0x10000u);
    EXPECT_EQ(buffer[6], 0xEE);
    EXPECT_EQ(buffer[7], 0xEE);
}

TEST(SpcGetFixedRecord, RecordRunningPastTheFileIsInvalidData)
{
    Bytes three = CountingWords(3);
    Bytes file = HandModel().Section(19, three).Section(40, three).Build();
    SpcDataPtr data = Load(file);
    EXPECT_EQ(Ask(data.get(), 19, 0, 3).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), 19, 0, 4).dwResult, ERROR_INVALID_DATA);  // seven words: one past the file's end
    EXPECT_EQ(Ask(data.get(), 40, 0, 2).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), 23, 0, 1).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcGetFixedRecord, SecurePrintViewsDependOnTheFormatVersion)
{
    struct Case {
        const char* fixture;
        DWORD view1;
        DWORD view2;
    };
    const Case cases[] = {
        {"version-313", ERROR_NOT_SUPPORTED, ERROR_NOT_SUPPORTED},
        {"version-314", ERROR_SUCCESS, ERROR_NOT_SUPPORTED},
        {"version-315", ERROR_SUCCESS, ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        SpcDataPtr data = LoadFixture(c.fixture);
        EXPECT_EQ(Ask(data.get(), SPCID_SECUREPRINT, 0, 1).dwResult, c.view1) << c.fixture;
        Answer a = Ask(data.get(), SPCID_SECUREPRINT, 0, 2);
        EXPECT_EQ(a.dwResult, c.view2) << c.fixture;
        if (a.dwResult == ERROR_SUCCESS) {
            EXPECT_EQ(a.cbSize, 52u);
            EXPECT_EQ(U32(a.bytes, 8), 4u);
            EXPECT_EQ(Text(a.bytes, 16, 32), "job");
            EXPECT_EQ(U32(a.bytes, 48), 48u);
        }
    }
}

TEST(SpcGetFixedRecord, JobKindTextIsCopiedWithoutATerminatorOfItsOwn)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer a = Ask(data.get(), SPCID_JOBSPOOL1, 0, 3);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(a.cbSize, 88u);
    EXPECT_EQ(U32(a.bytes, 12), 4u);
    EXPECT_EQ(Text(a.bytes, 16, 32), "user id chars");
    EXPECT_EQ(U32(a.bytes, 48), 48u);
    EXPECT_EQ(U32(a.bytes, 52), 52u);
    EXPECT_EQ(Text(a.bytes, 56, 32), "password chars");

    Bytes section;
    PutWords(section, {1, 2, 3, 4});
    PutText(section, std::string(32, 'X'), 32);  // fills its field
    PutWords(section, {5, 6});
    PutText(section, "", 32);
    Bytes file = HandModel().Section(63, section).Build();
    SpcDataPtr hand = Load(file);
    Answer b = Ask(hand.get(), SPCID_DEPTCODE, 0, 2);
    ASSERT_EQ(b.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Text(b.bytes, 16, 32), std::string(32, 'X'));
}

TEST(SpcCursor, WalksExactlyTheCountedRecords)
{
    SpcDataPtr data = LoadFixture("sample");
    tagSPCCURSOR cursor{};
    cursor.sSelector = 3;
    ASSERT_EQ(SpcCursorFirst(data.get(), SPCID_PAPERSIZE, &cursor), ERROR_SUCCESS);
    EXPECT_EQ(cursor.sSelector, 3);
    EXPECT_EQ(cursor.sCapId, SPCID_PAPERSIZE);
    EXPECT_EQ(SpcFormatVersion(cursor.dwVersion), 316);
    ASSERT_NE(cursor.pCurrent, nullptr);
    EXPECT_EQ(cursor.pCurrent[0], 1);  // first paper id
    EXPECT_EQ(cursor.dwLeft, 1u);
    const BYTE* pNext = SpcCursorNext(data.get(), &cursor);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(pNext[0], 9);
    EXPECT_EQ(SpcCursorNext(data.get(), &cursor), nullptr);
    EXPECT_EQ(cursor.pCurrent, nullptr);

    tagSPCCURSOR fixed{};
    EXPECT_EQ(SpcCursorFirst(data.get(), SPCID_MAXCOPIES, &fixed), ERROR_SUCCESS);
    EXPECT_EQ(fixed.pCurrent, nullptr);
    EXPECT_EQ(SpcCursorFirst(data.get(), 19, &fixed), ERROR_NOT_SUPPORTED);
}

// SpcReadWordList on a hand-built image of one counted list.
TEST(SpcReadWordList, ClampsTheCountUnsignedAndStepsOverEveryWord)
{
    struct Case {
        uint32_t n;
        SHORT max;
        SHORT expectedCount;
    };
    const Case cases[] = {
        {3, 4, 3},
        {4, 4, 4},
        {40, 32, 32},
        {0x8000, 4, 4},   // negative as a signed 16-bit count: still clamped to the slots
        {0x10002, 4, 4},  // its low 16 bits (2) would undercount
        {0, 4, 0},
    };
    for (const Case& c : cases) {
        Bytes b;
        Put32(b, c.n);
        for (uint32_t i = 0; i < c.n; ++i) {
            Put32(b, 0x70000 + i);
        }
        Put32(b, 0xCAFE);
        SpcImage img(b.data(), b.size());
        SHORT count = -1;
        SHORT values[40] = {};
        uint64_t behind = SpcReadWordList(img, 0, &count, values, c.max);
        EXPECT_FALSE(img.Failed());
        EXPECT_EQ(count, c.expectedCount) << c.n;
        EXPECT_EQ(behind, 4 + 4 * uint64_t(c.n));
        EXPECT_EQ(img.Dword(behind), 0xCAFEu);
        for (SHORT i = 0; i < count; ++i) {
            EXPECT_EQ(values[i], static_cast<SHORT>(i)) << "low 16 bits of word " << i;
        }
        SHORT countOnly = -1;
        SpcReadWordList(img, 0, &countOnly, nullptr, c.max);
        EXPECT_EQ(countOnly, static_cast<SHORT>(c.n));
    }
}

TEST(SpcReadWordList, ListRunningPastTheImageFailsTheReader)
{
    Bytes b;
    PutWords(b, {5, 1, 2});
    SpcImage img(b.data(), b.size());
    SHORT count = -1;
    SHORT values[4] = {};
    SpcReadWordList(img, 0, &count, values, 4);
    EXPECT_TRUE(img.Failed());
    EXPECT_EQ(count, 0);
}

TEST(SpcReadFieldList, ReadsOneFieldPerEntryByWidth)
{
    Bytes b;
    Put32(b, 3);
    for (uint32_t i = 0; i < 3; ++i) {
        PutWords(b, {0x11110000u + i, 0xAABBCC00u + i});
    }
    SpcImage img(b.data(), b.size());
    struct Case {
        SHORT field;
        SHORT width;
        SHORT first;
    };
    const Case cases[] = {
        {4, 1, 0x00},             // one byte: the low byte of the second word
        {5, 2, SHORT(0xBBCC)},    // 16 bits at byte 5
        {4, 4, SHORT(0xCC00)},    // a word, low 16 bits
        {0, 4, 0},
    };
    for (const Case& c : cases) {
        SHORT count = 0;
        SHORT values[2] = {};
        uint64_t behind = SpcReadFieldList(img, 0, 8, c.field, c.width, &count, values, 2);
        EXPECT_EQ(behind, 4u + 3 * 8);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(values[0], c.first) << c.field << "/" << c.width;
    }
}

}  // namespace

namespace {

TEST(SpcLoadFile, LoadsTheWholeFileWithItsRealLength)
{
    orvtest::ScratchDir dir;
    Bytes sample = ReadFixture("sample");
    dir.WriteFile("data/L_SAMPLE", std::string(sample.begin(), sample.end()));
    std::string dataDir = dir / "data/";
    SpcDataPtr data(SpcLoadFile(dataDir.c_str(), "L_SAMPLE"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->cbImage, sample.size());
    EXPECT_EQ(Ask(data.get(), SPCID_RCTNAME, 0, 1).dwResult, ERROR_SUCCESS);

    EXPECT_EQ(SpcLoadFile(dataDir.c_str(), "missing"), nullptr);
    dir.WriteFile("data/empty", "");
    EXPECT_EQ(SpcLoadFile(dataDir.c_str(), "empty"), nullptr);
    EXPECT_EQ(SpcLoadFile(dataDir.c_str(), nullptr), nullptr);
}

}  // namespace
