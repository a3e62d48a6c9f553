// The layout dialogs' tests: the settings program's main window over the sample queues (colour,
// mono and small models, loaded as the program loads them), and a dialog run through its modal
// loop with one step that acts on it through real signals and ends it.
#pragma once

#include "core/dialog/DialogInfo.h"
#include "gui/MainWin.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "printer-setup/SetupTestSupport.h"

#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class xWidget;
class xSpinButton;
class xComboBox;
class xDialog;
class xToggleButton;

namespace layouttest {

// How a test ends a dialog.
enum class Ending { Ok, Cancel, Escape, WindowManager };
const char* EndingName(Ending ending);
// Every way that is not OK.
const std::vector<Ending>& NonOkEndings();

class LayoutDialogs : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads one of the queues: "colour", "mono" and "small" over the sample models, "limits"
    // and "nolimits" over the colour model with other layout limits (see CMakeLists.txt).
    void Load(const std::string& queue);

    CMainWin* Win() const { return m_app->Window(); }
    tagDIALOGINFO* Info() const { return Win()->GetDialogInfo(); }
    DRVDEVMODE& Working() const { return Info()->psdm; }

    // Runs the dialog: act(dialog window) acts on it, then the dialog is ended as given; the
    // dialog's result.
    int Run(xDialog& dialog, const std::string& title, const std::function<void(GtkWidget*)>& act, Ending ending);

    // Controls of a shown dialog, by id among the dialog's own.
    template <typename T>
    static T* Control(GtkWidget* pWindow, const xDialog& dialog, int nID)
    {
        return dynamic_cast<T*>(FindOwned(pWindow, dialog, nID));
    }
    static xWidget* FindOwned(GtkWidget* pWindow, const xDialog& dialog, int nID);

    // A user's click on a button, a spin value typed and committed, a combo row chosen by its
    // value.
    static void Click(xWidget* pButton);
    static void SetSpin(xSpinButton* pSpin, double dValue);
    static void ChooseValue(xComboBox* pCombo, long lValue);
    static long SelectedValue(xComboBox* pCombo);
    static bool Active(xWidget* pToggle);
    static bool Visible(xWidget* pWidget);
    static bool Sensitive(xWidget* pWidget);
    // The picture id a toggle shows: the built-in image whose pixbuf is the toggle's.
    static int PictureOf(xWidget* pToggle);
    // The label texts of the window, mnemonic underscores removed.
    static std::vector<std::string> Labels(GtkWidget* pWindow);

private:
    std::unique_ptr<setuptest::InstallTree> m_tree;
    std::unique_ptr<orvtest::ScratchDir> m_ppds;
    std::unique_ptr<setuptest::FakeCups> m_cups;
    std::unique_ptr<guitest::TestApp> m_app;

protected:
    setuptest::InstallTree& Tree() { return *m_tree; }
};

}  // namespace layouttest

namespace layouttest {

// Whether two settings records are the same 1232 bytes; the failure names the first offset
// that differs.
::testing::AssertionResult SameRecord(const DRVDEVMODE& actual, const DRVDEVMODE& expected);

}  // namespace layouttest
