// Resource text files (".RCT"): per-locale replacements of the built-in user-interface texts.
//
// A file is read line by line: ";" starts a comment; "[string]" opens section 0 and "[dlgN]" the
// section N (other header names are ignored); a key line "id=text" or "DialogInfo=text" (the
// section's title, string id 0) stores the text under the id of the open section. The text is
// unescaped (\\, \n, \r, \t; a backslash before anything else is dropped). Files are found
// through the locale subdirectories of a data directory (see CRctFile::Load).
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"
#include "core/containers/MapWordToPtr.h"

#include <cstdio>
#include <string>
#include <vector>

class CRctFile {
public:
    // One section of a file: string id -> heap copy of the text, owned.
    class CRctStrings {
    public:
        CRctStrings();
        virtual ~CRctStrings();
        CRctStrings(const CRctStrings&) = delete;
        CRctStrings& operator=(const CRctStrings&) = delete;

        virtual int GetCount() const;
        // Frees every text and empties the section.
        virtual void RemoveAll();
        // Stores a fresh copy of the text under the id (replacing an earlier one) and returns it.
        virtual const char* SetString(WORD wID, const char* pszText);
        // The text of the id, or NULL.
        virtual const char* GetString(WORD wID) const;

    private:
        CMapWordToPtr m_mapStrings;
    };

    // The libcups table is used only to ask for the default language; NULL or unbound counts as
    // no answer ("en_US").
    explicit CRctFile(const tagCUPSFUNC* pCups);
    virtual ~CRctFile();
    CRctFile(const CRctFile&) = delete;
    CRctFile& operator=(const CRctFile&) = delete;

    // Deletes every section.
    virtual void RemoveAll();

    // Empties the object, then opens the file through the locale search (OpenLocalized) and reads
    // it. 1 when section 0 holds at least one text, else 0 (also when no file opens); the texts
    // of every section read stay available either way. The directory is put in front of each
    // candidate unchanged and so must end with "/". A file name holding "/" is refused.
    WORD Load(const char* pszDirectory, const char* pszFileName);

    // The text of (section, id), or NULL. Owned by this object until the next Load or RemoveAll.
    const char* GetString(WORD wSection, WORD wID) const;

    // The locale name (at most 5 characters, such as ja_JP) and the language code (at most 2)
    // from libcups's default language: "en_US" and "en" without an answer; a two-letter answer
    // is expanded (ja -> ja_JP, de -> de_DE). An answer holding anything but letters, digits and
    // "_" in its first 5 characters counts as no answer, so that it cannot lead out of the data
    // directory.
    void GetLocaleNames(std::string& strLocale, std::string& strLanguage) const;

    // The paths tried for a file, in order: <dir><locale>/<file>, <dir><language>/<file>,
    // <dir>en_US/<file>, <dir>en/<file>, <dir><file>.
    static std::vector<std::string> CandidatePaths(const char* pszDirectory, const char* pszFileName,
                                                   const std::string& strLocale,
                                                   const std::string& strLanguage);

    // The first candidate that opens for reading, or NULL.
    FILE* OpenLocalized(const char* pszDirectory, const char* pszFileName) const;

    // Reads an open file from its start into this object (see the file comment). Lines of any
    // length are read whole; a line longer than kMaxLineLength, or holding a NUL byte, is skipped,
    // and reading stops after kMaxFileLength bytes.
    void Parse(FILE* pFile);

    static constexpr size_t kMaxLineLength = 64 * 1024;
    static constexpr size_t kMaxFileLength = 4 * 1024 * 1024;

private:
    // Opens a new, empty section under the id, replacing an earlier one of that id.
    CRctStrings* OpenSection(WORD wSection);
    void ParseLine(std::string& line, CRctStrings*& pSection);

    const tagCUPSFUNC* m_pCups;
    CMapWordToPtr m_mapSections;
};

// Unescapes a resource text in place: \\ \n \r \t become a backslash, a line feed, a carriage
// return and a tab; a backslash before any other character, or at the end, is dropped.
void UnescapeRctText(char* pszText);

// A number of a header or key, read like the C library's decimal conversion (leading blanks and a
// sign accepted, stops at the first non-digit, no digits gives 0). False for a number outside
// 0..65535: such a line is damaged rather than meant for some other id.
bool ParseRctNumber(const char* pszText, WORD& wValue);
