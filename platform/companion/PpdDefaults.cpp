#include "platform/companion/PpdDefaults.h"

#include <vector>

#include "core/util/PpdText.h"

namespace orvcompanion {

namespace {

// Whether line opens the option keyword: "*OpenUI" or "*JCLOpenUI", blanks, "*", the keyword, and
// a "/" or ":".
bool OpensOption(std::string_view line, std::string_view keyword)
{
    for (const std::string_view statement : {"*OpenUI", "*JCLOpenUI"}) {
        const size_t length = orv::KeywordLength(line, statement, " \t");
        if (length == 0) {
            continue;
        }
        const std::string_view rest = orv::SkipBlanks(line.substr(length));
        return !rest.empty() && rest[0] == '*' && orv::KeywordLength(rest.substr(1), keyword, "/:") != 0 &&
               rest.size() > keyword.size() + 1;
    }
    return false;
}

}  // namespace

bool SetPpdDefault(std::string* text, std::string_view keyword, std::string_view choice)
{
    const std::string defaultKeyword = "*Default" + std::string(keyword) + ":";
    const std::vector<orv::TextLine> lines = orv::SplitLines(*text);
    std::string out;
    out.reserve(text->size() + 64);
    bool set = false;
    size_t openLine = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = orv::LineText(*text, lines[i]);
        if (orv::StartsWithNoCase(line, defaultKeyword)) {
            // Keep the keyword as written and the line's own ending.
            out.append(*text, lines[i].begin, defaultKeyword.size());
            out += ' ';
            out.append(choice);
            out.append(*text, lines[i].end, lines[i].next - lines[i].end);
            set = true;
            continue;
        }
        if (openLine == lines.size() && OpensOption(line, keyword)) {
            openLine = i;
        }
        out.append(*text, lines[i].begin, lines[i].next - lines[i].begin);
    }
    if (set) {
        *text = std::move(out);
        return true;
    }
    if (openLine == lines.size()) {
        return false;
    }
    // No default line yet: one right after the option's opening line.
    const orv::TextLine& open = lines[openLine];
    std::string ending = text->substr(open.end, open.next - open.end);
    if (ending.empty()) {
        ending = "\n";  // the opening line was the last one, without a line feed
        text->append(ending);
    }
    const std::string added = "*Default" + std::string(keyword) + ": " + std::string(choice) + ending;
    text->insert(open.end + ending.size(), added);
    return true;
}

}  // namespace orvcompanion
