// Where the lines of a custom paper belong in a PPD, found by the PPD's structure rather than by
// the first place a word appears: an option is the lines from its "*OpenUI" line to its own
// "*CloseUI" line, and the imageable-area and paper-dimension groups start right after their
// "*Default" lines. A PPD whose structure does not match gets no place at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/PpdText.h"

namespace orv {

// Line indexes of an option: the "*OpenUI" line and its own "*CloseUI" line.
struct OptionLines {
    size_t open;
    size_t close;
};

// The first option opened by "*OpenUI" and the keyword (such as "*PageSize") directly followed by
// one of the characters in followers, when the next "*CloseUI" line closes that same keyword and
// no other option opens before it. Letter case is ignored as the PPD format asks.
std::optional<OptionLines> FindOption(const std::string& text, const std::vector<TextLine>& lines,
                                      std::string_view keyword, std::string_view followers);

// The first line of a group: after the first line that starts with defaultKeyword and ":" (such
// as "*DefaultImageableArea:"), blank lines and comments skipped, the next line must start with
// memberKeyword and a blank (such as "*ImageableArea "); its index, or nothing.
std::optional<size_t> FindGroupStart(const std::string& text, const std::vector<TextLine>& lines,
                                     std::string_view defaultKeyword, std::string_view memberKeyword);

}  // namespace orv
