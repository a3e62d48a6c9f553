#include "filter/pjl/PjlRecordText.h"

#include "filter/pjl/PjlStrings.h"

#include "core/model/SpcQuery.h"
#include "core/printerinfo/JobSpoolInfo.h"
#include "filter/log/FilterLog.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kItemUserId = 17;
constexpr DWORD kItemPassword = 18;
constexpr DWORD kItemSecureJobName = 57;
constexpr DWORD kItemDeptCode = 123;

// Without its record the department code takes digits only, 8 of them.
constexpr DWORD kDefaultDeptFilter = ENTRYFILTER_ON | ENTRYFILTER_DIGITS;
constexpr long kDefaultDeptLength = 8;

// One fixed record of the model (item 0), copied into a zeroed buffer of cb bytes; false when the
// model lacks it.
bool ReadRecord(const tagSPCDATA* pData, SHORT sCap, LONG lView, BYTE* pb, size_t cb) {
    std::memset(pb, 0, cb);
    DWORD cbAnswer = 0;
    DWORD dwCount = 0;
    if (pData == nullptr || SpcQuery(pData, sCap, 0, lView, nullptr, &cbAnswer, &dwCount) != ERROR_SUCCESS ||
        cbAnswer == 0)
        return false;
    std::vector<BYTE> answer(cbAnswer, 0);
    if (SpcQuery(pData, sCap, 0, lView, answer.data(), &cbAnswer, &dwCount) != ERROR_SUCCESS) return false;
    std::memcpy(pb, answer.data(), cbAnswer < cb ? cbAnswer : cb);
    return true;
}

DWORD WordAt(const BYTE* pb, size_t off) {
    DWORD dw;
    std::memcpy(&dw, pb + off, sizeof dw);
    return dw;
}

const char* ItemName(DWORD dwItemId) {
    switch (dwItemId) {
    case kItemUserId: return "user id";
    case kItemPassword: return "password";
    case kItemSecureJobName: return "job name";
    case kItemDeptCode: return "department code";
    default: return "text";
    }
}

}  // namespace

tagENTRYTEXTRULE GetRecordTextRule(const tagJOBINFO* pJob, DWORD dwItemId, size_t cbField) {
    tagENTRYTEXTRULE rule = MakeEntryTextRule(0, 0, nullptr, 0);
    const tagSPCDATA* pData = pJob != nullptr ? pJob->pSpcData : nullptr;
    if (dwItemId == kItemUserId || dwItemId == kItemPassword) {
        tagMODELHANDLE handle = {const_cast<tagSPCDATA*>(pData), nullptr, nullptr};
        tagJOBSPOOLINFO info;
        GetJobSpoolInfo(&handle, static_cast<SHORT>(pJob != nullptr ? pJob->devmode.priv.dmJobSpool : 0), &info);
        rule = dwItemId == kItemUserId
                   ? MakeEntryTextRule(info.dwCharMask1, info.sMaxLength1, info.szText1, sizeof info.szText1)
                   : MakeEntryTextRule(info.dwCharMask2, info.sMaxLength2, info.szText2, sizeof info.szText2);
    } else if (dwItemId == kItemSecureJobName) {
        BYTE ab[48];
        if (ReadRecord(pData, SPCID_SECUREPRINT, 1, ab, sizeof ab))
            rule = MakeEntryTextRule(WordAt(ab, 8), static_cast<SHORT>(WordAt(ab, 12) & 0xFFFF), nullptr, 0);
    } else if (dwItemId == kItemDeptCode) {
        BYTE ab[48];
        if (ReadRecord(pData, SPCID_DEPTCODE, 2, ab, sizeof ab))
            rule = MakeEntryTextRule(WordAt(ab, 8), static_cast<long>(WordAt(ab, 12) & 0x7FFFFFFF),
                                     reinterpret_cast<const char*>(ab + 16), 32);
        else
            rule = MakeEntryTextRule(kDefaultDeptFilter, kDefaultDeptLength, nullptr, 0);
    }
    // Only the department code must be typed to its full length; the other entries take any length.
    if (dwItemId != kItemDeptCode) rule.dwFilter &= ~ENTRYFILTER_FULL;
    if (cbField > 0 && (rule.cchMax == 0 || rule.cchMax > cbField - 1)) rule.cchMax = cbField - 1;
    return rule;
}

bool SetRecordText(const tagJOBINFO* pJob, const tagPJLITEM* pItem, const char* pszField, size_t cbField,
                   tagPJLVALUE* pValue) {
    if (pItem == nullptr || pszField == nullptr || pValue == nullptr || cbField == 0) return false;
    const tagENTRYTEXTRULE rule = GetRecordTextRule(pJob, pItem->dwItemId, cbField);
    const size_t cch = strnlen(pszField, cbField);
    const ENTRYTEXTCHECK check = CheckEntryText(rule, pszField, cch);
    if (check != ENTRYTEXT_OK) {
        LogMessage(LOG_ERROR, "The saved %s is not sent to the printer: %s\n", ItemName(pItem->dwItemId),
                   check == ENTRYTEXT_INCOMPLETE ? "it is shorter than the printer requires"
                                                 : "it holds a character the printer does not accept");
        return false;
    }
    char szText[kPjlTextSize];
    CopyHead(pszField, cch < rule.cchMax ? cch : rule.cchMax, szText);
    // Only the length rules of the item's copy flags apply: a record text never lets a quote or a
    // control character through.
    CopyPjlString(pItem->dwCopyFlags & (PJLCOPY_LIMIT | PJLCOPY_TAIL), pItem->dwMaxLength, szText,
                  pValue->aszTexts[0], kPjlTextSize);
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
    return true;
}
