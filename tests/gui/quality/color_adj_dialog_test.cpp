// The colour adjustment dialog over the colour and mono sample queues: its pages by colour mode,
// sliders, spins and fields in step, Restore Defaults, the previews (rendered only when their
// inputs change, and moving the right way on the photograph's test card), and OK against
// Cancel, Escape and the window manager's close.
#include "gui/quality/QualityFixture.h"

#include "gui/dlgcoloradj/DlgColorAdj.h"
#include "gui/dlgcoloradj/PreviewPicture.h"
#include "gui/dlgcoloradj/TabAdjustment.h"
#include "gui/dlgcoloradj/TabBrightness.h"
#include "gui/dlgcoloradj/TabColorSpace.h"
#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/Screenshot.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PreviewPictureLayout.h"
#include "gui/widgets/xButton.h"
#include "gui/widgets/xDialogResults.h"
#include "gui/widgets/xEntry.h"
#include "gui/widgets/xImage.h"
#include "gui/widgets/xNoteBook.h"
#include "gui/widgets/xRange.h"

#include <gdk/gdkkeysyms.h>

#include <cstring>
#include <functional>

namespace {

using guitest::Pump;
using qualitytest::Choose;
using qualitytest::IsDrawn;

namespace layout = orv::preview;

struct Rgb {
    int r, g, b;
};

// The pixel (x, y) of the picture an image shows.
Rgb PixelOf(xImage* image, int x, int y)
{
    GdkPixbuf* pixbuf = gtk_image_get_pixbuf(GTK_IMAGE(image->GetGtkWidget()));
    EXPECT_NE(pixbuf, nullptr);
    if (pixbuf == nullptr) {
        return {-1, -1, -1};
    }
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
    return {p[0], p[1], p[2]};
}

// The mid grey band between the ramp and the patches (source 128, 128, 128).
Rgb MidGrey(xImage* image)
{
    return PixelOf(image, layout::kWidth / 2, layout::kRampBottom + 1);
}

// The centre of a patch of the test card.
Rgb Patch(xImage* image, int index)
{
    return PixelOf(image, index * layout::kPatchWidth + layout::kPatchWidth / 2,
                   (layout::kPatchTop + layout::kPatchBottom) / 2);
}

// Counts how often an image is given its picture: once per render.
class RenderCounter {
public:
    explicit RenderCounter(xImage* image) : m_image(image->GetGtkWidget())
    {
        m_handler = g_signal_connect(m_image, "notify::pixbuf", G_CALLBACK(&RenderCounter::OnNotify), this);
    }
    ~RenderCounter() { g_signal_handler_disconnect(m_image, m_handler); }
    int Count() const { return m_count; }

private:
    static void OnNotify(GObject*, GParamSpec*, gpointer self) { ++static_cast<RenderCounter*>(self)->m_count; }
    GtkWidget* m_image;
    gulong m_handler;
    int m_count = 0;
};

struct ColorDialog : qualitytest::SetupWindow {
    std::unique_ptr<CDlgColorAdj> dialog;

    // Runs the dialog over the loaded queue with the colour mode given; the step acts on it and
    // ends it. The dialog's result.
    int Run(SHORT colorMode, const std::string& title, std::function<void(GtkWindow*)> step)
    {
        Settings().priv.dmColor = colorMode;
        dialog = std::make_unique<CDlgColorAdj>(Win(), Info());
        orvgui::ModalDriver driver;
        driver.OnWindow(title, std::move(step));
        driver.Start();
        const int result = dialog->DoModal();
        EXPECT_TRUE(driver.Done());
        return result;
    }
    template <typename T>
    T* Control(int id, const xWidget* owner) const
    {
        return dynamic_cast<T*>(orvgui::FindControl(dialog->GetGtkWidget(), id, owner));
    }
    xSlider* Slider(int id) const { return Control<xSlider>(id, dialog->GetAdjustmentPage()); }
    xSpinButton* Spin(int id) const { return Control<xSpinButton>(id, dialog->GetAdjustmentPage()); }
    CLRCTRL& Working() const { return dialog->WorkingCopy().priv.dmClrCtrl; }
    static void MoveSlider(xSlider* slider, double value)
    {
        ASSERT_NE(slider, nullptr);
        gtk_range_set_value(GTK_RANGE(slider->GetGtkWidget()), value);
        Pump();
    }
    static void SetSpin(xSpinButton* spin, double value)
    {
        ASSERT_NE(spin, nullptr);
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin->GetGtkWidget()), value);
        Pump();
    }
    // Shows a tab of the dialog's notebook, as a click on it does.
    void ShowTab(int index) const
    {
        gtk_notebook_set_current_page(GTK_NOTEBOOK(dialog->GetNoteBook()->GetGtkWidget()), index);
        Pump();
    }
    std::vector<std::string> TabTexts() const
    {
        std::vector<std::string> tabs;
        xNoteBook* notebook = dialog->GetNoteBook();
        for (int i = 0; notebook != nullptr && i < gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook->GetGtkWidget())); ++i) {
            GtkNotebook* nb = GTK_NOTEBOOK(notebook->GetGtkWidget());
            tabs.push_back(gtk_label_get_text(GTK_LABEL(gtk_notebook_get_tab_label(nb, gtk_notebook_get_nth_page(nb, i)))));
        }
        return tabs;
    }
};

