// Resolution modes and their two numbers (41) and the resolution entries (42).
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListLayout.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListReaders.h"

namespace {

// Capability 41 section: count, word 1, word 2 (the default mode), 3-word records from +12.
constexpr uint64_t kDpiWord1At = 4, kDpiDefaultAt = 8;

// The two numbers of resolution mode sMode, from capability 41 view 2; false when that lookup
// fails (the caller then keeps its numbers).
bool LookUpDpi(const tagSPCDATA* pData, SHORT sMode, DWORD* pdwNumber1, DWORD* pdwNumber2)
{
    tagSPCRESDPI answer{};
    DWORD cbAnswer = sizeof answer;
    DWORD dwCount = 0;
    if (SpcGetResolutionDpi(pData, SPCID_RESOLUTIONLIST, sMode, 2, &answer, &cbAnswer, &dwCount) != ERROR_SUCCESS ||
        dwCount == 0) {
        return false;
    }
    *pdwNumber1 = answer.dwNumber1;
    *pdwNumber2 = answer.dwNumber2;
    return true;
}

}  // namespace

SPC_READER(SpcGetResolutionDpi)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    if (lView == 1) {
        // The default mode (section word 2) with its numbers, whatever the item says; a mode
        // without a record leaves the numbers zero.
        tagSPCRESDEFAULT t{};
        DWORD dwMode = img.Dword(section + kDpiDefaultAt);
        t.wMode = static_cast<WORD>(dwMode);
        t.dwWord1 = img.Dword(section + kDpiWord1At);
        if (img.Failed()) {
            return ERROR_INVALID_DATA;
        }
        LookUpDpi(pData, SpcLow16(dwMode), &t.dwNumber1, &t.dwNumber2);
        return SpcAnswerFixedView(img, t, pvBuffer, pcbSize, pdwCount);
    }
    if (lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    return SpcProtocolA(pData, cursor, sizeof(tagSPCRESDPI), sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer,
                        pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                            tagSPCRESDPI t{};
                            t.wMode = SpcU16(im, r);
                            t.dwNumber1 = im.Dword(r + 4);
                            t.dwNumber2 = im.Dword(r + 8);
                            SpcEmit(t, pbOut);
                        });
}

SPC_READER(SpcGetResolution)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    switch (lView) {
    case 1:
        return SpcProtocolA(pData, cursor, sizeof(tagSPCRESOLUTION), sItem, SpcSelect::ById, SpcNeed::PerItem,
                            pvBuffer, pcbSize, pdwCount, [pData](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                auto w = [&](int k) { return im.Dword(r + SpcWordAt(k)); };
                                tagSPCRESOLUTION t{};
                                t.sMode = SpcLow16(w(0));
                                t.sWord1 = SpcLow16(w(1));
                                t.dwFlags = w(3);
                                t.dwWord4 = w(4);
                                t.sWord5 = SpcLow16(w(5));
                                t.dwWord2 = w(2);
                                t.dwWord6 = w(6);
                                // The numbers of the mode come from capability 41 unless the entry
                                // gives both of its own.
                                if (w(7) != 0 && w(8) != 0) {
                                    t.dwNumber1 = w(7);
                                    t.dwNumber2 = w(8);
                                } else {
                                    LookUpDpi(pData, t.sMode, &t.dwNumber1, &t.dwNumber2);
                                }
                                SpcEmit(t, pbOut);
                            });
    case 2: {
        WORD wDefault = SpcU16(img, section + 4);
        return SpcAnswerFixedView(img, wDefault, pvBuffer, pcbSize, pdwCount);
    }
    case 3:
    case 4:
        return SpcProtocolA(pData, cursor, 4, sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize, pdwCount,
                            [lView](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                WORD w[2] = {SpcU16(im, r), SpcU16(im, r + SpcWordAt(lView == 3 ? 9 : 10))};
                                memcpy(pbOut, w, sizeof w);
                            });
    case 5:
        return SpcProtocolA(pData, cursor, 8, sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize, pdwCount,
                            [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                WORD w[4] = {SpcU16(im, r), SpcU16(im, r + SpcWordAt(11)),
                                             SpcU16(im, r + SpcWordAt(12)), 0};
                                memcpy(pbOut, w, sizeof w);
                            });
    case 6:
        return SpcProtocolA(pData, cursor, sizeof(tagSPCRESLISTS), sItem, SpcSelect::ById, SpcNeed::PerItem,
                            pvBuffer, pcbSize, pdwCount, [](const SpcImage& im, uint64_t r, BYTE* pbOut) {
                                tagSPCRESLISTS t{};
                                t.wMode = SpcU16(im, r);
                                uint64_t list = r + SpcResolutionLayout::kLists;
                                list = SpcReadWordList(im, list, &t.sCount1, t.sList1, 64);
                                list = SpcReadWordList(im, list, &t.sCount2, t.sList2, 32);
                                SpcReadWordList(im, list, &t.sCount3, t.sList3, 20);
                                SpcEmit(t, pbOut);
                            });
    default:
        return SpcUnsupportedView(pdwCount);
    }
}
