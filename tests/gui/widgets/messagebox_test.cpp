// The message box: buttons and icon of each style, the answer of a box closed without a button,
// its title, and a text the tables lack.
#include <functional>
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/widgets/Widgets.h"

using orvgui::ModalDriver;

namespace {

struct ShownButton {
    std::string stock;
    int nResponse;
    bool operator==(const ShownButton& o) const { return stock == o.stock && nResponse == o.nResponse; }
};

std::ostream& operator<<(std::ostream& os, const ShownButton& b)
{
    return os << "{" << b.stock << ", " << b.nResponse << "}";
}

// The action area's buttons left to right as shown: dialog buttons are packed at the end, so the
// first one added stands rightmost.
std::vector<ShownButton> ShownButtons(GtkWidget* pDialog)
{
    std::vector<ShownButton> out;
    GList* pChildren = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(pDialog)->action_area));
    for (GList* p = pChildren; p != nullptr; p = p->next) {
        GtkWidget* pButton = GTK_WIDGET(p->data);
        const char* pszLabel = gtk_button_get_label(GTK_BUTTON(pButton));
        out.push_back({pszLabel != nullptr ? pszLabel : "", gtk_dialog_get_response_for_widget(GTK_DIALOG(pDialog), pButton)});
    }
    g_list_free(pChildren);
    return out;
}

GtkMessageType TypeOf(GtkWidget* pBox)
{
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(pBox, "message-type", &type, nullptr);
    return type;
}

const ShownButton kOk = {GTK_STOCK_OK, IDOK};
const ShownButton kCancel = {GTK_STOCK_CANCEL, IDCANCEL};
const ShownButton kYes = {GTK_STOCK_YES, IDYES};
const ShownButton kNo = {GTK_STOCK_NO, IDNO};

struct StyleCase {
    int nStyle;
    std::vector<ShownButton> buttons;
    GtkMessageType type;
};

// The low nibble chooses the buttons (unknown values show OK alone), the next the icon (unknown
// values and 0 show none).
const StyleCase kStyles[] = {
    {0x00, {kOk}, GTK_MESSAGE_OTHER},
    {0x01, {kOk, kCancel}, GTK_MESSAGE_OTHER},
    {0x02, {kOk}, GTK_MESSAGE_OTHER},
    {0x03, {kYes, kNo, kCancel}, GTK_MESSAGE_OTHER},
    {0x04, {kYes, kNo}, GTK_MESSAGE_OTHER},
    {0x05, {kOk}, GTK_MESSAGE_OTHER},
    {0x06, {kNo, kCancel}, GTK_MESSAGE_OTHER},
    {0x07, {kOk}, GTK_MESSAGE_OTHER},
    {0x0F, {kOk}, GTK_MESSAGE_OTHER},
    {0x10, {kOk}, GTK_MESSAGE_ERROR},
    {0x21, {kOk, kCancel}, GTK_MESSAGE_QUESTION},
    {0x23, {kYes, kNo, kCancel}, GTK_MESSAGE_QUESTION},
    {0x34, {kYes, kNo}, GTK_MESSAGE_WARNING},
    {0x46, {kNo, kCancel}, GTK_MESSAGE_INFO},
    {0x50, {kOk}, GTK_MESSAGE_OTHER},
    {0xF3, {kYes, kNo, kCancel}, GTK_MESSAGE_OTHER},
};

TEST(MessageBoxStyle, ShowsTheButtonsAndIconOfTheStyle)
{
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.nStyle);
        ModalDriver driver;
        driver.OnWindow("Style", [&](GtkWindow* pBox) {
            std::vector<ShownButton> shown = ShownButtons(GTK_WIDGET(pBox));
            std::vector<ShownButton> expected(c.buttons.rbegin(), c.buttons.rend());
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(TypeOf(GTK_WIDGET(pBox)), c.type);
            orvgui::ClickResponse(GTK_WIDGET(pBox), c.buttons.front().nResponse);
        });
        driver.Start();
        EXPECT_EQ(xMessageBox(nullptr, c.nStyle, "Style", "text"), c.buttons.front().nResponse);
    }
}

TEST(MessageBoxStyle, EveryButtonAnswersItsOwnId)
{
    for (const StyleCase& c : kStyles) {
        for (const ShownButton& button : c.buttons) {
            SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.nStyle << " button " << button);
            ModalDriver driver;
            driver.OnWindow("Answer", [&](GtkWindow* pBox) { orvgui::ClickResponse(GTK_WIDGET(pBox), button.nResponse); });
            driver.Start();
            EXPECT_EQ(xMessageBox(nullptr, c.nStyle, "Answer", "%s", "text"), button.nResponse);
        }
    }
}

