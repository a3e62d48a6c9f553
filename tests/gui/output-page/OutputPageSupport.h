// What the Output page and Output Options dialog tests share: the main window over a fake CUPS
// system whose queues use the sample models (with installable options set in their PPDs) or
// variants of them compiled for the test, and the page's controls found by their ids.
#pragma once

#include "core/dialog/DialogInfo.h"
#include "gui/MainTabs.h"
#include "gui/MainWin.h"
#include "gui/TabOutput.h"
#include "gui/printer-setup/GuiTestSupport.h"
#include "gui/widgets/xList.h"
#include "printer-setup/SetupTestSupport.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace outputtest {

// Installable options of a queue: PPD option keyword -> the choice that is its default.
using Installed = std::vector<std::pair<std::string, std::string>>;

// The colour queue's installed options: finisher with punch unit, and the hard disk.
const Installed& ColourOptions();

// How a variant differs from its sample model: sections replaced (section id -> the section
// object without its "id") or removed (a null value), then an edit of the whole description.
struct ModelVariant {
    std::map<int, nlohmann::json> sections;
    std::function<void(nlohmann::json& model)> edit = nullptr;
};

// A variant of a sample model, compiled with spc-compile from the sample's readable source.
// Written as <name>.pcsp into dataDir; the test fails when it does not compile.
void CompileModelVariant(const std::string& dataDir, const std::string& sampleModel, const std::string& name,
                         const ModelVariant& variant);

// The edit that lets every paper, medium and source of a model allow the three sort modes: their
// records' second word holds the sort bits.
void AllowEverySortMode(nlohmann::json& model);

// A section object holding raw 32-bit words.
nlohmann::json RawSection(std::vector<long long> words);

class OutputPageTest : public ::testing::Test {
public:
    void TearDown() override;

    // The sample queue PPD of the model with the driver's utility line, its installable options
    // set, and, when modelFile is given, naming that model data file; its path.
    std::string QueuePpd(const std::string& model, const std::string& fileName, const Installed& installed,
                         const std::string& modelFile = std::string());
    // Starts the program over the queues; the first is loaded and the Output page shown.
    void Start(std::vector<setuptest::FakeDest> dests);
    // One queue of the sample model (options installed), started.
    void StartQueue(const std::string& model, const Installed& installed, const std::string& modelFile = std::string());
    // A variant of the sample model, started as the one queue.
    void StartVariant(const std::string& model, const Installed& installed, const ModelVariant& variant);

    CMainWin* Win() const { return app->Window(); }
    tagDIALOGINFO* Info() const { return Win()->GetDialogInfo(); }
    DRVDEVMODE& Settings() const { return Info()->psdm; }
    CTabOutput* Page() const;
    xWidget* Control(int id) const;
    xComboBox* Combo(int id) const;
    GtkWidget* Widget(int id) const;
    bool Shown(int id) const;
    bool Sensitive(int id) const;

    // A user's actions, each through the signal it emits; events are run afterwards.
    void SetCopies(double value);
    void Click(int id);
    // Chooses the combo's row carrying the value; fails the test when there is none.
    void Choose(int id, long value);

    // The item data of the combo's rows, the picture of each row as its built-in image id (0 for
    // none, -1 for a picture that is no built-in one), the value of the selected row (-1: none).
    std::vector<long> RowValues(int id) const;
    std::vector<int> RowImages(int id) const;
    long SelectedValue(int id) const;
    // (value, picture) of every row, ordered by value: for lists whose order is the engine's.
    using Rows = std::vector<std::pair<long, int>>;
    Rows SortedRows(int id) const;

    setuptest::InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<setuptest::FakeCups> cups;
    std::unique_ptr<guitest::TestApp> app;
};

}  // namespace outputtest
