// The value of every PJL header item: computed from the job's settings record, the job context
// and the model data. The words of the lines come from the model; only the values are known here.
#include "filter/pjl/PjlValues.h"
#include "filter/pjl/PjlStrings.h"

#include "filter/pjl/PjlRecordText.h"

#include "core/codec/FinishingMaps.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcListAnswers.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cstddef>

namespace {

const char kDriverVersion[] = "2.0.30";
constexpr size_t kRecordTextSize = 32;
constexpr SHORT kAnyGroup = 99;  // the finishing lists that hold without installed options

// The text of a char field of a model answer (`cchField` bytes at `offset`) into a value text;
// its length.
size_t AnswerText(const ModelAnswer& answer, size_t offset, size_t cchField, char* pszOut)
{
    return answer.Text(offset, cchField, pszOut, kPjlTextSize);
}

// A named record (the name half of a paper, custom size, medium or source): flag 0x4 in its first
// word, a non-empty first name.
bool TakeNamedRecord(const ModelAnswer& answer, tagPJLVALUE* pValue)
{
    if (!answer.Found() || (static_cast<WORD>(answer.Record<tagSPCNAME>().sA) & 0x4) == 0) {
        return false;
    }
    if (AnswerText(answer, offsetof(tagSPCNAME, szName1), kRecordTextSize, pValue->aszTexts[0]) == 0) {
        return false;
    }
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
    bool DriverCopies() const
    {
        return Extra1(0x8000) && priv.dmCopiesByDriver == 1 && Fields(DM_COPIES) && dm.dmCopies > 1;
    }
    // The page pass sends every collated set itself (as it does for these settings).
    bool DriverMakesSets() const { return priv.dmCopiesByDriver == 1 && dm.dmCollate == 1 && dm.dmCopies > 1; }
    bool SpoolKind(int k) const
    {
        static const DWORD kBits[] = {0, DMX1_JOBKIND1, DMX1_JOBKIND2, DMX1_JOBKIND3, DMX1_JOBKIND4, DMX1_JOBKIND5};
        return priv.dmJobSpool == k && Extra1(kBits[k]);
    }
    bool FrontCover() const
    {
        return Extra1(DMX1_FRONT_COVER) && (priv.dmCoverPage & 0x1) != 0 && priv.dmFrontCoverFile == 0;
    }
    bool BackCover() const
    {
        return Extra1(DMX1_BACK_COVER) && (priv.dmCoverPage & 0x2) != 0 && priv.dmBackCoverFile == 0;
    }
    bool FirstPageOverride() const
    {
        return (priv.dmExtraPrint & DMXP_FIRSTPAGE) != 0 && Extra1(DMX1_FIRSTPAGE_MEDIA) &&
               priv.dmSourceAndTypeFor1Page != 0;
    }
    int ResolutionMode() const
    {
        switch (priv.dmQuality) {
        case 1:
            return 1;
        case 3:
            return 3;
        case 4:
            return 4;
        default:
            return 2;
        }
    }
};

void SetKey(tagPJLVALUE* pValue, DWORD dwKey)
{
    pValue->dwKey = dwKey;
    pValue->sHasValue = -1;
}

void SetNumber(tagPJLVALUE* pValue, DWORD dwKey, int iNumber)
{
    pValue->wType = PJLTYPE_NUMBER1;
    pValue->awNumbers[0] = static_cast<WORD>(iNumber);
    SetKey(pValue, dwKey);
}

// Items 61 to 63: the resolution pair and flags of the job's resolution mode.
void BuildResolution(const tagSPCDATA* pData, const JobView& job, DWORD dwId, tagPJLVALUE* pValue)
{
    SHORT sMode = static_cast<SHORT>(job.ResolutionMode());
    ModelAnswer pair(pData, SPCID_RESOLUTIONLIST, sMode, 2);
    ModelAnswer res(pData, SPCID_RESOLUTION, sMode, 1);
    DWORD dwFlags = res.Found() ? res.Record<tagSPCRESOLUTION>().dwFlags : 0;
    const tagSPCRESDPI dpi = pair.Record<tagSPCRESDPI>();
    pValue->awNumbers[0] = static_cast<WORD>(dpi.dwNumber1);
    pValue->awNumbers[1] = static_cast<WORD>(dpi.dwNumber2);
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
    if (job.Extra2(DMX2_SCREEN)) {
        pValue->sHasValue = -1;
    }
}

// Items 83 and 86: the cover source's text (name 3 or 4 of tagSOURCENAMES) from the tray lists.
void BuildCoverSource(const tagSPCDATA* pData, SHORT sSource, size_t offText, tagPJLVALUE* pValue)
{
    ModelAnswer tray(pData, SPCID_PAPERSOURCE, sSource, 7);
    const ModelAnswer* pFound = &tray;
    ModelAnswer group(pData, SPCID_SOURCEGROUP, sSource, 7);
    if (!tray.Found()) {
        pFound = &group;
    }
    if (!pFound->Found()) {
        return;
    }
    AnswerText(*pFound, offText, kRecordTextSize, pValue->aszTexts[0]);
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
}

// Finishing lists of capability 27 are kept per installed-option group: the group of the first
// installed-option summary word, or 99 (the model's own list) when it is 0 or has no list.
ModelAnswer FinishingList(const tagSPCDATA* pData, const PRIVDM& priv, LONG lView)
{
    SHORT sGroup = priv.dmInstalledSummary[0] != 0 ? static_cast<SHORT>(priv.dmInstalledSummary[0]) : kAnyGroup;
    ModelAnswer answer(pData, SPCID_FINISHER, sGroup, lView);
    if (answer.Found() || sGroup == kAnyGroup) {
        return answer;
    }
    return ModelAnswer(pData, SPCID_FINISHER, kAnyGroup, lView);
}

bool TakeText(const ModelAnswer& answer, size_t off, tagPJLVALUE* pValue)
{
    if (AnswerText(answer, off, kRecordTextSize, pValue->aszTexts[0]) == 0) {
        return false;
    }
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
    return true;
}

// Item 91: the finisher's text, from the group's finisher modes, else from the finisher itself.
void BuildFinisher(const tagSPCDATA* pData, const PRIVDM& priv, tagPJLVALUE* pValue)
{
    ModelAnswer modes = FinishingList(pData, priv, 14);
    for (DWORD i = 0; i < modes.WholeRecords<tagFINISHMODEPJL>(); ++i) {
        const tagFINISHMODEPJL mode = modes.Record<tagFINISHMODEPJL>(i);
        if (ModelIdToFinisher(mode.wModeId) != priv.dmFinisher || (mode.wPjlFlags & 0x4) == 0) {
            continue;
        }
        if (TakeText(modes, i * sizeof mode + offsetof(tagFINISHMODEPJL, szText), pValue)) {
            return;
        }
        break;
    }
    ModelAnswer finisher(pData, SPCID_FINISHERMODES, static_cast<SHORT>(FinisherToModelId(priv.dmFinisher)), 7);
    if (finisher.Found() && (finisher.Record<tagFINISHMODEPJL>().wPjlFlags & 0x4) != 0) {
        TakeText(finisher, offsetof(tagFINISHMODEPJL, szText), pValue);
    }
}

// Items 101 and 103: text B or A (at offText of tagFINISHERSTAPLEPJL) of the staple mode of dmStaple.
void BuildStaple(const tagSPCDATA* pData, const PRIVDM& priv, size_t offText, tagPJLVALUE* pValue)
{
    ModelAnswer modes = FinishingList(pData, priv, 15);
    for (DWORD i = 0; i < modes.WholeRecords<tagFINISHERSTAPLEPJL>(); ++i) {
        const tagFINISHERSTAPLEPJL staple = modes.Record<tagFINISHERSTAPLEPJL>(i);
        if (ModelIdToStaple(staple.base.wId) != priv.dmStaple) {
            continue;
        }
        TakeText(modes, i * sizeof staple + offText, pValue);
        return;
    }
}

// Item 102: the text of the punch mode of dmPunch.
void BuildPunch(const tagSPCDATA* pData, const PRIVDM& priv, tagPJLVALUE* pValue)
{
    ModelAnswer modes = FinishingList(pData, priv, 12);
    for (DWORD i = 0; i < modes.WholeRecords<tagFINISHERPJL>(); ++i) {
        const tagFINISHERPJL punch = modes.Record<tagFINISHERPJL>(i);
        if (ModelIdToPunch(punch.wId) != priv.dmPunch || (punch.wPjlFlags & 0x4) == 0) {
            continue;
        }
        TakeText(modes, i * sizeof punch + offsetof(tagFINISHERPJL, szText), pValue);
        return;
    }
}

// What every item's builder reads: the job, its item record, the model data and the settings.
struct ItemInput {
    tagJOBINFO* pJob;
    const tagPJLITEM* pItem;
    const tagSPCDATA* pData;
    JobView job;
};

typedef void (*PFNITEMBUILDER)(const ItemInput& in, tagPJLVALUE* pValue);

void BuildModelNames(const ItemInput& in, tagPJLVALUE* pValue)
{
    static const SHORT kCaps[] = {SPCID_PJLMODEL, SPCID_PJLNAME, SPCID_PJLSTRINGS};
    for (int i = 0; i < 3; ++i) {
        ModelAnswer answer(in.pData, kCaps[i], 0, 1);
        AnswerText(answer, 0, kPjlTextSize - 1, pValue->aszTexts[i]);
    }
    pValue->wType = PJLTYPE_TEXT3;
    pValue->sHasValue = -1;
}

void BuildFixedLine(const ItemInput&, tagPJLVALUE* pValue)
{
    pValue->sHasValue = -1;
}

void BuildDriverVersion(const ItemInput& in, tagPJLVALUE* pValue)
{
    pValue->wType = PJLTYPE_TEXT2;
    CopyPjlString(in.pItem->dwCopyFlags, in.pItem->dwMaxLength, kDriverVersion, pValue->aszTexts[1], kPjlTextSize);
    pValue->sHasValue = -1;
}

void BuildDate(const ItemInput&, tagPJLVALUE* pValue)
{
    time_t now = time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local) == nullptr) {
        return;
    }
    pValue->wType = PJLTYPE_NUMBER6;
    // The printer reads the month counted from 0.
    const int aiParts[] = {local.tm_year + 1900, local.tm_mon, local.tm_mday,
                           local.tm_hour,        local.tm_min, local.tm_sec};
    for (int i = 0; i < kPjlValueNumbers; ++i) {
        pValue->awNumbers[i] = static_cast<WORD>(aiParts[i]);
    }
    pValue->sHasValue = -1;
}

