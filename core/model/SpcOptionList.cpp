// Installable options (37): the capabilities whose items are installable options, and their
// expansion into one uniform option entry per item.
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcListHandler.h"
#include "core/model/SpcListLayout.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListReaders.h"
#include "core/model/SpcQuery.h"

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void* pv) const { free(pv); }
};
typedef std::unique_ptr<BYTE, FreeDeleter> HeapAnswer;

// One nested answer: size first, then into a zeroed heap block of that size. An empty block on
// any failure (the capability then yields nothing).
HeapAnswer Fetch(const tagSPCDATA* pData, SHORT sCapId, SHORT sItem, LONG lView, DWORD* pcbSize, DWORD* pdwCount)
{
    *pcbSize = 0;
    *pdwCount = 0;
    DWORD cbSize = 0;
    DWORD dwCount = 0;
    if (SpcQuery(pData, sCapId, sItem, lView, nullptr, &cbSize, &dwCount) != ERROR_SUCCESS || cbSize == 0) {
        return HeapAnswer();
    }
    HeapAnswer block(static_cast<BYTE*>(calloc(1, cbSize)));
    if (!block || SpcQuery(pData, sCapId, sItem, lView, block.get(), &cbSize, &dwCount) != ERROR_SUCCESS) {
        return HeapAnswer();
    }
    *pcbSize = cbSize;
    *pdwCount = dwCount;
    return block;
}

template <class T>
T At(const BYTE* pb, size_t off)
{
    T v;
    memcpy(&v, pb + off, sizeof v);
    return v;
}

// Where an option entry takes its fields from in one answer record of capability X.
struct OptionShape {
    SHORT sCapId;
    LONG lView;
    DWORD cbRecord;
    int itemAt;   // -1: the capability id itself
    int valueAt;
    int flagsAt;  // -1: the duplex flags rule
};

const OptionShape kShapes[] = {
    {SPCID_DUPLEX, 1, sizeof(tagDUPLEXINFO), -1, offsetof(tagDUPLEXINFO, sDefault), -1},
    {SPCID_FINISHER, 1, sizeof(tagFINISHERUNIT), 0, 2, offsetof(tagFINISHERUNIT, dwOptionFlags)},
    {32, 1, 16, 0, 2, 8},
    {33, 1, 16, 0, 2, 8},
    {34, 2, sizeof(tagFINISHMODE), 0, 2, offsetof(tagFINISHMODE, dwFlags)},
    {35, 2, 16, 0, 2, 8},
    {36, 2, 16, 0, 2, 8},
};

const OptionShape* FindShape(SHORT sCapId)
{
    for (const OptionShape& shape : kShapes) {
        if (shape.sCapId == sCapId) {
            return &shape;
        }
    }
    return nullptr;
}

void PutOption(BYTE* pbSlot, SHORT sCapId, WORD wItemId, WORD wValue, DWORD dwFlags)
{
    tagOPTIONITEM t{};
    t.wCapId = static_cast<WORD>(sCapId);
    t.wItemId = wItemId;
    t.wValue = wValue;
    t.dwFlags = dwFlags;
    SpcEmit(t, pbSlot);
}

// The running total and writer of view 2: whole groups of entries are written only when all
// of them fit.
struct OptionOut {
    BYTE* pbOut;
    DWORD cbBuffer;
    uint64_t total = 0;
    uint64_t written = 0;

    // Adds n entries to the total; true when they all fit behind the ones written so far.
    bool Reserve(uint64_t n)
    {
        total += n;
        return pbOut != nullptr && total * sizeof(tagOPTIONITEM) <= cbBuffer;
    }
    BYTE* Slot() { return pbOut + (written++) * sizeof(tagOPTIONITEM); }
};

// Source groups: one entry per member source of every group, with the group's flags and value
// unless the member has its own.
void ExpandSourceGroups(const tagSPCDATA* pData, OptionOut& out)
{
    DWORD cbGroups = 0, nGroups = 0;
    HeapAnswer groups = Fetch(pData, SPCID_SOURCEGROUP, 0, 2, &cbGroups, &nGroups);
    if (!groups) {
        return;
    }
    DWORD cbMembers = 0, nMembers = 0;
    HeapAnswer members = Fetch(pData, SPCID_SOURCEGROUP, 0, 8, &cbMembers, &nMembers);
    nMembers = members ? static_cast<DWORD>(cbMembers / sizeof(tagGROUPSOURCE) < nMembers
                                                ? cbMembers / sizeof(tagGROUPSOURCE)
                                                : nMembers)
                       : 0;
    DWORD nGroupRecords = cbGroups / sizeof(tagSOURCEGROUP) < nGroups ? cbGroups / sizeof(tagSOURCEGROUP) : nGroups;
    for (DWORD g = 0; g < nGroupRecords; ++g) {
        tagSOURCEGROUP group = At<tagSOURCEGROUP>(groups.get(), g * sizeof(tagSOURCEGROUP));
        // The answer lists at most four member ids.
        SHORT sMembers = group.sSourceCount < 0 ? 0 : group.sSourceCount > 4 ? 4 : group.sSourceCount;
        if (!out.Reserve(static_cast<uint64_t>(sMembers))) {
            continue;
        }
        for (SHORT i = 0; i < sMembers; ++i) {
            SHORT sSource = group.sSources[i];
            DWORD dwFlags = group.dwWord8;
            for (DWORD k = 0; k < nMembers; ++k) {
                tagGROUPSOURCE member = At<tagGROUPSOURCE>(members.get(), k * sizeof(tagGROUPSOURCE));
                if (member.sSourceId == sSource && member.sGroupId == group.sId) {
                    dwFlags = member.dwExtra;
                    break;
                }
            }
            WORD wValue = static_cast<WORD>(group.sKind);
            DWORD cbSource = 0, nSource = 0;
            HeapAnswer source = Fetch(pData, SPCID_SOURCEGROUP, sSource, 3, &cbSource, &nSource);
            if (source && cbSource >= 4) {
                wValue = At<WORD>(source.get(), 2);
            }
            PutOption(out.Slot(), SPCID_SOURCEGROUP, static_cast<WORD>(sSource), wValue, dwFlags);
        }
    }
}

