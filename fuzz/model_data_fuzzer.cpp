// The model data reader: any bytes as a model data file, asked every capability in every view for
// a spread of items (sizes first, then the records), then made into a settings record and
// validated against it, as both programs do with the file a queue's PPD names.
#include "core/model/SpcData.h"
#include "core/model/SpcQuery.h"
#include "core/settings/DevModeService.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr SHORT kLastCapability = 102;
constexpr LONG kLastView = 12;
// Items asked for once the capability answers in the view at all (item 0 asks for every record).
constexpr SHORT kItems[] = {1, 99, 256, -1};
// Answers larger than this are not fetched: the size answer itself has been checked by then.
constexpr DWORD kLargestFetch = 1u << 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tagSPCDATA* model = SpcLoadImage(data, size);
    if (model == nullptr)
        return 0;
    std::vector<BYTE> buffer;
    auto ask = [&](SHORT cap, SHORT item, LONG view) {
        DWORD cb = 0;
        DWORD count = 0;
        const DWORD result = SpcQuery(model, cap, item, view, nullptr, &cb, &count);
        if (result != ERROR_SUCCESS || cb == 0 || cb > kLargestFetch)
            return result;
        buffer.assign(cb, 0);
        SpcQuery(model, cap, item, view, buffer.data(), &cb, &count);
        // One byte short must be refused, never written past.
        DWORD cbShort = cb - 1;
        SpcQuery(model, cap, item, view, buffer.data(), &cbShort, &count);
        return result;
    };
    for (SHORT cap = 0; cap <= kLastCapability + 1; ++cap) {
        for (LONG view = 0; view <= kLastView; ++view) {
            if (ask(cap, 0, view) == ERROR_NOT_SUPPORTED)
                continue;
            for (SHORT item : kItems)
                ask(cap, item, view);
        }
    }
    DRVDEVMODE record{};
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    if (SpcDevmodeService(model, nullptr, &record, DEVMODE_SERVICE_DEFAULTS) == ERROR_SUCCESS) {
        DRVDEVMODE checked = record;
        SpcDevmodeService(model, &record, &checked, DEVMODE_SERVICE_VALIDATE);
    }
    std::free(model);
    return 0;
}
