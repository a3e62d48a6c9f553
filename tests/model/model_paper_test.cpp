// Paper sizes, custom paper limits, named values and long texts: answers checked field by field
// on records laid out by hand from the file layout, and on the compiled sample model.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

// A paper section built by hand: header {count 2, flags 0x55, metric 9, inch 1, resolution},
// a full first record and a minimal second one with id -2.
Bytes HandPaperSection(uint32_t dwResolution)
{
    Bytes b;
    PutWords(b, {2, 0x55, 9, 1, dwResolution});
    // Record 1 fixed part: id, value 2, kind, sizes, margins, turned margins, six words.
    PutWords(b, {5, 6, 7, 2100, 2970, 2480, 3508, 50, 60, 3, 4, 70, 80, 5, 6, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
    Put32(b, 8);  // list A: value, 40 words
    Put32(b, 40);
    for (uint32_t i = 0; i < 40; ++i) {
        Put32(b, 1000 + i);
    }
    PutWords(b, {9, 2, 7, 8});  // list B: value 9, two words
    PutWords(b, {11, 12});      // name block
    PutText(b, "Name one", 32);
    PutText(b, "Name two", 32);
    PutWords(b, {13, 14});
    PutText(b, "Name three", 32);
    PutText(b, std::string(32, 'F'), 32);  // fills its field: no terminator
    Put32(b, 70);                          // 70 word pairs
    for (uint32_t i = 0; i < 70; ++i) {
        PutWords(b, {i, 100 + i});
    }
    PutWords(b, {5, 41, 42, 43, 44, 45});  // counted list of 5
    PutWords(b, {0xC1, 0xC2, 0xC3});       // closing words
    // Record 2: id -2, everything else zero, all lists empty.
    Put32(b, 0xFFFFFFFE);
    b.resize(b.size() + 80, 0);
    PutWords(b, {0, 0, 0, 0});  // lists A and B
    b.resize(b.size() + 144, 0);
    PutWords(b, {0, 0, 0, 0, 0});  // pairs, counted list, closing words
    return b;
}

TEST(SpcPaperSize, PaperInfoFieldsFromAHandBuiltRecord)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_PAPERSIZE, HandPaperSection(300)).Build());
    Answer a = Ask(data.get(), SPCID_PAPERSIZE, 5, 4);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(a.cbSize, 192u);
    EXPECT_EQ(a.dwCount, 1u);
    struct Field {
        size_t at;
        int expected;
    };
    const Field i16Fields[] = {
        {0, 5}, {2, 6}, {4, 7}, {6, 0}, {8, 2100}, {10, 2970}, {12, 2480}, {14, 3508},
        {20, 2480 - 2 * 50}, {22, 3508 - 2 * 60},
        {16, 2380 * 254 / 300}, {18, 3388 * 254 / 300},  // 2015 and 2868, truncated
        {24, 50}, {26, 60}, {28, 3}, {30, 4},
        {32, 2970}, {34, 2100}, {36, 3508}, {38, 2480},
        {44, 3508 - 2 * 70}, {46, 2480 - 2 * 80},
        {40, 3368 * 254 / 300}, {42, 2320 * 254 / 300},
        {48, 70}, {50, 80}, {52, 5}, {54, 6},
        {80, 8}, {82, 32}, {84, 9}, {86, 2},
        {88, 1000}, {88 + 2 * 31, 1031}, {152, 7}, {154, 8}, {156, 0},
    };
    for (const Field& f : i16Fields) {
        EXPECT_EQ(I16(a.bytes, f.at), f.expected) << "i16 at " << f.at;
    }
    const Field u32Fields[] = {{56, 0x11}, {60, 0x22}, {64, 0x33}, {68, 0x55}, {72, 0x44}, {76, 0x66}};
    for (const Field& f : u32Fields) {
        EXPECT_EQ(U32(a.bytes, f.at), uint32_t(f.expected)) << "u32 at " << f.at;
    }
}

TEST(SpcPaperSize, ResolutionZeroLeavesOnlyTheConvertedFieldsZero)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_PAPERSIZE, HandPaperSection(0)).Build());
    Answer a = Ask(data.get(), SPCID_PAPERSIZE, 5, 4);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    for (size_t at : {16, 18, 40, 42}) {
        EXPECT_EQ(I16(a.bytes, at), 0) << at;
    }
    EXPECT_EQ(I16(a.bytes, 20), 2380);
    EXPECT_EQ(I16(a.bytes, 44), 3368);
    EXPECT_EQ(I16(a.bytes, 8), 2100);
}

