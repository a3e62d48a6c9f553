#include "HandBuiltColorTable.h"
#include "RenderTestSupport.h"

#include "filter/render/color/ColorTableLoad.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using orvtest::StderrCapture;
using rendertest::BuildColorTable;
using rendertest::HandEntry;
using rendertest::KeyFields;
using rendertest::MakeKey;
using rendertest::MakeSettings;
using rendertest::SettingsFields;
using rendertest::TableContext;

HandEntry Lut(KeyFields k, uint8_t fill)
{
    HandEntry e;
    k.type = 1;
    e.key = MakeKey(k);
    e.payload = std::vector<uint8_t>(19652, fill);
    return e;
}

HandEntry Matrix(KeyFields k, uint16_t width, uint16_t height, uint8_t first)
{
    HandEntry e;
    k.type = 2;
    e.key = MakeKey(k);
    e.width = width;
    e.height = height;
    for (int i = 0; i < width * height; ++i) {
        e.payload.push_back(static_cast<uint8_t>(first + i));
    }
    return e;
}

HandEntry Curve(KeyFields k, uint8_t fill, size_t size = 256)
{
    HandEntry e;
    k.type = 4;
    e.key = MakeKey(k);
    e.payload = std::vector<uint8_t>(size, fill);
    return e;
}

// Node (n, n, n) of the LUT, and any node.
const BYTE* Node(const tagCOLORBLOCK* block, int i, int j, int k)
{
    return block->abLut + LutNodeOffset(i, j, k);
}

TEST(LoadColorLut, MediaWithoutItsOwnTableFallsBackToTheGenericOne)
{
    const std::vector<uint8_t> file =
        BuildColorTable({Lut({0, 2, 0, 0}, 0xA0), Lut({0, 2, 0, 7}, 0xB0), Lut({0, 4, 0, 9}, 0xC0)});
    struct Case {
        SettingsFields settings;
        bool found;
        uint8_t fill;
    };
    const Case cases[] = {
        {{2, 0, 0, 2, 0, 7}, true, 0xB0},       {{2, 0, 0, 2, 0, 3}, true, 0xA0},
        {{2, 0, 0, 2, 0, 0x10007}, true, 0xB0},  // only the low 16 bits of the media id count
        {{2, 0, 1, 2, 0, 9}, true, 0xC0},       {{2, 0, 1, 2, 0, 3}, false, 0},  // mode 4 has no generic table
        {{2, 1, 0, 2, 0, 0}, false, 0},                                          // mode 1 has none at all
    };
    for (const Case& tc : cases) {
        TableContext t(file);
        const DRVDEVMODE dm = MakeSettings(tc.settings);
        StderrCapture err;
        EXPECT_EQ(LoadColorLut(&dm, t.context(), t.options()) != 0, tc.found) << tc.settings.media;
        const std::string log = err.Take();
        if (tc.found) {
            EXPECT_EQ(Node(t.block(), 3, 4, 5)[2], tc.fill);
            EXPECT_EQ(t.block()->abLutKey[0], 1);
            EXPECT_TRUE(log.empty()) << log;
        } else {
            EXPECT_NE(log.find("ERROR: "), std::string::npos) << log;
            EXPECT_NE(log.find("ColorTable entry not found"), std::string::npos) << log;
        }
    }
}

TEST(LoadColorLut, MissingTableIsLoggedWithItsKey)
{
    TableContext t(BuildColorTable({Lut({0, 2, 0, 0}, 1)}));
    const DRVDEVMODE dm = MakeSettings({2, 0, 1, 2, 0, 7});  // mode 4, media 7
    StderrCapture err;
    EXPECT_EQ(LoadColorLut(&dm, t.context(), t.options()), 0);
    EXPECT_NE(err.Take().find("ERROR: (PID "), std::string::npos);
    StderrCapture again;
    LoadColorLut(&dm, t.context(), t.options());
    // type 1, mode 4, media 7 (little-endian), resolution code 2
    EXPECT_NE(again.Take().find("key 01040000070002000000000000000000"), std::string::npos);
}

