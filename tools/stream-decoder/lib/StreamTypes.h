// What the printer-stream decoder makes of a job: the list of everything it met, in stream order,
// the pages rebuilt from their raster blocks, and the first fault, if any.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvdecode {

// Where a malformed stream stops making sense, and what was expected there.
struct StreamError {
    size_t offset = 0;
    std::string message;
};

enum class EventKind {
    Uel,          // "\033%-12345X"
    PjlLine,      // text: the line without its line end
    Command,      // an escape command with one value (one event per parameter of a combined one)
    RasterBlock,  // "\033*b0W" and its header; block holds the fields
    FormFeed,     // the form feed byte that ends a PCL-style page
};

struct RasterBlockInfo {
    uint32_t dataLength = 0;
    bool firstBand = false;
    bool lastBand = false;
    uint8_t compression = 0;  // RASTER_COMPRESSION_...
    uint16_t rows = 0;
    uint16_t plane = 0;       // RASTER_PLANE_...
    size_t page = 0;          // 1-based page the block belongs to
    uint32_t firstRow = 0;    // row of the plane where the block's rows start
};

struct StreamEvent {
    size_t offset = 0;
    EventKind kind = EventKind::Command;
    std::string text;  // PJL line; for a command its sequence with the value, e.g. "\033&&0S"
    std::string name;  // command: what it sets, from the command table
    long value = 0;    // command value
    std::string data;  // the bytes that follow a command with data
    RasterBlockInfo block;
};

// One page as its raster blocks rebuilt it. Planes are indexed by plane number (0 black, 1 cyan,
// 2 magenta, 3 yellow); a monochrome page has plane 0 only.
struct DecodedPage {
    size_t number = 0;     // 1-based
    size_t offset = 0;     // where its first raster block starts
    unsigned width = 0;    // dots, from the raster width command
    unsigned height = 0;   // rows, from the raster height command
    long inkPlanes = 0;    // value of the page end command
    std::array<std::optional<std::vector<uint8_t>>, 4> planes;  // rows of (width + 7) / 8 bytes
    std::array<uint32_t, 4> rowsFilled {};

    size_t RowBytes() const { return (static_cast<size_t>(width) + 7) / 8; }
    bool IsColour() const { return planes[1].has_value(); }
};

struct DecodedStream {
    std::vector<StreamEvent> events;
    std::vector<DecodedPage> pages;  // complete pages only
    std::optional<StreamError> error;

    bool ok() const { return !error.has_value(); }
};

// Names of the planes as the summary and the file names use them.
const char* PlaneName(uint16_t plane);

}  // namespace orvdecode
