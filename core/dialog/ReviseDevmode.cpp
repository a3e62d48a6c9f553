// The revise pipeline and its one-shot form.
#include "core/dialog/ReviseDevmode.h"

#include "core/dialog/ConstraintSetup.h"
#include "core/dialog/JobTypeProbe.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/InstallOption.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/UserPaper.h"
#include "core/settings/DevModeService.h"

#include <cstring>
#include <memory>

namespace {

constexpr DWORD kFinisherFieldBits = 0x70000;  // staple, finisher and punch settings
constexpr WORD kOption86Defaults = 0xFFFF;

bool HasFinishers(const tagSPCDATA* pSpc)
{
    return ModelAnswer(pSpc, SPCID_FINISHER, 0, 1).Count() != 0;
}

bool HasValidSizes(const DRVDEVMODE* pdm)
{
    return pdm->dm.dmSize == kDevmodePublicSize && pdm->dm.dmDriverExtra == kDevmodePrivateSize;
}

bool IsValidRecord(const DRVDEVMODE* pdm)
{
    return HasValidSizes(pdm) && pdm->priv.dwPrivDATA == kDevmodeSignature;
}

// The job kind the model and its installed options choose, with the user id and password the
// kind does not use cleared.
void ApplyJobKind(const tagREVISEINFO* pInfo, DRVDEVMODE* pdm, int mode)
{
    tagJOBTYPEPROBE probe {};
    probe.sJobType = 0;
    probe.dwKeepMask = 0xFF;
    if (!bProbeJobType(pInfo, pdm, &probe) || probe.sJobType == 0)
        return;
    if ((probe.dwKeepMask & kProbeKeepJobKind) != 0 && mode != REVISE_MODE_DEFAULTS)
        return;
    PRIVDM& p = pdm->priv;
    p.dmJobSpool = static_cast<WORD>(probe.sJobType);
    if ((probe.dwKeepMask & kProbeKeepUserId) == 0 || (probe.dwKeepMask & kProbeKeepUserId5) == 0)
        memset(p.dmMailBox_UserID, 0, sizeof p.dmMailBox_UserID);
    if ((probe.dwKeepMask & kProbeKeepPassword) == 0)
        memset(p.dmPassword, 0, sizeof p.dmPassword);
}

// The last byte of every fixed text field becomes a terminator.
void TerminateTexts(DRVDEVMODE* pdm)
{
    pdm->dm.dmFormName[sizeof pdm->dm.dmFormName - 1] = '\0';
    PRIVDM& p = pdm->priv;
    p.dmDeptCode[sizeof p.dmDeptCode - 1] = '\0';
    p.dmMailBox_UserID[sizeof p.dmMailBox_UserID - 1] = '\0';
    p.dmPassword[sizeof p.dmPassword - 1] = '\0';
    p.dmText460[sizeof p.dmText460 - 1] = '\0';
    p.dmText588[sizeof p.dmText588 - 1] = '\0';
}

// The capability bits of the model (dmFieldsExtra1..4, dmExtraPrint) and its layout unit.
void TakeModelCapabilities(const DRVDEVMODE& model, DRVDEVMODE* pdm)
{
    PRIVDM& p = pdm->priv;
    p.dmFieldsExtra1 = model.priv.dmFieldsExtra1;
    p.dmFieldsExtra2 = model.priv.dmFieldsExtra2;
    p.dmFieldsExtra3 = model.priv.dmFieldsExtra3;
    p.dmFieldsExtra4 = model.priv.dmFieldsExtra4;
    p.dmExtraPrint = model.priv.dmExtraPrint;
    p.dmUnitOfLayout = model.priv.dmUnitOfLayout;
}

}  // namespace

DWORD uiMergeModelDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode)
{
    if (pSpc == nullptr)
        return ERROR_INVALID_DATA;
    if (pOut == nullptr)
        return ERROR_NOT_ENOUGH_MEMORY;
    if (mode == DEVMODE_SERVICE_DEFAULTS) {
        pOut->dm.dmSize = kDevmodePublicSize;
        pOut->dm.dmDriverExtra = kDevmodePrivateSize;
    }
    const DWORD code = SpcDevmodeService(pSpc, pIn, pOut, mode);
    if (code == ERROR_SUCCESS && HasFinishers(pSpc))
        pOut->priv.dmFieldsExtra1 |= kFinisherFieldBits;
    return code;
}

