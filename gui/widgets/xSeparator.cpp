#include "gui/widgets/xSeparator.h"

#include "gui/widgets/xLayout.h"

xSeparator::xSeparator(int nOrientation, xWidget* pOwner, int nID) : xWidget(pOwner, nID)
{
    Attach(nOrientation == XORIENT_HORIZONTAL ? gtk_hseparator_new() : gtk_vseparator_new());
}
