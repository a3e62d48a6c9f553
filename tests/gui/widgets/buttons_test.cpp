// Buttons and toggles: when they notify, what they are built from, and the labels' mnemonics.
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

// A 16 x 16 picture made in the test, standing for a built-in one.
GdkPixbuf* NewTestPixbuf()
{
    GdkPixbuf* pPixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 16, 16);
    gdk_pixbuf_fill(pPixbuf, 0x3060a0ff);
    return pPixbuf;
}

struct ToggleKind {
    const char* name;
    std::function<xButtonBase*(xWidget*)> make;
};

const ToggleKind kToggleKinds[] = {
    {"ToggleButton", [](xWidget* o) { return new xToggleButton(o, 8, "_Toggle", 0); }},
    {"CheckBox", [](xWidget* o) { return new xCheckBox(o, 8, "_Check"); }},
    // The second radio of a group starts inactive; selecting it is a change.
    {"RadioBoxOfAGroup",
     [](xWidget* o) {
         static xRadioBox* s_pFirst = nullptr;
         delete s_pFirst;
         s_pFirst = new xRadioBox(nullptr, 1, "_First", nullptr);
         return new xRadioBox(o, 8, "_Radio", s_pFirst);
     }},
};

// SetCheck notifies inside the call exactly when the state changes.
TEST(ToggleNotifications, SetCheckNotifiesOnlyOnAChange)
{
    for (const ToggleKind& kind : kToggleKinds) {
        SCOPED_TRACE(kind.name);
        RecordingOwner recorder;
        std::unique_ptr<xButtonBase> button(kind.make(&recorder));
        // Every kind starts inactive except a lone radio button, which is its group's active one.
        int bStart = button->GetCheck();
        int bOther = bStart ? 0 : 1;
        struct Step {
            int bSet;
            bool bNotifies;
        };
        const Step steps[] = {{bStart, false}, {bOther, true}, {bOther, false}};
        for (const Step& step : steps) {
            recorder.Clear();
            button->SetCheck(step.bSet);
            EXPECT_EQ(button->GetCheck(), step.bSet);
            std::vector<Notification> expected;
            if (step.bNotifies) {
                expected.push_back({Notify::BtnClicked, 8});
            }
            EXPECT_EQ(recorder.Log(), expected) << "SetCheck(" << step.bSet << ")";
        }
    }
}

TEST(ToggleNotifications, SetCheckSilentlyNeverNotifies)
{
    RecordingOwner recorder;
    xToggleButton toggle(&recorder, 4, "_Silent", 0);
    for (int bSet : {1, 1, 0, 1, 0}) {
        toggle.SetCheckSilently(bSet);
        EXPECT_EQ(toggle.GetCheck(), bSet);
    }
    EXPECT_TRUE(recorder.Log().empty());
    // Afterwards the toggle notifies again.
    toggle.SetCheck(1);
    EXPECT_EQ(recorder.Log(), (std::vector<Notification>{{Notify::BtnClicked, 4}}));
}

TEST(RadioGroup, SelectingOneRadioNotifiesBothThatChanged)
{
    RecordingOwner recorder;
    xRadioBox first(&recorder, 1, "_First", nullptr);
    xRadioBox second(&recorder, 2, "_Second", &first);
    xRadioBox third(&recorder, 3, "_Third", &first);
    EXPECT_EQ(first.GetCheck(), 1);
    recorder.Clear();
    third.SetCheck(1);
    EXPECT_EQ(first.GetCheck(), 0);
    EXPECT_EQ(third.GetCheck(), 1);
    // GTK switches the old one off before the new one on.
    EXPECT_EQ(recorder.Log(), (std::vector<Notification>{{Notify::BtnClicked, 1}, {Notify::BtnClicked, 3}}));
}

