// A PPD's default choices set in its text, as "*Default<keyword>: <choice>" lines.
#pragma once

#include <string>
#include <string_view>

namespace orvcompanion {

// Makes choice the default of the option keyword (without its "*"): every "*Default<keyword>:"
// line gets that value; an option without such a line gets one right after its "*OpenUI" (or
// "*JCLOpenUI") line, with that line's line ending. Letter case of the keyword is ignored. False,
// text unchanged, when the PPD has neither line for the keyword.
bool SetPpdDefault(std::string* text, std::string_view keyword, std::string_view choice);

}  // namespace orvcompanion
