#include "gui/custompaper/PpdAnchors.h"

namespace orv {

namespace {

// The keyword a "*OpenUI"/"*CloseUI" line names: what follows the statement and blanks (and the
// colon that "*CloseUI:" carries). Nothing when the line is not that statement.
std::optional<std::string_view> StatementArgument(std::string_view line, std::string_view statement)
{
    const size_t length = KeywordLength(line, statement, " \t:");
    if (length == 0) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(length);
    if (!rest.empty() && rest[0] == ':') {
        rest.remove_prefix(1);
    }
    return SkipBlanks(rest);
}

bool OpensAnyOption(std::string_view line)
{
    return StatementArgument(line, "*OpenUI") || StatementArgument(line, "*JCLOpenUI");
}

bool IsBlankOrComment(std::string_view line)
{
    const std::string_view rest = SkipBlanks(line);
    return rest.empty() || StartsWithNoCase(rest, "*%");
}

}  // namespace

std::optional<OptionLines> FindOption(const std::string& text, const std::vector<TextLine>& lines,
                                      std::string_view keyword, std::string_view followers)
{
    size_t open = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string_view> argument = StatementArgument(LineText(text, lines[i]), "*OpenUI");
        if (argument && KeywordLength(*argument, keyword, followers) != 0) {
            open = i;
            break;
        }
    }
    for (size_t i = open + 1; i < lines.size(); ++i) {
        const std::string_view line = LineText(text, lines[i]);
        if (OpensAnyOption(line)) {
            return std::nullopt;  // options do not nest: this one was never closed
        }
        std::optional<std::string_view> closed = StatementArgument(line, "*CloseUI");
        if (!closed) {
            closed = StatementArgument(line, "*JCLCloseUI");
        }
        if (closed) {
            // The first closing line must be the option's own; another keyword means the PPD is
            // not laid out as the option's lines expect.
            if (KeywordLength(*closed, keyword, " \t") == 0) {
                return std::nullopt;
            }
            return OptionLines {open, i};
        }
    }
    return std::nullopt;
}

std::optional<size_t> FindGroupStart(const std::string& text, const std::vector<TextLine>& lines,
                                     std::string_view defaultKeyword, std::string_view memberKeyword)
{
    const std::string defaultLine = std::string(defaultKeyword) + ":";
    size_t i = 0;
    while (i < lines.size() && !StartsWithNoCase(LineText(text, lines[i]), defaultLine)) {
        ++i;
    }
    if (i == lines.size()) {
        return std::nullopt;
    }
    for (++i; i < lines.size(); ++i) {
        const std::string_view line = LineText(text, lines[i]);
        if (IsBlankOrComment(line)) {
            continue;
        }
        if (KeywordLength(line, memberKeyword, " \t") != 0) {
            return i;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace orv
