// Containers: the base of every widget that holds children, and of those that hold one.
#pragma once

#include "gui/widgets/xWidget.h"

class xContainer : public xWidget {
public:
    xContainer(xWidget* pOwner, int nID);

    // gtk_container_add; returns the child so calls can be chained.
    virtual xWidget* Add(xWidget* pChild);
    virtual void SetBorderWidth(unsigned int nWidth);
};

class xBin : public xContainer {
public:
    xBin(xWidget* pOwner, int nID);

    // Makes the bin's child sensitive or not; nothing without a child.
    virtual void EnableChild(int bEnable);
};
