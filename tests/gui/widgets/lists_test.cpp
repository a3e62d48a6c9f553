// List boxes and combo boxes: rows, item data and the selection rules, with the notifications a
// programmatic selection raises.
#include <functional>
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/kit/RecordingOwner.h"
#include "gui/widgets/Widgets.h"

using orvgui::Notification;
using orvgui::Notify;
using orvgui::RecordingOwner;

namespace {

struct ListKind {
    const char* name;
    std::function<xListBase*(xWidget*)> make;
};

const ListKind kKinds[] = {
    {"ListBox", [](xWidget* o) { return new xListBox(o, 21, "Printers"); }},
    {"ComboBox", [](xWidget* o) { return new xComboBox(o, 21); }},
};

// Each list lives in a shown window, as on a page.
struct ShownList {
    explicit ShownList(const ListKind& kind) : window(nullptr), list(kind.make(&recorder))
    {
        window.Add(list.get());
        window.ShowAll();
        orvgui::PumpEvents();
    }
    ~ShownList() { gtk_widget_destroy(window.GetGtkWidget()); }
    void Fill(const std::vector<std::pair<const char*, int>>& rows)
    {
        for (const auto& row : rows) {
            list->AddString(row.first, GINT_TO_POINTER(row.second), 0);
        }
        recorder.Clear();
    }
    RecordingOwner recorder;
    xWindow window;
    std::unique_ptr<xListBase> list;
};

std::string TextOf(xListBase* pList, int nIndex)
{
    char* pszText = pList->GetText(nIndex);
    std::string text = pszText != nullptr ? pszText : "(null)";
    g_free(pszText);
    return text;
}

TEST(ListRows, AddStringCountsFromZeroAgainAfterReset)
{
    for (const ListKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ShownList shown(kind);
        xListBase* pList = shown.list.get();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(pList->AddString(("row " + std::to_string(i)).c_str(), GINT_TO_POINTER(100 + i), 0), i);
        }
        EXPECT_EQ(pList->GetCount(), 3);
        EXPECT_EQ(TextOf(pList, 2), "row 2");
        EXPECT_EQ(pList->GetItemData(1), GINT_TO_POINTER(101));
        pList->ResetContent();
        EXPECT_EQ(pList->GetCount(), 0);
        EXPECT_EQ(pList->AddString("again", nullptr, 0), 0);
    }
}

TEST(ListRows, OperationsOnMissingRowsDoNothing)
{
    for (const ListKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ShownList shown(kind);
        shown.Fill({{"A4", 9}, {"Letter", 1}});
        xListBase* pList = shown.list.get();
        for (int nIndex : {-5, -1, 2, 1000}) {
            SCOPED_TRACE(nIndex);
            EXPECT_EQ(pList->GetText(nIndex), nullptr);
            EXPECT_EQ(pList->GetItemData(nIndex), nullptr);
            pList->SetItemData(nIndex, GINT_TO_POINTER(77));
            pList->SetItemImage(nIndex, nullptr);
        }
        EXPECT_EQ(pList->GetItemData(0), GINT_TO_POINTER(9));
        EXPECT_EQ(pList->GetItemData(1), GINT_TO_POINTER(1));
        EXPECT_EQ(pList->GetCount(), 2);
        pList->SetItemData(1, GINT_TO_POINTER(55));
        EXPECT_EQ(pList->GetItemData(1), GINT_TO_POINTER(55));
        EXPECT_TRUE(shown.recorder.Log().empty());
    }
}

// A row added without text has none and matches no text.
TEST(ListRows, RowWithoutTextHasNoneAndMatchesNothing)
{
    for (const ListKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ShownList shown(kind);
        shown.list->AddString(nullptr, GINT_TO_POINTER(1), 0);
        shown.list->AddString("", GINT_TO_POINTER(2), 0);
        EXPECT_EQ(shown.list->GetText(0), nullptr);
        EXPECT_EQ(shown.list->SelectString(""), 1);
        EXPECT_EQ(shown.list->SelectString(nullptr), -1);
        EXPECT_EQ(shown.list->GetCurSel(), -1);
    }
}

struct SelectCase {
    const char* name;
    std::function<int(xListBase*)> act;
    int nReturned;
    int nSelected;
    bool bNotifies;
};

// Rows: "A4" 9, "Letter" 1, "A4" 3, "Legal" 1; before each case row 3 ("Legal") is selected.
const SelectCase kSelectCases[] = {
    {"SetCurSelRow", [](xListBase* l) { return l->SetCurSel(1); }, 1, 1, true},
    {"SetCurSelSameRow", [](xListBase* l) { return l->SetCurSel(3); }, 3, 3, false},
    {"SetCurSelNone", [](xListBase* l) { return l->SetCurSel(-1); }, -1, -1, false},
    {"SelectStringFirstOfEqualRows", [](xListBase* l) { return l->SelectString("A4"); }, 0, 0, true},
    {"SelectStringMissingClears", [](xListBase* l) { return l->SelectString("B5"); }, -1, -1, false},
    {"SelectStringNullClears", [](xListBase* l) { return l->SelectString(nullptr); }, -1, -1, false},
    {"SelectItemDataFirstOfEqualData", [](xListBase* l) { return l->SelectItemData(GINT_TO_POINTER(1)); }, 1, 1, true},
    {"SelectItemDataMissingClears", [](xListBase* l) { return l->SelectItemData(GINT_TO_POINTER(4)); }, -1, -1, false},
};

