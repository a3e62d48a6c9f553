// The escape-sequence grammar of the printer language, without meaning attached: ESC, then either
// one character (a two-character command such as "\033E"), or a parameterized command: a
// parameter character ('!' to '/'), a group character, and one or more value-letter pairs, where a
// lower-case letter combines the next pair into the same command and an upper-case letter ends it
// ("\033*r512T", "\033*p0x0Y"). Values are signed decimal integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orvdecode {

inline constexpr uint8_t kEsc = 0x1B;
inline constexpr char kUel[] = "\033%-12345X";
inline constexpr size_t kUelLength = sizeof(kUel) - 1;

struct EscapePart {
    size_t offset = 0;  // where the value starts
    long value = 0;
    char letter = 0;    // upper case, also for the combined parts
};

struct EscapeSequence {
    size_t offset = 0;   // of the ESC
    size_t end = 0;      // just past the last letter
    char parameter = 0;  // 0 for a two-character command
    char group = 0;      // the parameter character's group, or the two-character command's letter
    std::vector<EscapePart> parts;
};

// True when the bytes at offset are the UEL.
bool IsUelAt(const uint8_t* data, size_t size, size_t offset);

// Parses the escape sequence that starts at data[offset] (an ESC). On a malformed sequence the
// result is false and error says where and what was expected.
bool ParseEscape(const uint8_t* data, size_t size, size_t offset, EscapeSequence& sequence, StreamError& error);

// "\033*r512T" style text of one part of a sequence (the ESC shown as "ESC").
std::string DescribePart(const EscapeSequence& sequence, const EscapePart& part);

// A byte as the messages show it: 'c' when printable, else 0xNN; "end of stream" for none.
std::string DescribeByte(const uint8_t* data, size_t size, size_t offset);

}  // namespace orvdecode
