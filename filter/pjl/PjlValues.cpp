// The value of every PJL header item: computed from the job's settings record, the job context
// and the model data. The words of the lines come from the model; only the values are known here.
#include "filter/pjl/PjlValues.h"
#include "filter/pjl/PjlStrings.h"

#include "filter/pjl/PjlRecordText.h"

#include "core/codec/FinishingMaps.h"
#include "core/model/SpcQuery.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

const char kDriverVersion[] = "2.0.30";
constexpr size_t kRecordTextSize = 32;
constexpr SHORT kAnyGroup = 99;             // the finishing lists that hold without installed options
constexpr SHORT kCapFinisherUnits = 34;

// One answer of the model data query, read with bounds: fields beyond the answer read as 0 and
// texts end at the answer's end, their field's end or their terminator.
class ModelAnswer {
public:
    ModelAnswer(const tagSPCDATA* pData, SHORT sCap, SHORT sItem, LONG lView) {
        DWORD cb = 0;
        DWORD dwCount = 0;
        if (pData == nullptr || SpcQuery(pData, sCap, sItem, lView, nullptr, &cb, &dwCount) != ERROR_SUCCESS ||
            cb == 0)
            return;
        m_bytes.assign(cb, 0);
        if (SpcQuery(pData, sCap, sItem, lView, m_bytes.data(), &cb, &m_dwCount) != ERROR_SUCCESS) {
            m_bytes.clear();
            return;
        }
        if (cb < m_bytes.size()) m_bytes.resize(cb);
        m_bFound = true;
    }

    bool Found() const { return m_bFound; }
    DWORD Count() const { return m_dwCount; }
    size_t Size() const { return m_bytes.size(); }

    DWORD U32(size_t off) const {
        DWORD dw = 0;
        if (off + sizeof dw <= m_bytes.size()) std::memcpy(&dw, m_bytes.data() + off, sizeof dw);
        return dw;
    }
    WORD U16(size_t off) const {
        WORD w = 0;
        if (off + sizeof w <= m_bytes.size()) std::memcpy(&w, m_bytes.data() + off, sizeof w);
        return w;
    }
    // The text of a field of cchField bytes at off into a buffer of kPjlTextSize; its length.
    size_t Text(size_t off, size_t cchField, char* pszOut) const {
        pszOut[0] = '\0';
        if (off >= m_bytes.size()) return 0;
        size_t cchMax = m_bytes.size() - off;
        if (cchField < cchMax) cchMax = cchField;
        if (cchMax > kPjlTextSize - 1) cchMax = kPjlTextSize - 1;
        const char* psz = reinterpret_cast<const char*>(m_bytes.data() + off);
        size_t cch = strnlen(psz, cchMax);
        std::memcpy(pszOut, psz, cch);
        pszOut[cch] = '\0';
        return cch;
    }

private:
    std::vector<BYTE> m_bytes;
    DWORD m_dwCount = 0;
    bool m_bFound = false;
};

// A named record: u16 flags at +0 with 0x4, a non-empty text at +4.
bool TakeNamedRecord(const ModelAnswer& answer, tagPJLVALUE* pValue) {
    if (!answer.Found() || (answer.U16(0) & 0x4) == 0) return false;
    if (answer.Text(4, kRecordTextSize, pValue->aszTexts[0]) == 0) return false;
    pValue->wType = PJLTYPE_TEXT1;
    pValue->dwKey = 0;
    pValue->sHasValue = -1;
    return true;
}

struct JobView {
    const DEVMODE& dm;
    const PRIVDM& priv;

