#include "gui/widgets/RctFile.h"

#include <glib.h>

CRctFile::CRctStrings::CRctStrings() : m_mapStrings(10) {}

CRctFile::CRctStrings::~CRctStrings()
{
    RemoveAll();
}

int CRctFile::CRctStrings::GetCount() const
{
    return m_mapStrings.GetCount();
}

void CRctFile::CRctStrings::RemoveAll()
{
    POSITION pos = m_mapStrings.GetStartPosition();
    while (pos != nullptr) {
        WORD wID = 0;
        void* pText = nullptr;
        m_mapStrings.GetNextAssoc(pos, wID, pText);
        g_free(pText);
    }
    m_mapStrings.RemoveAll();
}

const char* CRctFile::CRctStrings::SetString(WORD wID, const char* pszText)
{
    void*& rSlot = m_mapStrings[wID];
    g_free(rSlot);
    rSlot = g_strdup(pszText != nullptr ? pszText : "");
    return static_cast<const char*>(rSlot);
}

const char* CRctFile::CRctStrings::GetString(WORD wID) const
{
    void* pText = nullptr;
    if (!m_mapStrings.Lookup(wID, pText)) {
        return nullptr;
    }
    return static_cast<const char*>(pText);
}
