#include "gui/widgets/xButton.h"

#include "gui/widgets/xImage.h"

namespace {

void OnClickedRoute(GtkButton*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xButtonBase*>(pData)->OnClicked();
    }
}

// A picture followed by a text with mnemonic, side by side, as a button's content.
GtkWidget* NewPictureAndText(GtkWidget* pImage, const char* pszLabel)
{
    GtkWidget* pBox = gtk_hbox_new(FALSE, 2);
    GtkWidget* pLabel = gtk_label_new(NULL);
    gtk_label_set_markup_with_mnemonic(GTK_LABEL(pLabel), pszLabel);
    gtk_box_pack_start(GTK_BOX(pBox), pImage, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(pBox), pLabel, FALSE, FALSE, 0);
    return pBox;
}

}  // namespace

xButtonBase::xButtonBase(xWidget* pOwner, int nID) : xBin(pOwner, nID), m_pImage(NULL) {}

xButtonBase::~xButtonBase()
{
    delete m_pImage;
}

void xButtonBase::SetText(const char* pszText)
{
    gtk_button_set_label(GTK_BUTTON(m_pWidget), pszText);
    gtk_button_set_use_underline(GTK_BUTTON(m_pWidget), TRUE);
}

void xButtonBase::SetImage(int nImageID)
{
    if (nImageID != 0 && m_pImage != NULL) {
        m_pImage->SetImage(nImageID);
    }
}

void xButtonBase::OnClicked()
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityBtnClicked(m_nID);
    }
}

void xButtonBase::SetCheck(int bCheck)
{
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_pWidget), bCheck);
}

int xButtonBase::GetCheck()
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(m_pWidget));
}

void xButtonBase::ConnectClicked()
{
    g_signal_connect(m_pWidget, "clicked", G_CALLBACK(OnClickedRoute), this);
}

xButton::xButton(xWidget* pOwner, int nID, const char* pszLabel, int nImageID, const char* pszStockID)
    : xButtonBase(pOwner, nID)
{
    bool bPicture = pszStockID != NULL || (nImageID & 0xFFFF) != 0;
    if (pszLabel == NULL || bPicture) {
        Attach(gtk_button_new());
    } else {
        Attach(gtk_button_new_with_mnemonic(pszLabel));
    }
    if (bPicture) {
        GtkWidget* pImage = pszStockID != NULL ? gtk_image_new_from_stock(pszStockID, GTK_ICON_SIZE_BUTTON)
                                               : gtk_image_new_from_pixbuf(BuiltinImageOrNull(nImageID));
        gtk_container_add(GTK_CONTAINER(m_pWidget),
                          pszLabel != NULL ? NewPictureAndText(pImage, pszLabel) : pImage);
    }
    ConnectClicked();
}

xStockButton::xStockButton(xWidget* pOwner, int nID, const char* pszStockID) : xButtonBase(pOwner, nID)
{
    Attach(gtk_button_new_from_stock(pszStockID));
    ConnectClicked();
}

xToggleButton::xToggleButton(xWidget* pOwner, int nID, const char* pszLabel, int nImageID)
    : xButtonBase(pOwner, nID), m_bNoNotify(0)
{
    bool bPicture = (nImageID & 0xFFFF) != 0;
    if (pszLabel == NULL || bPicture) {
        Attach(gtk_toggle_button_new());
    } else {
        Attach(gtk_toggle_button_new_with_mnemonic(pszLabel));
    }
    if (bPicture) {
        m_pImage = new xImage(nImageID, NULL, -1);
        if (pszLabel != NULL) {
            gtk_container_add(GTK_CONTAINER(m_pWidget), NewPictureAndText(m_pImage->GetGtkWidget(), pszLabel));
        } else {
            Add(m_pImage);
        }
    }
    ConnectClicked();
}

void xToggleButton::OnClicked()
{
    if (!m_bNoNotify) {
        xButtonBase::OnClicked();
    }
}

int xToggleButton::GetCheck()
{
    return xButtonBase::GetCheck();
}

void xToggleButton::SetCheckSilently(int bCheck)
{
    m_bNoNotify = 1;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_pWidget), bCheck);
    m_bNoNotify = 0;
}

xCheckBox::xCheckBox(xWidget* pOwner, int nID, const char* pszLabel) : xButtonBase(pOwner, nID)
{
    Attach(pszLabel != NULL ? gtk_check_button_new_with_mnemonic(pszLabel) : gtk_check_button_new());
    ConnectClicked();
}

xCheckBox::xCheckBox(xWidget* pOwner, int nID) : xButtonBase(pOwner, nID) {}

xRadioBox::xRadioBox(xWidget* pOwner, int nID, const char* pszLabel, xRadioBox* pGroup) : xCheckBox(pOwner, nID)
{
    GtkRadioButton* pGroupButton = pGroup != NULL ? GTK_RADIO_BUTTON(pGroup->GetGtkWidget()) : NULL;
    Attach(pszLabel != NULL ? gtk_radio_button_new_with_mnemonic_from_widget(pGroupButton, pszLabel)
                            : gtk_radio_button_new_from_widget(pGroupButton));
    ConnectClicked();
}
