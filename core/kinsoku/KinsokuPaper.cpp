// The constraint list's view of paper, media and sources: the paper class of a record, the paper,
// media and source records that the choice operations and the poster limit read, and the poster
// tile limit itself.
#include "core/kinsoku/KinsokuList.h"

#include "core/model/SpcIds.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperIds.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstring>

namespace {

// The record whose id field equals the id. Asking for item 0 answers every record, so the id is
// checked rather than trusting the first record to be the one asked for.
template <typename T>
bool FindRecordById(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, SHORT sId, T* pOut)
{
    CPrinterInfo info(pHandle, sCapId, sId, lView);
    DWORD count = 0;
    const T* records = info.template Records<T>(&count);
    for (DWORD i = 0; i < count; i++) {
        if (records[i].sId == sId) {
            std::memcpy(pOut, &records[i], sizeof(T));
            return true;
        }
    }
    return false;
}

bool IsPaperListed(const tagMODELHANDLE* pHandle, SHORT sPaperId)
{
    tagSPCIDVALUE record;
    return FindRecordById(pHandle, SPCID_PAPERSIZE, 3, sPaperId, &record);
}

// Tenths of a millimetre to 600-dpi dots, truncating, held to the 16-bit field that receives it
// (a custom size of 3.3 m and more would not fit).
SHORT TenthsMmToDots600(SHORT sTenths)
{
    const int dots = static_cast<int>(sTenths) * 600 / 254;
    if (dots > 32767)
        return 32767;
    if (dots < -32768)
        return -32768;
    return static_cast<SHORT>(dots);
}

constexpr SHORT kCustomPaperKind = 2;
constexpr int kMaxJoinedDots = 32767;  // the joined poster image must stay within 16-bit coordinates

}  // namespace

SHORT CKinsokuList::GetPaperClass(const DRVDEVMODE* pdm) const
{
    if (pdm == nullptr)
        return 0;
    const PRIVDM& priv = pdm->priv;
    SHORT sId = pdm->dm.dmPaperSize;
    SHORT sWidth = pdm->dm.dmPaperWidth;
    SHORT sLength = pdm->dm.dmPaperLength;
    if (priv.dmLayoutPrint != 0 && priv.dmOutputPaperSize != 0) {
        sId = priv.dmOutputPaperSize;
        sWidth = priv.dmOutputPaperWidth;
        sLength = priv.dmOutputPaperLength;
    }
    if (IsPaperListed(m_pHandle, sId))
        return sId;
    // A size of the record's own: classified in millimetres.
    const double dWidth = sWidth / 10.0;
    const double dLength = sLength / 10.0;
    if (IsLongPaper(m_pHandle, true, dWidth, dLength))
        return kPaperClassLong;
    return ClassifyCustomSize(m_pHandle, true, dWidth, dLength);
}

SHORT CKinsokuList::IsForbiddenByKeyValue(SHORT sItemId, LONG lValue, SHORT sKeyId, LONG lKeyValue) const
{
    const CKinsokuItem* pItem = GetItem(sItemId);
    if (pItem == nullptr)
        return 0;
    // Callers ask key 205 with a paper id; the rules hang on paper classes. A paper the model does
    // not list is a user paper, of class 456 (the user-paper store holds no papers whose size
    // could place it in another class).
    if (sKeyId == KINSOKU_KEY_PAPER_CLASS && m_pUserPaper != nullptr) {
        const bool bIdRange = lKeyValue >= -32768 && lKeyValue <= 32767;
        if (!bIdRange || !IsPaperListed(m_pHandle, static_cast<SHORT>(lKeyValue)))
            lKeyValue = kPaperClassCustom;
    }
    return pItem->IsForbiddenByKeyValue(lValue, sKeyId, lKeyValue);
}

