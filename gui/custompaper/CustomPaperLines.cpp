#include "gui/custompaper/CustomPaperLines.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/util/PpdText.h"

namespace orv {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
// The fixed margin of every custom paper's imageable area, in points.
constexpr int kMarginPoints = 12;

void AppendFixed(std::string& out, double value, int decimals)
{
    // to_chars with a precision writes what printf's "%.*f" writes in the C locale.
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ec == std::errc() ? result.ptr : buffer);
}

void AppendInt(std::string& out, int value)
{
    char buffer[16];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number of digits with an optional "." and decimals, read in the C locale, covering
// text exactly.
bool ReadNumber(std::string_view text, double* value)
{
    if (text.empty() || !IsDigit(text[0])) {
        return false;
    }
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, *value, std::chars_format::fixed);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

// Length of the written number at the start of text (digits, then "." and digits); 0 for none.
size_t WrittenNumberLength(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    if (i == 0) {
        return 0;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
        }
        if (j > i + 1) {
            i = j;
        }
    }
    return i;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

size_t FindNoCase(std::string_view text, std::string_view what, size_t from)
{
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, what.size()), what)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Where the name of a line ends. With "<</PageSize" after the name's start (the last one: a name
// cannot then hide the code's), the fifth blank before it; otherwise the first blank.
size_t NameEnd(std::string_view line, size_t nameStart)
{
    const size_t code = line.rfind("<</PageSize");
    if (code == std::string_view::npos || code < nameStart) {
        const size_t blank = line.find_first_of(" \t", nameStart);
        return blank == std::string_view::npos ? std::string_view::npos : blank;
    }
    int blanks = 0;
    for (size_t i = code; i > nameStart; --i) {
        if (IsBlank(line[i - 1]) && ++blanks == 5) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

// The number after the last "%% ID=" past from, when it is one of a custom paper; 0 otherwise.
// The digits must follow at once (blanks aside): "-500" is no id, nor is 500 in "ID=x500".
int ReadPaperId(std::string_view line, size_t from)
{
    constexpr std::string_view kMarker = "%% ID=";
    size_t marker = std::string_view::npos;
    for (size_t at = FindNoCase(line, kMarker, from); at != std::string_view::npos;
         at = FindNoCase(line, kMarker, at + 1)) {
        marker = at;
    }
    if (marker == std::string_view::npos) {
        return 0;
    }
    const std::string_view digits = SkipBlanks(line.substr(marker + kMarker.size()));
    long id = 0;
    size_t i = 0;
    for (; i < digits.size() && IsDigit(digits[i]); ++i) {
        id = id * 10 + (digits[i] - '0');
        if (id > kLastCustomPaperId) {
            return 0;  // stops before the number can overflow; too large anyway
        }
    }
    return i > 0 && IsCustomPaperId(id) ? static_cast<int>(id) : 0;
}

void CopyText(char* field, std::string_view text)
{
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
}

}  // namespace

std::string_view PaperLineKeyword(PaperLine kind)
{
    switch (kind) {
    case PaperLine::PageSize: return "*PageSize";
    case PaperLine::PageRegion: return "*PageRegion";
    case PaperLine::ImageableArea: return "*ImageableArea";
    case PaperLine::PaperDimension: return "*PaperDimension";
    }
    return "";
}

int PointsOfMillimetres(double millimetres)
{
    return static_cast<int>(millimetres / kMillimetresPerInch * kPointsPerInch + 0.5);
}

bool IsWritableKeyword(std::string_view keyword)
{
    if (keyword.empty() || keyword.size() > kMaxPaperText) {
        return false;
    }
    for (const char c : keyword) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '/' || c == ':') {
            return false;
        }
    }
    return true;
}

bool IsWritableName(std::string_view name)
{
    if (name.size() > kMaxPaperText) {
        return false;
    }
    for (const char c : name) {
        if (IsControl(static_cast<unsigned char>(c)) || c == ':') {
            return false;
        }
    }
    return true;
}

bool IsCustomPaperId(long id)
{
    return id >= kFirstCustomPaperId && id <= kLastCustomPaperId;
}

bool IsPaperSize(double millimetres)
{
    return std::isfinite(millimetres) && millimetres > 0.0 && millimetres <= kMaxPaperMillimetres;
}