// What a push button holds: a mnemonic label alone, or a picture with the text beside it.
TEST(ButtonContent, LabelImageAndStockMakeTheRightChildren)
{
    struct Case {
        const char* name;
        const char* label;
        const char* stock;
        bool bImage;
        bool bExpectLabelOnly;  // the button's own label, no box
        bool bExpectBox;        // picture and text side by side
        bool bExpectStockImage;
    };
    const Case cases[] = {
        {"LabelOnly", "_Apply", nullptr, false, true, false, false},
        {"StockAndLabel", "_Print", GTK_STOCK_PRINT, false, false, true, true},
        {"StockOnly", nullptr, GTK_STOCK_PRINT, false, false, false, true},
        {"NothingAtAll", nullptr, nullptr, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xButton button(nullptr, 1, c.label, 0, c.stock);
        GtkWidget* pChild = gtk_bin_get_child(GTK_BIN(button.GetGtkWidget()));
        if (c.bExpectLabelOnly) {
            ASSERT_TRUE(pChild != nullptr && GTK_IS_LABEL(pChild));
            EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(pChild)), "Apply");
            EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(pChild)), guint('a'));
        }
        EXPECT_EQ(pChild != nullptr && GTK_IS_HBOX(pChild), c.bExpectBox);
        GtkWidget* pImage = orvgui::FindWidgetOfType(button.GetGtkWidget(), GTK_TYPE_IMAGE);
        EXPECT_EQ(pImage != nullptr, c.bExpectStockImage);
        if (pImage != nullptr) {
            gchar* pszStock = nullptr;
            gtk_image_get_stock(GTK_IMAGE(pImage), &pszStock, nullptr);
            EXPECT_STREQ(pszStock, c.stock);
        }
        if (c.bExpectBox) {
            std::vector<std::string> texts = orvgui::LabelTexts(button.GetGtkWidget());
            EXPECT_EQ(texts, std::vector<std::string>{"Print"});
        }
    }
}

// Only a toggle button built with an image owns one; SetImage changes nothing elsewhere.
TEST(ButtonContent, SetImageOnlyChangesAnOwnedImage)
{
    xButton push(nullptr, 1, "_Push", 0, GTK_STOCK_OK);
    push.SetImage(7);
    GtkWidget* pImage = orvgui::FindWidgetOfType(push.GetGtkWidget(), GTK_TYPE_IMAGE);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(pImage)), GTK_IMAGE_STOCK);

    xToggleButton plain(nullptr, 2, "_Plain", 0);
    plain.SetImage(7);
    EXPECT_EQ(orvgui::FindWidgetOfType(plain.GetGtkWidget(), GTK_TYPE_IMAGE), nullptr);

    xCheckBox check(nullptr, 3, "_Check");
    check.SetImage(7);
    EXPECT_EQ(orvgui::FindWidgetOfType(check.GetGtkWidget(), GTK_TYPE_IMAGE), nullptr);
}

TEST(ToggleContent, ImageIdMakesAnOwnedImageBesideTheText)
{
    struct Case {
        const char* name;
        const char* label;
        bool bExpectBox;
    };
    const Case cases[] = {{"ImageAndLabel", "_Booklet", true}, {"ImageOnly", nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xToggleButton toggle(nullptr, 1, c.label, 0x10005);
        GtkWidget* pChild = gtk_bin_get_child(GTK_BIN(toggle.GetGtkWidget()));
        ASSERT_NE(pChild, nullptr);
        EXPECT_EQ(GTK_IS_HBOX(pChild), c.bExpectBox);
        EXPECT_EQ(GTK_IS_IMAGE(pChild), !c.bExpectBox);
        if (c.bExpectBox) {
            EXPECT_EQ(orvgui::LabelTexts(pChild), std::vector<std::string>{"Booklet"});
        }
    }
}

TEST(Labels, UnderscoreMakesAMnemonicAndNullIsEmpty)
{
    struct Case {
        const char* text;
        const char* shown;
        guint nMnemonic;
    };
    const Case cases[] = {
        {"Paper Si_ze :", "Paper Size :", 'z'},
        {"Copies", "Copies", GDK_VoidSymbol},
        {"", "", GDK_VoidSymbol},
        {nullptr, "", GDK_VoidSymbol},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        xLabel label(c.text, nullptr, -1, 0.0f, 0.5f);
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label.GetGtkWidget())), c.shown);
        EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(label.GetGtkWidget())), c.nMnemonic);
        xLabel relabelled("before", nullptr, -1, 0.0f, 0.5f);
        relabelled.SetText(c.text);
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(relabelled.GetGtkWidget())), c.shown);
        EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(relabelled.GetGtkWidget())), c.nMnemonic);
    }
}

