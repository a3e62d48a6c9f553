#include "gui/quality/QualityFixture.h"

#include "gui/kit/GuiActions.h"
#include "gui/widgets/BuiltinTables.h"

namespace qualitytest {

namespace {

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

// The colour model's PPD with a third colour mode beside Grayscale and Color.
std::string PhotoModePpd(const orvtest::ScratchDir& dir)
{
    std::string text = setuptest::ReadText(setuptest::WriteSamplePpd(dir, "GC7350", "photo-src.ppd", kUtility));
    const std::string anchor = "*ColorMode Color/Color: \"%% ID=2\"\n";
    const size_t at = text.find(anchor);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) {
        text.insert(at + anchor.size(), "*ColorMode Photo/Photo: \"%% ID=3\"\n");
    }
    return dir.WriteFile("photo.ppd", text);
}

}  // namespace

void SetupWindow::StartOn(const std::string& queue)
{
    cups = std::make_unique<setuptest::FakeCups>(std::vector<setuptest::FakeDest>{
        {"colour", setuptest::WriteSamplePpd(ppds, "GC7350", "colour.ppd", kUtility)},
        {"mono", setuptest::WriteSamplePpd(ppds, "GM4150", "mono.ppd", kUtility)},
        {"photo", PhotoModePpd(ppds)},
        {"small", setuptest::WriteSamplePpd(ppds, "GM1000", "small.ppd", kUtility)}});
    ASSERT_NE(cups->Table()->handle, nullptr);
    app = std::make_unique<guitest::TestApp>(*cups->Table());
    ASSERT_NE(app->Start(), 0);
    ASSERT_NE(Win(), nullptr);
    if (queue != "colour") {
        Win()->GetPrinterList()->SelectString(queue.c_str());
        guitest::Pump();
    }
    ASSERT_STREQ(Win()->GetLoadedName(), queue.c_str());
    ASSERT_NE(Info(), nullptr);
    ASSERT_NE(Page(), nullptr);
}

void SetupWindow::TearDown()
{
    app.reset();
    cups.reset();
}

CTabQuality* SetupWindow::Page() const
{
    return dynamic_cast<CTabQuality*>(Win()->GetTabs()->GetPage(CMainTabs::PAGE_QUALITY));
}

void SetupWindow::ShowQualityPage() const
{
    Page()->Activate();
    guitest::Pump();
}

void Choose(xComboBox* pCombo, long lValue)
{
    ASSERT_NE(pCombo, nullptr);
    const int row = pCombo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(lValue)));
    ASSERT_GE(row, 0) << "no row carries " << lValue;
    gtk_combo_box_set_active(GTK_COMBO_BOX(pCombo->GetGtkWidget()), row);
    guitest::Pump();
}

std::vector<long> RowValues(xListBase* pList)
{
    std::vector<long> values;
    for (int i = 0; pList != nullptr && i < pList->GetCount(); ++i) {
        values.push_back(static_cast<long>(reinterpret_cast<intptr_t>(pList->GetItemData(i))));
    }
    return values;
}

std::vector<int> RowPictures(xListBase* pList, const std::vector<int>& candidates)
{
    std::vector<int> pictures;
    GtkTreeModel* model = GTK_TREE_MODEL(pList->GetStore());
    for (int i = 0; i < pList->GetCount(); ++i) {
        GtkTreeIter iter;
        gtk_tree_model_iter_nth_child(model, &iter, nullptr, i);
        GdkPixbuf* pixbuf = nullptr;
        gtk_tree_model_get(model, &iter, LIST_COLUMN_PIXBUF, &pixbuf, -1);
        int found = pixbuf != nullptr ? -1 : 0;
        for (int id : candidates) {
            if (pixbuf != nullptr && pixbuf == GetBuiltinImage(static_cast<unsigned short>(id))) {
                found = id;
            }
        }
        if (pixbuf != nullptr) {
            g_object_unref(pixbuf);
        }
        pictures.push_back(found);
    }
    return pictures;
}

bool IsDrawn(xWidget* pWidget)
{
    for (GtkWidget* w = pWidget != nullptr ? pWidget->GetGtkWidget() : nullptr; w != nullptr; w = w->parent) {
        if (!GTK_WIDGET_VISIBLE(w)) {
            return false;
        }
    }
    return pWidget != nullptr;
}

bool IsEffectivelySensitive(xWidget* pWidget)
{
    return pWidget != nullptr && GTK_WIDGET_IS_SENSITIVE(pWidget->GetGtkWidget());
}

}  // namespace qualitytest
