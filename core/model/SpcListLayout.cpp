#include "core/model/SpcListLayout.h"

#include "core/model/SpcFrame.h"
#include "core/model/SpcFraming.h"

namespace {

// Answers the length of a walk that ended at end, or false when it ran past the image.
bool Finish(const SpcWalk& walk, uint64_t off, uint64_t* pcb)
{
    if (!walk.Ok()) {
        return false;
    }
    *pcb = walk.Offset() - off;
    return true;
}

}  // namespace

bool SpcLocateFinishMode(const SpcImage& img, uint64_t off, bool bShortText, SpcFinishModeLayout* pLayout)
{
    SpcWalk walk(img, off);
    walk.Skip(SpcWordAt(bShortText ? 25 : 21));
    pLayout->papers = walk.Offset();
    walk.SkipCountedList(SpcFinishModeLayout::kEntrySize);
    pLayout->seconds = walk.Offset();
    walk.SkipCountedList(SpcFinishModeLayout::kEntrySize);
    pLayout->tail = walk.Offset();
    walk.Skip(12);
    pLayout->end = walk.Offset();
    return walk.Ok();
}

bool SpcLocateUnit(const SpcImage& img, uint64_t off, SpcUnitLayout* pLayout)
{
    SpcWalk walk(img, off);
    walk.Skip(SpcUnitLayout::kPunches);
    walk.SkipCountedList(SpcUnitLayout::kPunchSize);
    pLayout->staplePresence = walk.Offset();
    walk.Skip(4);
    pLayout->staples = walk.Offset();
    walk.SkipCountedList(SpcUnitLayout::kStapleSize);
    pLayout->modeListWord = walk.Offset();
    walk.Skip(4);
    pLayout->modes = walk.Offset();
    DWORD nModes = img.Dword(walk.Offset());
    walk.Skip(4);
    // Every mode is at least 26 words long, so a count the image cannot hold fails on the way.
    for (DWORD i = 0; i < nModes && walk.Ok(); ++i) {
        SpcFinishModeLayout mode{};
        if (!SpcLocateFinishMode(img, walk.Offset(), false, &mode)) {
            img.Fail();
            break;
        }
        walk.Skip(mode.end - walk.Offset());
    }
    pLayout->end = walk.Offset();
    return walk.Ok();
}

bool SpcUnitLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcUnitLayout layout{};
    if (!SpcLocateUnit(img, off, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcFinishModeLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcFinishModeLayout layout{};
    if (!SpcLocateFinishMode(img, off, true, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcOptionRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcWalk walk(img, off);
    walk.SkipCountedList(4);
    return Finish(walk, off, pcb);
}

bool SpcResolutionLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcWalk walk(img, off);
    walk.Skip(SpcResolutionLayout::kLists);
    for (int i = 0; i < 3; ++i) {
        walk.SkipCountedList(4);
    }
    return Finish(walk, off, pcb);
}

bool SpcByteTableLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    // {id; a; b; word 3} and a x b data bytes padded to a whole word. The two sizes are taken as
    // the unsigned words they are stored as; their product cannot wrap in 64 bits.
    uint64_t cbData = static_cast<uint64_t>(img.Dword(off + 4)) * img.Dword(off + 8);
    SpcWalk walk(img, off);
    walk.Skip(16);
    walk.Skip((cbData + 3) & ~static_cast<uint64_t>(3));
    return Finish(walk, off, pcb);
}

bool SpcPjlItemLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    DWORD nTexts = img.Dword(off + SpcPjlItemLayout::kTextCount);
    SpcWalk walk(img, off);
    walk.Skip(SpcPjlItemLayout::kTexts);
    // Each text is at least 8 bytes, so a count the image cannot hold fails on the way.
    for (DWORD i = 0; i < nTexts && walk.Ok(); ++i) {
        DWORD cbText = img.Dword(walk.Offset() + 4);
        walk.Skip(8);
        walk.Skip(cbText);
    }
    return Finish(walk, off, pcb);
}

bool SpcFeatureLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcWalk walk(img, off);
    walk.Skip(SpcFeatureLayout::kPairCount);
    walk.SkipCountedList(8);
    return Finish(walk, off, pcb);
}

bool SpcDependLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcWalk walk(img, off);
    walk.Skip(4);
    walk.SkipCountedList(4);
    return Finish(walk, off, pcb);
}

DWORD SpcLocateFeatureList(const SpcImage& img, uint64_t section, SHORT sSelector, uint64_t* pCountAt,
                           uint64_t* pFirstAt)
{
    if (sSelector == 1) {
        *pCountAt = SpcFeatureLayout::kList1CountAt;
        *pFirstAt = SpcFeatureLayout::kList1At;
        return ERROR_SUCCESS;
    }
    if (sSelector != 2) {
        return SPC_LOCATE_NO_RECORDS;
    }
    // List 2 starts behind every record of list 1 (right at +16 when list 1 is empty).
    DWORD dwCount1 = img.Dword(section + SpcFeatureLayout::kList1CountAt);
    uint64_t off = section + SpcFeatureLayout::kList1At;
    for (LONG i = 0; i < static_cast<LONG>(dwCount1) && !img.Failed(); ++i) {
        uint64_t cb = 0;
        if (!SpcFeatureLength(img, off, &cb)) {
            img.Fail();
            break;
        }
        off += cb;
    }
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    *pCountAt = SpcFeatureLayout::kList2CountAt;
    *pFirstAt = off - section;
    return ERROR_SUCCESS;
}
