#include "core/dialog/DialogTestSupport.h"

#include "core/codec/OptionTransfer.h"
#include "core/dialog/ReviseDevmode.h"

#include <cstring>
#include <vector>

namespace dialogtest {

SampleQueue::SampleQueue(const std::string& model, const Marks& marks)
    : m_marks(marks),
      m_name(model),
      m_data(LoadSampleModel(model)),
      m_ppd(std::string(ORV_SAMPLE_PPD_DIR) + model + ".ppd", marks, m_data.get())
{
}

void SampleQueue::WriteChoices(DRVDEVMODE* pdm, tagSPCDATA* pModel)
{
    tagMODELHANDLE handle = *m_ppd.Handle();
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

DWORD ModelDefaults(SampleQueue& queue, DRVDEVMODE* pdm, tagSPCDATA* pModel)
{
    std::memset(pdm, 0, sizeof *pdm);
    return uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), pModel != nullptr ? pModel : queue.Data(), nullptr,
                             pdm, REVISE_MODE_DEFAULTS);
}

DWORD ReviseInPlace(SampleQueue& queue, DRVDEVMODE* pdm, tagSPCDATA* pModel)
{
    return uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), pModel != nullptr ? pModel : queue.Data(), pdm,
                             pdm, REVISE_MODE_REVISE);
}

}  // namespace dialogtest
