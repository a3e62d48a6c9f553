#include "tools/stream-decoder/lib/StreamSummary.h"

#include <cstdio>

#include "filter/render/encode/RasterBlockLayout.h"

namespace orvdecode {

namespace {

// PJL text with anything unprintable shown as \xNN, so that the summary stays one line per item.
std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::string Line(size_t offset, const std::string& text)
{
    char prefix[24];
    std::snprintf(prefix, sizeof(prefix), "%10zu  ", offset);
    return prefix + text + "\n";
}

std::string DescribeBlock(const RasterBlockInfo& block)
{
    char text[160];
    std::snprintf(text, sizeof(text), "raster block  page %zu  plane %u %-7s  rows %u-%u  %s  %u bytes%s%s",
                  block.page, block.plane, PlaneName(block.plane), block.firstRow,
                  block.firstRow + block.rows - 1, block.compression == RASTER_COMPRESSION_JBIG ? "JBIG" : "raw ",
                  block.dataLength, block.firstBand ? "  first band" : "", block.lastBand ? "  last band" : "");
    return text;
}

}  // namespace

std::string FormatError(const StreamError& error)
{
    char prefix[64];
    std::snprintf(prefix, sizeof(prefix), "offset %zu (0x%zX): ", error.offset, error.offset);
    return prefix + error.message;
}

std::string FormatSummary(const DecodedStream& stream)
{
    std::string out;
    for (const StreamEvent& event : stream.events) {
        switch (event.kind) {
        case EventKind::Uel:
            out += Line(event.offset, "UEL");
            break;
        case EventKind::PjlLine:
            out += Line(event.offset, Printable(event.text));
            break;
        case EventKind::Command: {
            char text[96];
            std::snprintf(text, sizeof(text), "%-14s %s = %ld", event.text.c_str(), event.name.c_str(), event.value);
            out += Line(event.offset, event.data.empty() ? text : text + ("  \"" + Printable(event.data) + "\""));
            break;
        }
        case EventKind::FormFeed:
            out += Line(event.offset, "FF             form feed, page end");
            break;
        case EventKind::RasterBlock:
            out += Line(event.offset, DescribeBlock(event.block));
            break;
        }
    }
    for (const DecodedPage& page : stream.pages) {
        char text[128];
        std::snprintf(text, sizeof(text), "page %zu: %u x %u dots, %s, ink planes %ld\n", page.number, page.width,
                      page.height, page.IsColour() ? "colour (cyan, magenta, yellow, black)" : "monochrome",
                      page.inkPlanes);
        out += text;
    }
    if (stream.error) {
        out += "error at " + FormatError(*stream.error) + "\n";
    } else {
        out += std::to_string(stream.pages.size()) + (stream.pages.size() == 1 ? " page" : " pages") + ", stream complete\n";
    }
    return out;
}

}  // namespace orvdecode
