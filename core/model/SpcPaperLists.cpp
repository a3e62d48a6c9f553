// Paper sizes (20), custom paper limits (21, 75, 101, 102) and the two small named lists (7, 18).
#include "core/model/SpcListFill.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/model/SpcReaders.h"

namespace {

// ---- Paper sizes (20) ----
// Section header: count, paper flags, metric default id, inch default id, device resolution.
constexpr uint64_t kPaperFlagsAt = 4, kMetricDefaultAt = 8, kInchDefaultAt = 12, kResolutionAt = 16;

// Dots at the section's resolution to 0.1 mm, in 64-bit arithmetic; no resolution gives 0.
SHORT DotsToTenthMm(SHORT sDots, DWORD dwResolution)
{
    if (dwResolution == 0) {
        return 0;
    }
    return static_cast<SHORT>(static_cast<int64_t>(sDots) * 254 / static_cast<int64_t>(dwResolution));
}

void FillPaperDefaults(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagPAPERDEFAULTS t{};
    t.sInchDefault = SpcI16(ref.img, ref.section + kInchDefaultAt);
    t.sMetricDefault = SpcI16(ref.img, ref.section + kMetricDefaultAt);
    SpcEmit(t, pbOut);
}

void FillPaperResolution(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcPutI16(pbOut, 0, ref.img.Dword(ref.section + kResolutionAt));
}

void FillPaperFlags(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcPutU32(pbOut, 0, ref.img.Dword(ref.section + kPaperFlagsAt));
}

void FillIdValue(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagSPCIDVALUE t{};
    t.sId = SpcI16(ref.img, ref.record);
    t.sValue = SpcI16(ref.img, ref.record + 4);
    SpcEmit(t, pbOut);
}

void FillPaperInfo(const SpcRecordRef& ref, BYTE* pbOut)
{
    const SpcImage& img = ref.img;
    uint64_t r = ref.record;
    SpcPaperLayout layout{};
    if (!SpcLocatePaper(img, r, &layout)) {
        return;
    }
    DWORD dwResolution = img.Dword(ref.section + kResolutionAt);
    tagPAPERINFO t{};
    t.sId = SpcI16(img, r + SpcPaperLayout::kId);
    t.sValue2 = SpcI16(img, r + SpcPaperLayout::kValue2);
    t.sKind = SpcI16(img, r + SpcPaperLayout::kKind);
    t.sWidthMm = SpcI16(img, r + SpcPaperLayout::kWidthMm);
    t.sLengthMm = SpcI16(img, r + SpcPaperLayout::kLengthMm);
    t.sWidthDots = SpcI16(img, r + SpcPaperLayout::kWidthDots);
    t.sLengthDots = SpcI16(img, r + SpcPaperLayout::kLengthDots);
    for (int i = 0; i < 4; ++i) {
        t.sMargins[i] = SpcI16(img, r + SpcPaperLayout::kMargins + 4 * i);
        t.sTurnedMargins[i] = SpcI16(img, r + SpcPaperLayout::kTurnedMargins + 4 * i);
    }
    t.sPrintWidthDots = static_cast<SHORT>(t.sWidthDots - 2 * t.sMargins[0]);
    t.sPrintLengthDots = static_cast<SHORT>(t.sLengthDots - 2 * t.sMargins[1]);
    t.sPrintWidthMm = DotsToTenthMm(t.sPrintWidthDots, dwResolution);
    t.sPrintLengthMm = DotsToTenthMm(t.sPrintLengthDots, dwResolution);
    // The turned sheet swaps width and length and has margins of its own.
    t.sTurnedWidthMm = t.sLengthMm;
    t.sTurnedLengthMm = t.sWidthMm;
    t.sTurnedWidthDots = t.sLengthDots;
    t.sTurnedLengthDots = t.sWidthDots;
    t.sTurnedPrintWidthDots = static_cast<SHORT>(t.sTurnedWidthDots - 2 * t.sTurnedMargins[0]);
    t.sTurnedPrintLengthDots = static_cast<SHORT>(t.sTurnedLengthDots - 2 * t.sTurnedMargins[1]);
    t.sTurnedPrintWidthMm = DotsToTenthMm(t.sTurnedPrintWidthDots, dwResolution);
    t.sTurnedPrintLengthMm = DotsToTenthMm(t.sTurnedPrintLengthDots, dwResolution);
    uint64_t passed = r + SpcPaperLayout::kPassed;  // six words at 60 to 80
    t.dwDuplexFlags = img.Dword(passed);
    t.dwWord64 = img.Dword(passed + 4);
    t.dwWord68 = img.Dword(passed + 8);
    t.dwWord76 = img.Dword(passed + 16);
    t.dwWord72 = img.Dword(passed + 12);
    t.dwLayoutFlags = img.Dword(passed + 20);
    SpcReadValuedList(img, layout.listA, &t.sListAValue, &t.sListACount, t.sListA, 32);
    SpcReadValuedList(img, layout.listB, &t.sListBValue, &t.sListBCount, t.sListB, 20);
    SpcEmit(t, pbOut);
}

// The first half of a name block {a, b, name 1 [, name 2]}.
void FillName(const SpcImage& img, uint64_t names, BYTE* pbOut, bool bWithName2)
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

// A whole 144-byte name block as the printer paper record.
void FillPrinterPaper(const SpcImage& img, uint64_t names, BYTE* pbOut)
{
    tagPRINTERPAPER t{};
    t.sA = SpcI16(img, names + SpcNameBlock::kA);
    t.sB = SpcI16(img, names + SpcNameBlock::kB);
    SpcCopyText(img, names + SpcNameBlock::kName1, t.szName1, 32);
    SpcCopyText(img, names + SpcNameBlock::kName2, t.szName2, 32);
    t.sC = SpcI16(img, names + SpcNameBlock::kC);
    t.sPrinterCode = SpcI16(img, names + SpcNameBlock::kD);
    SpcCopyText(img, names + SpcNameBlock::kName3, t.szName3, 32);
    SpcCopyText(img, names + SpcNameBlock::kName4, t.szName4, 32);
    SpcEmit(t, pbOut);
}

template <void (*Fill)(const SpcRecordRef&, const SpcPaperLayout&, BYTE*)>
void WithPaperLayout(const SpcRecordRef& ref, BYTE* pbOut)
{
    SpcPaperLayout layout{};
    if (SpcLocatePaper(ref.img, ref.record, &layout)) {
        Fill(ref, layout, pbOut);
    }
}

void FillPaperName(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    FillName(ref.img, layout.names, pbOut, false);
}

void FillPaperName2(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    FillName(ref.img, layout.names, pbOut, true);
}

void FillPaperPairs(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    tagPAPERPAIRS t{};
    t.sId = SpcI16(ref.img, ref.record);
    SpcReadFieldList(ref.img, layout.pairs, 8, 0, 4, &t.sCount, t.sFirst, 64);
    SpcReadFieldList(ref.img, layout.pairs, 8, 4, 4, &t.sCount, t.sSecond, 64);
    SpcEmit(t, pbOut);
}

void FillPaperTail(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    tagSPCTAILLIST t{};
    t.sId = SpcI16(ref.img, ref.record);
    SpcReadWordList(ref.img, layout.tail, &t.sCount, t.sWords, 4);
    SpcEmit(t, pbOut);
}

void FillPaperClosing(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    tagSPCCLOSING t{};
    t.sId = SpcI16(ref.img, ref.record);
    t.sListAValue = SpcI16(ref.img, layout.listA);
    t.sListBValue = SpcI16(ref.img, layout.listB);
    for (int i = 0; i < 3; ++i) {
        t.dwWords[i] = ref.img.Dword(layout.closing + 4 * i);
    }
    SpcEmit(t, pbOut);
}

void FillPaperPrinterRecord(const SpcRecordRef& ref, const SpcPaperLayout& layout, BYTE* pbOut)
{
    FillPrinterPaper(ref.img, layout.names, pbOut);
}

const SpcListView kPaperViews[] = {
    {1, sizeof(tagPAPERDEFAULTS), FillPaperDefaults, true},
    {2, sizeof(SHORT), FillPaperResolution, true},
    {3, sizeof(tagSPCIDVALUE), FillIdValue, false},
    {4, sizeof(tagPAPERINFO), FillPaperInfo, false},
    {5, sizeof(DWORD), FillPaperFlags, true},
    {6, sizeof(tagSPCNAME), WithPaperLayout<FillPaperName>, false},
    {7, sizeof(tagPAPERPAIRS), WithPaperLayout<FillPaperPairs>, false},
    {8, sizeof(tagSPCNAME2), WithPaperLayout<FillPaperName2>, false},
    {9, sizeof(tagSPCTAILLIST), WithPaperLayout<FillPaperTail>, false},
    {10, sizeof(tagSPCCLOSING), WithPaperLayout<FillPaperClosing>, false},
    {11, sizeof(tagPRINTERPAPER), WithPaperLayout<FillPaperPrinterRecord>, false},
};

// ---- Named values (7) and long texts (18) ----

void FillNamedValue(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagNAMEDVALUE t{};
    t.sId = SpcI16(ref.img, ref.record);
    t.dwValue = ref.img.Dword(ref.record + 4);
    SpcCopyText(ref.img, ref.record + 8, t.szName, sizeof t.szName);
    t.szName[sizeof t.szName - 1] = 0;
    SpcEmit(t, pbOut);
}

void FillLongName(const SpcRecordRef& ref, BYTE* pbOut)
{
    tagLONGNAME t{};
    t.sId = SpcI16(ref.img, ref.record);
    DWORD cbText = ref.img.Dword(ref.record + 4);
    if (cbText != 0) {
        SpcCopyText(ref.img, ref.record + 8, t.szText, cbText < sizeof t.szText ? cbText : sizeof t.szText);
        t.szText[sizeof t.szText - 1] = 0;
    }
    SpcEmit(t, pbOut);
}

const SpcListView kNamedValueViews[] = {{1, sizeof(tagNAMEDVALUE), FillNamedValue, false}};
const SpcListView kLongNameViews[] = {{1, sizeof(tagLONGNAME), FillLongName, false}};

// ---- Custom paper limits (21, 75, 101, 102): one record, read from the section directly ----

// Offsets behind the name half where the two readings of its counted list start.
uint64_t NearList(const SpcCustomLayout& layout)
{
    return layout.half + SpcCustomLayout::kNearListFromHalf;
}
uint64_t FarList(const SpcCustomLayout& layout)
{
    return layout.half + SpcCustomLayout::kFarListFromHalf;
}

constexpr LONG kLastCustomView = 7;

// Builds the answer of one custom-limit view into pbOut (sized for the largest); the size of the
// view's answer (views 1 to kLastCustomView).
DWORD BuildCustomAnswer(const SpcImage& img, uint64_t s, LONG lView, BYTE* pbOut)
{
    SpcCustomLayout layout{};
    if (!SpcLocateCustom(img, s, &layout)) {
        return sizeof(tagCUSTOMLIMITS);  // any size: the failed reader makes the answer 13
    }
    switch (lView) {
    case 1: {
        tagCUSTOMLIMITS t{};
        t.dwFlags = img.Dword(s + SpcCustomLayout::kFlags);
        for (int i = 0; i < 16; ++i) {
            t.sLimits[i] = SpcI16(img, s + SpcCustomLayout::kLimits + 4 * i);
        }
        uint64_t passed = s + SpcCustomLayout::kPassed;  // six words at 68 to 88
        t.dwWord68 = img.Dword(passed);
        t.dwWord72 = img.Dword(passed + 4);
        t.dwWord76 = img.Dword(passed + 8);
        t.dwWord84 = img.Dword(passed + 16);
        t.dwWord80 = img.Dword(passed + 12);
        t.dwWord88 = img.Dword(passed + 20);
        SpcReadValuedList(img, layout.listA, &t.sListAValue, &t.sListACount, t.sListA, 32);
        SpcReadValuedList(img, layout.listB, &t.sListBValue, &t.sListBCount, t.sListB, 20);
        SpcEmit(t, pbOut);
        return sizeof t;
    }
    case 2:
        FillName(img, layout.half, pbOut, false);
        return sizeof(tagSPCNAME);
    case 3:
        FillName(img, layout.half, pbOut, true);
        return sizeof(tagSPCNAME2);
    case 4: {
        tagCUSTOMLIST t{};
        SpcReadWordList(img, NearList(layout), &t.sCount, t.sWords, 4);
        SpcEmit(t, pbOut);
        return sizeof t;
    }
    case 5: {
        tagCUSTOMUSERMAX t{};
        t.dwFlags = img.Dword(s + SpcCustomLayout::kFlags);
        t.dwMaxUserPapers = img.Dword(SpcReadWordList(img, FarList(layout), nullptr, nullptr, 0));
        SpcEmit(t, pbOut);
        return sizeof t;
    }
    case 6: {
        tagCUSTOMCLOSING t{};
        t.sListAValue = SpcI16(img, layout.listA);
        t.sListBValue = SpcI16(img, layout.listB);
        uint64_t behind = SpcReadWordList(img, NearList(layout), nullptr, nullptr, 0);
        for (int i = 0; i < 3; ++i) {
            t.dwWords[i] = img.Dword(behind + 4 + 4 * i);
        }
        SpcEmit(t, pbOut);
        return sizeof t;
    }
    case 7: {
        // The printer paper record of custom sizes. The record holds only the first half of a
        // name block; the second half is the custom size's own: default 1 and the custom code.
        tagPRINTERPAPER t{};
        FillName(img, layout.half, reinterpret_cast<BYTE*>(&t), true);
        t.sC = 1;
        t.sPrinterCode = SPC_PRINTER_PAPER_CUSTOM;
        SpcEmit(t, pbOut);
        return sizeof t;
    }
    default:
        return 0;
    }
}

}  // namespace

SPC_READER(SpcGetPaperSize)
{
    return SpcAnswerList(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, kPaperViews,
                         sizeof kPaperViews / sizeof kPaperViews[0]);
}

SPC_READER(SpcGetNamedValues)
{
    return SpcAnswerList(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, kNamedValueViews, 1);
}

SPC_READER(SpcGetLongNames)
{
    return SpcAnswerList(pData, sCapId, sItem, lView, pvBuffer, pcbSize, pdwCount, kLongNameViews, 1);
}

SPC_READER(SpcGetCustomSize)
{
    (void)sItem;
    const BYTE* pSection = nullptr;
    DWORD dwResult = SpcFindSection(pData, sCapId, &pSection);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView < 1 || lView > kLastCustomView) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_SUPPORTED;
    }
    SpcImage img = SpcImageOf(pData);
    BYTE abAnswer[sizeof(tagCUSTOMLIMITS)] = {};
    DWORD cbAnswer = BuildCustomAnswer(img, img.OffsetOf(pSection), lView, abAnswer);
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    return SpcAnswerOne(abAnswer, cbAnswer, pvBuffer, pcbSize, pdwCount);
}
