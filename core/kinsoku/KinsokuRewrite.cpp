// The item phase of the constraint run: which record field each item mirrors, and how the field
// is rewritten when its current value has become forbidden.
#include "core/kinsoku/KinsokuList.h"

#include "core/kinsoku/KinsokuTables.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/ModelLookups.h"
#include "core/printerinfo/PaperLookup.h"

namespace {

// A 16-bit choice stored in a 32-bit media field keeps its sign, as the media ids are read back.
DWORD WidenedMedia(LONG lValue)
{
    return static_cast<DWORD>(static_cast<LONG>(static_cast<SHORT>(lValue)));
}

// The layout bit an item of dmLayoutPrint stands for; 0 for other items.
WORD LayoutBit(SHORT sItemId)
{
    switch (sItemId) {
    case KINSOKU_ITEM_BOOKLET: return 0x2;
    case KINSOKU_ITEM_NUP: return 0x1;
    case KINSOKU_ITEM_FIT: return 0x8;
    case KINSOKU_ITEM_ZOOM: return 0x10;
    case KINSOKU_ITEM_POSTER: return 0x4;
    default: return 0;
    }
}

constexpr WORD kFrontCoverBit = 0x1;
constexpr WORD kBackCoverBit = 0x2;
constexpr DWORD kOptionBit620 = 0x2;
constexpr DWORD kOptionBits356 = 0x3;
constexpr DWORD kDuplexMarginFlag = 0x1;
constexpr SHORT kOneSided = 1;

// The value of the record field an item mirrors. False for the items without a field.
bool MirroredValue(SHORT sItemId, const DRVDEVMODE& dm, LONG* plValue)
{
    const DEVMODE& pub = dm.dm;
    const PRIVDM& priv = dm.priv;
    LONG v = 0;
    switch (sItemId) {
    case KINSOKU_ITEM_PAPER: v = pub.dmPaperSize; break;
    case KINSOKU_ITEM_MEDIA: v = static_cast<LONG>(pub.dmMediaType); break;
    case KINSOKU_ITEM_SOURCE: v = pub.dmDefaultSource; break;
    case KINSOKU_ITEM_FINISHER: v = priv.dmFinisher; break;
    case KINSOKU_ITEM_PUNCH: v = priv.dmPunch; break;
    case KINSOKU_ITEM_STAPLE: v = priv.dmStaple; break;
    case KINSOKU_ITEM_ROTATE: v = priv.dmRotateOrient; break;
    case KINSOKU_ITEM_COLLATE: v = pub.dmCollate; break;
    case KINSOKU_ITEM_SORT: v = priv.dmSort; break;
    case KINSOKU_ITEM_BOOKLET:
    case KINSOKU_ITEM_NUP:
    case KINSOKU_ITEM_FIT:
    case KINSOKU_ITEM_ZOOM:
    case KINSOKU_ITEM_POSTER: v = priv.dmLayoutPrint & LayoutBit(sItemId); break;
    case KINSOKU_ITEM_REVERSE_ORDER: v = priv.dmReverseOrder; break;
    case KINSOKU_ITEM_MIRROR: v = priv.dmMirror; break;
    case KINSOKU_ITEM_FRONT_COVER_FILE: v = priv.dmFrontCoverFile; break;
    case KINSOKU_ITEM_FRONT_COVER: v = priv.dmCoverPage & kFrontCoverBit; break;
    case KINSOKU_ITEM_BACK_COVER_FILE: v = priv.dmBackCoverFile; break;
    case KINSOKU_ITEM_BACK_COVER: v = priv.dmCoverPage & kBackCoverBit; break;
    case KINSOKU_ITEM_DUPLEX_OPTION: v = priv.dmDuplexOption; break;
    case KINSOKU_ITEM_DUPLEX: v = pub.dmDuplex; break;
    case KINSOKU_ITEM_COPIES_BY_DRIVER: v = priv.dmCopiesByDriver; break;
    case KINSOKU_ITEM_FIRST_PAGE: v = priv.dmSourceAndTypeFor1Page; break;
    case KINSOKU_ITEM_FIRST_PAGE_MEDIA: v = static_cast<LONG>(priv.dmFirstPageMediaType); break;
    case KINSOKU_ITEM_FIRST_PAGE_SOURCE: v = priv.dmFirstPagePaperSource; break;
    case KINSOKU_ITEM_FRONT_COVER_MEDIA: v = static_cast<LONG>(priv.dmFrontCoverMedia); break;
    case KINSOKU_ITEM_FRONT_COVER_SOURCE: v = priv.dmFrontCoverSource; break;
    case KINSOKU_ITEM_BACK_COVER_MEDIA: v = static_cast<LONG>(priv.dmBackCoverMedia); break;
    case KINSOKU_ITEM_BACK_COVER_SOURCE: v = priv.dmBackCoverSource; break;
    case KINSOKU_ITEM_SKIP_BLANK: v = priv.dmSkipBlankPages; break;
    case KINSOKU_ITEM_HALFTONE: v = priv.dmHalftone; break;
    case KINSOKU_ITEM_OPTION342: v = priv.dmOption342; break;
    case KINSOKU_ITEM_QUALITY: v = priv.dmQuality; break;
    case KINSOKU_ITEM_TONER_SAVE: v = priv.dmTonerSave; break;
    case KINSOKU_ITEM_OPTION_BIT620: v = (priv.dmOptionBits620 & kOptionBit620) != 0 ? 1 : 0; break;
    case KINSOKU_ITEM_OPTION_BITS356: v = (priv.dmOptionBits356 & kOptionBits356) != 0 ? 1 : 0; break;
    case KINSOKU_ITEM_BOOKLET_UNIT: v = priv.dmBookletUnit; break;
    case KINSOKU_ITEM_ALL_TEXT_BLACK: v = priv.dmAllTextBlack; break;
    case KINSOKU_ITEM_DUPLEX_MARGIN: v = static_cast<LONG>(priv.dmExtraFlag & kDuplexMarginFlag); break;
    default: return false;  // 36, 40, 42 mirror no field
    }
    *plValue = v;
    return true;
}

}  // namespace

