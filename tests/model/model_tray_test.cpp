// Media types, paper sources, duplex modes and source groups.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

// Media section by hand: count 1, default 2, one record with a 66-word list A, then the word that
// follows the last record.
Bytes HandMediaSection()
{
    Bytes b;
    PutWords(b, {1, 2});
    PutWords(b, {2, 3, 0x8, 0xC, 0x10, 0x14, 0x18, 0x1C});
    PutWords(b, {5, 66});
    for (uint32_t i = 0; i < 66; ++i) {
        Put32(b, 700 + i);
    }
    PutWords(b, {6, 3, 1, 2, 3});
    PutWords(b, {21, 22});
    PutText(b, "Plain", 32);
    PutText(b, "PLAIN", 32);
    PutWords(b, {23, 24});
    PutText(b, "plain 3", 32);
    PutText(b, "plain 4", 32);
    PutWords(b, {2, 31, 32});
    PutWords(b, {41, 42, 43});
    Put32(b, 0xBEEF);
    return b;
}

TEST(SpcMediaType, ViewsFromAHandBuiltRecord)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_MEDIATYPE, HandMediaSection()).Build());
    Answer v3 = Ask(data.get(), SPCID_MEDIATYPE, 2, 3);
    ASSERT_EQ(v3.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(v3.cbSize, 208u);
    EXPECT_EQ(I16(v3.bytes, 0), 2);
    EXPECT_EQ(I16(v3.bytes, 2), 3);
    const std::pair<size_t, uint32_t> words[] = {{4, 0x8}, {8, 0xC}, {12, 0x10}, {16, 0x14}, {20, 0x1C}, {24, 0x18}, {28, 0}};
    for (const auto& [at, expected] : words) {
        EXPECT_EQ(U32(v3.bytes, at), expected) << at;
    }
    EXPECT_EQ(I16(v3.bytes, 32), 5);
    EXPECT_EQ(I16(v3.bytes, 34), 64);
    EXPECT_EQ(I16(v3.bytes, 36), 6);
    EXPECT_EQ(I16(v3.bytes, 38), 3);
    EXPECT_EQ(I16(v3.bytes, 40 + 2 * 63), 763);
    EXPECT_EQ(I16(v3.bytes, 168 + 2 * 2), 3);

    Answer v8 = Ask(data.get(), SPCID_MEDIATYPE, 2, 8);
    ASSERT_EQ(v8.cbSize, 140u);
    EXPECT_EQ(I16(v8.bytes, 0), 0);
    EXPECT_EQ(I16(v8.bytes, 4), 21);
    EXPECT_EQ(I16(v8.bytes, 6), 22);
    EXPECT_EQ(Text(v8.bytes, 8, 32), "Plain");
    EXPECT_EQ(Text(v8.bytes, 40, 32), "PLAIN");
    EXPECT_EQ(I16(v8.bytes, 72), 23);
    EXPECT_EQ(I16(v8.bytes, 74), 24);
    EXPECT_EQ(Text(v8.bytes, 76, 32), "plain 3");
    EXPECT_EQ(Text(v8.bytes, 108, 32), "plain 4");

    Answer v6 = Ask(data.get(), SPCID_MEDIATYPE, 2, 6);
    EXPECT_EQ(I16(v6.bytes, 2), 2);
    EXPECT_EQ(I16(v6.bytes, 10), 32);
    Answer v7 = Ask(data.get(), SPCID_MEDIATYPE, 2, 7);
    EXPECT_EQ(I16(v7.bytes, 2), 5);
    EXPECT_EQ(U32(v7.bytes, 8), 41u);
    Answer v9 = Ask(data.get(), SPCID_MEDIATYPE, 0, 9);
    ASSERT_EQ(v9.cbSize, 4u);
    EXPECT_EQ(U32(v9.bytes, 0), 0xBEEFu);
    Answer v2 = Ask(data.get(), SPCID_MEDIATYPE, 0, 2);
    ASSERT_EQ(v2.cbSize, 2u);
    EXPECT_EQ(I16(v2.bytes, 0), 2);
    EXPECT_EQ(Ask(data.get(), SPCID_MEDIATYPE, 0, 10).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcMediaType, CompiledSampleAnswersEveryMedium)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer v1 = Ask(data.get(), SPCID_MEDIATYPE, 0, 1);
    ASSERT_EQ(v1.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(v1.dwCount, 2u);
    EXPECT_EQ(I16(v1.bytes, 4), 4);
    EXPECT_EQ(I16(v1.bytes, 6), 40);
    Answer v9 = Ask(data.get(), SPCID_MEDIATYPE, 0, 9);
    EXPECT_EQ(U32(v9.bytes, 0), 77u);
    Answer v4 = Ask(data.get(), SPCID_MEDIATYPE, 4, 4);
    EXPECT_EQ(Text(v4.bytes, 4, 32), "Thick");
}

// One source record by hand (list B of 33 words), then a second minimal one.
Bytes HandSourceSection()
{
    Bytes b;
    PutWords(b, {2, 7});
    PutWords(b, {7, 70, 1, 2, 3, 4, 5, 6});
    PutWords(b, {8, 1, 9});
    PutWords(b, {10, 33});
    for (uint32_t i = 0; i < 33; ++i) {
        Put32(b, 800 + i);
    }
    PutWords(b, {31, 32});
    PutText(b, "Auto", 32);
    PutWords(b, {33, 34});
    PutText(b, "AUTO", 32);
    PutWords(b, {1, 55});
    PutWords(b, {61, 62, 63});
    PutText(b, "third name", 32);
    PutText(b, "fourth name", 32);
    PutWords(b, {1, 10, 0, 0, 0, 0, 0, 0});
    PutWords(b, {0, 0, 0, 0});
    b.resize(b.size() + 80, 0);
    PutWords(b, {0, 0, 0, 0});
    b.resize(b.size() + 64, 0);
    return b;
}

TEST(SpcPaperSource, ViewsFromAHandBuiltRecord)
{
    SpcDataPtr data = Load(HandModel().Section(SPCID_PAPERSOURCE, HandSourceSection()).Build());
    Answer v1 = Ask(data.get(), SPCID_PAPERSOURCE, 0, 1);
    ASSERT_EQ(v1.dwCount, 2u);
    EXPECT_EQ(I16(v1.bytes, 4), 1);  // the second record, behind 33 words of list B

    Answer v3 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 3);
    ASSERT_EQ(v3.cbSize, 232u);
    EXPECT_EQ(U32(v3.bytes, 4), 1u);
    EXPECT_EQ(U32(v3.bytes, 20), 6u);
    EXPECT_EQ(U32(v3.bytes, 24), 5u);
    EXPECT_EQ(I16(v3.bytes, 34), 1);
    EXPECT_EQ(I16(v3.bytes, 40), 9);
    EXPECT_EQ(I16(v3.bytes, 36), 10);
    EXPECT_EQ(I16(v3.bytes, 38), 32);
    EXPECT_EQ(I16(v3.bytes, 168 + 2 * 31), 831);

    Answer v4 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 4);
    EXPECT_EQ(I16(v4.bytes, 0), 31);
    EXPECT_EQ(Text(v4.bytes, 4, 32), "Auto");
    Answer v5 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 5);
    EXPECT_EQ(I16(v5.bytes, 2), 1);
    EXPECT_EQ(I16(v5.bytes, 8), 55);
    Answer v6 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 6);
    EXPECT_EQ(I16(v6.bytes, 2), 8);
    EXPECT_EQ(I16(v6.bytes, 4), 10);
    EXPECT_EQ(U32(v6.bytes, 16), 63u);
    Answer v7 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 7);
    ASSERT_EQ(v7.cbSize, 72u);
    EXPECT_EQ(Text(v7.bytes, 8, 32), "third name");
    EXPECT_EQ(Text(v7.bytes, 40, 32), "fourth name");
    Answer v8 = Ask(data.get(), SPCID_PAPERSOURCE, 7, 8);
    EXPECT_EQ(I16(v8.bytes, 36), 33);
    EXPECT_EQ(I16(v8.bytes, 38), 34);
    EXPECT_EQ(Text(v8.bytes, 40, 32), "AUTO");
    EXPECT_EQ(Ask(data.get(), SPCID_PAPERSOURCE, 0, 9).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcDuplex, ViewsOfTheCompiledSample)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer v1 = Ask(data.get(), SPCID_DUPLEX, 0, 1);
    ASSERT_EQ(v1.cbSize, 24u);
    EXPECT_EQ(U32(v1.bytes, 0), 515u);
    EXPECT_EQ(U32(v1.bytes, 16), 16u);
    EXPECT_EQ(I16(v1.bytes, 20), 1);

    Answer v2 = Ask(data.get(), SPCID_DUPLEX, 2, 2);
    ASSERT_EQ(v2.cbSize, 72u);
    EXPECT_EQ(I16(v2.bytes, 2), 40);
    EXPECT_EQ(I16(v2.bytes, 4), 12);
    EXPECT_EQ(I16(v2.bytes, 6), 16);
    EXPECT_EQ(Text(v2.bytes, 8, 32), "Long");
    EXPECT_EQ(Text(v2.bytes, 40, 32), "LONG");

    Answer v3 = Ask(data.get(), SPCID_DUPLEX, 0, 3);
    ASSERT_EQ(v3.cbSize, 12u);
    EXPECT_EQ(I16(v3.bytes, 4), 156);
    EXPECT_EQ(I16(v3.bytes, 6), 3);

    Answer v4 = Ask(data.get(), SPCID_DUPLEX, 0, 4);
    EXPECT_EQ(I16(v4.bytes, 2), 50);
    EXPECT_EQ(I16(v4.bytes, 6), 127);

    Answer v5 = Ask(data.get(), SPCID_DUPLEX, 2, 5);
    ASSERT_EQ(v5.cbSize, 144u);
    EXPECT_EQ(I16(v5.bytes, 4), 80);
    EXPECT_EQ(I16(v5.bytes, 6), 156);
    EXPECT_EQ(I16(v5.bytes, 8), 12);
    EXPECT_EQ(I16(v5.bytes, 10), 16);
    EXPECT_EQ(I16(v5.bytes, 76), 84);
    EXPECT_EQ(I16(v5.bytes, 78), 88);
    EXPECT_EQ(Bytes(v5.bytes.begin() + 12, v5.bytes.begin() + 76), Bytes(64, 0));

    Answer v6 = Ask(data.get(), SPCID_DUPLEX, 0, 6);
    ASSERT_EQ(v6.cbSize, 8u);
    EXPECT_EQ(I16(v6.bytes, 4), 5);
    EXPECT_EQ(I16(v6.bytes, 6), 0);
    EXPECT_EQ(Ask(data.get(), SPCID_DUPLEX, 0, 7).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcDuplex, EmptyListAnswersNoModesButStillItsSectionViews)
{
    SpcDataPtr data = LoadFixture("empty-lists");
    for (LONG view : {2, 3, 5}) {
        Answer a = Ask(data.get(), SPCID_DUPLEX, 0, view);
        EXPECT_EQ(a.dwResult, ERROR_SUCCESS) << view;
        EXPECT_EQ(a.cbSize, 0u);
        EXPECT_EQ(a.dwCount, 0u);
    }
    EXPECT_EQ(U32(Ask(data.get(), SPCID_DUPLEX, 0, 1).bytes, 0), 3u);
    EXPECT_EQ(I16(Ask(data.get(), SPCID_DUPLEX, 0, 4).bytes, 6), 8);
    EXPECT_EQ(I16(Ask(data.get(), SPCID_DUPLEX, 0, 6).bytes, 4), 9);
    EXPECT_EQ(Ask(data.get(), SPCID_DUPLEX, 2, 2).dwResult, ERROR_NOT_FOUND);
}

