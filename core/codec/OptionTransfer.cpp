#include "core/codec/OptionTransfer.h"

#include "core/binding/PpdHelpers.h"
#include "core/codec/CupsKeys.h"
#include "core/codec/OptionCodec.h"

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

bool HasPpd(const tagMODELHANDLE* handle)
{
    return handle != nullptr && handle->pCupsFunc != nullptr &&
           handle->pCupsFunc->handle != nullptr && handle->pPpd != nullptr;
}

ppd_choice_t* MarkedChoice(tagMODELHANDLE* handle, const char* keyword)
{
    if (!HasPpd(handle) || keyword == nullptr) {
        return nullptr;
    }
    return handle->pCupsFunc->ppdFindMarkedChoice(handle->pPpd, keyword);
}

// Only one layout runs at a time: pages per sheet before booklet before poster before fit.
WORD FirstLayoutBit(WORD layout)
{
    static constexpr WORD kOrder[] = {0x1, 0x2, 0x4, 0x8};
    for (WORD bit : kOrder) {
        if ((layout & bit) != 0) {
            return bit;
        }
    }
    return layout;
}

}  // namespace

int Options2Devmode(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, int nOptions,
                    cups_option_t* pOptions)
{
    if (pdm == nullptr) {
        return 0;
    }
    if (nOptions < 0 || pOptions == nullptr) {
        nOptions = 0;
    }
    if (HasPpd(pHandle)) {
        tagCUPSFUNC* cups = pHandle->pCupsFunc;
        cups->ppdMarkDefaults(pHandle->pPpd);
        cups->cupsMarkOptions(pHandle->pPpd, nOptions, pOptions);

        ppd_option_t** raw = nullptr;
        int count = CollectPpdOptions(cups, pHandle->pPpd, &raw);
        std::unique_ptr<ppd_option_t*, FreeDeleter> options(raw);
        for (int i = 0; i < count; ++i) {
            const char* keyword = raw[i]->keyword;
            if (ppd_choice_t* marked = MarkedChoice(pHandle, keyword)) {
                OptionCodec(pHandle, pdm, keyword, marked->choice, nullptr);
            }
        }
    }
    // Options the PPD does not know (or has no marked choice for) are the job's own: copies,
    // sides, orientation, pages per sheet and the like.
    for (int i = 0; i < nOptions; ++i) {
        const cups_option_t& option = pOptions[i];
        if (option.name != nullptr && option.value != nullptr &&
            MarkedChoice(pHandle, option.name) == nullptr) {
            OptionCodec(pHandle, pdm, option.name, option.value, nullptr);
        }
    }
    pdm->priv.dmLayoutPrint = FirstLayoutBit(pdm->priv.dmLayoutPrint);
    return 0;
}

int DevmodeToOptions(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, cups_option_t** ppOptions)
{
    if (ppOptions == nullptr) {
        return 0;
    }
    *ppOptions = nullptr;
    if (pdm == nullptr || pHandle == nullptr) {
        return 0;
    }
    int count = 0;
    for (int i = 0; i < CUPS_KEYS_COUNT; ++i) {
        char* raw = nullptr;
        OptionCodec(pHandle, pdm, CUPS_KEYS[i], nullptr, &raw);
        std::unique_ptr<char, FreeDeleter> value(raw);
        if (value) {
            count = AddCupsOption(pHandle->pCupsFunc, CUPS_KEYS[i], value.get(), count, ppOptions);
        }
    }
    return count;
}
