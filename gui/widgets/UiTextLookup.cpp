#include "gui/widgets/UiTextLookup.h"

#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PrintfConversions.h"
#include "gui/widgets/RctFile.h"

#include <cstdio>

const char* LookupUiText(const CRctFile* pModelFile, const CRctFile* pCommonFile, WORD wSection, WORD wID)
{
    const char* pszBuiltin = GetBuiltinString(wSection, wID);
    for (const CRctFile* pFile : {pModelFile, pCommonFile}) {
        if (pFile == nullptr) {
            continue;
        }
        const char* pszText = pFile->GetString(wSection, wID);
        if (pszText == nullptr) {
            continue;
        }
        if (orv::SamePrintfConversions(pszText, pszBuiltin)) {
            return pszText;
        }
        std::printf("LoadString (%u, %u): resource text \"%s\" has other printf conversions than the "
                    "program's; not used\n",
                    static_cast<unsigned>(wSection), static_cast<unsigned>(wID), pszText);
    }
    return pszBuiltin;
}
