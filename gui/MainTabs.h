// The notebook in the main window's right pane. It holds the settings pages at fixed indexes,
// shows a page only while it applies to the loaded queue (no page without a queue), and passes the
// main window's questions and commands on to the pages that are shown.
#pragma once

#include "gui/widgets/xNoteBook.h"

class xTabBase;

class CMainTabs : public xNoteBook {
public:
    // Indexes of the pages; a page's position among the tabs follows its index.
    enum { PAGE_BASIC = 0, PAGE_OUTPUT = 1, PAGE_JOBTYPE = 2, PAGE_QUALITY = 3, PAGE_COUNT = 4 };

    CMainTabs(xWidget* pOwner, int nID);
    ~CMainTabs() override;

    // The page at that notebook position becomes active (xTabBase::OnSetActive).
    void OnSwitchPage(int nPage) override;

    // After every load or unload: shows the pages that apply to the loaded queue (none without
    // one), sets their captions again and lets each fill its controls.
    virtual void InitPages();
    // AND of Validate over the shown pages; true when none is shown.
    virtual int ValidateAll();
    // Refresh on every shown page, in index order.
    virtual void RefreshAll();
    // The buttons for the save prompt: a shown page that holds what must not be saved answers
    // (without Yes), else the current page; MB_YESNOCANCEL without a current page.
    virtual int QuerySaveButtons(int nReason);

    // Puts the page into the notebook (after the nearest shown page of a lower index) or takes it
    // out; the page keeps its widgets and state while it is out. Nothing for an index outside
    // 0..3 or an empty slot.
    void ShowPage(int nIndex, int bShow);

    xTabBase* GetPage(int nIndex) const;
    int GetShownPageCount() const;

protected:
    // The position of the page's widget in the notebook, -1 when it is not in it.
    int PositionOf(const xTabBase* pPage) const;
    // The page at the notebook's current position; NULL when none.
    xTabBase* CurrentPage() const;

    xTabBase* m_pPages[PAGE_COUNT];
};
