// The booklet's gutter and the poster's overlap: the unit shown follows the settings' metric bit,
// the range comes from the model (a maximum of 0 or less counts as none), and a length typed in
// millimetres or inches is stored rounded to the nearest layout unit, so that what is shown and
// read back gives the same units.
#include "gui/DlgBooklet.h"
#include "gui/DlgPoster.h"
#include "gui/layout-dialogs/LayoutDialogFixture.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xLabel.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

using layouttest::Ending;
using layouttest::LayoutDialogs;

constexpr WORD kMetricMM = 0x2;

// The booklet or the poster dialog with what the length tests need of it.
struct LengthDialog {
    const char* title;
    int nSpinID;
    int nRefreshID;  // a toggle whose click refreshes every control
    std::function<xDialog*(xWidget*)> make;
    SHORT (*stored)(const DRVDEVMODE&);
    void (*store)(DRVDEVMODE&, SHORT);
    const DRVDEVMODE& (*copy)(xDialog*);  // the dialog's working copy
};

const LengthDialog kDialogs[] = {
    {"Booklet", IDC_BOOKLET_GUTTER, IDC_BOOKLET_LEFT, [](xWidget* p) -> xDialog* { return new CDlgBooklet(p); },
     [](const DRVDEVMODE& dm) { return dm.priv.dmGutter; }, [](DRVDEVMODE& dm, SHORT v) { dm.priv.dmGutter = v; },
     [](xDialog* p) -> const DRVDEVMODE& { return static_cast<CDlgBooklet*>(p)->GetDevmode(); }},
    {"Poster", IDC_POSTER_OVERLAP, IDC_POSTER_2X2, [](xWidget* p) -> xDialog* { return new CDlgPoster(p); },
     [](const DRVDEVMODE& dm) { return dm.priv.dmOverlap; }, [](DRVDEVMODE& dm, SHORT v) { dm.priv.dmOverlap = v; },
     [](xDialog* p) -> const DRVDEVMODE& { return static_cast<CDlgPoster*>(p)->GetDevmode(); }},
};

class LayoutLengths : public LayoutDialogs {
protected:
    void SetUnits(bool bMM, WORD wUnitOfLayout)
    {
        Working().priv.dmMetric = bMM ? (Working().priv.dmMetric | kMetricMM) : (Working().priv.dmMetric & ~kMetricMM);
        Working().priv.dmUnitOfLayout = wUnitOfLayout;
    }
    static std::string SpinText(xSpinButton* pSpin)
    {
        return gtk_entry_get_text(GTK_ENTRY(pSpin->GetGtkWidget()));
    }
    static bool HasLabel(GtkWidget* pWindow, const std::string& text)
    {
        const std::vector<std::string> labels = Labels(pWindow);
        return std::find(labels.begin(), labels.end(), text) != labels.end();
    }
};

// The range of one queue's model in one unit.
struct RangeCase {
    const char* queue;
    bool bMM;
    const char* bookletLabel;
    double dBookletMax;
    const char* posterLabel;
    double dPosterMax;
};

