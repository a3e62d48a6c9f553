#include "gui/MainTabs.h"

#include "core/dialog/DialogInfo.h"
#include "core/mdutil/MdUtil.h"
#include "gui/MainWin.h"
#include "gui/TabBasic.h"
#include "gui/TabOutput.h"
#include "gui/TabJobtype.h"
#include "gui/TabQuality.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xMessageBox.h"
#include "gui/widgets/xTabBase.h"

namespace {

// The text sections of the pages (also their control ids), by index.
constexpr int kPageSections[CMainTabs::PAGE_COUNT] = {100, 150, 250, 200};

// Settings of a model that offers job spool kinds (user box, proof, secure print).
constexpr DWORD kJobSpoolKindBits = 0x2000000 | 0x4000000 | 0x8000000;

bool JobTypePageApplies(const tagDIALOGINFO* pInfo)
{
    if ((pInfo->psdm.priv.dmFieldsExtra1 & kJobSpoolKindBits) != 0) {
        return true;
    }
    return pInfo->pMdUtil != nullptr && pInfo->pMdUtil->HasCapability79Bits0to2() != 0;
}

}  // namespace

CMainTabs::CMainTabs(xWidget* pOwner, int nID) : xNoteBook(pOwner, nID), m_pPages{}
{
    // The pages are created here, each by its own class, and shown in index order.
    m_pPages[PAGE_BASIC] = new CTabBasic(this);
    m_pPages[PAGE_OUTPUT] =
        new CTabOutput(this, GetMainWindow() != nullptr ? GetMainWindow()->LoadString(150, 0) : nullptr, 150);
    m_pPages[PAGE_JOBTYPE] = new CTabJobtype(
        this, GetMainWindow() != nullptr ? GetMainWindow()->LoadString(kPageSections[PAGE_JOBTYPE], 0) : "",
        kPageSections[PAGE_JOBTYPE]);
    m_pPages[PAGE_QUALITY] = new CTabQuality(this, GetBuiltinString(IDS_SECTION_QUALITY, 0), IDS_SECTION_QUALITY);
    for (int i = 0; i < PAGE_COUNT; ++i) {
        ShowPage(i, -1);
    }
}

CMainTabs::~CMainTabs()
{
    for (xTabBase*& pPage : m_pPages) {
        delete pPage;
        pPage = nullptr;
    }
}

xTabBase* CMainTabs::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < PAGE_COUNT ? m_pPages[nIndex] : nullptr;
}

int CMainTabs::PositionOf(const xTabBase* pPage) const
{
    if (pPage == nullptr || m_pWidget == nullptr || pPage->GetGtkWidget() == nullptr) {
        return -1;
    }
    return gtk_notebook_page_num(GTK_NOTEBOOK(m_pWidget), pPage->GetGtkWidget());
}

int CMainTabs::GetShownPageCount() const
{
    return m_pWidget != nullptr ? gtk_notebook_get_n_pages(GTK_NOTEBOOK(m_pWidget)) : 0;
}

void CMainTabs::ShowPage(int nIndex, int bShow)
{
    xTabBase* pPage = GetPage(nIndex);
    if (pPage == nullptr) {
        return;
    }
    const int position = PositionOf(pPage);
    if (bShow != 0 && position < 0) {
        int insertAt = 0;
        for (int lower = nIndex - 1; lower >= 0; --lower) {
            const int at = PositionOf(m_pPages[lower]);
            if (at >= 0) {
                insertAt = at + 1;
                break;
            }
        }
        xLabel* pLabel = pPage->GetLabel();
        gtk_notebook_insert_page(GTK_NOTEBOOK(m_pWidget), pPage->GetGtkWidget(),
                                 pLabel != nullptr ? pLabel->GetGtkWidget() : nullptr, insertAt);
    } else if (bShow == 0 && position >= 0) {
        gtk_notebook_remove_page(GTK_NOTEBOOK(m_pWidget), position);
    }
}

void CMainTabs::InitPages()
{
    CMainWin* pMain = GetMainWindow();
    tagDIALOGINFO* pInfo = pMain != nullptr ? pMain->GetDialogInfo() : nullptr;
    for (int i = 0; i < PAGE_COUNT; ++i) {
        bool show = pInfo != nullptr;
        if (show && i == PAGE_JOBTYPE) {
            show = JobTypePageApplies(pInfo);
        }
        ShowPage(i, show ? -1 : 0);
        if (show && m_pPages[i] != nullptr) {
            m_pPages[i]->SetLabelText(pMain->LoadString(static_cast<WORD>(kPageSections[i]), 0));
            m_pPages[i]->OnInitPage();
        }
    }
}

int CMainTabs::ValidateAll()
{
    int valid = -1;
    for (xTabBase* pPage : m_pPages) {
        if (pPage != nullptr && pPage->IsPageShown() != 0 && pPage->Validate() == 0) {
            valid = 0;
        }
    }
    return valid;
}

void CMainTabs::RefreshAll()
{
    for (xTabBase* pPage : m_pPages) {
        if (pPage != nullptr && pPage->IsPageShown() != 0) {
            pPage->Refresh();
        }
    }
}

xTabBase* CMainTabs::CurrentPage() const
{
    if (m_pWidget == nullptr) {
        return nullptr;
    }
    const int current = gtk_notebook_get_current_page(GTK_NOTEBOOK(m_pWidget));
    for (xTabBase* pPage : m_pPages) {
        if (current >= 0 && PositionOf(pPage) == current) {
            return pPage;
        }
    }
    return nullptr;
}

int CMainTabs::QuerySaveButtons(int nReason)
{
    // The current page answers, unless another shown page holds something that must not be saved
    // (a rejected department code stays rejected when the user clicks to another tab): then that
    // page's answer, without Yes, stands.
    xTabBase* pCurrent = CurrentPage();
    for (xTabBase* pPage : m_pPages) {
        if (pPage != nullptr && pPage != pCurrent && pPage->IsPageShown() != 0) {
            const int nButtons = pPage->QuerySaveButtons(nReason, this);
            if (nButtons != MB_YESNOCANCEL) {
                return nButtons;
            }
        }
    }
    return pCurrent != nullptr ? pCurrent->QuerySaveButtons(nReason, this) : MB_YESNOCANCEL;
}

void CMainTabs::OnSwitchPage(int nPage)
{
    if (GetMainWindow() == nullptr) {
        return;
    }
    for (xTabBase* pPage : m_pPages) {
        if (pPage != nullptr && PositionOf(pPage) == nPage) {
            pPage->OnSetActive();
            return;
        }
    }
}