TEST(SpcPaperSize, LongListsAreCutToTheirSlotsAndTheNextRecordIsStillFound)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_PAPERSIZE, HandPaperSection(600)).Build());
    Answer ids = Ask(data.get(), SPCID_PAPERSIZE, 0, 3);
    ASSERT_EQ(ids.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(ids.dwCount, 2u);
    EXPECT_EQ(I16(ids.bytes, 0), 5);
    EXPECT_EQ(I16(ids.bytes, 2), 6);
    EXPECT_EQ(I16(ids.bytes, 4), -2);  // behind 40 words of list A and 70 pairs

    Answer second = Ask(data.get(), SPCID_PAPERSIZE, -2, 3);
    EXPECT_EQ(second.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(second.bytes, 0), -2);

    Answer pairs = Ask(data.get(), SPCID_PAPERSIZE, 5, 7);
    ASSERT_EQ(pairs.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(pairs.cbSize, 264u);
    EXPECT_EQ(I16(pairs.bytes, 0), 5);
    EXPECT_EQ(I16(pairs.bytes, 2), 64);
    EXPECT_EQ(I16(pairs.bytes, 8), 0);
    EXPECT_EQ(I16(pairs.bytes, 8 + 2 * 63), 63);
    EXPECT_EQ(I16(pairs.bytes, 136), 100);
    EXPECT_EQ(I16(pairs.bytes, 136 + 2 * 63), 163);

    Answer tail = Ask(data.get(), SPCID_PAPERSIZE, 5, 9);
    ASSERT_EQ(tail.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(tail.bytes, 2), 4);
    EXPECT_EQ(I16(tail.bytes, 8), 41);
    EXPECT_EQ(I16(tail.bytes, 14), 44);

    Answer closing = Ask(data.get(), SPCID_PAPERSIZE, 5, 10);
    ASSERT_EQ(closing.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(closing.bytes, 2), 8);
    EXPECT_EQ(I16(closing.bytes, 4), 9);
    EXPECT_EQ(U32(closing.bytes, 8), 0xC1u);
    EXPECT_EQ(U32(closing.bytes, 16), 0xC3u);
}

TEST(SpcPaperSize, NameViewsOfAHandBuiltRecord)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_PAPERSIZE, HandPaperSection(600)).Build());
    Answer v6 = Ask(data.get(), SPCID_PAPERSIZE, 5, 6);
    ASSERT_EQ(v6.cbSize, 36u);
    EXPECT_EQ(I16(v6.bytes, 0), 11);
    EXPECT_EQ(I16(v6.bytes, 2), 12);
    EXPECT_EQ(Text(v6.bytes, 4, 32), "Name one");

    Answer v8 = Ask(data.get(), SPCID_PAPERSIZE, 5, 8);
    ASSERT_EQ(v8.cbSize, 68u);
    EXPECT_EQ(Text(v8.bytes, 36, 32), "Name two");

    Answer v11 = Ask(data.get(), SPCID_PAPERSIZE, 5, 11);
    ASSERT_EQ(v11.cbSize, 136u);
    EXPECT_EQ(I16(v11.bytes, 68), 13);
    EXPECT_EQ(I16(v11.bytes, 70), 14);
    EXPECT_EQ(Text(v11.bytes, 72, 32), "Name three");
    EXPECT_EQ(Text(v11.bytes, 104, 32), std::string(32, 'F'));
}

TEST(SpcPaperSize, SectionViewsAnswerOneRecordWhateverTheItem)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer defaults = Ask(data.get(), SPCID_PAPERSIZE, 123, 1);
    ASSERT_EQ(defaults.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(defaults.dwCount, 1u);
    EXPECT_EQ(I16(defaults.bytes, 0), 1);  // the inch default first
    EXPECT_EQ(I16(defaults.bytes, 2), 9);

    Answer resolution = Ask(data.get(), SPCID_PAPERSIZE, 0, 2);
    ASSERT_EQ(resolution.cbSize, 2u);
    EXPECT_EQ(I16(resolution.bytes, 0), 600);

    Answer flags = Ask(data.get(), SPCID_PAPERSIZE, 0, 5);
    ASSERT_EQ(flags.cbSize, 4u);
    EXPECT_EQ(U32(flags.bytes, 0), 12u);

    for (LONG view : {0, 12, -1}) {
        EXPECT_EQ(Ask(data.get(), SPCID_PAPERSIZE, 0, view).dwResult, ERROR_NOT_SUPPORTED) << view;
    }
}

