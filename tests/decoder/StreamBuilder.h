// Builds printer streams byte by byte for the decoder tests, straight from the command texts and
// the raster block layout (written out here, not taken from the encoder's headers), and encodes
// page planes into raster blocks through the compression library the way the page encoder does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/compress/CompressParams.h"

namespace orvtest {

class StreamBuilder {
public:
    size_t size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    std::vector<uint8_t>& bytes() { return m_bytes; }

    StreamBuilder& Text(const std::string& text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    StreamBuilder& Uel() { return Text("\033%-12345X"); }
    StreamBuilder& Pjl(const std::string& line) { return Text(line + "\r\n"); }

    // UEL, a PJL header, the job commands and "@PJL ENTER LANGUAGE=GDI".
    StreamBuilder& JobStart()
    {
        Uel();
        Text("@PJL JOB NAME=\"test\"\n");
        Text("@PJL SET COPIES=1\n");
        return Pjl("@PJL ENTER LANGUAGE=GDI");
    }

    // The GDI page header with the given raster window.
    StreamBuilder& PageHeader(unsigned width, unsigned height)
    {
        Text("\033&&0S\033&r600W\033&r600L\033&&2Y\033&l26A\033&l7H\033&&11W");
        Text("\033*r" + std::to_string(height) + "T\033*r" + std::to_string(width) + "S");
        return Text("\033&a100L\033&l100E\033&&0T");
    }

    StreamBuilder& PageEnd(int ink) { return Text("\033&&" + std::to_string(ink) + "R"); }

    // GdiEndJob's UEL, then the end-of-job line and the closing UEL.
    StreamBuilder& JobEnd()
    {
        Uel();
        Text("@PJL EOJ=\"test\"\n");
        return Uel();
    }

    // "\033*b0W", then the 16-byte header: u32 length, last-band byte, 0, first-band byte, 0,
    // compression (11 JBIG, 0 none), 0, u16 rows, 0, 0, u16 plane; all little-endian.
    StreamBuilder& RasterBlock(const std::vector<uint8_t>& data, bool firstBand, bool lastBand, bool jbig,
                               unsigned rows, unsigned plane)
    {
        return RasterBlockRaw(data, static_cast<uint32_t>(data.size()), firstBand ? 1 : 0, lastBand ? 1 : 0,
                              jbig ? 11 : 0, rows, plane);
    }
    StreamBuilder& RasterBlockRaw(const std::vector<uint8_t>& data, uint32_t length, uint8_t first, uint8_t last,
                                  uint8_t compression, unsigned rows, unsigned plane)
    {
        Text("\033*b0W");
        const uint8_t header[16] = {static_cast<uint8_t>(length),        static_cast<uint8_t>(length >> 8),
                                    static_cast<uint8_t>(length >> 16),  static_cast<uint8_t>(length >> 24),
                                    last,                                0,
                                    first,                               0,
                                    compression,                         0,
                                    static_cast<uint8_t>(rows),          static_cast<uint8_t>(rows >> 8),
                                    0,                                   0,
                                    static_cast<uint8_t>(plane),         static_cast<uint8_t>(plane >> 8)};
        m_bytes.insert(m_bytes.end(), header, header + 16);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        return *this;
    }

private:
    std::vector<uint8_t> m_bytes;
};

// A page's planes in bitmap order: one plane (monochrome), or cyan, magenta, yellow, black.
struct TestPage {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::vector<uint8_t>> planes;
};

// Appends the raster blocks of a page, band by band, through `compress` (nullptr: all raw): the
// planes of a colour band in the order cyan (1), magenta (2), yellow (3), black (0); a band that
// the library encodes in pieces becomes several blocks, only the first with the first-band flag
// and only the last with the last-band flag; rows the library cannot encode go out raw.
void AppendPageBlocks(StreamBuilder& stream, PFNCOMPRESS compress, const TestPage& page, unsigned bandRows);

}  // namespace orvtest
