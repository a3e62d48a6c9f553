// The printer-stream decoder: parses a whole job as the filter sends it (UEL, PJL lines, "@PJL
// ENTER LANGUAGE=GDI", the GDI job, page and raster-block commands, the closing UEL), decodes
// every raster block (JBIG or uncompressed) and rebuilds each page's bit-planes. The stream is
// untrusted: the first fault ends decoding with its offset and what was expected there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orvdecode {

// Limits that keep a hostile stream from asking for unbounded memory: the raster width fits the
// compression library's 16-bit width, and one plane of a page stays below 64 MiB (an A3 page at
// 1200 dpi needs 35 MiB).
inline constexpr long kMaxRasterWidth = 65535;
inline constexpr long kMaxRasterHeight = 1L << 20;
inline constexpr size_t kMaxPlaneBytes = size_t(64) << 20;
inline constexpr size_t kMaxPjlLineLength = 4096;

DecodedStream DecodeStream(const uint8_t* data, size_t size);

}  // namespace orvdecode
