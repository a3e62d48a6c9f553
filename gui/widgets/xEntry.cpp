#include "gui/widgets/xEntry.h"

namespace {

void OnChangedRoute(GtkEditable*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xEntry*>(pData)->OnChanged();
    }
}

void OnSpinValueChangedRoute(GtkSpinButton*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xSpinButton*>(pData)->OnValueChanged();
    }
}

}  // namespace

xEntry::xEntry(xWidget* pOwner, int nID, int nWidthChars) : xWidget(pOwner, nID), m_pBuffer(NULL)
{
    AttachEntry(gtk_entry_new());
    if (nWidthChars != 0) {
        gtk_entry_set_width_chars(GTK_ENTRY(m_pWidget), nWidthChars);
    }
    g_signal_connect(m_pWidget, "focus-in-event", G_CALLBACK(xWidget::OnEventRoute), this);
    g_signal_connect(m_pWidget, "focus-out-event", G_CALLBACK(xWidget::OnEventRoute), this);
}

xEntry::xEntry(xWidget* pOwner, int nID) : xWidget(pOwner, nID), m_pBuffer(NULL) {}

xEntry::~xEntry()
{
    if (m_pBuffer != NULL) {
        g_object_unref(m_pBuffer);
    }
}

void xEntry::AttachEntry(GtkWidget* pEntry)
{
    Attach(pEntry);
    m_pBuffer = gtk_entry_get_buffer(GTK_ENTRY(pEntry));
    g_object_ref(m_pBuffer);
    g_signal_connect(m_pWidget, "changed", G_CALLBACK(OnChangedRoute), this);
}

void xEntry::SetText(const char* pszText)
{
    gtk_entry_set_text(GTK_ENTRY(m_pWidget), pszText != NULL ? pszText : "");
}

const char* xEntry::GetText()
{
    return gtk_entry_buffer_get_text(m_pBuffer);
}

void xEntry::SetReadOnly(int bReadOnly)
{
    gtk_editable_set_editable(GTK_EDITABLE(m_pWidget), !bReadOnly);
}

void xEntry::SetPassword(int bPassword)
{
    gtk_entry_set_visibility(GTK_ENTRY(m_pWidget), !bPassword);
}

void xEntry::SetInvisibleChar(char chInvisible)
{
    gtk_entry_set_invisible_char(GTK_ENTRY(m_pWidget), static_cast<gunichar>(static_cast<unsigned char>(chInvisible)));
}

void xEntry::SetMaxLength(int nMax)
{
    gtk_entry_set_max_length(GTK_ENTRY(m_pWidget), nMax);
}

int xEntry::GetMaxLength()
{
    return gtk_entry_get_max_length(GTK_ENTRY(m_pWidget));
}

void xEntry::OnChanged()
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityEditChanged(m_nID);
    }
}

xSpinButton::xSpinButton(xWidget* pOwner, int nID, int nDigits, double dMin, double dMax, double dStep)
    : xEntry(pOwner, nID)
{
    AttachEntry(gtk_spin_button_new_with_range(dMin, dMax, dStep));
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(m_pWidget), nDigits);
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(m_pWidget), TRUE);
    gtk_entry_set_alignment(GTK_ENTRY(m_pWidget), 1.0f);
    g_signal_connect(m_pWidget, "value-changed", G_CALLBACK(OnSpinValueChangedRoute), this);
}

void xSpinButton::OnValueChanged()
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityValueChanged(m_nID);
    }
}

int xSpinButton::GetValueInt()
{
    return gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(m_pWidget));
}

double xSpinButton::GetValue()
{
    return gtk_spin_button_get_value(GTK_SPIN_BUTTON(m_pWidget));
}

void xSpinButton::SetValue(double dValue)
{
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(m_pWidget), dValue);
}

void xSpinButton::SetIncrements(double dStep, double dPage)
{
    gtk_spin_button_set_increments(GTK_SPIN_BUTTON(m_pWidget), dStep, dPage);
}

void xSpinButton::SetDigits(unsigned int nDigits)
{
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(m_pWidget), nDigits);
}

void xSpinButton::SetRange(double dMin, double dMax)
{
    gtk_spin_button_set_range(GTK_SPIN_BUTTON(m_pWidget), dMin, dMax);
}
