#include "filter/pjl/PjlHeader.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcListAnswers.h"
#include "filter/log/FilterLog.h"
#include "filter/job/OutputSink.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kCrLfLineEnds = 0x40000000;
constexpr DWORD kFirstCommentedId = 10;    // the comments stand before the first id above it
constexpr DWORD kFirstFixedLinesId = 996;  // items from here on are fixed header lines
constexpr DWORD kSkippedFirst = 501;
constexpr DWORD kSkippedLast = 600;
constexpr LONG kViewFlags = 1;
constexpr LONG kViewItems = 3;
constexpr LONG kViewFormats = 4;

const char kDriverVersionFormat[] = "COMMENT DriverVersion=\"orvgdi 2.0.30 (build at Dec 16 2014 17:43:46)\"";

int ArgumentCount(WORD wType)
{
    if (wType >= PJLTYPE_TEXT1 && wType <= PJLTYPE_TEXT3) {
        return wType;
    }
    if (wType >= PJLTYPE_NUMBER1 && wType <= PJLTYPE_NUMBER6) {
        return wType - PJLTYPE_NUMBER1 + 1;
    }
    return 0;
}

}  // namespace

bool IsPjlFormatForType(const char* pszFormat, WORD wType)
{
    if (pszFormat == nullptr || wType > PJLTYPE_NUMBER6) {
        return false;
    }
    bool bText = wType >= PJLTYPE_TEXT1 && wType <= PJLTYPE_TEXT3;
    int iArgs = ArgumentCount(wType);
    int iUsed = 0;
    for (const char* p = pszFormat; *p != '\0'; ++p) {
        if (*p != '%') {
            continue;
        }
        ++p;
        if (*p == '%') {
            continue;
        }
        while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) {
            ++p;
        }
        while (*p >= '0' && *p <= '9') {
            ++p;
        }
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') {
                ++p;
            }
        }
        if (*p == '\0') {
            return false;
        }
        bool bFits = bText ? *p == 's' : std::strchr("diuxXoc", *p) != nullptr;
        if (!bFits || ++iUsed > iArgs) {
            return false;
        }
    }
    return true;
}

void InitPjlAffixes(tagJOBINFO* pJob, tagPJLAFFIXES* pAffixes)
{
    if (pAffixes == nullptr) {
        return;
    }
    std::memcpy(pAffixes->szPrefix, "@PJL ", sizeof pAffixes->szPrefix);
    std::memcpy(pAffixes->szLineEnd, "\n", 2);
    if (pJob == nullptr || pJob->pSpcData == nullptr) {
        return;
    }
    const ModelAnswer flags(pJob->pSpcData, SPCID_PJLITEMS, 0, kViewFlags);
    if (!flags.Answered()) {
        return;
    }
    const DWORD dwFlags = flags.Count() > 0 ? flags.Record<DWORD>() : 0;
    if ((dwFlags & kCrLfLineEnds) != 0) {
        std::memcpy(pAffixes->szLineEnd, "\r\n", 3);
    }
}

void WritePjlLine(tagJOBINFO* pJob, const tagPJLAFFIXES* pAffixes, const char* pszFormat, ...)
{
    size_t cbBuffer = 128;
    char* pszText = nullptr;
    int n = 0;
    for (;;) {
        pszText = static_cast<char*>(std::malloc(cbBuffer));
        if (pszText == nullptr) {
            return;
        }
        va_list args;
        va_start(args, pszFormat);
        n = vsnprintf(pszText, cbBuffer, pszFormat, args);
        va_end(args);
        if (n < 0) {
            std::free(pszText);
            return;
        }
        if (static_cast<size_t>(n) < cbBuffer) {
            break;
        }
        std::free(pszText);
        cbBuffer = static_cast<size_t>(n) + 1;
    }
    if (n > 0) {
        OutputPuts(pJob, pAffixes->szPrefix);
        OutputWrite(pJob, pszText, static_cast<size_t>(n));
        OutputPuts(pJob, pAffixes->szLineEnd);
    }
    std::free(pszText);
}

// The format is the model's text; IsPjlFormatForType has checked it against the arguments.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
void WritePjlValue(tagJOBINFO* pJob, const tagPJLAFFIXES* pAffixes, const char* pszFormat, const tagPJLVALUE* pValue)
{
    if (pAffixes == nullptr || pszFormat == nullptr || pValue == nullptr || pValue->sHasValue == 0) {
        return;
    }
    if (!IsPjlFormatForType(pszFormat, pValue->wType)) {
        LogMessage(1, "PJL item %u: format \"%s\" does not fit its value (type %u)\n",
                   static_cast<unsigned>(pValue->dwItemId), pszFormat, static_cast<unsigned>(pValue->wType));
        return;
    }
    const char(*t)[kPjlTextSize] = pValue->aszTexts;
    const WORD* w = pValue->awNumbers;
    switch (pValue->wType) {
    case PJLTYPE_NONE:
        WritePjlLine(pJob, pAffixes, pszFormat);
        break;
    case PJLTYPE_TEXT1:
        WritePjlLine(pJob, pAffixes, pszFormat, t[0]);
        break;
    case PJLTYPE_TEXT2:
        WritePjlLine(pJob, pAffixes, pszFormat, t[0], t[1]);
        break;
    case PJLTYPE_TEXT3:
        WritePjlLine(pJob, pAffixes, pszFormat, t[0], t[1], t[2]);
        break;
    case PJLTYPE_NUMBER1:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]});
        break;
    case PJLTYPE_NUMBER2:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]}, int{w[1]});
        break;
    case PJLTYPE_NUMBER3:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]}, int{w[1]}, int{w[2]});
        break;
    case PJLTYPE_NUMBER4:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]}, int{w[1]}, int{w[2]}, int{w[3]});
        break;
    case PJLTYPE_NUMBER5:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]}, int{w[1]}, int{w[2]}, int{w[3]}, int{w[4]});
        break;
    case PJLTYPE_NUMBER6:
        WritePjlLine(pJob, pAffixes, pszFormat, int{w[0]}, int{w[1]}, int{w[2]}, int{w[3]}, int{w[4]}, int{w[5]});
        break;
    default:
        break;
    }
}
#pragma GCC diagnostic pop

