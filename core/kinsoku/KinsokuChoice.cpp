// Replacement values for a forbidden paper, paper source or media. Each starts from the item's
// plain choice and then prefers a value that a related setting names in its model record: a new
// media names the paper and the source it goes with, a new paper names its media and source, and
// so on. A related setting counts first when its key changed at the start of the run (the user's
// own change), then when the run itself rewrote it.
#include "core/kinsoku/KinsokuList.h"

namespace {

// A related setting: its key, its item, and the value its record names for the item being replaced.
struct Candidate {
    SHORT sKey;
    SHORT sItem;
    bool (*pfnValue)(const CKinsokuList& list, const DRVDEVMODE& dm, LONG* plValue);
};

SHORT MediaId(DWORD dwMedia) { return static_cast<SHORT>(dwMedia & 0xFFFF); }

template <SHORT tagMEDIAINFO::*Field>
bool FromMedia(const CKinsokuList& list, DWORD dwMedia, LONG* plValue)
{
    tagMEDIAINFO media;
    if (!list.GetMediaRecord(MediaId(dwMedia), &media))
        return false;
    *plValue = media.*Field;
    return true;
}

template <SHORT tagSOURCEINFO::*Field>
bool FromSource(const CKinsokuList& list, SHORT sSource, LONG* plValue)
{
    tagSOURCEINFO source;
    if (!list.GetSourceRecord(sSource, &source))
        return false;
    *plValue = source.*Field;
    return true;
}

template <SHORT tagPAPERINFO::*Field>
bool FromPaper(const CKinsokuList& list, const DRVDEVMODE& dm, LONG* plValue)
{
    tagPAPERINFO paper;
    if (!list.GetPaperRecord(&dm, &paper))
        return false;
    *plValue = paper.*Field;
    return true;
}

// List A of a record names papers or media, list B sources or media, as the tables below say.
const Candidate kPaperCandidates[2] = {
    {KINSOKU_KEY_MEDIA, KINSOKU_ITEM_MEDIA,
     [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromMedia<&tagMEDIAINFO::sListAValue>(l, dm.dm.dmMediaType, p); }},
    {KINSOKU_KEY_SOURCE, KINSOKU_ITEM_SOURCE,
     [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromSource<&tagSOURCEINFO::sListAValue>(l, dm.dm.dmDefaultSource, p); }},
};

bool SourceOfPaper(const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p)
{
    return FromPaper<&tagPAPERINFO::sListBValue>(l, dm, p);
}

const Candidate kSourceCandidates[][2] = {
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, SourceOfPaper},
     {KINSOKU_KEY_MEDIA, KINSOKU_ITEM_MEDIA,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromMedia<&tagMEDIAINFO::sListBValue>(l, dm.dm.dmMediaType, p); }}},
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, SourceOfPaper},
     {KINSOKU_KEY_FIRST_PAGE_MEDIA, KINSOKU_ITEM_FIRST_PAGE_MEDIA,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromMedia<&tagMEDIAINFO::sListBValue>(l, dm.priv.dmFirstPageMediaType, p); }}},
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, SourceOfPaper},
     {KINSOKU_KEY_FRONT_COVER_MEDIA, KINSOKU_ITEM_FRONT_COVER_MEDIA,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromMedia<&tagMEDIAINFO::sListBValue>(l, dm.priv.dmFrontCoverMedia, p); }}},
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, SourceOfPaper},
     {KINSOKU_KEY_BACK_COVER_MEDIA, KINSOKU_ITEM_BACK_COVER_MEDIA,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromMedia<&tagMEDIAINFO::sListBValue>(l, dm.priv.dmBackCoverMedia, p); }}},
};

bool MediaOfPaper(const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p)
{
    return FromPaper<&tagPAPERINFO::sListAValue>(l, dm, p);
}

const Candidate kMediaCandidates[][2] = {
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, MediaOfPaper},
     {KINSOKU_KEY_SOURCE, KINSOKU_ITEM_SOURCE,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromSource<&tagSOURCEINFO::sListBValue>(l, dm.dm.dmDefaultSource, p); }}},
    {{KINSOKU_KEY_PAPER_CLASS, KINSOKU_ITEM_PAPER, MediaOfPaper},
     {KINSOKU_KEY_FIRST_PAGE_SOURCE, KINSOKU_ITEM_FIRST_PAGE_SOURCE,
      [](const CKinsokuList& l, const DRVDEVMODE& dm, LONG* p) { return FromSource<&tagSOURCEINFO::sListBValue>(l, dm.priv.dmFirstPagePaperSource, p); }}},
};

// The plain choice, or the first selectable value a related setting names: pass 0 takes the
// settings whose key fired at the start of the run, pass 1 those the run rewrote; A before B.
LONG ChooseWith(const CKinsokuList& list, SHORT sItemId, const DRVDEVMODE* pdm, const Candidate* pCandidates)
{
    const CKinsokuItem* pItem = list.GetItem(sItemId);
    if (pItem == nullptr)
        return 0;
    const LONG lPlain = pItem->ChooseValue(0, 0);
    if (pdm == nullptr || pCandidates == nullptr)
        return lPlain;
    for (int pass = 0; pass < 2; pass++) {
        for (int i = 0; i < 2; i++) {
            const Candidate& c = pCandidates[i];
            const bool bCounts = pass == 0 ? list.IsKeyFiredAtStart(c.sKey) : list.IsItemRewritten(c.sItem);
            if (!bCounts || list.IsLinked(c.sKey, sItemId) == 0)
                continue;
            LONG lValue = 0;
            if (c.pfnValue(list, *pdm, &lValue) && pItem->IsValueDisabled(lValue) == 0)
                return lValue;
        }
    }
    return lPlain;
}

}  // namespace

LONG CKinsokuList::ChoosePaper(SHORT sItemId, const DRVDEVMODE* pdm) const
{
    return ChooseWith(*this, sItemId, pdm, sItemId == KINSOKU_ITEM_PAPER ? kPaperCandidates : nullptr);
}

LONG CKinsokuList::ChooseSource(SHORT sItemId, const DRVDEVMODE* pdm) const
{
    const Candidate* pCandidates = nullptr;
    switch (sItemId) {
    case KINSOKU_ITEM_SOURCE: pCandidates = kSourceCandidates[0]; break;
    case KINSOKU_ITEM_FIRST_PAGE_SOURCE: pCandidates = kSourceCandidates[1]; break;
    case KINSOKU_ITEM_FRONT_COVER_SOURCE: pCandidates = kSourceCandidates[2]; break;
    case KINSOKU_ITEM_BACK_COVER_SOURCE: pCandidates = kSourceCandidates[3]; break;
    default: break;
    }
    return ChooseWith(*this, sItemId, pdm, pCandidates);
}

LONG CKinsokuList::ChooseMedia(SHORT sItemId, const DRVDEVMODE* pdm) const
{
    const Candidate* pCandidates = nullptr;
    switch (sItemId) {
    case KINSOKU_ITEM_MEDIA: pCandidates = kMediaCandidates[0]; break;
    case KINSOKU_ITEM_FIRST_PAGE_MEDIA: pCandidates = kMediaCandidates[1]; break;
    default: break;  // the cover media take the plain choice
    }
    return ChooseWith(*this, sItemId, pdm, pCandidates);
}
