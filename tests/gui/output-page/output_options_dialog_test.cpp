// The Output Options dialog, opened from the Output page's button: what it offers for the model's
// flags, its two controls, and that only OK writes the settings back.
#include "gui/DlgAdvance.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/Screenshot.h"
#include "gui/output-page/OutputPageSupport.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <ostream>

namespace {

using namespace outputtest;
using guitest::Pump;

constexpr char kTitle[] = "Output Options";
constexpr WORD kUnknownTray = 770;

class OutputOptions : public OutputPageTest {
public:
    // Opens the dialog with the page's button; the step acts on the dialog and ends it.
    void OpenAndRun(const std::function<void(GtkWindow*)>& step)
    {
        orvgui::ModalDriver driver;
        driver.OnWindow(kTitle, step);
        driver.Start();
        Click(IDC_OUTPUT_OPTIONS);
        EXPECT_TRUE(driver.Done());
    }

    static xWidget* DialogControl(GtkWindow* dialog, int id)
    {
        xWidget* owner = xWidget::FromGtkWidget(GTK_WIDGET(dialog));
        xWidget* control = orvgui::FindControl(GTK_WIDGET(dialog), id, owner);
        EXPECT_NE(control, nullptr) << "dialog control " << id;
        return control;
    }
    static xComboBox* CopiesCombo(GtkWindow* dialog)
    {
        return dynamic_cast<xComboBox*>(DialogControl(dialog, IDC_ADVANCE_COPIES));
    }
    static GtkWidget* BlankPagesCheck(GtkWindow* dialog)
    {
        return DialogControl(dialog, IDC_ADVANCE_BLANK_PAGES)->GetGtkWidget();
    }
    static void ChooseCopiesBy(GtkWindow* dialog, WORD value)
    {
        xComboBox* combo = CopiesCombo(dialog);
        const int row = combo->FindItemData(reinterpret_cast<gpointer>(static_cast<intptr_t>(value)));
        ASSERT_GE(row, 0);
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo->GetGtkWidget()), row);
        Pump();
    }
    static bool Checked(GtkWidget* check) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check)) != 0; }
};

// ----- What the dialog offers ------------------------------------------------------------------

struct OfferCase {
    const char* name;
    const char* model;
    ModelVariant variant;
    std::vector<std::string> copiesRows;  // empty: the combo box is hidden
    bool blankPages;
};

