// Notebook pages: their tab label, whether the notebook holds them, and switching to them.
#include <gtest/gtest.h>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/widgets/Widgets.h"

namespace {

class Page : public xTabBase {
public:
    Page(xWidget* pNoteBook, const char* pszLabel, int nID) : xTabBase(pNoteBook, pszLabel, nID)
    {
        Attach(gtk_vbox_new(FALSE, 0));
    }
};

class RecordingNoteBook : public xNoteBook {
public:
    RecordingNoteBook() : xNoteBook(nullptr, 10) {}
    void OnSwitchPage(int nPage) override { m_pages.push_back(nPage); }
    std::vector<int> m_pages;
};

TEST(NoteBookPages, AppendShowAndActivate)
{
    xWindow window(nullptr);
    RecordingNoteBook notebook;
    window.Add(&notebook);
    Page basic(&notebook, "Basic", 100);
    Page output(&notebook, "Output", 150);
    Page notInserted(&notebook, "Quality", 200);
    Page orphan(nullptr, "Orphan", 250);

    EXPECT_EQ(notebook.AppendPage(&basic, basic.GetLabel()), 0);
    EXPECT_EQ(notebook.AppendPage(&output, output.GetLabel()), 1);
    EXPECT_EQ(gtk_container_get_border_width(GTK_CONTAINER(output.GetGtkWidget())), 5u);
    window.ShowAll();
    orvgui::PumpEvents();

    EXPECT_EQ(basic.IsPageShown(), -1);
    EXPECT_EQ(output.IsPageShown(), -1);
    EXPECT_EQ(notInserted.IsPageShown(), 0);
    EXPECT_EQ(orphan.IsPageShown(), 0);

    notebook.m_pages.clear();
    EXPECT_EQ(output.Activate(), 0);
    EXPECT_EQ(gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook.GetGtkWidget())), 1);
    EXPECT_EQ(notebook.m_pages, std::vector<int>{1});
    EXPECT_EQ(notInserted.Activate(), 0);
    EXPECT_EQ(orphan.Activate(), 0);
    EXPECT_EQ(gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook.GetGtkWidget())), 1);

    output.SetLabelText("_Output Options");
    GtkWidget* pTab = gtk_notebook_get_tab_label(GTK_NOTEBOOK(notebook.GetGtkWidget()), output.GetGtkWidget());
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(pTab)), "Output Options");

    gtk_notebook_remove_page(GTK_NOTEBOOK(notebook.GetGtkWidget()), 0);
    EXPECT_EQ(basic.IsPageShown(), 0);
    gtk_widget_destroy(window.GetGtkWidget());
}

TEST(NoteBookPages, DefaultsOfThePageOperations)
{
    Page page(nullptr, nullptr, 300);
    EXPECT_EQ(page.GetLabel(), nullptr);
    page.SetLabelText("ignored");
    EXPECT_EQ(page.Validate(), -1);
    EXPECT_EQ(page.QuerySaveButtons(0, nullptr), MB_YESNOCANCEL);
    page.OnInitPage();
    page.OnSetActive();
    page.Refresh();

    Page labelled(nullptr, "Job Type", 250);
    ASSERT_NE(labelled.GetLabel(), nullptr);
    GtkMisc* pMisc = GTK_MISC(labelled.GetLabel()->GetGtkWidget());
    gfloat fX = 0, fY = 0;
    gtk_misc_get_alignment(pMisc, &fX, &fY);
    EXPECT_FLOAT_EQ(fX, 0.5f);
    EXPECT_FLOAT_EQ(fY, 0.5f);
}

}  // namespace
