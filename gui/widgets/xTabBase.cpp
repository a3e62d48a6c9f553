#include "gui/widgets/xTabBase.h"

#include "gui/widgets/xLabel.h"
#include "gui/widgets/xMessageBox.h"

xTabBase::xTabBase(xWidget* pNoteBook, const char* pszLabel, int nID)
    : xWidget(pNoteBook, nID), m_pTabLabel(pszLabel != NULL ? new xLabel(pszLabel, NULL, -1, 0.5f, 0.5f) : NULL)
{
}

xTabBase::~xTabBase()
{
    delete m_pTabLabel;
}

xLabel* xTabBase::GetLabel()
{
    return m_pTabLabel;
}

int xTabBase::PageNumber()
{
    GtkWidget* pNoteBook = m_pOwner != NULL ? m_pOwner->GetGtkWidget() : NULL;
    if (pNoteBook == NULL || !GTK_IS_NOTEBOOK(pNoteBook) || m_pWidget == NULL) {
        return -1;
    }
    return gtk_notebook_page_num(GTK_NOTEBOOK(pNoteBook), m_pWidget);
}

int xTabBase::IsPageShown()
{
    return PageNumber() >= 0 ? -1 : 0;
}

int xTabBase::Activate()
{
    int nPage = PageNumber();
    if (nPage >= 0) {
        gtk_notebook_set_current_page(GTK_NOTEBOOK(m_pOwner->GetGtkWidget()), nPage);
    }
    return 0;
}

void xTabBase::SetLabelText(const char* pszText)
{
    if (m_pTabLabel != NULL) {
        m_pTabLabel->SetText(pszText);
    }
}

void xTabBase::OnInitPage() {}

void xTabBase::OnSetActive() {}

int xTabBase::Validate()
{
    return -1;
}

void xTabBase::Refresh() {}

int xTabBase::QuerySaveButtons(int, xNoteBook*)
{
    return MB_YESNOCANCEL;
}
