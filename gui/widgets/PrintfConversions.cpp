#include "gui/widgets/PrintfConversions.h"

#include <cstring>

namespace orv {

namespace {

bool IsFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0' || c == '\'';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Passes over a width or precision: digits, or a "*" that reads an int argument and so counts as a
// conversion of its own.
const char* SkipFieldNumber(const char* p, std::vector<std::string>& conversions)
{
    if (*p == '*') {
        conversions.push_back("*");
        return p + 1;
    }
    while (IsDigit(*p)) {
        ++p;
    }
    return p;
}

// The length modifiers, longest first so that "hh" and "ll" win over "h" and "l".
const char* const kLengthModifiers[] = {"hh", "ll", "h", "l", "L", "q", "j", "z", "t"};

const char kConversionLetters[] = "diouxXeEfFgGaAcspnmCS";

}  // namespace

std::vector<std::string> PrintfConversions(const char* pszText)
{
    std::vector<std::string> conversions;
    if (pszText == nullptr) {
        return conversions;
    }
    const char* p = pszText;
    while (*p != '\0') {
        if (*p != '%') {
            ++p;
            continue;
        }
        ++p;
        if (*p == '%') {
            ++p;
            continue;
        }
        while (IsFlag(*p)) {
            ++p;
        }
        p = SkipFieldNumber(p, conversions);  // width
        if (*p == '.') {
            p = SkipFieldNumber(p + 1, conversions);  // precision
        }
        std::string conversion;
        for (const char* modifier : kLengthModifiers) {
            const size_t n = std::strlen(modifier);
            if (std::strncmp(p, modifier, n) == 0) {
                conversion = modifier;
                p += n;
                break;
            }
        }
        if (*p != '\0' && std::strchr(kConversionLetters, *p) != nullptr) {
            conversion += *p;
            ++p;
            conversions.push_back(conversion);
        } else {
            // Not a conversion printf would read an argument for in a known way: it counts as a
            // mark of its own, so that a replacement cannot trade it for a real conversion.
            conversions.push_back("?");
        }
    }
    return conversions;
}

bool SamePrintfConversions(const char* pszReplacement, const char* pszProgramText)
{
    return PrintfConversions(pszReplacement) == PrintfConversions(pszProgramText);
}

}  // namespace orv
