// Every layout dialog over every sample queue: OK writes the dialog's copy with its layout mode,
// and Cancel, Escape and the window manager's close leave the working settings byte for byte as
// they were, whatever was changed in the dialog.
#include "gui/DlgBooklet.h"
#include "gui/DlgFitPage.h"
#include "gui/DlgNup.h"
#include "gui/DlgPoster.h"
#include "gui/DlgZoom.h"
#include "gui/kit/GuiActions.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"

#include <functional>
#include <memory>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;
using layouttest::SameRecord;

// One dialog: how it is made, its title, its layout mode, and a few changes a user makes in it.
struct DialogCase {
    const char* title;
    WORD wLayout;
    std::function<xDialog*(xWidget*)> make;
    std::function<void(LayoutDialogs*, GtkWidget*, xDialog*)> change;
};

class EveryLayoutDialog : public LayoutDialogs {
protected:
    static void ClickId(GtkWidget* pWindow, xDialog* pDialog, int nID)
    {
        Click(Control<xButtonBase>(pWindow, *pDialog, nID));
    }
    std::vector<DialogCase> Cases()
    {
        return {
            {"Pages per Sheet", 1, [](xWidget* p) { return new CDlgNup(p); },
             [](LayoutDialogs*, GtkWidget* w, xDialog* d) {
                 ClickId(w, d, 4);
                 ClickId(w, d, 9);
             }},
            {"Booklet", 2, [](xWidget* p) { return new CDlgBooklet(p); },
             [](LayoutDialogs*, GtkWidget* w, xDialog* d) {
                 ClickId(w, d, IDC_BOOKLET_RIGHT);
                 SetSpin(Control<xSpinButton>(w, *d, IDC_BOOKLET_GUTTER), 1);
             }},
            {"Fit to Output Paper Size", 8, [](xWidget* p) { return new CDlgFitPage(p); },
             [](LayoutDialogs*, GtkWidget* w, xDialog* d) { ClickId(w, d, IDC_FIT_RATIO); }},
            {"Zoom", 16, [](xWidget* p) { return new CDlgZoom(p); },
             [](LayoutDialogs*, GtkWidget* w, xDialog* d) {
                 ClickId(w, d, 0);
                 SetSpin(Control<xSpinButton>(w, *d, IDC_ZOOM_SCALE), 50);
             }},
            {"Poster", 4, [](xWidget* p) { return new CDlgPoster(p); },
             [](LayoutDialogs*, GtkWidget* w, xDialog* d) {
                 ClickId(w, d, IDC_POSTER_3X3);
                 SetSpin(Control<xSpinButton>(w, *d, IDC_POSTER_OVERLAP), 2);
             }},
        };
    }
};

TEST_F(EveryLayoutDialog, OnlyOkWritesTheSettingsAndTheLayoutMode)
{
    for (const char* queue : {"colour", "mono", "small"}) {
        Load(queue);
        for (const DialogCase& c : Cases()) {
            for (Ending ending : {Ending::Cancel, Ending::Escape, Ending::WindowManager, Ending::Ok}) {
                SCOPED_TRACE(testing::Message() << queue << ", " << c.title << ", " << layouttest::EndingName(ending));
                Working().priv.dmLayoutPrint = 0;
                const DRVDEVMODE before = Working();
                std::unique_ptr<xDialog> dialog(c.make(Win()));
                const int nResult = Run(*dialog, c.title, [&](GtkWidget* pWindow) {
                    c.change(this, pWindow, dialog.get());
                }, ending);
                if (ending == Ending::Ok) {
                    EXPECT_EQ(nResult, IDOK);
                    EXPECT_EQ(Working().priv.dmLayoutPrint, c.wLayout);
                    EXPECT_FALSE(SameRecord(Working(), before)) << "the changes arrive";
                    Working() = before;
                } else {
                    EXPECT_EQ(nResult, IDCANCEL);
                    EXPECT_TRUE(SameRecord(Working(), before));
                }
            }
        }
    }
}

}  // namespace
