#include "core/printerinfo/JobSpoolInfo.h"

#include "core/model/SpcIds.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstring>

namespace {

// The capability of each job kind, kind 1 first.
constexpr SHORT kJobKindCaps[] = {SPCID_JOBSPOOL1, SPCID_JOBSPOOL2, SPCID_JOBSPOOL3, SPCID_JOBSPOOL4,
                                  SPCID_JOBSPOOL5};
constexpr DWORD kFirstEntryFlag = 0x2;
constexpr DWORD kSecondEntryFlag = 0x4;
// A kind whose flags have all of these lends its flags and lengths to a kind without records.
constexpr DWORD kLenderFlags = 0x10 | 0x20 | 0x80;
constexpr DWORD kMaskBit = 0x1000;
constexpr DWORD kDefaultMask = 0x1001;
constexpr SHORT kDefaultLength = 8;

SHORT LowLength(DWORD dwWord)
{
    return static_cast<SHORT>(dwWord & 0xFFFF);
}

void CopyText(char (&dst)[32], const char (&src)[32])
{
    std::memcpy(dst, src, sizeof dst);
    dst[sizeof dst - 1] = '\0';
}

}  // namespace

WORD GetJobSpoolInfo(const tagMODELHANDLE* pHandle, SHORT sJobKind, tagJOBSPOOLINFO* pInfo)
{
    if (pInfo == nullptr) {
        return FLAG_FALSE;
    }
    std::memset(pInfo, 0, sizeof *pInfo);
    bool hadRecord = false;
    if (sJobKind >= 1 && sJobKind <= 5) {
        const SHORT capId = kJobKindCaps[sJobKind - 1];
        CPrinterInfo limitsInfo(pHandle, capId, 0, 2);
        if (const tagJOBKINDLIMITS* limits = limitsInfo.First<tagJOBKINDLIMITS>()) {
            hadRecord = true;
            pInfo->sEnabled1 = (limits->dwFlags & kFirstEntryFlag) ? -1 : 0;
            pInfo->sEnabled2 = (limits->dwFlags & kSecondEntryFlag) ? -1 : 0;
            pInfo->dwFlags = limits->dwFlags;
            pInfo->sMaxLength1 = LowLength(limits->dwMaxLength1);
            pInfo->sMaxLength2 = LowLength(limits->dwMaxLength2);
            pInfo->dwCharMask1 = limits->dwMask1;
            pInfo->dwCharMask2 = limits->dwMask2;
            CPrinterInfo textsInfo(pHandle, capId, 0, 3);
            if (const tagJOBKINDTEXTS* texts = textsInfo.First<tagJOBKINDTEXTS>()) {
                CopyText(pInfo->szText1, texts->szText1);
                CopyText(pInfo->szText2, texts->szText2);
            }
        }
    }
    if (!hadRecord && pInfo->dwFlags == 0) {
        for (SHORT capId : kJobKindCaps) {
            CPrinterInfo limitsInfo(pHandle, capId, 0, 2);
            const tagJOBKINDLIMITS* limits = limitsInfo.First<tagJOBKINDLIMITS>();
            if (limits != nullptr && (limits->dwFlags & kLenderFlags) == kLenderFlags) {
                pInfo->dwFlags = limits->dwFlags;
                pInfo->sMaxLength1 = LowLength(limits->dwMaxLength1);
                pInfo->sMaxLength2 = LowLength(limits->dwMaxLength2);
                break;
            }
        }
    }
    pInfo->dwCharMask1 = pInfo->dwCharMask1 != 0 ? (pInfo->dwCharMask1 | kMaskBit) : kDefaultMask;
    pInfo->dwCharMask2 = pInfo->dwCharMask2 != 0 ? (pInfo->dwCharMask2 | kMaskBit) : kDefaultMask;
    if (pInfo->sMaxLength1 == 0) {
        pInfo->sMaxLength1 = kDefaultLength;
    }
    if (pInfo->sMaxLength2 == 0) {
        pInfo->sMaxLength2 = kDefaultLength;
    }
    // The answer says whether the kind itself exists: the job type page offers a kind, and falls
    // back from one kind to the next, by it.
    return hadRecord ? FLAG_TRUE : FLAG_FALSE;
}
