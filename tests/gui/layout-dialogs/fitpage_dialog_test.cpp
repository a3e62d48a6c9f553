// The fit-to-output-paper dialog: the output paper it opens with (the paper itself, with its own
// size when it is a custom one), the list without "Same as Paper Size", the aspect-ratio check
// box and its picture, and the constraint engine's value lists, which describe the working
// settings again once the dialog is left other than with OK.
#include "core/kinsoku/KinsokuList.h"
#include "gui/DlgFitPage.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/Screenshot.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xList.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;

class FitPageDialog : public LayoutDialogs {
protected:
    // Every constraint item's values and whether each is forbidden, as the pages' choice lists
    // are filled from them. The record's own heads are fetched again afterwards.
    std::vector<std::tuple<int, int, long>> ValueLists()
    {
        std::vector<std::tuple<int, int, long>> lists;
        for (SHORT sItem = 1; sItem <= 43; ++sItem) {
            for (const tagVALUELIST* p = Info()->pKinsokuList->GetValueList(sItem); p != nullptr; p = p->pNext) {
                lists.emplace_back(sItem, p->wValue, p->lDisabled != 0 ? 1 : 0);
            }
        }
        bUpdateValueLists(Info());
        return lists;
    }
};

TEST_F(FitPageDialog, OpensWithTheOutputPaperMadeExplicit)
{
    Load("colour");
    struct Case {
        const char* about;
        SHORT sPaper;
        bool bCustomSize;
        SHORT sWidth, sLength;
        SHORT sOutput;
        SHORT sOutputAfter;
        bool bOwnSize;  // dmFieldsExtra1 0x40 afterwards
    } cases[] = {
        {"A4, no output paper", 9, false, 2100, 2970, 0, 9, false},
        {"a custom size, no output paper", 256, true, 2000, 2800, 0, 256, true},
        {"Letter on A4", 9, false, 2100, 2970, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.about);
        const DRVDEVMODE before = Working();
        Working().dm.dmPaperSize = c.sPaper;
        Working().dm.dmPaperWidth = c.sWidth;
        Working().dm.dmPaperLength = c.sLength;
        if (c.bCustomSize) {
            Working().dm.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        } else {
            Working().dm.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        }
        Working().priv.dmFieldsExtra1 = c.bCustomSize ? (Working().priv.dmFieldsExtra1 & ~DMX1_OUTPUT_PAPER_DIMS)
                                                      : (Working().priv.dmFieldsExtra1 | DMX1_OUTPUT_PAPER_DIMS);
        Working().priv.dmOutputPaperSize = c.sOutput;
        Working().priv.dmOutputPaperWidth = 0;
        Working().priv.dmOutputPaperLength = 0;
        const bool bGivenOwnSize = (Working().priv.dmFieldsExtra1 & DMX1_OUTPUT_PAPER_DIMS) != 0;
        CDlgFitPage dialog(Win());
        Run(dialog, "Fit to Output Paper Size", [&](GtkWidget* pWindow) {
            const PRIVDM& priv = dialog.GetDevmode().priv;
            EXPECT_EQ(priv.dmOutputPaperSize, c.sOutputAfter);
            if (c.sOutput == 0) {
                EXPECT_EQ(priv.dmOutputPaperWidth, c.sWidth);
                EXPECT_EQ(priv.dmOutputPaperLength, c.sLength);
                EXPECT_EQ((priv.dmFieldsExtra1 & DMX1_OUTPUT_PAPER_DIMS) != 0, c.bOwnSize);
            } else {
                EXPECT_EQ((priv.dmFieldsExtra1 & DMX1_OUTPUT_PAPER_DIMS) != 0, bGivenOwnSize) << "left alone";
            }
            auto* pOutput = Control<xComboBox>(pWindow, dialog, IDC_FIT_OUTPUTPAPER);
            ASSERT_NE(pOutput, nullptr);
            EXPECT_GT(pOutput->GetCount(), 0);
            EXPECT_LT(pOutput->FindItemData(nullptr), 0) << "no \"Same as Paper Size\" row";
            if (c.sOutputAfter < 256) {
                EXPECT_EQ(SelectedValue(pOutput), c.sOutputAfter);
            }
        }, Ending::Cancel);
        Working() = before;
    }
}

