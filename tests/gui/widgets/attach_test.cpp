// The wrapper's one reference on its widget: taken on attach, dropped on release, never a destroy.
#include <gtest/gtest.h>

#include "gui/kit/RecordingOwner.h"
#include "gui/widgets/Widgets.h"

namespace {

guint RefCount(GtkWidget* pWidget)
{
    return G_OBJECT(pWidget)->ref_count;
}

class Bare : public xWidget {
public:
    Bare() : xWidget(nullptr, 5) {}
};

TEST(WidgetReference, AttachHoldsExactlyOneReference)
{
    GtkWidget* pFirst = gtk_label_new("first");
    GtkWidget* pSecond = gtk_label_new("second");
    g_object_ref_sink(pFirst);
    g_object_ref_sink(pSecond);
    {
        Bare wrapper;
        wrapper.Attach(pFirst);
        EXPECT_EQ(RefCount(pFirst), 2u);
        EXPECT_EQ(xWidget::FromGtkWidget(pFirst), &wrapper);
        // The same widget again takes no second reference.
        wrapper.Attach(pFirst);
        EXPECT_EQ(RefCount(pFirst), 2u);
        // Another widget: the first is let go before the second is held.
        wrapper.Attach(pSecond);
        EXPECT_EQ(RefCount(pFirst), 1u);
        EXPECT_EQ(RefCount(pSecond), 2u);
        EXPECT_EQ(xWidget::FromGtkWidget(pFirst), nullptr);
        // NULL only releases.
        wrapper.Attach(nullptr);
        EXPECT_EQ(RefCount(pSecond), 1u);
        EXPECT_EQ(wrapper.GetGtkWidget(), nullptr);
        wrapper.Attach(pSecond);
    }
    EXPECT_EQ(RefCount(pSecond), 1u);
    g_object_unref(pFirst);
    g_object_unref(pSecond);
}

// A widget packed into a window lives as long as the window; deleting its wrapper leaves it, and
// its signals no longer reach the deleted wrapper.
TEST(WidgetReference, DeletingTheWrapperLeavesThePackedWidget)
{
    orvgui::RecordingOwner recorder;
    xWindow window(nullptr);
    xButton* pButton = new xButton(&recorder, 3, "_Go", 0, nullptr);
    GtkWidget* pWidget = pButton->GetGtkWidget();
    window.Add(pButton);
    delete pButton;
    ASSERT_TRUE(GTK_IS_BUTTON(pWidget));
    EXPECT_EQ(gtk_widget_get_parent(pWidget), window.GetGtkWidget());
    gtk_button_clicked(GTK_BUTTON(pWidget));
    EXPECT_TRUE(recorder.Log().empty());
    gtk_widget_destroy(window.GetGtkWidget());
}

// A window destroyed under its wrappers: the wrappers still hold their widgets and are deleted
// safely afterwards.
TEST(WidgetReference, WrappersOutliveTheirDestroyedWindow)
{
    xWindow* pWindow = new xWindow(nullptr);
    xBox* pBox = new xBox(XORIENT_VERTICAL, FALSE, 2);
    xLabel* pLabel = new xLabel("kept", nullptr, -1, 0, 0);
    pWindow->Add(pBox);
    pBox->PackStart(pLabel, FALSE, FALSE, 0);
    gtk_widget_destroy(pWindow->GetGtkWidget());
    EXPECT_TRUE(GTK_IS_LABEL(pLabel->GetGtkWidget()));
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(pLabel->GetGtkWidget())), "kept");
    delete pLabel;
    delete pBox;
    delete pWindow;
}

TEST(WidgetBasics, ShowEnableAndSize)
{
    xLabel label("sized", nullptr, -1, 0, 0);
    label.Show(1);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(label.GetGtkWidget()));
    label.Show(0);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(label.GetGtkWidget()));
    label.Enable(0);
    EXPECT_FALSE(GTK_WIDGET_SENSITIVE(label.GetGtkWidget()));
    label.SetSize(120, 33);
    int nWidth = 0;
    int nHeight = 0;
    label.GetSize(&nWidth, &nHeight);
    EXPECT_EQ(nWidth, 120);
    EXPECT_EQ(nHeight, 33);
    label.GetSize(nullptr, &nHeight);
    label.GetSize(&nWidth, nullptr);

    Bare empty;
    empty.Show(1);
    empty.Show(0);

    xAlignment align(0.5f, 0.5f, 0, 0);
    xLabel child("child", nullptr, -1, 0, 0);
    align.Add(&child);
    align.EnableChild(0);
    EXPECT_FALSE(GTK_WIDGET_SENSITIVE(child.GetGtkWidget()));
    xAlignment emptyBin(0, 0, 1, 1);
    emptyBin.EnableChild(0);
}

}  // namespace
