// The small table lists: 32, 33, 35, 36, 39, 43, 46, 47, 51, 53, 55, 69, 70, 76, 80-94 and 99.
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListReaders.h"


SPC_READER(SpcGetList32)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST32), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& img, uint64_t r, BYTE* pbOut) {
                            tagSPCLIST32 t{};
                            t.wId = SpcU16(img, r);
                            t.wWord1 = SpcU16(img, r + 4);
                            t.wWord2 = SpcU16(img, r + 8);
                            t.wWord4 = SpcU16(img, r + 16);
                            t.dwFlags = img.Dword(r + 12);
                            SpcEmit(t, pbOut);
                        });
}

SPC_READER(SpcGetList33)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST33), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& img, uint64_t r, BYTE* pbOut) {
                            tagSPCLIST33 t{};
                            t.wId = SpcU16(img, r);
                            t.wWord1 = SpcU16(img, r + 4);
                            t.wWord3 = SpcU16(img, r + 12);
                            t.dwFlags = img.Dword(r + 8);
                            SpcEmit(t, pbOut);
                        });
}

namespace {

// 35 and 36: view 1 from the section header, view 2 one amount per record (50 on an empty list).
// uint64_t flagsAt / amountAt: where the record keeps them.
DWORD AnswerAmounts(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, void* pvBuffer,
                    DWORD* pcbSize, DWORD* pdwCount, uint64_t countAt, uint64_t amountAt, uint64_t flagsAt)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    if (lView == 1) {
        if (sCapId == 35) {
            // The base value's low 16 bits, sign-extended.
            LONG lBase = SpcLow16(img.Dword(section));
            return SpcAnswerFixedView(img, lBase, pvBuffer, pcbSize, pdwCount);
        }
        tagSPCBASE36 t{};
        for (int i = 0; i < 5; ++i) {
            t.dwValues[i] = img.Dword(section + 4 * i);
        }
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount, 20);
    }
    if (lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    if (SpcRecordsOf(img, section + countAt) == 0) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCAMOUNT), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [&](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            tagSPCAMOUNT t{};
                            t.wId = SpcU16(im, r);
                            t.wWord1 = SpcU16(im, r + 4);
                            t.dwAmount = im.Dword(r + amountAt);
                            t.dwFlags = im.Dword(r + flagsAt);
                            SpcEmit(t, pbOut);
                        });
}

}  // namespace

SPC_READER(SpcGetList35)
{
    // Record: id, word 1, flags, amount.
    return AnswerAmounts(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, 4, 12, 8);
}

SPC_READER(SpcGetList36)
{
    // Record: id, word 1, amount, flags.
    return AnswerAmounts(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, 20, 8, 12);
}

SPC_READER(SpcGetList39)
{
    // Section: flags, word 1, count, 168-byte records from +12, one word behind the last.
    constexpr uint64_t kCountAt = 8, kFirstAt = 12, kRecord = 168;
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    uint64_t records = SpcRecordsOf(img, section + kCountAt);
    switch (lView) {
    case 1: {
        tagSPCSCREENINFO t{};
        t.dwFlags = img.Dword(section);
        t.wWord1 = SpcU16(img, section + 4);
        t.sCount = SpcLow16(img.Dword(section + kCountAt));
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    case 3: {
        tagSPCSCREENTAIL t{};
        t.dwFlags = img.Dword(section);
        t.wWord1 = SpcU16(img, section + 4);
        t.dwTail = img.Dword(section + kFirstAt + records * kRecord);
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    case 2:
    case 4: {
        // Text A (view 2) or text C (view 4), then text B and words 16 and 17; the item is the
        // record's position in the file.
        uint64_t textAt = lView == 2 ? 0 : 104;
        return SpcProtocolA(pData, cursor, sizeof(tagSPCSCREEN), sItem, SpcSelect::ByPosition, SpcNeed::PerItem,
                            pvBuffer, pcbSize, pdwCount, [textAt](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCSCREEN t{};
                                SpcCopyText(im, r + textAt, t.szText, sizeof t.szText);
                                SpcCopyText(im, r + 72, t.szTextB, sizeof t.szTextB);
                                t.dwWord16 = im.Dword(r + 64);
                                t.dwWord17 = im.Dword(r + 68);
                                SpcEmit(t, pbOut);
                            });
    }
    default:
        return SpcUnsupportedView(pdwCount);
    }
}

SPC_READER(SpcGetList43)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView == 1) {
        return SpcProtocolA(pData, cursor, sizeof(tagSPCIDVALUE), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [](const SpcImage& img, uint64_t r, BYTE* pbOut) {
                                tagSPCIDVALUE t{};
                                t.sId = SpcI16(img, r);
                                t.sValue = SpcI16(img, r + 12);
                                SpcEmit(t, pbOut);
                            });
    }
    if (lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCBYTETABLE), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& img, uint64_t r, BYTE* pbOut) {
                            DWORD dwA = img.Dword(r + 4);
                            DWORD dwB = img.Dword(r + 8);
                            WORD wHead[4] = {SpcU16(img, r), SpcU16(img, r + 12), static_cast<WORD>(dwA),
                                             static_cast<WORD>(dwB)};
                            memcpy(pbOut, wHead, sizeof wHead);
                            // a x b of the two sizes as signed 16-bit values; a negative product
                            // counts as more than the table holds. The copy never reaches past
                            // the record's own data bytes.
                            int64_t product = static_cast<int64_t>(SpcLow16(dwA)) * SpcLow16(dwB);
                            uint64_t cbCopy = product < 0 || product > 4096 ? 4096 : static_cast<uint64_t>(product);
                            uint64_t cbStored = static_cast<uint64_t>(dwA) * dwB;
                            if (cbCopy > cbStored) {
                                cbCopy = cbStored;
                            }
                            if (cbCopy > 0 && img.Contains(r + 16, cbCopy)) {
                                memcpy(pbOut + offsetof(tagSPCBYTETABLE, abData), img.At(r + 16),
                                       static_cast<size_t>(cbCopy));
                            }
                        });
}

