// Media types (22), paper sources (24), duplex modes (25) and source groups (26).
#include "core/model/SpcListFill.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/model/SpcReaders.h"

namespace {

// Media and source sections: count at 0, default id at 4, records from 8.
constexpr uint64_t kDefaultIdAt = 4;
constexpr uint64_t kTrayFirstRecordAt = 8;

void FillIdValue(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagSPCIDVALUE t{};
    t.sId = SpcI16(ref.img, ref.record);
    t.sValue = SpcI16(ref.img, ref.record + 4);
    SpcEmit(t, pbOut);
}

void FillDefaultId(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcPutI16(pbOut, 0, ref.img.Dword(ref.section + kDefaultIdAt));
}

// The wide answer of media and sources: id, value, the six words (the last two swapped), both
// valued lists.
template <class T>
void FillTrayInfo(const SpcImage& img, uint64_t id, uint64_t value, uint64_t words, uint64_t listA, uint64_t listB,
                  BYTE* pbOut)
{
    T t{};
    t.sId = SpcI16(img, id);
    t.sValue = SpcI16(img, value);
    for (int i = 0; i < 4; ++i) {
        t.dwWords[i] = img.Dword(words + 4 * i);
    }
    t.dwWords[4] = img.Dword(words + 20);
    t.dwWords[5] = img.Dword(words + 16);
    SpcReadValuedList(img, listA, &t.sListAValue, &t.sListACount, t.sListA, 64);
    SpcReadValuedList(img, listB, &t.sListBValue, &t.sListBCount, t.sListB,
                      static_cast<SHORT>(sizeof t.sListB / sizeof t.sListB[0]));
    SpcEmit(t, pbOut);
}

void FillNameHalf(const SpcImage& img, uint64_t names, BYTE* pbOut, bool bWithName2)
{
    tagSPCNAME2 t{};
    t.sA = SpcI16(img, names + SpcNameBlock::kA);
    t.sB = SpcI16(img, names + SpcNameBlock::kB);
    SpcCopyText(img, names + SpcNameBlock::kName1, t.szName1, 32);
    if (bWithName2) {
        SpcCopyText(img, names + SpcNameBlock::kName2, t.szName2, 32);
        SpcEmit(t, pbOut);
    } else {
        memcpy(pbOut, &t, sizeof(tagSPCNAME));
    }
}

void FillTail(const SpcImage& img, uint64_t id, uint64_t tail, BYTE* pbOut)
{
    tagSPCTAILLIST t{};
    t.sId = SpcI16(img, id);
    SpcReadWordList(img, tail, &t.sCount, t.sWords, 4);
    SpcEmit(t, pbOut);
}

void FillClosing(const SpcImage& img, uint64_t id, uint64_t listA, uint64_t listB, uint64_t closing, BYTE* pbOut)
{
    tagSPCCLOSING t{};
    t.sId = SpcI16(img, id);
    t.sListAValue = SpcI16(img, listA);
    t.sListBValue = SpcI16(img, listB);
    for (int i = 0; i < 3; ++i) {
        t.dwWords[i] = img.Dword(closing + 4 * i);
    }
    SpcEmit(t, pbOut);
}

// ---- Media types (22) ----

template <void (*Fill)(const SpcRecordRef&, const SpcMediaLayout&, BYTE*)>
void WithMediaLayout(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcMediaLayout layout{};
    if (SpcLocateMedia(ref.img, ref.record, &layout)) {
        Fill(ref, layout, pbOut);
    }
}

void FillMediaInfo(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    uint64_t r = ref.record;
    FillTrayInfo<tagMEDIAINFO>(ref.img, r + SpcMediaLayout::kId, r + SpcMediaLayout::kValue, r + SpcMediaLayout::kWords,
                               l.listA, l.listB, pbOut);
}
void FillMediaName(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    FillNameHalf(ref.img, l.names, pbOut, false);
}
void FillMediaName2(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    FillNameHalf(ref.img, l.names, pbOut, true);
}
void FillMediaTail(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    FillTail(ref.img, ref.record, l.tail, pbOut);
}
void FillMediaClosing(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    FillClosing(ref.img, ref.record, l.listA, l.listB, l.closing, pbOut);
}
void FillPrinterMedia(const SpcRecordRef& ref, const SpcMediaLayout& l, BYTE* pbOut)
{
    const SpcImage& img = ref.img;
    tagPRINTERMEDIA t{};
    t.sA = SpcI16(img, l.names + SpcNameBlock::kA);
    t.sB = SpcI16(img, l.names + SpcNameBlock::kB);
    SpcCopyText(img, l.names + SpcNameBlock::kName1, t.szName1, 32);
    SpcCopyText(img, l.names + SpcNameBlock::kName2, t.szName2, 32);
    t.sC = SpcI16(img, l.names + SpcNameBlock::kC);
    t.sPrinterCode = SpcI16(img, l.names + SpcNameBlock::kD);
    SpcCopyText(img, l.names + SpcNameBlock::kName3, t.szName3, 32);
    SpcCopyText(img, l.names + SpcNameBlock::kName4, t.szName4, 32);
    SpcEmit(t, pbOut);
}

// View 9: the word behind the last media record.
void FillMediaTrailer(const SpcRecordRef& ref, BYTE* pbOut)
{
    DWORD dwCount = ref.img.Dword(ref.section);
    uint64_t off = ref.section + kTrayFirstRecordAt;
    for (DWORD i = 0; i < dwCount && !ref.img.Failed(); ++i) {
        SpcMediaLayout layout{};
        if (!SpcLocateMedia(ref.img, off, &layout)) {
            return;
        }
        off = layout.end;
    }
    SpcPutU32(pbOut, 0, ref.img.Dword(off));
}

const SpcListView kMediaViews[] = {
    {1, sizeof(tagSPCIDVALUE), FillIdValue, false},
    {2, sizeof(SHORT), FillDefaultId, true},
    {3, sizeof(tagMEDIAINFO), WithMediaLayout<FillMediaInfo>, false},
    {4, sizeof(tagSPCNAME), WithMediaLayout<FillMediaName>, false},
    {5, sizeof(tagSPCNAME2), WithMediaLayout<FillMediaName2>, false},
    {6, sizeof(tagSPCTAILLIST), WithMediaLayout<FillMediaTail>, false},
    {7, sizeof(tagSPCCLOSING), WithMediaLayout<FillMediaClosing>, false},
    {8, sizeof(tagPRINTERMEDIA), WithMediaLayout<FillPrinterMedia>, false},
    {9, sizeof(DWORD), FillMediaTrailer, true},
};

// ---- Paper sources (24) and the source entries of groups (26) ----

typedef void (*SourceFillFn)(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut);

void FillSourceInfo(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    FillTrayInfo<tagSOURCEINFO>(img, l.id, l.value, l.words, l.listA, l.listB, pbOut);
}
void FillSourceName(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    tagSPCNAME t{};
    t.sA = SpcI16(img, l.names + SpcSourceNameBlock::kA);
    t.sB = SpcI16(img, l.names + SpcSourceNameBlock::kB);
    SpcCopyText(img, l.names + SpcSourceNameBlock::kName1, t.szName1, 32);
    SpcEmit(t, pbOut);
}
void FillSourceTail(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    FillTail(img, l.id, l.tail, pbOut);
}
void FillSourceClosing(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    FillClosing(img, l.id, l.listA, l.listB, l.closing, pbOut);
}
void FillSourceNames34(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    tagSOURCENAMES t{};
    t.sId = SpcI16(img, l.id);
    SpcCopyText(img, l.names34, t.szName3, 32);
    SpcCopyText(img, l.names34 + 32, t.szName4, 32);
    SpcEmit(t, pbOut);
}
void FillPrinterSource(const SpcImage& img, const SpcSourceLayout& l, BYTE* pbOut)
{
    tagPRINTERSOURCE t{};
    t.sA = SpcI16(img, l.names + SpcSourceNameBlock::kA);
    t.sB = SpcI16(img, l.names + SpcSourceNameBlock::kB);
    SpcCopyText(img, l.names + SpcSourceNameBlock::kName1, t.szName1, 32);
    t.sC = SpcI16(img, l.names + SpcSourceNameBlock::kC);
    t.sPrinterCode = SpcI16(img, l.names + SpcSourceNameBlock::kD);
    SpcCopyText(img, l.names + SpcSourceNameBlock::kName2, t.szName2, 32);
    SpcEmit(t, pbOut);
}

template <SourceFillFn Fill>
void WithSourceLayout(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcSourceLayout layout{};
    if (SpcLocateSource(ref.img, ref.record, false, &layout)) {
        Fill(ref.img, layout, pbOut);
    }
}

const SpcListView kSourceViews[] = {
    {1, sizeof(tagSPCIDVALUE), FillIdValue, false},
    {2, sizeof(SHORT), FillDefaultId, true},
    {3, sizeof(tagSOURCEINFO), WithSourceLayout<FillSourceInfo>, false},
    {4, sizeof(tagSPCNAME), WithSourceLayout<FillSourceName>, false},
    {5, sizeof(tagSPCTAILLIST), WithSourceLayout<FillSourceTail>, false},
    {6, sizeof(tagSPCCLOSING), WithSourceLayout<FillSourceClosing>, false},
    {7, sizeof(tagSOURCENAMES), WithSourceLayout<FillSourceNames34>, false},
    {8, sizeof(tagPRINTERSOURCE), WithSourceLayout<FillPrinterSource>, false},
};

// ---- Duplex modes (25) ----
// Section: flags, four words, default, count at 24, 160-byte records from 28, four words, and
// from format version 313 on one more word.
constexpr uint64_t kDuplexDefaultAt = 20, kDuplexCountAt = 24, kDuplexFirstAt = 28, kDuplexRecord = 160;
constexpr WORD kDuplexTrailerVersion = 313;

// Offset of the words behind the records (an empty or "negative" list has no records).
uint64_t DuplexTrailer(const SpcRecordRef& ref)
{
    LONG lCount = static_cast<LONG>(ref.img.Dword(ref.section + kDuplexCountAt));
    uint64_t records = lCount > 0 ? static_cast<uint64_t>(lCount) : 0;
    return ref.section + kDuplexFirstAt + records * kDuplexRecord;
}

void FillDuplexInfo(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagDUPLEXINFO t{};
    t.dwFlags = ref.img.Dword(ref.section);
    for (int i = 0; i < 4; ++i) {
        t.dwWords[i] = ref.img.Dword(ref.section + 4 + 4 * i);
    }
    t.sDefault = SpcI16(ref.img, ref.section + kDuplexDefaultAt);
    SpcEmit(t, pbOut);
}
void FillDuplexMode(const SpcRecordRef& ref, BYTE* pbOut)
{
    uint64_t r = ref.record;
    tagDUPLEXMODE t{};
    t.sId = SpcI16(ref.img, r);
    t.sWord4 = SpcI16(ref.img, r + 4);
    t.sWord12 = SpcI16(ref.img, r + 12);
    t.sWord16 = SpcI16(ref.img, r + 16);
    SpcCopyText(ref.img, r + 20, t.szName1, 32);
    SpcCopyText(ref.img, r + 52, t.szName2, 32);
    SpcEmit(t, pbOut);
}
void FillDuplexShort(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagDUPLEXSHORT t{};
    t.sId = SpcI16(ref.img, ref.record);
    t.sWord4 = SpcI16(ref.img, ref.record + 4);
    t.sWord156 = SpcI16(ref.img, ref.record + 156);
    SpcEmit(t, pbOut);
}
void FillDuplexMargins(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagDUPLEXMARGINS t{};
    uint64_t trailer = DuplexTrailer(ref);
    for (int i = 0; i < 4; ++i) {
        t.sWords[i] = SpcI16(ref.img, trailer + 4 * i);
    }
    SpcEmit(t, pbOut);
}
void FillPrinterDuplex(const SpcRecordRef& ref, BYTE* pbOut)
{
    uint64_t r = ref.record;
    tagPRINTERDUPLEX t{};
    t.sId = SpcI16(ref.img, r);
    t.sWord4 = SpcI16(ref.img, r + 4);
    t.sWord8 = SpcI16(ref.img, r + 8);
    t.sWord156 = SpcI16(ref.img, r + 156);
    // The record's words 12 and 16 and 84 and 88 are the a, b, c and d of its name block.
    t.sA = SpcI16(ref.img, r + 12);
    t.sB = SpcI16(ref.img, r + 16);
    t.sC = SpcI16(ref.img, r + 84);
    t.sPrinterCode = SpcI16(ref.img, r + 88);
    SpcEmit(t, pbOut);
}
void FillDuplexFlags(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagDUPLEXFLAGS t{};
    t.dwFlags = ref.img.Dword(ref.section);
    t.sWord = SpcI16(ref.img, DuplexTrailer(ref) + 16);
    SpcEmit(t, pbOut);
}

const SpcListView kDuplexViews[] = {
    {1, sizeof(tagDUPLEXINFO), FillDuplexInfo, true},
    {2, sizeof(tagDUPLEXMODE), FillDuplexMode, false},
    {3, sizeof(tagDUPLEXSHORT), FillDuplexShort, false},
    {4, sizeof(tagDUPLEXMARGINS), FillDuplexMargins, true},
    {5, sizeof(tagPRINTERDUPLEX), FillPrinterDuplex, false},
    {6, sizeof(tagDUPLEXFLAGS), FillDuplexFlags, true},
};

// ---- Source groups (26) ----

void FillGroupIdKind(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagSPCIDVALUE t{};
    t.sId = SpcI16(ref.img, ref.record + SpcGroupLayout::kId);
    t.sValue = SpcI16(ref.img, ref.record + SpcGroupLayout::kKind);
    SpcEmit(t, pbOut);
}
void FillGroup(const SpcRecordRef& ref, BYTE* pbOut)
{
    const SpcImage& img = ref.img;
    uint64_t r = ref.record;
    SpcGroupLayout layout{};
    if (!SpcLocateGroup(img, r, &layout)) {
        return;
    }
    tagSOURCEGROUP t{};
    t.sId = SpcI16(img, r + SpcGroupLayout::kId);
    t.sKind = SpcI16(img, r + SpcGroupLayout::kKind);
    t.dwWord8 = img.Dword(r + SpcGroupLayout::kWord8);
    t.sWord12 = SpcI16(img, r + SpcGroupLayout::kWord12);
    SpcReadWordList(img, r + SpcGroupLayout::kTail, &t.sListCount, t.sList, 4);
    DWORD dwSources = img.Dword(layout.sourceCount);
    t.sSourceCount = static_cast<SHORT>(dwSources < 4 ? dwSources : 4);
    uint64_t entry = layout.firstEntry;
    for (SHORT i = 0; i < t.sSourceCount; ++i) {
        SpcSourceLayout source{};
        if (!SpcLocateSource(img, entry, true, &source)) {
            return;
        }
        t.sSources[i] = SpcI16(img, source.id);
        entry = source.end;
    }
    SpcEmit(t, pbOut);
}
void FillGroupName(const SpcRecordRef& ref, BYTE* pbOut)
{
    uint64_t r = ref.record;
    tagSOURCEGROUPNAME t{};
    t.sId = SpcI16(ref.img, r + SpcGroupLayout::kId);
    t.sKind = SpcI16(ref.img, r + SpcGroupLayout::kKind);
    t.dwWord8 = ref.img.Dword(r + SpcGroupLayout::kWord8);
    SpcCopyText(ref.img, r + SpcGroupLayout::kName, t.szName, SpcGroupLayout::kNameSize);
    SpcEmit(t, pbOut);
}

const SpcListView kGroupViews[] = {
    {1, sizeof(tagSPCIDVALUE), FillGroupIdKind, false},
    {2, sizeof(tagSOURCEGROUP), FillGroup, false},
    {10, sizeof(tagSOURCEGROUPNAME), FillGroupName, false},
};

// Views 3 to 9 answer one record per source entry of every group.
struct EntryView {
    LONG lView;
    DWORD cbRecord;
    SourceFillFn pfnFill;  // NULL: view 8 (source, group and extra word)
};
const EntryView kEntryViews[] = {
    {3, sizeof(tagSOURCEINFO), FillSourceInfo},
    {4, sizeof(tagSPCNAME), FillSourceName},
    {5, sizeof(tagSPCTAILLIST), FillSourceTail},
    {6, sizeof(tagSPCCLOSING), FillSourceClosing},
    {7, sizeof(tagSOURCENAMES), FillSourceNames34},
    {8, sizeof(tagGROUPSOURCE), nullptr},
    {9, sizeof(tagPRINTERSOURCE), FillPrinterSource},
};

DWORD AnswerGroupEntries(const tagSPCDATA* pData, tagSPCCURSOR& cursor, const EntryView& view, SHORT sItem,
                         void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount)
{
    SpcImage img = SpcImageOf(pData);
    auto* pbOut = static_cast<BYTE*>(pvBuffer);
    uint64_t counted = 0;
    DWORD dwFilled = 0;
    bool bStop = false;
    for (const BYTE* pGroup = cursor.pCurrent; pGroup != nullptr && !bStop; pGroup = SpcCursorNext(pData, &cursor)) {
        uint64_t group = img.OffsetOf(pGroup);
        SpcGroupLayout layout{};
        if (!SpcLocateGroup(img, group, &layout)) {
            break;
        }
        DWORD dwSources = img.Dword(layout.sourceCount);
        uint64_t entry = layout.firstEntry;
        for (DWORD i = 0; i < dwSources && !bStop; ++i) {
            SpcSourceLayout source{};
            if (!SpcLocateSource(img, entry, true, &source)) {
                break;
            }
            entry = source.end;
            if (sItem != 0 && SpcI16(img, source.id) != sItem) {
                continue;
            }
            ++counted;
            bStop = sItem != 0;
            if (pbOut == nullptr || static_cast<uint64_t>(dwFilled + 1) * view.cbRecord > *pcbSize) {
                continue;
            }
            BYTE* pbSlot = pbOut + static_cast<size_t>(dwFilled) * view.cbRecord;
            memset(pbSlot, 0, view.cbRecord);
            if (view.pfnFill != nullptr) {
                view.pfnFill(img, source, pbSlot);
            } else {
                tagGROUPSOURCE t{};
                t.sSourceId = SpcI16(img, source.id);
                t.sGroupId = SpcI16(img, group + SpcGroupLayout::kId);
                t.dwExtra = img.Dword(source.extra);
                SpcEmit(t, pbSlot);
            }
            ++dwFilled;
        }
    }
    if (img.Failed()) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    if (counted == 0) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_FOUND;
    }
    bool bDone = false;
    DWORD dwResult = SpcCheckRoom(counted * view.cbRecord, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    SpcSetCount(pdwCount, dwFilled);
    return ERROR_SUCCESS;
}

}  // namespace