    bool Extra1(DWORD bits) const { return (priv.dmFieldsExtra1 & bits) != 0; }
    bool Extra2(DWORD bits) const { return (priv.dmFieldsExtra2 & bits) != 0; }
    bool Fields(DWORD bits) const { return (dm.dmFields & bits) == bits; }
    bool DriverCopies() const {
        return Extra1(0x8000) && priv.dmCopiesByDriver == 1 && Fields(DM_COPIES) && dm.dmCopies > 1;
    }
    // The page pass sends every collated set itself (as it does for these settings).
    bool DriverMakesSets() const { return priv.dmCopiesByDriver == 1 && dm.dmCollate == 1 && dm.dmCopies > 1; }
    bool SpoolKind(int k) const {
        static const DWORD kBits[] = {0, DMX1_JOBKIND1, DMX1_JOBKIND2, DMX1_JOBKIND3, DMX1_JOBKIND4, DMX1_JOBKIND5};
        return priv.dmJobSpool == k && Extra1(kBits[k]);
    }
    bool FrontCover() const {
        return Extra1(DMX1_FRONT_COVER) && (priv.dmCoverPage & 0x1) != 0 && priv.dmFrontCoverFile == 0;
    }
    bool BackCover() const {
        return Extra1(DMX1_BACK_COVER) && (priv.dmCoverPage & 0x2) != 0 && priv.dmBackCoverFile == 0;
    }
    bool FirstPageOverride() const {
        return (priv.dmExtraPrint & DMXP_FIRSTPAGE) != 0 && Extra1(DMX1_FIRSTPAGE_MEDIA) &&
               priv.dmSourceAndTypeFor1Page != 0;
    }
    int ResolutionMode() const {
        switch (priv.dmQuality) {
        case 1: return 1;
        case 3: return 3;
        case 4: return 4;
        default: return 2;
        }
    }
};

void SetKey(tagPJLVALUE* pValue, DWORD dwKey) {
    pValue->dwKey = dwKey;
    pValue->sHasValue = -1;
}

void SetNumber(tagPJLVALUE* pValue, DWORD dwKey, int iNumber) {
    pValue->wType = PJLTYPE_NUMBER1;
    pValue->awNumbers[0] = static_cast<WORD>(iNumber);
    SetKey(pValue, dwKey);
}

// Items 61 to 63: the resolution pair and flags of the job's resolution mode.
void BuildResolution(const tagSPCDATA* pData, const JobView& job, DWORD dwId, tagPJLVALUE* pValue) {
    SHORT sMode = static_cast<SHORT>(job.ResolutionMode());
    ModelAnswer pair(pData, SPCID_RESOLUTIONLIST, sMode, 2);
    ModelAnswer res(pData, SPCID_RESOLUTION, sMode, 1);
    DWORD dwFlags = res.Found() ? res.U32(12) : 0;
    pValue->awNumbers[0] = static_cast<WORD>(pair.U32(4));
    pValue->awNumbers[1] = static_cast<WORD>(pair.U32(8));
    if (dwId == 61 && pair.Found()) {
        if ((dwFlags & 0x8) != 0) {
            pValue->wType = PJLTYPE_NUMBER2;
            pValue->dwKey = 1;
        } else {
            pValue->wType = PJLTYPE_NUMBER1;
        }
    } else if (dwId == 62 && pair.Found() && (dwFlags & 0x4) != 0) {
        pValue->wType = PJLTYPE_NUMBER2;
    } else if (dwId == 63 && pair.Found() && (dwFlags & 0x2) != 0) {
        pValue->dwKey = pValue->awNumbers[0] == pValue->awNumbers[1] ? 0 : 1;
    }
    if (job.Extra2(DMX2_SCREEN)) pValue->sHasValue = -1;
}

// Items 83 and 86: the cover source's text from the tray lists.
void BuildCoverSource(const tagSPCDATA* pData, SHORT sSource, size_t offText, tagPJLVALUE* pValue) {
    ModelAnswer tray(pData, SPCID_PAPERSOURCE, sSource, 7);
    const ModelAnswer* pFound = &tray;
    ModelAnswer group(pData, SPCID_SOURCEGROUP, sSource, 7);
    if (!tray.Found()) pFound = &group;
    if (!pFound->Found()) return;
    pFound->Text(offText, kRecordTextSize, pValue->aszTexts[0]);
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
}

// Finishing lists of capability 27 are kept per installed-option group: the group of the first
// installed-option summary word, or 99 (the model's own list) when it is 0 or has no list.
ModelAnswer FinishingList(const tagSPCDATA* pData, const PRIVDM& priv, LONG lView) {
    SHORT sGroup = priv.dmInstalledSummary[0] != 0 ? static_cast<SHORT>(priv.dmInstalledSummary[0]) : kAnyGroup;
    ModelAnswer answer(pData, SPCID_FINISHER, sGroup, lView);
    if (answer.Found() || sGroup == kAnyGroup) return answer;
    return ModelAnswer(pData, SPCID_FINISHER, kAnyGroup, lView);
}