void CKinsokuList::ClampPosterTiles(DRVDEVMODE* pdm)
{
    SHORT sMaxX = 0;
    SHORT sMaxY = 0;
    if (!GetMaxPosterTiles(pdm, &sMaxX, &sMaxY))
        return;
    PRIVDM& priv = pdm->priv;
    if (sMaxX > 1 && sMaxY > 1 && priv.dmPosterX == 1 && priv.dmPosterY == 1)
        ResetPosterTiles(&priv.dmPosterX, &priv.dmPosterY);
    if (priv.dmPosterX > sMaxX || priv.dmPosterY > sMaxY) {
        const SHORT sTiles = sMaxX < sMaxY ? sMaxX : sMaxY;
        priv.dmPosterX = sTiles;
        priv.dmPosterY = sTiles;
    }
}

void CKinsokuList::ApplyCoverMediaKey(SHORT sKeyId, const DRVDEVMODE& dm)
{
    // The cover keys use neither the paper class nor the orientation.
    ApplyKeyValue(sKeyId, KinsokuKeyValue(sKeyId, dm, 0, 0));
}

void CKinsokuList::RunItemPhase(DRVDEVMODE* pdm)
{
    for (int i = 0; i < m_ItemOrder.GetSize(); i++) {
        const SHORT sItemId = static_cast<SHORT>(m_ItemOrder.GetAt(i));
        // The poster tiles are held to the paper's limit in every iteration, item or not.
        if (sItemId == KINSOKU_ITEM_POSTER)
            ClampPosterTiles(pdm);
        CKinsokuItem* pItem = GetItem(sItemId);
        if (pItem == nullptr)
            continue;
        if (sItemId == KINSOKU_ITEM_DUPLEX_MARGIN) {
            // The duplex-margin flag follows the margin in every iteration while it is allowed.
            DWORD& flags = pdm->priv.dmExtraFlag;
            if (pItem->IsValueDisabled(1) != 0) {
                flags = (flags & ~kDuplexMarginFlag) | (static_cast<DWORD>(pItem->ChooseValue(0, 0)) & kDuplexMarginFlag);
                MarkItemRewritten(sItemId);
            } else if (pdm->priv.dmDuplexMargin != 0) {
                flags |= kDuplexMarginFlag;
            } else {
                flags &= ~kDuplexMarginFlag;
            }
            continue;
        }
        LONG lValue = 0;
        if (MirroredValue(sItemId, *pdm, &lValue) && pItem->IsValueDisabled(lValue) != 0)
            RewriteItem(sItemId, pItem, pdm);
    }
}

