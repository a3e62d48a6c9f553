#include "support/MarkedPpd.h"

#include "support/RealCups.h"

namespace orvtest {

MarkedPpd::MarkedPpd(const std::string& path, const PpdMarks& marks, tagSPCDATA* pData)
{
    m_handle.pSpcData = pData;
    m_handle.pCupsFunc = &RealCups();
    if (m_handle.pCupsFunc->handle == nullptr) {
        return;
    }
    m_handle.pPpd = m_handle.pCupsFunc->ppdOpenFile(path.c_str());
    if (m_handle.pPpd == nullptr) {
        return;
    }
    m_handle.pCupsFunc->ppdMarkDefaults(m_handle.pPpd);
    for (const auto& mark : marks) {
        m_handle.pCupsFunc->ppdMarkOption(m_handle.pPpd, mark.first.c_str(), mark.second.c_str());
    }
}

MarkedPpd::~MarkedPpd()
{
    if (m_handle.pPpd != nullptr) {
        m_handle.pCupsFunc->ppdClose(m_handle.pPpd);
    }
}

}  // namespace orvtest