// Closed without a button (Escape or the window manager): the last button's answer.
TEST(MessageBoxStyle, ClosedWithoutAButtonAnswersTheLastButton)
{
    struct Case {
        int nStyle;
        int nExpected;
    };
    const Case cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDNO},
                          {MB_YESNOCANCEL, IDCANCEL}, {MB_NOCANCEL, IDCANCEL}, {0x09, IDOK}};
    for (const Case& c : cases) {
        for (bool bEscape : {true, false}) {
            SCOPED_TRACE(testing::Message() << "style " << c.nStyle << (bEscape ? " Escape" : " window manager"));
            ModalDriver driver;
            driver.OnWindow("Closed", [&](GtkWindow* pBox) {
                if (bEscape) {
                    orvgui::PressKey(GTK_WIDGET(pBox), GDK_Escape);
                } else {
                    orvgui::CloseByWindowManager(GTK_WIDGET(pBox));
                }
            });
            driver.Start();
            EXPECT_EQ(xMessageBox(nullptr, c.nStyle, "Closed", "text"), c.nExpected);
            EXPECT_TRUE(driver.Done());
        }
    }
}

TEST(MessageBoxText, FormatsTheTextAndShowsItLiterally)
{
    struct Case {
        const char* name;
        std::function<int()> show;
        const char* expected;
    };
    const Case cases[] = {
        {"Formatted", [] { return xMessageBox(nullptr, MB_OK, "Text", "Paper(%s,%s) not loaded in %s.", "A4", "Plain", "Tray 1"); },
         "Paper(A4,Plain) not loaded in Tray 1."},
        // A percent sign in an argument is not formatted again.
        {"PercentInArgument", [] { return xMessageBox(nullptr, MB_OK, "Text", "%s", "100% %s %d"); }, "100% %s %d"},
        // A key the tables lack arrives as a NULL format: an empty message, not a crash.
        {"NullFormat", [] { return xMessageBox(nullptr, MB_OKCANCEL, "Text", nullptr); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string shown = "(none)";
        ModalDriver driver;
        driver.OnWindow("Text", [&](GtkWindow* pBox) {
            gchar* pszText = nullptr;
            g_object_get(pBox, "text", &pszText, nullptr);
            shown = pszText != nullptr ? pszText : "";
            g_free(pszText);
            orvgui::ClickResponse(GTK_WIDGET(pBox), IDOK);
        });
        driver.Start();
        EXPECT_EQ(c.show(), IDOK);
        EXPECT_EQ(shown, c.expected);
    }
}

TEST(MessageBoxTitle, GivenTitleElseTheParentsElseNone)
{
    xWindow parent(nullptr);
    parent.SetTitle("Printers");
    parent.ShowAll();
    orvgui::PumpEvents();
    xLabel labelInParent("inside", nullptr, -1, 0, 0);
    parent.Add(&labelInParent);
    struct Case {
        const char* name;
        xWidget* pParent;
        const char* title;
        const char* expected;
    };
    const Case cases[] = {
        {"Given", &parent, "Own Title", "Own Title"},
        {"FromParentWindow", &parent, nullptr, "Printers"},
        {"FromWindowOfAControl", &labelInParent, nullptr, "Printers"},
        {"NoneWithoutParent", nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalDriver driver;
        driver.OnWindow(c.expected, [&](GtkWindow* pBox) {
            const char* pszTitle = gtk_window_get_title(pBox);
            EXPECT_STREQ(pszTitle != nullptr ? pszTitle : "", c.expected);
            EXPECT_TRUE(GTK_IS_MESSAGE_DIALOG(pBox));
            EXPECT_EQ(gtk_window_get_transient_for(pBox),
                      c.pParent != nullptr ? GTK_WINDOW(parent.GetGtkWidget()) : nullptr);
            orvgui::ClickResponse(GTK_WIDGET(pBox), IDOK);
        });
        driver.Start();
        EXPECT_EQ(xMessageBox(c.pParent, MB_OK, c.title, "text"), IDOK);
        EXPECT_TRUE(driver.Done());
    }
    gtk_widget_destroy(parent.GetGtkWidget());
}

}  // namespace