void PrintTo(const OfferCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutputOptionsOffers : public OutputOptions, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(OutputOptionsOffers, CopiesComboAndBlankPagesFollowTheModelsFlags)
{
    const OfferCase& c = GetParam();
    if (c.variant.sections.empty()) {
        StartQueue(c.model, {});
    } else {
        StartVariant(c.model, {}, c.variant);
    }
    // Run from the page's handler also where the model gives the page no button for it.
    OpenAndRun([&](GtkWindow* dialog) {
        xComboBox* combo = CopiesCombo(dialog);
        EXPECT_EQ(GTK_WIDGET_VISIBLE(combo->GetGtkWidget()) != 0, !c.copiesRows.empty());
        EXPECT_EQ(guitest::RowTexts(combo), c.copiesRows);
        // The label stays, with or without its combo box.
        const std::vector<std::string> labels = orvgui::LabelTexts(GTK_WIDGET(dialog));
        EXPECT_NE(std::find(labels.begin(), labels.end(), "Copy Controlled by :"), labels.end());
        GtkWidget* check = BlankPagesCheck(dialog);
        EXPECT_EQ(GTK_WIDGET_VISIBLE(check) != 0, c.blankPages);
        EXPECT_EQ(GTK_WIDGET_SENSITIVE(check) != 0, c.blankPages);
        EXPECT_FALSE(gtk_window_get_resizable(dialog));
        orvgui::ClickResponse(GTK_WIDGET(dialog), IDCANCEL);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Models, OutputOptionsOffers,
    ::testing::Values(
        OfferCase{"Colour", "GC7350", {}, {"Printer", "Printer Driver"}, true},
        OfferCase{"Mono", "GM4150", {}, {"Printer", "Printer Driver"}, true},
        // Neither the print-feature word nor blank pages.
        OfferCase{"Minimal", "GM1000", {}, {}, false},
        // The feature word without driver copies (bit 0x4 clear); blank pages still offered.
        OfferCase{"ColourWithoutDriverCopies", "GC7350", {{{38, RawSection({0x9, 0})}}}, {}, true},
        OfferCase{"ColourWithoutBlankPages", "GC7350", {{{56, nullptr}}}, {"Printer", "Printer Driver"}, false}),
    [](const ::testing::TestParamInfo<OfferCase>& info) { return std::string(info.param.name); });

// The check is shown whenever the model offers blank pages, but a user may change it only while
// the constraint engine allows both of its values: pages per sheet, booklet and poster each hold
// blank pages at "print".
TEST_F(OutputOptions, BlankPagesCannotBeChangedWhileALayoutForbidsEitherValue)
{
    struct Case {
        const char* name;
        WORD layout;
        bool changeable;
    };
    const Case cases[] = {
        {"normal", 0, true}, {"pages per sheet", 0x1, false}, {"booklet", 0x2, false}, {"poster", 0x4, false}};
    // With the duplex unit installed booklets can be printed.
    StartQueue("GC7350", {{"OptionDuplexer", "Installed"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().priv.dmLayoutPrint = c.layout;
        Settings().priv.dmNup = 2;
        Settings().priv.dmPosterX = 2;
        Settings().priv.dmPosterY = 2;
        Win()->RunKinsoku(nullptr, 0);
        ASSERT_EQ(Settings().priv.dmLayoutPrint, c.layout) << "the engine kept the layout";
        OpenAndRun([&](GtkWindow* dialog) {
            GtkWidget* check = BlankPagesCheck(dialog);
            EXPECT_TRUE(GTK_WIDGET_VISIBLE(check) != 0);
            EXPECT_EQ(GTK_WIDGET_SENSITIVE(check) != 0, c.changeable);
            orvgui::ClickResponse(GTK_WIDGET(dialog), IDCANCEL);
        });
    }
}

// ----- Controls and OK ----------------------------------------------------------------------------

TEST_F(OutputOptions, OkWritesTheChoicesBackAndMarksTheWindow)
{
    StartQueue("GC7350", ColourOptions());
    Settings().priv.dmCopiesByDriver = 0;
    Settings().priv.dmSkipBlankPages = 1;
    Settings().dm.dmCollate = 1;
    // A tray code the model does not know: the constraint engine replaces it when it runs.
    Settings().priv.dmFinisher = kUnknownTray;
    Win()->SetModified(0);
    DRVDEVMODE before = Settings();
    OpenAndRun([&](GtkWindow* dialog) {
        GtkWidget* check = BlankPagesCheck(dialog);
        EXPECT_FALSE(Checked(check)) << "blank pages skipped: the box is clear";
        EXPECT_EQ(CopiesCombo(dialog)->GetCurSel(), 0) << "the printer makes the copies";
        ChooseCopiesBy(dialog, 1);
        gtk_button_clicked(GTK_BUTTON(check));
        Pump();
        EXPECT_TRUE(Checked(check));
        auto* self = dynamic_cast<CDlgAdvance*>(xWidget::FromGtkWidget(GTK_WIDGET(dialog)));
        ASSERT_NE(self, nullptr);
        EXPECT_EQ(self->GetSettings().priv.dmCopiesByDriver, 1);
        EXPECT_EQ(self->GetSettings().priv.dmSkipBlankPages, 0);
        EXPECT_EQ(std::memcmp(&Settings(), &before, sizeof(before)), 0) << "nothing written before OK";
        orvgui::SaveScreenshot(GTK_WIDGET(dialog), "output-options-dialog");
        orvgui::ClickResponse(GTK_WIDGET(dialog), IDOK);
    });
    EXPECT_EQ(Settings().priv.dmCopiesByDriver, 1);
    EXPECT_EQ(Settings().priv.dmSkipBlankPages, 0);
    EXPECT_TRUE(Win()->IsModified());
    EXPECT_NE(Settings().priv.dmFinisher, kUnknownTray) << "the accepted dialog's change ran the constraint engine";
}

struct EndCase {
    const char* name;
    std::function<void(GtkWindow*)> end;
};

void PrintTo(const EndCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutputOptionsEnd : public OutputOptions, public ::testing::WithParamInterface<EndCase> {};

TEST_P(OutputOptionsEnd, LeavesTheSettingsByteForByte)
{
    StartQueue("GC7350", ColourOptions());
    // Also no constraint run, which would replace this unknown tray code.
    Settings().priv.dmFinisher = kUnknownTray;
    Win()->SetModified(0);
    const DRVDEVMODE before = Settings();
    OpenAndRun([&](GtkWindow* dialog) {
        ChooseCopiesBy(dialog, Settings().priv.dmCopiesByDriver == 0 ? 1 : 0);
        gtk_button_clicked(GTK_BUTTON(BlankPagesCheck(dialog)));
        Pump();
        GetParam().end(dialog);
    });
    EXPECT_EQ(std::memcmp(&Settings(), &before, sizeof(before)), 0);
    EXPECT_FALSE(Win()->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, OutputOptionsEnd,
    ::testing::Values(
        EndCase{"Cancel", [](GtkWindow* dialog) { orvgui::ClickResponse(GTK_WIDGET(dialog), IDCANCEL); }},
        EndCase{"Escape",
                [](GtkWindow* dialog) {
                    orvgui::GiveFocus(GTK_WIDGET(dialog));
                    orvgui::PressKey(GTK_WIDGET(dialog), GDK_Escape);
                }},
        EndCase{"WindowManagerClose", [](GtkWindow* dialog) { orvgui::CloseByWindowManager(GTK_WIDGET(dialog)); }}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

}  // namespace