void BuildJobText(const ItemInput& in, const char* pszSource, tagPJLVALUE* pValue)
{
    pValue->wType = PJLTYPE_TEXT1;
    if (CopyPjlString(in.pItem->dwCopyFlags, in.pItem->dwMaxLength, pszSource, pValue->aszTexts[0], kPjlTextSize) !=
        0) {
        pValue->sHasValue = -1;
    }
}
void BuildTitle(const ItemInput& in, tagPJLVALUE* pValue)
{
    BuildJobText(in, in.pJob->pszTitle, pValue);
}
void BuildUserName(const ItemInput& in, tagPJLVALUE* pValue)
{
    BuildJobText(in, in.pJob->pszUser, pValue);
}
void BuildHostName(const ItemInput& in, tagPJLVALUE* pValue)
{
    BuildJobText(in, in.pJob->pszHostName, pValue);
}

void BuildHostAddress(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.pJob->dwHostAddress == 0) {
        return;
    }
    BYTE abOctets[4];
    std::memcpy(abOctets, &in.pJob->dwHostAddress, sizeof abOctets);
    pValue->wType = PJLTYPE_NUMBER4;
    for (int i = 0; i < 4; ++i) {
        pValue->awNumbers[i] = abOctets[i];
    }
    pValue->sHasValue = -1;
}