const char* FindPjlFormat(const tagPJLFORMAT* pFormats, DWORD dwCount, DWORD dwItemId, DWORD dwKey,
                          char (&szOut)[kPjlFormatLength + 1])
{
    if (pFormats == nullptr) {
        return nullptr;
    }
    for (DWORD i = 0; i < dwCount; ++i) {
        if (pFormats[i].dwItemId != dwItemId || pFormats[i].dwValueKey != dwKey) {
            continue;
        }
        size_t cch = strnlen(pFormats[i].szFormat, kPjlFormatLength);
        if (cch == 0) {
            return nullptr;
        }
        std::memcpy(szOut, pFormats[i].szFormat, cch);
        szOut[cch] = '\0';
        return szOut;
    }
    return nullptr;
}

int ExpandLineEnds(const char* pszFormat, char* pszOut, size_t cbOut, const char* pszLineEnd)
{
    if (pszFormat == nullptr || pszOut == nullptr || cbOut == 0 || pszLineEnd == nullptr) {
        return 0;
    }
    if (std::strstr(pszFormat, "\\n") == nullptr) {
        return 0;
    }
    size_t cchLineEnd = std::strlen(pszLineEnd);
    size_t cchRoom = cbOut - 1;
    size_t o = 0;
    for (const char* p = pszFormat; *p != '\0'; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            if (cchRoom - o >= cchLineEnd) {
                std::memcpy(pszOut + o, pszLineEnd, cchLineEnd);
                o += cchLineEnd;
            }
            ++p;
            continue;
        }
        if (o < cchRoom) {
            pszOut[o++] = *p;
        }
    }
    pszOut[o] = '\0';
    return -1;
}

void WriteOsVersionComment(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->pszSystem == nullptr) {
        return;
    }
    OutputPrintf(pJob, "@PJL COMMENT OSVersion=\"%s\"\n", pJob->pszSystem);
}

int WritePjlHeader(tagJOBINFO* pJob)
{
    if (pJob == nullptr) {
        return -1;
    }
    tagPJLAFFIXES affixes;
    InitPjlAffixes(pJob, &affixes);
    tagPJLVALUE* pValue = static_cast<tagPJLVALUE*>(std::calloc(1, sizeof(tagPJLVALUE)));
    if (pValue == nullptr) {
        return -1;
    }

    const ModelAnswer formatList(pJob->pSpcData, SPCID_PJLITEMS, 0, kViewFormats);
    if (!formatList.Answered()) {
        std::free(pValue);
        return -1;
    }
    const std::vector<tagPJLFORMAT> formats = formatList.Records<tagPJLFORMAT>();
    const std::vector<tagPJLITEM> items =
        ModelAnswer(pJob->pSpcData, SPCID_PJLITEMS, 0, kViewItems).Records<tagPJLITEM>();
    if (items.empty()) {
        std::free(pValue);
        return -1;
    }

    bool bCommented = false;
    for (const tagPJLITEM& item : items) {
        if (!bCommented && static_cast<LONG>(item.dwItemId) > static_cast<LONG>(kFirstCommentedId)) {
            std::memset(pValue, 0, sizeof *pValue);
            pValue->sHasValue = -1;
            WritePjlValue(pJob, &affixes, kDriverVersionFormat, pValue);
            WriteOsVersionComment(pJob);
            bCommented = true;
        }
        LONG lId = static_cast<LONG>(item.dwItemId);
        if (lId >= static_cast<LONG>(kFirstFixedLinesId)) {
            const std::vector<tagPJLFORMAT> lines =
                ModelAnswer(pJob->pSpcData, SPCID_PJLITEMS, static_cast<SHORT>(lId > 0x7FFF ? 0x7FFF : lId),
                            kViewFormats)
                    .Records<tagPJLFORMAT>();
            std::memset(pValue, 0, sizeof *pValue);
            pValue->sHasValue = -1;
            pValue->dwItemId = item.dwItemId;
            for (const tagPJLFORMAT& line : lines) {
                char szLine[kPjlFormatLength + 1];
                size_t cch = strnlen(line.szFormat, kPjlFormatLength);
                std::memcpy(szLine, line.szFormat, cch);
                szLine[cch] = '\0';
                WritePjlValue(pJob, &affixes, szLine, pValue);
            }
            continue;
        }
        if (lId >= static_cast<LONG>(kSkippedFirst) && lId <= static_cast<LONG>(kSkippedLast)) {
            continue;
        }
        std::memset(pValue, 0, sizeof *pValue);
        if (BuildPjlValue(pJob, &item, pValue) == 0) {
            continue;
        }
        char szFormat[kPjlFormatLength + 1];
        const char* pszFormat =
            FindPjlFormat(formats.data(), static_cast<DWORD>(formats.size()), item.dwItemId, pValue->dwKey, szFormat);
        if (pszFormat == nullptr) {
            continue;
        }
        char szExpanded[kPjlExpandedSize];
        if (ExpandLineEnds(pszFormat, szExpanded, sizeof szExpanded, affixes.szLineEnd) != 0) {
            pszFormat = szExpanded;
        }
        WritePjlValue(pJob, &affixes, pszFormat, pValue);
    }
    std::free(pValue);
    return -1;
}
