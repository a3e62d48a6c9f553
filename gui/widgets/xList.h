// List controls: the shared three-column row store, a one-column list box and a combo box whose
// rows may carry a picture.
#pragma once

#include "gui/widgets/xWidget.h"

// Columns of a list's store.
enum {
    LIST_COLUMN_PIXBUF = 0,  // the row's picture, may be NULL
    LIST_COLUMN_TEXT = 1,    // the row's text
    LIST_COLUMN_DATA = 2,    // the owner's item data, never dereferenced or freed by the list
};

// Rows are addressed by index from 0 in insertion order; -1 means no row. Row texts are copied
// into the store. Selecting a row from code raises OnNofitySelectChanged as a user's choice does.
class xListBase : public xWidget {
public:
    ~xListBase() override;

    virtual void ResetContent();
    virtual int GetCount();
    // The selected row, -1 for none.
    virtual int GetCurSel() = 0;
    // Selects a row; returns it, or -1 when nothing ends up selected.
    virtual int SetCurSel(int nIndex) = 0;
    // Appends a row (picture: the built-in image of a nonzero id); returns its index.
    virtual int AddString(const char* pszText, gpointer pItemData, int nImageID);
    // Nothing for a row that does not exist.
    virtual void SetItemData(int nIndex, gpointer pItemData);
    // The selected row's item data; NULL when nothing is selected.
    virtual gpointer GetCurSelData();
    // A copy of the selected row's text for the caller to g_free; NULL when nothing is selected.
    virtual char* GetCurSelText();
    // Selects the first row with that text; with none (or NULL) clears the selection. Returns
    // what SetCurSel returned.
    virtual int SelectString(const char* pszText);
    // The first row with that item data, -1 for none.
    virtual int FindItemData(gpointer pItemData);
    virtual int SelectItemData(gpointer pItemData);
    // A copy of the row's text for the caller to g_free; NULL for no row or no text.
    virtual char* GetText(int nIndex);
    // NULL for a row that does not exist.
    virtual gpointer GetItemData(int nIndex);
    // Nothing for a row that does not exist.
    virtual void SetItemImage(int nIndex, GdkPixbuf* pPixbuf);
    // The selection changed: the owner's OnNofitySelectChanged with the list's id.
    virtual void OnSelChanged() = 0;

    GtkListStore* GetStore() const { return m_pStore; }

protected:
    xListBase(xWidget* pOwner, int nID);
    void CreateRenderers();
    // The iterator of a row; false for a row that does not exist.
    bool GetRow(int nIndex, GtkTreeIter* pIter);
    // Raises OnNofitySelectChanged to the owner.
    void NotifySelChanged();

    GtkListStore* m_pStore;
    GtkCellRenderer* m_pPixbufRenderer;
    GtkCellRenderer* m_pTextRenderer;
};

class xListBox : public xListBase {
public:
    // A framed, scrolled one-column list; the column header shows the title, none for NULL.
    // Row pictures are not shown.
    xListBox(xWidget* pOwner, int nID, const char* pszTitle);
    ~xListBox() override;

    // The tree view, so that a label's mnemonic points at the list itself.
    GtkWidget* GetWidget() override;
    // The cursor row when it is also selected; -1 otherwise.
    int GetCurSel() override;
    // A negative index unselects and returns -1; a row that does not exist changes nothing.
    int SetCurSel(int nIndex) override;
    void OnSelChanged() override;

    GtkTreeView* GetTreeView() const { return GTK_TREE_VIEW(m_pTreeView); }

protected:
    GtkWidget* m_pScrolled;
    GtkWidget* m_pTreeView;
};

class xComboBox : public xListBase {
public:
    xComboBox(xWidget* pOwner, int nID);

    int GetCurSel() override;
    // -1 clears the selection; an index past the last row selects nothing and returns -1.
    int SetCurSel(int nIndex) override;
    void OnSelChanged() override;
};