void BuildHold(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if (job.SpoolKind(1)) {
        SetKey(pValue, 1);
    } else if (job.SpoolKind(4) || job.SpoolKind(2)) {
        SetKey(pValue, 2);
    } else if (job.SpoolKind(5) || job.SpoolKind(3)) {
        SetKey(pValue, 3);
    } else if (job.priv.dmJobSpool == 0) {
        SetKey(pValue, 0);
    }
}

void BuildUserId(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    bool bMailBoxKinds = job.Extra1(DMX1_JOBKIND2 | DMX1_JOBKIND3);
    if ((job.SpoolKind(1) && !bMailBoxKinds) || job.SpoolKind(4) || job.SpoolKind(5)) {
        SetKey(pValue, 1);
    } else if ((job.SpoolKind(1) && bMailBoxKinds) || job.SpoolKind(2) || job.SpoolKind(3)) {
        SetRecordText(in.pJob, in.pItem, job.priv.dmMailBox_UserID, sizeof job.priv.dmMailBox_UserID, pValue);
    }
}

void BuildHoldKey(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (in.job.SpoolKind(3) || in.job.SpoolKind(5)) {
        SetRecordText(in.pJob, in.pItem, priv.dmPassword, sizeof priv.dmPassword, pValue);
    }
}

void BuildSecureJobName(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (in.pJob->dwSecurePrint != 0 && priv.dmJobName[0] != '\0') {
        SetRecordText(in.pJob, in.pItem, priv.dmJobName, sizeof priv.dmJobName, pValue);
    }
}

