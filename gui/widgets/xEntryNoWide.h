// An entry that refuses multi-byte input and can restrict the characters typed or pasted: the
// password and department-code fields.
#pragma once

#include "gui/widgets/xEntry.h"

// Filter flags of xEntryNoWide. Only with ENTRY_FILTER_ON set are characters filtered; a byte is
// then accepted when at least one of the other set bits accepts it. Other bits mean nothing to the
// entry (owners may keep marks of their own there).
enum {
    ENTRY_FILTER_DIGIT = 0x1,     // ASCII digits
    ENTRY_FILTER_ALNUM = 0x2,     // ASCII letters and digits
    ENTRY_FILTER_NOSLASH = 0x10,  // every character except '/'
    ENTRY_FILTER_EXTRA = 0x20,    // the characters of the extra set
    ENTRY_FILTER_ON = 0x1000,
};

class xEntryNoWide : public xEntry {
public:
    xEntryNoWide(xWidget* pOwner, int nID, int nWidthChars, int nFilter);
    ~xEntryNoWide() override;

    // Runs before GTK inserts typed or pasted text (nLength bytes of pszNewText, not terminated).
    // Any multi-byte character refuses the whole text with a beep; with filtering on, the bytes
    // no set bit accepts are dropped with one beep and the rest inserted. The entered text is
    // never printed: it may be a password.
    virtual void OnInsertText(const char* pszNewText, int nLength, int* pPosition);

    // New flags and a copy of the extra characters (NULL: none).
    void SetFilter(int nFilter, const char* pszExtra);

    int GetFilter() const { return m_nFilter; }

protected:
    int m_nFilter;
    gchar* m_szExtra;
};

// Whether one byte passes the filter flags and extra characters of an xEntryNoWide whose
// filtering is on. pszExtra may be NULL.
bool EntryFilterAccepts(int nFilter, const char* pszExtra, unsigned char ch);
