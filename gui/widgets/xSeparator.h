// Horizontal and vertical separator lines.
#pragma once

#include "gui/widgets/xWidget.h"

class xSeparator : public xWidget {
public:
    // nOrientation 1 is a horizontal line, any other value a vertical one.
    xSeparator(int nOrientation, xWidget* pOwner, int nID);
};
