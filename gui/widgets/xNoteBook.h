// Notebooks of pages with tabs.
#pragma once

#include "gui/widgets/xContainer.h"

class xNoteBook : public xContainer {
public:
    xNoteBook(xWidget* pOwner, int nID);

    // The notebook switched to page nPage; empty here, overridden by notebooks that react.
    virtual void OnSwitchPage(int nPage);

    // Gives the page a border of 5 and appends it with the tab label (NULL: GTK's default label);
    // returns the new page's index.
    int AppendPage(xWidget* pPage, xWidget* pTabLabel);
};