TEST(ListSelection, SelectionRulesOfBothKinds)
{
    for (const ListKind& kind : kKinds) {
        for (const SelectCase& c : kSelectCases) {
            SCOPED_TRACE(testing::Message() << kind.name << " " << c.name);
            ShownList shown(kind);
            shown.Fill({{"A4", 9}, {"Letter", 1}, {"A4", 3}, {"Legal", 1}});
            xListBase* pList = shown.list.get();
            ASSERT_EQ(pList->SetCurSel(3), 3);
            shown.recorder.Clear();

            EXPECT_EQ(c.act(pList), c.nReturned);
            EXPECT_EQ(pList->GetCurSel(), c.nSelected);
            // Clearing a combo box's choice is a change GTK announces, and a list box announces
            // every cursor placement, also on the row it is on; a list box's unselect is not a
            // cursor move.
            bool bComboBox = kind.name == std::string("ComboBox");
            bool bNotifies = c.bNotifies || (bComboBox && c.nSelected == -1) || (!bComboBox && c.nReturned >= 0);
            std::vector<Notification> expected;
            if (bNotifies) {
                expected.push_back({Notify::SelectChanged, 21});
            }
            EXPECT_EQ(shown.recorder.Log(), expected);

            gchar* pszText = pList->GetCurSelText();
            if (c.nSelected >= 0) {
                EXPECT_EQ(std::string(pszText != nullptr ? pszText : "(null)"), TextOf(pList, c.nSelected));
                EXPECT_EQ(pList->GetCurSelData(), pList->GetItemData(c.nSelected));
            } else {
                EXPECT_EQ(pszText, nullptr);
                EXPECT_EQ(pList->GetCurSelData(), nullptr);
            }
            g_free(pszText);
        }
    }
}

TEST(ListSelection, IndexPastTheLastRowSelectsNothing)
{
    for (const ListKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ShownList shown(kind);
        shown.Fill({{"A4", 9}, {"Letter", 1}});
        EXPECT_EQ(shown.list->SetCurSel(2), -1);
        EXPECT_EQ(shown.list->SetCurSel(50), -1);
        EXPECT_EQ(shown.list->GetCurSel(), -1);
        EXPECT_EQ(shown.list->SetCurSel(-7), -1);
    }
}

TEST(ListSelection, ListBoxUnselectWithNothingSelectedChangesNothing)
{
    ShownList shown(kKinds[0]);
    shown.Fill({{"A4", 9}});
    EXPECT_EQ(shown.list->SetCurSel(-1), -1);
    EXPECT_EQ(shown.list->GetCurSel(), -1);
    EXPECT_TRUE(shown.recorder.Log().empty());
}

// A user's choice in the list box (a cursor move by key) is read back like a programmatic one.
TEST(ListSelection, UsersCursorMoveIsTheSelection)
{
    ShownList shown(kKinds[0]);
    shown.Fill({{"A4", 9}, {"Letter", 1}, {"Legal", 5}});
    auto* pListBox = static_cast<xListBox*>(shown.list.get());
    ASSERT_EQ(pListBox->SetCurSel(0), 0);
    gtk_widget_grab_focus(GTK_WIDGET(pListBox->GetTreeView()));
    orvgui::GiveFocus(shown.window.GetGtkWidget());
    shown.recorder.Clear();
    orvgui::PressKey(shown.window.GetGtkWidget(), GDK_Down);
    EXPECT_EQ(pListBox->GetCurSel(), 1);
    EXPECT_EQ(pListBox->GetCurSelData(), GINT_TO_POINTER(1));
    EXPECT_EQ(shown.recorder.Log(), (std::vector<Notification>{{Notify::SelectChanged, 21}}));
}

TEST(ComboRows, PictureColumnHoldsTheRowsImage)
{
    ShownList shown(kKinds[1]);
    shown.Fill({{"Plain", 1}, {"Thick", 2}});
    GdkPixbuf* pPixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 12, 12);
    gdk_pixbuf_fill(pPixbuf, 0xff0000ff);
    shown.list->SetItemImage(1, pPixbuf);
    GtkTreeIter iter;
    ASSERT_TRUE(gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(shown.list->GetStore()), &iter, nullptr, 1));
    GdkPixbuf* pStored = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(shown.list->GetStore()), &iter, LIST_COLUMN_PIXBUF, &pStored, -1);
    EXPECT_EQ(pStored, pPixbuf);
    if (pStored != nullptr) {
        g_object_unref(pStored);
    }
    g_object_unref(pPixbuf);
}

}  // namespace