TEST_F(ColorDialog, PagesAndTitleFollowTheColourMode)
{
    struct Case {
        SHORT mode;
        const char* title;
        std::vector<std::string> tabs;
        bool brightnessPage;
    };
    const Case cases[] = {
        {1, "Brightness Adjustment", {}, true},
        {2, "Device Color", {"Color Space", "Adjustment"}, false},
        {3, "Device Color", {"Adjustment"}, false},
        {0, "", {}, false},
        {7, "", {}, false},
    };
    StartOn("colour");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const DRVDEVMODE before = Settings();
        const int result = Run(c.mode, c.title, [&](GtkWindow* window) {
            EXPECT_EQ(TabTexts(), c.tabs);
            EXPECT_EQ(dialog->GetBrightnessPage() != nullptr, c.brightnessPage);
            EXPECT_EQ(dialog->GetColorSpacePage() != nullptr, c.mode == 2);
            EXPECT_EQ(dialog->GetAdjustmentPage() != nullptr, c.mode == 2 || c.mode == 3);
            EXPECT_FALSE(gtk_window_get_resizable(window));
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        });
        EXPECT_EQ(result, IDOK);
        // Nothing was changed: OK writes the copy back as it was.
        Settings().priv.dmColor = before.priv.dmColor;
        EXPECT_EQ(std::memcmp(&Settings(), &before, sizeof before), 0);
    }
}

// Each row's slider, spin and field stay in step whichever of the two the user moves.
TEST_F(ColorDialog, SliderSpinAndFieldMoveTogether)
{
    struct Case {
        WORD type;
        int slider;
        SHORT CLRCTRL::*field;
    };
    const Case cases[] = {
        {1, IDC_CLRADJ_SATURATION_SLIDER, &CLRCTRL::sSaturation}, {2, 9, &CLRCTRL::sRed},
        {2, 11, &CLRCTRL::sGreen},  {2, 13, &CLRCTRL::sBlue},   {3, 15, &CLRCTRL::sCyan},
        {3, 17, &CLRCTRL::sMagenta}, {3, 19, &CLRCTRL::sYellow}, {3, IDC_CLRADJ_BLACK_SPIN - 1, &CLRCTRL::sBlack},
        {2, IDC_CLRADJ_BRIGHTNESS_SLIDER, &CLRCTRL::sBrightness},
    };
    StartOn("colour");
    Run(2, "Device Color", [&](GtkWindow* window) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.slider);
            Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, dialog->GetAdjustmentPage()), c.type);
            ASSERT_EQ(Working().wType, c.type);
            MoveSlider(Slider(c.slider), 12);
            EXPECT_EQ(Working().*c.field, 12);
            EXPECT_EQ(Spin(c.slider + 1)->GetValueInt(), 12);
            SetSpin(Spin(c.slider + 1), -37);
            EXPECT_EQ(Working().*c.field, -37);
            EXPECT_EQ(Slider(c.slider)->GetValueInt(), -37);
        }
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