TEST(LoadColorLut, FoldTurnsGrayNodesIntoBlackOnly)
{
    HandEntry folding = Lut({0, 2, 0, 0, 0, 0x01}, 0);
    auto setNode = [&](int i, int j, int k, std::initializer_list<uint8_t> cmyk) {
        std::memcpy(folding.payload.data() + LutNodeOffset(i, j, k), cmyk.begin(), 4);
    };
    setNode(5, 5, 5, {100, 100, 100, 50});
    setNode(8, 8, 8, {120, 90, 200, 10});       // gray part is the smallest ink: 90
    setNode(16, 16, 16, {200, 210, 220, 100});  // 100 + 160 is capped at 255
    setNode(5, 5, 6, {100, 100, 100, 50});      // not on the gray axis
    HandEntry plain = folding;
    plain.key[1] = 4;
    plain.key[7] = 0;
    TableContext t(BuildColorTable({folding, plain}));

    const DRVDEVMODE folded = MakeSettings({2, 0, 0});
    ASSERT_EQ(LoadColorLut(&folded, t.context(), t.options()), 0xFFFF);
    struct Case {
        int i, j, k;
        uint8_t c, m, y, black;
    };
    const Case cases[] = {
        {5, 5, 5, 0, 0, 0, 130},      {8, 8, 8, 0, 0, 0, 82}, {16, 16, 16, 0, 0, 0, 255},
        {5, 5, 6, 100, 100, 100, 50}, {0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& tc : cases) {
        const BYTE* n = Node(t.block(), tc.i, tc.j, tc.k);
        EXPECT_EQ(n[0], tc.c) << tc.i << tc.j << tc.k;
        EXPECT_EQ(n[1], tc.m);
        EXPECT_EQ(n[2], tc.y);
        EXPECT_EQ(n[3], tc.black) << tc.i << tc.j << tc.k;
    }
    EXPECT_EQ(t.block()->abLutKey[7], 0x01);

    // Without the flag the table is used as stored.
    const DRVDEVMODE stored = MakeSettings({2, 0, 1});
    ASSERT_EQ(LoadColorLut(&stored, t.context(), t.options()), 0xFFFF);
    const BYTE* n = Node(t.block(), 5, 5, 5);
    EXPECT_EQ(std::vector<int>(n, n + 4), (std::vector<int>{100, 100, 100, 50}));
}

TEST(LoadColorLut, MonochromePagesLoadNoLut)
{
    TableContext t(BuildColorTable({Lut({0, 2, 0, 0}, 0x42)}));
    const DRVDEVMODE dm = MakeSettings({1});
    EXPECT_EQ(LoadColorLut(&dm, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(Node(t.block(), 1, 1, 1)[0], 0);
    EXPECT_EQ(t.block()->abLutKey[0], 0);
}

TEST(LoadDitherMatrices, TonerBitChoosesMatricesButNotCurvesOrLuts)
{
    const std::vector<uint8_t> file = BuildColorTable({
        Lut({0, 2, 0, 0, 0, 0, 0, 0, 0}, 0x01), Matrix({0, 0, 16, 0, 2}, 2, 2, 0x10),
        Matrix({0, 0, 16, 0, 2, 0, 0, 0, 0x80}, 2, 2, 0x90), Curve({0, 0, 16, 0, 2}, 0x20),
        Curve({0, 0, 16, 0, 2, 0, 0, 0, 0x80}, 0xA0),  // last match: taken with or without toner save
    });
    struct Case {
        SHORT tonerSave;
        DWORD langFlags;
        uint8_t matrix;
    };
    const Case cases[] = {
        {1, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE, 0x90},
        {0, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE, 0x10},
        {1, TONERSAVE_SUPPORTED, 0x10},  // toner save made by colour adjustment, not by screens
    };
    for (const Case& tc : cases) {
        TableContext t(file, tc.langFlags);
        const DRVDEVMODE dm = MakeSettings({1, 0, 0, 2, tc.tonerSave});
        ASSERT_EQ(LoadDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
        EXPECT_EQ(t.block()->apMatrix[SLOT_BLACK][0], tc.matrix) << tc.tonerSave;
        ASSERT_EQ(LoadToneCurves(&dm, t.context(), t.options()), 0xFFFF);
        EXPECT_EQ(t.block()->apToneCurve[SLOT_BLACK][0], 0xA0) << tc.tonerSave;
    }

    TableContext colour(file, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE);
    const DRVDEVMODE saving = MakeSettings({2, 0, 0, 2, 1});
    EXPECT_EQ(LoadColorLut(&saving, colour.context(), colour.options()), 0xFFFF) << "LUTs ignore the toner bit";
}

TEST(LoadDitherMatrices, RowsAreTiledToThePageRowRoundedUpToFourBytes)
{
    struct Case {
        DWORD pageWidth;
        LONG multiplier;
        uint16_t matrixWidth;
        DWORD rowBytes;
    };
    const Case cases[] = {
        {10, 1, 5, 12}, {10, 2, 3, 20},
        {13, 2, 4, 28}, {4, 1, 8, 4},  // a matrix wider than the page keeps its first columns
        {1, 1, 1, 4},   {16, 1, 16, 16},
    };
    for (const Case& tc : cases) {
        const std::vector<uint8_t> file = BuildColorTable({Matrix({0, 0, 16, 0, 2}, tc.matrixWidth, 3, 1)});
        TableContext t(file);
        t.context()->lResMultiplierX = tc.multiplier;
        t.options()->dwPageWidth = tc.pageWidth;
        const DRVDEVMODE dm = MakeSettings({1});
        ASSERT_EQ(LoadDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
        ASSERT_EQ(t.block()->dwMatrixRowBytes, tc.rowBytes) << tc.pageWidth << "x" << tc.multiplier;
        ASSERT_EQ(t.block()->adwMatrixHeight[SLOT_BLACK], 3u);
        for (DWORD row = 0; row < 3; ++row) {
            for (DWORD x = 0; x < tc.rowBytes; ++x) {
                // Matrix byte (row, x mod width) was written as 1 + row * width + column.
                const int expected = 1 + static_cast<int>(row * tc.matrixWidth + x % tc.matrixWidth);
                ASSERT_EQ(t.block()->apMatrix[SLOT_BLACK][row * tc.rowBytes + x], expected)
                    << "page " << tc.pageWidth << " row " << row << " column " << x;
            }
        }
    }
}

TEST(LoadDitherMatrices, SlotsThePageDoesNotLoadAreFreed)
{
    std::vector<HandEntry> entries;
    for (uint8_t plane : {1, 2, 4, 8, 16}) {
        entries.push_back(Matrix({0, 0, plane, 0, 2}, 2, 2, plane));
    }
    entries.push_back(Matrix({0, 0, 1, 0, 4}, 2, 2, 0x40));  // resolution code 4: cyan only
    TableContext t(BuildColorTable(entries));

    const DRVDEVMODE colour = MakeSettings({2});
    ASSERT_EQ(LoadDitherMatrices(&colour, t.context(), t.options()), 0xFFFF);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        ASSERT_NE(t.block()->apMatrix[slot], nullptr) << slot;
        EXPECT_EQ(t.block()->apMatrix[slot][0], 1 << slot);
    }

    // A monochrome page uses the black slot only; the colour screens of the last page go.
    const DRVDEVMODE mono = MakeSettings({1});
    ASSERT_EQ(LoadDitherMatrices(&mono, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(t.block()->apMatrix[SLOT_BLACK][0], 16);
    for (int slot : {SLOT_CYAN, SLOT_MAGENTA, SLOT_YELLOW}) {
        EXPECT_EQ(t.block()->apMatrix[slot], nullptr) << slot;
        EXPECT_EQ(t.block()->adwMatrixHeight[slot], 0u);
    }

    // Quality 3 finds cyan but not magenta: nothing after the missing plane is loaded, and no
    // plane keeps the previous page's screen.
    ASSERT_EQ(LoadDitherMatrices(&colour, t.context(), t.options()), 0xFFFF);
    const DRVDEVMODE fine = MakeSettings({2, 0, 0, 3});
    StderrCapture err;
    EXPECT_EQ(LoadDitherMatrices(&fine, t.context(), t.options()), 0);
    EXPECT_NE(err.Take().find("key 02020200000004"), std::string::npos);
    ASSERT_NE(t.block()->apMatrix[SLOT_CYAN], nullptr);
    EXPECT_EQ(t.block()->apMatrix[SLOT_CYAN][0], 0x40);
    for (int slot : {SLOT_MAGENTA, SLOT_YELLOW, SLOT_BLACK}) {
        EXPECT_EQ(t.block()->apMatrix[slot], nullptr) << slot;
    }

    // A page without size loads nothing and keeps nothing.
    t.options()->dwPageWidth = 0;
    EXPECT_EQ(LoadDitherMatrices(&colour, t.context(), t.options()), 0);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        EXPECT_EQ(t.block()->apMatrix[slot], nullptr) << slot;
    }
}

TEST(LoadToneCurves, EachSlotGetsExactlyOneCurve)
{
    HandEntry longCurve = Curve({0, 0, 8, 0, 2}, 0, 300);
    for (size_t i = 0; i < 300; ++i) {
        longCurve.payload[i] = static_cast<uint8_t>(i);
    }
    TableContext t(BuildColorTable({Curve({0, 0, 1, 0, 2}, 0x11), Curve({0, 0, 2, 0, 2}, 0x22),
                                    Curve({0, 0, 4, 0, 2}, 0x44), longCurve, Curve({0, 0, 16, 0, 1}, 0x66)}));
    const DRVDEVMODE colour = MakeSettings({2});
    ASSERT_EQ(LoadToneCurves(&colour, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_CYAN][255], 0x11);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_MAGENTA][0], 0x22);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_YELLOW][128], 0x44);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(t.block()->apToneCurve[SLOT_BLACK][i], i);
    }

    // The monochrome curve (resolution code 1 here) goes into the black slot.
    const DRVDEVMODE mono = MakeSettings({1, 0, 0, 1});
    ASSERT_EQ(LoadToneCurves(&mono, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_BLACK][200], 0x66);
}

