// The change tracker's follow-up changes.
#include "core/dialog/TrackDM.h"

#include "core/kinsoku/KinsokuList.h"
#include "core/mdutil/MdUtil.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PaperIds.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"

namespace {

constexpr SHORT kItemDuplexOption = 21;
constexpr SHORT kItemAllTextBlack = 41;
constexpr SHORT kKeyPaperClass = 205;
constexpr SHORT kKeyMedia = 208;
constexpr SHORT kKeySource = 209;
constexpr SHORT kKeyHalftone = 239;
constexpr WORD kLayoutBooklet = 2;
constexpr DWORD kMediaFollows = 0x2;   // the paper's default media goes with it
constexpr DWORD kSourceFollows = 0x4;  // the paper's (or media's) default tray goes with it

// What a paper says about the media and tray that go with it.
struct PaperAttributes {
    DWORD dwMediaWord = 0;
    DWORD dwSourceWord = 0;
    SHORT sDefaultMedia = 0;
    SHORT sDefaultSource = 0;
    DWORD dwFlags = 0;
};

// The list values and closing words of a paper's closing record (standard or custom: the two
// records name them alike), or false without one.
template <typename Closing>
bool ReadPaperClosing(const tagMODELHANDLE* pHandle, SHORT sCapId, SHORT sItem, LONG lView, PaperAttributes* pOut)
{
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    const Closing* pRecord = info.First<Closing>();
    if (pRecord == nullptr)
        return false;
    pOut->sDefaultMedia = pRecord->sListAValue;
    pOut->sDefaultSource = pRecord->sListBValue;
    pOut->dwMediaWord = pRecord->dwWords[0];
    pOut->dwSourceWord = pRecord->dwWords[1];
    pOut->dwFlags = pRecord->dwWords[2];
    return true;
}

// A standard paper from its closing record (capability 20 view 10), a custom size from the
// custom-size record of its class (capability 21 view 6, or 75 for a long paper).
bool GetPaperAttributes(const tagMODELHANDLE* pHandle, SHORT sPaperId, SHORT sWidth, SHORT sLength,
                        PaperAttributes* pOut)
{
    if (sPaperId > kLastStandardPaperId) {
        const bool isLong = IsLongPaper(pHandle, true, sWidth / 10.0, sLength / 10.0) != 0;
        return ReadPaperClosing<tagCUSTOMCLOSING>(pHandle, isLong ? SPCID_CUSTOMLONG : SPCID_CUSTOMSIZE, 0, 6, pOut);
    }
    if (sPaperId < 1)
        return false;
    return ReadPaperClosing<tagSPCCLOSING>(pHandle, SPCID_PAPERSIZE, sPaperId, 10, pOut);
}

// The media's closing record (capability 22 view 7): its default tray at 4, the tray word at 12,
// the flags at 16.
bool GetMediaClosing(const tagMODELHANDLE* pHandle, DWORD dwMedia, tagSPCCLOSING* pOut)
{
    const SHORT sMedia = static_cast<SHORT>(dwMedia);
    if (sMedia < 1 || static_cast<DWORD>(sMedia) != dwMedia)
        return false;
    CPrinterInfo info(pHandle, SPCID_MEDIATYPE, sMedia, 7);
    const tagSPCCLOSING* pRecord = info.First<tagSPCCLOSING>();
    if (pRecord == nullptr)
        return false;
    *pOut = *pRecord;
    return true;
}

}  // namespace

void CTrackDM::Capture(const DRVDEVMODE* pdm, Tracked* pOut) const
{
    *pOut = Tracked {};
    pOut->sPaperId = GetEffectivePaperId(pdm);
    GetPaperDimensions(m_pModelHandle, pdm, &pOut->sPaperWidth, &pOut->sPaperLength);
    pOut->sDefaultSource = pdm->dm.dmDefaultSource;
    pOut->sDuplex = pdm->dm.dmDuplex;
    pOut->dwMediaType = pdm->dm.dmMediaType;
    pOut->dwExtraPrint = pdm->priv.dmExtraPrint;
    pOut->dwReserved40 = pdm->priv.dmReserved40;
    pOut->wLayoutPrint = pdm->priv.dmLayoutPrint;
    pOut->dwOptionBits356 = pdm->priv.dmOptionBits356;
    pOut->dwOptionBits620 = pdm->priv.dmOptionBits620;
    pOut->dwFrontCoverMedia = pdm->priv.dmFrontCoverMedia;
    pOut->sFrontCoverSource = pdm->priv.dmFrontCoverSource;
    pOut->dwBackCoverMedia = pdm->priv.dmBackCoverMedia;
    pOut->sBackCoverSource = pdm->priv.dmBackCoverSource;
    pOut->wHalftone = pdm->priv.dmHalftone;
}

SHORT CTrackDM::Snapshot(const DRVDEVMODE* pdm)
{
    if (pdm == nullptr)
        return 0;
    Capture(pdm, &m_snapshot);
    m_sValid = -1;
    return -1;
}

void CTrackDM::RunKinsoku(DRVDEVMODE* pdm)
{
    if (m_pKinsokuList != nullptr)
        bExecKinsoku(m_pKinsokuList, pdm, 0);
}

