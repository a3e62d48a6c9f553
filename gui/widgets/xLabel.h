// Text labels.
#pragma once

#include "gui/widgets/xWidget.h"

class xLabel : public xWidget {
public:
    // A text with an underscore gets a mnemonic (the underscore hidden, the next letter
    // underlined); a NULL text is an empty one.
    xLabel(const char* pszText, xWidget* pOwner, int nID, float fXAlign, float fYAlign);

    // As the constructor: a mnemonic when the text has an underscore; NULL is an empty text.
    virtual void SetText(const char* pszText);
    virtual void SetAlignment(float fXAlign, float fYAlign);
    // Points the mnemonic at the target's GetWidget; nothing for a NULL target.
    virtual void SetMnemonicWidget(xWidget* pTarget);
};
