// Finishing units (27), finishing modes (34) and installable options (37), on sections built by
// hand from their file layout.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

uint16_t U16(const Bytes& b, size_t off)
{
    return static_cast<uint16_t>(I16(b, off));
}

struct PaperEntry {
    uint32_t paper;
    uint32_t flags;
};

// A finishing mode: words 0-4, text, words 13-20 (word k = id * 0x100 + k), for 34 a short
// text, paper entries {paper; flags; 2; 3}, second entries, P0-P2.
void PutMode(Bytes& b, uint32_t id, const std::vector<PaperEntry>& papers, uint32_t nSeconds, bool bShortText,
             uint32_t pjlFlags = 0x4, const std::string& text = "FINISH")
{
    PutWords(b, {id, id + 10, id * 0x100 + 2, pjlFlags, id * 0x100 + 4});
    PutText(b, text + std::to_string(id), 32);
    for (uint32_t k = 13; k <= 20; ++k) {
        Put32(b, id * 0x100 + k);
    }
    if (bShortText) {
        PutText(b, "Short" + std::to_string(id), 16);
    }
    Put32(b, static_cast<uint32_t>(papers.size()));
    for (const PaperEntry& p : papers) {
        PutWords(b, {p.paper, p.flags, p.paper + 2, p.paper + 3});
    }
    Put32(b, nSeconds);
    for (uint32_t i = 0; i < nSeconds; ++i) {
        PutWords(b, {500 + i, 1, 2, 3});
    }
    PutWords(b, {0xF0, 0xF1, 0xF2});
}

// A finishing unit: words 0-23, punches (18 words), staples (23 words), modes.
void PutUnit(Bytes& b, uint32_t id, uint32_t nPunches, uint32_t nStaples,
             const std::vector<std::vector<PaperEntry>>& modes, uint32_t firstModeId = 1)
{
    PutWords(b, {id, id + 1});
    PutText(b, "Unit name that is long enough to fill 32", 32);
    PutWords(b, {0x1, 0x30000, 12, 13, 14});
    PutText(b, "second text", 32);
    Put32(b, 1);  // punch presence: always
    Put32(b, nPunches);
    for (uint32_t i = 0; i < nPunches; ++i) {
        PutWords(b, {40 + i, 41, 0x42, 0x4, 44});
        PutText(b, "PUNCH=" + std::to_string(i), 32);
        PutWords(b, {13, 14, 15, 16, 17});
    }
    Put32(b, 0xFFFF);  // staple presence: never
    Put32(b, nStaples);
    for (uint32_t i = 0; i < nStaples; ++i) {
        PutWords(b, {60 + i, 61, 0x62, 0x4, 64});
        PutText(b, "Staple " + std::to_string(i), 32);
        PutText(b, "STAPLE=" + std::to_string(i), 32);
        PutWords(b, {21, 22});
    }
    Put32(b, 0x77);  // mode-list word
    Put32(b, static_cast<uint32_t>(modes.size()));
    for (size_t i = 0; i < modes.size(); ++i) {
        PutMode(b, firstModeId + static_cast<uint32_t>(i), modes[i], 1, false);
    }
}

Bytes TwoUnits()
{
    Bytes s;
    Put32(s, 2);
    // Unit 5 has a mode without paper entries; unit 99 has two modes with three entries.
    PutUnit(s, 5, 1, 6, {{}});
    PutUnit(s, 99, 2, 0, {{{9, 0x100}, {1, 0x2000}}, {{9, 0x400}}}, 3);
    return s;
}

