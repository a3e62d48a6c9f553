// Finishing units with their punch, staple and finishing-mode sub-lists (27) and the flat table
// of finishing modes keyed by the model finisher id (34).
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListLayout.h"
#include "core/model/SpcListReaders.h"

namespace {

typedef SpcFinishModeLayout Mode;

// ---- Finishing-mode answers, shared by 27 (with the unit id) and 34 (unit id 0) ----

void FillModeInfo(const SpcImage& img, WORD wUnitId, uint64_t m, const Mode& mode, BYTE* pbOut)
{
    tagFINISHMODEINFO t{};
    t.wUnitId = wUnitId;
    t.wModeId = SpcU16(img, m + Mode::kId);
    t.wValue = SpcU16(img, m + Mode::kValue);
    t.dwFlags = img.Dword(m + Mode::kFlags);
    for (int i = 0; i < 3; ++i) {
        t.dwP[i] = img.Dword(mode.tail + 4 * i);
    }
    t.wWord13 = SpcU16(img, m + Mode::kWord13);
    t.wWord17 = SpcU16(img, m + Mode::kWord17);
    SHORT sPapers[64] = {};
    SHORT sSeconds[32] = {};
    SpcReadFieldList(img, mode.papers, Mode::kEntrySize, 0, 4, &t.sPaperCount, sPapers, 64);
    SpcReadFieldList(img, mode.seconds, Mode::kEntrySize, 0, 4, &t.sSecondCount, sSeconds, 32);
    memcpy(t.wPaperIds, sPapers, sizeof sPapers);
    memcpy(t.wSecondIds, sSeconds, sizeof sSeconds);
    SpcEmit(t, pbOut);
}

void FillModePaper(const SpcImage& img, WORD wUnitId, WORD wModeId, uint64_t entry, BYTE* pbOut)
{
    tagFINISHPAPER t{};
    t.wUnitId = wUnitId;
    t.wModeId = wModeId;
    t.wPaperId = SpcU16(img, entry);
    for (int i = 0; i < 3; ++i) {
        t.dwWords[i] = img.Dword(entry + 4 + 4 * i);
    }
    SpcEmit(t, pbOut);
}

void FillModeWords(const SpcImage& img, WORD wUnitId, uint64_t m, BYTE* pbOut)
{
    tagFINISHWORDS t{};
    t.wUnitId = wUnitId;
    t.wModeId = SpcU16(img, m + Mode::kId);
    t.wWord13 = SpcU16(img, m + Mode::kWord13);
    t.wWord17 = SpcU16(img, m + Mode::kWord17);
    for (int i = 0; i < 3; ++i) {
        t.dwWords[i] = img.Dword(m + Mode::kWord14 + 4 * i);
        t.dwWords[3 + i] = img.Dword(m + Mode::kWord18 + 4 * i);
    }
    SpcEmit(t, pbOut);
}

void FillModePjl(const SpcImage& img, WORD wUnitId, uint64_t m, BYTE* pbOut)
{
    tagFINISHMODEPJL t{};
    t.wUnitId = wUnitId;
    t.wModeId = SpcU16(img, m + Mode::kId);
    t.wValue = SpcU16(img, m + Mode::kValue);
    t.dwFlags = img.Dword(m + Mode::kFlags);
    t.wPjlFlags = SpcU16(img, m + Mode::kPjlFlags);
    t.wWord4 = SpcU16(img, m + Mode::kWord4);
    SpcCopyText(img, m + Mode::kText, t.szText, sizeof t.szText);
    SpcEmit(t, pbOut);
}

// ---- Finishing units (27) ----

// The model finisher ids of the unit's first four modes; the number of modes.
DWORD FirstModeIds(const SpcImage& img, const SpcUnitLayout& unit, WORD* pwIds)
{
    DWORD nModes = img.Dword(unit.modes);
    uint64_t m = unit.modes + 4;
    for (DWORD i = 0; i < nModes && i < 4 && !img.Failed(); ++i) {
        pwIds[i] = SpcU16(img, m + Mode::kId);
        Mode mode{};
        if (!SpcLocateFinishMode(img, m, false, &mode)) {
            img.Fail();
            break;
        }
        m = mode.end;
    }
    return nModes;
}

SHORT AtMostFour(DWORD n)
{
    return static_cast<SHORT>(n < 4 ? n : 4);
}

// Views 1, 3 and 11: one answer per unit.
void FillUnit(LONG lView, const SpcImage& img, uint64_t r, BYTE* pbOut)
{
    SpcUnitLayout unit{};
    if (!SpcLocateUnit(img, r, &unit)) {
        img.Fail();
        return;
    }
    typedef SpcUnitLayout U;
    if (lView == 1) {
        tagFINISHERUNIT t{};
        t.wId = SpcU16(img, r + U::kId);
        t.wValue = SpcU16(img, r + U::kValue);
        t.dwAvailability = img.Dword(r + U::kAvailability);
        t.dwOptionFlags = img.Dword(r + U::kOptionFlags);
        t.sModeCount = AtMostFour(FirstModeIds(img, unit, t.wModeIds));
        SpcEmit(t, pbOut);
    } else if (lView == 3) {
        tagFINISHERINFO t{};
        t.wId = SpcU16(img, r + U::kId);
        t.wValue = SpcU16(img, r + U::kValue);
        SpcCopyText(img, r + U::kName, t.szName, sizeof t.szName);
        t.szName[sizeof t.szName - 1] = 0;
        t.dwAvailability = img.Dword(r + U::kAvailability);
        t.dwOptionFlags = img.Dword(r + U::kOptionFlags);
        t.wPunchPresence = SpcU16(img, r + U::kPunchPresence);
        t.wStaplePresence = SpcU16(img, unit.staplePresence);
        t.wModeListWord = SpcU16(img, unit.modeListWord);
        SHORT sIds[4] = {};
        SpcReadFieldList(img, r + U::kPunches, U::kPunchSize, 0, 4, &t.sPunchCount, sIds, 4);
        memcpy(t.wPunchIds, sIds, sizeof sIds);
        SpcReadFieldList(img, unit.staples, U::kStapleSize, 0, 4, &t.sStapleCount, sIds, 4);
        memcpy(t.wStapleIds, sIds, sizeof sIds);
        t.sModeCount = AtMostFour(FirstModeIds(img, unit, t.wModeIds));
        SpcEmit(t, pbOut);
    } else {
        tagFINISHERTEXT t{};
        t.wId = SpcU16(img, r + U::kId);
        t.wValue = SpcU16(img, r + U::kValue);
        t.dwAvailability = img.Dword(r + U::kAvailability);
        t.dwWord12 = img.Dword(r + U::kWord12);
        t.wWord13 = SpcU16(img, r + U::kWord13);
        t.wWord14 = SpcU16(img, r + U::kWord14);
        SpcCopyText(img, r + U::kText2, t.szText, sizeof t.szText);
        SpcEmit(t, pbOut);
    }
}

// The sub-list an expanding view of 27 answers one record per entry of.
enum class Entry : BYTE { Punch, Staple, Mode, Paper, Second };

struct ExpandView {
    LONG lView;
    Entry entry;
    DWORD cbRecord;
    bool bZeroSlot;  // the view clears its slot before writing its fields
};

const ExpandView kExpandViews[] = {
    {2, Entry::Mode, sizeof(tagFINISHERMODE), true},
    {4, Entry::Punch, sizeof(tagFINISHERPUNCH), false},
    {5, Entry::Staple, sizeof(tagFINISHERPUNCH), false},
    {6, Entry::Mode, sizeof(tagFINISHMODEINFO), true},
    {7, Entry::Paper, sizeof(tagFINISHPAPER), true},
    {8, Entry::Second, sizeof(tagFINISHPAPER), true},
    {9, Entry::Mode, sizeof(tagFINISHWORDS), true},
    {10, Entry::Punch, sizeof(tagFINISHERPUNCHWORDS), false},
    {12, Entry::Punch, sizeof(tagFINISHERPJL), false},
    {13, Entry::Staple, sizeof(tagFINISHERPJL), false},
    {14, Entry::Mode, sizeof(tagFINISHMODEPJL), true},
    {15, Entry::Staple, sizeof(tagFINISHERSTAPLEPJL), false},
};

const ExpandView* FindExpandView(LONG lView)
{
    for (const ExpandView& v : kExpandViews) {
        if (v.lView == lView) {
            return &v;
        }
    }
    return nullptr;
}

// A punch (views 4, 10, 12) or staple (views 5, 13, 15) entry into its answer slot.
void FillSubEntry(LONG lView, const SpcImage& img, WORD wUnitId, uint64_t e, BYTE* pbOut)
{
    // Punch and staple entries share words 0-4 and the text at word 5.
    WORD wId = SpcU16(img, e + SpcPunchEntry::kId);
    WORD wValue = SpcU16(img, e + SpcPunchEntry::kValue);
    DWORD dwFlags = img.Dword(e + SpcPunchEntry::kFlags);
    switch (lView) {
    case 4:
    case 5: {
        tagFINISHERPUNCH t{wUnitId, wId, wValue, 0, dwFlags, {}};
        if (lView == 4) {
            for (int i = 0; i < 3; ++i) {
                t.dwWords[i] = img.Dword(e + SpcPunchEntry::kWord13 + 4 * i);
            }
        } else {
            t.dwWords[0] = img.Dword(e + SpcStapleEntry::kWord21);
            t.dwWords[1] = img.Dword(e + SpcStapleEntry::kWord22);
        }
        SpcEmit(t, pbOut);
        break;
    }
    case 10: {
        tagFINISHERPUNCHWORDS t{wUnitId, wId, wValue, 0, dwFlags, {}};
        for (int i = 0; i < 5; ++i) {
            t.dwWords[i] = img.Dword(e + SpcPunchEntry::kWord13 + 4 * i);
        }
        SpcEmit(t, pbOut);
        break;
    }
    default: {
        tagFINISHERSTAPLEPJL t{};
        t.base.wUnitId = wUnitId;
        t.base.wId = wId;
        t.base.wValue = wValue;
        t.base.dwFlags = dwFlags;
        t.base.wPjlFlags = SpcU16(img, e + SpcPunchEntry::kPjlFlags);
        t.base.wWord4 = SpcU16(img, e + SpcPunchEntry::kWord4);
        SpcCopyText(img, e + SpcPunchEntry::kText, t.base.szText, sizeof t.base.szText);
        if (lView == 15) {
            SpcCopyText(img, e + SpcStapleEntry::kTextB, t.szTextB, sizeof t.szTextB);
            SpcEmit(t, pbOut);
        } else {
            SpcEmit(t.base, pbOut);
        }
        break;
    }
    }
}

// A finishing mode (views 2, 6, 9, 14) into its answer slot.
void FillModeEntry(LONG lView, const SpcImage& img, WORD wUnitId, uint64_t m, const Mode& mode, BYTE* pbOut)
{
    switch (lView) {
    case 2: {
        tagFINISHERMODE t{};
        t.wModeId = SpcU16(img, m + Mode::kId);
        t.wValue = SpcU16(img, m + Mode::kValue);
        t.dwP1 = img.Dword(mode.tail + 4);
        t.dwP2 = img.Dword(mode.tail + 8);
        SpcEmit(t, pbOut);
        break;
    }
    case 6:
        FillModeInfo(img, wUnitId, m, mode, pbOut);
        break;
    case 9:
        FillModeWords(img, wUnitId, m, pbOut);
        break;
    default:
        FillModePjl(img, wUnitId, m, pbOut);
        break;
    }
}

// Expands one unit into the view's entries; answers how many it yielded.
uint64_t ExpandUnit(const ExpandView& view, const SpcImage& img, uint64_t r, SpcExpander& out)
{
    SpcUnitLayout unit{};
    if (!SpcLocateUnit(img, r, &unit)) {
        img.Fail();
        return 0;
    }
    WORD wUnitId = SpcU16(img, r + SpcUnitLayout::kId);
    uint64_t before = out.Total();
    if (view.entry == Entry::Punch || view.entry == Entry::Staple) {
        bool bPunch = view.entry == Entry::Punch;
        uint64_t list = bPunch ? r + SpcUnitLayout::kPunches : unit.staples;
        uint64_t cbEntry = bPunch ? SpcUnitLayout::kPunchSize : SpcUnitLayout::kStapleSize;
        DWORD n = img.Dword(list);
        for (DWORD i = 0; i < n && !img.Failed(); ++i) {
            if (BYTE* pbSlot = out.Next()) {
                FillSubEntry(view.lView, img, wUnitId, list + 4 + i * cbEntry, pbSlot);
            }
        }
        return out.Total() - before;
    }
    DWORD nModes = img.Dword(unit.modes);
    uint64_t m = unit.modes + 4;
    for (DWORD i = 0; i < nModes && !img.Failed(); ++i) {
        Mode mode{};
        if (!SpcLocateFinishMode(img, m, false, &mode)) {
            img.Fail();
            break;
        }
        if (view.entry == Entry::Mode) {
            if (BYTE* pbSlot = out.Next()) {
                FillModeEntry(view.lView, img, wUnitId, m, mode, pbSlot);
            }
        } else {
            uint64_t list = view.entry == Entry::Paper ? mode.papers : mode.seconds;
            WORD wModeId = SpcU16(img, m + Mode::kId);
            DWORD n = img.Dword(list);
            for (DWORD k = 0; k < n && !img.Failed(); ++k) {
                if (BYTE* pbSlot = out.Next()) {
                    FillModePaper(img, wUnitId, wModeId, list + 4 + k * Mode::kEntrySize, pbSlot);
                }
            }
        }
        m = mode.end;
    }
    return out.Total() - before;
}

}  // namespace