DWORD uiReviseDevmode(const tagREVISEINFO* pInfo, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode)
{
    if (pInfo == nullptr || pInfo->pModelHandle == nullptr || pOut == nullptr)
        return ERROR_INVALID_PARAMETER;
    tagMODELHANDLE* mh = pInfo->pModelHandle;

    const DWORD code = uiMergeModelDevmode(mh->pSpcData, pIn, pOut, mode);
    if (code != ERROR_SUCCESS)
        return code;
    if (mode == REVISE_MODE_DEFAULTS)
        pOut->priv.dmOption86 = kOption86Defaults;

    ApplyJobKind(pInfo, pOut, mode);

    if (IsValidRecord(pOut) && pInfo->pMdUtil != nullptr) {
        tagREVISEINFO context = *pInfo;
        if (mode == REVISE_MODE_REVISE)
            pInfo->pMdUtil->ReviseDevmodeByOptions(&context, pOut);
        else
            pInfo->pMdUtil->FixDefaultDevmode(pOut);
    }

    bRevisePrivateDevmode(pInfo, pOut, mode);

    if (mode == REVISE_MODE_REVISE && IsValidRecord(pOut) && pInfo->pKinsokuList != nullptr)
        bExecKinsoku(pInfo->pKinsokuList, pOut, -1);

    GetPaperSizeById(mh, pOut->dm.dmPaperSize, &pOut->dm.dmPaperWidth, &pOut->dm.dmPaperLength);
    return code;
}

DWORD uiReviseDevmodeEx(const char* pszPrinter, tagCUPSFUNC* pCupsFunc, ppd_file_t* pPpd, tagSPCDATA* pSpc,
                        const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode)
{
    tagMODELHANDLE mh = {pSpc, pCupsFunc, pPpd};
    CInstallOption installOption(pszPrinter, &mh);
    CMdUtilM2 mdUtil(&mh, &installOption);

    // The revised input: a copy, so that a record from outside is given this model's bits without
    // the caller's input being changed.
    DRVDEVMODE input;
    const DRVDEVMODE* pInput = pIn;
    std::unique_ptr<CUserPaper> userPaper;
    std::unique_ptr<CKinsokuList> list;
    if (mode == REVISE_MODE_REVISE) {
        if (pOut == nullptr || !HasValidSizes(pOut))
            return ERROR_INVALID_PARAMETER;
        if (pIn != nullptr && !HasValidSizes(pIn))
            return ERROR_INVALID_PARAMETER;
        DRVDEVMODE model;
        memset(&model, 0, sizeof model);
        const DWORD defaultsCode = uiMergeModelDevmode(pSpc, nullptr, &model, REVISE_MODE_DEFAULTS);
        if (defaultsCode != ERROR_SUCCESS)
            return defaultsCode;
        TakeModelCapabilities(model, pOut);
        TerminateTexts(pOut);
        if (pIn != nullptr && pIn != pOut) {
            memcpy(&input, pIn, sizeof input);
            TakeModelCapabilities(model, &input);
            TerminateTexts(&input);
            pInput = &input;
        } else {
            pInput = pOut;  // revised in place
        }
        userPaper.reset(new CUserPaper(&mh));
        list.reset(pBuildConstraintList(&mh, userPaper.get(), pOut, &mdUtil));
    }

    BYTE zeroExtra[64] = {};
    const tagREVISEINFO info = {pszPrinter, &mh, &mdUtil, list.get(), userPaper.get(), zeroExtra};
    return uiReviseDevmode(&info, pInput, pOut, mode);
}

bool bGetDefaultDevmode(tagCUPSFUNC* pCupsFunc, ppd_file_t* pPpd, const char* pszPrinter, tagSPCDATA* pSpc,
                        DRVDEVMODE* pOut)
{
    if (pSpc == nullptr || pOut == nullptr)
        return false;
    return uiReviseDevmodeEx(pszPrinter, pCupsFunc, pPpd, pSpc, nullptr, pOut, REVISE_MODE_DEFAULTS) == ERROR_SUCCESS;
}