TEST_F(ColorDialog, TypeShowsItsRowsAndKeepsTheOthersValues)
{
    StartOn("colour");
    Run(3, "Device Color", [&](GtkWindow* window) {
        auto* type = Control<xComboBox>(IDC_CLRADJ_TYPE, dialog->GetAdjustmentPage());
        EXPECT_EQ(guitest::RowTexts(type), (std::vector<std::string>{"Saturation", "RGB Balance", "CMYK Balance"}));
        struct Case {
            WORD type;
            std::vector<bool> rowsShown;  // saturation, red, green, blue, cyan, magenta, yellow, black
        };
        const Case cases[] = {
            {2, {false, true, true, true, false, false, false, false}},
            {3, {false, false, false, false, true, true, true, true}},
            {1, {true, false, false, false, false, false, false, false}},
        };
        for (const Case& c : cases) {
            Choose(type, c.type);
            for (int r = 0; r < 8; ++r) {
                EXPECT_EQ(IsDrawn(Slider(IDC_CLRADJ_SATURATION_SLIDER + 2 * r)), c.rowsShown[r]) << c.type << " row " << r;
                EXPECT_EQ(IsDrawn(Spin(IDC_CLRADJ_SATURATION_SPIN + 2 * r)), c.rowsShown[r]);
            }
            EXPECT_TRUE(IsDrawn(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER)));
        }
        // RGB values survive a switch to CMYK Balance and show again on the way back.
        Choose(type, 2);
        MoveSlider(Slider(9), 21);
        MoveSlider(Slider(11), -8);
        Choose(type, 3);
        EXPECT_EQ(Working().sRed, 21);
        EXPECT_EQ(Working().sGreen, -8);
        Choose(type, 2);
        EXPECT_EQ(Slider(9)->GetValueInt(), 21);
        EXPECT_EQ(Spin(12)->GetValueInt(), -8);
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

// Restore Defaults takes the model's defaults for the shown type's values and the brightness
// only; the type and the other types' values stay.
TEST_F(ColorDialog, RestoreDefaultsResetsOnlyTheShownTypeAndBrightness)
{
    StartOn("colour");
    const CLRCTRL defaults = Info()->dmDefault.priv.dmClrCtrl;
    struct Case {
        WORD type;
        std::vector<SHORT CLRCTRL::*> reset;
    };
    const Case cases[] = {
        {1, {&CLRCTRL::sSaturation}},
        {2, {&CLRCTRL::sRed, &CLRCTRL::sGreen, &CLRCTRL::sBlue}},
        {3, {&CLRCTRL::sCyan, &CLRCTRL::sMagenta, &CLRCTRL::sYellow, &CLRCTRL::sBlack}},
    };
    const std::vector<SHORT CLRCTRL::*> all = {&CLRCTRL::sSaturation, &CLRCTRL::sRed,     &CLRCTRL::sGreen,
                                               &CLRCTRL::sBlue,       &CLRCTRL::sCyan,    &CLRCTRL::sMagenta,
                                               &CLRCTRL::sYellow,     &CLRCTRL::sBlack};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        CLRCTRL& settings = Settings().priv.dmClrCtrl;
        settings.wType = c.type;
        SHORT odd = 11;
        for (auto field : all) {
            settings.*field = static_cast<SHORT>(defaults.*field + odd++);
        }
        settings.sBrightness = static_cast<SHORT>(defaults.sBrightness + 30);
        settings.wProfile = static_cast<WORD>(defaults.wProfile ^ 1);
        const CLRCTRL changed = settings;
        Run(2, "Device Color", [&](GtkWindow* window) {
            gtk_button_clicked(GTK_BUTTON(Control<xButtonBase>(IDC_CLRADJ_ADJ_DEFAULTS, dialog->GetAdjustmentPage())->GetGtkWidget()));
            Pump();
            for (auto field : all) {
                const bool reset = std::find(c.reset.begin(), c.reset.end(), field) != c.reset.end();
                EXPECT_EQ(Working().*field, reset ? defaults.*field : changed.*field);
            }
            EXPECT_EQ(Working().sBrightness, defaults.sBrightness);
            EXPECT_EQ(Working().wType, c.type);
            EXPECT_EQ(Working().wProfile, changed.wProfile) << "the Color Space page's values stay";
            EXPECT_EQ(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER)->GetValueInt(), defaults.sBrightness);
            orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
        });
        EXPECT_EQ(Settings().priv.dmClrCtrl.sBrightness, defaults.sBrightness);
    }
}