TEST_F(LayoutLengths, RangeAndLabelFollowTheModelAndTheUnit)
{
    const RangeCase cases[] = {
        // The sample models: gutter at most 2 in / 50.8 mm, overlap at most 1 in / 25.4 mm.
        {"colour", true, "(0 - 50 mm)", 50.8, "(0 - 25 mm)", 25.4},
        {"colour", false, "(0.0 - 2.0 in.)", 2.0, "(0.0 - 1.0 in.)", 1.0},
        {"mono", true, "(0 - 50 mm)", 50.8, "(0 - 25 mm)", 25.4},
        // Both at most 0.59 in / 150 mm: 0.59 is shown with one decimal.
        {"limits", true, "(0 - 150 mm)", 150.0, "(0 - 150 mm)", 150.0},
        {"limits", false, "(0.0 - 0.6 in.)", 0.59, "(0.0 - 0.6 in.)", 0.59},
        // A maximum of 0, or a negative one, is no maximum: 50 mm or 2.0 inches.
        {"nolimits", true, "(0 - 50 mm)", 50.0, "(0 - 50 mm)", 50.0},
        {"nolimits", false, "(0.0 - 2.0 in.)", 2.0, "(0.0 - 2.0 in.)", 2.0},
        // A model without booklet or poster records.
        {"small", true, "(0 - 50 mm)", 50.0, "(0 - 50 mm)", 50.0},
        {"small", false, "(0.0 - 2.0 in.)", 2.0, "(0.0 - 2.0 in.)", 2.0},
    };
    for (const RangeCase& c : cases) {
        Load(c.queue);
        SetUnits(c.bMM, 600);
        for (const LengthDialog& d : kDialogs) {
            SCOPED_TRACE(testing::Message() << c.queue << (c.bMM ? " mm, " : " inches, ") << d.title);
            const bool bBooklet = std::string(d.title) == "Booklet";
            std::unique_ptr<xDialog> dialog(d.make(Win()));
            Run(*dialog, d.title, [&](GtkWidget* pWindow) {
                auto* pSpin = Control<xSpinButton>(pWindow, *dialog, d.nSpinID);
                ASSERT_NE(pSpin, nullptr);
                EXPECT_TRUE(HasLabel(pWindow, bBooklet ? c.bookletLabel : c.posterLabel));
                double dMin = -1, dMax = -1;
                gtk_spin_button_get_range(GTK_SPIN_BUTTON(pSpin->GetGtkWidget()), &dMin, &dMax);
                EXPECT_EQ(dMin, 0.0);
                EXPECT_NEAR(dMax, bBooklet ? c.dBookletMax : c.dPosterMax, 1e-9);
                EXPECT_EQ(gtk_spin_button_get_digits(GTK_SPIN_BUTTON(pSpin->GetGtkWidget())), c.bMM ? 0u : 1u);
                // The control stays usable: the largest length can be chosen and is stored.
                SetSpin(pSpin, 1000);
                EXPECT_NEAR(pSpin->GetValue(), bBooklet ? c.dBookletMax : c.dPosterMax, 1e-9);
                EXPECT_GT(d.stored(d.copy(dialog.get())), 0);
            }, Ending::Cancel);
        }
    }
}

// A length typed in one unit at one layout resolution.
struct TypedCase {
    bool bMM;
    WORD wUnit;
    double dTyped;
    SHORT sStored;     // round to nearest of typed x unit (/ 25.4 for millimetres)
    const char* shown;  // what the refreshed spin shows for the stored value
};

TEST_F(LayoutLengths, TypedLengthsAreStoredRoundedAndShowTheSameAgain)
{
    const TypedCase cases[] = {
        {false, 600, 0.5, 300, "0.5"},
        {false, 600, 0.3, 180, "0.3"},
        {false, 360, 0.7, 252, "0.7"},  // 0.7 x 360 is 251.99999...: truncation would store 251
        {false, 720, 0.7, 504, "0.7"},  // 503.99999...
        {false, 600, 0.7, 420, "0.7"},
        {false, 600, 0.9, 540, "0.9"},
        {false, 1200, 0.3, 360, "0.3"},
        {false, 0, 0.3, 180, "0.3"},    // no layout unit: 600
        {true, 600, 3, 71, "3"},        // 70.87
        {true, 600, 25, 591, "25"},     // 590.55
        {true, 1200, 3, 142, "3"},      // 141.73
        {true, 0, 3, 71, "3"},
        {false, 600, 0.0, 0, "0.0"},
    };
    Load("colour");
    for (const LengthDialog& d : kDialogs) {
        for (const TypedCase& c : cases) {
            SCOPED_TRACE(testing::Message() << d.title << ": " << c.dTyped << (c.bMM ? " mm" : " in") << " at "
                                            << c.wUnit);
            SetUnits(c.bMM, c.wUnit);
            std::unique_ptr<xDialog> dialog(d.make(Win()));
            SHORT sStored = -1;
            Run(*dialog, d.title, [&](GtkWidget* pWindow) {
                auto* pSpin = Control<xSpinButton>(pWindow, *dialog, d.nSpinID);
                ASSERT_NE(pSpin, nullptr);
                SetSpin(pSpin, c.dTyped == 0.0 ? 0.1 : 0.0);  // a change, so that the value below is new
                SetSpin(pSpin, c.dTyped);
                const DRVDEVMODE& copy = d.copy(dialog.get());
                EXPECT_EQ(d.stored(copy), c.sStored);
                // Refreshed from the stored value, the spin shows what was typed, and that read
                // back stores the same units.
                Click(Control<xButtonBase>(pWindow, *dialog, d.nRefreshID));
                EXPECT_EQ(SpinText(pSpin), c.shown);
                gtk_spin_button_update(GTK_SPIN_BUTTON(pSpin->GetGtkWidget()));
                SetSpin(pSpin, pSpin->GetValue());
                EXPECT_EQ(d.stored(copy), c.sStored);
                sStored = d.stored(copy);
            }, Ending::Ok);
            EXPECT_EQ(d.stored(Working()), sStored);
        }
    }
}