bool CTrackDM::ReleaseDuplexOption(DRVDEVMODE* pdm, SHORT sKey, LONG lOld, LONG lNew)
{
    if (m_pKinsokuList == nullptr || m_pMdUtil == nullptr)
        return false;
    if (!m_pKinsokuList->IsForbiddenByKeyValue(kItemDuplexOption, 0, sKey, lOld) ||
        m_pKinsokuList->IsForbiddenByKeyValue(kItemDuplexOption, 0, sKey, lNew))
        return false;
    if (m_pKinsokuList->GetForbiddingKeys(kItemDuplexOption, 0, nullptr, 0) > 1 || !m_pMdUtil->IsDuplexAvailable())
        return false;
    pdm->priv.dmDuplexOption = 0;
    return true;
}

bool CTrackDM::FollowPaper(DRVDEVMODE* pdm)
{
    bool changed = false;
    const SHORT sNewPaper = GetEffectivePaperId(pdm);
    SHORT sNewWidth = 0;
    SHORT sNewLength = 0;
    GetPaperDimensions(m_pModelHandle, pdm, &sNewWidth, &sNewLength);
    PaperAttributes oldPaper;
    PaperAttributes newPaper;
    GetPaperAttributes(m_pModelHandle, m_snapshot.sPaperId, m_snapshot.sPaperWidth, m_snapshot.sPaperLength,
                       &oldPaper);
    if (GetPaperAttributes(m_pModelHandle, sNewPaper, sNewWidth, sNewLength, &newPaper)) {
        if (newPaper.sDefaultMedia != 0 && oldPaper.dwMediaWord != newPaper.dwMediaWord &&
            (newPaper.dwFlags & kMediaFollows) != 0) {
            pdm->dm.dmMediaType = static_cast<DWORD>(static_cast<LONG>(newPaper.sDefaultMedia));
            changed = true;
            RunKinsoku(pdm);
        }
        if (newPaper.sDefaultSource != 0 && oldPaper.dwSourceWord != newPaper.dwSourceWord &&
            (newPaper.dwFlags & kSourceFollows) != 0) {
            pdm->dm.dmDefaultSource = newPaper.sDefaultSource;
            changed = true;
            RunKinsoku(pdm);
        }
    }
    if (ReleaseDuplexOption(pdm, kKeyPaperClass, m_snapshot.sPaperId, sNewPaper)) {
        changed = true;
        RunKinsoku(pdm);
    }
    return changed;
}

bool CTrackDM::FollowMedia(DRVDEVMODE* pdm)
{
    bool changed = false;
    tagSPCCLOSING oldMedia {};
    tagSPCCLOSING newMedia {};
    GetMediaClosing(m_pModelHandle, m_snapshot.dwMediaType, &oldMedia);
    if (GetMediaClosing(m_pModelHandle, pdm->dm.dmMediaType, &newMedia) && newMedia.sListBValue != 0 &&
        oldMedia.dwWords[1] != newMedia.dwWords[1] && (newMedia.dwWords[2] & kSourceFollows) != 0) {
        pdm->dm.dmDefaultSource = newMedia.sListBValue;
        changed = true;
        RunKinsoku(pdm);
    }
    if (ReleaseDuplexOption(pdm, kKeyMedia, static_cast<LONG>(m_snapshot.dwMediaType),
                            static_cast<LONG>(pdm->dm.dmMediaType))) {
        changed = true;
        RunKinsoku(pdm);
    }
    return changed;
}

bool CTrackDM::FollowSource(DRVDEVMODE* pdm)
{
    if (!ReleaseDuplexOption(pdm, kKeySource, m_snapshot.sDefaultSource, pdm->dm.dmDefaultSource))
        return false;
    RunKinsoku(pdm);
    return true;
}

SHORT CTrackDM::OnDevmodeChanged(DRVDEVMODE* pdm)
{
    if (m_sValid == 0 || pdm == nullptr)
        return 0;
    bool changed = false;

    if (GetEffectivePaperId(pdm) != m_snapshot.sPaperId && m_pModelHandle != nullptr && m_pKinsokuList != nullptr &&
        m_pMdUtil != nullptr)
        changed = FollowPaper(pdm) || changed;
    if (pdm->dm.dmMediaType != m_snapshot.dwMediaType && m_pModelHandle != nullptr)
        changed = FollowMedia(pdm) || changed;
    if (pdm->dm.dmDefaultSource != m_snapshot.sDefaultSource)
        changed = FollowSource(pdm) || changed;

    if (m_snapshot.wLayoutPrint == kLayoutBooklet && pdm->priv.dmLayoutPrint != kLayoutBooklet) {
        pdm->dm.dmDuplex = 1;
        pdm->priv.dmExtraFlag &= ~1u;
        changed = true;
        RunKinsoku(pdm);
    }

    if (pdm->priv.dmHalftone != m_snapshot.wHalftone && m_pKinsokuList != nullptr &&
        m_pKinsokuList->IsForbiddenByKeyValue(kItemAllTextBlack, 0, kKeyHalftone, m_snapshot.wHalftone) &&
        !m_pKinsokuList->IsForbiddenByKeyValue(kItemAllTextBlack, 0, kKeyHalftone, pdm->priv.dmHalftone)) {
        pdm->priv.dmAllTextBlack = 0;
        changed = true;
        RunKinsoku(pdm);
    }
    return changed ? -1 : 0;
}
