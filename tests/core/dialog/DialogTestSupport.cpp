#include "core/dialog/DialogTestSupport.h"

#include "core/codec/OptionTransfer.h"
#include "support/PinnedLibrary.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace dialogtest {

namespace {

SpcDataPtr LoadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty())
        return SpcDataPtr();
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

tagCUPSFUNC& RealCups()
{
    static BoundCups cups;
    return cups.table;
}

SampleQueue::SampleQueue(const std::string& model, const Marks& marks)
    : m_marks(marks), m_name(model), m_data(LoadSampleModel(model))
{
    m_handle.pSpcData = m_data.get();
    m_handle.pCupsFunc = &RealCups();
    if (m_handle.pCupsFunc->handle == nullptr)
        return;
    m_handle.pPpd = m_handle.pCupsFunc->ppdOpenFile((std::string(ORV_SAMPLE_PPD_DIR) + model + ".ppd").c_str());
    if (m_handle.pPpd == nullptr)
        return;
    m_handle.pCupsFunc->ppdMarkDefaults(m_handle.pPpd);
    for (const auto& mark : marks)
        m_handle.pCupsFunc->ppdMarkOption(m_handle.pPpd, mark.first.c_str(), mark.second.c_str());
}

SampleQueue::~SampleQueue()
{
    if (m_handle.pPpd != nullptr)
        m_handle.pCupsFunc->ppdClose(m_handle.pPpd);
}

void SampleQueue::WriteChoices(DRVDEVMODE* pdm, tagSPCDATA* pModel)
{
    tagMODELHANDLE handle = m_handle;
    if (pModel != nullptr)
        handle.pSpcData = pModel;
    std::vector<cups_option_t> options;
    for (auto& mark : m_marks)
        options.push_back({&mark.first[0], &mark.second[0]});
    Options2Devmode(&handle, pdm, static_cast<int>(options.size()), options.empty() ? nullptr : options.data());
}

DRVDEVMODE SizedRecord()
{
    DRVDEVMODE record;
    std::memset(&record, 0, sizeof record);
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    return record;
}

}  // namespace dialogtest
