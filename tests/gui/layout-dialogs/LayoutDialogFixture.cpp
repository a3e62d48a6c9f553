#include "gui/layout-dialogs/LayoutDialogFixture.h"

#include "gui/kit/GuiActions.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xDialog.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xList.h"
#include "gui/widgets/xWidget.h"
#include "gui/kit/ModalDriver.h"

#include <filesystem>
#include <fstream>

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

namespace layouttest {

namespace {

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

// A queue PPD of the colour model that names another model data file, and that file copied into
// the install tree's data directory.
std::string VariantQueuePpd(const setuptest::InstallTree& tree, const orvtest::ScratchDir& dir,
                            const std::string& name, const std::string& compiledModel)
{
    const std::string modelFile = name + ".pcsp";
    std::filesystem::copy_file(compiledModel, tree.DataDir() + "/" + modelFile,
                               std::filesystem::copy_options::overwrite_existing);
    std::string text = setuptest::ReadText(setuptest::WriteSamplePpd(dir, "GC7350", name + "-src.ppd", kUtility));
    const std::string from = "\"GC7350.pcsp\"";
    text.replace(text.find(from), from.size(), "\"" + modelFile + "\"");
    return dir.WriteFile(name + ".ppd", text);
}

}  // namespace

const char* EndingName(Ending ending)
{
    switch (ending) {
    case Ending::Ok:
        return "OK";
    case Ending::Cancel:
        return "Cancel";
    case Ending::Escape:
        return "Escape";
    case Ending::WindowManager:
        return "window-manager close";
    }
    return "?";
}

const std::vector<Ending>& NonOkEndings()
{
    static const std::vector<Ending> endings = {Ending::Cancel, Ending::Escape, Ending::WindowManager};
    return endings;
}

void LayoutDialogs::SetUp()
{
    m_tree = std::make_unique<setuptest::InstallTree>();
    m_ppds = std::make_unique<orvtest::ScratchDir>();
    std::vector<setuptest::FakeDest> dests = {
        {"colour", setuptest::WriteSamplePpd(*m_ppds, "GC7350", "colour.ppd", kUtility)},
        {"mono", setuptest::WriteSamplePpd(*m_ppds, "GM4150", "mono.ppd", kUtility)},
        {"small", setuptest::WriteSamplePpd(*m_ppds, "GM1000", "small.ppd", kUtility)},
        {"limits", VariantQueuePpd(*m_tree, *m_ppds, "limits", ORV_LAYOUT_LIMITS_MODEL)},
        {"nolimits", VariantQueuePpd(*m_tree, *m_ppds, "nolimits", ORV_LAYOUT_NOLIMITS_MODEL)},
    };
    m_cups = std::make_unique<setuptest::FakeCups>(std::move(dests));
    ASSERT_NE(m_cups->Table()->handle, nullptr);
    m_app = std::make_unique<guitest::TestApp>(*m_cups->Table());
    ASSERT_NE(m_app->Start(), 0);
    ASSERT_NE(Win(), nullptr);
}

void LayoutDialogs::TearDown()
{
    m_app.reset();
    m_cups.reset();
    m_ppds.reset();
    m_tree.reset();
}

void LayoutDialogs::Load(const std::string& queue)
{
    Win()->GetPrinterList()->SelectString(queue.c_str());
    guitest::Pump();
    ASSERT_STREQ(Win()->GetLoadedName(), queue.c_str());
    ASSERT_NE(Info(), nullptr);
}

int LayoutDialogs::Run(xDialog& dialog, const std::string& title, const std::function<void(GtkWidget*)>& act,
                       Ending ending)
{
    orvgui::ModalDriver driver;
    driver.OnWindow(title, [&](GtkWindow* pWindow) {
        GtkWidget* pDialog = GTK_WIDGET(pWindow);
        if (act) {
            act(pDialog);
        }
        switch (ending) {
        case Ending::Ok:
            orvgui::ClickResponse(pDialog, IDOK);
            break;
        case Ending::Cancel:
            orvgui::ClickResponse(pDialog, IDCANCEL);
            break;
        case Ending::Escape:
            orvgui::PressKey(pDialog, GDK_Escape);
            break;
        case Ending::WindowManager:
            orvgui::CloseByWindowManager(pDialog);
            break;
        }
    });
    driver.Start();
    const int nResult = dialog.DoModal();
    EXPECT_TRUE(driver.Done());
    guitest::Pump();
    return nResult;
}

xWidget* LayoutDialogs::FindOwned(GtkWidget* pWindow, const xDialog& dialog, int nID)
{
    return orvgui::FindControl(pWindow, nID, &dialog);
}

void LayoutDialogs::Click(xWidget* pButton)
{
    ASSERT_NE(pButton, nullptr);
    gtk_button_clicked(GTK_BUTTON(pButton->GetGtkWidget()));
    orvgui::PumpEvents();
}

void LayoutDialogs::SetSpin(xSpinButton* pSpin, double dValue)
{
    ASSERT_NE(pSpin, nullptr);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(pSpin->GetGtkWidget()), dValue);
    orvgui::PumpEvents();
}