void BuildResolutionItem(const ItemInput& in, tagPJLVALUE* pValue)
{
    BuildResolution(in.pData, in.job, in.pItem->dwItemId, pValue);
}

void BuildPaper(const ItemInput& in, tagPJLVALUE* pValue)
{
    SHORT sPaper = in.job.dm.dmPaperSize;
    if (in.job.priv.dmOutputPaperSize != 0 && in.job.priv.dmOutputPaperSize != sPaper) {
        sPaper = in.job.priv.dmOutputPaperSize;
    }
    ModelAnswer paper(in.pData, SPCID_PAPERSIZE, sPaper, 6);
    if (paper.Found()) {
        TakeNamedRecord(paper, pValue);
    } else {
        TakeNamedRecord(ModelAnswer(in.pData, SPCID_CUSTOMSIZE, 0, 2), pValue);
    }
}

void BuildOrientation(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.dm.dmOrientation == 1) {
        SetKey(pValue, 0);
    } else if (in.job.dm.dmOrientation == 2) {
        SetKey(pValue, 1);
    }
}

void BuildMediaType(const ItemInput& in, tagPJLVALUE* pValue)
{
    DWORD dwMedia = in.job.FirstPageOverride() ? in.job.priv.dmFirstPageMediaType : (in.job.dm.dmMediaType & 0xFFFF);
    TakeNamedRecord(ModelAnswer(in.pData, SPCID_MEDIATYPE, static_cast<SHORT>(dwMedia), 5), pValue);
}

void BuildMediaSource(const ItemInput& in, tagPJLVALUE* pValue)
{
    SHORT sSource = in.job.FirstPageOverride() ? in.job.priv.dmFirstPagePaperSource : in.job.dm.dmDefaultSource;
    ModelAnswer source(in.pData, SPCID_PAPERSOURCE, sSource, 4);
    if (source.Found()) {
        TakeNamedRecord(source, pValue);
    } else {
        TakeNamedRecord(ModelAnswer(in.pData, SPCID_SOURCEGROUP, sSource, 4), pValue);
    }
}