TEST(SpcPaperSize, EmptyListIsNotSupportedInEveryView)
{
    SpcDataPtr data = LoadFixture("empty-lists");
    for (LONG view : {1, 2, 3, 4, 5, 11}) {
        EXPECT_EQ(Ask(data.get(), SPCID_PAPERSIZE, 0, view).dwResult, ERROR_NOT_SUPPORTED) << view;
    }
}

// The custom-limit record built by hand: flag, sixteen limits, six words, list A (33 words),
// list B (21 words), name half, the short list with its word and closing words 72 bytes behind
// the half's start, and the user-paper list with the maximum 144 bytes behind it.
Bytes HandCustomSection()
{
    Bytes b;
    Put32(b, 1);
    for (uint32_t i = 0; i < 16; ++i) {
        Put32(b, 100 + i);
    }
    PutWords(b, {0x68, 0x72, 0x76, 0x80, 0x84, 0x88});
    PutWords(b, {3, 33});
    for (uint32_t i = 0; i < 33; ++i) {
        Put32(b, 500 + i);
    }
    PutWords(b, {4, 21});
    for (uint32_t i = 0; i < 21; ++i) {
        Put32(b, 600 + i);
    }
    size_t half = b.size();
    PutWords(b, {7, 8});
    PutText(b, "Custom", 32);
    PutText(b, "CUST", 32);
    PutWords(b, {2, 11, 12, 13, 14, 15, 16});
    b.resize(half + 144, 0);
    PutWords(b, {1, 99, 25});
    return b;
}

TEST(SpcCustomSize, ViewsFromAHandBuiltRecordInOneLayoutForEveryClass)
{
    Bytes section = HandCustomSection();
    SpcDataPtr data = Load(HandModel().Section(21, section).Section(75, section).Section(101, section)
                               .Section(102, section).Build());
    for (SHORT cap : {SHORT(21), SHORT(75), SHORT(101), SHORT(102)}) {
        Answer v1 = Ask(data.get(), cap, 0, 1);
        ASSERT_EQ(v1.dwResult, ERROR_SUCCESS) << cap;
        ASSERT_EQ(v1.cbSize, 172u);
        EXPECT_EQ(v1.dwCount, 1u);
        EXPECT_EQ(U32(v1.bytes, 0), 1u);
        EXPECT_EQ(I16(v1.bytes, 4), 100);
        EXPECT_EQ(I16(v1.bytes, 34), 115);
        EXPECT_EQ(U32(v1.bytes, 36), 0x68u);
        EXPECT_EQ(U32(v1.bytes, 44), 0x76u);
        EXPECT_EQ(U32(v1.bytes, 48), 0x84u);  // file word 84 before 80
        EXPECT_EQ(U32(v1.bytes, 52), 0x80u);
        EXPECT_EQ(U32(v1.bytes, 56), 0x88u);
        EXPECT_EQ(I16(v1.bytes, 60), 3);
        EXPECT_EQ(I16(v1.bytes, 62), 32);
        EXPECT_EQ(I16(v1.bytes, 64), 4);
        EXPECT_EQ(I16(v1.bytes, 66), 20);
        EXPECT_EQ(I16(v1.bytes, 68 + 2 * 31), 531);
        EXPECT_EQ(I16(v1.bytes, 132), 600);
        EXPECT_EQ(I16(v1.bytes, 132 + 2 * 19), 619);

        Answer v3 = Ask(data.get(), cap, 0, 3);
        ASSERT_EQ(v3.cbSize, 68u);
        EXPECT_EQ(I16(v3.bytes, 0), 7);
        EXPECT_EQ(Text(v3.bytes, 4, 32), "Custom");
        EXPECT_EQ(Text(v3.bytes, 36, 32), "CUST");
        EXPECT_EQ(Ask(data.get(), cap, 0, 2).cbSize, 36u);

        Answer v4 = Ask(data.get(), cap, 0, 4);
        ASSERT_EQ(v4.cbSize, 16u);
        EXPECT_EQ(I16(v4.bytes, 0), 2);
        EXPECT_EQ(I16(v4.bytes, 8), 11);
        EXPECT_EQ(I16(v4.bytes, 10), 12);

        Answer v5 = Ask(data.get(), cap, 0, 5);
        ASSERT_EQ(v5.cbSize, 8u);
        EXPECT_EQ(U32(v5.bytes, 0), 1u);
        EXPECT_EQ(U32(v5.bytes, 4), 25u);

        Answer v6 = Ask(data.get(), cap, 0, 6);
        ASSERT_EQ(v6.cbSize, 16u);
        EXPECT_EQ(I16(v6.bytes, 0), 3);
        EXPECT_EQ(I16(v6.bytes, 2), 4);
        EXPECT_EQ(U32(v6.bytes, 4), 14u);
        EXPECT_EQ(U32(v6.bytes, 12), 16u);

        Answer v7 = Ask(data.get(), cap, 0, 7);
        ASSERT_EQ(v7.cbSize, 136u);
        EXPECT_EQ(I16(v7.bytes, 0), 7);
        EXPECT_EQ(Text(v7.bytes, 36, 32), "CUST");
        EXPECT_EQ(I16(v7.bytes, 68), 1);
        EXPECT_EQ(I16(v7.bytes, 70), 256);  // the custom printer paper code

        EXPECT_EQ(Ask(data.get(), cap, 0, 0).dwResult, ERROR_NOT_SUPPORTED);
        EXPECT_EQ(Ask(data.get(), cap, 0, 8).dwResult, ERROR_NOT_SUPPORTED);
    }
}

