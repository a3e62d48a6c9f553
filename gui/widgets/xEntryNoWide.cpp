#include "gui/widgets/xEntryNoWide.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void OnInsertTextRoute(GtkEditable*, gchar* pszNewText, gint nLength, gpointer pPosition, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xEntryNoWide*>(pData)->OnInsertText(pszNewText, nLength, static_cast<int*>(pPosition));
    }
}

}  // namespace

bool EntryFilterAccepts(int nFilter, const char* pszExtra, unsigned char ch)
{
    // A NUL byte inside the inserted length is never a character a user meant to enter.
    if (ch == '\0') {
        return false;
    }
    if ((nFilter & ENTRY_FILTER_DIGIT) && g_ascii_isdigit(ch)) {
        return true;
    }
    if ((nFilter & ENTRY_FILTER_ALNUM) && g_ascii_isalnum(ch)) {
        return true;
    }
    if ((nFilter & ENTRY_FILTER_NOSLASH) && ch != '/') {
        return true;
    }
    if ((nFilter & ENTRY_FILTER_EXTRA) && pszExtra != NULL && std::strchr(pszExtra, ch) != NULL) {
        return true;
    }
    return false;
}

xEntryNoWide::xEntryNoWide(xWidget* pOwner, int nID, int nWidthChars, int nFilter)
    : xEntry(pOwner, nID, nWidthChars), m_nFilter(nFilter), m_szExtra(NULL)
{
    g_signal_connect(m_pWidget, "insert-text", G_CALLBACK(OnInsertTextRoute), this);
}

xEntryNoWide::~xEntryNoWide()
{
    g_free(m_szExtra);
}

void xEntryNoWide::SetFilter(int nFilter, const char* pszExtra)
{
    m_nFilter = nFilter;
    g_free(m_szExtra);
    m_szExtra = g_strdup(pszExtra);
}

void xEntryNoWide::OnInsertText(const char* pszNewText, int nLength, int* pPosition)
{
    if (pszNewText != NULL && nLength < 0) {
        nLength = static_cast<int>(std::strlen(pszNewText));
    }
    std::printf("xEntryNoWide::OnInsertText(len = %d, pos = %d)\n", nLength, pPosition != NULL ? *pPosition : -1);

    bool bMultiByte = pszNewText == NULL;
    for (int i = 0; !bMultiByte && i < nLength; ++i) {
        bMultiByte = static_cast<unsigned char>(pszNewText[i]) >= 0x80;
    }
    if (bMultiByte) {
        gdk_display_beep(gtk_widget_get_display(m_pWidget));
        g_signal_stop_emission_by_name(m_pWidget, "insert-text");
        return;
    }
    if (!(m_nFilter & ENTRY_FILTER_ON)) {
        return;
    }

    std::string valid;
    valid.reserve(static_cast<size_t>(nLength));
    for (int i = 0; i < nLength; ++i) {
        unsigned char ch = static_cast<unsigned char>(pszNewText[i]);
        if (EntryFilterAccepts(m_nFilter, m_szExtra, ch)) {
            valid.push_back(static_cast<char>(ch));
        }
    }
    if (valid.size() == static_cast<size_t>(nLength)) {
        return;
    }
    gdk_display_beep(gtk_widget_get_display(m_pWidget));
    g_signal_stop_emission_by_name(m_pWidget, "insert-text");
    // The accepted part goes in at the same place; that insertion passes through here again,
    // unchanged this time, and moves the position past it.
    if (!valid.empty() && pPosition != NULL) {
        gtk_editable_insert_text(GTK_EDITABLE(m_pWidget), valid.data(), static_cast<gint>(valid.size()), pPosition);
    }
}