TEST_F(ColorDialog, ColorSpacePageEditsProfileAndGrayReproduction)
{
    StartOn("colour");
    const CLRCTRL defaults = Info()->dmDefault.priv.dmClrCtrl;
    Run(2, "Device Color", [&](GtkWindow* window) {
        const xWidget* page = dialog->GetColorSpacePage();
        auto* profile = Control<xComboBox>(IDC_CLRADJ_PROFILE, page);
        auto* gray = Control<xComboBox>(IDC_CLRADJ_GRAYREPRO, page);
        EXPECT_EQ(guitest::RowTexts(profile), (std::vector<std::string>{"sRGB", "Vivid"}));
        EXPECT_EQ(guitest::RowTexts(gray), (std::vector<std::string>{"CMYK", "Black"}));
        EXPECT_EQ(profile->GetCurSelData(), GINT_TO_POINTER(Working().wProfile));
        const WORD otherProfile = static_cast<WORD>(defaults.wProfile ^ 1);
        const WORD otherGray = static_cast<WORD>(defaults.wGrayRepro ^ 1);
        Choose(profile, otherProfile);
        Choose(gray, otherGray);
        EXPECT_EQ(Working().wProfile, otherProfile);
        EXPECT_EQ(Working().wGrayRepro, otherGray);
        MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), 17);
        gtk_button_clicked(GTK_BUTTON(Control<xButtonBase>(IDC_CLRADJ_CS_DEFAULTS, page)->GetGtkWidget()));
        Pump();
        EXPECT_EQ(Working().wProfile, defaults.wProfile);
        EXPECT_EQ(Working().wGrayRepro, defaults.wGrayRepro);
        EXPECT_EQ(profile->GetCurSelData(), GINT_TO_POINTER(defaults.wProfile));
        EXPECT_EQ(Working().sBrightness, 17) << "the Adjustment page's values stay";
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

// The preview renders once when the dialog opens and then only when the colour-control block
// changes: refilling the controls, a slider or spin moved to its own value and a type chosen
// again render nothing.
TEST_F(ColorDialog, ColourPreviewRendersOnlyWhenTheBlockChanges)
{
    StartOn("colour");
    Settings().priv.dmClrCtrl.wType = 2;
    Run(2, "Device Color", [&](GtkWindow* window) {
        CDlgColorAdj::CTabAdjustment* page = dialog->GetAdjustmentPage();
        RenderCounter renders(page->GetPreviewImage());
        page->UpdateStatus();
        EXPECT_EQ(renders.Count(), 0) << "refilling the controls renders nothing";
        MoveSlider(Slider(9), 10);
        EXPECT_EQ(renders.Count(), 1);
        MoveSlider(Slider(9), 10);
        SetSpin(Spin(10), 10);
        EXPECT_EQ(renders.Count(), 1) << "the value it already has";
        Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, page), 2);
        EXPECT_EQ(renders.Count(), 1);
        MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), -5);
        EXPECT_EQ(renders.Count(), 2);
        Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, page), 3);
        EXPECT_EQ(renders.Count(), 3);
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

