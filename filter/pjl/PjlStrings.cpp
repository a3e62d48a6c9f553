// The text helpers of the PJL header: job texts made safe for a quoted PJL value and cut to the
// model's length, and the "%r" split of multi-part model texts.
#include "filter/pjl/PjlValues.h"
#include "filter/pjl/PjlStrings.h"

#include <cstring>

namespace {

constexpr char kDel = 0x7F;
constexpr char kEsc = 0x1B;

}  // namespace

void SanitisePjlString(char* psz, DWORD dwCopyFlags)
{
    if (psz == nullptr) {
        return;
    }
    for (; *psz != '\0'; ++psz) {
        unsigned char c = static_cast<unsigned char>(*psz);
        bool bReplace = false;
        if (*psz == kDel) {
            bReplace = (dwCopyFlags & PJLCOPY_DEL) == 0;
        } else if (*psz == '"') {
            bReplace = (dwCopyFlags & PJLCOPY_QUOTE) == 0;
        } else if (*psz == kEsc) {
            bReplace = (dwCopyFlags & PJLCOPY_ESC) == 0;
        } else if (c < 0x20) {
            bReplace = (dwCopyFlags & PJLCOPY_CONTROL) == 0;
        }
        if (bReplace) {
            *psz = ' ';
        }
    }
}

void CopyHead(const char* pszSource, size_t cch, char* pszDest)
{
    size_t n = strnlen(pszSource, cch);
    std::memcpy(pszDest, pszSource, n);
    pszDest[n] = '\0';
}

void CopyTail(const char* pszSource, size_t cch, char* pszDest)
{
    size_t n = std::strlen(pszSource);
    const char* pszFrom = n > cch ? pszSource + (n - cch) : pszSource;
    size_t m = n > cch ? cch : n;
    std::memcpy(pszDest, pszFrom, m);
    pszDest[m] = '\0';
}

int CopyPjlString(DWORD dwCopyFlags, DWORD dwMaxLength, const char* pszSource, char* pszDest, size_t cbDest)
{
    if (pszSource == nullptr || pszDest == nullptr || cbDest == 0) {
        return 0;
    }
    char szWork[kPjlTextSize];
    CopyHead(pszSource, sizeof szWork - 1, szWork);
    SanitisePjlString(szWork, dwCopyFlags);
    size_t cch = 0;
    if ((dwCopyFlags & PJLCOPY_LIMIT) != 0) {
        cch = dwMaxLength < cbDest - 1 ? dwMaxLength : cbDest - 1;
    }
    if (cch == 0) {
        CopyHead(szWork, cbDest - 1, pszDest);
    } else if ((dwCopyFlags & PJLCOPY_TAIL) == 0) {
        CopyHead(szWork, cch, pszDest);
    } else {
        CopyTail(szWork, cch, pszDest);
    }
    return -1;
}

void SplitAtPercentR(const char* pszSource, size_t cchSource, tagPJLVALUE* pValue)
{
    if (pszSource == nullptr || pValue == nullptr) {
        return;
    }
    int iText = 0;
    size_t cch = 0;
    pValue->aszTexts[0][0] = '\0';
    for (size_t i = 0; i < cchSource && pszSource[i] != '\0'; ++i) {
        if (pszSource[i] == '%' && i + 1 < cchSource && pszSource[i + 1] == 'r') {
            ++i;
            if (iText + 1 >= kPjlValueTexts) {
                return;  // the sixth text ends the split
            }
            ++iText;
            cch = 0;
            pValue->aszTexts[iText][0] = '\0';
            continue;
        }
        if (cch < kPjlTextSize - 1) {
            pValue->aszTexts[iText][cch++] = pszSource[i];
            pValue->aszTexts[iText][cch] = '\0';
        }
    }
}