void BuildCover(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if (job.DriverCopies()) {
        return;
    }
    if (job.FrontCover() && job.BackCover()) {
        SetKey(pValue, 2);
    } else if (job.FrontCover()) {
        SetKey(pValue, 0);
    } else if (job.BackCover()) {
        SetKey(pValue, 1);
    }
}

void BuildFrontCover(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (!in.job.DriverCopies() && in.job.FrontCover()) {
        SetKey(pValue, 0);
    }
}

void BuildFrontCoverSource(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (!in.job.DriverCopies() && in.job.FrontCover()) {
        BuildCoverSource(in.pData, in.job.priv.dmFrontCoverSource, offsetof(tagSOURCENAMES, szName3), pValue);
    }
}

void BuildBackCover(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (!in.job.DriverCopies() && in.job.BackCover()) {
        SetKey(pValue, 0);
    }
}

void BuildBackCoverSource(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (!in.job.DriverCopies() && in.job.BackCover()) {
        BuildCoverSource(in.pData, in.job.priv.dmBackCoverSource, offsetof(tagSOURCENAMES, szName4), pValue);
    }
}

void BuildFinisherItem(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_FINISHER)) {
        BuildFinisher(in.pData, in.job.priv, pValue);
    }
}

// Items 101 and 103: the staple mode's text B and text A.
void BuildStapleTextB(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_STAPLE)) {
        BuildStaple(in.pData, in.job.priv, offsetof(tagFINISHERSTAPLEPJL, szTextB), pValue);
    }
}
void BuildStapleTextA(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_STAPLE)) {
        BuildStaple(in.pData, in.job.priv, offsetof(tagFINISHERSTAPLEPJL, base) + offsetof(tagFINISHERPJL, szText),
                    pValue);
    }
}

void BuildPunchItem(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_PUNCH)) {
        BuildPunch(in.pData, in.job.priv, pValue);
    }
}

void BuildDuplex(const ItemInput& in, tagPJLVALUE* pValue)
{
    ModelAnswer duplex(in.pData, SPCID_DUPLEX, in.job.dm.dmDuplex, 2);
    if (!duplex.Found() || (static_cast<WORD>(duplex.Record<tagDUPLEXMODE>().sWord12) & 0x4) == 0) {
        return;
    }
    bool bTextB = in.job.Extra1(DMX1_DUPLEX_OPTION) && in.job.priv.dmDuplexOption == 1;
    char szText[kPjlTextSize];
    size_t cch = AnswerText(duplex, bTextB ? offsetof(tagDUPLEXMODE, szName2) : offsetof(tagDUPLEXMODE, szName1),
                            kRecordTextSize, szText);
    if (cch == 0) {
        return;
    }
    SplitAtPercentR(szText, cch, pValue);
    pValue->sHasValue = -1;
    if (pValue->aszTexts[1][0] != '\0') {
        pValue->wType = PJLTYPE_TEXT2;
        pValue->dwKey = 1;
    } else {
        pValue->wType = PJLTYPE_TEXT1;
        pValue->dwKey = 0;
    }
}

void BuildDuplexOn(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if ((job.priv.dmFieldsExtra3 & DMX3_DUPLEX_10) == 0) {
        return;
    }
    SetKey(pValue, job.Fields(DM_DUPLEX) && job.dm.dmDuplex != 1 &&
                           !(job.Extra2(DMX2_BOOKLET) && job.priv.dmLayoutPrint == 2) && job.priv.dmWords1008[1] != 0
                       ? 1
                       : 0);
}

void BuildInstalledOption(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra2(DMX2_INSTALLED998)) {
        SetKey(pValue, in.job.priv.dmInstalledValue998 != 0 ? 1 : 0);
    }
}

