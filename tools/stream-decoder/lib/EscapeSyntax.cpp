#include "tools/stream-decoder/lib/EscapeSyntax.h"

#include <cstdio>
#include <cstring>

namespace orvdecode {

namespace {

// Nine digits always fit a 32-bit value; no command of the language needs more.
constexpr int kMaxDigits = 9;

bool IsParameterChar(uint8_t c) { return c >= 0x21 && c <= 0x2F; }
bool IsGroupChar(uint8_t c) { return c >= 0x21 && c <= 0x7E; }
bool IsTwoCharCommand(uint8_t c) { return c >= 0x30 && c <= 0x7E; }
bool IsFinalLetter(uint8_t c) { return c >= 0x40 && c <= 0x5E; }
bool IsCombiningLetter(uint8_t c) { return c >= 0x60 && c <= 0x7E; }

}  // namespace

std::string DescribeByte(const uint8_t* data, size_t size, size_t offset)
{
    if (offset >= size) {
        return "end of stream";
    }
    char text[16];
    const uint8_t c = data[offset];
    if (c > 0x20 && c < 0x7F) {
        std::snprintf(text, sizeof(text), "'%c'", c);
    } else {
        std::snprintf(text, sizeof(text), "0x%02X", c);
    }
    return text;
}

bool IsUelAt(const uint8_t* data, size_t size, size_t offset)
{
    return offset <= size && size - offset >= kUelLength && std::memcmp(data + offset, kUel, kUelLength) == 0;
}

bool ParseEscape(const uint8_t* data, size_t size, size_t offset, EscapeSequence& sequence, StreamError& error)
{
    sequence = EscapeSequence {};
    sequence.offset = offset;
    size_t pos = offset + 1;
    auto fail = [&](size_t at, const std::string& expected) {
        error.offset = at;
        error.message = "escape sequence: expected " + expected + ", found " + DescribeByte(data, size, at);
        return false;
    };
    if (pos >= size) {
        return fail(pos, "a command character after ESC");
    }
    const uint8_t first = data[pos];
    if (!IsParameterChar(first)) {
        if (!IsTwoCharCommand(first)) {
            return fail(pos, "a command character after ESC");
        }
        sequence.group = static_cast<char>(first);
        sequence.end = pos + 1;
        return true;
    }
    sequence.parameter = static_cast<char>(first);
    ++pos;
    if (pos >= size || !IsGroupChar(data[pos])) {
        return fail(pos, "a group character");
    }
    sequence.group = static_cast<char>(data[pos]);
    ++pos;
    for (;;) {
        EscapePart part;
        part.offset = pos;
        bool negative = false;
        if (pos < size && (data[pos] == '+' || data[pos] == '-')) {
            negative = data[pos] == '-';
            ++pos;
        }
        int digits = 0;
        long value = 0;
        while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
            if (++digits > kMaxDigits) {
                return fail(pos, "at most 9 digits");
            }
            value = value * 10 + (data[pos] - '0');
            ++pos;
        }
        if (digits == 0) {
            return fail(pos, "a decimal value");
        }
        part.value = negative ? -value : value;
        if (pos >= size || !(IsFinalLetter(data[pos]) || IsCombiningLetter(data[pos]))) {
            return fail(pos, "a command letter");
        }
        const uint8_t letter = data[pos];
        ++pos;
        part.letter = static_cast<char>(IsCombiningLetter(letter) ? letter - 0x20 : letter);
        sequence.parts.push_back(part);
        if (IsFinalLetter(letter)) {
            break;
        }
    }
    sequence.end = pos;
    return true;
}

std::string DescribePart(const EscapeSequence& sequence, const EscapePart& part)
{
    std::string text = "ESC";
    if (sequence.parameter == 0) {
        text += sequence.group;
        return text;
    }
    text += sequence.parameter;
    text += sequence.group;
    text += std::to_string(part.value);
    text += part.letter;
    return text;
}

}  // namespace orvdecode
