#include "gui/output-page/OutputPageSupport.h"

#include "gui/kit/GuiActions.h"
#include "gui/widgets/BuiltinTables.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <fstream>

namespace outputtest {

namespace {

constexpr const char kUtilityLine[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

void ReplaceOnce(std::string* text, const std::string& from, const std::string& to)
{
    const size_t at = text->find(from);
    ASSERT_NE(at, std::string::npos) << "no \"" << from << "\" in the sample PPD";
    text->replace(at, from.size(), to);
}

}  // namespace

const Installed& ColourOptions()
{
    static const Installed options = {
        {"OptionFinisher", "FN350"}, {"OptionPuncher", "Installed"}, {"OptionHDD", "Installed"}};
    return options;
}

nlohmann::json RawSection(std::vector<long long> words)
{
    return nlohmann::json{{"raw", words}};
}

void AllowEverySortMode(nlohmann::json& model)
{
    // Papers, custom and long paper limits, media, sources and source groups.
    const int kTraySections[] = {20, 21, 22, 24, 26, 75};
    std::function<void(nlohmann::json&)> widen = [&](nlohmann::json& node) {
        if (node.is_object()) {
            auto words = node.find("words");
            if (words != node.end() && words->is_array() && words->size() == 6) {
                (*words)[1] = (*words)[1].get<long long>() | 0x3F;
            }
        }
        if (node.is_structured()) {
            for (nlohmann::json& child : node) {
                widen(child);
            }
        }
    };
    for (nlohmann::json& section : model["sections"]) {
        if (std::find(std::begin(kTraySections), std::end(kTraySections), section["id"].get<int>()) !=
            std::end(kTraySections)) {
            widen(section);
        }
    }
}

void CompileModelVariant(const std::string& dataDir, const std::string& sampleModel, const std::string& name,
                         const ModelVariant& variant)
{
    const std::map<int, nlohmann::json>& sections = variant.sections;
    std::ifstream in(std::string(ORV_SAMPLE_MODEL_SOURCE_DIR) + sampleModel + ".json");
    nlohmann::json model = nlohmann::json::parse(in);
    nlohmann::json& list = model["sections"];
    for (const auto& [id, section] : sections) {
        for (auto it = list.begin(); it != list.end(); ++it) {
            if ((*it)["id"] == id) {
                list.erase(it);
                break;
            }
        }
        if (!section.is_null()) {
            nlohmann::json replaced = section;
            replaced["id"] = id;
            list.push_back(replaced);
        }
    }
    if (variant.edit) {
        variant.edit(model);
    }
    const std::string source = dataDir + name + ".json";
    std::ofstream(source) << model.dump(1);
    const std::string command = std::string("'") + ORV_SPC_COMPILE + "' '" + source + "' '" + dataDir + name + ".pcsp'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
}

void OutputPageTest::TearDown()
{
    app.reset();
    cups.reset();
}

std::string OutputPageTest::QueuePpd(const std::string& model, const std::string& fileName, const Installed& installed,
                                     const std::string& modelFile)
{
    std::string text = setuptest::ReadText(setuptest::WriteSamplePpd(ppds, model, fileName, kUtilityLine));
    for (const auto& [keyword, choice] : installed) {
        const std::string line = "*Default" + keyword + ": ";
        const size_t at = text.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos) {
            text.replace(at, text.find('\n', at) - at, line + choice);
        }
    }
    if (!modelFile.empty()) {
        ReplaceOnce(&text, "\"" + model + ".pcsp\"", "\"" + modelFile + "\"");
    }
    return ppds.WriteFile(fileName, text);
}

void OutputPageTest::Start(std::vector<setuptest::FakeDest> dests)
{
    cups = std::make_unique<setuptest::FakeCups>(std::move(dests));
    ASSERT_NE(cups->Table()->handle, nullptr);
    app = std::make_unique<guitest::TestApp>(*cups->Table());
    ASSERT_NE(app->Start(), 0);
    ASSERT_NE(Info(), nullptr) << "the queue loads";
    ASSERT_NE(Page(), nullptr);
    ASSERT_NE(Page()->IsPageShown(), 0);
    Page()->Activate();
    guitest::Pump();
}

void OutputPageTest::StartQueue(const std::string& model, const Installed& installed, const std::string& modelFile)
{
    Start({{"queue", QueuePpd(model, "queue.ppd", installed, modelFile)}});
}

void OutputPageTest::StartVariant(const std::string& model, const Installed& installed, const ModelVariant& variant)
{
    CompileModelVariant(tree.DataDir(), model, "VARIANT", variant);
    StartQueue(model, installed, "VARIANT.pcsp");
}

CTabOutput* OutputPageTest::Page() const
{
    return dynamic_cast<CTabOutput*>(Win()->GetTabs()->GetPage(CMainTabs::PAGE_OUTPUT));
}

xWidget* OutputPageTest::Control(int id) const
{
    xWidget* control = orvgui::FindControl(Page()->GetGtkWidget(), id, Page());
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

xComboBox* OutputPageTest::Combo(int id) const
{
    return dynamic_cast<xComboBox*>(Control(id));
}

GtkWidget* OutputPageTest::Widget(int id) const
{
    xWidget* control = Control(id);
    return control != nullptr ? control->GetGtkWidget() : nullptr;
}

bool OutputPageTest::Shown(int id) const
{
    GtkWidget* widget = Widget(id);
    return widget != nullptr && GTK_WIDGET_VISIBLE(widget);
}

bool OutputPageTest::Sensitive(int id) const
{
    GtkWidget* widget = Widget(id);
    return widget != nullptr && GTK_WIDGET_SENSITIVE(widget);
}

void OutputPageTest::SetCopies(double value)
{
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(Widget(IDC_OUTPUT_COPIES)), value);
    guitest::Pump();
}

void OutputPageTest::Click(int id)
{
    ASSERT_TRUE(Sensitive(id)) << "a user cannot click control " << id;
    gtk_button_clicked(GTK_BUTTON(Widget(id)));
    guitest::Pump();
}

void OutputPageTest::Choose(int id, long value)
{
    xComboBox* combo = Combo(id);
    ASSERT_NE(combo, nullptr);
    const int row = combo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(value)));
    ASSERT_GE(row, 0) << "combo " << id << " has no row of value " << value;
    ASSERT_TRUE(Sensitive(id));
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo->GetGtkWidget()), row);
    guitest::Pump();
}