void BuildCollate(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    const DEVMODE& dm = job.dm;
    bool bOn = (job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES) && dm.dmCopies > 1 && job.priv.dmCopiesByDriver == 1) ||
               (!job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES | DM_COLLATE) && dm.dmCopies > 1 && dm.dmCollate == 1);
    SetKey(pValue, bOn ? 1 : 0);
}

void BuildSort(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if (!job.Extra1(DMX1_SORT) && !(job.Fields(DM_COPIES | DM_COLLATE) && job.dm.dmCopies > 1)) {
        return;
    }
    DWORD dwCollated = job.dm.dmCollate == 1 ? 1 : 0;
    DWORD dwKey = 0;
    if (job.priv.dmSort <= 1) {
        dwKey = dwCollated;
    } else if (job.priv.dmSort <= 3) {
        dwKey = 2 + dwCollated;
    } else if (job.priv.dmSort <= 5) {
        dwKey = 4 + dwCollated;
    }
    SetKey(pValue, dwKey);
}

void BuildCopies(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if ((job.dm.dmCollate == 1 && job.Fields(DM_COLLATE)) || !job.Extra1(0x8000) || job.priv.dmCopiesByDriver != 0 ||
        job.SpoolKind(1)) {
        SetKey(pValue, 0);
    } else {
        SetNumber(pValue, 1, job.dm.dmCopies);
    }
}

void BuildQuantity(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    const DEVMODE& dm = job.dm;
    if (job.Extra1(DMX1_SORT) && job.Fields(DM_COLLATE)) {
        if (dm.dmCollate == 1) {
            SetNumber(pValue, 1, dm.dmCopies);
        } else {
            SetKey(pValue, 0);
        }
    }
    if (!job.Extra1(DMX1_SORT) && job.Fields(DM_COPIES | DM_COLLATE) && dm.dmCollate == 1 && dm.dmCopies > 1) {
        SetNumber(pValue, 1, dm.dmCopies);
    }
    if (job.SpoolKind(1)) {
        SetNumber(pValue, 1, dm.dmCopies);
    }
    // The driver made the sets: the stream holds every one, and the printer prints it once.
    if (pValue->sHasValue != 0 && job.DriverMakesSets()) {
        SetNumber(pValue, 1, 1);
    }
}

void BuildDepartment(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (in.job.Extra1(DMX1_DEPT_CODE) && (priv.dmUseDeptCode & 0x1) != 0 && priv.dmDeptCode[0] != '\0') {
        SetRecordText(in.pJob, in.pItem, priv.dmDeptCode, sizeof priv.dmDeptCode, pValue);
    }
}

void BuildRenderMode(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (!in.job.Extra2(DMX2_COLOR_20)) {
        return;
    }
    if (in.job.priv.dmColor >= 1 && in.job.priv.dmColor <= 3) {
        SetKey(pValue, static_cast<DWORD>(in.job.priv.dmColor - 1));
    }
}

void BuildTonerSave(const ItemInput& in, tagPJLVALUE* pValue)
{
    ModelAnswer toner(in.pData, SPCID_TONERSAVE, 0, 3);
    if (!toner.Found()) {
        return;
    }
    DWORD dwKind = toner.Record<tagSPCTONERSAVE>().dwKind;
    if ((dwKind != 0 && dwKind != 2) || !in.job.Extra2(DMX2_TONER_SAVE)) {
        return;
    }
    int v = dwKind == 0 ? in.job.priv.dmTonerSave : 0;
    if (v != 0 && v != 1) {
        return;
    }
    if (AnswerText(toner, v == 0 ? offsetof(tagSPCTONERSAVE, szTextA) : offsetof(tagSPCTONERSAVE, szTextB),
                   kRecordTextSize, pValue->aszTexts[0]) == 0) {
        return;
    }
    pValue->wType = PJLTYPE_TEXT1;
    pValue->sHasValue = -1;
}

