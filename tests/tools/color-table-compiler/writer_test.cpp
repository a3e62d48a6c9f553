#include "lib/ColorTableWriter.h"

#include "filter/render/color/ColorTableFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using ctc::TableEntry;
using ctc::WriteColorTable;

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

TableEntry Entry(uint8_t type, uint8_t tag, size_t size, uint16_t width = 0, uint16_t height = 0)
{
    TableEntry e;
    e.key[0] = type;
    e.key[2] = tag;
    e.payload.assign(size, tag);
    e.width = width;
    e.height = height;
    return e;
}

TEST(ColorTableWriter, BytesFollowTheFileLayout)
{
    // Given out of type order: the writer groups them by section.
    const std::vector<TableEntry> entries = {Entry(4, 0x41, 256), Entry(2, 0x21, 6, 3, 2), Entry(4, 0x42, 256),
                                             Entry(5, 0x51, 6)};
    std::string error;
    const std::vector<uint8_t> b = WriteColorTable(entries, &error);
    ASSERT_EQ(error, "");

    const uint32_t directory = U32(b, 8);
    ASSERT_EQ(directory, 12u);
    EXPECT_EQ(U32(b, directory + 0), 0u) << "no LUT section";
    EXPECT_EQ(U32(b, directory + 8), 0u) << "no type-3 section";
    const uint32_t matrices = U32(b, directory + 4);
    const uint32_t curves = U32(b, directory + 12);
    const uint32_t weights = U32(b, directory + 16);
    ASSERT_NE(matrices, 0u);

    struct Expect {
        uint32_t section;
        uint16_t count;
        uint8_t firstTag;
    };
    for (const Expect& x : {Expect{matrices, 1, 0x21}, Expect{curves, 2, 0x41}, Expect{weights, 1, 0x51}}) {
        EXPECT_EQ(U16(b, x.section + 4), x.count);
        EXPECT_EQ(U16(b, x.section + 6), 28u);
        for (uint16_t i = 0; i < x.count; ++i) {
            const size_t e = x.section + 8 + 28u * i;
            const uint8_t tag = static_cast<uint8_t>(x.firstTag + i);
            EXPECT_EQ(b[e + 2], tag);
            const uint64_t start = uint64_t{U32(b, e + 16)} + U32(b, e + 20);
            const uint32_t size = b[e] == 2 ? uint32_t{U16(b, e + 24)} * U16(b, e + 26) : U32(b, e + 24);
            ASSERT_LE(start + size, b.size());
            for (uint32_t k = 0; k < size; ++k) {
                ASSERT_EQ(b[start + k], tag) << "entry " << int(tag) << " byte " << k;
            }
        }
    }
    EXPECT_EQ(U16(b, matrices + 8 + 24), 3u);
    EXPECT_EQ(U16(b, matrices + 8 + 26), 2u);
}

TEST(ColorTableWriter, RendererReadsWhatTheWriterWrote)
{
    TableEntry lut = Entry(1, 0, 19652);
    lut.key[1] = 4;
    lut.key[4] = 0x34;
    lut.key[5] = 0x12;
    lut.key[7] = 0x03;
    lut.key[8] = 60;
    lut.key[9] = 90;
    for (size_t i = 0; i < lut.payload.size(); ++i) {
        lut.payload[i] = static_cast<uint8_t>(i * 13);
    }
    const std::vector<TableEntry> entries = {lut, Entry(2, 8, 12, 4, 3), Entry(3, 0, 7), Entry(4, 16, 256)};
    std::string error;
    const std::vector<uint8_t> b = WriteColorTable(entries, &error);
    ASSERT_EQ(error, "");
    tagCOLORTABLEIMAGE* image = LoadColorTableImage(b.data(), b.size());
    ASSERT_NE(image, nullptr);

    BYTE mask[16] = {0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF};
    tagCOLORTABLEENTRY found{};
    ASSERT_EQ(FindColorTableEntry(lut.key.data(), mask, image, &found), 0xFFFF);
    EXPECT_EQ(found.dwSize, 19652u);
    EXPECT_EQ(std::memcmp(found.pPayload, lut.payload.data(), 19652), 0);
    EXPECT_EQ(std::memcmp(found.abKey, lut.key.data(), 16), 0);

    ASSERT_EQ(FindColorTableEntry(entries[1].key.data(), mask, image, &found), 0xFFFF);
    EXPECT_EQ(found.dwWidth, 4u);
    EXPECT_EQ(found.dwHeight, 3u);
    EXPECT_EQ(found.dwSize, 12u);
    FreeColorTableImage(image);
}

TEST(ColorTableWriter, RefusesEntriesItCannotWrite)
{
    struct Case {
        const char* what;
        TableEntry entry;
    };
    const Case cases[] = {
        {"type 0", Entry(0, 0, 4)},
        {"type 6", Entry(6, 0, 4)},
        {"matrix sides not matching its bytes", Entry(2, 0, 10, 3, 3)},
    };
    for (const Case& tc : cases) {
        std::string error;
        EXPECT_TRUE(WriteColorTable({tc.entry}, &error).empty()) << tc.what;
        EXPECT_NE(error, "") << tc.what;
    }
    std::string error;
    EXPECT_FALSE(WriteColorTable({}, &error).empty()) << "a file of no tables is still a file";
    EXPECT_EQ(error, "");
}

}  // namespace
