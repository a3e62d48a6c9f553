// Helpers of the page-encoding tests: a page bitmap filled from test planes, the renderer's output
// drained into bytes, raster blocks read back from those bytes by the layout table (offsets written
// out here, not taken from the encoder's headers), and a printer stream around a page for the
// stream decoder.
#pragma once

#include "core/settings/DevMode.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace encodetest {

// A raster block as the printer reads it: "\033*b0W", then u32 length (LE), byte 4 last band,
// byte 5 zero, byte 6 first band, byte 7 zero, byte 8 compression (11 JBIG, 0 none), byte 9 zero,
// u16 rows (LE) at 10, bytes 12 and 13 zero, u16 plane (LE) at 14, then the data.
struct Block {
    uint32_t length = 0;
    bool last = false;
    bool first = false;
    uint8_t compression = 0;
    uint16_t rows = 0;
    uint16_t plane = 0;
    bool zeroBytesZero = true;  // bytes 5, 7, 9, 12, 13 are all 0
    std::vector<uint8_t> data;
};

inline uint32_t Le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Every block of `bytes`, which must hold blocks only; a malformed sequence fails the test.
inline std::vector<Block> ReadBlocks(const std::vector<uint8_t>& bytes)
{
    static const char kCommand[] = "\033*b0W";
    std::vector<Block> blocks;
    size_t pos = 0;
    while (pos < bytes.size()) {
        EXPECT_GE(bytes.size() - pos, 5u + 16u) << "truncated block at " << pos;
        if (bytes.size() - pos < 21 || std::memcmp(bytes.data() + pos, kCommand, 5) != 0) {
            ADD_FAILURE() << "expected ESC*b0W at " << pos;
            return blocks;
        }
        const uint8_t* h = bytes.data() + pos + 5;
        Block b;
        b.length = Le32(h);
        b.last = h[4] != 0;
        b.first = h[6] != 0;
        b.compression = h[8];
        b.rows = Le16(h + 10);
        b.plane = Le16(h + 14);
        b.zeroBytesZero = h[5] == 0 && h[7] == 0 && h[9] == 0 && h[12] == 0 && h[13] == 0;
        EXPECT_TRUE(h[4] == 0 || h[4] == 1);
        EXPECT_TRUE(h[6] == 0 || h[6] == 1);
        pos += 21;
        if (bytes.size() - pos < b.length) {
            ADD_FAILURE() << "block data runs past the bytes at " << pos;
            return blocks;
        }
        b.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                      bytes.begin() + static_cast<std::ptrdiff_t>(pos + b.length));
        pos += b.length;
        blocks.push_back(std::move(b));
    }
    return blocks;
}

// Everything the renderer left in its output buffer, drained as the front end drains it.
inline std::vector<uint8_t> DrainOutput(tagRENDERCONTEXT* context)
{
    std::vector<uint8_t> bytes;
    DWORD length = 0;
    while (const BYTE* chunk = RendererTakeOutputChunk(context, &length)) {
        bytes.insert(bytes.end(), chunk, chunk + length);
    }
    RendererClearOutput(context);
    return bytes;
}

inline size_t RowBytes(unsigned width)
{
    return (static_cast<size_t>(width) + 7) / 8;
}

// A job of one page for the stream decoder: UEL, the language switch, the raster window, the
// page's raster blocks, the page end and the closing UEL.
inline std::vector<uint8_t> WrapPage(const std::vector<uint8_t>& blocks, unsigned width, unsigned height)
{
    const std::string head = std::string("\033%-12345X@PJL ENTER LANGUAGE=GDI\r\n") + "\033*r" +
                             std::to_string(height) + "T\033*r" + std::to_string(width) + "S";
    const std::string tail = "\033&&15R\033%-12345X";
    std::vector<uint8_t> stream(head.begin(), head.end());
    stream.insert(stream.end(), blocks.begin(), blocks.end());
    stream.insert(stream.end(), tail.begin(), tail.end());
    return stream;
}

// A renderer context and option block of a GDI model with a page bitmap filled from `planes`
// (bitmap order: one plane, or cyan, magenta, yellow, black), as the screening leaves it.
class EncodePageFixture {
public:
    EncodePageFixture()
    {
        m_context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        m_context->lResMultiplierX = 1;
        m_context->lResMultiplierY = 1;
        m_context->dwCompressOption = 2;
        m_options.dwLangType = LANGTYPE_GDI;
        m_settings.dm.dmPrintQuality = 600;
        m_settings.dm.dmOrientation = 1;
        m_settings.priv.dmUnitOfLayout = 600;
    }
    ~EncodePageFixture()
    {
        FreePageBitmap(m_options.pPageBitmap);
        RendererFree(m_context);
    }
    EncodePageFixture(const EncodePageFixture&) = delete;
    EncodePageFixture& operator=(const EncodePageFixture&) = delete;

    // Allocates the page through AllocPageBitmap and copies the planes in.
    void SetPage(unsigned width, unsigned height, const std::vector<std::vector<uint8_t>>& planes)
    {
        m_settings.priv.dmColor = planes.size() == 1 ? 1 : 2;
        ASSERT_EQ(AllocPageBitmap(width, height, &m_settings, m_context, &m_options), FLAG_TRUE);
        tagPAGEBITMAP* bitmap = m_options.pPageBitmap;
        ASSERT_EQ(bitmap->dwPlanes, planes.size());
        ASSERT_EQ(bitmap->cbRowBytes, RowBytes(width));
        for (size_t i = 0; i < planes.size(); ++i) {
            ASSERT_EQ(planes[i].size(), PagePlaneBytes(bitmap));
            if (!planes[i].empty()) {
                std::memcpy(bitmap->pBits + i * PagePlaneBytes(bitmap), planes[i].data(), planes[i].size());
            }
        }
    }

    tagRENDERCONTEXT* context() { return m_context; }
    tagRENDEROPTIONS* options() { return &m_options; }
    DRVDEVMODE* settings() { return &m_settings; }

private:
    tagRENDERCONTEXT* m_context = nullptr;
    tagRENDEROPTIONS m_options{};
    DRVDEVMODE m_settings{};
};

}  // namespace encodetest
