#include "filter/pjl/PjlRecordText.h"

#include "filter/pjl/PjlStrings.h"

#include "core/printerinfo/JobTextRules.h"
#include "filter/log/FilterLog.h"

#include <cstring>

namespace {

constexpr DWORD kItemUserId = 17;
constexpr DWORD kItemPassword = 18;
constexpr DWORD kItemSecureJobName = 57;
constexpr DWORD kItemDeptCode = 123;

const char* ItemName(DWORD dwItemId)
{
    switch (dwItemId) {
    case kItemUserId:
        return "user id";
    case kItemPassword:
        return "password";
    case kItemSecureJobName:
        return "job name";
    case kItemDeptCode:
        return "department code";
    default:
        return "text";
    }
}

}  // namespace

tagENTRYTEXTRULE GetRecordTextRule(const tagJOBINFO* pJob, DWORD dwItemId, size_t cbField)
{
    // The settings program's entries read the same rules, so what a user could type is what is sent.
    tagMODELHANDLE handle = {pJob != nullptr ? pJob->pSpcData : nullptr, nullptr, nullptr};
    switch (dwItemId) {
    case kItemUserId:
    case kItemPassword:
        return GetJobKindTextRule(&handle, static_cast<SHORT>(pJob != nullptr ? pJob->devmode.priv.dmJobSpool : 0),
                                  dwItemId == kItemPassword, cbField, nullptr);
    case kItemSecureJobName:
        return GetSecureJobNameRule(&handle, cbField, nullptr);
    case kItemDeptCode:
        return GetDeptCodeRule(&handle, cbField);
    default: {
        tagENTRYTEXTRULE rule = MakeEntryTextRule(0, 0, nullptr, 0);
        if (cbField > 0) {
            rule.cchMax = cbField - 1;
        }
        return rule;
    }
    }
}

bool SetRecordText(const tagJOBINFO* pJob, const tagPJLITEM* pItem, const char* pszField, size_t cbField,
                   tagPJLVALUE* pValue)
{
    if (pItem == nullptr || pszField == nullptr || pValue == nullptr || cbField == 0) {
        return false;
    }
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
    CopyPjlString(pItem->dwCopyFlags & (PJLCOPY_LIMIT | PJLCOPY_TAIL), pItem->dwMaxLength, szText, pValue->aszTexts[0],
                  kPjlTextSize);
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
    return true;
}
