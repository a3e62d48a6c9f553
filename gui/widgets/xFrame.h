// Frames with a text or a label widget of their caller's.
#pragma once

#include "gui/widgets/xContainer.h"

class xLabel;

class xFrame : public xBin {
public:
    // A frame whose label widget is the given label's (not owned); none for NULL.
    explicit xFrame(xLabel* pLabel);
    // A frame with a label of its own made from the text (centred; NULL is an empty text).
    explicit xFrame(const char* pszText);
    ~xFrame() override;

    // Points the frame's own label's mnemonic at the target; nothing for a frame built with a
    // label widget or for a NULL target.
    virtual void SetMnemonicWidget(xWidget* pTarget);

protected:
    xLabel* m_pLabel;
};