// Any other listed capability: one entry per answered record, its fields by the capability's
// record shape (all zero for a capability without one).
void ExpandCapability(const tagSPCDATA* pData, SHORT sCapId, OptionOut& out)
{
    const OptionShape* pShape = FindShape(sCapId);
    DWORD cbAnswer = 0, nRecords = 0;
    HeapAnswer answer = Fetch(pData, sCapId, 0, pShape != nullptr ? pShape->lView : 1, &cbAnswer, &nRecords);
    if (!answer || !out.Reserve(nRecords)) {
        return;
    }
    for (DWORD i = 0; i < nRecords; ++i) {
        if (pShape == nullptr || static_cast<uint64_t>(i + 1) * pShape->cbRecord > cbAnswer) {
            PutOption(out.Slot(), sCapId, 0, 0, 0);
            continue;
        }
        const BYTE* pb = answer.get() + static_cast<size_t>(i) * pShape->cbRecord;
        WORD wItemId = pShape->itemAt < 0 ? static_cast<WORD>(sCapId) : At<WORD>(pb, pShape->itemAt);
        WORD wValue = At<WORD>(pb, pShape->valueAt);
        DWORD dwFlags = 0;
        if (pShape->flagsAt < 0) {
            DWORD dwDuplex = At<DWORD>(pb, 0);
            dwFlags = ((dwDuplex & 0x1) != 0 ? 1 : 0) + ((dwDuplex & 0x40) != 0 ? 2 : 0);
        } else {
            dwFlags = At<DWORD>(pb, pShape->flagsAt);
        }
        PutOption(out.Slot(), sCapId, wItemId, wValue, dwFlags);
    }
}

}  // namespace

SPC_READER(SpcGetOptionList)
{
    tagSPCCURSOR cursor;
    DWORD dwResult = SpcStartList(pData, sCapId, &cursor);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (lView != 1 && lView != 2) {
        return SpcUnsupportedView(pdwCount);
    }
    if (pvBuffer != nullptr) {
        memset(pvBuffer, 0, *pcbSize);
    }
    SpcImage img = SpcImageOf(pData);
    OptionOut out{static_cast<BYTE*>(pvBuffer), *pcbSize};
    DWORD cbRecord = lView == 1 ? sizeof(tagOPTIONCAP) : sizeof(tagOPTIONITEM);
    bool bStop = false;
    for (const BYTE* p = cursor.pCurrent; p != nullptr && !bStop; p = SpcCursorNext(pData, &cursor)) {
        uint64_t r = img.OffsetOf(p);
        DWORD n = img.Dword(r);
        for (DWORD i = 0; i < n && !img.Failed() && !bStop; ++i) {
            SHORT sListed = SpcLow16(img.Dword(r + 4 + 4 * static_cast<uint64_t>(i)));
            if (sItem != 0 && sListed != sItem) {
                continue;
            }
            if (lView == 1) {
                ++out.total;
                if (out.pbOut != nullptr && out.total * cbRecord <= out.cbBuffer) {
                    tagOPTIONCAP t{static_cast<WORD>(sListed), 0};
                    SpcEmit(t, out.pbOut + (out.written++) * cbRecord);
                }
                // With an item the first listing of it is the answer.
                bStop = sItem != 0;
                continue;
            }
            uint64_t before = out.written;
            if (sListed == SPCID_SOURCEGROUP) {
                ExpandSourceGroups(pData, out);
            } else {
                ExpandCapability(pData, sListed, out);
            }
            bStop = sItem != 0 && out.written > before;
        }
    }
    if (img.Failed()) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    uint64_t cbNeed = out.total * cbRecord;
    if (cbNeed > UINT32_MAX) {
        SpcSetCount(pdwCount, 0);
        return ERROR_INVALID_DATA;
    }
    if (pvBuffer == nullptr || cbNeed > *pcbSize) {
        *pcbSize = static_cast<DWORD>(cbNeed);
        SpcSetCount(pdwCount, 0);
        return pvBuffer == nullptr ? ERROR_SUCCESS : ERROR_INSUFFICIENT_BUFFER;
    }
    SpcSetCount(pdwCount, static_cast<DWORD>(out.written));
    return ERROR_SUCCESS;
}
