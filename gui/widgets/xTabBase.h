// The base of every notebook page: the settings pages and the colour dialog's tabs.
#pragma once

#include "gui/widgets/xWidget.h"

class xLabel;
class xNoteBook;

// The page's own widget (usually a box) is made and attached by the subclass; the owner is the
// notebook the page goes into, and the id of a settings page is its UI text section.
class xTabBase : public xWidget {
public:
    // pszLabel: the tab's text (a centred label owned by the page); NULL for none.
    xTabBase(xWidget* pNoteBook, const char* pszLabel, int nID);
    ~xTabBase() override;

    // The tab label the notebook shows for the page; NULL for none.
    virtual xLabel* GetLabel();
    // -1 while the page is a page of its notebook, else 0 (also without notebook).
    virtual int IsPageShown();
    // Makes the page the notebook's current page. 0.
    virtual int Activate();
    // Nothing without tab label.
    virtual void SetLabelText(const char* pszText);
    // Fill the controls from newly loaded settings. Empty here.
    virtual void OnInitPage();
    // The page became the notebook's current page. Empty here.
    virtual void OnSetActive();
    // -1 valid; 0 forbids saving.
    virtual int Validate();
    // Re-read every control from the settings. Empty here.
    virtual void Refresh();
    // The buttons of the save-changes question while this page is current: MB_YESNOCANCEL.
    virtual int QuerySaveButtons(int nReason, xNoteBook* pNoteBook);

protected:
    // The owner's notebook widget and this page's number in it, -1 when not in it.
    int PageNumber();

    xLabel* m_pTabLabel;
};