SPC_READER(SpcGetMediaType)
{
    return SpcAnswerList(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, kMediaViews,
                         sizeof kMediaViews / sizeof kMediaViews[0]);
}

SPC_READER(SpcGetPaperSource)
{
    return SpcAnswerList(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, kSourceViews,
                         sizeof kSourceViews / sizeof kSourceViews[0]);
}

SPC_READER(SpcGetDuplex)
{
    tagSPCCURSOR cursor{};
    DWORD dwResult = SpcCursorFirst(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    const SpcListView* pView = SpcFindView(kDuplexViews, sizeof kDuplexViews / sizeof kDuplexViews[0], lView);
    if (pView == nullptr || (lView == 6 && SpcFormatVersion(cursor.dwVersion) < kDuplexTrailerVersion)) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_SUPPORTED;
    }
    return SpcAnswerListView(pData, cursor, *pView, sItem, pvBuffer, pcbSize, pdwCount);
}

SPC_READER(SpcGetSourceGroup)
{
    tagSPCCURSOR cursor{};
    DWORD dwResult = SpcCursorFirst(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    for (const EntryView& view : kEntryViews) {
        if (view.lView == lView) {
            return AnswerGroupEntries(pData, cursor, view, sItem, pvBuffer, pcbSize, pdwCount);
        }
    }
    const SpcListView* pView = SpcFindView(kGroupViews, sizeof kGroupViews / sizeof kGroupViews[0], lView);
    if (pView == nullptr) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_SUPPORTED;
    }
    return SpcAnswerListView(pData, cursor, *pView, sItem, pvBuffer, pcbSize, pdwCount);
}
