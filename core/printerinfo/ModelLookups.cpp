#include "core/printerinfo/ModelLookups.h"

#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstring>

namespace {

constexpr SHORT kSourceManualFeed = 4;
constexpr SHORT kSourceAutoSelect = 7;
constexpr SHORT kGroupKindFeeder1 = 1;
constexpr SHORT kGroupKindFeeder2 = 2;
constexpr SHORT kGroupKindLargeCapacity = 5;

enum class GroupFilter { kFeeders, kAll, kLargeCapacity };

int SourcesInGroups(const tagMODELHANDLE* pHandle, GroupFilter filter)
{
    CPrinterInfo groups(pHandle, SPCID_SOURCEGROUP, 0, 2);
    DWORD count = 0;
    const tagSOURCEGROUP* records = groups.Records<tagSOURCEGROUP>(&count);
    int total = 0;
    for (DWORD i = 0; i < count; ++i) {
        const SHORT kind = records[i].sKind;
        const bool counted = filter == GroupFilter::kAll ||
                             (filter == GroupFilter::kFeeders && (kind == kGroupKindFeeder1 || kind == kGroupKindFeeder2)) ||
                             (filter == GroupFilter::kLargeCapacity && kind == kGroupKindLargeCapacity);
        if (counted && records[i].sSourceCount > 0) {
            total += records[i].sSourceCount;
        }
    }
    return total;
}

}  // namespace

WORD FindResolutionEntry(const tagMODELHANDLE* pHandle, SHORT sQualityMode, void* pvEntry32)
{
    if (pvEntry32 == nullptr) {
        return FLAG_FALSE;
    }
    CPrinterInfo resolutions(pHandle, SPCID_RESOLUTION, 0, 1);
    DWORD count = 0;
    const tagSPCRESOLUTION* entries = resolutions.Records<tagSPCRESOLUTION>(&count);
    for (DWORD i = 0; i < count; ++i) {
        if (entries[i].sMode == sQualityMode) {
            std::memcpy(pvEntry32, &entries[i], sizeof entries[i]);
            return FLAG_TRUE;
        }
    }
    return FLAG_FALSE;
}

int CountSelectableSources(const tagMODELHANDLE* pHandle)
{
    CPrinterInfo sources(pHandle, SPCID_PAPERSOURCE, 0, 1);
    DWORD count = 0;
    const tagSPCIDVALUE* records = sources.Records<tagSPCIDVALUE>(&count);
    int selectable = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (records[i].sId != kSourceManualFeed && records[i].sId != kSourceAutoSelect) {
            ++selectable;
        }
    }
    return selectable;
}

int CountOptionalSources(const tagMODELHANDLE* pHandle)
{
    return SourcesInGroups(pHandle, GroupFilter::kFeeders);
}

int CountGroupedSources(const tagMODELHANDLE* pHandle)
{
    return SourcesInGroups(pHandle, GroupFilter::kAll);
}

int CountLargeCapacitySources(const tagMODELHANDLE* pHandle)
{
    return SourcesInGroups(pHandle, GroupFilter::kLargeCapacity);
}
