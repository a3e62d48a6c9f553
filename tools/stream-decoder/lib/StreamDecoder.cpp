#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <cstring>
#include <string>
#include <utility>

#include "filter/render/encode/RasterBlockLayout.h"
#include "tools/stream-decoder/lib/CommandTable.h"
#include "tools/stream-decoder/lib/EscapeSyntax.h"
#include "tools/stream-decoder/lib/RasterBlockReader.h"

namespace orvdecode {

namespace {

constexpr char kPjlPrefix[] = "@PJL";
constexpr size_t kPjlPrefixLength = sizeof(kPjlPrefix) - 1;
constexpr char kEnterGdi[] = "@PJL ENTER LANGUAGE=GDI";
constexpr char kEnterLanguage[] = "@PJL ENTER LANGUAGE=";
constexpr uint8_t kFormFeed = 0x0C;

class Decoder {
public:
    Decoder(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    DecodedStream Run()
    {
        if (!IsUelAt(m_data, m_size, 0)) {
            Fail(0, "expected the job to start with the UEL (ESC%-12345X), found " + DescribeByte(m_data, m_size, 0));
            return std::move(m_result);
        }
        bool ok = true;
        while (ok && m_pos < m_size) {
            if (IsUelAt(m_data, m_size, m_pos)) {
                ok = OnUel();
            } else if (m_mode == Mode::Pjl) {
                ok = OnPjlLine();
            } else {
                ok = OnGdiCommand();
            }
        }
        if (ok) {
            CheckEnd();
        }
        return std::move(m_result);
    }

private:
    enum class Mode { Pjl, Gdi };

    bool Fail(size_t offset, std::string message)
    {
        m_result.error = StreamError {offset, std::move(message)};
        return false;
    }

    bool Fail(const StreamError& error)
    {
        m_result.error = error;
        return false;
    }

    std::string PageLabel() const { return "page " + std::to_string(m_page ? m_page->number : 0); }

    bool OnUel()
    {
        if (m_page) {
            return Fail(m_pos, PageLabel() + ": expected its page end (ESC&&#R) before the UEL");
        }
        StreamEvent event;
        event.offset = m_pos;
        event.kind = EventKind::Uel;
        event.text = "UEL";
        m_result.events.push_back(std::move(event));
        m_mode = Mode::Pjl;
        m_pos += kUelLength;
        m_endsWithUel = true;
        return true;
    }

    bool OnPjlLine()
    {
        m_endsWithUel = false;
        if (m_size - m_pos < kPjlPrefixLength || std::memcmp(m_data + m_pos, kPjlPrefix, kPjlPrefixLength) != 0) {
            return Fail(m_pos, "expected a PJL line (\"@PJL\") or the UEL, found " + DescribeByte(m_data, m_size, m_pos));
        }
        size_t end = m_pos;
        while (end < m_size && m_data[end] != '\n') {
            const uint8_t c = m_data[end];
            if (c < 0x20 && c != '\t' && !(c == '\r' && end + 1 < m_size && m_data[end + 1] == '\n')) {
                return Fail(end, "PJL line: expected text or the line end, found " + DescribeByte(m_data, m_size, end));
            }
            if (end - m_pos >= kMaxPjlLineLength) {
                return Fail(end, "PJL line: expected the line end within " + std::to_string(kMaxPjlLineLength) +
                                     " bytes");
            }
            ++end;
        }
        if (end >= m_size) {
            return Fail(end, "PJL line: expected the line end, found the end of stream");
        }
        size_t textEnd = end;
        if (textEnd > m_pos && m_data[textEnd - 1] == '\r') {
            --textEnd;
        }
        StreamEvent event;
        event.offset = m_pos;
        event.kind = EventKind::PjlLine;
        event.text.assign(reinterpret_cast<const char*>(m_data + m_pos), textEnd - m_pos);
        if (event.text.compare(0, sizeof(kEnterLanguage) - 1, kEnterLanguage) == 0) {
            if (event.text != kEnterGdi) {
                return Fail(m_pos, "expected \"@PJL ENTER LANGUAGE=GDI\", the only language the decoder reads");
            }
            m_mode = Mode::Gdi;
        }
        m_result.events.push_back(std::move(event));
        m_pos = end + 1;
        return true;
    }

    bool OnGdiCommand()
    {
        m_endsWithUel = false;
        if (m_data[m_pos] == kFormFeed) {
            return OnFormFeed();
        }
        if (m_data[m_pos] != kEsc) {
            return Fail(m_pos, "GDI section: expected an escape sequence (ESC), found " +
                                   DescribeByte(m_data, m_size, m_pos));
        }
        EscapeSequence sequence;
        StreamError error;
        if (!ParseEscape(m_data, m_size, m_pos, sequence, error)) {
            return Fail(error);
        }
        if (sequence.parts.empty()) {
            return OnTwoCharacterCommand(sequence);
        }
        m_pos = sequence.end;
        for (const EscapePart& part : sequence.parts) {
            const CommandInfo* command = FindCommand(sequence.parameter, sequence.group, part.letter);
            if (command == nullptr) {
                return Fail(sequence.offset, "unknown command " + DescribePart(sequence, part));
            }
            if (command->id == CommandId::RasterBlock) {
                if (sequence.parts.size() != 1 || part.value != 0) {
                    return Fail(sequence.offset, "expected the raster block command ESC*b0W");
                }
                return OnRasterBlock(sequence.offset);
            }
            // A command is shown at its ESC; the further parameters of a combined one at their values.
            StreamEvent event;
            event.offset = &part == &sequence.parts.front() ? sequence.offset : part.offset;
            event.kind = EventKind::Command;
            event.text = DescribePart(sequence, part);
            event.name = command->name;
            event.value = part.value;
            if (command->dataFollows && !TakeCommandData(sequence, part, event)) {
                return false;
            }
            if (!OnCommand(*command, event, part.offset)) {
                return false;
            }
            m_result.events.push_back(std::move(event));
        }
        return true;
    }

    bool OnTwoCharacterCommand(const EscapeSequence& sequence)
    {
        const CommandInfo* command = FindCommand(0, sequence.group, 0);
        if (command == nullptr) {
            return Fail(m_pos, "unknown command ESC" + std::string(1, sequence.group));
        }
        StreamEvent event;
        event.offset = sequence.offset;
        event.kind = EventKind::Command;
        event.text = "ESC" + std::string(1, sequence.group);
        event.name = command->name;
        m_result.events.push_back(std::move(event));
        m_pos = sequence.end;
        return true;
    }

    // The bytes counted by the command's value follow its last letter.
    bool TakeCommandData(const EscapeSequence& sequence, const EscapePart& part, StreamEvent& event)
    {
        if (&part != &sequence.parts.back()) {
            return Fail(part.offset, "command with data (" + DescribePart(sequence, part) +
                                         "): expected it to end the sequence");
        }
        if (part.value < 0 || part.value > kMaxCommandData) {
            return Fail(part.offset, "command with data: expected 0 to " + std::to_string(kMaxCommandData) +
                                         " bytes, found " + std::to_string(part.value));
        }
        const size_t count = static_cast<size_t>(part.value);
        if (m_size - m_pos < count) {
            return Fail(m_pos, "command with data: expected " + std::to_string(count) + " bytes, found " +
                                   std::to_string(m_size - m_pos) + " before the end of stream");
        }
        event.data.assign(reinterpret_cast<const char*>(m_data + m_pos), count);
        m_pos += count;
        return true;
    }

    // A PCL-style page has no raster data: its header ends with the form feed.
    bool OnFormFeed()
    {
        if (m_page) {
            return Fail(m_pos, PageLabel() + ": expected its page end (ESC&&#R), found a form feed");
        }
        StreamEvent event;
        event.offset = m_pos;
        event.kind = EventKind::FormFeed;
        event.text = "FF";
        event.name = "form feed";
        m_result.events.push_back(std::move(event));
        ++m_pos;
        return true;
    }

    bool OnCommand(const CommandInfo& command, const StreamEvent& event, size_t valueOffset)
    {
        switch (command.id) {
        case CommandId::RasterWidth:
        case CommandId::RasterHeight: {
            const bool isWidth = command.id == CommandId::RasterWidth;
            if (m_page) {
                return Fail(event.offset, PageLabel() + ": the raster " + (isWidth ? "width" : "height") +
                                              " changes before the page end (ESC&&#R)");
            }
            const long limit = isWidth ? kMaxRasterWidth : kMaxRasterHeight;
            if (event.value < 1 || event.value > limit) {
                return Fail(valueOffset, std::string("raster ") + (isWidth ? "width" : "height") + ": expected 1 to " +
                                              std::to_string(limit) + ", found " + std::to_string(event.value));
            }
            (isWidth ? m_rasterWidth : m_rasterHeight) = event.value;
            return true;
        }
        case CommandId::PageEnd:
            return OnPageEnd(event);
        default:
            return true;
        }
    }

    bool OpenPage(size_t offset)
    {
        if (m_rasterWidth <= 0 || m_rasterHeight <= 0) {
            return Fail(offset, "raster block: expected the raster width (ESC*r#S) and height (ESC*r#T) before "
                                "the first block of a page");
        }
        DecodedPage page;
        page.number = m_result.pages.size() + 1;
        page.offset = offset;
        page.width = static_cast<unsigned>(m_rasterWidth);
        page.height = static_cast<unsigned>(m_rasterHeight);
        if (page.RowBytes() * page.height > kMaxPlaneBytes) {
            return Fail(offset, "page of " + std::to_string(page.width) + " x " + std::to_string(page.height) +
                                    " dots: a plane would exceed the decoder's limit of 64 MiB");
        }
        m_page = std::move(page);
        return true;
    }

    bool OnRasterBlock(size_t commandOffset)
    {
        const size_t headerOffset = m_pos;
        RasterBlockInfo info;
        StreamError error;
        if (!ReadRasterBlockHeader(m_data, m_size, headerOffset, info, error)) {
            return Fail(error);
        }
        if (!m_page && !OpenPage(commandOffset)) {
            return false;
        }
        DecodedPage& page = *m_page;
        std::optional<std::vector<uint8_t>>& plane = page.planes[info.plane];
        if (!plane) {
            plane.emplace(page.RowBytes() * page.height, 0);
        }
        uint32_t& filled = page.rowsFilled[info.plane];
        if (info.rows > page.height - filled) {
            return Fail(headerOffset + kRasterBlockRowsOffset,
                        "raster block: expected at most " + std::to_string(page.height - filled) + " rows (plane " +
                            PlaneName(info.plane) + " has " + std::to_string(filled) + " of the page's " +
                            std::to_string(page.height) + "), found " + std::to_string(info.rows));
        }
        const size_t dataOffset = headerOffset + kRasterBlockHeaderSize;
        uint8_t* dest = plane->data() + filled * page.RowBytes();
        if (!DecodeRasterBlockData(m_data, dataOffset, info, page.width, dest, error)) {
            return Fail(error);
        }
        ClearPaddingBits(dest, info.rows, page);
        info.page = page.number;
        info.firstRow = filled;
        filled += info.rows;

        StreamEvent event;
        event.offset = commandOffset;
        event.kind = EventKind::RasterBlock;
        event.text = "ESC*b0W";
        event.name = "raster block";
        event.block = info;
        m_result.events.push_back(std::move(event));
        m_pos = dataOffset + info.dataLength;
        return true;
    }

    // Planes are kept with the bits past the width cleared, whatever the sender put there.
    static void ClearPaddingBits(uint8_t* rows, size_t count, const DecodedPage& page)
    {
        const unsigned extra = page.width % 8;
        if (extra == 0) {
            return;
        }
        const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - extra));
        for (size_t row = 0; row < count; ++row) {
            rows[row * page.RowBytes() + page.RowBytes() - 1] &= mask;
        }
    }