TEST(Labels, MnemonicPointsAtTheControlsOwnWidget)
{
    xLabel label("_Printers", nullptr, -1, 0, 0);
    xListBox list(nullptr, 3, nullptr);
    label.SetMnemonicWidget(&list);
    EXPECT_EQ(gtk_label_get_mnemonic_widget(GTK_LABEL(label.GetGtkWidget())), GTK_WIDGET(list.GetTreeView()));
    label.SetMnemonicWidget(nullptr);
    EXPECT_EQ(gtk_label_get_mnemonic_widget(GTK_LABEL(label.GetGtkWidget())), GTK_WIDGET(list.GetTreeView()));

    xFrame framed("Out_put");
    xEntry entry(nullptr, 4, 5);
    framed.SetMnemonicWidget(&entry);
    GtkWidget* pFrameLabel = gtk_frame_get_label_widget(GTK_FRAME(framed.GetGtkWidget()));
    EXPECT_EQ(gtk_label_get_mnemonic_widget(GTK_LABEL(pFrameLabel)), entry.GetGtkWidget());

    // A frame built around a caller's label does not own it and leaves its mnemonic alone.
    xLabel own("_Own", nullptr, -1, 0, 0);
    xFrame borrowed(&own);
    borrowed.SetMnemonicWidget(&entry);
    EXPECT_EQ(gtk_label_get_mnemonic_widget(GTK_LABEL(own.GetGtkWidget())), nullptr);
    EXPECT_EQ(gtk_frame_get_label_widget(GTK_FRAME(borrowed.GetGtkWidget())), own.GetGtkWidget());
}

TEST(Ranges, GetValueIntTruncatesTowardZero)
{
    struct Case {
        double dValue;
        int nExpected;
    };
    const Case cases[] = {{2.9, 2}, {-2.9, -2}, {0.4, 0}, {-0.4, 0}, {50, 50}, {-50, -50}};
    xSlider slider(1, nullptr, 1, 1, -50, 50, 0.1);
    for (const Case& c : cases) {
        slider.SetValue(c.dValue);
        EXPECT_EQ(slider.GetValueInt(), c.nExpected) << c.dValue;
    }
    EXPECT_FALSE(gtk_scale_get_draw_value(GTK_SCALE(slider.GetGtkWidget())));
    EXPECT_EQ(gtk_scale_get_digits(GTK_SCALE(slider.GetGtkWidget())), 1);
}

TEST(Tables, ColumnSpacingOfOneOrAllColumns)
{
    xTable table(2, 3, FALSE, nullptr, -1);
    table.SetColSpacing(-1, 6);
    for (guint nColumn = 0; nColumn < 2; ++nColumn) {
        EXPECT_EQ(gtk_table_get_col_spacing(GTK_TABLE(table.GetGtkWidget()), nColumn), 6u);
    }
    table.SetColSpacing(1, 11);
    EXPECT_EQ(gtk_table_get_col_spacing(GTK_TABLE(table.GetGtkWidget()), 0), 6u);
    EXPECT_EQ(gtk_table_get_col_spacing(GTK_TABLE(table.GetGtkWidget()), 1), 11u);

    xLabel cell("cell", nullptr, -1, 0, 0);
    EXPECT_EQ(table.Attach(&cell, 1, 0, 2, 2, GTK_FILL, GTK_FILL, 0, 0), &cell);
    guint nLeft = 0, nRight = 0, nTop = 0, nBottom = 0;
    gtk_container_child_get(GTK_CONTAINER(table.GetGtkWidget()), cell.GetGtkWidget(), "left-attach", &nLeft,
                            "right-attach", &nRight, "top-attach", &nTop, "bottom-attach", &nBottom, nullptr);
    EXPECT_EQ(nLeft, 1u);
    EXPECT_EQ(nRight, 3u);
    EXPECT_EQ(nTop, 0u);
    EXPECT_EQ(nBottom, 2u);
}

TEST(Images, PixbufAndEmptyImages)
{
    GdkPixbuf* pPixbuf = NewTestPixbuf();
    xImage fromPixbuf(pPixbuf, nullptr, 1);
    EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(fromPixbuf.GetGtkWidget())), pPixbuf);
    fromPixbuf.SetImage(0);
    EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(fromPixbuf.GetGtkWidget())), nullptr);
    fromPixbuf.SetPixbuf(pPixbuf);
    EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(fromPixbuf.GetGtkWidget())), pPixbuf);
    // Only the low 16 bits of an image id count: 0x10000 is no picture.
    fromPixbuf.SetImage(0x10000);
    EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(fromPixbuf.GetGtkWidget())), nullptr);
    g_object_unref(pPixbuf);
}

}  // namespace
