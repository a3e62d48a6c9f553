// A PPD file as text: read whole with a bound, replaced whole without ever leaving a half-written
// file, and walked line by line with the case-insensitive keyword tests the PPD format calls for.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Larger files are not PPDs the driver installs; reading stops there rather than filling memory.
inline constexpr size_t kMaxPpdBytes = size_t{32} << 20;

// The whole file, NUL bytes included. False when it cannot be opened, is not a regular file or is
// larger than kMaxPpdBytes. With noFollow a symbolic link is refused too. *mode receives the
// file's permission bits when given.
bool ReadPpdText(const char* path, bool noFollow, std::string* text, mode_t* mode);

// Writes text to a new file beside path with the given permission bits and renames it over path.
// False when any step fails; path is then as it was and the new file is gone.
bool ReplacePpdText(const char* path, const std::string& text, mode_t mode);

// One line of a text: [begin, end) without its line feed and a carriage return before it; next is
// where the following line starts (the text's size for the last line).
struct TextLine {
    size_t begin;
    size_t end;
    size_t next;
};

std::vector<TextLine> SplitLines(const std::string& text);

inline std::string_view LineText(const std::string& text, const TextLine& line)
{
    return std::string_view(text).substr(line.begin, line.end - line.begin);
}

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// ASCII letter case folded; the user's locale plays no part.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// When text starts with the keyword (letter case aside) followed by the end of the text or one of
// the characters in followers, the length of the keyword; else 0. "*PageSize" does not start
// "*PageSizeX: ..." with followers " /:".
size_t KeywordLength(std::string_view text, std::string_view keyword, std::string_view followers);

// Text after leading blanks.
std::string_view SkipBlanks(std::string_view text);

}  // namespace orv
