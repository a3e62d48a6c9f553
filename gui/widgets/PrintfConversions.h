// The printf conversions of a user-interface text, for comparing a replacement text with the
// program's own before the replacement is used as a format.
#pragma once

#include <string>
#include <vector>

namespace orv {

// The conversions of a text in order, each written as its length modifier and conversion letter
// ("d", "ld", ".1f" -> "f", "s"); a starred width or precision adds "*" before its conversion;
// "%%" is no conversion; a '%' that does not start a complete conversion gives "?". Flags, widths
// and precisions given as digits are left out: they do not change which argument is read.
// A NULL text has none.
std::vector<std::string> PrintfConversions(const char* pszText);

// True when a replacement text may stand in for the program's text: both read the same arguments
// in the same order. A program text that is NULL reads none.
bool SamePrintfConversions(const char* pszReplacement, const char* pszProgramText);

}  // namespace orv
