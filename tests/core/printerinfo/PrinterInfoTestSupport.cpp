#include "core/printerinfo/PrinterInfoTestSupport.h"

#include "support/PinnedLibrary.h"

#include <cstring>
#include <fstream>
#include <iterator>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace pitest {

namespace {

SpcDataPtr LoadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        return SpcDataPtr();
    }
    return SpcDataPtr(SpcLoadImage(bytes.data(), bytes.size()));
}

struct BoundCups {
    tagCUPSFUNC table {};
    BoundCups()
    {
        // The loader closes its handle at the end; keep libcups mapped for LeakSanitizer.
        orvtest::PinSharedLibrary("libcups.so.2");
        LoadCupsLibrary(&table);
    }
    ~BoundCups() { UnloadCupsLibrary(&table); }
};

}  // namespace

SpcDataPtr LoadSampleModel(const std::string& name)
{
    return LoadFile(std::string(ORV_SAMPLE_MODEL_DIR) + name + ".pcsp");
}

SpcDataPtr LoadFixtureModel(const std::string& name)
{
    return LoadFile(std::string(ORV_MODEL_FIXTURE_DIR) + name + ".pcsp");
}

tagMODELHANDLE HandleOf(tagSPCDATA* pData)
{
    tagMODELHANDLE handle {};
    handle.pSpcData = pData;
    return handle;
}

tagCUPSFUNC& RealCups()
{
    static BoundCups cups;
    return cups.table;
}

TestQueue::TestQueue(tagSPCDATA* pData, const std::vector<std::pair<std::string, std::string>>& marks)
{
    m_handle.pSpcData = pData;
    m_handle.pCupsFunc = &RealCups();
    if (m_handle.pCupsFunc->handle == nullptr) {
        return;
    }
    m_handle.pPpd = m_handle.pCupsFunc->ppdOpenFile(ORV_PRINTERINFO_PPD);
    if (m_handle.pPpd == nullptr) {
        return;
    }
    m_handle.pCupsFunc->ppdMarkDefaults(m_handle.pPpd);
    for (const auto& mark : marks) {
        m_handle.pCupsFunc->ppdMarkOption(m_handle.pPpd, mark.first.c_str(), mark.second.c_str());
    }
}

TestQueue::~TestQueue()
{
    if (m_handle.pPpd != nullptr) {
        m_handle.pCupsFunc->ppdClose(m_handle.pPpd);
    }
}

DRVDEVMODE BlankRecord()
{
    DRVDEVMODE record;
    std::memset(&record, 0, sizeof record);
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    record.dm.dmOrientation = 1;
    record.priv.dwPrivDATA = kDevmodeSignature;
    return record;
}

}  // namespace pitest