TEST(LoadToneCurves, LoadingStopsAtTheFirstMissingPlane)
{
    TableContext t(
        BuildColorTable({Curve({0, 0, 1, 0, 2}, 0x11), Curve({0, 0, 2, 0, 2}, 0x22), Curve({0, 0, 8, 0, 2}, 0x88)}));
    const DRVDEVMODE colour = MakeSettings({2});
    StderrCapture err;
    EXPECT_EQ(LoadToneCurves(&colour, t.context(), t.options()), 0);
    EXPECT_NE(err.Take().find("key 04020400000002"), std::string::npos);
    EXPECT_NE(t.block()->apToneCurve[SLOT_CYAN], nullptr);
    EXPECT_NE(t.block()->apToneCurve[SLOT_MAGENTA], nullptr);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_YELLOW], nullptr);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_BLACK], nullptr) << "black comes after the missing yellow";

    const DRVDEVMODE mono = MakeSettings({1});
    StderrCapture monoErr;
    EXPECT_EQ(LoadToneCurves(&mono, t.context(), t.options()), 0);
    EXPECT_NE(monoErr.Take().find("key 04021000000002"), std::string::npos);
}

TEST(LoadGrayWeights, LastEntryWinsWhateverItsOtherKeyBytes)
{
    HandEntry first;
    first.key = MakeKey({5, 1, 16, 3, 2});
    first.payload = {1, 0, 2, 0, 3, 0};
    HandEntry last;
    last.key = MakeKey({5, 5, 8, 0x1234, 8, 0xFF, 1, 2, 0x80});
    last.payload = {30, 0, 59, 0, 0xF5, 0xFF};  // -11 as a signed weight
    TableContext t(BuildColorTable({first, last}));
    const DRVDEVMODE dm = MakeSettings({2});
    EXPECT_EQ(LoadGrayWeights(&dm, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(t.context()->asGrayWeight[0], 30);
    EXPECT_EQ(t.context()->asGrayWeight[1], 59);
    EXPECT_EQ(t.context()->asGrayWeight[2], -11);

    TableContext none(BuildColorTable({Curve({0, 0, 16, 0, 2}, 1)}));
    none.context()->asGrayWeight[0] = 99;
    EXPECT_EQ(LoadGrayWeights(&dm, none.context(), none.options()), 0);
    EXPECT_EQ(none.context()->asGrayWeight[0], 31);
    EXPECT_EQ(none.context()->asGrayWeight[1], 56);
    EXPECT_EQ(none.context()->asGrayWeight[2], 13);
}

TEST(RendererSetupColorTables, CurvesFollowOnlyAFoundLut)
{
    std::vector<HandEntry> entries = {Lut({0, 2, 0, 0}, 0x10)};
    for (uint8_t plane : {1, 2, 4, 8, 16}) {
        entries.push_back(Curve({0, 0, plane, 0, 2}, plane));
    }
    TableContext t(BuildColorTable(entries));
    t.context()->pColorCache =
        static_cast<tagCOLORCACHEENTRY*>(std::calloc(COLOR_CACHE_ENTRIES, sizeof(tagCOLORCACHEENTRY)));
    t.context()->pColorCache[300].bCyan = 9;

    const DRVDEVMODE found = MakeSettings({2});
    EXPECT_EQ(RendererSetupColorTables(&found, t.context(), t.options()), 1);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_YELLOW][0], 4);
    EXPECT_EQ(t.context()->pColorCache[300].bCyan, 0) << "the cache starts empty every page";
    EXPECT_EQ(t.context()->pColorCache[0].bRed, 255);
    EXPECT_EQ(t.context()->pColorCache[0].bGreen, 255);
    EXPECT_EQ(t.context()->pColorCache[0].bBlue, 255);

    // Mode 4 has no LUT: the curves are not looked at and the previous ones stay.
    t.block()->apToneCurve[SLOT_YELLOW][0] = 0x5A;
    const DRVDEVMODE missing = MakeSettings({2, 0, 1});
    StderrCapture err;
    EXPECT_EQ(RendererSetupColorTables(&missing, t.context(), t.options()), 0);
    err.Take();
    EXPECT_EQ(t.block()->apToneCurve[SLOT_YELLOW][0], 0x5A);

    const DRVDEVMODE mono = MakeSettings({1});
    EXPECT_EQ(RendererSetupColorTables(&mono, t.context(), t.options()), 1);
    EXPECT_EQ(t.block()->apToneCurve[SLOT_BLACK][0], 16);
}

TEST(RendererSetupColorTables, LanguageTypeZeroLoadsNothingAndSucceeds)
{
    TableContext t(BuildColorTable({Lut({0, 2, 0, 0}, 0x10)}));
    t.options()->dwLangType = LANGTYPE_NONE;
    const DRVDEVMODE dm = MakeSettings({2});
    EXPECT_EQ(RendererSetupColorTables(&dm, t.context(), t.options()), 1);
    EXPECT_EQ(Node(t.block(), 0, 0, 0)[0], 0);
    t.context()->wBandFlags = BAND_LAST;
    EXPECT_EQ(RendererSetupDitherMatrices(&dm, t.context(), t.options()), 0xFFFF);
    EXPECT_EQ(t.context()->wBandFlags, BAND_FIRST);
    EXPECT_EQ(t.block()->apMatrix[SLOT_CYAN], nullptr);
}

}  // namespace
