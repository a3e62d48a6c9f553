// Stand-ins for a libcups without PPD localisation or a default language: the PPD keeps the texts
// it was written with, and callers fall back to their built-in language.
#include "core/binding/CupsFallbacks.h"

extern "C" {

int my_ppdLocalize(ppd_file_t*)
{
    return 0;
}

cups_lang_t* my_cupsLangDefault(void)
{
    return nullptr;
}

}  // extern "C"
