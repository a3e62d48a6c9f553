// A queue's PPD for tests: opened with the real libcups, its defaults marked and then the given
// choices, as a queue's PPD stands when the driver reads it; closed at the end of the scope.
#pragma once

#include "core/model/ModelHandle.h"

#include <string>
#include <utility>
#include <vector>

namespace orvtest {

using PpdMarks = std::vector<std::pair<std::string, std::string>>;

class MarkedPpd {
public:
    // The handle carries pData as its model data (NULL: none).
    MarkedPpd(const std::string& path, const PpdMarks& marks, tagSPCDATA* pData = nullptr);
    ~MarkedPpd();
    MarkedPpd(const MarkedPpd&) = delete;
    MarkedPpd& operator=(const MarkedPpd&) = delete;

    bool IsOpen() const { return m_handle.pPpd != nullptr; }
    tagMODELHANDLE* Handle() { return &m_handle; }

private:
    tagMODELHANDLE m_handle {};
};

}  // namespace orvtest
