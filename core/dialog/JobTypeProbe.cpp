// The job-kind probe.
#include "core/dialog/JobTypeProbe.h"

#include "core/mdutil/MdUtil.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstddef>
#include <initializer_list>

namespace {

constexpr DWORD kChoosesThisKind = 0x20;
constexpr DWORD kKindOptional = 0x10;
constexpr DWORD kTextFieldsUnused = 0x40;
constexpr DWORD kUsesUserId = 0x2;
constexpr DWORD kUsesPassword = 0x4;

// One job kind: the bit of dmFieldsExtra1 that offers it, its capability, the job type it sets and
// whether it is the kind whose user id has a keep bit of its own.
struct JobKind {
    DWORD dwOfferedBit;
    SHORT sCapability;
    SHORT sJobType;
    bool bOwnUserId;
};

// In the order they are tried; the probe's per-kind words follow this order.
constexpr JobKind kJobKinds[5] = {
    {0x1000000, SPCID_JOBSPOOL1, 1, false},
    {0x10000000, SPCID_JOBSPOOL4, 4, false},
    {0x20000000, SPCID_JOBSPOOL5, 5, true},
    {0x2000000, SPCID_JOBSPOOL2, 2, false},
    {0x4000000, SPCID_JOBSPOOL3, 3, false},
};

}  // namespace

SHORT bProbeJobType(const tagREVISEINFO* pInfo, const DRVDEVMODE* pdm, tagJOBTYPEPROBE* pProbe)
{
    if (pInfo == nullptr || pInfo->pMdUtil == nullptr || pdm == nullptr || pProbe == nullptr)
        return 0;
    const SHORT sIncoming = pProbe->sJobType;
    pProbe->sReserved = 0;
    pProbe->dwKeepMask = 0xFF;
    for (SHORT& word : pProbe->sKindWords)
        word = -1;

    SHORT sChosen = 0;
    bool bFound = false;
    bool bAllOptional = true;
    DWORD dwUsed = 0;
    for (size_t i = 0; i < 5 && bAllOptional; ++i) {
        const JobKind& kind = kJobKinds[i];
        if (sChosen != 0 && sChosen != sIncoming)
            break;
        if ((pdm->priv.dmFieldsExtra1 & kind.dwOfferedBit) == 0)
            continue;
        CPrinterInfo info(pInfo->pModelHandle, kind.sCapability, 0, 1);
        const tagFEATURERECORD* pKind = info.First<tagFEATURERECORD>();
        if (pKind == nullptr)
            continue;
        bFound = true;
        const DWORD flags = pKind->dwFlags;
        if (flags & kChoosesThisKind)
            sChosen = kind.sJobType;
        if (flags & kKindOptional)
            pProbe->sKindWords[i] = 0;
        else
            bAllOptional = false;
        if ((flags & kTextFieldsUnused) == 0) {
            if (flags & kUsesUserId)
                dwUsed |= kind.bOwnUserId ? kProbeKeepUserId5 : kProbeKeepUserId;
            if (flags & kUsesPassword)
                dwUsed |= kProbeKeepPassword;
        }
    }
    if (bFound) {
        pProbe->sJobType = sChosen;
        if (bAllOptional) {
            pProbe->dwKeepMask &= ~kProbeKeepJobKind;
            for (DWORD bit : {kProbeKeepUserId, kProbeKeepUserId5, kProbeKeepPassword}) {
                if ((dwUsed & bit) == 0)
                    pProbe->dwKeepMask &= ~bit;
            }
        }
    }
    return pInfo->pMdUtil->HasCapability35() ? 1 : 0;
}
