#include "core/model/SpcPaperLayout.h"

bool SpcLocatePaper(const SpcImage& img, uint64_t record, SpcPaperLayout* p)
{
    SpcWalk walk(img, record);
    walk.Skip(SpcPaperLayout::kListA);
    p->listA = walk.Offset();
    walk.SkipValuedList();
    p->listB = walk.Offset();
    walk.SkipValuedList();
    p->names = walk.Offset();
    walk.Skip(SpcNameBlock::kSize);
    p->pairs = walk.Offset();
    walk.SkipCountedList(8);
    p->tail = walk.Offset();
    walk.SkipCountedList(4);
    p->closing = walk.Offset();
    walk.Skip(12);
    p->end = walk.Offset();
    return walk.Ok();
}

bool SpcLocateMedia(const SpcImage& img, uint64_t record, SpcMediaLayout* p)
{
    SpcWalk walk(img, record);
    walk.Skip(SpcMediaLayout::kListA);
    p->listA = walk.Offset();
    walk.SkipValuedList();
    p->listB = walk.Offset();
    walk.SkipValuedList();
    p->names = walk.Offset();
    walk.Skip(SpcNameBlock::kSize);
    p->tail = walk.Offset();
    walk.SkipCountedList(4);
    p->closing = walk.Offset();
    walk.Skip(12);
    p->end = walk.Offset();
    return walk.Ok();
}

bool SpcLocateSource(const SpcImage& img, uint64_t record, bool bGroupEntry, SpcSourceLayout* p)
{
    uint64_t shift = bGroupEntry ? 4 : 0;
    p->id = record;
    p->value = record + 4;
    p->extra = record + 8;  // only meaningful for a group entry
    p->words = record + 8 + shift;
    SpcWalk walk(img, record);
    walk.Skip(32 + shift);
    p->listA = walk.Offset();
    walk.SkipValuedList();
    p->listB = walk.Offset();
    walk.SkipValuedList();
    p->names = walk.Offset();
    walk.Skip(SpcSourceNameBlock::kSize);
    p->tail = walk.Offset();
    walk.SkipCountedList(4);
    p->closing = walk.Offset();
    walk.Skip(12);
    p->names34 = walk.Offset();
    walk.Skip(64);
    p->end = walk.Offset();
    return walk.Ok();
}

bool SpcLocateGroup(const SpcImage& img, uint64_t record, SpcGroupLayout* p)
{
    SpcWalk walk(img, record);
    walk.Skip(SpcGroupLayout::kTail);
    walk.SkipCountedList(4);
    p->sourceCount = walk.Offset();
    DWORD dwSources = img.Dword(p->sourceCount);
    walk.Skip(4);
    p->firstEntry = walk.Offset();
    for (DWORD i = 0; i < dwSources && walk.Ok(); ++i) {
        SpcSourceLayout entry{};
        if (!SpcLocateSource(img, walk.Offset(), true, &entry)) {
            return false;
        }
        walk.Skip(entry.end - walk.Offset());
    }
    p->end = walk.Offset();
    return walk.Ok();
}

bool SpcLocateCustom(const SpcImage& img, uint64_t section, SpcCustomLayout* p)
{
    SpcWalk walk(img, section);
    walk.Skip(SpcCustomLayout::kListA);
    p->listA = walk.Offset();
    walk.SkipValuedList();
    p->listB = walk.Offset();
    walk.SkipValuedList();
    p->half = walk.Offset();
    walk.Skip(SpcNameBlock::kHalfSize);
    return walk.Ok();
}

bool SpcPaperRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcPaperLayout layout{};
    if (!SpcLocatePaper(img, off, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcMediaRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcMediaLayout layout{};
    if (!SpcLocateMedia(img, off, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcSourceRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcSourceLayout layout{};
    if (!SpcLocateSource(img, off, false, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcGroupRecordLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    SpcGroupLayout layout{};
    if (!SpcLocateGroup(img, off, &layout)) {
        return false;
    }
    *pcb = layout.end - off;
    return true;
}

bool SpcLongTextLength(const SpcImage& img, uint64_t off, uint64_t* pcb)
{
    uint64_t cbText = img.Dword(off + 4);
    *pcb = 8 + cbText;
    return !img.Failed() && img.Contains(off, *pcb);
}
