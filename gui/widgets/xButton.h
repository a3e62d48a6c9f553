// Buttons: push buttons (with a text, a picture or a stock item), toggle, check and radio buttons.
#pragma once

#include "gui/widgets/xContainer.h"

class xImage;

class xButtonBase : public xBin {
public:
    xButtonBase(xWidget* pOwner, int nID);
    ~xButtonBase() override;

    // The button's text with mnemonic; NULL removes the text.
    virtual void SetText(const char* pszText);
    // Changes the picture of a button that owns an image (a toggle button built with an image id);
    // nothing for id 0 or on any other button.
    virtual void SetImage(int nImageID);
    // "clicked": the owner's OnNofityBtnClicked with the button's id.
    virtual void OnClicked();

    // Sets the toggle state; GTK emits "clicked" when the state changes, so the owner is notified
    // inside this call.
    void SetCheck(int bCheck);
    int GetCheck();

protected:
    // Routes the button's "clicked" to OnClicked.
    void ConnectClicked();

    xImage* m_pImage;
};

class xButton : public xButtonBase {
public:
    // A push button: a mnemonic text alone, or a picture (the stock item's when a stock id is
    // given, else the built-in image's) with the text beside it when there is one.
    xButton(xWidget* pOwner, int nID, const char* pszLabel, int nImageID, const char* pszStockID);
};

class xStockButton : public xButtonBase {
public:
    xStockButton(xWidget* pOwner, int nID, const char* pszStockID);
};

class xToggleButton : public xButtonBase {
public:
    // A toggle button with a mnemonic text, or a picture (an owned image) with the text beside it.
    xToggleButton(xWidget* pOwner, int nID, const char* pszLabel, int nImageID);

    // Notifies the owner unless the state is being set silently.
    void OnClicked() override;

    int GetCheck();
    // Sets the toggle state without notifying the owner.
    void SetCheckSilently(int bCheck);

protected:
    int m_bNoNotify;
};

class xCheckBox : public xButtonBase {
public:
    xCheckBox(xWidget* pOwner, int nID, const char* pszLabel);

protected:
    // For subclasses that make their own button.
    xCheckBox(xWidget* pOwner, int nID);
};

class xRadioBox : public xCheckBox {
public:
    // pGroup: a radio of the group to join, NULL for the first of a new group.
    xRadioBox(xWidget* pOwner, int nID, const char* pszLabel, xRadioBox* pGroup);
};
