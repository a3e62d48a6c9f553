#include "gui/LayoutDialogSupport.h"

#include "core/dialog/DialogInfo.h"
#include "gui/MainWin.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xList.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned int kCellPadding = 3;

}  // namespace

tagDIALOGINFO* LoadedDialogInfo()
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
}

const char* LayoutDialogText(WORD wSection, WORD wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(wSection, wID) : nullptr;
}

void CopyWorkingSettings(DRVDEVMODE* pdm)
{
    const tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr) {
        std::memcpy(pdm, &pInfo->psdm, sizeof(DRVDEVMODE));
    } else {
        std::memset(pdm, 0, sizeof(DRVDEVMODE));
    }
}

void WriteWorkingSettings(const DRVDEVMODE& dm)
{
    tagDIALOGINFO* pInfo = LoadedDialogInfo();
    if (pInfo != nullptr) {
        std::memcpy(&pInfo->psdm, &dm, sizeof(DRVDEVMODE));
    }
}

gpointer ValueData(long lValue)
{
    return reinterpret_cast<gpointer>(static_cast<intptr_t>(lValue));
}

long SelectedValue(xComboBox* pCombo)
{
    return static_cast<long>(reinterpret_cast<intptr_t>(pCombo->GetCurSelData()));
}

xLabel* NewFieldLabel(const char* pszText, xWidget* pOwner)
{
    return new xLabel(pszText, pOwner, -1, 0.0f, 0.5f);
}

void AttachLabelled(xTable* pTable, unsigned int nRow, xLabel* pLabel, xWidget* pControl, xWidget* pMnemonicTarget)
{
    pTable->Attach(pLabel, 0, nRow, 1, 1, GTK_FILL, GTK_FILL, kCellPadding, kCellPadding);
    pTable->Attach(pControl, 1, nRow, 1, 1, static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL), GTK_FILL,
                   kCellPadding, kCellPadding);
    pLabel->SetMnemonicWidget(pMnemonicTarget != nullptr ? pMnemonicTarget : pControl);
}