SPC_READER(SpcGetList46)
{
    // Section: word 0, count, 16-byte records from +8, then the kind T and the texts A and B.
    constexpr uint64_t kCountAt = 4, kFirstAt = 8, kRecord = 16;
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    switch (lView) {
    case 1: {
        DWORD dwWord0 = img.Dword(section);
        return SpcAnswerFixedView(img, dwWord0, pvBuffer, pcbSize, pdwCount);
    }
    case 2:
        return SpcProtocolA(pData, cursor, sizeof(WORD), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                WORD w = SpcU16(im, r);
                                memcpy(pbOut, &w, sizeof w);
                            });
    case 3: {
        // An empty (or negative) count places T right behind the header.
        uint64_t tail = section + kFirstAt + SpcRecordsOf(img, section + kCountAt) * kRecord;
        tagSPCTONERSAVE t{};
        t.dwWord0 = img.Dword(section);
        t.dwCount = img.Dword(section + kCountAt);
        t.dwKind = img.Dword(tail);
        SpcCopyText(img, tail + 4, t.szTextA, sizeof t.szTextA);
        SpcCopyText(img, tail + 36, t.szTextB, sizeof t.szTextB);
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    case 4:
        // One level per record: {id; level}.
        return SpcProtocolA(pData, cursor, sizeof(tagSPCIDVALUE), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCIDVALUE t{};
                                t.sId = SpcI16(im, r);
                                t.sValue = SpcI16(im, r + 4);
                                SpcEmit(t, pbOut);
                            });
    default:
        return SpcUnsupportedView(pdwCount);
    }
}

SPC_READER(SpcGetList47)
{
    // Section: count, words 1 and 2, 5-word records from +12.
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    switch (lView) {
    case 1: {
        WORD wDefault = SpcU16(img, section + 4);
        return SpcAnswerFixedView(img, wDefault, pvBuffer, pcbSize, pdwCount);
    }
    case 6: {
        // The default value and its companion: section words 1 and 2.
        WORD wPair[2] = {SpcU16(img, section + 4), SpcU16(img, section + 8)};
        return SpcAnswerFixedView(img, wPair, pvBuffer, pcbSize, pdwCount);
    }
    case 2:
        return SpcProtocolA(pData, cursor, sizeof(WORD), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                WORD w = SpcU16(im, r + 8);
                                memcpy(pbOut, &w, sizeof w);
                            });
    case 3:
    case 5:
        return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST47), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                            pcbSize, pdwCount, [lView](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCLIST47 t{};
                                t.wId = SpcU16(im, r);
                                t.wWord1 = SpcU16(im, r + 4);
                                t.wWord2 = SpcU16(im, r + 8);
                                t.wWord4 = lView == 5 ? SpcU16(im, r + 16) : 0;
                                SpcEmit(t, pbOut);
                            });
    case 4:
        return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST47W3), sItem, SpcSelect::ById, SpcNeed::PerItem,
                            pvBuffer, pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCLIST47W3 t{};
                                t.wId = SpcU16(im, r);
                                t.dwWord3 = im.Dword(r + 12);
                                SpcEmit(t, pbOut);
                            });
    default:
        return SpcUnsupportedView(pdwCount);
    }
}

