#include "gui/widgets/xLabel.h"

#include <cstring>

namespace {

// Resource files and the tables may lack a key; such a text shows as nothing.
const char* TextOrEmpty(const char* pszText)
{
    return pszText != NULL ? pszText : "";
}

}  // namespace

xLabel::xLabel(const char* pszText, xWidget* pOwner, int nID, float fXAlign, float fYAlign) : xWidget(pOwner, nID)
{
    const char* pszShown = TextOrEmpty(pszText);
    Attach(std::strchr(pszShown, '_') != NULL ? gtk_label_new_with_mnemonic(pszShown) : gtk_label_new(pszShown));
    SetAlignment(fXAlign, fYAlign);
}

void xLabel::SetText(const char* pszText)
{
    const char* pszShown = TextOrEmpty(pszText);
    if (std::strchr(pszShown, '_') != NULL) {
        gtk_label_set_text_with_mnemonic(GTK_LABEL(m_pWidget), pszShown);
    } else {
        gtk_label_set_text(GTK_LABEL(m_pWidget), pszShown);
    }
}

void xLabel::SetAlignment(float fXAlign, float fYAlign)
{
    gtk_misc_set_alignment(GTK_MISC(m_pWidget), fXAlign, fYAlign);
}

void xLabel::SetMnemonicWidget(xWidget* pTarget)
{
    if (pTarget != NULL) {
        gtk_label_set_mnemonic_widget(GTK_LABEL(m_pWidget), pTarget->GetWidget());
    }
}
