// Layout of a GDI raster block: the command "\033*b0W", a 16-byte little-endian header, then the
// data (one JBIG image, or the rows uncompressed, each (width + 7) / 8 bytes, top to bottom).
// Written by the page encoder, read back by the project's stream decoder; the header is read and
// written only through these offsets.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr char kRasterBlockCommand[] = "\033*b0W";
inline constexpr size_t kRasterBlockCommandLength = sizeof(kRasterBlockCommand) - 1;

inline constexpr size_t kRasterBlockHeaderSize = 16;
inline constexpr size_t kRasterBlockLengthOffset = 0;       // u32: bytes of data after the header
inline constexpr size_t kRasterBlockLastBandOffset = 4;     // byte: 1 in the page's last band
inline constexpr size_t kRasterBlockFirstBandOffset = 6;    // byte: 1 in the page's first band
inline constexpr size_t kRasterBlockCompressionOffset = 8;  // byte: RASTER_COMPRESSION_...
inline constexpr size_t kRasterBlockRowsOffset = 10;        // u16: rows in the block
inline constexpr size_t kRasterBlockPlaneOffset = 14;       // u16: RASTER_PLANE_...
// Bytes 5, 7, 9, 12 and 13 are 0.

inline constexpr uint8_t RASTER_COMPRESSION_NONE = 0;
inline constexpr uint8_t RASTER_COMPRESSION_JBIG = 11;

// Plane numbers: black is also the one plane of a monochrome page. A colour band is sent in the
// order cyan, magenta, yellow, black.
inline constexpr uint16_t RASTER_PLANE_BLACK = 0;
inline constexpr uint16_t RASTER_PLANE_CYAN = 1;
inline constexpr uint16_t RASTER_PLANE_MAGENTA = 2;
inline constexpr uint16_t RASTER_PLANE_YELLOW = 3;
inline constexpr uint16_t kRasterPlaneCount = 4;
