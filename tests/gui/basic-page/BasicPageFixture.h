// The settings program over a fake CUPS system with the sample queues, and the Basic page's
// controls within reach: combos chosen and toggles clicked through the signals a user's action
// emits, the working settings read back.
#pragma once

#include "core/dialog/DialogInfo.h"
#include "gui/MainTabs.h"
#include "gui/TabBasic.h"
#include "gui/kit/GuiActions.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xList.h"
#include "printer-setup/SetupTestSupport.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace basictest {

inline const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

// A sample queue PPD with text replacements applied (each `from` must occur), written under dir.
inline std::string SamplePpd(const orvtest::ScratchDir& dir, const std::string& model, const std::string& file,
                             const std::vector<std::pair<std::string, std::string>>& edits = {})
{
    std::string text = setuptest::ReadText(setuptest::WriteSamplePpd(dir, model, "base-" + file, kUtility));
    for (const auto& [from, to] : edits) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) {
            text.replace(at, from.size(), to);
        }
    }
    return dir.WriteFile(file, text);
}

// The colour model's optional duplex unit installed.
inline const std::pair<std::string, std::string> kDuplexUnitInstalled{"*DefaultOptionDuplexer: NotInstalled",
                                                                      "*DefaultOptionDuplexer: Installed"};

struct BasicPageTest : ::testing::Test {
    setuptest::InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<setuptest::FakeCups> cups;
    std::unique_ptr<guitest::TestApp> app;

    // The colour queue (duplex unit installed), the colour queue as shipped, the mono queue and
    // the minimal model's queue; the first is loaded.
    void StartSamples()
    {
        Start({{"colour", SamplePpd(ppds, "GC7350", "colour.ppd", {kDuplexUnitInstalled})},
               {"plain", SamplePpd(ppds, "GC7350", "plain.ppd")},
               {"mono", SamplePpd(ppds, "GM4150", "mono.ppd")},
               {"small", SamplePpd(ppds, "GM1000", "small.ppd")}});
    }
    void Start(std::vector<setuptest::FakeDest> dests)
    {
        cups = std::make_unique<setuptest::FakeCups>(std::move(dests));
        ASSERT_NE(cups->Table()->handle, nullptr);
        app = std::make_unique<guitest::TestApp>(*cups->Table());
        ASSERT_NE(app->Start(), 0);
        ASSERT_NE(Win(), nullptr);
    }
    void TearDown() override
    {
        app.reset();
        cups.reset();
    }
    void Load(const char* queue)
    {
        Win()->GetPrinterList()->SelectString(queue);
        guitest::Pump();
        ASSERT_STREQ(Win()->GetLoadedName(), queue);
    }

    CMainWin* Win() const { return app->Window(); }
    CTabBasic* Page() const { return static_cast<CTabBasic*>(Win()->GetTabs()->GetPage(CMainTabs::PAGE_BASIC)); }
    DRVDEVMODE& Dm() const { return Win()->GetDialogInfo()->psdm; }
    xWidget* Control(int id) const
    {
        xWidget* control = orvgui::FindControl(Page()->GetGtkWidget(), id, Page());
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    xComboBox* Combo(int id) const { return dynamic_cast<xComboBox*>(Control(id)); }
    xToggleButton* Toggle(int id) const { return dynamic_cast<xToggleButton*>(Control(id)); }
    xSpinButton* Spin() const { return dynamic_cast<xSpinButton*>(Control(IDC_BASIC_MARGIN)); }

    static long Value(xListBase* list, int row)
    {
        return static_cast<long>(reinterpret_cast<intptr_t>(list->GetItemData(row)));
    }
    // The values of a combo's rows, in order.
    std::vector<long> Values(int id) const
    {
        std::vector<long> values;
        xComboBox* combo = Combo(id);
        for (int i = 0; combo != nullptr && i < combo->GetCount(); ++i) {
            values.push_back(Value(combo, i));
        }
        return values;
    }
    // The selected row's value; -1 when no row is selected.
    long Selected(int id) const
    {
        xComboBox* combo = Combo(id);
        return combo != nullptr && combo->GetCurSel() >= 0 ? Value(combo, combo->GetCurSel()) : -1;
    }
    bool Offers(int id, long value) const
    {
        const std::vector<long> values = Values(id);
        return std::find(values.begin(), values.end(), value) != values.end();
    }
    // A user's choice of the row carrying the value.
    void Choose(int id, long value)
    {
        xComboBox* combo = Combo(id);
        ASSERT_NE(combo, nullptr);
        const int row = combo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(value)));
        ASSERT_GE(row, 0) << "control " << id << " offers no row " << value;
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo->GetGtkWidget()), row);
        guitest::Pump();
    }
    // A user's click on a button or toggle.
    void Click(int id)
    {
        xWidget* button = Control(id);
        ASSERT_NE(button, nullptr);
        gtk_button_clicked(GTK_BUTTON(button->GetGtkWidget()));
        guitest::Pump();
    }
    bool Visible(int id) const
    {
        xWidget* control = Control(id);
        return control != nullptr && GTK_WIDGET_VISIBLE(control->GetGtkWidget()) && Shown(control->GetGtkWidget());
    }
    static bool Shown(GtkWidget* widget)
    {
        for (GtkWidget* w = widget; w != nullptr; w = gtk_widget_get_parent(w)) {
            if (GTK_IS_NOTEBOOK(w)) {
                return true;
            }
            if (!GTK_WIDGET_VISIBLE(w)) {
                return false;
            }
        }
        return true;
    }
    bool Sensitive(int id) const
    {
        xWidget* control = Control(id);
        return control != nullptr && GTK_WIDGET_IS_SENSITIVE(control->GetGtkWidget());
    }
    // The label texts of the page, as shown.
    std::vector<std::string> Labels() const { return orvgui::LabelTexts(Page()->GetGtkWidget()); }
    std::string LayoutLabel() const
    {
        for (const std::string& text : Labels()) {
            if (text.rfind("Layout Print :", 0) == 0) {
                return text;
            }
        }
        return "";
    }
    // Which of the six layout toggles are active, left to right.
    std::vector<int> ActiveLayoutToggles() const
    {
        std::vector<int> active;
        for (int id = IDC_BASIC_LAYOUT_NONE; id <= IDC_BASIC_LAYOUT_POSTER; ++id) {
            active.push_back(Toggle(id) != nullptr && Toggle(id)->GetCheck() ? 1 : 0);
        }
        return active;
    }
    // A change made behind the page's back, then the page refreshed as Restore Defaults does.
    void Refresh() { Page()->Refresh(); }
};

}  // namespace basictest
