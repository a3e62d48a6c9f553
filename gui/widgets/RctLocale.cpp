// Which locale directories a resource file is looked for in.
#include "gui/widgets/RctFile.h"

#include <cctype>
#include <cstring>

namespace {

struct LanguageExpansion {
    const char* pszLanguage;
    const char* pszLocale;
};

// Two-letter languages whose usual country is not the language's own letters upper-cased.
constexpr LanguageExpansion kExpansions[] = {
    {"cs", "cs_CZ"}, {"en", "en_US"}, {"ja", "ja_JP"}, {"sv", "sv_SE"}, {"zh", "zh_CN"},
};

bool IsLocaleCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

void CRctFile::GetLocaleNames(std::string& strLocale, std::string& strLanguage) const
{
    const cups_lang_t* pLang = nullptr;
    if (m_pCups != nullptr && m_pCups->handle != nullptr && m_pCups->cupsLangDefault != nullptr) {
        pLang = m_pCups->cupsLangDefault();
    }
    std::string name;
    if (pLang != nullptr) {
        name.assign(pLang->language, strnlen(pLang->language, sizeof pLang->language));
        name.resize(std::min<size_t>(name.size(), 5));
        for (char c : name) {
            if (!IsLocaleCharacter(c)) {
                std::printf("CRctFile: default language \"%s\" is no locale name; using en_US\n",
                            name.c_str());
                name.clear();
                break;
            }
        }
    }
    if (name.empty()) {
        strLocale = "en_US";
        strLanguage = "en";
        return;
    }
    strLocale = name;
    strLanguage = name.substr(0, 2);
    if (strLocale.size() == 2) {
        for (const LanguageExpansion& e : kExpansions) {
            if (strLocale == e.pszLanguage) {
                strLocale = e.pszLocale;
                return;
            }
        }
        std::string country = strLocale;
        for (char& c : country) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        strLocale += "_" + country;
    }
}

std::vector<std::string> CRctFile::CandidatePaths(const char* pszDirectory, const char* pszFileName,
                                                  const std::string& strLocale,
                                                  const std::string& strLanguage)
{
    const std::string dir = pszDirectory;
    const std::string file = pszFileName;
    return {dir + strLocale + "/" + file, dir + strLanguage + "/" + file, dir + "en_US/" + file,
            dir + "en/" + file, dir + file};
}

FILE* CRctFile::OpenLocalized(const char* pszDirectory, const char* pszFileName) const
{
    std::string locale;
    std::string language;
    GetLocaleNames(locale, language);
    for (const std::string& path : CandidatePaths(pszDirectory, pszFileName, locale, language)) {
        if (FILE* pFile = std::fopen(path.c_str(), "r")) {
            return pFile;
        }
    }
    return nullptr;
}
