// A window built from every kind of control the library has, saved as a picture for people to
// look at (build tree: tests/gui/screenshots/), with a dialog and a message box beside it.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/kit/ModalDriver.h"
#include "gui/kit/Screenshot.h"
#include "gui/widgets/Widgets.h"

namespace {

bool FileHasBytes(const std::string& path)
{
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

// A 24 x 24 picture drawn by the test (the built-in pictures are not needed here).
GdkPixbuf* NewSwatch(guint32 rgba)
{
    GdkPixbuf* pPixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 24, 24);
    gdk_pixbuf_fill(pPixbuf, rgba);
    return pPixbuf;
}

class DemoPage : public xTabBase {
public:
    DemoPage(xWidget* pNoteBook, const char* pszLabel) : xTabBase(pNoteBook, pszLabel, 100)
    {
        Attach(gtk_vbox_new(FALSE, 4));
    }
};

class DemoWindow : public xWindow {
public:
    DemoWindow() : xWindow(nullptr) {}
    ~DemoWindow() override
    {
        for (auto it = m_owned.rbegin(); it != m_owned.rend(); ++it) {
            delete *it;
        }
    }
    template <class T>
    T* Own(T* p)
    {
        m_owned.push_back(p);
        return p;
    }
    void OnCreate() override
    {
        SetTitle("Widget Demo");
        auto* pPaned = Own(new xPaned(XORIENT_HORIZONTAL));
        Add(pPaned);

        auto* pList = Own(new xListBox(this, 1, "Printers"));
        pList->AddString("GM4150 Office", GINT_TO_POINTER(1), 0);
        pList->AddString("GC7350 Colour", GINT_TO_POINTER(2), 0);
        pList->AddString("GM1000 Desk", GINT_TO_POINTER(3), 0);
        pList->SetCurSel(1);
        pList->SetSize(170, -1);
        pPaned->Pack1(pList, FALSE, FALSE);

        auto* pRight = Own(new xBox(XORIENT_VERTICAL, FALSE, 6));
        pRight->SetBorderWidth(6);
        pPaned->Pack2(pRight, TRUE, FALSE);
        auto* pNoteBook = Own(new xNoteBook(this, 2));
        pRight->PackStart(pNoteBook, TRUE, TRUE, 0);
        auto* pPage = Own(new DemoPage(pNoteBook, "Basic"));
        auto* pOther = Own(new DemoPage(pNoteBook, "Quality"));
        pNoteBook->AppendPage(pPage, pPage->GetLabel());
        pNoteBook->AppendPage(pOther, pOther->GetLabel());

        auto* pTable = Own(new xTable(4, 2, FALSE, pPage, -1));
        pTable->SetColSpacing(-1, 8);
        auto* pPaperLabel = Own(new xLabel("Paper Si_ze :", nullptr, -1, 0.0f, 0.5f));
        auto* pCombo = Own(new xComboBox(pPage, 3));
        pCombo->AddString("A4 (210 x 297 mm)", GINT_TO_POINTER(9), 0);
        pCombo->AddString("Letter (8.5 x 11 in.)", GINT_TO_POINTER(1), 0);
        pCombo->SetCurSel(0);
        GdkPixbuf* pSwatch = NewSwatch(0x2f6fb0ff);
        pCombo->SetItemImage(0, pSwatch);
        g_object_unref(pSwatch);
        pPaperLabel->SetMnemonicWidget(pCombo);
        pTable->Attach(pPaperLabel, 0, 0, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        pTable->Attach(pCombo, 1, 0, 1, 1, GtkAttachOptions(GTK_EXPAND | GTK_FILL), GTK_FILL, 0, 2);
        auto* pCopiesLabel = Own(new xLabel("_Copies :", nullptr, -1, 0.0f, 0.5f));
        auto* pSpin = Own(new xSpinButton(pPage, 4, 0, 1, 999, 1));
        pSpin->SetValue(2);
        pCopiesLabel->SetMnemonicWidget(pSpin);
        pTable->Attach(pCopiesLabel, 0, 1, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        pTable->Attach(pSpin, 1, 1, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        auto* pUserLabel = Own(new xLabel("_User Name :", nullptr, -1, 0.0f, 0.5f));
        auto* pUser = Own(new xEntry(pPage, 5, 16));
        pUser->SetText("alice");
        pTable->Attach(pUserLabel, 0, 2, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        pTable->Attach(pUser, 1, 2, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        auto* pCodeLabel = Own(new xLabel("_Department Code :", nullptr, -1, 0.0f, 0.5f));
        auto* pCode = Own(new xEntryNoWide(pPage, 6, 8, ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT));
        pCode->SetPassword(1);
        pCode->SetText("1234");
        pTable->Attach(pCodeLabel, 0, 3, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        pTable->Attach(pCode, 1, 3, 1, 1, GTK_FILL, GTK_FILL, 0, 2);
        gtk_box_pack_start(GTK_BOX(pPage->GetGtkWidget()), pTable->GetGtkWidget(), FALSE, FALSE, 0);

        auto* pSeparator = Own(new xSeparator(XORIENT_HORIZONTAL, pPage, -1));
        gtk_box_pack_start(GTK_BOX(pPage->GetGtkWidget()), pSeparator->GetGtkWidget(), FALSE, FALSE, 2);

        auto* pFrame = Own(new xFrame("Orientation"));
        gtk_box_pack_start(GTK_BOX(pPage->GetGtkWidget()), pFrame->GetGtkWidget(), FALSE, FALSE, 0);
        auto* pFrameBox = Own(new xBox(XORIENT_HORIZONTAL, FALSE, 6));
        pFrameBox->SetBorderWidth(4);
        pFrame->Add(pFrameBox);
        auto* pPortrait = Own(new xRadioBox(pPage, 7, "_Portrait", nullptr));
        auto* pLandscape = Own(new xRadioBox(pPage, 8, "_Landscape", pPortrait));
        pFrameBox->PackStart(pPortrait, FALSE, FALSE, 0);
        pFrameBox->PackStart(pLandscape, FALSE, FALSE, 0);
        auto* pVSeparator = Own(new xSeparator(XORIENT_VERTICAL, pPage, -1));
        pFrameBox->PackStart(pVSeparator, FALSE, FALSE, 4);
        GdkPixbuf* pPicture = NewSwatch(0xd04020ff);
        auto* pImage = Own(new xImage(pPicture, pPage, 9));
        g_object_unref(pPicture);
        pFrameBox->PackStart(pImage, FALSE, FALSE, 0);

        auto* pToggles = Own(new xBox(XORIENT_HORIZONTAL, FALSE, 6));
        gtk_box_pack_start(GTK_BOX(pPage->GetGtkWidget()), pToggles->GetGtkWidget(), FALSE, FALSE, 0);
        auto* pCollate = Own(new xCheckBox(pPage, 10, "C_ollate"));
        pCollate->SetCheck(1);
        auto* pToggle = Own(new xToggleButton(pPage, 11, "_Booklet", 0));
        pToggle->SetCheckSilently(1);
        auto* pStock = Own(new xButton(pPage, 12, "_Print Test", 0, GTK_STOCK_PRINT));
        pToggles->PackStart(pCollate, FALSE, FALSE, 0);
        pToggles->PackStart(pToggle, FALSE, FALSE, 0);
        pToggles->PackStart(pStock, FALSE, FALSE, 0);

        auto* pAlign = Own(new xAlignment(0.0f, 0.5f, 1.0f, 0.0f));
        gtk_box_pack_start(GTK_BOX(pPage->GetGtkWidget()), pAlign->GetGtkWidget(), FALSE, FALSE, 0);
        auto* pSlider = Own(new xSlider(XORIENT_HORIZONTAL, pPage, 13, 0, -50, 50, 1));
        pSlider->SetValue(20);
        pAlign->Add(pSlider);

        auto* pButtons = Own(new xButtonBox(XORIENT_HORIZONTAL, GTK_BUTTONBOX_END, 6));
        pRight->PackEnd(pButtons, FALSE, FALSE, 0);
        pButtons->Add(Own(new xButton(this, 14, "_Restore Defaults", 0, nullptr)));
        pButtons->Add(Own(new xStockButton(this, 15, GTK_STOCK_APPLY)));
        pButtons->Add(Own(new xStockButton(this, 16, GTK_STOCK_OK)));
        pButtons->Add(Own(new xStockButton(this, 17, GTK_STOCK_CANCEL)));
        SetSize(760, 420);
    }

private:
    std::vector<xWidget*> m_owned;
};

TEST(DemoWindow, EveryControlKindIsSavedAsAPicture)
{
    DemoWindow window;
    window.OnCreate();
    window.ShowAll();
    std::string path = orvgui::SaveScreenshot(window.GetGtkWidget(), "widget-demo");
    EXPECT_TRUE(FileHasBytes(path)) << path;
    std::printf("demonstration window: %s\n", path.c_str());

    // The pictures are made by the program's own wrappers: every control found by its id.
    for (int nID = 1; nID <= 17; ++nID) {
        EXPECT_NE(orvgui::FindControl(window.GetGtkWidget(), nID), nullptr) << "control " << nID;
    }

    class DemoDialog : public xDialog {
    public:
        explicit DemoDialog(xWidget* pParent) : xDialog(pParent), m_label("Pages per Sheet :", nullptr, -1, 0, 0.5f)
        {
            SetTitle("Pages per Sheet");
            GetContentBox()->SetBorderWidth(8);
            GetContentBox()->PackStart(&m_label, FALSE, FALSE, 4);
            AddButton(GTK_STOCK_OK, IDOK);
            AddButton(GTK_STOCK_CANCEL, IDCANCEL);
            AddButton(GTK_STOCK_HELP, GTK_RESPONSE_HELP);
        }
        xLabel m_label;
    };
    std::string dialogPath;
    std::string boxPath;
    DemoDialog dialog(&window);
    orvgui::ModalDriver driver;
    driver.OnWindow("Pages per Sheet", [&](GtkWindow* pDialog) {
        dialogPath = orvgui::SaveScreenshot(GTK_WIDGET(pDialog), "widget-demo-dialog");
        xMessageBox(&dialog, MB_YESNOCANCEL | MB_ICONQUESTION, nullptr, "Printer Setting is changed.\nDo you want save?");
        orvgui::ClickResponse(GTK_WIDGET(pDialog), IDOK);
    });
    driver.OnWindow("Pages per Sheet", [&](GtkWindow* pBox) {
        boxPath = orvgui::SaveScreenshot(GTK_WIDGET(pBox), "widget-demo-messagebox");
        orvgui::ClickResponse(GTK_WIDGET(pBox), IDYES);
    });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(FileHasBytes(dialogPath));
    EXPECT_TRUE(FileHasBytes(boxPath));
    gtk_widget_destroy(window.GetGtkWidget());
}

}  // namespace
