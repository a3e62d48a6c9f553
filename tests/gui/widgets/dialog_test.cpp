// Modal dialogs: their responses from buttons, Escape and the window manager's close, a response
// vetoed by OnResponse, nested message boxes, and what OnEndDialog can still read.
#include <algorithm>
#include <functional>
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gui/kit/GLibLogGuard.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/RecordingOwner.h"
#include "gui/widgets/Widgets.h"

using orvgui::ModalDriver;

namespace {

const char kTitle[] = "Sample Dialog";

// A dialog in the pattern of the program's dialog classes, with a few controls whose values
// OnEndDialog reads back after the window is gone.
class SampleDialog : public xDialog {
public:
    explicit SampleDialog(xWidget* pParent, int nVetoResponse = 0) : xDialog(pParent), m_nVetoResponse(nVetoResponse)
    {
        SetTitle(kTitle);
        m_pCheck = new xCheckBox(this, 1, "_Keep");
        m_pEntry = new xEntry(this, 2, 12);
        m_pSpin = new xSpinButton(this, 3, 0, 1, 999, 1);
        m_pSlider = new xSlider(1, this, 4, 0, -50, 50, 1);
        m_pCombo = new xComboBox(this, 5);
        GetContentBox()->PackStart(m_pCheck, FALSE, FALSE, 0);
        GetContentBox()->PackStart(m_pEntry, FALSE, FALSE, 0);
        GetContentBox()->PackStart(m_pSpin, FALSE, FALSE, 0);
        GetContentBox()->PackStart(m_pSlider, FALSE, FALSE, 0);
        GetContentBox()->PackStart(m_pCombo, FALSE, FALSE, 0);
        AddButton(GTK_STOCK_OK, IDOK);
        AddButton(GTK_STOCK_CANCEL, IDCANCEL);
        SetDefaultResponse(IDCANCEL);
    }
    ~SampleDialog() override
    {
        delete m_pCheck;
        delete m_pEntry;
        delete m_pSpin;
        delete m_pSlider;
        delete m_pCombo;
    }

    void OnInitDialog() override
    {
        ++m_nInits;
        m_pCombo->AddString("one", GINT_TO_POINTER(10), 0);
        m_pCombo->AddString("two", GINT_TO_POINTER(20), 0);
        m_pCombo->SetCurSel(0);
        m_pSpin->SetValue(5);
        m_pEntry->SetText("start");
    }
    int OnResponse(int nResponse) override
    {
        m_responses.push_back(nResponse);
        return nResponse == m_nVetoResponse ? 0 : -1;
    }
    void OnEndDialog(int nResult) override
    {
        m_nEndResult = nResult;
        m_bWidgetGone = GetGtkWidget() == nullptr;
        m_bCheck = m_pCheck->GetCheck();
        m_text = m_pEntry->GetText();
        m_nSpin = m_pSpin->GetValueInt();
        m_nSlider = m_pSlider->GetValueInt();
        m_nCombo = m_pCombo->GetCurSel();
        m_pComboData = m_pCombo->GetCurSelData();
    }

