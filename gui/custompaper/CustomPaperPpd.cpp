#include "gui/custompaper/CustomPaperPpd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "gui/custompaper/CustomPaperLines.h"
#include "gui/custompaper/PpdAnchors.h"
#include "core/util/PpdText.h"

using namespace orv;

namespace {

constexpr WORD kRewritten = 1;
constexpr WORD kNotRewritten = 0;

// The page-size option's opening line names its keyword with a translation or a colon; the
// page-region option is found by "*PageRegion:" as the driver's PPDs write it.
constexpr std::string_view kPageSizeFollowers = "/:";
constexpr std::string_view kPageRegionFollowers = ":";

struct Insertion {
    size_t offset;
    std::string line;
};

// The keyword's choice line ("*PageSize K/..." or "*PageSize K: ...") in the page-size option.
bool OptionHasChoice(const std::string& text, const std::vector<TextLine>& lines, const OptionLines& option,
                     std::string_view keyword)
{
    for (size_t i = option.open + 1; i < option.close; ++i) {
        const std::string_view line = LineText(text, lines[i]);
        const size_t main = KeywordLength(line, "*PageSize", " \t");
        if (main != 0 && KeywordLength(SkipBlanks(line.substr(main)), keyword, "/: \t") != 0) {
            return true;
        }
    }
    return false;
}

// A line of the paper keyword/name: one of the four main keywords, a blank, exactly the keyword,
// "/" and the name (letter case aside), then the written size.
bool IsLineOfPaper(std::string_view line, std::string_view keyword, std::string_view name)
{
    for (const PaperLine kind :
         {PaperLine::PageSize, PaperLine::PageRegion, PaperLine::ImageableArea, PaperLine::PaperDimension}) {
        const size_t main = KeywordLength(line, PaperLineKeyword(kind), " \t");
        if (main == 0) {
            continue;
        }
        const std::string_view choice = SkipBlanks(line.substr(main));
        const size_t length = keyword.size() + 1 + name.size();
        return choice.size() > length && StartsWithNoCase(choice, keyword) && choice[keyword.size()] == '/' &&
               EqualsNoCase(choice.substr(keyword.size() + 1, name.size()), name) &&
               IsWrittenSizeText(choice.substr(length));
    }
    return false;
}

}  // namespace

tagCUSTOMPAPER* ReadCustomPapersFromPpd(const char* pszPpdPath, int* pnCount)
{
    if (pnCount != nullptr) {
        *pnCount = 0;
    }
    std::string text;
    if (!ReadPpdText(pszPpdPath, false, &text, nullptr)) {
        return nullptr;
    }
    const std::vector<TextLine> lines = SplitLines(text);
    const std::optional<OptionLines> pageSize = FindOption(text, lines, "*PageSize", kPageSizeFollowers);
    if (!pageSize) {
        return nullptr;
    }
    std::vector<tagCUSTOMPAPER> papers;
    for (size_t i = pageSize->open + 1; i < pageSize->close; ++i) {
        tagCUSTOMPAPER paper;
        if (ParseCustomPaperLine(LineText(text, lines[i]), &paper)) {
            papers.push_back(paper);
        }
    }
    if (papers.empty()) {
        return nullptr;
    }
    auto* result = static_cast<tagCUSTOMPAPER*>(std::calloc(papers.size(), sizeof(tagCUSTOMPAPER)));
    if (result == nullptr) {
        return nullptr;
    }
    std::copy(papers.begin(), papers.end(), result);
    if (pnCount != nullptr) {
        *pnCount = static_cast<int>(papers.size());
    }
    return result;
}

tagCUSTOMPAPER* ParseCustomPageSizeLine(const char* pszLine)
{
    if (pszLine == nullptr) {
        return nullptr;
    }
    tagCUSTOMPAPER paper;
    if (!ParseCustomPaperLine(pszLine, &paper)) {
        return nullptr;
    }
    auto* result = static_cast<tagCUSTOMPAPER*>(std::malloc(sizeof(tagCUSTOMPAPER)));
    if (result != nullptr) {
        *result = paper;
    }
    return result;
}

WORD AddCustomPaperToPpd(const char* pszPpdPath, const char* pszKeyword, const tagCUSTOMPAPER* pPaper, int nID,
                         int nUnit, double dWidth, double dLength)
{
    std::string_view keyword;
    std::string_view name;
    if (pPaper == nullptr || !BoundedText(pszKeyword, &keyword) || !BoundedText(pPaper->szName, &name) ||
        !IsWritableKeyword(keyword) || !IsWritableName(name) || !IsCustomPaperId(nID) || !IsPaperSize(dWidth) ||
        !IsPaperSize(dLength)) {
        return kNotRewritten;
    }
    std::string text;
    mode_t mode = 0;
    if (!ReadPpdText(pszPpdPath, true, &text, &mode)) {
        return kNotRewritten;
    }
    const std::vector<TextLine> lines = SplitLines(text);
    const std::optional<OptionLines> pageSize = FindOption(text, lines, "*PageSize", kPageSizeFollowers);
    const std::optional<OptionLines> pageRegion = FindOption(text, lines, "*PageRegion", kPageRegionFollowers);
    const std::optional<size_t> imageableArea =
        FindGroupStart(text, lines, "*DefaultImageableArea", "*ImageableArea");
    const std::optional<size_t> paperDimension =
        FindGroupStart(text, lines, "*DefaultPaperDimension", "*PaperDimension");
    if (!pageSize || !pageRegion || !imageableArea || !paperDimension ||
        OptionHasChoice(text, lines, *pageSize, keyword)) {
        return kNotRewritten;
    }
    const auto line = [&](PaperLine kind) {
        return FormatPaperLine(kind, keyword, name, nID, nUnit, dWidth, dLength);
    };
    std::vector<Insertion> insertions = {
        {lines[pageSize->close].begin, line(PaperLine::PageSize)},
        {lines[pageRegion->close].begin, line(PaperLine::PageRegion)},
        {lines[*imageableArea].begin, line(PaperLine::ImageableArea)},
        {lines[*paperDimension].begin, line(PaperLine::PaperDimension)},
    };
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.offset < b.offset; });
    std::string rewritten;
    rewritten.reserve(text.size() + 1024);
    size_t copied = 0;
    for (const Insertion& insertion : insertions) {
        rewritten.append(text, copied, insertion.offset - copied);
        rewritten += insertion.line;
        copied = insertion.offset;
    }
    rewritten.append(text, copied, std::string::npos);
    return ReplacePpdText(pszPpdPath, rewritten, mode) ? kRewritten : kNotRewritten;
}

WORD RemoveCustomPaperFromPpd(const char* pszPpdPath, const char* pszKeyword, const tagCUSTOMPAPER* pPaper)
{
    std::string_view keyword;
    std::string_view name;
    if (pPaper == nullptr || !BoundedText(pszKeyword, &keyword) || !BoundedText(pPaper->szName, &name) ||
        keyword.empty()) {
        return kNotRewritten;
    }
    std::string text;
    mode_t mode = 0;
    if (!ReadPpdText(pszPpdPath, true, &text, &mode)) {
        return kNotRewritten;
    }
    std::string kept;
    kept.reserve(text.size());
    bool removed = false;
    for (const TextLine& line : SplitLines(text)) {
        if (IsLineOfPaper(LineText(text, line), keyword, name)) {
            removed = true;
        } else {
            kept.append(text, line.begin, line.next - line.begin);
        }
    }
    if (!removed) {
        return kNotRewritten;
    }
    return ReplacePpdText(pszPpdPath, kept, mode) ? kRewritten : kNotRewritten;
}
