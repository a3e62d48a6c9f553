// The grammar of resource text files.
#include "gui/widgets/RctFile.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <strings.h>

namespace {

constexpr char kTitleKey[] = "DialogInfo";

// Reads one line (without its line feed) into line. False at the end of the file. A line longer
// than the limit, or holding a NUL byte, is consumed whole and reported as damaged.
bool ReadLine(FILE* pFile, std::string& line, bool& bDamaged, size_t& nRead)
{
    line.clear();
    bDamaged = false;
    int c = std::getc(pFile);
    if (c == EOF) {
        return false;
    }
    while (c != EOF && c != '\n') {
        if (++nRead >= CRctFile::kMaxFileLength) {
            bDamaged = true;  // the rest of the file is not read at all
            return true;
        }
        if (c == '\0') {
            bDamaged = true;
        } else if (line.size() < CRctFile::kMaxLineLength) {
            line += static_cast<char>(c);
        } else {
            bDamaged = true;
        }
        c = std::getc(pFile);
    }
    if (c == '\n') {
        ++nRead;
    }
    return true;
}

}  // namespace

bool ParseRctNumber(const char* pszText, WORD& wValue)
{
    const char* p = pszText;
    while (std::isspace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    bool bNegative = false;
    if (*p == '+' || *p == '-') {
        bNegative = *p == '-';
        ++p;
    }
    long value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        value = value * 10 + (*p - '0');
        if (value > 0xFFFF) {
            return false;
        }
        ++p;
    }
    if (bNegative && value != 0) {
        return false;
    }
    wValue = static_cast<WORD>(value);
    return true;
}

void UnescapeRctText(char* pszText)
{
    if (pszText == nullptr) {
        return;
    }
    char* pOut = pszText;
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (*p != '\\') {
            *pOut++ = *p;
            continue;
        }
        ++p;
        switch (*p) {
        case '\\': *pOut++ = '\\'; break;
        case 'n': *pOut++ = '\n'; break;
        case 'r': *pOut++ = '\r'; break;
        case 't': *pOut++ = '\t'; break;
        case '\0': --p; break;  // a trailing backslash is dropped
        default: *pOut++ = *p; break;
        }
    }
    *pOut = '\0';
}

void CRctFile::ParseLine(std::string& line, CRctStrings*& pSection)
{
    if (line.empty() || line[0] == ';') {
        return;
    }
    if (line[0] == '[') {
        const size_t close = line.find(']');
        if (close == std::string::npos) {
            return;
        }
        const std::string name = line.substr(1, close - 1);
        if (strcasecmp(name.c_str(), "string") == 0) {
            pSection = OpenSection(0);
        } else if (name.size() >= 3 && strncasecmp(name.c_str(), "dlg", 3) == 0) {
            WORD wSection = 0;
            if (ParseRctNumber(name.c_str() + 3, wSection)) {
                pSection = OpenSection(wSection);
            } else {
                // A section number out of range: its keys must not land in the section before.
                std::printf("CRctFile: header [%s] names no section; its lines are skipped\n", name.c_str());
                pSection = nullptr;
            }
        }
        return;
    }
    if (pSection == nullptr) {
        return;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return;
    }
    std::string key = line.substr(0, equals);
    WORD wID = 0;
    if (strcasecmp(key.c_str(), kTitleKey) != 0) {
        if (!ParseRctNumber(key.c_str(), wID) || wID == 0) {
            return;
        }
    }
    std::string value = line.substr(equals + 1);
    UnescapeRctText(value.data());
    pSection->SetString(wID, value.c_str());
}

void CRctFile::Parse(FILE* pFile)
{
    if (pFile == nullptr) {
        return;
    }
    std::rewind(pFile);
    CRctStrings* pSection = nullptr;
    std::string line;
    bool bDamaged = false;
    size_t nRead = 0;
    while (nRead < kMaxFileLength && ReadLine(pFile, line, bDamaged, nRead)) {
        if (bDamaged) {
            std::printf("CRctFile: skipped a line that is too long or holds a NUL byte\n");
            continue;
        }
        ParseLine(line, pSection);
    }
    if (nRead >= kMaxFileLength) {
        std::printf("CRctFile: stopped reading after %zu bytes\n", kMaxFileLength);
    }
}
