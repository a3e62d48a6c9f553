// The PJL header item list (65): the header's items in output order and the PJL texts of every
// value an item can take.
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListLayout.h"
#include "core/model/SpcListReaders.h"

SPC_READER(SpcGetPjlItems)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    switch (lView) {
    case 1: {
        DWORD dwFlags = img.Dword(section);
        return SpcAnswerFixedView(img, dwFlags, pvBuffer, pcbSize, pdwCount);
    }
    case 2: {
        DWORD dwWords[2] = {img.Dword(section), img.Dword(section + 4)};
        return SpcAnswerFixedView(img, dwWords, pvBuffer, pcbSize, pdwCount);
    }
    case 3:
        return SpcProtocolA(pData, cursor, sizeof(tagPJLITEM), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagPJLITEM t{};
                                t.dwItemId = im.Dword(r);
                                t.dwCopyFlags = im.Dword(r + 4);
                                t.dwMaxLength = im.Dword(r + 8);
                                t.dwWord3 = im.Dword(r + 12);
                                SpcEmit(t, pbOut);
                            });
    case 4:
        break;
    default:
        return SpcUnsupportedView(pdwCount);
    }

    // View 4: one 64-byte record per text of every selected item.
    SpcExpander out(pvBuffer, *pcbSize, sizeof(tagPJLFORMAT), true);
    for (const BYTE* pRecord = cursor.pCurrent; pRecord != nullptr; pRecord = SpcCursorNext(pData, &cursor)) {
        uint64_t r = img.OffsetOf(pRecord);
        DWORD dwItemId = img.Dword(r);
        if (sItem != 0 && SpcLow16(dwItemId) != sItem) {
            continue;
        }
        DWORD nTexts = img.Dword(r + SpcPjlItemLayout::kTextCount);
        uint64_t text = r + SpcPjlItemLayout::kTexts;
        for (DWORD i = 0; i < nTexts && !img.Failed(); ++i) {
            DWORD dwKey = img.Dword(text);
            DWORD cbText = img.Dword(text + 4);
            if (BYTE* pbSlot = out.Next()) {
                tagPJLFORMAT t{};
                t.dwItemId = dwItemId;
                t.dwValueKey = dwKey;
                // At most 56 bytes of the text, none when its length is 0; its length word, not a
                // terminator, leads to the next text.
                if (cbText != 0) {
                    SpcPutText(img, text + 8, reinterpret_cast<BYTE*>(t.szFormat), 0,
                               cbText < sizeof t.szFormat ? cbText : sizeof t.szFormat);
                }
                SpcEmit(t, pbSlot);
            }
            text += 8 + static_cast<uint64_t>(cbText);
        }
        if (sItem != 0 && nTexts > 0) {
            break;
        }
    }
    return SpcExpandResult(out, SpcExpandEnd::NotFoundWhenNoneWritten, sItem, img.Failed(), pcbSize, pdwCount);
}