SPC_READER(SpcGetList51)
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
        DWORD dwWord0 = img.Dword(section);
        return SpcAnswerFixedView(img, dwWord0, pvBuffer, pcbSize, pdwCount);
    }
    case 2: {
        DWORD dwWords[2] = {img.Dword(section), img.Dword(section + 4)};
        return SpcAnswerFixedView(img, dwWords, pvBuffer, pcbSize, pdwCount);
    }
    case 3:
        return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST51), sItem, SpcSelect::ByPosition, SpcNeed::PerItem,
                            pvBuffer, pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCLIST51 t{};
                                t.dwWord0 = im.Dword(r);
                                SpcCopyText(im, r + 4, t.szText, sizeof t.szText);
                                SpcEmit(t, pbOut);
                            });
    default:
        return SpcUnsupportedView(pdwCount);
    }
}

SPC_READER(SpcGetList53)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    if (lView == 1) {
        tagSPCLIST53INFO t{};
        t.dwFlags = img.Dword(section);
        t.wWord1 = SpcU16(img, section + 4);
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    if (lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST53), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            tagSPCLIST53 t{};
                            t.wId = SpcU16(im, r);
                            t.wWord1 = SpcU16(im, r + 4);
                            t.wWord2 = SpcU16(im, r + 8);
                            t.wWord3 = SpcU16(im, r + 12);
                            SpcCopyText(im, r + 16, t.szText, sizeof t.szText);
                            SpcEmit(t, pbOut);
                        });
}

SPC_READER(SpcGetList55)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t s = SpcSectionOf(pData, cursor);
    if (lView == 1) {
        auto w = [&](int k) { return img.Dword(s + 4 * k); };
        auto h = [&](int k) { return static_cast<WORD>(w(k) & 0xFFFF); };
        tagSPCCOLORDEFAULTS t{};
        t.dwWord0 = w(0);
        t.wWord1 = h(1);
        t.dwWord2 = w(2);
        t.wWord3 = h(3);
        t.dwWord4 = w(4);
        for (int i = 0; i < 10; ++i) {
            t.wWords5To14[i] = h(5 + i);
            t.wWords16To25[i] = h(16 + i);
        }
        t.dwWord15 = w(15);
        t.dwWord26 = w(26);
        t.wWord27 = h(27);
        t.dwWord28 = w(28);
        t.wWord29 = h(29);
        t.wWord30 = h(30);
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    if (lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST55), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            tagSPCLIST55 t{};
                            t.wId = SpcU16(im, r);
                            t.wWord1 = SpcU16(im, r + 4);
                            t.dwWord2 = im.Dword(r + 8);
                            t.dwWord3 = im.Dword(r + 12);
                            SpcEmit(t, pbOut);
                        });
}

SPC_READER(SpcGetList69)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCLIST69), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            tagSPCLIST69 t{};
                            t.wId = SpcU16(im, r);
                            t.wWord1 = SpcU16(im, r + 4);
                            // The 256 bytes as stored, zeros included.
                            if (im.Contains(r + 8, sizeof t.abData)) {
                                memcpy(t.abData, im.At(r + 8), sizeof t.abData);
                            } else {
                                im.Fail();
                            }
                            SpcEmit(t, pbOut);
                        });
}

SPC_READER(SpcGetList70)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, 8, sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize, pdwCount,
                        [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            WORD w[2] = {SpcU16(im, r), SpcU16(im, r + 4)};
                            memcpy(pbOut, w, sizeof w);
                        });
}

SPC_READER(SpcGetList76)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    // The buffer must hold the whole list even when one record is asked for.
    return SpcProtocolA(pData, cursor, 8, sItem, SpcSelect::ById, SpcNeed::WholeList, pvBuffer, pcbSize, pdwCount,
                        [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            DWORD dw[2] = {im.Dword(r), im.Dword(r + 4)};
                            memcpy(pbOut, dw, sizeof dw);
                        });
}

SPC_READER(SpcGetIdList)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1) {
        return SpcUnsupportedView(pdwCount);
    }
    // The buffer must hold the whole list even when one record is asked for.
    return SpcProtocolA(pData, cursor, sizeof(WORD), sItem, SpcSelect::ById, SpcNeed::WholeList, pvBuffer, pcbSize,
                        pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            WORD w = SpcU16(im, r);
                            memcpy(pbOut, &w, sizeof w);
                        });
}

SPC_READER(SpcGetList99)
{
    (void)sItem;
    (void)lView;
    (void)pvBuffer;
    (void)pcbSize;
    // The cursor refuses this capability, so every view of it is unsupported.
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    return SpcUnsupportedView(pdwCount);
}
