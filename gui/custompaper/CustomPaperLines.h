// The four PPD lines of one custom paper: written and read with the C locale's numbers, so that a
// decimal comma of the user's locale never reaches the PPD.
#pragma once

#include <string>
#include <string_view>

#include "gui/custompaper/CustomPaperPpd.h"

namespace orv {

// Ids above the driver's own papers, up to what the settings record's 16-bit paper field holds.
inline constexpr int kFirstCustomPaperId = 457;
inline constexpr int kLastCustomPaperId = 32767;
// No paper is longer than this; it also keeps the point values far inside an int.
inline constexpr double kMaxPaperMillimetres = 100000.0;
// Longest keyword or name a tagCUSTOMPAPER holds, without its terminating NUL.
inline constexpr size_t kMaxPaperText = sizeof(tagCUSTOMPAPER::szName) - 1;

enum class PaperLine { PageSize, PageRegion, ImageableArea, PaperDimension };

// The line's main keyword, such as "*PageSize".
std::string_view PaperLineKeyword(PaperLine kind);

// Points of a length in millimetres: the integer part of mm / 25.4 x 72 + 0.5.
int PointsOfMillimetres(double millimetres);

// What may be written: a keyword of 1..127 bytes of printable ASCII without blanks, "/" or ":";
// a name of at most 127 bytes without control characters or ":"; an id of a custom paper; a size
// above 0 and at most kMaxPaperMillimetres.
bool IsWritableKeyword(std::string_view keyword);
bool IsWritableName(std::string_view name);
bool IsCustomPaperId(long id);
bool IsPaperSize(double millimetres);

// One line with its line feed; nUnit 0 writes the page-size and page-region lines in inches. The
// arguments must have passed the checks above.
std::string FormatPaperLine(PaperLine kind, std::string_view keyword, std::string_view name, int id, int unit,
                            double width, double length);

// Whether text is the size part of a written line: a blank, the width, " x ", the length, a blank,
// "mm" or "in" and ":", numbers of digits with an optional "." and decimals.
bool IsWrittenSizeText(std::string_view text);

// Reads a line of a page-size option as a custom paper; false when it is not one.
bool ParseCustomPaperLine(std::string_view line, tagCUSTOMPAPER* paper);

// The text of a C string of at most kMaxPaperText bytes, reading no more than one byte past that
// bound (a record's 128-byte field need not hold a NUL); false for NULL or a longer string.
bool BoundedText(const char* text, std::string_view* out);

}  // namespace orv