SHORT CKinsokuList::GetPaperRecord(const DRVDEVMODE* pdm, tagPAPERINFO* pOut) const
{
    if (pdm == nullptr || m_pHandle == nullptr || pOut == nullptr)
        return 0;
    const SHORT sClass = GetPaperClass(pdm);
    if (!IsCustomPaperClass(sClass)) {
        tagPAPERINFO paper;
        if (!GetPaperInfo(m_pHandle, nullptr, sClass, &paper))
            return 0;
        *pOut = paper;
        return -1;
    }

    // A custom size: the geometry of the model's custom-size (or long-paper) limits with the
    // record's own size.
    CPrinterInfo limitsInfo(m_pHandle, sClass == kPaperClassLong ? SPCID_CUSTOMLONG : SPCID_CUSTOMSIZE, 0, 1);
    const tagCUSTOMLIMITS* pBase = limitsInfo.First<tagCUSTOMLIMITS>();
    if (pBase == nullptr)
        return 0;
    tagPAPERINFO paper;
    std::memset(&paper, 0, sizeof paper);
    paper.sId = GetEffectivePaperId(pdm);
    // The limits' margin words (8..11 portrait, 12..15 turned) become the record's margins.
    for (int i = 0; i < 4; i++) {
        paper.sMargins[i] = pBase->sLimits[8 + i];
        paper.sTurnedMargins[i] = pBase->sLimits[12 + i];
    }
    paper.dwDuplexFlags = pBase->dwWord68;
    paper.dwWord64 = pBase->dwWord72;
    paper.dwWord68 = pBase->dwWord76;
    paper.dwWord76 = pBase->dwWord84;
    paper.dwWord72 = pBase->dwWord80;
    paper.dwLayoutFlags = pBase->dwWord88;
    paper.sListAValue = pBase->sListAValue;
    paper.sListACount = pBase->sListACount;
    paper.sListBValue = pBase->sListBValue;
    paper.sListBCount = pBase->sListBCount;
    static_assert(sizeof paper.sListA == sizeof pBase->sListA && sizeof paper.sListB == sizeof pBase->sListB,
                  "the custom limits carry the paper record's lists");
    std::memcpy(paper.sListA, pBase->sListA, sizeof paper.sListA);
    std::memcpy(paper.sListB, pBase->sListB, sizeof paper.sListB);

    // The size. The user-paper store holds no papers, so it comes from the record. The list's
    // handle is passed: the size lookup refuses to answer without one, which would leave every
    // custom size without a paper record.
    SHORT sWidth = 0;
    SHORT sLength = 0;
    if (!GetPaperDimensions(m_pHandle, pdm, &sWidth, &sLength) || sWidth <= 0 || sLength <= 0)
        return 0;
    paper.sKind = kCustomPaperKind;
    paper.sWidthMm = sWidth;
    paper.sLengthMm = sLength;
    paper.sWidthDots = TenthsMmToDots600(sWidth);
    paper.sLengthDots = TenthsMmToDots600(sLength);
    paper.sTurnedWidthMm = sLength;
    paper.sTurnedLengthMm = sWidth;
    paper.sTurnedWidthDots = TenthsMmToDots600(sLength);
    paper.sTurnedLengthDots = TenthsMmToDots600(sWidth);
    *pOut = paper;
    return -1;
}

SHORT CKinsokuList::GetMediaRecord(SHORT sMediaId, tagMEDIAINFO* pOut) const
{
    if (pOut == nullptr)
        return 0;
    return FindRecordById(m_pHandle, SPCID_MEDIATYPE, 3, sMediaId, pOut) ? -1 : 0;
}

SHORT CKinsokuList::GetSourceRecord(SHORT sSourceId, tagSOURCEINFO* pOut) const
{
    if (pOut == nullptr)
        return 0;
    if (FindRecordById(m_pHandle, SPCID_PAPERSOURCE, 3, sSourceId, pOut))
        return -1;
    return FindRecordById(m_pHandle, SPCID_SOURCEGROUP, 3, sSourceId, pOut) ? -1 : 0;
}

SHORT CKinsokuList::GetMaxPosterTiles(const DRVDEVMODE* pdm, SHORT* psMaxX, SHORT* psMaxY) const
{
    tagPAPERINFO paper;
    if (pdm == nullptr || psMaxX == nullptr || psMaxY == nullptr || !GetPaperRecord(pdm, &paper))
        return 0;
    const bool bPortrait = pdm->dm.dmOrientation == 1;
    SHORT sWidth = bPortrait ? paper.sWidthMm : paper.sTurnedWidthMm;
    SHORT sLength = bPortrait ? paper.sLengthMm : paper.sTurnedLengthMm;
    const int marginX = bPortrait ? paper.sMargins[0] : paper.sTurnedMargins[0];
    const int marginY = bPortrait ? paper.sMargins[1] : paper.sTurnedMargins[1];
    GetPaperDimensions(m_pHandle, pdm, &sWidth, &sLength);

    // Printable extent in dots at the record's resolution.
    const int dpi = pdm->dm.dmPrintQuality;
    const int printWidth = static_cast<int>(sWidth * dpi / 254.0 - 2 * marginX);
    const int printLength = static_cast<int>(sLength * dpi / 254.0 - 2 * marginY);
    if (printWidth <= 0 || printLength <= 0)
        return 0;
    const int overlap =
        pdm->priv.dmUnitOfLayout != 0 ? pdm->priv.dmOverlap * dpi / static_cast<int>(pdm->priv.dmUnitOfLayout) : 0;

    // Each further tile adds its extent minus the overlap. An overlap that swallows the whole
    // printable extent leaves no sound limit (and would divide by zero): no limit then, as when a
    // single tile is already beyond the joined-image bound.
    const int stepX = printWidth - overlap;
    const int stepY = printLength - overlap;
    if (stepX <= 0 || stepY <= 0)
        return 0;
    const long long tilesX = (static_cast<long long>(kMaxJoinedDots) - overlap) / stepX;
    const long long tilesY = (static_cast<long long>(kMaxJoinedDots) - overlap) / stepY;
    if (tilesX < 1 || tilesY < 1)
        return 0;
    *psMaxX = static_cast<SHORT>(tilesX > kMaxJoinedDots ? kMaxJoinedDots : tilesX);
    *psMaxY = static_cast<SHORT>(tilesY > kMaxJoinedDots ? kMaxJoinedDots : tilesY);
    return -1;
}
