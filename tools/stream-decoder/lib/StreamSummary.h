// A readable account of a decoded stream: one line per UEL, PJL line, command and raster block,
// with its offset; a line per rebuilt page; and the fault, if any, with its offset.
#pragma once

#include <string>

#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orvdecode {

std::string FormatSummary(const DecodedStream& stream);

// "offset 1234 (0x4D2): message"
std::string FormatError(const StreamError& error);

}  // namespace orvdecode
