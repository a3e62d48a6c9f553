// What the custom paper tests share: a small queue PPD as readable text, the paper lines the
// format rule gives for the papers the tests use, files in scratch directories, and a locale with
// a decimal comma.
#pragma once

#include <string>

#include "gui/custompaper/CustomPaperPpd.h"

namespace orvtest {

// A queue PPD with the four places a custom paper goes and two standard papers, "\n" line ends.
std::string SmallPpd();

// text with every "\n" turned into "\r\n".
std::string WithCrLf(const std::string& text);

// text with the first occurrence of what replaced by with; fails the test when what is missing.
std::string Replaced(const std::string& text, const std::string& what, const std::string& with);

// text with line inserted before the first line that starts with before.
std::string InsertedBefore(const std::string& text, const std::string& before, const std::string& line);

std::string ReadBytes(const std::string& path);

// A record with the name set (the rewriters read only the name).
tagCUSTOMPAPER PaperNamed(const std::string& name);

// The four lines of the paper "userpaper457/Label", 100 x 150 mm (283 x 425 points).
extern const char* const kLabelLines[4];

// Switches every category to a locale whose decimal point is a comma for its lifetime; Active()
// is false when that locale was not built (no localedef) and the locale stays as it was.
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    bool Active() const { return m_active; }

private:
    bool m_active = false;
    std::string m_old;
};

}  // namespace orvtest