void BuildMirror(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (in.job.Extra1(DMX1_MIRROR) && (priv.dmExtraPrint & DMXP_MIRROR) != 0) {
        SetKey(pValue, priv.dmMirror != 0 ? 1 : 0);
    }
}

void BuildBlankPage(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_SKIP_BLANK) && in.job.priv.dmSkipBlankPages <= 1) {
        SetKey(pValue, in.job.priv.dmSkipBlankPages);
    }
}

void BuildOption340(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra1(DMX1_OPTION340) && in.job.priv.dmOption340 <= 1) {
        SetKey(pValue, in.job.priv.dmOption340);
    }
}

void BuildTotalPages(const ItemInput& in, tagPJLVALUE* pValue)
{
    const JobView& job = in.job;
    if (job.Extra1(0x8000) && job.Fields(DM_COPIES) && job.dm.dmCopies > 1 && job.dm.dmCollate == 1 &&
        job.priv.dmCopiesByDriver == 1) {
        SetNumber(pValue, 0, static_cast<int>(job.priv.dmTotalPages & 0xFFFF));
    }
}

void BuildBooklet(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra2(DMX2_BOOKLET)) {
        SetKey(pValue, (in.job.priv.dmLayoutPrint & 0x2) != 0 ? 1 : 0);
    }
}

void BuildPoster(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (!in.job.Extra2(DMX2_POSTER)) {
        return;
    }
    if ((priv.dmLayoutPrint & 0x4) != 0) {
        pValue->wType = PJLTYPE_NUMBER2;
        bool bXSmaller = priv.dmPosterX <= priv.dmPosterY;
        pValue->awNumbers[0] = static_cast<WORD>(bXSmaller ? priv.dmPosterX : priv.dmPosterY);
        pValue->awNumbers[1] = static_cast<WORD>(bXSmaller ? priv.dmPosterY : priv.dmPosterX);
        SetKey(pValue, 1);
    } else {
        SetKey(pValue, 0);
    }
}

void BuildPagesPerSheet(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (!in.job.Extra2(DMX2_NUP)) {
        return;
    }
    int n = (priv.dmLayoutPrint & 0x1) != 0 ? priv.dmNup : 0;
    if (n != 0) {
        SetNumber(pValue, 1, n);
    } else {
        SetKey(pValue, 0);
    }
}

void BuildModelSwitch(const ItemInput& in, tagPJLVALUE* pValue)
{
    ModelAnswer answer(in.pData, SPCID_PJLSWITCH, 0, 1);
    const tagPJLSWITCH pjlSwitch = answer.Record<tagPJLSWITCH>();
    if (!answer.Found() || (pjlSwitch.dwFlags & 0x1) == 0) {
        return;
    }
    WORD w = pjlSwitch.wValue;
    if (w <= 1) {
        SetKey(pValue, w);
    }
}

void BuildOption338(const ItemInput& in, tagPJLVALUE* pValue)
{
    const PRIVDM& priv = in.job.priv;
    if (!in.job.Extra2(DMX2_OPTION338)) {
        return;
    }
    if (priv.dmOption338 == 1) {
        SetKey(pValue, 0);
    } else if (priv.dmOption338 == 2) {
        SetKey(pValue, 1);
    } else if (priv.dmOption338 == 0) {
        SetKey(pValue, 2);
    }
}

void BuildDensity(const ItemInput& in, tagPJLVALUE* pValue)
{
    if (in.job.Extra2(DMX2_DENSITY)) {
        SetNumber(pValue, 0, in.job.priv.dmDensity);
    }
}

struct tagITEMBUILDER {
    DWORD dwItemId;
    PFNITEMBUILDER pfnBuild;
};