std::string FormatPaperLine(PaperLine kind, std::string_view keyword, std::string_view name, int id, int unit,
                            double width, double length)
{
    const int widthPoints = PointsOfMillimetres(width);
    const int lengthPoints = PointsOfMillimetres(length);
    // The paper dimension is always written in inches, the imageable area always in millimetres,
    // the two choices in the paper's own unit.
    const bool inches = kind == PaperLine::PaperDimension ||
                        (unit == 0 && (kind == PaperLine::PageSize || kind == PaperLine::PageRegion));
    std::string line(PaperLineKeyword(kind));
    line += ' ';
    line.append(keyword);
    line += '/';
    line.append(name);
    line += ' ';
    AppendFixed(line, inches ? width / kMillimetresPerInch : width, inches ? 2 : 1);
    line += " x ";
    AppendFixed(line, inches ? length / kMillimetresPerInch : length, inches ? 2 : 1);
    line += inches ? " in: \"" : " mm: \"";
    switch (kind) {
    case PaperLine::PageSize:
    case PaperLine::PageRegion:
        line += "<</PageSize[";
        AppendInt(line, widthPoints);
        line += ' ';
        AppendInt(line, lengthPoints);
        line += "]/ImagingBBox null>>setpagedevice %% ID=";
        AppendInt(line, id);
        break;
    case PaperLine::ImageableArea:
        AppendInt(line, kMarginPoints);
        line += ' ';
        AppendInt(line, kMarginPoints);
        line += ' ';
        AppendInt(line, widthPoints - kMarginPoints);
        line += ' ';
        AppendInt(line, lengthPoints - kMarginPoints);
        break;
    case PaperLine::PaperDimension:
        AppendInt(line, widthPoints);
        line += ' ';
        AppendInt(line, lengthPoints);
        break;
    }
    line += "\"\n";
    return line;
}

bool IsWrittenSizeText(std::string_view text)
{
    if (text.empty() || text[0] != ' ') {
        return false;
    }
    text.remove_prefix(1);
    size_t n = WrittenNumberLength(text);
    if (n == 0 || text.substr(n, 3) != " x ") {
        return false;
    }
    text.remove_prefix(n + 3);
    n = WrittenNumberLength(text);
    if (n == 0) {
        return false;
    }
    text.remove_prefix(n);
    return text.substr(0, 4) == " mm:" || text.substr(0, 4) == " in:";
}

bool ParseCustomPaperLine(std::string_view line, tagCUSTOMPAPER* paper)
{
    // Keyword: from the first blank to the next "/".
    const size_t firstBlank = line.find_first_of(" \t");
    if (firstBlank == std::string_view::npos) {
        return false;
    }
    const size_t keywordStart = firstBlank + 1;
    const size_t slash = line.find('/', keywordStart);
    if (slash == std::string_view::npos) {
        return false;
    }
    const std::string_view keyword = line.substr(keywordStart, slash - keywordStart);
    if (!IsWritableKeyword(keyword)) {
        return false;
    }
    const size_t nameStart = slash + 1;
    const size_t nameEnd = NameEnd(line, nameStart);
    if (nameEnd == std::string_view::npos) {
        return false;
    }
    const std::string_view name = line.substr(nameStart, nameEnd - nameStart);
    if (name.size() > kMaxPaperText || name.find('\0') != std::string_view::npos) {
        return false;
    }
    // Width: from the first digit after the name up to the "x" (a keyword or a name may hold
    // digits of its own); blanks may stand before the "x".
    const size_t widthStart = line.find_first_of("0123456789", nameEnd);
    const size_t x = widthStart == std::string_view::npos ? widthStart : line.find('x', widthStart);
    if (x == std::string_view::npos) {
        return false;
    }
    std::string_view widthText = line.substr(widthStart, x - widthStart);
    while (!widthText.empty() && IsBlank(widthText.back())) {
        widthText.remove_suffix(1);
    }
    // Length: from the next digit up to the next blank, then the unit's letter.
    const size_t lengthStart = line.find_first_of("0123456789", x);
    const size_t lengthEnd =
        lengthStart == std::string_view::npos ? lengthStart : line.find_first_of(" \t", lengthStart);
    if (lengthEnd == std::string_view::npos || lengthEnd + 1 >= line.size()) {
        return false;
    }
    double width = 0.0;
    double length = 0.0;
    if (!ReadNumber(widthText, &width) || !ReadNumber(line.substr(lengthStart, lengthEnd - lengthStart), &length)) {
        return false;
    }
    const char unit = line[lengthEnd + 1];
    if (unit != 'i' && unit != 'm') {
        return false;
    }
    if (unit == 'i') {
        width *= kMillimetresPerInch;
        length *= kMillimetresPerInch;
    }
    if (!IsPaperSize(width) || !IsPaperSize(length)) {
        return false;
    }
    const int id = ReadPaperId(line, lengthEnd);
    if (id == 0) {
        return false;
    }
    *paper = tagCUSTOMPAPER {};
    CopyText(paper->szKeyword, keyword);
    CopyText(paper->szName, name);
    paper->nID = id;
    paper->nUnit = unit == 'i' ? 0 : 1;
    paper->dWidth = width;
    paper->dLength = length;
    return true;
}

bool BoundedText(const char* text, std::string_view* out)
{
    if (text == nullptr) {
        return false;
    }
    const size_t length = strnlen(text, kMaxPaperText + 1);
    if (length > kMaxPaperText) {
        return false;
    }
    *out = std::string_view(text, length);
    return true;
}

}  // namespace orv