void LayoutDialogs::ChooseValue(xComboBox* pCombo, long lValue)
{
    ASSERT_NE(pCombo, nullptr);
    const int nRow = pCombo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(lValue)));
    ASSERT_GE(nRow, 0) << "no row carries " << lValue;
    gtk_combo_box_set_active(GTK_COMBO_BOX(pCombo->GetGtkWidget()), nRow);
    orvgui::PumpEvents();
}

long LayoutDialogs::SelectedValue(xComboBox* pCombo)
{
    if (pCombo == nullptr || pCombo->GetCurSel() < 0) {
        return -1;
    }
    return static_cast<long>(reinterpret_cast<intptr_t>(pCombo->GetCurSelData()));
}

bool LayoutDialogs::Active(xWidget* pToggle)
{
    return pToggle != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(pToggle->GetGtkWidget()));
}

bool LayoutDialogs::Visible(xWidget* pWidget)
{
    return pWidget != nullptr && GTK_WIDGET_VISIBLE(pWidget->GetGtkWidget());
}

bool LayoutDialogs::Sensitive(xWidget* pWidget)
{
    return pWidget != nullptr && GTK_WIDGET_SENSITIVE(pWidget->GetGtkWidget());
}

int LayoutDialogs::PictureOf(xWidget* pToggle)
{
    if (pToggle == nullptr) {
        return -1;
    }
    GtkWidget* pImage = orvgui::FindWidgetOfType(pToggle->GetGtkWidget(), GTK_TYPE_IMAGE);
    if (pImage == nullptr || gtk_image_get_storage_type(GTK_IMAGE(pImage)) != GTK_IMAGE_PIXBUF) {
        return 0;
    }
    GdkPixbuf* pShown = gtk_image_get_pixbuf(GTK_IMAGE(pImage));
    for (int nID = 2200; nID < 2300; ++nID) {
        if (pShown != nullptr && BuiltinImageOrNull(nID) == pShown) {
            return nID;
        }
    }
    return 0;
}

std::vector<std::string> LayoutDialogs::Labels(GtkWidget* pWindow)
{
    return orvgui::LabelTexts(pWindow);
}

}  // namespace layouttest

namespace layouttest {

::testing::AssertionResult SameRecord(const DRVDEVMODE& actual, const DRVDEVMODE& expected)
{
    static_assert(sizeof(DRVDEVMODE) == 1232);
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    const auto* e = reinterpret_cast<const unsigned char*>(&expected);
    for (size_t i = 0; i < sizeof(DRVDEVMODE); ++i) {
        if (a[i] != e[i]) {
            return ::testing::AssertionFailure() << "the records differ first at byte " << i << " (private offset "
                                                 << static_cast<long>(i) - 96 << "): " << int(a[i]) << " vs "
                                                 << int(e[i]);
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace layouttest