TEST_F(ColorDialog, GrayPreviewRendersOnlyWhenTheGrayBrightnessChanges)
{
    StartOn("mono");
    Run(1, "Brightness Adjustment", [&](GtkWindow* window) {
        CDlgColorAdj::CTabBrightness* page = dialog->GetBrightnessPage();
        auto* slider = Control<xSlider>(IDC_CLRADJ_GRAY_SLIDER, page);
        auto* spin = Control<xSpinButton>(IDC_CLRADJ_GRAY_SPIN, page);
        RenderCounter renders(page->GetPreviewImage());
        const SHORT current = Working().sGrayBrightness;
        MoveSlider(slider, current);
        EXPECT_EQ(renders.Count(), 0);
        MoveSlider(slider, 12);
        EXPECT_EQ(Working().sGrayBrightness, 12);
        EXPECT_EQ(spin->GetValueInt(), 12);
        EXPECT_EQ(renders.Count(), 1);
        SetSpin(spin, -30);
        EXPECT_EQ(slider->GetValueInt(), -30);
        EXPECT_EQ(renders.Count(), 2);
        gtk_button_clicked(GTK_BUTTON(Control<xButtonBase>(IDC_CLRADJ_GRAY_DEFAULTS, page)->GetGtkWidget()));
        Pump();
        EXPECT_EQ(Working().sGrayBrightness, Info()->dmDefault.priv.dmClrCtrl.sGrayBrightness);
        EXPECT_EQ(renders.Count(), 3);
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

// On the photograph's test card: brightness makes the mid grey brighter, red balance makes it
// redder, cyan balance takes red away; the gray preview is gray and lighter or darker with its
// brightness. Each against the neutral preview of the same dialog.
TEST_F(ColorDialog, PreviewPixelsMoveTheRightWay)
{
    StartOn("colour");
    CLRCTRL& settings = Settings().priv.dmClrCtrl;
    settings.wType = 2;
    settings.sBrightness = settings.sRed = settings.sGreen = settings.sBlue = 0;
    settings.sCyan = settings.sMagenta = settings.sYellow = settings.sBlack = 0;
    Run(2, "Device Color", [&](GtkWindow* window) {
        xImage* image = dialog->GetAdjustmentPage()->GetPreviewImage();
        const Rgb neutral = MidGrey(image);
        // Neutral is not the photograph: the sliders' 0 scales to 127, one below the transforms'
        // centre. Grey 128 falls on the lattice corner at 127.5; the brightness step takes
        // 100/127 off (126.71) and the red tone curve, shifted by -100/127 in its middle piece,
        // gives 125.92, which rounds to 126. Grey stays grey.
        EXPECT_EQ(neutral.r, 126);
        EXPECT_EQ(neutral.r, neutral.g);
        EXPECT_EQ(neutral.g, neutral.b);
        const Rgb white = Patch(image, 6);
        EXPECT_GE(white.r, 250);

        MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), 40);
        const Rgb bright = MidGrey(image);
        EXPECT_GT(bright.r, neutral.r + 20);
        EXPECT_GT(bright.g, neutral.g + 20);
        EXPECT_GT(bright.b, neutral.b + 20);
        MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), 0);
        EXPECT_EQ(MidGrey(image).r, neutral.r);

        MoveSlider(Slider(9), 40);
        const Rgb red = MidGrey(image);
        EXPECT_GT(red.r, neutral.r + 20);
        EXPECT_EQ(red.g, neutral.g);
        EXPECT_EQ(red.b, neutral.b);
        MoveSlider(Slider(9), 0);

        Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, dialog->GetAdjustmentPage()), 3);
        const Rgb cmykNeutral = MidGrey(image);
        MoveSlider(Slider(15), 40);
        const Rgb cyan = MidGrey(image);
        EXPECT_LT(cyan.r, cmykNeutral.r - 10) << "more cyan is less red";
        MoveSlider(Slider(15), 0);

        Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, dialog->GetAdjustmentPage()), 1);
        const Rgb redPatch = Patch(image, 0);
        MoveSlider(Slider(IDC_CLRADJ_SATURATION_SLIDER), -50);
        const Rgb dull = Patch(image, 0);
        EXPECT_LT(redPatch.g + 10, dull.g) << "less saturation brings red towards grey";
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });

    Settings().priv.dmClrCtrl.sGrayBrightness = 0;
    Run(1, "Brightness Adjustment", [&](GtkWindow* window) {
        CDlgColorAdj::CTabBrightness* page = dialog->GetBrightnessPage();
        xImage* image = page->GetPreviewImage();
        auto* slider = Control<xSlider>(IDC_CLRADJ_GRAY_SLIDER, page);
        const Rgb neutral = MidGrey(image);
        EXPECT_EQ(neutral.r, 128);
        const Rgb red = Patch(image, 0);
        EXPECT_EQ(red.r, red.g) << "the gray preview is gray";
        EXPECT_EQ(red.g, red.b);
        MoveSlider(slider, 50);
        EXPECT_GT(MidGrey(image).r, neutral.r + 30);
        MoveSlider(slider, -50);
        EXPECT_LT(MidGrey(image).r, neutral.r - 30);
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

// Every way out other than OK leaves the settings byte for byte as they were.
TEST_F(ColorDialog, CancelEscapeAndWindowCloseLeaveTheSettingsUntouched)
{
    enum class Way { Cancel, Escape, WindowManager, Ok };
    StartOn("colour");
    for (Way way : {Way::Cancel, Way::Escape, Way::WindowManager, Way::Ok}) {
        SCOPED_TRACE(static_cast<int>(way));
        for (SHORT mode : {SHORT(1), SHORT(2)}) {
            Settings().priv.dmColor = mode;
            const DRVDEVMODE before = Settings();
            const int result = Run(mode, mode == 1 ? "Brightness Adjustment" : "Device Color", [&](GtkWindow* window) {
                if (mode == 1) {
                    MoveSlider(Control<xSlider>(IDC_CLRADJ_GRAY_SLIDER, dialog->GetBrightnessPage()), 33);
                } else {
                    Choose(Control<xComboBox>(IDC_CLRADJ_TYPE, dialog->GetAdjustmentPage()), 3);
                    MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), -41);
                    Choose(Control<xComboBox>(IDC_CLRADJ_PROFILE, dialog->GetColorSpacePage()),
                           Working().wProfile ^ 1);
                }
                switch (way) {
                case Way::Cancel:
                    orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
                    break;
                case Way::Escape:
                    orvgui::GiveFocus(GTK_WIDGET(window));
                    orvgui::PressKey(GTK_WIDGET(window), GDK_Escape);
                    break;
                case Way::WindowManager:
                    orvgui::CloseByWindowManager(GTK_WIDGET(window));
                    break;
                case Way::Ok:
                    orvgui::ClickResponse(GTK_WIDGET(window), IDOK);
                    break;
                }
            });
            if (way == Way::Ok) {
                EXPECT_EQ(result, IDOK);
                EXPECT_NE(std::memcmp(&Settings(), &before, sizeof before), 0);
                EXPECT_EQ(std::memcmp(&Settings(), &dialog->WorkingCopy(), sizeof before), 0);
            } else {
                EXPECT_EQ(result, IDCANCEL);
                EXPECT_EQ(std::memcmp(&Settings(), &before, sizeof before), 0);
            }
            Settings() = before;
        }
    }
}