SPC_READER(SpcGetFinisher)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView == 1 || lView == 3 || lView == 11) {
        DWORD cbRecord = lView == 1 ? sizeof(tagFINISHERUNIT)
                                    : lView == 3 ? sizeof(tagFINISHERINFO) : sizeof(tagFINISHERTEXT);
        return SpcProtocolA(pData, cursor, cbRecord, sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize,
                            pdwCount, [lView](const SpcImage& img, uint64_t r, BYTE* pbOut) {
                                FillUnit(lView, img, r, pbOut);
                            });
    }
    const ExpandView* pView = FindExpandView(lView);
    if (pView == nullptr) {
        return SpcUnsupportedView(pdwCount);
    }
    SpcImage img = SpcImageOf(pData);
    SpcExpander out(pvBuffer, *pcbSize, pView->cbRecord, pView->bZeroSlot);
    for (const BYTE* p = cursor.pCurrent; p != nullptr && !img.Failed(); p = SpcCursorNext(pData, &cursor)) {
        uint64_t r = img.OffsetOf(p);
        if (sItem != 0 && SpcLow16(img.Dword(r)) != sItem) {
            continue;
        }
        if (ExpandUnit(*pView, img, r, out) > 0 && sItem != 0) {
            break;
        }
    }
    return SpcExpandResult(out, SpcExpandEnd::NotFoundWhenEmpty, sItem, img.Failed(), pcbSize, pdwCount);
}

