#include "core/printerinfo/StaplePosition.h"

#include "core/codec/FinishingMaps.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/PrinterInfo.h"

namespace {

constexpr LONG kPositionView = 7;
// Position flags of a finisher paper entry, lowest first: positions 2, 3 and 4.
constexpr DWORD kFirstGroup[] = {0x100, 0x200, 0x400};
constexpr DWORD kSecondGroup[] = {0x1000, 0x2000, 0x4000};

bool UsesSecondGroup(SHORT sOrientation, SHORT sMode)
{
    return (sOrientation == 1 && (sMode == 2 || sMode == 3)) || (sOrientation == 2 && sMode == 1);
}

}  // namespace

SHORT GetStaplePosition(const tagMODELHANDLE* pHandle, const CInstallOption* pOptions, const DRVDEVMODE* pdm,
                        SHORT sMode)
{
    if (pHandle == nullptr || pOptions == nullptr || pdm == nullptr) {
        return 0;
    }
    const tagINSTALLENTRY* finisher = pOptions->FirstInstalled(SPCID_FINISHER, 1);
    if (finisher == nullptr || !(finisher->lInstalled & kFinisherHasPuncher)) {
        return 0;
    }
    CPrinterInfo positions(pHandle, SPCID_FINISHER, finisher->sItemId, kPositionView);
    DWORD count = 0;
    const tagFINISHPAPER* entries = positions.Records<tagFINISHPAPER>(&count);
    const WORD paperId = static_cast<WORD>(GetEffectivePaperId(pdm));
    const WORD finisherCode = FinisherToModelId(pdm->priv.dmFinisher);
    const DWORD* group = UsesSecondGroup(GetEffectiveOrientation(pdm), sMode) ? kSecondGroup : kFirstGroup;
    SHORT position = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (entries[i].wPaperId != paperId) {
            continue;
        }
        // The position flags are the entry's first word behind the ids.
        const DWORD flags = entries[i].dwWords[0];
        for (SHORT k = 0; k < 3; ++k) {
            if (flags & group[k]) {
                position = static_cast<SHORT>(2 + k);
                break;
            }
        }
        if (position != 0 && entries[i].wModeId == finisherCode) {
            break;
        }
    }
    return position;
}