TEST_F(LayoutLengths, EveryTenthOfAnInchGoesRoundTheDialogUnchanged)
{
    Load("colour");
    for (WORD wUnit : {300, 360, 600, 720, 1200}) {
        SetUnits(false, wUnit);
        CDlgBooklet dialog(Win());
        Run(dialog, "Booklet", [&](GtkWidget* pWindow) {
            auto* pSpin = Control<xSpinButton>(pWindow, dialog, IDC_BOOKLET_GUTTER);
            for (int tenths = 20; tenths >= 0; --tenths) {
                SCOPED_TRACE(testing::Message() << tenths << "/10 in at " << wUnit);
                SetSpin(pSpin, tenths / 10.0);
                const SHORT sExpected = static_cast<SHORT>(tenths * wUnit / 10);
                EXPECT_EQ(dialog.GetDevmode().priv.dmGutter, sExpected);
                Click(Control<xButtonBase>(pWindow, dialog, IDC_BOOKLET_LEFT));
                char expectedText[16];
                std::snprintf(expectedText, sizeof expectedText, "%d.%d", tenths / 10, tenths % 10);
                EXPECT_EQ(SpinText(pSpin), expectedText);
            }
        }, Ending::Cancel);
    }
}

TEST_F(LayoutLengths, AStoredLengthIsShownInTheUnitOfTheSettings)
{
    Load("colour");
    struct ShownCase {
        bool bMM;
        SHORT sStored;
        const char* shown;
    } cases[] = {
        {true, 71, "3"},     // 3.0057 mm
        {false, 179, "0.3"}, // 0.29833 in, as an older truncation stored it
        {false, 300, "0.5"},
        {true, 1200, "51"},  // 50.8 mm; beyond the overlap's range, which GTK holds it to
    };
    for (const ShownCase& c : cases) {
        for (const LengthDialog& d : kDialogs) {
            SCOPED_TRACE(testing::Message() << d.title << ": " << c.sStored);
            SetUnits(c.bMM, 600);
            d.store(Working(), c.sStored);
            const DRVDEVMODE before = Working();
            std::unique_ptr<xDialog> dialog(d.make(Win()));
            Run(*dialog, d.title, [&](GtkWidget* pWindow) {
                auto* pSpin = Control<xSpinButton>(pWindow, *dialog, d.nSpinID);
                ASSERT_NE(pSpin, nullptr);
                if (std::string(d.title) == "Poster" && c.sStored == 1200) {
                    EXPECT_EQ(SpinText(pSpin), "25");  // the overlap's range ends at 25.4 mm
                } else {
                    EXPECT_EQ(SpinText(pSpin), c.shown);
                }
            }, Ending::Cancel);
            EXPECT_TRUE(layouttest::SameRecord(Working(), before));
        }
    }
}

}  // namespace
