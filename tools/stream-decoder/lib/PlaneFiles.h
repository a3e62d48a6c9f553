// Writes one decoded plane as an image file: PBM (P4, a set bit is black, as in the plane) or a
// 1-bit grey PNG (black where the plane prints).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvdecode {

// rows of (width + 7) / 8 bytes; false when the file cannot be written.
bool WritePbm(const std::string& path, const std::vector<uint8_t>& rows, unsigned width, unsigned height);
bool WritePng(const std::string& path, const std::vector<uint8_t>& rows, unsigned width, unsigned height);

}  // namespace orvdecode