std::vector<long> OutputPageTest::RowValues(int id) const
{
    std::vector<long> values;
    xComboBox* combo = Combo(id);
    for (int i = 0; combo != nullptr && i < combo->GetCount(); ++i) {
        values.push_back(static_cast<long>(reinterpret_cast<intptr_t>(combo->GetItemData(i))));
    }
    return values;
}

std::vector<int> OutputPageTest::RowImages(int id) const
{
    std::vector<int> images;
    xComboBox* combo = Combo(id);
    GtkTreeModel* model = combo != nullptr ? GTK_TREE_MODEL(combo->GetStore()) : nullptr;
    GtkTreeIter iter;
    for (gboolean ok = model != nullptr && gtk_tree_model_get_iter_first(model, &iter); ok;
         ok = gtk_tree_model_iter_next(model, &iter)) {
        GdkPixbuf* pixbuf = nullptr;
        gtk_tree_model_get(model, &iter, LIST_COLUMN_PIXBUF, &pixbuf, -1);
        int image = pixbuf == nullptr ? 0 : -1;
        // The built-in pictures are cached, so a row holds the very pixbuf of its image id. The
        // page's pictures: sort 2100.., staple 2300.., punch 2320.., output tray 2340...
        const std::pair<int, int> ranges[] = {{2100, 2105}, {2300, 2307}, {2320, 2329}, {2340, 2345}};
        for (const auto& [first, last] : ranges) {
            for (int candidate = first; pixbuf != nullptr && candidate <= last && image < 0; ++candidate) {
                if (GetBuiltinImage(static_cast<unsigned short>(candidate)) == pixbuf) {
                    image = candidate;
                }
            }
        }
        if (pixbuf != nullptr) {
            g_object_unref(pixbuf);
        }
        images.push_back(image);
    }
    return images;
}

OutputPageTest::Rows OutputPageTest::SortedRows(int id) const
{
    const std::vector<long> values = RowValues(id);
    const std::vector<int> images = RowImages(id);
    Rows rows;
    for (size_t i = 0; i < values.size() && i < images.size(); ++i) {
        rows.emplace_back(values[i], images[i]);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

long OutputPageTest::SelectedValue(int id) const
{
    xComboBox* combo = Combo(id);
    if (combo == nullptr || combo->GetCurSel() < 0) {
        return -1;
    }
    return static_cast<long>(reinterpret_cast<intptr_t>(combo->GetCurSelData()));
}

}  // namespace outputtest
