#include "UiStringsSource.h"

#include "gui/widgets/PrintfConversions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace orv::uistrings {

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

bool ParseId(const std::string& field, unsigned& value)
{
    if (field.empty() || field.size() > 5) {
        return false;
    }
    for (char c : field) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    value = static_cast<unsigned>(std::strtoul(field.c_str(), nullptr, 10));
    return value <= 0xFFFF;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& in, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            return false;
        }
        switch (in[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            if (i + 2 >= in.size()) {
                return false;
            }
            const int hi = HexDigit(in[i + 1]);
            const int lo = HexDigit(in[i + 2]);
            if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) {
                return false;
            }
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

bool IsUtf8(const std::string& s)
{
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t extra;
        unsigned min;
        unsigned code;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { extra = 1; min = 0x80; code = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; min = 0x800; code = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; min = 0x10000; code = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            code = (code << 6) | (cc & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::string CLiteral(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F && c != '?') {
            out += static_cast<char>(c);
        } else {
            // Octal escapes take at most three digits, so a following digit cannot join them;
            // '?' is escaped to keep trigraph-like sequences inert.
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        }
    }
    out += '"';
    return out;
}

std::string Where(const std::string& name, size_t line)
{
    return name + ":" + std::to_string(line) + ": ";
}

}  // namespace

bool AddSource(Catalogue& catalogue, const std::string& text, const std::string& name,
               std::string& error)
{
    size_t lineNo = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            error = Where(name, lineNo) + "carriage return at the end of a row";
            return false;
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() != 3 && fields.size() != 4) {
            error = Where(name, lineNo) + "a row is locale, section, id and an optional text";
            return false;
        }
        unsigned section = 0;
        unsigned id = 0;
        if (fields[0].empty() || !ParseId(fields[1], section) || !ParseId(fields[2], id)) {
            error = Where(name, lineNo) + "bad locale, section or id";
            return false;
        }
        std::optional<std::string> value;
        if (fields.size() == 4) {
            std::string unescaped;
            if (!Unescape(fields[3], unescaped)) {
                error = Where(name, lineNo) + "bad escape in the text";
                return false;
            }
            if (!IsUtf8(unescaped)) {
                error = Where(name, lineNo) + "the text is not UTF-8";
                return false;
            }
            value = unescaped;
        }
        Section& sectionMap = catalogue[fields[0]][section];
        if (!sectionMap.emplace(id, value).second) {
            error = Where(name, lineNo) + "key (" + fields[1] + ", " + fields[2] + ") given twice";
            return false;
        }
    }
    return true;
}

bool CheckCatalogue(const Catalogue& catalogue, std::string& error)
{
    if (catalogue.empty()) {
        error = "no texts";
        return false;
    }
    const auto& first = *catalogue.begin();
    for (const auto& [locale, sections] : catalogue) {
        if (sections.size() != first.second.size() ||
            !std::equal(sections.begin(), sections.end(), first.second.begin(),
                        [](const auto& a, const auto& b) { return a.first == b.first; })) {
            error = "locales " + first.first + " and " + locale + " do not have the same sections";
            return false;
        }
        for (const auto& [sectionId, section] : sections) {
            const Section& other = first.second.at(sectionId);
            for (const auto& [id, value] : section) {
                const auto it = other.find(id);
                if (!value || it == other.end() || !it->second) {
                    continue;
                }
                if (!SamePrintfConversions(value->c_str(), it->second->c_str())) {
                    error = "key (" + std::to_string(sectionId) + ", " + std::to_string(id) + "): " +
                            locale + " and " + first.first + " texts read different printf arguments";
                    return false;
                }
            }
        }
    }
    return true;
}

std::string EmitTables(const Catalogue& catalogue)
{
    std::vector<std::string> locales;
    for (const auto& entry : catalogue) {
        locales.push_back(entry.first);
    }
    std::sort(locales.begin(), locales.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });

    std::string out =
        "// Generated by ui-strings-compile from gui/widgets/strings/*.tsv; do not edit.\n"
        "#include \"gui/widgets/BuiltinTableTypes.h\"\n\nnamespace {\n\n";
    for (size_t l = 0; l < locales.size(); ++l) {
        const Locale& locale = catalogue.at(locales[l]);
        for (const auto& [sectionId, section] : locale) {
            out += "const tagBUILTINSTRING kStrings" + std::to_string(l) + "_" +
                   std::to_string(sectionId) + "[] = {\n";
            // std::map keeps the ids in ascending unsigned order already.
            for (const auto& [id, value] : section) {
                out += "    {" + std::to_string(id) + ", " + (value ? CLiteral(*value) : "nullptr") +
                       "},\n";
            }
            out += "};\n";
        }
        out += "const tagBUILTINSECTION kSections" + std::to_string(l) + "[] = {\n";
        for (const auto& [sectionId, section] : locale) {
            const std::string array = "kStrings" + std::to_string(l) + "_" + std::to_string(sectionId);
            out += "    {" + std::to_string(sectionId) + ", " + array + ", " +
                   std::to_string(section.size()) + "},\n";
        }
        out += "};\n\n";
    }
    out += "}  // namespace\n\nconst tagBUILTINLOCALE g_BuiltinLocales[] = {\n";
    for (size_t l = 0; l < locales.size(); ++l) {
        out += "    {" + CLiteral(locales[l]) + ", kSections" + std::to_string(l) + ", " +
               std::to_string(catalogue.at(locales[l]).size()) + "},\n";
    }
    out += "};\nconst int g_nBuiltinLocales = " + std::to_string(locales.size()) + ";\n";
    return out;
}

}  // namespace orv::uistrings
