// Sections that share bytes: the format stores no section lengths, so a section's records are
// read as far as the file goes, also when another section starts inside them. Every read stays
// inside the file; only a read past its end is damage.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

// Words w0, w4, ... where the word at byte offset N is 0x10000 * (N / 4 + 1) + N / 4.
Bytes CountingWords(size_t n, uint32_t firstOffset = 0)
{
    Bytes b;
    for (size_t k = firstOffset / 4; k < firstOffset / 4 + n; ++k) {
        Put32(b, static_cast<uint32_t>(0x10000 * (k + 1) + k));
    }
    return b;
}
uint32_t W(uint32_t off)
{
    return 0x10000u * (off / 4 + 1) + off / 4;
}

TEST(SpcSharedBytes, FixedRecordReadsOnIntoTheSectionDirectlyBehindIt)
{
    // Section 19 holds words 0 to 8 of its record, section 40 right behind it words 12 to 24: the
    // record of view 4 (words at 0, 12 and 24) is read across both.
    Bytes file = HandModel().Section(19, CountingWords(3)).Section(40, CountingWords(4, 12)).Build();
    SpcDataPtr data = Load(file);
    Answer a = Ask(data.get(), 19, 0, 4);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(U32(a.bytes, 0), W(0));
    EXPECT_EQ(U32(a.bytes, 12), W(12));
    EXPECT_EQ(U32(a.bytes, 24), W(24));
    EXPECT_EQ(Ask(data.get(), 40, 0, 2).dwResult, ERROR_SUCCESS);

    // The same record with nothing behind it runs past the file's end.
    SpcDataPtr alone = Load(HandModel().Section(19, CountingWords(3)).Build());
    EXPECT_EQ(Ask(alone.get(), 19, 0, 4).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(alone.get(), 19, 0, 3).dwResult, ERROR_SUCCESS);
}

TEST(SpcSharedBytes, ListCountReachingIntoTheNextSectionTakesItsBytesAsRecords)
{
    // Section 33 counts two 16-byte records and holds one; the second is section 40's four words.
    Bytes s33;
    PutWords(s33, {2, 5, 0x51, 0x80000002, 0x53});
    Bytes s40;
    PutWords(s40, {6, 0x61, 0x80000003, 0x63});
    SpcDataPtr data = Load(HandModel().Section(33, s33).Section(40, s40).Build());

    Answer all = Ask(data.get(), 33, 0, 1);
    ASSERT_EQ(all.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(all.dwCount, 2u);
    Answer second = Ask(data.get(), 33, 6, 1);
    ASSERT_EQ(second.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(I16(second.bytes, 0), 6);
    EXPECT_EQ(I16(second.bytes, 2), 0x61);
    EXPECT_EQ(I16(second.bytes, 4), 0x63);
    EXPECT_EQ(U32(second.bytes, 8), 0x80000003u);
    EXPECT_EQ(Ask(data.get(), 40, 0, 2).dwResult, ERROR_SUCCESS);

    // A third record would lie past the file's end.
    Bytes three = s33;
    three[0] = 3;
    SpcDataPtr past = Load(HandModel().Section(33, three).Section(40, s40).Build());
    EXPECT_EQ(Ask(past.get(), 33, 0, 1).dwResult, ERROR_INVALID_DATA);
}

TEST(SpcSharedBytes, SectionsStartingInsideAnotherAnswerFromTheSharedBytes)
{
    // 29 starts where 28 starts, 31 eight bytes into it; each reads its own view's fields.
    Bytes file = HandModel()
                     .Section(28, CountingWords(23))
                     .SectionInside(29, 28, 0)
                     .SectionInside(31, 28, 8)
                     .Build();
    SpcDataPtr data = Load(file);
    struct Case {
        SHORT cap;
        LONG view;
        size_t at;
        uint32_t expected;  // the word the view takes there, by its offset in section 28
    };
    const Case cases[] = {
        {28, 3, 8, W(12)},
        {29, 1, 4, W(4)},
        {29, 1, 8, W(20)},
        {31, 2, 0, W(8)},
        {31, 2, 4, W(8 + 12) & 0xFFFF},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), c.cap, 0, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.cap;
        const uint32_t got = c.cap == 31 && c.at == 4 ? static_cast<uint16_t>(I16(a.bytes, c.at)) : U32(a.bytes, c.at);
        EXPECT_EQ(got, c.expected) << c.cap << "/" << c.view << " at " << c.at;
    }
}

TEST(SpcSharedBytes, StringEndsAtTheFirstTerminatorAlsoInTheNextSection)
{
    SpcDataPtr data = Load(HandModel().Section(1, {'A', 'B', 'C', 'D'}).Section(2, {'E', 0}).Build());
    char sz[16] = {};
    DWORD cb = sizeof sz;
    ASSERT_EQ(SpcQuery(data.get(), 1, 0, 1, sz, &cb, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(sz, "ABCDE");
    EXPECT_EQ(cb, 6u);
    EXPECT_EQ(Ask(data.get(), 2, 0, 1).dwResult, ERROR_SUCCESS);

    // Without a terminator before the file's end the string is damage.
    SpcDataPtr open = Load(HandModel().Section(1, {'A', 'B', 'C', 'D'}).Section(2, {'E', 'F'}).Build());
    EXPECT_EQ(Ask(open.get(), 1, 0, 1).dwResult, ERROR_INVALID_DATA);
    EXPECT_EQ(Ask(open.get(), 2, 0, 1).dwResult, ERROR_INVALID_DATA);
}

}  // namespace