TEST(SpcFinisher, UnitViewsCapTheirListsAtFour)
{
    SpcDataPtr data = Load(HandModel().Section(27, TwoUnits()).Build());
    Answer info = Ask(data.get(), 27, 5, 3);
    ASSERT_EQ(info.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(info.bytes.size(), 88u);
    EXPECT_EQ(U16(info.bytes, 0), 5);
    EXPECT_EQ(U16(info.bytes, 2), 6);
    EXPECT_EQ(Text(info.bytes, 8, 32), "Unit name that is long enough t");  // last byte forced 0
    EXPECT_EQ(U32(info.bytes, 40), 0x1u);
    EXPECT_EQ(U32(info.bytes, 44), 0x30000u);
    EXPECT_EQ(U16(info.bytes, 48), 1);
    EXPECT_EQ(U16(info.bytes, 50), 0xFFFF);
    EXPECT_EQ(I16(info.bytes, 52), 1);
    EXPECT_EQ(I16(info.bytes, 54), 4);  // six staple modes, four listed
    EXPECT_EQ(U16(info.bytes, 56), 0x77);
    EXPECT_EQ(I16(info.bytes, 58), 1);
    EXPECT_EQ(U16(info.bytes, 64), 40);
    EXPECT_EQ(U16(info.bytes, 66), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(U16(info.bytes, 72 + 2 * i), 60 + i);
    }
    EXPECT_EQ(U16(info.bytes, 80), 1);

    Answer units = Ask(data.get(), 27, 0, 1);
    ASSERT_EQ(units.dwCount, 2u);
    EXPECT_EQ(U16(units.bytes, 24), 99);
    EXPECT_EQ(U32(units.bytes, 24 + 8), 0x30000u);
    EXPECT_EQ(I16(units.bytes, 24 + 12), 2);
    EXPECT_EQ(U16(units.bytes, 24 + 14), 3);
    EXPECT_EQ(U16(units.bytes, 24 + 16), 4);

    Answer text = Ask(data.get(), 27, 99, 11);
    EXPECT_EQ(U32(text.bytes, 8), 12u);
    EXPECT_EQ(U16(text.bytes, 12), 13);
    EXPECT_EQ(U16(text.bytes, 14), 14);
    EXPECT_EQ(Text(text.bytes, 16, 32), "second text");
}

TEST(SpcFinisher, PaperEntriesComeFromTheUnitsThatHaveThem)
{
    SpcDataPtr data = Load(HandModel().Section(27, TwoUnits()).Build());
    Answer all = Ask(data.get(), 27, 0, 7);
    ASSERT_EQ(all.dwResult, ERROR_SUCCESS);
    ASSERT_EQ(all.dwCount, 3u);
    struct Row {
        uint16_t unit;
        uint16_t mode;
        uint16_t paper;
        uint32_t flags;
    };
    const Row rows[] = {{99, 3, 9, 0x100}, {99, 3, 1, 0x2000}, {99, 4, 9, 0x400}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(U16(all.bytes, 24 * i), rows[i].unit);
        EXPECT_EQ(U16(all.bytes, 24 * i + 4), rows[i].mode);
        EXPECT_EQ(U16(all.bytes, 24 * i + 6), rows[i].paper);
        EXPECT_EQ(U32(all.bytes, 24 * i + 8), rows[i].flags);
        EXPECT_EQ(U32(all.bytes, 24 * i + 12), rows[i].paper + 2u);
    }
    // Unit 5 has a finishing mode but no paper entries: not found, and a size of 0.
    DWORD cb = 123;
    EXPECT_EQ(SpcQuery(data.get(), 27, 5, 7, nullptr, &cb, nullptr), ERROR_NOT_FOUND);
    EXPECT_EQ(cb, 0u);
    Answer seconds = Ask(data.get(), 27, 99, 8);
    ASSERT_EQ(seconds.dwCount, 2u);
    EXPECT_EQ(U16(seconds.bytes, 6), 500);
}

TEST(SpcFinisher, ExpandingViewsPlaceTheirFields)
{
    SpcDataPtr data = Load(HandModel().Section(27, TwoUnits()).Build());
    struct Case {
        LONG view;
        SHORT item;
        DWORD count;
        size_t size;
        std::vector<std::pair<size_t, uint32_t>> u16s;
        std::vector<std::pair<size_t, uint32_t>> u32s;
        std::vector<std::pair<size_t, std::string>> texts;
    };
    const Case cases[] = {
        // mode: {id; value; P1; P2}
        {2, 99, 2, 16, {{0, 3}, {2, 13}}, {{4, 0xF1}, {8, 0xF2}, {12, 0}}, {}},
        // punch: {unit; id; value; flags; words 13-15}
        {4, 99, 2, 24, {{0, 99}, {2, 40}, {4, 41}}, {{8, 0x42}, {12, 13}, {20, 15}}, {}},
        // staple: {unit; id; value; flags; words 21, 22}
        {5, 5, 6, 24, {{0, 5}, {2, 60}}, {{8, 0x62}, {12, 21}, {16, 22}, {20, 0}}, {}},
        // mode in full
        {6, 99, 2, 224, {{0, 99}, {4, 3}, {6, 13}, {24, 0x30D}, {26, 0x311}, {28, 2}, {30, 1}, {32, 9}, {34, 1},
                         {160, 500}},
         {{8, 0x302}, {12, 0xF0}, {20, 0xF2}}, {}},
        // mode words {unit; id; 13; 17; 14, 15, 16, 18, 19, 20}
        {9, 99, 2, 32, {{0, 99}, {2, 3}, {4, 0x30D}, {6, 0x311}}, {{8, 0x30E}, {16, 0x310}, {20, 0x312}, {28, 0x314}},
         {}},
        {10, 99, 2, 32, {{2, 40}}, {{12, 13}, {28, 17}}, {}},
        {12, 99, 2, 48, {{2, 40}, {12, 4}, {14, 44}}, {{8, 0x42}}, {{16, "PUNCH=0"}}},
        {13, 5, 6, 48, {{2, 60}, {12, 4}}, {}, {{16, "Staple 0"}}},
        {14, 99, 2, 48, {{0, 99}, {4, 3}, {6, 13}, {12, 4}, {14, 0x304}}, {{8, 0x302}}, {{16, "FINISH3"}}},
        {15, 5, 6, 80, {{2, 60}}, {}, {{16, "Staple 0"}, {48, "STAPLE=0"}}},
    };
    for (const Case& c : cases) {
        Answer a = Ask(data.get(), 27, c.item, c.view);
        ASSERT_EQ(a.dwResult, ERROR_SUCCESS) << c.view;
        ASSERT_EQ(a.dwCount, c.count) << c.view;
        ASSERT_EQ(a.bytes.size(), c.size * c.count) << c.view;
        for (auto [off, v] : c.u16s) {
            EXPECT_EQ(U16(a.bytes, off), v) << "view " << c.view << " at " << off;
        }
        for (auto [off, v] : c.u32s) {
            EXPECT_EQ(U32(a.bytes, off), v) << "view " << c.view << " at " << off;
        }
        for (const auto& [off, t] : c.texts) {
            EXPECT_EQ(Text(a.bytes, off, 32), t) << "view " << c.view << " at " << off;
        }
    }
    EXPECT_EQ(Ask(data.get(), 27, 0, 16).dwResult, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(Ask(data.get(), 27, 7, 4).dwResult, ERROR_NOT_FOUND);
    // No unit has staple modes asked of unit 99: nothing anywhere is not found even for item 0.
    Bytes noStaples;
    Put32(noStaples, 1);
    PutUnit(noStaples, 1, 0, 0, {});
    SpcDataPtr bare = Load(HandModel().Section(27, noStaples).Build());
    EXPECT_EQ(Ask(bare.get(), 27, 0, 5).dwResult, ERROR_NOT_FOUND);
    EXPECT_EQ(Ask(bare.get(), 27, 0, 1).dwResult, ERROR_SUCCESS);
}

TEST(SpcFinisher, ModeWithoutPjlBitStillAnswersItsText)
{
    Bytes s;
    Put32(s, 1);
    PutWords(s, {7, 8});
    PutText(s, "U", 32);
    PutWords(s, {2, 0, 0, 0, 0});
    PutText(s, "", 32);
    PutWords(s, {0, 0, 0, 0, 0, 1});
    PutMode(s, 2, {}, 0, false, 0x0, "STAPLEMODE=");
    SpcDataPtr data = Load(HandModel().Section(27, s).Build());
    Answer a = Ask(data.get(), 27, 0, 14);
    ASSERT_EQ(a.dwCount, 1u);
    EXPECT_EQ(U16(a.bytes, 12), 0);
    EXPECT_EQ(Text(a.bytes, 16, 32), "STAPLEMODE=2");
}

Bytes FinishModes(uint32_t nSeconds)
{
    Bytes s;
    PutWords(s, {2, 0xABC});
    PutMode(s, 1, {{9, 0x100}}, nSeconds, true);
    PutMode(s, 5, {{1, 0x1000}, {9, 0x200}}, 1, true);
    return s;
}

TEST(SpcFinishMode, FlatTableViews)
{
    SpcDataPtr data = Load(HandModel().Section(34, FinishModes(2)).Build());
    EXPECT_EQ(U16(Ask(data.get(), 34, 0, 1).bytes, 0), 0xABC);
    Answer two = Ask(data.get(), 34, 5, 2);
    ASSERT_EQ(two.dwCount, 1u);
    EXPECT_EQ(U16(two.bytes, 0), 5);
    EXPECT_EQ(U16(two.bytes, 2), 15);
    EXPECT_EQ(U32(two.bytes, 4), 0x502u);
    EXPECT_EQ(U32(two.bytes, 8), 0xF1u);
    EXPECT_EQ(U32(two.bytes, 12), 0xF2u);
    Answer three = Ask(data.get(), 34, 5, 3);
    EXPECT_EQ(U16(three.bytes, 0), 0);
    EXPECT_EQ(U16(three.bytes, 4), 5);
    EXPECT_EQ(I16(three.bytes, 28), 2);
    EXPECT_EQ(U16(three.bytes, 34), 9);
    Answer six = Ask(data.get(), 34, 1, 6);
    EXPECT_EQ(U16(six.bytes, 2), 1);
    EXPECT_EQ(U16(six.bytes, 4), 0x10D);
    EXPECT_EQ(U32(six.bytes, 28), 0x114u);
    Answer seven = Ask(data.get(), 34, 5, 7);
    EXPECT_EQ(U16(seven.bytes, 4), 5);
    EXPECT_EQ(U16(seven.bytes, 12), 4);
    EXPECT_EQ(Text(seven.bytes, 16, 32), "FINISH5");
    Answer eight = Ask(data.get(), 34, 1, 8);
    EXPECT_EQ(U32(eight.bytes, 4), 0x102u);
    EXPECT_EQ(Text(eight.bytes, 8, 32), "Short1");

    Answer papers = Ask(data.get(), 34, 0, 4);
    ASSERT_EQ(papers.dwCount, 3u);
    EXPECT_EQ(U16(papers.bytes, 24 + 4), 5);
    EXPECT_EQ(U16(papers.bytes, 24 + 6), 1);
    EXPECT_EQ(U32(papers.bytes, 24 + 8), 0x1000u);
    EXPECT_EQ(U32(papers.bytes, 24 + 12), 3u);
}

TEST(SpcFinishMode, SecondEntriesStopAt32PerMode)
{
    SpcDataPtr data = Load(HandModel().Section(34, FinishModes(40)).Build());
    Answer one = Ask(data.get(), 34, 1, 5);
    ASSERT_EQ(one.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(one.dwCount, 32u);
    EXPECT_EQ(U16(one.bytes, 31 * 24 + 6), 531);
    Answer all = Ask(data.get(), 34, 0, 5);
    EXPECT_EQ(all.dwCount, 33u);  // mode 5 is still found behind all 40

    // A short buffer reports the entries that fitted; a mode that yields nothing is not found.
    uint8_t buffer[24 * 3];
    DWORD cb = sizeof buffer, count = 0;
    EXPECT_EQ(SpcQuery(data.get(), 34, 1, 5, buffer, &cb, &count), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cb, 32u * 24);
    EXPECT_EQ(count, 3u);
    Bytes none;
    PutWords(none, {1, 0});
    PutMode(none, 3, {}, 0, true);
    SpcDataPtr empty = Load(HandModel().Section(34, none).Build());
    cb = 0;
    EXPECT_EQ(SpcQuery(empty.get(), 34, 0, 4, nullptr, &cb, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(cb, 0u);
    cb = sizeof buffer;
    EXPECT_EQ(SpcQuery(empty.get(), 34, 0, 4, buffer, &cb, &count), ERROR_NOT_FOUND);
}

// 37 over a model with a duplex unit, source groups, a finisher, lists 32 and 36 and a fixed
// record (29).
Bytes OptionModel(bool bWith35)
{
    Bytes s37;
    PutWords(s37, {2, 3, 25, 26, 27, 4, 29, 32, 35, 36});

    Bytes s25;  // flags, four words, default, count 0, trailer
    PutWords(s25, {0x41, 1, 2, 3, 4, 7, 0, 0, 0, 0, 0, 0});

    // Two groups: group 2 (kind 5) with sources 3 and 4, group 6 (kind 1) with source 3.
    auto putEntry = [](Bytes& b, uint32_t id, uint32_t value, uint32_t extra) {
        PutWords(b, {id, value, extra, 0, 0, 0, 0, 0, 0});
        PutWords(b, {0, 0, 0, 0});  // valued lists A and B, empty
        PutWords(b, {0, 0});
        PutText(b, "", 32);
        PutWords(b, {0, 0});
        PutText(b, "", 32);
        PutWords(b, {0, 0, 0, 0});  // counted list, three words
        PutText(b, "", 32);
        PutText(b, "", 32);
    };
    Bytes s26;
    PutWords(s26, {2});
    PutWords(s26, {2, 5, 0x200, 0});
    PutText(s26, "LCT", 16);
    PutWords(s26, {0, 2});
    putEntry(s26, 3, 0x33, 0x9000);
    putEntry(s26, 4, 0x44, 0x9001);
    PutWords(s26, {6, 1, 0x600, 0});
    PutText(s26, "Tray", 16);
    PutWords(s26, {0, 1});
    putEntry(s26, 3, 0x35, 0x9002);

    Bytes s27;
    Put32(s27, 1);
    PutUnit(s27, 99, 0, 0, {});

    Bytes s29;
    PutWords(s29, {1, 2, 3, 4, 5, 6, 7, 8});
    Bytes s32;
    PutWords(s32, {1, 8, 81, 82, 0x83, 84});
    Bytes s35;
    PutWords(s35, {100, 1, 1, 11, 0x15, 50});
    Bytes s36;
    PutWords(s36, {1, 2, 3, 4, 5, 1, 2, 22, 60, 0x26});

    HandModel model;
    model.Section(25, s25).Section(26, s26).Section(27, s27).Section(29, s29).Section(32, s32).Section(36, s36);
    model.Section(37, s37);
    if (bWith35) {
        model.Section(35, s35);
    }
    return model.Build();
}

TEST(SpcOptionList, ListedCapabilitiesExpandIntoOptionEntries)
{
    SpcDataPtr data = Load(OptionModel(true));
    Answer caps = Ask(data.get(), 37, 0, 1);
    ASSERT_EQ(caps.dwCount, 7u);
    EXPECT_EQ(U16(caps.bytes, 12), 29);
    EXPECT_EQ(U16(caps.bytes, 14), 0);

    Answer a = Ask(data.get(), 37, 0, 2);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    struct Row {
        uint16_t cap;
        uint16_t item;
        uint16_t value;
        uint32_t flags;
    };
    const Row rows[] = {
        {25, 25, 7, 1 + 2},         // bits 0 and 0x40 of the duplex flags
        {26, 3, 0x33, 0x9000},      // member flags and value of the source itself
        {26, 4, 0x44, 0x9001},
        {26, 3, 0x33, 0x9002},      // the value of source 3's first entry; group 6's own flags
        {27, 99, 100, 0x30000},
        {29, 0, 0, 0},              // a capability without a record shape
        {32, 8, 81, 0x83},
        {35, 1, 11, 0x15},
        {36, 2, 22, 0x26},
    };
    ASSERT_EQ(a.dwCount, sizeof rows / sizeof rows[0]);
    for (size_t i = 0; i < a.dwCount; ++i) {
        EXPECT_EQ(U16(a.bytes, 16 * i), rows[i].cap) << i;
        EXPECT_EQ(U16(a.bytes, 16 * i + 2), rows[i].item) << i;
        EXPECT_EQ(U16(a.bytes, 16 * i + 4), rows[i].value) << i;
        EXPECT_EQ(U32(a.bytes, 16 * i + 8), rows[i].flags) << i;
        EXPECT_EQ(U32(a.bytes, 16 * i + 12), 0u) << i;
    }

    Answer only26 = Ask(data.get(), 37, 26, 2);
    EXPECT_EQ(only26.dwCount, 3u);
}

TEST(SpcOptionList, MissingListedCapabilityYieldsNothingAndNoError)
{
    SpcDataPtr data = Load(OptionModel(false));
    Answer a = Ask(data.get(), 37, 0, 2);
    ASSERT_EQ(a.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(a.dwCount, 8u);
    EXPECT_EQ(U16(a.bytes, 16 * 7), 36);
    Answer none = Ask(data.get(), 37, 35, 2);
    EXPECT_EQ(none.dwResult, ERROR_SUCCESS);
    EXPECT_EQ(none.dwCount, 0u);
    EXPECT_EQ(Ask(data.get(), 37, 0, 3).dwResult, ERROR_NOT_SUPPORTED);
}

TEST(SpcOptionList, BytesBehindTheLastEntryOfALargeBufferAreZero)
{
    SpcDataPtr data = Load(OptionModel(true));
    Bytes buffer(64, 0xEE);
    DWORD cb = static_cast<DWORD>(buffer.size()), count = 0;
    ASSERT_EQ(SpcQuery(data.get(), 37, 0, 1, buffer.data(), &cb, &count), ERROR_SUCCESS);
    EXPECT_EQ(count, 7u);
    for (size_t i = 28; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0) << i;
    }
    cb = 8;
    EXPECT_EQ(SpcQuery(data.get(), 37, 0, 1, buffer.data(), &cb, &count), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(cb, 28u);
}

}  // namespace