void CKinsokuList::RewriteItem(SHORT sItemId, CKinsokuItem* pItem, DRVDEVMODE* pdm)
{
    DEVMODE& pub = pdm->dm;
    PRIVDM& priv = pdm->priv;
    const auto choose = [pItem]() { return pItem->ChooseValue(0, 0); };
    LONG v = 0;
    switch (sItemId) {
    case KINSOKU_ITEM_PAPER:
        // A custom size is the user's own; it is not replaced by a listed paper.
        if ((pub.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) != 0)
            return;
        v = ChoosePaper(sItemId, pdm);
        pub.dmPaperSize = static_cast<SHORT>(v);
        pub.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        pub.dmPaperWidth = 0;
        pub.dmPaperLength = 0;
        GetPaperSizeById(m_pHandle, pub.dmPaperSize, &pub.dmPaperWidth, &pub.dmPaperLength);
        break;
    case KINSOKU_ITEM_MEDIA:
        v = ChooseMedia(sItemId, pdm);
        pub.dmMediaType = WidenedMedia(v);
        ApplyKeyValue(KINSOKU_KEY_MEDIA, static_cast<LONG>(pub.dmMediaType));
        break;
    case KINSOKU_ITEM_SOURCE:
        v = ChooseSource(sItemId, pdm);
        pub.dmDefaultSource = static_cast<SHORT>(v);
        ApplyKeyValue(KINSOKU_KEY_SOURCE, pub.dmDefaultSource);
        break;
    case KINSOKU_ITEM_FINISHER: priv.dmFinisher = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_PUNCH: priv.dmPunch = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_STAPLE: priv.dmStaple = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_ROTATE: priv.dmRotateOrient = static_cast<SHORT>(choose()); break;
    case KINSOKU_ITEM_COLLATE: pub.dmCollate = static_cast<SHORT>(choose()); break;
    case KINSOKU_ITEM_SORT: {
        // Keep the collated / uncollated sense of the sort mode when the plain mode is allowed.
        const WORD sort = priv.dmSort;
        if ((sort == 0 || sort == 2 || sort == 4) && pItem->IsValueDisabled(0) == 0)
            priv.dmSort = 0;
        else if ((sort == 1 || sort == 3 || sort == 5) && pItem->IsValueDisabled(1) == 0)
            priv.dmSort = 1;
        else
            priv.dmSort = static_cast<WORD>(choose());
        break;
    }
    case KINSOKU_ITEM_BOOKLET:
    case KINSOKU_ITEM_NUP:
    case KINSOKU_ITEM_FIT:
    case KINSOKU_ITEM_ZOOM:
    case KINSOKU_ITEM_POSTER: {
        // The chosen value is 0 or the item's bit; held to the bit so no other layout changes.
        const WORD bit = LayoutBit(sItemId);
        priv.dmLayoutPrint = static_cast<WORD>((priv.dmLayoutPrint & ~bit) | (static_cast<WORD>(choose()) & bit));
        if (sItemId != KINSOKU_ITEM_FIT)
            SyncOutputPaperMode(pdm);
        break;
    }
    case KINSOKU_ITEM_REVERSE_ORDER: priv.dmReverseOrder = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_MIRROR: priv.dmMirror = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_FRONT_COVER_FILE: priv.dmFrontCoverFile = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_FRONT_COVER:
        priv.dmCoverPage = static_cast<WORD>((priv.dmCoverPage & ~kFrontCoverBit) | (static_cast<WORD>(choose()) & kFrontCoverBit));
        break;
    case KINSOKU_ITEM_BACK_COVER_FILE: priv.dmBackCoverFile = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_BACK_COVER:
        priv.dmCoverPage = static_cast<WORD>((priv.dmCoverPage & ~kBackCoverBit) | (static_cast<WORD>(choose()) & kBackCoverBit));
        break;
    case KINSOKU_ITEM_DUPLEX_OPTION: priv.dmDuplexOption = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_DUPLEX: {
        // Forbidden by the staple mode alone: the staple rule may name the duplex mode to take.
        SHORT keys[2] = {0, 0};
        const int nKeys = pItem->GetForbiddingKeys(pub.dmDuplex, keys, 2);
        if (nKeys == 1 && keys[0] == KINSOKU_KEY_STAPLE)
            v = pItem->ChooseValue(KINSOKU_KEY_STAPLE, priv.dmStaple);
        else
            v = choose();
        pub.dmDuplex = static_cast<SHORT>(v);
        // One-sided printing drops the duplex margin flag of the record; dmExtraPrint is the model's
        // capability word and stays as the model gave it.
        if (pub.dmDuplex == kOneSided)
            priv.dmExtraFlag &= ~kDuplexMarginFlag;
        break;
    }
    case KINSOKU_ITEM_COPIES_BY_DRIVER:
        // Nothing better than another forbidden value: the field stays as it is.
        v = choose();
        if (pItem->IsValueDisabled(v) != 0)
            return;
        priv.dmCopiesByDriver = static_cast<WORD>(v);
        break;
    case KINSOKU_ITEM_FIRST_PAGE: priv.dmSourceAndTypeFor1Page = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_FIRST_PAGE_MEDIA:
        priv.dmFirstPageMediaType = WidenedMedia(ChooseMedia(sItemId, pdm));
        break;
    case KINSOKU_ITEM_FIRST_PAGE_SOURCE:
        priv.dmFirstPagePaperSource = static_cast<SHORT>(ChooseSource(sItemId, pdm));
        break;
    case KINSOKU_ITEM_FRONT_COVER_MEDIA:
        priv.dmFrontCoverMedia = WidenedMedia(ChooseMedia(sItemId, pdm));
        ApplyCoverMediaKey(KINSOKU_KEY_FRONT_COVER_MEDIA, *pdm);
        break;
    case KINSOKU_ITEM_FRONT_COVER_SOURCE:
        priv.dmFrontCoverSource = static_cast<SHORT>(ChooseSource(sItemId, pdm));
        break;
    case KINSOKU_ITEM_BACK_COVER_MEDIA:
        priv.dmBackCoverMedia = WidenedMedia(ChooseMedia(sItemId, pdm));
        ApplyCoverMediaKey(KINSOKU_KEY_BACK_COVER_MEDIA, *pdm);
        break;
    case KINSOKU_ITEM_BACK_COVER_SOURCE:
        priv.dmBackCoverSource = static_cast<SHORT>(ChooseSource(sItemId, pdm));
        break;
    case KINSOKU_ITEM_SKIP_BLANK: priv.dmSkipBlankPages = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_HALFTONE: priv.dmHalftone = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_OPTION342: priv.dmOption342 = static_cast<WORD>(choose()); break;
    case KINSOKU_ITEM_QUALITY: {
        priv.dmQuality = static_cast<SHORT>(choose());
        // The resolution follows the quality mode.
        tagSPCRESOLUTION entry;
        if (FindResolutionEntry(m_pHandle, MapQualityMode(m_pHandle, priv.dmQuality), &entry)) {
            pub.dmPrintQuality = static_cast<SHORT>(entry.dwNumber1);
            pub.dmYResolution = static_cast<SHORT>(entry.dwNumber2);
        }
        break;
    }
    case KINSOKU_ITEM_TONER_SAVE: priv.dmTonerSave = static_cast<SHORT>(choose()); break;
    case KINSOKU_ITEM_OPTION_BIT620:
        priv.dmOptionBits620 &= ~kOptionBit620;
        if (choose() == 1)
            priv.dmOptionBits620 |= kOptionBit620;
        break;
    case KINSOKU_ITEM_OPTION_BITS356:
        priv.dmOptionBits356 = (priv.dmOptionBits356 & ~kOptionBits356) | (static_cast<DWORD>(choose()) & kOptionBits356);
        break;
    case KINSOKU_ITEM_BOOKLET_UNIT: priv.dmBookletUnit = static_cast<SHORT>(choose()); break;
    case KINSOKU_ITEM_ALL_TEXT_BLACK: priv.dmAllTextBlack = static_cast<WORD>(choose()); break;
    default:
        return;
    }
    MarkItemRewritten(sItemId);
}