// The records of a list answer that lie wholly inside it.
DWORD WholeRecords(const ModelAnswer& answer, size_t cbRecord) {
    size_t n = answer.Size() / cbRecord;
    return answer.Count() < n ? answer.Count() : static_cast<DWORD>(n);
}

bool TakeText(const ModelAnswer& answer, size_t off, tagPJLVALUE* pValue) {
    if (answer.Text(off, kRecordTextSize, pValue->aszTexts[0]) == 0) return false;
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
    return true;
}

// Item 91: the finisher's text, from the group's finisher modes, else from the finisher itself.
void BuildFinisher(const tagSPCDATA* pData, const PRIVDM& priv, tagPJLVALUE* pValue) {
    constexpr size_t kRecord = 48;
    ModelAnswer modes = FinishingList(pData, priv, 14);
    for (DWORD i = 0; i < WholeRecords(modes, kRecord); ++i) {
        size_t at = i * kRecord;
        if (ModelIdToFinisher(modes.U16(at + 4)) != priv.dmFinisher || (modes.U16(at + 12) & 0x4) == 0) continue;
        if (TakeText(modes, at + 16, pValue)) return;
        break;
    }
    ModelAnswer finisher(pData, kCapFinisherUnits, static_cast<SHORT>(FinisherToModelId(priv.dmFinisher)), 7);
    if (finisher.Found() && (finisher.U16(12) & 0x4) != 0) TakeText(finisher, 16, pValue);
}

// Items 101 and 103: text B or A of the staple mode of dmStaple.
void BuildStaple(const tagSPCDATA* pData, const PRIVDM& priv, size_t offText, tagPJLVALUE* pValue) {
    constexpr size_t kRecord = 80;
    ModelAnswer modes = FinishingList(pData, priv, 15);
    for (DWORD i = 0; i < WholeRecords(modes, kRecord); ++i) {
        size_t at = i * kRecord;
        if (ModelIdToStaple(modes.U16(at + 2)) != priv.dmStaple) continue;
        TakeText(modes, at + offText, pValue);
        return;
    }
}

// Item 102: the text of the punch mode of dmPunch.
void BuildPunch(const tagSPCDATA* pData, const PRIVDM& priv, tagPJLVALUE* pValue) {
    constexpr size_t kRecord = 48;
    ModelAnswer modes = FinishingList(pData, priv, 12);
    for (DWORD i = 0; i < WholeRecords(modes, kRecord); ++i) {
        size_t at = i * kRecord;
        if (ModelIdToPunch(modes.U16(at + 2)) != priv.dmPunch || (modes.U16(at + 12) & 0x4) == 0) continue;
        TakeText(modes, at + 16, pValue);
        return;
    }
}

}  // namespace

