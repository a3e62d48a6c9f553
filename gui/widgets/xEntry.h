// Single-line text entries and numeric spin buttons.
#pragma once

#include "gui/widgets/xWidget.h"

class xEntry : public xWidget {
public:
    // nWidthChars 0 keeps GTK's default width.
    xEntry(xWidget* pOwner, int nID, int nWidthChars);

    // Raises OnNofityEditChanged when the text changes. NULL is an empty text.
    virtual void SetText(const char* pszText);
    // The entry's own string; after the entry's window was destroyed, the text it held then.
    virtual const char* GetText();
    virtual void SetReadOnly(int bReadOnly);
    virtual void SetPassword(int bPassword);
    virtual void SetInvisibleChar(char chInvisible);
    // In characters; 0 is no limit.
    virtual void SetMaxLength(int nMax);
    virtual int GetMaxLength();
    // "changed": the owner's OnNofityEditChanged with the entry's id.
    virtual void OnChanged();

    ~xEntry() override;

protected:
    // For subclasses that make their own widget.
    xEntry(xWidget* pOwner, int nID);
    // Keeps the entry's text buffer and routes "changed" to OnChanged.
    void AttachEntry(GtkWidget* pEntry);

    // The entry's text buffer, held: GTK lets go of it when it destroys the entry, and a dialog's
    // OnEndDialog runs after that and still reads what the user typed.
    GtkEntryBuffer* m_pBuffer;
};

class xSpinButton : public xEntry {
public:
    // A right-aligned numeric spin button from dMin to dMax in steps of dStep with nDigits
    // decimals. Routes "value-changed" and "changed", not the focus events.
    xSpinButton(xWidget* pOwner, int nID, int nDigits, double dMin, double dMax, double dStep);

    // "value-changed": the owner's OnNofityValueChanged with the spin button's id.
    virtual void OnValueChanged();

    // Rounded to the nearest integer.
    int GetValueInt();
    double GetValue();
    void SetValue(double dValue);
    void SetIncrements(double dStep, double dPage);
    void SetDigits(unsigned int nDigits);
    void SetRange(double dMin, double dMax);
};