TEST(SpcDuplex, TrailerViewNeedsFormatVersion313)
{
    EXPECT_EQ(Ask(LoadFixture("version-312").get(), SPCID_DUPLEX, 0, 6).dwResult, ERROR_NOT_SUPPORTED);
    Answer a = Ask(LoadFixture("version-313").get(), SPCID_DUPLEX, 0, 6);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(a.bytes, 4), 99);
    EXPECT_EQ(Ask(LoadFixture("version-312").get(), SPCID_DUPLEX, 0, 4).dwResult, ERROR_SUCCESS);
}

TEST(SpcSourceGroup, SourceEntriesOfEveryGroupInFileOrder)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer all = Ask(data.get(), SPCID_SOURCEGROUP, 0, 8);
    ASSERT_EQ(all.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(all.dwCount, 3u);
    struct Row {
        int16_t source;
        int16_t group;
        uint32_t extra;
    };
    const Row rows[] = {{3, 1, 333}, {4, 1, 444}, {3, 2, 555}};  // source 3 is listed by two groups
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(I16(all.bytes, 8 * i), rows[i].source);
        EXPECT_EQ(I16(all.bytes, 8 * i + 2), rows[i].group);
        EXPECT_EQ(U32(all.bytes, 8 * i + 4), rows[i].extra);
    }
    Answer one = Ask(data.get(), SPCID_SOURCEGROUP, 3, 8);
    ASSERT_EQ(one.dwCount, 1u);
    EXPECT_EQ(U32(one.bytes, 4), 333u);

    Answer info = Ask(data.get(), SPCID_SOURCEGROUP, 4, 3);
    ASSERT_EQ(info.cbSize, 232u);
    EXPECT_EQ(I16(info.bytes, 2), 40);  // value, the extra word skipped
    EXPECT_EQ(Text(Ask(data.get(), SPCID_SOURCEGROUP, 3, 4).bytes, 4, 32), "LCT tray");
    EXPECT_EQ(Text(Ask(data.get(), SPCID_SOURCEGROUP, 3, 7).bytes, 8, 32), "g3");

    DWORD cb = 0;
    EXPECT_EQ(SpcQuery(data.get(), SPCID_SOURCEGROUP, 9, 8, nullptr, &cb, nullptr), ERROR_NOT_FOUND);
}

