// What the Quality page and colour adjustment dialog tests share: the settings program's main
// window over the fake CUPS system with the sample queues, and finding and driving the page's and
// dialog's controls through the signals a user's action emits.
#pragma once

#include "gui/MainTabs.h"
#include "gui/TabQuality.h"
#include "gui/kit/GuiActions.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "gui/widgets/xList.h"
#include "printer-setup/SetupTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qualitytest {

// The sample queues: "colour" (GC7350), "mono" (GM4150), "small" (GM1000, almost no features) and
// "photo" (GC7350 whose PPD also offers colour mode 3).
class SetupWindow : public ::testing::Test {
protected:
    setuptest::InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<setuptest::FakeCups> cups;
    std::unique_ptr<guitest::TestApp> app;

    // Starts the program with every sample queue and loads the one named.
    void StartOn(const std::string& queue);
    void TearDown() override;

    CMainWin* Win() const { return app->Window(); }
    tagDIALOGINFO* Info() const { return Win()->GetDialogInfo(); }
    DRVDEVMODE& Settings() const { return Info()->psdm; }
    CTabQuality* Page() const;
    // A control of the Quality page by id.
    template <typename T>
    T* PageControl(int id) const
    {
        return dynamic_cast<T*>(orvgui::FindControl(Page()->GetGtkWidget(), id, Page()));
    }
    // Makes the Quality page the notebook's current page.
    void ShowQualityPage() const;
};

// Chooses the row of a combo that carries the value, as a user's click on it does.
void Choose(xComboBox* pCombo, long lValue);
// The item data of every row of a list, in order.
std::vector<long> RowValues(xListBase* pList);
// The built-in image id each row shows (0 for none), found by comparing the row's picture with
// the image table's.
std::vector<int> RowPictures(xListBase* pList, const std::vector<int>& candidates);
// Whether a widget is drawn: itself and every parent up to its window shown.
bool IsDrawn(xWidget* pWidget);
// Whether a widget reacts to input: itself and every parent sensitive.
bool IsEffectivelySensitive(xWidget* pWidget);

}  // namespace qualitytest
