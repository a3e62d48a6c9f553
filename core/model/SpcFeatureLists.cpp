// Lists that tie settings to each other: the two keyed feature lists (71) and the setting
// dependency pairs (95).
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListLayout.h"
#include "core/model/SpcListReaders.h"

namespace {

// Views 2 and 4: one answer per pair of every record, the item selecting pairs by their key.
// need = 16 x (1 with an item, else the pairs of all records).
DWORD AnswerPairs(const tagSPCDATA* pData, tagSPCCURSOR& cursor, SHORT sItem, void* pvBuffer, DWORD* pcbSize,
                  DWORD* pdwCount)
{
    SpcImage img = SpcImageOf(pData);
    uint64_t pairs = 1;
    if (sItem == 0) {
        pairs = 0;
        tagSPCCURSOR counter = cursor;
        for (const BYTE* p = counter.pCurrent; p != nullptr; p = SpcCursorNext(pData, &counter)) {
            pairs += img.Dword(img.OffsetOf(p) + SpcFeatureLayout::kPairCount);
        }
    }
    uint64_t cbNeed = pairs * sizeof(tagSPCFEATUREPAIR);
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(cbNeed, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    auto* pbOut = static_cast<BYTE*>(pvBuffer);
    memset(pbOut, 0, static_cast<size_t>(cbNeed));
    DWORD dwFilled = 0;
    bool bStop = false;
    for (const BYTE* p = cursor.pCurrent; p != nullptr && !bStop; p = SpcCursorNext(pData, &cursor)) {
        uint64_t r = img.OffsetOf(p);
        DWORD nPairs = img.Dword(r + SpcFeatureLayout::kPairCount);
        for (DWORD i = 0; i < nPairs && !img.Failed(); ++i) {
            uint64_t pair = r + SpcFeatureLayout::kPairs + 8 * static_cast<uint64_t>(i);
            DWORD dwKey = img.Dword(pair);
            if (sItem != 0 && SpcLow16(dwKey) != sItem) {
                continue;
            }
            tagSPCFEATUREPAIR t{};
            t.wKey = static_cast<WORD>(dwKey);
            t.dwValue = img.Dword(pair + 4);
            t.wWord0 = SpcU16(img, r);
            t.wWord1 = SpcU16(img, r + 4);
            t.wWord2 = SpcU16(img, r + 8);
            // The record walk was checked by the cursor, so the total fits what was counted.
            if (static_cast<uint64_t>(dwFilled) < pairs) {
                SpcEmit(t, pbOut + static_cast<size_t>(dwFilled) * sizeof t);
                ++dwFilled;
            }
            if (sItem != 0) {
                bStop = true;
                break;
            }
        }
    }
    if (img.Failed()) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    SpcSetCount(pdwCount, dwFilled);
    return sItem != 0 && dwFilled == 0 ? ERROR_NOT_FOUND : ERROR_SUCCESS;
}

// Views 3 and 5: one answer per record with its first keys (64 for list 1, 8 for list 2).
template <int kKeys>
DWORD AnswerKeys(const tagSPCDATA* pData, tagSPCCURSOR& cursor, SHORT sItem, void* pvBuffer, DWORD* pcbSize,
                 DWORD* pdwCount)
{
    typedef tagSPCFEATUREKEYS<kKeys> Answer;
    return SpcProtocolA(pData, cursor, sizeof(Answer), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize,
                        pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            Answer t{};
                            t.wWord0 = SpcU16(im, r);
                            t.wWord1 = SpcU16(im, r + 4);
                            t.wWord2 = SpcU16(im, r + 8);
                            SHORT sKeys[kKeys] = {};
                            SpcReadFieldList(im, r + SpcFeatureLayout::kPairCount, 8, 0, 4, &t.sCount, sKeys, kKeys);
                            memcpy(t.wKeys, sKeys, sizeof sKeys);
                            SpcEmit(t, pbOut);
                        });
}

}  // namespace

SPC_READER(SpcGetList71)
{
    // The header views position without a list (selector 0); views 2 and 3 read list 1, views
    // 4 and 5 list 2, each refused when its own list is empty.
    SHORT sList = lView == 2 || lView == 3 ? 1 : lView == 4 || lView == 5 ? 2 : 0;
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor, sList);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (sList == 0) {
        if (lView != 1) {
            return SpcUnsupportedView(pdwCount);
        }
        // The two flag words, whatever the lists hold.
        SpcImage img = SpcImageOf(pData);
        uint64_t section = SpcSectionOf(pData, cursor);
        DWORD dwWords[2] = {img.Dword(section), img.Dword(section + 4)};
        return SpcAnswerFixedView(img, dwWords, pvBuffer, pcbSize, pdwCount);
    }
    if (lView == 2 || lView == 4) {
        return AnswerPairs(pData, cursor, sItem, pvBuffer, pcbSize, pdwCount);
    }
    return lView == 3 ? AnswerKeys<64>(pData, cursor, sItem, pvBuffer, pcbSize, pdwCount)
                      : AnswerKeys<8>(pData, cursor, sItem, pvBuffer, pcbSize, pdwCount);
}

SPC_READER(SpcGetDependPairs)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    // One (key item, dependent item) answer per dependent of every selected key item.
    SpcImage img = SpcImageOf(pData);
    SpcExpander out(pvBuffer, *pcbSize, sizeof(tagSPCDEPENDPAIR), false);
    for (const BYTE* p = cursor.pCurrent; p != nullptr; p = SpcCursorNext(pData, &cursor)) {
        uint64_t r = img.OffsetOf(p);
        DWORD dwKey = img.Dword(r);
        if (sItem != 0 && SpcLow16(dwKey) != sItem) {
            continue;
        }
        DWORD nDependents = img.Dword(r + 4);
        for (DWORD i = 0; i < nDependents && !img.Failed(); ++i) {
            if (BYTE* pbSlot = out.Next()) {
                tagSPCDEPENDPAIR t{static_cast<WORD>(dwKey), SpcU16(img, r + 8 + 4 * static_cast<uint64_t>(i))};
                SpcEmit(t, pbSlot);
            }
        }
        if (sItem != 0 && nDependents > 0) {
            break;
        }
    }
    return SpcExpandResult(out, SpcExpandEnd::NotFoundWhenItemEmpty, sItem, img.Failed(), pcbSize, pdwCount);
}