TEST(SpcSourceGroup, GroupViews)
{
    SpcDataPtr data = LoadFixture("sample");
    Answer v2 = Ask(data.get(), SPCID_SOURCEGROUP, 1, 2);
    ASSERT_EQ(v2.cbSize, 32u);
    const std::pair<size_t, int> fields[] = {{0, 1}, {2, 5}, {10, 12}, {12, 2}, {14, 2}, {16, 1}, {18, 2}, {24, 3}, {26, 4}, {28, 0}};
    for (const auto& [at, expected] : fields) {
        EXPECT_EQ(I16(v2.bytes, at), expected) << at;
    }
    EXPECT_EQ(U32(v2.bytes, 4), 8u);
    Answer v10 = Ask(data.get(), SPCID_SOURCEGROUP, 0, 10);
    ASSERT_EQ(v10.dwCount, 3u);
    EXPECT_EQ(Text(v10.bytes, 72 + 8, 32), "Second unit");
    Answer v1 = Ask(data.get(), SPCID_SOURCEGROUP, 3, 1);
    EXPECT_EQ(I16(v1.bytes, 2), 2);
    EXPECT_EQ(Ask(data.get(), SPCID_SOURCEGROUP, 0, 11).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcSourceGroup, GroupsWithoutEntriesAnswerNotFoundForEntryViews)
{
    SpcDataPtr data = LoadFixture("empty-lists");
    for (LONG view = 3; view <= 9; ++view) {
        DWORD cb = 0;
        DWORD dwCount = 7;
        EXPECT_EQ(SpcQuery(data.get(), SPCID_SOURCEGROUP, 0, view, nullptr, &cb, &dwCount), ERROR_NOT_FOUND) << view;
    }
    EXPECT_EQ(Ask(data.get(), SPCID_SOURCEGROUP, 0, 1).dwResult, ERROR_SUCCESS);
}

TEST(SpcLists, CountsRunningPastTheFileAreInvalidDataIntoTheNextSectionAreRead)
{
    // Every list announces more records than it holds. The format stores no section lengths: a
    // list that reaches into the section behind it reads that section's bytes as its records; one
    // that runs past the file's end is damage.
    SpcDataPtr data = LoadFixture("counts-past-section");
    struct Case {
        SHORT cap;
        LONG view;
        DWORD dwExpected;
    };
    const Case cases[] = {{SPCID_COLORTABLE, 1, ERROR_SUCCESS},     {18, 1, ERROR_INVALID_DATA},
                          {SPCID_PAPERSIZE, 3, ERROR_SUCCESS},      {SPCID_PAPERSIZE, 1, ERROR_SUCCESS},
                          {SPCID_MEDIATYPE, 1, ERROR_INVALID_DATA}, {SPCID_PAPERSOURCE, 1, ERROR_INVALID_DATA},
                          {SPCID_DUPLEX, 2, ERROR_SUCCESS},         {SPCID_SOURCEGROUP, 1, ERROR_INVALID_DATA},
                          {SPCID_SOURCEGROUP, 8, ERROR_INVALID_DATA}};
    for (const Case& c : cases) {
        EXPECT_EQ(Ask(data.get(), c.cap, 0, c.view).dwResult, c.dwExpected) << c.cap << "/" << c.view;
        // Item 1 is one of the records read, except in the duplex list, whose one mode is 2.
        const DWORD dwItem1 = c.cap == SPCID_DUPLEX && c.dwExpected == ERROR_SUCCESS ? ERROR_NOT_FOUND : c.dwExpected;
        EXPECT_EQ(Ask(data.get(), c.cap, 1, c.view).dwResult, dwItem1) << c.cap << "/" << c.view;
    }
    EXPECT_EQ(Ask(data.get(), SPCID_RCTNAME, 0, 1).dwResult, ERROR_SUCCESS);
    // A count word whose top bit is set is a negative count: no list at all.
    EXPECT_EQ(Ask(LoadFixture("empty-lists").get(), SPCID_MEDIATYPE, 0, 1).dwResult, ERROR_NOT_SUPPORTED);
}

}  // namespace