int BuildPjlValue(tagJOBINFO* pJob, const tagPJLITEM* pItem, tagPJLVALUE* pValue) {
    if (pJob == nullptr || pItem == nullptr || pValue == nullptr) return 0;
    pValue->dwItemId = pItem->dwItemId;
    pValue->dwCopyFlags = pItem->dwCopyFlags;
    pValue->dwMaxLength = pItem->dwMaxLength;
    const tagSPCDATA* pData = pJob->pSpcData;
    const JobView job{pJob->devmode.dm, pJob->devmode.priv};
    const DEVMODE& dm = job.dm;
    const PRIVDM& priv = job.priv;
    char(*texts)[kPjlTextSize] = pValue->aszTexts;

    switch (pItem->dwItemId) {
    case 2: {
        static const SHORT kCaps[] = {15, 11, 14};
        for (int i = 0; i < 3; ++i) {
            ModelAnswer answer(pData, kCaps[i], 0, 1);
            answer.Text(0, kPjlTextSize - 1, texts[i]);
        }
        pValue->wType = PJLTYPE_TEXT3;
        pValue->sHasValue = -1;
        break;
    }
    case 3:
    case 54: pValue->sHasValue = -1; break;
    case 4:
        pValue->wType = PJLTYPE_TEXT2;
        CopyPjlString(pItem->dwCopyFlags, pItem->dwMaxLength, kDriverVersion, texts[1], kPjlTextSize);
        pValue->sHasValue = -1;
        break;
    case 11: {
        time_t now = time(nullptr);
        struct tm local;
        if (localtime_r(&now, &local) == nullptr) break;
        pValue->wType = PJLTYPE_NUMBER6;
        // The printer reads the month counted from 0.
        const int aiParts[] = {local.tm_year + 1900, local.tm_mon, local.tm_mday, local.tm_hour, local.tm_min,
                               local.tm_sec};
        for (int i = 0; i < kPjlValueNumbers; ++i) pValue->awNumbers[i] = static_cast<WORD>(aiParts[i]);
        pValue->sHasValue = -1;
        break;
    }
    case 12:
    case 13:
    case 14: {
        const char* pszSource = pItem->dwItemId == 12 ? pJob->pszTitle
                                : pItem->dwItemId == 13 ? pJob->pszUser
                                                        : pJob->pszHostName;
        pValue->wType = PJLTYPE_TEXT1;
        if (CopyPjlString(pItem->dwCopyFlags, pItem->dwMaxLength, pszSource, texts[0], kPjlTextSize) != 0)
            pValue->sHasValue = -1;
        break;
    }
    case 15: {
        if (pJob->dwHostAddress == 0) break;
        BYTE abOctets[4];
        std::memcpy(abOctets, &pJob->dwHostAddress, sizeof abOctets);
        pValue->wType = PJLTYPE_NUMBER4;
        for (int i = 0; i < 4; ++i) pValue->awNumbers[i] = abOctets[i];
        pValue->sHasValue = -1;
        break;
    }
    case 16:
        if (job.SpoolKind(1))
            SetKey(pValue, 1);
        else if (job.SpoolKind(4) || job.SpoolKind(2))
            SetKey(pValue, 2);
        else if (job.SpoolKind(5) || job.SpoolKind(3))
            SetKey(pValue, 3);
        else if (priv.dmJobSpool == 0)
            SetKey(pValue, 0);
        break;
    case 17: {
        bool bMailBoxKinds = job.Extra1(DMX1_JOBKIND2 | DMX1_JOBKIND3);
        if ((job.SpoolKind(1) && !bMailBoxKinds) || job.SpoolKind(4) || job.SpoolKind(5))
            SetKey(pValue, 1);
        else if ((job.SpoolKind(1) && bMailBoxKinds) || job.SpoolKind(2) || job.SpoolKind(3))
            SetRecordText(pJob, pItem, priv.dmMailBox_UserID, sizeof priv.dmMailBox_UserID, pValue);
        break;
    }
    case 18:
        if (job.SpoolKind(3) || job.SpoolKind(5)) SetRecordText(pJob, pItem, priv.dmPassword, sizeof priv.dmPassword, pValue);
        break;
    case 57:
        if (pJob->dwSecurePrint != 0 && priv.dmJobName[0] != '\0')
            SetRecordText(pJob, pItem, priv.dmJobName, sizeof priv.dmJobName, pValue);
        break;
    case 61:
    case 62:
    case 63: BuildResolution(pData, job, pItem->dwItemId, pValue); break;
    case 71: {
        SHORT sPaper = dm.dmPaperSize;
        if (priv.dmOutputPaperSize != 0 && priv.dmOutputPaperSize != sPaper) sPaper = priv.dmOutputPaperSize;
        ModelAnswer paper(pData, SPCID_PAPERSIZE, sPaper, 6);
        if (paper.Found())
            TakeNamedRecord(paper, pValue);
        else
            TakeNamedRecord(ModelAnswer(pData, SPCID_CUSTOMSIZE, 0, 2), pValue);
        break;
    }
    case 72:
        if (dm.dmOrientation == 1)
            SetKey(pValue, 0);
        else if (dm.dmOrientation == 2)
            SetKey(pValue, 1);
        break;
    case 73: {
        DWORD dwMedia = job.FirstPageOverride() ? priv.dmFirstPageMediaType : (dm.dmMediaType & 0xFFFF);
        TakeNamedRecord(ModelAnswer(pData, SPCID_MEDIATYPE, static_cast<SHORT>(dwMedia), 5), pValue);
        break;
    }
    case 74: {
        SHORT sSource = job.FirstPageOverride() ? priv.dmFirstPagePaperSource : dm.dmDefaultSource;
        ModelAnswer source(pData, SPCID_PAPERSOURCE, sSource, 4);
        if (source.Found())
            TakeNamedRecord(source, pValue);
        else
            TakeNamedRecord(ModelAnswer(pData, SPCID_SOURCEGROUP, sSource, 4), pValue);
        break;
    }
    case 81:
        if (job.DriverCopies()) break;
        if (job.FrontCover() && job.BackCover())
            SetKey(pValue, 2);
        else if (job.FrontCover())
            SetKey(pValue, 0);
        else if (job.BackCover())
            SetKey(pValue, 1);
        break;
    case 82:
        if (!job.DriverCopies() && job.FrontCover()) SetKey(pValue, 0);
        break;
    case 83:
        if (!job.DriverCopies() && job.FrontCover()) BuildCoverSource(pData, priv.dmFrontCoverSource, 8, pValue);
        break;
    case 85:
        if (!job.DriverCopies() && job.BackCover()) SetKey(pValue, 0);
        break;
    case 86:
        if (!job.DriverCopies() && job.BackCover()) BuildCoverSource(pData, priv.dmBackCoverSource, 40, pValue);
        break;
    case 91:
        if (job.Extra1(DMX1_FINISHER)) BuildFinisher(pData, priv, pValue);
        break;
    case 101:
    case 103:
        if (job.Extra1(DMX1_STAPLE)) BuildStaple(pData, priv, pItem->dwItemId == 101 ? 48 : 16, pValue);
        break;
    case 102:
        if (job.Extra1(DMX1_PUNCH)) BuildPunch(pData, priv, pValue);
        break;
    case 94: {
        ModelAnswer duplex(pData, SPCID_DUPLEX, dm.dmDuplex, 2);
        if (!duplex.Found() || (duplex.U16(4) & 0x4) == 0) break;
        bool bTextB = job.Extra1(DMX1_DUPLEX_OPTION) && priv.dmDuplexOption == 1;
        char szText[kPjlTextSize];
        size_t cch = duplex.Text(bTextB ? 40 : 8, kRecordTextSize, szText);
        if (cch == 0) break;
        SplitAtPercentR(szText, cch, pValue);
        pValue->sHasValue = -1;
        if (texts[1][0] != '\0') {
            pValue->wType = PJLTYPE_TEXT2;
            pValue->dwKey = 1;
        } else {
            pValue->wType = PJLTYPE_TEXT1;
            pValue->dwKey = 0;
        }
        break;
    }
    case 95:
        if ((priv.dmFieldsExtra3 & DMX3_DUPLEX_10) == 0) break;
        SetKey(pValue, job.Fields(DM_DUPLEX) && dm.dmDuplex != 1 &&
                               !(job.Extra2(DMX2_BOOKLET) && priv.dmLayoutPrint == 2) && priv.dmWords1008[1] != 0
                           ? 1
                           : 0);
        break;
    case 111:
        if (job.Extra2(DMX2_INSTALLED998)) SetKey(pValue, priv.dmInstalledValue998 != 0 ? 1 : 0);
        break;
    case 112: {
        bool bOn = (job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES) && dm.dmCopies > 1 && priv.dmCopiesByDriver == 1) ||
                   (!job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES | DM_COLLATE) && dm.dmCopies > 1 &&
                    dm.dmCollate == 1);
        SetKey(pValue, bOn ? 1 : 0);
        break;
    }
    case 113: {
        if (!job.Extra1(DMX1_SORT) && !(job.Fields(DM_COPIES | DM_COLLATE) && dm.dmCopies > 1)) break;
        DWORD dwCollated = dm.dmCollate == 1 ? 1 : 0;
        DWORD dwKey = 0;
        if (priv.dmSort <= 1)
            dwKey = dwCollated;
        else if (priv.dmSort <= 3)
            dwKey = 2 + dwCollated;
        else if (priv.dmSort <= 5)
            dwKey = 4 + dwCollated;
        SetKey(pValue, dwKey);
        break;
    }
    case 121:
        if ((dm.dmCollate == 1 && job.Fields(DM_COLLATE)) || !job.Extra1(0x8000) || priv.dmCopiesByDriver != 0 ||
            job.SpoolKind(1))
            SetKey(pValue, 0);
        else
            SetNumber(pValue, 1, dm.dmCopies);
        break;
    case 122:
        if (job.Extra1(DMX1_SORT) && job.Fields(DM_COLLATE)) {
            if (dm.dmCollate == 1)
                SetNumber(pValue, 1, dm.dmCopies);
            else
                SetKey(pValue, 0);
        }
        if (!job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES | DM_COLLATE) && dm.dmCollate == 1 && dm.dmCopies > 1)
            SetNumber(pValue, 1, dm.dmCopies);
        if (job.SpoolKind(1)) SetNumber(pValue, 1, dm.dmCopies);
        // The driver made the sets: the stream holds every one, and the printer prints it once.
        if (pValue->sHasValue != 0 && job.DriverMakesSets()) SetNumber(pValue, 1, 1);
        break;
    case 123:
        if (job.Extra1(DMX1_DEPT_CODE) && (priv.dmUseDeptCode & 0x1) != 0 && priv.dmDeptCode[0] != '\0')
            SetRecordText(pJob, pItem, priv.dmDeptCode, sizeof priv.dmDeptCode, pValue);
        break;
    case 131:
        if (!job.Extra2(DMX2_COLOR_20)) break;
        if (priv.dmColor >= 1 && priv.dmColor <= 3) SetKey(pValue, static_cast<DWORD>(priv.dmColor - 1));
        break;
    case 132: {
        ModelAnswer toner(pData, SPCID_TONERSAVE, 0, 3);
        if (!toner.Found()) break;
        DWORD dwKind = toner.U32(8);
        if ((dwKind != 0 && dwKind != 2) || !job.Extra2(DMX2_TONER_SAVE)) break;
        int v = dwKind == 0 ? priv.dmTonerSave : 0;
        if (v != 0 && v != 1) break;
        if (toner.Text(v == 0 ? 12 : 44, kRecordTextSize, texts[0]) == 0) break;
        pValue->wType = PJLTYPE_TEXT1;
        pValue->sHasValue = -1;
        break;
    }
    case 133:
        if (job.Extra1(DMX1_MIRROR) && (priv.dmExtraPrint & DMXP_MIRROR) != 0) SetKey(pValue, priv.dmMirror != 0 ? 1 : 0);
        break;
    case 134:
        if (job.Extra1(DMX1_SKIP_BLANK) && priv.dmSkipBlankPages <= 1) SetKey(pValue, priv.dmSkipBlankPages);
        break;
    case 135:
        if (job.Extra1(DMX1_OPTION340) && priv.dmOption340 <= 1) SetKey(pValue, priv.dmOption340);
        break;
    case 141:
        if (job.Extra1(0x8000) && job.Fields(DM_COPIES) && dm.dmCopies > 1 && dm.dmCollate == 1 &&
            priv.dmCopiesByDriver == 1)
            SetNumber(pValue, 0, static_cast<int>(priv.dmTotalPages & 0xFFFF));
        break;
    case 142:
        if (job.Extra2(DMX2_BOOKLET)) SetKey(pValue, (priv.dmLayoutPrint & 0x2) != 0 ? 1 : 0);
        break;
    case 143:
        if (!job.Extra2(DMX2_POSTER)) break;
        if ((priv.dmLayoutPrint & 0x4) != 0) {
            pValue->wType = PJLTYPE_NUMBER2;
            bool bXSmaller = priv.dmPosterX <= priv.dmPosterY;
            pValue->awNumbers[0] = static_cast<WORD>(bXSmaller ? priv.dmPosterX : priv.dmPosterY);
            pValue->awNumbers[1] = static_cast<WORD>(bXSmaller ? priv.dmPosterY : priv.dmPosterX);
            SetKey(pValue, 1);
        } else {
            SetKey(pValue, 0);
        }
        break;
    case 144: {
        if (!job.Extra2(DMX2_NUP)) break;
        int n = (priv.dmLayoutPrint & 0x1) != 0 ? priv.dmNup : 0;
        if (n != 0)
            SetNumber(pValue, 1, n);
        else
            SetKey(pValue, 0);
        break;
    }
    case 151: {
        ModelAnswer answer(pData, 54, 0, 1);
        if (!answer.Found() || (answer.U32(0) & 0x1) == 0) break;
        WORD w = answer.U16(4);
        if (w <= 1) SetKey(pValue, w);
        break;
    }
    case 152:
        if (!job.Extra2(DMX2_OPTION338)) break;
        if (priv.dmOption338 == 1)
            SetKey(pValue, 0);
        else if (priv.dmOption338 == 2)
            SetKey(pValue, 1);
        else if (priv.dmOption338 == 0)
            SetKey(pValue, 2);
        break;
    case 161:
        if (job.Extra2(DMX2_DENSITY)) SetNumber(pValue, 0, priv.dmDensity);
        break;
    default: return 0;
    }
    return -1;
}