    int m_nVetoResponse;
    xCheckBox* m_pCheck;
    xEntry* m_pEntry;
    xSpinButton* m_pSpin;
    xSlider* m_pSlider;
    xComboBox* m_pCombo;
    int m_nInits = 0;
    std::vector<int> m_responses;
    int m_nEndResult = 0;
    bool m_bWidgetGone = false;
    int m_bCheck = 0;
    std::string m_text;
    int m_nSpin = 0;
    int m_nSlider = 0;
    int m_nCombo = -2;
    gpointer m_pComboData = nullptr;
};

struct ParentWindow {
    ParentWindow() : window(nullptr)
    {
        window.SetTitle("Parent Window");
        window.SetSize(300, 200);
        window.ShowAll();
        orvgui::PumpEvents();
    }
    ~ParentWindow() { gtk_widget_destroy(window.GetGtkWidget()); }
    xWindow window;
};

TEST(DialogDoModal, ReturnsTheResponseOfHowTheDialogEnded)
{
    struct Case {
        const char* name;
        std::function<void(GtkWidget*)> end;
        int nExpected;
        std::vector<int> responses;
    };
    const Case cases[] = {
        {"OkButton", [](GtkWidget* d) { orvgui::ClickResponse(d, IDOK); }, IDOK, {IDOK}},
        {"CancelButton", [](GtkWidget* d) { orvgui::ClickResponse(d, IDCANCEL); }, IDCANCEL, {IDCANCEL}},
        {"EscapeKey", [](GtkWidget* d) { orvgui::PressKey(d, GDK_Escape); }, IDCANCEL, {}},
        {"WindowManagerClose", [](GtkWidget* d) { orvgui::CloseByWindowManager(d); }, IDCANCEL, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParentWindow parent;
        SampleDialog dialog(&parent.window);
        ModalDriver driver;
        driver.OnWindow(kTitle, [&](GtkWindow* pWindow) {
            EXPECT_EQ(dialog.m_nInits, 1);
            EXPECT_TRUE(gtk_window_get_modal(pWindow));
            EXPECT_EQ(gtk_window_get_transient_for(pWindow), GTK_WINDOW(parent.window.GetGtkWidget()));
            c.end(GTK_WIDGET(pWindow));
        });
        driver.Start();
        EXPECT_EQ(dialog.DoModal(), c.nExpected);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(dialog.m_nEndResult, c.nExpected);
        EXPECT_EQ(dialog.m_responses, c.responses);
        EXPECT_TRUE(dialog.m_bWidgetGone);
        EXPECT_EQ(dialog.GetContentBox(), nullptr);
        EXPECT_EQ(orvgui::FindToplevel(kTitle), nullptr);
    }
}

TEST(DialogDoModal, VetoedResponseKeepsTheDialogOpen)
{
    ParentWindow parent;
    SampleDialog dialog(&parent.window, IDOK);
    ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* pWindow) {
        orvgui::ClickResponse(GTK_WIDGET(pWindow), IDOK);
        orvgui::PumpEvents();
        EXPECT_TRUE(GTK_WIDGET_VISIBLE(GTK_WIDGET(pWindow))) << "a vetoed OK must not end the dialog";
        orvgui::ClickResponse(GTK_WIDGET(pWindow), IDCANCEL);
    });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_responses, (std::vector<int>{IDOK, IDCANCEL}));
}

// The dialog's window is destroyed before OnEndDialog; the controls' wrappers keep their widgets
// alive, so what the user set can still be read there.
TEST(DialogDoModal, EndDialogReadsWhatTheUserSet)
{
    ParentWindow parent;
    SampleDialog dialog(&parent.window);
    ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* pWindow) {
        GtkWidget* pDialog = GTK_WIDGET(pWindow);
        auto* pCheck = dynamic_cast<xCheckBox*>(orvgui::FindControl(pDialog, 1, &dialog));
        auto* pEntry = dynamic_cast<xEntry*>(orvgui::FindControl(pDialog, 2, &dialog));
        auto* pSpin = dynamic_cast<xSpinButton*>(orvgui::FindControl(pDialog, 3, &dialog));
        auto* pSlider = dynamic_cast<xSlider*>(orvgui::FindControl(pDialog, 4, &dialog));
        auto* pCombo = dynamic_cast<xComboBox*>(orvgui::FindControl(pDialog, 5, &dialog));
        ASSERT_TRUE(pCheck && pEntry && pSpin && pSlider && pCombo);
        EXPECT_EQ(pSpin->GetValueInt(), 5);
        EXPECT_STREQ(pEntry->GetText(), "start");
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(pCheck->GetGtkWidget()), TRUE);
        gtk_entry_set_text(GTK_ENTRY(pEntry->GetGtkWidget()), "edited");
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(pSpin->GetGtkWidget()), 17);
        gtk_range_set_value(GTK_RANGE(pSlider->GetGtkWidget()), -23);
        gtk_combo_box_set_active(GTK_COMBO_BOX(pCombo->GetGtkWidget()), 1);
        orvgui::ClickResponse(pDialog, IDOK);
    });
    driver.Start();
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_bCheck, 1);
    EXPECT_EQ(dialog.m_text, "edited");
    EXPECT_EQ(dialog.m_nSpin, 17);
    EXPECT_EQ(dialog.m_nSlider, -23);
    EXPECT_EQ(dialog.m_nCombo, 1);
    EXPECT_EQ(dialog.m_pComboData, GINT_TO_POINTER(20));
}

