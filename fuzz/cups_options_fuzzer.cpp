// The job's CUPS options and the PPD option codec: any text as a job's option string, parsed by
// libcups and written into the settings record over the colour sample model and its queue PPD,
// revised, and turned back into CUPS options.
#include "FuzzSupport.h"

#include "core/codec/OptionTransfer.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/settings/DevModeService.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tagCUPSFUNC& cups = orvfuzz::Cups();
    ppd_file_t* ppd = orvfuzz::SamplePpd("GC7350");
    tagSPCDATA* model = orvfuzz::CopyOfSampleModel("GC7350");
    if (cups.cupsParseOptions == nullptr || ppd == nullptr || model == nullptr) {
        std::free(model);
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    cups_option_t* options = nullptr;
    const int count = cups.cupsParseOptions(text.c_str(), 0, &options);

    DRVDEVMODE record{};
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    SpcDevmodeService(model, nullptr, &record, DEVMODE_SERVICE_DEFAULTS);
    tagMODELHANDLE handle = {model, &cups, ppd};
    Options2Devmode(&handle, &record, count, options);
    uiReviseDevmodeEx("fuzzqueue", &cups, ppd, model, &record, &record, DEVMODE_SERVICE_VALIDATE);
    cups_option_t* back = nullptr;
    const int backCount = DevmodeToOptions(&handle, &record, &back);
    cups.cupsFreeOptions(backCount, back);
    cups.cupsFreeOptions(count, options);
    // The marks the options made stay on the shared PPD; the next input starts from the defaults.
    cups.ppdMarkDefaults(ppd);
    std::free(model);
    return 0;
}
