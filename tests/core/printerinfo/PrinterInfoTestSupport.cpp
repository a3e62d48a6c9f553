#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <cstring>

namespace pitest {

tagMODELHANDLE HandleOf(tagSPCDATA* pData)
{
    tagMODELHANDLE handle {};
    handle.pSpcData = pData;
    return handle;
}

TestQueue::TestQueue(tagSPCDATA* pData, const std::vector<std::pair<std::string, std::string>>& marks)
    : MarkedPpd(ORV_PRINTERINFO_PPD, marks, pData)
{
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