// A message box opened from a dialog's handler runs its own loop inside the dialog's; both are
// driven and both answer.
TEST(DialogDoModal, MessageBoxOpenedFromTheDialogIsDrivenToo)
{
    class AskingDialog : public SampleDialog {
    public:
        using SampleDialog::SampleDialog;
        int OnResponse(int nResponse) override
        {
            if (nResponse != IDOK) {
                return -1;
            }
            m_nAnswer = xMessageBox(this, MB_YESNO | MB_ICONQUESTION, "Confirm", "Apply %d changes?", 3);
            return m_nAnswer == IDYES ? -1 : 0;
        }
        int m_nAnswer = 0;
    };
    ParentWindow parent;
    AskingDialog dialog(&parent.window);
    ModalDriver driver;
    driver.OnWindow(kTitle, [&](GtkWindow* pWindow) { orvgui::ClickResponse(GTK_WIDGET(pWindow), IDOK); })
        .OnWindow("Confirm", [&](GtkWindow* pBox) {
            EXPECT_TRUE(GTK_IS_MESSAGE_DIALOG(pBox));
            std::vector<std::string> texts = orvgui::LabelTexts(GTK_WIDGET(pBox));
            EXPECT_NE(std::find(texts.begin(), texts.end(), "Apply 3 changes?"), texts.end());
            orvgui::ClickResponse(GTK_WIDGET(pBox), IDNO);
        })
        .OnWindow(kTitle, [&](GtkWindow* pWindow) {
            EXPECT_EQ(dialog.m_nAnswer, IDNO);
            orvgui::ClickResponse(GTK_WIDGET(pWindow), IDOK);
        })
        .OnWindow("Confirm", [&](GtkWindow* pBox) { orvgui::ClickResponse(GTK_WIDGET(pBox), IDYES); });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nAnswer, IDYES);
    EXPECT_TRUE(driver.Done());
}

TEST(DialogAddButton, NullTextIsRefusedWithACritical)
{
    ParentWindow parent;
    SampleDialog dialog(&parent.window);
    orvgui::ExpectGLibLog expect(G_LOG_LEVEL_CRITICAL, "button_text != NULL");
    EXPECT_EQ(dialog.AddButton(nullptr, 5), nullptr);
    EXPECT_EQ(expect.Count(), 1);
}

// The help response goes to the button box's secondary group; others do not.
TEST(DialogAddButton, HelpResponseIsASecondaryButton)
{
    ParentWindow parent;
    SampleDialog dialog(&parent.window);
    GtkWidget* pHelp = dialog.AddButton(GTK_STOCK_HELP, GTK_RESPONSE_HELP);
    ASSERT_NE(pHelp, nullptr);
    GtkButtonBox* pBox = GTK_BUTTON_BOX(GTK_DIALOG(dialog.GetGtkWidget())->action_area);
    EXPECT_TRUE(gtk_button_box_get_child_secondary(pBox, pHelp));
    EXPECT_FALSE(gtk_button_box_get_child_secondary(pBox, orvgui::FindResponseButton(dialog.GetGtkWidget(), IDOK)));
    EXPECT_EQ(orvgui::FindResponseButton(dialog.GetGtkWidget(), GTK_RESPONSE_HELP), pHelp);
}

// The plain window the dialog replaces is destroyed at once; a dialog object deleted without
// being run takes its window with it.
TEST(DialogLifetime, LeavesNoTopLevelWindowBehind)
{
    ParentWindow parent;
    GList* pBefore = gtk_window_list_toplevels();
    guint nBefore = g_list_length(pBefore);
    g_list_free(pBefore);
    {
        xDialog dialog(&parent.window);
        GList* pDuring = gtk_window_list_toplevels();
        EXPECT_EQ(g_list_length(pDuring), nBefore + 1) << "only the dialog itself is a new top-level window";
        g_list_free(pDuring);
    }
    GList* pAfter = gtk_window_list_toplevels();
    EXPECT_EQ(g_list_length(pAfter), nBefore);
    g_list_free(pAfter);
}

}  // namespace