TEST(SpcCustomSize, CompilerPlacesBothListReadingsRight)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer v4 = Ask(data.get(), SPCID_CUSTOMSIZE, 0, 4);
    ASSERT_EQ(v4.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(v4.bytes, 0), 3);
    EXPECT_EQ(I16(v4.bytes, 12), 3);
    Answer v5 = Ask(data.get(), SPCID_CUSTOMSIZE, 0, 5);
    EXPECT_EQ(U32(v5.bytes, 4), 20u);
    Answer v6 = Ask(data.get(), SPCID_CUSTOMSIZE, 0, 6);
    EXPECT_EQ(U32(v6.bytes, 4), 10u);
    EXPECT_EQ(U32(v6.bytes, 12), 12u);
}

TEST(SpcNamedValues, NameIsAlwaysTerminated)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer a = Ask(data.get(), SPCID_COLORTABLE, 0, 1);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(a.cbSize, 80u);
    EXPECT_EQ(I16(a.bytes, 0), 1);
    EXPECT_EQ(U32(a.bytes, 4), 600u);
    EXPECT_EQ(Text(a.bytes, 8, 16), "SAMPLECLR");
    EXPECT_EQ(U32(a.bytes, 44), 0xFFFFFFFDu);
    EXPECT_EQ(Text(a.bytes, 48, 16), "SIXTEEN_CHARS_X");  // its 16th byte forced to 0
    EXPECT_EQ(Ask(data.get(), SPCID_COLORTABLE, 0, 2).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcLongNames, TextsAreSteppedByTheirLengthWord)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer a = Ask(data.get(), 18, 0, 1);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(a.dwCount, 3u);
    EXPECT_EQ(I16(a.bytes, 0), 3);
    EXPECT_EQ(Text(a.bytes, 2, 254), "a long text");
    EXPECT_EQ(I16(a.bytes, 256), 4);
    EXPECT_EQ(Text(a.bytes, 258, 254), "");
    EXPECT_EQ(I16(a.bytes, 512), 5);
    EXPECT_EQ(Text(a.bytes, 514, 254), "padded");

    // A text of 300 bytes without a terminator comes back cut to 253 characters and terminated.
    Bytes section;
    PutWords(section, {1, 9, 300});
    PutText(section, std::string(300, 'T'), 300);
    SpcDataPtr hand = Load(HandModel().Section(18, section).Build());
    Answer b = Ask(hand.get(), 18, 9, 1);
    ASSERT_EQ(b.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Text(b.bytes, 2, 254), std::string(253, 'T'));
}

}  // namespace
