// Writes colour-table files: a header, a directory of five sections, the sections' 28-byte
// entries and every payload, all little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ctc {

using Key = std::array<uint8_t, 16>;

struct TableEntry {
    Key key{};  // byte 0 is the section type
    std::vector<uint8_t> payload;
    uint16_t width = 0;  // threshold matrices: bytes per row
    uint16_t height = 0;  // threshold matrices: rows
};

// The file's bytes, entries in the given order within each section; "" in error when it could be
// written, else why not (a type outside 1..5, a matrix whose sides do not match its payload, more
// than 65535 entries in a section, a file past 4 GB).
std::vector<uint8_t> WriteColorTable(const std::vector<TableEntry>& entries, std::string* error);

}  // namespace ctc