    bool OnPageEnd(const StreamEvent& event)
    {
        if (!m_page) {
            return Fail(event.offset, "page end (ESC&&#R): expected the page's raster blocks before it");
        }
        DecodedPage& page = *m_page;
        // A monochrome page has the black plane only, a colour page all four.
        const bool colour = page.IsColour();
        for (uint16_t plane = 0; plane < kRasterPlaneCount; ++plane) {
            const bool expected = colour || plane == RASTER_PLANE_BLACK;
            if (page.planes[plane].has_value() != expected) {
                return Fail(event.offset, PageLabel() + ": expected " + (colour ? "the four planes" : "the black plane only") +
                                              ", plane " + PlaneName(plane) + " is " +
                                              (expected ? "missing" : "present"));
            }
            if (expected && page.rowsFilled[plane] != page.height) {
                return Fail(event.offset, PageLabel() + ": expected " + std::to_string(page.height) + " rows in plane " +
                                              PlaneName(plane) + ", found " + std::to_string(page.rowsFilled[plane]));
            }
        }
        page.inkPlanes = event.value;
        m_result.pages.push_back(std::move(page));
        m_page.reset();
        return true;
    }

    void CheckEnd()
    {
        if (m_page) {
            Fail(m_size, "stream ends inside " + PageLabel() + ": expected its page end (ESC&&#R)");
        } else if (m_mode == Mode::Gdi) {
            Fail(m_size, "stream ends in the GDI section: expected the UEL");
        } else if (!m_endsWithUel) {
            Fail(m_size, "stream ends without the closing UEL");
        }
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    Mode m_mode = Mode::Pjl;
    bool m_endsWithUel = false;
    long m_rasterWidth = 0;
    long m_rasterHeight = 0;
    std::optional<DecodedPage> m_page;
    DecodedStream m_result;
};

}  // namespace

DecodedStream DecodeStream(const uint8_t* data, size_t size)
{
    if (data == nullptr) {
        size = 0;
        static const uint8_t kNothing = 0;
        data = &kNothing;
    }
    return Decoder(data, size).Run();
}

}  // namespace orvdecode
