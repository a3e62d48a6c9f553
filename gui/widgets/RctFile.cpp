#include "gui/widgets/RctFile.h"

#include <cstring>
#include <memory>

CRctFile::CRctFile(const tagCUPSFUNC* pCups) : m_pCups(pCups), m_mapSections(10) {}

CRctFile::~CRctFile()
{
    RemoveAll();
}

void CRctFile::RemoveAll()
{
    POSITION pos = m_mapSections.GetStartPosition();
    while (pos != nullptr) {
        WORD wSection = 0;
        void* pSection = nullptr;
        m_mapSections.GetNextAssoc(pos, wSection, pSection);
        delete static_cast<CRctStrings*>(pSection);
    }
    m_mapSections.RemoveAll();
}

CRctFile::CRctStrings* CRctFile::OpenSection(WORD wSection)
{
    void*& rSlot = m_mapSections[wSection];
    delete static_cast<CRctStrings*>(rSlot);
    CRctStrings* pSection = new CRctStrings;
    rSlot = pSection;
    return pSection;
}

WORD CRctFile::Load(const char* pszDirectory, const char* pszFileName)
{
    RemoveAll();
    if (pszDirectory == nullptr || pszFileName == nullptr || pszFileName[0] == '\0' ||
        std::strchr(pszFileName, '/') != nullptr) {
        return 0;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenLocalized(pszDirectory, pszFileName), &std::fclose);
    if (!file) {
        return 0;
    }
    Parse(file.get());
    void* pSection = nullptr;
    if (!m_mapSections.Lookup(0, pSection)) {
        return 0;
    }
    return static_cast<CRctStrings*>(pSection)->GetCount() > 0 ? 1 : 0;
}

const char* CRctFile::GetString(WORD wSection, WORD wID) const
{
    void* pSection = nullptr;
    if (!m_mapSections.Lookup(wSection, pSection)) {
        return nullptr;
    }
    return static_cast<const CRctStrings*>(pSection)->GetString(wID);
}