SPC_READER(SpcGetFinishMode)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = SpcSectionOf(pData, cursor);
    auto protocolA = [&](DWORD cbRecord, auto fill) {
        return SpcProtocolA(pData, cursor, cbRecord, sItem, SpcSelect::ById, SpcNeed::PerItem, pvBuffer, pcbSize,
                            pdwCount, [fill](const SpcImage& im, uint64_t m, BYTE* pbOut) {
                                Mode mode{};
                                if (!SpcLocateFinishMode(im, m, true, &mode)) {
                                    im.Fail();
                                    return;
                                }
                                fill(im, m, mode, pbOut);
                            });
    };
    switch (lView) {
    case 1: {
        WORD wWord1 = SpcU16(img, section + 4);
        return SpcAnswerFixedView(img, wWord1, pvBuffer, pcbSize, pdwCount);
    }
    case 2:
        return protocolA(sizeof(tagFINISHMODE), [](const SpcImage& im, uint64_t m, const Mode& mode, BYTE* pbOut) {
            tagFINISHMODE t{};
            t.wModeId = SpcU16(im, m + Mode::kId);
            t.wValue = SpcU16(im, m + Mode::kValue);
            t.dwFlags = im.Dword(m + Mode::kFlags);
            t.dwP1 = im.Dword(mode.tail + 4);
            t.dwP2 = im.Dword(mode.tail + 8);
            SpcEmit(t, pbOut);
        });
    case 3:
        return protocolA(sizeof(tagFINISHMODEINFO),
                         [](const SpcImage& im, uint64_t m, const Mode& mode, BYTE* pbOut) {
                             FillModeInfo(im, 0, m, mode, pbOut);
                         });
    case 6:
        return protocolA(sizeof(tagFINISHWORDS), [](const SpcImage& im, uint64_t m, const Mode&, BYTE* pbOut) {
            FillModeWords(im, 0, m, pbOut);
        });
    case 7:
        return protocolA(sizeof(tagFINISHMODEPJL), [](const SpcImage& im, uint64_t m, const Mode&, BYTE* pbOut) {
            FillModePjl(im, 0, m, pbOut);
        });
    case 8:
        return protocolA(sizeof(tagFINISHMODENAME),
                         [](const SpcImage& im, uint64_t m, const Mode&, BYTE* pbOut) {
                             tagFINISHMODENAME t{};
                             t.wModeId = SpcU16(im, m + Mode::kId);
                             t.wValue = SpcU16(im, m + Mode::kValue);
                             t.dwFlags = im.Dword(m + Mode::kFlags);
                             SpcCopyText(im, m + Mode::kShortText, t.szText, Mode::kShortTextSize);
                             SpcEmit(t, pbOut);
                         });
    case 4:
    case 5:
        break;
    default:
        return SpcUnsupportedView(pdwCount);
    }

    // Views 4 and 5: one answer per paper entry (view 4) or per second entry, at most 32 of a
    // mode (view 5). With an item the walk ends after the first selected mode, whatever it gave.
    SpcExpander out(pvBuffer, *pcbSize, sizeof(tagFINISHPAPER), false);
    for (const BYTE* p = cursor.pCurrent; p != nullptr && !img.Failed(); p = SpcCursorNext(pData, &cursor)) {
        uint64_t m = img.OffsetOf(p);
        if (sItem != 0 && SpcLow16(img.Dword(m)) != sItem) {
            continue;
        }
        Mode mode{};
        if (!SpcLocateFinishMode(img, m, true, &mode)) {
            img.Fail();
            break;
        }
        uint64_t list = lView == 4 ? mode.papers : mode.seconds;
        DWORD n = img.Dword(list);
        if (lView == 5 && n > 32) {
            n = 32;
        }
        WORD wModeId = SpcU16(img, m + Mode::kId);
        for (DWORD k = 0; k < n && !img.Failed(); ++k) {
            if (BYTE* pbSlot = out.Next()) {
                FillModePaper(img, 0, wModeId, list + 4 + k * Mode::kEntrySize, pbSlot);
            }
        }
        if (sItem != 0) {
            break;
        }
    }
    return SpcExpandResult(out, SpcExpandEnd::PartialCount, sItem, img.Failed(), pcbSize, pdwCount);
}