// Every item id the filter knows a value for; the model's format texts give the words.
constexpr tagITEMBUILDER kItemBuilders[] = {
    {PJLITEM_MODEL, BuildModelNames},
    {PJLITEM_LANGUAGE, BuildFixedLine},
    {PJLITEM_DRIVER, BuildDriverVersion},
    {PJLITEM_DATE, BuildDate},
    {PJLITEM_JOBNAME, BuildTitle},
    {PJLITEM_USERNAME, BuildUserName},
    {PJLITEM_HOSTNAME, BuildHostName},
    {PJLITEM_HOSTADDRESS, BuildHostAddress},
    {PJLITEM_HOLD, BuildHold},
    {PJLITEM_USERID, BuildUserId},
    {PJLITEM_HOLDKEY, BuildHoldKey},
    {PJLITEM_FIXEDLINE, BuildFixedLine},
    {PJLITEM_SECUREJOBNAME, BuildSecureJobName},
    {PJLITEM_RESOLUTION, BuildResolutionItem},
    {PJLITEM_RESOLUTIONPAIR, BuildResolutionItem},
    {PJLITEM_RESOLUTIONASPECT, BuildResolutionItem},
    {PJLITEM_PAPER, BuildPaper},
    {PJLITEM_ORIENTATION, BuildOrientation},
    {PJLITEM_MEDIATYPE, BuildMediaType},
    {PJLITEM_MEDIASOURCE, BuildMediaSource},
    {PJLITEM_COVER, BuildCover},
    {PJLITEM_FRONTCOVER, BuildFrontCover},
    {PJLITEM_FRONTCOVERSOURCE, BuildFrontCoverSource},
    {PJLITEM_BACKCOVER, BuildBackCover},
    {PJLITEM_BACKCOVERSOURCE, BuildBackCoverSource},
    {PJLITEM_FINISHER, BuildFinisherItem},
    {PJLITEM_DUPLEX, BuildDuplex},
    {PJLITEM_DUPLEXON, BuildDuplexOn},
    {PJLITEM_STAPLE, BuildStapleTextB},
    {PJLITEM_PUNCH, BuildPunchItem},
    {PJLITEM_STAPLETEXTA, BuildStapleTextA},
    {PJLITEM_INSTALLEDOPTION, BuildInstalledOption},
    {PJLITEM_COLLATE, BuildCollate},
    {PJLITEM_SORT, BuildSort},
    {PJLITEM_COPIES, BuildCopies},
    {PJLITEM_QUANTITY, BuildQuantity},
    {PJLITEM_DEPARTMENT, BuildDepartment},
    {PJLITEM_RENDERMODE, BuildRenderMode},
    {PJLITEM_TONERSAVE, BuildTonerSave},
    {PJLITEM_MIRROR, BuildMirror},
    {PJLITEM_BLANKPAGE, BuildBlankPage},
    {PJLITEM_OPTION340, BuildOption340},
    {PJLITEM_TOTALPAGES, BuildTotalPages},
    {PJLITEM_BOOKLET, BuildBooklet},
    {PJLITEM_POSTER, BuildPoster},
    {PJLITEM_NUP, BuildPagesPerSheet},
    {PJLITEM_MODELSWITCH, BuildModelSwitch},
    {PJLITEM_OPTION338, BuildOption338},
    {PJLITEM_DENSITY, BuildDensity},
};

}  // namespace

int BuildPjlValue(tagJOBINFO* pJob, const tagPJLITEM* pItem, tagPJLVALUE* pValue)
{
    if (pJob == nullptr || pItem == nullptr || pValue == nullptr) {
        return 0;
    }
    pValue->dwItemId = pItem->dwItemId;
    pValue->dwCopyFlags = pItem->dwCopyFlags;
    pValue->dwMaxLength = pItem->dwMaxLength;
    for (const tagITEMBUILDER& builder : kItemBuilders) {
        if (builder.dwItemId != pItem->dwItemId) {
            continue;
        }
        const ItemInput in{pJob, pItem, pJob->pSpcData, JobView{pJob->devmode.dm, pJob->devmode.priv}};
        builder.pfnBuild(in, pValue);
        return -1;
    }
    return 0;
}
