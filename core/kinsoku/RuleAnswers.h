// How the rule builders read model answers: RuleRecords<T> and ReadRuleRecord<T> read an answer
// (the records of core/model) through the printer-information object, so a record is used only
// when the answer holds it whole.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstring>
#include <vector>

// The whole records of one (capability, view), all items, copied out of the answer.
template <typename T>
std::vector<T> RuleRecords(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, SHORT sItem = 0)
{
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    DWORD dwCount = 0;
    const T* pRecords = info.Records<T>(&dwCount);
    std::vector<T> records(dwCount);
    if (dwCount != 0) {
        memcpy(records.data(), pRecords, dwCount * sizeof(T));
    }
    return records;
}

// The first record of one (capability, view); false (and *pOut zeroed) without one.
template <typename T>
bool ReadRuleRecord(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, T* pOut, SHORT sItem = 0)
{
    memset(pOut, 0, sizeof(T));
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    const T* pFirst = info.First<T>();
    if (pFirst == nullptr) {
        return false;
    }
    memcpy(pOut, pFirst, sizeof(T));
    return true;
}

// A counted list of a model record, its count held to the slots the record has (a negative count
// holds nothing).
inline DWORD ListCount(SHORT sCount, DWORD dwSlots)
{
    if (sCount <= 0) {
        return 0;
    }
    return static_cast<DWORD>(sCount) < dwSlots ? static_cast<DWORD>(sCount) : dwSlots;
}
