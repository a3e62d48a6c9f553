// Reading one raster block: its 16-byte header (after "\033*b0W") and its data, uncompressed rows
// or one JBIG image, decoded into rows of the page's plane. Every length and count in the block is
// checked against the stream and the page before anything is copied or allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orvdecode {

// Reads and checks the header at data[offset]; info gets its fields (page and row are left).
bool ReadRasterBlockHeader(const uint8_t* data, size_t size, size_t offset, RasterBlockInfo& info,
                           StreamError& error);

// Decodes the block's data (info.dataLength bytes at data[offset], all inside the stream) into
// info.rows rows of a plane `width` dots wide at dest, which has room for them.
bool DecodeRasterBlockData(const uint8_t* data, size_t offset, const RasterBlockInfo& info, unsigned width,
                           uint8_t* dest, StreamError& error);

}  // namespace orvdecode
