#include "core/codec/PpdChoiceId.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kIdMarker[] = "%% ID=";

}  // namespace

WORD ParseDecimal(const char* pszText, long* plNumber)
{
    if (pszText == nullptr || plNumber == nullptr) {
        return FLAG_FALSE;
    }
    char* end = nullptr;
    // strtol skips the leading white space itself and saturates on overflow; the callers check the
    // range their field can hold.
    *plNumber = std::strtol(pszText, &end, 10);
    return end != pszText ? FLAG_TRUE : FLAG_FALSE;
}

WORD GetPpdChoiceId(const char* pszCode, long* plNumber)
{
    if (pszCode == nullptr || plNumber == nullptr) {
        return FLAG_FALSE;
    }
    const char* marker = std::strstr(pszCode, kIdMarker);
    if (marker == nullptr) {
        return FLAG_FALSE;
    }
    return ParseDecimal(marker + sizeof kIdMarker - 1, plNumber);
}

ppd_choice_t* FindChoiceById(ppd_option_t* pOption, long lNumber)
{
    if (pOption == nullptr || pOption->choices == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < pOption->num_choices; ++i) {
        long id = 0;
        if (GetPpdChoiceId(pOption->choices[i].code, &id) && id == lNumber) {
            return &pOption->choices[i];
        }
    }
    return nullptr;
}