TEST_F(FitPageDialog, AspectRatioBoxAndPicture)
{
    Load("colour");
    Working().priv.dmFittoPageRatio = 0;
    CDlgFitPage dialog(Win());
    Run(dialog, "Fit to Output Paper Size", [&](GtkWidget* pWindow) {
        auto* pCheck = Control<xCheckBox>(pWindow, dialog, IDC_FIT_RATIO);
        ASSERT_NE(pCheck, nullptr);
        auto picture = [&] {
            GtkWidget* pImage = orvgui::FindWidgetOfType(gtk_widget_get_parent(pCheck->GetGtkWidget()), GTK_TYPE_IMAGE);
            GdkPixbuf* pShown = pImage != nullptr ? gtk_image_get_pixbuf(GTK_IMAGE(pImage)) : nullptr;
            return pShown == BuiltinImageOrNull(2251) ? 2251 : pShown == BuiltinImageOrNull(2250) ? 2250 : 0;
        };
        const struct {
            bool bChecked;
            WORD wRatio;
            int nPicture;
        } steps[] = {{true, 0, 2251}, {false, 1, 2250}, {true, 0, 2251}};
        for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            if (i > 0) {
                Click(pCheck);
            }
            EXPECT_EQ(Active(pCheck), steps[i].bChecked);
            EXPECT_EQ(dialog.GetDevmode().priv.dmFittoPageRatio, steps[i].wRatio);
            EXPECT_EQ(picture(), steps[i].nPicture);
        }
        Click(pCheck);
    }, Ending::Ok);
    EXPECT_EQ(Working().priv.dmFittoPageRatio, 1);
    EXPECT_EQ(Working().priv.dmLayoutPrint, 8);
}

TEST_F(FitPageDialog, LeavingWithoutOkRestoresTheEnginesValueLists)
{
    Load("colour");
    // Settings laid out as pages per sheet (reverse order forbidden) and as a poster (collation
    // forbidden): fitting to the output paper allows both, so the copy the engine runs over in
    // the dialog has other value lists than the working settings.
    for (WORD wLayout : {WORD(1), WORD(4)}) {
        Working().dm.dmPaperSize = 9;
        Working().priv.dmOutputPaperSize = 0;
        Working().priv.dmLayoutPrint = wLayout;
        Win()->RunKinsoku(nullptr, 0);
        for (Ending ending : layouttest::NonOkEndings()) {
            SCOPED_TRACE(testing::Message() << "layout " << wLayout << ", " << layouttest::EndingName(ending));
            const DRVDEVMODE before = Working();
            const auto listsBefore = ValueLists();
            CDlgFitPage dialog(Win());
            Run(dialog, "Fit to Output Paper Size", [&](GtkWidget*) {
                EXPECT_NE(ValueLists(), listsBefore) << "the engine ran over the copy";
            }, ending);
            EXPECT_TRUE(layouttest::SameRecord(Working(), before));
            EXPECT_EQ(ValueLists(), listsBefore);
        }
    }
}

TEST_F(FitPageDialog, ScreenshotOnTheColourModel)
{
    Load("colour");
    Working().priv.dmFittoPageRatio = 0;
    CDlgFitPage dialog(Win());
    Run(dialog, "Fit to Output Paper Size", [&](GtkWidget* pWindow) {
        EXPECT_NE(orvgui::SaveScreenshot(pWindow, "layout-fitpage-colour"), "");
        const std::vector<std::string> labels = Labels(pWindow);
        for (const char* text : {"Maintain aspect ratio", "Output Paper Size :"}) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
        }
    }, Ending::Cancel);
}

}  // namespace