// A photograph that is missing, undecodable or of another kind shows no preview; nothing reads it.
TEST(PreviewPicture, UnusablePhotographsShowNoPreview)
{
    GdkPixbuf* rgba = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 16, 16);
    GdkPixbuf* rgb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 16, 16);
    gdk_pixbuf_fill(rgb, 0x808080ff);
    struct Case {
        const char* name;
        GdkPixbuf* source;
        bool valid;
    };
    const Case cases[] = {{"missing", nullptr, false}, {"with alpha", rgba, false}, {"rgb", rgb, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        CPreviewPicture picture(c.source);
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(picture.IsValid(), c.valid);
        EXPECT_EQ(picture.Working() != nullptr, c.valid);
        EXPECT_EQ(said.empty(), c.valid) << said;
        if (!c.valid) {
            EXPECT_NE(said.find("dlgcoloradj"), std::string::npos);
        }
        CLRCTRL neutral{};
        neutral.wType = 2;
        EXPECT_EQ(RenderColorPreview(neutral, picture.Pictures()), c.valid);
        EXPECT_EQ(RenderGrayPreview(0, picture.Pictures()), c.valid);
    }
    g_object_unref(rgba);
    g_object_unref(rgb);
    // The built-in photograph is usable.
    CPreviewPicture builtin(GetBuiltinImage(kPreviewPictureId));
    EXPECT_TRUE(builtin.IsValid());
}

TEST_F(ColorDialog, Screenshots)
{
    StartOn("colour");
    CLRCTRL& settings = Settings().priv.dmClrCtrl;
    settings.wType = 2;
    settings.sBrightness = settings.sRed = settings.sGreen = settings.sBlue = 0;
    Run(2, "Device Color", [&](GtkWindow* window) {
        ShowTab(1);
        EXPECT_FALSE(orvgui::SaveScreenshot(GTK_WIDGET(window), "color-adjust-neutral").empty());
        MoveSlider(Slider(9), 35);
        MoveSlider(Slider(IDC_CLRADJ_BRIGHTNESS_SLIDER), 20);
        EXPECT_FALSE(orvgui::SaveScreenshot(GTK_WIDGET(window), "color-adjust-adjusted").empty());
        ShowTab(0);
        EXPECT_FALSE(orvgui::SaveScreenshot(GTK_WIDGET(window), "color-adjust-color-space").empty());
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
    Run(1, "Brightness Adjustment", [&](GtkWindow* window) {
        MoveSlider(Control<xSlider>(IDC_CLRADJ_GRAY_SLIDER, dialog->GetBrightnessPage()), 25);
        EXPECT_FALSE(orvgui::SaveScreenshot(GTK_WIDGET(window), "color-adjust-brightness").empty());
        orvgui::ClickResponse(GTK_WIDGET(window), IDCANCEL);
    });
}

}  // namespace
