#include "core/printerinfo/JobTextRules.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/printerinfo/JobSpoolInfo.h"

namespace {

// Without its record the department code takes digits only, 8 of them.
constexpr DWORD kDefaultDeptFilter = ENTRYFILTER_ON | ENTRYFILTER_DIGITS;
constexpr long kDefaultDeptLength = 8;

// One fixed record of the model (item 0) copied into a zeroed T: a shorter answer leaves the rest
// zero. False when the model lacks it.
template <typename T>
bool ReadRecord(const tagMODELHANDLE* pHandle, SHORT sCap, LONG lView, T* pRecord)
{
    const ModelAnswer answer(pHandle != nullptr ? pHandle->pSpcData : nullptr, sCap, 0, lView);
    *pRecord = answer.Record<T>();
    return answer.Found();
}

tagENTRYTEXTRULE BoundByField(tagENTRYTEXTRULE rule, size_t cbField)
{
    if (cbField > 0 && (rule.cchMax == 0 || rule.cchMax > cbField - 1)) {
        rule.cchMax = cbField - 1;
    }
    return rule;
}

}  // namespace

tagENTRYTEXTRULE GetDeptCodeRule(const tagMODELHANDLE* pHandle, size_t cbField)
{
    tagDEPTCODERULE record;
    tagENTRYTEXTRULE rule =
        ReadRecord(pHandle, SPCID_DEPTCODE, 2, &record)
            ? MakeEntryTextRule(record.dwFilter, static_cast<long>(record.dwMaxLength & 0x7FFFFFFF), record.szExtra,
                                sizeof record.szExtra)
            : MakeEntryTextRule(kDefaultDeptFilter, kDefaultDeptLength, nullptr, 0);
    return BoundByField(rule, cbField);
}

tagENTRYTEXTRULE GetSecureJobNameRule(const tagMODELHANDLE* pHandle, size_t cbField, bool* pbOffered)
{
    tagSECUREPRINTRULE record;
    const bool present = ReadRecord(pHandle, SPCID_SECUREPRINT, 1, &record);
    if (pbOffered != nullptr) {
        *pbOffered = present && (record.dwFlags & 0x1) != 0;
    }
    tagENTRYTEXTRULE rule = MakeEntryTextRule(0, 0, nullptr, 0);
    if (present) {
        rule = MakeEntryTextRule(record.dwFilter, static_cast<SHORT>(record.dwMaxLength & 0xFFFF), nullptr, 0);
    }
    rule.dwFilter &= ~ENTRYFILTER_FULL;
    return BoundByField(rule, cbField);
}

tagENTRYTEXTRULE GetJobKindTextRule(const tagMODELHANDLE* pHandle, SHORT sJobKind, bool bPassword, size_t cbField,
                                    bool* pbEnabled)
{
    tagJOBSPOOLINFO info;
    GetJobSpoolInfo(pHandle, sJobKind, &info);
    if (pbEnabled != nullptr) {
        *pbEnabled = (bPassword ? info.sEnabled2 : info.sEnabled1) != 0;
    }
    tagENTRYTEXTRULE rule = bPassword
                                ? MakeEntryTextRule(info.dwCharMask2, info.sMaxLength2, info.szText2, sizeof info.szText2)
                                : MakeEntryTextRule(info.dwCharMask1, info.sMaxLength1, info.szText1, sizeof info.szText1);
    rule.dwFilter &= ~ENTRYFILTER_FULL;
    return BoundByField(rule, cbField);
}
